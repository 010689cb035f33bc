#include "world/scene_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "support/fixtures.h"
#include "support/max_world.h"
#include "world/verb_file.h"

namespace {

// Verb 0 names no object, verb 1 one, verb 2 two; verbCount is 4.
const std::string Verbs =
    "Глаголы\n& смотреть 0 0 0 0 -\n& взять 1 1 3 3 - #\n& положить 3 2 3 3 - # в #\n";
// The same, but verb 0 names two objects.
const std::string VerbsWithTwoObjectVerbZero =
    "& ничего 0 2 0 0 -\n& взять 1 1 3 3 - #\n& положить 3 2 3 3 - # в #\n";

// A scene with no exits, no objects and no actions, for a verb 0 that names
// fewer than two objects.
const std::string MinimalScene =
    "& Зал / Пусто. / -1 -1 -1 -1 0 a b c d / 0 0 0 0 x 0 0 0 x 0 0 0 x 0 0 0 0 0 /";
const std::string NoObjects = " 0 a b c d / ";
const std::string ClosingAction = " 0 0 0 0 x 0 0 0 x 0 0 0 x 0 0 0 0 0 / ";

// A scene named `name` with the given objects and actions (each list without
// its closing entry).
std::string scene(const std::string& name, const std::string& objects = "",
                  const std::string& actions = "") {
    return "& " + name + " / Описание " + name + " / -1 -1 -1 -1\n" + objects + NoObjects +
           actions + ClosingAction + "\n";
}

std::string object(int id, const std::string& form) {
    return std::to_string(id) + " " + form + " " + form + "ом " + form + "у " + form + " Это " +
           form + ". /\n";
}

std::string utf8(const char* cp866) {
    return toUtf8(cp866);
}

class SceneFile : public ::testing::Test {
protected:
    TempWorkDir dir;

    SceneFile() { resetGameState(); }

    // Writes both files from UTF-8 text and loads them as start-up does.
    SceneReadResult load(const std::string& verbs, const std::string& scenes) {
        dir.write("verbs.dat", verbs);
        dir.write("scenes.dat", scenes);
        loadVerbs();
        return loadScenes();
    }
    SceneReadResult load(const std::string& scenes) { return load(Verbs, scenes); }
};

TEST_F(SceneFile, TheSmallestSceneHasNoObjectsAndOnlyItsClosingAction) {
    EXPECT_EQ(load(MinimalScene), LastScene);  // the file ends right after it
    EXPECT_EQ(game.sceneCount, 1);
    const Scene& s = game.scenes[0];
    EXPECT_EQ(utf8(s.name), "Зал ");
    EXPECT_EQ(utf8(s.description), "Пусто. ");
    EXPECT_EQ(s.exitEast, -1);
    EXPECT_EQ(s.exitWest, -1);
    EXPECT_EQ(s.exitNorth, -1);
    EXPECT_EQ(s.exitSouth, -1);
    EXPECT_EQ(s.objnum, 0);
    EXPECT_EQ(s.objects[0].id, 0);  // the closing object, read but not counted
    EXPECT_STREQ(s.objects[0].nameForms[3], "d");
    EXPECT_EQ(s.actionCount, 1);
    const Action& closing = s.actions[0];
    EXPECT_EQ(utf8(closing.verbName), "смотреть");
    EXPECT_EQ(closing.what2, 0);
    EXPECT_EQ(closing.conditions[0].kind, 0);
    EXPECT_EQ(closing.itemIds[0], 0);
    EXPECT_STREQ(closing.text, "");
    EXPECT_EQ(game.inventory.count, 0);
}

TEST_F(SceneFile, TheTokenAfterAScene) {
    dir.write("verbs.dat", Verbs);
    loadVerbs();
    dir.write("scenes.dat",
              "Мир Начало\n" + scene("Один") + scene("Два") + "конец & & " + scene("Три"));
    Scene& first = game.scenes[0];
    first.index = 0;
    EXPECT_EQ(readScene(first), MoreScenes);
    Scene& second = game.scenes[1];
    second.index = 1;
    EXPECT_EQ(readScene(second), LastScene);
    EXPECT_EQ(utf8(second.name), "Два ");
    EXPECT_EQ(loadScenes(), LastScene);
    EXPECT_EQ(game.sceneCount, 2);
}

TEST_F(SceneFile, EveryFieldOfObjectsAndActions) {
    std::string objects = object(1, "нож") + object(2, "стол");
    std::string actions =
        "1 1 2 3 x 10 3 1 -4 2 0 0 5 7 x 1000 2 1 -1000 3 0 0 0 0 x 2 3 -1 -3 0 4 1 15 42 "
        "Вы *взяли* нож. /\n";
    load(scene("Кухня", objects, actions));
    const Scene& s = game.scenes[0];
    EXPECT_EQ(s.objnum, 2);
    EXPECT_EQ(s.objects[0].id, 1);
    EXPECT_EQ(utf8(s.objects[0].nameForms[0]), "нож");
    EXPECT_EQ(utf8(s.objects[0].nameForms[1]), "ножом");
    EXPECT_EQ(utf8(s.objects[0].nameForms[2]), "ножу");
    EXPECT_EQ(utf8(s.objects[0].nameForms[3]), "нож");
    EXPECT_EQ(utf8(s.objects[1].description), "Это стол. ");
    EXPECT_EQ(s.objects[2].id, 0);

    ASSERT_EQ(s.actionCount, 2);
    const Action& a = s.actions[0];
    EXPECT_EQ(utf8(a.verbName), "взять");
    EXPECT_EQ(a.patternLength, 1);
    EXPECT_EQ(a.what, 2);
    EXPECT_EQ(a.what2, 0);
    EXPECT_EQ(a.where, 3);
    EXPECT_EQ(a.conditions[0].kind, 10);
    EXPECT_EQ(a.conditions[0].a, 3);
    EXPECT_EQ(a.conditions[0].b, 1);
    EXPECT_EQ(a.conditions[1].kind, -4);
    EXPECT_EQ(a.conditions[2].kind, 0);  // the closing triple, stored with its values
    EXPECT_EQ(a.conditions[2].a, 5);
    EXPECT_EQ(a.conditions[2].b, 7);
    EXPECT_EQ(a.effects[0].kind, 1000);
    EXPECT_EQ(a.effects[1].a, 3);
    EXPECT_EQ(a.effects[2].kind, 0);
    EXPECT_EQ(a.itemIds[0], 2);
    EXPECT_EQ(a.itemScenes[0], 3);
    EXPECT_EQ(a.itemIds[1], -1);
    EXPECT_EQ(a.itemScenes[1], -3);
    EXPECT_EQ(a.itemIds[2], 0);
    EXPECT_EQ(a.itemScenes[2], 4);  // the closing pair's value
    EXPECT_EQ(a.state, 1);
    EXPECT_EQ(a.score, 15);
    EXPECT_EQ(a.num, 42);
    EXPECT_EQ(utf8(a.text), "Вы *взяли* нож. ");
    EXPECT_EQ(s.state, 0);
}

TEST_F(SceneFile, DescriptionVariantsAreStoredWithTheirSeparator) {
    load("& Дверь / Дверь закрыта. @ Дверь открыта. / 1 2 3 0" + NoObjects + ClosingAction);
    EXPECT_EQ(utf8(game.scenes[0].description), "Дверь закрыта. @ Дверь открыта. ");
    EXPECT_EQ(game.scenes[0].exitEast, 1);
    EXPECT_EQ(game.scenes[0].exitSouth, 0);
}

TEST_F(SceneFile, ANumberGluedToTheNextToken) {
    load("& Зал / Пусто. / -1-1 -1 -1 3нож ножом ножу нож Нож. /" + NoObjects + ClosingAction);
    const Scene& s = game.scenes[0];
    EXPECT_EQ(s.exitEast, -1);
    EXPECT_EQ(s.exitWest, -1);
    EXPECT_EQ(s.exitSouth, -1);
    EXPECT_EQ(s.objnum, 1);
    EXPECT_EQ(s.objects[0].id, 3);
    EXPECT_EQ(utf8(s.objects[0].nameForms[0]), "нож");
    EXPECT_EQ(utf8(s.objects[0].nameForms[3]), "нож");
    EXPECT_EQ(s.actionCount, 1);
}

TEST_F(SceneFile, VerbNumbersOutsideTheVerbTableGiveAnEmptyVerbName) {
    // verbCount is 4: verb 4 is the empty record, verb 5 lies beyond it; a
    // verb outside the table names no second object, so no what2 is read.
    std::string actions;
    for (const char* verb : {"5", "4", "-1", "30", "2147483647", "2"}) {
        std::string what2 = std::string(verb) == "2" ? "8 " : "";
        actions += std::string(verb) + " 0 7 " + what2 + "9 x 0 0 0 x 0 0 0 x 0 0 0 0 3 Текст /\n";
    }
    load(scene("Зал", "", actions));
    const Scene& s = game.scenes[0];
    ASSERT_EQ(s.actionCount, 7);
    for (int k = 0; k < 5; ++k) {
        EXPECT_STREQ(s.actions[k].verbName, "") << k;
        EXPECT_EQ(s.actions[k].what, 7) << k;
        EXPECT_EQ(s.actions[k].what2, 0) << k;
        EXPECT_EQ(s.actions[k].where, 9) << k;
        EXPECT_EQ(s.actions[k].num, 3) << k;
    }
    EXPECT_EQ(utf8(s.actions[5].verbName), "положить");
    EXPECT_EQ(s.actions[5].what2, 8);
    EXPECT_EQ(s.actions[5].where, 9);
}

TEST_F(SceneFile, TwoObjectVerbsCarryASecondObjectTheClosingActionThroughVerbZeroToo) {
    std::string action = "2 3 1 2 3000 x 0 0 0 x 0 0 0 x 0 0 0 0 1 Положили. /\n";
    std::string closing = "0 0 0 6 0 x 0 0 0 x 0 0 0 x 0 0 0 0 0 /\n";
    load(VerbsWithTwoObjectVerbZero, "& Зал / Пусто. / -1 -1 -1 -1" + NoObjects + action + closing +
                                         "& Второй / Пусто. / -1 -1 -1 -1" + NoObjects + closing);
    const Scene& s = game.scenes[0];
    ASSERT_EQ(s.actionCount, 2);
    EXPECT_EQ(s.actions[0].what, 1);
    EXPECT_EQ(s.actions[0].what2, 2);
    EXPECT_EQ(s.actions[0].where, 3000);
    EXPECT_EQ(utf8(s.actions[1].verbName), "ничего");
    EXPECT_EQ(s.actions[1].what2, 6);
    EXPECT_EQ(game.sceneCount, 2);
}

TEST_F(SceneFile, SceneZeroSeedsTheInventoryInFileOrder) {
    load(scene("Игра", object(1, "меч") + object(2, "щит") + object(3, "шлем")) +
         scene("Зал", object(1, "стол")));
    EXPECT_EQ(game.inventory.count, 3);
    EXPECT_EQ(game.inventory.items[0], 1);
    EXPECT_EQ(game.inventory.items[1], 2);
    EXPECT_EQ(game.inventory.items[2], 3);
    EXPECT_EQ(game.inventory.items[3], 0);
    EXPECT_EQ(game.scenes[0].objnum, 3);
    EXPECT_EQ(game.scenes[1].objnum, 1);
}

TEST_F(SceneFile, ReadingSceneZeroTwiceAppendsItsObjectsAgain) {
    load(scene("Игра", object(1, "меч") + object(2, "щит")));
    EXPECT_EQ(loadScenes(), LastScene);
    EXPECT_EQ(game.inventory.count, 4);
    EXPECT_EQ(game.inventory.items[3], 2);
}

TEST_F(SceneFile, TheInventoryTakesNoMoreThanItsCapacity) {
    game.inventory.count = MaxItems - 2;
    std::string objects;
    for (int id = 1; id <= 5; ++id) objects += object(id, "вещь");
    load(scene("Игра", objects));
    EXPECT_EQ(game.inventory.count, MaxItems);
    EXPECT_EQ(game.inventory.items[MaxItems - 2], 1);
    EXPECT_EQ(game.inventory.items[MaxItems - 1], 2);
    EXPECT_EQ(game.scenes[0].objnum, 5);
}

TEST_F(SceneFile, WithoutAFileTheRecordIsUntouched) {
    Scene& s = game.scenes[0];
    std::memset(&s, 'z', sizeof s);
    s.index = 0;
    auto before = std::make_unique<Scene>(s);
    EXPECT_EQ(loadScenes(), SceneFileMissing);
    EXPECT_EQ(game.sceneCount, 1);
    EXPECT_EQ(std::memcmp(&s, before.get(), sizeof s), 0);
}

TEST_F(SceneFile, NoSceneAtThatPositionLeavesTheRecordUntouched) {
    load(scene("Один") + scene("Два"));
    Scene& s = game.scenes[5];
    std::memset(&s, 'z', sizeof s);
    s.index = 5;
    auto before = std::make_unique<Scene>(s);
    EXPECT_EQ(readScene(s), SceneFileMissing);
    EXPECT_EQ(std::memcmp(&s, before.get(), sizeof s), 0);

    dir.write("scenes.dat", "нет сцен");
    EXPECT_EQ(loadScenes(), SceneFileMissing);
}

TEST_F(SceneFile, ARestartReadsTheFileAgain) {
    load(scene("Один") + scene("Два"));
    ASSERT_EQ(game.sceneCount, 2);
    dir.write("scenes.dat", scene("Новый") + scene("Второй") + scene("Третий"));
    EXPECT_EQ(loadScenes(), LastScene);
    EXPECT_EQ(game.sceneCount, 3);
    EXPECT_EQ(utf8(game.scenes[0].name), "Новый ");
    EXPECT_EQ(utf8(game.scenes[2].name), "Третий ");
}

// Bad input: lists and texts are cut at their capacities, never past them.

TEST_F(SceneFile, MoreThan99ObjectsKeep99AndTheClosingOneLast) {
    std::string objects;
    for (int id = 1; id <= 150; ++id) objects += object(id, "вещь");
    load(scene("Игра", objects) + scene("Зал"));
    const Scene& s = game.scenes[0];
    EXPECT_EQ(s.objnum, MaxObjects - 1);
    EXPECT_EQ(s.objects[MaxObjects - 2].id, 99);
    EXPECT_EQ(s.objects[MaxObjects - 1].id, 0);
    EXPECT_STREQ(s.objects[MaxObjects - 1].nameForms[0], "a");
    EXPECT_EQ(game.inventory.count, MaxObjects - 1);
    EXPECT_EQ(s.actionCount, 1);
    EXPECT_EQ(game.sceneCount, 2);
}

TEST_F(SceneFile, MoreThan100ActionsKeep99AndTheClosingOneLast) {
    std::string actions;
    for (int k = 1; k <= 120; ++k)
        actions += "1 1 1 1 x 0 0 0 x 0 0 0 x 0 0 0 0 " + std::to_string(k) + " Т /\n";
    load(scene("Зал", "", actions) + scene("Второй"));
    const Scene& s = game.scenes[0];
    EXPECT_EQ(s.actionCount, MaxActions);
    EXPECT_EQ(s.actions[MaxActions - 2].num, 99);
    EXPECT_EQ(s.actions[MaxActions - 1].num, 0);
    EXPECT_EQ(utf8(s.actions[MaxActions - 1].verbName), "смотреть");
    EXPECT_EQ(game.sceneCount, 2);
}

TEST_F(SceneFile, LongerListsInAnActionAreCutWithTheirClosingEntryLast) {
    std::string conditions, effects, items;
    for (int k = 1; k <= 130; ++k) conditions += std::to_string(k) + " 1 1 ";
    for (int k = 1; k <= 101; ++k) effects += std::to_string(k) + " 2 2 ";
    for (int k = 1; k <= 15; ++k) items += std::to_string(k) + " 3 ";
    std::string action =
        "1 1 1 1 x " + conditions + "0 5 7 x " + effects + "0 8 9 x " + items + "0 4 0 0 1 Т /\n";
    load(scene("Зал", "", action) + scene("Второй"));
    const Action& a = game.scenes[0].actions[0];
    EXPECT_EQ(a.conditions[MaxConditions - 2].kind, 99);
    EXPECT_EQ(a.conditions[MaxConditions - 1].kind, 0);
    EXPECT_EQ(a.conditions[MaxConditions - 1].a, 5);
    EXPECT_EQ(a.effects[MaxEffects - 2].kind, 99);
    EXPECT_EQ(a.effects[MaxEffects - 1].kind, 0);
    EXPECT_EQ(a.effects[MaxEffects - 1].b, 9);
    EXPECT_EQ(a.itemIds[MaxItemChanges - 2], 9);
    EXPECT_EQ(a.itemIds[MaxItemChanges - 1], 0);
    EXPECT_EQ(a.itemScenes[MaxItemChanges - 1], 4);
    EXPECT_EQ(a.num, 1);
    EXPECT_EQ(game.scenes[0].actionCount, 2);
    EXPECT_EQ(game.sceneCount, 2);
}

TEST_F(SceneFile, TextsAreCutToTheirBuffers) {
    std::string word(20, 'w');
    std::string longRun;
    for (int k = 0; k < 200; ++k) longRun += word + " ";
    std::string form(40, 'f');
    std::string verbs = "& " + std::string(255, 'v') + " 0 0 0 0 -\n& взять 1 1 3 3 - #\n";
    load(verbs, "& " + longRun + "/ " + longRun + "/ -1 -1 -1 -1 1 " + form + " " + form + " " +
                    form + " " + form + " " + longRun + "/" + NoObjects +
                    "1 1 1 1 x 0 0 0 x 0 0 0 x 0 0 0 0 1 " + longRun + "/" + ClosingAction);
    const Scene& s = game.scenes[0];
    EXPECT_EQ(std::strlen(s.name), SceneNameSize - 1u);
    EXPECT_EQ(std::strlen(s.description), SceneDescriptionSize - 1u);
    EXPECT_EQ(std::strlen(s.objects[0].description), ObjectDescriptionSize - 1u);
    EXPECT_EQ(std::string(s.objects[0].nameForms[2]), std::string(NameFormSize - 1, 'f'));
    EXPECT_EQ(std::strlen(s.actions[0].text), ActionTextSize - 1u);
    EXPECT_EQ(std::string(s.actions[1].verbName), std::string(ActionVerbNameSize - 1, 'v'));
    EXPECT_EQ(s.actionCount, 2);
}

TEST_F(SceneFile, MoreThan50ScenesFillTheTableAndStop) {
    std::string scenes;
    for (int k = 0; k < 60; ++k) scenes += scene("S" + std::to_string(k));
    EXPECT_EQ(load(scenes), MoreScenes);
    EXPECT_EQ(game.sceneCount, MaxScenes);
    EXPECT_EQ(utf8(game.scenes[MaxScenes - 1].name), "S49 ");
    EXPECT_EQ(utf8(game.verbs[0].name), "смотреть");  // the verb table lies right after
    // The file was closed: the next load reads it from the start again.
    EXPECT_EQ(loadScenes(), MoreScenes);
    EXPECT_EQ(utf8(game.scenes[1].name), "S1 ");
}

TEST_F(SceneFile, AFileEndingInsideASceneEndsTheLoadingWithTheWholeRecordsCounted) {
    std::string objects = object(1, "меч") + object(2, "щит");
    std::string action = "1 1 1 1 x 0 0 0 x 0 0 0 x 0 0 0 0 1 Т /\n";
    std::string full = scene("Игра", objects, action + action);
    std::string cut = full.substr(0, full.find("щит"));  // inside object 2
    EXPECT_EQ(load(scene("Один") + cut), LastScene);
    EXPECT_EQ(game.sceneCount, 2);
    EXPECT_EQ(game.scenes[1].objnum, 1);
    EXPECT_EQ(game.scenes[1].actionCount, 0);

    resetGameState();
    cut = full.substr(0, full.find("Т /", full.find("Т /") + 1));  // inside action 2
    EXPECT_EQ(load(scene("Один") + cut), LastScene);
    EXPECT_EQ(game.scenes[1].objnum, 2);
    EXPECT_EQ(game.scenes[1].actionCount, 1);
}

// Files that must load, or stop loading, without reading or writing past a
// buffer or table.
TEST_F(SceneFile, MalformedFilesStopTheLoadingSafely) {
    const std::string body = " / Д / -1 -1 -1 -1" + NoObjects + ClosingAction;
    struct Case {
        const char* what;
        std::string scenes;
        SceneReadResult result;
        int sceneCount;
    };
    const Case cases[] = {
        {"empty file", "", SceneFileMissing, 1},
        {"no ampersand", "просто текст 1 2 3", SceneFileMissing, 1},
        {"lone ampersand", "&", LastScene, 1},
        {"ampersand, then white space", "& \n", LastScene, 1},
        {"name run never closed", "& Зал без конца", LastScene, 1},
        {"description never closed", "& Зал / без конца", LastScene, 1},
        {"word for an exit", "& З / Д / -1 восток -1 -1" + NoObjects + ClosingAction, LastScene, 1},
        {"sign alone", "& З / Д / - -1 -1 -1" + NoObjects + ClosingAction, LastScene, 1},
        {"ends after exits", "& З / Д / -1 -1 -1 -1", LastScene, 1},
        {"object never closed", "& З / Д / -1 -1 -1 -1 1 a b c d", LastScene, 1},
        {"object list never closed", "& З / Д / -1 -1 -1 -1 1 a b c d / 2 a b c d /", LastScene, 1},
        {"action list never closed",
         "& З" + body.substr(0, body.size() - ClosingAction.size()) +
             " 1 1 1 1 x 0 0 0 x 0 0 0 x 0 0 0 0 1 Т /",
         LastScene, 1},
        {"condition list never closed",
         "& З / Д / -1 -1 -1 -1" + NoObjects + "1 1 1 1 x 5 5 5 6 6 6", LastScene, 1},
        {"word for a number in a condition",
         "& З / Д / -1 -1 -1 -1" + NoObjects + "1 1 1 1 x 5 да 5 0 0 0" + ClosingAction, LastScene,
         1},
        {"item list never closed",
         "& З / Д / -1 -1 -1 -1" + NoObjects + "1 1 1 1 x 0 0 0 x 0 0 0 x 5 5 6", LastScene, 1},
        {"text never closed",
         "& З / Д / -1 -1 -1 -1" + NoObjects + "0 0 0 0 x 0 0 0 x 0 0 0 x 0 0 0 0 0 текст",
         LastScene, 1},
        {"huge numbers",
         "& З / Д / 99999999999999 -99999999999 2147483648 -1" + NoObjects +
             "99999999999 1 1 1 x 0 0 0 x 0 0 0 x 0 0 0 0 1 Т /" + ClosingAction,
         LastScene, 1},
        // Scene 1 starts right after the second "&" token of the file, here
        // inside scene 0, and its reading ends at the word "x".
        {"ampersand inside a text",
         "& З / Д & Д / -1 -1 -1 -1" + NoObjects + ClosingAction + "& Два" + body, LastScene, 2},
        {"ampersand as a name form",
         "& З / Д / -1 -1 -1 -1 1 & & & & Н /" + NoObjects + ClosingAction + "& Два" + body,
         LastScene, 2},
        {"ampersand for a number",
         "& З / Д / & -1 -1 -1" + NoObjects + ClosingAction + "& Два" + body, LastScene, 1},
        {"scene right after the closing action", "& З" + body + "& Два" + body + "&", LastScene, 3},
    };
    for (const Case& c : cases) {
        resetGameState();
        EXPECT_EQ(load(c.scenes), c.result) << c.what;
        EXPECT_EQ(game.sceneCount, c.sceneCount) << c.what;
        for (int i = 0; i < game.sceneCount; ++i) {
            const Scene& s = game.scenes[i];
            EXPECT_GE(s.objnum, 0) << c.what;
            EXPECT_LE(s.objnum, MaxObjects - 1) << c.what;
            EXPECT_GE(s.actionCount, 0) << c.what;
            EXPECT_LE(s.actionCount, MaxActions) << c.what;
            EXPECT_LT(strnlen(s.name, SceneNameSize), static_cast<size_t>(SceneNameSize)) << c.what;
        }
        EXPECT_LE(game.inventory.count, MaxItems) << c.what;
    }
}

// The plain reader that loading must agree with: every record is found by
// opening the file anew and counting "&" tokens from its start.
VerbReadResult rescanVerb(Verb& verb) {
    TokenReader reader;
    if (!openTokens(reader, "verbs.dat")) return NoVerbRead;
    VerbReadResult result = NoVerbRead;
    if (skipToAmpersand(reader, verb.index + 1)) result = readVerbFrom(reader, verb);
    closeTokens(reader);
    return result;
}

SceneReadResult rescanScene(Scene& scene) {
    TokenReader reader;
    if (!openTokens(reader, "scenes.dat")) return SceneFileMissing;
    SceneReadResult result = SceneFileMissing;
    if (skipToAmpersand(reader, scene.index + 1)) result = readSceneFrom(reader, scene);
    closeTokens(reader);
    return result;
}

// Start-up's loading loops, with the rescanning reader.
SceneReadResult rescanWorld() {
    int index = 0;
    VerbReadResult verbResult;
    do {
        game.verbs[index].index = index;
        verbResult = rescanVerb(game.verbs[index++]);
    } while (verbResult == VerbRead && index < MaxVerbs);
    game.verbCount = index;
    SceneReadResult result;
    index = 0;
    do {
        game.scenes[index].index = index;
        result = rescanScene(game.scenes[index++]);
    } while (result == MoreScenes && index < MaxScenes);
    game.sceneCount = index;
    return result;
}

SceneReadResult loadWorld() {
    loadVerbs();
    return loadScenes();
}

// The first `scenes` scene records, clear before a load and compared after it.
constexpr size_t prefixSize(int scenes) {
    return offsetof(GameState, scenes) + scenes * sizeof(Scene);
}

// Where the game states differ first, or "" when they do not.
std::string firstDifference(const GameState& a, const GameState& b, int scenes) {
    const char* x = reinterpret_cast<const char*>(&a);
    const char* y = reinterpret_cast<const char*>(&b);
    size_t tail = offsetof(GameState, sceneCount);
    if (std::memcmp(x, y, prefixSize(scenes)) == 0)
        return std::memcmp(x + tail, y + tail, sizeof(GameState) - tail) == 0 ? ""
                                                                              : "verbs or counts";
    for (size_t at = 0; at < prefixSize(scenes); ++at) {
        if (x[at] == y[at]) continue;
        if (at < offsetof(GameState, scenes))
            return "before the scenes, byte " + std::to_string(at);
        size_t inScenes = at - offsetof(GameState, scenes);
        return "scene " + std::to_string(inScenes / sizeof(Scene)) + ", byte " +
               std::to_string(inScenes % sizeof(Scene));
    }
    return "";
}

// Loads the files in the working directory both ways and compares the game
// states; clears only the first `scenes` scene records before each load.
void expectLinearLoadingAgreesWithRescanning(int scenes, const std::string& what) {
    size_t tail = offsetof(GameState, sceneCount);
    auto clear = [&] {
        std::memset(&game, 0, prefixSize(scenes));
        std::memset(&game.sceneCount, 0, sizeof(GameState) - tail);
    };
    clear();
    SceneReadResult linear = loadWorld();
    ASSERT_LE(game.sceneCount, scenes) << what;
    static auto loaded = std::make_unique<GameState>();
    std::memcpy(loaded.get(), &game, prefixSize(scenes));
    std::memcpy(&loaded->sceneCount, &game.sceneCount, sizeof(GameState) - tail);
    clear();
    SceneReadResult rescanned = rescanWorld();
    EXPECT_EQ(linear, rescanned) << what;
    EXPECT_EQ(firstDifference(game, *loaded, scenes), "") << what;
}

TEST_F(SceneFile, TheMaximalWorldLoadsWholeAndAsTheRescanningReaderReadsIt) {
    WorldFiles world = maximalWorld();
    dir.writeBytes("verbs.dat", world.verbs);
    dir.writeBytes("scenes.dat", world.scenes);
    expectLinearLoadingAgreesWithRescanning(MaxScenes, "maximal world");

    EXPECT_EQ(game.verbCount, MaxVerbs);
    EXPECT_EQ(game.verbs[MaxVerbs - 2].slotCount, MaxSlots);
    EXPECT_EQ(std::strlen(game.verbs[MaxVerbs - 2].name), VerbNameSize - 1u);
    EXPECT_EQ(std::strlen(game.verbs[MaxVerbs - 2].slotWords[MaxSlots - 1]), SlotWordSize - 1u);
    EXPECT_EQ(game.sceneCount, MaxScenes);
    EXPECT_EQ(game.inventory.count, MaxObjects - 1);
    for (const Scene& s : game.scenes) {
        EXPECT_EQ(std::strlen(s.name), SceneNameSize - 1u);
        EXPECT_EQ(std::strlen(s.description), SceneDescriptionSize - 1u);
        EXPECT_EQ(s.objnum, MaxObjects - 1);
        EXPECT_EQ(s.objects[MaxObjects - 1].id, 0);
        EXPECT_EQ(std::strlen(s.objects[MaxObjects - 1].description), ObjectDescriptionSize - 1u);
        EXPECT_EQ(std::strlen(s.objects[0].nameForms[3]), NameFormSize - 1u);
        EXPECT_EQ(s.actionCount, MaxActions);
        const Action& last = s.actions[MaxActions - 1];
        EXPECT_EQ(std::strlen(last.verbName), ActionVerbNameSize - 1u);
        EXPECT_EQ(std::strlen(last.text), ActionTextSize - 1u);
        EXPECT_NE(last.conditions[MaxConditions - 2].kind, 0);
        EXPECT_EQ(last.conditions[MaxConditions - 1].kind, 0);
        EXPECT_NE(last.effects[MaxEffects - 2].kind, 0);
        EXPECT_EQ(last.effects[MaxEffects - 1].kind, 0);
        EXPECT_NE(last.itemIds[MaxItemChanges - 2], 0);
        EXPECT_EQ(last.itemIds[MaxItemChanges - 1], 0);
    }
}

// A small deterministic generator for the files below.
struct Random {
    uint32_t state;
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }
    template <size_t N>
    const char* pick(const char* const (&choices)[N]) {
        return choices[below(N)];
    }
};

// A small well-formed world as tokens: verb 0 names `verbZeroObjects`
// objects, verb 1 one, verb 2 two; actions also use the empty verb 3 and
// numbers outside the table.
void appendWorldTokens(std::vector<std::string>& verbs, std::vector<std::string>& scenes,
                       int verbZeroObjects, Random& random) {
    verbs = {"Глаголы", "&", "v0", "0", std::to_string(verbZeroObjects),
             "0",       "0", "-",  "&", "v1",
             "1",       "1", "3",  "3", "-",
             "#",       "&", "v2", "3", "2",
             "3",       "3", "-",  "#", "в",
             "#"};
    auto number = [&](int below) { scenes.push_back(std::to_string(random.below(below))); };
    auto run = [&](int words) {
        for (int k = 0; k < words; ++k)
            scenes.push_back(random.pick({"a", "@", "*b*", "слово", "."}));
        scenes.push_back("/");
    };
    auto action = [&](int verb) {
        scenes.push_back(std::to_string(verb));
        number(5);
        number(5);
        if (verb == 2 || (verb == 0 && verbZeroObjects == 2)) number(5);
        number(3000);
        for (int list = 0; list < 2; ++list) {
            scenes.push_back("-");
            for (int k = random.below(4); k > 0; --k) number(100), number(10), number(10);
            scenes.push_back("0"), number(10), number(10);
        }
        scenes.push_back("-");
        for (int k = random.below(3); k > 0; --k) scenes.push_back("1"), number(10);
        scenes.push_back("0"), number(10);
        number(4), number(20), number(10);
        run(random.below(4));
    };
    scenes = {"Мир"};
    for (int s = 1 + random.below(5); s > 0; --s) {
        scenes.push_back("&");
        run(1 + random.below(2));
        run(random.below(5));
        for (int exit = 0; exit < 4; ++exit) number(5);
        for (int id = 1, objects = random.below(4); id <= objects; ++id) {
            scenes.push_back(std::to_string(id));
            for (int form = 0; form < 4; ++form) scenes.push_back(random.pick({"f", "ф", "x"}));
            run(random.below(3));
        }
        scenes.insert(scenes.end(), {"0", "a", "b", "c", "d", "/"});
        const char* const verbNumbers[] = {"1", "2", "3", "9", "-3", "30"};
        for (int k = random.below(4); k > 0; --k) action(std::stoi(random.pick(verbNumbers)));
        action(0);
    }
    if (random.below(2) == 0) scenes.push_back("конец");
}

// A few random changes: tokens replaced, inserted or removed, and "&" tokens
// put into texts, where the records stay whole but the count of "&" does not.
void mutate(std::vector<std::string>& tokens, Random& random) {
    const char* const strange[] = {"&",  "&", "/", "0",  "1", "12&",         "&x",
                                   "x&", "-", "+", "5/", "@", "99999999999", "-1-1"};
    for (int k = random.below(5); k > 0; --k) {
        size_t at = random.below(static_cast<int>(tokens.size()) + 1);
        std::string token = random.below(15) == 0 ? std::string(300, 'z') : random.pick(strange);
        int change = random.below(4);
        if (change == 0 && at < tokens.size()) {
            tokens[at] = token;
        } else if (change == 1) {
            tokens.insert(tokens.begin() + at, token);
        } else if (change == 2 && at < tokens.size()) {
            tokens.erase(tokens.begin() + at);
        } else if (change == 3) {
            auto slash = std::find(tokens.begin() + at, tokens.end(), "/");
            if (slash != tokens.end()) tokens.insert(slash, "&");
        }
    }
}

std::string join(const std::vector<std::string>& tokens, Random& random) {
    std::string text;
    for (const std::string& token : tokens)
        text += token + random.pick({" ", "\n", "\t", "  \r\n", " "});
    if (random.below(3) == 0) text.pop_back();  // the last token ends the file
    return text;
}

TEST_F(SceneFile, DamagedWorldsLoadAsTheRescanningReaderReadsThem) {
    Random random{2024};
    for (int trial = 0; trial < 400; ++trial) {
        std::vector<std::string> verbs, scenes;
        appendWorldTokens(verbs, scenes, random.below(2) * 2, random);
        if (trial % 2 == 0) mutate(scenes, random);
        if (trial % 3 == 0) mutate(verbs, random);
        dir.write("verbs.dat", join(verbs, random));
        dir.write("scenes.dat", join(scenes, random));
        expectLinearLoadingAgreesWithRescanning(12, "trial " + std::to_string(trial));
        if (HasFailure()) break;
    }
}

}  // namespace

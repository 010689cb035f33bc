#include "world/saved_game.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/fixtures.h"
#include "world/world.h"

namespace {

// A copy of the whole game, for before-and-after comparisons.
GameState kept;

void keepGame() {
    std::memcpy(&kept, &game, sizeof game);
}

bool gameUnchanged() {
    return std::memcmp(&kept, &game, sizeof game) == 0;
}

void setExits(Scene& scene, int32_t east, int32_t west, int32_t north, int32_t south) {
    scene.exitEast = east;
    scene.exitWest = west;
    scene.exitNorth = north;
    scene.exitSouth = south;
}

// Appends an object named `name` (UTF-8) to the scene.
SceneObject& addObject(Scene& scene, int32_t id, const std::string& name, int32_t state = 0) {
    SceneObject& object = scene.objects[scene.objnum++];
    std::string cp = toCp866(name);
    for (char(&form)[NameFormSize] : object.nameForms)
        std::snprintf(form, sizeof form, "%s", cp.c_str());
    std::snprintf(object.description, sizeof object.description, "%s . ", cp.c_str());
    object.id = id;
    object.state = state;
    return object;
}

// Puts the object of scene `home` with `id` into the inventory, as taking it does.
void carry(int32_t home, int32_t id) {
    Scene& carried = game.scenes[0];
    const Scene& scene = game.scenes[home];
    for (int32_t k = 0; k < scene.objnum; ++k)
        if (scene.objects[k].id == id) carried.objects[carried.objnum] = scene.objects[k];
    carried.objects[carried.objnum].id = carried.objnum + 1;
    ++carried.objnum;
    game.inventory.items[game.inventory.count++] = home * 100 + id;
}

std::string nameOf(const SceneObject& object) {
    return toUtf8(object.nameForms[0]);
}

// The world of the worked example: two scenes, one carried object of scene 0.
void buildExampleWorld() {
    resetGameState();
    game.sceneCount = 2;
    for (int32_t i = 0; i < 2; ++i) {
        game.scenes[i].index = i;
        setExits(game.scenes[i], -1, -1, -1, -1);
    }
    addObject(game.scenes[0], 1, "лампа");
    game.inventory.items[0] = 1;
    game.inventory.count = 1;
    game.scenes[0].actionCount = 1;
    Scene& hall = game.scenes[1];
    hall.actionCount = 2;
    hall.actions[0].state = Done;
    addObject(hall, 1, "нож");
    addObject(hall, 2, "верёвка", 2);
    game.currentScene = 1;
    game.score = 15;
}

const char ExampleSave[] = "1 15\n1 1 \n-1 -1 -1 -1\n0\n0 \n1\n0 1\n\n-1 -1 -1 -1\n0\n1 0 \n0 2 \n";

// Four scenes; the player carries the lamp of scene 0 and the knife of scene 2.
void buildWorld() {
    resetGameState();
    game.sceneCount = 4;
    for (int32_t i = 0; i < 4; ++i) {
        Scene& scene = game.scenes[i];
        scene.index = i;
        setExits(scene, i + 1 < 4 ? i + 1 : -1, i - 1, -1, 0);
        scene.actionCount = 1 + i % 3;
    }
    addObject(game.scenes[0], 1, "лампа");
    game.inventory.items[game.inventory.count++] = 1;
    addObject(game.scenes[1], 1, "стол");
    addObject(game.scenes[2], 1, "нож");
    addObject(game.scenes[2], 2, "верёвка");
    addObject(game.scenes[3], 1, "камень");
    addObject(game.scenes[3], 2, "ключ");
    carry(2, 1);
    game.currentScene = 2;
    game.score = 40;
}

// Changes every part of the game that a save keeps.
void playOn() {
    game.currentScene = 3;
    game.score += 7;
    for (int32_t i = 0; i < game.sceneCount; ++i) {
        Scene& scene = game.scenes[i];
        setExits(scene, 3, 2, 1, -1);
        scene.state += 2;
        for (int32_t k = 0; k < scene.actionCount; ++k) scene.actions[k].state ^= 1;
        for (int32_t k = 0; k < scene.objnum; ++k) scene.objects[k].state += 3;
    }
    carry(3, 2);
}

// Expects the part of the game that a save keeps to be the same in both.
void expectSameProgress(const GameState& want, const GameState& got) {
    EXPECT_EQ(want.currentScene, got.currentScene);
    EXPECT_EQ(want.score, got.score);
    EXPECT_EQ(0, std::memcmp(&want.inventory, &got.inventory, sizeof want.inventory));
    ASSERT_EQ(want.sceneCount, got.sceneCount);
    for (int32_t i = 0; i < want.sceneCount; ++i) {
        const Scene& w = want.scenes[i];
        const Scene& g = got.scenes[i];
        SCOPED_TRACE("scene " + std::to_string(i));
        EXPECT_EQ(w.exitEast, g.exitEast);
        EXPECT_EQ(w.exitWest, g.exitWest);
        EXPECT_EQ(w.exitNorth, g.exitNorth);
        EXPECT_EQ(w.exitSouth, g.exitSouth);
        EXPECT_EQ(w.state, g.state);
        for (int32_t k = 0; k < w.actionCount; ++k)
            EXPECT_EQ(w.actions[k].state, g.actions[k].state) << "action " << k;
        ASSERT_EQ(w.objnum, g.objnum);
        EXPECT_EQ(0, std::memcmp(w.objects, g.objects, sizeof(SceneObject) * w.objnum));
    }
}

TEST(SaveGame, WritesTheWorkedExampleByteForByte) {
    TempWorkDir dir;
    buildExampleWorld();
    EXPECT_EQ(1, saveGame());
    EXPECT_EQ(ExampleSave, dir.read("save.dat"));
}

TEST(SaveGame, RightAfterStartWritesAnEmptyInventory) {
    TempWorkDir dir;
    resetGameState();
    game.sceneCount = 2;
    game.scenes[0].actionCount = 1;
    setExits(game.scenes[0], -1, -1, -1, -1);
    Scene& hall = game.scenes[1];
    hall.actionCount = 1;
    hall.state = -3;
    setExits(hall, 0, -1, 12, -1);
    EXPECT_EQ(1, saveGame());
    EXPECT_EQ("1 0\n0 \n-1 -1 -1 -1\n0\n0 \n0\n\n0 -1 12 -1\n-3\n0 \n\n", dir.read("save.dat"));
}

TEST(SaveGame, ReplacesTheEarlierSaveAndLeavesNothingElse) {
    TempWorkDir dir;
    dir.writeBytes("save.dat", "an older save that is longer than the new one\n");
    buildExampleWorld();
    EXPECT_EQ(1, saveGame());
    EXPECT_EQ(ExampleSave, dir.read("save.dat"));
    EXPECT_NE(0, access("save.dat.pending", F_OK));
}

// Each case puts something in the way of the new save; false when it cannot
// be set up here.
TEST(SaveGame, AFailedSaveReportsZeroAndKeepsTheEarlierSave) {
    struct Case {
        const char* name;
        bool (*block)();
        bool keepsOldSave;
    };
    const Case cases[] = {
        {"a directory where the new save is written",
         [] { return mkdir("save.dat.pending", 0700) == 0; }, true},
        {"a full disk",
         [] {
             return access("/dev/full", W_OK) == 0 && symlink("/dev/full", "save.dat.pending") == 0;
         },
         true},
        {"a directory named save.dat",
         [] {
             return std::remove("save.dat") == 0 && mkdir("save.dat", 0700) == 0 &&
                    mkdir("save.dat/inside", 0700) == 0;
         },
         false},
    };
    const std::string old = "3 9\n0 \n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        dir.writeBytes("save.dat", old);
        if (!c.block()) {
            std::printf("skipped: %s cannot be set up here\n", c.name);
            continue;
        }
        buildExampleWorld();
        game.sceneCount = MaxScenes;  // more than the output buffer holds
        for (Scene& scene : game.scenes) scene.actionCount = MaxActions;
        keepGame();
        EXPECT_EQ(0, saveGame());
        if (c.keepsOldSave) {
            EXPECT_EQ(old, dir.read("save.dat"));
        }
        EXPECT_TRUE(gameUnchanged());
        struct stat pending;
        bool leftover = lstat("save.dat.pending", &pending) == 0;
        // Only a directory that was there before may remain; a started file is removed.
        EXPECT_TRUE(!leftover || S_ISDIR(pending.st_mode));
    }
}

TEST(LoadGame, RestoresWhatWasSaved) {
    TempWorkDir dir;
    buildWorld();
    game.scenes[0].objects[1].state = 5;  // the carried knife
    game.scenes[2].actions[1].state = RepeatableDone;
    ASSERT_EQ(1, saveGame());
    keepGame();
    playOn();
    EXPECT_EQ(1, loadGame());
    expectSameProgress(kept, game);
    EXPECT_EQ("нож", nameOf(game.scenes[0].objects[1]));
    EXPECT_EQ(5, game.scenes[0].objects[1].state);
}

TEST(LoadGame, LoadingTwiceEqualsLoadingOnce) {
    TempWorkDir dir;
    buildWorld();
    ASSERT_EQ(1, saveGame());
    playOn();
    ASSERT_EQ(1, loadGame());
    keepGame();
    EXPECT_EQ(1, loadGame());
    EXPECT_TRUE(gameUnchanged());
}

TEST(LoadGame, FewerCarriedObjectsLeaveZerosBehind) {
    TempWorkDir dir;
    buildWorld();
    ASSERT_EQ(1, saveGame());
    carry(3, 1);
    carry(1, 1);
    ASSERT_EQ(4, game.inventory.count);
    ASSERT_EQ(1, loadGame());
    EXPECT_EQ(2, game.inventory.count);
    EXPECT_EQ(2, game.scenes[0].objnum);
    for (int32_t k = 2; k < MaxItems; ++k) EXPECT_EQ(0, game.inventory.items[k]) << "entry " << k;
}

// The saved ids say which inventory entry each record of scene 0 is rebuilt
// from; the record comes from the entry's home scene.
TEST(LoadGame, RebuildsCarriedRecordsFromTheirHomeScenes) {
    TempWorkDir dir;
    buildWorld();
    addObject(game.scenes[3], 1, "второй камень");  // the last record with id 1 counts
    dir.writeBytes("save.dat",
                   "1 0\n3 301 201 309 \n"
                   "-1 -1 -1 -1\n0\n0 \n3\n7 2\n8 1\n9 3\n\n"
                   "2 0 -1 0\n0\n0 0 \n0 \n"
                   "3 1 -1 0\n0\n0 0 0 \n0 0 \n"
                   "-1 2 -1 0\n0\n0 \n0 0 0 \n");
    ASSERT_EQ(1, loadGame());
    const Scene& carried = game.scenes[0];
    ASSERT_EQ(3, carried.objnum);
    const char* names[] = {"нож", "второй камень", "камень"};  // 309: no id 9, record 0
    const int32_t states[] = {7, 8, 9};
    const int32_t ids[] = {2, 1, 3};
    for (int32_t k = 0; k < 3; ++k) {
        EXPECT_EQ(names[k], nameOf(carried.objects[k])) << "record " << k;
        EXPECT_EQ(toCp866(std::string(names[k]) + " . "), carried.objects[k].description);
        EXPECT_EQ(states[k], carried.objects[k].state);
        EXPECT_EQ(ids[k], carried.objects[k].id);
    }
}

// Files that still hold every number this world needs, in the order it needs them.
TEST(LoadGame, AcceptsEveryCompleteFile) {
    const std::string text = ExampleSave;
    const std::string cases[] = {
        text + "5 6 7\n",     // numbers of a larger world are ignored
        text + "whatever\n",  // so is anything else after the last needed number
        "1 15 1 1 -1 -1 -1 -1 0 0 1 0 1 -1 -1 -1 -1 0 1 0 0 2",  // line breaks mean nothing
        "+1 15\r\n1 1 \r\n-1 -1 -1 -1\r\n0\r\n0 \r\n1\r\n0 1\r\n\r\n-1 -1 -1 -1\r\n0\r\n1 0 "
        "\r\n0 2 \r\n",
    };
    for (const std::string& file : cases) {
        SCOPED_TRACE(file);
        TempWorkDir dir;
        dir.writeBytes("save.dat", file);
        buildExampleWorld();
        keepGame();
        playOn();
        EXPECT_EQ(1, loadGame());
        expectSameProgress(kept, game);
    }
}

// The worked example's file with line `line` (from 0) replaced.
std::string exampleWith(std::vector<std::pair<int, std::string>> changes) {
    std::vector<std::string> lines = {"1 15", "1 1 ", "-1 -1 -1 -1", "0", "0 ",   "1",
                                      "0 1",  "",     "-1 -1 -1 -1", "0", "1 0 ", "0 2 "};
    for (const auto& [line, text] : changes) lines[line] = text;
    std::string file;
    for (const std::string& line : lines) file += line + "\n";
    return file;
}

std::string repeated(const std::string& piece, int times) {
    std::string out;
    for (int k = 0; k < times; ++k) out += piece;
    return out;
}

TEST(LoadGame, RefusesDamagedOrForeignFilesAndChangesNothing) {
    const std::string full = ExampleSave;
    struct Case {
        const char* name;
        std::string file;
    };
    const Case cases[] = {
        {"empty", ""},
        {"cut after the score", full.substr(0, 5)},
        {"cut inside the inventory", "1 15\n2 1 "},
        {"cut before scene 0's objects", full.substr(0, full.find("\n1\n") + 1)},
        {"cut inside a carried pair", full.substr(0, full.find("0 1\n") + 2)},
        {"cut before the last object state", full.substr(0, full.size() - 3)},
        {"only white space", " \n\n\t"},
        {"a letter for an exit", exampleWith({{2, "-1 -1 x -1"}})},
        {"a letter inside a number", exampleWith({{8, "-1 -1 -1 -1x"}})},
        {"12abc for the score", exampleWith({{0, "1 12abc"}})},
        {"two numbers run together", exampleWith({{2, "-1-1 -1 -1"}})},
        {"letters after the last number", exampleWith({{11, "0 2abc "}})},
        {"a lone minus", exampleWith({{3, "-"}})},
        {"a cyrillic word", exampleWith({{9, toCp866("ноль")}})},
        {"count over 100",
         exampleWith({{1, "101 " + repeated("1 ", 101)}, {5, "101"}, {6, repeated("0 1\n", 101)}})},
        {"negative count", exampleWith({{1, "-1 "}, {5, "-1"}, {6, ""}})},
        {"more carried records than entries", exampleWith({{5, "2"}, {6, "0 1\n0 1"}})},
        {"fewer carried records than entries", exampleWith({{1, "2 1 1 "}})},
        {"carried id 0", exampleWith({{6, "0 0"}})},
        {"carried id beyond the count", exampleWith({{6, "0 2"}})},
        {"item of scene 77", exampleWith({{1, "1 7701 "}})},
        {"item code 0", exampleWith({{1, "1 0 "}})},
        {"negative item code", exampleWith({{1, "1 -101 "}})},
        {"current scene 60", exampleWith({{0, "60 15"}})},
        {"current scene 2 of two", exampleWith({{0, "2 15"}})},
        {"negative current scene", exampleWith({{0, "-1 15"}})},
        {"a scene with fewer actions", exampleWith({{10, "1 "}, {11, ""}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        dir.writeBytes("save.dat", c.file);
        buildExampleWorld();
        playOn();
        keepGame();
        EXPECT_EQ(0, loadGame());
        EXPECT_TRUE(gameUnchanged());
    }
}

TEST(LoadGame, WithoutASaveChangesNothing) {
    TempWorkDir dir;
    buildWorld();
    keepGame();
    EXPECT_EQ(0, loadGame());
    EXPECT_TRUE(gameUnchanged());
}

// Scene 0 gives the player a lamp and a map; the room's knife can be taken.
const char* const SceneFile = R"(Мир
& Заглавие / Подзаголовок / -1 -1 -1 -1
1 лампа лампой лампе лампу Старая лампа . /
2 карта картой карте карту Карта . /
0 x x x x /
0 0 0 0 - 0 0 0 - 0 0 0 - 0 0 0 0 0 /
& Комната / Комната . / 2 -1 -1 -1
1 нож ножом ножу нож Нож . /
0 x x x x /
1 1 1 1 - 0 0 0 - 0 0 0 - 1 1 0 0 0 5 1 Вы взяли нож . /
0 0 0 0 - 0 0 0 - 0 0 0 - 0 0 0 0 0 /
& Сад / Сад . / -1 1 -1 -1
0 x x x x /
0 0 0 0 - 0 0 0 - 0 0 0 - 0 0 0 0 0 /
)";

// The world as start-up leaves it: verbs in memory, every scene read.
void startWorld(const TempWorkDir& dir) {
    dir.write("scenes.dat", SceneFile);
    resetGameState();
    game.verbCount = 2;
    game.verbs[1].index = 1;
    std::snprintf(game.verbs[1].name, VerbNameSize, "%s", toCp866("взять").c_str());
    game.verbs[1].slotCount = 1;
    game.verbs[1].objectCount = 1;
    game.verbs[1].firstForm = 3;
    std::snprintf(game.verbs[1].slotWords[0], SlotWordSize, "#");
    ASSERT_EQ(1, restartGame());
    ASSERT_EQ(3, game.sceneCount);
}

TEST(RestartGame, ReadsTheWorldAgainAndKeepsTheScore) {
    TempWorkDir dir;
    startWorld(dir);
    keepGame();
    playOn();
    game.scenes[1].actions[0].state = Done;
    carry(1, 1);
    game.score = 25;
    game.sceneCount = 7;
    EXPECT_EQ(1, restartGame());
    EXPECT_EQ(25, game.score);
    EXPECT_EQ(3, game.sceneCount);
    EXPECT_EQ(1, game.currentScene);
    const ItemCode seeded[MaxItems] = {1, 2};
    EXPECT_EQ(2, game.inventory.count);
    EXPECT_EQ(0, std::memcmp(seeded, game.inventory.items, sizeof seeded));
    kept.score = 25;
    expectSameProgress(kept, game);
    EXPECT_EQ(0, std::memcmp(kept.verbs, game.verbs, sizeof game.verbs));
    EXPECT_EQ(kept.verbCount, game.verbCount);
}

// Saving, starting again and loading brings back what the player carried,
// rebuilt from the scene file's records.
TEST(RestartGame, ASaveOutlivesARestart) {
    TempWorkDir dir;
    startWorld(dir);
    game.scenes[1].actions[0].state = Done;
    carry(1, 1);
    game.scenes[0].objects[2].state = 4;
    game.currentScene = 2;
    game.score = 5;
    ASSERT_EQ(1, saveGame());
    keepGame();
    ASSERT_EQ(1, restartGame());
    ASSERT_EQ(2, game.inventory.count);
    EXPECT_EQ(1, loadGame());
    expectSameProgress(kept, game);
    EXPECT_EQ("нож", nameOf(game.scenes[0].objects[2]));
}

TEST(RestartGame, WithoutTheSceneFileEmptiesTheInventoryAndKeepsTheScenes) {
    TempWorkDir dir;
    buildWorld();
    playOn();
    keepGame();
    EXPECT_EQ(0, restartGame());
    EXPECT_EQ(0, game.inventory.count);
    for (int32_t k = 0; k < MaxItems; ++k) EXPECT_EQ(0, game.inventory.items[k]);
    EXPECT_EQ(1, game.currentScene);
    EXPECT_EQ(1, game.sceneCount);
    EXPECT_EQ(kept.score, game.score);
    EXPECT_EQ(0, std::memcmp(kept.scenes, game.scenes, sizeof game.scenes));
    EXPECT_EQ(0, std::memcmp(kept.verbs, game.verbs, sizeof game.verbs));
}

}  // namespace

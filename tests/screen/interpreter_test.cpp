// The command interpreter's replies as they appear in an off-screen window:
// built-in commands, the echo and fallback lines of the action engine, and the
// messages chosen from the results of its two lookups.
#include "interp/interpreter.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "shell/config.h"
#include "support/curses_screen.h"
#include "support/fixtures.h"
#include "support/world_builder.h"

namespace {

const std::string Unmet = "Похоже, что перед этим надо что-то сделать.";
const std::string NotNow = "В данный момент это сделать невозможно.";
const std::string NewGame = "Начать сначала? y/n";
const std::string Sure = "Вы уверены? y/n";
const std::string DefaultReply = "Ничего не произошло.";

class Interpreter : public ::testing::Test {
protected:
    void SetUp() override {
        settings = Settings{};
        buildWorld();
    }

    // Scene 1, the hall, leads east to scene 2, the garden; scene 1 holds a
    // coin, a guard and bread.
    void buildWorld() {
        beginWorld(3);
        game.lastOutputRow = 23;
        setText(game.scenes[0].name, SceneNameSize, "Игра");
        setText(game.scenes[1].name, SceneNameSize, "Зал");
        setText(game.scenes[1].description, SceneDescriptionSize, "Большой зал. ");
        game.scenes[1].exitEast = 2;
        setText(game.scenes[2].name, SceneNameSize, "Сад");
        setText(game.scenes[2].description, SceneDescriptionSize, "Тихий сад. ");
        addVerb("осмотреться", 0, 0, 0, {});
        addVerb("взять", 1, 3, 0, {"#"});
        addVerb("идти", 1, 3, 0, {"на", "#"});
        addVerb("дать", 2, 3, 2, {"#", "#"});
        addObject(1, "монета монетой монете монету", "Медная монета. ");
        addObject(1, "стражник стражником стражнику стражника", "Суровый стражник. ");
        addObject(1, "хлеб хлебом хлебу хлеб", "Свежий хлеб. ");
    }

    void replyWith(const std::string& text) {
        settings.defaultReplyOn = true;
        setText(settings.defaultReply, DefaultReplySize, text + " ");
    }

    int command(const std::string& line) {
        InputWords input = typed(line);
        return interpretCommand(input, row, window);
    }

    std::string rowText(int r) const { return CursesScreen::rowText(window, r); }
    int pairAt(int r, int column) const { return CursesScreen::pairAt(window, r, column); }

    // The first row that contains the text; -1 when none does.
    int rowOf(const std::string& utf8) const {
        for (int r = 0; r < getmaxy(window); ++r)
            if (rowText(r).find(utf8) != std::string::npos) return r;
        return -1;
    }

    // The rows from `first` to `last` joined: a line written over several
    // rows with word wrap off.
    std::string rowsJoined(int first, int last) const {
        std::string text;
        for (int r = first; r <= last; ++r)
            text += CursesScreen::cellsText(window, r, 0, getmaxx(window));
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    }

    // The first `length` cells from the start of row `first` on, as CP866.
    std::string written(int first, int length) const {
        std::string text;
        for (int r = first; static_cast<int>(text.size()) < length; ++r)
            text += toCp866(CursesScreen::cellsText(window, r, 0, getmaxx(window)));
        return text.substr(0, length);
    }

    CursesScreen screen;
    WINDOW* window = screen.window();
    int row = 5;
};

// --- replies to the two lookups ---------------------------------------------

// What one lookup finds for "трогать шар" in a scene.
enum class Finds { Nothing, Runs, Unmet, Done, Cannot, Ends };

struct Outcome {
    Finds inScene0;
    Finds inCurrent;
    std::string shown;  // "" when no reply follows
    bool replyOn = true;
};

void prepare(int scene, Finds finds) {
    if (finds == Finds::Nothing) return;
    int ball = addObject(scene, "шар шаром шару шар").id;
    if (finds == Finds::Cannot) return;
    Action& action = addAction(scene, "трогать", 1, ball, scene, 1, "Шар тронут.");
    if (finds == Finds::Done) action.state = Done;
    if (finds == Finds::Unmet) addCondition(action, 1, scene, 7);
    if (finds == Finds::Ends) addEffect(action, -1, 0, -1);
}

TEST_F(Interpreter, TheResultsOfBothLookupsChooseTheReply) {
    using F = Finds;
    const Outcome outcomes[] = {
        {F::Ends, F::Runs, NewGame},
        {F::Nothing, F::Ends, NewGame},
        {F::Done, F::Ends, NewGame},
        {F::Cannot, F::Ends, NewGame},
        {F::Nothing, F::Nothing, DefaultReply},
        {F::Nothing, F::Nothing, "", false},
        {F::Nothing, F::Runs, ""},
        {F::Nothing, F::Cannot, ""},
        {F::Nothing, F::Unmet, Unmet},
        {F::Nothing, F::Done, NotNow},
        {F::Runs, F::Runs, ""},
        {F::Unmet, F::Runs, Unmet},
        {F::Done, F::Nothing, NotNow},
        {F::Done, F::Unmet, Unmet},
        {F::Done, F::Runs, ""},
        {F::Done, F::Done, ""},
        {F::Done, F::Cannot, ""},
        {F::Cannot, F::Unmet, Unmet},
        {F::Cannot, F::Nothing, ""},
        {F::Cannot, F::Runs, ""},
        {F::Cannot, F::Done, ""},
        {F::Cannot, F::Cannot, ""},
    };
    for (const Outcome& o : outcomes) {
        SCOPED_TRACE(::testing::Message() << "scene 0 " << static_cast<int>(o.inScene0)
                                          << ", current scene " << static_cast<int>(o.inCurrent));
        buildWorld();
        werase(window);
        row = 5;
        addVerb("трогать", 1, 3, 0, {"#"});
        prepare(0, o.inScene0);
        prepare(1, o.inCurrent);
        if (o.replyOn) replyWith(DefaultReply);
        settings.defaultReplyOn = o.replyOn;
        if (o.shown == NewGame) CursesScreen::feedText("n");
        int result = command("трогать шар");
        EXPECT_EQ(result, o.shown == NewGame ? 0 : 1);
        for (const std::string& reply : {Unmet, NotNow, NewGame, DefaultReply}) {
            int at = rowOf(reply);
            if (reply != o.shown) {
                EXPECT_EQ(at, -1) << reply;
                continue;
            }
            ASSERT_GE(at, 0) << reply;
            EXPECT_EQ(pairAt(at, 0), SystemPair);
        }
        // A lookup that ran an action, found unmet conditions or ended the
        // game settles the command: the current scene is not consulted.
        bool consulted =
            o.inScene0 == F::Nothing || o.inScene0 == F::Done || o.inScene0 == F::Cannot;
        if (o.inCurrent == F::Runs) {
            EXPECT_EQ(game.scenes[1].actions[0].state, consulted ? 1 : 0);
        }
    }
}

TEST_F(Interpreter, AfterAlreadyDoneTheNextLineReplacesTheEcho) {
    addVerb("трогать", 1, 3, 0, {"#"});
    prepare(0, Finds::Done);
    command("трогать шар");
    EXPECT_EQ(rowText(5), NotNow);
    EXPECT_EQ(row, 6);

    werase(window);
    row = 5;
    prepare(1, Finds::Runs);
    command("трогать шар");
    EXPECT_EQ(rowText(5), "трогать шар");  // the second lookup's echo
    EXPECT_EQ(rowText(6), "  Шар тронут.");
    EXPECT_EQ(rowText(7), "");
}

TEST_F(Interpreter, TheGameOverQuestionRestartsOnYes) {
    TempWorkDir dir;
    dir.write("scenes.dat",
              "& Игра / Проба / -1 -1 -1 -1 0 x x x x / 0 0 0 0 - 0 0 0 - 0 0 0 - 0 0 0 0 0 / "
              "& Зал / Снова зал. / -1 -1 -1 -1 0 x x x x / 0 0 0 0 - 0 0 0 - 0 0 0 - 0 0 0 0 0 /");
    addVerb("трогать", 1, 3, 0, {"#"});
    prepare(1, Finds::Ends);
    game.scenes[1].actions[0].score = 3;
    CursesScreen::feedText(
        "xYn"
        "y");                       // only a lower-case y or n answers
    CursesScreen::feedText("xYy");  // only a lower-case y or n answers
    EXPECT_EQ(command("трогать шар"), 1);
    EXPECT_EQ(rowText(5), "трогать шар");
    EXPECT_EQ(rowText(6), "  Шар тронут.");
    EXPECT_EQ(rowText(7), "счет +3");
    EXPECT_EQ(rowText(8), NewGame);
    EXPECT_EQ(rowText(9), "  Снова зал.");
    EXPECT_EQ(game.score, 3);
    EXPECT_EQ(game.sceneCount, 2);
}

// --- the action engine's own lines -------------------------------------------

TEST_F(Interpreter, TheEchoShowsTheFullCommandInTheUnswappedOrder) {
    Action& give = addAction(1, "дать", 2, 1, 1001, 1, "Стражник берёт монету.");
    give.what2 = 2;
    command("дат стражнику мон");
    EXPECT_EQ(rowText(5), "дать монету стражнику");
    EXPECT_EQ(pairAt(5, 0), HighlightPair);
    EXPECT_EQ(rowText(6), "  Стражник берёт монету.");
    EXPECT_EQ(row, 7);
}

TEST_F(Interpreter, TheEchoIsPrintedOncePerLookup) {
    Action& unmet = addAction(1, "взять", 1, 1, 1, 1, "Не выйдет.");
    addCondition(unmet, 5, 1, 9);
    addAction(1, "взять", 1, 1, 1, 2, "Первая.").state = Done;
    addAction(1, "взять", 1, 1, 1, 3, "Монета взята.");
    command("взять монету");
    EXPECT_EQ(rowText(5), "взять монету");
    EXPECT_EQ(rowText(6), "  Монета взята.");
    EXPECT_EQ(rowText(7), "");
}

TEST_F(Interpreter, TheFallbackNamesEachFittingObject) {
    addObject(1, "хлебец хлебцем хлебцу хлебец");
    command("взя хле");
    EXPECT_EQ(rowText(5), "Не получается взя хлеб");
    EXPECT_EQ(rowText(6), "Не получается взя хлебец");
    EXPECT_EQ(pairAt(5, 0), HighlightPair);
    EXPECT_EQ(CursesScreen::cellsText(window, 5, 22, 1), " ");  // the closing space
    EXPECT_EQ(row, 7);

    werase(window);
    row = 5;
    replyWith(DefaultReply);
    command("взять монету ");  // the empty last word names nothing
    EXPECT_EQ(rowText(5), DefaultReply);
    EXPECT_EQ(row, 6);
}

TEST_F(Interpreter, LongEchoAndFallbackLinesAreCutAtTheirBuffers) {
    std::string verb = "взятьвсё" + std::string(240, 'a');
    addVerb(verb, 1, 3, 0, {"#", "и", "всё"});
    addAction(1, "взятьвсё", 3, 1, 1, 1);  // no text: the echo's rows stay as written
    command("взятьвсё монету и всё");
    EXPECT_EQ(written(5, 256), toCp866(verb + " монету") + " ");  // 255 bytes, cut before " и"
    EXPECT_EQ(row, 7);

    werase(window);
    row = 5;
    std::string word(79, 'b');
    addVerb(word, 1, 3, 0, {"#"});
    std::string line = word;
    for (int w = 1; w < 9; ++w) line += " " + word;
    command(line + " монету");
    std::string expected = toCp866("Не получается " + line + " монету ").substr(0, 254);
    EXPECT_EQ(written(5, 255), expected + " ");
}

// --- built-in commands -------------------------------------------------------

TEST_F(Interpreter, LeavingAsksFirst) {
    CursesScreen::feedKeys({'Y', 0xE0, 'q', 'y'});
    EXPECT_EQ(command("вых"), 0);
    EXPECT_EQ(rowText(5), Sure);
    EXPECT_EQ(pairAt(5, 0), SystemPair);
    EXPECT_EQ(row, 6);
    CursesScreen::feedText("n");
    EXPECT_EQ(command("выход"), 1);
    EXPECT_EQ(rowText(6), Sure);

    replyWith(DefaultReply);
    for (const char* notLeave : {"вы", "выходы", "выход "}) {
        werase(window);
        row = 5;
        EXPECT_EQ(command(notLeave), 1);
        EXPECT_EQ(rowText(5), DefaultReply) << notLeave;
    }
}

TEST_F(Interpreter, StartingAgainAsksFirst) {
    game.scenes[1].state = 1;
    CursesScreen::feedText("n");
    EXPECT_EQ(command("снач"), 1);
    EXPECT_EQ(rowText(5), Sure);
    EXPECT_EQ(rowText(6), "");
    EXPECT_EQ(row, 6);
    EXPECT_EQ(game.scenes[1].state, 1);
}

TEST_F(Interpreter, LookingAroundDescribesTheCurrentScene) {
    for (const char* line : {"осмотреться", "осмотреть", "осм"}) {
        werase(window);
        row = 5;
        EXPECT_EQ(command(line), 1);
        EXPECT_EQ(rowText(5), "  Большой зал.") << line;
        EXPECT_EQ(rowText(6), "Вы видите выходы к: востоку.") << line;
        EXPECT_EQ(row, 7);
    }
}

TEST_F(Interpreter, ExaminingLooksInTheCurrentSceneThenInTheInventory) {
    addObject(0, "хлеб хлебом хлебу хлеб", "Чёрствый хлеб. ");
    addObject(0, "письмо письмом письму письмо", "Письмо без подписи. ");
    struct Case {
        const char* line;
        const char* shown;
    } cases[] = {
        {"осмотреть хлеб", "  Свежий хлеб."},
        {"осм стражника", "  Суровый стражник."},
        {"осмотреть пис", "  Письмо без подписи."},
        {"осмотреть лампу", "Ничего не произошло."},
        {"осмотреться хлеб", "Не получается осмотреться хлеб"},  // not the examine command
        {"осмотреть ", "Ничего не произошло."},
    };
    replyWith(DefaultReply);
    for (const Case& c : cases) {
        werase(window);
        row = 5;
        EXPECT_EQ(command(c.line), 1);
        EXPECT_EQ(rowText(5), c.shown) << c.line;
    }
}

TEST_F(Interpreter, GoingMovesThroughAnOpenExit) {
    game.scenes[2].exitWest = 1;
    game.scenes[2].exitNorth = 0;
    game.scenes[2].exitSouth = 7;  // no such scene: no exit
    struct Case {
        const char* line;
        int sceneAfter;
        std::string shown;
    } cases[] = {
        {"идти на восток", 2, "Вы успешно перешли на локацию Сад"},
        {"идти на юг", 2, "Туда пройти нельзя."},
        {"идт на зап", 1, "Вы успешно перешли на локацию Зал"},
        {"идти на запад", 1, "Туда пройти нельзя."},
        {"идти на вверх", 1, "Туда пройти нельзя."},
        {"идти на в", 1, "Туда пройти нельзя."},
        {"идти на вос", 2, "Вы успешно перешли на локацию Сад"},
        {"идти на север", 0, "Вы успешно перешли на локацию Игра"},
        {"идти в восток", 0, DefaultReply},
        {"идти восток", 0, DefaultReply},
    };
    replyWith(DefaultReply);
    for (const Case& c : cases) {
        werase(window);
        row = 5;
        if (c.line == std::string("идти на север")) game.currentScene = 2;
        EXPECT_EQ(command(c.line), 1);
        EXPECT_EQ(game.currentScene, c.sceneAfter) << c.line;
        EXPECT_EQ(rowText(5), c.shown) << c.line;
        EXPECT_EQ(pairAt(5, 0), SystemPair) << c.line;
        EXPECT_EQ(row, 6);
    }
    game.currentScene = 2;
    command("идти на юг");
    EXPECT_EQ(game.currentScene, 2);
}

TEST_F(Interpreter, HelpListsTheVerbsThenTheScore) {
    addVerb("положить", 2, 3, 2, {"#", "в", "#"});
    addVerb("странный", 1, 7, 0, {"#"});
    setText(game.verbs[game.verbCount - 1].name, VerbNameSize, "лишний");  // never listed
    game.score = 42;
    EXPECT_EQ(command("помощь"), 1);
    EXPECT_EQ(rowsJoined(5, 6),
              "Доступные команды интерпретатора: осмотреться, взять объект, "
              "идти на <север/юг/запад/восток>, дать объект объекту, положить объект в объекту, "
              "странный ???.");
    EXPECT_EQ(pairAt(5, 0), SystemPair);
    EXPECT_EQ(rowText(7), "Ваш счет: 42");
    EXPECT_EQ(row, 8);

    werase(window);
    row = 5;
    beginWorld(3);
    command("пом");
    EXPECT_EQ(rowText(5), "Доступные команды интерпретатора: .");
    EXPECT_EQ(rowText(6), "Ваш счет: 0");
}

TEST_F(Interpreter, AHelpLineTooLongForItsBufferIsCut) {
    beginWorld(3);
    for (int v = 0; v < MaxVerbs - 1; ++v) addVerb(std::string(100, 'a' + v % 26), 0, 0, 0, {});
    row = 0;
    command("помощь");
    std::string shown = rowsJoined(0, 12);
    EXPECT_EQ(toCp866(shown).size(), 1023u);
    EXPECT_EQ(rowText(13), "Ваш счет: 0");
}

TEST_F(Interpreter, TheInventoryListsTheCarriedObjects) {
    command("инвентарь");
    EXPECT_EQ(rowText(5), "Ваш инвентарь: пусто.");
    EXPECT_EQ(row, 6);

    addObject(0, "письмо письмом письму письмо");
    game.inventory.items[game.inventory.count++] = 102;  // the guard, taken from scene 1
    game.inventory.items[game.inventory.count++] = 109;  // no such object
    command("инв");
    EXPECT_EQ(rowText(6), "Ваш инвентарь: письмо, стражник, ???.");
    EXPECT_EQ(pairAt(6, 15), HighlightPair);
    EXPECT_EQ(pairAt(6, 21), NormalPair);
    EXPECT_EQ(row, 7);
}

TEST_F(Interpreter, ThingsCarriedFromTheStartAreListedAfterAnEarlierOneIsGone) {
    addVerb("бросить", 1, 3, 0, {"#"});
    addObject(0, "письмо письмом письму письмо");
    addObject(0, "ключ ключом ключу ключ");
    addObject(0, "свеча свечой свече свечу");
    Action& drop = addAction(0, "бросить", 1, 1, 0, 1, "Письмо улетело.");
    addItemChange(drop, 1, 0);
    command("бросить письмо");
    ASSERT_EQ(game.inventory.count, 2);
    command("инвентарь");
    EXPECT_NE(rowOf("Ваш инвентарь: ключ, свеча."), -1) << rowsJoined(0, 23);
}

TEST_F(Interpreter, ALongInventoryRunsOverSeveralRows) {
    std::string name(20, 'a');
    for (int i = 0; i < 3; ++i) addObject(0, name + " x x x");
    command("инвентарь");  // 15 + 20 + 2 + 20 + 2 + 20: the full stop in column 79
    EXPECT_EQ(rowText(5), "Ваш инвентарь: " + name + ", " + name + ", " + name + ".");
    EXPECT_EQ(row, 7);

    row = 10;
    for (int i = 0; i < 3; ++i) addObject(0, name + " x x x");
    command("инвентарь");
    std::string list = "Ваш инвентарь: " + name;
    for (int i = 1; i < 6; ++i) list += ", " + name;
    EXPECT_EQ(rowsJoined(10, 11), list + ".");
    EXPECT_EQ(row, 12);
}

TEST_F(Interpreter, SavingAndLoadingReportTheirOutcome) {
    TempWorkDir dir;
    game.score = 7;
    EXPECT_EQ(command("сохр"), 1);
    EXPECT_EQ(rowText(5), "Игра сохранена");
    EXPECT_EQ(pairAt(5, 0), SystemPair);
    game.score = 0;
    game.currentScene = 2;
    EXPECT_EQ(command("загрузиться"), 1);
    EXPECT_EQ(rowText(6), "Загрузка прошла успешно");
    EXPECT_EQ(rowText(7), "  Большой зал.");
    EXPECT_EQ(game.score, 7);
    EXPECT_EQ(row, 9);
}

TEST_F(Interpreter, FailedSavesAndLoadsSaySo) {
    TempWorkDir dir;
    command("загр");
    EXPECT_EQ(rowText(5), "Ошибка при загрузке игры");
    EXPECT_EQ(rowText(6), "  Большой зал.");
    ASSERT_EQ(mkdir((dir.path() + "/save.dat").c_str(), 0700), 0);
    command("сохраниться");
    EXPECT_EQ(rowText(8), "Ошибка при сохранении игры");
    EXPECT_EQ(row, 9);
}

}  // namespace

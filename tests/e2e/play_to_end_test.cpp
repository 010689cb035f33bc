// A short game played through to its end at the keyboard: a refused action,
// an item taken for points, the inventory, the action that ends the game and
// the question that follows it.
#include <gtest/gtest.h>

#include <string>

#include "support/fixtures.h"
#include "support/terminal_session.h"

namespace {

const char* const Verbs = R"(Глаголы
& осмотреться 0 0 0 0 -
& взять 1 1 3 3 - #
& открыть 1 1 3 3 - #
)";

// Taking the key (5 points) lets the door be opened, which ends the game
// (10 points).
const char* const Scenes = R"(Мир
& Побег / Проба / -1 -1 -1 -1
0 x x x x /
0 0 0 0 - 0 0 0 - 0 0 0 - 0 0 0 0 0 /
& Камера / Вы в камере. / -1 -1 -1 -1
1 ключ ключом ключу ключ Старый ключ. /
2 дверь дверью двери дверь Крепкая дверь. /
0 x x x x /
1 1 1 1 - 0 0 0 - 0 0 0 - 1 1 0 0 0 5 1 Вы взяли ключ. /
2 1 2 1 - 1 1 1 0 0 0 - -1 0 -1 0 0 0 - 0 0 0 10 2 Дверь открыта. Вы свободны! /
0 0 0 0 - 0 0 0 - 0 0 0 - 0 0 0 0 0 /
)";

// Commands as typed on a Latin keyboard.
const std::string OpenDoor = "jnrhsnm ldthm";  // открыть дверь
const std::string TakeKey = "dpznm rk.x";      // взять ключ
const std::string Inventory = "bydtynfhm";     // инвентарь
const std::string Help = "gjvjom";             // помощь
const std::string Exit = "ds[jl";              // выход

struct Game {
    Game() {
        dir.write("verbs.dat", Verbs);
        dir.write("scenes.dat", Scenes);
    }
    TempWorkDir dir;
};

// Plays from the start up to the question that follows the end of the game.
void playToTheEnd(TerminalSession& session) {
    ASSERT_TRUE(session.waitForText("Вы в камере.")) << session.screenText();
    ASSERT_TRUE(session.enterCommand(OpenDoor, "Похоже, что перед этим надо что-то сделать."))
        << session.screenText();
    ASSERT_TRUE(session.enterCommand(TakeKey, "Вы взяли ключ.")) << session.screenText();
    ASSERT_TRUE(session.waitForText("счет +5")) << session.screenText();
    ASSERT_TRUE(session.enterCommand(Inventory, "Ваш инвентарь: ключ.")) << session.screenText();
    ASSERT_TRUE(session.enterCommand(OpenDoor, "Вы свободны!")) << session.screenText();
    ASSERT_TRUE(session.waitForText("счет +10")) << session.screenText();
    ASSERT_TRUE(session.waitForText("Начать сначала? y/n")) << session.screenText();
}

TEST(GamePlayedToTheEnd, DecliningANewGameSaysGoodbye) {
    Game game;
    TerminalSession session(game.dir.path());
    playToTheEnd(session);
    if (HasFatalFailure()) return;
    session.type("n");
    ASSERT_TRUE(session.waitForText("Пока!")) << session.screenText();
    session.type("x");
    EXPECT_EQ(session.waitForExit(), 0);
}

TEST(GamePlayedToTheEnd, ANewGameStartsAgainWithTheScoreKept) {
    Game game;
    TerminalSession session(game.dir.path());
    playToTheEnd(session);
    if (HasFatalFailure()) return;
    session.type("y");
    ASSERT_TRUE(session.enterCommand(Inventory, "Ваш инвентарь: пусто.")) << session.screenText();
    ASSERT_TRUE(session.enterCommand(Help, "Ваш счет: 15")) << session.screenText();
    ASSERT_TRUE(session.enterCommand(Exit, "Вы уверены? y/n")) << session.screenText();
    session.type("y");
    ASSERT_TRUE(session.waitForText("Пока!")) << session.screenText();
    session.type("x");
    EXPECT_EQ(session.waitForExit(), 0);
}

}  // namespace

// Saving, loading and starting again as the player does them at the keyboard.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/fixtures.h"
#include "support/terminal_session.h"

namespace {

const char* const Verbs = R"(Глаголы
& осмотреться 0 0 0 0 -
& взять 1 1 3 3 - #
& идти 2 1 3 3 - на #
)";

// A room with a stone that can be taken for 5 points, and a garden to the east.
const char* const Scenes = R"(Мир
& Маленький мир / Проба / -1 -1 -1 -1
0 x x x x /
0 0 0 0 - 0 0 0 - 0 0 0 - 0 0 0 0 0 /
& Комната / Вы в комнате. / 2 -1 -1 -1
1 камень камнем камню камень Обычный серый камень. /
0 x x x x /
1 1 1 1 - 0 0 0 - 0 0 0 - 1 1 0 0 0 5 1 Вы подняли камень. /
0 0 0 0 - 0 0 0 - 0 0 0 - 0 0 0 0 0 /
& Сад / Вы в саду. / -1 1 -1 -1
0 x x x x /
0 0 0 0 - 0 0 0 - 0 0 0 - 0 0 0 0 0 /
)";

// Commands as typed on a Latin keyboard.
const std::string Save = "cj[hfybnmcz";        // сохраниться
const std::string Load = "pfuhepbnmcz";        // загрузиться
const std::string Restart = "cyfxfkf";         // сначала
const std::string TakeStone = "dpznm rfvtym";  // взять камень
const std::string GoEast = "blnb yf djcnjr";   // идти на восток
const std::string Inventory = "bydtynfhm";     // инвентарь
const std::string Help = "gjvjom";             // помощь

const std::string RoomText = "Вы в комнате.";

struct Game {
    Game() {
        dir.write("verbs.dat", Verbs);
        dir.write("scenes.dat", Scenes);
    }
    TempWorkDir dir;
};

// True when `text` shows on a row below the first row holding `marker`.
bool shownBelow(const TerminalSession& session, const std::string& marker,
                const std::string& text) {
    auto at = session.findText(marker);
    if (!at) return false;
    for (int row = at->row + 1; row < session.rows(); ++row)
        if (session.rowText(row).find(text) != std::string::npos) return true;
    return false;
}

TEST(SavedGameAtTheKeyboard, LoadBringsBackTheSavedSceneScoreAndInventory) {
    Game game;
    TerminalSession session(game.dir.path());
    ASSERT_TRUE(session.waitForText(RoomText)) << session.screenText();
    ASSERT_TRUE(session.enterCommand(Save, "Игра сохранена")) << session.screenText();
    ASSERT_TRUE(session.enterCommand(TakeStone, "Вы подняли камень.")) << session.screenText();
    ASSERT_TRUE(session.enterCommand(GoEast, "Вы успешно перешли на локацию"))
        << session.screenText();

    ASSERT_TRUE(session.enterCommand(Load, "Загрузка прошла успешно")) << session.screenText();
    EXPECT_TRUE(session.waitUntil([&] { return shownBelow(session, "Загрузка", RoomText); }))
        << session.screenText();
    EXPECT_TRUE(session.enterCommand(Inventory, "Ваш инвентарь: пусто.")) << session.screenText();
    EXPECT_TRUE(session.enterCommand(Help, "Ваш счет: 0")) << session.screenText();
    // The stone lies in the room again and can be taken again.
    session.type(TakeStone);
    session.pressEnter();
    EXPECT_TRUE(session.enterCommand(Inventory, "Ваш инвентарь: камень.")) << session.screenText();
}

TEST(SavedGameAtTheKeyboard, ASaveOutlivesStartingAgain) {
    Game game;
    TerminalSession session(game.dir.path());
    ASSERT_TRUE(session.waitForText(RoomText)) << session.screenText();
    ASSERT_TRUE(session.enterCommand(TakeStone, "Вы подняли камень.")) << session.screenText();
    ASSERT_TRUE(session.enterCommand(Save, "Игра сохранена")) << session.screenText();
    ASSERT_TRUE(session.enterCommand(Restart, "Вы уверены? y/n")) << session.screenText();
    session.type("y");
    ASSERT_TRUE(session.enterCommand(Inventory, "Ваш инвентарь: пусто.")) << session.screenText();
    EXPECT_TRUE(session.enterCommand(Help, "Ваш счет: 5")) << session.screenText();  // kept

    ASSERT_TRUE(session.enterCommand(Load, "Загрузка прошла успешно")) << session.screenText();
    EXPECT_TRUE(session.enterCommand(Inventory, "Ваш инвентарь: камень.")) << session.screenText();
}

TEST(SavedGameAtTheKeyboard, ADamagedSaveIsRefusedAndTheGameGoesOn) {
    Game game;
    TerminalSession session(game.dir.path());
    ASSERT_TRUE(session.waitForText(RoomText)) << session.screenText();
    ASSERT_TRUE(session.enterCommand(TakeStone, "Вы подняли камень.")) << session.screenText();
    game.dir.writeBytes("save.dat", "2 40\n0 \n-1 -1");  // cut short
    ASSERT_TRUE(session.enterCommand(Load, "Ошибка при загрузке игры")) << session.screenText();
    EXPECT_TRUE(session.enterCommand(Inventory, "Ваш инвентарь: камень.")) << session.screenText();
    EXPECT_TRUE(session.enterCommand(Help, "Ваш счет: 5")) << session.screenText();
}

TEST(SavedGameAtTheKeyboard, ASaveThatCannotBeWrittenIsReportedAndKeepsTheOldOne) {
    Game game;
    const std::string old = "1 0\n0 \n";
    game.dir.writeBytes("save.dat", old);
    ASSERT_EQ(0, mkdir((game.dir.path() + "/save.dat.pending").c_str(), 0700));
    TerminalSession session(game.dir.path());
    ASSERT_TRUE(session.waitForText(RoomText)) << session.screenText();
    EXPECT_TRUE(session.enterCommand(Save, "Ошибка при сохранении игры")) << session.screenText();
    EXPECT_FALSE(session.findText("Игра сохранена")) << session.screenText();
    EXPECT_EQ(old, game.dir.read("save.dat"));
}

}  // namespace

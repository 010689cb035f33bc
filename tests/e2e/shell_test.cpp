// The program as the player meets it: start-up layout, the command loop's
// transcript and scrolling, the farewell, the interrupt and the exit statuses.
#include <gtest/gtest.h>

#include <string>

#include "support/fixtures.h"
#include "support/terminal_session.h"

namespace {

using Milliseconds = TerminalSession::Milliseconds;

const char* const Verbs = R"(Глаголы
& осмотреться 0 0 0 0 -
& взять 1 1 3 3 - #
)";

// Title "Маленький мир " (14 bytes) centres at column 33, subtitle "Проба "
// (6 bytes) at column 37; the room has no objects and no actions.
const char* const Scenes = R"(Мир
& Маленький мир / Проба / -1 -1 -1 -1
0 x x x x /
0 0 0 0 - 0 0 0 - 0 0 0 - 0 0 0 0 0 /
& Комната / Вы в пустой комнате. / -1 -1 -1 -1
0 x x x x /
0 0 0 0 - 0 0 0 - 0 0 0 - 0 0 0 0 0 /
)";

// The command line typed into the output window, colours 10 to 15 of its own.
const char* const PlainConfig =
    R"(Цвета 1000 1000 1000 0 0 600 1000 300 300 0 0 600 300 1000 300 0 0 600
Перенос Off
Ответ Off /
Режим Обычный
)";

const std::string TitleText = "Маленький мир";
const std::string Subtitle = "Проба";
const std::string RoomText = "Вы в пустой комнате.";
const std::string Exit = "ds[jl";  // выход on a Latin keyboard

// A working directory holding the small world, and optionally a configuration.
struct World {
    explicit World(const char* config = nullptr, bool withVerbs = true) {
        if (withVerbs) dir.write("verbs.dat", Verbs);
        dir.write("scenes.dat", Scenes);
        if (config != nullptr) dir.write("mwk.cfg", config);
    }
    TempWorkDir dir;
};

bool blankScreen(const TerminalSession& session) {
    for (int row = 0; row < session.rows(); ++row)
        if (!session.rowText(row).empty()) return false;
    return true;
}

std::string indent(int columns, const std::string& text) {
    return std::string(columns, ' ') + text;
}

TEST(ProgramStart, CasualLayoutTilesAnEightyByTwentyFiveTerminal) {
    World world;
    TerminalSession session(world.dir.path());
    // The menu is drawn once the first screen has gone out.
    ASSERT_TRUE(session.rowReads(23, "осмотреться взять"));

    EXPECT_TRUE(session.rowReads(0, indent(33, TitleText)));
    EXPECT_TRUE(session.rowReads(1, indent(37, Subtitle)));
    EXPECT_TRUE(session.rowReads(2, ""));
    EXPECT_TRUE(session.rowReads(3, indent(2, RoomText)));
    EXPECT_TRUE(session.rowReads(4, "Вы видите выходы к: ."));
    EXPECT_EQ(session.foreground(0, 33), "green");
    EXPECT_EQ(session.background(0, 33), "blue");
    EXPECT_EQ(session.foreground(1, 37), "green");
    EXPECT_EQ(session.foreground(3, 2), "white");

    // Output rows 0 to 21, the command line on row 22, the menu on 23 and 24,
    // every band on blue.
    for (int row : {0, 21, 22, 23, 24})
        for (int column : {0, 79}) EXPECT_EQ(session.background(row, column), "blue") << row;
    EXPECT_EQ(session.foreground(23, 0), "green");  // the selected verb
    EXPECT_EQ(session.foreground(23, 12), "white");
}

TEST(ProgramStart, TypedLineStaysOnTheCommandRowInCasualMode) {
    World world;
    TerminalSession session(world.dir.path());
    ASSERT_TRUE(session.waitForText("осмотреться")) << session.screenText();
    session.type("ooo");  // щщщ, found nowhere else on the screen
    ASSERT_TRUE(session.waitForText("щщщ")) << session.screenText();
    EXPECT_EQ(session.findText("щщщ")->row, 22);
    EXPECT_EQ(session.findText("щщщ")->column, 1);
    EXPECT_EQ(session.foreground(22, 1), "green");
}

TEST(ProgramStart, PlainWindowIsCentredOnALargerTerminal) {
    World world(PlainConfig);
    TerminalSession session(world.dir.path(), 30, 100);
    ASSERT_TRUE(session.rowReads(6, indent(10, "Вы видите выходы к: .")));
    EXPECT_TRUE(session.rowReads(2, indent(10 + 33, TitleText)));
    EXPECT_TRUE(session.rowReads(3, indent(10 + 37, Subtitle)));
    EXPECT_TRUE(session.rowReads(5, indent(10 + 2, RoomText)));
    // The 25 x 80 window from row 2, column 10, on the file's colour 11.
    EXPECT_EQ(session.background(2, 10), "colour 11");
    EXPECT_EQ(session.background(26, 89), "colour 11");
    EXPECT_EQ(session.foreground(2, 43), "colour 14");
    for (auto [row, column] : {std::pair{1, 10}, {2, 9}, {27, 89}, {26, 90}})
        EXPECT_EQ(session.background(row, column), "default") << row << "," << column;
}

TEST(ProgramStart, CasualBandsLieInsideTheCentredFrame) {
    World world;
    TerminalSession session(world.dir.path(), 30, 100);
    ASSERT_TRUE(session.rowReads(25, indent(10, "осмотреться взять")));
    EXPECT_TRUE(session.rowReads(2, indent(10 + 33, TitleText)));
    for (int row : {2, 23, 24, 25, 26}) {
        EXPECT_EQ(session.background(row, 10), "blue") << row;
        EXPECT_EQ(session.background(row, 9), "default") << row;
    }
    EXPECT_EQ(session.background(27, 10), "default");
}

TEST(ProgramStart, OriginColumnOfAnEightyOneColumnTerminalIsZero) {
    World world;
    TerminalSession session(world.dir.path(), 25, 81);
    EXPECT_TRUE(session.rowReads(0, indent(33, TitleText)));
    EXPECT_EQ(session.background(0, 80), "default");
}

TEST(ProgramStart, GameStartsWithoutAVerbFile) {
    World world(nullptr, false);
    TerminalSession session(world.dir.path());
    EXPECT_TRUE(session.waitForText(RoomText)) << session.screenText();
    EXPECT_TRUE(session.running());
}

TEST(ExitStatus, TerminalTooSmallEndsWithOneAndGivesTheTerminalBack) {
    struct Size {
        int rows;
        int columns;
    };
    for (Size size : {Size{25, 79}, Size{24, 80}}) {
        SCOPED_TRACE(std::to_string(size.rows) + " x " + std::to_string(size.columns));
        World world;
        TerminalSession session(world.dir.path(), size.rows, size.columns);
        EXPECT_EQ(session.waitForExit(), 1);
        EXPECT_TRUE(session.terminalRestored());
        EXPECT_TRUE(blankScreen(session)) << session.screenText();
    }
}

TEST(ExitStatus, MissingSceneFileEndsWithZeroShowingNothing) {
    TempWorkDir dir;
    dir.write("verbs.dat", Verbs);
    TerminalSession session(dir.path());
    EXPECT_EQ(session.waitForExit(), 0);
    EXPECT_TRUE(session.terminalRestored());
    EXPECT_TRUE(blankScreen(session)) << session.screenText();
}

TEST(ExitStatus, InterruptEndsWithZeroWithoutFarewell) {
    World world;
    TerminalSession session(world.dir.path());
    ASSERT_TRUE(session.waitForText("осмотреться")) << session.screenText();
    session.type("dpz");
    ASSERT_TRUE(session.waitForText("вз")) << session.screenText();
    EXPECT_FALSE(session.terminalRestored());  // the game holds the terminal
    session.interrupt();
    EXPECT_EQ(session.waitForExit(), 0);
    EXPECT_TRUE(session.terminalRestored());
    EXPECT_FALSE(session.findText("Пока!")) << session.screenText();
}

TEST(Farewell, ConfirmedExitSaysGoodbyeAndWaitsForAKey) {
    World world;
    TerminalSession session(world.dir.path());
    ASSERT_TRUE(session.waitForText("осмотреться")) << session.screenText();
    session.type(Exit);
    session.pressEnter();
    ASSERT_TRUE(session.waitForText("Вы уверены? y/n")) << session.screenText();
    session.type("y");
    ASSERT_TRUE(session.waitForText("Пока!")) << session.screenText();
    // The first scene ends on row 4 (its exits line); the question takes row 5.
    EXPECT_TRUE(session.rowReads(6, "Пока!"));
    EXPECT_EQ(session.foreground(6, 0), "green");
    EXPECT_EQ(session.waitForExit(Milliseconds{500}), -1);  // still waiting for the key
    session.type("q");
    EXPECT_EQ(session.waitForExit(), 0);
    EXPECT_TRUE(session.terminalRestored());
}

TEST(Farewell, InterruptWhileWaitingForTheKeyEndsWithZero) {
    World world;
    TerminalSession session(world.dir.path());
    ASSERT_TRUE(session.waitForText("осмотреться")) << session.screenText();
    session.type(Exit);
    session.pressEnter();
    ASSERT_TRUE(session.waitForText("Вы уверены? y/n")) << session.screenText();
    session.type("y");
    ASSERT_TRUE(session.waitForText("Пока!")) << session.screenText();
    session.interrupt();
    EXPECT_EQ(session.waitForExit(), 0);
    EXPECT_TRUE(session.terminalRestored());
}

// Outside casual mode every typed line stays in the transcript and the reply
// starts below it. The first scene leaves the row counter on row 5, the last
// row it may keep is 23: the nineteenth line makes the window scroll once.
TEST(CommandLoop, TranscriptScrollsBackOntoTheLastOutputRow) {
    World world(PlainConfig);
    TerminalSession session(world.dir.path());
    ASSERT_TRUE(session.waitForText(RoomText)) << session.screenText();
    for (int line = 1; line <= 18; ++line) {
        session.type(std::to_string(line));
        session.pressEnter();
    }
    ASSERT_TRUE(session.rowReads(22, " 18"));
    EXPECT_TRUE(session.rowReads(5, " 1"));
    EXPECT_TRUE(session.rowReads(0, indent(33, TitleText)));

    session.type("19");
    session.pressEnter();
    ASSERT_TRUE(session.rowReads(22, " 19"));
    EXPECT_TRUE(session.rowReads(0, indent(37, Subtitle)));
    EXPECT_TRUE(session.rowReads(4, " 1"));
    EXPECT_TRUE(session.rowReads(21, " 18"));

    session.type("20");
    session.pressEnter();
    ASSERT_TRUE(session.rowReads(22, " 20"));
    EXPECT_TRUE(session.rowReads(21, " 19"));
    EXPECT_TRUE(session.rowReads(0, ""));
}

}  // namespace

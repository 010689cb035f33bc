// The console as the player sees it: the first screen with word wrap,
// highlighting and the exits line, typing with Backspace, the spinner, and the
// verb menu driven by the arrow keys.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/fixtures.h"
#include "support/terminal_session.h"

namespace {

const char* const Verbs = R"(Глаголы
& осмотреться 0 0 0 0 -
& взять 1 1 3 3 - #
)";

// Scene 1's first variant wraps after "а" with word wrap on, and after "впер"
// without it; "дубовая" is highlighted. Exits east and north.
const char* const Scenes = R"(Мир
& Маленький мир / Проба / -1 -1 -1 -1
0 x x x x /
0 0 0 0 - 0 0 0 - 0 0 0 - 0 0 0 0 0 /
& Коридор / Вы стоите в длинном коридоре старого дома. Под ногами скрипят
половицы, а впереди видна *дубовая* дверь.@Коридор. / 2 -1 2 -1
0 x x x x /
0 0 0 0 - 0 0 0 - 0 0 0 - 0 0 0 0 0 /
& Кабинет / Тихий кабинет. / -1 1 -1 -1
0 x x x x /
0 0 0 0 - 0 0 0 - 0 0 0 - 0 0 0 0 0 /
)";

const char* const Colours =
    "Цвета 1000 1000 1000 0 0 600 1000 300 300 0 0 600 300 1000 300 0 0 600\n";
const std::string CasualWrapConfig = std::string(Colours) + R"(Перенос On
Ответ Off /
Режим Casual
)";
const std::string PlainConfig = std::string(Colours) + R"(Перенос Off
Ответ Off /
Режим Обычный
)";

const std::string Lead =
    "  Вы стоите в длинном коридоре старого дома. Под ногами скрипят половицы, а";
const std::string Exits = "Вы видите выходы к: востоку, северу.";
const std::string Look = "jcvjnhtnmcz";  // осмотреться on a Latin keyboard

struct World {
    explicit World(const std::string& config) {
        dir.write("verbs.dat", Verbs);
        dir.write("scenes.dat", Scenes);
        dir.write("mwk.cfg", config);
    }
    TempWorkDir dir;
};

bool waitForRow(TerminalSession& session, int row, const std::string& text) {
    return session.waitUntil([&] { return session.rowText(row) == text; });
}

// Polls until `row` begins with `prefix`; what follows may be the spinner.
bool waitForRowStart(TerminalSession& session, int row, const std::string& prefix) {
    return session.waitUntil([&] { return session.rowText(row).rfind(prefix, 0) == 0; });
}

bool showsSpinner(const TerminalSession& session, int row, int column) {
    uint32_t c = session.cell(row, column).chars[0];
    return c == '/' || c == '-' || c == '\\' || c == '|';
}

TEST(FirstScreen, WrappedSceneUnderTheHeadingInCasualMode) {
    World world(CasualWrapConfig);
    TerminalSession session(world.dir.path());
    ASSERT_TRUE(session.waitForText("осмотреться взять")) << session.screenText();

    EXPECT_EQ(session.rowText(0), std::string(33, ' ') + "Маленький мир");
    EXPECT_EQ(session.rowText(1), std::string(37, ' ') + "Проба");
    EXPECT_EQ(session.foreground(0, 33), "colour 14");
    EXPECT_EQ(session.rowText(2), "");
    EXPECT_EQ(session.rowText(3), Lead);
    EXPECT_EQ(session.rowText(4), "впереди видна дубовая дверь.");
    EXPECT_EQ(session.rowText(5), Exits);
    EXPECT_EQ(session.rowText(6), "");
    EXPECT_EQ(session.foreground(3, 2), "colour 10");
    EXPECT_EQ(session.foreground(4, 14), "colour 12") << "the starred word";
    EXPECT_EQ(session.foreground(4, 22), "colour 10");
    EXPECT_EQ(session.foreground(23, 0), "colour 14") << "the selected verb";
    EXPECT_EQ(session.foreground(23, 12), "colour 10");
}

TEST(FirstScreen, HardBreakAtTheEdgeWithoutWordWrap) {
    World world(PlainConfig);
    TerminalSession session(world.dir.path());
    ASSERT_TRUE(session.waitForText(Exits)) << session.screenText();
    EXPECT_EQ(session.rowText(0), std::string(33, ' ') + "Маленький мир");
    EXPECT_EQ(session.rowText(1), std::string(37, ' ') + "Проба");
    EXPECT_EQ(session.rowText(3), Lead + " впер");
    EXPECT_EQ(session.rowText(4), "еди видна дубовая дверь.");
    EXPECT_EQ(session.rowText(5), Exits);
    EXPECT_EQ(session.foreground(4, 10), "colour 12");
    EXPECT_EQ(session.rowText(23), "") << "no menu outside casual mode";
}

// Backspace arrives as 127; the corrected word is a command that describes the
// scene again below the typed line.
TEST(Typing, BackspaceCorrectsTheLineInTheTranscript) {
    World world(PlainConfig);
    TerminalSession session(world.dir.path());
    ASSERT_TRUE(session.waitForText(Exits)) << session.screenText();
    session.type(Look.substr(0, Look.size() - 1) + "x");  // ends in ч
    ASSERT_TRUE(waitForRowStart(session, 6, " осмотретьсч")) << session.screenText();
    session.pressBackspace();
    session.type("z");
    ASSERT_TRUE(waitForRowStart(session, 6, " осмотреться")) << session.screenText();
    EXPECT_EQ(session.foreground(6, 1), "colour 14");
    session.pressEnter();
    ASSERT_TRUE(waitForRow(session, 9, Exits)) << session.screenText();
    EXPECT_EQ(session.rowText(6), " осмотреться");
    EXPECT_EQ(session.rowText(7), Lead + " впер");
}

TEST(Typing, CommandLineRowInCasualModeWithSpinner) {
    World world(CasualWrapConfig);
    TerminalSession session(world.dir.path());
    ASSERT_TRUE(session.waitForText("осмотреться взять")) << session.screenText();
    session.type("jcv");
    ASSERT_TRUE(waitForRowStart(session, 22, " осм")) << session.screenText();
    // Waiting, the cursor cell after the last letter turns.
    ASSERT_TRUE(session.waitUntil([&] { return showsSpinner(session, 22, 4); }))
        << session.screenText();
    session.pressBackspace();
    session.pressBackspace();
    session.pressBackspace();
    session.pressBackspace();  // one too many: nothing before the line
    session.type(Look);
    session.pressEnter();
    // The line vanishes from the command row; the scene is described again.
    ASSERT_TRUE(waitForRow(session, 8, Exits)) << session.screenText();
    EXPECT_EQ(session.rowText(6), Lead);
    EXPECT_EQ(session.rowText(22).find("осм"), std::string::npos) << session.screenText();
}

TEST(VerbMenu, ArrowSelectsAVerbAndALeadingSpaceTypesIt) {
    World world(CasualWrapConfig);
    TerminalSession session(world.dir.path());
    ASSERT_TRUE(session.waitForText("осмотреться взять")) << session.screenText();
    session.pressRight();
    ASSERT_TRUE(session.waitUntil([&] { return session.foreground(23, 12) == "colour 14"; }))
        << session.screenText();
    EXPECT_EQ(session.foreground(23, 0), "colour 10");
    session.type(" ");
    ASSERT_TRUE(waitForRowStart(session, 22, " взять")) << session.screenText();
    session.pressBackspace();  // the inserted verb is a closed word
    session.type("yj;");
    ASSERT_TRUE(waitForRowStart(session, 22, " взять нож")) << session.screenText();

    session.pressLeft();
    ASSERT_TRUE(session.waitUntil([&] { return session.foreground(23, 0) == "colour 14"; }))
        << session.screenText();
    EXPECT_EQ(session.foreground(23, 12), "colour 10");
}

TEST(VerbMenu, LeadingSpaceWithAVerbWithoutObjectsRunsIt) {
    World world(CasualWrapConfig);
    TerminalSession session(world.dir.path());
    ASSERT_TRUE(session.waitForText("осмотреться взять")) << session.screenText();
    session.type(" ");  // осмотреться, selected at start, needs nothing more
    ASSERT_TRUE(waitForRow(session, 8, Exits)) << session.screenText();
    EXPECT_EQ(session.rowText(6), Lead);
}

}  // namespace

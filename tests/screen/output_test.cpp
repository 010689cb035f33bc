#include "ui/output.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "shell/config.h"
#include "support/curses_screen.h"
#include "support/fixtures.h"

namespace {

// The output window of casual mode: 22 rows, the last one spare.
constexpr int OutputRows = 22;
constexpr int LastRow = 20;

std::string repeat(char c, int n) {
    return std::string(static_cast<std::size_t>(n), c);
}

// Copies a UTF-8 text as CP866 into a record's text field.
template <std::size_t N>
void store(char (&field)[N], const std::string& utf8) {
    std::string bytes = toCp866(utf8);
    ASSERT_LT(bytes.size(), N);
    std::memcpy(field, bytes.c_str(), bytes.size() + 1);
}

class Output : public ::testing::Test {
protected:
    void SetUp() override {
        resetGameState();
        game.lastOutputRow = LastRow;
        settings = Settings{};
        window = screen.window(OutputRows, 80);
    }

    std::string row(int r) const { return CursesScreen::rowText(window, r); }
    int pair(int r, int c) const { return CursesScreen::pairAt(window, r, c); }

    // The pair the window writes in now, seen through a probe byte on `r`.
    int pairInForce(int r) {
        printAt("#", window, r, 0);
        return pair(r, 0);
    }

    SceneObject& object() { return game.scenes[1].objects[0]; }
    Scene& scene() { return game.scenes[1]; }
    Action& action() { return game.scenes[1].actions[0]; }

    CursesScreen screen;
    WINDOW* window = nullptr;
};

// --- selectVariant ---------------------------------------------------------

struct VariantCase {
    const char* text;
    int state;
    int start;
};

TEST_F(Output, SelectVariantFallsBackToTheFirstVariant) {
    const VariantCase cases[] = {
        {"", 0, 0},        // empty text
        {"abc", 0, 0},     // no variants at all
        {"abc", 2, 0},     // no "@": every state prints the whole text
        {"ab@cd", 1, 3},   // second variant
        {"ab@cd", 2, 0},   // beyond the last variant
        {"ab@cd", -1, 0},  // negative state
        {"ab@", 1, 0},     // a trailing "@" names no variant
        {"ab@@cd", 1, 3},  // an empty variant starts on its closing "@"
        {"ab@@cd", 2, 4},
    };
    for (const VariantCase& c : cases)
        EXPECT_EQ(selectVariant(c.text, c.state), c.start) << c.text << " state " << c.state;
}

// --- writeWrapped through the description printers -------------------------

struct WrapCase {
    const char* name;
    bool wordWrap;
    std::string text;  // UTF-8, printed from column 2 as an object description
    std::vector<std::string> rows;
    int endRow;  // outputRow afterwards, started at 0
};

TEST_F(Output, DescriptionsBreakLinesByTheWrapSetting) {
    const std::string a68 = repeat('a', 68);  // columns 2 to 69, a space then lands in column 70
    const WrapCase cases[] = {
        // next space 10 bytes on: 70 + 10 > 79, the nine-letter word moves down
        {"word ending in column 79 moves",
         true,
         a68 + " bbbbbbbbb c",
         {"  " + a68, "bbbbbbbbb c"},
         2},
        // next space 9 bytes on: the eight-letter word ends in column 78 and stays
        {"word ending in column 78 stays",
         true,
         a68 + " bbbbbbbb c",
         {"  " + a68 + " bbbbbbbb", "c"},
         2},
        // the last word is never moved, it is split at the edge
        {"last word is split",
         true,
         repeat('a', 70) + " " + repeat('b', 15),
         {"  " + repeat('a', 70) + " " + repeat('b', 7), repeat('b', 8)},
         2},
        // both stars count in the look-ahead though they take no column
        {"starred word moves two columns earlier",
         true,
         a68 + " *bbbbbbb* c",
         {"  " + a68, "bbbbbbb c"},
         2},
        {"same word unstarred stays", true, a68 + " bbbbbbb c", {"  " + a68 + " bbbbbbb c"}, 2},
        // from the variant's last space the look-ahead runs past "@" to the next space
        {"look-ahead runs into the next variant",
         true,
         a68 + " bbbb@ccccc d",
         {"  " + a68, "bbbb"},
         2},
        {"wrap off: 78 bytes, then 80 a row",
         false,
         repeat('a', 70) + " bb dddd" + repeat('c', 80) + " дом",
         {"  " + repeat('a', 70) + " bb dddd", repeat('c', 80), " дом"},
         3},
        {"wrap on keeps Cyrillic bytes", true, "Тёмный *коридор*.", {"  Тёмный коридор."}, 1},
    };
    for (const WrapCase& c : cases) {
        SCOPED_TRACE(c.name);
        werase(window);
        settings.wordWrap = c.wordWrap;
        setPair(window, SystemPair);
        store(object().description, c.text);
        int outputRow = 0;
        printObjectDescription(object(), window, outputRow);
        for (std::size_t r = 0; r < c.rows.size(); ++r)
            EXPECT_EQ(row(static_cast<int>(r)), c.rows[r]) << "row " << r;
        EXPECT_EQ(row(static_cast<int>(c.rows.size())), "");
        EXPECT_EQ(outputRow, c.endRow);
    }
}

TEST_F(Output, BreakWritesTheSpaceInTheLastColumnOfTheNewRow) {
    settings.wordWrap = true;
    setPair(window, SystemPair);
    store(object().description, repeat('a', 68) + " bbbbbbbbb c");
    int outputRow = 0;
    printObjectDescription(object(), window, outputRow);
    EXPECT_EQ(pair(0, 70), 0) << "column 70 of the old row stays unwritten";
    EXPECT_EQ(pair(0, 79), 0);
    EXPECT_EQ(pair(1, 79), SystemPair) << "the breaking space sits at the end of the new row";
}

TEST_F(Output, StarsSwitchTheHighlightWithinOneCall) {
    store(object().description, "a *bc* d");
    int outputRow = 0;
    printObjectDescription(object(), window, outputRow);
    EXPECT_EQ(row(0), "  a bc d");
    EXPECT_EQ(pair(0, 2), 0) << "no attribute is set before an object's text";
    EXPECT_EQ(pair(0, 4), HighlightPair);
    EXPECT_EQ(pair(0, 5), HighlightPair);
    EXPECT_EQ(pair(0, 6), NormalPair);
    EXPECT_EQ(pair(0, 7), NormalPair);
}

TEST_F(Output, HighlightIsNotRestoredAfterTheText) {
    struct {
        const char* text;
        int pairAfter;
    } cases[] = {{"a *b", HighlightPair}, {"**", NormalPair}, {"a", SystemPair}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        setPair(window, SystemPair);
        store(object().description, c.text);
        int outputRow = 0;
        printObjectDescription(object(), window, outputRow);
        EXPECT_EQ(pairInForce(5), c.pairAfter);
    }
}

TEST_F(Output, EveryCallStartsWithTheHighlightOff) {
    store(object().description, "*a");
    int outputRow = 0;
    printObjectDescription(object(), window, outputRow);
    printObjectDescription(object(), window, outputRow);
    EXPECT_EQ(pair(1, 2), HighlightPair) << "the second text's first star turns it on again";
}

TEST_F(Output, TheStateChoosesTheVariantAndTheRowAlwaysAdvances) {
    struct {
        int state;
        const char* shown;
    } cases[] = {{0, "  первый"}, {1, "  второй"}, {2, ""}, {3, "  первый"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        werase(window);
        store(object().description, "первый@второй@@");
        object().state = c.state;
        int outputRow = 4;
        printObjectDescription(object(), window, outputRow);
        EXPECT_EQ(row(4), c.shown);
        EXPECT_EQ(outputRow, 5);
    }
}

// --- scrolling --------------------------------------------------------------

TEST_F(Output, AdvanceRowScrollsOnlyPastTheLastOutputRow) {
    printAt("top", window, 0, 0);
    int outputRow = LastRow - 1;
    advanceRow(outputRow, window);
    EXPECT_EQ(outputRow, LastRow);
    EXPECT_EQ(row(0), "top");
    advanceRow(outputRow, window);
    EXPECT_EQ(outputRow, LastRow);
    EXPECT_EQ(row(0), "");
    EXPECT_EQ(row(LastRow), "");
}

TEST_F(Output, ExitsLineOnTheSpareRowScrollsTwice) {
    store(scene().description, "Поляна.");
    scene().exitEast = scene().exitWest = scene().exitNorth = -1;
    scene().exitSouth = 2;
    int outputRow = LastRow;
    printSceneDescription(scene(), window, outputRow);
    EXPECT_EQ(outputRow, LastRow);
    EXPECT_EQ(row(LastRow - 2), "  Поляна.");
    EXPECT_EQ(row(LastRow - 1), "Вы видите выходы к: югу.");
    EXPECT_EQ(row(LastRow), "");
    EXPECT_EQ(row(LastRow + 1), "");
}

TEST_F(Output, LongTextScrollsAsItGoes) {
    store(action().text, repeat('x', 78) + repeat('y', 80) + "z");
    int outputRow = LastRow;
    printActionText(action(), window, outputRow);
    EXPECT_EQ(outputRow, LastRow);
    EXPECT_EQ(row(LastRow - 3), "  " + repeat('x', 78));
    EXPECT_EQ(row(LastRow - 2), repeat('y', 80));
    EXPECT_EQ(row(LastRow - 1), "z");
}

// --- the exits line ---------------------------------------------------------

TEST_F(Output, ExitsLineNamesTheOpenDirectionsInFixedOrder) {
    struct {
        int east, west, north, south;
        const char* line;
    } cases[] = {
        {-1, -1, -1, -1, "Вы видите выходы к: ."},
        {-1, -1, -1, 3, "Вы видите выходы к: югу."},
        {0, -1, -1, -1, "Вы видите выходы к: востоку."},
        {-1, 4, 5, -1, "Вы видите выходы к: западу, северу."},
        {2, 3, 4, 5, "Вы видите выходы к: востоку, западу, северу, югу."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        werase(window);
        scene().exitEast = c.east, scene().exitWest = c.west;
        scene().exitNorth = c.north, scene().exitSouth = c.south;
        scene().description[0] = '\0';
        int outputRow = 3;
        printSceneDescription(scene(), window, outputRow);
        EXPECT_EQ(row(3), "") << "an empty description leaves its row blank";
        EXPECT_EQ(row(4), c.line);
        EXPECT_EQ(outputRow, 5);
    }
}

TEST_F(Output, SceneTextStartsInNormalColourAndTheExitsKeepTheLastPair) {
    setPair(window, SystemPair);
    store(scene().description, "Зал с *колонной");
    scene().exitEast = scene().exitWest = scene().exitNorth = scene().exitSouth = -1;
    int outputRow = 0;
    printSceneDescription(scene(), window, outputRow);
    EXPECT_EQ(pair(0, 2), NormalPair);
    EXPECT_EQ(pair(0, 8), HighlightPair);
    EXPECT_EQ(pair(1, 0), HighlightPair) << "the exits line uses the pair the text left";
}

TEST_F(Output, FirstScreenHeadingAboveTheFirstScene) {
    store(scene().description, "Вы стоите у *дома*.");
    scene().exitEast = 2, scene().exitWest = scene().exitNorth = scene().exitSouth = -1;
    const std::string title = toCp866("Игра"), subtitle = toCp866("Пролог");
    int outputRow = 3;
    printSceneDescription(scene(), window, outputRow);
    setPair(window, SystemPair);
    printAt(title.c_str(), window, 0, 40 - static_cast<int>(title.size()) / 2);
    printAt(subtitle.c_str(), window, 1, 40 - static_cast<int>(subtitle.size()) / 2);
    EXPECT_EQ(CursesScreen::cellsText(window, 0, 38, 4), "Игра");
    EXPECT_EQ(CursesScreen::cellsText(window, 1, 37, 6), "Пролог");
    EXPECT_EQ(pair(0, 38), SystemPair);
    EXPECT_EQ(row(2), "");
    EXPECT_EQ(row(3), "  Вы стоите у дома.");
    EXPECT_EQ(row(4), "Вы видите выходы к: востоку.");
    EXPECT_EQ(outputRow, 5);
}

// --- printAt ----------------------------------------------------------------

struct PrintAtCase {
    const char* name;
    bool wordWrap;
    std::string text;
    int row, column;
    std::vector<std::string> rows;  // from `row` on
};

TEST_F(Output, PrintAtPlacesTextInBothModes) {
    const std::string a68 = repeat('a', 68);
    const PrintAtCase cases[] = {
        {"column past 80, wrap off", false, "abc", 2, 165, {"", "", "     abc"}},
        {"column past 80, wrap on", true, "abc", 2, 165, {"", "", "     abc"}},
        {"long text continues below, wrap off",
         false,
         repeat('a', 100),
         0,
         10,
         {repeat(' ', 10) + repeat('a', 70), repeat('a', 30)}},
        {"break keeps the space on its row, wrap on",
         true,
         a68 + " bbbbbbbbb c",
         0,
         2,
         {"  " + a68, "bbbbbbbbb c"}},
        {"markup bytes are ordinary", true, "a*b@c", 0, 0, {"a*b@c"}},
        {"markup bytes are ordinary, wrap off", false, "a*b@c", 0, 0, {"a*b@c"}},
    };
    for (const PrintAtCase& c : cases) {
        SCOPED_TRACE(c.name);
        werase(window);
        settings.wordWrap = c.wordWrap;
        setPair(window, SystemPair);
        std::string bytes = toCp866(c.text);
        printAt(bytes.c_str(), window, c.row, c.column);
        for (std::size_t r = 0; r < c.rows.size(); ++r)
            EXPECT_EQ(row(c.row + static_cast<int>(r)), c.rows[r]) << "row " << r;
    }
}

TEST_F(Output, PrintAtWithWrapPutsTheBreakingSpaceOnTheSameRow) {
    settings.wordWrap = true;
    setPair(window, SystemPair);
    std::string text = repeat('a', 68) + " bbbbbbbbb c";
    printAt(text.c_str(), window, 0, 2);
    EXPECT_EQ(pair(0, 70), 0);
    EXPECT_EQ(pair(0, 79), SystemPair);
    EXPECT_EQ(pair(1, 79), 0);
    EXPECT_EQ(pairInForce(5), SystemPair) << "printAt leaves the attribute alone";
}

// --- printActionText ----------------------------------------------------------

struct ScoreCase {
    const char* name;
    int32_t score;
    int32_t state;
    int32_t gameScoreBefore;
    const char* scoreLine;  // nullptr: no score line
    int32_t gameScoreAfter;
};

TEST_F(Output, ActionTextEndsWithTheScoreLineWhenItEarnsPoints) {
    const ScoreCase cases[] = {
        {"points", 5, Done, 10, "счет +5", 15},
        {"no points", 0, Done, 10, nullptr, 10},
        {"negative points", -3, Done, 10, nullptr, 10},
        {"repeatable and done", 5, RepeatableDone, 10, nullptr, 10},
        {"six digits", 123456, Done, 0, "счет +123456", 123456},
        {"largest score", INT32_MAX, Done, 0, "счет +2147483647", INT32_MAX},
        {"total stops at the largest score", 2000000000, Pending, 2000000000, "счет +2000000000",
         INT32_MAX},
    };
    for (const ScoreCase& c : cases) {
        SCOPED_TRACE(c.name);
        werase(window);
        setPair(window, NormalPair);
        store(action().text, "Вы *взяли* нож.");
        action().score = c.score;
        action().state = c.state;
        game.score = c.gameScoreBefore;
        int outputRow = 6;
        printActionText(action(), window, outputRow);
        EXPECT_EQ(row(6), "  Вы взяли нож.");
        EXPECT_EQ(pair(6, 5), HighlightPair);
        if (c.scoreLine != nullptr) {
            EXPECT_EQ(row(7), c.scoreLine);
            EXPECT_EQ(pair(7, 0), SystemPair);
            EXPECT_EQ(pairInForce(12), SystemPair);
            EXPECT_EQ(outputRow, 8);
        } else {
            EXPECT_EQ(row(7), "");
            EXPECT_EQ(outputRow, 7);
        }
        EXPECT_EQ(game.score, c.gameScoreAfter);
    }
}

}  // namespace

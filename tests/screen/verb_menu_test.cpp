#include "ui/verb_menu.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/config.h"
#include "shell/shell.h"
#include "support/curses_screen.h"
#include "support/fixtures.h"
#include "ui/input_line.h"
#include "world/world.h"

namespace {

class VerbMenu : public ::testing::Test {
protected:
    void SetUp() override {
        resetGameState();
        settings = Settings{};
        settings.casualMode = true;
        selectedVerb = 0;
        // The game's menu: two rows at the bottom, no scrolling.
        MenuWindow = screen.window(2, 80, 23, 0);
        scrollok(MenuWindow, FALSE);
    }

    void TearDown() override { MenuWindow = nullptr; }

    // Fills the verb table with these names (UTF-8) and one empty record.
    void setVerbs(const std::vector<std::string>& names) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::string name = toCp866(names[i]);
            ASSERT_LT(name.size(), sizeof game.verbs[i].name);
            std::memcpy(game.verbs[i].name, name.c_str(), name.size() + 1);
            game.verbs[i].slotCount = 1;
        }
        game.verbCount = static_cast<int>(names.size()) + 1;
    }

    std::string row(int r) const { return CursesScreen::rowText(MenuWindow, r); }
    std::string cells(int r, int c, int n) const {
        return CursesScreen::cellsText(MenuWindow, r, c, n);
    }
    int pair(int r, int c) const { return CursesScreen::pairAt(MenuWindow, r, c); }

    CursesScreen screen;
};

TEST_F(VerbMenu, NamesFollowEachOtherWithOneBlankCell) {
    for (bool wrap : {false, true}) {
        SCOPED_TRACE(wrap ? "wrap on" : "wrap off");
        werase(MenuWindow);
        settings.wordWrap = wrap;
        setVerbs({"налить", "осмотреть", "взять"});  // 6, 9 and 5 bytes
        drawVerbMenu();
        EXPECT_EQ(row(0), "налить осмотреть взять");
        EXPECT_EQ(cells(0, 0, 6), "налить");
        EXPECT_EQ(cells(0, 7, 9), "осмотреть");
        EXPECT_EQ(cells(0, 17, 5), "взять");
        EXPECT_EQ(pair(0, 6), 0) << "the cell between two names is not written";
        EXPECT_EQ(row(1), "");
    }
}

TEST_F(VerbMenu, NameThatDoesNotFitTheRowStartsTheNext) {
    const std::string filler(74, 'f');  // the next name is reached at column 75
    struct {
        const char* second;
        const char* row0tail;  // columns 75 to 79
        const char* row1;
    } cases[] = {
        {"взять", "взять", " идти"},    // 5 bytes fit exactly; the next name is at 81
        {"надеть", "", "надеть идти"},  // 6 bytes do not
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.second);
        werase(MenuWindow);
        setVerbs({filler, c.second, "идти"});
        drawVerbMenu();
        EXPECT_EQ(cells(0, 0, 74), filler);
        EXPECT_EQ(row(0), filler + (c.row0tail[0] ? std::string(" ") + c.row0tail : ""));
        EXPECT_EQ(row(1), c.row1);
    }
}

TEST_F(VerbMenu, OnlyTheSelectedNameIsInTheSystemColour) {
    setVerbs({"налить", "осмотреть", "взять"});
    struct {
        int selected;
        int pairs[3];
    } cases[] = {
        {0, {SystemPair, NormalPair, NormalPair}},
        {1, {NormalPair, SystemPair, NormalPair}},
        {2, {NormalPair, NormalPair, SystemPair}},
        {3, {NormalPair, NormalPair, NormalPair}},   // the empty record: nothing to see
        {18, {NormalPair, NormalPair, NormalPair}},  // past the table
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected);
        selectedVerb = c.selected;
        drawVerbMenu();
        EXPECT_EQ(pair(0, 0), c.pairs[0]);
        EXPECT_EQ(pair(0, 5), c.pairs[0]);
        EXPECT_EQ(pair(0, 7), c.pairs[1]);
        EXPECT_EQ(pair(0, 15), c.pairs[1]);
        EXPECT_EQ(pair(0, 17), c.pairs[2]);
    }
}

TEST_F(VerbMenu, RightArrowMovesTheHighlightOnTheNextLine) {
    setVerbs({"налить", "осмотреть", "взять"});
    WINDOW* inputWindow = screen.window(1, 80, 22, 0);
    InputWords input{};
    CursesScreen::feedKeys({KeyEnter});
    readInputLine(input, 0, inputWindow);
    EXPECT_EQ(pair(0, 0), SystemPair) << "each line starts by drawing the menu";
    EXPECT_EQ(pair(0, 7), NormalPair);

    CursesScreen::feedKeys({KeyRight, KeyEnter});
    readInputLine(input, 0, inputWindow);
    EXPECT_EQ(selectedVerb, 1);
    EXPECT_EQ(pair(0, 0), NormalPair);
    EXPECT_EQ(pair(0, 7), SystemPair);
    EXPECT_EQ(pair(0, 17), NormalPair);
    EXPECT_EQ(row(0), "налить осмотреть взять") << "the names never move";
}

TEST_F(VerbMenu, NothingIsDrawnBelowTheTwoRows) {
    // 25 names of 6 bytes: 11 fit a row (77 cells), the rest fall below.
    std::vector<std::string> names;
    for (int i = 0; i < 25; ++i) names.push_back("глаг" + std::to_string(10 + i));
    setVerbs(names);
    drawVerbMenu();
    EXPECT_EQ(cells(0, 0, 6), "глаг10");
    EXPECT_EQ(cells(0, 70, 6), "глаг20");
    EXPECT_EQ(cells(1, 0, 6), "глаг21");
    EXPECT_EQ(cells(1, 70, 6), "глаг31");
    EXPECT_EQ(row(1).size(), row(0).size()) << "row 1 holds eleven names too";
}

TEST_F(VerbMenu, OverlongNameIsCutAtTheWindowEdge) {
    const std::string longName(100, 'L');
    struct {
        const char* name;
        std::vector<std::string> verbs;
        std::string row0, row1;
    } cases[] = {
        {"long name first", {longName, "взять"}, "", std::string(80, 'L')},
        {"long name after another", {"взять", longName, "идти"}, "взять", std::string(80, 'L')},
        {"long name on the second row",
         {std::string(79, 'a'), "идти", longName},
         std::string(79, 'a'),
         "идти"},
    };
    for (bool wrap : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (wrap ? ", wrap on" : ", wrap off"));
            werase(MenuWindow);
            std::memset(game.verbs, 0, sizeof game.verbs);
            settings.wordWrap = wrap;
            setVerbs(c.verbs);
            drawVerbMenu();
            EXPECT_EQ(row(0), c.row0) << "the window did not scroll";
            EXPECT_EQ(row(1), c.row1);
        }
    }
}

}  // namespace

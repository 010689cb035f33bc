#include "ui/input_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/config.h"
#include "shell/shell.h"
#include "support/curses_screen.h"
#include "support/fixtures.h"
#include "ui/verb_menu.h"
#include "world/world.h"

namespace {

constexpr int LineRow = 5;

std::vector<int> keysOf(const std::string& text) {
    return std::vector<int>(text.begin(), text.end());
}

std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<int> repeatKey(int key, int n) {
    return std::vector<int>(static_cast<std::size_t>(n), key);
}

void setVerb(int index, const std::string& utf8Name, int slotCount) {
    Verb& verb = game.verbs[index];
    std::string name = toCp866(utf8Name);
    std::memset(verb.name, 0, sizeof verb.name);
    std::memcpy(verb.name, name.data(), std::min(name.size(), sizeof verb.name - 1));
    verb.slotCount = slotCount;
}

class InputLine : public ::testing::Test {
protected:
    void SetUp() override {
        resetGameState();
        settings = Settings{};
        selectedVerb = 0;
        clearInputWords(input);
        window = screen.window(25, 80);
    }

    void TearDown() override { MenuWindow = nullptr; }

    // Types the keys on `row` of `on` and checks that the line ended with the
    // last of them: a spare Enter queued behind must still be waiting, so a
    // line that fails to end stops there instead of waiting for ever.
    void type(const std::vector<int>& keys, WINDOW* on = nullptr, int row = LineRow) {
        on = on != nullptr ? on : window;
        CursesScreen::feedKeys(keys + std::vector<int>{KeyEnter});
        EXPECT_EQ(readInputLine(input, row, on), 1);
        for (int c = 0; c < 80; ++c) refreshed[c] = CursesScreen::cellsText(curscr, row, c, 1);
        EXPECT_EQ(readKey(on), KeyEnter) << "the line read past its end";
        EXPECT_EQ(readKey(on), KeyNone);
    }

    // Cells of the typed row as the screen was last refreshed, when the line
    // ended: the final Enter blanks the spinner only in the window.
    std::string shown(int column, int length) const {
        std::string cells;
        for (int c = column; c < column + length; ++c) cells += refreshed[c];
        return cells;
    }

    std::string word(int i) const { return toUtf8(input.words[i]); }
    std::string line(int row = LineRow) const { return CursesScreen::rowText(window, row); }

    // Casual mode with its one-row command line and two-row menu, both
    // without scrolling as in the game.
    WINDOW* casualWindows() {
        settings.casualMode = true;
        WINDOW* inputWindow = screen.window(1, 80, 22, 0);
        MenuWindow = screen.window(2, 80, 23, 0);
        scrollok(inputWindow, FALSE);
        scrollok(MenuWindow, FALSE);
        return inputWindow;
    }

    CursesScreen screen;
    WINDOW* window = nullptr;
    InputWords input{};
    std::string refreshed[80];
};

struct LineCase {
    const char* name;
    std::vector<int> keys;
    std::vector<std::string> words;  // UTF-8, words 0 on; the rest must be empty
    int closedWords;
    std::string shown;  // the typed row, trailing blanks removed
};

TEST_F(InputLine, KeysBecomeCyrillicWords) {
    std::string f79;
    for (int i = 0; i < 79; ++i) f79 += "ф";
    const LineCase cases[] = {
        {"two words", keysOf("dpznm yj;\n"), {"взять", "нож"}, 1, " взять нож"},
        {"one word", keysOf("dpznm\n"), {"взять"}, 0, " взять"},
        {"Enter as 13", keysOf("dpznm\r"), {"взять"}, 0, " взять"},
        {"space before Enter closes the word", keysOf("dpznm \n"), {"взять", ""}, 1, " взять"},
        {"runs of spaces are one", keysOf("dpznm   yj;\n"), {"взять", "нож"}, 1, " взять нож"},
        {"letter, Backspace, space: an empty word", keysOf("d\b \n"), {"", ""}, 1, ""},
        {"Backspace after a space keeps the closed word",
         keysOf("dpznm \b\byj;\n"),
         {"взять", "нож"},
         1,
         " взять нож"},
        {"Backspace removes the last letter", keysOf("dp\bz\n"), {"вя"}, 0, " вя"},
        {"Backspace at line start does nothing", keysOf("\bd\n"), {"в"}, 0, " в"},
        {"upper case", keysOf("DPZNM\n"), {"взять"}, 0, " взять"},
        {"digits pass, colon gives nothing", keysOf("d1:9\n"), {"в19"}, 0, " в19"},
        {"punctuation keys are letters", keysOf("[]';,.\n"), {"хъэжбю"}, 0, " хъэжбю"},
        {"unmapped keys are ignored",
         std::vector<int>{'d', KEY_RESIZE, KEY_F(1), KEY_UP, 0x1B, '{', '~', 0xA0, 'p', '\n'},
         {"вз"},
         0,
         " вз"},
        {"arrows outside casual mode",
         std::vector<int>{KEY_RIGHT, 'd', KEY_LEFT, '\n'},
         {"в"},
         0,
         " в"},
        {"79 letters fit", repeatKey('a', 79) + keysOf("\n"), {f79}, 0, " " + f79},
        {"the 80th letter is dropped", repeatKey('a', 80) + keysOf("s\n"), {f79}, 0, " " + f79},
        {"the tenth closed word ends the line",
         keysOf("a b c d e f g h i j "),
         {"ф", "и", "с", "в", "у", "а", "п", "р", "ш", "о"},
         10,
         " ф и с в у а п р ш о"},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        clearInputWords(input);
        werase(window);
        type(c.keys);
        EXPECT_EQ(input.closedWords, c.closedWords);
        for (int i = 0; i < MaxWords; ++i)
            EXPECT_EQ(word(i), i < static_cast<int>(c.words.size()) ? c.words[i] : "")
                << "word " << i;
        EXPECT_EQ(line(), c.shown);
        EXPECT_EQ(selectedVerb, 0) << "outside casual mode nothing moves the selection";
    }
}

TEST_F(InputLine, LineIsTypedInTheSystemColourAndEndsInNormal) {
    type(keysOf("dpznm yj;\n"));
    EXPECT_EQ(CursesScreen::cellsText(window, LineRow, 0, 11), " взять нож ");
    EXPECT_EQ(CursesScreen::pairAt(window, LineRow, 0), 0) << "column 0 stays empty";
    EXPECT_EQ(CursesScreen::pairAt(window, LineRow, 1), SystemPair);
    EXPECT_EQ(CursesScreen::pairAt(window, LineRow, 6), SystemPair) << "the closing space";
    attr_t attributes;
    short pair;
    wattr_get(window, &attributes, &pair, nullptr);
    EXPECT_EQ(pair, NormalPair);
}

TEST_F(InputLine, ReadingALineResetsClosedWords) {
    input.closedWords = 7;
    type(keysOf("d\n"));
    EXPECT_EQ(input.closedWords, 0);
    EXPECT_EQ(word(0), "в");
}

TEST_F(InputLine, SpinnerStepsOnEveryTimeOut) {
    const char* steps[] = {"-", "\\", "|", "/", "-"};
    for (int timeOuts = 1; timeOuts <= 5; ++timeOuts) {
        SCOPED_TRACE(timeOuts);
        type(keysOf("d") + repeatKey(KeyNone, timeOuts) + keysOf("\n"));
        EXPECT_EQ(shown(1, 2), std::string("в") + steps[timeOuts - 1]);
        EXPECT_EQ(CursesScreen::cellsText(window, LineRow, 2, 1), " ") << "Enter blanks it";
    }
}

TEST_F(InputLine, KeysDoNotResetTheSpinner) {
    type(std::vector<int>{'d', KeyNone, 'p', KeyNone, '\n'});
    EXPECT_EQ(shown(1, 3), "вз\\");
    EXPECT_EQ(word(0), "вз");
}

TEST_F(InputLine, BackspaceBlanksTheSpinnerNotTheLetter) {
    type(std::vector<int>{'d', 'p', KeyNone, '\b', KeyNone, KeyNone, '\n'});
    EXPECT_EQ(word(0), "в");
    // The removed letter's cell became the cursor cell and shows the spinner.
    EXPECT_EQ(shown(1, 3), "в| ");
}

TEST_F(InputLine, LeadingSpaceInsertsTheSelectedVerb) {
    struct {
        const char* name;
        bool casual;
        int selected;
        std::vector<int> keys;
        std::vector<std::string> words;
        int closedWords;
        std::string shown;
    } cases[] = {
        {"verb without slots ends the line", true, 1, keysOf(" "), {"осмотреть"}, 0, " осмотреть"},
        {"verb with slots goes on", true, 0, keysOf(" yj;\n"), {"взять", "нож"}, 1, " взять нож"},
        {"outside casual mode verb 0",
         false,
         0,
         keysOf(" yj;\n"),
         {"взять", "нож"},
         1,
         " взять нож"},
        {"a verb past the table is empty", true, 5, keysOf(" "), {""}, 0, ""},
        {"space after a letter closes a word", true, 1, keysOf("d \n"), {"в", ""}, 1, " в"},
    };
    setVerb(0, "взять", 1);
    setVerb(1, "осмотреть", 0);
    game.verbCount = 3;
    WINDOW* casualInput = casualWindows();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings.casualMode = c.casual;
        selectedVerb = c.selected;
        clearInputWords(input);
        WINDOW* on = c.casual ? casualInput : window;
        int row = c.casual ? 0 : LineRow;
        werase(on);
        type(c.keys, on, row);
        EXPECT_EQ(input.closedWords, c.closedWords);
        for (int i = 0; i < MaxWords; ++i)
            EXPECT_EQ(word(i), i < static_cast<int>(c.words.size()) ? c.words[i] : "")
                << "word " << i;
        EXPECT_EQ(CursesScreen::rowText(on, row), c.shown);
        EXPECT_EQ(selectedVerb, c.selected);
    }
}

TEST_F(InputLine, InsertedVerbStopsAtTheWordCapacity) {
    setVerb(0, std::string(100, 'v'), 1);
    game.verbCount = 2;
    type(keysOf(" d\n"));
    EXPECT_EQ(std::string(input.words[0]), std::string(79, 'v'));
    EXPECT_EQ(word(1), "в");
    EXPECT_EQ(input.closedWords, 1);
    EXPECT_EQ(line(), " " + std::string(79, 'v'));
}

TEST_F(InputLine, ArrowsMoveTheSelectionWithinNineteenVerbs) {
    struct {
        const char* name;
        int start;
        std::vector<int> keys;
        int selected;
    } cases[] = {
        {"right twenty times stops at 18", 0, repeatKey(KEY_RIGHT, 20) + keysOf("\n"), 18},
        {"left at 0 stays", 0, std::vector<int>{KEY_LEFT, '\n'}, 0},
        {"left and right", 3, std::vector<int>{KEY_RIGHT, KEY_RIGHT, KEY_LEFT, '\n'}, 4},
        {"arrows while typing", 0, std::vector<int>{'d', KEY_RIGHT, 'p', '\n'}, 1},
    };
    setVerb(0, "взять", 1);
    game.verbCount = 2;
    WINDOW* casualInput = casualWindows();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        selectedVerb = c.start;
        type(c.keys, casualInput, 0);
        EXPECT_EQ(selectedVerb, c.selected);
    }
    EXPECT_EQ(word(0), "вз") << "arrows add nothing to the line";
}

}  // namespace

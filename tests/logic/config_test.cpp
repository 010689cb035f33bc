#include "shell/config.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/curses_screen.h"
#include "support/fixtures.h"

namespace {

// The colour lines of a file whose pairs are all distinct: colour 10 is
// (1, 2, 3), colour 11 (4, 5, 6), and so on up to colour 15 (16, 17, 18).
const std::string Colours = "Цвета 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18\n";

struct Expected {
    bool wordWrap;
    bool defaultReplyOn;
    std::string defaultReply;  // UTF-8
    bool casualMode;
};

// What a game without mwk.cfg gets; also what the file does not reach.
const Expected NoFile = {false, false, "", true};

struct Case {
    const char* name;
    std::optional<std::string> file;  // UTF-8 content of mwk.cfg; none: no file
    Expected expected;
};

class Configuration : public ::testing::Test {
protected:
    // Pairs 1 to 3 start black on black, so that a pair left undefined shows.
    Configuration() {
        for (int pair = NormalPair; pair <= SystemPair; ++pair) definePair(pair, 0, 0);
    }

    void readFile(const std::optional<std::string>& content) {
        if (content) dir.write("mwk.cfg", *content);
        readConfiguration();
    }

    static void expectSettings(const Expected& e, const std::string& name) {
        SCOPED_TRACE(name);
        EXPECT_EQ(settings.wordWrap, e.wordWrap);
        EXPECT_EQ(settings.defaultReplyOn, e.defaultReplyOn);
        EXPECT_EQ(toUtf8(settings.defaultReply), e.defaultReply);
        EXPECT_EQ(settings.casualMode, e.casualMode);
    }

    static std::pair<int, int> pair(int n) {
        short foreground = -2, background = -2;
        pair_content(static_cast<short>(n), &foreground, &background);
        return {foreground, background};
    }

    static void expectBuiltInPairsFrom(int first) {
        const std::pair<int, int> builtIn[] = {
            {COLOR_WHITE, COLOR_BLUE}, {COLOR_RED, COLOR_BLUE}, {COLOR_GREEN, COLOR_BLUE}};
        for (int n = first; n <= SystemPair; ++n)
            EXPECT_EQ(pair(n), builtIn[n - 1]) << "pair " << n;
    }

    static void expectFilePairsUpTo(int last) {
        for (int n = NormalPair; n <= last; ++n)
            EXPECT_EQ(pair(n), std::make_pair(8 + 2 * n, 9 + 2 * n)) << "pair " << n;
    }

    CursesScreen screen;
    TempWorkDir dir;
};

TEST_F(Configuration, SwitchesAreExactAndCaseSensitive) {
    const Case cases[] = {
        {"no file", std::nullopt, NoFile},
        {"everything on",
         Colours + "Перенос On\nОтвет Ничего не произошло. /\nРежим Casual\n",
         {true, true, "Ничего не произошло. ", true}},
        {"lower-case switches",
         Colours + "Перенос on\nОтвет Нет. /\nРежим casual\n",
         {false, true, "Нет. ", false}},
        {"another mode word",
         Colours + "Перенос Off\nОтвет Нет. /\nРежим Обычный\n",
         {false, true, "Нет. ", false}},
        {"Off turns the reply off",
         Colours + "Перенос On\nОтвет Off /\nРежим Casual\n",
         {true, false, "Off ", true}},
        {"off is a reply",
         Colours + "Перенос On\nОтвет off /\nРежим Casual\n",
         {true, true, "off ", true}},
        {"Off among other words is a reply",
         Colours + "Перенос On\nОтвет Off Off /\nРежим X\n",
         {true, true, "Off Off ", false}},
        {"a lone slash is an empty reply that is on",
         Colours + "П On О / Р Casual",
         {true, true, "", true}},
        {"a reply over two lines",
         Colours + "Перенос On\nОтвет   Ничего\n\tне произошло\n  /\nРежим Casual\n",
         {true, true, "Ничего не произошло ", true}},
        {"tokens after the mode are not read",
         Colours + "П On О Да / Р Casual / & 17 ещё",
         {true, true, "Да ", true}},
    };
    for (const Case& c : cases) {
        TempWorkDir caseDir;
        if (c.file) caseDir.write("mwk.cfg", *c.file);
        readConfiguration();
        expectSettings(c.expected, c.name);
    }
}

TEST_F(Configuration, WithoutFileThePairsAreWhiteRedGreenOnBlue) {
    readFile(std::nullopt);
    expectBuiltInPairsFrom(NormalPair);
}

TEST_F(Configuration, FileRedefinesColoursTenToFifteenForThePairs) {
    readFile(Colours + "Перенос On\nОтвет Нет /\nРежим Casual\n");
    expectFilePairsUpTo(SystemPair);
    for (int colour = 10; colour <= 15; ++colour) {
        short red, green, blue;
        color_content(static_cast<short>(colour), &red, &green, &blue);
        int first = 3 * (colour - 10) + 1;
        EXPECT_EQ(red, first) << "colour " << colour;
        EXPECT_EQ(green, first + 1) << "colour " << colour;
        EXPECT_EQ(blue, first + 2) << "colour " << colour;
    }
}

TEST_F(Configuration, ColoursOnOneLineOrEighteenGiveTheSameResult) {
    std::string eighteen = "Цвета\n";
    for (int value = 1; value <= 18; ++value) eighteen += std::to_string(value * 50) + "\n";
    std::string one = "Цвета";
    for (int value = 1; value <= 18; ++value) one += " " + std::to_string(value * 50);
    for (const std::string& colours : {one, eighteen}) {
        TempWorkDir caseDir;
        caseDir.write("mwk.cfg", colours + "\nПеренос On Ответ Нет / Режим Casual");
        readConfiguration();
        expectSettings({true, true, "Нет ", true}, colours);
        expectFilePairsUpTo(SystemPair);
        short red, green, blue;
        color_content(15, &red, &green, &blue);
        EXPECT_EQ(blue, 900);
    }
}

// A file cut short keeps what it completed; everything after the cut is as
// without a file. A pair whose six numbers are incomplete is the built-in one.
TEST_F(Configuration, FileCutShortKeepsWhatItCompleted) {
    struct CutCase {
        const char* name;
        std::string file;
        int filePairs;
        Expected expected;
    };
    const std::string full = Colours + "Перенос On\nОтвет Нет ответа /\nРежим Обычный\n";
    auto upTo = [&full](const char* marker) { return full.substr(0, full.find(marker)); };
    const CutCase cases[] = {
        {"empty file", "", 0, NoFile},
        {"only the label", "Цвета", 0, NoFile},
        {"inside pair 2", "Цвета 1 2 3 4 5 6 7 8 9 10", 1, NoFile},
        {"inside pair 3", "Цвета 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17", 2, NoFile},
        {"after the colours", Colours, 3, NoFile},
        {"after the wrap label", upTo(" On"), 3, NoFile},
        {"after the wrap word", upTo("Ответ"), 3, {true, false, "", true}},
        {"after the reply label", upTo(" Нет"), 3, {true, false, "", true}},
        {"inside the reply", upTo(" /"), 3, {true, false, "", true}},
        {"reply without its slash",
         Colours + "Перенос On Ответ Нет ответа Режим Обычный",
         3,
         {true, false, "", true}},
        {"after the reply", upTo("Режим"), 3, {true, true, "Нет ответа ", true}},
        {"after the mode label", upTo(" Обычный"), 3, {true, true, "Нет ответа ", true}},
        {"whole file", full, 3, {true, true, "Нет ответа ", false}},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (int n = NormalPair; n <= SystemPair; ++n) definePair(n, 0, 0);
        TempWorkDir caseDir;
        caseDir.write("mwk.cfg", c.file);
        readConfiguration();
        expectSettings(c.expected, c.name);
        expectFilePairsUpTo(c.filePairs);
        expectBuiltInPairsFrom(c.filePairs + 1);
    }
}

// Reading stops at a colour value that is no integer: the words after it are
// not taken for the switches, not even for the mode that follows a "/".
TEST_F(Configuration, TokenThatIsNoIntegerStopsReading) {
    struct BadCase {
        const char* name;
        std::string colours;
        int filePairs;
    };
    const BadCase cases[] = {
        {"a word for the first value", "Цвета красный 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18",
         0},
        {"a slash for a value", "Цвета 1 2 3 4 5 6 7 / 9 10 11 12 13 14 15 16 17 18", 1},
        {"a word in pair 3", "Цвета 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 x 18", 2},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (int n = NormalPair; n <= SystemPair; ++n) definePair(n, 0, 0);
        TempWorkDir caseDir;
        caseDir.write("mwk.cfg", c.colours + "\nПеренос On\nОтвет Да /\nРежим Обычный\n");
        readConfiguration();
        expectSettings(NoFile, c.name);
        expectFilePairsUpTo(c.filePairs);
        expectBuiltInPairsFrom(c.filePairs + 1);
    }
}

TEST_F(Configuration, ReplyIsCutAt199BytesAndReadingGoesOnToTheSlash) {
    std::string words;
    for (int k = 0; k < 60; ++k) words += "абвг ";  // 60 words of 4 letters: 300 bytes
    readFile(Colours + "Перенос On\nОтвет " + words + "/\nРежим Обычный\n");
    EXPECT_EQ(std::string(settings.defaultReply), toCp866(words).substr(0, 199));
    EXPECT_TRUE(settings.defaultReplyOn);
    EXPECT_FALSE(settings.casualMode);  // the mode word after the "/" was still read
}

TEST_F(Configuration, ReadingTwiceStartsFromTheDefaults) {
    readFile(Colours + "Перенос On\nОтвет Да /\nРежим Обычный\n");
    TempWorkDir empty;
    readConfiguration();
    expectSettings(NoFile, "second read without a file");
}

}  // namespace

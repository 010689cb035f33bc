// The demo game played through the real program, from walkthroughs kept as
// data beside this file: "> command" lines, each followed by texts its reply
// must show (see demo_walkthrough.txt for the format).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/fixtures.h"
#include "support/terminal_session.h"

namespace {

constexpr int InputRow = 22;    // the command line in casual mode
constexpr int OutputRows = 22;  // the output window: rows 0 to 21

const std::filesystem::path SourceDir = std::filesystem::path(__FILE__).parent_path();

struct Step {
    enum Kind { Command, Keys, ExitStatus } kind;
    std::string text;  // the command, the keys, or the status
    int line;          // in the walkthrough file
    std::vector<std::string> expected;
};

struct Walkthrough {
    std::vector<std::string> firstScreen;
    std::vector<Step> steps;
};

Walkthrough readWalkthrough(const std::string& name) {
    std::ifstream file(SourceDir / name);
    if (!file) throw std::runtime_error("cannot read " + name);
    Walkthrough walkthrough;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        std::string rest = line.size() > 2 ? line.substr(2) : "";
        if (line.rfind("> ", 0) == 0) {
            walkthrough.steps.push_back({Step::Command, rest, number, {}});
        } else if (line.rfind("! ", 0) == 0) {
            walkthrough.steps.push_back({Step::Keys, rest, number, {}});
        } else if (line.rfind("= ", 0) == 0) {
            walkthrough.steps.push_back({Step::ExitStatus, rest, number, {}});
        } else if (walkthrough.steps.empty()) {
            walkthrough.firstScreen.push_back(line);
        } else {
            walkthrough.steps.back().expected.push_back(line);
        }
    }
    return walkthrough;
}

// The Latin keys that give each Cyrillic letter on the Russian layout.
const std::map<std::string, char>& latinKeys() {
    static const std::map<std::string, char> keys = {
        {"й", 'q'}, {"ц", 'w'},  {"у", 'e'}, {"к", 'r'}, {"е", 't'}, {"н", 'y'}, {"г", 'u'},
        {"ш", 'i'}, {"щ", 'o'},  {"з", 'p'}, {"х", '['}, {"ъ", ']'}, {"ф", 'a'}, {"ы", 's'},
        {"в", 'd'}, {"а", 'f'},  {"п", 'g'}, {"р", 'h'}, {"о", 'j'}, {"л", 'k'}, {"д", 'l'},
        {"ж", ';'}, {"э", '\''}, {"я", 'z'}, {"ч", 'x'}, {"с", 'c'}, {"м", 'v'}, {"и", 'b'},
        {"т", 'n'}, {"ь", 'm'},  {"б", ','}, {"ю", '.'}};
    return keys;
}

// What a player types for a command written in Cyrillic; throws on a
// character no key gives.
std::string keysFor(const std::string& command) {
    std::string keys;
    for (size_t i = 0; i < command.size();) {
        char byte = command[i];
        if (byte == ' ' || (byte >= '0' && byte <= '9')) {
            keys += byte;
            ++i;
            continue;
        }
        auto found = latinKeys().find(command.substr(i, 2));
        if (found == latinKeys().end())
            throw std::runtime_error("no key types \"" + command.substr(i, 2) + "\" in " + command);
        keys += found->second;
        i += 2;
    }
    return keys;
}

std::vector<std::string> outputRows(const TerminalSession& session) {
    std::vector<std::string> rows;
    for (int row = 0; row < OutputRows; ++row) rows.push_back(session.rowText(row));
    return rows;
}

// The first row of the output window that the reply to the last input may
// have written: the row below what `before` showed, wherever the scrolling has
// moved it (row 0 when all of it is gone). The scroll is the smallest shift
// that maps the old rows onto the new ones.
int firstFreshRow(const std::vector<std::string>& before, const std::vector<std::string>& now) {
    int last = OutputRows - 1;
    while (last >= 0 && before[last].empty()) --last;
    for (int shift = 0; shift <= last; ++shift) {
        bool same = true;
        for (int row = shift; row <= last && same; ++row) same = now[row - shift] == before[row];
        if (same) return last - shift + 1;
    }
    return 0;
}

bool showsAll(const std::vector<std::string>& rows, int from,
              const std::vector<std::string>& expected) {
    for (const std::string& text : expected) {
        bool found = false;
        for (int row = from; row < OutputRows && !found; ++row)
            found = rows[row].find(text) != std::string::npos;
        if (!found) return false;
    }
    return true;
}

std::string missing(const std::vector<std::string>& rows, int from,
                    const std::vector<std::string>& expected) {
    std::string list;
    for (const std::string& text : expected)
        if (!showsAll(rows, from, {text})) list += "  \"" + text + "\"\n";
    return list;
}

// The demo's own files, as the build made them, in a fresh working directory.
void copyDemo(const TempWorkDir& dir) {
    for (const char* name : {"verbs.dat", "scenes.dat", "mwk.cfg"}) {
        std::ifstream file(std::string(MWK_GAMES_DIR) + "/demo/" + name, std::ios::binary);
        ASSERT_TRUE(file) << "the build has not converted games/demo/" << name;
        std::ostringstream bytes;
        bytes << file.rdbuf();
        dir.writeBytes(name, bytes.str());
    }
}

// Plays the walkthrough in casual mode: a command is typed on the input row
// and waited for there, which tells that the previous reply is complete; after
// Enter the reply's texts are looked for only below what the screen held
// before, so that an earlier reply cannot answer for this one.
void play(const std::string& walkthroughFile, const TempWorkDir& dir) {
    Walkthrough walkthrough = readWalkthrough(walkthroughFile);
    TerminalSession session(dir.path());

    for (const std::string& text : walkthrough.firstScreen)
        ASSERT_TRUE(session.waitForText(text)) << "the first screen lacks \"" << text << "\":\n"
                                               << session.screenText();

    for (const Step& step : walkthrough.steps) {
        std::string where = walkthroughFile + ":" + std::to_string(step.line) + " ";
        if (step.kind == Step::ExitStatus) {
            EXPECT_EQ(session.waitForExit(), std::stoi(step.text)) << where << session.screenText();
            continue;
        }
        if (step.kind == Step::Command) {
            std::string typed = " " + step.text;  // typing starts in column 1
            session.type(keysFor(step.text));
            ASSERT_TRUE(session.waitUntil([&] {
                std::string row = session.rowText(InputRow);
                return row.rfind(typed, 0) == 0 && row.size() <= typed.size() + 1;  // + spinner
            })) << where
                << "the input row never showed \"" << step.text << "\":\n"
                << session.screenText();
        }
        std::vector<std::string> before = outputRows(session);
        if (step.kind == Step::Command)
            session.pressEnter();
        else
            session.type(step.text);
        std::vector<std::string> now;
        int from = 0;
        bool shown = session.waitUntil([&] {
            now = outputRows(session);
            from = firstFreshRow(before, now);
            return showsAll(now, from, step.expected);
        });
        ASSERT_TRUE(shown) << where << "after \"" << step.text << "\" the rows from " << from
                           << " on lack:\n"
                           << missing(now, from, step.expected) << session.screenText();
    }
}

TEST(DemoWalkthrough, PlaysFromTheFirstScreenToTheEndingWithTheFullScore) {
    TempWorkDir dir;
    ASSERT_NO_FATAL_FAILURE(copyDemo(dir));
    play("demo_walkthrough.txt", dir);
}

// The demo's colours keep normal text, marked words and the heading apart.
TEST(DemoWalkthrough, MarkedWordsAndTheHeadingStandOut) {
    TempWorkDir dir;
    ASSERT_NO_FATAL_FAILURE(copyDemo(dir));
    TerminalSession session(dir.path());
    ASSERT_TRUE(session.waitForText("ваша лодка")) << session.screenText();
    std::optional<CellPosition> boat = session.findText("лодка");
    std::optional<CellPosition> title = session.findText("Огонь на Чаячьем");
    ASSERT_TRUE(boat && title);
    std::string normal = session.foreground(boat->row, boat->column - 2);  // "ваша"
    EXPECT_NE(session.foreground(boat->row, boat->column), normal);
    EXPECT_NE(session.foreground(title->row, title->column), normal);
    EXPECT_NE(session.foreground(title->row, title->column),
              session.foreground(boat->row, boat->column));
}

TEST(DemoWalkthrough, LoadingBringsBackTheSavedGame) {
    TempWorkDir dir;
    ASSERT_NO_FATAL_FAILURE(copyDemo(dir));
    ASSERT_NO_FATAL_FAILURE(play("demo_save_load.txt", dir));
    EXPECT_FALSE(dir.read("save.dat").empty());
}

}  // namespace

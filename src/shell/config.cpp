#include "shell/config.h"

#include <cstdint>
#include <cstring>

#include "ui/terminal.h"
#include "world/tokens.h"

Settings settings;

namespace {

constexpr const char* ConfigPath = "mwk.cfg";
constexpr int FirstFileColour = 10;  // pair n uses colours 8 + 2n and 9 + 2n

// The built-in colours of pairs 1 to 3, used without the file and for every
// pair the file stops short of.
constexpr short BuiltInForeground[] = {COLOR_WHITE, COLOR_RED, COLOR_GREEN};

void defineBuiltInPairs(int firstPair) {
    for (int pair = firstPair; pair <= SystemPair; ++pair)
        definePair(pair, BuiltInForeground[pair - NormalPair], COLOR_BLUE);
}

// Reads the six numbers of pair `pair`, redefines its two colours and the pair.
// False, with nothing defined, when the file ends or a number is malformed.
bool readPairColours(TokenReader& reader, int pair) {
    int32_t rgb[6];
    for (int32_t& value : rgb)
        if (!readNumber(reader, value)) return false;
    int foreground = FirstFileColour + 2 * (pair - NormalPair);
    defineColour(foreground, rgb[0], rgb[1], rgb[2]);
    defineColour(foreground + 1, rgb[3], rgb[4], rgb[5]);
    definePair(pair, foreground, foreground + 1);
    return true;
}

// Reads a label and the word after it; false when the file ends first.
bool readLabelledWord(TokenReader& reader, char* word) {
    return skipToken(reader) && readToken(reader, word, TokenSize);
}

// Reads the reply after its label up to the lone "/"; false when the file ends
// first. Words beyond the reply's capacity are cut off.
bool readDefaultReply(TokenReader& reader) {
    char reply[DefaultReplySize];
    if (!skipToken(reader) || !readTextRun(reader, reply, DefaultReplySize)) return false;
    std::memcpy(settings.defaultReply, reply, sizeof reply);
    settings.defaultReplyOn = std::strcmp(reply, "Off ") != 0;
    return true;
}

// Reads everything after the colours. A group the file does not complete
// leaves its settings, and the ones after it, at their values without a file.
void readSwitches(TokenReader& reader) {
    char word[TokenSize];
    if (!readLabelledWord(reader, word)) return;
    settings.wordWrap = std::strcmp(word, "On") == 0;
    if (!readDefaultReply(reader)) return;
    if (!readLabelledWord(reader, word)) return;
    settings.casualMode = std::strcmp(word, "Casual") == 0;
}

// Reads the open file from its first token on.
void readSettingsFile(TokenReader& reader) {
    skipToken(reader);
    for (int pair = NormalPair; pair <= SystemPair; ++pair) {
        if (!readPairColours(reader, pair)) {
            defineBuiltInPairs(pair);
            return;
        }
    }
    readSwitches(reader);
}

}  // namespace

void readConfiguration() {
    settings = Settings{};
    settings.casualMode = true;
    TokenReader reader;
    if (!openTokens(reader, ConfigPath)) {
        defineBuiltInPairs(NormalPair);
        return;
    }
    readSettingsFile(reader);
    closeTokens(reader);
}

#include "world/verb_file.h"

#include <algorithm>

namespace {

constexpr const char* VerbFileName = "verbs.dat";

// verbs.dat, kept open while consecutive verbs are read.
TokenReader verbFile{};

}  // namespace

VerbReadResult readVerbFrom(TokenReader& reader, Verb& verb) {
    int32_t index = verb.index;
    verb = Verb{};
    verb.index = index;
    int32_t slots = 0;
    bool head = readToken(reader, verb.name, VerbNameSize) && readNumber(reader, slots) &&
                readNumber(reader, verb.objectCount) && readNumber(reader, verb.firstForm) &&
                readNumber(reader, verb.secondForm) && skipToken(reader);
    verb.firstForm = std::clamp(verb.firstForm, 0, NameFormCount - 1);
    verb.secondForm = std::clamp(verb.secondForm, 0, NameFormCount - 1);
    if (!head) return NoVerbRead;
    for (int slot = 0; slot < std::clamp(slots, 0, MaxSlots); ++slot) {
        if (!readToken(reader, verb.slotWords[slot], SlotWordSize)) return NoVerbRead;
        verb.slotCount = slot + 1;
    }
    return reader.atEnd ? NoVerbRead : VerbRead;
}

VerbReadResult readVerb(Verb& verb) {
    if (!seekRecord(verbFile, VerbFileName, verb.index)) return NoVerbRead;
    VerbReadResult result = readVerbFrom(verbFile, verb);
    if (result != VerbRead) closeTokens(verbFile);
    return result;
}

void loadVerbs() {
    VerbReadResult result;
    int index = 0;
    do {
        game.verbs[index].index = index;
        result = readVerb(game.verbs[index]);
        ++index;
    } while (result == VerbRead && index < MaxVerbs);
    game.verbCount = index;
    closeTokens(verbFile);
}

#include "support/max_world.h"

#include <cstdint>

#include "ui/cp866.h"
#include "world/world.h"

namespace {

// A small deterministic generator, so that every run writes the same world.
struct Random {
    uint32_t state = 12345;
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }
};

// CP866 letters: А-Я, а-п, р-я.
char letter(Random& random) {
    int k = random.below(64);
    return static_cast<char>(k < 48 ? 0x80 + k : 0xE0 + (k - 48));
}

void appendWord(std::string& out, int length, Random& random) {
    char word[VerbNameSize];
    for (int i = 0; i < length; ++i) word[i] = letter(random);
    out.append(word, length);
}

void appendNumber(std::string& out, int64_t value) {
    out += std::to_string(value);
    out += ' ';
}

// A text run whose stored text (each token followed by one space) fills a
// buffer of `capacity` bytes with the NUL. Words of 1 to 12 bytes, some of
// them highlighted or "@" variant separators.
void appendRun(std::string& out, int capacity, Random& random) {
    for (int left = capacity - 1; left > 0;) {
        int length = 1 + random.below(12);
        if (left - (length + 1) < 2) length = left - 1;
        int kind = random.below(20);
        if (length == 1 && kind == 0) {
            out += '@';
        } else if (length >= 3 && kind == 1) {
            out += '*';
            appendWord(out, length - 2, random);
            out += '*';
        } else {
            appendWord(out, length, random);
        }
        out += ' ';
        left -= length + 1;
    }
    out += "/\n";
}

// Verb 0 names two objects, so that every closing action carries what2.
int objectCountOf(int verb) {
    return verb % 3 == 0 ? 2 : verb % 3;
}

std::string verbsFile() {
    Random random;
    std::string out = "Глаголы игры\n"_cp;
    for (int verb = 0; verb < MaxVerbs - 1; ++verb) {
        out += "& ";
        appendWord(out, VerbNameSize - 1, random);
        out += ' ';
        appendNumber(out, MaxSlots);
        appendNumber(out, objectCountOf(verb));
        appendNumber(out, verb % NameFormCount);
        appendNumber(out, (verb + 1) % NameFormCount);
        out += "-\n";
        for (int slot = 0; slot < MaxSlots; ++slot) {
            appendWord(out, SlotWordSize - 1, random);
            out += ' ';
        }
        out += '\n';
    }
    return out;
}

void appendObject(std::string& out, int id, Random& random) {
    appendNumber(out, id);
    for (int form = 0; form < NameFormCount; ++form) {
        appendWord(out, NameFormSize - 1, random);
        out += ' ';
    }
    appendRun(out, ObjectDescriptionSize, random);
}

// Triples of varied numbers, the closing one (kind 0) last.
void appendTriples(std::string& out, int capacity, Random& random) {
    for (int k = 0; k < capacity; ++k) {
        bool closing = k == capacity - 1;
        appendNumber(out, closing ? 0 : 1 + random.below(2000) - (k % 2) * 3000);
        appendNumber(out, random.below(MaxScenes));
        appendNumber(out, static_cast<int64_t>(random.below(200000)) - 100000);
    }
}

void appendAction(std::string& out, int verb, Random& random) {
    appendNumber(out, verb);
    appendNumber(out, random.below(MaxSlots + 1));
    appendNumber(out, 1 + random.below(MaxObjects - 1));
    if (objectCountOf(verb) == 2) appendNumber(out, 1 + random.below(MaxObjects - 1));
    appendNumber(out, random.below(MaxScenes) * 1000 + random.below(MaxScenes));
    out += "-\n";
    appendTriples(out, MaxConditions, random);
    out += "\n-\n";
    appendTriples(out, MaxEffects, random);
    out += "\n-\n";
    for (int k = 0; k < MaxItemChanges; ++k) {
        appendNumber(out, k == MaxItemChanges - 1 ? 0 : 1 + random.below(MaxObjects - 1));
        appendNumber(out, random.below(2 * MaxScenes) - MaxScenes);
    }
    appendNumber(out, random.below(4));
    int scoreKind = random.below(10);
    appendNumber(out, scoreKind == 0 ? INT32_MAX : scoreKind == 1 ? INT32_MIN : random.below(100));
    appendNumber(out, 1 + random.below(MaxActions));
    appendRun(out, ActionTextSize, random);
}

std::string scenesFile() {
    Random random;
    std::string out = "Мир\n"_cp;
    for (int scene = 0; scene < MaxScenes; ++scene) {
        out += "& ";
        appendRun(out, SceneNameSize, random);
        appendRun(out, SceneDescriptionSize, random);
        for (int exit = 0; exit < 4; ++exit) appendNumber(out, random.below(MaxScenes + 1) - 1);
        out += '\n';
        for (int id = 1; id < MaxObjects; ++id) appendObject(out, id, random);
        appendObject(out, 0, random);
        for (int k = 0; k < MaxActions - 1; ++k) appendAction(out, 1 + k % (MaxVerbs - 2), random);
        appendAction(out, 0, random);
    }
    out += "конец\n"_cp;
    return out;
}

}  // namespace

WorldFiles maximalWorld() {
    return {verbsFile(), scenesFile()};
}

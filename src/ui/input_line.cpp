#include "ui/input_line.h"

#include <cstring>

#include "shell/config.h"
#include "ui/cp866.h"
#include "ui/verb_menu.h"
#include "world/world.h"

namespace {

constexpr int KeySpace = 32;
constexpr int WordCapacity = WordSize - 1;

// The keys of the Latin layout and, at the same index, the letter on that key
// of the Russian layout.
constexpr char LatinKeys[] = "qwertyuiop[]asdfghjkl;'zxcvbnm,.";
const char* const CyrillicLetters = "йцукенгшщзхъфывапролджэячсмитьбю"_cp;

constexpr char SpinnerSteps[] = "/-\\|";
constexpr int SpinnerStepCount = 4;

enum LineMark { LineStart, InWord, AfterSpace };

// Where one line stands while it is typed.
struct LineState {
    InputWords& input;
    int row;
    WINDOW* window;
    int position;     // in the current word
    int startColumn;  // of the current word; its first byte is drawn one further
    int spinnerStep;
    LineMark mark;
    bool done;
};

int cursorColumn(const LineState& line) {
    return line.startColumn + line.position + 1;
}

void drawAtCursor(const LineState& line, unsigned char byte) {
    writeByte(line.window, line.row, cursorColumn(line), byte);
}

char* currentWord(LineState& line) {
    return line.input.words[line.input.closedWords];
}

// Stores a typed byte at the cursor unless the word is full.
void storeByte(LineState& line, unsigned char byte) {
    if (line.position >= WordCapacity) return;
    currentWord(line)[line.position] = static_cast<char>(byte);
    drawAtCursor(line, byte);
    ++line.position;
    line.mark = InWord;
}

void showNextSpinnerStep(LineState& line) {
    line.spinnerStep = (line.spinnerStep + 1) % SpinnerStepCount;
    drawAtCursor(line, SpinnerSteps[line.spinnerStep]);
    wrefresh(line.window);
}

// Removes the last byte of the current word; never reaches a closed word.
void eraseByte(LineState& line) {
    if (line.position == 0) return;
    currentWord(line)[line.position - 1] = '\0';
    drawAtCursor(line, ' ');
    --line.position;
}

// The closing space becomes the blank column before the next word.
void closeWord(LineState& line) {
    drawAtCursor(line, ' ');
    line.startColumn = cursorColumn(line);
    ++line.input.closedWords;
    line.position = 0;
    line.mark = AfterSpace;
    if (line.input.closedWords >= MaxWords) line.done = true;
}

void endLine(LineState& line) {
    drawAtCursor(line, ' ');
    line.done = true;
}

// A space opening the line types the selected verb; a verb that takes nothing
// more is a whole command by itself.
void insertSelectedVerb(LineState& line) {
    if (selectedVerb < 0 || selectedVerb >= MaxVerbs) return;
    const Verb& verb = game.verbs[selectedVerb];
    for (int i = 0; i < VerbNameSize && verb.name[i] != '\0'; ++i)
        storeByte(line, static_cast<unsigned char>(verb.name[i]));
    line.mark = InWord;
    if (verb.slotCount == 0)
        endLine(line);
    else
        closeWord(line);
}

void handleSpace(LineState& line) {
    switch (line.mark) {
        case LineStart:
            insertSelectedVerb(line);
            break;
        case InWord:
            closeWord(line);
            break;
        case AfterSpace:
            break;  // runs of spaces make no empty words
    }
}

// Moves the menu selection within the selectable verbs and redraws the menu.
void moveSelection(int key) {
    if (key == KeyLeft && selectedVerb > 0) {
        --selectedVerb;
        drawVerbMenu();
    } else if (key == KeyRight && selectedVerb < LastSelectableVerb) {
        ++selectedVerb;
        drawVerbMenu();
    }
}

void handleKey(LineState& line, int key) {
    int letter = mapKey(key);
    if (letter != 0) storeByte(line, static_cast<unsigned char>(letter));
    if (key == KeyBackspace)
        eraseByte(line);
    else if (key == KeySpace)
        handleSpace(line);
    else if (key == KeyEnter || key == KeyReturn)
        endLine(line);
    if (settings.casualMode) moveSelection(key);
}

}  // namespace

void clearInputWords(InputWords& input) {
    std::memset(&input, 0, sizeof input);
}

int mapKey(int key) {
    if (key >= '0' && key <= '9') return key;
    if (key >= 'A' && key <= 'Z') key += 'a' - 'A';
    for (int i = 0; LatinKeys[i] != '\0'; ++i)
        if (LatinKeys[i] == key) return static_cast<unsigned char>(CyrillicLetters[i]);
    return 0;
}

int readInputLine(InputWords& input, int row, WINDOW* window) {
    input.closedWords = 0;
    LineState line{input, row, window, 0, 0, 0, LineStart, false};
    if (settings.casualMode) drawVerbMenu();
    setPair(window, SystemPair);
    while (!line.done) {
        int key = readKey(window);
        if (key == KeyNone)
            showNextSpinnerStep(line);
        else
            handleKey(line, key);
    }
    setPair(window, NormalPair);
    return 1;
}

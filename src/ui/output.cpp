#include "ui/output.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "shell/config.h"
#include "ui/cp866.h"

namespace {

constexpr int RowWidth = 80;
constexpr int LastColumn = RowWidth - 1;
constexpr int DescriptionColumn = 2;
constexpr int ExitsColumn = 20;  // right after the exits header

// Room for "счет +", every digit of a 32-bit score and the NUL.
constexpr int ScoreLineSize = 32;

int lengthOf(const char* text) {
    return static_cast<int>(std::strlen(text));
}

// Bytes from `from` to the next space of text[0, length), or -1 when none
// follows. Markup bytes count like any other.
int distanceToNextSpace(const char* text, int from, int length) {
    for (int j = from + 1; j < length; ++j)
        if (text[j] == ' ') return j - from;
    return -1;
}

// True when the word after the space at `i`, written from running column
// `column`, would reach past the row's last column.
bool wordOverflows(const char* text, int i, int length, int column) {
    int distance = distanceToNextSpace(text, i, length);
    return column % RowWidth + distance > LastColumn;
}

// The running column of the last cell of the row `column` lies on.
int lastColumnOfRow(int column) {
    return column / RowWidth * RowWidth + LastColumn;
}

// Switches the highlight and the window's pair with it.
void toggleHighlight(bool& highlight, WINDOW* window) {
    highlight = !highlight;
    setPair(window, highlight ? HighlightPair : NormalPair);
}

// Adds the points to the game's score, stopping at the largest score rather
// than wrapping round to a negative one.
void creditScore(int32_t points) {
    int64_t total = static_cast<int64_t>(game.score) + points;
    game.score = total > INT32_MAX ? INT32_MAX : static_cast<int32_t>(total);
}

// The score line on the row below the action's text, in the system colour.
void printScoreLine(int32_t points, WINDOW* window, int& outputRow) {
    setPair(window, SystemPair);
    advanceRow(outputRow, window);
    char line[ScoreLineSize];
    std::snprintf(line, sizeof line, "%s%d", "счет +"_cp, static_cast<int>(points));
    printAt(line, window, outputRow, 0);
    creditScore(points);
}

// "Вы видите выходы к: " and the open directions, on row `row`.
void printExitsLine(const Scene& scene, WINDOW* window, int row) {
    const int32_t exits[] = {scene.exitEast, scene.exitWest, scene.exitNorth, scene.exitSouth};
    const char* names[] = {"востоку"_cp, "западу"_cp, "северу"_cp, "югу"_cp};
    writeText(window, row, 0, "Вы видите выходы к: "_cp);
    int column = ExitsColumn;
    bool first = true;
    for (int k = 0; k < 4; ++k) {
        if (exits[k] == -1) continue;
        if (!first) {
            writeText(window, row, column, ", ");
            column += 2;
        }
        writeText(window, row, column, names[k]);
        column += lengthOf(names[k]);
        first = false;
    }
    writeText(window, row, column, ".");
}

}  // namespace

void advanceRow(int& outputRow, WINDOW* window) {
    ++outputRow;
    while (outputRow > game.lastOutputRow) {
        scrollUp(window);
        --outputRow;
    }
}

int selectVariant(const char* text, int state) {
    int length = lengthOf(text);
    int atSigns = 0;
    for (int i = 0; i < length; ++i) {
        if (atSigns == state) return i;
        if (text[i] == '@') ++atSigns;
    }
    return 0;
}

void writeWrapped(const char* text, int start, bool atSignEnds, bool starIsMarkup, int column,
                  int& outputRow, WINDOW* window) {
    int length = lengthOf(text);
    bool highlight = false;
    for (int i = start < 0 ? 0 : start; i < length; ++i) {
        char byte = text[i];
        if (atSignEnds && byte == '@') return;
        if (starIsMarkup && byte == '*') {
            toggleHighlight(highlight, window);
            continue;
        }
        bool broke = byte == ' ' && settings.wordWrap && wordOverflows(text, i, length, column);
        if (broke) {
            advanceRow(outputRow, window);
            column = lastColumnOfRow(column);
        }
        writeByte(window, outputRow, column % RowWidth, static_cast<unsigned char>(byte));
        ++column;
        if (column % RowWidth == 0 && !broke) advanceRow(outputRow, window);
    }
}

void printAt(const char* text, WINDOW* window, int row, int column) {
    if (!settings.wordWrap) {
        writeText(window, row + column / RowWidth, column % RowWidth, text);
        return;
    }
    int length = lengthOf(text);
    for (int i = 0; i < length; ++i, ++column) {
        if (text[i] == ' ' && wordOverflows(text, i, length, column))
            column = lastColumnOfRow(column);
        writeByte(window, row + column / RowWidth, column % RowWidth,
                  static_cast<unsigned char>(text[i]));
    }
}

void printActionText(const Action& action, WINDOW* window, int& outputRow) {
    writeWrapped(action.text, 0, false, true, DescriptionColumn, outputRow, window);
    if (action.score > 0 && action.state != RepeatableDone)
        printScoreLine(action.score, window, outputRow);
    advanceRow(outputRow, window);
}

void printObjectDescription(const SceneObject& object, WINDOW* window, int& outputRow) {
    int start = selectVariant(object.description, object.state);
    writeWrapped(object.description, start, true, true, DescriptionColumn, outputRow, window);
    advanceRow(outputRow, window);
}

void printSceneDescription(const Scene& scene, WINDOW* window, int& outputRow) {
    setPair(window, NormalPair);
    int start = selectVariant(scene.description, scene.state);
    writeWrapped(scene.description, start, true, true, DescriptionColumn, outputRow, window);
    ++outputRow;  // no scrolling yet: the exits line may use the spare row
    printExitsLine(scene, window, outputRow);
    advanceRow(outputRow, window);
}

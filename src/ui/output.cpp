#include "ui/output.h"

void advanceRow(int& outputRow, WINDOW*) {
    ++outputRow;
}

int selectVariant(const char*, int) {
    return 0;
}

void writeWrapped(const char*, int, bool, bool, int, int&, WINDOW*) {}

void printAt(const char* text, WINDOW* window, int row, int column) {
    writeText(window, row + column / 80, column % 80, text);
}

void printActionText(const Action&, WINDOW*, int&) {}
void printObjectDescription(const SceneObject&, WINDOW*, int&) {}
void printSceneDescription(const Scene&, WINDOW*, int&) {}

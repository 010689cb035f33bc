// Text output into the output window: word wrap, highlighting with "*",
// description variants separated by "@", and the row counter that scrolls.
#pragma once

#include "ui/terminal.h"
#include "world/world.h"

// Moves outputRow to the next row, scrolling the window while it lies below
// game.lastOutputRow.
void advanceRow(int& outputRow, WINDOW* window);

// The index at which the variant chosen by `state` starts; 0 when the state
// names no variant.
int selectVariant(const char* text, int state);

// Writes `text` from index `start` at `column` of outputRow, breaking lines by
// the word-wrap setting and advancing (and scrolling) the row as it goes.
void writeWrapped(const char* text, int start, bool atSignEnds, bool starIsMarkup, int column,
                  int& outputRow, WINDOW* window);

// Writes `text` as it is at (row, column); a column of 80 or more continues on
// the rows below. Never scrolls, changes no row counter and no attribute.
void printAt(const char* text, WINDOW* window, int row, int column);

// The action's text from column 2, then its score line when it earns points
// (crediting them to game.score).
void printActionText(const Action& action, WINDOW* window, int& outputRow);

// The object's description variant chosen by its state, from column 2.
void printObjectDescription(const SceneObject& object, WINDOW* window, int& outputRow);

// The scene's description variant chosen by its state, then its exits line.
void printSceneDescription(const Scene& scene, WINDOW* window, int& outputRow);

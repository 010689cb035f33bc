// The command interpreter: built-in commands first, then the action engine.
#pragma once

#include "ui/input_line.h"
#include "ui/terminal.h"

// True when the typed word equals `word`, or is at least three bytes long and
// `word` begins with it.
bool isAbbreviationOf(const char* typed, const char* word);

// Waits for a lower-case Latin y or n; true for y.
bool waitYesNo(WINDOW* window);

// Carries out one command line; returns 0 when the game must end, 1 otherwise.
int interpretCommand(InputWords& input, int& outputRow, WINDOW* window);

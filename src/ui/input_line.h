// The command line: keys of a Latin keyboard typed as Cyrillic letters and
// split into words while they are typed.
#pragma once

#include <cstdint>

#include "ui/terminal.h"

constexpr int MaxWords = 10;
constexpr int WordSize = 80;  // at most 79 bytes and the NUL

struct InputWords {
    char words[MaxWords][WordSize];
    int32_t closedWords;  // words closed by a space: the index of the word the line ended in
};

// Zeroes every word and closedWords.
void clearInputWords(InputWords& input);

// The CP866 letter on the same key of the Russian layout, the digit itself, or
// 0 for every other key.
int mapKey(int key);

// Reads one command line on `row` of `window` until it is complete; returns 1.
int readInputLine(InputWords& input, int row, WINDOW* window);

// An off-screen curses screen for screen-layer tests: a real curses screen of
// a forced size that writes to nowhere, whose cells and colour pairs are read
// back, and whose keys are fed into the curses input queue.
#pragma once

#include <string>
#include <vector>

#include "ui/terminal.h"

class CursesScreen {
public:
    // Opens the screen (25 x 80 unless told otherwise) with the game's three
    // colour pairs defined and the UTF-8 character set.
    explicit CursesScreen(int rows = 25, int columns = 80);
    ~CursesScreen();
    CursesScreen(const CursesScreen&) = delete;
    CursesScreen& operator=(const CursesScreen&) = delete;

    // A new window of the screen, deleted with it; scrolling on, as for the
    // game's output window, with a time-out of 0 so that reads never wait.
    WINDOW* window(int rows = 25, int columns = 80, int top = 0, int left = 0);

    // One row of a window as UTF-8, trailing blanks removed.
    static std::string rowText(WINDOW* window, int row);
    // The characters of a window row from `column` on, `length` cells, as UTF-8.
    static std::string cellsText(WINDOW* window, int row, int column, int length);
    // The colour pair of one cell.
    static int pairAt(WINDOW* window, int row, int column);

    // Queues keys so that the next reads return them in this order. A KeyNone
    // (-1) in the list reads as a read that timed out. The queue holds about
    // 130 keys; more throws.
    static void feedKeys(const std::vector<int>& keys);
    // Queues the keys of a text of Latin letters and punctuation, byte by byte.
    static void feedText(const std::string& keys);

private:
    SCREEN* screen_;
    FILE* output_;
    FILE* input_;
    std::vector<WINDOW*> windows_;
};

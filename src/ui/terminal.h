// The one door to the terminal.
//
// Every curses call that writes a game byte, sets a colour pair, scrolls or
// reads a key goes through here. This is the only place where CP866 bytes
// become what the terminal shows: Unicode characters under a UTF-8 locale,
// the bytes themselves under any other (a CP866 console).
#pragma once

#ifndef NCURSES_WIDECHAR
#define NCURSES_WIDECHAR 1
#endif
#include <ncursesw/curses.h>

// Takes the character set from the locale (LC_ALL from the environment) and
// starts curses: colours with the terminal's defaults, cbreak, no echo, no
// cursor.
void startTerminal();

// Chooses the output character set from the current locale. startTerminal
// calls it; tests that open their own curses screen call it too.
void chooseTerminalCharset();

// Gives the terminal back (curses mode ends).
void stopTerminal();

// Writes a CP866 text with one curses string write at (row, column); a long
// text continues on the following rows as curses places it.
void writeText(WINDOW* window, int row, int column, const char* text);

// Writes one CP866 byte into the cell (row, column).
void writeByte(WINDOW* window, int row, int column, unsigned char byte);

// Replaces the window's whole drawing attribute with colour pair `pair`
// (0: the normal attribute).
void setPair(WINDOW* window, int pair);

// Gives the window's background colour pair `pair`.
void setBackgroundPair(WINDOW* window, int pair);

// Scrolls the window up by one line.
void scrollUp(WINDOW* window);

// Defines curses colour `colour` from red, green and blue (0 to 1000), and
// colour pair `pair` from two colours. Refusals by the terminal go unnoticed.
void defineColour(int colour, int red, int green, int blue);
void definePair(int pair, int foreground, int background);

// Key codes after normalisation: what today's terminals send for Backspace
// (127, KEY_BACKSPACE) arrives as 8, the keypad Enter (KEY_ENTER) as 10.
constexpr int KeyBackspace = 8;
constexpr int KeyEnter = 10;
constexpr int KeyReturn = 13;
constexpr int KeyNone = -1;  // the read timed out
constexpr int KeyLeft = KEY_LEFT;
constexpr int KeyRight = KEY_RIGHT;

// Reads one key from the window (its time-out applies); -1 when none came.
// An interrupt requested meanwhile ends the program here, with status 0 and
// the terminal restored.
int readKey(WINDOW* window);

// Asks the next key read to end the program. Safe inside a signal handler.
void requestInterrupt();

// The three colour pairs of the game.
enum ColourPair : int {
    NormalPair = 1,     // ordinary text, the output and menu background
    HighlightPair = 2,  // marked words, object names, the command echo
    SystemPair = 3,     // the typed line, messages and questions, the heading
};

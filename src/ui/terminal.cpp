#include "ui/terminal.h"

#include <langinfo.h>

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "ui/cp866.h"

namespace {

bool unicodeTerminal = true;
volatile std::sig_atomic_t interruptRequested = 0;

constexpr int WideChunk = 256;

// Writes `length` CP866 bytes as wide characters, in chunks; the first chunk
// goes to (row, column), the rest follows where curses left the cursor.
void writeWide(WINDOW* window, int row, int column, const char* text, std::size_t length) {
    wchar_t chunk[WideChunk + 1];
    bool first = true;
    for (std::size_t done = 0; done < length;) {
        std::size_t n = 0;
        for (; n < WideChunk && done + n < length; ++n)
            chunk[n] =
                static_cast<wchar_t>(cp866Unicode[static_cast<unsigned char>(text[done + n])]);
        chunk[n] = L'\0';
        if (first)
            mvwaddnwstr(window, row, column, chunk, static_cast<int>(n));
        else
            waddnwstr(window, chunk, static_cast<int>(n));
        first = false;
        done += n;
    }
}

}  // namespace

void chooseTerminalCharset() {
    const char* codeset = nl_langinfo(CODESET);
    unicodeTerminal = codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
}

void startTerminal() {
    std::setlocale(LC_ALL, "");
    chooseTerminalCharset();
    initscr();
    start_color();
    use_default_colors();
    cbreak();
    noecho();
    curs_set(0);
}

void stopTerminal() {
    endwin();
}

void writeText(WINDOW* window, int row, int column, const char* text) {
    if (unicodeTerminal)
        writeWide(window, row, column, text, std::strlen(text));
    else
        mvwaddstr(window, row, column, text);
}

void writeByte(WINDOW* window, int row, int column, unsigned char byte) {
    if (unicodeTerminal) {
        wchar_t wide[2] = {static_cast<wchar_t>(cp866Unicode[byte]), L'\0'};
        mvwaddnwstr(window, row, column, wide, 1);
    } else {
        mvwaddch(window, row, column, byte);
    }
}

void setPair(WINDOW* window, int pair) {
    wattrset(window, COLOR_PAIR(pair));
}

void setBackgroundPair(WINDOW* window, int pair) {
    wbkgd(window, COLOR_PAIR(pair));
}

void scrollUp(WINDOW* window) {
    scroll(window);
}

void defineColour(int colour, int red, int green, int blue) {
    init_color(static_cast<short>(colour), static_cast<short>(red), static_cast<short>(green),
               static_cast<short>(blue));
}

void definePair(int pair, int foreground, int background) {
    init_pair(static_cast<short>(pair), static_cast<short>(foreground),
              static_cast<short>(background));
}

int readKey(WINDOW* window) {
    int key = wgetch(window);
    if (interruptRequested) {
        endwin();
        std::exit(0);
    }
    switch (key) {
        case 127:
        case KEY_BACKSPACE:
            return KeyBackspace;
        case KEY_ENTER:
            return KeyEnter;
        case ERR:
            return KeyNone;
        default:
            return key;
    }
}

void requestInterrupt() {
    interruptRequested = 1;
}

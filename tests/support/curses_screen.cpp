#include "support/curses_screen.h"

#include <clocale>
#include <cstdlib>
#include <cwchar>
#include <stdexcept>

namespace {

std::string utf8Of(wchar_t c) {
    std::string out;
    auto code = static_cast<unsigned>(c);
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

// The first character and the colour pair of one cell.
struct Cell {
    wchar_t character;
    short pair;
};

Cell readCell(WINDOW* window, int row, int column) {
    cchar_t cell;
    wchar_t wide[CCHARW_MAX + 1] = {};
    attr_t attributes;
    short pair = 0;
    mvwin_wch(window, row, column, &cell);
    getcchar(&cell, wide, &attributes, &pair, nullptr);
    return {wide[0], pair};
}

}  // namespace

CursesScreen::CursesScreen(int rows, int columns) {
    std::setlocale(LC_ALL, "C.UTF-8");
    chooseTerminalCharset();
    setenv("LINES", std::to_string(rows).c_str(), 1);
    setenv("COLUMNS", std::to_string(columns).c_str(), 1);
    output_ = std::fopen("/dev/null", "w");
    input_ = std::fopen("/dev/null", "r");
    screen_ = newterm("xterm-256color", output_, input_);
    if (screen_ == nullptr) throw std::runtime_error("newterm failed");
    set_term(screen_);
    start_color();
    use_default_colors();
    definePair(NormalPair, COLOR_WHITE, COLOR_BLUE);
    definePair(HighlightPair, COLOR_RED, COLOR_BLUE);
    definePair(SystemPair, COLOR_GREEN, COLOR_BLUE);
}

CursesScreen::~CursesScreen() {
    for (WINDOW* w : windows_) delwin(w);
    endwin();
    delscreen(screen_);
    std::fclose(output_);
    std::fclose(input_);
}

WINDOW* CursesScreen::window(int rows, int columns, int top, int left) {
    WINDOW* w = newwin(rows, columns, top, left);
    if (w == nullptr) throw std::runtime_error("newwin failed");
    scrollok(w, TRUE);
    keypad(w, TRUE);
    wtimeout(w, 0);
    windows_.push_back(w);
    return w;
}

std::string CursesScreen::cellsText(WINDOW* window, int row, int column, int length) {
    std::string text;
    for (int c = column; c < column + length && c < getmaxx(window); ++c) {
        wchar_t character = readCell(window, row, c).character;
        text += utf8Of(character == L'\0' ? L' ' : character);
    }
    return text;
}

std::string CursesScreen::rowText(WINDOW* window, int row) {
    std::string text = cellsText(window, row, 0, getmaxx(window));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

int CursesScreen::pairAt(WINDOW* window, int row, int column) {
    return readCell(window, row, column).pair;
}

void CursesScreen::feedKeys(const std::vector<int>& keys) {
    // ungetch pushes onto a stack: the last pushed is read first.
    // A full queue would lose keys and leave a line reader waiting forever.
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
        if (ungetch(*key) == ERR) throw std::runtime_error("curses key queue full");
}

void CursesScreen::feedText(const std::string& keys) {
    std::vector<int> codes;
    for (unsigned char c : keys) codes.push_back(c);
    feedKeys(codes);
}

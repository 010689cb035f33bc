#include "ui/terminal.h"

#include <gtest/gtest.h>

#include "support/curses_screen.h"
#include "ui/cp866.h"

namespace {

TEST(TerminalDoor, Cp866TextReachesTheScreenAsCyrillic) {
    CursesScreen screen;
    WINDOW* w = screen.window();
    setPair(w, HighlightPair);
    writeText(w, 2, 5, "Пока! ёЁ"_cp);
    writeByte(w, 3, 0, 0xA0);  // а
    EXPECT_EQ(CursesScreen::rowText(w, 2), "     Пока! ёЁ");
    EXPECT_EQ(CursesScreen::rowText(w, 3), "а");
    EXPECT_EQ(CursesScreen::pairAt(w, 2, 5), HighlightPair);
}

TEST(TerminalDoor, ModernKeysArriveAsTheClassicCodes) {
    CursesScreen screen;
    WINDOW* w = screen.window();
    CursesScreen::feedKeys({127, KEY_BACKSPACE, KEY_ENTER, 'x', KEY_LEFT});
    EXPECT_EQ(readKey(w), KeyBackspace);
    EXPECT_EQ(readKey(w), KeyBackspace);
    EXPECT_EQ(readKey(w), KeyEnter);
    EXPECT_EQ(readKey(w), 'x');
    EXPECT_EQ(readKey(w), KeyLeft);
    EXPECT_EQ(readKey(w), KeyNone);
}

}  // namespace

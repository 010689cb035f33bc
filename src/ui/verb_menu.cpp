#include "ui/verb_menu.h"

#include <cstring>

#include "shell/shell.h"
#include "ui/output.h"
#include "world/world.h"

int selectedVerb = 0;

namespace {

constexpr int RowWidth = 80;
constexpr int MenuRows = 2;

// Writes the name at running cell `cell`, cut at the window's right edge so
// that an overlong name never spills onto the rows below.
void drawName(const char* name, int length, int cell) {
    int room = RowWidth - cell % RowWidth;
    char shown[RowWidth + 1];
    int shownLength = length < room ? length : room;
    std::memcpy(shown, name, static_cast<std::size_t>(shownLength));
    shown[shownLength] = '\0';
    printAt(shown, MenuWindow, cell / RowWidth, cell % RowWidth);
}

}  // namespace

void drawVerbMenu() {
    setPair(MenuWindow, NormalPair);
    int verbCount = inUse(game.verbCount, MaxVerbs);
    int cell = 0;
    for (int i = 0; i < verbCount; ++i) {
        if (i == selectedVerb) setPair(MenuWindow, SystemPair);
        if (i == selectedVerb + 1) setPair(MenuWindow, NormalPair);
        const char* name = game.verbs[i].name;
        int length = static_cast<int>(strnlen(name, VerbNameSize));
        int room = RowWidth - cell % RowWidth;
        if (room < length) cell += room;  // a name that does not fit starts the next row
        if (cell / RowWidth < MenuRows) drawName(name, length, cell);
        cell += length + 1;
    }
    wrefresh(MenuWindow);
}

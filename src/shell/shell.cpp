#include "shell/shell.h"

#include <csignal>
#include <cstring>

#include "interp/interpreter.h"
#include "shell/config.h"
#include "ui/cp866.h"
#include "ui/input_line.h"
#include "ui/output.h"
#include "ui/verb_menu.h"
#include "world/scene_file.h"
#include "world/verb_file.h"
#include "world/world.h"

WINDOW* OuterWindow = nullptr;
WINDOW* OutputWindow = nullptr;
WINDOW* InputWindow = nullptr;
WINDOW* MenuWindow = nullptr;

namespace {

enum ExitStatus : int {
    NormalExit = 0,
    NoWindow = 1,
};

// The game area and, in casual mode, its three bands.
constexpr int AreaRows = 25;
constexpr int AreaColumns = 80;
constexpr int CasualOutputRows = 22;
constexpr int InputTop = 22;
constexpr int InputRows = 1;
constexpr int MenuTop = 23;
constexpr int MenuRows = 2;

constexpr int KeyTimeout = 200;   // milliseconds; paces the spinner and every wait
constexpr int FirstSceneRow = 3;  // rows 0 and 1 hold the heading, row 2 stays empty
constexpr int HeadingCentre = 40;

int outputRow;  // the row of the output window where the next output starts
bool quitRequested;
InputWords inputWords;

void setStartValues() {
    settings = Settings{};
    game.currentScene = 1;
    game.lastOutputRow = 20;
    outputRow = FirstSceneRow;
    quitRequested = false;
}

// No SA_RESTART: a key read blocked in the terminal returns at once, and the
// interrupt is acted on right there.
void installInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
}

// The top-left corner of the game area, centred on the terminal.
int areaTop() {
    return (LINES - AreaRows) / 2;
}
int areaLeft() {
    return (COLS - AreaColumns) / 2;
}

// Creates a window as wide as the game area, `top` rows below the area's top;
// false when it would not fit on the terminal or curses refuses it.
bool createWindow(WINDOW*& window, int rows, int top) {
    int screenTop = areaTop() + top;
    bool fits = screenTop >= 0 && screenTop + rows <= LINES && areaLeft() >= 0 &&
                areaLeft() + AreaColumns <= COLS;
    window = fits ? newwin(rows, AreaColumns, screenTop, areaLeft()) : nullptr;
    return window != nullptr;
}

// The frame and, inside it, the output, menu and command-line bands.
bool createCasualWindows() {
    if (!createWindow(OuterWindow, AreaRows, 0) ||
        !createWindow(OutputWindow, CasualOutputRows, 0) ||
        !createWindow(MenuWindow, MenuRows, MenuTop) ||
        !createWindow(InputWindow, InputRows, InputTop))
        return false;
    wclear(OuterWindow);
    wclear(MenuWindow);
    wclear(InputWindow);
    setBackgroundPair(MenuWindow, NormalPair);
    setBackgroundPair(InputWindow, SystemPair);
    wrefresh(OuterWindow);
    wrefresh(MenuWindow);
    wrefresh(InputWindow);
    return true;
}

// Outside casual mode one window is both the frame and the output window.
bool createPlainWindow() {
    if (!createWindow(OuterWindow, AreaRows, 0)) return false;
    OutputWindow = OuterWindow;
    return true;
}

bool createWindows() {
    return settings.casualMode ? createCasualWindows() : createPlainWindow();
}

// Key reads time out after 200 ms and deliver arrow keys as single codes.
void enableKeyReads(WINDOW* window) {
    wtimeout(window, KeyTimeout);
    keypad(window, TRUE);
}

void prepareOutputWindow() {
    setBackgroundPair(OutputWindow, NormalPair);
    werase(OutputWindow);
    wrefresh(OutputWindow);
    setPair(OutputWindow, 0);
    enableKeyReads(OutputWindow);
    if (settings.casualMode) enableKeyReads(InputWindow);
    curs_set(0);
    scrollok(OutputWindow, TRUE);
}

void resetPlayState() {
    clearInputWords(inputWords);
    clearInventory();
    game.currentScene = 1;
}

// Writes a heading line centred on the 80 columns; one too long to centre
// starts at column 0.
void printCentred(const char* text, int row) {
    int column = HeadingCentre - static_cast<int>(std::strlen(text)) / 2;
    printAt(text, OutputWindow, row, column < 0 ? 0 : column);
}

// The first scene from row 3, then the game's title and subtitle above it.
void showFirstScreen() {
    printSceneDescription(game.scenes[game.currentScene], OutputWindow, outputRow);
    setPair(OutputWindow, SystemPair);
    printCentred(game.scenes[0].name, 0);
    printCentred(game.scenes[0].description, 1);
}

// Reads one command line: outside casual mode it stays in the transcript and
// the reply starts on the row below it.
void readCommandLine() {
    if (!settings.casualMode) {
        readInputLine(inputWords, outputRow, OutputWindow);
        ++outputRow;
        return;
    }
    readInputLine(inputWords, 0, InputWindow);
    wrefresh(OutputWindow);
    werase(InputWindow);
    wrefresh(InputWindow);
}

// Brings the row counter back onto the last output row, scrolling the
// window by as many lines as the output overshot.
void scrollBack() {
    if (outputRow <= game.lastOutputRow) return;
    for (int lines = outputRow - game.lastOutputRow; lines > 0; --lines) scrollUp(OutputWindow);
    outputRow = game.lastOutputRow;
}

void runCommandLoop() {
    while (!quitRequested) {
        wrefresh(OutputWindow);
        readCommandLine();
        setPair(OutputWindow, NormalPair);
        if (interpretCommand(inputWords, outputRow, OutputWindow) == 0) quitRequested = true;
        scrollBack();
        clearInputWords(inputWords);
    }
}

// Says goodbye and waits for a key; a timed-out read ends in the byte 0xFF.
void sayGoodbye() {
    setPair(OutputWindow, SystemPair);
    printAt("Пока!"_cp, OutputWindow, outputRow, 0);
    wrefresh(OutputWindow);
    int key;
    do key = readKey(OutputWindow);
    while ((key & 0xFF) == 0xFF);
}

int endProgram(ExitStatus status) {
    stopTerminal();
    return status;
}

}  // namespace

int runProgram() {
    setStartValues();
    startTerminal();
    installInterruptHandler();
    refresh();
    selectedVerb = 0;
    game.score = 0;
    readConfiguration();
    if (!createWindows()) return endProgram(NoWindow);
    game.lastOutputRow = getmaxy(OutputWindow) - 2;
    prepareOutputWindow();
    resetPlayState();
    loadVerbs();
    if (loadScenes() == SceneFileMissing) return endProgram(NormalExit);
    showFirstScreen();
    runCommandLoop();
    sayGoodbye();
    return endProgram(NormalExit);
}

void onInterrupt(int signal) {
    if (signal == SIGINT) requestInterrupt();
}

// The command path: typed command lines played through the interpreter on the
// demo game, on an off-screen curses screen. Each input starts from the world
// as loaded and without a saved game.
#include <cstdio>

#include "fuzz_inputs.h"
#include "fuzz_support.h"
#include "shell/config.h"

namespace {

WINDOW* window;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    enterScratchDirectory(argc, argv);
    openOffscreenScreen();
    window = newOffscreenWindow();
    copyDemoFile("mwk.cfg");
    readConfiguration();
    loadDemoWorld();
    game.lastOutputRow = getmaxy(window) - 2;
    rememberWorld();
    leaveScratchDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InScratchDirectory here;
    restoreWorld();
    std::remove("save.dat");
    playCommands(data, size, window);
    return 0;
}

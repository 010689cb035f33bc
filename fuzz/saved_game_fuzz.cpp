// The saved-game loader on any save.dat, against the demo game. A save it
// accepts is shown the way the load command shows it, and must survive being
// saved and loaded again.
#include <cstring>

#include "fuzz_checks.h"
#include "fuzz_inputs.h"
#include "fuzz_support.h"
#include "world/saved_game.h"

namespace {

WINDOW* window;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    enterScratchDirectory(argc, argv);
    openOffscreenScreen();
    window = newOffscreenWindow();
    loadDemoWorld();
    game.lastOutputRow = getmaxy(window) - 2;
    rememberWorld();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    restoreWorld();
    writeFuzzFile("save.dat", data, size);
    if (loadGame() == 0) return 0;
    checkScenes();
    showLoadedGame(window);
    require(saveGame() == 1, "save after a load");
    require(loadGame() == 1, "load of a save just written");
    return 0;
}

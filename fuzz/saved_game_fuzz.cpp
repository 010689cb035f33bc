// The saved-game loader on any save.dat, against the demo game. A save it
// accepts is shown the way the load command shows it, and saving and loading
// it again must give back the very same game.
#include <cstring>

#include "fuzz_checks.h"
#include "fuzz_inputs.h"
#include "fuzz_support.h"
#include "world/saved_game.h"

namespace {

WINDOW* window;

// The game as a load left it, the scenes in use only.
struct LoadedGame {
    int32_t currentScene;
    int32_t score;
    Inventory inventory;
    Scene scenes[MaxScenes];
};
LoadedGame loaded;

void keepLoadedGame() {
    loaded.currentScene = game.currentScene;
    loaded.score = game.score;
    loaded.inventory = game.inventory;
    std::memcpy(loaded.scenes, game.scenes, sizeof(Scene) * game.sceneCount);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    enterScratchDirectory(argc, argv);
    openOffscreenScreen();
    window = newOffscreenWindow();
    loadDemoWorld();
    game.lastOutputRow = getmaxy(window) - 2;
    rememberWorld();
    leaveScratchDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InScratchDirectory here;
    restoreWorld();
    writeFuzzFile("save.dat", data, size);
    if (loadGame() == 0) return 0;
    checkScenes();
    showLoadedGame(window);
    keepLoadedGame();
    require(saveGame() == 1, "save after a load");
    require(loadGame() == 1, "load of a save just written");
    require(sameLoadedGame(loaded.currentScene, loaded.score, loaded.inventory, loaded.scenes),
            "a save and a load give back the game");
    return 0;
}

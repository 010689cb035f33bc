// The command path on any world: the input holds scenes.dat, a NUL byte and
// command lines, played through the interpreter with the demo game's verb
// table. Whatever the scene file holds, playing it must stay inside the tables.
#include <cstdio>
#include <cstring>

#include "fuzz_checks.h"
#include "fuzz_inputs.h"
#include "fuzz_support.h"
#include "shell/config.h"
#include "world/saved_game.h"
#include "world/verb_file.h"

namespace {

WINDOW* window;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    enterScratchDirectory(argc, argv);
    openOffscreenScreen();
    window = newOffscreenWindow();
    copyDemoFile("mwk.cfg");
    readConfiguration();
    copyDemoFile("verbs.dat");
    resetGameState();
    loadVerbs();
    game.lastOutputRow = getmaxy(window) - 2;
    leaveScratchDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InScratchDirectory here;
    SplitInput parts = splitAtFirstNul(data, size);
    writeFuzzFile("scenes.dat", parts.before.data, parts.before.size);
    std::remove("save.dat");
    std::memset(game.scenes, 0, sizeof(Scene) * game.sceneCount);
    game.sceneCount = 0;
    game.score = 0;
    restartGame();
    checkScenes();
    playCommands(parts.after.data, parts.after.size, window);
    return 0;
}

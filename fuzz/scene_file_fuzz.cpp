// The scene file reader on any scenes.dat, with the demo game's verb table.
#include <cstring>

#include "fuzz_checks.h"
#include "fuzz_support.h"
#include "world/scene_file.h"
#include "world/verb_file.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    enterScratchDirectory(argc, argv);
    copyDemoFile("verbs.dat");
    resetGameState();
    loadVerbs();
    leaveScratchDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InScratchDirectory here;
    writeFuzzFile("scenes.dat", data, size);
    // Only the scenes the last input filled need emptying.
    std::memset(game.scenes, 0, sizeof(Scene) * game.sceneCount);
    game.sceneCount = 0;
    clearInventory();
    loadScenes();
    checkScenes();
    return 0;
}

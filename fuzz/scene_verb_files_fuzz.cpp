// The verb and scene file readers together: the input holds verbs.dat, a NUL
// byte and scenes.dat, so the scene reader meets any verb table.
#include <cstring>

#include "fuzz_checks.h"
#include "fuzz_inputs.h"
#include "fuzz_support.h"
#include "world/scene_file.h"
#include "world/verb_file.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    enterScratchDirectory(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TwoFiles files = splitVerbsAndScenes(data, size);
    writeFuzzFile("verbs.dat", files.verbs.data, files.verbs.size);
    writeFuzzFile("scenes.dat", files.scenes.data, files.scenes.size);
    std::memset(game.verbs, 0, sizeof game.verbs);
    game.verbCount = 0;
    std::memset(game.scenes, 0, sizeof(Scene) * game.sceneCount);
    game.sceneCount = 0;
    clearInventory();
    loadVerbs();
    checkVerbs();
    loadScenes();
    checkScenes();
    return 0;
}

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
    leaveScratchDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InScratchDirectory here;
    SplitInput files = splitAtFirstNul(data, size);
    writeFuzzFile("verbs.dat", files.before.data, files.before.size);
    writeFuzzFile("scenes.dat", files.after.data, files.after.size);
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

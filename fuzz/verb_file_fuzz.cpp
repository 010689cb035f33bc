// The verb file reader on any verbs.dat.
#include <cstring>

#include "fuzz_checks.h"
#include "fuzz_support.h"
#include "world/verb_file.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    enterScratchDirectory(argc, argv);
    leaveScratchDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InScratchDirectory here;
    writeFuzzFile("verbs.dat", data, size);
    std::memset(game.verbs, 0, sizeof game.verbs);
    game.verbCount = 0;
    loadVerbs();
    checkVerbs();
    return 0;
}

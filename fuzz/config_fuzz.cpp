// The configuration reader on any mwk.cfg; it defines colours, so it runs on
// an off-screen curses screen.
#include <cstring>

#include "fuzz_checks.h"
#include "fuzz_support.h"
#include "shell/config.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    enterScratchDirectory(argc, argv);
    openOffscreenScreen();
    leaveScratchDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InScratchDirectory here;
    writeFuzzFile("mwk.cfg", data, size);
    readConfiguration();
    require(terminated(settings.defaultReply), "default reply");
    return 0;
}

#include "fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "world/scene_file.h"
#include "world/verb_file.h"
#include "world/world.h"

namespace {

// Memory-backed when the system has it: every input writes a file, and a
// disk-backed directory makes that the slowest part of a run.
char sharedMemoryDirectory[] = "/dev/shm/mwk-fuzz-XXXXXX";
char temporaryDirectory[] = "/tmp/mwk-fuzz-XXXXXX";
const char* scratchDirectory = nullptr;
GameState rememberedWorld;

// Files the targets and the game write into the working directory.
const char* const ScratchFiles[] = {"verbs.dat", "scenes.dat", "mwk.cfg", "save.dat",
                                    "save.dat.pending"};

void removeScratchDirectory() {
    for (const char* name : ScratchFiles) std::remove(name);
    if (chdir("/") == 0) rmdir(scratchDirectory);
}

std::string startDirectory;
std::vector<std::string> arguments;
std::vector<char*> argumentPointers;

// The argument with a relative path in it, or the value of a flag, made
// absolute; anything else as it is.
std::string absoluteArgument(const std::string& argument) {
    size_t equals = argument.find('=');
    bool flag = argument.rfind("-", 0) == 0;
    if (flag && equals == std::string::npos) return argument;
    size_t start = flag ? equals + 1 : 0;
    std::string value = argument.substr(start);
    bool path = !value.empty() && value[0] != '/' &&
                (value.find('/') != std::string::npos || access(value.c_str(), F_OK) == 0);
    return path ? argument.substr(0, start) + startDirectory + "/" + value : argument;
}

void rewriteArguments(int* argc, char*** argv) {
    bool artifactPrefix = false;
    for (int i = 0; i < *argc; ++i) {
        arguments.push_back(i == 0 ? (*argv)[0] : absoluteArgument((*argv)[i]));
        artifactPrefix = artifactPrefix || arguments.back().rfind("-artifact_prefix=", 0) == 0;
    }
    if (!artifactPrefix)
        arguments.insert(arguments.begin() + 1, "-artifact_prefix=" + startDirectory + "/");
    for (std::string& argument : arguments) argumentPointers.push_back(argument.data());
    argumentPointers.push_back(nullptr);
    *argc = static_cast<int>(arguments.size());
    *argv = argumentPointers.data();
}

[[noreturn]] void giveUp(const char* what) {
    std::fprintf(stderr, "fuzz set-up failed: %s\n", what);
    std::abort();
}

}  // namespace

void enterScratchDirectory(int* argc, char*** argv) {
    char here[4096];
    if (getcwd(here, sizeof here) == nullptr) giveUp("no working directory");
    startDirectory = here;
    rewriteArguments(argc, argv);
    scratchDirectory = mkdtemp(sharedMemoryDirectory);
    if (scratchDirectory == nullptr) scratchDirectory = mkdtemp(temporaryDirectory);
    if (scratchDirectory == nullptr || chdir(scratchDirectory) != 0)
        giveUp("no temporary working directory");
    std::atexit(removeScratchDirectory);
}

void writeFuzzFile(const char* name, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(name, "wb");
    if (file == nullptr) giveUp(name);
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
}

void openOffscreenScreen() {
    std::setlocale(LC_ALL, "C.UTF-8");
    chooseTerminalCharset();
    setenv("LINES", "25", 1);
    setenv("COLUMNS", "80", 1);
    std::FILE* output = std::fopen("/dev/null", "w");
    std::FILE* input = std::fopen("/dev/null", "r");
    if (output == nullptr || input == nullptr) giveUp("/dev/null");
    SCREEN* screen = newterm("xterm-256color", output, input);
    if (screen == nullptr) giveUp("newterm");
    set_term(screen);
    start_color();
}

WINDOW* newOffscreenWindow() {
    WINDOW* window = newwin(25, 80, 0, 0);
    if (window == nullptr) giveUp("newwin");
    scrollok(window, TRUE);
    keypad(window, TRUE);
    wtimeout(window, 0);
    return window;
}

void copyDemoFile(const char* name) {
    char path[512];
    std::snprintf(path, sizeof path, "%s/demo/%s", MWK_GAMES_DIR, name);
    std::FILE* from = std::fopen(path, "rb");
    if (from == nullptr) giveUp(path);
    std::FILE* to = std::fopen(name, "wb");
    if (to == nullptr) giveUp(name);
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, from)) > 0;)
        std::fwrite(buffer, 1, n, to);
    std::fclose(from);
    std::fclose(to);
}

void loadDemoWorld() {
    copyDemoFile("verbs.dat");
    copyDemoFile("scenes.dat");
    resetGameState();
    loadVerbs();
    if (loadScenes() == SceneFileMissing || game.sceneCount < 2) giveUp("demo scenes");
}

void rememberWorld() {
    rememberedWorld = game;
}

void restoreWorld() {
    int32_t scenes =
        std::clamp(std::max(rememberedWorld.sceneCount, game.sceneCount), 0, MaxScenes);
    std::memcpy(game.scenes, rememberedWorld.scenes, sizeof(Scene) * scenes);
    game.currentScene = rememberedWorld.currentScene;
    game.score = rememberedWorld.score;
    game.inventory = rememberedWorld.inventory;
    game.sceneCount = rememberedWorld.sceneCount;
    std::memcpy(game.verbs, rememberedWorld.verbs, sizeof game.verbs);
    game.verbCount = rememberedWorld.verbCount;
    game.lastOutputRow = rememberedWorld.lastOutputRow;
}

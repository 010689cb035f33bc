#include "fuzz_support.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <csignal>
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
const char* const ScratchParents[] = {"/dev/shm", "/tmp"};
constexpr const char* ScratchPrefix = "mwk-fuzz-";
std::string scratchDirectory;
GameState rememberedWorld;

// Files the targets and the game write into the working directory.
const char* const ScratchFiles[] = {"verbs.dat", "scenes.dat", "mwk.cfg", "save.dat",
                                    "save.dat.pending"};

std::string startDirectory;

void enter(const char* directory) {
    if (chdir(directory) != 0) {
        std::fprintf(stderr, "fuzz: cannot enter %s\n", directory);
        std::abort();
    }
}

// Removes the files the game and the targets write, then the directory.
void removeDirectory(const std::string& directory) {
    for (const char* name : ScratchFiles) std::remove((directory + "/" + name).c_str());
    rmdir(directory.c_str());
}

void removeScratchDirectory() {
    if (chdir("/") == 0) removeDirectory(scratchDirectory);
}

// A run that crashes cannot remove its directory; each is named after its
// process, and those of processes that are gone are removed here.
void removeStaleDirectories(const char* parent) {
    DIR* listing = opendir(parent);
    if (listing == nullptr) return;
    size_t prefix = std::strlen(ScratchPrefix);
    while (const dirent* entry = readdir(listing)) {
        if (std::strncmp(entry->d_name, ScratchPrefix, prefix) != 0) continue;
        char* end;
        long pid = std::strtol(entry->d_name + prefix, &end, 10);
        if (*end == '\0' && pid > 0 && pid != getpid() && kill(static_cast<pid_t>(pid), 0) != 0 &&
            errno == ESRCH)
            removeDirectory(std::string(parent) + "/" + entry->d_name);
    }
    closedir(listing);
}

// The first parent that takes a directory named after this process.
bool makeScratchDirectory() {
    for (const char* parent : ScratchParents) {
        removeStaleDirectories(parent);
        std::string path = std::string(parent) + "/" + ScratchPrefix + std::to_string(getpid());
        if (mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) {
            scratchDirectory = path;
            return true;
        }
    }
    return false;
}

// libFuzzer writes a crash input while the input runs, inside the scratch
// directory: a relative path for it is made absolute, and by default it goes
// to the start directory.
std::vector<std::string> arguments;
std::vector<char*> argumentPointers;

std::string absoluteArtifactPath(const std::string& argument) {
    for (const char* flag : {"-artifact_prefix=", "-exact_artifact_path="}) {
        size_t length = std::strlen(flag);
        if (argument.compare(0, length, flag) == 0 && argument.size() > length &&
            argument[length] != '/')
            return flag + startDirectory + "/" + argument.substr(length);
    }
    return argument;
}

void rewriteArguments(int* argc, char*** argv) {
    bool artifactPrefix = false;
    for (int i = 0; i < *argc; ++i) {
        arguments.push_back(i == 0 ? (*argv)[0] : absoluteArtifactPath((*argv)[i]));
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
    if (!makeScratchDirectory()) giveUp("no temporary working directory");
    enter(scratchDirectory.c_str());
    std::atexit(removeScratchDirectory);
}

void leaveScratchDirectory() {
    enter(startDirectory.c_str());
}

InScratchDirectory::InScratchDirectory() {
    enter(scratchDirectory.c_str());
}

InScratchDirectory::~InScratchDirectory() {
    leaveScratchDirectory();
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

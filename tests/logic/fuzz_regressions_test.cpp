// Inputs on which a fuzz target once found a fault, and the targets' seeds,
// replayed through the same readers and decoded the same way as the target
// did: each must be taken without a sanitizer report (these tests run under
// ASan and UBSan too). tests/fixtures/fuzz/<target>/ holds the raw bytes each
// target reported; fuzz/corpus/<target>/ holds its seeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../../fuzz/fuzz_checks.h"
#include "../../fuzz/fuzz_inputs.h"
#include "shell/config.h"
#include "support/curses_screen.h"
#include "support/fixtures.h"
#include "world/saved_game.h"
#include "world/scene_file.h"
#include "world/verb_file.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

const fs::path TestsRoot = fs::path(__FILE__).parent_path().parent_path();
const fs::path FindingsRoot = TestsRoot / "fixtures" / "fuzz";
const fs::path SeedsRoot = TestsRoot.parent_path() / "fuzz" / "corpus";

// The target's findings, then its seeds, each in name order.
std::vector<fs::path> fixturesOf(const char* target) {
    std::vector<fs::path> all;
    for (const fs::path& root : {FindingsRoot, SeedsRoot}) {
        std::vector<fs::path> found;
        fs::path folder = root / target;
        if (fs::is_directory(folder))
            for (const fs::directory_entry& entry : fs::directory_iterator(folder))
                if (entry.is_regular_file()) found.push_back(entry.path());
        std::sort(found.begin(), found.end());
        all.insert(all.end(), found.begin(), found.end());
    }
    return all;
}

std::string bytesOf(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

std::string bytesOf(ByteSpan span) {
    return std::string(reinterpret_cast<const char*>(span.data), span.size);
}

const uint8_t* dataOf(const std::string& bytes) {
    return reinterpret_cast<const uint8_t*>(bytes.data());
}

// Copies a file of the demo game, as the build converted it, into `dir`.
void useDemoFile(const TempWorkDir& dir, const char* name) {
    std::string bytes = bytesOf(fs::path(MWK_GAMES_DIR) / "demo" / name);
    ASSERT_FALSE(bytes.empty()) << name;
    dir.writeBytes(name, bytes);
}

// Counts that their users rely on: within their tables.
void expectTablesInBounds() {
    EXPECT_GE(game.verbCount, 0);
    EXPECT_LE(game.verbCount, MaxVerbs);
    EXPECT_GE(game.sceneCount, 0);
    EXPECT_LE(game.sceneCount, MaxScenes);
    EXPECT_GE(game.inventory.count, 0);
    EXPECT_LE(game.inventory.count, MaxItems);
}

// Runs `replay` on each fixture of the target in a fresh working directory
// and a freshly reset game.
template <typename Replay>
void replayFixtures(const char* target, Replay replay) {
    std::vector<fs::path> fixtures = fixturesOf(target);
    ASSERT_FALSE(fixtures.empty()) << "no findings or seeds of " << target;
    for (const fs::path& fixture : fixtures) {
        SCOPED_TRACE(fixture.filename().string());
        TempWorkDir dir;
        resetGameState();
        replay(dir, bytesOf(fixture));
        expectTablesInBounds();
    }
}

TEST(FuzzRegressions, VerbFiles) {
    replayFixtures("verb_file_fuzz", [](const TempWorkDir& dir, const std::string& bytes) {
        dir.writeBytes("verbs.dat", bytes);
        loadVerbs();
    });
}

TEST(FuzzRegressions, SceneFilesWithTheDemoVerbs) {
    replayFixtures("scene_file_fuzz", [](const TempWorkDir& dir, const std::string& bytes) {
        useDemoFile(dir, "verbs.dat");
        loadVerbs();
        dir.writeBytes("scenes.dat", bytes);
        loadScenes();
    });
}

TEST(FuzzRegressions, VerbAndSceneFiles) {
    replayFixtures("scene_verb_files_fuzz", [](const TempWorkDir& dir, const std::string& bytes) {
        SplitInput files = splitAtFirstNul(dataOf(bytes), bytes.size());
        dir.writeBytes("verbs.dat", bytesOf(files.before));
        dir.writeBytes("scenes.dat", bytesOf(files.after));
        loadVerbs();
        loadScenes();
    });
}

TEST(FuzzRegressions, Configurations) {
    CursesScreen screen;
    replayFixtures("config_fuzz", [](const TempWorkDir& dir, const std::string& bytes) {
        dir.writeBytes("mwk.cfg", bytes);
        readConfiguration();
        EXPECT_LT(strnlen(settings.defaultReply, DefaultReplySize), DefaultReplySize);
    });
}

// The demo game as the command and saved-game targets load it.
void loadDemoGame(const TempWorkDir& dir, WINDOW* window) {
    useDemoFile(dir, "mwk.cfg");
    useDemoFile(dir, "verbs.dat");
    useDemoFile(dir, "scenes.dat");
    readConfiguration();
    loadVerbs();
    ASSERT_NE(loadScenes(), SceneFileMissing);
    game.lastOutputRow = getmaxy(window) - 2;
}

TEST(FuzzRegressions, SavedGamesOnTheDemo) {
    CursesScreen screen;
    WINDOW* window = screen.window();
    replayFixtures("saved_game_fuzz", [window](const TempWorkDir& dir, const std::string& bytes) {
        loadDemoGame(dir, window);
        settings = Settings{};
        dir.writeBytes("save.dat", bytes);
        if (loadGame() == 0) return;
        showLoadedGame(window);
        auto loaded = std::make_unique<GameState>(game);
        EXPECT_EQ(saveGame(), 1);
        EXPECT_EQ(loadGame(), 1);
        EXPECT_TRUE(
            sameLoadedGame(loaded->currentScene, loaded->score, loaded->inventory, loaded->scenes));
    });
}

TEST(FuzzRegressions, CommandsOnTheDemo) {
    CursesScreen screen;
    WINDOW* window = screen.window();
    replayFixtures("command_fuzz", [window](const TempWorkDir& dir, const std::string& bytes) {
        loadDemoGame(dir, window);
        playCommands(dataOf(bytes), bytes.size(), window);
    });
}

TEST(FuzzRegressions, CommandsOnAnyWorld) {
    CursesScreen screen;
    WINDOW* window = screen.window();
    replayFixtures("world_command_fuzz",
                   [window](const TempWorkDir& dir, const std::string& bytes) {
                       useDemoFile(dir, "mwk.cfg");
                       useDemoFile(dir, "verbs.dat");
                       readConfiguration();
                       loadVerbs();
                       game.lastOutputRow = getmaxy(window) - 2;
                       SplitInput parts = splitAtFirstNul(dataOf(bytes), bytes.size());
                       dir.writeBytes("scenes.dat", bytesOf(parts.before));
                       restartGame();
                       playCommands(parts.after.data, parts.after.size, window);
                   });
}

}  // namespace

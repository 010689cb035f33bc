#include "world/saved_game.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "world/scene_file.h"
#include "world/tokens.h"
#include "world/world.h"

namespace {

const char SavePath[] = "save.dat";
// The new save is written here first, so a failed write never harms the old one.
const char PendingSavePath[] = "save.dat.pending";

int32_t sceneTotal() {
    return inUse(game.sceneCount, MaxScenes);
}

// ---- Saving ----

struct SaveWriter {
    std::FILE* file;
    bool ok;  // every write so far succeeded
};

// Writes the number followed by `after` (a space, a line break or nothing).
void putNumber(SaveWriter& writer, int32_t value, const char* after) {
    if (writer.ok && std::fprintf(writer.file, "%d%s", static_cast<int>(value), after) < 0)
        writer.ok = false;
}

void putLineEnd(SaveWriter& writer) {
    if (writer.ok && std::fputc('\n', writer.file) == EOF) writer.ok = false;
}

// Writes the numbers, each followed by one space, then the line break.
void putSpacedLine(SaveWriter& writer, const int32_t* values, int32_t count) {
    for (int32_t k = 0; k < count; ++k) putNumber(writer, values[k], " ");
    putLineEnd(writer);
}

void putScene(SaveWriter& writer, const Scene& scene, bool carried) {
    putNumber(writer, scene.exitEast, " ");
    putNumber(writer, scene.exitWest, " ");
    putNumber(writer, scene.exitNorth, " ");
    putNumber(writer, scene.exitSouth, "\n");
    putNumber(writer, scene.state, "\n");
    int32_t actions = inUse(scene.actionCount, MaxActions);
    for (int32_t k = 0; k < actions; ++k) putNumber(writer, scene.actions[k].state, " ");
    putLineEnd(writer);
    int32_t objects = inUse(scene.objnum, MaxObjects);
    if (carried) {
        putNumber(writer, objects, "\n");
        for (int32_t k = 0; k < objects; ++k) {
            putNumber(writer, scene.objects[k].state, " ");
            putNumber(writer, scene.objects[k].id, "\n");
        }
        putLineEnd(writer);
        return;
    }
    for (int32_t k = 0; k < objects; ++k) putNumber(writer, scene.objects[k].state, " ");
    putLineEnd(writer);
}

void putGame(SaveWriter& writer) {
    putNumber(writer, game.currentScene, " ");
    putNumber(writer, game.score, "\n");
    int32_t carried = inUse(game.inventory.count, MaxItems);
    putNumber(writer, carried, " ");
    putSpacedLine(writer, game.inventory.items, carried);
    for (int32_t i = 0; i < sceneTotal(); ++i) putScene(writer, game.scenes[i], i == 0);
}

// Pushes the written bytes to the disk and closes the file; true when all of it worked.
bool finishFile(SaveWriter& writer) {
    bool ok = writer.ok && std::fflush(writer.file) == 0 && !std::ferror(writer.file) &&
              fsync(fileno(writer.file)) == 0;
    return std::fclose(writer.file) == 0 && ok;
}

// ---- Loading ----

struct SavedScene {
    int32_t exits[4];  // east, west, north, south
    int32_t state;
    int32_t actionStates[MaxActions];
    int32_t objectStates[MaxObjects];
};

// save.dat as read, kept apart from the game until all of it has been checked.
struct SavedGame {
    int32_t currentScene;
    int32_t score;
    int32_t count;
    ItemCode items[MaxItems];
    int32_t carriedIds[MaxObjects];  // scene 0's saved ids, `count` of them
    SavedScene scenes[MaxScenes];
};

SavedGame staged;
SceneObject stagedCarried[MaxObjects];  // scene 0's records rebuilt from the inventory

// Reads one number that fills its whole token; false on the end of the file,
// on a token that is no number and on one with more after the digits ("12abc").
bool takeNumber(TokenReader& reader, int32_t& out) {
    return readNumber(reader, out) && !reader.insideToken;
}

bool takeNumbers(TokenReader& reader, int32_t* out, int32_t count) {
    for (int32_t k = 0; k < count; ++k)
        if (!takeNumber(reader, out[k])) return false;
    return true;
}

// Scene 0's objects: their number must equal the inventory's, each a state and an id.
bool takeCarried(TokenReader& reader, SavedScene& saved) {
    int32_t objects = 0;
    if (!takeNumber(reader, objects) || objects != staged.count) return false;
    for (int32_t k = 0; k < objects; ++k) {
        int32_t& id = staged.carriedIds[k];
        if (!takeNumber(reader, saved.objectStates[k]) || !takeNumber(reader, id)) return false;
        if (id < 1 || id > staged.count) return false;
    }
    return true;
}

// One scene's numbers, as many as the scene in memory has actions and objects.
bool takeScene(TokenReader& reader, int32_t index) {
    const Scene& scene = game.scenes[index];
    SavedScene& saved = staged.scenes[index];
    if (!takeNumbers(reader, saved.exits, 4) || !takeNumber(reader, saved.state)) return false;
    if (!takeNumbers(reader, saved.actionStates, inUse(scene.actionCount, MaxActions)))
        return false;
    if (index == 0) return takeCarried(reader, saved);
    return takeNumbers(reader, saved.objectStates, inUse(scene.objnum, MaxObjects));
}

bool takeGame(TokenReader& reader) {
    if (!takeNumber(reader, staged.currentScene) || !takeNumber(reader, staged.score)) return false;
    if (!takeNumber(reader, staged.count) || staged.count < 0 || staged.count > MaxItems)
        return false;
    if (!takeNumbers(reader, staged.items, staged.count)) return false;
    for (int32_t i = 0; i < sceneTotal(); ++i)
        if (!takeScene(reader, i)) return false;
    return true;
}

// True when every carried object names a scene of the table and the player
// stands in one.
bool fitsWorld() {
    int32_t scenes = sceneTotal();
    if (staged.currentScene < 0 || staged.currentScene >= scenes) return false;
    for (int32_t k = 0; k < staged.count; ++k) {
        ItemCode code = staged.items[k];
        if (code <= 0 || code / 100 >= scenes) return false;
    }
    return true;
}

// The record of the carried object `code` in its home scene: the last one with
// its id, record 0 when none has it.
const SceneObject& homeRecord(ItemCode code) {
    const Scene& home = game.scenes[code / 100];
    int position = lastObjectPosition(home, code % 100);
    return home.objects[position < 0 ? 0 : position];
}

// Builds scene 0's new records from the world as it stands before the load.
void rebuildCarried() {
    const SavedScene& saved = staged.scenes[0];
    for (int32_t k = 0; k < staged.count; ++k) {
        int32_t id = staged.carriedIds[k];
        stagedCarried[k] = homeRecord(staged.items[id - 1]);
        stagedCarried[k].id = id;
        stagedCarried[k].state = saved.objectStates[k];
    }
}

void applyScene(int32_t index) {
    Scene& scene = game.scenes[index];
    const SavedScene& saved = staged.scenes[index];
    scene.exitEast = saved.exits[0];
    scene.exitWest = saved.exits[1];
    scene.exitNorth = saved.exits[2];
    scene.exitSouth = saved.exits[3];
    scene.state = saved.state;
    for (int32_t k = 0; k < inUse(scene.actionCount, MaxActions); ++k)
        scene.actions[k].state = saved.actionStates[k];
    if (index == 0) {
        std::memcpy(scene.objects, stagedCarried, sizeof(SceneObject) * staged.count);
        scene.objnum = staged.count;
        return;
    }
    for (int32_t k = 0; k < inUse(scene.objnum, MaxObjects); ++k)
        scene.objects[k].state = saved.objectStates[k];
}

void applyGame() {
    rebuildCarried();
    game.currentScene = staged.currentScene;
    game.score = staged.score;
    clearInventory();
    game.inventory.count = staged.count;
    std::memcpy(game.inventory.items, staged.items, sizeof(ItemCode) * staged.count);
    for (int32_t i = 0; i < sceneTotal(); ++i) applyScene(i);
}

}  // namespace

int saveGame() {
    SaveWriter writer{std::fopen(PendingSavePath, "w"), true};
    if (writer.file == nullptr) return 0;
    putGame(writer);
    if (finishFile(writer) && std::rename(PendingSavePath, SavePath) == 0) return 1;
    std::remove(PendingSavePath);
    return 0;
}

// Whatever follows the last number this world needs is ignored.
int loadGame() {
    TokenReader reader;
    if (!openTokens(reader, SavePath)) return 0;
    bool complete = takeGame(reader);
    closeTokens(reader);
    if (!complete || !fitsWorld()) return 0;
    applyGame();
    return 1;
}

int restartGame() {
    clearInventory();
    game.currentScene = 1;
    return loadScenes() == SceneFileMissing ? 0 : 1;
}

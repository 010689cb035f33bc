#include "world/scene_file.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* SceneFileName = "scenes.dat";

// scenes.dat, kept open while consecutive scenes are read.
TokenReader sceneFile{};

// Copies `text` into `out`, cut to fit `capacity`.
void copyText(char* out, int capacity, const char* text) {
    size_t length = strnlen(text, capacity - 1);
    std::memcpy(out, text, length);
    out[length] = '\0';
}

// The verb that an action's verb number names, or nullptr for a number
// outside the verb table in use.
const Verb* verbNumbered(int32_t number) {
    if (number < 0 || number > game.verbCount || number >= MaxVerbs) return nullptr;
    return &game.verbs[number];
}

// Reads triples into `list` until one whose kind is 0, which is stored too;
// triples beyond the table overwrite its last entry.
template <typename Entry, int Capacity>
bool readTriples(TokenReader& reader, Entry (&list)[Capacity]) {
    for (int k = 0;; k = std::min(k + 1, Capacity - 1)) {
        Entry& entry = list[k];
        if (!readNumber(reader, entry.kind) || !readNumber(reader, entry.a) ||
            !readNumber(reader, entry.b))
            return false;
        if (entry.kind == 0) return true;
    }
}

// Reads inventory-change pairs until one whose key is 0, stored too.
bool readItemChanges(TokenReader& reader, Action& action) {
    for (int k = 0;; k = std::min(k + 1, MaxItemChanges - 1)) {
        if (!readNumber(reader, action.itemIds[k]) || !readNumber(reader, action.itemScenes[k]))
            return false;
        if (action.itemIds[k] == 0) return true;
    }
}

// Reads one action; `verbNumber` is its verb number.
bool readAction(TokenReader& reader, Action& action, int32_t& verbNumber) {
    if (!readNumber(reader, verbNumber)) return false;
    const Verb* verb = verbNumbered(verbNumber);
    bool twoObjects = verb != nullptr && verb->objectCount == 2;
    copyText(action.verbName, ActionVerbNameSize, verb != nullptr ? verb->name : "");
    action.what2 = 0;
    if (!readNumber(reader, action.patternLength) || !readNumber(reader, action.what) ||
        (twoObjects && !readNumber(reader, action.what2)) || !readNumber(reader, action.where))
        return false;
    // Each list comes after a separator.
    if (!skipToken(reader) || !readTriples(reader, action.conditions)) return false;
    if (!skipToken(reader) || !readTriples(reader, action.effects)) return false;
    if (!skipToken(reader) || !readItemChanges(reader, action)) return false;
    return readNumber(reader, action.state) && readNumber(reader, action.score) &&
           readNumber(reader, action.num) && readTextRun(reader, action.text, ActionTextSize);
}

// Reads actions up to the one whose verb number is 0, counting it too.
bool readActions(TokenReader& reader, Scene& scene) {
    for (int k = 0;; k = std::min(k + 1, MaxActions - 1)) {
        int32_t verbNumber;
        if (!readAction(reader, scene.actions[k], verbNumber)) return false;
        scene.actionCount = k + 1;
        if (verbNumber == 0) return true;
    }
}

bool readObject(TokenReader& reader, SceneObject& object) {
    object.state = 0;
    if (!readNumber(reader, object.id)) return false;
    for (char* form : object.nameForms)
        if (!readToken(reader, form, NameFormSize)) return false;
    return readTextRun(reader, object.description, ObjectDescriptionSize);
}

// Reads objects up to the one whose id is 0, which takes the next record but
// is not counted; scene 0's objects go into the inventory as well.
bool readObjects(TokenReader& reader, Scene& scene) {
    for (int k = 0;;) {
        SceneObject& object = scene.objects[k];
        if (!readObject(reader, object)) return false;
        if (object.id == 0) return true;
        if (k == MaxObjects - 1) continue;  // no room: read and dropped
        scene.objnum = ++k;
        Inventory& inventory = game.inventory;
        if (scene.index == 0 && inventory.count < MaxItems)
            inventory.items[inventory.count++] = object.id;
    }
}

}  // namespace

SceneReadResult readSceneFrom(TokenReader& reader, Scene& scene) {
    scene.name[0] = '\0';
    scene.description[0] = '\0';
    scene.exitEast = scene.exitWest = scene.exitNorth = scene.exitSouth = -1;
    scene.state = 0;
    scene.objnum = 0;
    scene.actionCount = 0;
    bool whole = readTextRun(reader, scene.name, SceneNameSize) &&
                 readTextRun(reader, scene.description, SceneDescriptionSize) &&
                 readNumber(reader, scene.exitEast) && readNumber(reader, scene.exitWest) &&
                 readNumber(reader, scene.exitNorth) && readNumber(reader, scene.exitSouth) &&
                 readObjects(reader, scene) && readActions(reader, scene);
    if (whole && skipToken(reader) && reader.afterAmpersand) return MoreScenes;
    return LastScene;
}

SceneReadResult readScene(Scene& scene) {
    if (!seekRecord(sceneFile, SceneFileName, scene.index)) return SceneFileMissing;
    SceneReadResult result = readSceneFrom(sceneFile, scene);
    if (result != MoreScenes) closeTokens(sceneFile);
    return result;
}

SceneReadResult loadScenes() {
    SceneReadResult result;
    int index = 0;
    do {
        game.scenes[index].index = index;
        result = readScene(game.scenes[index]);
        ++index;
    } while (result == MoreScenes && index < MaxScenes);
    game.sceneCount = index;
    closeTokens(sceneFile);
    return result;
}

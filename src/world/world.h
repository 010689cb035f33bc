// The whole game in memory: fixed-size records in statically allocated tables.
// Texts are NUL-terminated CP866 strings; every capacity includes the NUL.
#pragma once

#include <cstdint>

constexpr int MaxScenes = 50;
constexpr int MaxObjects = 100;  // the closing object of a list takes one record
constexpr int MaxActions = 100;  // the closing action included
constexpr int MaxVerbs = 30;     // the empty record after the last verb included
constexpr int MaxConditions = 100;
constexpr int MaxEffects = 100;
constexpr int MaxItemChanges = 10;
constexpr int MaxItems = 100;
constexpr int NameFormCount = 4;
constexpr int MaxSlots = 10;

constexpr int SceneDescriptionSize = 2000;
constexpr int SceneNameSize = 32;
constexpr int ObjectDescriptionSize = 1000;
constexpr int NameFormSize = 30;
constexpr int ActionVerbNameSize = 80;
constexpr int ActionTextSize = 500;
constexpr int VerbNameSize = 256;
constexpr int SlotWordSize = 30;

struct Condition {
    int32_t kind;  // the num of the tested action
    int32_t a;     // its scene
    int32_t b;     // the state it must be in
};

struct Effect {
    int32_t kind;
    int32_t a;
    int32_t b;
};

struct SceneObject {
    char description[ObjectDescriptionSize];
    char nameForms[NameFormCount][NameFormSize];  // nominative, instrumental, dative, accusative
    int32_t id;
    int32_t state;
};

struct Action {
    char verbName[ActionVerbNameSize];
    int32_t patternLength;
    int32_t what;
    int32_t what2;
    int32_t where;  // one object: its scene; two: scene1 * 1000 + scene2
    Condition conditions[MaxConditions];
    Effect effects[MaxEffects];
    int32_t itemIds[MaxItemChanges];
    int32_t itemScenes[MaxItemChanges];
    int32_t state;
    int32_t num;
    char text[ActionTextSize];
    int32_t score;
};

struct Scene {
    char description[SceneDescriptionSize];
    char name[SceneNameSize];
    SceneObject objects[MaxObjects];
    int32_t objnum;
    Action actions[MaxActions];
    int32_t actionCount;  // the closing action included
    int32_t index;
    int32_t exitEast;  // -1: no exit that way
    int32_t exitWest;
    int32_t exitNorth;
    int32_t exitSouth;
    int32_t state;
};

struct Verb {
    int32_t index;
    char name[VerbNameSize];
    int32_t slotCount;
    int32_t objectCount;
    int32_t firstForm;
    int32_t secondForm;
    char slotWords[MaxSlots][SlotWordSize];  // a fixed word, or "#" for the next object
};

// Home scene * 100 + object id.
using ItemCode = int32_t;

struct Inventory {
    ItemCode items[MaxItems];  // entries from count on are 0
    int32_t count;
};

struct GameState {
    int32_t currentScene;
    int32_t score;
    Inventory inventory;
    Scene scenes[MaxScenes];
    int32_t sceneCount;
    Verb verbs[MaxVerbs];
    int32_t verbCount;
    int32_t lastOutputRow;
};

extern GameState game;

// Action states that the engine gives a meaning to.
enum ActionState : int32_t {
    Pending = 0,
    Done = 1,
    RepeatablePending = 2,
    RepeatableDone = 3,
};

// Zeroes every table and sets the start values: scene 1, score 0, empty inventory.
void resetGameState();

// Empties the inventory: count 0 and every entry 0.
void clearInventory();

// `count` held to 0..capacity: how many records of a table may be read,
// whatever number the game data or a saved game put there.
int inUse(int count, int capacity);

// The last position among the scene's objects in use whose id is `id`; -1 when
// none.
int lastObjectPosition(const Scene& scene, int id);

#include "interp/effects.h"

#include <cstdint>

#include "interp/tables.h"
#include "ui/output.h"

namespace {

// What an effect triple does, decided once from its kind (and, for -1, its b).
enum class EffectCase {
    EndOfList,
    SetExit,         // kind 1000 and up: exit b of scene kind - 1000 leads to a
    SetActionState,  // kind 1 to 999: action num kind of scene a gets state b
    EndGame,         // kind -1 with b -1
    SetSceneState,   // kind -1000: scene a gets state b
    SetObjectState,  // other negatives -n: object n of scene a gets state b
};

constexpr int SetExitBase = 1000;
constexpr int SceneStateKind = -1000;
constexpr int EndGameKind = -1;

EffectCase classify(const Effect& effect) {
    if (effect.kind == 0) return EffectCase::EndOfList;
    if (effect.kind >= SetExitBase) return EffectCase::SetExit;
    if (effect.kind > 0) return EffectCase::SetActionState;
    if (effect.kind == EndGameKind && effect.b == -1) return EffectCase::EndGame;
    if (effect.kind == SceneStateKind) return EffectCase::SetSceneState;
    return EffectCase::SetObjectState;
}

// Exit number 0 to 3 of the scene (east, west, north, south); null otherwise.
int32_t* exitField(Scene& scene, int number) {
    switch (number) {
        case 0:
            return &scene.exitEast;
        case 1:
            return &scene.exitWest;
        case 2:
            return &scene.exitNorth;
        case 3:
            return &scene.exitSouth;
        default:
            return nullptr;
    }
}

void setExit(const Effect& effect) {
    Scene* scene = loadedScene(effect.kind - SetExitBase);
    int32_t* exit = scene == nullptr ? nullptr : exitField(*scene, effect.b);
    if (exit != nullptr) *exit = effect.a;
}

void setActionState(const Effect& effect) {
    if (loadedScene(effect.a) == nullptr) return;
    game.scenes[effect.a].actions[findActionByNum(effect.a, effect.kind)].state = effect.b;
}

void setSceneState(const Effect& effect) {
    Scene* scene = loadedScene(effect.a);
    if (scene != nullptr) scene->state = effect.b;
}

// The object is counted from 1 in table order: kind -n names position n - 1.
void setObjectState(const Effect& effect) {
    Scene* scene = loadedScene(effect.a);
    int64_t position = -static_cast<int64_t>(effect.kind) - 1;
    if (scene == nullptr || position >= inUse(scene->objnum, MaxObjects)) return;
    scene->objects[position].state = effect.b;
}

// Applies the effects in list order; GameOver as soon as one ends the game.
ActionResult applyEffects(const Action& action) {
    for (const Effect& effect : action.effects) {
        switch (classify(effect)) {
            case EffectCase::EndOfList:
                return Performed;
            case EffectCase::SetExit:
                setExit(effect);
                break;
            case EffectCase::SetActionState:
                setActionState(effect);
                break;
            case EffectCase::EndGame:
                return GameOver;
            case EffectCase::SetSceneState:
                setSceneState(effect);
                break;
            case EffectCase::SetObjectState:
                setObjectState(effect);
                break;
        }
    }
    return Performed;
}

// The item code of object `id` of scene `sceneIndex`, when it fits an ItemCode.
bool itemCodeOf(int64_t sceneIndex, int64_t id, ItemCode& code) {
    int64_t wide = sceneIndex * 100 + id;
    if (wide < INT32_MIN || wide > INT32_MAX) return false;
    code = static_cast<ItemCode>(wide);
    return true;
}

// Puts object `id` of scene `sceneIndex` into the inventory, with its copy at
// the same position of scene 0. Nothing happens when the inventory is full or
// the scene is not loaded.
void takeItem(int sceneIndex, int id) {
    Inventory& inventory = game.inventory;
    ItemCode code;
    if (loadedScene(sceneIndex) == nullptr || !itemCodeOf(sceneIndex, id, code)) return;
    if (inventory.count < 0 || inventory.count >= MaxItems) return;
    SceneObject copy = game.scenes[sceneIndex].objects[findObjectById(sceneIndex, id)];
    inventory.items[inventory.count++] = code;
    copy.id = inventory.count;
    Scene& carried = game.scenes[0];
    carried.objects[inventory.count - 1] = copy;
    carried.objnum = inventory.count;
}

// Removes scene 0's copy with id `id`; the later copies move down and are
// renumbered, so that ids stay inventory positions.
void removeCarriedCopy(int id) {
    Scene& carried = game.scenes[0];
    int position = lastObjectPosition(carried, id);
    if (position < 0) return;
    int count = inUse(carried.objnum, MaxObjects);
    for (int p = position; p + 1 < count; ++p) {
        carried.objects[p] = carried.objects[p + 1];
        // An id read from the scene file may already be the lowest number.
        if (carried.objects[p].id > INT32_MIN) carried.objects[p].id -= 1;
    }
    carried.objnum = count - 1;
}

// Takes the last inventory entry holding `code` out, with its copy in scene
// 0. An item that is not carried is left alone.
void loseItem(int64_t code) {
    Inventory& inventory = game.inventory;
    int count = inUse(inventory.count, MaxItems);
    int position = -1;
    for (int p = 0; p < count; ++p)
        if (inventory.items[p] == code) position = p;
    if (position < 0) return;
    for (int p = position; p + 1 < count; ++p) inventory.items[p] = inventory.items[p + 1];
    inventory.items[count - 1] = 0;
    inventory.count = count - 1;
    removeCarriedCopy(position + 1);
}

// A positive value takes object `key` of that scene; 0 or less loses the
// object `key` of scene -value.
void applyItemChanges(const Action& action) {
    for (int i = 0; i < MaxItemChanges && action.itemIds[i] != 0; ++i) {
        int64_t key = action.itemIds[i];
        int64_t value = action.itemScenes[i];
        if (value > 0)
            takeItem(static_cast<int>(value), static_cast<int>(key));
        else
            loseItem(key - value * 100);
    }
}

// One-time and repeatable actions note that they have run.
void stepState(Action& action) {
    if (action.state == Pending) action.state = Done;
    if (action.state == RepeatablePending) action.state = RepeatableDone;
}

}  // namespace

int findActionByNum(int sceneIndex, int num) {
    const Scene* scene = loadedScene(sceneIndex);
    if (scene == nullptr) return 0;
    int found = 0;
    for (int p = 0; p < inUse(scene->actionCount, MaxActions); ++p)
        if (scene->actions[p].num == num) found = p;
    return found;
}

int findObjectById(int sceneIndex, int id) {
    const Scene* scene = loadedScene(sceneIndex);
    if (scene == nullptr) return 0;
    int position = lastObjectPosition(*scene, id);
    return position < 0 ? 0 : position;
}

bool conditionsHold(const Action& action) {
    for (const Condition& condition : action.conditions) {
        if (condition.kind == 0) return true;
        if (loadedScene(condition.a) == nullptr) return false;
        const Scene& scene = game.scenes[condition.a];
        if (scene.actions[findActionByNum(condition.a, condition.kind)].state != condition.b)
            return false;
    }
    return true;
}

ActionResult performAction(Action& action, int& outputRow, WINDOW* window) {
    stepState(action);
    ActionResult result = applyEffects(action);
    if (result == Performed) applyItemChanges(action);
    printActionText(action, window, outputRow);
    return result;
}

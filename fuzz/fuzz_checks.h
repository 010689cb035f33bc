// Checks of what the readers promise the rest of the game, run after each
// fuzz input: a broken promise aborts, so libFuzzer reports it like a crash.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "world/world.h"

// Aborts with `what` unless `holds`.
inline void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}

template <int Size>
bool terminated(const char (&text)[Size]) {
    return std::memchr(text, '\0', Size) != nullptr;
}

// The verb table holds counts and texts that its users can trust.
inline void checkVerbs() {
    require(game.verbCount >= 1 && game.verbCount <= MaxVerbs, "verbCount");
    for (int v = 0; v < game.verbCount; ++v) {
        const Verb& verb = game.verbs[v];
        require(verb.index == v, "verb index");
        require(verb.slotCount >= 0 && verb.slotCount <= MaxSlots, "slotCount");
        require(verb.firstForm >= 0 && verb.firstForm < NameFormCount, "firstForm");
        require(verb.secondForm >= 0 && verb.secondForm < NameFormCount, "secondForm");
        require(terminated(verb.name), "verb name");
        for (const auto& slot : verb.slotWords) require(terminated(slot), "slot word");
    }
}

// The scene table and the inventory hold counts within their tables and
// terminated texts.
inline void checkScenes() {
    require(game.sceneCount >= 1 && game.sceneCount <= MaxScenes, "sceneCount");
    require(game.inventory.count >= 0 && game.inventory.count <= MaxItems, "inventory count");
    for (int i = 0; i < game.sceneCount; ++i) {
        const Scene& scene = game.scenes[i];
        // A read scene keeps a record for its closing object; a loaded or
        // played scene 0 may fill every record with carried objects.
        require(scene.objnum >= 0 && scene.objnum <= MaxObjects, "objnum");
        require(scene.actionCount >= 0 && scene.actionCount <= MaxActions, "actionCount");
        require(terminated(scene.name) && terminated(scene.description), "scene texts");
        for (int o = 0; o < scene.objnum + 1 && o < MaxObjects; ++o) {
            const SceneObject& object = scene.objects[o];
            require(terminated(object.description), "object description");
            for (const auto& form : object.nameForms) require(terminated(form), "name form");
        }
        for (int a = 0; a < scene.actionCount; ++a) {
            const Action& action = scene.actions[a];
            require(terminated(action.verbName) && terminated(action.text), "action texts");
        }
    }
}

// Scene 0's carried records are rebuilt from their home scenes as they stand,
// and scene 0 is itself the home of what was carried from the start: a load
// may copy other texts into them than the load before did. True when their
// ids and states, and everything else, are as in `before`.
inline bool sameCarried(const Scene& before) {
    static Scene carried;
    carried = game.scenes[0];
    for (int o = 0; o < carried.objnum && o < MaxObjects; ++o) {
        const SceneObject& was = before.objects[o];
        if (carried.objects[o].id != was.id || carried.objects[o].state != was.state) return false;
    }
    std::memcpy(carried.objects, before.objects, sizeof carried.objects);
    return std::memcmp(&carried, &before, sizeof carried) == 0;
}

// True when the game holds what a load had left in it: the same place, score,
// inventory and scenes (scene 0 as sameCarried compares it).
inline bool sameLoadedGame(int32_t currentScene, int32_t score, const Inventory& inventory,
                           const Scene* scenes) {
    int32_t count = game.sceneCount;
    return game.currentScene == currentScene && game.score == score &&
           std::memcmp(&game.inventory, &inventory, sizeof inventory) == 0 && count >= 1 &&
           count <= MaxScenes && sameCarried(scenes[0]) &&
           std::memcmp(game.scenes + 1, scenes + 1, sizeof(Scene) * (count - 1)) == 0;
}

// Bounded access to the world's tables for the interpreter: whatever numbers
// the game data holds, lookups stay inside the tables and text buffers.
#pragma once

#include "world/world.h"

// The scene at `index` when it is one of the loaded scenes (below both
// sceneCount and the table's capacity); null otherwise.
Scene* loadedScene(int index);

// The last object of scene `sceneIndex` whose id is `id`; null when there is
// none or the scene is not loaded.
const SceneObject* objectWithId(int sceneIndex, int id);

// Appends as much of `text` as fits into `buffer` of `capacity` bytes, which
// stays NUL-terminated.
void appendCut(char* buffer, int capacity, const char* text);

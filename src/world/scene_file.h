// The world's file, scenes.dat.
#pragma once

#include "world/world.h"

enum SceneReadResult : int {
    SceneFileMissing = 0,  // scenes.dat cannot be opened; the record is untouched
    MoreScenes = 1,        // the scene was read and another follows
    LastScene = 2,         // the scene was read and it was the last one
};

// Reads the scene at position scene.index of scenes.dat into `scene`; scene 0's
// objects are appended to the inventory.
SceneReadResult readScene(Scene& scene);

// Reads every scene from position 0 while readScene reports another;
// sceneCount counts every call, the last one included. Returns the last result.
SceneReadResult loadScenes();

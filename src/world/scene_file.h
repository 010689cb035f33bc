// The world's file, scenes.dat.
#pragma once

#include "world/tokens.h"
#include "world/world.h"

enum SceneReadResult : int {
    SceneFileMissing = 0,  // scenes.dat cannot be opened, or holds no scene at that
                           // position; the record is untouched
    MoreScenes = 1,        // the scene was read and another follows
    LastScene = 2,         // the scene was read and it was the last one
};

// Reads the scene at position scene.index of scenes.dat into `scene`; scene 0's
// objects are appended to the inventory. While the caller asks for the next
// index after a result of 1, the file stays open and is read on from where the
// last scene ended.
SceneReadResult readScene(Scene& scene);

// Reads the scene that begins at the reader's position (right after its "&")
// and the token after it into `scene`, whose texts, exits (-1), state and
// counts are reset first. A file that ends inside the scene, or a malformed
// number, gives LastScene, with `objnum` and `actionCount` counting the
// records read whole. Lists longer than their tables are read to their end,
// the entries that do not fit dropped: the last record of a full table holds
// the list's closing entry. A verb number outside the verb table in use (below
// 0, above verbCount, or not below 30) gives an empty verbName and no what2.
SceneReadResult readSceneFrom(TokenReader& reader, Scene& scene);

// Reads every scene from position 0 while readScene reports another;
// sceneCount counts every call, the last one included. Returns the last result.
// A full table (50 scenes) ends the loading even if the file holds more.
SceneReadResult loadScenes();

#include "interp/tables.h"

#include <cstring>

Scene* loadedScene(int index) {
    if (index < 0 || index >= inUse(game.sceneCount, MaxScenes)) return nullptr;
    return &game.scenes[index];
}

const SceneObject* objectWithId(int sceneIndex, int id) {
    const Scene* scene = loadedScene(sceneIndex);
    if (scene == nullptr) return nullptr;
    int position = lastObjectPosition(*scene, id);
    return position < 0 ? nullptr : &scene->objects[position];
}

void appendCut(char* buffer, int capacity, const char* text) {
    std::size_t length = std::strlen(buffer);
    if (capacity <= 0 || length + 1 >= static_cast<std::size_t>(capacity)) return;
    std::size_t room = static_cast<std::size_t>(capacity) - 1 - length;
    std::size_t add = strnlen(text, room);
    std::memcpy(buffer + length, text, add);
    buffer[length + add] = '\0';
}

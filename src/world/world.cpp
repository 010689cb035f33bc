#include "world/world.h"

#include <cstring>

GameState game;

void clearInventory() {
    std::memset(&game.inventory, 0, sizeof game.inventory);
}

int inUse(int count, int capacity) {
    if (count < 0) return 0;
    return count < capacity ? count : capacity;
}

int lastObjectPosition(const Scene& scene, int id) {
    int found = -1;
    for (int p = 0; p < inUse(scene.objnum, MaxObjects); ++p)
        if (scene.objects[p].id == id) found = p;
    return found;
}

void resetGameState() {
    std::memset(&game, 0, sizeof game);
    game.currentScene = 1;
    game.lastOutputRow = 20;
}

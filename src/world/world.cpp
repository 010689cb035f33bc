#include "world/world.h"

#include <cstring>

GameState game;

void clearInventory() {
    std::memset(&game.inventory, 0, sizeof game.inventory);
}

void resetGameState() {
    std::memset(&game, 0, sizeof game);
    game.currentScene = 1;
    game.lastOutputRow = 20;
}

#include "world/saved_game.h"

int saveGame() {
    return 0;
}

int loadGame() {
    return 0;
}

int restartGame() {
    return 0;
}

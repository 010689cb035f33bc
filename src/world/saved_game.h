// The one saved game, save.dat, and the restart from scenes.dat.
#pragma once

// Writes the changeable part of the game to save.dat; 1 when it was written
// completely, 0 when not (an earlier save.dat is then left as it was).
int saveGame();

// Reads save.dat back; 1 when it was loaded, 0 when it is missing or does not
// fit the world in memory (then nothing changes).
int loadGame();

// Empties the inventory, goes back to scene 1 and reads every scene again; the
// score stays. 1 when the scenes were read, 0 when scenes.dat cannot be opened.
int restartGame();

// Conditions and effects: what an action needs and what it changes.
#pragma once

#include "interp/engine.h"

// The last position of scene `sceneIndex`'s actions with that num; 0 when none.
int findActionByNum(int sceneIndex, int num);

// The last position of scene `sceneIndex`'s objects with that id; 0 when none.
int findObjectById(int sceneIndex, int id);

// True when every condition of the action holds.
bool conditionsHold(const Action& action);

// Runs the action: state step, effects, item transfers, text and score.
// Returns Performed, or GameOver when an effect ended the game.
ActionResult performAction(Action& action, int& outputRow, WINDOW* window);

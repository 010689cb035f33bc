// The action engine: finds the action of a scene that fits a typed command.
#pragma once

#include "ui/input_line.h"
#include "ui/terminal.h"
#include "world/world.h"

enum ActionResult : int {
    GameOver = -1,
    NoMatch = 0,
    Performed = 1,
    ConditionsUnmet = 2,
    AlreadyDone = 3,
    CannotDo = 4,  // no action fitted; "Не получается " lines were printed
};

// Tries the command against the actions of `scene`, echoing the recognised
// command and running the first fitting action whose conditions hold.
ActionResult tryActions(Scene& scene, int& outputRow, const InputWords& input, WINDOW* window);

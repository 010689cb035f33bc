#include "interp/effects.h"

int findActionByNum(int, int) {
    return 0;
}

int findObjectById(int, int) {
    return 0;
}

bool conditionsHold(const Action&) {
    return true;
}

ActionResult performAction(Action&, int&, WINDOW*) {
    return Performed;
}

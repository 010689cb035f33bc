#include "interp/engine.h"

ActionResult tryActions(Scene&, int&, const InputWords&, WINDOW*) {
    return NoMatch;
}

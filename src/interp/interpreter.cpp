#include "interp/interpreter.h"

bool isAbbreviationOf(const char*, const char*) {
    return false;
}

bool waitYesNo(WINDOW*) {
    return true;
}

int interpretCommand(InputWords&, int&, WINDOW*) {
    return 1;
}

#include "shell/shell.h"

WINDOW* OuterWindow = nullptr;
WINDOW* OutputWindow = nullptr;
WINDOW* InputWindow = nullptr;
WINDOW* MenuWindow = nullptr;

int runProgram() {
    return 0;
}

void onInterrupt(int) {}

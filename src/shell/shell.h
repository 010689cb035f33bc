// Start-up, the main loop and shutdown.
#pragma once

#include "ui/terminal.h"

// The curses windows. Outside casual mode OuterWindow is also the
// OutputWindow, and there is no InputWindow or MenuWindow.
extern WINDOW* OuterWindow;
extern WINDOW* OutputWindow;
extern WINDOW* InputWindow;
extern WINDOW* MenuWindow;

// Runs the whole program and returns its exit status.
int runProgram();

// The SIGINT handler: the program ends at the next key read, with status 0.
void onInterrupt(int signal);

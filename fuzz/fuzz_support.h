// What the fuzz targets set up once per process: a private working directory
// for the files the readers expect, an off-screen curses screen, and the demo
// game loaded and remembered so that each input starts from the same world.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/terminal.h"

// Makes a fresh temporary directory, removed when the process exits normally,
// and enters it for the set-up that follows; leaveScratchDirectory goes back.
// Called first thing in LLVMFuzzerInitialize with its arguments, which
// libFuzzer reads afterwards: crash inputs are written to the directory the
// target was started in, unless -artifact_prefix= says otherwise.
void enterScratchDirectory(int* argc, char*** argv);
void leaveScratchDirectory();

// Enters the scratch directory for one input: the readers find their files
// there, while libFuzzer's own files (the corpus, its child runs) stay
// relative to where the target was started.
struct InScratchDirectory {
    InScratchDirectory();
    ~InScratchDirectory();
    InScratchDirectory(const InScratchDirectory&) = delete;
    InScratchDirectory& operator=(const InScratchDirectory&) = delete;
};

// Writes the bytes into `name` in the working directory, replacing the file.
void writeFuzzFile(const char* name, const uint8_t* data, size_t size);

// Starts a 25 x 80 curses screen that draws to /dev/null, with colours.
void openOffscreenScreen();

// A window over the whole off-screen screen that scrolls and whose key reads
// never wait.
WINDOW* newOffscreenWindow();

// Copies the demo game's file `name` from the build tree into the working
// directory.
void copyDemoFile(const char* name);

// Copies the demo game's verb and scene files into the working directory and
// loads them into a freshly reset game state.
void loadDemoWorld();

// Remembers the game state as it is now.
void rememberWorld();

// Puts the remembered game state back. Only the scenes that either state uses
// are copied: the game never writes past its loaded scenes.
void restoreWorld();

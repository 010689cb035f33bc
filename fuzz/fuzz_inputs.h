// How the fuzz targets read their inputs: the split of one input into two
// parts, and the command lines of the command path. The
// regression tests decode their fixtures with the same code, so a fixture is
// the very input that a target reported.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "interp/interpreter.h"
#include "shell/config.h"
#include "ui/cp866.h"
#include "ui/input_line.h"
#include "world/world.h"

// A run of input bytes.
struct ByteSpan {
    const uint8_t* data;
    size_t size;
};

// An input made of two parts: everything before its first NUL byte, and
// everything after it (empty when there is no NUL). Two files, or a file and
// the commands to play on it.
struct SplitInput {
    ByteSpan before;
    ByteSpan after;
};

inline SplitInput splitAtFirstNul(const uint8_t* data, size_t size) {
    const void* nul = size == 0 ? nullptr : std::memchr(data, '\0', size);
    if (nul == nullptr) return {{data, size}, {data + size, 0}};
    size_t before = static_cast<size_t>(static_cast<const uint8_t*>(nul) - data);
    return {{data, before}, {data + before + 1, size - before - 1}};
}

// Command lines are separated by line feeds; at most this many are played.
constexpr int MaxFuzzedCommands = 16;

// One command line as the input line editor would hand it over, with the key
// that answers a y/n question and the word-wrap switch in force.
struct FuzzedCommand {
    InputWords input;
    int answerKey;  // 'y' or 'n'
    bool wordWrap;
};

// Decodes one line: its first byte is a control byte (bit 0: answer y, bit 1:
// word wrap on, the rest modulo 11: closedWords); the bytes after it are the
// words, separated by spaces, at most 10, each cut to 79 bytes.
inline FuzzedCommand decodeCommand(ByteSpan line) {
    FuzzedCommand command{};
    uint8_t control = line.data[0];
    command.answerKey = (control & 1) != 0 ? 'y' : 'n';
    command.wordWrap = (control & 2) != 0;
    command.input.closedWords = (control >> 2) % (MaxWords + 1);
    int word = 0;
    int length = 0;
    for (size_t i = 1; i < line.size; ++i) {
        if (line.data[i] == ' ') {
            if (++word == MaxWords) break;
            length = 0;
        } else if (length < WordSize - 1) {
            command.input.words[word][length++] = static_cast<char>(line.data[i]);
        }
    }
    return command;
}

// Calls `run` with each decoded command line of the input, in order, until it
// returns false; empty lines are skipped.
template <typename Run>
void forEachCommand(const uint8_t* data, size_t size, Run run) {
    int played = 0;
    size_t start = 0;
    while (start < size && played < MaxFuzzedCommands) {
        const void* feed = std::memchr(data + start, '\n', size - start);
        size_t end =
            feed == nullptr ? size : static_cast<size_t>(static_cast<const uint8_t*>(feed) - data);
        if (end > start) {
            ++played;
            if (!run(decodeCommand({data + start, end - start}))) return;
        }
        start = end + 1;
    }
}

// Plays one command the way the main loop does: the answer to any y/n
// question is queued first and whatever it left unread is drained afterwards,
// so no wait blocks (the window's reads must not wait); the row counter is
// brought back onto the last output row. False when the game has ended.
inline bool playCommand(FuzzedCommand& command, int& outputRow, WINDOW* window) {
    settings.wordWrap = command.wordWrap;
    ungetch(command.answerKey);
    setPair(window, NormalPair);
    int goOn = interpretCommand(command.input, outputRow, window);
    while (wgetch(window) != ERR) {
    }
    for (; outputRow > game.lastOutputRow; --outputRow) scrollUp(window);
    return goOn != 0;
}

// Plays every command line of the input from the first output row.
inline void playCommands(const uint8_t* data, size_t size, WINDOW* window) {
    int outputRow = 3;
    forEachCommand(data, size,
                   [&](FuzzedCommand command) { return playCommand(command, outputRow, window); });
}

// Shows a game just loaded the way the player would look at it: the scene
// description, then the inventory.
inline void showLoadedGame(WINDOW* window) {
    for (const char* word : {"осмотреться"_cp, "инвентарь"_cp}) {
        FuzzedCommand command{};
        std::strncpy(command.input.words[0], word, WordSize - 1);
        command.answerKey = 'n';
        int outputRow = 3;
        playCommand(command, outputRow, window);
    }
}

// The built program under a pseudo-terminal, its output fed into a libvterm
// screen: end-to-end tests type keys, wait for texts and read cells back.
//
// Every wait polls the screen until its condition holds or its time-out ends;
// none sleeps a fixed time. The screen keeps what the program drew after it
// leaves full-screen mode (no alternate screen is emulated), so the last
// picture can still be read after the program has ended.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>
#include <vterm.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

struct CellPosition {
    int row;
    int column;
};

class TerminalSession {
public:
    using Milliseconds = std::chrono::milliseconds;
    // Generous: under the sanitizers the program starts slowly; a passing
    // test never waits this long.
    static constexpr Milliseconds DefaultTimeout{10000};

    // Starts MWK_PROGRAM in `workDir` on a terminal of rows x columns with a
    // UTF-8 locale and TERM=xterm-256color.
    explicit TerminalSession(const std::string& workDir, int rows = 25, int columns = 80);
    // Kills the program if it still runs.
    ~TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    // Keys. `type` sends the bytes as they are (Latin letters for Cyrillic
    // ones); the others send what a terminal sends for that key in the mode
    // the program has set (application cursor keys once the keypad is on).
    void type(const std::string& bytes);
    void pressEnter();
    // Types the keys and Enter, then polls until `reply` shows.
    bool enterCommand(const std::string& keys, const std::string& reply,
                      Milliseconds timeout = DefaultTimeout);
    void pressBackspace();  // 127, as today's terminals send it
    void pressLeft();
    void pressRight();

    // Polls the screen until some row contains the UTF-8 text; false when the
    // time-out ends first or the program has ended without showing it.
    bool waitForText(const std::string& utf8, Milliseconds timeout = DefaultTimeout);
    // Polls the screen until `condition` holds; false when the time-out ends
    // first or the program has ended without it holding.
    bool waitUntil(const std::function<bool()>& condition, Milliseconds timeout = DefaultTimeout);
    // Polls until the row reads exactly `utf8` (trailing blanks ignored); the
    // failure shows the row and the whole screen. A program redraws a screen
    // in several writes, so a test waits for every row it checks.
    ::testing::AssertionResult rowReads(int row, const std::string& utf8,
                                        Milliseconds timeout = DefaultTimeout);
    // Polls until the program has written nothing for `quiet`; false when the
    // time-out ends first.
    bool waitUntilStable(Milliseconds quiet = Milliseconds{300},
                         Milliseconds timeout = DefaultTimeout);

    // One screen row as UTF-8, trailing blanks removed.
    std::string rowText(int row) const;
    // Every row, numbered, one a line: for failure messages.
    std::string screenText() const;
    // Where the UTF-8 text first appears (top to bottom, left to right), in cells.
    std::optional<CellPosition> findText(const std::string& utf8) const;

    // The colour of a cell as libvterm holds it, and by name: "default",
    // "black", "red", "green", "yellow", "blue", "magenta", "cyan", "white"
    // (the curses colours 0 to 7), "colour N" for other palette entries, or
    // "#rrggbb". The curses colours 0 to 7 are the terminal's ANSI colours.
    VTermScreenCell cell(int row, int column) const;
    std::string foreground(int row, int column) const;
    std::string background(int row, int column) const;

    // Sends SIGINT to the program.
    void interrupt();
    // Waits for the program to end and returns its exit status (128 + the
    // signal number when a signal ended it); -1 when it still runs.
    int waitForExit(Milliseconds timeout = DefaultTimeout);
    bool running();

    // True when the program has given the terminal back: it left the
    // alternate screen it had entered, the cursor is visible again and the
    // line discipline is back in line mode with echo.
    bool terminalRestored() const;

    // Every byte the program has written so far.
    const std::string& output() const { return output_; }
    int rows() const { return rows_; }
    int columns() const { return columns_; }

private:
    static int onSetTermProp(VTermProp prop, VTermValue* value, void* user);
    static void onTerminalOutput(const char* bytes, size_t length, void* user);

    void start(const std::string& workDir);
    // Feeds what the program wrote within `wait` into the screen; false when
    // nothing came.
    bool pump(Milliseconds wait);
    void drain();
    bool reap();
    void send(const char* bytes, size_t length);
    void sendKey(VTermKey key);

    int rows_;
    int columns_;
    pid_t child_ = -1;
    int master_ = -1;
    bool closed_ = false;  // the program's side of the terminal is closed
    int exitStatus_ = -1;
    bool cursorVisible_ = true;
    std::string output_;
    VTerm* terminal_ = nullptr;
    VTermScreen* screen_ = nullptr;
    VTermScreenCallbacks callbacks_{};
};

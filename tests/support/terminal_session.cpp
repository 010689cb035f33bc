#include "support/terminal_session.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = TerminalSession::Milliseconds;

constexpr const char* EnterAlternateScreen = "\x1b[?1049h";
constexpr const char* LeaveAlternateScreen = "\x1b[?1049l";
constexpr Milliseconds PollSlice{20};

const char* const AnsiColourNames[] = {"black", "red",     "green", "yellow",
                                       "blue",  "magenta", "cyan",  "white"};

void appendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The code points of a UTF-8 text (well-formed, as test literals are).
std::u32string decodeUtf8(const std::string& text) {
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        auto byte = static_cast<unsigned char>(text[i]);
        int extra = byte < 0x80 ? 0 : byte < 0xE0 ? 1 : byte < 0xF0 ? 2 : 3;
        uint32_t code = extra == 0 ? byte : byte & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < text.size(); ++k)
            code = code << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out += static_cast<char32_t>(code);
        i += extra + 1;
    }
    return out;
}

std::string colourName(const VTermColor& colour, bool isDefault) {
    if (isDefault) return "default";
    if (VTERM_COLOR_IS_INDEXED(&colour)) {
        int index = colour.indexed.idx;
        return index < 8 ? AnsiColourNames[index] : "colour " + std::to_string(index);
    }
    char rgb[8];
    std::snprintf(rgb, sizeof rgb, "#%02x%02x%02x", colour.rgb.red, colour.rgb.green,
                  colour.rgb.blue);
    return rgb;
}

// The environment of the program: a UTF-8 locale, a terminal type every
// Debian system knows, and the sanitizers' options when the tests have some.
std::vector<std::string> childEnvironment() {
    std::vector<std::string> environment = {"LANG=C.UTF-8", "LC_ALL=C.UTF-8",
                                            "TERM=xterm-256color"};
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
        if (const char* value = std::getenv(name))
            environment.push_back(std::string(name) + "=" + value);
    return environment;
}

}  // namespace

TerminalSession::TerminalSession(const std::string& workDir, int rows, int columns)
    : rows_(rows), columns_(columns) {
    terminal_ = vterm_new(rows, columns);
    vterm_set_utf8(terminal_, 1);
    screen_ = vterm_obtain_screen(terminal_);
    callbacks_.settermprop = &TerminalSession::onSetTermProp;
    vterm_screen_set_callbacks(screen_, &callbacks_, this);
    vterm_screen_reset(screen_, 1);
    vterm_output_set_callback(terminal_, &TerminalSession::onTerminalOutput, this);
    start(workDir);
}

TerminalSession::~TerminalSession() {
    if (child_ > 0) {
        kill(child_, SIGKILL);
        waitpid(child_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
    vterm_free(terminal_);
}

void TerminalSession::start(const std::string& workDir) {
    std::vector<std::string> environment = childEnvironment();
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    char program[] = MWK_PROGRAM;
    char* argv[] = {program, nullptr};
    winsize size{};
    size.ws_row = static_cast<unsigned short>(rows_);
    size.ws_col = static_cast<unsigned short>(columns_);
    child_ = forkpty(&master_, nullptr, nullptr, &size);
    if (child_ < 0) throw std::runtime_error("forkpty failed");
    if (child_ == 0) {
        if (chdir(workDir.c_str()) == 0) execve(program, argv, envp.data());
        _exit(127);
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

int TerminalSession::onSetTermProp(VTermProp prop, VTermValue* value, void* user) {
    auto* session = static_cast<TerminalSession*>(user);
    if (prop == VTERM_PROP_CURSORVISIBLE) session->cursorVisible_ = value->boolean != 0;
    return 1;
}

void TerminalSession::onTerminalOutput(const char* bytes, size_t length, void* user) {
    static_cast<TerminalSession*>(user)->send(bytes, length);
}

bool TerminalSession::pump(Milliseconds wait) {
    if (closed_) return false;
    pollfd ready{master_, POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(wait.count())) <= 0) return false;
    size_t before = output_.size();
    drain();
    return output_.size() > before;
}

// Reads everything the program has written so far into the screen.
void TerminalSession::drain() {
    char buffer[4096];
    for (;;) {
        ssize_t n = read(master_, buffer, sizeof buffer);
        if (n > 0) {
            output_.append(buffer, static_cast<size_t>(n));
            vterm_input_write(terminal_, buffer, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // EIO (or end of file) once every holder of the program's side has closed it.
        if (n == 0 || errno != EAGAIN) closed_ = true;
        return;
    }
}

void TerminalSession::send(const char* bytes, size_t length) {
    while (length > 0) {
        ssize_t n = write(master_, bytes, length);
        if (n > 0) {
            bytes += n;
            length -= static_cast<size_t>(n);
        } else if (n < 0 && errno == EAGAIN) {
            pump(PollSlice);  // the program reads once its output is taken
        } else if (!(n < 0 && errno == EINTR)) {
            return;
        }
    }
}

void TerminalSession::type(const std::string& bytes) {
    send(bytes.data(), bytes.size());
}

void TerminalSession::pressEnter() {
    type("\r");
}

bool TerminalSession::enterCommand(const std::string& keys, const std::string& reply,
                                   Milliseconds timeout) {
    type(keys);
    pressEnter();
    return waitForText(reply, timeout);
}

void TerminalSession::pressBackspace() {
    type("\x7f");
}

void TerminalSession::sendKey(VTermKey key) {
    pump(Milliseconds{0});  // the cursor-key mode the program set last applies
    vterm_keyboard_key(terminal_, key, VTERM_MOD_NONE);
}

void TerminalSession::pressLeft() {
    sendKey(VTERM_KEY_LEFT);
}

void TerminalSession::pressRight() {
    sendKey(VTERM_KEY_RIGHT);
}

bool TerminalSession::waitUntil(const std::function<bool()>& condition, Milliseconds timeout) {
    auto deadline = Clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (closed_ || Clock::now() >= deadline) return false;
        pump(PollSlice);
    }
}

bool TerminalSession::waitForText(const std::string& utf8, Milliseconds timeout) {
    return waitUntil([&] { return findText(utf8).has_value(); }, timeout);
}

::testing::AssertionResult TerminalSession::rowReads(int row, const std::string& utf8,
                                                     Milliseconds timeout) {
    if (waitUntil([&] { return rowText(row) == utf8; }, timeout))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "row " << row << " reads \"" << rowText(row)
                                         << "\", not \"" << utf8 << "\"; the screen:\n"
                                         << screenText();
}

bool TerminalSession::waitUntilStable(Milliseconds quiet, Milliseconds timeout) {
    auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline)
        if (!pump(quiet)) return true;
    return false;
}

VTermScreenCell TerminalSession::cell(int row, int column) const {
    VTermScreenCell result{};
    vterm_screen_get_cell(screen_, VTermPos{row, column}, &result);
    return result;
}

std::string TerminalSession::rowText(int row) const {
    std::string text;
    for (int column = 0; column < columns_; ++column) {
        VTermScreenCell c = cell(row, column);
        if (c.chars[0] == static_cast<uint32_t>(-1)) continue;  // right half of a wide character
        if (c.chars[0] == 0) text += ' ';
        for (int k = 0; k < VTERM_MAX_CHARS_PER_CELL && c.chars[k] != 0; ++k)
            appendUtf8(text, c.chars[k]);
    }
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string TerminalSession::screenText() const {
    std::string text;
    for (int row = 0; row < rows_; ++row) {
        text += (row < 10 ? " " : "") + std::to_string(row) + "|" + rowText(row) + "\n";
    }
    return text;
}

std::optional<CellPosition> TerminalSession::findText(const std::string& utf8) const {
    std::u32string wanted = decodeUtf8(utf8);
    for (int row = 0; row < rows_; ++row) {
        std::u32string cells;
        for (int column = 0; column < columns_; ++column) {
            uint32_t code = cell(row, column).chars[0];
            cells += static_cast<char32_t>(code == 0 ? U' ' : code);
        }
        size_t at = cells.find(wanted);
        if (at != std::u32string::npos) return CellPosition{row, static_cast<int>(at)};
    }
    return std::nullopt;
}

std::string TerminalSession::foreground(int row, int column) const {
    VTermScreenCell c = cell(row, column);
    return colourName(c.fg, VTERM_COLOR_IS_DEFAULT_FG(&c.fg));
}

std::string TerminalSession::background(int row, int column) const {
    VTermScreenCell c = cell(row, column);
    return colourName(c.bg, VTERM_COLOR_IS_DEFAULT_BG(&c.bg));
}

void TerminalSession::interrupt() {
    if (child_ > 0) kill(child_, SIGINT);
}

// Collects the program's exit status once it has ended; true when it has.
bool TerminalSession::reap() {
    if (child_ <= 0) return true;
    int status = 0;
    if (waitpid(child_, &status, WNOHANG) != child_) return false;
    child_ = -1;
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (!closed_) drain();
    return true;
}

int TerminalSession::waitForExit(Milliseconds timeout) {
    auto deadline = Clock::now() + timeout;
    for (;;) {
        if (reap()) return exitStatus_;
        if (Clock::now() >= deadline) return -1;
        // Take the output while waiting, or a program with a full terminal
        // would never get to its end.
        if (closed_)
            poll(nullptr, 0, 5);
        else
            pump(PollSlice);
    }
}

bool TerminalSession::running() {
    return !reap();
}

bool TerminalSession::terminalRestored() const {
    size_t entered = output_.rfind(EnterAlternateScreen);
    size_t left = output_.rfind(LeaveAlternateScreen);
    bool screenBack = entered != std::string::npos && left != std::string::npos && left > entered;
    termios mode{};
    bool lineMode = tcgetattr(master_, &mode) == 0 && (mode.c_lflag & ICANON) != 0 &&
                    (mode.c_lflag & ECHO) != 0;
    return screenBack && cursorVisible_ && lineMode;
}

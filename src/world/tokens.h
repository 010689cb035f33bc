// The token reader shared by the verb file, the scene file, the saved game and
// the configuration.
//
// A token is a run of bytes other than white space (space, tab, line feed,
// vertical tab, form feed, carriage return; never the locale's idea of it).
// A number is an optional sign and decimal digits; it ends at the first byte
// that is no digit, and the rest of that token is the next token.
#pragma once

#include <cstdint>
#include <cstdio>

constexpr int TokenSize = 256;  // at most 255 bytes and the NUL

struct TokenReader {
    std::FILE* file;
    int32_t ampersands;   // whole "&" tokens read so far
    bool afterAmpersand;  // nothing was read since the last whole "&" token
    bool insideToken;     // a number stopped inside a token: its rest comes next
    bool atEnd;           // the last read met the end of the file
    bool malformed;       // a number was expected and the token held none
};

// Opens the file for reading; false when it cannot be opened.
bool openTokens(TokenReader& reader, const char* path);
void closeTokens(TokenReader& reader);

// Reads the next token into `out` (capacity bytes with the NUL, at least 1);
// a longer token is cut to fit and its rest skipped. Returns false, with `out`
// empty, when the file has no more tokens.
bool readToken(TokenReader& reader, char* out, int capacity);

// Reads a number. Returns false when the file has ended or the token does not
// start with a number (then `malformed` is set and the token is skipped);
// `out` is left unchanged then. Values beyond 32 bits are held at the limits.
bool readNumber(TokenReader& reader, int32_t& out);

// Reads a text run closed by the token "/": each token followed by one space.
// The text is cut to fit `capacity`; reading still goes on to the "/". Returns
// false when the file ended before the "/".
bool readTextRun(TokenReader& reader, char* out, int capacity);

// Reads and ignores one token; false when there was none.
bool skipToken(TokenReader& reader);

// Reads tokens until the `count`-th whole "&" token of the file has been read;
// false when the file ends first.
bool skipToAmpersand(TokenReader& reader, int32_t count);

// Leaves `reader` right after the (index + 1)-th whole "&" token of the file
// at `path`, where a scan from the start of the file would leave it. A reader
// still open from an earlier call goes on from where it stands when that is
// sure to reach the same place (it stands before that "&", or right after
// it); otherwise the file is opened anew, and always for index 0. Returns
// false, with the reader closed, when the file cannot be opened or ends first.
// A reader that was never opened starts as TokenReader{}.
bool seekRecord(TokenReader& reader, const char* path, int32_t index);

// True for the white-space bytes of the game's files.
inline bool isTokenSpace(int byte) {
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' ||
           byte == '\r';
}

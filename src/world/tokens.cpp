#include "world/tokens.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>

namespace {

bool isDigit(int byte) {
    return byte >= '0' && byte <= '9';
}

// Consumes the white space before the next token, unless the rest of a token
// is pending; returns the token's first byte, consumed, or EOF.
int startToken(TokenReader& reader) {
    int byte = getc_unlocked(reader.file);
    if (!reader.insideToken)
        while (isTokenSpace(byte)) byte = getc_unlocked(reader.file);
    reader.insideToken = false;
    if (byte == EOF) reader.atEnd = true;
    return byte;
}

// Consumes the token that begins with `first` and the white-space byte after
// it, keeping its first capacity - 1 bytes in `out`. Returns the token's
// length, counted no further than TokenSize.
int finishToken(TokenReader& reader, int first, char* out, int capacity) {
    int kept = 0;
    int length = 0;
    for (int byte = first;; byte = getc_unlocked(reader.file)) {
        if (byte == EOF) {
            reader.atEnd = true;
            break;
        }
        if (isTokenSpace(byte)) break;
        if (kept < capacity - 1) out[kept++] = static_cast<char>(byte);
        if (length < TokenSize) ++length;
    }
    out[kept] = '\0';
    return length;
}

// Counts a token that was read whole and is exactly "&".
void noteToken(TokenReader& reader, bool whole, int first, int length) {
    reader.afterAmpersand = whole && first == '&' && length == 1;
    if (reader.afterAmpersand && reader.ampersands < INT32_MAX) ++reader.ampersands;
}

// Reads the next token like readToken; returns its length (no further than
// TokenSize) and its first byte in `first`, or -1 when there is none.
int nextToken(TokenReader& reader, char* out, int capacity, int& first) {
    bool whole = !reader.insideToken;
    reader.atEnd = false;
    first = startToken(reader);
    if (first == EOF) {
        out[0] = '\0';
        return -1;
    }
    int length = finishToken(reader, first, out, capacity);
    noteToken(reader, whole, first, length);
    return length;
}

bool sameFile(std::FILE* file, const char* path) {
    struct stat opened {};
    struct stat named {};
    return fstat(fileno(file), &opened) == 0 && stat(path, &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

}  // namespace

bool openTokens(TokenReader& reader, const char* path) {
    reader = TokenReader{};
    reader.file = std::fopen(path, "r");
    return reader.file != nullptr;
}

void closeTokens(TokenReader& reader) {
    if (reader.file != nullptr) std::fclose(reader.file);
    reader.file = nullptr;
}

bool readToken(TokenReader& reader, char* out, int capacity) {
    int first;
    return nextToken(reader, out, capacity, first) >= 0;
}

bool readNumber(TokenReader& reader, int32_t& out) {
    bool whole = !reader.insideToken;
    reader.atEnd = false;
    int first = startToken(reader);
    if (first == EOF) return false;
    reader.afterAmpersand = false;
    bool sign = first == '-' || first == '+';
    int byte = sign ? getc_unlocked(reader.file) : first;
    if (!isDigit(byte)) {
        char rest[TokenSize];
        int length = finishToken(reader, byte, rest, TokenSize);
        if (!sign) noteToken(reader, whole, first, length);
        reader.malformed = true;
        return false;
    }
    int64_t value = 0;
    for (; isDigit(byte); byte = getc_unlocked(reader.file))
        if (value <= INT32_MAX) value = value * 10 + (byte - '0');
    if (first == '-') value = -value;
    out = static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
    if (byte == EOF) {
        reader.atEnd = true;
    } else if (!isTokenSpace(byte)) {
        ungetc(byte, reader.file);
        reader.insideToken = true;
    }
    return true;
}

bool readTextRun(TokenReader& reader, char* out, int capacity) {
    int length = 0;
    out[0] = '\0';
    for (;;) {
        // The token goes straight into the text; "/" is taken back out.
        int room = std::min(capacity - length, TokenSize);
        int first;
        int tokenLength = nextToken(reader, out + length, room, first);
        if (tokenLength < 0) return false;
        if (tokenLength == 1 && first == '/') {
            out[length] = '\0';
            return true;
        }
        length += std::min(tokenLength, room - 1);
        if (length < capacity - 1) out[length++] = ' ';
        out[length] = '\0';
    }
}

bool skipToken(TokenReader& reader) {
    char none[1];
    int first;
    return nextToken(reader, none, 1, first) >= 0;
}

bool skipToAmpersand(TokenReader& reader, int32_t count) {
    char none[1];
    int first;
    while (reader.ampersands < count)
        if (nextToken(reader, none, 1, first) < 0) return false;
    return true;
}

bool seekRecord(TokenReader& reader, const char* path, int32_t index) {
    if (index < 0 || index == INT32_MAX) {
        closeTokens(reader);
        return false;
    }
    bool goOn =
        reader.file != nullptr && index > 0 &&
        (reader.ampersands <= index || (reader.ampersands == index + 1 && reader.afterAmpersand)) &&
        sameFile(reader.file, path);
    if (!goOn) {
        closeTokens(reader);
        if (!openTokens(reader, path)) return false;
    }
    if (skipToAmpersand(reader, index + 1)) return true;
    closeTokens(reader);
    return false;
}

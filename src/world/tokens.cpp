#include "world/tokens.h"

#include <cstring>

namespace {

// Skips white space unless the rest of a token is pending; returns the first
// byte of the next token (still in the stream) or EOF.
int peekTokenStart(TokenReader& reader) {
    int byte = getc_unlocked(reader.file);
    if (!reader.insideToken)
        while (byte != EOF && isTokenSpace(byte)) byte = getc_unlocked(reader.file);
    if (byte != EOF) ungetc(byte, reader.file);
    return byte;
}

// Consumes bytes up to the end of the current token, keeping the first
// capacity - 1 of them; returns how many were kept.
int collectToken(TokenReader& reader, char* out, int capacity) {
    int kept = 0;
    for (int byte = getc_unlocked(reader.file);; byte = getc_unlocked(reader.file)) {
        if (byte == EOF) {
            reader.atEnd = true;
            break;
        }
        if (isTokenSpace(byte)) {
            ungetc(byte, reader.file);
            break;
        }
        if (kept < capacity - 1) out[kept++] = static_cast<char>(byte);
    }
    out[kept] = '\0';
    return kept;
}

bool isDigit(int byte) {
    return byte >= '0' && byte <= '9';
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
    out[0] = '\0';
    bool whole = !reader.insideToken;
    if (peekTokenStart(reader) == EOF) {
        reader.atEnd = true;
        reader.insideToken = false;
        return false;
    }
    reader.insideToken = false;
    collectToken(reader, out, capacity);
    reader.afterAmpersand = whole && std::strcmp(out, "&") == 0;
    if (reader.afterAmpersand) ++reader.ampersands;
    return true;
}

bool readNumber(TokenReader& reader, int32_t& out) {
    int byte = peekTokenStart(reader);
    if (byte == EOF) {
        reader.atEnd = true;
        return false;
    }
    reader.afterAmpersand = false;
    byte = getc_unlocked(reader.file);
    bool negative = byte == '-';
    if (byte == '-' || byte == '+') byte = getc_unlocked(reader.file);
    if (!isDigit(byte)) {
        if (byte != EOF) ungetc(byte, reader.file);
        char rest[TokenSize];
        reader.insideToken = true;
        collectToken(reader, rest, TokenSize);
        reader.insideToken = false;
        reader.malformed = true;
        return false;
    }
    int64_t value = 0;
    for (; isDigit(byte); byte = getc_unlocked(reader.file))
        if (value <= INT32_MAX) value = value * 10 + (byte - '0');
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    if (value < INT32_MIN) value = INT32_MIN;
    out = static_cast<int32_t>(value);
    reader.atEnd = byte == EOF;
    reader.insideToken = byte != EOF && !isTokenSpace(byte);
    if (byte != EOF) ungetc(byte, reader.file);
    return true;
}

bool readTextRun(TokenReader& reader, char* out, int capacity) {
    out[0] = '\0';
    int length = 0;
    char token[TokenSize];
    while (readToken(reader, token, TokenSize)) {
        if (std::strcmp(token, "/") == 0) return true;
        for (const char* b = token; *b != '\0' && length < capacity - 1; ++b) out[length++] = *b;
        if (length < capacity - 1) out[length++] = ' ';
        out[length] = '\0';
    }
    return false;
}

bool skipToken(TokenReader& reader) {
    char token[TokenSize];
    return readToken(reader, token, TokenSize);
}

bool skipToAmpersand(TokenReader& reader, int32_t count) {
    char token[TokenSize];
    while (reader.ampersands < count)
        if (!readToken(reader, token, TokenSize)) return false;
    return true;
}

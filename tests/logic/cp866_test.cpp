#include "ui/cp866.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <string>

#include "support/fixtures.h"

namespace {

// The code point of one CP866 byte as the C library's iconv decodes it.
char32_t iconvCodePoint(unsigned char byte) {
    iconv_t cd = iconv_open("UTF-32LE", "CP866");
    char in[1] = {static_cast<char>(byte)};
    char out[4] = {};
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = 1, outLeft = 4;
    iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    return static_cast<char32_t>(static_cast<unsigned char>(out[0]) |
                                 static_cast<unsigned char>(out[1]) << 8 |
                                 static_cast<unsigned char>(out[2]) << 16);
}

TEST(Cp866, EveryByteDecodesAsIconvDoes) {
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(cp866Unicode[byte], iconvCodePoint(static_cast<unsigned char>(byte)))
            << "byte " << byte;
}

TEST(Cp866, LiteralsBecomeCp866AtCompileTime) {
    struct Case {
        const char* literal;
        std::string utf8;
    };
    const Case cases[] = {
        {"Пока!"_cp, "Пока!"},
        {"Вы уверены? y/n"_cp, "Вы уверены? y/n"},
        {"ёЁ№ abc"_cp, "ёЁ№ abc"},
        {""_cp, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(std::string(c.literal), toCp866(c.utf8)) << c.utf8;
}

TEST(Cp866, LiteralLengthIsOneByteALetter) {
    EXPECT_EQ(std::strlen("Пока!"_cp), 5u);
}

}  // namespace

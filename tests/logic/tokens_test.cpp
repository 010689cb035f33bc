#include "world/tokens.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/fixtures.h"

namespace {

constexpr const char* FileName = "tokens.dat";

// A reader over `bytes`, written unchanged into the file.
class Tokens : public ::testing::Test {
protected:
    TempWorkDir dir;
    TokenReader reader{};

    void open(const std::string& bytes) {
        closeTokens(reader);
        dir.writeBytes(FileName, bytes);
        ASSERT_TRUE(openTokens(reader, FileName));
    }
    void openUtf8(const std::string& utf8) { open(toCp866(utf8)); }
    ~Tokens() override { closeTokens(reader); }

    std::string token(int capacity = TokenSize) {
        std::vector<char> out(capacity, 'x');
        EXPECT_TRUE(readToken(reader, out.data(), capacity));
        return out.data();
    }
    int32_t number() {
        int32_t value = -777;
        EXPECT_TRUE(readNumber(reader, value));
        return value;
    }
    std::vector<std::string> allTokens() {
        std::vector<std::string> tokens;
        char out[TokenSize];
        while (readToken(reader, out, TokenSize)) tokens.push_back(out);
        return tokens;
    }
};

TEST_F(Tokens, SixWhiteSpaceBytesSeparateTokens) {
    open("a b\tc\nd\ve\ff\rg  \n\n h");
    EXPECT_EQ(allTokens(), (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "g", "h"}));
}

TEST_F(Tokens, EveryOtherByteBelongsToTokens) {
    // 0xFF is a no-break space in CP866, 0x85 a line end in Latin-1, 0xA0 a
    // no-break space there: here they are letters like any other.
    open("x\xFFy z\x85w \xA0 \x01");
    EXPECT_EQ(allTokens(), (std::vector<std::string>{"x\xFFy", "z\x85w", "\xA0", "\x01"}));
}

TEST_F(Tokens, NoTokenLeftGivesEmptyTextAndFalse) {
    open("  \n ");
    char out[8] = "xxxxxxx";
    EXPECT_FALSE(readToken(reader, out, sizeof out));
    EXPECT_STREQ(out, "");
    EXPECT_TRUE(reader.atEnd);
}

TEST_F(Tokens, NumbersWithSigns) {
    open("5 -5 +7 -0 007");
    EXPECT_EQ(number(), 5);
    EXPECT_EQ(number(), -5);
    EXPECT_EQ(number(), 7);
    EXPECT_EQ(number(), 0);
    EXPECT_EQ(number(), 7);
    int32_t value = 1;
    EXPECT_FALSE(readNumber(reader, value));
    EXPECT_EQ(value, 1);
    EXPECT_FALSE(reader.malformed);
}

TEST_F(Tokens, NumberStopsAtTheFirstNonDigitAndTheRestIsTheNextToken) {
    openUtf8("12abc 7 3нож 12-5 4/ x");
    EXPECT_EQ(number(), 12);
    EXPECT_EQ(token(), "abc");
    EXPECT_EQ(number(), 7);
    EXPECT_EQ(number(), 3);
    EXPECT_EQ(toUtf8(token()), "нож");
    EXPECT_EQ(number(), 12);
    EXPECT_EQ(number(), -5);
    EXPECT_EQ(number(), 4);
    EXPECT_EQ(token(), "/");
    EXPECT_EQ(token(), "x");
}

TEST_F(Tokens, ANumberFollowedByWhiteSpaceLeavesNoRest) {
    open("12  x");
    EXPECT_EQ(number(), 12);
    EXPECT_EQ(token(), "x");
}

TEST_F(Tokens, ATokenThatHoldsNoNumberIsSkippedAndMarked) {
    open("x -y - 5 + 6");
    int32_t value = 99;
    EXPECT_FALSE(readNumber(reader, value));
    EXPECT_TRUE(reader.malformed);
    EXPECT_EQ(value, 99);
    EXPECT_FALSE(readNumber(reader, value));
    EXPECT_FALSE(readNumber(reader, value));
    EXPECT_EQ(number(), 5);
    EXPECT_FALSE(readNumber(reader, value));
    EXPECT_EQ(number(), 6);
}

TEST_F(Tokens, NumbersBeyond32BitsAreHeldAtTheLimits) {
    open("2147483647 -2147483648 2147483648 -2147483649 99999999999999999999999 -000000000001");
    EXPECT_EQ(number(), INT32_MAX);
    EXPECT_EQ(number(), INT32_MIN);
    EXPECT_EQ(number(), INT32_MAX);
    EXPECT_EQ(number(), INT32_MIN);
    EXPECT_EQ(number(), INT32_MAX);
    EXPECT_EQ(number(), -1);
}

TEST_F(Tokens, ATokenLongerThan255BytesIsCutAndItsRestSkipped) {
    open(std::string(300, 'a') + " b " + std::string(255, 'c') + " d");
    EXPECT_EQ(token(), std::string(255, 'a'));
    EXPECT_EQ(token(), "b");
    EXPECT_EQ(token(), std::string(255, 'c'));
    EXPECT_EQ(token(), "d");
}

TEST_F(Tokens, ATokenIsCutToASmallerBuffer) {
    open("abcdef g");
    EXPECT_EQ(token(4), "abc");
    EXPECT_EQ(token(4), "g");
}

TEST_F(Tokens, TextRunStoresEachTokenWithOneSpace) {
    openUtf8("Старая\n  дверь\t. /  next");
    char text[100];
    EXPECT_TRUE(readTextRun(reader, text, sizeof text));
    EXPECT_EQ(toUtf8(text), "Старая дверь . ");
    EXPECT_EQ(token(), "next");
}

TEST_F(Tokens, TextRunOfOnlyTheSlashIsEmpty) {
    open("/ x");
    char text[10] = "garbage";
    EXPECT_TRUE(readTextRun(reader, text, sizeof text));
    EXPECT_STREQ(text, "");
}

TEST_F(Tokens, OnlyALoneSlashClosesARun) {
    open("a/ /b // / x");
    char text[50];
    EXPECT_TRUE(readTextRun(reader, text, sizeof text));
    EXPECT_STREQ(text, "a/ /b // ");
}

TEST_F(Tokens, TextRunIsCutToItsBufferButReadToItsSlash) {
    open("abc defgh ij / next");
    char text[8];
    EXPECT_TRUE(readTextRun(reader, text, sizeof text));
    EXPECT_STREQ(text, "abc def");
    EXPECT_EQ(token(), "next");
}

TEST_F(Tokens, TextRunTokensAreCutTo255Bytes) {
    open(std::string(300, 'a') + " b /");
    char text[1000];
    EXPECT_TRUE(readTextRun(reader, text, sizeof text));
    EXPECT_EQ(std::string(text), std::string(255, 'a') + " b ");
}

TEST_F(Tokens, TextRunWithoutItsSlashStopsAtTheEnd) {
    open("one two");
    char text[50];
    EXPECT_FALSE(readTextRun(reader, text, sizeof text));
    EXPECT_STREQ(text, "one two ");
    EXPECT_TRUE(reader.atEnd);
}

TEST_F(Tokens, ATextRunClosedByTheRestOfANumber) {
    open("7/ tail");
    EXPECT_EQ(number(), 7);
    char text[10];
    EXPECT_TRUE(readTextRun(reader, text, sizeof text));
    EXPECT_STREQ(text, "");
    EXPECT_EQ(token(), "tail");
}

TEST_F(Tokens, SkipTokenReadsOneTokenOfAnyContent) {
    open("abc & d");
    EXPECT_TRUE(skipToken(reader));
    EXPECT_TRUE(skipToken(reader));
    EXPECT_EQ(reader.ampersands, 1);
    EXPECT_EQ(token(), "d");
    EXPECT_FALSE(skipToken(reader));
}

TEST_F(Tokens, OnlyWholeAmpersandTokensAreCounted) {
    open("x & y &z z& 12& -& && &\n");
    EXPECT_EQ(token(), "x");
    EXPECT_FALSE(reader.afterAmpersand);
    EXPECT_EQ(token(), "&");
    EXPECT_EQ(reader.ampersands, 1);
    EXPECT_TRUE(reader.afterAmpersand);
    EXPECT_EQ(token(), "y");
    EXPECT_FALSE(reader.afterAmpersand);
    EXPECT_EQ(token(), "&z");
    EXPECT_EQ(token(), "z&");
    EXPECT_EQ(number(), 12);
    EXPECT_EQ(token(), "&");  // the rest of "12&" is no "&" token of the file
    EXPECT_FALSE(reader.afterAmpersand);
    int32_t value;
    EXPECT_FALSE(readNumber(reader, value));
    EXPECT_EQ(token(), "&&");
    EXPECT_EQ(token(), "&");
    EXPECT_EQ(reader.ampersands, 2);
    EXPECT_TRUE(reader.afterAmpersand);
}

TEST_F(Tokens, ACutTokenIsNoAmpersand) {
    open(std::string("&x &\0 /\0 /", 10));
    EXPECT_EQ(token(2), "&");
    EXPECT_EQ(reader.ampersands, 0);
    EXPECT_EQ(token(), "&");  // "&" and a NUL byte
    EXPECT_EQ(reader.ampersands, 0);
    char text[10];
    EXPECT_TRUE(readTextRun(reader, text, sizeof text));
    EXPECT_EQ(std::string(text, 2), std::string("/\0", 2));
}

TEST_F(Tokens, AnAmpersandWhereANumberIsExpectedIsStillCounted) {
    open("& 5");
    int32_t value;
    EXPECT_FALSE(readNumber(reader, value));
    EXPECT_EQ(reader.ampersands, 1);
    EXPECT_TRUE(reader.afterAmpersand);
    EXPECT_EQ(number(), 5);
    EXPECT_FALSE(reader.afterAmpersand);
}

TEST_F(Tokens, AtEndTellsWhetherTheLastReadMetTheEndOfTheFile) {
    open("a b");
    token();
    EXPECT_FALSE(reader.atEnd);
    token();
    EXPECT_TRUE(reader.atEnd);

    open("a b\n");
    token();
    token();
    EXPECT_FALSE(reader.atEnd);
    EXPECT_FALSE(skipToken(reader));
    EXPECT_TRUE(reader.atEnd);

    open("12");
    EXPECT_EQ(number(), 12);
    EXPECT_TRUE(reader.atEnd);

    open("12 ");
    EXPECT_EQ(number(), 12);
    EXPECT_FALSE(reader.atEnd);
}

TEST_F(Tokens, SkipToAmpersandCountsFromTheStartOfTheFile) {
    open("x y & a & b");
    EXPECT_TRUE(skipToAmpersand(reader, 2));
    EXPECT_EQ(token(), "b");
    EXPECT_TRUE(skipToAmpersand(reader, 2));  // already there: nothing read
    EXPECT_FALSE(skipToAmpersand(reader, 3));
    EXPECT_TRUE(reader.atEnd);
}

TEST_F(Tokens, MissingFileCannotBeOpened) {
    EXPECT_FALSE(openTokens(reader, "no-such-file"));
    EXPECT_EQ(reader.file, nullptr);
}

// seekRecord: wherever the reader stands, the next token is the one after the
// (index + 1)-th "&", as if the file had been scanned from its start.
TEST_F(Tokens, SeekRecordReachesTheSamePlaceFromWhereverTheReaderStands) {
    open("head & a0 a1 & b0 & c0 c1 & d0\n");
    closeTokens(reader);
    const char* first[] = {"a0", "b0", "c0", "d0"};
    for (int from = 0; from < 4; ++from) {
        for (int read = 0; read < 3; ++read) {
            for (int to = 0; to < 4; ++to) {
                ASSERT_TRUE(seekRecord(reader, FileName, from));
                for (int k = 0; k < read; ++k) skipToken(reader);
                ASSERT_TRUE(seekRecord(reader, FileName, to));
                EXPECT_EQ(token(), first[to]) << from << " " << read << " " << to;
            }
        }
    }
    EXPECT_FALSE(seekRecord(reader, FileName, 4));
    EXPECT_EQ(reader.file, nullptr);
    EXPECT_FALSE(seekRecord(reader, FileName, -1));
    EXPECT_FALSE(seekRecord(reader, "no-such-file", 0));
}

TEST_F(Tokens, SeekRecordGoesOnInTheOpenFileForTheNextRecord) {
    open("& a & b & c\n");
    closeTokens(reader);
    ASSERT_TRUE(seekRecord(reader, FileName, 0));
    std::FILE* kept = reader.file;
    EXPECT_EQ(token(), "a");
    ASSERT_TRUE(seekRecord(reader, FileName, 1));
    EXPECT_EQ(reader.file, kept);
    EXPECT_EQ(token(), "b");
    ASSERT_TRUE(seekRecord(reader, FileName, 2));
    EXPECT_EQ(reader.file, kept);
    EXPECT_EQ(token(), "c");
}

TEST_F(Tokens, SeekRecordOpensAReplacedFileAnew) {
    open("& a & b\n");
    closeTokens(reader);
    ASSERT_TRUE(seekRecord(reader, FileName, 0));
    dir.writeBytes("other.dat", "& x & y\n");
    ASSERT_EQ(
        std::rename((dir.path() + "/other.dat").c_str(), (dir.path() + "/" + FileName).c_str()), 0);
    ASSERT_TRUE(seekRecord(reader, FileName, 1));
    EXPECT_EQ(token(), "y");
}

TEST_F(Tokens, SeekRecordForIndexZeroRereadsTheFile) {
    open("& a & b\n");
    closeTokens(reader);
    ASSERT_TRUE(seekRecord(reader, FileName, 0));
    EXPECT_EQ(token(), "a");
    dir.writeBytes(FileName, "& new\n");  // the same file, rewritten in place
    ASSERT_TRUE(seekRecord(reader, FileName, 0));
    EXPECT_EQ(token(), "new");
}

}  // namespace

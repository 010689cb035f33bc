#include <gtest/gtest.h>

#include <string>

#include "support/fixtures.h"
#include "ui/input_line.h"

namespace {

// The Russian layout over the Latin one, key by key.
struct KeyLetter {
    char key;
    const char* letter;  // UTF-8
};

constexpr KeyLetter Layout[] = {
    {'q', "й"}, {'w', "ц"}, {'e', "у"}, {'r', "к"}, {'t', "е"}, {'y', "н"}, {'u', "г"},  {'i', "ш"},
    {'o', "щ"}, {'p', "з"}, {'[', "х"}, {']', "ъ"}, {'a', "ф"}, {'s', "ы"}, {'d', "в"},  {'f', "а"},
    {'g', "п"}, {'h', "р"}, {'j', "о"}, {'k', "л"}, {'l', "д"}, {';', "ж"}, {'\'', "э"}, {'z', "я"},
    {'x', "ч"}, {'c', "с"}, {'v', "м"}, {'b', "и"}, {'n', "т"}, {'m', "ь"}, {',', "б"},  {'.', "ю"},
};

int cp866Byte(const char* utf8) {
    return static_cast<unsigned char>(toCp866(utf8).at(0));
}

TEST(MapKey, LatinKeysGiveTheLowercaseLetterOfTheRussianLayout) {
    for (const KeyLetter& k : Layout) {
        EXPECT_EQ(mapKey(k.key), cp866Byte(k.letter)) << k.key;
        if (k.key >= 'a' && k.key <= 'z') {
            EXPECT_EQ(mapKey(k.key - 'a' + 'A'), cp866Byte(k.letter)) << "upper case " << k.key;
        }
    }
}

TEST(MapKey, DigitsPassThrough) {
    for (int digit = '0'; digit <= '9'; ++digit) EXPECT_EQ(mapKey(digit), digit);
}

TEST(MapKey, EveryOtherKeyGivesNothing) {
    int mapped = 0;
    for (int key = -1; key < 1024; ++key)
        if (mapKey(key) != 0) ++mapped;
    EXPECT_EQ(mapped, 26 + 6 + 26 + 10) << "letters twice, six punctuation keys, ten digits";

    const int others[] = {' ',      '\n',      '\r',       8,        127,           0,    '`',
                          '~',      ':',       '"',        '{',      '}',           '<',  '>',
                          '/',      '?',       '-',        '=',      0xA0,          0xE0, 0xFF,
                          KEY_LEFT, KEY_RIGHT, KEY_RESIZE, KEY_F(1), KEY_BACKSPACE, -1,   1 << 20};
    for (int key : others) EXPECT_EQ(mapKey(key), 0) << key;
}

}  // namespace

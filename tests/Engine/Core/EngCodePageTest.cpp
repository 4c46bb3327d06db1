#include <gtest/gtest.h>

#include <cstring>

#include "Engine/Core/EngCodePage.h"

namespace {

const unsigned char k_undefined[5] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

// Every byte from 1 to 255, in order.
void AllBytes(char out[256])
{
    for (int i = 1; i < 256; i++)
        out[i - 1] = (char)i;
    out[255] = 0;
}

} // namespace

TEST(EngCodePage, EveryByteSurvivesUtf16RoundTrip)
{
    char text[256];
    AllBytes(text);
    char16_t wide[256];
    ASSERT_EQ(EngCodePageAnsiToUtf16(text, -1, wide, 256), 255);
    char back[256];
    bool used_default = true;
    ASSERT_EQ(EngCodePageUtf16ToAnsi(wide, -1, back, 256, '?', &used_default), 255);
    EXPECT_FALSE(used_default);
    EXPECT_EQ(0, memcmp(text, back, 256));
}

TEST(EngCodePage, EveryByteSurvivesUtf8RoundTrip)
{
    char text[256];
    AllBytes(text);
    int length = EngCodePageAnsiToUtf8Length(text);
    char utf8[1024];
    ASSERT_EQ(EngCodePageAnsiToUtf8(text, utf8, sizeof utf8), length);
    char back[256];
    bool used_default = true;
    ASSERT_EQ(EngCodePageUtf8ToAnsi(utf8, back, sizeof back, '?', &used_default), 255);
    EXPECT_FALSE(used_default);
    EXPECT_STREQ(text, back);
}

TEST(EngCodePage, HighPositionsMapToTheirUnicodeCharacters)
{
    EXPECT_EQ(EngCodePageCharToUnicode((char)0x80), u'\u20AC');
    EXPECT_EQ(EngCodePageCharToUnicode((char)0x8A), u'\u0160');
    EXPECT_EQ(EngCodePageCharToUnicode((char)0x99), u'\u2122');
    EXPECT_EQ(EngCodePageCharToUnicode((char)0x9F), u'\u0178');
    EXPECT_EQ(EngCodePageCharToUnicode((char)0xE9), u'\u00E9');
    EXPECT_EQ(EngCodePageUnicodeToChar(0x20AC), 0x80);
    EXPECT_EQ(EngCodePageUnicodeToChar(0x00FF), 0xFF);
}

TEST(EngCodePage, UndefinedPositionsKeepTheirValue)
{
    for (unsigned char b : k_undefined) {
        EXPECT_EQ(EngCodePageCharToUnicode((char)b), (char16_t)b);
        EXPECT_EQ(EngCodePageUnicodeToChar(b), b);
    }
    // The other C1 controls have no place in the code page: their positions hold printable characters.
    EXPECT_EQ(EngCodePageUnicodeToChar(0x80), -1);
    EXPECT_EQ(EngCodePageUnicodeToChar(0x9F), -1);
}

TEST(EngCodePage, EuroSignIsThreeUtf8Bytes)
{
    char utf8[8];
    const char euro[2] = {(char)0x80, 0};
    ASSERT_EQ(EngCodePageAnsiToUtf8(euro, utf8, sizeof utf8), 3);
    EXPECT_STREQ(utf8, "\xE2\x82\xAC");
}

TEST(EngCodePage, CharactersOutsideTheCodePageBecomeTheDefault)
{
    bool used_default = false;
    char out[16];
    // Cyrillic, then a character outside the basic plane as a surrogate pair: one default each.
    const char16_t wide[] = {u'A', 0x0416, 0xD83D, 0xDE00, u'B', 0};
    EXPECT_EQ(EngCodePageUtf16ToAnsi(wide, -1, out, sizeof out, '#', &used_default), 4);
    EXPECT_STREQ(out, "A##B");
    EXPECT_TRUE(used_default);

    EXPECT_EQ(EngCodePageUtf8ToAnsi("x\xD0\x96y\xF0\x9F\x98\x80", out, sizeof out, '?', &used_default), 4);
    EXPECT_STREQ(out, "x?y?");
    EXPECT_TRUE(used_default);
}

TEST(EngCodePage, MalformedUtf8NeverReadsPastTheText)
{
    char out[16];
    // A lead byte cut off by the terminator, a stray continuation byte, an overlong slash, a surrogate.
    EXPECT_EQ(EngCodePageUtf8ToAnsi("a\xE2", out, sizeof out), 2);
    EXPECT_STREQ(out, "a?");
    EXPECT_EQ(EngCodePageUtf8ToAnsi("\x80z", out, sizeof out), 2);
    EXPECT_STREQ(out, "?z");
    EXPECT_EQ(EngCodePageUtf8ToAnsi("\xC0\xAF", out, sizeof out), 2);
    EXPECT_STREQ(out, "??");
    const char* p = "\xED\xA0\x80";
    EXPECT_EQ(EngCodePageDecodeUtf8(&p), 0xFFFDu);
}

TEST(EngCodePage, TooSmallBufferFailsButStaysTerminatedOnWholeCharacters)
{
    char out[4];
    const char text[] = {'a', 'b', (char)0x80, 0};
    EXPECT_EQ(EngCodePageAnsiToUtf8(text, out, sizeof out), -1);
    EXPECT_STREQ(out, "ab");
    char16_t wide[3];
    EXPECT_EQ(EngCodePageAnsiToUtf16("abcd", -1, wide, 3), -1);
    EXPECT_EQ(wide[2], 0);
    EXPECT_EQ(EngCodePageUtf8ToAnsi("abc", out, 3), -1);
    EXPECT_STREQ(out, "ab");
    EXPECT_EQ(EngCodePageAnsiToUtf8(nullptr, out, sizeof out), -1);
    EXPECT_STREQ(out, "");
}

TEST(EngCodePage, GivenLengthStopsAtThatManyCharacters)
{
    char16_t wide[8];
    EXPECT_EQ(EngCodePageAnsiToUtf16("abcdef", 3, wide, 8), 3);
    EXPECT_EQ(wide[3], 0);
    char out[8];
    EXPECT_EQ(EngCodePageUtf16ToAnsi(u"xyzw", 2, out, sizeof out), 2);
    EXPECT_STREQ(out, "xy");
}

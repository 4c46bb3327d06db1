#include <gtest/gtest.h>

#include "Engine/Core/EngUnicode.h"
#include "EngFileTestSupport.h"

TEST(EngUnicode, BuildsUtf16FromWindows1252)
{
    const char text[] = {'C', 'a', 'f', (char)0xE9, ' ', (char)0x80, 0};
    EngUnicode string(text, false);
    const char16_t* wide = string.GetUnicodeString();
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(std::u16string(wide), u"Caf\u00E9 \u20AC");
    EXPECT_EQ(string.GetAsciiString(false, true), text);
}

TEST(EngUnicode, NarrowOnlyAndEmptyTextsMakeNoCopy)
{
    EngUnicode narrow("abc", true);
    EXPECT_EQ(narrow.GetUnicodeString(), nullptr);
    EXPECT_STREQ(narrow.GetAsciiString(false, false), "abc");
    EngUnicode empty("", false);
    EXPECT_EQ(empty.GetUnicodeString(), nullptr);
}

TEST(EngUnicode, MissingTextGivesEmptyStringOrNull)
{
    EngUnicode none(nullptr, false);
    EXPECT_EQ(none.GetAsciiString(true, true), nullptr);
    int mark = LogMark();
    EXPECT_STREQ(none.GetAsciiString(false, false), "");
    EXPECT_EQ(MessagesSince(mark), 0);
    EXPECT_STREQ(none.GetAsciiString(false, true), "");
    EXPECT_TRUE(LoggedSince(mark, "No string"));
    EngUnicode narrow_none(nullptr, true);
    narrow_none.GetAsciiString(false, true);
    EXPECT_TRUE(LoggedSince(mark, "No string (NCN)"));
}

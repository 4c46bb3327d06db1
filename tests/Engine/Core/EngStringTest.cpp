#include <gtest/gtest.h>

#include <cstring>

#include "Engine/Core/EngString.h"
#include "Engine/Core/EngTypes.h"
#include "EngFileTestSupport.h"

TEST(EngSafeStrcpy, CopiesWhatFitsAndAlwaysTerminates)
{
    char dest[8];
    std::memset(dest, 'x', sizeof(dest));
    EXPECT_EQ(dest, EngSafeStrcpy(dest, "abcdef", 4));
    EXPECT_STREQ("abc", dest);
    EXPECT_EQ('x', dest[4]);

    EngSafeStrcpy(dest, "abc", sizeof(dest));
    EngSafeStrcpy(dest, "", sizeof(dest));
    EXPECT_STREQ("", dest);
    EngSafeStrcpy(dest, "abc", sizeof(dest));
    EngSafeStrcpy(dest, nullptr, sizeof(dest));
    EXPECT_STREQ("", dest);
    EXPECT_STREQ("1234567", EngSafeStrcpy(dest, "1234567890", sizeof(dest)));
}

TEST(EngSafeStrcpy, ReadsNoFurtherThanTheDestinationSizeFromAnUnterminatedSource)
{
    // A fixed record field filled to the brim has no terminator; the copy must stop at the size.
    const char field[4] = {'a', 'b', 'c', 'd'};
    char dest[4];
    EXPECT_STREQ("abc", EngSafeStrcpy(dest, field, sizeof(dest)));
}

TEST(EngSafeStrcpy, NullDestinationIsReported)
{
    int mark = LogMark();
    EXPECT_EQ(nullptr, EngSafeStrcpy(nullptr, "abc", 4));
    EXPECT_TRUE(LoggedSince(mark, "No string"));
}

TEST(EngStrStr, WholeWordNeedsBlanksOrEdgesOnBothSides)
{
    char text[] = "word and more";
    EXPECT_EQ(text, EngStrStr(text, "word", true));
    char letter_after[] = "words here";
    EXPECT_EQ(nullptr, EngStrStr(letter_after, "word", true));
    EXPECT_EQ(letter_after, EngStrStr(letter_after, "word", false));
    char at_end[] = "the last word";
    EXPECT_EQ(at_end + 9, EngStrStr(at_end, "word", true));
    // A match inside a longer word does not count, even when a blank follows it.
    char inside[] = "sword word";
    EXPECT_EQ(inside + 6, EngStrStr(inside, "word", true));
    char only_inside[] = "sword\tx";
    EXPECT_EQ(nullptr, EngStrStr(only_inside, "word", true));
    EXPECT_EQ(only_inside + 1, EngStrStr(only_inside, "word", false));
    char tabbed[] = "a\tword\n";
    EXPECT_EQ(tabbed + 2, EngStrStr(tabbed, "word", true));
}

TEST(EngStrStr, BadArgumentsAreReportedShortTextsAreNot)
{
    int mark = LogMark();
    char empty[] = "";
    EXPECT_EQ(nullptr, EngStrStr(empty, "word", true));
    char shorter[] = "wo";
    EXPECT_EQ(nullptr, EngStrStr(shorter, "word", false));
    EXPECT_EQ(0, MessagesSince(mark));
    char text[] = "word";
    EXPECT_EQ(nullptr, EngStrStr(text, "", false));
    EXPECT_EQ(nullptr, EngStrStr(text, nullptr, false));
    EXPECT_EQ(nullptr, EngStrStr(static_cast<char*>(nullptr), "word", false));
    EXPECT_EQ(3, MessagesSince(mark));
    EXPECT_TRUE(LoggedSince(mark, "Invalid parameters"));
}

TEST(EngStringHelpers, BlankCharsNoneTextAndFourCharCodes)
{
    for (char c : {'\0', '\t', '\n', '\r', ' '})
        EXPECT_TRUE(EngIsBlankChar(c));
    EXPECT_FALSE(EngIsBlankChar('a'));
    EXPECT_FALSE(EngIsBlankChar('\v'));
    EXPECT_STREQ("(none)", EngStringOrNone(nullptr));
    EXPECT_STREQ("x", EngStringOrNone("x"));
    EXPECT_STREQ("USER", EngFourCharCodeToString(int(EngFourCC('U', 'S', 'E', 'R'))));
    // The buffer holds its terminator: a shorter-looking code never runs into old characters.
    EXPECT_EQ(4u, std::strlen(EngFourCharCodeToString(int(EngFourCC('m', 'C', 'T', 'Y')))));
    EXPECT_STREQ("mCTY", EngFourCharCodeToString(int(EngFourCC('m', 'C', 'T', 'Y'))));
}

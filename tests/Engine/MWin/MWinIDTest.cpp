#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "Engine/MWin/MWinArea.h"
#include "Engine/MWin/MWinID.h"
#include "MWinButtonFixture.h"

TEST(MWinID, CopyAcceptsThirtyOneCharactersAndRefusesThirtyTwo)
{
    MWinID id;
    const char* ok = "abcdefghijklmnopqrstuvwxyz01234";
    ASSERT_EQ(std::strlen(ok), 31u);
    EXPECT_EQ(MWinCopyID(id, ok), 1);
    EXPECT_STREQ(id, ok);

    int since = DebugGetMessageCount();
    EXPECT_EQ(MWinCopyID(id, "abcdefghijklmnopqrstuvwxyz012345"), 0);
    EXPECT_STREQ(id, ok) << "a refused copy leaves the destination as it was";
    EXPECT_TRUE(LoggedSince(since, "Source string Too Long <abcdefghijklmnopqrstuvwxyz012345>"));
}

TEST(MWinID, CopyNeverReadsPastThirtyTwoCharactersOfAnUnterminatedSource)
{
    // Exactly 32 bytes and no terminator: reading a 33rd byte would be caught by the address sanitizer.
    char* raw = static_cast<char*>(std::malloc(32));
    std::memset(raw, 'x', 32);
    MWinID id = "keep";
    EXPECT_EQ(MWinCopyID(id, raw), 0);
    EXPECT_STREQ(id, "keep");
    std::free(raw);
}

TEST(MWinID, CopyReportsMissingPointers)
{
    MWinID id;
    int since = DebugGetMessageCount();
    EXPECT_EQ(MWinCopyID(nullptr, "a"), 0);
    EXPECT_TRUE(LoggedSince(since, "No Dest ID"));
    EXPECT_EQ(MWinCopyID(id, nullptr), 0);
    EXPECT_TRUE(LoggedSince(since, "No Source ID"));
}

TEST(MWinID, EmptyIdsNeverMatchAndComparisonIsCaseSensitive)
{
    EXPECT_TRUE(MWinIDIsEmpty(nullptr));
    EXPECT_TRUE(MWinIDIsEmpty(""));
    EXPECT_FALSE(MWinIDIsEmpty("A"));
    EXPECT_FALSE(MWinIDsEqual("", ""));
    EXPECT_FALSE(MWinIDsEqual(nullptr, nullptr));
    EXPECT_FALSE(MWinIDsEqual("OK", "ok"));
    EXPECT_TRUE(MWinIDsEqual("OK", "OK"));
}

TEST(MWinArea, LeftAndTopEdgesAreInsideRightAndBottomOutside)
{
    _Dimension area;
    ASSERT_EQ(MWinSetArea(&area, 10, 20, 30, 40), &area);
    EXPECT_TRUE(MWinIsPointInArea(&area, 10, 20));
    EXPECT_TRUE(MWinIsPointInArea(&area, 39.9f, 59.9f));
    EXPECT_FALSE(MWinIsPointInArea(&area, 40, 30));
    EXPECT_FALSE(MWinIsPointInArea(&area, 20, 60));
    EXPECT_FALSE(MWinIsPointInArea(&area, 9.9f, 30));

    _Dimension copy = {};
    EXPECT_EQ(MWinCopyArea(&copy, &area), &copy);
    EXPECT_EQ(copy.w, 30);
    int since = DebugGetMessageCount();
    EXPECT_EQ(MWinSetArea(nullptr, 0, 0, 1, 1), nullptr);
    EXPECT_TRUE(LoggedSince(since, "Parameter Error"));
}

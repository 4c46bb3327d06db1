#include <gtest/gtest.h>

#include <cstring>

#include "Engine/Core/EngMemory.h"
#include "EngFileTestSupport.h"

TEST(EngMalloc, ZeroSizeIsNullAndReportedUnderOwner)
{
    int mark = LogMark();
    EXPECT_EQ(nullptr, EngMalloc(0, nullptr, false));
    EXPECT_TRUE(LoggedSince(mark, "EngMalloc )    Zero size"));
    EXPECT_EQ(nullptr, EngMalloc(0, "void Car::Load()", true));
    EXPECT_TRUE(LoggedSince(mark, "( Car::Load )    EngMalloc: Zero size"));
}

TEST(EngMalloc, ClearedBlocksAreZeroAndFreeingNullIsQuietUnlessAsked)
{
    unsigned char* block = static_cast<unsigned char*>(EngMalloc(64, nullptr, true));
    ASSERT_NE(nullptr, block);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(0, block[i]);
    int mark = LogMark();
    EngFree(block, true, nullptr);
    EngFree(nullptr, false, nullptr);
    EXPECT_EQ(0, MessagesSince(mark));
    EngFree(nullptr, true, "void Car::Free()");
    EXPECT_TRUE(LoggedSince(mark, "( Car::Free )    EngFree: Zero size"));
}

TEST(EngMallocStringFromString, CopiesAndRefusesMissingText)
{
    char* copy = EngMallocStringFromString("hello", true, nullptr);
    ASSERT_NE(nullptr, copy);
    EXPECT_STREQ("hello", copy);
    EngFree(copy, true, nullptr);

    int mark = LogMark();
    EXPECT_EQ(nullptr, EngMallocStringFromString(nullptr, false, nullptr));
    EXPECT_EQ(0, MessagesSince(mark));
    EXPECT_EQ(nullptr, EngMallocStringFromString(nullptr, true, nullptr));
    EXPECT_TRUE(LoggedSince(mark, "Does not exist."));
    // An empty text is an error only when errors are shown; otherwise it is copied.
    EXPECT_EQ(nullptr, EngMallocStringFromString("", true, nullptr));
    EXPECT_TRUE(LoggedSince(mark, "Not valid."));
    char* empty = EngMallocStringFromString("", false, nullptr);
    ASSERT_NE(nullptr, empty);
    EXPECT_STREQ("", empty);
    EngFree(empty, true, nullptr);
}

TEST(EngZeroMemory, ZerosBlockAndReportsBadParameters)
{
    char block[4] = {1, 2, 3, 4};
    EngZeroMemory(block, sizeof(block));
    EXPECT_EQ(0, std::memcmp(block, "\0\0\0\0", 4));
    int mark = LogMark();
    EngZeroMemory(nullptr, 4);
    EngZeroMemory(block, 0);
    EXPECT_EQ(2, MessagesSince(mark));
    EXPECT_TRUE(LoggedSince(mark, "Bad parameters."));
}

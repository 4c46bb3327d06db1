#include <gtest/gtest.h>

#include <cstring>

#include "Engine/Core/EngIndexedList.h"
#include "EngFileTestSupport.h"

TEST(EngIndexedList, GrowsInStepsOfGrowBy)
{
    EngIndexedList list(2);
    EXPECT_EQ(list.GetNumEntries(), 0);
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(list.AddEntry(&i, sizeof i), i);
    EXPECT_EQ(list.GetNumEntries(), 5);
    EXPECT_EQ(list.GetCapacity(), 6);
    for (int i = 0; i < 5; i++) {
        int size = 0;
        auto value = (const int*)list.GetEntryData(i, &size);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(*value, i);
        EXPECT_EQ(size, (int)sizeof(int));
    }
}

TEST(EngIndexedList, GrowByBelowOneMeansSixtyFour)
{
    EngIndexedList list(0);
    char c = 'a';
    list.AddEntry(&c, 1);
    EXPECT_EQ(list.GetCapacity(), 64);
}

TEST(EngIndexedList, EntriesAreOwnedCopies)
{
    EngIndexedList list;
    char text[6] = "hello";
    int index = list.AddEntry(text, sizeof text);
    text[0] = 'j';
    EXPECT_STREQ((const char*)list.GetEntryData(index, nullptr), "hello");
}

TEST(EngIndexedList, BadIndexReportsBothNumbers)
{
    EngIndexedList list;
    int value = 3;
    list.AddEntry(&value, sizeof value);
    list.AddEntry(&value, sizeof value);
    int mark = LogMark();
    int size = 99;
    EXPECT_EQ(list.GetEntryData(2, &size), nullptr);
    EXPECT_EQ(size, 0);
    EXPECT_TRUE(LoggedSince(mark, "Entry does not exist (2, 2)"));
    EXPECT_EQ(list.GetEntryData(-1, nullptr), nullptr);
}

TEST(EngIndexedList, EntryWithoutDataAndBadSizes)
{
    EngIndexedList list;
    int mark = LogMark();
    EXPECT_EQ(list.AddEntry(nullptr, 4), 0);
    EXPECT_EQ(list.GetEntryData(0, nullptr), nullptr);
    EXPECT_TRUE(LoggedSince(mark, "No data at index 0"));
    int value = 1;
    EXPECT_EQ(list.AddEntry(&value, 0), -1);
    EXPECT_EQ(list.AddEntry(&value, -4), -1);
    EXPECT_TRUE(LoggedSince(mark, "Data size not ok"));
    EXPECT_EQ(list.GetNumEntries(), 1);
}

TEST(EngIndexedList, RemoveAllEmptiesAndListCanBeReused)
{
    EngIndexedList list(3);
    int value = 9;
    for (int i = 0; i < 7; i++)
        list.AddEntry(&value, sizeof value);
    EXPECT_TRUE(list.RemoveAllEntries());
    EXPECT_EQ(list.GetNumEntries(), 0);
    EXPECT_EQ(list.GetCapacity(), 0);
    EXPECT_EQ(list.AddEntry(&value, sizeof value), 0);
    EXPECT_EQ(*(const int*)list.GetEntryData(0, nullptr), 9);
}

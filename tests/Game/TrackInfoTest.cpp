#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Engine/Core/EngDebug.h"
#include "Game/TrackInfo.h"
#include "Support/LogForTests.h"

TEST(TrackTable, RowsKeepTheirNamesFlagsAndGrid)
{
    const char* names[TRACK_COUNT] = {"Brown Fast", "Rocky P", "Green Grass", "Blue Curvey", "Gray @", "Yellow Star"};
    const int start_edges[TRACK_COUNT] = {3, 2, 3, 1, 2, 2};
    const float car_sizes[TRACK_COUNT] = {20, 20, 16, 14, 18, 13};
    const int first_slots[TRACK_COUNT][2] = {{282, 73}, {66, 213}, {260, 436}, {384, 446}, {582, 305}, {133, 241}};
    const int last_headings[TRACK_COUNT] = {359, 141, 71, 229, 272, 53};
    for (int track = 0; track < TRACK_COUNT; track++) {
        SCOPED_TRACE(track);
        const _TrackInfo* row = TrackInfoGetRow(track);
        ASSERT_NE(nullptr, row);
        EXPECT_STREQ(names[track], row->name);
        EXPECT_EQ(track == 2 ? 1 : 0, row->reverse_line);
        EXPECT_EQ(track == 4 ? 1 : 0, row->flags_shifted);
        EXPECT_EQ(start_edges[track], row->start_edge);
        EXPECT_EQ(1, row->floors);
        EXPECT_EQ(car_sizes[track], row->car_size);
        EXPECT_EQ(first_slots[track][0], row->grid_slots[0][0]);
        EXPECT_EQ(first_slots[track][1], row->grid_slots[0][1]);
        EXPECT_EQ(last_headings[track], row->grid_headings[TRACK_GRID_SLOTS - 1]);
        // The flag corners are the two ends of the starting edge.
        int edge = row->start_edge;
        int a = row->flag_corners[0], b = row->flag_corners[1];
        EXPECT_TRUE((a == edge && b == (edge + 1) % 4) || (b == edge && a == (edge + 1) % 4));
    }
    EXPECT_EQ(216u, sizeof(_TrackInfo));
}

TEST(TrackTable, BadTrackNumberReportsAndSelectsRowZero)
{
    TrackInfoInitVars(3);
    EXPECT_EQ(3, TrackInfoGetCurrentTrack());
    EXPECT_STREQ("Blue Curvey", TrackInfoGetCurrent()->name);

    TrackInfoInitVars(6);
    EXPECT_TRUE(LoggedSince(0, "Bad track num 6."));
    EXPECT_EQ(0, TrackInfoGetCurrentTrack());
    EXPECT_STREQ("Brown Fast", TrackInfoGetCurrent()->name);

    TrackInfoInitVars(5);
    TrackInfoInitVars(-1);
    EXPECT_TRUE(LoggedSince(0, "Bad track num -1."));
    EXPECT_EQ(0, TrackInfoGetCurrentTrack());
    EXPECT_EQ(nullptr, TrackInfoGetRow(-1));
    EXPECT_EQ(nullptr, TrackInfoGetRow(TRACK_COUNT));
}

TEST(TrackTable, OneFloorTracksHaveNoOverlay)
{
    for (int track = 0; track < TRACK_COUNT; track++) {
        TrackInfoInitVars(track);
        const _TrackOverlay* overlay = TrackInfoGetOverlay();
        EXPECT_EQ(0.0f, overlay->alpha);
        EXPECT_EQ(0.0f, overlay->destination[2]);
        EXPECT_EQ(0.0f, overlay->source[3]);
    }
}

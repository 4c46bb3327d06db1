#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Engine/Core/EngDebug.h"
#include "Game/Game.h"
#include "Game/Program.h"
#include "Game/TrackCheck.h"
#include "Game/Traverse.h"
#include "Support/GameTestSupport.h"
#include "Support/LogForTests.h"

namespace {

constexpr float kPi = 3.14159265358979f;

std::vector<EngUInt8> ReadGeneratedMap(int track)
{
    std::ifstream in("Data/150" + std::to_string(track) + ".dat", std::ios::binary);
    return std::vector<EngUInt8>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& name, const std::vector<EngUInt8>& bytes)
{
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

float AngleGap(float a, float b)
{
    float d = std::fmod(std::fabs(a - b), 2.0f * kPi);
    return d > kPi ? 2.0f * kPi - d : d;
}

std::vector<std::pair<int, int>> Rectangle(int x1, int y1, int x2, int y2)
{
    std::vector<std::pair<int, int>> pixels;
    for (int x = x1; x <= x2; x++) {
        for (int y = y1; y <= y2; y++)
            pixels.push_back({x, y});
    }
    return pixels;
}

// A map of road with a start band of the given pixels; nothing else.
std::vector<EngUInt8> RoadMapWithBand(const std::vector<std::pair<int, int>>& band)
{
    std::vector<EngUInt8> map(TRAV_MAP_BYTES, TRAV_ROAD);
    for (auto [x, y] : band)
        map[x * TRAV_MAP_SIZE + y] = TRAV_START_LINE;
    return map;
}

class TraverseTest : public ::testing::Test
{
protected:
    void LoadGenerated(int track) { ASSERT_TRUE(traverse->SetupTrack(track)) << "track " << track; }

    Program program;
    Game game{&program, "Game", 0};
    Traverse* traverse = game.GetTraverse();
};

} // namespace

TEST_F(TraverseTest, EveryGeneratedTrackHasSoundGridWallsAndLine)
{
    for (int track = 0; track < TRACK_COUNT; track++) {
        SCOPED_TRACE(track);
        LoadGenerated(track);
        std::vector<std::string> problems;
        EXPECT_TRUE(TrackCheckGridSlots(*traverse, &problems));
        EXPECT_TRUE(TrackCheckWalls(*traverse, &problems));
        EXPECT_TRUE(TrackCheckLine(*traverse, &problems));
        EXPECT_TRUE(TrackCheckCheckpointOrder(*traverse, &problems));
        EXPECT_TRUE(TrackCheckDirections(*traverse, &problems));
        EXPECT_TRUE(TrackCheckProgress(*traverse, &problems));
        EXPECT_TRUE(TrackCheckHudBoxes(*traverse, &problems));
        for (const std::string& problem : problems)
            ADD_FAILURE() << problem;
        EXPECT_GT(traverse->GetBestLineCount(), 10);
        EXPECT_LE(traverse->GetBestLineCount(), TRAV_MAX_POINTS);
    }
    // Every drivable cell found both walls and a visible line point.
    EXPECT_FALSE(LoggedSince(0, "Internal Error"));
    EXPECT_FALSE(LoggedSince(0, "No nearest"));
}

TEST_F(TraverseTest, NoPaintedLineRemainsButTheGridKeepsItsLineCells)
{
    for (int track = 0; track < TRACK_COUNT; track++) {
        SCOPED_TRACE(track);
        LoadGenerated(track);
        std::vector<EngUInt8> file = ReadGeneratedMap(track);
        ASSERT_EQ(size_t(TRAV_MAP_BYTES), file.size());
        const EngUInt8* map = traverse->GetAlphaMap(0);
        int painted = 0, differing = 0;
        for (int i = 0; i < TRAV_MAP_BYTES; i++) {
            painted += map[i] == TRAV_LINE;
            differing += map[i] != (file[i] == TRAV_LINE ? EngUInt8(TRAV_ROAD) : file[i]);
        }
        EXPECT_EQ(0, painted);
        EXPECT_EQ(0, differing);
        int line_cells = 0;
        for (int x = 0; x < TRAV_GRID_SIZE; x++) {
            for (int y = 0; y < TRAV_GRID_SIZE; y++)
                line_cells += traverse->GetKind(0, x, y) == TRAV_LINE;
        }
        // The walk stops within two cells of its start, so at most a couple of cells stay off it.
        EXPECT_GE(traverse->GetBestLineCount(), line_cells - 2);
        EXPECT_LE(traverse->GetBestLineCount(), line_cells);
    }
}

TEST_F(TraverseTest, CellAtGridSlotZeroRunsAlongItsHeadingBetweenBothWalls)
{
    for (int track = 0; track < TRACK_COUNT; track++) {
        SCOPED_TRACE(track);
        LoadGenerated(track);
        const _TrackInfo* row = TrackInfoGetRow(track);
        const _TravInfo* cell = traverse->GetTravInfoAtScreenPos(0, float(row->grid_slots[0][0]),
                                                                 float(row->grid_slots[0][1]));
        ASSERT_NE(nullptr, cell);
        float heading = row->grid_headings[0] * kPi / 180.0f;
        EXPECT_LT(AngleGap(cell->track_direction, heading), kPi / 4);
        EXPECT_LT(AngleGap(cell->direction, heading), kPi / 3);
        for (int k = 0; k < TRAV_LINE_VARIANTS; k++)
            EXPECT_LT(AngleGap(cell->variants[k], heading), kPi / 3);
        EXPECT_LT(AngleGap(cell->direction, cell->variants[0]), 1e-4f);
        // The walls lie on either side, as far apart as the road and its verges are wide.
        float across = std::hypot(float(cell->side1[0] - cell->side0[0]), float(cell->side1[1] - cell->side0[1]));
        EXPECT_GT(across, 2.5f * row->car_size);
        EXPECT_EQ((cell->side0[0] + cell->side1[0]) / 2, cell->centre[0]);
        EXPECT_EQ((cell->side0[1] + cell->side1[1]) / 2, cell->centre[1]);
    }
}

TEST_F(TraverseTest, Track2WalksItsLineInReverseDirectionOrder)
{
    LoadGenerated(2);
    ASSERT_TRUE(traverse->IsReversed());
    // Track 2 starts driving right: the reversed walk's first steps go right too.
    const TravPoint* first = traverse->GetBestLinePoint(0);
    const TravPoint* fifth = traverse->GetBestLinePoint(5);
    ASSERT_NE(nullptr, fifth);
    EXPECT_GT(fifth->x, first->x);
    std::vector<int> bands = TrackCheckBandsAlongLine(*traverse);
    ASSERT_GE(bands.size(), 4u);
    EXPECT_EQ((std::vector<int>{4, 1, 2, 3}), std::vector<int>(bands.begin(), bands.begin() + 4));

    // The same map walked in the plain order (track 0 has the same starting edge) runs the lap backwards.
    std::vector<EngUInt8> map = ReadGeneratedMap(2);
    ASSERT_EQ(size_t(TRAV_MAP_BYTES), map.size());
    traverse->SetTrack(0);
    ASSERT_TRUE(traverse->SetAlphaMap(0, map.data(), int(map.size())));
    ASSERT_TRUE(traverse->FillGrid());
    EXPECT_FALSE(traverse->IsReversed());
    EXPECT_EQ((std::vector<int>{4, 3, 2, 1, 4}), TrackCheckBandsAlongLine(*traverse));
}

TEST_F(TraverseTest, AxisAlignedStartLineTakesTheFirstCornerOrder)
{
    std::vector<EngUInt8> map = RoadMapWithBand(Rectangle(480, 87, 508, 249));
    ASSERT_TRUE(traverse->SetAlphaMap(0, map.data(), int(map.size())));
    ASSERT_TRUE(traverse->GetFlagExtremities());
    const TravStartLine& start = traverse->GetStartLine();
    const int expected[4][2] = {{480, 87}, {508, 87}, {508, 249}, {480, 249}};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(expected[i][0], start.corners[i][0]) << i;
        EXPECT_EQ(expected[i][1], start.corners[i][1]) << i;
    }
    // Track 0 starts from edge 3, the left edge: its midpoint is the start point, cell (60, 21).
    EXPECT_EQ(480.0f, start.midpoints[3][0]);
    EXPECT_EQ(168.0f, start.midpoints[3][1]);
    int cx = 0, cy = 0;
    traverse->GetStartCell(&cx, &cy);
    EXPECT_EQ(60, cx);
    EXPECT_EQ(21, cy);
}

TEST_F(TraverseTest, StartLineWithCoincidingCornersUsesTheSecondOrder)
{
    // A band leaning right as it goes down: in the first order the rightmost column's top pixel is also the
    // bottom row's last pixel.
    std::vector<std::pair<int, int>> band;
    for (int y = 200; y <= 240; y++) {
        for (int x = 300 + (y - 200); x <= 340 + (y - 200); x++)
            band.push_back({x, y});
    }
    std::vector<EngUInt8> map = RoadMapWithBand(band);
    ASSERT_TRUE(traverse->SetAlphaMap(0, map.data(), int(map.size())));
    ASSERT_TRUE(traverse->GetFlagExtremities());
    const int expected[4][2] = {{300, 200}, {340, 200}, {380, 240}, {340, 240}};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(expected[i][0], traverse->GetStartLine().corners[i][0]) << i;
        EXPECT_EQ(expected[i][1], traverse->GetStartLine().corners[i][1]) << i;
    }
}

TEST_F(TraverseTest, StartLineWithoutFourCornersHasNoLimitsAndBuildsNothing)
{
    std::vector<EngUInt8> dot = RoadMapWithBand({{500, 500}});
    ASSERT_TRUE(traverse->SetAlphaMap(0, dot.data(), int(dot.size())));
    EXPECT_FALSE(traverse->GetFlagExtremities());
    EXPECT_TRUE(LoggedSince(0, "Could not get limits"));
    EXPECT_FALSE(traverse->FillGrid());
    EXPECT_EQ(0, traverse->GetWallCount(0));
    EXPECT_EQ(0, traverse->GetBestLineCount());

    std::vector<EngUInt8> none = RoadMapWithBand({});
    ASSERT_TRUE(traverse->SetAlphaMap(0, none.data(), int(none.size())));
    EXPECT_FALSE(traverse->FillGrid());
    EXPECT_FALSE(traverse->GetStartLine().found);
}

TEST_F(TraverseTest, MapWithoutRoughGroundFindsNoWallAndPrintsTheGridClampedToItsEdges)
{
    std::vector<EngUInt8> map = RoadMapWithBand(Rectangle(480, 87, 508, 249));
    ASSERT_TRUE(traverse->SetAlphaMap(0, map.data(), int(map.size())));
    EXPECT_FALSE(traverse->FillGrid());
    EXPECT_TRUE(LoggedSince(0, "Could not get starting wall pos"));
    EXPECT_TRUE(LoggedSince(0, "FLOOR 0."));
    // The 310 x 340 window asked for is cut to the 128 rows of the grid, one line each; the start cell shows.
    EXPECT_EQ(1, LogCountSince(0, "000: "));
    EXPECT_EQ(1, LogCountSince(0, "127: "));
    EXPECT_EQ(0, LogCountSince(0, "128: "));
    std::string start_row = "021: ";
    for (int block = 0; block < 6; block++)
        start_row += "---------- ";
    EXPECT_TRUE(LoggedSince(0, (start_row + "SFFF").c_str()));
}

TEST_F(TraverseTest, WallTraceWithNoWayOnIsStuckAndBuildsNothing)
{
    // Wall all round but for the start band and one patch of rough ground with nowhere to go.
    std::vector<EngUInt8> map(TRAV_MAP_BYTES, TRAV_WALL);
    for (auto [x, y] : Rectangle(80, 8, 100, 24))
        map[x * TRAV_MAP_SIZE + y] = TRAV_START_LINE;
    for (auto [x, y] : Rectangle(240, 240, 247, 247))
        map[x * TRAV_MAP_SIZE + y] = TRAV_ROUGH;
    traverse->SetTrack(0);
    ASSERT_TRUE(traverse->SetAlphaMap(0, map.data(), int(map.size())));
    EXPECT_FALSE(traverse->FillGrid());
    EXPECT_TRUE(LoggedSince(0, "W> START: 30 30"));
    EXPECT_TRUE(LoggedSince(0, "Side 0 stuck at point 1 [30,30]"));
    EXPECT_EQ(0, traverse->GetBestLineCount());
}

TEST_F(TraverseTest, BrokenRacingLineEndsStuckAndLeavesNoTargetSpeeds)
{
    std::vector<EngUInt8> map = ReadGeneratedMap(0);
    ASSERT_EQ(size_t(TRAV_MAP_BYTES), map.size());
    LoadGenerated(0);
    // Take out the painted pixel of a line cell half a lap on.
    const TravPoint* gap = traverse->GetBestLinePoint(traverse->GetBestLineCount() / 2);
    ASSERT_NE(nullptr, gap);
    int at = (gap->x * TRAV_CELL_PIXELS + 4) * TRAV_MAP_SIZE + gap->y * TRAV_CELL_PIXELS + 4;
    ASSERT_EQ(TRAV_LINE, map[at]);
    map[at] = TRAV_ROAD;
    std::string folder = MakeTempFolder("traverse-broken");
    ASSERT_FALSE(folder.empty());
    WriteFile(folder + "/1500.dat", map);

    // The race still runs on the maps: the set-up succeeds, the drivers get no target speeds.
    EXPECT_TRUE(traverse->SetupTrack(0, (folder + "/150").c_str()));
    EXPECT_TRUE(LoggedSince(0, "Stuck"));
    EXPECT_EQ(0, traverse->GetBestLineCount());
    EXPECT_GT(traverse->GetWallCount(0), 10);
    EXPECT_GT(traverse->GetWallCount(1), 10);
    for (int row = 0; row < TRAV_PARM_ROWS; row++)
        EXPECT_FALSE(traverse->IsRowFilled(row));
    EXPECT_EQ(0, traverse->GetTargetSpeed(0, 0, gap->x, gap->y));
    EXPECT_EQ(TRAV_ROAD, traverse->GetAlpha(0, gap->x * TRAV_CELL_PIXELS + 4, gap->y * TRAV_CELL_PIXELS + 4));
}

TEST_F(TraverseTest, LineOffTheStartPointIsFoundAlongTheDirectionsWithinFiftyCells)
{
    // The start point is cell (10, 2); a closed ring of line cells has its corner three cells to the right.
    std::vector<EngUInt8> map = RoadMapWithBand(Rectangle(80, 8, 100, 24));
    auto paint = [&map](int cx, int cy, EngUInt8 value) {
        map[(cx * TRAV_CELL_PIXELS + 4) * TRAV_MAP_SIZE + cy * TRAV_CELL_PIXELS + 4] = value;
    };
    for (int x = 13; x <= 40; x++) {
        paint(x, 2, TRAV_LINE);
        paint(x, 20, TRAV_LINE);
    }
    for (int y = 3; y <= 19; y++) {
        paint(13, y, TRAV_LINE);
        paint(40, y, TRAV_LINE);
    }
    traverse->SetTrack(0);
    ASSERT_TRUE(traverse->SetAlphaMap(0, map.data(), int(map.size())));
    ASSERT_TRUE(traverse->GetFlagExtremities());
    ASSERT_TRUE(traverse->GetBestLine());
    EXPECT_EQ(13, traverse->GetBestLinePoint(0)->x);
    EXPECT_EQ(2, traverse->GetBestLinePoint(0)->y);
    EXPECT_GE(traverse->GetBestLineCount(), 2 * (27 + 18) - 2);

    // A ring whose nearest cell along a direction is sixty cells away is out of reach.
    std::replace(map.begin(), map.end(), EngUInt8(TRAV_LINE), EngUInt8(TRAV_ROAD));
    for (int k = 0; k <= 20; k++) {
        paint(70 + k, 60, TRAV_LINE);
        paint(70 + k, 80, TRAV_LINE);
        paint(70, 60 + k, TRAV_LINE);
        paint(90, 60 + k, TRAV_LINE);
    }
    ASSERT_TRUE(traverse->SetAlphaMap(0, map.data(), int(map.size())));
    EXPECT_FALSE(traverse->GetBestLine());
    EXPECT_TRUE(LoggedSince(0, "Could not get starting wall pos"));
}

TEST_F(TraverseTest, LineThatNeverClosesStopsAtTooManyBestPoints)
{
    // A serpentine of line cells filling the grid row after row, from the start point (cell 10, 2) on.
    std::vector<EngUInt8> map = RoadMapWithBand(Rectangle(80, 8, 100, 24));
    auto paint = [&map](int cx, int cy) {
        map[(cx * TRAV_CELL_PIXELS + 4) * TRAV_MAP_SIZE + cy * TRAV_CELL_PIXELS + 4] = TRAV_LINE;
    };
    for (int row = 0; 2 + 3 * row <= 125; row++) {
        int y = 2 + 3 * row;
        for (int x = 10; x <= 120; x++)
            paint(x, y);
        int end = row % 2 == 0 ? 120 : 10;
        if (y + 3 <= 125) {
            paint(end, y + 1);
            paint(end, y + 2);
        }
    }
    traverse->SetTrack(0);
    ASSERT_TRUE(traverse->SetAlphaMap(0, map.data(), int(map.size())));
    ASSERT_TRUE(traverse->GetFlagExtremities());
    EXPECT_FALSE(traverse->GetBestLine());
    EXPECT_TRUE(LoggedSince(0, "Too many best points"));
    EXPECT_EQ(0, traverse->GetBestLineCount());
}

TEST_F(TraverseTest, ShortLongCorruptOrMissingMapIsRefusedAndLeavesOnlyWall)
{
    std::vector<EngUInt8> map = ReadGeneratedMap(1);
    ASSERT_EQ(size_t(TRAV_MAP_BYTES), map.size());
    std::string folder = MakeTempFolder("traverse-bad");
    ASSERT_FALSE(folder.empty());
    std::string stem = folder + "/150";

    WriteFile(folder + "/1501.dat", std::vector<EngUInt8>(map.begin(), map.begin() + 1000));
    EXPECT_FALSE(traverse->SetupTrack(1, stem.c_str()));
    EXPECT_TRUE(LoggedSince(0, ("Problem reading grid alpha file <" + folder + "/1501.dat>").c_str()));

    map.push_back(0);
    WriteFile(folder + "/1502.dat", map);
    LoadGenerated(0);
    EXPECT_FALSE(traverse->SetupTrack(2, stem.c_str()));
    EXPECT_TRUE(LoggedSince(0, ("Problem reading grid alpha file <" + folder + "/1502.dat>").c_str()));
    EXPECT_EQ(0, traverse->GetBestLineCount());
    EXPECT_EQ(0, traverse->GetWallCount(0));

    map.pop_back();
    map[TRAV_MAP_BYTES / 2] = 200;
    WriteFile(folder + "/1504.dat", map);
    LoadGenerated(0);
    EXPECT_FALSE(traverse->SetupTrack(4, stem.c_str()));
    EXPECT_TRUE(LoggedSince(0, ("Problem reading grid alpha file <" + folder + "/1504.dat>").c_str()));
    EXPECT_EQ(0, traverse->GetBestLineCount());

    EXPECT_FALSE(traverse->SetupTrack(3, stem.c_str()));
    EXPECT_TRUE(LoggedSince(0, ("Could not load grid alpha file <" + folder + "/1503.dat>").c_str()));
    // Nothing of the refused map can be driven on or crossed as a checkpoint.
    for (int x = 0; x < TRAV_MAP_SIZE; x += 37) {
        for (int y = 0; y < TRAV_MAP_SIZE; y += 41)
            ASSERT_EQ(TRAV_WALL, traverse->GetAlpha(0, x, y)) << x << "," << y;
    }
    EXPECT_EQ(0, traverse->GetTargetSpeed(0, 0, 60, 21));
}

TEST_F(TraverseTest, ReadsOutsideTheGridAndMapAreRefusedOrWall)
{
    LoadGenerated(4);
    EXPECT_EQ(TRAV_WALL, traverse->GetAlpha(0, -1, 500));
    EXPECT_EQ(TRAV_WALL, traverse->GetAlpha(0, 500, TRAV_MAP_SIZE));
    EXPECT_EQ(TRAV_WALL, traverse->GetAlpha(1, 500, 500)); // one floor only
    EXPECT_EQ(nullptr, traverse->GetAlphaMap(1));
    EXPECT_EQ(nullptr, traverse->GetTravInfo(0, TRAV_GRID_SIZE, 0));
    EXPECT_EQ(nullptr, traverse->GetTravInfo(0, 0, -1));
    EXPECT_EQ(nullptr, traverse->GetTravInfo(1, 10, 10));
    EXPECT_EQ(nullptr, traverse->GetTravInfoAtScreenPos(0, 640.0f, 10.0f));
    EXPECT_EQ(nullptr, traverse->GetTravInfoAtScreenPos(0, 10.0f, -0.5f));
    EXPECT_EQ(nullptr, traverse->GetTravInfoAtScreenPos(0, NAN, 10.0f));
    EXPECT_NE(nullptr, traverse->GetTravInfoAtScreenPos(0, 639.9f, 479.9f));
    EXPECT_EQ(TRAV_WALL, traverse->GetKind(0, -1, 0));
    EXPECT_EQ(0, traverse->GetTargetSpeed(TRAV_PARM_ROWS, 0, 60, 60));
    EXPECT_EQ(0, traverse->GetTargetSpeed(0, 0, TRAV_GRID_SIZE, 60));
    EXPECT_EQ(0, traverse->GetAngleChange(0, traverse->GetBestLineCount()));
    EXPECT_EQ(nullptr, traverse->GetBestLinePoint(-1));
    EXPECT_EQ(nullptr, traverse->GetWallPoint(2, 0));
    EXPECT_EQ(nullptr, traverse->GetTrackParms(TRACK_COUNT, 0));
    EXPECT_FALSE(traverse->SetAlphaMap(0, traverse->GetAlphaMap(0), TRAV_MAP_BYTES - 1));
}

TEST_F(TraverseTest, BendsLowerTheTargetSpeedOfTheLine)
{
    for (int track = 0; track < TRACK_COUNT; track++) {
        SCOPED_TRACE(track);
        LoadGenerated(track);
        for (int row = 0; row < TRAV_PARM_ROWS; row++) {
            ASSERT_TRUE(traverse->IsRowFilled(row));
            int lowest = 255, highest = 0;
            for (int i = 0; i < traverse->GetBestLineCount(); i++) {
                const TravPoint* p = traverse->GetBestLinePoint(i);
                int speed = traverse->GetTargetSpeed(row, 0, p->x, p->y);
                // On the line the distance is 0: the target is what the bend ahead leaves.
                EXPECT_EQ(255 - traverse->GetAngleChange(row, i), speed);
                lowest = speed < lowest ? speed : lowest;
                highest = speed > highest ? speed : highest;
            }
            EXPECT_LT(lowest + 20, highest) << "row " << row;
            EXPECT_GE(lowest, traverse->GetTrackParms(track, row)->angle_change_cap);
        }
    }
}

TEST(TraverseDeathTest, MissingGameIsFatal)
{
    EXPECT_EXIT(std::make_unique<Traverse>(nullptr), ::testing::ExitedWithCode(255), "");
}

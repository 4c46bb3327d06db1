// A track on two floors, made here: a figure of eight whose north-south leg is a bridge over the east-west
// road, with a ramp up at its south end and a ramp down at its north end. The grid is built across both
// floors and two cars race over it, passing under and over the bridge on every lap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Support/LogForTests.h"
#include "Support/RaceHarness.h"

namespace {

constexpr int kHalfWidth = 56;
constexpr int kVerge = 10;
constexpr int kCross = 512;           // the bridge's x and the lower road's y
constexpr int kRampUp[2] = {676, 724};   // floor 0, driving north
constexpr int kRampDown[2] = {300, 348}; // floor 1
constexpr int kUpperRoad[2] = {300, 774};
constexpr int kLowerGap[2] = {400, 676}; // floor 0 under the raised road, but for the crossing

using Map = std::vector<EngUInt8>;

void Set(Map& map, int x, int y, EngUInt8 value)
{
    map[x * TRAV_MAP_SIZE + y] = value;
}

EngUInt8 Get(const Map& map, int x, int y)
{
    return map[x * TRAV_MAP_SIZE + y];
}

// One straight leg of road from (x0, y0) to (x1, y1), its ends squared off so that legs join at corners;
// rough verges along the walls, the racing line along the middle. Roads already painted keep their road.
void PaintLeg(Map& map, int x0, int y0, int x1, int y1, int clip_lo = 0, int clip_hi = TRAV_MAP_SIZE)
{
    const int lx = std::min(x0, x1) - kHalfWidth, hx = std::max(x0, x1) + kHalfWidth;
    const int ly = std::max(std::min(y0, y1) - kHalfWidth, clip_lo);
    const int hy = std::min(std::max(y0, y1) + kHalfWidth, clip_hi);
    for (int x = lx; x < hx; x++) {
        for (int y = ly; y < hy; y++) {
            bool inner = x >= lx + kVerge && x < hx - kVerge && (y >= ly + kVerge || ly == clip_lo) &&
                         (y < hy - kVerge || hy == clip_hi);
            if (inner)
                Set(map, x, y, TRAV_ROAD);
            else if (Get(map, x, y) == TRAV_WALL)
                Set(map, x, y, TRAV_ROUGH);
        }
    }
}

void PaintLine(Map& map, int x0, int y0, int x1, int y1, int clip_lo = 0, int clip_hi = TRAV_MAP_SIZE)
{
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); x++) {
        for (int y = std::max(std::min(y0, y1), clip_lo); y <= std::min(std::max(y0, y1), clip_hi - 1); y++)
            Set(map, x, y, TRAV_LINE);
    }
}

void PaintBand(Map& map, int x0, int y0, int x1, int y1, EngUInt8 value)
{
    for (int x = x0; x < x1; x++) {
        for (int y = y0; y < y1; y++) {
            EngUInt8 at = Get(map, x, y);
            if (at != TRAV_WALL)
                Set(map, x, y, value == TRAV_RAMP_UP || value == TRAV_RAMP_DOWN
                                   ? EngUInt8(at == TRAV_ROUGH ? value + 2 : value)
                                   : value);
        }
    }
}

// The lap, driven anticlockwise on the west loop and clockwise on the east loop: west along the lower road
// through the start line, south, east, north over the bridge, east, south, and west under the bridge.
struct Leg
{
    int x0, y0, x1, y1;
};
constexpr Leg kGroundLegs[] = {{850, 512, 200, 512}, {200, 512, 200, 850}, {200, 850, 512, 850},
                               {512, 200, 850, 200}, {850, 200, 850, 512}};

void BuildMaps(Map* ground, Map* upper)
{
    ground->assign(TRAV_MAP_BYTES, TRAV_WALL);
    upper->assign(TRAV_MAP_BYTES, TRAV_WALL);
    for (const Leg& leg : kGroundLegs)
        PaintLeg(*ground, leg.x0, leg.y0, leg.x1, leg.y1);
    // The bridge's leg on the ground: up to the ramp from the south, on from the ramp down to the north.
    PaintLeg(*ground, kCross, 850, kCross, 200, kLowerGap[1], TRAV_MAP_SIZE);
    PaintLeg(*ground, kCross, 850, kCross, 200, 0, kLowerGap[0]);
    PaintLeg(*upper, kCross, 850, kCross, 200, kUpperRoad[0], kUpperRoad[1]);
    for (const Leg& leg : kGroundLegs)
        PaintLine(*ground, leg.x0, leg.y0, leg.x1, leg.y1);
    PaintLine(*ground, kCross, 200, kCross, 850, kLowerGap[1], TRAV_MAP_SIZE);
    PaintLine(*ground, kCross, 200, kCross, 850, 0, kLowerGap[0]);
    PaintLine(*upper, kCross, 200, kCross, 850, kUpperRoad[0], kUpperRoad[1]);
    PaintBand(*ground, kCross - kHalfWidth, kRampUp[0], kCross + kHalfWidth, kRampUp[1], TRAV_RAMP_UP);
    PaintBand(*upper, kCross - kHalfWidth, kRampDown[0], kCross + kHalfWidth, kRampDown[1], TRAV_RAMP_DOWN);
    // Start line and checkpoints across the road.
    PaintBand(*ground, 296, 512 - kHalfWidth, 304, 512 + kHalfWidth, TRAV_START_LINE);
    PaintBand(*ground, 346, 850 - kHalfWidth, 354, 850 + kHalfWidth, TRAV_CHECKPOINT1);
    PaintBand(*ground, 676, 200 - kHalfWidth, 684, 200 + kHalfWidth, TRAV_CHECKPOINT2);
    PaintBand(*ground, 850 - kHalfWidth, 346, 850 + kHalfWidth, 354, TRAV_CHECKPOINT3);
}

bool AtCrossing(const CarState* state)
{
    float mx = state->x * TRAV_MAP_SIZE / 640.0f, my = state->y * TRAV_MAP_SIZE / 480.0f;
    return std::fabs(mx - kCross) < kHalfWidth && std::fabs(my - kCross) < kHalfWidth;
}

} // namespace

TEST(TwoFloors, GridTracesBothFloorsAndCarsRaceUnderAndOverTheBridge)
{
    RaceHarness race;
    ASSERT_TRUE(race.SetupRace(GAME_TYPE_QUICK_RACE, 0, 2, 2));
    Traverse* traverse = race.game->GetTraverse();
    Map ground, upper;
    BuildMaps(&ground, &upper);
    traverse->SetFloors(2);
    ASSERT_TRUE(traverse->SetAlphaMap(0, ground.data(), TRAV_MAP_BYTES));
    ASSERT_TRUE(traverse->SetAlphaMap(1, upper.data(), TRAV_MAP_BYTES));
    int mark = LogMark();
    ASSERT_TRUE(traverse->SetupFromMaps());
    EXPECT_TRUE(LoggedSince(mark, "W> Moving up."));
    EXPECT_TRUE(LoggedSince(mark, "W> Moving down."));
    EXPECT_FALSE(LoggedSince(mark, "but floor"));

    // Both walls and the racing line run over the bridge; its cells know where to go and how fast.
    for (int side = 0; side < 2; side++) {
        int upper_points = 0;
        for (int i = 0; i < traverse->GetWallCount(side); i++)
            upper_points += traverse->GetWallPoint(side, i)->floor == 1;
        EXPECT_GT(upper_points, 20) << "side " << side;
    }
    int upper_line = 0;
    for (int i = 0; i < traverse->GetBestLineCount(); i++)
        upper_line += traverse->GetBestLinePoint(i)->floor == 1;
    EXPECT_GT(upper_line, 40);
    const int cross = kCross / TRAV_CELL_PIXELS;
    const _TravInfo* bridge = traverse->GetTravInfo(1, cross, cross);
    ASSERT_NE(nullptr, bridge);
    EXPECT_NEAR(kCross * 640 / TRAV_MAP_SIZE, bridge->centre[0], 4);
    EXPECT_GT(traverse->GetTargetSpeed(0, 1, cross, cross), 100);
    const _TravInfo* under = traverse->GetTravInfo(0, cross, cross);
    EXPECT_NEAR(kCross * 480 / TRAV_MAP_SIZE, under->centre[1], 4);
    EXPECT_GT(traverse->GetTargetSpeed(0, 0, cross, cross), 100);
    // The bridge runs north and south, the road under it east and west (which way round the walls say
    // depends on the table row's start edge).
    EXPECT_LT(std::fabs(std::sin(bridge->track_direction)), 0.3f);
    EXPECT_LT(std::fabs(std::cos(under->track_direction)), 0.3f);

    // Both cars behind the start line on the lower road, heading west.
    Car* car = race.game->GetCar();
    for (int i = 0; i < 2; i++) {
        CarState* state = car->GetState(i);
        state->x = float(380 + 40 * i) * 640.0f / TRAV_MAP_SIZE;
        state->y = float(490 + 44 * i) * 480.0f / TRAV_MAP_SIZE;
        state->heading = 1.5707963f;
        car->PlaceOutline(i);
    }
    int over[2] = {}, under_passes[2] = {};
    bool was_at_crossing[2] = {};
    int last_checkpoint[2] = {TRAV_START_LINE, TRAV_START_LINE};
    bool in_order = true;
    mark = LogMark();
    while (race.RunFrame() && race.Seconds() < 300.0) {
        for (int i = 0; i < 2; i++) {
            const CarState* state = car->GetState(i);
            bool at = AtCrossing(state);
            if (at && !was_at_crossing[i])
                (state->floor == 1 ? over : under_passes)[i]++;
            was_at_crossing[i] = at;
            int checkpoint = car->GetRecord(i)->last_checkpoint;
            if (checkpoint != last_checkpoint[i]) {
                in_order = in_order && checkpoint == last_checkpoint[i] % 4 + 1;
                last_checkpoint[i] = checkpoint;
            }
        }
    }
    EXPECT_TRUE(race.game->IsMenusOn()) << "the race did not end";
    EXPECT_TRUE(in_order);
    EXPECT_FALSE(LoggedSince(mark, "on floor"));
    for (int i = 0; i < 2; i++) {
        SCOPED_TRACE("car " + std::to_string(i));
        EXPECT_EQ(2, car->GetRecord(i)->laps_done);
        // Over the bridge and under it once a lap.
        EXPECT_EQ(2, over[i]);
        EXPECT_EQ(2, under_passes[i]);
    }
}

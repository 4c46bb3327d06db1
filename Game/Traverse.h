#pragma once

// The track grid: the alpha maps of a track turned into 128 x 128 cells per floor, its two walls, its
// racing line, and what the computer drivers read per cell (steering direction, side points, progress,
// target speeds).

#include "Engine/Core/EngTypes.h"
#include "Game/TrackInfo.h"

class Game;

// Alpha-map values, one byte per pixel, maps stored x-major (index x * 1024 + y).
enum : EngUInt8 {
    TRAV_ROAD = 0,
    TRAV_CHECKPOINT1 = 1,
    TRAV_CHECKPOINT2 = 2,
    TRAV_CHECKPOINT3 = 3,
    TRAV_START_LINE = 4,
    TRAV_ROUGH = 5,
    TRAV_WALL = 6,
    TRAV_LINE = 7,
    TRAV_RAMP_UP = 8,
    TRAV_RAMP_DOWN = 9,
    TRAV_RAMP_UP_ROUGH = 10,
    TRAV_RAMP_DOWN_ROUGH = 11,
};

constexpr int TRAV_MAP_SIZE = 1024;
constexpr int TRAV_MAP_BYTES = TRAV_MAP_SIZE * TRAV_MAP_SIZE;
constexpr int TRAV_GRID_SIZE = 128;
constexpr int TRAV_CELL_PIXELS = TRAV_MAP_SIZE / TRAV_GRID_SIZE;
constexpr int TRAV_MAX_POINTS = 2000;
constexpr int TRAV_PARM_ROWS = 3;
constexpr int TRAV_LINE_VARIANTS = 5;
constexpr const char* TRAV_MAP_STEM = "Data/150";

// One grid cell (60 bytes).
struct _TravInfo
{
    float direction;      // toward the racing line ahead, heading radians (0 up the screen)
    EngUInt8 distance;    // squared cell distance to the nearest line point, 255 at most; 0 on the line
    EngUInt8 progress;    // nearest line point x 255 / (line points + 1)
    EngUInt8 wall_marks[6];
    EngInt32 side0[2];    // nearest point of the wall on the driver's right, 640 x 480
    EngInt32 side1[2];    // nearest point of the wall on the driver's left
    EngInt32 centre[2];
    float track_direction;
    float variants[TRAV_LINE_VARIANTS];
};
static_assert(sizeof(_TravInfo) == 60, "grid cell layout");

// One row of the drivers' parameters of a track (32 bytes).
struct TrackParmsRecord
{
    float speed_base;
    EngInt32 setup;
    EngInt32 look_ahead_pixels;
    EngInt32 first_look_ahead;
    EngInt32 second_look_ahead;
    float angle_change_scale;
    EngInt32 angle_change_cap;
    float distance_factor;
};
static_assert(sizeof(TrackParmsRecord) == 32, "track parameter layout");

// Per track and row: the filled flag, one angle-change byte per line point, one target speed per cell.
struct TrackVarsRecord
{
    EngUInt8 filled;
    EngUInt8 angle_changes[TRAV_MAX_POINTS];
    EngUInt8 target_speeds[TRAV_GRID_SIZE][TRAV_GRID_SIZE];
};
static_assert(sizeof(TrackVarsRecord) == 18385, "track vars layout");

// A line or wall point by its squared distance from a cell.
struct TravCandidate
{
    int distance;
    int index;
};

struct TravPoint
{
    EngInt16 x;
    EngInt16 y;
    EngUInt8 floor;
};

// The start line: corners P0..P3 in 1024 units, their edges' midpoints and directions, the starting edge.
struct TravStartLine
{
    int corners[4][2];
    float midpoints[4][2];
    float edge_directions[4];
    int start_edge;
    bool found;
};

class Traverse
{
public:
    // A missing game is fatal ("No game.").
    explicit Traverse(Game* game);
    Traverse(const Traverse&) = delete;
    Traverse& operator=(const Traverse&) = delete;

    // Loads the track's maps from stem + track + ".dat" (floor 1: + "T.dat"), builds the grid and clears the
    // painted racing line. False when a map could not be loaded; the maps are then all wall.
    bool SetupTrack(int track, const char* stem = TRAV_MAP_STEM);
    // Builds everything from the maps already loaded; false when the walls or the racing line fail.
    bool FillGrid();

    bool LoadGridAlphaFromFile(const char* stem);
    bool GetFlagExtremities();
    bool GetWall(int side);
    bool GetBestLine();
    // Index of the nearest visible racing-line point of a cell, its squared distance in *distance.
    int CalcNearestBestLinePointToPixel(int floor, int x, int y, int* distance);
    bool CalcAngleChangesLine(int track, int row);
    void FillPointUsingAngleChanges(int row);
    void PrintGrid(int floor, int x, int y, int half_width, int half_height);

    int GetTrack() const { return m_track; }
    int GetFloors() const { return m_floors; }
    bool IsReversed() const { return m_reverse; }
    // Null outside the grid or on a missing floor.
    const _TravInfo* GetTravInfo(int floor, int x, int y) const;
    // The cell under a 640 x 480 position.
    const _TravInfo* GetTravInfoAtScreenPos(int floor, float x, float y) const;
    // A map value; anything outside the map is wall.
    EngUInt8 GetAlpha(int floor, int x, int y) const;
    const EngUInt8* GetAlphaMap(int floor) const;
    EngUInt8 GetKind(int floor, int x, int y) const;
    // Target speed of a cell on a floor for a parameter row of the current track; 0 when not filled.
    EngUInt8 GetTargetSpeed(int row, int floor, int x, int y) const;
    bool IsRowFilled(int row) const;
    EngUInt8 GetAngleChange(int row, int point) const;
    const TrackParmsRecord* GetTrackParms(int track, int row) const;

    int GetBestLineCount() const { return m_line_count; }
    const TravPoint* GetBestLinePoint(int index) const;
    int GetWallCount(int side) const;
    const TravPoint* GetWallPoint(int side, int index) const;
    const TravStartLine& GetStartLine() const { return m_start; }
    // The start point in cells: the midpoint of the starting edge / 8.
    void GetStartCell(int* x, int* y) const;
    int GetNearestIndex(int floor, int x, int y) const;
    int GetNearestDistance(int floor, int x, int y) const;

    // For set-up without files (tools and tests): a whole map, copied; the number of floors; the grid built
    // from the maps as a loaded track's is.
    bool SetAlphaMap(int floor, const EngUInt8* map, int size);
    void SetTrack(int track);
    void SetFloors(int floors) { m_floors = floors == 2 ? 2 : 1; }
    bool SetupFromMaps();

private:
    void ClearGrid();
    void BuildKindMaps();
    EngUInt8 RampOf(int cx, int cy, int floor) const;
    void SetStartLine(const int corners[4][2]);
    void ClearLinePaint();
    bool FindWallStart(int side, int* x, int* y) const;
    bool TraceWall(int side, int x, int y);
    bool IsRampCell(int x, int y) const;
    // A wall trace's floor change where it comes onto a ramp.
    void ChangeFloorAtRamp(int x, int y, int* floor) const;
    void FillFloorTrackUsingWalls(int floor);
    bool FindLineStart(int* x, int* y) const;
    void FillNearestAndDirections(int floor);
    void FillProgress(int floor);
    void FillLineCellDirections(int floor);
    void SetupTrackParms();
    void FillLineVariants(int floor);
    bool NearestSidePoint(int side, int floor, int x, int y, int* best) const;
    bool IsWallCell(int floor, int x, int y) const;
    bool IsLineCell(int floor, int x, int y) const;
    bool IsRoadCell(int floor, int x, int y) const;
    bool WayIsClear(int floor, float x0, float y0, float x1, float y1, int steps) const;
    _TravInfo& Cell(int floor, int x, int y) { return m_cells[floor][x][y]; }

    Game* m_game;
    int m_track = 0;
    int m_floors = 1;
    bool m_reverse = false;
    TravPoint m_line[TRAV_MAX_POINTS] = {};
    int m_line_count = 0;
    TravPoint m_walls[2][TRAV_MAX_POINTS] = {};
    int m_wall_count[2] = {};
    TravStartLine m_start = {};
    _TravInfo m_cells[TRACK_MAX_FLOORS][TRAV_GRID_SIZE][TRAV_GRID_SIZE] = {};
    EngInt16 m_nearest[TRACK_MAX_FLOORS][TRAV_GRID_SIZE][TRAV_GRID_SIZE] = {};
    EngInt32 m_nearest_distance[TRACK_MAX_FLOORS][TRAV_GRID_SIZE][TRAV_GRID_SIZE] = {};
    TrackParmsRecord m_parms[TRACK_COUNT][TRAV_PARM_ROWS] = {};
    TrackVarsRecord m_vars[TRACK_COUNT][TRAV_PARM_ROWS] = {};
    // The upper floor's target speeds of the current track, per row.
    EngUInt8 m_upper_targets[TRAV_PARM_ROWS][TRAV_GRID_SIZE][TRAV_GRID_SIZE] = {};
    EngUInt8 m_alpha[TRACK_MAX_FLOORS][TRAV_MAP_BYTES] = {};
    EngUInt8 m_kind[TRACK_MAX_FLOORS][TRAV_GRID_SIZE][TRAV_GRID_SIZE] = {};
};

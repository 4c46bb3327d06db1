#include "Game/Traverse.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMath.h"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kTwoPi = 2.0f * kPi;
// One cell is 5 x 3.75 screen pixels; angles are taken on the screen so that they match the cars' headings.
constexpr float kCellScreenW = 640.0f / TRAV_GRID_SIZE;
constexpr float kCellScreenH = 480.0f / TRAV_GRID_SIZE;
constexpr int kLineAhead = 15;
constexpr int kWallSteps = 25;
constexpr int kNearSquared = 4 * 4;
constexpr int kVisibleSquared = 42 * 42;
constexpr int kLineSearch = 50;
constexpr int kMaxRepeatedReports = 10;
constexpr float kVariantFractions[TRAV_LINE_VARIANTS] = {1.0f, 0.98f, 0.96f, 1.02f, 1.04f};

// The walk's directions, and the three directions that may not follow each one.
constexpr int kDirs[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
constexpr int kExcluded[8][3] = {{7, 4, 6}, {6, 5, 7}, {5, 3, 6}, {4, 2, 7},
                                 {3, 0, 5}, {2, 1, 4}, {1, 0, 2}, {0, 1, 3}};
// Neighbours in clockwise order on the screen, for the wall trace.
constexpr int kRing[8][2] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};

// Speed base, set-up flag, look-ahead pixels, first and second look-ahead, angle-change scale and cap,
// distance factor.
const TrackParmsRecord kTrackParms[TRACK_COUNT][TRAV_PARM_ROWS] = {
    {{420, 1, 106, 10, 5, 3.385225f, 157, 0.130078f}, {420, 1, 91, 13, 31, 2.698698f, 140, 0.117187f},
     {420, 1, 96, 22, 22, 5.157657f, 166, 0.0f}},
    {{420, 1, 96, 10, 9, 0.970657f, 80, 0.001758f}, {420, 1, 79, 5, 6, 4.818379f, 194, 0.05332f},
     {420, 1, 89, 6, 7, 3.958547f, 220, 0.002344f}},
    {{400, 1, 75, 36, 4, 2.200625f, 109, 0.01875f}, {400, 1, 75, 21, 20, 2.281209f, 116, 0.0f},
     {400, 1, 82, 23, 13, 2.541898f, 128, 0.04233f}},
    {{350, 1, 43, 5, 35, 2.133334f, 90, 0.00504f}, {350, 1, 40, 12, 21, 2.917181f, 86, 0.0f},
     {350, 1, 52, 12, 6, 6.0f, 93, 0.2625f}},
    {{400, 1, 72, 15, 4, 4.146361f, 118, 0.28125f}, {400, 1, 66, 4, 16, 5.602227f, 117, 0.0f},
     {400, 1, 89, 37, 10, 1.537211f, 95, 0.0f}},
    {{400, 1, 68, 50, 10, 2.693132f, 112, 0.114204f}, {400, 1, 67, 4, 22, 3.991745f, 112, 0.085493f},
     {400, 1, 68, 45, 5, 2.47948f, 93, 0.0f}},
};

int g_no_nearest_reports = 0;
int g_vars_reports = 0;

float WrapAngle(float angle)
{
    angle = std::fmod(angle, kTwoPi);
    return angle < 0.0f ? angle + kTwoPi : angle;
}

// a - b along the shorter arc, in (-pi, pi].
float ShortDiff(float a, float b)
{
    float d = WrapAngle(a - b);
    return d > kPi ? d - kTwoPi : d;
}

// Heading of a screen vector: 0 up the screen, a car moves along (-sin, -cos); 0 for a zero vector.
float HeadingOf(float dx, float dy)
{
    if (dx == 0.0f && dy == 0.0f)
        return 0.0f;
    return WrapAngle(std::atan2(-dx, -dy));
}

float CellHeading(int x0, int y0, int x1, int y1)
{
    return HeadingOf((x1 - x0) * kCellScreenW, (y1 - y0) * kCellScreenH);
}

bool InGrid(int x, int y)
{
    return x >= 0 && x < TRAV_GRID_SIZE && y >= 0 && y < TRAV_GRID_SIZE;
}

bool IsRough(EngUInt8 kind)
{
    return kind == TRAV_ROUGH || kind == TRAV_RAMP_UP_ROUGH || kind == TRAV_RAMP_DOWN_ROUGH;
}

bool IsRamp(int kind)
{
    return kind >= TRAV_RAMP_UP && kind <= TRAV_RAMP_DOWN_ROUGH;
}

char KindChar(EngUInt8 kind)
{
    static const char kChars[] = "-123F#.Lud<>";
    return kind < sizeof(kChars) - 1 ? kChars[kind] : '?';
}

int Square(int v)
{
    return v * v;
}

bool ValuesAreGround(const EngUInt8* map)
{
    for (int i = 0; i < TRAV_MAP_BYTES; i++) {
        if (map[i] > TRAV_RAMP_DOWN_ROUGH)
            return false;
    }
    return true;
}

// Nearest first, and the earlier point first on equal distances.
bool IsNearer(const TravCandidate& a, const TravCandidate& b)
{
    return a.distance != b.distance ? a.distance < b.distance : a.index < b.index;
}

// The nearest point of a floor within a squared distance that accept takes, or {-1, 0}. The nearest one
// nearly always is, so it is found in one pass and the rest are listed and sorted only when it is refused.
template <typename Accept>
TravCandidate NearestAccepted(const TravPoint* points, int count, int floor, int x, int y, int max_distance,
                              Accept accept)
{
    TravCandidate nearest = {max_distance + 1, -1};
    for (int i = 0; i < count; i++) {
        const TravPoint& p = points[i];
        int d2 = Square(p.x - x) + Square(p.y - y);
        if (p.floor == floor && d2 < nearest.distance)
            nearest = {d2, i};
    }
    if (nearest.index < 0 || accept(nearest))
        return nearest.index < 0 ? TravCandidate{0, -1} : nearest;
    TravCandidate candidates[TRAV_MAX_POINTS];
    int listed = 0;
    for (int i = 0; i < count; i++) {
        const TravPoint& p = points[i];
        int d2 = Square(p.x - x) + Square(p.y - y);
        if (p.floor == floor && d2 <= max_distance && i != nearest.index)
            candidates[listed++] = {d2, i};
    }
    std::sort(candidates, candidates + listed, IsNearer);
    for (int k = 0; k < listed; k++) {
        if (accept(candidates[k]))
            return candidates[k];
    }
    return {0, -1};
}

} // namespace

Traverse::Traverse(Game* game) : m_game(game)
{
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game.");
    // The cars are set up from the parameter table before any grid exists.
    SetupTrackParms();
}

void Traverse::SetTrack(int track)
{
    const _TrackInfo* row = TrackInfoGetRow(track);
    if (!row) {
        DebugError(ENG_FUNC, "Bad track num %d.", track);
        track = 0;
        row = TrackInfoGetRow(0);
    }
    m_track = track;
    m_floors = row->floors == 2 ? 2 : 1;
    m_reverse = row->reverse_line != 0;
}

bool Traverse::SetupTrack(int track, const char* stem)
{
    SetTrack(track);
    if (!LoadGridAlphaFromFile(stem)) {
        // A track without its map must not race: all wall, no checkpoints to pass by accident.
        std::memset(m_alpha, TRAV_WALL, sizeof(m_alpha));
        BuildKindMaps();
        ClearGrid();
        return false;
    }
    BuildKindMaps();
    SetupFromMaps();
    return true;
}

bool Traverse::SetupFromMaps()
{
    bool filled = FillGrid();
    ClearLinePaint();
    return filled;
}

bool Traverse::LoadGridAlphaFromFile(const char* stem)
{
    for (int floor = 0; floor < m_floors; floor++) {
        char name[256];
        std::snprintf(name, sizeof(name), floor == 0 ? "%s%d%s" : "%s%dT%s", stem ? stem : "", m_track, ".dat");
        EngFile file;
        if (!file.OpenForReading(name, false, false)) {
            DebugError(ENG_FUNC, "Could not load grid alpha file <%s>", name);
            return false;
        }
        // A map of the wrong size or with values no ground has is refused whole.
        if (file.GetSize() != unsigned(TRAV_MAP_BYTES) || !file.Read(m_alpha[floor], TRAV_MAP_BYTES, false) ||
            !ValuesAreGround(m_alpha[floor])) {
            DebugError(ENG_FUNC, "Problem reading grid alpha file <%s>", name);
            return false;
        }
    }
    return true;
}

bool Traverse::SetAlphaMap(int floor, const EngUInt8* map, int size)
{
    if (floor < 0 || floor >= TRACK_MAX_FLOORS || !map || size != TRAV_MAP_BYTES)
        return false;
    std::memcpy(m_alpha[floor], map, TRAV_MAP_BYTES);
    BuildKindMaps();
    return true;
}

void Traverse::BuildKindMaps()
{
    for (int floor = 0; floor < TRACK_MAX_FLOORS; floor++) {
        for (int cx = 0; cx < TRAV_GRID_SIZE; cx++) {
            for (int cy = 0; cy < TRAV_GRID_SIZE; cy++) {
                int value = -1;
                bool ramp = false;
                for (int x = cx * TRAV_CELL_PIXELS; x < (cx + 1) * TRAV_CELL_PIXELS; x++) {
                    for (int y = cy * TRAV_CELL_PIXELS; y < (cy + 1) * TRAV_CELL_PIXELS; y++) {
                        int pixel = m_alpha[floor][x * TRAV_MAP_SIZE + y];
                        if (pixel > value || pixel == TRAV_LINE)
                            value = pixel;
                        ramp = ramp || IsRamp(EngUInt8(pixel));
                    }
                }
                // The racing line painted over a ramp must not hide the ramp from the cars: the line goes on
                // through the other floor's cells there.
                if (value == TRAV_LINE && ramp)
                    value = RampOf(cx, cy, floor);
                m_kind[floor][cx][cy] = EngUInt8(value);
            }
        }
    }
}

// The largest ramp value in a cell's block.
EngUInt8 Traverse::RampOf(int cx, int cy, int floor) const
{
    EngUInt8 ramp = 0;
    for (int x = cx * TRAV_CELL_PIXELS; x < (cx + 1) * TRAV_CELL_PIXELS; x++) {
        for (int y = cy * TRAV_CELL_PIXELS; y < (cy + 1) * TRAV_CELL_PIXELS; y++) {
            EngUInt8 pixel = m_alpha[floor][x * TRAV_MAP_SIZE + y];
            if (IsRamp(pixel) && pixel > ramp)
                ramp = pixel;
        }
    }
    return ramp;
}

void Traverse::ClearLinePaint()
{
    for (auto& map : m_alpha) {
        for (EngUInt8& pixel : map) {
            if (pixel == TRAV_LINE)
                pixel = TRAV_ROAD;
        }
    }
}

void Traverse::ClearGrid()
{
    std::memset(m_cells, 0, sizeof(m_cells));
    std::memset(m_nearest, 0, sizeof(m_nearest));
    std::memset(m_nearest_distance, 0, sizeof(m_nearest_distance));
    std::memset(m_upper_targets, 0, sizeof(m_upper_targets));
    m_line_count = 0;
    m_wall_count[0] = m_wall_count[1] = 0;
    // Target speeds of an earlier grid must not outlive it.
    for (auto& track_vars : m_vars) {
        for (TrackVarsRecord& vars : track_vars)
            vars.filled = 0;
    }
}

bool Traverse::IsWallCell(int floor, int x, int y) const
{
    return !InGrid(x, y) || m_kind[floor][x][y] == TRAV_WALL;
}

bool Traverse::IsLineCell(int floor, int x, int y) const
{
    return InGrid(x, y) && m_kind[floor][x][y] == TRAV_LINE;
}

bool Traverse::IsRoadCell(int floor, int x, int y) const
{
    return floor < m_floors && !IsWallCell(floor, x, y);
}

bool Traverse::FillGrid()
{
    ClearGrid();
    // Without a start line there is nothing to start the walls and the line from.
    if (!GetFlagExtremities())
        return false;
    if (!GetWall(0) || !GetWall(1))
        return false;
    for (int floor = 0; floor < m_floors; floor++)
        FillFloorTrackUsingWalls(floor);
    if (!GetBestLine())
        return false;
    for (int floor = 0; floor < m_floors; floor++) {
        FillNearestAndDirections(floor);
        FillProgress(floor);
        FillLineCellDirections(floor);
    }
    SetupTrackParms();
    for (int row = 0; row < TRAV_PARM_ROWS; row++) {
        CalcAngleChangesLine(m_track, row);
        FillPointUsingAngleChanges(row);
    }
    for (int floor = 0; floor < m_floors; floor++)
        FillLineVariants(floor);
    return true;
}

// ---- start line ------------------------------------------------------------------------------------------

bool Traverse::GetFlagExtremities()
{
    m_start = {};
    const EngUInt8* map = m_alpha[0];
    int min_x = TRAV_MAP_SIZE, max_x = -1, min_y = TRAV_MAP_SIZE, max_y = -1;
    for (int x = 0; x < TRAV_MAP_SIZE; x++) {
        for (int y = 0; y < TRAV_MAP_SIZE; y++) {
            if (map[x * TRAV_MAP_SIZE + y] != TRAV_START_LINE)
                continue;
            min_x = x < min_x ? x : min_x;
            max_x = x > max_x ? x : max_x;
            min_y = y < min_y ? y : min_y;
            max_y = y > max_y ? y : max_y;
        }
    }
    if (max_x < 0) {
        DebugError(ENG_FUNC, "Could not get limits");
        return false;
    }
    auto is_line = [map](int x, int y) { return map[x * TRAV_MAP_SIZE + y] == TRAV_START_LINE; };
    // Extreme pixels of a row (smallest or largest x) and of a column (smallest or largest y).
    auto row_end = [&](int y, bool largest) {
        for (int i = 0; i <= max_x - min_x; i++) {
            int x = largest ? max_x - i : min_x + i;
            if (is_line(x, y))
                return x;
        }
        return min_x;
    };
    auto column_end = [&](int x, bool largest) {
        for (int i = 0; i <= max_y - min_y; i++) {
            int y = largest ? max_y - i : min_y + i;
            if (is_line(x, y))
                return y;
        }
        return min_y;
    };
    int first[4][2] = {{row_end(min_y, false), min_y}, {max_x, column_end(max_x, false)},
                       {row_end(max_y, true), max_y}, {min_x, column_end(min_x, true)}};
    int second[4][2] = {{min_x, column_end(min_x, false)}, {row_end(min_y, true), min_y},
                        {max_x, column_end(max_x, true)}, {row_end(max_y, false), max_y}};
    auto usable = [](const int p[4][2]) {
        for (int i = 0; i < 4; i++) {
            for (int j = i + 1; j < 4; j++) {
                if (p[i][0] == p[j][0] && p[i][1] == p[j][1])
                    return false;
            }
        }
        return p[0][0] < p[2][0] && p[0][1] < p[2][1];
    };
    const int(*chosen)[2] = usable(first) ? first : (usable(second) ? second : nullptr);
    if (!chosen) {
        DebugError(ENG_FUNC, "Could not get limits");
        return false;
    }
    SetStartLine(chosen);
    return true;
}

void Traverse::SetStartLine(const int chosen[4][2])
{
    std::memcpy(m_start.corners, chosen, sizeof(m_start.corners));
    float centre_x = (chosen[0][0] + chosen[2][0]) * 0.5f;
    float centre_y = (chosen[0][1] + chosen[2][1]) * 0.5f;
    for (int edge = 0; edge < 4; edge++) {
        const int* a = chosen[edge];
        const int* b = chosen[(edge + 1) % 4];
        m_start.midpoints[edge][0] = (a[0] + b[0]) * 0.5f;
        m_start.midpoints[edge][1] = (a[1] + b[1]) * 0.5f;
        float angle = std::atan2(float(b[1] - a[1]), float(b[0] - a[0]));
        // Every edge points clockwise round the quad: turn it when the centre lies on its left.
        float cross = (b[0] - a[0]) * (centre_y - a[1]) - (b[1] - a[1]) * (centre_x - a[0]);
        m_start.edge_directions[edge] = WrapAngle(cross < 0.0f ? angle + kPi : angle);
    }
    const _TrackInfo* row = TrackInfoGetRow(m_track);
    m_start.start_edge = row->start_edge & 3;
    m_start.found = true;
}

void Traverse::GetStartCell(int* x, int* y) const
{
    const float* mid = m_start.midpoints[m_start.start_edge];
    *x = int(mid[0]) * TRAV_GRID_SIZE / TRAV_MAP_SIZE;
    *y = int(mid[1]) * TRAV_GRID_SIZE / TRAV_MAP_SIZE;
}

// ---- walls -------------------------------------------------------------------------------------------------

bool Traverse::FindWallStart(int side, int* out_x, int* out_y) const
{
    // Side 0 starts from the first corner of the starting edge (the driver's right), side 1 from the second.
    const int* corner = m_start.corners[(m_start.start_edge + side) % 4];
    int from_x = corner[0] / TRAV_CELL_PIXELS;
    int from_y = corner[1] / TRAV_CELL_PIXELS;
    int best = -1;
    for (int x = 0; x < TRAV_GRID_SIZE; x++) {
        for (int y = 0; y < TRAV_GRID_SIZE; y++) {
            if (!IsRough(m_kind[0][x][y]))
                continue;
            bool at_wall = false;
            for (const auto& d : kRing)
                at_wall = at_wall || IsWallCell(0, x + d[0], y + d[1]);
            int distance = Square(x - from_x) + Square(y - from_y);
            if (at_wall && (best < 0 || distance < best)) {
                best = distance;
                *out_x = x;
                *out_y = y;
            }
        }
    }
    return best >= 0;
}

bool Traverse::GetWall(int side)
{
    m_wall_count[side] = 0;
    int x = 0, y = 0;
    if (!FindWallStart(side, &x, &y)) {
        int sx = 0, sy = 0;
        GetStartCell(&sx, &sy);
        DebugError(ENG_FUNC, "Could not get starting wall pos");
        DebugInfo("******");
        DebugInfo("FLOOR %d.", 0);
        PrintGrid(0, sx, sy, 310, 340);
        return false;
    }
    DebugInfo("W> START: %d %d", x, y);
    return TraceWall(side, x, y);
}

bool Traverse::IsRampCell(int x, int y) const
{
    return m_floors == 2 && (IsRamp(m_kind[0][x][y]) || IsRamp(m_kind[1][x][y]));
}

// A ramp joins the two floors: a trace that comes onto one takes the other floor, whichever way it goes.
// Ramps up lie on the ground floor's map, ramps down on the upper floor's.
void Traverse::ChangeFloorAtRamp(int x, int y, int* floor) const
{
    EngUInt8 ground = m_kind[0][x][y], upper = m_kind[1][x][y];
    if (ground == TRAV_RAMP_DOWN || ground == TRAV_RAMP_DOWN_ROUGH) {
        DebugInfo("EDGE_DOWN but floor %d.", 0);
        return;
    }
    if (upper == TRAV_RAMP_UP || upper == TRAV_RAMP_UP_ROUGH) {
        DebugInfo("EDGE_UP but floor %d.", 1);
        return;
    }
    DebugInfo(*floor == 0 ? "W> Moving up." : "W> Moving down.");
    *floor = 1 - *floor;
}

bool Traverse::TraceWall(int side, int start_x, int start_y)
{
    // Follows the border of the drivable cells with the wall kept on one hand (clockwise neighbour scan),
    // on the floor the trace is on: a ramp cell takes it to the other floor, where the border goes on.
    int floor = 0;
    int back = 0;
    for (int i = 0; i < 8; i++) {
        if (IsWallCell(floor, start_x + kRing[i][0], start_y + kRing[i][1])) {
            back = i;
            if (i % 2 == 0)
                break;
        }
    }
    int x = start_x, y = start_y;
    TravPoint* points = m_walls[side];
    int& count = m_wall_count[side];
    points[count++] = {EngInt16(x), EngInt16(y), EngUInt8(floor)};
    for (;;) {
        int found = -1;
        for (int i = 1; i <= 8 && found < 0; i++) {
            int dir = (back + i) % 8;
            if (!IsWallCell(floor, x + kRing[dir][0], y + kRing[dir][1]))
                found = dir;
        }
        if (found < 0) {
            DebugError(ENG_FUNC, "Side %d stuck at point %d [%d,%d]", side, count, x, y);
            return false;
        }
        int previous = (found + 7) % 8;
        int wall_x = x + kRing[previous][0], wall_y = y + kRing[previous][1];
        bool was_on_ramp = IsRampCell(x, y);
        x += kRing[found][0];
        y += kRing[found][1];
        if (!was_on_ramp && IsRampCell(x, y))
            ChangeFloorAtRamp(x, y, &floor);
        // The wall cell just passed, seen from the new cell.
        for (int i = 0; i < 8; i++) {
            if (x + kRing[i][0] == wall_x && y + kRing[i][1] == wall_y)
                back = i;
        }
        bool closing = count > 10 && floor == 0 && EngAbs(x - start_x) <= 1 && EngAbs(y - start_y) <= 1;
        if (closing && x == start_x && y == start_y)
            return true;
        if (count >= TRAV_MAX_POINTS) {
            DebugError(ENG_FUNC, "Too many points for side %d", side);
            return false;
        }
        points[count++] = {EngInt16(x), EngInt16(y), EngUInt8(floor)};
        if (closing)
            return true;
    }
}

int Traverse::GetWallCount(int side) const
{
    return side == 0 || side == 1 ? m_wall_count[side] : 0;
}

const TravPoint* Traverse::GetWallPoint(int side, int index) const
{
    if (index < 0 || index >= GetWallCount(side))
        return nullptr;
    return &m_walls[side][index];
}

bool Traverse::WayIsClear(int floor, float x0, float y0, float x1, float y1, int steps) const
{
    for (int i = 1; i <= steps; i++) {
        float t = float(i) / float(steps);
        int x = int(std::floor(x0 + (x1 - x0) * t + 0.5f));
        int y = int(std::floor(y0 + (y1 - y0) * t + 0.5f));
        if (IsWallCell(floor, x, y))
            return false;
    }
    return true;
}

bool Traverse::NearestSidePoint(int side, int floor, int x, int y, int* best_index) const
{
    TravCandidate best = NearestAccepted(m_walls[side], m_wall_count[side], floor, x, y, INT_MAX - 1,
                                         [&](const TravCandidate& c) {
                                             const TravPoint& p = m_walls[side][c.index];
                                             return WayIsClear(floor, float(x), float(y), p.x, p.y, kWallSteps);
                                         });
    if (best.index < 0)
        return false;
    *best_index = best.index;
    return true;
}

void Traverse::FillFloorTrackUsingWalls(int floor)
{
    int reports = 0;
    const char* own_name = ENG_FUNC;
    auto report = [&reports, own_name](const char* text) {
        if (reports++ < kMaxRepeatedReports)
            DebugError(own_name, "%s", text);
    };
    for (int side = 0; side < 2; side++) {
        for (int i = 0; i < m_wall_count[side]; i++) {
            const TravPoint& p = m_walls[side][i];
            if (p.floor == floor)
                Cell(floor, p.x, p.y).wall_marks[side] = 255;
        }
    }
    for (int x = 0; x < TRAV_GRID_SIZE; x++) {
        for (int y = 0; y < TRAV_GRID_SIZE; y++) {
            if (!IsRoadCell(floor, x, y))
                continue;
            _TravInfo& cell = Cell(floor, x, y);
            for (const auto& d : kRing) {
                if (IsWallCell(floor, x + d[0], y + d[1]))
                    cell.wall_marks[2] = 254;
            }
            int i0 = 0, i1 = 0;
            if (!NearestSidePoint(0, floor, x, y, &i0)) {
                report("Internal Error");
                continue;
            }
            if (!NearestSidePoint(1, floor, x, y, &i1)) {
                report("Internal Error 2");
                continue;
            }
            const TravPoint& a = m_walls[0][i0];
            const TravPoint& b = m_walls[1][i1];
            cell.side0[0] = a.x * 640 / TRAV_GRID_SIZE;
            cell.side0[1] = a.y * 480 / TRAV_GRID_SIZE;
            cell.side1[0] = b.x * 640 / TRAV_GRID_SIZE;
            cell.side1[1] = b.y * 480 / TRAV_GRID_SIZE;
            cell.centre[0] = (cell.side0[0] + cell.side1[0]) / 2;
            cell.centre[1] = (cell.side0[1] + cell.side1[1]) / 2;
            int vx = cell.side1[0] - cell.side0[0];
            int vy = cell.side1[1] - cell.side0[1];
            if (vx == 0 && vy == 0) {
                report("Internal Error 3");
                continue;
            }
            // Side 1 lies on the driver's left: forward is the right-to-left vector turned a quarter clockwise.
            cell.track_direction = HeadingOf(float(-vy), float(vx));
            if (!InGrid(cell.centre[0] * TRAV_GRID_SIZE / 640, cell.centre[1] * TRAV_GRID_SIZE / 480))
                report("Internal Error 4");
        }
    }
}

// ---- racing line ---------------------------------------------------------------------------------------------

bool Traverse::FindLineStart(int* x, int* y) const
{
    int sx = 0, sy = 0;
    GetStartCell(&sx, &sy);
    if (IsLineCell(0, sx, sy) || (m_floors == 2 && IsLineCell(1, sx, sy))) {
        *x = sx;
        *y = sy;
        return true;
    }
    for (int distance = 1; distance <= kLineSearch; distance++) {
        for (const auto& d : kDirs) {
            int cx = sx + d[0] * distance, cy = sy + d[1] * distance;
            if (IsLineCell(0, cx, cy) || (m_floors == 2 && IsLineCell(1, cx, cy))) {
                *x = cx;
                *y = cy;
                return true;
            }
        }
    }
    DebugError(ENG_FUNC, "Could not get starting wall pos");
    return false;
}

bool Traverse::GetBestLine()
{
    m_line_count = 0;
    int start_x = 0, start_y = 0;
    if (!FindLineStart(&start_x, &start_y))
        return false;
    int sign = m_reverse ? -1 : 1;
    auto add_point = [this](int x, int y) {
        // Where the line crosses itself both floors hold it: the line stays on the floor it came on.
        EngUInt8 floor = (m_floors == 2 && !IsLineCell(0, x, y)) ? 1 : 0;
        if (m_floors == 2 && m_line_count > 0 && IsLineCell(m_line[m_line_count - 1].floor, x, y))
            floor = m_line[m_line_count - 1].floor;
        m_line[m_line_count++] = {EngInt16(x), EngInt16(y), floor};
    };
    add_point(start_x, start_y);
    int x = start_x, y = start_y, prev_x = -1, prev_y = -1;
    int last = 0;
    bool first_step = true;
    for (;;) {
        int found = -1;
        for (int k = 0; k < 8 && found < 0; k++) {
            int dir = (last + k) % 8;
            // The first step has no direction behind it, so nothing is excluded.
            if (!first_step && (dir == kExcluded[last][0] || dir == kExcluded[last][1] || dir == kExcluded[last][2]))
                continue;
            int nx = x + sign * kDirs[dir][0], ny = y + sign * kDirs[dir][1];
            if ((nx == prev_x && ny == prev_y) || !InGrid(nx, ny))
                continue;
            if (IsLineCell(0, nx, ny) || (m_floors == 2 && IsLineCell(1, nx, ny)))
                found = dir;
        }
        if (found < 0) {
            DebugError(ENG_FUNC, "Stuck");
            m_line_count = 0;
            return false;
        }
        first_step = false;
        last = found;
        prev_x = x;
        prev_y = y;
        x += sign * kDirs[found][0];
        y += sign * kDirs[found][1];
        if (m_line_count >= TRAV_MAX_POINTS) {
            DebugError(ENG_FUNC, "Too many best points");
            m_line_count = 0;
            return false;
        }
        add_point(x, y);
        if (m_line_count > 10 && EngAbs(x - start_x) <= 2 && EngAbs(y - start_y) <= 2)
            return true;
    }
}

const TravPoint* Traverse::GetBestLinePoint(int index) const
{
    if (index < 0 || index >= m_line_count)
        return nullptr;
    return &m_line[index];
}

int Traverse::CalcNearestBestLinePointToPixel(int floor, int x, int y, int* distance)
{
    // The nearest point that is close, or visible and not too far; on equal distances the earlier point.
    TravCandidate best = NearestAccepted(m_line, m_line_count, floor, x, y, kVisibleSquared,
                                         [&](const TravCandidate& c) {
                                             const TravPoint& p = m_line[c.index];
                                             // A quarter of a cell per step, so that no wall cell between is
                                             // stepped over.
                                             int steps = 4 * (EngAbs(p.x - x) + EngAbs(p.y - y));
                                             return c.distance <= kNearSquared ||
                                                    WayIsClear(floor, float(x), float(y), p.x, p.y, steps);
                                         });
    if (best.index >= 0) {
        *distance = best.distance;
        return best.index;
    }
    if (g_no_nearest_reports++ < kMaxRepeatedReports)
        DebugError(ENG_FUNC, "No nearest for pixel %d,%d", x, y);
    *distance = m_line_count > 0 ? Square(m_line[0].x - x) + Square(m_line[0].y - y) : 0;
    return 0;
}

void Traverse::FillNearestAndDirections(int floor)
{
    for (int x = 0; x < TRAV_GRID_SIZE; x++) {
        for (int y = 0; y < TRAV_GRID_SIZE; y++) {
            if (!IsRoadCell(floor, x, y))
                continue;
            int d2 = 0;
            int n = CalcNearestBestLinePointToPixel(floor, x, y, &d2);
            m_nearest[floor][x][y] = EngInt16(n);
            m_nearest_distance[floor][x][y] = d2;
            _TravInfo& cell = Cell(floor, x, y);
            cell.distance = EngUInt8(d2 > 255 ? 255 : d2);
            if (d2 == 0)
                continue;
            const TravPoint& ahead = m_line[(n + kLineAhead) % m_line_count];
            cell.direction = CellHeading(x, y, ahead.x, ahead.y);
        }
    }
}

void Traverse::FillProgress(int floor)
{
    for (int x = 0; x < TRAV_GRID_SIZE; x++) {
        for (int y = 0; y < TRAV_GRID_SIZE; y++) {
            if (IsRoadCell(floor, x, y))
                Cell(floor, x, y).progress = EngUInt8(m_nearest[floor][x][y] * 255 / (m_line_count + 1));
        }
    }
}

void Traverse::FillLineCellDirections(int floor)
{
    for (int x = 0; x < TRAV_GRID_SIZE; x++) {
        for (int y = 0; y < TRAV_GRID_SIZE; y++) {
            if (!IsLineCell(floor, x, y))
                continue;
            int used = 0;
            float average = 0.0f;
            for (const auto& d : kRing) {
                int nx = x + d[0], ny = y + d[1];
                if (IsWallCell(floor, nx, ny) || IsLineCell(floor, nx, ny))
                    continue;
                float angle = Cell(floor, nx, ny).direction;
                used++;
                average = used == 1 ? angle : WrapAngle(average + ShortDiff(angle, average) / float(used));
            }
            if (used > 0)
                Cell(floor, x, y).direction = average;
        }
    }
}

// ---- target speeds -------------------------------------------------------------------------------------------

void Traverse::SetupTrackParms()
{
    std::memcpy(m_parms, kTrackParms, sizeof(m_parms));
}

const TrackParmsRecord* Traverse::GetTrackParms(int track, int row) const
{
    if (track < 0 || track >= TRACK_COUNT || row < 0 || row >= TRAV_PARM_ROWS)
        return nullptr;
    return &m_parms[track][row];
}

bool Traverse::CalcAngleChangesLine(int track, int row)
{
    if (track < 0 || track >= TRACK_COUNT || row < 0 || row >= TRAV_PARM_ROWS)
        return false;
    const TrackParmsRecord& parms = m_parms[track][row];
    TrackVarsRecord& vars = m_vars[track][row];
    vars.filled = 0;
    if (!parms.setup) {
        DebugError(ENG_FUNC, "TrackParms[%d][%d] not setup", track, row);
        return false;
    }
    int n = m_line_count;
    for (int i = 0; i < n; i++) {
        const TravPoint& p = m_line[i];
        const TravPoint& a = m_line[(i + parms.first_look_ahead) % n];
        const TravPoint& b = m_line[((i + parms.first_look_ahead) % n + parms.second_look_ahead) % n];
        float change = std::fabs(ShortDiff(CellHeading(p.x, p.y, a.x, a.y), CellHeading(a.x, a.y, b.x, b.y)));
        if (change > kPi)
            change -= kPi;
        if (change < 0.0f || change > kPi) {
            DebugError(ENG_FUNC, "Internal Error");
            change = 0.0f;
        }
        float value = change * 255.0f * parms.angle_change_scale / kPi;
        float cap = float(255 - parms.angle_change_cap);
        value = value > cap ? cap : value;
        value = value < 0.0f ? 0.0f : (value > 254.0f ? 254.0f : value);
        vars.angle_changes[i] = EngUInt8(value);
    }
    vars.filled = n > 0 ? 1 : 0;
    if (!vars.filled) {
        DebugError(ENG_FUNC, "TrackVars[%d][%d] not filled", track, row);
        return false;
    }
    return true;
}

void Traverse::FillPointUsingAngleChanges(int row)
{
    if (row < 0 || row >= TRAV_PARM_ROWS)
        return;
    TrackVarsRecord& vars = m_vars[m_track][row];
    if (!vars.filled) {
        if (g_vars_reports++ < kMaxRepeatedReports)
            DebugError(ENG_FUNC, "Vars not setup");
        return;
    }
    float factor = m_parms[m_track][row].distance_factor;
    for (int floor = 0; floor < m_floors; floor++) {
        EngUInt8(*targets)[TRAV_GRID_SIZE] = floor == 0 ? vars.target_speeds : m_upper_targets[row];
        for (int x = 0; x < TRAV_GRID_SIZE; x++) {
            for (int y = 0; y < TRAV_GRID_SIZE; y++) {
                if (!IsRoadCell(floor, x, y))
                    continue;
                float d = m_cells[floor][x][y].distance;
                float c = vars.angle_changes[m_nearest[floor][x][y]];
                float target = (1.0f - d / 255.0f * factor) * (255.0f - c);
                target = target < 0.0f ? 0.0f : (target > 255.0f ? 255.0f : target);
                targets[x][y] = EngUInt8(target);
            }
        }
    }
}

void Traverse::FillLineVariants(int floor)
{
    for (int x = 0; x < TRAV_GRID_SIZE; x++) {
        for (int y = 0; y < TRAV_GRID_SIZE; y++) {
            if (!IsRoadCell(floor, x, y))
                continue;
            _TravInfo& cell = Cell(floor, x, y);
            float turn = ShortDiff(cell.direction, cell.track_direction);
            for (int k = 0; k < TRAV_LINE_VARIANTS; k++)
                cell.variants[k] = WrapAngle(cell.track_direction + turn * kVariantFractions[k]);
        }
    }
}

// ---- reading -------------------------------------------------------------------------------------------------

const _TravInfo* Traverse::GetTravInfo(int floor, int x, int y) const
{
    if (floor < 0 || floor >= m_floors || !InGrid(x, y))
        return nullptr;
    return &m_cells[floor][x][y];
}

const _TravInfo* Traverse::GetTravInfoAtScreenPos(int floor, float x, float y) const
{
    if (!(x >= 0.0f && y >= 0.0f && x < 640.0f && y < 480.0f))
        return nullptr;
    return GetTravInfo(floor, int(x * TRAV_GRID_SIZE / 640.0f), int(y * TRAV_GRID_SIZE / 480.0f));
}

EngUInt8 Traverse::GetAlpha(int floor, int x, int y) const
{
    if (floor < 0 || floor >= m_floors || x < 0 || y < 0 || x >= TRAV_MAP_SIZE || y >= TRAV_MAP_SIZE)
        return TRAV_WALL;
    return m_alpha[floor][x * TRAV_MAP_SIZE + y];
}

const EngUInt8* Traverse::GetAlphaMap(int floor) const
{
    return floor >= 0 && floor < m_floors ? m_alpha[floor] : nullptr;
}

EngUInt8 Traverse::GetKind(int floor, int x, int y) const
{
    if (floor < 0 || floor >= m_floors || !InGrid(x, y))
        return TRAV_WALL;
    return m_kind[floor][x][y];
}

int Traverse::GetNearestIndex(int floor, int x, int y) const
{
    if (floor < 0 || floor >= m_floors || !InGrid(x, y))
        return -1;
    return m_nearest[floor][x][y];
}

int Traverse::GetNearestDistance(int floor, int x, int y) const
{
    if (floor < 0 || floor >= m_floors || !InGrid(x, y))
        return -1;
    return m_nearest_distance[floor][x][y];
}

bool Traverse::IsRowFilled(int row) const
{
    return row >= 0 && row < TRAV_PARM_ROWS && m_vars[m_track][row].filled;
}

EngUInt8 Traverse::GetTargetSpeed(int row, int floor, int x, int y) const
{
    if (!IsRowFilled(row) || !InGrid(x, y) || floor < 0 || floor >= m_floors)
        return 0;
    return floor == 0 ? m_vars[m_track][row].target_speeds[x][y] : m_upper_targets[row][x][y];
}

EngUInt8 Traverse::GetAngleChange(int row, int point) const
{
    if (!IsRowFilled(row) || point < 0 || point >= m_line_count)
        return 0;
    return m_vars[m_track][row].angle_changes[point];
}

void Traverse::PrintGrid(int floor, int x, int y, int half_width, int half_height)
{
    if (floor < 0 || floor >= TRACK_MAX_FLOORS)
        return;
    int sx = 0, sy = 0;
    GetStartCell(&sx, &sy);
    // The window is clamped to the grid, whatever was asked for.
    int x0 = x - half_width < 0 ? 0 : x - half_width;
    int x1 = x + half_width >= TRAV_GRID_SIZE ? TRAV_GRID_SIZE - 1 : x + half_width;
    int y0 = y - half_height < 0 ? 0 : y - half_height;
    int y1 = y + half_height >= TRAV_GRID_SIZE ? TRAV_GRID_SIZE - 1 : y + half_height;
    for (int row = y0; row <= y1; row++) {
        char text[TRAV_GRID_SIZE * 2 + 2];
        int used = 0;
        for (int column = x0; column <= x1; column++) {
            bool start = m_start.found && column == sx && row == sy;
            text[used++] = start ? 'S' : KindChar(m_kind[floor][column][row]);
            if ((column - x0) % 10 == 9)
                text[used++] = ' ';
        }
        text[used] = '\0';
        DebugInfo("%03d: %s", row, text);
    }
}

#include "Game/TrackCheck.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <set>
#include <utility>

#include "Game/Traverse.h"

namespace {

constexpr float kDegToRad = 3.14159265358979f / 180.0f;
constexpr float kMapPerScreenX = TRAV_MAP_SIZE / 640.0f;
constexpr float kMapPerScreenY = TRAV_MAP_SIZE / 480.0f;
constexpr float kCellScreenW = 640.0f / TRAV_GRID_SIZE;
constexpr float kCellScreenH = 480.0f / TRAV_GRID_SIZE;
constexpr float kStepPixels = 6.0f;
constexpr int kHairpinSlack = 3; // line points
constexpr int kMaxStartLineAhead = 3; // car sizes

bool Fail(std::vector<std::string>* problems, const char* format, ...) __attribute__((format(printf, 2, 3)));

bool Fail(std::vector<std::string>* problems, const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    problems->push_back(std::string("track ") + text);
    return false;
}

EngUInt8 AlphaAtScreen(const Traverse& traverse, float x, float y)
{
    return traverse.GetAlpha(0, int(std::floor(x * kMapPerScreenX)), int(std::floor(y * kMapPerScreenY)));
}

bool IsBand(EngUInt8 value)
{
    return value >= TRAV_CHECKPOINT1 && value <= TRAV_START_LINE;
}

int Chebyshev(const TravPoint& a, const TravPoint& b)
{
    int dx = std::abs(a.x - b.x), dy = std::abs(a.y - b.y);
    return dx > dy ? dx : dy;
}

bool IsWallKind(const Traverse& traverse, int x, int y)
{
    return traverse.GetKind(0, x, y) == TRAV_WALL;
}

bool BordersWall(const Traverse& traverse, int x, int y)
{
    for (int dx = -1; dx <= 1; dx++) {
        for (int dy = -1; dy <= 1; dy++) {
            if ((dx || dy) && IsWallKind(traverse, x + dx, y + dy))
                return true;
        }
    }
    return false;
}

// Which values a car's S x S square at a grid slot covers.
bool SlotSquareCovers(const Traverse& traverse, int slot, bool (*accept)(EngUInt8))
{
    const _TrackInfo* row = TrackInfoGetRow(traverse.GetTrack());
    float x = float(row->grid_slots[slot][0]), y = float(row->grid_slots[slot][1]);
    float h = row->grid_headings[slot] * kDegToRad, half = row->car_size * 0.5f;
    float c = std::cos(h), s = std::sin(h);
    for (float u = -half; u <= half; u += 0.5f) {
        for (float v = -half; v <= half; v += 0.5f) {
            if (!accept(AlphaAtScreen(traverse, x + u * c + v * s, y - u * s + v * c)))
                return false;
        }
    }
    return true;
}

// Following a cell's direction for a few pixels never leads back along the lap: the cell reached is a wall
// or has its nearest line point ahead of this cell's. At a hairpin's tip the aim at the exit cuts back over
// the entry by a line point or two, so that much is allowed.
bool StepGoesForward(const Traverse& traverse, int x, int y)
{
    const _TravInfo* cell = traverse.GetTravInfo(0, x, y);
    float sx = (x + 0.5f) * kCellScreenW - std::sin(cell->direction) * kStepPixels;
    float sy = (y + 0.5f) * kCellScreenH - std::cos(cell->direction) * kStepPixels;
    int tx = int(std::floor(sx / kCellScreenW)), ty = int(std::floor(sy / kCellScreenH));
    if (IsWallKind(traverse, tx, ty))
        return true;
    int n = traverse.GetBestLineCount();
    int ahead = (traverse.GetNearestIndex(0, tx, ty) - traverse.GetNearestIndex(0, x, y) + n) % n;
    return ahead < n / 2 || n - ahead <= kHairpinSlack;
}

int ProgressAtScreen(const Traverse& traverse, int x, int y)
{
    const _TravInfo* cell = traverse.GetTravInfoAtScreenPos(0, float(x), float(y));
    return cell ? cell->progress : -1;
}

} // namespace

bool TrackCheckGridSlots(const Traverse& traverse, std::vector<std::string>* problems)
{
    int track = traverse.GetTrack();
    const _TrackInfo* row = TrackInfoGetRow(track);
    bool ok = true;
    auto on_road = [](EngUInt8 v) { return v == TRAV_ROAD || v == TRAV_START_LINE; };
    auto off_start = [](EngUInt8 v) { return v != TRAV_START_LINE; };
    for (int slot = 0; slot < TRACK_GRID_SLOTS; slot++) {
        if (!SlotSquareCovers(traverse, slot, on_road))
            ok = Fail(problems, "%d: grid slot %d is not all on road", track, slot);
    }
    if (!SlotSquareCovers(traverse, 0, off_start))
        ok = Fail(problems, "%d: grid slot 0 stands on the start line", track);
    float h = row->grid_headings[0] * kDegToRad;
    bool ahead = false;
    for (float k = 0.5f; k <= kMaxStartLineAhead * row->car_size && !ahead; k += 0.5f) {
        ahead = AlphaAtScreen(traverse, row->grid_slots[0][0] - std::sin(h) * k,
                              row->grid_slots[0][1] - std::cos(h) * k) == TRAV_START_LINE;
    }
    if (!ahead)
        ok = Fail(problems, "%d: no start line just ahead of grid slot 0", track);
    return ok;
}

bool TrackCheckWalls(const Traverse& traverse, std::vector<std::string>* problems)
{
    int track = traverse.GetTrack();
    bool ok = true;
    std::set<std::pair<int, int>> seen;
    for (int side = 0; side < 2; side++) {
        int n = traverse.GetWallCount(side);
        if (n <= 10) {
            ok = Fail(problems, "%d: wall %d has %d points", track, side, n);
            continue;
        }
        for (int i = 0; i < n; i++) {
            const TravPoint* p = traverse.GetWallPoint(side, i);
            if (Chebyshev(*p, *traverse.GetWallPoint(side, (i + 1) % n)) > 1)
                ok = Fail(problems, "%d: wall %d breaks after point %d", track, side, i);
            if (IsWallKind(traverse, p->x, p->y) || !BordersWall(traverse, p->x, p->y))
                ok = Fail(problems, "%d: wall %d point %d is not at a wall", track, side, i);
            if (side == 0)
                seen.insert({p->x, p->y});
            else if (seen.count({p->x, p->y}))
                ok = Fail(problems, "%d: both walls pass %d,%d", track, p->x, p->y);
        }
    }
    return ok;
}

bool TrackCheckLine(const Traverse& traverse, std::vector<std::string>* problems)
{
    int track = traverse.GetTrack();
    int n = traverse.GetBestLineCount();
    if (n <= 10)
        return Fail(problems, "%d: racing line has %d points", track, n);
    bool ok = true;
    std::set<std::pair<int, int>> cells;
    for (int i = 0; i < n; i++) {
        const TravPoint* p = traverse.GetBestLinePoint(i);
        const TravPoint* q = traverse.GetBestLinePoint((i + 1) % n);
        int gap = Chebyshev(*p, *q);
        if ((i + 1 < n && gap != 1) || (i + 1 == n && gap > 2))
            ok = Fail(problems, "%d: racing line breaks after point %d", track, i);
        if (IsWallKind(traverse, p->x, p->y))
            ok = Fail(problems, "%d: racing line point %d is in a wall", track, i);
        if (!cells.insert({p->x, p->y}).second)
            ok = Fail(problems, "%d: racing line visits %d,%d twice", track, p->x, p->y);
    }
    for (int row = 0; row < TRAV_PARM_ROWS; row++) {
        if (!traverse.IsRowFilled(row))
            ok = Fail(problems, "%d: target speeds of row %d not filled", track, row);
    }
    for (int x = 0; x < TRAV_GRID_SIZE; x++) {
        for (int y = 0; y < TRAV_GRID_SIZE; y++) {
            // The walk stops within two cells of its start, so the cells closing the loop may be left out.
            const TravPoint* start = traverse.GetBestLinePoint(0);
            bool closing = std::abs(x - start->x) <= 2 && std::abs(y - start->y) <= 2;
            if (traverse.GetKind(0, x, y) == TRAV_LINE && !cells.count({x, y}) && !closing)
                ok = Fail(problems, "%d: racing-line cell %d,%d is off the walk", track, x, y);
        }
    }
    return ok;
}

std::vector<int> TrackCheckBandsAlongLine(const Traverse& traverse)
{
    std::vector<int> bands;
    for (int i = 0; i < traverse.GetBestLineCount(); i++) {
        const TravPoint* p = traverse.GetBestLinePoint(i);
        for (int x = 0; x < TRAV_CELL_PIXELS; x++) {
            for (int y = 0; y < TRAV_CELL_PIXELS; y++) {
                EngUInt8 v = traverse.GetAlpha(0, p->x * TRAV_CELL_PIXELS + x, p->y * TRAV_CELL_PIXELS + y);
                if (IsBand(v) && (bands.empty() || bands.back() != v))
                    bands.push_back(v);
            }
        }
    }
    return bands;
}

bool TrackCheckCheckpointOrder(const Traverse& traverse, std::vector<std::string>* problems)
{
    std::vector<int> bands = TrackCheckBandsAlongLine(traverse);
    const std::vector<int> lap = {4, 1, 2, 3};
    const std::vector<int> closed_lap = {4, 1, 2, 3, 4};
    if (bands == lap || bands == closed_lap)
        return true;
    std::string seen;
    for (int v : bands)
        seen += char('0' + v);
    return Fail(problems, "%d: bands along the racing line are \"%s\", not 4123", traverse.GetTrack(), seen.c_str());
}

bool TrackCheckDirections(const Traverse& traverse, std::vector<std::string>* problems)
{
    int track = traverse.GetTrack();
    if (traverse.GetBestLineCount() <= 10)
        return Fail(problems, "%d: no racing line to steer by", track);
    bool ok = true;
    for (int x = 0; x < TRAV_GRID_SIZE; x++) {
        for (int y = 0; y < TRAV_GRID_SIZE; y++) {
            if (IsWallKind(traverse, x, y))
                continue;
            if (!StepGoesForward(traverse, x, y))
                ok = Fail(problems, "%d: cell %d,%d steers against the lap", track, x, y);
        }
    }
    return ok;
}

bool TrackCheckProgress(const Traverse& traverse, std::vector<std::string>* problems)
{
    int track = traverse.GetTrack();
    int n = traverse.GetBestLineCount();
    if (n <= 10)
        return Fail(problems, "%d: no racing line to measure progress by", track);
    bool ok = true;
    int previous = -1;
    for (int i = 0; i < n; i++) {
        const TravPoint* p = traverse.GetBestLinePoint(i);
        int progress = traverse.GetTravInfo(0, p->x, p->y)->progress;
        if (progress < previous)
            ok = Fail(problems, "%d: progress falls at line point %d", track, i);
        previous = progress;
    }
    if (previous < 250)
        ok = Fail(problems, "%d: progress ends the lap at %d", track, previous);
    // The grid stands before the start line, slot 0 nearest to it.
    const _TrackInfo* row = TrackInfoGetRow(track);
    int ahead = ProgressAtScreen(traverse, row->grid_slots[0][0], row->grid_slots[0][1]);
    if (ahead < 128)
        ok = Fail(problems, "%d: grid slot 0 is not at the end of the lap (progress %d)", track, ahead);
    for (int slot = 1; slot < TRACK_GRID_SLOTS; slot++) {
        int progress = ProgressAtScreen(traverse, row->grid_slots[slot][0], row->grid_slots[slot][1]);
        if (progress > ahead)
            ok = Fail(problems, "%d: grid slot %d is ahead of the slot before it", track, slot);
        ahead = progress;
    }
    return ok;
}

bool TrackCheckHudBoxes(const Traverse& traverse, std::vector<std::string>* problems)
{
    const _TrackInfo* row = TrackInfoGetRow(traverse.GetTrack());
    const EngInt32* boxes[2] = {row->hud_box1, row->hud_box2};
    bool ok = true;
    for (int b = 0; b < 2; b++) {
        bool clear = true;
        for (int x = boxes[b][0]; x <= boxes[b][2] && clear; x++) {
            for (int y = boxes[b][1]; y <= boxes[b][3] && clear; y++) {
                EngUInt8 v = traverse.GetAlpha(0, x, y);
                clear = v != TRAV_ROAD && !IsBand(v);
            }
        }
        if (!clear)
            ok = Fail(problems, "%d: head-up box %d covers road", traverse.GetTrack(), b + 1);
    }
    return ok;
}

bool TrackCheckAll(const Traverse& traverse, std::vector<std::string>* problems)
{
    bool ok = TrackCheckGridSlots(traverse, problems);
    ok = TrackCheckWalls(traverse, problems) && ok;
    ok = TrackCheckLine(traverse, problems) && ok;
    ok = TrackCheckCheckpointOrder(traverse, problems) && ok;
    ok = TrackCheckDirections(traverse, problems) && ok;
    ok = TrackCheckProgress(traverse, problems) && ok;
    return TrackCheckHudBoxes(traverse, problems) && ok;
}

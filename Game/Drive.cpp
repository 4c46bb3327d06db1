#include "Game/Drive.h"

#include <cmath>
#include <cstdlib>

#include "Engine/Core/EngDebug.h"
#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Levels.h"
#include "Game/TrackInfo.h"
#include "Game/Traverse.h"

namespace {

constexpr float kProbeAngle = 0.2f;
constexpr float kStraightWeight = 0.8f;
// Steering amounts below this come in steps of 50, so a car near its aim barely steers.
constexpr double kFineSteering = 150.0;
constexpr double kFineSteeringStep = 50.0;
constexpr float kPassFaster = 0.9f;
constexpr float kPassSide = 1.4f;
constexpr float kPassProbes[3] = {0.5f, 1.5f, 2.5f};
constexpr float kPassLookAhead = 2.0f;
constexpr float kPassBlendRange = 2.5f;
constexpr float kPassBlendBase = 0.3f;
constexpr float kPassProbeSpeed = 10.0f;
// A car on a cell that touches a wall drives by the nearest road cell within this many cells.
constexpr int kRoadSearchRings = 4;
// A racing car that has not got this many car lengths away in so many steps is stuck (wedged on a wall's
// tip): two, as a wedged car jitters by about one.
constexpr float kStuckReach = 2.0f;
constexpr int kStuckSteps = 2 * GAME_RACE_STEPS_PER_SECOND;
// A stuck car is put back this many car lengths further along its way, past what holds it.
constexpr float kPutBackAhead = 2.0f;

float Clamp(float v, float lo, float hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

float Distance2(float ax, float ay, float bx, float by)
{
    return (ax - bx) * (ax - bx) + (ay - by) * (ay - by);
}

// A point at a distance along a heading (0 up the screen, moving along (-sin, -cos)).
void Ahead(float x, float y, float heading, float distance, float out[2])
{
    out[0] = x - std::sin(heading) * distance;
    out[1] = y - std::cos(heading) * distance;
}

// Moves a car for a test and puts it back when the scope ends.
class TentativeMove
{
public:
    TentativeMove(Car* car, int index) : m_car(car), m_index(index)
    {
        const CarState* state = car->GetState(index);
        m_x = state->x;
        m_y = state->y;
    }
    ~TentativeMove() { MoveTo(m_x, m_y); }
    TentativeMove(const TentativeMove&) = delete;
    TentativeMove& operator=(const TentativeMove&) = delete;

    void MoveTo(float x, float y)
    {
        CarState* state = m_car->GetState(m_index);
        state->x = x;
        state->y = y;
        m_car->PlaceOutline(m_index);
    }

private:
    Car* m_car;
    int m_index;
    float m_x, m_y;
};

} // namespace

Drive::Drive(Game* game) : m_game(game), m_car(game ? game->GetCar() : nullptr)
{
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game.");
    DebugFatalCheck(m_car != nullptr, ENG_FUNC, "No car.");
}

const _TravInfo* Drive::GetTravInfoAtGridPos(int floor, float x, float y) const
{
    Traverse* traverse = m_game->GetTraverse();
    int cx = int(x * TRAV_GRID_SIZE / 640.0f);
    int cy = int(y * TRAV_GRID_SIZE / 480.0f);
    const _TravInfo* cell = traverse->GetTravInfo(floor, cx, cy);
    if (cell)
        return cell;
    DebugError(ENG_FUNC, "Invalid grid pos");
    cell = traverse->GetTravInfo(floor, 0, 0);
    return cell ? cell : traverse->GetTravInfo(0, 0, 0);
}

// The cell to aim at: on the car's floor, or on the other floor where the look ahead passes a ramp.
const _TravInfo* Drive::AimCell(int floor, float x, float y) const
{
    Traverse* traverse = m_game->GetTraverse();
    int cx = int(x * TRAV_GRID_SIZE / 640.0f);
    int cy = int(y * TRAV_GRID_SIZE / 480.0f);
    if (traverse->GetFloors() == 2 && traverse->GetKind(floor, cx, cy) == TRAV_WALL &&
        traverse->GetKind(1 - floor, cx, cy) != TRAV_WALL)
        floor = 1 - floor;
    int road_x = 0, road_y = 0;
    if (RoadCellNear(floor, x, y, &road_x, &road_y))
        return traverse->GetTravInfo(floor, road_x, road_y);
    return GetTravInfoAtGridPos(floor, x, y);
}

// The cell under a point, or where it touches a wall (such a cell holds no way on, and its centre is the
// screen's corner) the road cell nearest the point. False with none near.
bool Drive::RoadCellNear(int floor, float px, float py, int* cx, int* cy) const
{
    const Traverse* traverse = m_game->GetTraverse();
    const int x = int(px * TRAV_GRID_SIZE / 640.0f), y = int(py * TRAV_GRID_SIZE / 480.0f);
    *cx = x;
    *cy = y;
    if (traverse->GetKind(floor, x, y) != TRAV_WALL)
        return true;
    float best = -1.0f;
    for (int ring = 1; ring <= kRoadSearchRings && best < 0.0f; ring++) {
        for (int dx = -ring; dx <= ring; dx++) {
            for (int dy = -ring; dy <= ring; dy++) {
                if (std::abs(dx) != ring && std::abs(dy) != ring)
                    continue;
                if (traverse->GetKind(floor, x + dx, y + dy) == TRAV_WALL)
                    continue;
                float d = Distance2(px, py, (float(x + dx) + 0.5f) * 640.0f / TRAV_GRID_SIZE,
                                    (float(y + dy) + 0.5f) * 480.0f / TRAV_GRID_SIZE);
                if (best >= 0.0f && d >= best)
                    continue;
                best = d;
                *cx = x + dx;
                *cy = y + dy;
            }
        }
    }
    return best >= 0.0f;
}

void Drive::Tick(int c, bool overtaking)
{
    CarState* state = m_car->GetState(c);
    int cx = 0, cy = 0;
    if (!state || !state->trav || !RoadCellNear(state->floor, state->x, state->y, &cx, &cy))
        return;
    const _TravInfo* cell = m_game->GetTraverse()->GetTravInfo(state->floor, cx, cy);
    if (Stuck(c)) {
        PutBack(c, cx, cy);
        return;
    }
    const CarParms* parms = m_car->GetParms(c);
    const int row = m_game->GetLevels()->GetCarRow(c);
    const TrackParmsRecord* track = m_game->GetTraverse()->GetTrackParms(TrackInfoGetCurrentTrack(), row);
    const float size = m_car->GetSizes().length;

    float look = float(track->look_ahead_pixels) * parms->look_ahead;
    float look_point[2];
    Ahead(state->x, state->y, cell->variants[parms->variant % TRAV_LINE_VARIANTS], look, look_point);
    look_point[0] = Clamp(look_point[0], 0.0f, 639.0f);
    look_point[1] = Clamp(look_point[1], 0.0f, 479.0f);
    const _TravInfo* aim_cell = AimCell(state->floor, look_point[0], look_point[1]);
    float aim[2] = {float(aim_cell->centre[0]), float(aim_cell->centre[1])};

    float pass_point[2] = {0.0f, 0.0f}, pass_distance = 0.0f;
    bool passing = overtaking && PassingCheck(c, look_point[0], look_point[1], look, pass_point, &pass_distance);

    float left[2], right[2], straight[2];
    Ahead(state->x, state->y, state->heading - kProbeAngle, look, left);
    Ahead(state->x, state->y, state->heading + kProbeAngle, look, right);
    Ahead(state->x, state->y, state->heading, look, straight);

    if (passing && pass_distance > 0.0f) {
        float f = Clamp(1.0f - pass_distance / (kPassBlendRange * size) + kPassBlendBase, 0.0f, 1.0f);
        aim[0] += f * (pass_point[0] - aim[0]);
        aim[1] += f * (pass_point[1] - aim[1]);
    }
    float dl = Distance2(aim[0], aim[1], left[0], left[1]);
    float dr = Distance2(aim[0], aim[1], right[0], right[1]);
    float ds = Distance2(aim[0], aim[1], straight[0], straight[1]);
    int direction = 0;
    if (kStraightWeight * ds > dl && dr > dl)
        direction = 1;
    else if (dr < kStraightWeight * ds && dr < dl)
        direction = -1;
    if (direction != 0) {
        // In doubles: the square of a squared distance overflows an int.
        double amount = std::floor(double(ds) * double(ds) / (double(size) * double(size)));
        if (amount < kFineSteering)
            amount = std::floor(amount / kFineSteeringStep);
        m_car->Steer(c, direction, float(amount));
    }

    float target = float(m_game->GetTraverse()->GetTargetSpeed(row, state->floor, cx, cy));
    float base = track->speed_base;
    float b = parms->blend;
    float limit = b == 0.0f ? target * base / 255.0f : target * ((target / 255.0f) * b + (1.0f - b)) / 255.0f * base;
    m_car->SetAccelerating(c, state->speed <= limit);
}

bool Drive::PassingCheck(int c, float look_x, float look_y, float look, float* point, float* distance)
{
    CarState* state = m_car->GetState(c);
    if (state->passing_car >= 0 && KeptSidePoint(c, look_x, look_y, look, point, distance))
        return true;
    state->passing_car = -1;
    state->passing_side = -1;
    float kept[3];
    if (!SearchCarToPass(c, look_x, look_y, look, kept))
        return false;
    if (!ChooseSide(c, kept, point)) {
        state->passing_car = -1;
        state->passing_side = -1;
        return false;
    }
    *distance = kept[2];
    return true;
}

bool Drive::KeptSidePoint(int c, float look_x, float look_y, float look, float* point, float* distance)
{
    const CarState* state = m_car->GetState(c);
    const CarState* other = m_car->GetState(state->passing_car);
    if (!other || state->passing_side < 0 || !(state->speed > kPassFaster * other->speed) || look <= 0.0f)
        return false;
    const float size = m_car->GetSizes().length;
    float scale = kPassLookAhead * size / look;
    float tx = Clamp(state->x + (look_x - state->x) * scale, 0.0f, 639.0f);
    float ty = Clamp(state->y + (look_y - state->y) * scale, 0.0f, 479.0f);
    bool farther_from_other = Distance2(tx, ty, other->x, other->y) > Distance2(tx, ty, state->x, state->y);
    float threshold = size * size * (farther_from_other ? 0.25f : 4.0f);
    if (Distance2(state->x, state->y, other->x, other->y) > threshold)
        return false;
    const _TravInfo* cell = GetTravInfoAtGridPos(state->floor, tx, ty);
    const EngInt32* side = state->passing_side == 0 ? cell->side0 : cell->side1;
    float d2 = Distance2(float(side[0]), float(side[1]), tx, ty);
    if (d2 < size)
        return false;
    float d = std::sqrt(d2);
    point[0] = tx + kPassSide * size * (float(side[0]) - tx) / d;
    point[1] = ty + kPassSide * size * (float(side[1]) - ty) / d;
    *distance = kPassLookAhead * size;
    return true;
}

bool Drive::SearchCarToPass(int c, float look_x, float look_y, float look, float* kept)
{
    CarState* state = m_car->GetState(c);
    if (look <= 0.0f)
        return false;
    const float size = m_car->GetSizes().length;
    const int cars = m_game->GetCarsInRace();
    TentativeMove move(m_car, c);
    const float x = state->x, y = state->y;
    for (float probe : kPassProbes) {
        for (int o = 0; o < cars; o++) {
            const CarState* other = m_car->GetState(o);
            if (o == c || other->floor != state->floor || !(other->speed < state->speed))
                continue;
            float fraction = probe * size * kPassProbeSpeed / (state->speed - other->speed) / look;
            float mx = x + (look_x - x) * fraction, my = y + (look_y - y) * fraction;
            move.MoveTo(mx, my);
            if (m_car->CarsOverlap(c, o)) {
                state->passing_car = o;
                kept[0] = mx;
                kept[1] = my;
                kept[2] = probe * size;
                return true;
            }
        }
    }
    return false;
}

bool Drive::Stuck(int c)
{
    CarState* state = m_car->GetState(c);
    const float size = m_car->GetSizes().length;
    if (m_car->GetRecord(c)->finish_state != CAR_RACING ||
        Distance2(state->x, state->y, state->still_x, state->still_y) > kStuckReach * kStuckReach * size * size) {
        state->still_x = state->x;
        state->still_y = state->y;
        state->still_steps = 0;
        return false;
    }
    if (++state->still_steps < kStuckSteps)
        return false;
    state->still_steps = 0;
    return true;
}

void Drive::PutBack(int c, int cx, int cy)
{
    const Traverse* traverse = m_game->GetTraverse();
    const int floor = m_car->GetState(c)->floor;
    const float cell_w = 640.0f / TRAV_GRID_SIZE, cell_h = 480.0f / TRAV_GRID_SIZE;
    float ahead[2];
    Ahead((float(cx) + 0.5f) * cell_w, (float(cy) + 0.5f) * cell_h, traverse->GetTravInfo(floor, cx, cy)->direction,
          kPutBackAhead * m_car->GetSizes().length, ahead);
    int ax = 0, ay = 0;
    if (RoadCellNear(floor, Clamp(ahead[0], 0.0f, 639.0f), Clamp(ahead[1], 0.0f, 479.0f), &ax, &ay)) {
        cx = ax;
        cy = ay;
    }
    const float heading = traverse->GetTravInfo(floor, cx, cy)->direction;
    m_car->Recover(c, {(float(cx) + 0.5f) * cell_w, (float(cy) + 0.5f) * cell_h, heading});
}

bool Drive::OverlapsSlowerCar(int c) const
{
    const CarState* state = m_car->GetState(c);
    for (int o = 0; o < m_game->GetCarsInRace(); o++) {
        const CarState* other = m_car->GetState(o);
        if (o != c && other->floor == state->floor && other->speed < state->speed && m_car->CarsOverlap(c, o))
            return true;
    }
    return false;
}

bool Drive::ChooseSide(int c, const float kept[2], float* point)
{
    CarState* state = m_car->GetState(c);
    const float size = m_car->GetSizes().length;
    const _TravInfo* cell = GetTravInfoAtGridPos(state->floor, kept[0], kept[1]);
    const EngInt32* sides[2] = {cell->side0, cell->side1};
    bool usable[2] = {false, false};
    float reach[2] = {0.0f, 0.0f};
    float positions[2][2] = {};
    TentativeMove move(m_car, c);
    for (int s = 0; s < 2; s++) {
        reach[s] = Distance2(float(sides[s][0]), float(sides[s][1]), kept[0], kept[1]);
        if (reach[s] < size)
            continue;
        float d = std::sqrt(reach[s]);
        positions[s][0] = kept[0] + kPassSide * size * (float(sides[s][0]) - kept[0]) / d;
        positions[s][1] = kept[1] + kPassSide * size * (float(sides[s][1]) - kept[1]) / d;
        move.MoveTo(positions[s][0], positions[s][1]);
        usable[s] = !OverlapsSlowerCar(c);
    }
    if (!usable[0] && !usable[1])
        return false;
    int side = !usable[0] ? 1 : (!usable[1] ? 0 : (reach[0] > reach[1] ? 0 : 1));
    state->passing_side = side;
    point[0] = positions[side][0];
    point[1] = positions[side][1];
    return true;
}

#include "Game/Car.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/Graphics/EngTexture.h"
#include "Game/Drive.h"
#include "Game/Game.h"
#include "Game/Graphics.h"
#include "Game/Levels.h"
#include "Game/Program.h"
#include "Game/Sound.h"
#include "Game/Traverse.h"
#include "Game/Users.h"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kTwoPi = 2.0f * kPi;
constexpr float kDegrees = 0.0174532924f;
// Before the first race, the sizes of a car of 50.
constexpr CarSizes kFirstSizes = {50.0f, 50.0f, 25.0f, 25.0f, 1.0f, {10.0f, 10.0f, 5.0f, 5.0f, 20.0f, 20.0f}};
constexpr float kDrawFactors[6] = {0.2f, 0.28f, 0.1f, 0.14f, 0.35f, 0.32f};
constexpr float kSpeedUnitDivisor = 25.0f;
// The outline: four corners and two probes ahead, in half lengths and half widths, shrunk by 0.9.
constexpr float kOutlineShrink = 0.9f;
constexpr float kOutline[CAR_OUTLINE_POINTS][2] = {{-0.85f, -1.15f}, {0.85f, -1.15f}, {0.95f, 1.3f},
                                                   {-0.95f, 1.3f},   {0.17f, -2.5f},  {-0.17f, -2.5f}};
constexpr float kTurnDecay = 2.5f;
constexpr float kAnalogueSteering = 0.002f;
constexpr float kRoughSpeedUnits = 100.0f;
constexpr float kRoughBraking = 1.2f;
constexpr float kWheelSpin = 0.5f;
constexpr float kWheelFrames = 4.0f;
// A wall halves a fast car's speed and turns it away by |speed| x pi / 2400.
constexpr float kWallHalvingSpeed = 30.0f;
constexpr float kWallTurn = kPi / 2400.0f;
constexpr float kWallSideStep = 0.2f;
constexpr float kWallBackStep = 0.3f;
// Out of a wall in rings of half a pixel, in this many directions: around the car up to half a car length,
// around the step's start up to a car length.
constexpr float kWallPushStep = 0.5f;
constexpr float kWallPushReach = 0.5f;
constexpr int kWallSearchDirections = 16;
constexpr int kBodyLeftColumn = 1 | 8 | 64;
constexpr int kBodyRightColumn = 4 | 32 | 256;
// Progress near the line: a car just past it is at the lap's start, one just before it at its end.
constexpr int kProgressAtLineEnd = 251;
constexpr EngUInt32 kJustCrossedMs = 500;
constexpr int kProgressAtLineStart = 10;
constexpr EngUInt32 kLongIntoLapMs = 4001;
constexpr int kPlaceCheckProgress = 246;
constexpr EngUInt32 kLicenceLapMs = 12000;
constexpr float kTestPassedSeconds = 7.0f;
constexpr float kTooSlowSeconds = 4.0f;
// Collisions: equal masses, a push apart to 1.3 car lengths, a hit against the heading costs speed.
constexpr float kMass = 100.0f;
constexpr float kApart = 1.3f;
constexpr float kHitKeeps = 0.7f;
constexpr float kMaxForward = 1.5f;
// Finish flags: 30 x 30, 30 above their point, 50 frames a second through ten pictures.
constexpr float kFlagSize = 30.0f;
constexpr float kFlagFramesPerSecond = 50.0f;
constexpr float kFlagShift = 30.0f;
constexpr float kShadowScale = 1.1f;

const float kColours[CAR_COLOURS][3] = {
    {255 / 255.0f, 50 / 255.0f, 40 / 255.0f},   {44 / 255.0f, 44 / 255.0f, 253 / 255.0f},
    {234 / 255.0f, 255 / 255.0f, 118 / 255.0f}, {211 / 255.0f, 237 / 255.0f, 219 / 255.0f},
    {250 / 255.0f, 224 / 255.0f, 18 / 255.0f},  {250 / 255.0f, 25 / 255.0f, 240 / 255.0f},
    {101 / 255.0f, 251 / 255.0f, 103 / 255.0f}, {18 / 255.0f, 203 / 255.0f, 250 / 255.0f},
};

float Wrap(float angle)
{
    if (angle >= kTwoPi)
        angle -= kTwoPi;
    if (angle < 0.0f)
        angle += kTwoPi;
    return angle;
}

bool IsRough(int kind)
{
    return kind == TRAV_ROUGH || kind == TRAV_RAMP_UP_ROUGH || kind == TRAV_RAMP_DOWN_ROUGH;
}

void SetTimeParts(CarLapTime* lap, EngUInt32 ms)
{
    lap->minutes = int(ms / 60000);
    lap->seconds = int(ms / 1000 % 60);
    lap->hundredths = int(ms / 10 % 100);
    Car::GetTimeText(ms, lap->text, sizeof(lap->text));
}

// Moving by d along an angle: x += sin(a) d, y += cos(a) d.
void MoveAlong(CarState& state, float angle, float d)
{
    state.x += std::sin(angle) * d;
    state.y += std::cos(angle) * d;
}

struct StandingEntry
{
    int car;
    int laps;
    int progress;
    int finish_state;
    int finish_place;
};

bool StandsBefore(const StandingEntry& a, const StandingEntry& b)
{
    bool a_done = a.finish_state != CAR_RACING, b_done = b.finish_state != CAR_RACING;
    if (a_done != b_done)
        return a_done;
    if (a_done)
        return a.finish_place < b.finish_place;
    if (a.laps != b.laps)
        return a.laps > b.laps;
    if (a.progress != b.progress)
        return a.progress > b.progress;
    return a.car > b.car;
}

long Cross(const int a[2], const int b[2], const int p[2])
{
    return long(b[0] - a[0]) * (p[1] - a[1]) - long(b[1] - a[1]) * (p[0] - a[0]);
}

bool Inside(const int quad[4][2], const int p[2])
{
    for (int e = 0; e < 4; e++) {
        if (Cross(quad[e], quad[(e + 1) % 4], p) < 0)
            return false;
    }
    return true;
}

bool SegmentsCross(const int a0[2], const int a1[2], const int b0[2], const int b1[2])
{
    long s0 = Cross(a0, a1, b0), s1 = Cross(a0, a1, b1);
    long t0 = Cross(b0, b1, a0), t1 = Cross(b0, b1, a1);
    if ((s0 > 0 && s1 > 0) || (s0 < 0 && s1 < 0) || (t0 > 0 && t1 > 0) || (t0 < 0 && t1 < 0))
        return false;
    // Parallel segments do not cross.
    return !(s0 == 0 && s1 == 0);
}

void ToInt(const float in[4][2], int out[4][2])
{
    for (int i = 0; i < 4; i++) {
        out[i][0] = int(in[i][0]);
        out[i][1] = int(in[i][1]);
    }
}

// The speed factor of a collision by the angle (degrees) between the new motion and the heading.
float HitFactor(float d)
{
    if (d < 90.0f)
        return 1.0f - d / 90.0f;
    if (d > 270.0f)
        return 1.0f - (360.0f - d) / 90.0f;
    if (d < 180.0f)
        return -(d - 90.0f) / 90.0f;
    return -(270.0f - d) / 90.0f;
}

} // namespace

Car::Car(Game* game) : m_game(game)
{
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game.");
    for (int track = 0; track < TRACK_COUNT; track++) {
        const _TrackInfo* row = TrackInfoGetRow(track);
        std::memcpy(m_grid_slots[track], row->grid_slots, sizeof(m_grid_slots[track]));
        std::memcpy(m_grid_headings[track], row->grid_headings, sizeof(m_grid_headings[track]));
    }
    m_sizes = kFirstSizes;
    for (int i = 0; i < CAR_MAX; i++)
        m_grid_order[i] = i;
    RaceReset();
}

int Car::NumCars() const
{
    int n = m_game->GetCarsInRace();
    return n < 0 ? 0 : (n > CAR_MAX ? CAR_MAX : n);
}

CarParms* Car::GetParms(int car)
{
    return car >= 0 && car < CAR_MAX ? &m_parms[car] : nullptr;
}

CarState* Car::GetState(int car)
{
    return car >= 0 && car < CAR_MAX ? &m_states[car] : nullptr;
}

const CarState* Car::GetState(int car) const
{
    return car >= 0 && car < CAR_MAX ? &m_states[car] : nullptr;
}

const CarRecord* Car::GetRecord(int car) const
{
    return car >= 0 && car < CAR_MAX ? &m_records[car] : nullptr;
}

CarRecord* Car::GetRecord(int car)
{
    return car >= 0 && car < CAR_MAX ? &m_records[car] : nullptr;
}

int Car::GetGridSlot(int car) const
{
    return car >= 0 && car < CAR_MAX ? m_grid_order[car] : -1;
}

EngUInt32 Car::GetResultTime(int car) const
{
    const CarRecord* record = GetRecord(car);
    if (!record)
        return 0;
    EngUInt32 time = record->race_time;
    if (record->laps_done >= 0 && record->laps_done < m_laps)
        time += record->current_lap_time;
    return time ? time + record->start_to_line : 0;
}

int Car::GetCarAtPlace(int place) const
{
    return place >= 0 && place < CAR_MAX ? m_standings[place] : -1;
}

int Car::GetColourAtPlace(int place) const
{
    return place >= 0 && place < CAR_MAX ? m_standing_colours[place] : -1;
}

const char* Car::GetStandingText(int place) const
{
    return place >= 0 && place < CAR_MAX ? m_standing_texts[place] : "";
}

const float* Car::GetColour(int colour)
{
    return kColours[colour >= 0 && colour < CAR_COLOURS ? colour : 0];
}

namespace {

void PutTwoDigits(char* out, unsigned value)
{
    out[0] = char('0' + value / 10);
    out[1] = char('0' + value % 10);
}

} // namespace

// Every car's lap time is written every race step: the common case is built by hand, not formatted.
const char* Car::GetTimeText(EngUInt32 ms, char* out, int size)
{
    if (!out || size <= 0)
        return "";
    EngUInt32 minutes = ms / 60000;
    if (minutes < 100 && size >= 9) {
        PutTwoDigits(out, unsigned(minutes));
        PutTwoDigits(out + 3, unsigned(ms / 1000 % 60));
        PutTwoDigits(out + 6, unsigned(ms / 10 % 100));
        out[2] = out[5] = ':';
        out[8] = 0;
        return out;
    }
    if (minutes >= 10000)
        std::snprintf(out, size_t(size), "%s", "9999:59:99");
    else
        std::snprintf(out, size_t(size), "%02u:%02u:%02u", unsigned(minutes), unsigned(ms / 1000 % 60),
                      unsigned(ms / 10 % 100));
    return out;
}

const char* Car::GetGhostFilename(int track, int number, bool create_folder)
{
    const UserRecord* profile = m_game->GetCurrentProfile();
    UsersClass* users = m_game->GetUsers();
    if (!profile || !users)
        return nullptr;
    char part[32];
    std::snprintf(part, sizeof(part), "G_%d_%d_%d", track, profile->formula_zzz, number);
    if (!users->SetFilename(profile->name, part, create_folder))
        return nullptr;
    std::snprintf(m_ghost_path, sizeof(m_ghost_path), "%s", users->GetFilename());
    return m_ghost_path;
}

void Car::SetSizes(float scale)
{
    const _TrackInfo* row = TrackInfoGetCurrent();
    float s = row->car_size * (scale != 0.0f ? scale : 1.0f);
    m_sizes.length = s;
    m_sizes.width = s;
    m_sizes.half_length = s * 0.5f;
    m_sizes.half_width = s * 0.5f;
    m_sizes.speed_unit = s / kSpeedUnitDivisor;
    for (int i = 0; i < 6; i++)
        m_sizes.draw[i] = s * kDrawFactors[i];
    for (int p = 0; p < CAR_OUTLINE_POINTS; p++) {
        m_outline_base[p][0] = kOutlineShrink * kOutline[p][0] * m_sizes.half_length;
        m_outline_base[p][1] = kOutlineShrink * kOutline[p][1] * m_sizes.half_width;
    }
}

// ---- race start ----------------------------------------------------------------------------------------------

void Car::PutCarsOnGrid()
{
    SetGridOrder();
    RaceReset();
}

void Car::SetGridOrder()
{
    const int n = NumCars();
    _GameType type = m_game->GetGameType();
    if (n <= 1) {
        m_grid_order[0] = 0;
        return;
    }
    if (type != GAME_TYPE_QUICK_RACE && type != GAME_TYPE_CHAMPIONSHIP) {
        for (int i = 0; i < n; i++)
            m_grid_order[i] = n - 1 - i;
        return;
    }
    // The driver starts last; the computer drivers draw the other slots.
    m_grid_order[0] = n - 1;
    for (int i = 1; i < n; i++) {
        bool taken = true;
        while (taken) {
            m_grid_order[i] = std::rand() % (n - 1);
            taken = false;
            for (int j = 1; j < i; j++)
                taken = taken || m_grid_order[j] == m_grid_order[i];
        }
    }
}

void Car::RaceReset()
{
    m_fastest = CarFastLap{0, -1, -1, ""};
    m_second_fastest = CarFastLap{0, -1, -1, ""};
    for (int p = 0; p < CAR_MAX; p++) {
        m_standings[p] = -1;
        m_standing_colours[p] = -1;
        m_standing_texts[p][0] = '\0';
    }
    SetSizes(0.0f);
    for (int car = 0; car < CAR_MAX; car++)
        ResetCar(car);
    m_flag_state = 0;
    m_flag_alpha = 0.0f;
    m_flag_frame = 0.0f;
}

void Car::RefreshTrig(CarState& state)
{
    state.sin_heading = std::sin(state.heading);
    state.cos_heading = std::cos(state.heading);
}

void Car::PlaceOutline(int car)
{
    CarState& state = m_states[car];
    RefreshTrig(state);
    for (int p = 0; p < CAR_OUTLINE_POINTS; p++) {
        float px = m_outline_base[p][0], py = m_outline_base[p][1];
        state.outline[p][0] = state.x + px * state.cos_heading + py * state.sin_heading;
        state.outline[p][1] = state.y - px * state.sin_heading + py * state.cos_heading;
    }
}

void Car::ResetCar(int car)
{
    const int track = TrackInfoGetCurrentTrack();
    const int slot = m_grid_order[car] >= 0 && m_grid_order[car] < TRACK_GRID_SLOTS ? m_grid_order[car] : 0;
    CarState& state = m_states[car];
    state = CarState{};
    state.x = float(m_grid_slots[track][slot][0]);
    state.y = float(m_grid_slots[track][slot][1]);
    state.heading = Wrap(float(m_grid_headings[track][slot]) * kDegrees);
    PlaceOutline(car);
    // The first reset runs while the game is still being made, before its track grid exists.
    int checkpoint = -1;
    if (m_game->GetTraverse())
        TrackCheck(car, &checkpoint);

    CarRecord& record = m_records[car];
    record = CarRecord{};
    record.laps_done = -1;
    record.last_checkpoint = TRAV_START_LINE;
    record.next_checkpoint = TRAV_CHECKPOINT1;
    m_game->GetSound()->SetEnginePitch(car, true);
    if (car != 0)
        return;
    m_ghost.StopRecording();
    if (m_game->GetGameType() == GAME_TYPE_TIME_TRIAL && m_game->HasGhost()) {
        m_ghost.ClearBlock();
        m_ghost.Load(GetGhostFilename(track, m_laps, false));
    }
}

void Car::SetRaceStartTime(EngUInt32 now)
{
    for (int car = 0; car < NumCars(); car++)
        m_records[car].race_start_time = now;
}

void Car::SkipPausedTime(EngUInt32 paused)
{
    for (int car = 0; car < NumCars(); car++) {
        CarRecord& record = m_records[car];
        if (record.lap_start_time != 0)
            record.lap_start_time += paused;
        record.race_start_time += paused;
    }
}

// ---- inputs ----------------------------------------------------------------------------------------------------

void Car::Steer(int car, int direction, float amount)
{
    CarState* state = GetState(car);
    if (!state)
        return;
    if (amount == 0.0f) {
        state->turning = 0;
        return;
    }
    const float ts = m_game->GetTimeStep();
    if (direction != 0)
        state->turn -= float(direction) * amount * m_parms[car].steering * ts;
    else
        state->turn -= m_parms[car].steering * amount * ts * kAnalogueSteering;
    state->turn = std::clamp(state->turn, -CAR_TURN_LIMIT, CAR_TURN_LIMIT);
    state->turning = 1;
}

void Car::SetAccelerating(int car, bool on)
{
    if (CarState* state = GetState(car))
        state->accelerating = on;
}

void Car::SetTurn(int car, float turn)
{
    if (CarState* state = GetState(car))
        state->turn = std::clamp(turn, -CAR_TURN_LIMIT, CAR_TURN_LIMIT);
}

float Car::GetSpeed(int car) const
{
    const CarState* state = GetState(car);
    return state ? state->speed : 0.0f;
}

// ---- race step -------------------------------------------------------------------------------------------------

int Car::Tick()
{
    const int n = NumCars();
    Drive* drive = m_game->GetDrive();
    for (int car = 1; car < n && drive; car++)
        drive->Tick(car, true);
    for (int car = 0; car < n; car++) {
        if (StepCar(car) < 0)
            return -1;
    }
    if (n >= 2)
        Collisions();
    UpdatePlaces();
    if (m_flag_state == 1) {
        m_flag_alpha += GAME_RACE_STEP_SECONDS;
        if (m_flag_alpha >= 1.0f) {
            m_flag_alpha = 1.0f;
            m_flag_state = 2;
        }
    }
    return 0;
}

int Car::StepCar(int car)
{
    CarRecord& record = m_records[car];
    CarState& state = m_states[car];
    if (record.finish_state == CAR_DONE)
        return 0;
    if (record.finish_state == CAR_FINISHING) {
        record.finish_fade -= GAME_RACE_STEP_SECONDS;
        if (record.finish_fade <= 0.0f) {
            record.finish_state = CAR_DONE;
            m_game->GetSound()->StopCar(car);
            bool all_done = true;
            for (int other = 0; other < NumCars(); other++)
                all_done = all_done && m_records[other].finish_state == CAR_DONE;
            if (all_done && !m_quiet) {
                m_game->RaceFinished();
                return -1;
            }
            return 0;
        }
    }
    const CarPose start = {state.x, state.y, state.heading};
    ApplySteering(state, car);
    ApplySpeed(state, m_parms[car]);
    m_game->GetSound()->SetEnginePitch(car, false);
    int checkpoint = -1;
    MoveCar(car, &checkpoint, start);
    CheckpointsAndLaps(car, checkpoint);
    record.current_lap_time = record.lap_start_time ? game_clock_ms - record.lap_start_time : 0;
    GetTimeText(record.current_lap_time, record.current_lap_text, sizeof(record.current_lap_text));
    if (m_quiet)
        return 0;
    m_game->GetSound()->SetPosition(car, SOUND_ENGINE);
    const float ts = m_game->GetTimeStep();
    state.wheel_phase -= state.speed * kWheelSpin * ts;
    while (state.wheel_phase <= 0.0f)
        state.wheel_phase += kWheelFrames;
    while (state.wheel_phase >= kWheelFrames)
        state.wheel_phase -= kWheelFrames;
    if (car == 0 && m_game->HasGhost())
        Ghosts(car);
    return 0;
}

void Car::ApplySteering(CarState& state, int car)
{
    const float ts = m_game->GetTimeStep();
    if (state.turn != 0.0f) {
        state.heading = Wrap(state.heading + ts * state.turn * CAR_STEERING_MULTIPLIER);
        RefreshTrig(state);
    }
    bool analogue = car == 0 && m_game->GetControls()->IsAnalogueMode();
    if (state.turning || analogue)
        return;
    float decay = kTurnDecay * ts;
    if (state.turn > 0.0f)
        state.turn = state.turn > decay ? state.turn - decay : 0.0f;
    else if (state.turn < 0.0f)
        state.turn = state.turn < -decay ? state.turn + decay : 0.0f;
}

void Car::ApplySpeed(CarState& state, const CarParms& parms)
{
    const float ts = m_game->GetTimeStep();
    if (state.accelerating) {
        if (state.speed < parms.top_speed)
            state.speed = std::min(state.speed + parms.acceleration * ts, parms.top_speed);
        return;
    }
    if (state.speed > 0.0f)
        state.speed = std::max(state.speed - parms.deceleration * ts, 0.0f);
    else if (state.speed < 0.0f)
        state.speed = std::min(state.speed + parms.deceleration * ts, 0.0f);
}

int Car::MoveCar(int car, int* checkpoint, const CarPose& start)
{
    CarState& state = m_states[car];
    const float ts = m_game->GetTimeStep();
    state.x -= ts * state.speed * state.sin_heading;
    state.y -= ts * state.speed * state.cos_heading;
    PlaceOutline(car);
    int kind = TrackCheck(car, checkpoint);
    if (kind == TRAV_WALL || InWall(car)) {
        WallResponse(car, start);
        // The cell where the wall put the car.
        TrackCheck(car, checkpoint);
        return 1;
    }
    if (IsRough(kind)) {
        if (state.speed > kRoughSpeedUnits * m_sizes.speed_unit)
            state.speed -= m_parms[car].acceleration * kRoughBraking * ts;
        m_game->GetSound()->SetRoughGround(car, true);
        return 2;
    }
    m_game->GetSound()->SetRoughGround(car, false);
    return 0;
}

int Car::TrackCheck(int car, int* checkpoint)
{
    CarState& state = m_states[car];
    Traverse* traverse = m_game->GetTraverse();
    state.map_position[0] = state.x / 640.0f * TRAV_MAP_SIZE;
    state.map_position[1] = state.y / 480.0f * TRAV_MAP_SIZE;
    state.cell[0] = int(std::floor(state.x / 640.0f * TRAV_GRID_SIZE));
    state.cell[1] = int(std::floor(state.y / 480.0f * TRAV_GRID_SIZE));
    const int cx = state.cell[0], cy = state.cell[1];
    if (cx < 0 || cx >= TRAV_GRID_SIZE || cy < 0 || cy >= TRAV_GRID_SIZE) {
        state.trav = nullptr;
        return TRAV_WALL;
    }
    int ramp = traverse->GetKind(state.floor, cx, cy);
    if (ramp == TRAV_RAMP_UP || ramp == TRAV_RAMP_UP_ROUGH) {
        if (state.floor == 0)
            state.floor = 1;
        else
            DebugError(ENG_FUNC, "Floor up on floor %d.", state.floor);
    } else if (ramp == TRAV_RAMP_DOWN || ramp == TRAV_RAMP_DOWN_ROUGH) {
        if (state.floor == 1)
            state.floor = 0;
        else
            DebugError(ENG_FUNC, "Floor down on floor %d.", state.floor);
    }
    state.trav = traverse->GetTravInfo(state.floor, cx, cy);
    int result = 0;
    for (int corner = 0; corner < 4; corner++) {
        int mx = int(std::floor(state.outline[corner][0] / 640.0f * TRAV_MAP_SIZE));
        int my = int(std::floor(state.outline[corner][1] / 480.0f * TRAV_MAP_SIZE));
        if (mx < 0 || mx >= TRAV_MAP_SIZE || my < 0 || my >= TRAV_MAP_SIZE)
            return TRAV_WALL;
        int value = traverse->GetAlpha(state.floor, mx, my);
        if (value >= TRAV_CHECKPOINT1 && value <= TRAV_START_LINE) {
            *checkpoint = std::max(*checkpoint, value);
            value = TRAV_ROAD;
        }
        result = std::max(result, value);
    }
    return result;
}

int Car::WallCorners(int car) const
{
    const CarState& state = m_states[car];
    Traverse* traverse = m_game->GetTraverse();
    int mask = 0;
    for (int corner = 0; corner < 4; corner++) {
        int mx = int(std::floor(state.outline[corner][0] / 640.0f * TRAV_MAP_SIZE));
        int my = int(std::floor(state.outline[corner][1] / 480.0f * TRAV_MAP_SIZE));
        if (traverse->GetAlpha(state.floor, mx, my) == TRAV_WALL)
            mask |= 1 << corner;
    }
    return mask;
}

// The body on a grid of 3 x 3 points (the corners, the edges' middles, the centre), bit column + 3 x row from
// the front-left: the corners alone miss a wall's thin tip reaching in between them.
int Car::BodyWallSamples(int car) const
{
    const CarState& state = m_states[car];
    const float(*c)[2] = state.outline;
    const Traverse* traverse = m_game->GetTraverse();
    int samples = 0;
    for (int row = 0; row < 3; row++) {
        const float v = float(row) * 0.5f;
        for (int column = 0; column < 3; column++) {
            const float u = float(column) * 0.5f;
            const float front_x = c[0][0] + (c[1][0] - c[0][0]) * u, front_y = c[0][1] + (c[1][1] - c[0][1]) * u;
            const float rear_x = c[3][0] + (c[2][0] - c[3][0]) * u, rear_y = c[3][1] + (c[2][1] - c[3][1]) * u;
            const float x = front_x + (rear_x - front_x) * v, y = front_y + (rear_y - front_y) * v;
            const int mx = int(std::floor(x / 640.0f * TRAV_MAP_SIZE)), my = int(std::floor(y / 480.0f * TRAV_MAP_SIZE));
            if (traverse->GetAlpha(state.floor, mx, my) == TRAV_WALL)
                samples |= 1 << (column + 3 * row);
        }
    }
    return samples;
}

// The car's own point too: it lies off the samples' centre, where a one-pixel wall can pass between them.
bool Car::InWall(int car) const
{
    const CarState& state = m_states[car];
    const int mx = int(std::floor(state.x / 640.0f * TRAV_MAP_SIZE));
    const int my = int(std::floor(state.y / 480.0f * TRAV_MAP_SIZE));
    return BodyWallSamples(car) != 0 || m_game->GetTraverse()->GetAlpha(state.floor, mx, my) == TRAV_WALL;
}

// True when the car stands free of walls there.
bool Car::TryPlace(int car, float x, float y, float heading)
{
    CarState& state = m_states[car];
    state.x = x;
    state.y = y;
    state.heading = heading;
    PlaceOutline(car);
    return !InWall(car);
}

// Whatever corners are in the wall, the car comes out: at the nearest free spot around it, turned as it is;
// else where the step began, turned as it is or as it was; else at the nearest free spot around that. False
// when it stays in (nothing free within a car length).
bool Car::PushOutOfWall(int car, const CarPose& start)
{
    CarState& state = m_states[car];
    if (!InWall(car))
        return true;
    const CarPose now = {state.x, state.y, state.heading};
    if (PlaceNear(car, now, kWallPushReach * m_sizes.length) || TryPlace(car, start.x, start.y, now.heading) ||
        TryPlace(car, start.x, start.y, start.heading) || PlaceNear(car, start, m_sizes.length))
        return true;
    TryPlace(car, now.x, now.y, now.heading);
    return false;
}

bool Car::Recover(int car, const CarPose& pose)
{
    CarState& state = m_states[car];
    const CarPose now = {state.x, state.y, state.heading};
    const float heading = Wrap(pose.heading);
    if (!TryPlace(car, pose.x, pose.y, heading) && !PlaceNear(car, {pose.x, pose.y, heading}, m_sizes.length)) {
        TryPlace(car, now.x, now.y, now.heading);
        return false;
    }
    state.speed = 0.0f;
    state.turn = 0.0f;
    int checkpoint = -1;
    TrackCheck(car, &checkpoint);
    return true;
}

// The free spot nearest a pose within a reach, in rings of half a pixel. Of the free spots of a ring the one
// furthest along the car's way wins, so a car against a wall slides along it rather than being held back.
bool Car::PlaceNear(int car, const CarPose& pose, float reach)
{
    const float way = m_states[car].speed < 0.0f ? -1.0f : 1.0f;
    const float way_x = -std::sin(pose.heading) * way, way_y = -std::cos(pose.heading) * way;
    for (float r = kWallPushStep; r <= reach; r += kWallPushStep) {
        int best = -1;
        float best_along = 0.0f;
        for (int k = 0; k < kWallSearchDirections; k++) {
            const float a = kTwoPi * float(k) / float(kWallSearchDirections);
            const float along = std::sin(a) * way_x + std::cos(a) * way_y;
            if ((best < 0 || along > best_along) &&
                TryPlace(car, pose.x + std::sin(a) * r, pose.y + std::cos(a) * r, pose.heading)) {
                best = k;
                best_along = along;
            }
        }
        if (best < 0)
            continue;
        const float a = kTwoPi * float(best) / float(kWallSearchDirections);
        return TryPlace(car, pose.x + std::sin(a) * r, pose.y + std::cos(a) * r, pose.heading);
    }
    return false;
}

void Car::WallResponse(int car, const CarPose& start)
{
    CarState& state = m_states[car];
    if (state.speed >= kWallHalvingSpeed || state.speed < -kWallHalvingSpeed) {
        state.speed *= 0.5f;
        m_game->GetSound()->SetEnginePitch(car, false);
    }
    const float s = m_sizes.length;
    const float k = std::fabs(state.speed) * kWallTurn;
    const int mask = WallCorners(car);
    bool moved = true;
    if (state.speed > 0.0f && mask == 1) {
        state.heading = Wrap(state.heading - k);
        MoveAlong(state, state.heading + kPi / 2.0f, kWallSideStep * s);
    } else if (state.speed > 0.0f && mask == 2) {
        state.heading = Wrap(state.heading + k);
        MoveAlong(state, state.heading - kPi / 2.0f, kWallSideStep * s);
    } else if (state.speed > 0.0f && mask == 3) {
        MoveAlong(state, state.heading, kWallBackStep * s);
    } else if (state.speed <= 0.0f && mask == 12) {
        MoveAlong(state, state.heading, -kWallBackStep * s);
    } else if (state.speed <= 0.0f && mask == 4) {
        state.heading = Wrap(state.heading - k);
        MoveAlong(state, state.heading - kPi / 2.0f, kWallSideStep * s);
    } else if (state.speed <= 0.0f && mask == 8) {
        state.heading = Wrap(state.heading + k);
        MoveAlong(state, state.heading + kPi / 2.0f, kWallSideStep * s);
    } else {
        moved = false;
    }
    // A wall's tip between the corners turns the car away from its side, as a corner alone does.
    const int body = mask ? 0 : BodyWallSamples(car);
    const bool body_left = body & kBodyLeftColumn, body_right = body & kBodyRightColumn;
    if (body && (body_left || !body_right)) {
        state.heading = Wrap(state.heading - k);
        moved = true;
    } else if (body) {
        state.heading = Wrap(state.heading + k);
        moved = true;
    }
    if (moved)
        PlaceOutline(car);
    // The nudges above cover a few sets of corners, and may end in another wall.
    if (InWall(car)) {
        PushOutOfWall(car, start);
        moved = true;
    }
    if (moved)
        m_game->GetSound()->PlayWallHit(car);
}

// ---- laps and places -------------------------------------------------------------------------------------------

void Car::CheckpointsAndLaps(int car, int checkpoint)
{
    CarRecord& record = m_records[car];
    if (checkpoint < 0 || record.finish_state != CAR_RACING)
        return;
    const UserRecord* profile = m_game->GetCurrentProfile();
    const bool normal_play = profile->license_test_state == USER_LICENSE_NORMAL_PLAY;
    if (checkpoint != record.last_checkpoint && checkpoint == record.next_checkpoint) {
        record.last_checkpoint = EngUInt8(checkpoint);
        record.next_checkpoint = EngUInt8(checkpoint == TRAV_START_LINE ? TRAV_CHECKPOINT1 : checkpoint + 1);
        if (record.next_checkpoint == TRAV_CHECKPOINT1)
            LapDone(car);
        bool last_lap = record.laps_done >= m_laps ||
                        (record.laps_done == m_laps - 1 && record.last_checkpoint == TRAV_CHECKPOINT3);
        if (normal_play && m_flag_state == 0 && last_lap)
            ShowFinishFlags();
    }
    if (checkpoint != TRAV_START_LINE || record.lap_start_time != 0)
        return;
    record.lap_start_time = game_clock_ms;
    if (car == 0)
        m_ghost.Arm();
    if (record.laps_done == -1) {
        record.laps_done = 0;
        record.race_time = 0;
        record.start_to_line = game_clock_ms - record.race_start_time;
        std::snprintf(record.lap_text, sizeof(record.lap_text), "Lap %d", 1);
        // The car enters the standings with its first crossing.
        ComputeStandings();
    }
    if (car == 0 && m_game->GetGameType() == GAME_TYPE_TIME_TRIAL && m_ghost.IsPresent())
        m_ghost.StartReplay();
}

void Car::ShowFinishFlags()
{
    const _TrackInfo* row = TrackInfoGetCurrent();
    const TravStartLine& line = m_game->GetTraverse()->GetStartLine();
    m_flag_state = 1;
    m_flag_alpha = 0.0f;
    m_flag_shift = row->flags_shifted != 0;
    for (int k = 0; k < 2; k++) {
        const int* corner = line.corners[row->flag_corners[k] & 3];
        m_flag_points[k][0] = float(corner[0]) * 640.0f / TRAV_MAP_SIZE + float(row->flag_offsets[2 * k]);
        m_flag_points[k][1] = float(corner[1]) * 480.0f / TRAV_MAP_SIZE + float(row->flag_offsets[2 * k + 1]);
        if (m_flag_shift)
            m_flag_points[k][0] -= kFlagShift;
    }
}

void Car::LapDone(int car)
{
    CarRecord& record = m_records[car];
    const EngUInt32 now = game_clock_ms;
    const EngUInt32 lap = now - record.lap_start_time;
    if (record.laps_done >= 0 && record.laps_done < m_laps)
        record.race_time += lap;
    SetTimeParts(&record.last, lap);
    GetTimeText(record.race_time, record.race_time_text, sizeof(record.race_time_text));
    record.lap_start_time = now;
    if (record.best_lap == 0 || lap < record.best_lap) {
        record.best_lap = lap;
        SetTimeParts(&record.best, lap);
        int colour = m_game->GetLevels()->GetDriverColour(car);
        if (m_fastest.time == 0 || lap < m_fastest.time) {
            if (m_fastest.car >= 0 && m_fastest.car != car)
                m_second_fastest = m_fastest;
            m_fastest = {lap, car, colour, ""};
            GetTimeText(lap, m_fastest.text, sizeof(m_fastest.text));
        } else if (m_fastest.car != car && (m_second_fastest.time == 0 || lap < m_second_fastest.time)) {
            m_second_fastest = {lap, car, colour, ""};
            GetTimeText(lap, m_second_fastest.text, sizeof(m_second_fastest.text));
        }
    }
    if (record.finish_state == CAR_RACING) {
        record.laps_done++;
        std::snprintf(record.lap_text, sizeof(record.lap_text), "Lap %d", record.laps_done + 1);
    }
    ComputeStandings();
    const UserRecord* profile = m_game->GetCurrentProfile();
    const bool time_trial = m_game->GetGameType() == GAME_TYPE_TIME_TRIAL;
    if (record.finish_state == CAR_RACING && record.laps_done >= m_laps &&
        profile->license_test_state == USER_LICENSE_NORMAL_PLAY) {
        record.finish_fade = 1.0f;
        record.finish_state = CAR_FINISHING;
        record.finish_place = record.place;
        record.laps_done = m_laps;
        if (car == 0 && time_trial)
            FinishLapOfTimeTrial(car);
        PlayFinishSound(car, record.finish_place == 0 ? 1.0f : 0.2f);
    }
    if (car == 0 && time_trial && profile->license_test_state == USER_LICENSE_TEST_RUNNING) {
        if (lap < kLicenceLapMs) {
            m_game->GetCurrentProfile()->license_test_state = USER_LICENSE_TEST_PASSED;
            PlayFinishSound(car, 0.6f);
            m_game->GetSound()->SetSlotVolume(SOUND_SLOT_FINISH + car, 0.7f);
            m_game->SetMessage(GAME_MESSAGE_TEST_PASSED, kTestPassedSeconds);
        } else {
            m_game->SetMessage(GAME_MESSAGE_TOO_SLOW, kTooSlowSeconds);
        }
    }
}

void Car::PlayFinishSound(int car, float volume)
{
    Sound* sound = m_game->GetSound();
    sound->SetSlotVolume(SOUND_SLOT_FINISH + car, volume);
    sound->PlaySlot(SOUND_SLOT_FINISH + car);
}

void Car::FinishLapOfTimeTrial(int car)
{
    const CarRecord& record = m_records[car];
    if (m_game->HasGhost())
        m_ghost.KeepIfFaster(record.race_time, GetGhostFilename(TrackInfoGetCurrentTrack(), m_laps, true));
    m_ghost.StopRecording();
}

void Car::UpdatePlaces()
{
    const int n = NumCars();
    if (n < 2) {
        if (n == 1 && m_records[0].place != 0)
            ComputeStandings();
        return;
    }
    for (int p = 1; p < n; p++) {
        int ahead = m_standings[p - 1], behind = m_standings[p];
        if (ahead < 0 || behind < 0)
            continue;
        const CarState& a = m_states[ahead];
        const CarState& b = m_states[behind];
        if (!a.trav || !b.trav || a.trav->progress >= kPlaceCheckProgress || b.trav->progress >= kPlaceCheckProgress)
            continue;
        const CarRecord& ra = m_records[ahead];
        const CarRecord& rb = m_records[behind];
        if (rb.laps_done > ra.laps_done || (rb.laps_done == ra.laps_done && b.trav->progress > a.trav->progress)) {
            ComputeStandings();
            return;
        }
    }
}

void Car::ComputeStandings()
{
    StandingEntry entries[CAR_MAX];
    int count = 0;
    for (int car = 0; car < NumCars(); car++) {
        const CarState& state = m_states[car];
        const CarRecord& record = m_records[car];
        if (!state.trav || record.laps_done < 0)
            continue;
        int progress = state.trav->progress;
        if (progress >= kProgressAtLineEnd && record.current_lap_time < kJustCrossedMs)
            progress = 0;
        else if (progress < kProgressAtLineStart && record.current_lap_time >= kLongIntoLapMs)
            progress = 255;
        entries[count++] = {car, record.laps_done, progress, record.finish_state, record.finish_place};
    }
    // At most eight entries: an insertion sort.
    for (int i = 1; i < count; i++) {
        for (int j = i; j > 0 && StandsBefore(entries[j], entries[j - 1]); j--)
            std::swap(entries[j], entries[j - 1]);
    }
    Levels* levels = m_game->GetLevels();
    for (int place = 0; place < CAR_MAX; place++) {
        if (place >= count) {
            m_standings[place] = -1;
            m_standing_colours[place] = -1;
            m_standing_texts[place][0] = '\0';
            continue;
        }
        int car = entries[place].car;
        m_records[car].place = place;
        m_records[car].place_char = char('1' + place);
        m_standings[place] = car;
        m_standing_colours[place] = levels->GetDriverColour(car);
        std::snprintf(m_standing_texts[place], sizeof(m_standing_texts[place]), "%d: %s", place + 1,
                      levels->GetDriverName(car));
    }
}

// ---- collisions ------------------------------------------------------------------------------------------------

bool Car::QuadsOverlap(const float a[4][2], const float b[4][2])
{
    int qa[4][2], qb[4][2];
    ToInt(a, qa);
    ToInt(b, qb);
    // Bounding boxes of all four corners first.
    int a_box[4] = {qa[0][0], qa[0][1], qa[0][0], qa[0][1]};
    int b_box[4] = {qb[0][0], qb[0][1], qb[0][0], qb[0][1]};
    for (int i = 1; i < 4; i++) {
        a_box[0] = std::min(a_box[0], qa[i][0]);
        a_box[1] = std::min(a_box[1], qa[i][1]);
        a_box[2] = std::max(a_box[2], qa[i][0]);
        a_box[3] = std::max(a_box[3], qa[i][1]);
        b_box[0] = std::min(b_box[0], qb[i][0]);
        b_box[1] = std::min(b_box[1], qb[i][1]);
        b_box[2] = std::max(b_box[2], qb[i][0]);
        b_box[3] = std::max(b_box[3], qb[i][1]);
    }
    if (a_box[2] < b_box[0] || b_box[2] < a_box[0] || a_box[3] < b_box[1] || b_box[3] < a_box[1])
        return false;
    for (int i = 0; i < 4; i++) {
        if (Inside(qa, qb[i]) || Inside(qb, qa[i]))
            return true;
    }
    return SegmentsCross(qa[0], qa[2], qb[0], qb[2]);
}

bool Car::CarsOverlap(int a, int b) const
{
    return QuadsOverlap(m_states[a].outline, m_states[b].outline);
}

void Car::Collisions()
{
    const int n = NumCars();
    int sound_car = -1;
    for (int i = 0; i < n; i++) {
        for (int j = i + 1; j < n; j++) {
            if (m_records[i].finish_state == CAR_DONE || m_records[j].finish_state == CAR_DONE)
                continue;
            if (m_states[i].floor != m_states[j].floor || !CarsOverlap(i, j))
                continue;
            CollisionResponse(i, j);
            // Two cars fading out after the finish make no crash.
            if (!(FadingOut(i) && FadingOut(j)))
                sound_car = (std::rand() & 1) ? j : i;
        }
    }
    if (sound_car >= 0)
        m_game->GetSound()->PlayCrash(sound_car);
}

bool Car::FadingOut(int car) const
{
    return m_records[car].finish_state == CAR_FINISHING && m_records[car].finish_fade > 0.5f;
}

void Car::CollisionResponse(int a, int b)
{
    CarState* cars[2] = {&m_states[a], &m_states[b]};
    const int index[2] = {a, b};
    float dx = cars[1]->x - cars[0]->x, dy = cars[1]->y - cars[0]->y;
    float length = std::sqrt(dx * dx + dy * dy);
    // Cars on one spot have no line between them: they part sideways.
    float nx = length > 0.0f ? dx / length : 1.0f, ny = length > 0.0f ? dy / length : 0.0f;
    float v[2][2], after[2][2];
    for (int k = 0; k < 2; k++) {
        v[k][0] = -cars[k]->speed * cars[k]->sin_heading;
        v[k][1] = -cars[k]->speed * cars[k]->cos_heading;
        after[k][0] = v[k][0];
        after[k][1] = v[k][1];
    }
    float approach = (v[0][0] - v[1][0]) * nx + (v[0][1] - v[1][1]) * ny;
    if (approach > 0.0f) {
        float change = 2.0f * approach / (kMass + kMass) * kMass;
        after[0][0] -= change * nx;
        after[0][1] -= change * ny;
        after[1][0] += change * nx;
        after[1][1] += change * ny;
        for (int k = 0; k < 2; k++) {
            float before = std::sqrt(v[k][0] * v[k][0] + v[k][1] * v[k][1]);
            float now = std::sqrt(after[k][0] * after[k][0] + after[k][1] * after[k][1]);
            float direction = now > 0.0f ? std::atan2(-after[k][0], -after[k][1]) : cars[k]->heading;
            float d = std::fmod((direction - cars[k]->heading) / kDegrees + 720.0f, 360.0f);
            float f = HitFactor(d);
            if (f <= 0.0f) {
                cars[k]->speed += f * (now - before);
                cars[k]->speed *= kHitKeeps;
            }
            float top = m_parms[index[k]].top_speed;
            cars[k]->speed = std::clamp(cars[k]->speed, -top, kMaxForward * top);
        }
    }
    float wanted = kApart * m_sizes.length;
    if (length < wanted)
        PushApart(a, b, nx, ny, wanted);
}

// Apart about the cars' common midpoint. A car the push would put in a wall stays where it is, and the other
// goes the whole way, or its half, or stays too: a collision never puts a car in a wall.
void Car::PushApart(int a, int b, float nx, float ny, float wanted)
{
    const int index[2] = {a, b};
    const float side[2] = {-1.0f, 1.0f};
    float before[2][2], half[2][2];
    for (int k = 0; k < 2; k++) {
        before[k][0] = m_states[index[k]].x;
        before[k][1] = m_states[index[k]].y;
    }
    const float mid_x = (before[0][0] + before[1][0]) * 0.5f, mid_y = (before[0][1] + before[1][1]) * 0.5f;
    bool held[2];
    for (int k = 0; k < 2; k++) {
        const float heading = m_states[index[k]].heading;
        half[k][0] = mid_x + side[k] * nx * wanted * 0.5f;
        half[k][1] = mid_y + side[k] * ny * wanted * 0.5f;
        held[k] = !TryPlace(index[k], half[k][0], half[k][1], heading);
        if (held[k])
            TryPlace(index[k], before[k][0], before[k][1], heading);
    }
    for (int k = 0; k < 2; k++) {
        const int o = 1 - k;
        if (!held[k] || held[o])
            continue;
        const float heading = m_states[index[o]].heading;
        if (!TryPlace(index[o], before[k][0] + side[o] * nx * wanted, before[k][1] + side[o] * ny * wanted, heading))
            TryPlace(index[o], half[o][0], half[o][1], heading);
    }
}

void Car::Ghosts(int car)
{
    const CarState& state = m_states[car];
    m_ghost.Record({state.x, state.y, state.heading, state.turn}, game_clock_ms);
    const CarRecord& record = m_records[car];
    m_ghost.Replay(record.race_time + record.current_lap_time);
}

// ---- drawing ---------------------------------------------------------------------------------------------------

namespace {

constexpr int kNormalBlending = 0;
constexpr float kHudStandingsScale[2] = {0.65f, 1.2f};
constexpr float kHudLapScale[2] = {0.95f, 1.3f};
constexpr float kHudLapColour[4] = {1.0f, 0.9f, 0.9f, 1.0f};
constexpr float kHudTimeColour[4] = {1.0f, 0.4f, 0.4f, 1.0f};
constexpr float kHudPlaceColour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr char kCentred = 1;

// The head-up box of a track in 640 x 480: its centre and the lines a third above and below.
struct HudBox
{
    float x;
    float lines[3];
};

HudBox MakeHudBox(const EngInt32 box[4])
{
    float y1 = float(box[1]) * 480.0f / 1024.0f, y2 = float(box[3]) * 480.0f / 1024.0f;
    float middle = (y1 + y2) * 0.5f, third = (y2 - y1) / 3.0f;
    return {float(box[0] + box[2]) * 0.5f * 640.0f / 1024.0f, {middle - third, middle, middle + third}};
}

void DrawHudText(EngFont* font, float x, float y, const float scale[2], const float colour[4], const char* text)
{
    font->SetScale(scale[0], scale[1]);
    font->SetColourFromArray(colour);
    font->DrawString(x, y, kCentred, kCentred, text, true);
}

} // namespace

void Car::RenderCar(int car, float alpha)
{
    const CarState& state = m_states[car];
    Graphics* graphics = m_game->GetGraphics();
    const int frame = int(state.wheel_phase) & 3;
    const float s = m_sizes.length;
    const float shadow = kShadowScale * s;
    graphics->GetLayer(GRAPHICS_LAYER_SHADOWS)
        .Add(graphics->GetCarShadow(), state.x, state.y, shadow, shadow, state.heading, alpha);
    // The front wheels turn with the steering, each at its corner ahead of the centre.
    for (int side = -1; side <= 1; side += 2) {
        float px = float(side) * m_sizes.draw[4], py = -m_sizes.draw[5];
        float wx = state.x + px * state.cos_heading + py * state.sin_heading;
        float wy = state.y - px * state.sin_heading + py * state.cos_heading;
        float angle = state.heading + state.turn;
        graphics->GetLayer(GRAPHICS_LAYER_SHADOWS)
            .Add(graphics->GetWheelShadow(), wx, wy, kShadowScale * m_sizes.draw[0], kShadowScale * m_sizes.draw[1],
                 angle, alpha);
        graphics->GetLayer(GRAPHICS_LAYER_WHEELS)
            .Add(graphics->GetWheel(frame), wx, wy, m_sizes.draw[0], m_sizes.draw[1], angle, alpha);
    }
    graphics->GetLayer(GRAPHICS_LAYER_BODIES)
        .Add(graphics->GetCarSprite(car, frame), state.x, state.y, s, s, state.heading, alpha);
}

void Car::RenderGhost()
{
    if (!m_game->HasGhost() || !m_ghost.IsReplaying())
        return;
    GhostPose pose = m_ghost.GetReplayPose();
    Graphics* graphics = m_game->GetGraphics();
    graphics->GetLayer(GRAPHICS_LAYER_GHOST)
        .Add(graphics->GetCarSprite(0, int(m_states[0].wheel_phase) & 3), pose.x, pose.y, m_sizes.length,
             m_sizes.length, pose.heading, 1.0f);
}

void Car::Render()
{
    Graphics* graphics = m_game->GetGraphics();
    // The track covers the screen, has nothing to blend with and is drawn in white: its texels are the pixels.
    EngDeviceDisableBlending();
    EngDeviceDrawTexelsAsTheyAre(true);
    GraphicsDrawScreenPicture(graphics->GetTrackPicture());
    EngDeviceDrawTexelsAsTheyAre(false);
    EngDeviceEnableBlendingType(kNormalBlending);
    EngDeviceTurnOnAlphaModulation();
    const int n = NumCars();
    const bool two_floors = TrackInfoGetCurrent()->floors == 2;
    for (int floor = 0; floor < (two_floors ? 2 : 1); floor++) {
        if (floor == 1) {
            const _TrackOverlay* overlay = TrackInfoGetOverlay();
            EngTexture* track = graphics->GetTrackPicture();
            if (track && track->IsLoaded()) {
                track->PositionRatioed(overlay->destination[0], overlay->destination[1], overlay->destination[2],
                                       overlay->destination[3]);
                float alpha = overlay->alpha < 1.0f ? overlay->alpha : 1.0f;
                track->DrawWithTextureCoordinatesAndColour(overlay->source[0], overlay->source[1],
                                                           overlay->source[2], overlay->source[3], 1.0f, 1.0f,
                                                           1.0f, alpha);
                track->PositionRatioed(0.0f, 0.0f, 640.0f, 480.0f);
                track->ResetTextureCoordinates();
            }
        }
        for (int car = 0; car < n; car++) {
            const CarRecord& record = m_records[car];
            if ((two_floors && m_states[car].floor != floor) || record.finish_state == CAR_DONE)
                continue;
            RenderCar(car, record.finish_state == CAR_FINISHING ? std::max(record.finish_fade, 0.0f) : 1.0f);
            if (car == 0)
                RenderGhost();
        }
        graphics->DrawLayers();
    }
    RenderHud();
    RenderFlags();
    EngDeviceTurnOffAlphaModulation();
}

void Car::RenderHud()
{
    EngFont* font = m_game->GetRaceFont();
    const UserRecord* profile = m_game->GetCurrentProfile();
    if (!font || !font->IsSetup())
        return;
    const _TrackInfo* row = TrackInfoGetCurrent();
    const HudBox first = MakeHudBox(row->hud_box1);
    const HudBox second = MakeHudBox(row->hud_box2);
    const bool time_trial = m_game->GetGameType() == GAME_TYPE_TIME_TRIAL;
    const CarRecord& own = m_records[0];
    char text[64];
    if (profile->hud[0] && !time_trial) {
        for (int place = 0; place < 3; place++) {
            if (m_standings[place] < 0)
                continue;
            const float* rgb = GetColour(m_standing_colours[place]);
            const float colour[4] = {rgb[0], rgb[1], rgb[2], 1.0f};
            DrawHudText(font, first.x, first.lines[place], kHudStandingsScale, colour, m_standing_texts[place]);
        }
    }
    if (profile->hud[2]) {
        GetLapCounterText(text, sizeof(text));
        DrawHudText(font, second.x, second.lines[0], kHudLapScale, kHudLapColour, text);
    }
    if (profile->hud[1]) {
        if (own.finish_state == CAR_RACING)
            DrawHudText(font, second.x, second.lines[1], kHudLapScale, kHudTimeColour, own.current_lap_text);
        if (time_trial && own.last.text[0])
            DrawHudText(font, first.x, first.lines[0], kHudLapScale, kHudLapColour, own.last.text);
        if (time_trial && own.race_time_text[0])
            DrawHudText(font, first.x, first.lines[1], kHudLapScale, kHudLapColour, own.race_time_text);
    }
    if (profile->hud[3] && !time_trial) {
        if (own.laps_done < 0 || m_standings[0] < 0)
            std::snprintf(text, sizeof(text), "%s", "POS  -");
        else
            std::snprintf(text, sizeof(text), "POS  %d", own.place + 1);
        DrawHudText(font, second.x, second.lines[2], kHudLapScale, kHudPlaceColour, text);
    }
}

// The driving test never finishes its lap, so its laps count on past the race's: the counter stops at the last.
const char* Car::GetLapCounterText(char* out, int size) const
{
    const CarRecord& own = m_records[0];
    if (own.finish_state != CAR_RACING)
        std::snprintf(out, size_t(size), "%s", "RACE OVER");
    else if (own.laps_done < 0)
        std::snprintf(out, size_t(size), "LAP - / %d", m_laps);
    else
        std::snprintf(out, size_t(size), "LAP  %d  / %d", std::min(own.laps_done + 1, m_laps), m_laps);
    return out;
}

void Car::RenderFlags()
{
    if (m_flag_state == 0)
        return;
    m_flag_frame += kFlagFramesPerSecond * eng_frame_time;
    while (m_flag_frame >= float(GRAPHICS_FLAG_FRAMES))
        m_flag_frame -= float(GRAPHICS_FLAG_FRAMES);
    EngTexture* flag = m_game->GetGraphics()->GetFlagFrame(int(m_flag_frame));
    if (!flag || !flag->IsLoaded())
        return;
    for (const float* point : m_flag_points) {
        flag->PositionRatioed(point[0] - kFlagSize * 0.5f, point[1] - kFlagSize, kFlagSize, kFlagSize);
        if (m_flag_shift)
            flag->DrawWithTextureCoordinatesAndColour(1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, m_flag_alpha);
        else
            flag->DrawWithTextureCoordinatesAndColour(0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, m_flag_alpha);
    }
}

#pragma once

// All cars of a race in one object: car 0 is the driver, cars 1 to 7 the computer drivers. The race step
// drives them over the track's maps (walls, rough ground, ramps between floors, checkpoints), resolves
// collisions, counts laps and places, and hands the finished race to the game. Positions are in the
// 640 x 480 screen; times are the game's millisecond clock.

#include "Engine/Core/EngTypes.h"
#include "Game/Controls.h"
#include "Game/Ghost.h"
#include "Game/TrackInfo.h"

class Game;
struct _TravInfo;

constexpr int CAR_MAX = 8;
constexpr int CAR_OUTLINE_POINTS = 6; // four corners, then two probe points ahead
constexpr int CAR_TIME_TEXT_SIZE = 16;
constexpr int CAR_LAP_TEXT_SIZE = 16;
constexpr int CAR_STANDING_TEXT_SIZE = 128;
constexpr int CAR_DEFAULT_LAPS = 2;
constexpr int CAR_COLOURS = 8;
constexpr float CAR_TURN_LIMIT = 0.7f;
constexpr float CAR_STEERING_MULTIPLIER = 4.8f;

// What Levels sets per car.
struct CarParms
{
    float steering;
    float acceleration;
    float deceleration;
    float top_speed;
    float blend;      // target-speed blend of a computer driver
    float look_ahead; // look-ahead factor of a computer driver
    EngUInt8 variant; // line variant 0..4 of a computer driver
};

struct CarState
{
    EngUInt8 floor;
    float x, y;
    float heading; // radians in [0, 2 pi); 0 up the screen, the car moves along (-sin, -cos)
    float turn;
    float speed;
    EngUInt8 turning;
    EngUInt8 accelerating;
    float outline[CAR_OUTLINE_POINTS][2];
    float map_position[2];
    int cell[2];
    const _TravInfo* trav; // the cell on the car's floor; null outside the grid
    float sin_heading, cos_heading;
    float wheel_phase;
    // A computer driver's overtaking: the car being passed and the side, -1 none.
    int passing_car;
    int passing_side;
    // A computer driver's watch for being stuck: where it last got away from, and the steps since.
    float still_x, still_y;
    int still_steps;
};

enum _CarFinishState : EngUInt8
{
    CAR_RACING = 0,
    CAR_FINISHING = 1, // finished, fading out
    CAR_DONE = 2,
};

struct CarLapTime
{
    int minutes, seconds, hundredths;
    char text[CAR_TIME_TEXT_SIZE];
};

struct CarRecord
{
    int laps_done; // -1 before the start line is first crossed
    EngUInt8 last_checkpoint, next_checkpoint;
    EngUInt32 race_start_time;
    EngUInt32 current_lap_time;
    EngUInt32 lap_start_time; // 0 until the start line is first crossed
    EngUInt32 race_time;
    EngUInt32 start_to_line; // from the start signal to the first crossing of the start line
    EngUInt32 best_lap;
    int place;
    CarLapTime last;
    CarLapTime best;
    EngUInt8 finish_state;
    int finish_place;
    float finish_fade;
    char lap_text[CAR_LAP_TEXT_SIZE];
    char current_lap_text[CAR_TIME_TEXT_SIZE];
    char race_time_text[CAR_TIME_TEXT_SIZE];
    char place_char;
};

// The race's fastest and second-fastest laps.
struct CarFastLap
{
    EngUInt32 time;
    int car;
    int colour;
    char text[CAR_TIME_TEXT_SIZE];
};

// Where a car stands and looks.
struct CarPose
{
    float x, y, heading;
};

// Sizes of the cars of the current track.
struct CarSizes
{
    float length, width, half_length, half_width, speed_unit;
    float draw[6]; // S x 0.2, 0.28, 0.1, 0.14, 0.35, 0.32: the front wheels' size, half size and place
};

class Car : public ControlledCar
{
public:
    // A missing game is fatal ("No game.").
    explicit Car(Game* game);
    Car(const Car&) = delete;
    Car& operator=(const Car&) = delete;

    // The race start: grid order, then every car reset on its slot.
    void PutCarsOnGrid();
    void SetGridOrder();
    void RaceReset();
    void ResetCar(int car);
    // Called when the race goes: the time every car's race started.
    void SetRaceStartTime(EngUInt32 now);
    // After a pause: every car's lap and race time marks move on by the time paused, so it does not count.
    void SkipPausedTime(EngUInt32 paused);
    // The race step; -1 when the race finished and was handed to the game.
    int Tick();

    // ControlledCar, for the players' controls and the computer drivers.
    void Steer(int car, int direction, float amount) override;
    void SetAccelerating(int car, bool on) override;
    void SetTurn(int car, float turn) override;
    float GetSpeed(int car) const override;

    void SetSizes(float scale);
    const CarSizes& GetSizes() const { return m_sizes; }
    void SetLaps(int laps) { m_laps = laps > 0 ? laps : 1; }
    int GetLaps() const { return m_laps; }
    // Sounds off and no finish handling: the result screen runs a race to its end this way.
    void SetQuietSimulation(bool on) { m_quiet = on; }
    bool IsQuietSimulation() const { return m_quiet; }

    CarParms* GetParms(int car);
    CarState* GetState(int car);
    const CarState* GetState(int car) const;
    const CarRecord* GetRecord(int car) const;
    CarRecord* GetRecord(int car);
    int GetGridSlot(int car) const;
    // Car at a place, -1 none; its colour and text "%d: %s".
    int GetCarAtPlace(int place) const;
    int GetColourAtPlace(int place) const;
    const char* GetStandingText(int place) const;
    const CarFastLap& GetFastestLap() const { return m_fastest; }
    const CarFastLap& GetSecondFastestLap() const { return m_second_fastest; }
    static const float* GetColour(int colour);
    Ghost& GetGhost() { return m_ghost; }
    int GetFlagState() const { return m_flag_state; }

    // A car's time in a result table: from the start signal, as the grid puts cars at different distances
    // from the line; with the lap under way for a car still racing. 0 for a car without a time.
    EngUInt32 GetResultTime(int car) const;
    // The head-up lap counter of car 0.
    const char* GetLapCounterText(char* out, int size) const;
    // "%02d:%02d:%02d" minutes, seconds, hundredths; "9999:59:99" from 10,000 minutes; empty without a buffer.
    static const char* GetTimeText(EngUInt32 ms, char* out, int size);
    // The ghost file of a track, the profile's class and a lap count; null without a usable profile name.
    const char* GetGhostFilename(int track, int number, bool create_folder);

    // The race frame: track picture, cars (by floor), head-up texts, finish flags.
    void Render();

    // A stuck car put back, standing, at a pose or the nearest free spot within a car length; false when none.
    bool Recover(int car, const CarPose& pose);

    // Collision geometry, shared with the computer drivers.
    void PlaceOutline(int car);
    bool CarsOverlap(int a, int b) const;
    static bool QuadsOverlap(const float a[4][2], const float b[4][2]);

private:
    int StepCar(int car);
    // The finish (or licence passed) sound of a car at a volume.
    void PlayFinishSound(int car, float volume);
    bool FadingOut(int car) const;
    void ApplySteering(CarState& state, int car);
    void ApplySpeed(CarState& state, const CarParms& parms);
    int MoveCar(int car, int* checkpoint, const CarPose& start);
    int TrackCheck(int car, int* checkpoint);
    int WallCorners(int car) const;
    void WallResponse(int car, const CarPose& start);
    int BodyWallSamples(int car) const;
    bool InWall(int car) const;
    bool TryPlace(int car, float x, float y, float heading);
    bool PushOutOfWall(int car, const CarPose& start);
    bool PlaceNear(int car, const CarPose& pose, float reach);
    void CheckpointsAndLaps(int car, int checkpoint);
    void LapDone(int car);
    void FinishLapOfTimeTrial(int car);
    void ShowFinishFlags();
    void UpdatePlaces();
    void ComputeStandings();
    void Collisions();
    void CollisionResponse(int a, int b);
    void PushApart(int a, int b, float nx, float ny, float wanted);
    void Ghosts(int car);
    void RefreshTrig(CarState& state);
    void RenderCar(int car, float alpha);
    void RenderGhost();
    void RenderHud();
    void RenderFlags();
    int NumCars() const;

    Game* m_game;
    CarParms m_parms[CAR_MAX] = {};
    CarState m_states[CAR_MAX] = {};
    CarRecord m_records[CAR_MAX] = {};
    int m_laps = CAR_DEFAULT_LAPS;
    EngInt32 m_grid_slots[TRACK_COUNT][TRACK_GRID_SLOTS][2] = {};
    EngInt32 m_grid_headings[TRACK_COUNT][TRACK_GRID_SLOTS] = {};
    int m_grid_order[CAR_MAX] = {};
    CarSizes m_sizes = {};
    float m_outline_base[CAR_OUTLINE_POINTS][2] = {};
    int m_standings[CAR_MAX] = {};
    int m_standing_colours[CAR_MAX] = {};
    char m_standing_texts[CAR_MAX][CAR_STANDING_TEXT_SIZE] = {};
    CarFastLap m_fastest = {};
    CarFastLap m_second_fastest = {};
    int m_flag_state = 0;
    float m_flag_alpha = 0.0f;
    float m_flag_points[2][2] = {};
    bool m_flag_shift = false;
    float m_flag_frame = 0.0f;
    bool m_quiet = false;
    Ghost m_ghost;
    char m_ghost_path[1024] = "";
};

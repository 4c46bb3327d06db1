#pragma once

// The seven computer drivers, the difficulty table (four classes by five levels) and the set-up of a race's
// cars: the driver's own car from the profile, every computer car from its driver row, the difficulty, the
// track's parameter row and random factors. It also sets the time scale that makes higher classes faster.

#include "Engine/Core/EngTypes.h"

class Game;

constexpr int LEVELS_NUM_DRIVERS = 7;
constexpr int LEVELS_NUM_CLASSES = 4;
constexpr int LEVELS_NUM_LEVELS = 5;
constexpr int LEVELS_DRIVER_NAME_SIZE = 12;
// The random spread of a computer car's speed and top speed, per race or per championship.
constexpr float LEVELS_SPEED_SPREAD[2] = {0.8f, 1.2f};
constexpr float LEVELS_TOP_SPEED_SPREAD[2] = {0.95f, 1.05f};

// One computer driver (44 bytes).
struct LevelsDriver
{
    char name[LEVELS_DRIVER_NAME_SIZE];
    EngInt32 colour;
    EngInt32 speed;
    EngInt32 steering;
    EngInt32 acceleration;
    EngInt32 braking;
    float blend;
    float look_ahead;
    EngUInt8 variant;
    EngUInt8 row_type;
    EngUInt8 setup;
    EngUInt8 padding;
};
static_assert(sizeof(LevelsDriver) == 44, "driver row layout");

struct LevelsDifficulty
{
    float class_factor;
    EngInt32 level_value;
};

class Levels
{
public:
    // A missing game is fatal ("No game.").
    explicit Levels(Game* game);
    Levels(const Levels&) = delete;
    Levels& operator=(const Levels&) = delete;

    // Copies the named drivers into race positions 0..count-1; a bad count or driver changes nothing.
    bool SetupRaceOpponents(int count, const int drivers[LEVELS_NUM_DRIVERS]);
    bool SetupComputerCars(int formula, int level, int row_type, bool championship);
    void SetupUserCar();

    // Grid position 0 is the driver: the profile's name and car colour (0..7).
    const char* GetDriverName(int position) const;
    int GetDriverColour(int position) const;
    // The parameter row a car drives by this race.
    int GetCarRow(int car) const;
    float GetTimeScale() const { return m_time_scale; }
    float GetClassFactor() const { return m_class_factor; }
    const LevelsDriver* GetRaceDriver(int position) const;
    static const LevelsDriver* GetDriver(int driver);
    static const LevelsDifficulty* GetDifficulty(int formula, int level);

private:
    bool SetupComputerCar(int car, int formula, int level, int row_type, bool championship);

    Game* m_game;
    float m_track_speed[6] = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    LevelsDriver m_race_drivers[LEVELS_NUM_DRIVERS] = {};
    int m_rows[8] = {};
    float m_time_scale = 1.0f;
    float m_class_factor = 0.0f;
};

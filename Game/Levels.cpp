#include "Game/Levels.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngRandom.h"
#include "Game/Car.h"
#include "Game/ChampClass.h"
#include "Game/Game.h"
#include "Game/TrackInfo.h"
#include "Game/Traverse.h"
#include "Game/Users.h"

namespace {

const LevelsDriver kDrivers[LEVELS_NUM_DRIVERS] = {
    {"NIFTY NELLY", 1, 9, 8, 10, 10, 0.0f, 1.0f, 0, 0, 0, 0},
    {"SAM SPEED", 4, 12, 7, 8, 8, 0.0f, 1.0f, 0, 0, 0, 0},
    {"RAPID ROBIN", 6, 8, 10, 9, 5, 0.0f, 1.0f, 0, 1, 0, 0},
    {"SEAN SWIFT", 3, 10, 10, 10, 6, 0.0f, 1.0f, 0, 1, 0, 0},
    {"BILLY WHIZZ", 7, 8, 10, 9, 4, 0.0f, 1.0f, 0, 1, 0, 0},
    {"FRED FLYER", 5, 10, 10, 7, 5, 0.0f, 1.0f, 0, 2, 0, 0},
    {"ZIGGY ZIP ", 2, 10, 10, 6, 6, 0.0f, 1.0f, 0, 2, 0, 0},
};

// Class factor 0.65 + 0.13 x class, level value 80 + 5 x level.
const LevelsDifficulty kDifficulty[LEVELS_NUM_CLASSES][LEVELS_NUM_LEVELS] = {
    {{0.65f, 80}, {0.65f, 85}, {0.65f, 90}, {0.65f, 95}, {0.65f, 100}},
    {{0.78f, 80}, {0.78f, 85}, {0.78f, 90}, {0.78f, 95}, {0.78f, 100}},
    {{0.91f, 80}, {0.91f, 85}, {0.91f, 90}, {0.91f, 95}, {0.91f, 100}},
    {{1.04f, 80}, {1.04f, 85}, {1.04f, 90}, {1.04f, 95}, {1.04f, 100}},
};

// Lower levels drive slower than their skills say.
constexpr float kLevelReduction[LEVELS_NUM_LEVELS] = {0.081f, 0.027f, 0.009f, 0.003f, 0.0f};
// The parameter row each grid position drives by.
constexpr int kDefaultRows[CAR_MAX] = {0, 0, 1, 2, 1, 2, 1, 0};
constexpr float kSkillSpeedScale = 0.25f;
constexpr float kSkillSpeedBase = 7.5f;
constexpr float kForceScale = 400.0f;

} // namespace

Levels::Levels(Game* game) : m_game(game)
{
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game.");
    for (int car = 0; car < CAR_MAX; car++)
        m_rows[car] = kDefaultRows[car];
}

const LevelsDriver* Levels::GetDriver(int driver)
{
    return driver >= 0 && driver < LEVELS_NUM_DRIVERS ? &kDrivers[driver] : nullptr;
}

const LevelsDifficulty* Levels::GetDifficulty(int formula, int level)
{
    if (formula < 0 || formula >= LEVELS_NUM_CLASSES || level < 0 || level >= LEVELS_NUM_LEVELS)
        return nullptr;
    return &kDifficulty[formula][level];
}

const LevelsDriver* Levels::GetRaceDriver(int position) const
{
    return position >= 0 && position < LEVELS_NUM_DRIVERS ? &m_race_drivers[position] : nullptr;
}

bool Levels::SetupRaceOpponents(int count, const int drivers[LEVELS_NUM_DRIVERS])
{
    if (count > LEVELS_NUM_DRIVERS || count < 0) {
        DebugError(ENG_FUNC, "Too many opponents (%d)", count);
        return false;
    }
    for (int pos = 0; pos < count; pos++) {
        if (!drivers || !GetDriver(drivers[pos])) {
            DebugError(ENG_FUNC, "Invalid race driver %d at pos %d", drivers ? drivers[pos] : -1, pos);
            return false;
        }
    }
    for (LevelsDriver& row : m_race_drivers)
        row = LevelsDriver{};
    for (int pos = 0; pos < count; pos++) {
        m_race_drivers[pos] = kDrivers[drivers[pos]];
        m_race_drivers[pos].setup = 1;
    }
    return true;
}

const char* Levels::GetDriverName(int position) const
{
    if (position == 0)
        return m_game->GetCurrentProfile()->name;
    const LevelsDriver* row = GetRaceDriver(position - 1);
    return row ? row->name : "";
}

int Levels::GetDriverColour(int position) const
{
    int colour = 0;
    if (position == 0) {
        colour = m_game->GetCurrentProfile()->car_colour;
    } else {
        const LevelsDriver* row = GetRaceDriver(position - 1);
        colour = row ? row->colour : 0;
    }
    // A colour from a file indexes tables and names pictures: only 0..7 is used.
    return colour >= 0 && colour < CAR_COLOURS ? colour : 0;
}

int Levels::GetCarRow(int car) const
{
    return car >= 0 && car < CAR_MAX ? m_rows[car] : 0;
}

bool Levels::SetupComputerCars(int formula, int level, int row_type, bool championship)
{
    if (formula < 0 || formula >= LEVELS_NUM_CLASSES) {
        DebugError(ENG_FUNC, "Bad formula_zzz %d", formula);
        return false;
    }
    if (level < 0 || level >= LEVELS_NUM_LEVELS) {
        DebugError(ENG_FUNC, "Bad level_zzz %d", level);
        return false;
    }
    if (row_type >= TRAV_PARM_ROWS) {
        DebugError(ENG_FUNC, "Bad row type %d", row_type);
        return false;
    }
    const int track = TrackInfoGetCurrentTrack();
    m_class_factor = kDifficulty[formula][level].class_factor;
    m_time_scale = m_track_speed[track] * m_class_factor;
    if (m_time_scale <= 0.0f || row_type >= 0)
        m_time_scale = 1.0f;
    Car* car = m_game->GetCar();
    car->SetSizes(0.0f);
    const int cars = m_game->GetCarsInRace();
    for (int i = 0; i < cars && i < CAR_MAX; i++) {
        if (i == 0 && row_type < 0) {
            m_rows[0] = kDefaultRows[0];
            SetupUserCar();
            continue;
        }
        if (!SetupComputerCar(i, formula, level, row_type, championship))
            return false;
    }
    const float unit = car->GetSizes().speed_unit;
    for (int i = 1; i < cars && i < CAR_MAX; i++) {
        CarParms* parms = car->GetParms(i);
        parms->steering *= unit;
        parms->acceleration *= unit;
        parms->deceleration *= unit;
        parms->top_speed *= unit;
    }
    return true;
}

bool Levels::SetupComputerCar(int i, int formula, int level, int row_type, bool championship)
{
    const LevelsDifficulty& difficulty = kDifficulty[formula][level];
    float m = float(difficulty.level_value) / 1000.0f;
    float reduction = row_type >= 0 ? 0.0f : kLevelReduction[level];
    int row = row_type >= 0 ? row_type : kDefaultRows[i];
    int position = row_type >= 0 ? i : i - 1;
    const LevelsDriver* driver = GetRaceDriver(position);
    if (!driver)
        return false;
    if (row_type >= 0 && driver->row_type != row_type) {
        DebugError(ENG_FUNC, "Race opponent not correct ptype (%d, %d != %d)", position, driver->row_type, row_type);
        return false;
    }
    if (!driver->setup) {
        DebugError(ENG_FUNC, "Race opponent not setup (%d)", position);
        return false;
    }
    m_rows[i] = row;
    const TrackParmsRecord* track_parms = m_game->GetTraverse()->GetTrackParms(TrackInfoGetCurrentTrack(), row);
    const ChampRecord* champ = championship ? m_game->GetChamp()->GetRecord() : nullptr;
    CarParms* parms = m_game->GetCar()->GetParms(i);
    parms->top_speed = (float(driver->speed) * kSkillSpeedScale + kSkillSpeedBase) * m * track_parms->speed_base *
                       (1.0f - reduction);
    if (row_type < 0)
        m *= champ ? champ->speed[i] : EngMiscRandFloatRange(LEVELS_SPEED_SPREAD[0], LEVELS_SPEED_SPREAD[1], false);
    parms->blend = driver->blend;
    parms->look_ahead = driver->look_ahead;
    parms->variant = driver->variant;
    parms->steering = float(driver->steering) * m;
    parms->acceleration = float(driver->acceleration) * m * kForceScale;
    parms->deceleration = float(driver->braking) * m * kForceScale;
    if (row_type < 0) {
        const float* spread = LEVELS_TOP_SPEED_SPREAD;
        parms->top_speed *= champ ? champ->top_speed[i] : EngMiscRandFloatRange(spread[0], spread[1], false);
    }
    return true;
}

void Levels::SetupUserCar()
{
    const UserRecord* profile = m_game->GetCurrentProfile();
    const _TrackInfo* row = TrackInfoGetCurrent();
    int formula = profile->formula_zzz >= 0 && profile->formula_zzz < LEVELS_NUM_CLASSES ? profile->formula_zzz : 0;
    int level = profile->classes[formula].level_zzz;
    level = level >= 0 && level < LEVELS_NUM_LEVELS ? level : 0;
    float adjustment = row->top_speed_adjust_level0 +
                       (row->top_speed_adjust_level4 - row->top_speed_adjust_level0) * float(4 - level) * 0.25f;
    const TrackParmsRecord* track_parms = m_game->GetTraverse()->GetTrackParms(TrackInfoGetCurrentTrack(), 0);
    Car* car = m_game->GetCar();
    CarParms* parms = car->GetParms(0);
    const float unit = car->GetSizes().speed_unit;
    parms->top_speed = (adjustment + 1.0f) * track_parms->speed_base * unit;
    parms->steering = (1.0f + float(profile->steering) * 0.5f) * unit;
    parms->acceleration = (float(profile->acceleration) / 10.0f + 0.1f) * kForceScale * unit;
    parms->deceleration = (float(profile->brakes) / 10.0f + 0.1f) * kForceScale * unit;
    parms->blend = 0.0f;
    parms->look_ahead = 0.0f;
    parms->variant = 0;
}

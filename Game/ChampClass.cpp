#include "Game/ChampClass.h"

#include <cmath>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngRandom.h"
#include "Game/Game.h"
#include "Game/Levels.h"
#include "Game/TrackInfo.h"
#include "Game/Users.h"

namespace {

constexpr float kLengthFactors[CHAMP_LENGTHS] = {0.3f, 0.5f, 1.0f, 1.7f, 2.6f};
constexpr int kStartLength = 2;
constexpr float kLapsBase = 15.0f;
constexpr float kLapLengthUnit = 4.75f;

} // namespace

ChampClass::ChampClass(Game* game) : m_game(game)
{
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game.");
}

int ChampClass::LapsFor(float time_scale, int track, int length)
{
    const _TrackInfo* row = TrackInfoGetRow(track);
    if (!row || length < 0 || length >= CHAMP_LENGTHS || row->lap_length_factor <= 0.0f)
        return 1;
    float laps = time_scale * kLapsBase / (row->lap_length_factor / kLapLengthUnit) * kLengthFactors[length];
    int rounded = int(std::lround(laps));
    // The shortest race on the longest track still has a lap.
    return rounded > 0 ? rounded : 1;
}

void ChampClass::NewChampionship()
{
    const UserRecord* profile = m_game->GetCurrentProfile();
    m_record = ChampRecord{};
    m_record.version = CHAMP_VERSION;
    m_record.formula = profile->formula_zzz;
    m_record.level = profile->formula_zzz >= 0 && profile->formula_zzz < USER_NUM_CLASSES
                         ? profile->classes[profile->formula_zzz].level_zzz
                         : 0;
    m_record.stage = 0;
    m_record.length = kStartLength;
    for (int car = 1; car < CHAMP_CARS; car++) {
        m_record.speed[car] = EngMiscRandFloatRange(LEVELS_SPEED_SPREAD[0], LEVELS_SPEED_SPREAD[1], false);
        m_record.top_speed[car] = EngMiscRandFloatRange(LEVELS_TOP_SPEED_SPREAD[0], LEVELS_TOP_SPEED_SPREAD[1], false);
    }
    SetupRace();
}

bool ChampClass::SetLength(int length)
{
    if (length < 0 || length >= CHAMP_LENGTHS) {
        DebugError(ENG_FUNC, "Bad race length %d", length);
        return false;
    }
    m_record.length = length;
    return true;
}

bool ChampClass::SetupRace()
{
    if (!m_game->GetLevels()->SetupComputerCars(m_record.formula, m_record.level, -1, true))
        return false;
    m_record.laps = LapsFor(m_game->GetLevels()->GetTimeScale(), m_record.stage, m_record.length);
    return true;
}

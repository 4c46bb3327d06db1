#pragma once

// The state of one championship: class, level, stage, race length, the cars' points and their speed
// multipliers. The championship screens save the record whole as the ".vch" file.

#include "Engine/Core/EngTypes.h"

class Game;

constexpr int CHAMP_CARS = 8;
constexpr int CHAMP_STAGES = 6;
constexpr int CHAMP_LENGTHS = 5;
constexpr float CHAMP_VERSION = 1.4f;

struct ChampRecord
{
    float version;
    EngInt32 formula;
    EngInt32 level;
    EngInt32 stage; // the track of the next race; 6 when finished
    EngInt32 length; // race length choice 0..4
    EngInt32 laps;
    EngInt32 points[CHAMP_CARS];
    float speed[CHAMP_CARS];     // car 0 stays 0
    float top_speed[CHAMP_CARS]; // car 0 stays 0
};
static_assert(sizeof(ChampRecord) == 120, "the .vch file is 120 bytes");

class ChampClass
{
public:
    // A missing game is fatal ("No game.").
    explicit ChampClass(Game* game);
    ChampClass(const ChampClass&) = delete;
    ChampClass& operator=(const ChampClass&) = delete;

    void NewChampionship();
    // The computer cars and the laps of the current stage's race.
    bool SetupRace();
    // A length choice outside 0..4 is refused.
    bool SetLength(int length);
    ChampRecord* GetRecord() { return &m_record; }
    // Laps of a race: the time scale, the track's lap length and the length choice; never 0.
    static int LapsFor(float time_scale, int track, int length);

private:
    Game* m_game;
    ChampRecord m_record = {};
};

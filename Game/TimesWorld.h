#pragma once

// The time trial's link to the world best-times service: one table reader for the table the time-trial
// screen shows, its rows and messages handed to that screen, and the submission of a driver's best time.

#include "Online/Scores.h"

class Game;

constexpr unsigned short TIMES_WORLD_GAME_VERSION = 140;
constexpr int TIMES_WORLD_ROWS = 100;
constexpr unsigned TIMES_WORLD_INTERVAL_MINUTES = 60;
constexpr const char* TIMES_WORLD_OUT_OF_DATE = "This game is out of date - you need to download the latest version.";

// What the world times ask of the screen that shows them, and tell it.
class TimesWorldScreen
{
public:
    virtual ~TimesWorldScreen() = default;
    virtual unsigned GetWorldTimesTableId() = 0;
    // The driver's best local time in the range as a score row, or null.
    virtual _ScoresScore* GetBestTimeAsScore(int range) = 0;
    virtual void SetWorldTimesMessage(const char* text) = 0;
    virtual void TimeSubmittedCB(bool accepted) = 0;
};

class TimesWorld
{
public:
    explicit TimesWorld(Game* game);
    ~TimesWorld();
    TimesWorld(const TimesWorld&) = delete;
    TimesWorld& operator=(const TimesWorld&) = delete;

    void SetScreen(TimesWorldScreen* screen) { m_screen = screen; }

    bool CreateScoresMainInstance();
    // ScoresMain::UpdateIfNeeded's result, or 0 when no reader could be made.
    signed char UpdateIfNeeded();
    bool Update();
    bool IsUpdating() const;
    // 1 a table arrived, 0 running (or no reader), -1 ended without a table, -2 never started.
    signed char IsUpdateFinished();
    _ScoresScore* GetScoresList();
    int GetNumScores() const;
    void DeleteScoresMainInstance();
    // Drops the cached tables of all four ranges; the profile's range stays as it was.
    void DeleteScoresFiles();

    void SubmitBestTime(int range);
    void SubmitTime(const _ScoresScore* score);

private:
    int ProfileRange() const;
    void NoteSubmitResult(int result);

    Game* m_game;
    TimesWorldScreen* m_screen = nullptr;
    ScoresMain* m_scores = nullptr;
};

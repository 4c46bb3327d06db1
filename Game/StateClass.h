#pragma once

// The start of a race: a wait on the grid, the countdown "3", "2", "1", then racing with "GO!" on screen for
// a second. Every time is the game's millisecond clock.

#include "Engine/Core/EngTypes.h"

class Game;

enum _RaceState : EngUInt8
{
    RACE_STATE_IDLE = 0,
    RACE_STATE_GRID = 1,
    RACE_STATE_COUNTDOWN = 2,
    RACE_STATE_RACING = 3,
};

constexpr int STATE_TEXT_SIZE = 4; // "GO!" and its terminator

class StateClass
{
public:
    // A missing game is fatal ("No game.").
    explicit StateClass(Game* game);
    StateClass(const StateClass&) = delete;
    StateClass& operator=(const StateClass&) = delete;

    // Puts the cars on the grid and waits there.
    void Start();
    void Tick();
    // The countdown or "GO!", in the race font.
    void Render();

    _RaceState GetState() const { return _RaceState(m_state); }
    const char* GetText() const { return m_text; }
    bool IsTextShown() const { return m_state == RACE_STATE_COUNTDOWN || m_go_shown; }
    bool IsGoShown() const { return m_go_shown; }

private:
    void SwitchToRacing(EngUInt32 now);
    void SetCountdownText();

    Game* m_game;
    EngUInt32 m_grid_wait_ms = 1000;
    EngUInt32 m_countdown_step_ms = 1000;
    EngUInt32 m_last_change = 0;
    int m_countdown = 0;
    char m_text[STATE_TEXT_SIZE] = "";
    bool m_go_shown = false;
    EngUInt32 m_go_time = 0;
    EngUInt8 m_state = RACE_STATE_IDLE;
};

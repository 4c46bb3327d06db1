#include "Game/StateClass.h"

#include <cstdio>

#include "Engine/Core/EngDebug.h"
#include "Engine/Graphics/EngFont.h"
#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Program.h"

namespace {

constexpr EngUInt32 kGoShownMs = 1000;
constexpr float kTextScale = 7.0f;
constexpr float kShadowX = 325.0f;
constexpr float kShadowY = 245.0f;
constexpr float kTextX = 320.0f;
constexpr float kTextY = 240.0f;
constexpr float kShadowAlpha = 0.8f;
constexpr float kCountdownColour[4] = {0.1f, 1.0f, 0.3f, 0.8f};

} // namespace

StateClass::StateClass(Game* game) : m_game(game)
{
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game.");
}

void StateClass::Start()
{
    m_state = RACE_STATE_GRID;
    m_last_change = game_clock_ms;
    m_go_shown = false;
    m_text[0] = '\0';
    m_game->GetCar()->PutCarsOnGrid();
}

void StateClass::Tick()
{
    EngUInt32 now = game_clock_ms;
    if (m_state == RACE_STATE_GRID && now > m_last_change + m_grid_wait_ms) {
        if (m_game->GetGameType() == GAME_TYPE_TIME_TRIAL) {
            SwitchToRacing(now);
        } else {
            m_state = RACE_STATE_COUNTDOWN;
            m_countdown = 3;
            SetCountdownText();
            m_last_change = now;
        }
    } else if (m_state == RACE_STATE_COUNTDOWN && now > m_last_change + m_countdown_step_ms) {
        m_countdown--;
        SetCountdownText();
        if (m_countdown <= 0)
            SwitchToRacing(now);
        m_last_change = now;
    }
    if (m_go_shown && now - m_go_time >= kGoShownMs)
        m_go_shown = false;
}

void StateClass::SetCountdownText()
{
    m_text[0] = char('0' + (m_countdown > 0 ? m_countdown % 10 : 0));
    m_text[1] = '\0';
}

void StateClass::SwitchToRacing(EngUInt32 now)
{
    m_state = RACE_STATE_RACING;
    // Only the race's start: lap timing starts when a car first crosses the line.
    m_game->GetCar()->SetRaceStartTime(now);
    if (m_game->GetGameType() == GAME_TYPE_TIME_TRIAL)
        return;
    std::snprintf(m_text, sizeof(m_text), "%s", "GO!");
    m_go_shown = true;
    m_go_time = now;
}

void StateClass::Render()
{
    if (!IsTextShown())
        return;
    EngFont* font = m_game->GetRaceFont();
    if (!font || !font->IsSetup())
        return;
    font->SetScale(kTextScale, kTextScale);
    font->SetColour(0.0f, 0.0f, 0.0f, kShadowAlpha);
    font->DrawString(kShadowX, kShadowY, 1, 1, m_text, true);
    if (m_go_shown)
        font->SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    else
        font->SetColourFromArray(kCountdownColour);
    font->DrawString(kTextX, kTextY, 1, 1, m_text, true);
}

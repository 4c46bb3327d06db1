#include "Game/Screens/PauseCC.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/MWin/MWin.h"
#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Program.h"
#include "Game/Screens/CResCC.h"
#include "Game/Screens/TorviScreens.h"

namespace {

void AbandonPopupCB(MWin*, char result, void* user)
{
    static_cast<PauseCC*>(user)->AbandonConfirmed(result);
}

} // namespace

PauseCC::PauseCC(MWinScreens* screens) : PauseCollectionController(screens)
{
}

void PauseCC::StartingCB(void*)
{
    m_leave_for_time_trial = GetGame()->GetGameType() == GAME_TYPE_TIME_TRIAL;
    if (m_leave_for_time_trial) {
        ShowButton(BUT_TITLE, false);
        ShowButton(BUT_RESUME, false);
        ShowButton(BUT_OPTIONS, false);
        ShowButton(BUT_QUIT, false);
        return;
    }
    if (m_race_paused)
        return;
    m_race_paused = true;
    m_pause_start = game_clock_ms;
}

void PauseCC::LeaveRace()
{
    m_race_paused = false;
}

void PauseCC::TickCB()
{
    if (!m_leave_for_time_trial)
        return;
    m_leave_for_time_trial = false;
    GotoScreen(SCREEN_TTRL);
}

char PauseCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo*)
{
    switch (GetButtonIndex(button)) {
    case BUT_RESUME:
        Resume();
        return 1;
    case BUT_OPTIONS:
        GotoScreen(SCREEN_OPTS);
        return 1;
    case BUT_QUIT:
        QuitCB();
        return 1;
    default:
        return 0;
    }
}

void PauseCC::Resume()
{
    EngUInt32 paused = game_clock_ms - m_pause_start;
    LeaveRace();
    GetGame()->StartRace(false);
    GetGame()->GetCar()->SkipPausedTime(paused);
}

void PauseCC::QuitCB()
{
    switch (GetGame()->GetGameType()) {
    case GAME_TYPE_QUICK_RACE:
        LeaveRace();
        GotoScreen(SCREEN_QRCE);
        return;
    case GAME_TYPE_CHAMPIONSHIP:
        GetMWin()->PopupOkCancel("ABANDON RACE", "Are you sure you want to abandon this race ?\n\n", AbandonPopupCB,
                                 this);
        return;
    default:
        DebugError(ENG_FUNC, "Unknown game type %d", int(GetGame()->GetGameType()));
        LeaveRace();
        GotoScreen(SCREEN_MAIN);
        return;
    }
}

void PauseCC::AbandonConfirmed(char result)
{
    if (result != 1)
        return;
    LeaveRace();
    GetGame()->GetScreens()->GetCRes()->CompleteAbandonedRace();
}

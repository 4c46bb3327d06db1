#include "Game/Screens/OptionsCC.h"

#include "Game/Game.h"
#include "Game/Levels.h"
#include "Game/Music.h"
#include "Game/Resolution.h"
#include "Game/Screens/TorviScreens.h"
#include "Game/Users.h"

namespace {

constexpr int kSteps = 10;
const char* const kSteps1To10[kSteps] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
const char* const kOffOn[2] = {"OFF", "ON"};
constexpr int kHudButtons[USER_NUM_HUD_SWITCHES] = {OptionsCC::BUT_LEADERS, OptionsCC::BUT_LAP_TIME,
                                                    OptionsCC::BUT_NUM_LAPS, OptionsCC::BUT_POS};

int ClampStep(int step)
{
    return step < 0 ? 0 : (step >= kSteps ? kSteps - 1 : step);
}

} // namespace

OptionsCC::OptionsCC(MWinScreens* screens) : OptionsCollectionController(screens)
{
}

int OptionsCC::MusicVolumeFor(int choice)
{
    int volume = (ClampStep(choice) + 3) * 10;
    return volume > int(MUSIC_MAX_VOLUME) ? int(MUSIC_MAX_VOLUME) : volume;
}

void OptionsCC::BindOffOn(int index, EngUInt8* variable)
{
    MWinButton* choice = GetButton(index);
    if (!choice)
        return;
    *variable = *variable ? 1 : 0;
    choice->ChoiceSetArrows(1, 0);
    choice->ChoiceSetStrings(2, const_cast<const char**>(kOffOn));
    choice->ChoiceRegisterCharVariable(reinterpret_cast<char*>(variable), MWIN_FIRE_NEVER);
}

void OptionsCC::StartingCB(void* data)
{
    (void)data;
    UserRecord* profile = m_game->GetCurrentProfile();
    ResolutionSettings* settings = ResolutionGetSettings();
    EngInt32* steps[] = {&profile->steering, &profile->acceleration, &profile->brakes, &profile->music_volume};
    for (EngInt32* step : steps)
        *step = ClampStep(*step);
    BindArrowChoice(BUT_STEERING, kSteps, kSteps1To10, &profile->steering, MWIN_FIRE_NEVER);
    BindArrowChoice(BUT_ACCEL, kSteps, kSteps1To10, &profile->acceleration, MWIN_FIRE_NEVER);
    BindArrowChoice(BUT_BRAKE, kSteps, kSteps1To10, &profile->brakes, MWIN_FIRE_NEVER);
    BindArrowChoice(BUT_VOL, kSteps, kSteps1To10, &profile->music_volume, MWIN_FIRE_NEVER);
    BindOffOn(BUT_MUSIC, &settings->music_on);
    BindOffOn(BUT_STARTUP_WINDOW, &settings->show_dialog);
    for (int hud = 0; hud < USER_NUM_HUD_SWITCHES; hud++)
        BindOffOn(kHudButtons[hud], &profile->hud[hud]);
    EnableButton(BUT_VOL, settings->music_on != 0);
    SetEscapeButton(BUT_BACK);
}

void OptionsCC::MusicChanged()
{
    Music* music = m_game->GetMusic();
    bool on = ResolutionGetSettings()->music_on != 0;
    if (on) {
        music->SetupSongList();
        music->Init(true);
        music->TurnOn();
    } else {
        music->TurnOff();
        music->Free();
    }
    EnableButton(BUT_VOL, on);
}

char OptionsCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info)
{
    (void)info;
    switch (GetButtonIndex(button)) {
    case BUT_CONTROLS:
        GotoScreen(SCREEN_CTRL);
        return 1;
    case BUT_VOL:
        m_game->GetMusic()->SetVolume(MusicVolumeFor(m_game->GetCurrentProfile()->music_volume));
        return 1;
    case BUT_MUSIC:
        MusicChanged();
        return 1;
    case BUT_BACK:
        m_game->GetLevels()->SetupUserCar();
        GoBack();
        return 1;
    default:
        return 0;
    }
}

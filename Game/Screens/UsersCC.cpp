#include "Game/Screens/UsersCC.h"

#include <cstdlib>
#include <cstring>

#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngString.h"
#include "Engine/MWin/MWin.h"
#include "Game/Game.h"
#include "Game/Music.h"
#include "Game/SettingsClass.h"
#include "Game/Screens/OptionsCC.h"
#include "Game/Screens/TorviScreens.h"

namespace {

void NewDriverPopupCB(MWin*, char result, void* user)
{
    static_cast<UsersCC*>(user)->NewDriverEntered(result);
}

void UpperCaseLetters(char* name)
{
    for (char* c = name; *c; c++)
        if (*c >= 'a' && *c <= 'z')
            *c = char(*c - 'a' + 'A');
}

} // namespace

UsersCC::UsersCC(MWinScreens* screens) : UsersCollectionController(screens)
{
}

bool UsersCC::LoadDriver(Game* game, const char* name)
{
    UserRecord* profile = game->GetCurrentProfile();
    UserRecord kept = *profile;
    EngSafeStrcpy(profile->name, name, sizeof profile->name);
    if (game->GetUsers()->LoadCurrentUser()) {
        // The music has been playing at the volume of the profile before this driver's.
        game->GetMusic()->SetVolume(OptionsCC::MusicVolumeFor(profile->music_volume));
        return true;
    }
    *profile = kept;
    return false;
}

void UsersCC::StartingCB(void*)
{
    UsersClass* users = GetGame()->GetUsers();
    int drivers = users->ListDrivers(true);
    const char* last = GetGame()->GetSettings()->GetLastDriverName();
    bool can_continue = drivers > 0 && last[0] && users->CheckIfUserFileOk(last);
    if (can_continue)
        SetButtonText2(BUT_CONTINUE, last);
    ShowButton(BUT_CONTINUE, can_continue);
    EnableButton(BUT_NEW, drivers < USERS_MAX_DRIVERS);
    EnableButton(BUT_OTHER, drivers >= 1);
}

char UsersCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo*)
{
    switch (GetButtonIndex(button)) {
    case BUT_NEW:
        m_name[0] = 0;
        GetMWin()->PopupGetText(nullptr, "ENTER DRIVER NAME", m_name, USER_NAME_SIZE, NewDriverPopupCB, this);
        return 1;
    case BUT_OTHER:
        GotoScreen(SCREEN_ULOD);
        return 1;
    case BUT_CONTINUE:
        ContinueWithLastDriver();
        return 1;
    case BUT_EXIT:
        EngMainRequestQuit();
        return 1;
    default:
        return 0;
    }
}

void UsersCC::NewDriverEntered(char result)
{
    if (result != 1 || !m_name[0] || strnlen(m_name, USER_NAME_SIZE) >= USER_NAME_SIZE)
        return;
    UpperCaseLetters(m_name);
    if (!UsersIsSafeName(m_name)) {
        GetMWin()->PopupMessage("INVALID DRIVER NAME", "CHOOSE ANOTHER DRIVER NAME");
        return;
    }
    UsersClass* users = GetGame()->GetUsers();
    if (users->SetFilename(m_name, nullptr, false) && EngFileExists(users->GetFilename(), false)) {
        GetMWin()->PopupMessage("DRIVER ALREADY EXISTS",
                                "CHOOSE ANOTHER DRIVER NAME\n\nOR DELETE THE DRIVER IN THE OTHER DRIVERS MENU.");
        return;
    }
    CreateDriver(m_name);
}

void UsersCC::CreateDriver(const char* name)
{
    UsersClass* users = GetGame()->GetUsers();
    UserRecord* profile = GetGame()->GetCurrentProfile();
    UserRecord kept = *profile;
    EngSafeStrcpy(profile->name, name, sizeof profile->name);
    users->SetDefaults(0);
    profile->user_id = rand() % USER_MAX_ID + 1;
    if (!users->SaveCurrentUser()) {
        *profile = kept;
        GetMWin()->PopupMessage("ERROR", "COULD NOT SAVE DRIVER");
        return;
    }
    GetGame()->GetSettings()->SetLastDriverName(name);
    ContinueWithLastDriver();
}

void UsersCC::ContinueWithLastDriver()
{
    if (!LoadDriver(GetGame(), GetGame()->GetSettings()->GetLastDriverName())) {
        GetMWin()->PopupMessage("ERROR", "COULD NOT LOAD DRIVER");
        return;
    }
    GetGame()->StartMainMenu();
}

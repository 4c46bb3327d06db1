#include "Game/Screens/UsersLoadCC.h"

#include <cstdio>
#include <cstring>

#include "Engine/Core/EngFile.h"
#include "Engine/MWin/MWin.h"
#include "Game/Game.h"
#include "Game/Screens/UsersCC.h"
#include "Game/SettingsClass.h"
#include "Game/Users.h"

namespace {

const char* DriverNameCB(int index, MWinButton*, void* user)
{
    const char* name = static_cast<UsersClass*>(user)->GetDriverName(index);
    return name ? name : "";
}

void DeletePopupCB(MWin*, char result, void* user)
{
    static_cast<UsersLoadCC*>(user)->DeleteConfirmed(result);
}

// A deleted driver must never come back through the save on quit: the current profile and the settings
// forget the driver when it is the one playing.
void ForgetDriverIfCurrent(Game* game, const char* name)
{
    UserRecord* profile = game->GetCurrentProfile();
    if (strncmp(profile->name, name, USER_NAME_SIZE) == 0) {
        profile->name[0] = 0;
        game->GetUsers()->SetDefaults(0);
    }
    SettingsClass* settings = game->GetSettings();
    if (strncmp(settings->GetLastDriverName(), name, USER_NAME_SIZE) == 0)
        settings->SetLastDriverName("");
}

} // namespace

UsersLoadCC::UsersLoadCC(MWinScreens* screens) : UsersLoadCollectionController(screens)
{
}

void UsersLoadCC::StartingCB(void*)
{
    m_selected = 0;
    UsersClass* users = GetGame()->GetUsers();
    int drivers = users->ListDrivers(true);
    MWinButton* choice = GetButton(BUT_USER);
    if (!choice)
        return;
    choice->ChoiceSetArrows(1, 0);
    choice->ChoiceSetStringsCallback(drivers, DriverNameCB, users);
    choice->ChoiceRegisterIntVariable(&m_selected, MWIN_FIRE_NEVER);
}

char UsersLoadCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo*)
{
    switch (GetButtonIndex(button)) {
    case BUT_LOAD:
        LoadSelected();
        return 1;
    case BUT_DELETE:
        AskToDeleteSelected();
        return 1;
    case BUT_BACK:
        GoBack();
        return 1;
    default:
        return 0;
    }
}

const char* UsersLoadCC::SelectedName() const
{
    UsersClass* users = GetGame()->GetUsers();
    if (m_selected < 0 || m_selected >= users->ListDrivers(false))
        return nullptr;
    return users->GetDriverName(m_selected);
}

void UsersLoadCC::LoadSelected()
{
    const char* name = SelectedName();
    if (!name)
        return;
    if (!UsersCC::LoadDriver(GetGame(), name)) {
        GetMWin()->PopupMessage("ERROR LOADING DRIVER", "COULD NOT LOAD DRIVER FILE");
        return;
    }
    GetGame()->StartMainMenu();
}

void UsersLoadCC::AskToDeleteSelected()
{
    const char* name = SelectedName();
    if (!name)
        return;
    char question[96];
    snprintf(question, sizeof question, "ARE YOU SURE YOU WISH TO DELETE DRIVER \"%s\" ?", name);
    GetMWin()->PopupOkCancel("DELETE DRIVER", question, DeletePopupCB, this);
}

void UsersLoadCC::DeleteConfirmed(char result)
{
    const char* selected = SelectedName();
    if (result != 1 || !selected)
        return;
    char name[USER_NAME_SIZE];
    snprintf(name, sizeof name, "%s", selected);
    UsersClass* users = GetGame()->GetUsers();
    if (users->SetFilename(name, nullptr, false) && EngFileExists(users->GetFilename(), false)) {
        EngFileDelete(users->GetFilename(), true);
        ForgetDriverIfCurrent(GetGame(), name);
    }
    if (users->ListDrivers(true) < 1) {
        GoBack();
        return;
    }
    StartingCB(nullptr);
}

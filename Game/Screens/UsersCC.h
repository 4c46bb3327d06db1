#pragma once

// The driver selection screen (USER): continue with the driver who played last, create a new driver, or go
// to the other drivers. Both driver screens end in the game's main menu.

#include "Game/Screens/UsersCollectionController.h"
#include "Game/Users.h"

class Game;

class UsersCC : public UsersCollectionController
{
public:
    explicit UsersCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    // The typed name, once the popup closed (result 1 confirmed).
    void NewDriverEntered(char result);
    // Loads the named driver into the current profile; on failure the current profile stays as it was.
    static bool LoadDriver(Game* game, const char* name);

private:
    void CreateDriver(const char* name);
    void ContinueWithLastDriver();

    char m_name[USER_NAME_SIZE] = "";
};

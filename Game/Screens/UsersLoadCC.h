#pragma once

// The other drivers screen (ULOD): any stored driver can be loaded or deleted.

#include "Game/Screens/UsersLoadCollectionController.h"

class UsersLoadCC : public UsersLoadCollectionController
{
public:
    explicit UsersLoadCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    // After the question: on OK (result 1) the selected driver's profile file is deleted.
    void DeleteConfirmed(char result);
    int GetSelected() const { return m_selected; }

private:
    void LoadSelected();
    void AskToDeleteSelected();
    const char* SelectedName() const;

    int m_selected = 0;
};

#pragma once

// The main menu (MAIN): the hub after a driver was chosen. It leads to the four game modes once the driving
// test is passed, to the driving test before that, and to the credits, options, ads, driver choice, the
// maker's pages and the exit.

#include "Game/Screens/MainCollectionController.h"

class MainCC : public MainCollectionController
{
public:
    explicit MainCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    void TickCB() override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    // The driving test's instructions were closed: the test race starts.
    void StartDrivingTest();
    void OtherGamesCB();

private:
    void GoOnline(const char* path);
};

#pragma once

// The racing licence screen (LICN): the twenty licences held, the expert trophies, and the current class and
// level, which the driver changes here within the licences held.

#include "Game/Screens/LicenseCollectionController.h"
#include "Game/Users.h"

class LicenseCC : public LicenseCollectionController
{
public:
    explicit LicenseCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    // The highest level held in a class, or -1.
    static int HighestLevelHeld(const UserRecord& profile, int formula);

    int GetClassesOpen() const { return m_classes_open; }
    int GetLevelsOpen() const { return m_levels_open; }
    void ShowSecondInfo();

private:
    void ShowAwards();
    void ShowLicences();
    void ShowTitle();
    void UpdateLevel();

    MWinButton* m_licences[USER_NUM_CLASSES * USER_NUM_LEVELS] = {};
    int m_classes_open = 0;
    int m_levels_open = 0;
    EngUInt8 m_starting = 0;
};

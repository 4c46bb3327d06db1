#pragma once

// The layout of the racing licence screen (LICN): collection "License", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class LicenseCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_ROOKIE_BOX,
        BUT_AMATEUR_BOX,
        BUT_SEMI_PRO_BOX,
        BUT_PRO_BOX,
        BUT_EXPERT_BOX,
        BUT_AWARD_ROOKIE,
        BUT_AWARD_AMATEUR,
        BUT_AWARD_SEMI_PRO,
        BUT_AWARD_PRO,
        BUT_AWARD_EXPERT,
        BUT_RF4,
        BUT_RF3,
        BUT_RF2,
        BUT_RF1,
        BUT_AF4,
        BUT_AF3,
        BUT_AF2,
        BUT_AF1,
        BUT_SF4,
        BUT_SF3,
        BUT_SF2,
        BUT_SF1,
        BUT_PF4,
        BUT_PF3,
        BUT_PF2,
        BUT_PF1,
        BUT_EF4,
        BUT_EF3,
        BUT_EF2,
        BUT_EF1,
        BUT_BACK,
        BUT_TITLE,
        BUT_LEVEL_TEXT,
        BUT_LEVEL,
        BUT_FORMULA_TEXT,
        BUT_FORMULA,
        BUT_INFO,
        BUT_ROOKIE_TEXT,
        BUT_AMATEUR_TEXT,
        BUT_SEMI_PRO_TEXT,
        BUT_PRO_TEXT,
        BUT_EXPERT_TEXT,
        NUM_BUTTONS
    };

    explicit LicenseCollectionController(MWinScreens* screens);
};

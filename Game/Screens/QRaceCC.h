#pragma once

// The quick race set-up screen; for now it shows its layout.

#include "Game/Screens/QRaceCollectionController.h"

class QRaceCC : public QRaceCollectionController
{
public:
    explicit QRaceCC(MWinScreens* screens);
};

#pragma once

// The quick race result screen; for now it shows its layout.

#include "Game/Screens/QResCollectionController.h"

class QResCC : public QResCollectionController
{
public:
    explicit QResCC(MWinScreens* screens);
};

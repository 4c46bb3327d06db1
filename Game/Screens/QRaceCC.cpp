#include "Game/Screens/QRaceCC.h"

QRaceCC::QRaceCC(MWinScreens* screens) : QRaceCollectionController(screens)
{
}

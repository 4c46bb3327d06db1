#include "Game/Screens/QResCC.h"

QResCC::QResCC(MWinScreens* screens) : QResCollectionController(screens)
{
}

#include "Game/Screens/CountryCC.h"

CountryCC::CountryCC(MWinScreens* screens) : CountryCollectionController(screens)
{
}

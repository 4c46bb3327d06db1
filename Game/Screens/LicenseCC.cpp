#include "Game/Screens/LicenseCC.h"

LicenseCC::LicenseCC(MWinScreens* screens) : LicenseCollectionController(screens)
{
}

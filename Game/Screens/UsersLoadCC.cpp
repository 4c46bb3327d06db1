#include "Game/Screens/UsersLoadCC.h"

UsersLoadCC::UsersLoadCC(MWinScreens* screens) : UsersLoadCollectionController(screens)
{
}

#include "Game/Screens/UsersCC.h"

UsersCC::UsersCC(MWinScreens* screens) : UsersCollectionController(screens)
{
}

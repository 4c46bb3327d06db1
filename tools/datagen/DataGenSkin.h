#pragma once

// The GUI skin's atlas "1000.dat" (1024 x 1024 PNG with alpha), drawn into the rectangles of
// Game/Screens/TorviMWinSkinTable.h, the table the game registers its texture buttons from.
bool DataGenWriteSkin(const char* data_dir);

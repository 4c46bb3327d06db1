#pragma once
// The game's main font as its skin makes it (light glyphs with a shadow in the second channel), for tests and
// benchmarks that draw text as the game does. Kept in the header: the benchmarks link no test support library.

#include "Engine/Graphics/EngFont.h"
#include "Game/Screens/TorviMWinSkin.h"

inline bool CreateGameFontForTests(EngFont* font)
{
    return TorviMWinCreateFontApart(0, "Data\\1001.dat", font);
}

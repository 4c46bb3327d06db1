#pragma once
// The game's main font as its skin makes it (light glyphs with a shadow in the second channel), for tests and
// benchmarks that draw text as the game does. Kept in the header: the benchmarks link no test support library.

#include "Engine/Graphics/EngFont.h"

inline bool CreateGameFontForTests(EngFont* font)
{
    _EngFontCreationWord words[ENG_FONT_CREATION_WORDS] = {};
    words[0].i = 1;
    words[1].i = 9;
    words[2].i = 7;
    words[3].f = 0.0f;
    words[4].f = 0.803f;
    words[5].i = 3;
    words[6].i = 1;
    font->SetCreationParms(words);
    const float layout[ENG_FONT_LAYOUT_VALUES] = {0.12f, 0.213f, 1.109f, 5.952f, 0, 0, 0, 0};
    return font->CreateFromFontFile("Data\\1001.dat", 1, 1, 31, 32, 126, nullptr, 0, layout, 1);
}

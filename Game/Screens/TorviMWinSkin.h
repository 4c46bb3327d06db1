#pragma once

// The game's look for the GUI toolkit: the atlas and the texture buttons cut from it (the game's own and the
// toolkit's standard slots), the metrics of the five screen layouts, and the main font. Called by the game on its
// MWin before the graphics device exists; the atlas and the font are loaded when the device is made.

class MWin;
class EngFont;

// Registers the atlas and every texture button of TorviMWinSkinTable.h in its order. A failing step makes the
// result false and the rest still run; a missing atlas leaves the texture buttons defined without pictures.
bool TorviMWinSetupTexturesAndTexButs(MWin* mwin);
// Writes the skin's metrics into the five layout records; false only without an MWin.
bool TorviMWinSetupSizes(MWin* mwin);
// Makes font number 0, the main font, from the font file.
bool TorviMWinCreateFontApart(int font_number, const char* file, EngFont* font);

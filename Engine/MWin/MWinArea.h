#pragma once

#include "Engine/Graphics/EngDimension.h"

// GUI areas are _Dimension records (x, y, width, height) in the 640 x 480 virtual screen.

// Both return dest (null on a missing pointer, reported).
_Dimension* MWinCopyArea(_Dimension* dest, const _Dimension* source);
_Dimension* MWinSetArea(_Dimension* area, float x, float y, float w, float h);

// Left and top edges are inside, right and bottom edges outside.
bool MWinIsPointInArea(const _Dimension* area, float px, float py);

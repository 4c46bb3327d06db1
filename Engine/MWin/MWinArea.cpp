#include "Engine/MWin/MWinArea.h"

#include "Engine/Core/EngDebug.h"

_Dimension* MWinCopyArea(_Dimension* dest, const _Dimension* source)
{
    if (!dest || !source) {
        DebugError("MWinCopyArea", "Parameter Error");
        return dest;
    }
    *dest = *source;
    return dest;
}

_Dimension* MWinSetArea(_Dimension* area, float x, float y, float w, float h)
{
    if (!area) {
        DebugError("MWinSetArea", "Parameter Error");
        return area;
    }
    area->x = x;
    area->y = y;
    area->w = w;
    area->h = h;
    return area;
}

bool MWinIsPointInArea(const _Dimension* area, float px, float py)
{
    if (!area)
        return false;
    return px >= area->x && px < area->x + area->w && py >= area->y && py < area->y + area->h;
}

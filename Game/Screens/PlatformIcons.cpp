#include "Game/Screens/PlatformIcons.h"

#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Graphics/EngDimension.h"
#include "Engine/Graphics/EngTexture.h"

namespace {

const char k_valid_letters[] = "ABFILMPRWbmr";

struct IconCell {
    PlatformLetter letter;
    int column;
    int row;
};

// A 4 x 4 grid of quarter cells; "S" has an icon but is not a valid letter.
const IconCell k_cells[] = {
    {'M', 0, 0}, {'m', 0, 0}, {'W', 1, 0}, {'I', 2, 0}, {'P', 3, 0}, {'A', 0, 1}, {'L', 1, 1},
    {'R', 2, 1}, {'S', 3, 1}, {'F', 0, 2}, {'r', 1, 2}, {'B', 2, 2}, {'b', 3, 2},
};

constexpr float k_inset = 0.01f;

EngTexture* g_icons = nullptr;
int g_unknown_reports = 0;

} // namespace

PlatformLetter PlatformGetCurrentPlatform(bool)
{
    return PLATFORM_OWN_LETTER;
}

bool PlatformIsPlatformValid(PlatformLetter letter, bool report)
{
    if (letter != 0 && strchr(k_valid_letters, letter))
        return true;
    if (report)
        DebugError(ENG_FUNC, "Invalid platform '%d'.", (int)letter);
    return false;
}

bool PlatformGetIconTexCoords(PlatformLetter letter, float out[4])
{
    for (const IconCell& cell : k_cells) {
        if (cell.letter != letter)
            continue;
        out[0] = cell.column * 0.25f + k_inset;
        out[1] = cell.row * 0.25f + k_inset;
        out[2] = (cell.column + 1) * 0.25f - k_inset;
        out[3] = (cell.row + 1) * 0.25f - k_inset;
        return true;
    }
    return false;
}

bool PlatformCreateGraphics()
{
    if (PlatformIsTextureLoaded())
        return true;
    PlatformDestroyGraphics();
    g_icons = new EngTexture("PlatformIcons");
    if (g_icons->LoadFromFile(PLATFORM_ICONS_FILE, true, ETAT_FROM_FILE))
        return true;
    DebugError(ENG_FUNC, "Could not create texture");
    PlatformDestroyGraphics();
    return false;
}

void PlatformDestroyGraphics()
{
    delete g_icons;
    g_icons = nullptr;
}

bool PlatformIsTextureLoaded()
{
    return g_icons && g_icons->IsLoaded();
}

void PlatformDrawIcon(PlatformLetter letter, const _Dimension* area, float alpha)
{
    if (!PlatformIsTextureLoaded() || !area)
        return;
    float rect[4];
    if (!PlatformGetIconTexCoords(letter, rect)) {
        if (g_unknown_reports < PLATFORM_MAX_UNKNOWN_REPORTS) {
            g_unknown_reports++;
            DebugError(ENG_FUNC, "Unknown platform: %c", letter);
        }
        return;
    }
    g_icons->PositionRatioedToDimension(area);
    g_icons->SetColour(1.0f, 1.0f, 1.0f, alpha);
    g_icons->DrawWithTextureCoordinates(rect[0], rect[1], rect[2], rect[3]);
    if (alpha != 1.0f)
        g_icons->SetColour(1.0f, 1.0f, 1.0f, 1.0f);
}

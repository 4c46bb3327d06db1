#include "Engine/Graphics/EngResModes.h"

#include <algorithm>
#include <cstdio>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMath.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/PC/EngWindow_PC.h"
#include "Engine/Graphics/DX9/EngDirect3DDX9.h"
#include "Engine/Graphics/DX9/EngUtilsDX9.h"

namespace {

const char *const kOwner = "EngResModes";

// Deeper first, then wider, then taller.
bool ComesFirst(const _EngResMode &a, const _EngResMode &b)
{
    if (a.bit_depth != b.bit_depth)
        return a.bit_depth > b.bit_depth;
    if (a.width != b.width)
        return a.width > b.width;
    return a.height > b.height;
}

void SetOffOnly(_EngResMode *mode)
{
    mode->num_aa = 1;
    mode->aa[0] = {0, 0};
}

} // namespace

EngResModes::EngResModes()
{
    block = (unsigned char *)EngMalloc(ENG_RES_MODES_BLOCK_SIZE, kOwner, true);
    GetModesAvailable();
}

EngResModes::~EngResModes()
{
    ReleaseD3D();
    Clear();
    if (block)
        EngFree(block, false, kOwner);
    block = nullptr;
}

void EngResModes::Clear()
{
    if (modes)
        EngFree(modes, false, kOwner);
    if (windowed_mode)
        EngFree(windowed_mode, false, kOwner);
    modes = nullptr;
    windowed_mode = nullptr;
    num_modes = 0;
    setup = false;
}

void EngResModes::ReleaseD3D()
{
    if (owns_d3d && d3d)
        EngUtilsDX9_ReleaseD3D();
    owns_d3d = false;
    d3d = nullptr;
}

bool EngResModes::IsSetup()
{
    if (!setup || !modes || !windowed_mode)
        return false;
    if (num_modes > 0)
        return true;
    DebugError(ENG_FUNC, "No modes.");
    Clear();
    return false;
}

int EngResModes::GetNumModes()
{
    if (!IsSetup()) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        return 0;
    }
    return num_modes;
}

const _EngResMode *EngResModes::GetMode(int index)
{
    if (!IsSetup()) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        return nullptr;
    }
    if (index < 0 || index >= num_modes) {
        DebugError(ENG_FUNC, "Bad mode num %d (%d).", index, num_modes);
        return nullptr;
    }
    return &modes[index];
}

const _EngResMode *EngResModes::GetWindowedMode()
{
    if (!IsSetup()) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        return nullptr;
    }
    return windowed_mode;
}

bool EngResModes::GetModesAvailable()
{
    Clear();
    if (eng_main_device_type == 0) {
        DebugError(ENG_FUNC, "Device type not set");
        return false;
    }
    windowed_mode = (_EngResMode *)EngMalloc(sizeof(_EngResMode), kOwner, true);
    if (!windowed_mode)
        return false;
    if (eng_main_device_type != ENG_DEVICE_DX9 || !GetList_DX9()) {
        Clear();
        return false;
    }
    setup = true;
    return true;
}

bool EngResModes::GetList_DX9()
{
    d3d = EngUtilsDX9_CreateD3D(true);
    if (!d3d) {
        DebugError(ENG_FUNC, "Could not create directx object");
        return false;
    }
    owns_d3d = true;
    modes = (_EngResMode *)EngMalloc(ENG_RES_MODES_MAX * (unsigned)sizeof(_EngResMode), kOwner, true);
    if (!modes) {
        ReleaseD3D();
        return false;
    }
    bool complete = true;
    for (const _EngKnownFormat &known : eng_known_formats)
        complete = AddModesOfFormat(known.format, known.bit_depth) && complete;
    if (!complete)
        DebugNote(2, "Not all modes were added.");
    std::stable_sort(modes, modes + num_modes, ComesFirst);
    ReadWindowedMode();
    ReleaseD3D();
    if (num_modes > 0)
        return true;
    DebugError(ENG_FUNC, "No modes.");
    return false;
}

// False when the list filled up before every mode of the format was added.
bool EngResModes::AddModesOfFormat(int format, int bit_depth)
{
    const EngUInt32 count = d3d->GetAdapterModeCount(0, (D3DFORMAT)format);
    for (EngUInt32 i = 0; i < count; i++) {
        D3DDISPLAYMODE found;
        if (!EngUtilsDX9_CheckResult("EngResModes::GetList_DX9", "EnumAdapterModes",
                                     d3d->EnumAdapterModes(0, (D3DFORMAT)format, i, &found)))
            continue;
        const bool listed = std::any_of(modes, modes + num_modes, [&](const _EngResMode &m) {
            return m.width == (int)found.Width && m.height == (int)found.Height && m.bit_depth == bit_depth;
        });
        if (listed)
            continue;
        if (num_modes >= ENG_RES_MODES_MAX)
            return false;
        _EngResMode *mode = &modes[num_modes++];
        *mode = {};
        mode->width = (int)found.Width;
        mode->height = (int)found.Height;
        mode->bit_depth = bit_depth;
        mode->format = format;
        AddAntiAliasing(mode);
    }
    return true;
}

void EngResModes::AddAntiAliasing(_EngResMode *mode) const
{
    SetOffOnly(mode);
    const D3DFORMAT format = (D3DFORMAT)mode->format;
    for (int type = 2; type <= 15; type++) {
        EngUInt32 levels = 0;
        if (d3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, format, false, type, &levels) != D3D_OK)
            continue;
        for (EngUInt32 q = 0; q < levels && mode->num_aa < ENG_RES_MODE_MAX_AA; q++)
            mode->aa[mode->num_aa++] = {type, (int)q};
    }
    const EngUInt32 added = (EngUInt32)(mode->num_aa - 1);
    EngUInt32 levels = 0;
    if (d3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, format, false, 1, &levels) != D3D_OK || levels <= added)
        return;
    for (EngUInt32 q = 0; q < levels && mode->num_aa < ENG_RES_MODE_MAX_AA; q++)
        mode->aa[mode->num_aa++] = {1, (int)q};
}

void EngResModes::ReadWindowedMode()
{
    *windowed_mode = {};
    D3DDISPLAYMODE desktop;
    if (d3d->GetAdapterDisplayMode(0, &desktop) != D3D_OK) {
        windowed_mode->bit_depth = 32;
        SetOffOnly(windowed_mode);
        return;
    }
    windowed_mode->width = (int)desktop.Width;
    windowed_mode->height = (int)desktop.Height;
    windowed_mode->format = (int)desktop.Format;
    windowed_mode->bit_depth = EngUtilsDX9_GetBitdepthFromFormat(desktop.Format, nullptr, true);
    AddAntiAliasing(windowed_mode);
}

bool EngResModes::GetClosestFullScreenModeToMode(int *width, int *height, int *bit_depth, int *refresh)
{
    if (refresh)
        *refresh = 0;
    return GetClosestFullScreenModeToMode_DX9(width, height, bit_depth);
}

bool EngResModes::GetClosestFullScreenModeToMode_DX9(int *width, int *height, int *bit_depth)
{
    if (!width || !height || !bit_depth) {
        DebugError(ENG_FUNC, "Invalid Parameters");
        return false;
    }
    if (!IsSetup()) {
        DebugError(ENG_FUNC, "Modes not setup");
        return false;
    }
    const _EngResMode *best = nullptr;
    long long best_cost = 0;
    for (int i = 0; i < num_modes; i++) {
        const _EngResMode &m = modes[i];
        const long long cost = (long long)EngAbs(m.bit_depth - *bit_depth) * 10000 + EngAbs(m.width - *width) +
                               EngAbs(m.height - *height);
        if (!best || cost < best_cost) {
            best = &m;
            best_cost = cost;
        }
    }
    if (!best) {
        DebugError(ENG_FUNC, "Could not get closest mode");
        return false;
    }
    *width = best->width;
    *height = best->height;
    *bit_depth = best->bit_depth;
    return true;
}

bool EngResModes::GetWindowedModeDetails(int *width, int *height, int *bit_depth, int *refresh)
{
    if (refresh)
        *refresh = 0;
    return GetWindowedModeDetails_DX9(width, height, bit_depth);
}

bool EngResModes::GetWindowedModeDetails_DX9(int *width, int *height, int *bit_depth)
{
    if (!IsSetup()) {
        DebugError(ENG_FUNC, "Modes not setup");
        return false;
    }
    if (bit_depth)
        *bit_depth = windowed_mode->bit_depth;
    return EngMiscGetDesktopDimensions_PC(nullptr, nullptr, width, height, false, true);
}

const char *EngResModesGetMultiSampleText_DX9(const _EngResModeAA *entry)
{
    static char text[64];
    if (!entry)
        snprintf(text, sizeof(text), "(error)");
    else if (entry->type == 0)
        snprintf(text, sizeof(text), "Off");
    else if (entry->type == 1)
        snprintf(text, sizeof(text), "Level %d", entry->quality + 1);
    else if (entry->type >= 2 && entry->type <= 16 && entry->quality == 0)
        snprintf(text, sizeof(text), "%dx%d", entry->type, entry->type);
    else if (entry->type >= 2 && entry->type <= 16)
        snprintf(text, sizeof(text), "%dx%d Level %d", entry->type, entry->type, entry->quality + 1);
    else
        snprintf(text, sizeof(text), "?");
    return text;
}

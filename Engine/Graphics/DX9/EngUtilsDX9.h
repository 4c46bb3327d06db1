#pragma once
// The result check every device call passes through, the engine's table of known surface formats, and the
// shared Direct3D object of the display-mode list.

#include "Engine/Graphics/DX9/EngD3DTypesDX9.h"

class EngDirect3D9;

struct _EngKnownFormat {
    D3DFORMAT format;
    int bit_depth;
    bool has_alpha;
};

constexpr int ENG_NUM_KNOWN_FORMATS = 8;
extern const _EngKnownFormat eng_known_formats[ENG_NUM_KNOWN_FORMATS];

// True for exactly 0; anything else (success codes such as D3DOK_NOAUTOGEN too) is logged and false.
bool EngUtilsDX9_CheckResult(const char *function_name, const char *call_name, HRESULT result);
// The text logged for a result.
const char *EngUtilsDX9_ResultText(HRESULT result, char *buffer, int buffer_size);
// The shared object for the display-mode list: made once, kept until EngUtilsDX9_ReleaseD3D.
const EngDirect3D9 *EngUtilsDX9_CreateD3D(bool show_popup);
void EngUtilsDX9_ReleaseD3D();
// The surface format for textures and sync surfaces; fails silently without a device.
bool EngUtilsDX9_GetSupportedSurfaceFormat(D3DFORMAT *format, bool alpha);
// 0 for a format outside the known table (logged when asked).
int EngUtilsDX9_GetBitdepthFromFormat(D3DFORMAT format, bool *has_alpha, bool log_unknown);

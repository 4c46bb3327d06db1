#pragma once
// The engine's blending vocabulary: the 19 blending presets and the engine blend-factor numbers, both mapped
// to the device's blend factors.

#include "Engine/Graphics/DX9/EngD3DTypesDX9.h"

// Source / destination factor of each preset.
enum _EngBlendingType {
    ENG_BLEND_SRCALPHA_INVSRCALPHA = 0,
    ENG_BLEND_SRCALPHA_SRCALPHA = 1,
    ENG_BLEND_SRCALPHA_DESTCOLOR = 2,
    ENG_BLEND_ONE_SRCALPHA = 3,
    ENG_BLEND_SRCCOLOR_SRCALPHA = 4,
    ENG_BLEND_SRCCOLOR_INVSRCCOLOR = 5,
    ENG_BLEND_INVSRCCOLOR_INVSRCCOLOR = 6,
    ENG_BLEND_ONE_INVSRCALPHA = 7,
    ENG_BLEND_SRCALPHA_ONE = 8,
    ENG_BLEND_SRCCOLOR_INVSRCALPHA = 9,
    ENG_BLEND_ONE_ONE = 10,
    ENG_BLEND_INVSRCALPHA_ONE = 11,
    ENG_BLEND_INVSRCCOLOR_ONE = 12,
    ENG_BLEND_SRCCOLOR_ONE = 13,
    ENG_BLEND_ZERO_INVSRCCOLOR = 14,
    ENG_BLEND_INVSRCALPHA_SRCALPHA = 15,
    ENG_BLEND_SRCCOLOR_ONE_B = 16,
    ENG_BLEND_ONE_INVSRCCOLOR = 17,
    ENG_BLEND_DESTCOLOR_ONE = 18,
    ENG_BLEND_NUM_TYPES = 19
};

enum _EngBlendFactor {
    ENG_BLENDFACTOR_ZERO = 0,
    ENG_BLENDFACTOR_ONE,
    ENG_BLENDFACTOR_SRCCOLOR,
    ENG_BLENDFACTOR_INVSRCCOLOR,
    ENG_BLENDFACTOR_SRCALPHA,
    ENG_BLENDFACTOR_INVSRCALPHA,
    ENG_BLENDFACTOR_INVDESTCOLOR,
    ENG_BLENDFACTOR_INVDESTALPHA,
    ENG_BLENDFACTOR_DESTCOLOR,
    ENG_BLENDFACTOR_DESTALPHA,
    ENG_BLENDFACTOR_SRCALPHASAT,
    ENG_BLENDFACTOR_NUM
};

// The engine blend-factor table (filled by EngDeviceDX9::ResetState).
extern D3DBLEND eng_blend_factor_table[ENG_BLENDFACTOR_NUM];

// Fills the engine blend-factor table.
void EngRenderStateBuildBlendFactorTable();
// The device factors of a preset; false for a number outside 0..18.
bool EngRenderStateGetBlendingPreset(int preset, D3DBLEND *src, D3DBLEND *dest);
// The device factor of an engine blend-factor number; D3DBLEND_ONE outside the table.
D3DBLEND EngRenderStateGetBlendFactor(int factor);
// Packs r, g, b (each clamped to 0..1) as an opaque colour.
D3DCOLOR EngRenderStatePackOpaqueColour(float r, float g, float b);

#include "Engine/Graphics/EngRenderState.h"

D3DBLEND eng_blend_factor_table[ENG_BLENDFACTOR_NUM];

namespace {

struct BlendingPreset {
    D3DBLEND src;
    D3DBLEND dest;
};

constexpr BlendingPreset blending_presets[ENG_BLEND_NUM_TYPES] = {
    {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},    {D3DBLEND_SRCALPHA, D3DBLEND_SRCALPHA},
    {D3DBLEND_SRCALPHA, D3DBLEND_DESTCOLOR},      {D3DBLEND_ONE, D3DBLEND_SRCALPHA},
    {D3DBLEND_SRCCOLOR, D3DBLEND_SRCALPHA},       {D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCCOLOR},
    {D3DBLEND_INVSRCCOLOR, D3DBLEND_INVSRCCOLOR}, {D3DBLEND_ONE, D3DBLEND_INVSRCALPHA},
    {D3DBLEND_SRCALPHA, D3DBLEND_ONE},            {D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCALPHA},
    {D3DBLEND_ONE, D3DBLEND_ONE},                 {D3DBLEND_INVSRCALPHA, D3DBLEND_ONE},
    {D3DBLEND_INVSRCCOLOR, D3DBLEND_ONE},         {D3DBLEND_SRCCOLOR, D3DBLEND_ONE},
    {D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR},        {D3DBLEND_INVSRCALPHA, D3DBLEND_SRCALPHA},
    {D3DBLEND_SRCCOLOR, D3DBLEND_ONE},            {D3DBLEND_ONE, D3DBLEND_INVSRCCOLOR},
    {D3DBLEND_DESTCOLOR, D3DBLEND_ONE},
};

constexpr D3DBLEND blend_factors[ENG_BLENDFACTOR_NUM] = {
    D3DBLEND_ZERO,        D3DBLEND_ONE,          D3DBLEND_SRCCOLOR,     D3DBLEND_INVSRCCOLOR,
    D3DBLEND_SRCALPHA,    D3DBLEND_INVSRCALPHA,  D3DBLEND_INVDESTCOLOR, D3DBLEND_INVDESTALPHA,
    D3DBLEND_DESTCOLOR,   D3DBLEND_DESTALPHA,    D3DBLEND_SRCALPHASAT,
};

int ColourByte(float v)
{
    if (!(v > 0.0f))
        return 0;
    if (v >= 1.0f)
        return 255;
    return (int)(v * 255.0f);
}

} // namespace

void EngRenderStateBuildBlendFactorTable()
{
    for (int i = 0; i < ENG_BLENDFACTOR_NUM; i++)
        eng_blend_factor_table[i] = blend_factors[i];
}

bool EngRenderStateGetBlendingPreset(int preset, D3DBLEND *src, D3DBLEND *dest)
{
    if (preset < 0 || preset >= ENG_BLEND_NUM_TYPES)
        return false;
    *src = blending_presets[preset].src;
    *dest = blending_presets[preset].dest;
    return true;
}

D3DBLEND EngRenderStateGetBlendFactor(int factor)
{
    if (factor < 0 || factor >= ENG_BLENDFACTOR_NUM)
        return D3DBLEND_ONE;
    return blend_factors[factor];
}

D3DCOLOR EngRenderStatePackOpaqueColour(float r, float g, float b)
{
    return 0xFF000000u | ((EngUInt32)ColourByte(r) << 16) | ((EngUInt32)ColourByte(g) << 8) | (EngUInt32)ColourByte(b);
}

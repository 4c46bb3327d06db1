#include "Engine/Graphics/EngVertexBuffer.h"

#include <cmath>

namespace {

// stride, FVF, position floats, normal, colour, specular, uv, pre-transformed
const _EngVertexLayout kLayouts[10] = {
    {0, 0x000, 0, -1, -1, -1, -1, false},
    {20, 0x102, 3, -1, -1, -1, 12, false},
    {32, 0x112, 3, 12, -1, -1, 24, false},
    {24, 0x142, 3, -1, 12, -1, 16, false},
    {36, 0x152, 3, 12, 24, -1, 28, false},
    {40, 0x1D2, 3, 12, 24, 28, 32, false},
    {16, 0x042, 3, -1, 12, -1, -1, false},
    {24, 0x104, 4, -1, -1, -1, 16, true},
    {28, 0x144, 4, -1, 16, -1, 20, true},
    {20, 0x044, 4, -1, 16, -1, -1, true},
};

unsigned int ColourByte(float value)
{
    if (!(value > 0.0f))
        return 0;
    if (value >= 1.0f)
        return 255;
    return (unsigned int)std::lround(value * 255.0f);
}

} // namespace

const _EngVertexLayout* EngVertexBufferGetLayout(int type)
{
    if (type < EVBT_POS_TEX || type > EVBT_POS_COL_2D)
        return nullptr;
    return &kLayouts[type];
}

unsigned int EngVertexBufferPackColour(float r, float g, float b, float a)
{
    return (ColourByte(a) << 24) | (ColourByte(r) << 16) | (ColourByte(g) << 8) | ColourByte(b);
}

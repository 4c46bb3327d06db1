#pragma once

// Vertex layouts of the engine's quads; the values match the stored type numbers.
enum _EngVertexBufferType : char {
    EVBT_NONE = 0,
    EVBT_POS_TEX = 1,
    EVBT_POS_NORM_TEX = 2,
    EVBT_POS_COL_TEX = 3,
    EVBT_POS_NORM_COL_TEX = 4,
    EVBT_POS_NORM_COL_SPEC_TEX = 5,
    EVBT_POS_COL = 6,
    EVBT_POS_TEX_2D = 7,
    EVBT_POS_COL_TEX_2D = 8,
    EVBT_POS_COL_2D = 9,
};

// What one vertex of a layout holds, and where (offsets in bytes, -1 = absent).
struct _EngVertexLayout {
    int stride;
    unsigned int fvf;
    int position_size;
    int normal_offset;
    int colour_offset;
    int specular_offset;
    int uv_offset;
    bool pre_transformed;
};

// The layout of a quad type, or null for a type outside 1..9.
const _EngVertexLayout* EngVertexBufferGetLayout(int type);

// Packs a colour as 0xAARRGGBB with each component clamped to 0..1 and rounded.
unsigned int EngVertexBufferPackColour(float r, float g, float b, float a);

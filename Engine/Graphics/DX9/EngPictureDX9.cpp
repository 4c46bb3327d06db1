// The OpenGL half of EngPicture's drawing: one textured quad kept in memory, drawn in 2D mode with the
// stage's blending and the vertex alpha modulating the picture.
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/DX9/EngVertexBufferDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngPicture.h"
#include "Engine/Graphics/EngVertexBuffer.h"

namespace {

constexpr int kVertices = 4;

// Destination factors of modes 1 to 10; modes 11 to 19 use the first nine with an inverse destination alpha.
const D3DBLEND kDestinations[10] = {
    D3DBLEND_INVSRCALPHA, D3DBLEND_SRCALPHA,    D3DBLEND_ONE,       D3DBLEND_SRCCOLOR,     D3DBLEND_INVSRCCOLOR,
    D3DBLEND_DESTCOLOR,   D3DBLEND_INVDESTCOLOR, D3DBLEND_DESTALPHA, D3DBLEND_INVDESTALPHA, D3DBLEND_SRCALPHASAT,
};

// False when blending is left as it is.
bool BlendFactors(int mode, int *src, int *dest)
{
    if (mode == 0)
        return false;
    if (mode < 0 || mode == 20) {
        DebugError("EngPicture::DrawSet", "Invalid blend num");
        return false;
    }
    if (mode > 20) {
        *src = D3DBLEND_INVDESTALPHA;
        *dest = D3DBLEND_ZERO;
    } else if (mode <= 10) {
        *src = D3DBLEND_SRCALPHA;
        *dest = kDestinations[mode - 1];
    } else {
        *src = D3DBLEND_INVDESTALPHA;
        *dest = kDestinations[mode - 11];
    }
    return true;
}

} // namespace

void EngPicture::DrawQuad_DX9(const float corners[4][2], const float uv[4], float alpha, EngTexture *texture, int blend)
{
    if (!eng_device_dx9)
        return;
    const _EngVertexLayout *layout = EngVertexBufferGetLayout(EVBT_POS_COL_TEX);
    alignas(16) unsigned char vertices[kVertices * 24];
    const float coords[4][2] = {{uv[0], uv[3]}, {uv[0], uv[1]}, {uv[2], uv[3]}, {uv[2], uv[1]}};
    const unsigned int colour = EngVertexBufferPackColour(1.0f, 1.0f, 1.0f, alpha);
    for (int i = 0; i < kVertices; i++) {
        unsigned char *vertex = vertices + i * layout->stride;
        const float position[3] = {corners[i][0] / 320.0f - 1.0f, 1.0f - corners[i][1] / 240.0f, 0.0f};
        std::memcpy(vertex, position, sizeof(position));
        EngVertexBufferDX9::StoreColour(vertex + layout->colour_offset, colour);
        std::memcpy(vertex + layout->uv_offset, coords[i], sizeof(coords[i]));
    }
    bool was_on = false;
    int old_src = 0;
    int old_dest = 0;
    eng_device_dx9->GetBlendingState(&was_on, &old_src, &old_dest);
    int src = 0;
    int dest = 0;
    const bool blending = BlendFactors(blend, &src, &dest);
    if (blending)
        eng_device_dx9->EnableBlending(src, dest);
    bool modulation_was_off = false;
    eng_device_dx9->TurnOnAlphaModulationIfOff(&modulation_was_off);
    const bool prepared = EngDevicePrepareFor2DIfNeeded(true);
    EngVertexBufferDX9::DrawVertices(layout, vertices, kVertices, true, texture);
    if (prepared)
        EngDeviceRestoreAfter2D();
    if (modulation_was_off)
        eng_device_dx9->TurnOffAlphaModulation();
    if (blending)
        eng_device_dx9->SetBlendingState(was_on, old_src, old_dest);
}

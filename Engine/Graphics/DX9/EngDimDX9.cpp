#include "Engine/Graphics/DX9/EngDimDX9.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Graphics/DX9/EngVertexBufferDX9.h"
#include "Engine/Graphics/EngDevice.h"

namespace {

bool dim_quad_created = false;
EngVertexBufferDX9 dim_quad;

} // namespace

bool EngDimCreateVertexBuffer_DX9()
{
    if (dim_quad_created)
        return true;
    if (!dim_quad.Create(EVBT_POS_COL_2D)) {
        DebugError(ENG_FUNC, "Could not create VB");
        return false;
    }
    dim_quad_created = true;
    return true;
}

void EngDimSetAlpha_DX9(float alpha)
{
    if (!(alpha > 0.0f))
        alpha = 0.0f;
    if (alpha > 1.0f)
        alpha = 1.0f;
    dim_quad.SetColour(0.0f, 0.0f, 0.0f, alpha);
}

void EngDimDestroyVertexBuffer_DX9()
{
    dim_quad.Release();
    dim_quad_created = false;
}

void EngDimDestroy_DX9()
{
    EngDimDestroyVertexBuffer_DX9();
}

void EngDimDraw_DX9(float alpha)
{
    if (!EngDeviceIsCreated() || !EngDimCreateVertexBuffer_DX9())
        return;
    // Placed at every draw (an unchanged place costs nothing), so a new screen size is followed at once.
    dim_quad.SetPositionsRatioed(0.0f, 0.0f, 640.0f, 480.0f);
    EngDimSetAlpha_DX9(alpha);
    // Kept aside here rather than in the device's one save slot, which a caller (the text state) may hold.
    bool on = false;
    int src = 0;
    int dest = 0;
    EngDeviceGetBlendingState(&on, &src, &dest);
    EngDeviceEnableBlendingType(0);
    dim_quad.Draw();
    EngDeviceSetBlendingState(on, src, dest);
}

const EngVertexBufferDX9* EngDimGetQuad_DX9()
{
    return &dim_quad;
}

#include "Engine/Graphics/EngDevice.h"

#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"

EngDevice *eng_current_device = nullptr;
EngDeviceDX9 *eng_device_dx9 = nullptr;

namespace {

// The device object when the main device type is the one we serve.
EngDeviceDX9 *Dx9()
{
    return eng_main_device_type == ENG_DEVICE_DX9 ? eng_device_dx9 : nullptr;
}

} // namespace

EngDevice::EngDevice(EngWindow *window) : main_window(window) {}

EngDevice::~EngDevice()
{
    if (eng_device_dx9)
        eng_device_dx9->Destroy();
}

bool EngDevice::Create(bool windowed, int width, int height, int bit_depth, int refresh)
{
    eng_current_device = nullptr;
    if (eng_main_device_type != ENG_DEVICE_DX9) {
        DebugError(ENG_FUNC, "Device type %d not supported", (int)eng_main_device_type);
        return false;
    }
    if (!eng_device_dx9) {
        eng_device_dx9 = new (std::nothrow) EngDeviceDX9(this);
        if (!eng_device_dx9) {
            DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
            return false;
        }
    }
    if (!eng_device_dx9->Create(windowed, width, height, bit_depth, refresh))
        return false;
    created = true;
    eng_current_device = this;
    return true;
}

void EngDevice::Destroy()
{
    if (eng_device_dx9) {
        eng_device_dx9->Destroy();
        delete eng_device_dx9;
        eng_device_dx9 = nullptr;
    }
    created = false;
    eng_current_device = nullptr;
}

// --- Viewport ---

void EngDeviceWindowResized()
{
    if (eng_device_dx9)
        eng_device_dx9->WindowResized();
}

void EngDeviceUpdateFullScreenViewport()
{
    if (Dx9())
        Dx9()->UpdateFullScreenViewport();
}

bool EngDeviceSetViewportFullScreen()
{
    return Dx9() && Dx9()->SetViewportFullScreen();
}

bool EngDeviceSetViewportToRect(const float *rect)
{
    return Dx9() && Dx9()->SetViewportToRect(rect);
}

bool EngDeviceSetViewportToRatioedRect(const float *rect)
{
    return Dx9() && Dx9()->SetViewportToRatioedRect(rect);
}

bool EngDeviceSetViewportToViewportStruct(const D3DVIEWPORT9 *viewport)
{
    return Dx9() && Dx9()->SetViewportToViewportStruct(viewport);
}

bool EngDeviceGetViewportStruct(D3DVIEWPORT9 *viewport, bool full_screen)
{
    return Dx9() && Dx9()->GetViewportStruct(viewport, full_screen);
}

bool EngDeviceIsViewportFullScreen()
{
    return Dx9() && Dx9()->IsViewportFullScreen();
}

// --- Clearing ---

void EngDeviceSetClearColour(float r, float g, float b)
{
    if (Dx9())
        Dx9()->SetClearColour(r, g, b);
}

bool EngDeviceClearScreenAndZBuffer()
{
    return Dx9() && Dx9()->ClearScreenAndZBuffer();
}

bool EngDeviceClearScreen()
{
    return Dx9() && Dx9()->ClearScreen();
}

// --- Lighting and z-buffer ---

bool EngDeviceIsLightingOn()
{
    return Dx9() && Dx9()->IsLightingOn();
}

void EngDeviceTurnOnLighting()
{
    if (Dx9())
        Dx9()->TurnOnLighting();
}

void EngDeviceTurnOffLighting()
{
    if (Dx9())
        Dx9()->TurnOffLighting();
}

bool EngDeviceTurnOffLightingIfOn()
{
    return Dx9() && Dx9()->TurnOffLightingIfOn();
}

void EngDeviceAllowZBuffer(bool on)
{
    if (Dx9())
        Dx9()->AllowZBuffer(on);
}

void EngDeviceTurnOnZBuffer()
{
    if (Dx9())
        Dx9()->TurnOnZBuffer();
}

bool EngDeviceTurnOffZBufferIfOn()
{
    return Dx9() && Dx9()->TurnOffZBufferIfOn();
}

void EngDeviceTurnOnAlphaModulation()
{
    if (eng_device_dx9)
        eng_device_dx9->TurnOnAlphaModulation();
}

void EngDeviceSkipRepeatedFrames(bool on)
{
    if (eng_device_dx9)
        eng_device_dx9->SkipRepeatedFrames(on);
}

void EngDeviceRedrawNextFrame()
{
    if (eng_device_dx9)
        eng_device_dx9->RedrawNextFrame();
}

void EngDeviceUsePointSampling(bool on)
{
    if (eng_device_dx9)
        eng_device_dx9->UsePointSampling(on);
}

void EngDeviceDrawTexelsAsTheyAre(bool on)
{
    if (eng_device_dx9)
        eng_device_dx9->DrawTexelsAsTheyAre(on);
}

void EngDeviceTurnOffAlphaModulation()
{
    if (eng_device_dx9)
        eng_device_dx9->TurnOffAlphaModulation();
}

// --- Blending ---

void EngDeviceEnableBlendingType(int preset)
{
    if (Dx9())
        Dx9()->EnableBlendingType(preset);
}

void EngDeviceEnableBlending(int src, int dest)
{
    if (Dx9())
        Dx9()->EnableBlending(src, dest);
}

void EngDeviceDisableBlending()
{
    if (Dx9())
        Dx9()->DisableBlending();
}

bool EngDeviceGetBlendingState(bool *on, int *src, int *dest)
{
    return Dx9() && Dx9()->GetBlendingState(on, src, dest);
}

void EngDeviceSetBlendingState(bool on, int src, int dest)
{
    if (Dx9())
        Dx9()->SetBlendingState(on, src, dest);
}

bool EngDeviceSaveOrRestoreBlendingState(bool save)
{
    return Dx9() && Dx9()->SaveOrRestoreBlendingState(save);
}

// --- 2D mode ---

void EngDevicePrepareFor2D(bool lighting_off)
{
    if (Dx9())
        Dx9()->PrepareFor2D(lighting_off);
}

void EngDeviceRestoreAfter2D()
{
    if (Dx9())
        Dx9()->RestoreAfter2D();
}

bool EngDeviceIsPreparedFor2D()
{
    return Dx9() && Dx9()->IsPreparedFor2D();
}

bool EngDevicePrepareFor2DIfNeeded(bool lighting_off)
{
    return Dx9() && Dx9()->PrepareFor2DIfNeeded(lighting_off);
}

bool EngDeviceMakeSureIsPreparedFor2D(bool lighting_off)
{
    return Dx9() && Dx9()->MakeSureIsPreparedFor2D(lighting_off);
}

// --- Matrices ---

void EngDevicePushTransformMatrix()
{
    if (Dx9())
        Dx9()->PushTransformMatrix();
}

void EngDevicePopTransformMatrix()
{
    if (Dx9())
        Dx9()->PopTransformMatrix();
}

void EngDeviceSetTransformMatrixToDefault()
{
    if (Dx9())
        Dx9()->SetTransformMatrixToDefault();
}

void EngDeviceSetTransformMatrixToDxMatrix(const float *matrix16)
{
    if (eng_device_dx9)
        eng_device_dx9->SetTransformMatrixToDxMatrix(matrix16);
}

void EngDeviceSetTransformMatrix(const EngMatrix4 *matrix)
{
    if (Dx9())
        Dx9()->SetTransformMatrix(matrix);
}

bool EngDeviceGetTransformMatrix(EngMatrix4 *matrix)
{
    return Dx9() && Dx9()->GetTransformMatrix(matrix);
}

void EngDeviceSetTransformMatrixToPosAndRot(const _Vector3d *position, const _Vector3d *rotation)
{
    if (Dx9())
        Dx9()->SetTransformMatrixToPosAndRot(position, rotation);
}

void EngDeviceSetTransformMatrixToPosRotAndScale(const _Vector3d *position, const _Vector3d *rotation, const _Vector3d *scale)
{
    if (Dx9())
        Dx9()->SetTransformMatrixToPosRotAndScale(position, rotation, scale);
}

// --- Culling and crop ---

bool EngDeviceIsShowingTwoSidedPolygons()
{
    return Dx9() && Dx9()->IsShowingTwoSidedPolygons();
}

void EngDeviceShowTwoSidedPolygons(bool on)
{
    if (Dx9())
        Dx9()->ShowTwoSidedPolygons(on);
}

void EngDeviceTurnOnCrop(float x, float y, float w, float h)
{
    if (Dx9())
        Dx9()->TurnOnCrop(x, y, w, h);
}

void EngDeviceTurnOnCropToRect(const float *rect)
{
    if (Dx9())
        Dx9()->TurnOnCropToRect(rect);
}

void EngDeviceTurnOnCropInViewport(float x, float y, float w, float h)
{
    if (Dx9())
        Dx9()->TurnOnCropInViewport(x, y, w, h);
}

void EngDeviceTurnOnCropInViewportToRect(const float *rect)
{
    if (Dx9())
        Dx9()->TurnOnCropInViewportToRect(rect);
}

bool EngDeviceIsCropOn()
{
    return Dx9() && Dx9()->IsCropOn();
}

void EngDeviceTurnOffCrop()
{
    if (Dx9())
        Dx9()->TurnOffCrop();
}

// --- Frame ---

bool EngDeviceBeginRendering()
{
    return Dx9() && Dx9()->BeginRendering();
}

bool EngDeviceBeginRenderingIfNeeded()
{
    return Dx9() && Dx9()->BeginRenderingIfNeeded();
}

void EngDeviceEndRendering()
{
    if (Dx9())
        Dx9()->EndRendering();
}

void EngDeviceSwapBuffers()
{
    if (Dx9())
        Dx9()->SwapBuffers();
}

void EngDeviceSyncWithGPU()
{
    if (eng_device_dx9)
        eng_device_dx9->SyncWithGPU();
}

bool EngDeviceIsCreated()
{
    return Dx9() && Dx9()->IsCreated();
}

void EngDeviceResetState()
{
    if (eng_device_dx9)
        eng_device_dx9->ResetState();
}

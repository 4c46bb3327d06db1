#pragma once
// The generic graphics device: the small EngDevice object the main window owns, and the EngDevice... free
// functions every drawing part uses. Each forwards to the one EngDeviceDX9 when the main device type is 1.
// Main thread only.

#include "Engine/Graphics/DX9/EngD3DTypesDX9.h"
#include "Engine/Graphics/EngRenderState.h"

class EngWindow;
class EngDeviceDX9;
class EngMatrix4;
struct _Vector3d;

class EngDevice {
public:
    explicit EngDevice(EngWindow *main_window);
    ~EngDevice();

    bool Create(bool windowed, int width, int height, int bit_depth, int refresh);
    void Destroy();
    bool IsCreated() const { return created; }
    EngWindow *GetMainWindow() const { return main_window; }

private:
    bool created = false;
    EngWindow *main_window = nullptr;
};

// The current graphics device (set by a successful EngDevice::Create, cleared by EngDevice::Destroy) and the
// one EngDeviceDX9 (allocated by the first EngDevice::Create, freed by EngDevice::Destroy).
extern EngDevice *eng_current_device;
extern EngDeviceDX9 *eng_device_dx9;

// Viewport.
void EngDeviceWindowResized();
void EngDeviceUpdateFullScreenViewport();
bool EngDeviceSetViewportFullScreen();
bool EngDeviceSetViewportToRect(const float *rect = nullptr);        // x, y, w, h in pixels
bool EngDeviceSetViewportToRatioedRect(const float *rect = nullptr); // x, y, w, h in the 640 x 480 screen
bool EngDeviceSetViewportToViewportStruct(const D3DVIEWPORT9 *viewport);
bool EngDeviceGetViewportStruct(D3DVIEWPORT9 *viewport, bool full_screen);
bool EngDeviceIsViewportFullScreen();

// Clearing.
void EngDeviceSetClearColour(float r, float g, float b);
bool EngDeviceClearScreenAndZBuffer();
bool EngDeviceClearScreen();

// Lighting and z-buffer.
bool EngDeviceIsLightingOn();
void EngDeviceTurnOnLighting();
void EngDeviceTurnOffLighting();
bool EngDeviceTurnOffLightingIfOn();
void EngDeviceAllowZBuffer(bool on);
void EngDeviceTurnOnZBuffer();
bool EngDeviceTurnOffZBufferIfOn();

// Texture stage 0 alpha: modulated by the vertex alpha, or not.
void EngDeviceTurnOnAlphaModulation();
void EngDeviceTurnOffAlphaModulation();

// Frames that repeat the one on screen are not drawn again (off until asked for: code that draws through the
// GL itself needs every call sent at once).
void EngDeviceSkipRepeatedFrames(bool on);
// The next frame is drawn even when it repeats the one on screen (the window's pixels were lost).
void EngDeviceRedrawNextFrame();

// Point sampling instead of bilinear filtering for the draws that follow, or back to the texture quality
// (for a picture drawn texel for pixel: software rasterisers fill it at half the cost).
void EngDeviceUsePointSampling(bool on);
// Texture stage 0 passes the texels as they are instead of modulating them by the vertex colour, or goes back
// to modulating (for a picture drawn in white: the same pixels, a shorter per-pixel program on software
// rasterisers).
void EngDeviceDrawTexelsAsTheyAre(bool on);

// Blending: presets (_EngBlendingType) and raw device factors (D3DBLEND).
void EngDeviceEnableBlendingType(int preset);
void EngDeviceEnableBlending(int src, int dest);
void EngDeviceDisableBlending();
bool EngDeviceGetBlendingState(bool *on, int *src, int *dest);
void EngDeviceSetBlendingState(bool on, int src, int dest);
bool EngDeviceSaveOrRestoreBlendingState(bool save);

// 2D mode: projection, view and world identity, so vertices are given in clip space (-1..1).
void EngDevicePrepareFor2D(bool lighting_off);
void EngDeviceRestoreAfter2D();
bool EngDeviceIsPreparedFor2D();
bool EngDevicePrepareFor2DIfNeeded(bool lighting_off);
bool EngDeviceMakeSureIsPreparedFor2D(bool lighting_off = true);

// World ("transform") matrix and its stack.
void EngDevicePushTransformMatrix();
void EngDevicePopTransformMatrix();
void EngDeviceSetTransformMatrixToDefault();
void EngDeviceSetTransformMatrixToDxMatrix(const float *matrix16 = nullptr);
void EngDeviceSetTransformMatrix(const EngMatrix4 *matrix = nullptr);
bool EngDeviceGetTransformMatrix(EngMatrix4 *matrix);
void EngDeviceSetTransformMatrixToPosAndRot(const _Vector3d *position, const _Vector3d *rotation);
void EngDeviceSetTransformMatrixToPosRotAndScale(const _Vector3d *position, const _Vector3d *rotation, const _Vector3d *scale);

// Culling and crop (crop rectangles in the 640 x 480 screen).
bool EngDeviceIsShowingTwoSidedPolygons();
void EngDeviceShowTwoSidedPolygons(bool on);
void EngDeviceTurnOnCrop(float x, float y, float w, float h);
void EngDeviceTurnOnCropToRect(const float *rect);
void EngDeviceTurnOnCropInViewport(float x, float y, float w, float h);
void EngDeviceTurnOnCropInViewportToRect(const float *rect);
bool EngDeviceIsCropOn();
void EngDeviceTurnOffCrop();

// Frame.
bool EngDeviceBeginRendering();
bool EngDeviceBeginRenderingIfNeeded();
void EngDeviceEndRendering();
void EngDeviceSwapBuffers();
void EngDeviceSyncWithGPU();
bool EngDeviceIsCreated();
void EngDeviceResetState();

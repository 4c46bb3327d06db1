#pragma once
// The one graphics device: its creation over the settings matching (EngDeviceSettingsDX9), and every render
// state, matrix and frame call of the engine. Drawing goes to an OpenGL 2.1 fixed-function context on the
// main window (EngGLDeviceDX9), with Direct3D 9's conventions kept: clockwise front faces, pixel centres on
// whole coordinates, depth 0..1, D3DCOLOR values 0xAARRGGBB. Main thread only.
//
// Other drawing code needs to know:
// - bind textures through EngDeviceDX9::SetTexture, so the texture quality (point or linear) applies;
//   with no texture, drawing uses the vertex colour;
// - draw only between EngDeviceBeginRendering and EngDeviceEndRendering (the target may be an off-screen
//   multisampled buffer that only those calls bind);
// - the GL context dies with the device: every GL object must be made again in CreateGraphicsObjectsCB.

#include "Engine/Graphics/DX9/EngD3DTypesDX9.h"
#include "Engine/Graphics/DX9/EngDeviceSettingsDX9.h"

class EngDevice;
class EngWindow;
class EngMatrix4;
class EngGLDeviceDX9;
struct _Vector3d;

constexpr int ENG_DEVICE_MATRIX_STACK_SIZE = 10;
constexpr double ENG_DEVICE_LOST_WAIT = 5.0; // seconds before a lost device is re-created

// GPU synchronisation methods.
constexpr int ENG_GPU_SYNC_OFF = -1;
constexpr int ENG_GPU_SYNC_LOCKED_SURFACES = 0;
constexpr int ENG_GPU_SYNC_EVENT_QUERY = 1;

// The device of the current creation, its type and back-buffer format (set by each creation).
extern EngGLDeviceDX9 *eng_d3d_device;
extern D3DDEVTYPE eng_d3d_device_type;
extern D3DFORMAT eng_d3d_back_buffer_format;
// The device layer's own description of the machine, used for enumeration and creation.
extern EngDirect3D9 *eng_dx9_d3d_object;

// Accepts a device whose back-buffer format can be blended into.
bool EngDeviceDX9IsDeviceAcceptableCB(const D3DCAPS9 *caps, D3DFORMAT adapter_format, D3DFORMAT back_buffer_format,
                                      bool windowed);

class EngDeviceDX9 {
public:
    explicit EngDeviceDX9(EngDevice *owner);
    ~EngDeviceDX9();
    EngDeviceDX9(const EngDeviceDX9 &) = delete;
    EngDeviceDX9 &operator=(const EngDeviceDX9 &) = delete;

    // --- Creation ---
    bool Create(bool windowed, int width, int height, int bit_depth, int refresh);
    bool SetupCreate(bool windowed, int width, int height, int bit_depth, int refresh);
    bool CreateD3DObject();
    bool DoChangeDevice(const _DXUTDeviceSettings *settings);
    bool Init3DEnvironment();
    void Cleanup3DEnvironment(bool free_settings);
    void Release3DEnvironment();
    void Destroy();
    bool IsCreated() const { return created; }
    bool IsLost() const { return lost; }
    const _DXUTDeviceSettings *GetDeviceSettings() const { return settings; }
    const D3DSURFACE_DESC *GetBackBufferDesc() const { return &back_buffer_desc; }
    const D3DCAPS9 *GetDeviceCaps() const { return &caps; }

    // --- State ---
    void ResetState();
    void ResetMaterialAndMatrices();
    void SetDefaultRenderStates();

    void WindowResized();
    void UpdateFullScreenViewport();
    bool SetViewportFullScreen();
    bool SetViewportToSize(int x, int y, int w, int h);
    bool SetViewportToRect(const float *rect);
    bool SetViewportToRatioedRect(const float *rect);
    bool SetViewportToViewportStruct(const D3DVIEWPORT9 *viewport);
    bool GetViewportStruct(D3DVIEWPORT9 *viewport, bool full_screen) const;
    bool IsViewportFullScreen() const { return viewport_is_full_screen; }

    void SetClearColour(float r, float g, float b);
    D3DCOLOR GetClearColour() const { return clear_colour; }
    bool ClearScreenAndZBuffer();
    bool ClearScreen();

    bool IsLightingOn() const { return lighting_on; }
    void TurnOnLighting();
    void TurnOffLighting();
    bool TurnOffLightingIfOn();
    void AllowZBuffer(bool on);
    void TurnOnZBuffer();
    void TurnOffZBuffer();
    bool TurnOffZBufferIfOn();
    bool IsZBufferOn() const { return zbuffer_on; }
    void TurnOnSpecular(bool local_viewer);
    void TurnOffSpecular();
    void TurnOnAlphaModulation();
    void TurnOffAlphaModulation();
    void TurnOnAlphaModulationIfOff(bool *was_off);
    void SetTextureQuality(int quality);
    void UsePointSampling(bool on);
    void DrawTexelsAsTheyAre(bool on);
    void SkipRepeatedFrames(bool on);
    void RedrawNextFrame();
    void SetNoTexture();
    // Binds a GL texture (0 = none) on stage 0 with the current texture quality.
    bool SetTexture(unsigned int gl_texture);
    void SetMaterialToDefault();

    void EnableBlendingType(int preset);
    void EnableBlending(int src, int dest);
    void DisableBlending();
    bool GetBlendingState(bool *on, int *src, int *dest) const;
    void SetBlendingState(bool on, int src, int dest);
    bool SaveOrRestoreBlendingState(bool save);

    void PrepareFor2D(bool lighting_off);
    void RestoreAfter2D();
    bool IsPreparedFor2D() const { return prepared_for_2d; }
    bool PrepareFor2DIfNeeded(bool lighting_off);
    bool MakeSureIsPreparedFor2D(bool lighting_off);

    void PushAllMatrices();
    void PopAllMatrices();
    void PushTransformMatrix();
    void PopTransformMatrix();
    void SetTransformMatrixToDefault();
    void SetTransformMatrixToDxMatrix(const float *matrix16);
    void SetTransformMatrix(const EngMatrix4 *matrix);
    bool GetTransformMatrix(EngMatrix4 *matrix) const;
    void GetTransformMatrixToDxMatrix(float out[16]) const;
    void SetTransformMatrixToPosAndRot(const _Vector3d *position, const _Vector3d *rotation);
    void SetTransformMatrixToPosRotAndScale(const _Vector3d *position, const _Vector3d *rotation, const _Vector3d *scale);
    void SetProjectionMatrix(const EngMatrix4 *matrix);
    void SetProjectionMatrixToDxMatrix(const float *matrix16);
    void SetViewMatrix(const EngMatrix4 *matrix);
    void SetViewMatrixToDxMatrix(const float *matrix16);
    void SetProjectionFromFieldOfView();
    int GetAllMatricesLevel() const { return all_matrices_level; }
    int GetTransformLevel() const { return transform_level; }

    bool IsShowingTwoSidedPolygons() const { return two_sided; }
    void ShowTwoSidedPolygons(bool on);
    void TurnOnCrop(float x, float y, float w, float h);
    void TurnOnCropToRect(const float *rect);
    void TurnOnCropInViewport(float x, float y, float w, float h);
    void TurnOnCropInViewportToRect(const float *rect);
    bool IsCropOn() const { return crop_on; }
    void TurnOffCrop();

    bool BeginRendering();
    bool BeginRenderingIfNeeded();
    void EndRendering();
    bool IsRendering() const { return rendering; }
    void SwapBuffers();
    void SyncWithGPU();
    int GetGpuSyncMethod() const { return sync_method; }

    // The frame as it would be presented, top row first, 4 bytes per pixel in B, G, R, A order.
    bool ReadBackBufferPixels(int x, int y, int w, int h, unsigned char *bgra);

private:
    bool CreateDevice(const _DXUTDeviceSettings *settings);
    void SendBlending();
    void SendAlphaModulation();
    void SendZBuffer();
    void SendSpecular();
    void SendProjection();
    void SendView();
    void SendWorld();
    void StoreCustomViewport(const D3DVIEWPORT9 *viewport);
    void SetWorldFromPosRotScale(const _Vector3d *position, const _Vector3d *rotation, const _Vector3d *scale);
    void CheckLostDevice();
    bool SyncWithMethod(int method);
    void ReleaseSyncResources();
    void LoadTextureCursor();

    EngDevice *owner;
    void *window_handle = nullptr;
    bool created = false;
    bool lost = false;
    double lost_time = 0.0;

    // Creation state.
    bool d3d_created = false;
    _DXUTDeviceSettings *settings = nullptr;
    D3DSURFACE_DESC back_buffer_desc = {};
    D3DCAPS9 caps = {};

    D3DVIEWPORT9 full_screen_viewport = {0, 0, 640, 480, 0.0f, 1.0f};
    D3DVIEWPORT9 custom_viewport = {0, 0, 640, 480, 0.0f, 1.0f};
    D3DMATERIAL9 material = {};

    double fov_degrees = 45.0;
    double fov_radians = 0.7853982;
    double aspect = 1.0;
    double aspect_unused = 1.0;
    double near_plane = 0.01;
    double far_plane = 100.0;

    bool zbuffer_allowed = true;
    bool specular_on = false;
    bool local_viewer = true;
    bool alpha_modulation_on = false;
    int texture_quality = 1;
    bool skip_repeated_frames = false; // kept for the devices made again later
    bool prepared_for_2d = false;
    bool lighting_on = true;
    bool zbuffer_on = true;
    bool two_sided = false;
    D3DCOLOR clear_colour = 0;
    bool rendering = false;
    bool viewport_is_full_screen = true;
    bool lighting_before_2d = true;

    int all_matrices_level = 0;
    float all_matrices[ENG_DEVICE_MATRIX_STACK_SIZE][3][16] = {};
    int transform_level = 0;
    float transform_stack[ENG_DEVICE_MATRIX_STACK_SIZE][16] = {};

    int cached_src_blend = -1;
    int cached_dest_blend = -1;
    bool blending_on = false;
    bool crop_on = false;
    bool blend_saved = false;
    bool saved_blending_on = false;
    int saved_src_blend = -1;
    int saved_dest_blend = -1;

    float projection[16] = {};
    float view[16] = {};
    float world[16] = {};
    float default_transform[16] = {};

    int sync_method = ENG_GPU_SYNC_OFF;
    bool sync_may_switch = false;
};

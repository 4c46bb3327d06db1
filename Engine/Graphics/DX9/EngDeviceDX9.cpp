#include "Engine/Graphics/DX9/EngDeviceDX9.h"

#include <SDL2/SDL.h>

#include <cstring>
#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngMath.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/DX9/EngGLDeviceDX9.h"
#include "Engine/Graphics/DX9/EngUtilsDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngDim.h"
#include "Engine/Graphics/EngMatrix.h"
#include "Engine/Graphics/EngRenderState.h"
#include "Engine/Graphics/EngTexture.h"

EngGLDeviceDX9 *eng_d3d_device = nullptr;
D3DDEVTYPE eng_d3d_device_type = D3DDEVTYPE_HAL;
D3DFORMAT eng_d3d_back_buffer_format = D3DFMT_UNKNOWN;
EngDirect3D9 *eng_dx9_d3d_object = nullptr;

namespace {

constexpr const char *kChangeDevice = "EngDeviceDX9::DoChangeDevice";

SDL_Window *MainWindowHandle()
{
    return eng_main_window ? eng_main_window->GetWindowHandle_PC() : nullptr;
}

bool ClientSize(int *w, int *h)
{
    SDL_Window *handle = MainWindowHandle();
    if (!handle)
        return false;
    SDL_GetWindowSize(handle, w, h);
    return *w > 0 && *h > 0;
}

} // namespace

bool EngDeviceDX9IsDeviceAcceptableCB(const D3DCAPS9 *caps, D3DFORMAT, D3DFORMAT back_buffer_format, bool)
{
    if (!caps || !eng_dx9_d3d_object)
        return false;
    return eng_dx9_d3d_object->CheckDeviceFormatBlending(caps->AdapterOrdinal, caps->DeviceType, back_buffer_format) == D3D_OK;
}

EngDeviceDX9::EngDeviceDX9(EngDevice *owning_device) : owner(owning_device)
{
    ResetState();
    window_handle = MainWindowHandle();
}

EngDeviceDX9::~EngDeviceDX9()
{
    Destroy();
}

// ---------------------------------------------------------------------------------------------------------
// Creation

bool EngDeviceDX9::Create(bool windowed, int width, int height, int bit_depth, int refresh)
{
    window_handle = MainWindowHandle();
    if (!SetupCreate(windowed, width, height, bit_depth, refresh))
        return false;
    created = true;
    SetDefaultRenderStates();
    LoadTextureCursor();
    return true;
}

void EngDeviceDX9::LoadTextureCursor()
{
    if (!eng_main_window)
        return;
    _EngTextureCursor *cursor = eng_main_window->GetTextureCursor_PC();
    if (!cursor->on)
        return;
    if (cursor->texture &&
        cursor->texture->LoadFromFileUsingExt(cursor->file_name, cursor->load_option_1 != 0, cursor->load_option_2, ETFE_UNKNOWN)) {
        eng_main_window->ConvertTextureCursorSize_PC();
        eng_main_window->ReplaceTextureCursor_PC();
        return;
    }
    DebugError(ENG_FUNC, "Could not create texture cursor <%s>", cursor->file_name);
    cursor->on = false;
    eng_main_window->HideCursor_PC();
    eng_main_window->ShowCursor_PC();
}

bool EngDeviceDX9::CreateD3DObject()
{
    if (d3d_created && eng_dx9_d3d_object)
        return true;
    delete eng_dx9_d3d_object;
    eng_dx9_d3d_object = new (std::nothrow) EngDirect3D9;
    if (!eng_dx9_d3d_object || !EngDirect3DDX9ProbeSystem(eng_dx9_d3d_object, window_handle)) {
        delete eng_dx9_d3d_object;
        eng_dx9_d3d_object = nullptr;
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "Error", "Could not create Direct3D Object");
        return false;
    }
    d3d_created = true;
    return true;
}

namespace {

void BuildRequest(bool windowed, int width, int height, int bit_depth, void *window, _DXUTDeviceSettings *request,
                  _DXUTMatchOptions *rules)
{
    *request = {};
    request->AdapterOrdinal = 0;
    request->pp.Windowed = windowed ? 1 : 0;
    request->pp.BackBufferWidth = (EngUInt32)(width > 0 ? width : 0);
    request->pp.BackBufferHeight = (EngUInt32)(height > 0 ? height : 0);
    request->pp.hDeviceWindow = window;
    request->pp.MultiSampleType = (D3DMULTISAMPLE_TYPE)eng_screen_multisample_type;
    request->pp.MultiSampleQuality = (EngUInt32)(eng_screen_multisample_quality > 0 ? eng_screen_multisample_quality : 0);
    if (eng_screen_multisample_type != 0)
        request->pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    const bool full_screen_depth = !windowed && bit_depth >= 1;
    if (full_screen_depth)
        request->AdapterFormat = bit_depth == 32 ? D3DFMT_X8R8G8B8 : bit_depth == 16 ? D3DFMT_R5G6B5 : D3DFMT_UNKNOWN;
    *rules = {};
    rules->eAdapterOrdinal = DXUTMT_PRESERVE_INPUT;
    rules->eWindowed = DXUTMT_PRESERVE_INPUT;
    rules->eAdapterFormat = full_screen_depth ? DXUTMT_CLOSEST_TO_INPUT : DXUTMT_IGNORE_INPUT;
    rules->eResolution = DXUTMT_CLOSEST_TO_INPUT;
    rules->eMultiSample = DXUTMT_PRESERVE_INPUT;
}

} // namespace

bool EngDeviceDX9::SetupCreate(bool windowed, int width, int height, int bit_depth, int)
{
    if (!CreateD3DObject())
        return false;
    if (!DxutEnumerationIsDone() && DxutEnumerationInit())
        DxutEnumerationDoEnumerate(nullptr, EngDeviceDX9IsDeviceAcceptableCB);
    _DXUTDeviceSettings request;
    _DXUTMatchOptions rules;
    BuildRequest(windowed, width, height, bit_depth, window_handle, &request, &rules);
    HRESULT found = DXUTFindValidDeviceSettings(&request, &request, &rules);
    if (found != D3D_OK && eng_screen_multisample_type != 0 && DxutEnumerationIsDone()) {
        // A saved anti-aliasing setting this machine cannot give must not keep the program from starting.
        DebugInfo("Anti-aliasing %d (quality %d) is not available: creating the device without anti-aliasing.",
                  eng_screen_multisample_type, eng_screen_multisample_quality);
        eng_screen_multisample_type = 0;
        eng_screen_multisample_quality = 0;
        BuildRequest(windowed, width, height, bit_depth, window_handle, &request, &rules);
        found = DXUTFindValidDeviceSettings(&request, &request, &rules);
    }
    if (found != D3D_OK) {
        DebugError(ENG_FUNC, "Could not find valid settings");
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "EngDeviceDX9::Create", "Could not find valid settings");
        return false;
    }
    if (!DoChangeDevice(&request)) {
        DebugError(ENG_FUNC, "Could not change device");
        return false;
    }
    return true;
}

bool EngDeviceDX9::CreateDevice(const _DXUTDeviceSettings *new_settings)
{
    const bool multisampled = new_settings->pp.MultiSampleType != D3DMULTISAMPLE_NONE;
    HRESULT result = eng_dx9_d3d_object->CreateDeviceResult(new_settings->AdapterOrdinal);
    EngGLDeviceDX9 *device = nullptr;
    if (result == D3D_OK) {
        device = new (std::nothrow) EngGLDeviceDX9;
        result = device ? device->Create((SDL_Window *)window_handle, &new_settings->pp) : E_OUTOFMEMORY;
    }
    if (result == D3D_OK) {
        device->SetSkipRepeatedFrames(skip_repeated_frames);
        eng_d3d_device = device;
        return true;
    }
    delete device;
    if (result == D3DERR_OUTOFVIDEOMEMORY && multisampled)
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "Cannot Create Direct 3D Device",
                                "Try turning off anti aliasing, or running in a lower resolution.");
    else if (result == D3DERR_OUTOFVIDEOMEMORY)
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, kChangeDevice, "Could not create the Direct3D device");
    else if (!EngUtilsDX9_CheckResult(kChangeDevice, "CreateDevice", result))
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, kChangeDevice, "Error creating the Direct3D device");
    return false;
}

bool EngDeviceDX9::DoChangeDevice(const _DXUTDeviceSettings *new_settings)
{
    if (!eng_dx9_d3d_object || !new_settings) {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, kChangeDevice, "No Direct3D Object");
        return false;
    }
    if (!window_handle) {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, kChangeDevice, "No parent window");
        return false;
    }
    _DXUTDeviceSettings *copy = new (std::nothrow) _DXUTDeviceSettings(*new_settings);
    if (!copy) {
        DebugError(ENG_FUNC, "No memory");
        return false;
    }
    _DXUTDeviceSettings *old_settings = settings;
    settings = copy;
    Cleanup3DEnvironment(false);
    // Said once per run: the device object, and with it the earlier settings, is made anew at each re-creation.
    static bool reference_warning_shown = false;
    if (!old_settings && settings->DeviceType == D3DDEVTYPE_REF && !reference_warning_shown) {
        reference_warning_shown = true;
        EngMiscShowPopupMessage(ENG_POPUP_EXCLAMATION, kChangeDevice, "Switching to sofware renderer and no hardware renderer found.");
    }

    settings->pp.MultiSampleType = (D3DMULTISAMPLE_TYPE)eng_screen_multisample_type;
    settings->pp.MultiSampleQuality = (EngUInt32)(eng_screen_multisample_quality > 0 ? eng_screen_multisample_quality : 0);
    if (settings->pp.MultiSampleType != D3DMULTISAMPLE_NONE)
        settings->pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    settings->pp.FullScreen_RefreshRateInHz = 0;
    settings->pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    settings->pp.hDeviceWindow = window_handle;

    delete old_settings;
    if (!CreateDevice(settings))
        return false;

    const bool multisampled = settings->pp.MultiSampleType != D3DMULTISAMPLE_NONE;
    EngUtilsDX9_CheckResult("DXUTChangeDevice", multisampled ? "SetRenderState(MS-On)" : "SetRenderState(MS-Off)",
                            eng_d3d_device->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, multisampled ? 1 : 0));
    eng_d3d_device_type = settings->DeviceType;
    eng_d3d_back_buffer_format = settings->pp.BackBufferFormat;
    if (eng_main_window)
        eng_main_window->SetScreenMode(settings->pp.Windowed ? 1 : 0, (int)settings->pp.BackBufferWidth,
                                       (int)settings->pp.BackBufferHeight,
                                       EngUtilsDX9_GetBitdepthFromFormat(settings->pp.BackBufferFormat, nullptr, false), 0);
    if (!Init3DEnvironment()) {
        DebugError(ENG_FUNC, "Init3DEnvironment() failed");
        return false;
    }
    return true;
}

bool EngDeviceDX9::Init3DEnvironment()
{
    if (!eng_d3d_device) {
        DebugError(ENG_FUNC, "No Device");
        return false;
    }
    if (!window_handle) {
        DebugError(ENG_FUNC, "No parent window");
        return false;
    }
    if (!EngUtilsDX9_CheckResult("DXUTPrepareDevice", "GetBackBuffer", eng_d3d_device->GetBackBufferDesc(&back_buffer_desc)))
        return false;
    if (!EngUtilsDX9_CheckResult("DXUTPrepareDevice", "GetDeviceCaps", eng_d3d_device->GetDeviceCaps(&caps)))
        return false;
    const _DxutEnumAdapterInfo *adapter = nullptr;
    if (!DxutEnumerationGetAdapterInfoNew(settings ? settings->AdapterOrdinal : 0, &adapter)) {
        DebugError(ENG_FUNC, "DxutEnumerationGetAdapterInfoNew() failed");
        return false;
    }
    return true;
}

void EngDeviceDX9::Cleanup3DEnvironment(bool free_settings)
{
    if (eng_d3d_device) {
        const int left = eng_d3d_device->Release();
        if (left != 0)
            DebugError(ENG_FUNC, "Graphics objects not released [%d]", left);
        delete eng_d3d_device;
        eng_d3d_device = nullptr;
    }
    if (free_settings) {
        delete settings;
        settings = nullptr;
    }
    caps = {};
    back_buffer_desc = {};
}

void EngDeviceDX9::Release3DEnvironment()
{
    Cleanup3DEnvironment(true);
    DxutEnumerationDestroy();
    delete eng_dx9_d3d_object;
    eng_dx9_d3d_object = nullptr;
    d3d_created = false;
}

void EngDeviceDX9::Destroy()
{
    ReleaseSyncResources();
    if (created)
        EngDimDestroy();
    if (eng_main_window && eng_main_window->GetTextureCursor_PC()->texture)
        eng_main_window->GetTextureCursor_PC()->texture->Unload();
    Release3DEnvironment();
    created = false;
    rendering = false;
}

// ---------------------------------------------------------------------------------------------------------
// State

void EngDeviceDX9::ResetState()
{
    EngRenderStateBuildBlendFactorTable();
    lost = false;
    lost_time = 0.0;
    full_screen_viewport = {0, 0, 640, 480, 0.0f, 1.0f};
    custom_viewport = {0, 0, 640, 480, 0.0f, 1.0f};
    fov_degrees = 45.0;
    fov_radians = 0.7853982;
    aspect = 1.0;
    aspect_unused = 1.0;
    near_plane = 0.01;
    far_plane = 100.0;
    zbuffer_allowed = true;
    specular_on = false;
    local_viewer = true;
    alpha_modulation_on = false;
    texture_quality = 1;
    clear_colour = 0;
    cached_src_blend = cached_dest_blend = -1;
    blending_on = false;
    crop_on = false;
    blend_saved = false;
    ResetMaterialAndMatrices();
    EngMatrixIdentity(projection);
    EngMatrixIdentity(view);
}

void EngDeviceDX9::ResetMaterialAndMatrices()
{
    lost = false;
    lost_time = 0.0;
    material = {};
    material.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    material.Ambient = {1.0f, 1.0f, 1.0f, 1.0f};
    EngMatrixIdentity(default_transform);
    EngMatrixIdentity(world);
    prepared_for_2d = false;
    two_sided = false;
    rendering = false;
    all_matrices_level = 0;
    transform_level = 0;
    lighting_on = true;
    zbuffer_on = true;
    viewport_is_full_screen = true;
}

void EngDeviceDX9::SetDefaultRenderStates()
{
    ResetMaterialAndMatrices();
    SetViewMatrixToDxMatrix(nullptr);
    SetProjectionFromFieldOfView();
    SetWorldFromPosRotScale(nullptr, nullptr, nullptr);
    SetMaterialToDefault();
    SetNoTexture();
    SetTextureQuality(-1);
    if (eng_d3d_device) {
        eng_d3d_device->SetRenderState(D3DRS_LIGHTING, 1);
        eng_d3d_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
        eng_d3d_device->SetRenderState(D3DRS_SCISSORTESTENABLE, 0);
    }
    crop_on = false;
    UpdateFullScreenViewport();
    SetViewportFullScreen();
    SendZBuffer();
    SendSpecular();
    SendAlphaModulation();
    const bool was_on = blending_on;
    const int src = cached_src_blend, dest = cached_dest_blend;
    cached_src_blend = cached_dest_blend = -1;
    blending_on = false;
    if (was_on && src >= 0 && dest >= 0)
        EnableBlending(src, dest);
    else if (eng_d3d_device)
        eng_d3d_device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
}

void EngDeviceDX9::SendZBuffer()
{
    if (eng_d3d_device)
        eng_d3d_device->SetRenderState(D3DRS_ZENABLE, zbuffer_allowed && zbuffer_on ? 1 : 0);
}

void EngDeviceDX9::SendSpecular()
{
    if (!eng_d3d_device)
        return;
    eng_d3d_device->SetRenderState(D3DRS_SPECULARENABLE, specular_on ? 1 : 0);
    eng_d3d_device->SetRenderState(D3DRS_LOCALVIEWER, local_viewer ? 1 : 0);
}

void EngDeviceDX9::SendAlphaModulation()
{
    if (!eng_d3d_device)
        return;
    eng_d3d_device->SetTextureStageState(0, D3DTSS_ALPHAOP, alpha_modulation_on ? D3DTOP_MODULATE : D3DTOP_BLENDTEXTUREALPHA);
    eng_d3d_device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    eng_d3d_device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE);
    eng_d3d_device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}

// --- Viewports ---

void EngDeviceDX9::WindowResized()
{
    UpdateFullScreenViewport();
    if (viewport_is_full_screen)
        SetViewportFullScreen();
}

void EngDeviceDX9::UpdateFullScreenViewport()
{
    full_screen_viewport = {0, 0, 640, 480, 0.0f, 1.0f};
    if (!eng_main_window)
        return;
    int w = 0, h = 0;
    if (eng_screen_windowed && ClientSize(&w, &h)) {
        full_screen_viewport.Width = (EngUInt32)w;
        full_screen_viewport.Height = (EngUInt32)h;
        return;
    }
    full_screen_viewport.Width = (EngUInt32)(eng_screen_width > 0 ? eng_screen_width : 0);
    full_screen_viewport.Height = (EngUInt32)(eng_screen_height > 0 ? eng_screen_height : 0);
}

bool EngDeviceDX9::SetViewportFullScreen()
{
    if (!eng_d3d_device)
        return false;
    if (!EngUtilsDX9_CheckResult(ENG_FUNC, "SetViewport", eng_d3d_device->SetViewport(&full_screen_viewport)))
        return false;
    custom_viewport = full_screen_viewport;
    viewport_is_full_screen = true;
    return true;
}

bool EngDeviceDX9::SetViewportToSize(int x, int y, int w, int h)
{
    if (!eng_d3d_device)
        return false;
    int client_w = 0, client_h = 0;
    if (eng_screen_windowed && ClientSize(&client_w, &client_h) && eng_screen_width > 0 && eng_screen_height > 0) {
        w = w * client_w / eng_screen_width;
        h = h * client_h / eng_screen_height;
    }
    const D3DVIEWPORT9 viewport = {(EngUInt32)(x > 0 ? x : 0), (EngUInt32)(y > 0 ? y : 0), (EngUInt32)(w > 0 ? w : 0),
                                   (EngUInt32)(h > 0 ? h : 0), 0.0f, 1.0f};
    if (!EngUtilsDX9_CheckResult(ENG_FUNC, "SetViewport", eng_d3d_device->SetViewport(&viewport)))
        return false;
    custom_viewport = viewport;
    viewport_is_full_screen = false;
    return true;
}

bool EngDeviceDX9::SetViewportToRect(const float *rect)
{
    if (!rect)
        return SetViewportFullScreen();
    return SetViewportToSize((int)rect[0], (int)rect[1], (int)rect[2], (int)rect[3]);
}

bool EngDeviceDX9::SetViewportToRatioedRect(const float *rect)
{
    if (!rect)
        return SetViewportFullScreen();
    return SetViewportToSize(EngRoundFloat(rect[0] * eng_scale_x), EngRoundFloat(rect[1] * eng_scale_y),
                             EngRoundFloat(rect[2] * eng_scale_x), EngRoundFloat(rect[3] * eng_scale_y));
}

bool EngDeviceDX9::SetViewportToViewportStruct(const D3DVIEWPORT9 *viewport)
{
    if (!eng_d3d_device || !viewport)
        return false;
    if (!EngUtilsDX9_CheckResult(ENG_FUNC, "SetViewport", eng_d3d_device->SetViewport(viewport)))
        return false;
    custom_viewport = *viewport;
    viewport_is_full_screen = false;
    return true;
}

bool EngDeviceDX9::GetViewportStruct(D3DVIEWPORT9 *viewport, bool full_screen) const
{
    if (!viewport)
        return false;
    *viewport = full_screen ? full_screen_viewport : custom_viewport;
    return true;
}

// --- Clearing ---

void EngDeviceDX9::SetClearColour(float r, float g, float b)
{
    clear_colour = EngRenderStatePackOpaqueColour(r, g, b);
}

bool EngDeviceDX9::ClearScreenAndZBuffer()
{
    if (!eng_d3d_device)
        return false;
    return EngUtilsDX9_CheckResult(ENG_FUNC, "Clear",
                                   eng_d3d_device->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear_colour, 1.0f, 0));
}

bool EngDeviceDX9::ClearScreen()
{
    if (!eng_d3d_device)
        return false;
    return EngUtilsDX9_CheckResult(ENG_FUNC, "Clear", eng_d3d_device->Clear(D3DCLEAR_TARGET, clear_colour, 1.0f, 0));
}

// --- Switches ---

void EngDeviceDX9::TurnOnLighting()
{
    if (lighting_on)
        return;
    if (eng_d3d_device)
        eng_d3d_device->SetRenderState(D3DRS_LIGHTING, 1);
    lighting_on = true;
}

void EngDeviceDX9::TurnOffLighting()
{
    if (!lighting_on)
        return;
    if (eng_d3d_device)
        eng_d3d_device->SetRenderState(D3DRS_LIGHTING, 0);
    lighting_on = false;
}

bool EngDeviceDX9::TurnOffLightingIfOn()
{
    const bool was_on = lighting_on;
    TurnOffLighting();
    return was_on;
}

void EngDeviceDX9::AllowZBuffer(bool on)
{
    if (eng_d3d_device)
        eng_d3d_device->SetRenderState(D3DRS_ZENABLE, on ? 1 : 0);
    zbuffer_allowed = on;
    zbuffer_on = on;
}

void EngDeviceDX9::TurnOnZBuffer()
{
    if (!zbuffer_allowed || zbuffer_on)
        return;
    if (eng_d3d_device)
        eng_d3d_device->SetRenderState(D3DRS_ZENABLE, 1);
    zbuffer_on = true;
}

void EngDeviceDX9::TurnOffZBuffer()
{
    if (!zbuffer_allowed || !zbuffer_on)
        return;
    if (eng_d3d_device)
        eng_d3d_device->SetRenderState(D3DRS_ZENABLE, 0);
    zbuffer_on = false;
}

bool EngDeviceDX9::TurnOffZBufferIfOn()
{
    const bool was_on = zbuffer_allowed && zbuffer_on;
    TurnOffZBuffer();
    return was_on;
}

void EngDeviceDX9::TurnOnSpecular(bool local)
{
    specular_on = true;
    local_viewer = local;
    SendSpecular();
}

void EngDeviceDX9::TurnOffSpecular()
{
    specular_on = false;
    local_viewer = true;
    SendSpecular();
}

void EngDeviceDX9::TurnOnAlphaModulation()
{
    if (alpha_modulation_on)
        return;
    alpha_modulation_on = true;
    SendAlphaModulation();
}

void EngDeviceDX9::TurnOffAlphaModulation()
{
    if (!alpha_modulation_on)
        return;
    alpha_modulation_on = false;
    SendAlphaModulation();
}

void EngDeviceDX9::TurnOnAlphaModulationIfOff(bool *was_off)
{
    if (was_off)
        *was_off = !alpha_modulation_on;
    TurnOnAlphaModulation();
}

void EngDeviceDX9::SetTextureQuality(int quality)
{
    if (quality >= 0)
        texture_quality = quality;
    UsePointSampling(false);
}

void EngDeviceDX9::SkipRepeatedFrames(bool on)
{
    skip_repeated_frames = on;
    if (eng_d3d_device)
        eng_d3d_device->SetSkipRepeatedFrames(on);
}

void EngDeviceDX9::RedrawNextFrame()
{
    if (eng_d3d_device)
        eng_d3d_device->RedrawNextFrame();
}

void EngDeviceDX9::UsePointSampling(bool on)
{
    if (!eng_d3d_device)
        return;
    const EngUInt32 filter = texture_quality == 1 && !on ? D3DTEXF_LINEAR : D3DTEXF_POINT;
    EngUtilsDX9_CheckResult(ENG_FUNC, "SetSamplerState", eng_d3d_device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter));
    EngUtilsDX9_CheckResult(ENG_FUNC, "SetSamplerState", eng_d3d_device->SetSamplerState(0, D3DSAMP_MINFILTER, filter));
}

void EngDeviceDX9::DrawTexelsAsTheyAre(bool on)
{
    if (!eng_d3d_device)
        return;
    EngUtilsDX9_CheckResult(ENG_FUNC, "SetTextureStageState",
                            eng_d3d_device->SetTextureStageState(0, D3DTSS_COLOROP, on ? D3DTOP_SELECTARG1 : D3DTOP_MODULATE));
    if (on)
        EngUtilsDX9_CheckResult(ENG_FUNC, "SetTextureStageState",
                                eng_d3d_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2));
    else
        SendAlphaModulation();
}

void EngDeviceDX9::SetNoTexture()
{
    SetTexture(0);
}

bool EngDeviceDX9::SetTexture(unsigned int gl_texture)
{
    if (!eng_d3d_device)
        return false;
    return EngUtilsDX9_CheckResult(ENG_FUNC, "SetTexture", eng_d3d_device->SetTexture(0, gl_texture));
}

void EngDeviceDX9::SetMaterialToDefault()
{
    material = {};
    material.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    material.Ambient = {1.0f, 1.0f, 1.0f, 1.0f};
    if (eng_d3d_device)
        EngUtilsDX9_CheckResult(ENG_FUNC, "SetMaterial", eng_d3d_device->SetMaterial(&material));
}

// --- Blending ---

void EngDeviceDX9::EnableBlending(int src, int dest)
{
    if (eng_d3d_device) {
        if (src != cached_src_blend)
            eng_d3d_device->SetRenderState(D3DRS_SRCBLEND, (EngUInt32)src);
        if (dest != cached_dest_blend)
            eng_d3d_device->SetRenderState(D3DRS_DESTBLEND, (EngUInt32)dest);
        if (!blending_on)
            eng_d3d_device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    }
    cached_src_blend = src;
    cached_dest_blend = dest;
    blending_on = true;
}

void EngDeviceDX9::EnableBlendingType(int preset)
{
    D3DBLEND src, dest;
    if (!EngRenderStateGetBlendingPreset(preset, &src, &dest)) {
        DebugError(ENG_FUNC, "Invalid Blending Type %d", preset);
        return;
    }
    EnableBlending(src, dest);
}

void EngDeviceDX9::DisableBlending()
{
    if (!blending_on)
        return;
    if (eng_d3d_device)
        eng_d3d_device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    blending_on = false;
}

bool EngDeviceDX9::GetBlendingState(bool *on, int *src, int *dest) const
{
    if (on)
        *on = blending_on;
    if (src)
        *src = cached_src_blend;
    if (dest)
        *dest = cached_dest_blend;
    return blending_on;
}

void EngDeviceDX9::SetBlendingState(bool on, int src, int dest)
{
    if (on)
        EnableBlending(src, dest);
    else
        DisableBlending();
}

bool EngDeviceDX9::SaveOrRestoreBlendingState(bool save)
{
    if (save) {
        if (blend_saved) {
            DebugError(ENG_FUNC, "Already saved");
            return false;
        }
        blend_saved = true;
        saved_blending_on = blending_on;
        saved_src_blend = cached_src_blend;
        saved_dest_blend = cached_dest_blend;
        return true;
    }
    if (!blend_saved) {
        DebugError(ENG_FUNC, "Not saved");
        return false;
    }
    SetBlendingState(saved_blending_on, saved_src_blend, saved_dest_blend);
    blend_saved = false;
    return true;
}

// --- 2D mode ---

void EngDeviceDX9::PrepareFor2D(bool lighting_off)
{
    if (prepared_for_2d) {
        DebugError(ENG_FUNC, "Already Called");
        return;
    }
    PushAllMatrices();
    lighting_before_2d = lighting_on;
    SetProjectionMatrixToDxMatrix(nullptr);
    SetViewMatrixToDxMatrix(nullptr);
    SetTransformMatrixToDxMatrix(nullptr);
    if (lighting_off)
        TurnOffLighting();
    TurnOffZBuffer();
    prepared_for_2d = true;
}

void EngDeviceDX9::RestoreAfter2D()
{
    if (!prepared_for_2d) {
        DebugError(ENG_FUNC, "Not prepared");
        return;
    }
    TurnOnZBuffer();
    PopAllMatrices();
    if (lighting_before_2d)
        TurnOnLighting();
    else
        TurnOffLighting();
    prepared_for_2d = false;
}

bool EngDeviceDX9::PrepareFor2DIfNeeded(bool lighting_off)
{
    if (prepared_for_2d)
        return false;
    PrepareFor2D(lighting_off);
    return true;
}

bool EngDeviceDX9::MakeSureIsPreparedFor2D(bool lighting_off)
{
    return PrepareFor2DIfNeeded(lighting_off);
}

// --- Matrices ---

void EngDeviceDX9::PushAllMatrices()
{
    if (transform_level != 0)
        DebugError(ENG_FUNC, "Transform matrix stack level not 0 (%d)", transform_level);
    if (all_matrices_level < 0) {
        DebugError(ENG_FUNC, "Stack level %d", all_matrices_level);
        all_matrices_level = 0;
    }
    if (all_matrices_level >= ENG_DEVICE_MATRIX_STACK_SIZE) {
        DebugError(ENG_FUNC, "Too many pushes");
        return;
    }
    memcpy(all_matrices[all_matrices_level][0], projection, sizeof(projection));
    memcpy(all_matrices[all_matrices_level][1], view, sizeof(view));
    memcpy(all_matrices[all_matrices_level][2], world, sizeof(world));
    all_matrices_level++;
}

void EngDeviceDX9::PopAllMatrices()
{
    if (all_matrices_level < 1) {
        DebugError(ENG_FUNC, "Not pushed");
        all_matrices_level = 0;
        return;
    }
    if (transform_level != 0)
        DebugError(ENG_FUNC, "Transform matrix stack level not 0 (%d)", transform_level);
    all_matrices_level--;
    SetProjectionMatrixToDxMatrix(all_matrices[all_matrices_level][0]);
    SetViewMatrixToDxMatrix(all_matrices[all_matrices_level][1]);
    SetTransformMatrixToDxMatrix(all_matrices[all_matrices_level][2]);
}

void EngDeviceDX9::PushTransformMatrix()
{
    if (transform_level < 0) {
        DebugError(ENG_FUNC, "Stack level %d", transform_level);
        transform_level = 0;
    }
    if (transform_level >= ENG_DEVICE_MATRIX_STACK_SIZE) {
        DebugError(ENG_FUNC, "Too many pushes");
        return;
    }
    memcpy(transform_stack[transform_level], world, sizeof(world));
    transform_level++;
}

void EngDeviceDX9::PopTransformMatrix()
{
    if (transform_level < 1) {
        DebugError(ENG_FUNC, "Not pushed");
        transform_level = 0;
        return;
    }
    transform_level--;
    SetTransformMatrixToDxMatrix(transform_stack[transform_level]);
}

void EngDeviceDX9::SendProjection()
{
    if (eng_d3d_device)
        EngUtilsDX9_CheckResult(ENG_FUNC, "SetTransform", eng_d3d_device->SetTransform(D3DTS_PROJECTION, projection));
}

void EngDeviceDX9::SendView()
{
    if (eng_d3d_device)
        EngUtilsDX9_CheckResult(ENG_FUNC, "SetTransform", eng_d3d_device->SetTransform(D3DTS_VIEW, view));
}

void EngDeviceDX9::SendWorld()
{
    if (eng_d3d_device)
        EngUtilsDX9_CheckResult(ENG_FUNC, "SetTransform", eng_d3d_device->SetTransform(D3DTS_WORLD, world));
}

void EngDeviceDX9::SetTransformMatrixToDefault()
{
    SetTransformMatrixToDxMatrix(default_transform);
}

void EngDeviceDX9::SetTransformMatrixToDxMatrix(const float *matrix16)
{
    if (matrix16)
        memmove(world, matrix16, sizeof(world));
    else
        EngMatrixIdentity(world);
    SendWorld();
}

void EngDeviceDX9::SetTransformMatrix(const EngMatrix4 *matrix)
{
    float m[16];
    if (matrix)
        matrix->CopyTo(m);
    SetTransformMatrixToDxMatrix(matrix ? m : nullptr);
}

bool EngDeviceDX9::GetTransformMatrix(EngMatrix4 *matrix) const
{
    if (!matrix)
        return false;
    matrix->CopyFrom(world);
    return true;
}

void EngDeviceDX9::GetTransformMatrixToDxMatrix(float out[16]) const
{
    if (out)
        memcpy(out, world, sizeof(world));
}

void EngDeviceDX9::SetWorldFromPosRotScale(const _Vector3d *position, const _Vector3d *rotation, const _Vector3d *scale)
{
    float m[16], step[16];
    EngMatrixIdentity(m);
    if (scale)
        EngMatrixScaling(m, scale->x, scale->y, scale->z);
    if (rotation) {
        // Turned about Y first, then X, then Z.
        EngMatrixRotationY(step, rotation->y);
        EngMatrixMultiply(m, m, step);
        EngMatrixRotationX(step, rotation->x);
        EngMatrixMultiply(m, m, step);
        EngMatrixRotationZ(step, rotation->z);
        EngMatrixMultiply(m, m, step);
    }
    if (position) {
        EngMatrixTranslation(step, position->x, position->y, position->z);
        EngMatrixMultiply(m, m, step);
    }
    SetTransformMatrixToDxMatrix(m);
}

void EngDeviceDX9::SetTransformMatrixToPosAndRot(const _Vector3d *position, const _Vector3d *rotation)
{
    SetWorldFromPosRotScale(position, rotation, nullptr);
}

void EngDeviceDX9::SetTransformMatrixToPosRotAndScale(const _Vector3d *position, const _Vector3d *rotation, const _Vector3d *scale)
{
    SetWorldFromPosRotScale(position, rotation, scale);
}

void EngDeviceDX9::SetProjectionMatrix(const EngMatrix4 *matrix)
{
    float m[16];
    if (matrix)
        matrix->CopyTo(m);
    SetProjectionMatrixToDxMatrix(matrix ? m : nullptr);
}

void EngDeviceDX9::SetProjectionMatrixToDxMatrix(const float *matrix16)
{
    if (matrix16)
        memmove(projection, matrix16, sizeof(projection));
    else
        EngMatrixIdentity(projection);
    SendProjection();
}

void EngDeviceDX9::SetViewMatrix(const EngMatrix4 *matrix)
{
    float m[16];
    if (matrix)
        matrix->CopyTo(m);
    SetViewMatrixToDxMatrix(matrix ? m : nullptr);
}

void EngDeviceDX9::SetViewMatrixToDxMatrix(const float *matrix16)
{
    if (matrix16)
        memmove(view, matrix16, sizeof(view));
    else
        EngMatrixIdentity(view);
    SendView();
}

void EngDeviceDX9::SetProjectionFromFieldOfView()
{
    float m[16];
    EngMatrixPerspectiveFovRH(m, (float)fov_radians, (float)aspect, (float)near_plane, (float)far_plane);
    SetProjectionMatrixToDxMatrix(m);
}

// --- Culling and crop ---

void EngDeviceDX9::ShowTwoSidedPolygons(bool on)
{
    if (on == two_sided) {
        DebugError(ENG_FUNC, "Flag already set to %d", on ? 1 : 0);
        return;
    }
    if (eng_d3d_device)
        eng_d3d_device->SetRenderState(D3DRS_CULLMODE, on ? D3DCULL_NONE : D3DCULL_CCW);
    two_sided = on;
}

void EngDeviceDX9::TurnOnCrop(float x, float y, float w, float h)
{
    const int left = EngRoundFloat(x * eng_scale_x);
    const int top = EngRoundFloat(y * eng_scale_y);
    const D3DRECT_LTRB rect = {left, top, left + EngRoundFloat(w * eng_scale_x), top + EngRoundFloat(h * eng_scale_y)};
    if (eng_d3d_device) {
        eng_d3d_device->SetScissorRect(&rect);
        eng_d3d_device->SetRenderState(D3DRS_SCISSORTESTENABLE, 1);
    }
    crop_on = true;
}

void EngDeviceDX9::TurnOnCropToRect(const float *rect)
{
    if (rect)
        TurnOnCrop(rect[0], rect[1], rect[2], rect[3]);
}

void EngDeviceDX9::TurnOnCropInViewport(float x, float y, float w, float h)
{
    if (viewport_is_full_screen || eng_screen_width < 1 || eng_screen_height < 1) {
        TurnOnCrop(x, y, w, h);
        return;
    }
    const float kx = (float)custom_viewport.Width / (float)eng_screen_width;
    const float ky = (float)custom_viewport.Height / (float)eng_screen_height;
    const float left = (float)custom_viewport.X + x * eng_scale_x * kx;
    const float top = (float)custom_viewport.Y + y * eng_scale_y * ky;
    const D3DRECT_LTRB rect = {(EngInt32)left, (EngInt32)top, (EngInt32)(left + w * eng_scale_x * kx),
                               (EngInt32)(top + h * eng_scale_y * ky)};
    if (eng_d3d_device) {
        eng_d3d_device->SetScissorRect(&rect);
        eng_d3d_device->SetRenderState(D3DRS_SCISSORTESTENABLE, 1);
    }
    crop_on = true;
}

void EngDeviceDX9::TurnOnCropInViewportToRect(const float *rect)
{
    if (rect)
        TurnOnCropInViewport(rect[0], rect[1], rect[2], rect[3]);
}

void EngDeviceDX9::TurnOffCrop()
{
    if (!crop_on)
        DebugError(ENG_FUNC, "Crop is not on.");
    if (eng_d3d_device)
        eng_d3d_device->SetRenderState(D3DRS_SCISSORTESTENABLE, 0);
    crop_on = false;
}

// --- Frame ---

void EngDeviceDX9::CheckLostDevice()
{
    if (!eng_d3d_device || eng_d3d_device->TestCooperativeLevel() == D3DERR_DEVICELOST)
        return;
    if (!eng_main_window || !eng_current_device || eng_time - lost_time <= ENG_DEVICE_LOST_WAIT)
        return;
    DebugInfo("Re-creating device that was lost.");
    lost = false;
    lost_time = 0.0;
    eng_main_window->RequestRecreateDevice();
}

bool EngDeviceDX9::BeginRendering()
{
    if (lost) {
        CheckLostDevice();
        return false;
    }
    if (!eng_d3d_device)
        return false;
    if (rendering) {
        DebugError(ENG_FUNC, "Already rendering");
        EndRendering();
    }
    if (!EngUtilsDX9_CheckResult(ENG_FUNC, "BeginScene", eng_d3d_device->BeginScene()))
        return false;
    rendering = true;
    return true;
}

bool EngDeviceDX9::BeginRenderingIfNeeded()
{
    if (rendering)
        return false;
    return BeginRendering();
}

void EngDeviceDX9::EndRendering()
{
    if (!rendering) {
        DebugError(ENG_FUNC, "Not rendering");
        return;
    }
    if (eng_d3d_device)
        eng_d3d_device->EndScene();
    rendering = false;
}

void EngDeviceDX9::SwapBuffers()
{
    if (!eng_d3d_device) {
        DebugError(ENG_FUNC, "No device");
        return;
    }
    const HRESULT result = eng_d3d_device->Present();
    if (result == D3D_OK)
        return;
    if (result == D3DERR_DRIVERINTERNALERROR) {
        DebugError(ENG_FUNC, "Internal Driver Error");
        return;
    }
    if (result == D3DERR_DEVICELOST) {
        DebugInfo("Warning: Device Lost...");
        lost = true;
        if (lost_time == 0.0)
            lost_time = eng_time;
        return;
    }
    DebugError(ENG_FUNC, "Unexpected error.");
}

bool EngDeviceDX9::SyncWithMethod(int method)
{
    if (!eng_d3d_device)
        return false;
    return EngUtilsDX9_CheckResult(ENG_FUNC, method == ENG_GPU_SYNC_EVENT_QUERY ? "Issue" : "ColorFill",
                                   eng_d3d_device->WaitForGPU(method));
}

void EngDeviceDX9::ReleaseSyncResources()
{
    if (eng_d3d_device)
        eng_d3d_device->ReleaseSyncObjects();
}

void EngDeviceDX9::SyncWithGPU()
{
    if (!eng_d3d_device)
        return;
    if (eng_main_program) {
        sync_method = eng_main_program->GetGpuSyncMethod();
        sync_may_switch = eng_main_program->GetGpuSyncMaySwitch();
    }
    if (sync_method < 0 || SyncWithMethod(sync_method))
        return;
    ReleaseSyncResources();
    DebugError(ENG_FUNC, "Sync method %d failed", sync_method);
    int next = ENG_GPU_SYNC_OFF;
    if (sync_may_switch) {
        next = sync_method == ENG_GPU_SYNC_EVENT_QUERY ? ENG_GPU_SYNC_LOCKED_SURFACES : ENG_GPU_SYNC_EVENT_QUERY;
        DebugInfo("EngDeviceDX9::SyncWithGPU - Trying method %d ...", next);
        if (!SyncWithMethod(next)) {
            ReleaseSyncResources();
            DebugError(ENG_FUNC, "Sync method %d failed", next);
            next = ENG_GPU_SYNC_OFF;
        }
    }
    sync_method = next;
    if (eng_main_program)
        eng_main_program->SetGpuSyncMethod(next >= 0, next, sync_may_switch);
}

bool EngDeviceDX9::ReadBackBufferPixels(int x, int y, int w, int h, unsigned char *bgra)
{
    return eng_d3d_device && eng_d3d_device->ReadPixels(x, y, w, h, bgra);
}

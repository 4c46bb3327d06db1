#include "Engine/Graphics/DX9/EngDirect3DDX9.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "Engine/Core/EngString.h"
#include "Engine/Graphics/DX9/EngGLDeviceDX9.h"

namespace {

std::unique_ptr<EngDirect3D9> model_override;

bool HasFormat(const std::vector<D3DFORMAT> &list, D3DFORMAT format)
{
    return std::find(list.begin(), list.end(), format) != list.end();
}

// The colour format without its alpha channel, so A8R8G8B8 pairs with an X8R8G8B8 display.
D3DFORMAT WithoutAlpha(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_A8R8G8B8: return D3DFMT_X8R8G8B8;
    case D3DFMT_A1R5G5B5: return D3DFMT_X1R5G5B5;
    case D3DFMT_A4R4G4B4: return D3DFMT_X4R4G4B4;
    default: return format;
    }
}

struct GLLimits {
    char renderer[ENG_D3D_ADAPTER_DESCRIPTION_SIZE] = "OpenGL";
    int depth_bits = 16;
    int stencil_bits = 0;
    int max_samples = 0;
};

// Asks a short-lived context on the window (or on a hidden one of our own) what it offers.
bool ProbeGL(SDL_Window *window, GLLimits *limits)
{
    SDL_Window *own = nullptr;
    if (!window) {
        own = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        window = own;
    }
    if (!window)
        return false;
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    SDL_Window *previous_window = SDL_GL_GetCurrentWindow();
    EngGLDeviceDX9SetContextAttributes();
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context) {
        const char *renderer = (const char *)glGetString(GL_RENDERER);
        if (renderer)
            EngSafeStrcpy(limits->renderer, renderer, (int)sizeof(limits->renderer));
        glGetIntegerv(GL_MAX_SAMPLES, &limits->max_samples);
        SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &limits->depth_bits);
        SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &limits->stencil_bits);
        glGetError();
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
    }
    if (previous)
        SDL_GL_MakeCurrent(previous_window, previous);
    if (own)
        SDL_DestroyWindow(own);
    return context != nullptr;
}

void AddDepthFormats(EngD3DAdapterModel *adapter, const GLLimits &limits)
{
    adapter->depth_formats.clear();
    static const D3DFORMAT candidates[] = {D3DFMT_D16, D3DFMT_D15S1, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D32};
    static const int depth[] = {16, 15, 24, 24, 24, 32};
    static const int stencil[] = {0, 1, 0, 8, 4, 0};
    for (int i = 0; i < 6; i++) {
        if (depth[i] <= limits.depth_bits && stencil[i] <= limits.stencil_bits)
            adapter->depth_formats.push_back(candidates[i]);
    }
}

void AddModes(EngD3DAdapterModel *adapter, int display)
{
    const int count = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < count; i++) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(display, i, &mode) != 0)
            continue;
        const D3DFORMAT format = EngDirect3DDX9FormatFromBits((int)SDL_BITSPERPIXEL(mode.format));
        if (format == D3DFMT_UNKNOWN)
            continue;
        adapter->modes.push_back({(EngUInt32)mode.w, (EngUInt32)mode.h, (EngUInt32)mode.refresh_rate, format});
    }
}

} // namespace

D3DFORMAT EngDirect3DDX9FormatFromBits(int bits_per_pixel)
{
    switch (bits_per_pixel) {
    case 24:
    case 32: return D3DFMT_X8R8G8B8;
    case 16: return D3DFMT_R5G6B5;
    case 15: return D3DFMT_X1R5G5B5;
    default: return D3DFMT_UNKNOWN;
    }
}

bool EngDirect3DDX9ProbeSystem(EngDirect3D9 *d3d, void *window)
{
    if (!d3d)
        return false;
    if (model_override) {
        *d3d = *model_override;
        return true;
    }
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return false;
    GLLimits limits;
    if (!ProbeGL((SDL_Window *)window, &limits))
        return false;
    d3d->adapters.clear();
    const int displays = SDL_GetNumVideoDisplays();
    for (int display = 0; display < displays; display++) {
        EngD3DAdapterModel adapter;
        EngSafeStrcpy(adapter.description, limits.renderer, (int)sizeof(adapter.description));
        SDL_DisplayMode desktop;
        adapter.desktop_known = SDL_GetDesktopDisplayMode(display, &desktop) == 0;
        if (adapter.desktop_known) {
            adapter.desktop = {(EngUInt32)desktop.w, (EngUInt32)desktop.h, (EngUInt32)desktop.refresh_rate,
                               EngDirect3DDX9FormatFromBits((int)SDL_BITSPERPIXEL(desktop.format))};
        }
        AddModes(&adapter, display);
        // Some drivers list no modes at all; the desktop's own mode is always there to take full screen.
        if (adapter.modes.empty() && adapter.desktop_known && adapter.desktop.Format != D3DFMT_UNKNOWN)
            adapter.modes.push_back(adapter.desktop);
        adapter.back_buffer_formats = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5};
        AddDepthFormats(&adapter, limits);
        // Any sample count up to the limit works on an off-screen target; powers of two are what players know.
        for (int type = 2; type <= ENG_D3D_MAX_MULTISAMPLE_TYPE && type <= limits.max_samples; type *= 2)
            adapter.multisample_levels[type] = 1;
        d3d->adapters.push_back(adapter);
    }
    return !d3d->adapters.empty();
}

void EngDirect3DDX9SetModel(const EngDirect3D9 *model)
{
    model_override.reset(model ? new EngDirect3D9(*model) : nullptr);
}

const EngDirect3D9 *EngDirect3DDX9GetModel()
{
    return model_override.get();
}

const EngD3DAdapterModel *EngDirect3D9::Adapter(EngUInt32 adapter) const
{
    return adapter < adapters.size() ? &adapters[adapter] : nullptr;
}

HRESULT EngDirect3D9::GetAdapterIdentifier(EngUInt32 adapter, const char **description) const
{
    const EngD3DAdapterModel *a = Adapter(adapter);
    if (!a || !description)
        return D3DERR_INVALIDCALL;
    *description = a->description;
    return D3D_OK;
}

EngUInt32 EngDirect3D9::GetAdapterModeCount(EngUInt32 adapter, D3DFORMAT format) const
{
    const EngD3DAdapterModel *a = Adapter(adapter);
    if (!a)
        return 0;
    return (EngUInt32)std::count_if(a->modes.begin(), a->modes.end(),
                                    [format](const D3DDISPLAYMODE &m) { return m.Format == format; });
}

HRESULT EngDirect3D9::EnumAdapterModes(EngUInt32 adapter, D3DFORMAT format, EngUInt32 index, D3DDISPLAYMODE *mode) const
{
    const EngD3DAdapterModel *a = Adapter(adapter);
    if (!a || !mode)
        return D3DERR_INVALIDCALL;
    EngUInt32 seen = 0;
    for (const D3DDISPLAYMODE &m : a->modes) {
        if (m.Format != format)
            continue;
        if (seen++ == index) {
            *mode = m;
            return D3D_OK;
        }
    }
    return D3DERR_INVALIDCALL;
}

HRESULT EngDirect3D9::GetAdapterDisplayMode(EngUInt32 adapter, D3DDISPLAYMODE *mode) const
{
    const EngD3DAdapterModel *a = Adapter(adapter);
    if (!a || !mode || !a->desktop_known)
        return D3DERR_INVALIDCALL;
    *mode = a->desktop;
    return D3D_OK;
}

HRESULT EngDirect3D9::GetDeviceCaps(EngUInt32 adapter, D3DDEVTYPE type, D3DCAPS9 *caps) const
{
    const EngD3DAdapterModel *a = Adapter(adapter);
    if (!a || !caps || type < D3DDEVTYPE_HAL || type > D3DDEVTYPE_SW || !a->device_types[type])
        return D3DERR_NOTAVAILABLE;
    *caps = {};
    caps->DeviceType = type;
    caps->AdapterOrdinal = adapter;
    caps->DevCaps = a->hardware_tnl ? D3DDEVCAPS_HWTRANSFORMANDLIGHT : 0;
    caps->PresentationIntervals = a->presentation_intervals;
    caps->MaxTextureWidth = caps->MaxTextureHeight = 4096;
    return D3D_OK;
}

HRESULT EngDirect3D9::CheckDeviceType(EngUInt32 adapter, D3DDEVTYPE type, D3DFORMAT adapter_format,
                                      D3DFORMAT back_buffer_format, bool windowed) const
{
    const EngD3DAdapterModel *a = Adapter(adapter);
    if (!a || type < D3DDEVTYPE_HAL || type > D3DDEVTYPE_SW || !a->device_types[type])
        return D3DERR_NOTAVAILABLE;
    if (!HasFormat(a->back_buffer_formats, back_buffer_format) || WithoutAlpha(back_buffer_format) != adapter_format)
        return D3DERR_NOTAVAILABLE;
    if (windowed && a->desktop_known && adapter_format != a->desktop.Format)
        return D3DERR_NOTAVAILABLE;
    return D3D_OK;
}

HRESULT EngDirect3D9::CheckDeviceFormatBlending(EngUInt32 adapter, D3DDEVTYPE type, D3DFORMAT format) const
{
    const EngD3DAdapterModel *a = Adapter(adapter);
    if (!a || type < D3DDEVTYPE_HAL || type > D3DDEVTYPE_SW || !a->device_types[type])
        return D3DERR_NOTAVAILABLE;
    return HasFormat(a->back_buffer_formats, format) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT EngDirect3D9::CheckDeviceFormatDepthStencil(EngUInt32 adapter, D3DDEVTYPE type, D3DFORMAT depth_format) const
{
    const EngD3DAdapterModel *a = Adapter(adapter);
    if (!a || type < D3DDEVTYPE_HAL || type > D3DDEVTYPE_SW || !a->device_types[type])
        return D3DERR_NOTAVAILABLE;
    return HasFormat(a->depth_formats, depth_format) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT EngDirect3D9::CheckDepthStencilMatch(EngUInt32 adapter, D3DDEVTYPE type, D3DFORMAT, D3DFORMAT,
                                             D3DFORMAT depth_format) const
{
    return CheckDeviceFormatDepthStencil(adapter, type, depth_format);
}

HRESULT EngDirect3D9::CheckDeviceMultiSampleType(EngUInt32 adapter, D3DDEVTYPE type, D3DFORMAT, bool,
                                                 int multisample_type, EngUInt32 *quality_levels) const
{
    const EngD3DAdapterModel *a = Adapter(adapter);
    if (!a || type < D3DDEVTYPE_HAL || type > D3DDEVTYPE_SW || !a->device_types[type])
        return D3DERR_NOTAVAILABLE;
    if (multisample_type < 0 || multisample_type > ENG_D3D_MAX_MULTISAMPLE_TYPE)
        return D3DERR_INVALIDCALL;
    const int levels = multisample_type == 0 ? 1 : a->multisample_levels[multisample_type];
    if (levels < 1)
        return D3DERR_NOTAVAILABLE;
    if (quality_levels)
        *quality_levels = (EngUInt32)levels;
    return D3D_OK;
}

HRESULT EngDirect3D9::CreateDeviceResult(EngUInt32 adapter) const
{
    const EngD3DAdapterModel *a = Adapter(adapter);
    return a ? a->create_device_result : D3DERR_INVALIDCALL;
}

#pragma once
// What the machine can do, asked the way the device-settings matching asks it: adapters, display modes,
// device types, back-buffer, depth/stencil and multisample formats. EngDirect3DDX9ProbeSystem fills it from
// SDL (displays and modes) and a short-lived OpenGL context (depth, stencil, samples); tests build their own.

#include <vector>

#include "Engine/Graphics/DX9/EngD3DTypesDX9.h"

constexpr int ENG_D3D_ADAPTER_DESCRIPTION_SIZE = 512;
constexpr int ENG_D3D_MAX_MULTISAMPLE_TYPE = 16;

struct EngD3DAdapterModel {
    char description[ENG_D3D_ADAPTER_DESCRIPTION_SIZE] = "OpenGL";
    bool desktop_known = true;
    D3DDISPLAYMODE desktop = {640, 480, 60, D3DFMT_X8R8G8B8};
    std::vector<D3DDISPLAYMODE> modes;            // full-screen modes, any format
    bool device_types[4] = {false, true, false, false}; // indexed by D3DDEVTYPE
    bool hardware_tnl = true;
    EngUInt32 presentation_intervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE;
    std::vector<D3DFORMAT> back_buffer_formats = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8};
    std::vector<D3DFORMAT> depth_formats = {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8};
    int multisample_levels[ENG_D3D_MAX_MULTISAMPLE_TYPE + 1] = {1}; // 0 = type not offered
    HRESULT create_device_result = D3D_OK; // what creating a device on it answers
};

class EngDirect3D9 {
public:
    std::vector<EngD3DAdapterModel> adapters;

    EngUInt32 GetAdapterCount() const { return (EngUInt32)adapters.size(); }
    HRESULT GetAdapterIdentifier(EngUInt32 adapter, const char **description) const;
    EngUInt32 GetAdapterModeCount(EngUInt32 adapter, D3DFORMAT format) const;
    HRESULT EnumAdapterModes(EngUInt32 adapter, D3DFORMAT format, EngUInt32 index, D3DDISPLAYMODE *mode) const;
    HRESULT GetAdapterDisplayMode(EngUInt32 adapter, D3DDISPLAYMODE *mode) const;
    HRESULT GetDeviceCaps(EngUInt32 adapter, D3DDEVTYPE type, D3DCAPS9 *caps) const;
    HRESULT CheckDeviceType(EngUInt32 adapter, D3DDEVTYPE type, D3DFORMAT adapter_format, D3DFORMAT back_buffer_format,
                            bool windowed) const;
    // Usable as a blended render target (texture or surface queries for the back-buffer format).
    HRESULT CheckDeviceFormatBlending(EngUInt32 adapter, D3DDEVTYPE type, D3DFORMAT format) const;
    HRESULT CheckDeviceFormatDepthStencil(EngUInt32 adapter, D3DDEVTYPE type, D3DFORMAT depth_format) const;
    HRESULT CheckDepthStencilMatch(EngUInt32 adapter, D3DDEVTYPE type, D3DFORMAT adapter_format,
                                   D3DFORMAT back_buffer_format, D3DFORMAT depth_format) const;
    HRESULT CheckDeviceMultiSampleType(EngUInt32 adapter, D3DDEVTYPE type, D3DFORMAT format, bool windowed,
                                       int multisample_type, EngUInt32 *quality_levels) const;
    HRESULT CreateDeviceResult(EngUInt32 adapter) const;

private:
    const EngD3DAdapterModel *Adapter(EngUInt32 adapter) const;
};

// Describes this machine. Needs SDL video started; window (an SDL_Window made for OpenGL, or null) is
// used for a short-lived context that reports depth, stencil and sample limits.
bool EngDirect3DDX9ProbeSystem(EngDirect3D9 *d3d, void *window);
// The SDL display format's Direct3D name (X8R8G8B8 for 24 and 32 bits, R5G6B5 for 16, X1R5G5B5 for 15).
D3DFORMAT EngDirect3DDX9FormatFromBits(int bits_per_pixel);

// A machine to use in place of the probed one (tests); null goes back to probing. The object is copied.
void EngDirect3DDX9SetModel(const EngDirect3D9 *model);
const EngDirect3D9 *EngDirect3DDX9GetModel();

#pragma once
// Enumeration of what every adapter can do and the search for the best valid device settings for a
// requested window or full-screen mode.

#include <vector>

#include "Engine/Graphics/DX9/EngD3DTypesDX9.h"
#include "Engine/Graphics/DX9/EngDirect3DDX9.h"

constexpr int ENG_ADAPTER_UNIQUE_DESCRIPTION_SIZE = 256;

struct _DXUTDeviceSettings {
    EngUInt32 AdapterOrdinal;
    D3DDEVTYPE DeviceType;
    D3DFORMAT AdapterFormat;
    EngUInt32 BehaviorFlags;
    D3DPRESENT_PARAMETERS pp;
};

enum _DXUTMatchRule { DXUTMT_IGNORE_INPUT = 0, DXUTMT_PRESERVE_INPUT = 1, DXUTMT_CLOSEST_TO_INPUT = 2 };

struct _DXUTMatchOptions {
    EngInt32 eAdapterOrdinal;
    EngInt32 eDeviceType;
    EngInt32 eWindowed;
    EngInt32 eAdapterFormat;
    EngInt32 eVertexProcessing;
    EngInt32 eResolution;
    EngInt32 eBackBufferFormat;
    EngInt32 eBackBufferCount;
    EngInt32 eMultiSample;
    EngInt32 eSwapEffect;
    EngInt32 eDepthFormat;
    EngInt32 eStencilFormat;
    EngInt32 ePresentFlags;
    EngInt32 eRefreshRate;
    EngInt32 ePresentInterval;
};

struct _DxutEnumAdapterInfo;
struct _DxutEnumDeviceInfo;

struct _DxutEnumDSMSConflict {
    D3DFORMAT DSFormat;
    int MSType;
};

struct _DxutEnumDeviceSettingsCombo {
    EngUInt32 AdapterOrdinal;
    D3DDEVTYPE DeviceType;
    D3DFORMAT AdapterFormat;
    D3DFORMAT BackBufferFormat;
    bool Windowed;
    std::vector<D3DFORMAT> depthStencilFormatList;
    std::vector<int> multiSampleTypeList;
    std::vector<EngUInt32> multiSampleQualityList;
    std::vector<EngUInt32> presentIntervalList;
    std::vector<_DxutEnumDSMSConflict> DSMSConflictList;
    const _DxutEnumAdapterInfo *adapterInfo;
    const _DxutEnumDeviceInfo *deviceInfo;
};

struct _DxutEnumDeviceInfo {
    EngUInt32 AdapterOrdinal;
    D3DDEVTYPE DeviceType;
    D3DCAPS9 Caps;
    std::vector<_DxutEnumDeviceSettingsCombo> deviceSettingsComboList;
};

struct _DxutEnumAdapterInfo {
    EngUInt32 AdapterOrdinal;
    char description[ENG_D3D_ADAPTER_DESCRIPTION_SIZE];
    char szUniqueDescription[ENG_ADAPTER_UNIQUE_DESCRIPTION_SIZE];
    std::vector<D3DDISPLAYMODE> displayModeList;
    std::vector<_DxutEnumDeviceInfo> deviceInfoList;
};

// Answers whether a device with these caps may render a back buffer of that format on that adapter format.
typedef bool (*DxutIsDeviceAcceptableCallback)(const D3DCAPS9 *caps, D3DFORMAT adapter_format,
                                               D3DFORMAT back_buffer_format, bool windowed);

struct DxutEnumeration {
    bool setup = false;
    bool enumerated = false;
    const EngDirect3D9 *d3d = nullptr;
    DxutIsDeviceAcceptableCallback acceptable = nullptr;
    bool require_post_pixel_shader_blending = true;
    std::vector<D3DFORMAT> depthStencilPossibleList;
    std::vector<int> multiSampleTypeList;
    std::vector<EngUInt32> presentIntervalList;
    std::vector<_DxutEnumAdapterInfo> adapterInfoList;
    EngUInt32 minWidth = 0, maxWidth = 0xFFFFFFFFu;
    EngUInt32 minHeight = 0, maxHeight = 0xFFFFFFFFu;
    EngUInt32 refreshMin = 0, refreshMax = 0xFFFFFFFFu;
    EngUInt32 multisampleQualityMax = 65535;
};

extern DxutEnumeration *dxut_enum;

bool DxutEnumerationInit();
// d3d: the object to enumerate, or null for the device layer's own.
HRESULT DxutEnumerationDoEnumerate(const EngDirect3D9 *d3d, DxutIsDeviceAcceptableCallback acceptable);
bool DxutEnumerationGetAdapterInfoListNew(const std::vector<_DxutEnumAdapterInfo> **list);
bool DxutEnumerationGetAdapterInfoNew(EngUInt32 adapter, const _DxutEnumAdapterInfo **info);
bool DxutEnumerationIsDone();
void DxutEnumerationDestroy();

// Valid settings nearest to the input under the rules (options null: every rule 0). out may be in.
HRESULT DXUTFindValidDeviceSettings(_DXUTDeviceSettings *out, const _DXUTDeviceSettings *in,
                                    const _DXUTMatchOptions *options);

// Bits per colour channel, depth bits and stencil bits of a format (0 for others).
int DxutColorChannelBits(D3DFORMAT format);
int DxutDepthBits(D3DFORMAT format);
int DxutStencilBits(D3DFORMAT format);

#include "Engine/Graphics/DX9/EngDeviceSettingsDX9.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>

#include <strings.h>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngString.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/DX9/EngUtilsDX9.h"

DxutEnumeration *dxut_enum = nullptr;

namespace {

constexpr D3DFORMAT back_buffer_candidates[] = {D3DFMT_R8G8B8,   D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5,
                                                D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_X4R4G4B4};
constexpr D3DDEVTYPE device_type_order[] = {D3DDEVTYPE_HAL, D3DDEVTYPE_SW, D3DDEVTYPE_REF};

bool NoEnum(const char *own_name)
{
    if (dxut_enum)
        return false;
    DebugError(own_name, "No dxut_enum");
    return true;
}

template <typename T> bool Contains(const std::vector<T> &list, T value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool ModeWithinLimits(const D3DDISPLAYMODE &mode)
{
    const DxutEnumeration &e = *dxut_enum;
    if (mode.Width < e.minWidth || mode.Width > e.maxWidth || mode.Height < e.minHeight || mode.Height > e.maxHeight)
        return false;
    return mode.RefreshRate == 0 || (mode.RefreshRate >= e.refreshMin && mode.RefreshRate <= e.refreshMax);
}

bool ModeOrder(const D3DDISPLAYMODE &a, const D3DDISPLAYMODE &b)
{
    if (a.Width != b.Width)
        return a.Width < b.Width;
    if (a.Height != b.Height)
        return a.Height < b.Height;
    if (a.Format != b.Format)
        return a.Format < b.Format;
    return a.RefreshRate < b.RefreshRate;
}

void EnumerateAdapterModes(const EngDirect3D9 *d3d, _DxutEnumAdapterInfo *adapter, std::vector<D3DFORMAT> *formats)
{
    for (const _EngKnownFormat &known : eng_known_formats) {
        const EngUInt32 count = d3d->GetAdapterModeCount(adapter->AdapterOrdinal, known.format);
        for (EngUInt32 i = 0; i < count; i++) {
            D3DDISPLAYMODE mode;
            if (d3d->EnumAdapterModes(adapter->AdapterOrdinal, known.format, i, &mode) != D3D_OK || !ModeWithinLimits(mode))
                continue;
            adapter->displayModeList.push_back(mode);
            if (!Contains(*formats, mode.Format))
                formats->push_back(mode.Format);
        }
    }
    D3DDISPLAYMODE desktop;
    if (EngUtilsDX9_CheckResult(ENG_FUNC, "GetAdapterDisplayMode", d3d->GetAdapterDisplayMode(adapter->AdapterOrdinal, &desktop)) &&
        !Contains(*formats, desktop.Format))
        formats->push_back(desktop.Format);
    std::sort(adapter->displayModeList.begin(), adapter->displayModeList.end(), ModeOrder);
}

void BuildComboLists(const EngDirect3D9 *d3d, const D3DCAPS9 &caps, _DxutEnumDeviceSettingsCombo *combo)
{
    const DxutEnumeration &e = *dxut_enum;
    for (D3DFORMAT ds : e.depthStencilPossibleList) {
        if (d3d->CheckDeviceFormatDepthStencil(combo->AdapterOrdinal, combo->DeviceType, ds) == D3D_OK &&
            d3d->CheckDepthStencilMatch(combo->AdapterOrdinal, combo->DeviceType, combo->AdapterFormat,
                                        combo->BackBufferFormat, ds) == D3D_OK)
            combo->depthStencilFormatList.push_back(ds);
    }
    for (int ms : e.multiSampleTypeList) {
        EngUInt32 levels = 0;
        if (d3d->CheckDeviceMultiSampleType(combo->AdapterOrdinal, combo->DeviceType, combo->BackBufferFormat,
                                            combo->Windowed, ms, &levels) != D3D_OK)
            continue;
        combo->multiSampleTypeList.push_back(ms);
        combo->multiSampleQualityList.push_back(std::min(levels, e.multisampleQualityMax + 1));
    }
    for (D3DFORMAT ds : combo->depthStencilFormatList) {
        for (int ms : combo->multiSampleTypeList) {
            if (d3d->CheckDeviceMultiSampleType(combo->AdapterOrdinal, combo->DeviceType, ds, combo->Windowed, ms,
                                                nullptr) != D3D_OK)
                combo->DSMSConflictList.push_back({ds, ms});
        }
    }
    for (EngUInt32 interval : e.presentIntervalList) {
        const bool slow = interval == D3DPRESENT_INTERVAL_TWO || interval == D3DPRESENT_INTERVAL_THREE ||
                          interval == D3DPRESENT_INTERVAL_FOUR;
        if (combo->Windowed && slow)
            continue;
        if (interval == D3DPRESENT_INTERVAL_DEFAULT || (caps.PresentationIntervals & interval))
            combo->presentIntervalList.push_back(interval);
    }
}

void EnumerateDeviceCombos(const EngDirect3D9 *d3d, const _DxutEnumAdapterInfo &adapter, _DxutEnumDeviceInfo *device,
                           const std::vector<D3DFORMAT> &adapter_formats)
{
    const DxutEnumeration &e = *dxut_enum;
    for (D3DFORMAT adapter_format : adapter_formats) {
        for (D3DFORMAT back_buffer : back_buffer_candidates) {
            for (int windowed = 0; windowed < 2; windowed++) {
                if (!windowed && adapter.displayModeList.empty())
                    continue;
                if (d3d->CheckDeviceType(adapter.AdapterOrdinal, device->DeviceType, adapter_format, back_buffer, windowed) != D3D_OK)
                    continue;
                if (e.require_post_pixel_shader_blending &&
                    d3d->CheckDeviceFormatBlending(adapter.AdapterOrdinal, device->DeviceType, back_buffer) != D3D_OK)
                    continue;
                if (e.acceptable && !e.acceptable(&device->Caps, adapter_format, back_buffer, windowed != 0))
                    continue;
                _DxutEnumDeviceSettingsCombo combo = {};
                combo.AdapterOrdinal = adapter.AdapterOrdinal;
                combo.DeviceType = device->DeviceType;
                combo.AdapterFormat = adapter_format;
                combo.BackBufferFormat = back_buffer;
                combo.Windowed = windowed != 0;
                BuildComboLists(d3d, device->Caps, &combo);
                if (combo.multiSampleTypeList.empty())
                    continue;
                device->deviceSettingsComboList.push_back(combo);
            }
        }
    }
}

void EnumerateDevices(const EngDirect3D9 *d3d, _DxutEnumAdapterInfo *adapter, const std::vector<D3DFORMAT> &formats)
{
    for (D3DDEVTYPE type : device_type_order) {
        _DxutEnumDeviceInfo device = {};
        device.AdapterOrdinal = adapter->AdapterOrdinal;
        device.DeviceType = type;
        if (d3d->GetDeviceCaps(adapter->AdapterOrdinal, type, &device.Caps) != D3D_OK)
            continue;
        EnumerateDeviceCombos(d3d, *adapter, &device, formats);
        if (device.deviceSettingsComboList.empty())
            continue;
        adapter->deviceInfoList.push_back(device);
    }
}

// Combos point back at their adapter and device; set once the lists no longer move.
void LinkCombos()
{
    for (_DxutEnumAdapterInfo &adapter : dxut_enum->adapterInfoList) {
        for (_DxutEnumDeviceInfo &device : adapter.deviceInfoList) {
            for (_DxutEnumDeviceSettingsCombo &combo : device.deviceSettingsComboList) {
                combo.adapterInfo = &adapter;
                combo.deviceInfo = &device;
            }
        }
    }
}

void MakeDescriptionsUnique()
{
    std::vector<_DxutEnumAdapterInfo> &list = dxut_enum->adapterInfoList;
    bool shared = false;
    for (size_t i = 0; i < list.size() && !shared; i++) {
        for (size_t j = i + 1; j < list.size() && !shared; j++)
            shared = strcasecmp(list[i].description, list[j].description) == 0;
    }
    for (_DxutEnumAdapterInfo &adapter : list) {
        if (shared)
            snprintf(adapter.szUniqueDescription, sizeof(adapter.szUniqueDescription), "%.200s (#%u)", adapter.description,
                     (unsigned)adapter.AdapterOrdinal);
        else
            EngSafeStrcpy(adapter.szUniqueDescription, adapter.description, (int)sizeof(adapter.szUniqueDescription));
    }
}

} // namespace

int DxutColorChannelBits(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_R8G8B8:
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8B8G8R8: return 8;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5: return 5;
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4: return 4;
    case D3DFMT_A2B10G10R10:
    case D3DFMT_A2R10G10B10: return 10;
    case D3DFMT_A16B16G16R16: return 16;
    case D3DFMT_R3G3B2:
    case D3DFMT_A8R3G3B2: return 2;
    default: return 0;
    }
}

int DxutDepthBits(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_D16_LOCKABLE:
    case D3DFMT_D16: return 16;
    case D3DFMT_D32:
    case D3DFMT_D32F_LOCKABLE: return 32;
    case D3DFMT_D15S1: return 15;
    case D3DFMT_D24S8:
    case D3DFMT_D24X8:
    case D3DFMT_D24X4S4:
    case D3DFMT_D24FS8: return 24;
    default: return 0;
    }
}

int DxutStencilBits(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_D15S1: return 1;
    case D3DFMT_D24S8:
    case D3DFMT_D24FS8: return 8;
    case D3DFMT_D24X4S4: return 4;
    default: return 0;
    }
}

bool DxutEnumerationInit()
{
    delete dxut_enum;
    dxut_enum = new (std::nothrow) DxutEnumeration;
    if (!dxut_enum) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return false;
    }
    dxut_enum->setup = true;
    dxut_enum->depthStencilPossibleList = {D3DFMT_D16, D3DFMT_D15S1, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D32};
    for (int ms = 0; ms <= ENG_D3D_MAX_MULTISAMPLE_TYPE; ms++)
        dxut_enum->multiSampleTypeList.push_back(ms);
    dxut_enum->presentIntervalList = {D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT, D3DPRESENT_INTERVAL_ONE,
                                      D3DPRESENT_INTERVAL_TWO,       D3DPRESENT_INTERVAL_THREE,   D3DPRESENT_INTERVAL_FOUR};
    return true;
}

HRESULT DxutEnumerationDoEnumerate(const EngDirect3D9 *d3d, DxutIsDeviceAcceptableCallback acceptable)
{
    if (NoEnum(ENG_FUNC))
        return E_FAIL;
    if (!d3d)
        d3d = eng_dx9_d3d_object;
    if (!d3d) {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "DxutEnumerationDoEnumerate", "No Direct 3D Object");
        return E_FAIL;
    }
    dxut_enum->d3d = d3d;
    dxut_enum->acceptable = acceptable;
    dxut_enum->enumerated = false;
    dxut_enum->adapterInfoList.clear();
    for (EngUInt32 ordinal = 0; ordinal < d3d->GetAdapterCount(); ordinal++) {
        const char *description = nullptr;
        if (!EngUtilsDX9_CheckResult(ENG_FUNC, "GetAdapterIdentifier", d3d->GetAdapterIdentifier(ordinal, &description)))
            continue;
        _DxutEnumAdapterInfo adapter = {};
        adapter.AdapterOrdinal = ordinal;
        EngSafeStrcpy(adapter.description, description, (int)sizeof(adapter.description));
        std::vector<D3DFORMAT> formats;
        EnumerateAdapterModes(d3d, &adapter, &formats);
        EnumerateDevices(d3d, &adapter, formats);
        if (adapter.deviceInfoList.empty())
            continue;
        dxut_enum->adapterInfoList.push_back(adapter);
    }
    LinkCombos();
    MakeDescriptionsUnique();
    dxut_enum->enumerated = true;
    return D3D_OK;
}

bool DxutEnumerationGetAdapterInfoListNew(const std::vector<_DxutEnumAdapterInfo> **list)
{
    if (NoEnum(ENG_FUNC) || !list)
        return false;
    *list = &dxut_enum->adapterInfoList;
    return true;
}

bool DxutEnumerationGetAdapterInfoNew(EngUInt32 ordinal, const _DxutEnumAdapterInfo **info)
{
    if (NoEnum(ENG_FUNC) || !info)
        return false;
    for (const _DxutEnumAdapterInfo &adapter : dxut_enum->adapterInfoList) {
        if (adapter.AdapterOrdinal == ordinal) {
            *info = &adapter;
            return true;
        }
    }
    return false;
}

bool DxutEnumerationIsDone()
{
    return dxut_enum && dxut_enum->enumerated;
}

void DxutEnumerationDestroy()
{
    delete dxut_enum;
    dxut_enum = nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Matching

namespace {

bool DesktopMode(EngUInt32 adapter, D3DDISPLAYMODE *mode)
{
    *mode = {0, 0, 0, D3DFMT_UNKNOWN};
    return dxut_enum->d3d && dxut_enum->d3d->GetAdapterDisplayMode(adapter, mode) == D3D_OK;
}

// The desktop format as full screen wants it: X8R8G8B8 when the desktop has fewer than 8 bits a channel.
D3DFORMAT FullScreenDesktopFormat(D3DFORMAT desktop)
{
    return DxutColorChannelBits(desktop) < 8 ? D3DFMT_X8R8G8B8 : desktop;
}

bool HasHardwareTnL(const _DxutEnumDeviceSettingsCombo &combo)
{
    return (combo.deviceInfo->Caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0;
}

bool AdapterHasMode(const _DxutEnumDeviceSettingsCombo &combo, EngUInt32 width, EngUInt32 height)
{
    for (const D3DDISPLAYMODE &mode : combo.adapterInfo->displayModeList) {
        if (mode.Format == combo.AdapterFormat && mode.Width == width && mode.Height == height)
            return true;
    }
    return false;
}

bool AdapterHasRefresh(const _DxutEnumDeviceSettingsCombo &combo, EngUInt32 refresh)
{
    for (const D3DDISPLAYMODE &mode : combo.adapterInfo->displayModeList) {
        if (mode.Format == combo.AdapterFormat && mode.RefreshRate == refresh)
            return true;
    }
    return false;
}

bool OffersMultisample(const _DxutEnumDeviceSettingsCombo &combo, int type, EngUInt32 quality)
{
    for (size_t i = 0; i < combo.multiSampleTypeList.size(); i++) {
        if (combo.multiSampleTypeList[i] == type && combo.multiSampleQualityList[i] >= quality)
            return true;
    }
    return false;
}

float FormatScore(D3DFORMAT have, D3DFORMAT want)
{
    if (have == want)
        return 1.0f;
    const float score = 0.9f - 0.2f * (float)abs(DxutColorChannelBits(have) - DxutColorChannelBits(want));
    return score > 0.0f ? score : 0.0f;
}

void MakeIdealSettings(_DXUTDeviceSettings *ideal, const _DXUTDeviceSettings &in, const _DXUTMatchOptions &o)
{
    *ideal = {};
    ideal->AdapterOrdinal = o.eAdapterOrdinal ? in.AdapterOrdinal : 0;
    ideal->DeviceType = o.eDeviceType ? in.DeviceType : D3DDEVTYPE_HAL;
    ideal->pp.Windowed = o.eWindowed ? in.pp.Windowed : 1;
    D3DDISPLAYMODE desktop;
    DesktopMode(ideal->AdapterOrdinal, &desktop);
    if (o.eAdapterFormat)
        ideal->AdapterFormat = in.AdapterFormat;
    else
        ideal->AdapterFormat = ideal->pp.Windowed ? desktop.Format : FullScreenDesktopFormat(desktop.Format);
    ideal->BehaviorFlags = o.eVertexProcessing ? in.BehaviorFlags : D3DCREATE_HARDWARE_VERTEXPROCESSING;
    if (o.eResolution) {
        ideal->pp.BackBufferWidth = in.pp.BackBufferWidth;
        ideal->pp.BackBufferHeight = in.pp.BackBufferHeight;
    } else {
        ideal->pp.BackBufferWidth = ideal->pp.Windowed ? 640 : desktop.Width;
        ideal->pp.BackBufferHeight = ideal->pp.Windowed ? 480 : desktop.Height;
    }
    ideal->pp.BackBufferFormat = o.eBackBufferFormat ? in.pp.BackBufferFormat : ideal->AdapterFormat;
    ideal->pp.BackBufferCount = o.eBackBufferCount ? in.pp.BackBufferCount : 1;
    ideal->pp.MultiSampleType = o.eMultiSample ? in.pp.MultiSampleType : D3DMULTISAMPLE_NONE;
    ideal->pp.MultiSampleQuality = o.eMultiSample ? in.pp.MultiSampleQuality : 0;
    ideal->pp.SwapEffect = o.eSwapEffect ? in.pp.SwapEffect : D3DSWAPEFFECT_DISCARD;
    if (o.eDepthFormat || o.eStencilFormat)
        ideal->pp.AutoDepthStencilFormat = in.pp.AutoDepthStencilFormat;
    else
        ideal->pp.AutoDepthStencilFormat = DxutColorChannelBits(ideal->pp.BackBufferFormat) < 8 ? D3DFMT_D16 : D3DFMT_D32;
    ideal->pp.Flags = o.ePresentFlags ? in.pp.Flags : D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL;
    ideal->pp.FullScreen_RefreshRateInHz = o.eRefreshRate ? in.pp.FullScreen_RefreshRateInHz : 0;
    if (o.ePresentInterval)
        ideal->pp.PresentationInterval = in.pp.PresentationInterval;
    else
        ideal->pp.PresentationInterval = ideal->pp.Windowed ? D3DPRESENT_INTERVAL_IMMEDIATE : D3DPRESENT_INTERVAL_DEFAULT;
}

bool DepthStencilMatches(const _DxutEnumDeviceSettingsCombo &combo, const _DXUTDeviceSettings &in, const _DXUTMatchOptions &o)
{
    const D3DFORMAT wanted = in.pp.AutoDepthStencilFormat;
    if (wanted == D3DFMT_UNKNOWN)
        return true;
    const bool keep_depth = o.eDepthFormat == DXUTMT_PRESERVE_INPUT;
    const bool keep_stencil = o.eStencilFormat == DXUTMT_PRESERVE_INPUT;
    if (keep_depth && keep_stencil)
        return Contains(combo.depthStencilFormatList, wanted);
    for (D3DFORMAT ds : combo.depthStencilFormatList) {
        if (keep_depth && DxutDepthBits(ds) == DxutDepthBits(wanted))
            return true;
        if (keep_stencil && DxutStencilBits(ds) == DxutStencilBits(wanted))
            return true;
    }
    return !keep_depth && !keep_stencil;
}

bool ComboMatchesOptions(const _DxutEnumDeviceSettingsCombo &combo, const _DXUTDeviceSettings &in, const _DXUTMatchOptions &o)
{
    const int keep = DXUTMT_PRESERVE_INPUT;
    if (o.eAdapterOrdinal == keep && combo.AdapterOrdinal != in.AdapterOrdinal)
        return false;
    if (o.eDeviceType == keep && combo.DeviceType != in.DeviceType)
        return false;
    if (o.eWindowed == keep && combo.Windowed != (in.pp.Windowed != 0))
        return false;
    if (o.eAdapterFormat == keep && combo.AdapterFormat != in.AdapterFormat)
        return false;
    if (o.eVertexProcessing == keep &&
        (in.BehaviorFlags & (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING)) && !HasHardwareTnL(combo))
        return false;
    if (o.eResolution == keep && !AdapterHasMode(combo, in.pp.BackBufferWidth, in.pp.BackBufferHeight))
        return false;
    if (o.eBackBufferFormat == keep && combo.BackBufferFormat != in.pp.BackBufferFormat)
        return false;
    if (o.eMultiSample == keep && !OffersMultisample(combo, in.pp.MultiSampleType, in.pp.MultiSampleQuality))
        return false;
    if (!DepthStencilMatches(combo, in, o))
        return false;
    if (o.eRefreshRate == keep && !AdapterHasRefresh(combo, in.pp.FullScreen_RefreshRateInHz))
        return false;
    if (o.ePresentInterval == keep && !Contains(combo.presentIntervalList, in.pp.PresentationInterval))
        return false;
    return true;
}

float ScoreCombo(const _DxutEnumDeviceSettingsCombo &combo, const _DXUTDeviceSettings &ideal, const D3DDISPLAYMODE &desktop)
{
    float score = 0.0f;
    if (combo.AdapterOrdinal == ideal.AdapterOrdinal)
        score += 1000.0f;
    if (combo.DeviceType == ideal.DeviceType)
        score += 100.0f;
    if (combo.DeviceType == D3DDEVTYPE_HAL)
        score += 0.1f;
    if (combo.Windowed == (ideal.pp.Windowed != 0))
        score += 10.0f;
    score += FormatScore(combo.AdapterFormat, ideal.AdapterFormat);
    if (!combo.Windowed && combo.AdapterFormat == FullScreenDesktopFormat(desktop.Format))
        score += 0.1f;
    if ((ideal.BehaviorFlags & (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING)) && HasHardwareTnL(combo))
        score += 1.0f;
    if (HasHardwareTnL(combo))
        score += 0.1f;
    if (AdapterHasMode(combo, ideal.pp.BackBufferWidth, ideal.pp.BackBufferHeight))
        score += 1.0f;
    score += FormatScore(combo.BackBufferFormat, ideal.pp.BackBufferFormat);
    if (combo.BackBufferFormat == combo.AdapterFormat)
        score += 0.1f;
    if (OffersMultisample(combo, ideal.pp.MultiSampleType, ideal.pp.MultiSampleQuality))
        score += 1.0f;
    if (Contains(combo.depthStencilFormatList, ideal.pp.AutoDepthStencilFormat))
        score += 1.0f;
    if (AdapterHasRefresh(combo, ideal.pp.FullScreen_RefreshRateInHz))
        score += 1.0f;
    if (Contains(combo.presentIntervalList, ideal.pp.PresentationInterval))
        score += 1.0f;
    return score;
}

void FindClosestResolution(const _DxutEnumDeviceSettingsCombo &combo, EngUInt32 width, EngUInt32 height,
                           EngUInt32 *out_width, EngUInt32 *out_height)
{
    *out_width = width;
    *out_height = height;
    if (combo.Windowed) {
        D3DDISPLAYMODE desktop;
        if (!DesktopMode(combo.AdapterOrdinal, &desktop))
            return;
        *out_width = std::min(width, desktop.Width);
        *out_height = std::min(height, desktop.Height);
        return;
    }
    long best = -1;
    for (const D3DDISPLAYMODE &mode : combo.adapterInfo->displayModeList) {
        if (mode.Format != combo.AdapterFormat)
            continue;
        const long cost = labs((long)mode.Width - (long)width) + labs((long)mode.Height - (long)height);
        if (best >= 0 && cost >= best)
            continue;
        best = cost;
        *out_width = mode.Width;
        *out_height = mode.Height;
        if (cost == 0)
            return;
    }
}

EngUInt32 ValidBehaviour(const _DxutEnumDeviceSettingsCombo &combo, const _DXUTDeviceSettings &in, int rule)
{
    const EngUInt32 by_caps = HasHardwareTnL(combo) ? D3DCREATE_HARDWARE_VERTEXPROCESSING : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    const EngUInt32 kinds = D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING;
    if (rule == DXUTMT_PRESERVE_INPUT)
        return in.BehaviorFlags;
    if (rule == DXUTMT_IGNORE_INPUT)
        return by_caps;
    EngUInt32 flags = in.BehaviorFlags;
    if ((flags & (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING)) && !HasHardwareTnL(combo))
        flags = (flags & ~kinds) | D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    if (!(flags & kinds))
        flags |= by_caps;
    return flags;
}

void ValidMultisample(const _DxutEnumDeviceSettingsCombo &combo, const _DXUTDeviceSettings *in, int rule,
                      D3DPRESENT_PARAMETERS *pp)
{
    pp->MultiSampleType = D3DMULTISAMPLE_NONE;
    pp->MultiSampleQuality = 0;
    if (!in || in->pp.SwapEffect != D3DSWAPEFFECT_DISCARD || rule == DXUTMT_IGNORE_INPUT)
        return;
    if (rule == DXUTMT_PRESERVE_INPUT) {
        pp->MultiSampleType = in->pp.MultiSampleType;
        pp->MultiSampleQuality = in->pp.MultiSampleQuality;
        return;
    }
    int best = -1;
    for (size_t i = 0; i < combo.multiSampleTypeList.size(); i++) {
        const int type = combo.multiSampleTypeList[i];
        const int distance = abs(type - (int)in->pp.MultiSampleType);
        if (best >= 0 && distance >= abs(combo.multiSampleTypeList[(size_t)best] - (int)in->pp.MultiSampleType))
            continue;
        best = (int)i;
    }
    if (best < 0)
        return;
    pp->MultiSampleType = (D3DMULTISAMPLE_TYPE)combo.multiSampleTypeList[(size_t)best];
    pp->MultiSampleQuality = std::min(combo.multiSampleQualityList[(size_t)best] - 1, in->pp.MultiSampleQuality);
}

void ValidDepthStencil(const _DxutEnumDeviceSettingsCombo &combo, const _DXUTDeviceSettings &in, const _DXUTMatchOptions &o,
                       D3DPRESENT_PARAMETERS *pp)
{
    const int back_buffer_bits = DxutColorChannelBits(combo.BackBufferFormat);
    const int in_depth = DxutDepthBits(in.pp.AutoDepthStencilFormat);
    const int in_stencil = DxutStencilBits(in.pp.AutoDepthStencilFormat);
    long best_cost = -1;
    D3DFORMAT best = D3DFMT_UNKNOWN;
    for (D3DFORMAT ds : combo.depthStencilFormatList) {
        const int depth = DxutDepthBits(ds), stencil = DxutStencilBits(ds);
        long cost;
        if (o.eDepthFormat == DXUTMT_PRESERVE_INPUT)
            cost = depth == in_depth ? 0 : 10000;
        else if (o.eDepthFormat == DXUTMT_IGNORE_INPUT)
            cost = labs((long)depth - 4L * back_buffer_bits);
        else
            cost = labs((long)depth - in_depth);
        if (o.eStencilFormat == DXUTMT_PRESERVE_INPUT)
            cost += stencil == in_stencil ? 0 : 10000;
        else if (o.eStencilFormat == DXUTMT_IGNORE_INPUT)
            cost += stencil;
        else
            cost += labs((long)stencil - in_stencil);
        if (best_cost >= 0 && cost >= best_cost)
            continue;
        best_cost = cost;
        best = ds;
    }
    pp->EnableAutoDepthStencil = best != D3DFMT_UNKNOWN ? 1 : 0;
    pp->AutoDepthStencilFormat = best;
}

EngUInt32 ValidRefresh(const _DxutEnumDeviceSettingsCombo &combo, const _DXUTDeviceSettings &in, int rule,
                       const D3DPRESENT_PARAMETERS &pp)
{
    if (combo.Windowed)
        return 0;
    if (rule == DXUTMT_PRESERVE_INPUT)
        return in.pp.FullScreen_RefreshRateInHz;
    D3DDISPLAYMODE desktop;
    DesktopMode(combo.AdapterOrdinal, &desktop);
    const EngUInt32 target = rule == DXUTMT_IGNORE_INPUT ? desktop.RefreshRate : in.pp.FullScreen_RefreshRateInHz;
    if (target == 0)
        return 0;
    EngUInt32 chosen = 0;
    long best = -1;
    for (const D3DDISPLAYMODE &mode : combo.adapterInfo->displayModeList) {
        if (mode.Format != combo.AdapterFormat || mode.Width != pp.BackBufferWidth || mode.Height != pp.BackBufferHeight)
            continue;
        const long distance = labs((long)mode.RefreshRate - (long)target);
        if (best >= 0 && distance >= best)
            continue;
        best = distance;
        chosen = mode.RefreshRate;
        if (distance == 0)
            break;
    }
    return chosen;
}

void MakeValidSettings(_DXUTDeviceSettings *valid, const _DxutEnumDeviceSettingsCombo &combo, const _DXUTDeviceSettings *in_given,
                       const _DXUTMatchOptions &o)
{
    const _DXUTDeviceSettings empty = {};
    const _DXUTDeviceSettings &in = in_given ? *in_given : empty;
    _DXUTDeviceSettings v = {};
    v.AdapterOrdinal = combo.AdapterOrdinal;
    v.DeviceType = combo.DeviceType;
    v.AdapterFormat = combo.AdapterFormat;
    v.pp.BackBufferFormat = combo.BackBufferFormat;
    v.pp.Windowed = combo.Windowed ? 1 : 0;
    v.pp.hDeviceWindow = in.pp.hDeviceWindow;
    v.BehaviorFlags = ValidBehaviour(combo, in, o.eVertexProcessing);

    if (o.eResolution == DXUTMT_PRESERVE_INPUT) {
        v.pp.BackBufferWidth = in.pp.BackBufferWidth;
        v.pp.BackBufferHeight = in.pp.BackBufferHeight;
    } else {
        EngUInt32 width, height;
        if (o.eResolution == DXUTMT_CLOSEST_TO_INPUT && in.pp.BackBufferWidth != 0) {
            width = in.pp.BackBufferWidth;
            height = in.pp.BackBufferHeight;
        } else if (combo.Windowed) {
            width = 640;
            height = 480;
        } else {
            D3DDISPLAYMODE desktop;
            DesktopMode(combo.AdapterOrdinal, &desktop);
            width = desktop.Width;
            height = desktop.Height;
        }
        FindClosestResolution(combo, width, height, &v.pp.BackBufferWidth, &v.pp.BackBufferHeight);
    }

    if (o.eBackBufferCount == DXUTMT_PRESERVE_INPUT)
        v.pp.BackBufferCount = in.pp.BackBufferCount;
    else if (o.eBackBufferCount == DXUTMT_CLOSEST_TO_INPUT)
        v.pp.BackBufferCount = std::clamp(in.pp.BackBufferCount, 1u, 3u);
    else
        v.pp.BackBufferCount = 1;

    ValidMultisample(combo, in_given, o.eMultiSample, &v.pp);

    if (o.eSwapEffect == DXUTMT_PRESERVE_INPUT)
        v.pp.SwapEffect = in.pp.SwapEffect;
    else if (o.eSwapEffect == DXUTMT_CLOSEST_TO_INPUT && in.pp.SwapEffect >= 1 && in.pp.SwapEffect <= 3)
        v.pp.SwapEffect = in.pp.SwapEffect;
    else
        v.pp.SwapEffect = D3DSWAPEFFECT_DISCARD;

    ValidDepthStencil(combo, in, o, &v.pp);

    const EngUInt32 discard_ds = v.pp.EnableAutoDepthStencil ? D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL : 0;
    if (o.ePresentFlags == DXUTMT_PRESERVE_INPUT)
        v.pp.Flags = in.pp.Flags;
    else if (o.ePresentFlags == DXUTMT_CLOSEST_TO_INPUT)
        v.pp.Flags = in.pp.Flags | discard_ds;
    else
        v.pp.Flags = discard_ds;

    v.pp.FullScreen_RefreshRateInHz = ValidRefresh(combo, in, o.eRefreshRate, v.pp);

    if (o.ePresentInterval == DXUTMT_PRESERVE_INPUT ||
        (o.ePresentInterval == DXUTMT_CLOSEST_TO_INPUT && Contains(combo.presentIntervalList, in.pp.PresentationInterval)))
        v.pp.PresentationInterval = in.pp.PresentationInterval;
    else
        v.pp.PresentationInterval = combo.Windowed ? D3DPRESENT_INTERVAL_IMMEDIATE : D3DPRESENT_INTERVAL_DEFAULT;
    *valid = v;
}

} // namespace

HRESULT DXUTFindValidDeviceSettings(_DXUTDeviceSettings *out, const _DXUTDeviceSettings *in, const _DXUTMatchOptions *options)
{
    if (!out) {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "DXUTFindValidDeviceSettings", "Invalid Arguments");
        return E_FAIL;
    }
    if (!DxutEnumerationIsDone()) {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "DXUTFindValidDeviceSettings", "Enumeration not done");
        return E_FAIL;
    }
    const std::vector<_DxutEnumAdapterInfo> *adapters = nullptr;
    if (!DxutEnumerationGetAdapterInfoListNew(&adapters)) {
        DebugError(ENG_FUNC, "Could not get adapter list");
        return E_FAIL;
    }
    const _DXUTMatchOptions no_rules = {};
    const _DXUTMatchOptions &rules = options ? *options : no_rules;
    const _DXUTDeviceSettings no_input = {};
    _DXUTDeviceSettings ideal;
    MakeIdealSettings(&ideal, in ? *in : no_input, rules);

    const _DxutEnumDeviceSettingsCombo *winner = nullptr;
    float best_score = -1.0f;
    for (const _DxutEnumAdapterInfo &adapter : *adapters) {
        D3DDISPLAYMODE desktop;
        DesktopMode(adapter.AdapterOrdinal, &desktop);
        for (const _DxutEnumDeviceInfo &device : adapter.deviceInfoList) {
            for (const _DxutEnumDeviceSettingsCombo &combo : device.deviceSettingsComboList) {
                if (combo.Windowed && combo.AdapterFormat != desktop.Format)
                    continue;
                if (!ComboMatchesOptions(combo, in ? *in : no_input, rules))
                    continue;
                const float score = ScoreCombo(combo, ideal, desktop);
                if (score > best_score) {
                    best_score = score;
                    winner = &combo;
                }
            }
        }
    }
    if (!winner)
        return DXUTERR_NOCOMPATIBLEDEVICES;
    MakeValidSettings(out, *winner, in, rules);
    return D3D_OK;
}

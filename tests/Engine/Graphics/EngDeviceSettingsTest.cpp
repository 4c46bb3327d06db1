// The device-settings search over described machines: which mode, format, depth buffer and anti-aliasing a
// request ends up with, and the result check's reports.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Engine/Core/EngDebug.h"
#include "Engine/Graphics/DX9/EngDeviceSettingsDX9.h"
#include "Engine/Graphics/DX9/EngDirect3DDX9.h"
#include "Engine/Graphics/DX9/EngUtilsDX9.h"
#include "Support/GLTestContext.h"

namespace {


EngD3DAdapterModel Adapter()
{
    EngD3DAdapterModel adapter;
    adapter.desktop = {1024, 768, 60, D3DFMT_X8R8G8B8};
    adapter.modes = {{800, 600, 60, D3DFMT_X8R8G8B8},
                     {1024, 768, 60, D3DFMT_X8R8G8B8},
                     {1024, 768, 75, D3DFMT_X8R8G8B8},
                     {1280, 1024, 60, D3DFMT_X8R8G8B8},
                     {640, 480, 60, D3DFMT_R5G6B5}};
    adapter.back_buffer_formats = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5};
    adapter.multisample_levels[2] = 1;
    adapter.multisample_levels[4] = 2;
    return adapter;
}

// The request the device makes: adapter and windowed kept, size closest, anti-aliasing kept.
void Request(bool windowed, EngUInt32 w, EngUInt32 h, int multisample, EngUInt32 quality, _DXUTDeviceSettings *in,
             _DXUTMatchOptions *rules)
{
    *in = {};
    in->pp.Windowed = windowed ? 1 : 0;
    in->pp.BackBufferWidth = w;
    in->pp.BackBufferHeight = h;
    in->pp.MultiSampleType = (D3DMULTISAMPLE_TYPE)multisample;
    in->pp.MultiSampleQuality = quality;
    if (multisample)
        in->pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    *rules = {};
    rules->eAdapterOrdinal = DXUTMT_PRESERVE_INPUT;
    rules->eWindowed = DXUTMT_PRESERVE_INPUT;
    rules->eResolution = DXUTMT_CLOSEST_TO_INPUT;
    rules->eMultiSample = DXUTMT_PRESERVE_INPUT;
}

class DeviceSettings : public ::testing::Test {
protected:
    void Enumerate()
    {
        ASSERT_TRUE(DxutEnumerationInit());
        ASSERT_EQ(DxutEnumerationDoEnumerate(&machine, nullptr), D3D_OK);
        ASSERT_TRUE(DxutEnumerationIsDone());
    }
    void TearDown() override { DxutEnumerationDestroy(); }

    HRESULT Find(bool windowed, EngUInt32 w, EngUInt32 h, int multisample = 0, EngUInt32 quality = 0)
    {
        _DXUTDeviceSettings in;
        _DXUTMatchOptions rules;
        Request(windowed, w, h, multisample, quality, &in, &rules);
        return DXUTFindValidDeviceSettings(&found, &in, &rules);
    }

    EngDirect3D9 machine;
    _DXUTDeviceSettings found = {};
};

} // namespace

// Full screen takes the nearest mode the adapter has; a window larger than the desktop is clamped to it.
TEST_F(DeviceSettings, SizesComeToTheNearestFullScreenModeOrWithinTheDesktop)
{
    machine.adapters.push_back(Adapter());
    Enumerate();
    struct Case {
        bool windowed;
        EngUInt32 w, h, found_w, found_h;
    };
    for (Case c : {Case{false, 1000, 700, 1024, 768}, {false, 810, 590, 800, 600}, {true, 1600, 700, 1024, 700}}) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        ASSERT_EQ(Find(c.windowed, c.w, c.h), D3D_OK);
        EXPECT_EQ(found.pp.BackBufferWidth, c.found_w);
        EXPECT_EQ(found.pp.BackBufferHeight, c.found_h);
        EXPECT_EQ(found.pp.Windowed, c.windowed ? 1 : 0);
    }
    // The window: the desktop's format, no wait for the retrace, no refresh rate of its own.
    EXPECT_EQ(found.AdapterFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(found.pp.PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    EXPECT_EQ(found.pp.FullScreen_RefreshRateInHz, 0u);
}

TEST_F(DeviceSettings, FullScreenSixteenBitRequestGetsASixteenBitAdapterFormat)
{
    machine.adapters.push_back(Adapter());
    Enumerate();
    _DXUTDeviceSettings in;
    _DXUTMatchOptions rules;
    Request(false, 640, 480, 0, 0, &in, &rules);
    in.AdapterFormat = D3DFMT_R5G6B5;
    rules.eAdapterFormat = DXUTMT_CLOSEST_TO_INPUT;
    ASSERT_EQ(DXUTFindValidDeviceSettings(&in, &in, &rules), D3D_OK); // in and out the same record
    EXPECT_EQ(in.AdapterFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(in.pp.BackBufferFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(in.pp.BackBufferWidth, 640u);
    // A 16-bit back buffer wants a 16-bit depth buffer.
    EXPECT_EQ(in.pp.AutoDepthStencilFormat, D3DFMT_D16);
}

TEST_F(DeviceSettings, AntiAliasingIsKeptOrNothingMatches)
{
    machine.adapters.push_back(Adapter());
    Enumerate();
    ASSERT_EQ(Find(true, 640, 480, 4, 1), D3D_OK);
    EXPECT_EQ(found.pp.MultiSampleType, 4);
    EXPECT_EQ(found.pp.MultiSampleQuality, 1u);
    EXPECT_EQ(Find(true, 640, 480, 8, 0), DXUTERR_NOCOMPATIBLEDEVICES);
    EXPECT_EQ(Find(true, 640, 480, 2, 3), DXUTERR_NOCOMPATIBLEDEVICES); // type 2 has one quality level only
}

TEST_F(DeviceSettings, DepthBufferIsTheCheapestOfferedFormatTheFirstOfEqualCostsOrNone)
{
    struct Case {
        std::vector<D3DFORMAT> offered;
        D3DFORMAT chosen;
    };
    // 32 bits are wanted: D24X8 costs 8, D16 and D24S8 cost 16.
    const Case cases[] = {{{D3DFMT_D16, D3DFMT_D24S8, D3DFMT_D24X8}, D3DFMT_D24X8},
                          {{D3DFMT_D16, D3DFMT_D24S8}, D3DFMT_D16},
                          {{}, D3DFMT_UNKNOWN}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.offered.size());
        EngD3DAdapterModel adapter = Adapter();
        adapter.depth_formats = c.offered;
        machine.adapters = {adapter};
        Enumerate();
        ASSERT_EQ(Find(true, 640, 480), D3D_OK);
        const bool depth = c.chosen != D3DFMT_UNKNOWN;
        EXPECT_EQ(found.pp.AutoDepthStencilFormat, c.chosen);
        EXPECT_EQ(found.pp.EnableAutoDepthStencil, depth ? 1 : 0);
        EXPECT_EQ(found.pp.Flags, depth ? (EngUInt32)D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL : 0u);
    }
}

TEST_F(DeviceSettings, ReferenceDeviceIsTakenWhenItIsTheOnlyOne)
{
    EngD3DAdapterModel adapter = Adapter();
    adapter.device_types[D3DDEVTYPE_HAL] = false;
    adapter.device_types[D3DDEVTYPE_REF] = true;
    adapter.hardware_tnl = false;
    machine.adapters.push_back(adapter);
    Enumerate();
    ASSERT_EQ(Find(true, 640, 480), D3D_OK);
    EXPECT_EQ(found.DeviceType, D3DDEVTYPE_REF);
    EXPECT_EQ(found.BehaviorFlags, D3DCREATE_SOFTWARE_VERTEXPROCESSING);
}

TEST_F(DeviceSettings, AdaptersSharingADescriptionAreNumbered)
{
    EngD3DAdapterModel first = Adapter(), second = Adapter();
    strcpy(first.description, "Mesa Card");
    strcpy(second.description, "MESA CARD");
    machine.adapters = {first, second};
    Enumerate();
    const std::vector<_DxutEnumAdapterInfo> *list = nullptr;
    ASSERT_TRUE(DxutEnumerationGetAdapterInfoListNew(&list));
    ASSERT_EQ(list->size(), 2u);
    EXPECT_STREQ((*list)[0].szUniqueDescription, "Mesa Card (#0)");
    EXPECT_STREQ((*list)[1].szUniqueDescription, "MESA CARD (#1)");

    machine.adapters.resize(1);
    Enumerate();
    ASSERT_TRUE(DxutEnumerationGetAdapterInfoListNew(&list));
    EXPECT_STREQ((*list)[0].szUniqueDescription, "Mesa Card");
}

TEST_F(DeviceSettings, AdapterRuleKeepsTheAskedAdapter)
{
    EngD3DAdapterModel first = Adapter(), second = Adapter();
    second.multisample_levels[8] = 1;
    machine.adapters = {first, second};
    Enumerate();
    ASSERT_EQ(Find(true, 640, 480), D3D_OK);
    EXPECT_EQ(found.AdapterOrdinal, 0u);
    // Only the second adapter offers 8 samples, but the request keeps adapter 0.
    EXPECT_EQ(Find(true, 640, 480, 8, 0), DXUTERR_NOCOMPATIBLEDEVICES);
}

TEST_F(DeviceSettings, SearchRefusesBadCallsAndRunsOnlyAfterEnumeration)
{
    machine.adapters.push_back(Adapter());
    EXPECT_EQ(Find(true, 640, 480), E_FAIL);
    EXPECT_TRUE(GLTestLogContains("Enumeration not done"));
    Enumerate();
    EXPECT_EQ(DXUTFindValidDeviceSettings(nullptr, nullptr, nullptr), E_FAIL);
    EXPECT_TRUE(GLTestLogContains("Invalid Arguments"));
    // No rules at all: a 640 x 480 window on the desktop format.
    ASSERT_EQ(DXUTFindValidDeviceSettings(&found, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(found.pp.Windowed, 1);
    EXPECT_EQ(found.pp.BackBufferWidth, 640u);
    EXPECT_EQ(found.BehaviorFlags, D3DCREATE_HARDWARE_VERTEXPROCESSING);
}

TEST_F(DeviceSettings, ModesOutsideTheKnownFormatsAreNotListed)
{
    EngD3DAdapterModel adapter = Adapter();
    adapter.modes.push_back({1920, 1080, 60, D3DFMT_A2R10G10B10});
    machine.adapters.push_back(adapter);
    Enumerate();
    const _DxutEnumAdapterInfo *info = nullptr;
    ASSERT_TRUE(DxutEnumerationGetAdapterInfoNew(0, &info));
    ASSERT_EQ(info->displayModeList.size(), 5u);
    // Sorted by width, height, format, refresh.
    EXPECT_EQ(info->displayModeList[0].Width, 640u);
    EXPECT_EQ(info->displayModeList[2].RefreshRate, 60u);
    EXPECT_EQ(info->displayModeList[3].RefreshRate, 75u);
    EXPECT_FALSE(DxutEnumerationGetAdapterInfoNew(7, &info));
}

TEST(EngUtilsDX9, ResultCheckPassesOnlyExactSuccessAndLogsTheRest)
{
    EXPECT_TRUE(EngUtilsDX9_CheckResult("Test", "Call", D3D_OK));
    EXPECT_FALSE(EngUtilsDX9_CheckResult("Test", "Call", D3DOK_NOAUTOGEN));
    EXPECT_TRUE(GLTestLogContains("Call: This is a success code."));
    EXPECT_FALSE(EngUtilsDX9_CheckResult("Test", "Present", D3DERR_INVALIDCALL));
    EXPECT_TRUE(GLTestLogContains("Present: The method call is invalid."));
    EXPECT_FALSE(EngUtilsDX9_CheckResult("Test", "Odd", (HRESULT)0x12345678));
    EXPECT_TRUE(GLTestLogContains("Odd: Unknown error <0x12345678>"));
}

TEST(EngUtilsDX9, BitDepthComesFromTheKnownFormatTable)
{
    bool alpha = false;
    EXPECT_EQ(EngUtilsDX9_GetBitdepthFromFormat(D3DFMT_A8R8G8B8, &alpha, true), 32);
    EXPECT_TRUE(alpha);
    EXPECT_EQ(EngUtilsDX9_GetBitdepthFromFormat(D3DFMT_R5G6B5, &alpha, true), 16);
    EXPECT_FALSE(alpha);
    EXPECT_EQ(EngUtilsDX9_GetBitdepthFromFormat(D3DFMT_A2R10G10B10, nullptr, true), 0);
    EXPECT_TRUE(GLTestLogContains("Unrecognised format [35]"));
}

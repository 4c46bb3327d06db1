// Display modes listed, sorted and matched on described machines, and the anti-aliasing choices' texts.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <string>
#include <vector>

#include "Engine/Core/EngProgram.h"
#include "Engine/Core/PC/EngWindow_PC.h"
#include "Engine/Graphics/DX9/EngDirect3DDX9.h"
#include "Engine/Graphics/DX9/EngUtilsDX9.h"
#include "Engine/Graphics/EngResModes.h"
#include "GraphicsTestUtil.h"

namespace {

class ResModes : public ::testing::Test {
protected:
    void SetUp() override
    {
        adapter.desktop = {1920, 1080, 60, D3DFMT_X8R8G8B8};
        adapter.modes.clear();
        ClearLogMark();
    }
    void TearDown() override { EngDirect3DDX9SetModel(nullptr); }
    void Describe()
    {
        EngDirect3D9 machine;
        machine.adapters.push_back(adapter);
        EngDirect3DDX9SetModel(&machine);
    }
    std::vector<std::string> Texts(const _EngResMode *mode)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < mode->num_aa; i++)
            texts.push_back(EngResModesGetMultiSampleText_DX9(&mode->aa[i]));
        return texts;
    }

    EngD3DAdapterModel adapter;
};

TEST_F(ResModes, ModesOfOneDepthAreListedOnceAndSortedDeepestWidestTallestFirst)
{
    adapter.modes = {{1024, 768, 60, D3DFMT_X8R8G8B8}, {1024, 768, 60, D3DFMT_A8R8G8B8},
                     {800, 600, 60, D3DFMT_X8R8G8B8},  {1024, 768, 60, D3DFMT_R5G6B5},
                     {1024, 600, 60, D3DFMT_X8R8G8B8}, {640, 480, 60, D3DFMT_X1R5G5B5},
                     {1280, 720, 60, D3DFMT_A2R10G10B10}};
    Describe();
    EngResModes modes;
    ASSERT_TRUE(modes.IsSetup());
    const int expected[][3] = {{1024, 768, 32}, {1024, 600, 32}, {800, 600, 32}, {1024, 768, 16}, {640, 480, 16}};
    ASSERT_EQ(5, modes.GetNumModes()) << "same size and depth in two formats is one mode; unknown formats are left out";
    for (int i = 0; i < 5; i++) {
        const _EngResMode *mode = modes.GetMode(i);
        ASSERT_NE(nullptr, mode);
        EXPECT_EQ(expected[i][0], mode->width) << i;
        EXPECT_EQ(expected[i][1], mode->height) << i;
        EXPECT_EQ(expected[i][2], mode->bit_depth) << i;
    }
    EXPECT_EQ(D3DFMT_X8R8G8B8, modes.GetMode(0)->format) << "the first format of the table keeps the entry";
    EXPECT_EQ(nullptr, modes.GetMode(5));
    EXPECT_TRUE(LogHas("Bad mode num 5 (5)."));
    EXPECT_EQ(nullptr, modes.GetMode(-1));

    ClearLogMark();
    EngUtilsDX9_ReleaseD3D();
    EXPECT_TRUE(LogHas("Not setup.")) << "the shared object was released after the enumeration";
}

TEST_F(ResModes, ClosestModeWeighsDepthTenThousandTimesTheSize)
{
    adapter.modes = {{1024, 768, 60, D3DFMT_X8R8G8B8}, {800, 600, 60, D3DFMT_X8R8G8B8}, {320, 240, 60, D3DFMT_R5G6B5}};
    Describe();
    EngResModes modes;
    int w = 1000, h = 700, depth = 32, refresh = 85;
    ASSERT_TRUE(modes.GetClosestFullScreenModeToMode(&w, &h, &depth, &refresh));
    EXPECT_EQ(1024, w);
    EXPECT_EQ(768, h);
    EXPECT_EQ(32, depth);
    EXPECT_EQ(0, refresh);

    w = 800, h = 600, depth = 16;
    ASSERT_TRUE(modes.GetClosestFullScreenModeToMode(&w, &h, &depth));
    EXPECT_EQ(320, w) << "a 16-bit mode of any size beats a 32-bit mode of the exact size";
    EXPECT_EQ(240, h);
    EXPECT_EQ(16, depth);

    ClearLogMark();
    EXPECT_FALSE(modes.GetClosestFullScreenModeToMode(&w, nullptr, &depth));
    EXPECT_TRUE(LogHas("Invalid Parameters"));
}

TEST_F(ResModes, EqualCostsKeepTheFirstInListOrder)
{
    adapter.modes = {{900, 700, 60, D3DFMT_X8R8G8B8}, {1100, 700, 60, D3DFMT_X8R8G8B8}};
    Describe();
    EngResModes modes;
    int w = 1000, h = 700, depth = 32;
    ASSERT_TRUE(modes.GetClosestFullScreenModeToMode(&w, &h, &depth));
    EXPECT_EQ(1100, w) << "the list runs widest first";
}

TEST_F(ResModes, AntiAliasingEntriesFollowTypesThenQualities)
{
    adapter.modes = {{1024, 768, 60, D3DFMT_X8R8G8B8}};
    adapter.multisample_levels[2] = 3;
    adapter.multisample_levels[4] = 2;
    adapter.multisample_levels[1] = 5; // not more levels than the 5 entries of types 2 to 15
    Describe();
    EngResModes modes;
    ASSERT_TRUE(modes.IsSetup());
    const std::vector<std::string> expected = {"Off", "2x2", "2x2 Level 2", "2x2 Level 3", "4x4", "4x4 Level 2"};
    EXPECT_EQ(expected, Texts(modes.GetMode(0)));
    EXPECT_EQ(expected, Texts(modes.GetWindowedMode()));
}

TEST_F(ResModes, NonMaskableLevelsComeLastAndTwentyEntriesAtMost)
{
    adapter.modes = {{1024, 768, 60, D3DFMT_X8R8G8B8}};
    adapter.multisample_levels[1] = 3;
    Describe();
    {
        EngResModes modes;
        const std::vector<std::string> expected = {"Off", "Level 1", "Level 2", "Level 3"};
        EXPECT_EQ(expected, Texts(modes.GetMode(0)));
    }
    adapter.multisample_levels[2] = 12;
    adapter.multisample_levels[8] = 12;
    adapter.multisample_levels[1] = 40;
    Describe();
    EngResModes modes;
    const _EngResMode *mode = modes.GetMode(0);
    ASSERT_EQ(ENG_RES_MODE_MAX_AA, mode->num_aa);
    EXPECT_EQ(8, mode->aa[19].type);
    EXPECT_EQ(6, mode->aa[19].quality);
}

TEST_F(ResModes, MultiSampleTextsForEveryKindOfEntry)
{
    const _EngResModeAA entries[] = {{0, 0}, {1, 0}, {1, 4}, {16, 0}, {16, 1}, {17, 0}, {-1, 0}};
    const char *expected[] = {"Off", "Level 1", "Level 5", "16x16", "16x16 Level 2", "?", "?"};
    for (int i = 0; i < 7; i++)
        EXPECT_STREQ(expected[i], EngResModesGetMultiSampleText_DX9(&entries[i])) << i;
    EXPECT_STREQ("(error)", EngResModesGetMultiSampleText_DX9(nullptr));
}

TEST_F(ResModes, WindowedModeIsTheDesktopOrAnEmptyThirtyTwoBitMode)
{
    auto expect_windowed = [this](int width, int height, int bit_depth, int format) {
        Describe();
        EngResModes modes;
        const _EngResMode *windowed = modes.GetWindowedMode();
        ASSERT_NE(nullptr, windowed);
        EXPECT_EQ(width, windowed->width);
        EXPECT_EQ(height, windowed->height);
        EXPECT_EQ(bit_depth, windowed->bit_depth);
        EXPECT_EQ(format, windowed->format);
        EXPECT_EQ(1, windowed->num_aa);
    };
    adapter.modes = {{800, 600, 60, D3DFMT_X8R8G8B8}};
    adapter.desktop = {1280, 800, 60, D3DFMT_R5G6B5};
    expect_windowed(1280, 800, 16, D3DFMT_R5G6B5);
    adapter.desktop_known = false;
    expect_windowed(0, 0, 32, 0);
}

TEST_F(ResModes, MachineWithoutModesAnswersNotSetUp)
{
    Describe();
    EngResModes modes;
    EXPECT_TRUE(LogHas("No modes."));
    EXPECT_FALSE(modes.IsSetup());
    ClearLogMark();
    EXPECT_EQ(0, modes.GetNumModes());
    EXPECT_EQ(nullptr, modes.GetMode(0));
    EXPECT_EQ(nullptr, modes.GetWindowedMode());
    EXPECT_EQ(3, LogCountSinceMark("Not setup."));
    int w = 640, h = 480, depth = 32;
    EXPECT_FALSE(modes.GetClosestFullScreenModeToMode(&w, &h, &depth));
    EXPECT_TRUE(LogHas("Modes not setup"));
    EXPECT_EQ(640, w);
    EXPECT_FALSE(modes.GetWindowedModeDetails(&w, &h, &depth));
}

TEST_F(ResModes, FullListKeepsTheFirst512AndNotesTheRest)
{
    for (int i = 0; i < 600; i++)
        adapter.modes.push_back({(EngUInt32)(640 + i), 480, 60, D3DFMT_X8R8G8B8});
    adapter.modes.push_back({320, 200, 60, D3DFMT_R5G6B5});
    Describe();
    EngResModes modes;
    ASSERT_EQ(ENG_RES_MODES_MAX, modes.GetNumModes());
    EXPECT_TRUE(LogHas("Not all modes were added."));
    EXPECT_EQ(640 + 511, modes.GetMode(0)->width);
    EXPECT_EQ(32, modes.GetMode(ENG_RES_MODES_MAX - 1)->bit_depth) << "the 16-bit mode did not fit";
}

TEST_F(ResModes, NoDeviceTypeMeansNoList)
{
    adapter.modes = {{800, 600, 60, D3DFMT_X8R8G8B8}};
    Describe();
    const _EngDeviceType kept = eng_main_device_type;
    eng_main_device_type = 0;
    EngResModes modes;
    eng_main_device_type = kept;
    EXPECT_TRUE(LogHas("Device type not set"));
    EXPECT_FALSE(modes.IsSetup());
}

TEST_F(ResModes, WindowedDetailsGiveTheDesktopSizeAndTheDesktopDepth)
{
    ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_VIDEO));
    adapter.modes = {{800, 600, 60, D3DFMT_X8R8G8B8}};
    adapter.desktop = {1280, 800, 60, D3DFMT_R5G6B5};
    Describe();
    int desktop_w = 0, desktop_h = 0;
    ASSERT_TRUE(EngMiscGetDesktopDimensions_PC(nullptr, nullptr, &desktop_w, &desktop_h, false, true));
    EngResModes modes;
    int w = 0, h = 0, depth = 0, refresh = 60;
    ASSERT_TRUE(modes.GetWindowedModeDetails(&w, &h, &depth, &refresh));
    EXPECT_EQ(desktop_w, w);
    EXPECT_EQ(desktop_h, h);
    EXPECT_EQ(16, depth);
    EXPECT_EQ(0, refresh);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace

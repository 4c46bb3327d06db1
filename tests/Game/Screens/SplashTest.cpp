// The splash on a driven clock in a real context: its set-up refusals, its length, a second start, an abort,
// and the pixels of its fade and of its sparks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <string>

#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngTexture.h"
#include "Game/Screens/ScreensPixelFixture.h"
#include "Game/Screens/Splash.h"
#include "Support/LogForTests.h"

namespace {

constexpr const char* kPics[4] = {"Data/1940.dat", "Data/1941.dat", "Data/1942.dat", "Data/1943.dat"};
constexpr const char* kSpark = "Data/1944.dat";
constexpr float kFrame = 1.0f / 60.0f;
// The picture block on a 640 x 480 window: 250 x 250 about the default block's centre.
constexpr _Dimension kBlock = {195.0f, 115.0f, 250.0f, 250.0f};

int g_ended = 0;
void EndedCB(void* user)
{
    g_ended++;
    EXPECT_EQ(&g_ended, user);
}

bool g_wait_answer = false;
double g_first_wait = -1.0;
bool WaitCB(double seconds, void*)
{
    if (g_first_wait < 0.0)
        g_first_wait = seconds;
    return g_wait_answer;
}

bool SetupWith(const char* effect, SplashWaitCB wait = nullptr)
{
    return SplashSetup(kPics[0], kPics[1], kPics[2], kPics[3], effect, nullptr, nullptr, nullptr, 0.0f, 0.0f,
                       nullptr, wait, EndedCB, &g_ended, false);
}

class SplashTest : public ScreensPixelFixture {
protected:
    void SetUp() override
    {
        ScreensPixelFixture::SetUp();
        eng_time = 100.0;
        eng_frame_time = kFrame;
        g_ended = 0;
    }
    void TearDown() override
    {
        SplashAbort();
        ScreensPixelFixture::TearDown();
    }
    // One frame of the game: the clock moves on, then the splash ticks.
    bool Tick()
    {
        eng_time += kFrame;
        return SplashTick();
    }
    void TickFor(double seconds)
    {
        for (double end = eng_time + seconds; eng_time < end - 1e-9;)
            Tick();
    }
    void Render()
    {
        EngDeviceBeginRendering();
        EXPECT_TRUE(SplashRender(2));
        EngDeviceEndRendering();
    }
};

} // namespace

TEST_F(SplashTest, SetupRefusesMissingOrLongNamesAndStartNeedsASetup)
{
    int mark = LogMark();
    EXPECT_FALSE(SplashStart());
    EXPECT_TRUE(LoggedSince(mark, "Splash not setup"));
    std::string long_name(200, 'a');
    struct Case {
        const char* pics[4];
        const char* effect;
        const char* message;
    } cases[] = {
        {{nullptr, nullptr, nullptr, nullptr}, nullptr, "Parameter error"},
        {{kPics[0], "Data/missing.dat", nullptr, nullptr}, nullptr, "Tex 2 does not exist (Data/missing.dat)"},
        {{kPics[0], nullptr, nullptr, long_name.c_str()}, nullptr, "Tex 4 filename too long"},
        {{kPics[0], nullptr, nullptr, nullptr}, "Data/nospark.dat", "Effect Tex does not exist (Data/nospark.dat)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        mark = LogMark();
        EXPECT_FALSE(SplashSetup(c.pics[0], c.pics[1], c.pics[2], c.pics[3], c.effect, nullptr, nullptr, nullptr,
                                 0, 0, nullptr, nullptr, EndedCB, &g_ended, false));
        EXPECT_TRUE(LoggedSince(mark, c.message));
        EXPECT_FALSE(SplashStart()) << "a refused set-up leaves no splash to start";
        EXPECT_FALSE(SplashTick());
    }
}

TEST_F(SplashTest, LastsFivePointNineSecondsAndOneFrameThenCallsTheEndOnce)
{
    ASSERT_TRUE(SetupWith(kSpark));
    ASSERT_TRUE(SplashStart());
    int mark = LogMark();
    EXPECT_FALSE(SplashStart());
    EXPECT_TRUE(LoggedSince(mark, "Splash is already on"));
    ASSERT_TRUE(SplashEffectsGetSystem() != nullptr);

    double start = eng_time + kFrame; // the first tick takes the clock
    int frames = 0;
    while (Tick() && g_ended == 0 && frames < 1000)
        frames++;
    double length = eng_time - start;
    EXPECT_EQ(1, g_ended);
    EXPECT_GE(length, 5.9 - 1e-6);
    EXPECT_LE(length, 5.9 + 3 * kFrame) << "the stop takes one frame after the fade out";
    EXPECT_FALSE(SplashIsOn());
    EXPECT_FALSE(SplashTick());
    EXPECT_EQ(nullptr, SplashEffectsGetSystem()) << "the end frees the sparks";
    TickFor(1.0);
    EXPECT_EQ(1, g_ended);
}

TEST_F(SplashTest, WaitCallbackEndsTheShowOnItsFirstTickAndAbortSkipsTheEnd)
{
    g_wait_answer = true;
    ASSERT_TRUE(SetupWith(kSpark, WaitCB));
    ASSERT_TRUE(SplashStart());
    while (SplashGetState() == 1)
        Tick();
    EXPECT_EQ(2, SplashGetState());
    Tick();
    EXPECT_EQ(3, SplashGetState()) << "true at once ends the show";
    EXPECT_NEAR(kFrame, g_first_wait, 1e-6);

    g_wait_answer = false;
    SplashAbort();
    ASSERT_TRUE(SplashStart()) << "after an abort the splash may start again";
    TickFor(3.0);
    EXPECT_EQ(2, SplashGetState());
    int mark = LogMark();
    SplashAbort();
    EXPECT_FALSE(SplashIsOn());
    EXPECT_EQ(nullptr, SplashEffectsGetSystem());
    EXPECT_FALSE(SplashRender(1));
    TickFor(10.0);
    EXPECT_EQ(0, g_ended);
    gl.Close();
    EXPECT_FALSE(LoggedSince(mark, "Graphics not destroyed"));
}

// Black for 0.8 s, then the picture comes up; sparks rise over the foot of the block.
TEST_F(SplashTest, FadeShowsBlackThenThePictureAndSparksRiseFromTheFootOfTheBlock)
{
    auto lit = [this](const _Dimension& area) {
        return CountVirtualPixels(gl, area, [](int r, int g, int b) { return r + g + b > 60; });
    };
    ASSERT_TRUE(SetupWith(nullptr));
    ASSERT_TRUE(SplashStart());
    TickFor(0.5);
    Render();
    EXPECT_EQ(0, lit({0, 0, 640, 480})) << "still black";
    // The picture fades in: each frame looked at is no darker than the one before, and several lie between black
    // and the picture, where a jump would show none.
    auto brightness = [this] {
        std::vector<unsigned char> block = Read(kBlock);
        return std::accumulate(block.begin(), block.end(), 0L);
    };
    std::vector<long> levels = {brightness()};
    for (int step = 0; step < 10; step++) {
        TickFor(0.25);
        Render();
        levels.push_back(brightness());
        EXPECT_GE(levels.back(), levels[levels.size() - 2]) << "darker at step " << step;
    }
    long between = std::count_if(levels.begin(), levels.end(),
                                 [&](long level) { return level > levels.front() && level < levels.back(); });
    EXPECT_GE(between, 2) << "the picture came up without a fade";
    ASSERT_EQ(2, SplashGetState());
    Render();
    const int block_pixels = int(kBlock.w * kBlock.h);
    EXPECT_GT(lit(kBlock), block_pixels / 2) << "the picture is up";
    EXPECT_EQ(0, lit({0, 0, 640, kBlock.y - 2})) << "nothing above the block";
    EXPECT_EQ(0, lit({0, 0, kBlock.x - 2, 400})) << "nothing left of the block";
    std::vector<unsigned char> plain = Read(kBlock);

    SplashAbort();
    srand(7);
    ASSERT_TRUE(SetupWith(kSpark));
    ASSERT_TRUE(SplashStart());
    TickFor(3.0);
    Render();
    std::vector<unsigned char> sparks = Read(kBlock);
    ASSERT_EQ(plain.size(), sparks.size());
    int changed = 0, lower_half = 0, risen = 0;
    const int w = int(kBlock.w), h = int(kBlock.h);
    for (size_t i = 0; i + 3 < plain.size(); i += 4) {
        int diff = std::abs(plain[i] - sparks[i]) + std::abs(plain[i + 1] - sparks[i + 1]);
        if (diff < 40)
            continue;
        changed++;
        int row = int(i / 4) / w;
        lower_half += row > h / 2 ? 1 : 0;
        risen += row < h * 3 / 4 ? 1 : 0;
    }
    EXPECT_GT(changed, 100) << "the sparks are drawn";
    EXPECT_GT(lower_half, changed / 2) << "mostly in the lower half, where they rise from";
    EXPECT_GT(risen, 20) << "some have climbed from the foot";
    EXPECT_EQ(0, lit({540, 0, 100, 480})) << "none far from the block";
}


// A window whose pixel size is not known yet keeps the block as it is set out, 240 x 250 at (200, 115).
TEST_F(SplashTest, UnknownPixelWidthKeepsTheDefaultBlock)
{
    const int width = eng_screen_width;
    eng_screen_width = 0;
    ASSERT_TRUE(SetupWith(nullptr));
    ASSERT_TRUE(SplashStart());
    eng_screen_width = width;
    TickFor(3.0);
    Render();
    auto lit = [this](const _Dimension& area) {
        return CountVirtualPixels(gl, area, [](int r, int g, int b) { return r + g + b > 60; });
    };
    EXPECT_EQ(0, lit({195, 115, 4, 250})) << "left of the default block";
    EXPECT_GT(lit({201, 115, 10, 250}), 1000);
    EXPECT_EQ(0, lit({441, 115, 4, 250})) << "right of the default block";
}

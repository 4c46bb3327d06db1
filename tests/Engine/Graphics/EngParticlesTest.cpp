// Particle systems: emission, ageing and fading at driven times, the refusals of bad records, and the
// squares they draw (clip-space positions in 2D mode) with a fixed random seed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngParticles.h"
#include "Engine/Graphics/EngTexture.h"
#include "GraphicsTestUtil.h"
#include "Support/GLTestContext.h"

namespace {

// One long-lived particle emitted on the first tick, at the emitter, not moving.
_EngParticleSystemParms StillParms()
{
    _EngParticleSystemParms p = {};
    p.first_count = 1;
    p.mode = 2;
    p.use_colour = 1;
    p.blend_mode = 4;
    p.life_min = p.life_max = 100.0f;
    p.speed = 1.0f;
    p.start_colour[0] = p.end_colour[0] = 1.0f;
    p.start_alpha = p.end_alpha = 1.0f;
    p.start_size = p.end_size = 0.2f;
    p.spread_mode = 0;
    p.spread_factor = 1.0f;
    p.depth_test = 1;
    return p;
}

int LiveCount(const EngParticles &system)
{
    int n = 0;
    for (int i = 0; i < system.GetMaxParticles(); i++)
        n += system.GetParticle(i)->age > -1.0f ? 1 : 0;
    return n;
}

TEST(Particles, BadRecordsAndCallsAreRefused)
{
    EngParticles system;
    _EngParticleSystemParms parms = StillParms();
    ClearLogMark();
    EXPECT_EQ(-1, system.Tick(1.0f, true));
    EXPECT_FALSE(system.Create(10, nullptr, false));
    EXPECT_TRUE(LogHas("No parms"));
    EXPECT_FALSE(system.Create(0, &parms, false));
    EXPECT_TRUE(LogHas("Bad num max particles [0]"));
    EXPECT_FALSE(system.Create(ENG_PARTICLES_MAX + 1, &parms, false));
    ASSERT_TRUE(system.Create(4, &parms, false));
    EXPECT_FALSE(system.Create(8, &parms, false));
    EXPECT_TRUE(LogHas("System already created"));
    EXPECT_EQ(4, system.GetMaxParticles());
    ASSERT_TRUE(system.Create(8, &parms, true));
    EXPECT_EQ(8, system.GetMaxParticles());
    EXPECT_EQ(0, LiveCount(system));
}

TEST(Particles, ModeTwoReportsTheEndOnceEveryParticleHasDied)
{
    _EngParticleSystemParms parms = StillParms();
    parms.first_count = 3;
    parms.life_min = parms.life_max = 0.5f;
    EngParticles system;
    ASSERT_TRUE(system.Create(10, &parms, false));
    EXPECT_EQ(1, system.Tick(0.1f, true));
    EXPECT_EQ(3, LiveCount(system));
    EXPECT_EQ(1, system.Tick(0.3f, false));
    EXPECT_EQ(3, LiveCount(system));
    EXPECT_EQ(0, system.Tick(0.7f, false)) << "aged 0.6 of 0.5 seconds";
    EXPECT_EQ(0, LiveCount(system));
}

TEST(Particles, MinimumIntervalLimitsEmissionToOnePerInterval)
{
    _EngParticleSystemParms parms = StillParms();
    parms.later_count = 1;
    parms.min_emission_interval = 0.014f;
    EngParticles system;
    ASSERT_TRUE(system.Create(50, &parms, false));
    ASSERT_EQ(1, system.Tick(0.01f, true));
    for (int tick = 2; tick <= 10; tick++)
        ASSERT_EQ(1, system.Tick(0.01f * (float)tick, false));
    EXPECT_EQ(1 + 4, LiveCount(system)) << "emitted at 0.03, 0.05, 0.07 and 0.09 only";
}

TEST(Particles, RateEmitsPerSecondOfTickTimeInEveryMode)
{
    _EngParticleSystemParms parms = StillParms();
    parms.first_count = 0;
    parms.rate = 10;
    parms.mode = 0;
    EngParticles system;
    ASSERT_TRUE(system.Create(100, &parms, false));
    ASSERT_EQ(1, system.Tick(0.1f, true));
    for (int tick = 2; tick <= 5; tick++)
        ASSERT_EQ(1, system.Tick(0.1f * (float)tick, false));
    EXPECT_EQ(5, LiveCount(system)) << "one per 0.1 s tick, not growing with the time since the start";
}

TEST(Particles, ZeroSpreadFactorOrZeroTimeMakesNoParticle)
{
    _EngParticleSystemParms parms = StillParms();
    parms.spread_factor = 0.0f;
    EngParticles system;
    ASSERT_TRUE(system.Create(5, &parms, false));
    ClearLogMark();
    EXPECT_EQ(1, system.Tick(0.1f, true));
    EXPECT_TRUE(LogHas("Parent spread factor <= 0"));
    EXPECT_EQ(0, LiveCount(system));

    parms.spread_factor = 1.0f;
    ASSERT_TRUE(system.Create(5, &parms, true));
    ClearLogMark();
    system.Tick(0.0f, true);
    EXPECT_TRUE(LogHas("time counter<= 0"));
    EXPECT_EQ(0, LiveCount(system));
}

TEST(Particles, ZeroLifeAndSizeAreLimitedSoChangesStayFinite)
{
    _EngParticleSystemParms parms = StillParms();
    parms.life_min = parms.life_max = 0.0f;
    parms.start_size = 0.0f;
    parms.end_size = 1.0f;
    parms.end_alpha = 0.0f;
    EngParticles system;
    ASSERT_TRUE(system.Create(1, &parms, false));
    system.Tick(0.1f, true);
    const _EngParticle *p = system.GetParticle(0);
    ASSERT_GT(p->age, -1.0f);
    EXPECT_FLOAT_EQ(0.001f, p->life);
    EXPECT_FLOAT_EQ(0.0001f, p->size);
    EXPECT_TRUE(std::isfinite(p->size_change));
    EXPECT_TRUE(std::isfinite(p->alpha_change));
    EXPECT_TRUE(std::isfinite(p->colour_change[0]));
}

TEST(Particles, FadeInRisesOnePerSecondThenRunsToTheEndAlpha)
{
    _EngParticleSystemParms parms = StillParms();
    parms.fade_in = 1;
    parms.start_alpha = 0.5f;
    parms.end_alpha = 0.0f;
    parms.life_min = parms.life_max = 2.5f;
    EngParticles system;
    ASSERT_TRUE(system.Create(1, &parms, false));
    system.Tick(0.1f, true);
    const _EngParticle *p = system.GetParticle(0);
    EXPECT_FLOAT_EQ(0.0f, p->drawn_alpha);
    system.Tick(0.3f, false);
    EXPECT_NEAR(0.2f, p->drawn_alpha, 1e-5);
    system.Tick(0.5f, false);
    EXPECT_NEAR(0.4f, p->drawn_alpha, 1e-5);
    system.Tick(0.6f, false);
    EXPECT_FALSE(p->fading_in);
    EXPECT_NEAR(0.5f, p->drawn_alpha, 1e-5);
    EXPECT_NEAR(-0.25f, p->alpha_change, 1e-4) << "0.5 to 0 over the 2 seconds left";
    system.Tick(1.6f, false);
    EXPECT_NEAR(0.25f, p->drawn_alpha, 1e-4);
}

TEST(Particles, ClockSteppingBackNeitherAgesNorEmits)
{
    _EngParticleSystemParms parms = StillParms();
    parms.rate = 100;
    parms.life_min = parms.life_max = 1.0f;
    EngParticles system;
    ASSERT_TRUE(system.Create(200, &parms, false));
    system.Tick(0.5f, true);
    const int live = LiveCount(system);
    const float age = system.GetParticle(0)->age;
    ClearLogMark();
    EXPECT_EQ(1, system.Tick(0.2f, false));
    EXPECT_FLOAT_EQ(age, system.GetParticle(0)->age);
    EXPECT_EQ(live, LiveCount(system));
}

TEST(Particles, MovingEmitterPlacesTheFirstNewParticleOnItsPath)
{
    _EngParticleSystemParms parms = StillParms();
    parms.later_count = 1;
    EngParticles system;
    ASSERT_TRUE(system.Create(4, &parms, false));
    srand(3);
    system.Tick(0.1f, true);
    system.SetEmitterPosition(1.0f, 0.0f, 0.0f);
    system.Tick(0.2f, false);
    const _EngParticle *p = system.GetParticle(1);
    ASSERT_GT(p->age, -1.0f);
    EXPECT_GE(p->position[0], 0.0f);
    EXPECT_LE(p->position[0], 1.0f);
    EXPECT_FLOAT_EQ(0.0f, p->position[1]);
}

TEST(Particles, SpreadShapesKeepTheirDistanceAndMissingEntriesAreReportedThreeTimes)
{
    _EngParticleSystemParms parms = StillParms();
    parms.first_count = 20;
    parms.spread_mode = 2;
    parms.spread_min = 1.0f;
    parms.spread_max = 5.0f;
    parms.spread_factor = 2.0f;
    EngParticles system;
    ASSERT_TRUE(system.Create(20, &parms, false));
    srand(11);
    system.Tick(0.1f, true);
    for (int i = 0; i < 20; i++) {
        const float *pos = system.GetParticle(i)->position;
        EXPECT_NEAR(2.0f, std::hypot(pos[0], pos[1]), 1e-4) << "a circle of (5 - 1) / 2";
    }

    parms.spread_mode = 8;
    ASSERT_TRUE(system.Create(20, &parms, true));
    ClearLogMark();
    system.Tick(0.1f, true);
    EXPECT_EQ(3, LogCountSinceMark("No spread entries"));
    EXPECT_EQ(20, LiveCount(system)) << "the particles still come, at the emitter";

    const int entries[] = {0, 0, 10, 10};
    parms.spread_entries = entries;
    parms.num_spread_entries = 2;
    parms.spread_x_range = parms.spread_y_range = 10;
    parms.spread_min = 0.0f;
    parms.spread_max = 4.0f;
    ASSERT_TRUE(system.Create(20, &parms, true));
    system.Tick(0.1f, true);
    for (int i = 0; i < 20; i++) {
        const float *pos = system.GetParticle(i)->position;
        EXPECT_TRUE((pos[0] == 0.0f && pos[1] == 0.0f) || (pos[0] == 2.0f && pos[1] == 2.0f)) << pos[0] << " " << pos[1];
    }
}

class ParticlePixels : public GLTestFixture {
protected:
    // Creates the system from parms and emits its first burst at 0.1 s.
    void Start(const _EngParticleSystemParms &parms, int max = 1)
    {
        ASSERT_TRUE(system.Create(max, &parms, true));
        system.Tick(0.1f, true);
    }
    void Frame(float r = 0.0f, float g = 0.0f, float b = 0.0f)
    {
        BeginTestFrame(r, g, b);
        EXPECT_TRUE(system.Render());
        EndTestFrame();
    }
    EngParticles system;
};

// Clip x, y in -1..1 to window pixels of the 640 x 480 context.
int PixelX(float x) { return (int)std::lround((x + 1.0f) * 320.0f); }
int PixelY(float y) { return (int)std::lround((1.0f - y) * 240.0f); }

TEST_F(ParticlePixels, MovingParticleIsDrawnWhereItsTimeTakesIt)
{
    _EngParticleSystemParms parms = StillParms();
    parms.emitter[0] = -0.5f;
    parms.direction_ranges[0] = parms.direction_ranges[1] = 1.0f;
    Start(parms);
    ASSERT_TRUE(system.HasGraphics());
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(PixelX(-0.5f), PixelY(0.0f)), 255, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(PixelX(0.0f), PixelY(0.0f)), 0, 0, 0));

    system.Tick(0.6f, false);
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(PixelX(0.0f), PixelY(0.0f)), 255, 0, 0)) << "0.5 s at speed 1";
    EXPECT_TRUE(PixelNear(gl.Pixel(PixelX(-0.5f), PixelY(0.0f)), 0, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(PixelX(0.0f), PixelY(0.15f)), 0, 0, 0)) << "a square of side 0.2";
}

TEST_F(ParticlePixels, SeededBurstDrawsTheSameRingEveryTime)
{
    _EngParticleSystemParms parms = StillParms();
    parms.first_count = 40;
    parms.spread_mode = 1;
    parms.spread_max = 0.6f;
    parms.start_size = parms.end_size = 0.05f;
    std::vector<unsigned char> frames[2];
    for (auto &frame : frames) {
        srand(1234);
        Start(parms, 40);
        Frame();
        ASSERT_TRUE(gl.ReadPixelsRGBA(0, 0, 640, 480, &frame));
    }
    EXPECT_EQ(frames[0], frames[1]);
    int red = 0, outside = 0;
    for (int y = 0; y < 480; y++) {
        for (int x = 0; x < 640; x++) {
            if (frames[0][(size_t)(y * 640 + x) * 4] < 128)
                continue;
            red++;
            const float cx = x / 320.0f - 1.0f, cy = 1.0f - y / 240.0f;
            outside += std::hypot(cx, cy) > 0.6f + 0.05f * 0.75f ? 1 : 0;
        }
    }
    EXPECT_GT(red, 100);
    EXPECT_EQ(0, outside) << "every square lies within the disc of the spread";
}

TEST_F(ParticlePixels, FadeInShowsAtTheAlphaOfItsAge)
{
    _EngParticleSystemParms parms = StillParms();
    parms.fade_in = 1;
    parms.use_colour = 0;
    parms.start_size = parms.end_size = 1.0f;
    Start(parms);
    system.Tick(0.35f, false);
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 64, 64, 64, 3)) << "white at a quarter";
    system.Tick(0.85f, false);
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 191, 191, 191, 3));
}

TEST_F(ParticlePixels, BlendModeOneDrawsColourTimesAlpha)
{
    _EngParticleSystemParms parms = StillParms();
    parms.blend_mode = 1;
    parms.start_colour[1] = parms.end_colour[1] = 0.5f;
    parms.start_alpha = parms.end_alpha = 0.5f;
    parms.start_size = parms.end_size = 1.0f;
    Start(parms);
    Frame(0.4f, 0.4f, 0.4f);
    // Destination x (1 + source): the source is (1, 0.5, 0) x 0.5.
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 153, 128, 102, 3));
}

TEST_F(ParticlePixels, RenderRestoresTheStatesItChanged)
{
    _EngParticleSystemParms parms = StillParms();
    parms.depth_test = 0;
    parms.both_faces = 1;
    parms.start_size = parms.end_size = 0.5f;
    Start(parms);
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 255, 0, 0)) << "the flat order drawn with both faces";
    EXPECT_FALSE(EngDeviceIsShowingTwoSidedPolygons());
    bool blending = true;
    EngDeviceGetBlendingState(&blending, nullptr, nullptr);
    EXPECT_FALSE(blending);
}

TEST_F(ParticlePixels, ReloadedTextureIsDrawnNotTheOldOne)
{
    const std::string blue = WriteSolidPicture("particle_blue", "png", 8, 8, 0, 0, 255, 255);
    const std::string green = WriteSolidPicture("particle_green", "png", 8, 8, 0, 255, 0, 255);
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile(blue.c_str(), true, ETAT_FROM_FILE));
    _EngParticleSystemParms parms = StillParms();
    parms.texture = &texture;
    parms.use_colour = 0;
    parms.start_size = parms.end_size = 0.5f;
    Start(parms);
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 0, 0, 255));
    texture.Unload();
    ASSERT_TRUE(texture.LoadFromFile(green.c_str(), true, ETAT_FROM_FILE));
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 0, 255, 0));
    texture.Unload();
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 255, 255, 255)) << "an unloaded texture leaves the vertex colour";
}

TEST_F(ParticlePixels, GraphicsFollowTheDeviceAndAreFreedOnDestroy)
{
    const _EngParticleSystemParms parms = StillParms();
    ASSERT_TRUE(system.Create(1, &parms, false));
    ASSERT_TRUE(system.HasGraphics());
    ClearLogMark();
    EXPECT_TRUE(system.CreateGraphics());
    EXPECT_TRUE(LogHas("buffer already exists."));
    system.DestroyGraphics();
    system.Tick(0.1f, true);
    ClearLogMark();
    BeginTestFrame(0, 0, 0);
    EXPECT_FALSE(system.Render());
    EndTestFrame();
    EXPECT_TRUE(LogHas("Not setup."));
    ASSERT_TRUE(system.CreateGraphics());
    ClearLogMark();
    system.Destroy(false);
    EXPECT_TRUE(LogHas("Vertex buffer was not released."));
    EXPECT_FALSE(system.HasGraphics());
}

} // namespace

// Staged picture sets: stage changes on the engine clock, movement, rotation, fading and scrolling driven by
// the frame time, the refusals of bad sets and files, and the pictures they draw through their stages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/Core/EngProgram.h"
#include "Engine/Graphics/EngPicture.h"
#include "GraphicsTestUtil.h"
#include "Support/GLTestContext.h"

namespace {

_EngPictureStage Stage(int texture, float x, float y, float w, float h, float duration)
{
    _EngPictureStage stage = {};
    stage.texture = texture;
    stage.pos.start = stage.pos.end = {x, y, w, h};
    stage.alpha.draw = true;
    stage.alpha.num_durations = 1;
    stage.alpha.durations[0] = duration;
    return stage;
}

class PictureClock : public ::testing::Test {
protected:
    void SetUp() override
    {
        eng_time = 10.0;
        eng_frame_time = 0.0f;
        ClearLogMark();
    }
    // Advances the clock by dt and ticks with that frame time.
    void Step(EngPicture *picture, float dt)
    {
        eng_time += dt;
        eng_frame_time = dt;
        picture->Tick(1.0f);
    }
};

TEST_F(PictureClock, StagesChangeAfterTheirDurationAndWrapToTheFirst)
{
    EngPicture picture;
    const int set = picture.AddSet();
    for (int i = 0; i < 3; i++) {
        const _EngPictureStage stage = Stage(0, 0, 0, 10, 10, 1.0f);
        ASSERT_EQ(i, picture.AddStage(set, &stage));
    }
    ASSERT_TRUE(picture.StartSet(set, 0, 0));
    Step(&picture, 0.5f);
    EXPECT_EQ(0, picture.GetSet(set)->current_stage);
    Step(&picture, 0.5f);
    EXPECT_EQ(1, picture.GetSet(set)->current_stage);
    Step(&picture, 1.0f);
    Step(&picture, 1.0f);
    EXPECT_EQ(0, picture.GetSet(set)->current_stage) << "after the last stage comes the first";
}

TEST_F(PictureClock, OneStageNeverChangesAndStoppedSetsDoNotMove)
{
    EngPicture picture;
    const int set = picture.AddSet();
    _EngPictureStage stage = Stage(0, 0, 0, 10, 10, 0.0f);
    stage.pos.mode = 1;
    stage.pos.rate = stage.pos.speed = 1.0f;
    picture.AddStage(set, &stage);
    ASSERT_TRUE(picture.StartSet(set, 0, 0));
    Step(&picture, 0.25f);
    Step(&picture, 5.0f);
    EXPECT_EQ(0, picture.GetSet(set)->current_stage);

    ASSERT_TRUE(picture.StopSet(set));
    const float progress = picture.GetSet(set)->stages[0].vars.progress;
    Step(&picture, 0.3f);
    EXPECT_EQ(-1, picture.GetSet(set)->current_stage);
    EXPECT_FLOAT_EQ(progress, picture.GetSet(set)->stages[0].vars.progress);
}

TEST_F(PictureClock, DurationComesFromStageZeroWhenTheStageBorrowsItsAlpha)
{
    EngPicture picture;
    const int set = picture.AddSet();
    _EngPictureStage first = Stage(0, 0, 0, 10, 10, 2.0f);
    first.alpha.num_durations = 2;
    first.alpha.durations[1] = 0.5f;
    _EngPictureStage second = Stage(0, 0, 0, 10, 10, 100.0f);
    second.alpha_from_0 = true;
    picture.AddStage(set, &first);
    picture.AddStage(set, &second);
    ASSERT_TRUE(picture.StartSet(set, 1, 1));
    Step(&picture, 0.6f);
    EXPECT_EQ(0, picture.GetSet(set)->current_stage) << "stage 0's second duration, 0.5 s";
}

TEST_F(PictureClock, PositionModesRunWrapTurnAndEase)
{
    EngPicture picture;
    const int set = picture.AddSet();
    _EngPictureStage stage = Stage(0, 0, 0, 100, 100, 1000.0f);
    stage.pos.end = {400, 0, 100, 100};
    stage.pos.rate = 1.0f;
    stage.pos.speed = 0.5f;
    for (char mode = 1; mode <= 3; mode++) {
        stage.pos.mode = mode;
        picture.AddStage(set, &stage);
    }
    const _EngPictureStagePosVars &wrap = picture.GetSet(set)->stages[0].vars;
    ASSERT_TRUE(picture.StartSet(set, 0, 0));
    Step(&picture, 1.5f);
    EXPECT_NEAR(0.75f, wrap.progress, 1e-5);
    Step(&picture, 1.0f);
    EXPECT_NEAR(0.25f, wrap.progress, 1e-5) << "wrapped past 1";
    EXPECT_NEAR(100.0f, wrap.rect.x, 1e-3);

    const _EngPictureStagePosVars &turn = picture.GetSet(set)->stages[1].vars;
    ASSERT_TRUE(picture.StartSet(set, 1, 0));
    Step(&picture, 2.5f);
    EXPECT_FLOAT_EQ(1.0f, turn.progress);
    EXPECT_FLOAT_EQ(-1.0f, turn.direction);
    Step(&picture, 0.5f);
    EXPECT_NEAR(0.75f, turn.progress, 1e-5);

    const _EngPictureStagePosVars &eased = picture.GetSet(set)->stages[2].vars;
    ASSERT_TRUE(picture.StartSet(set, 2, 0));
    Step(&picture, 0.5f);
    EXPECT_NEAR(400.0f * (0.5f - 0.5f * 0.70710678f), eased.rect.x, 0.01f) << "a quarter of the way, eased";
    Step(&picture, 0.5f);
    EXPECT_NEAR(200.0f, eased.rect.x, 0.01f);
}

TEST_F(PictureClock, RotationModesAndAZeroSpanStayBounded)
{
    EngPicture picture;
    const int set = picture.AddSet();
    _EngPictureStage stage = Stage(0, 0, 0, 10, 10, 1000.0f);
    stage.rot = {true, 2, 0.0f, 0.0f, 100.0f, 1.0f};
    picture.AddStage(set, &stage);
    stage.rot = {true, 3, 10.0f, 50.0f, 100.0f, 1.0f};
    picture.AddStage(set, &stage);
    stage.rot = {true, 4, 30.0f, 30.0f, 100.0f, 1.0f};
    picture.AddStage(set, &stage);
    const auto &stages = picture.GetSet(set)->stages;

    ASSERT_TRUE(picture.StartSet(set, 0, 0));
    Step(&picture, 4.0f);
    EXPECT_NEAR(40.0f, stages[0].vars.angle, 1e-3) << "400 degrees wrap at 360";
    ASSERT_TRUE(picture.StartSet(set, 1, 0));
    Step(&picture, 0.5f);
    EXPECT_FLOAT_EQ(50.0f, stages[1].vars.angle);
    Step(&picture, 0.1f);
    EXPECT_NEAR(40.0f, stages[1].vars.angle, 1e-3) << "turned at the maximum";
    ASSERT_TRUE(picture.StartSet(set, 2, 0));
    Step(&picture, 1.0f);
    EXPECT_FLOAT_EQ(30.0f, stages[2].vars.angle);
}

TEST_F(PictureClock, RandomMovesPickANewPlaceInsideTheAreaEachFadeCycle)
{
    EngPicture picture;
    const int set = picture.AddSet();
    _EngPictureStage stage = Stage(0, 100, 100, 200, 200, 0.0f);
    stage.pos.mode = 4;
    stage.pos.end = {100, 100, 20, 20};
    stage.alpha.changes = true;
    stage.alpha.min = 0.0f;
    stage.alpha.max = 1.0f;
    stage.alpha.rate = stage.alpha.speed = 1.0f;
    picture.AddStage(set, &stage);
    const _EngPictureStagePosVars &v = picture.GetSet(set)->stages[0].vars;
    ASSERT_TRUE(picture.StartSet(set, 0, 0));
    srand(5);
    std::vector<float> xs;
    for (int cycle = 0; cycle < 6; cycle++) {
        Step(&picture, 0.5f);
        EXPECT_NEAR(1.0f, v.alpha, 1e-4) << "full at half a cycle";
        Step(&picture, 0.0f); // the rectangle follows the alpha of the tick before
        EXPECT_GE(v.rect.x, 100.0f);
        EXPECT_LE(v.rect.x + v.rect.w, 300.0f);
        EXPECT_GE(v.rect.y, 100.0f);
        EXPECT_LE(v.rect.y + v.rect.h, 300.0f);
        xs.push_back(v.rect.x);
        Step(&picture, 0.5f);
        EXPECT_NEAR(0.0f, v.alpha, 1e-4);
    }
    EXPECT_NE(xs.front(), xs.back());
}

TEST_F(PictureClock, WrappedScrollingPassingOneContinuesFromZero)
{
    EngPicture picture;
    const int set = picture.AddSet();
    _EngPictureStage stage = Stage(0, 0, 0, 10, 10, 0.0f);
    stage.scroll = {true, true, {0.0f, 0.0f, 1.0f, 1.0f}, 0.5f, 1.0f, 1.0f, 0.0f};
    picture.AddStage(set, &stage);
    const _EngPictureStagePosVars &v = picture.GetSet(set)->stages[0].vars;
    ASSERT_TRUE(picture.StartSet(set, 0, 0));
    Step(&picture, 1.5f);
    EXPECT_NEAR(0.75f, v.uv[0], 1e-5);
    EXPECT_NEAR(1.25f, v.uv[2], 1e-5) << "the far corner is the near one plus the scale";
    Step(&picture, 1.0f);
    EXPECT_NEAR(0.25f, v.uv[0], 1e-5);
    EXPECT_NEAR(0.75f, v.uv[2], 1e-5);

    _EngPictureStage plain = Stage(0, 0, 0, 10, 10, 0.0f);
    plain.scroll = {true, false, {0.0f, 0.0f, 1.0f, 1.0f}, 1.0f, 1.0f, 0.4f, 0.0f};
    const int other = picture.AddSet();
    picture.AddStage(other, &plain);
    const _EngPictureStagePosVars &p = picture.GetSet(other)->stages[0].vars;
    ASSERT_TRUE(picture.StartSet(other, 0, 0));
    Step(&picture, 2.0f);
    EXPECT_NEAR(0.8f, p.uv[0], 1e-5);
    Step(&picture, 1.0f);
    EXPECT_FLOAT_EQ(0.0f, p.uv[0]) << "snapped back to the start";
    EXPECT_FLOAT_EQ(1.0f, p.uv[2]);
}

TEST_F(PictureClock, BadNumbersSetsAndListsAreReportedAndBounded)
{
    EngPicture picture;
    EXPECT_EQ(nullptr, picture.GetTexture(0));
    EXPECT_TRUE(LogHas("No textures"));
    ASSERT_EQ(0, picture.AddTexture("a.png", false));
    EXPECT_EQ(nullptr, picture.GetTexture(2));
    EXPECT_TRUE(LogHas("Invalid tex num 2 (1)"));
    EXPECT_EQ(-1, picture.AddTexture(std::string(ENG_PICTURE_NAME_SIZE, 'x').c_str(), false));

    const int set = picture.AddSet();
    EXPECT_EQ(nullptr, picture.GetSet(set));
    EXPECT_TRUE(LogHas("Set num 0 has no stages [0]"));
    EXPECT_EQ(nullptr, picture.GetSet(3));
    EXPECT_TRUE(LogHas("Invalid set num 3 (1)"));
    EXPECT_FALSE(picture.StartSet(set, 0, 0));

    _EngPictureSet broken;
    broken.check = 7;
    broken.current_stage = -1;
    broken.duration_num = 0;
    broken.stage_start = 0.0;
    EXPECT_FALSE(picture.IsSetOk(&broken, true));
    EXPECT_TRUE(LogHas("Check value is 7."));
    broken.check = ENG_PICTURE_SET_CHECK;
    EXPECT_TRUE(picture.IsSetOk(&broken, true));
    EXPECT_FALSE(picture.IsSetOk(&broken, false));
    EXPECT_TRUE(LogHas("No stages [0]."));

    const _EngPictureStage stage = Stage(0, 0, 0, 1, 1, 1.0f);
    for (int i = 0; i < ENG_PICTURE_MAX_STAGES; i++)
        ASSERT_EQ(i, picture.AddStage(set, &stage));
    EXPECT_EQ(-1, picture.AddStage(set, &stage));
    EXPECT_FALSE(picture.StartSet(set, ENG_PICTURE_MAX_STAGES, 0));
    EXPECT_FALSE(picture.StartSet(set, 0, ENG_PICTURE_MAX_DURATIONS));
    while (picture.GetNumSets() < ENG_PICTURE_MAX_SETS)
        picture.AddSet();
    EXPECT_EQ(-1, picture.AddSet());

    picture.Reset();
    EXPECT_EQ(0, picture.GetNumSets());
    EXPECT_FLOAT_EQ(640.0f, picture.GetDrawArea().w);
}

std::string BaseName(const std::string &path)
{
    return path.substr(path.rfind('/') + 1);
}

class PicturePixels : public GLTestFixture {
protected:
    void SetUp() override
    {
        GLTestFixture::SetUp();
        eng_time = 0.0;
        ASSERT_TRUE(picture.SetTextureDirectory(TestPictureFolder().c_str()));
        red = picture.AddTexture(BaseName(WriteSolidPicture("pic_red.png", "png", 16, 16, 255, 0, 0, 255)).c_str(), false);
        green = picture.AddTexture(BaseName(WriteSolidPicture("pic_green.png", "png", 16, 16, 0, 255, 0, 255)).c_str(), false);
        ASSERT_GE(red, 0);
        ASSERT_GE(green, 0);
        set = picture.AddSet();
    }
    void Step(float dt)
    {
        eng_time += dt;
        eng_frame_time = dt;
        picture.Tick(1.0f);
    }
    void Frame(float alpha = 1.0f)
    {
        BeginTestFrame(0, 0, 0);
        picture.DrawSet(set, alpha);
        EndTestFrame();
    }
    EngPicture picture;
    int red = -1;
    int green = -1;
    int set = -1;
};

TEST_F(PicturePixels, SetShowsEachStageInItsPlaceInTurn)
{
    _EngPictureStage first = Stage(red, 0, 0, 320, 240, 1.0f);
    _EngPictureStage second = Stage(green, 320, 240, 320, 240, 1.0f);
    picture.AddStage(set, &first);
    picture.AddStage(set, &second);
    ASSERT_TRUE(picture.CreateGraphics());
    ASSERT_TRUE(picture.StartSet(set, 0, 0));
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(100, 100), 255, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(500, 400), 0, 0, 0));
    Step(1.0f);
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(100, 100), 0, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(500, 400), 0, 255, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(315, 400), 0, 0, 0)) << "the second stage starts at x 320";
}

TEST_F(PicturePixels, FadingStageDrawsAtItsAlphaTimesTheCallersAlpha)
{
    _EngPictureStage stage = Stage(red, 0, 0, 640, 480, 0.0f);
    stage.alpha.changes = true;
    stage.alpha.max = 1.0f;
    stage.alpha.rate = stage.alpha.speed = 1.0f;
    stage.blend = 1;
    picture.AddStage(set, &stage);
    ASSERT_TRUE(picture.CreateGraphics());
    ASSERT_TRUE(picture.StartSet(set, 0, 0));
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 0, 0, 0)) << "the fade starts at the minimum";
    Step(0.25f);
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 128, 0, 0, 3));
    Step(0.25f);
    Frame(0.5f);
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 128, 0, 0, 3));
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 255, 0, 0));
}

TEST_F(PicturePixels, MovingPictureIsMappedIntoTheDrawArea)
{
    _EngPictureStage stage = Stage(green, 0, 0, 64, 64, 0.0f);
    stage.pos.mode = 2;
    stage.pos.end = {576, 0, 64, 64};
    stage.pos.rate = stage.pos.speed = 1.0f;
    picture.AddStage(set, &stage);
    ASSERT_TRUE(picture.CreateGraphics());
    ASSERT_TRUE(picture.StartSet(set, 0, 0));
    Step(0.5f);
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 32), 0, 255, 0)) << "half way: x 288 to 352";
    EXPECT_TRUE(PixelNear(gl.Pixel(30, 32), 0, 0, 0));

    picture.SetDrawArea(320, 240, 320, 240);
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320 + 160, 240 + 16), 0, 255, 0)) << "the half-size copy in the bottom-right quarter";
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 32), 0, 0, 0));
}

TEST_F(PicturePixels, RotatedPictureTurnsAboutItsCentre)
{
    _EngPictureStage stage = Stage(red, 220, 230, 200, 20, 0.0f);
    stage.rot = {true, 0, 90.0f, 90.0f, 0.0f, 0.0f};
    picture.AddStage(set, &stage);
    ASSERT_TRUE(picture.CreateGraphics());
    ASSERT_TRUE(picture.StartSet(set, 0, 0));
    Step(0.1f);
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 160), 255, 0, 0)) << "the bar stands upright";
    EXPECT_TRUE(PixelNear(gl.Pixel(240, 240), 0, 0, 0));
}

TEST_F(PicturePixels, WrappedScrollShowsTheOtherHalfWithoutAJump)
{
    std::vector<unsigned char> halves(16 * 16 * 4, 255);
    for (int y = 0; y < 16; y++) {
        for (int x = 0; x < 16; x++) {
            unsigned char *p = &halves[(size_t)(y * 16 + x) * 4];
            p[0] = x < 8 ? 255 : 0;
            p[1] = x < 8 ? 0 : 255;
            p[2] = 0;
        }
    }
    const int both = picture.AddTexture(BaseName(WritePicture("pic_halves.png", "png", 16, 16, halves)).c_str(), false);
    _EngPictureStage stage = Stage(both, 0, 0, 640, 480, 0.0f);
    stage.scroll = {true, true, {0.0f, 0.0f, 1.0f, 1.0f}, 1.0f, 1.0f, 1.0f, 0.0f};
    picture.AddStage(set, &stage);
    ASSERT_TRUE(picture.CreateGraphics());
    ASSERT_TRUE(picture.StartSet(set, 0, 0));
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(100, 240), 255, 0, 0));
    Step(1.5f);
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(100, 240), 0, 255, 0)) << "u 0.5 to 1.5: green first";
    EXPECT_TRUE(PixelNear(gl.Pixel(540, 240), 255, 0, 0)) << "then red again from the wrap";
}

TEST_F(PicturePixels, StoppedOrHiddenSetsDrawNothing)
{
    _EngPictureStage stage = Stage(red, 0, 0, 640, 480, 0.0f);
    picture.AddStage(set, &stage);
    ASSERT_TRUE(picture.CreateGraphics());
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 0, 0, 0)) << "never started";
    ASSERT_TRUE(picture.StartSet(set, 0, 0));
    picture.GetSet(set)->stages[0].alpha.draw = false;
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 0, 0, 0));
}

TEST_F(PicturePixels, GraphicsLoadOnlyUsedTexturesAndReportMissingFiles)
{
    picture.AddTexture("missing_but_unused.png", false);
    _EngPictureStage stage = Stage(red, 0, 0, 640, 480, 0.0f);
    picture.AddStage(set, &stage);
    ClearLogMark();
    ASSERT_TRUE(picture.CreateGraphics());
    EXPECT_FALSE(LogHas("missing_but_unused"));
    EXPECT_TRUE(picture.CreateGraphics());
    EXPECT_TRUE(LogHas("Graphics already created (continuing...)"));

    EngPicture other;
    ASSERT_TRUE(other.SetTextureDirectory(TestPictureFolder().c_str()));
    const int missing = other.AddTexture("nowhere.png", false);
    const int other_set = other.AddSet();
    _EngPictureStage uses = Stage(missing, 0, 0, 10, 10, 0.0f);
    other.AddStage(other_set, &uses);
    ClearLogMark();
    EXPECT_FALSE(other.CreateGraphics());
    EXPECT_TRUE(LogHas(("File not found: <" + TestPictureFolder() + "/nowhere.png>").c_str()));

    picture.DestroyGraphics();
    EXPECT_EQ(nullptr, picture.GetTexture(red)->texture);
    ASSERT_TRUE(picture.StartSet(set, 0, 0));
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 0, 0, 0)) << "no texture after the graphics went";
    ASSERT_TRUE(picture.CreateGraphics());
    Frame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 255, 0, 0));
}

} // namespace

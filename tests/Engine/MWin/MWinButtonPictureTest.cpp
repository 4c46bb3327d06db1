// Pictures attached to buttons and progress rings, attached headlessly and drawn into a real context.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Engine/Core/EngProgram.h"
#include "Engine/Graphics/EngPicture.h"
#include "Engine/Graphics/EngTexture.h"
#include "MWinButtonFixture.h"
#include "MWinWidgetFixture.h"

namespace {

class ButtonPictureTest : public MWinFixture {};

TEST_F(ButtonPictureTest, AttachingSetsTheModeAndANullTextureRemovesThePicture)
{
    MWinButton* b = window->AddButton("PIC", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "", 10, 10, 100, 50);
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(MWIN_PICTURE_NONE, b->PictureGetMode());
    EngTexture texture;
    const float rect[4] = {0.1f, 0.2f, 0.3f, 0.4f};
    b->PictureSetTextureRect(rect);
    b->PictureSetInsets(1, 2, 3, 4, 5);
    const int since = DebugGetMessageCount();
    EXPECT_EQ(1, b->PictureAttachTextureToButton(&texture, 10));
    EXPECT_TRUE(LoggedSince(since, "Warning: texture is not loaded"));
    EXPECT_EQ(14, b->PictureGetMode());
    EXPECT_EQ(0, b->GetPictureData()->inset_on) << "insets and rectangle are cleared";
    EXPECT_EQ(0, b->GetPictureData()->rect_on);
    EXPECT_FLOAT_EQ(0.0f, b->GetPictureData()->rect[2]);

    EXPECT_EQ(1, b->PictureAttachTextureToButton(&texture, -1));
    EXPECT_EQ(MWIN_PICTURE_DEFAULT_BLENDING, b->PictureGetMode());

    const int before_null = DebugGetMessageCount();
    EXPECT_EQ(0, b->PictureAttachTextureToButton(nullptr, 0));
    EXPECT_TRUE(LoggedSince(before_null, "No texture"));
    EXPECT_EQ(MWIN_PICTURE_NONE, b->PictureGetMode());
    EXPECT_EQ(nullptr, b->GetPictureData()->texture);
}

TEST_F(ButtonPictureTest, AttachedPictureSetAdvancesWithEachTickAndReportsAChange)
{
    EngPicture picture;
    const int set = picture.AddSet();
    _EngPictureStage stage = {};
    stage.pos.mode = 1;
    stage.pos.rate = stage.pos.speed = 1.0f;
    stage.pos.start = stage.pos.end = {0, 0, 10, 10};
    picture.AddStage(set, &stage);
    ASSERT_TRUE(picture.StartSet(set, 0, 0));
    MWinButton* b = window->AddButton("SET", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "", 10, 10, 100, 50);
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(0, b->Tick());
    b->PictureSetPictureSet(&picture, set, 1);
    eng_frame_time = 0.25f;
    EXPECT_EQ(1, b->Tick());
    EXPECT_EQ(1, b->Tick());
    EXPECT_NEAR(0.5f, picture.GetSet(set)->stages[0].vars.progress, 1e-5);
    b->PictureSetPictureSet(&picture, set, 0);
    EXPECT_EQ(0, b->Tick()) << "without the advance flag the set stays";
    EXPECT_NEAR(0.5f, picture.GetSet(set)->stages[0].vars.progress, 1e-5);
}

TEST_F(ButtonPictureTest, RingsStartHalfFullWithTheRootsColours)
{
    mwin->GetSettingsP()->rings.colours[MWIN_RING_SECTOR][1] = 0.75f;
    MWinButton* b = window->AddButton("RING", MWIN_BUT_RINGS, MWIN_TEXBUT_NONE, "", 10, 10, 100, 100);
    ASSERT_NE(nullptr, b);
    EXPECT_FLOAT_EQ(0.5f, b->GetRingsData()->value);
    EXPECT_FLOAT_EQ(1.0f, b->GetRingsData()->maximum);
    EXPECT_FLOAT_EQ(0.75f, b->GetRingsData()->colours[MWIN_RING_SECTOR][1]);
    b->RingsSetValue(3.0f, 0.0f); // no graphics yet: nothing to rebuild, nothing to divide
    EXPECT_FLOAT_EQ(3.0f, b->GetRingsData()->value);
}

// The widget pixel fixture, with ring colours told apart: a red sector, a blue inner and a green outer disc.
class ButtonPicturePixels : public WidgetPixels {
protected:
    void SetUp() override
    {
        WidgetPixels::SetUp();
        _MWinRingSettings& rings = mwin->GetSettingsP()->rings;
        const float colours[3][3] = {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
        for (int part = 0; part < MWIN_RING_PARTS; part++)
            for (int c = 0; c < 3; c++)
                rings.colours[part][c] = colours[part][c];
        rings.inner_inset = 0.1f;
    }
    // An 8 x 8 top-down 32-bit TGA: red on the left half, green on the right.
    std::string HalvesTga()
    {
        const std::string path = scratch.Name("button-picture-halves", ".tga");
        unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 8, 0, 32, 0x28};
        std::vector<unsigned char> bytes(header, header + 18);
        for (int y = 0; y < 8; y++) {
            for (int x = 0; x < 8; x++) {
                const unsigned char bgra[4] = {0, (unsigned char)(x < 4 ? 0 : 255), (unsigned char)(x < 4 ? 255 : 0), 255};
                bytes.insert(bytes.end(), bgra, bgra + 4);
            }
        }
        FILE* f = fopen(path.c_str(), "wb");
        if (!f)
            return "";
        const bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        fclose(f);
        return ok ? path : "";
    }
    // The window pixel of a virtual-screen point (the context is 640 x 480).
    EngUInt32 At(float x, float y) const { return gl.Pixel((int)x, (int)y); }
};

TEST_F(ButtonPicturePixels, PictureCoversTheInsetAreaWithTheChosenPartOfTheTexture)
{
    EngTexture texture;
    const std::string halves = HalvesTga();
    ASSERT_FALSE(halves.empty());
    ASSERT_TRUE(texture.LoadFromFile(halves.c_str(), true, ETAT_FROM_FILE));
    MWinButton* b = window->AddButton("PIC", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "", 100, 100, 200, 100);
    ASSERT_NE(nullptr, b);
    ASSERT_EQ(1, b->PictureAttachTextureToButton(&texture, -1));
    DrawFrame();
    EXPECT_TRUE(PixelNear(At(120, 150), 255, 0, 0));
    EXPECT_TRUE(PixelNear(At(280, 150), 0, 255, 0));
    EXPECT_TRUE(PixelNear(At(90, 150), 255, 255, 255));

    b->PictureSetInsets(1, 20, 10, 20, 10);
    const float right_half[4] = {0.5f, 0.0f, 1.0f, 1.0f};
    b->PictureSetTextureRect(right_half);
    DrawFrame();
    EXPECT_TRUE(PixelNear(At(110, 150), 255, 255, 255)) << "inside the left inset";
    EXPECT_TRUE(PixelNear(At(160, 150), 0, 255, 0)) << "the right half of the texture fills the area";
    EXPECT_TRUE(PixelNear(At(230, 150), 0, 255, 0));
    EXPECT_TRUE(PixelNear(At(200, 105), 255, 255, 255)) << "inside the top inset";

    b->SetModulateColour(1, 1, 1, 0.5f);
    DrawFrame();
    EXPECT_TRUE(PixelNear(At(200, 150), 128, 255, 128, 3)) << "the modulate colour fades the picture";
}

TEST_F(ButtonPicturePixels, QuarterRingFillsFromTheLeftToTheTop)
{
    MWinButton* b = window->AddButton("RING", MWIN_BUT_RINGS, MWIN_TEXBUT_NONE, "", 220, 140, 200, 200);
    ASSERT_NE(nullptr, b);
    ASSERT_EQ(1, b->CreateGraphicsObjects());
    b->RingsSetValue(0.25f, 1.0f);
    DrawFrame();
    const float cx = 320, cy = 240;
    EXPECT_TRUE(PixelNear(At(cx - 60, cy - 8), 255, 0, 0)) << "just above the left axis: the sector";
    EXPECT_TRUE(PixelNear(At(cx - 8, cy - 60), 255, 0, 0)) << "just left of the top axis: the sector";
    EXPECT_TRUE(PixelNear(At(cx - 60, cy + 8), 0, 0, 255)) << "below the left axis: the inner disc";
    EXPECT_TRUE(PixelNear(At(cx + 8, cy - 60), 0, 0, 255)) << "right of the top axis: the inner disc";
    EXPECT_TRUE(PixelNear(At(cx + 40, cy + 40), 0, 0, 255));
    EXPECT_TRUE(PixelNear(At(cx, cy + 90), 0, 255, 0)) << "the outer band beyond the inner radius of 80";
    EXPECT_TRUE(PixelNear(At(cx + 90, cy + 90), 255, 255, 255)) << "outside the circle";

    b->RingsSetValue(1.0f, 0.0f);
    DrawFrame();
    EXPECT_TRUE(PixelNear(At(cx - 40, cy - 40), 0, 0, 255)) << "no maximum: no sector";
    b->RingsSetValue(7.0f, 2.0f);
    DrawFrame();
    EXPECT_TRUE(PixelNear(At(cx + 40, cy + 40), 255, 0, 0)) << "more than the maximum fills one turn";
}

TEST_F(ButtonPicturePixels, RingPartsSwitchedOffAreNeitherBuiltNorDrawn)
{
    mwin->GetSettingsP()->rings.on[MWIN_RING_OUTER] = 0;
    mwin->GetSettingsP()->rings.ring_inset = 0.25f;
    MWinButton* b = window->AddButton("RING", MWIN_BUT_RINGS, MWIN_TEXBUT_NONE, "", 220, 140, 200, 200);
    ASSERT_NE(nullptr, b);
    ASSERT_EQ(1, b->CreateGraphicsObjects());
    DrawFrame();
    EXPECT_TRUE(PixelNear(At(320, 240 + 60), 255, 255, 255)) << "radius 100 - 50 - 20 = 30: 60 is outside";
    EXPECT_TRUE(PixelNear(At(320 + 10, 240 - 20), 255, 0, 0)) << "half full: the upper half, left over the top";
    EXPECT_TRUE(PixelNear(At(320 + 10, 240 + 20), 0, 0, 255));
    b->DestroyGraphicsObjects();
    DrawFrame();
    EXPECT_TRUE(PixelNear(At(330, 260), 255, 255, 255)) << "graphics gone, nothing drawn";
}

} // namespace

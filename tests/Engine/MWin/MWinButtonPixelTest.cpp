// Push buttons drawn into a real context and read back.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngLanguages.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinFontRegistry.h"
#include "Engine/MWin/MWinTextureRegistry.h"
#include "Engine/MWin/MWinWindow.h"
#include "MWinButtonFixture.h"
#include "MWinPixelFixture.h"

namespace {

// Pixels of a virtual-screen rectangle darker than 128 in every channel.
int DarkPixels(const GLTestContext& gl, float x, float y, float w, float h)
{
    return CountVirtualPixels(gl, {x, y, w, h}, [](int r, int g, int b) { return r < 128 && g < 128 && b < 128; });
}

using ButtonPixels = MWinPixels;

} // namespace

TEST_F(ButtonPixels, PushButtonTextReachesTheScreenInsideItsArea)
{
    MWinButton* b = window->AddButton("GO", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "PLAY", 200, 200, 200, 60);
    b->SetFont("Main");
    DrawFrame();
    int inside = DarkPixels(gl, 200, 200, 200, 60);
    EXPECT_GT(inside, 50) << "the text's glyphs are drawn in black";
    EXPECT_EQ(DarkPixels(gl, 0, 0, 640, 190), 0) << "nothing above the button";
    EXPECT_EQ(DarkPixels(gl, 0, 270, 640, 210), 0) << "nothing below it";
}

TEST_F(ButtonPixels, ClipKeepsTextInsideTheWindow)
{
    MWinWindow* small = MWinFixture::AddWindow(window->GetCollection(), "SMALL", 100, 100, 100, 60);
    MWinButton* b = small->AddButton("WIDE", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "WWWWWWWWWWWW", 0, 0, 400, 60);
    b->SetFont("Main");
    b->SetShrinkTextToFit(0);
    b->SetTextAlign(MWIN_ALIGN_LEFT);
    DrawFrame();
    EXPECT_GT(DarkPixels(gl, 100, 100, 100, 60), 50);
    EXPECT_EQ(DarkPixels(gl, 201, 90, 439, 80), 0) << "text past the window's edge is cut off";
}

TEST_F(ButtonPixels, ButtonsWithoutFontOrHiddenDrawNothing)
{
    MWinButton* none = window->AddButton("N", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "NONE", 50, 50, 200, 60);
    none->SetFont(MWIN_FONT_NONE);
    MWinButton* hidden = window->AddButton("H", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "HIDDEN", 50, 300, 200, 60);
    hidden->SetFont("Main");
    hidden->Hide();
    DrawFrame();
    EXPECT_EQ(DarkPixels(gl, 0, 0, 640, 480), 0);
}

TEST_F(ButtonPixels, TwoTextsDrawOnTwoLines)
{
    MWinButton* b = window->AddButton("TWO", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "TOP", 200, 200, 200, 80);
    b->SetFont("Main");
    b->SetText2("BOTTOM");
    DrawFrame();
    EXPECT_GT(DarkPixels(gl, 200, 200, 200, 38), 20) << "first line above the middle";
    EXPECT_GT(DarkPixels(gl, 200, 242, 200, 38), 20) << "second line below it";
}

TEST_F(ButtonPixels, TextureButtonBackgroundFillsTheButton)
{
    std::string red = scratch.SolidTga("mwin-test-red", 255, 0, 0);
    ASSERT_FALSE(red.empty());
    MWinTextures* textures = mwin->GetTextures();
    ASSERT_EQ(textures->AddTexture("Buttons", red.c_str(), 1, 0), 1);
    ASSERT_NE(textures->AddTextureButton("Red", "Buttons", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0, 0, 0),
              nullptr);
    ASSERT_EQ(mwin->CreateGraphicsObjects(), 1);
    window->AddButton("GO", MWIN_BUT_PUSH, "Red", "", 100, 100, 100, 50);
    DrawFrame();
    EXPECT_EQ(ColourPixels(110, 110, 80, 30, 255, 0, 0), int(80 * eng_scale_x) * int(30 * eng_scale_y));
    EXPECT_EQ(ColourPixels(0, 0, 640, 90, 255, 0, 0), 0);
    mwin->DestroyGraphicsObjects();
}

namespace {

// Draws the left half of texture button "White" tinted blue over the button, as a progress bar would.
struct PartDraw {
    MWinTextures* textures = nullptr;
    const float* part = nullptr;
    char result = -1;
};

void DrawLeftHalf(MWinButton*, _Dimension* area, _MWinTextureState state, int, void* user)
{
    PartDraw* draw = static_cast<PartDraw*>(user);
    const float blue[4] = {0, 0, 1, 1};
    draw->result = draw->textures->DrawTexButStatePart(draw->textures->GetTexButNum("White"), state, area->x, area->y,
                                                       area->w / 2, area->h, draw->part, blue);
}

} // namespace

TEST_F(ButtonPixels, StatePartDrawsTintedInsideItsAreaAndNeedsAPart)
{
    std::string white = scratch.SolidTga("mwin-test-white", 255, 255, 255);
    ASSERT_FALSE(white.empty());
    MWinTextures* textures = mwin->GetTextures();
    ASSERT_EQ(textures->AddTexture("Plain", white.c_str(), 1, 0), 1);
    ASSERT_NE(textures->AddTextureButton("White", "Plain", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0, 0,
                                         0),
              nullptr);
    ASSERT_EQ(mwin->CreateGraphicsObjects(), 1);
    MWinButton* b = window->AddButton("BAR", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "", 100, 100, 200, 50);
    const float left_half[4] = {0, 0, 0.5f, 1};
    PartDraw draw;
    draw.textures = textures;
    draw.part = left_half;
    b->SetRenderCallback(&DrawLeftHalf, 0, &draw);
    DrawFrame();
    EXPECT_EQ(draw.result, 1);
    EXPECT_EQ(ColourPixels(105, 105, 90, 40, 0, 0, 255), int(90 * eng_scale_x) * int(40 * eng_scale_y));
    EXPECT_EQ(ColourPixels(205, 100, 95, 50, 0, 0, 255), 0) << "the right half stays undrawn";

    draw.part = nullptr;
    DrawFrame();
    EXPECT_EQ(draw.result, 0);
    EXPECT_EQ(ColourPixels(100, 100, 200, 50, 0, 0, 255), 0);
    mwin->DestroyGraphicsObjects();
}

TEST_F(ButtonPixels, CustomTextureDrawsAndZeroModulateAlphaHidesTheButton)
{
    std::string green = scratch.SolidTga("mwin-test-green", 0, 255, 0);
    ASSERT_FALSE(green.empty());
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile(green.c_str(), true, MWIN_GUI_ALPHA_TYPE));
    MWinButton* b = window->AddButton("GO", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "", 100, 100, 100, 50);
    ASSERT_EQ(b->SetCustomTexture(&texture), 1);
    DrawFrame();
    EXPECT_GT(ColourPixels(110, 110, 80, 30, 0, 255, 0), 0);
    b->SetModulateAlpha(0.0f);
    DrawFrame();
    EXPECT_EQ(ColourPixels(100, 100, 100, 50, 0, 255, 0), 0);
    texture.Destroy();
}

TEST_F(ButtonPixels, MissingBackgroundPictureFallsBackToClearing)
{
    _MWinSettings settings;
    mwin->GetSettings(&settings);
    settings.background_mode = MWIN_BG_PICTURE;
    std::snprintf(settings.background_file, sizeof(settings.background_file), "Data/NoBackground.png");
    mwin->SetSettings(&settings);
    int since = DebugGetMessageCount();
    EXPECT_EQ(mwin->CreateGraphicsObjects(), 0);
    EXPECT_TRUE(LoggedSince(since, "Could not load background image <Data/NoBackground.png>"));
    DrawFrame(0, 0, 1);
    EXPECT_TRUE(PixelNear(gl.Pixel(5, 5), 0, 0, 255)) << "later frames clear the screen";
}

TEST_F(ButtonPixels, LanguageTextsOfOneAndTwoLinesDrawButThreeDrawNothing)
{
    std::string folder = scratch.Folder("mwin-lang");
    ASSERT_FALSE(folder.empty());
    ASSERT_TRUE(
        scratch.WriteText(folder + "/English.txt", "Language=English\nONE=PLAY\nTWO=TOP#BOTTOM\nTHREE=A#B#C\n"));
    ASSERT_TRUE(EngLanguagesInit(folder.c_str(), "English", true));
    EngLanguagesInitFinished();

    MWinButton* b = window->AddButton("T", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "", 200, 200, 200, 80);
    b->SetFont("Main");
    ASSERT_EQ(b->SetTextToken("TWO"), 1);
    EXPECT_STREQ(b->GetTextP(1), "BOTTOM");
    DrawFrame();
    EXPECT_GT(DarkPixels(gl, 200, 200, 200, 38), 20);
    EXPECT_GT(DarkPixels(gl, 200, 242, 200, 38), 20);

    ASSERT_EQ(b->SetTextToken("THREE"), 1);
    DrawFrame();
    EXPECT_EQ(DarkPixels(gl, 200, 200, 200, 80), 0);

    EXPECT_EQ(b->SetTextToken("MISSING"), 0);
    EXPECT_FALSE(b->IsLanguageTextOn());
    b->SetTextToken("ONE");
    b->SetText("LITERAL");
    EXPECT_FALSE(b->IsLanguageTextOn()) << "a literal text switches the language text off";
    EngLanguagesDestroy();
}

TEST_F(ButtonPixels, ShrinkToFitKeepsALongLabelInsideItsArea)
{
    // A bare label is not clipped, so only shrinking keeps its text inside.
    MWinButton* shrunk = window->AddButton("S", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "WWWWWWWWWWWWWWWW", 270, 100, 100, 40);
    shrunk->SetFont("Main");
    MWinButton* wide = window->AddButton("W", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "WWWWWWWWWWWWWWWW", 270, 300, 100, 40);
    wide->SetFont("Main");
    wide->SetShrinkTextToFit(0);
    DrawFrame();
    EXPECT_GT(DarkPixels(gl, 270, 100, 100, 40), 50);
    EXPECT_EQ(DarkPixels(gl, 0, 100, 270, 40), 0);
    EXPECT_EQ(DarkPixels(gl, 370, 100, 270, 40), 0);
    EXPECT_GT(DarkPixels(gl, 0, 300, 270, 40) + DarkPixels(gl, 370, 300, 270, 40), 0)
        << "without shrinking the same text overflows";
}

TEST_F(ButtonPixels, APasswordFieldDrawsStarsForATextLongerThanAnyEdit)
{
    // Longer than the stars' buffer: the sanitizer build catches a write past it.
    std::string secret(MWIN_TEXTEDIT_MAX_LENGTH + 1, 'W');
    MWinButton* field = window->AddButton("PASS", MWIN_BUT_TEXTEDIT, MWIN_TEXBUT_NONE, secret.c_str(), 200, 200,
                                          200, 40);
    field->SetFont("Main");
    field->GetTextEditData()->password = 1;
    DrawFrame();
    EXPECT_GT(DarkPixels(gl, 200, 200, 200, 40), 50) << "the stars, shrunk to the field";
    EXPECT_EQ(std::string(field->GetTextP(0)), secret) << "the stars are only drawn: the text stays";
}

namespace {

struct RenderSeen {
    int calls = 0;
    _Dimension area = {};
    _MWinTextureState state = MWIN_TS_NORMAL;
    int value = 0;
};

void OnRender(MWinButton*, _Dimension* area, _MWinTextureState state, int value, void* user)
{
    RenderSeen* seen = static_cast<RenderSeen*>(user);
    seen->calls++;
    seen->area = *area;
    seen->state = state;
    seen->value = value;
}

} // namespace

TEST_F(ButtonPixels, RenderCallbackRunsAfterTheButtonWithItsAreaAndState)
{
    MWinButton* b = window->AddButton("GO", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "GO", 100, 120, 80, 30);
    RenderSeen seen;
    b->SetRenderCallback(&OnRender, 42, &seen);
    b->Disable();
    DrawFrame();
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.value, 42);
    EXPECT_EQ(seen.state, MWIN_TS_DISABLED);
    EXPECT_FLOAT_EQ(seen.area.x, 100.0f);
    EXPECT_FLOAT_EQ(seen.area.y, 120.0f);
    b->Hide();
    DrawFrame();
    EXPECT_EQ(seen.calls, 1) << "hidden buttons are not drawn";
}

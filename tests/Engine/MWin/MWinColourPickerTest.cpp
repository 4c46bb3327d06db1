// The colour picker: the hue table, the colour its three bars make, the bound colour, the gradient
// pictures, and the bars drawn with them.
#include <gtest/gtest.h>

#include "MWinButtonFixture.h"
#include "MWinWidgetFixture.h"

namespace {

TEST(ColourHueTable, SixRunsGoRoundTheColourCircle)
{
    float table[256][3];
    MWinColourFillHueTable(table);
    const struct {
        int i;
        float r, g, b;
    } expected[] = {{0, 1, 0, 0},   {21, 1, 0, 0.5f}, {42, 1, 0, 1},   {43, 1, 0, 1},   {84, 0, 0, 1},
                    {85, 0, 0, 1},  {127, 0, 1, 1},   {128, 0, 1, 1},  {170, 0, 1, 0},  {171, 0, 1, 0},
                    {212, 41.0f / 42.0f, 1, 0}, {213, 1, 1, 0},   {255, 1, 0, 0}};
    for (const auto& e : expected) {
        EXPECT_NEAR(e.r, table[e.i][0], 1e-5) << e.i;
        EXPECT_NEAR(e.g, table[e.i][1], 1e-5) << e.i;
        EXPECT_NEAR(e.b, table[e.i][2], 1e-5) << e.i;
    }
}

class ColourPickerTest : public MWinFixture {
protected:
    void SetUp() override
    {
        MWinFixture::SetUp();
        picker = MWinColourAddPicker(window, "PICK", 100, 100, 256, 160);
        ASSERT_NE(nullptr, picker);
        for (int i = 0; i < 3; i++) {
            const char id[] = {'P', 'I', 'C', 'K', "HSB"[i], 0};
            bars[i] = window->GetButtonFromID(id, 1);
            ASSERT_NE(nullptr, bars[i]) << id;
        }
        picker->SetCallback(&MWinFixture::Record, 0, 0, this, 0);
    }
    void Set(double hue, double saturation, double brightness)
    {
        bars[0]->SetHorzValueBar(hue, 0, 255, 0);
        bars[1]->SetHorzValueBar(saturation, 0, 1, 0);
        bars[2]->SetHorzValueBar(brightness, 0, 1, 0);
        picker->ColourUpdateFromScrollbars(1);
    }
    const unsigned char* PicturePixel(int bar, int x, int y) const
    {
        return picker->GetColourData()->pictures + bar * MWIN_COLOUR_PICTURE_BYTES + (y * 256 + x) * 3;
    }
    MWinButton* picker = nullptr;
    MWinButton* bars[3] = {};
};

TEST_F(ColourPickerTest, BarsMakeTheColourAndTheBoundValueFollowsIt)
{
    float rgb[3] = {};
    ASSERT_EQ(1, picker->ColourRegisterVariable(rgb, 2.0f, 1.0f));
    EXPECT_FLOAT_EQ(3.0f, rgb[0]) << "pure red to start, times 2 plus 1";
    EXPECT_FLOAT_EQ(1.0f, rgb[1]);

    Set(170, 1.0, 0.5);
    EXPECT_EQ(1, log.calls);
    EXPECT_NEAR(0.0f, picker->GetColourData()->colour[0], 1e-5);
    EXPECT_NEAR(0.5f, picker->GetColourData()->colour[1], 1e-5);
    EXPECT_NEAR(2.0f, rgb[1], 1e-5);

    Set(170, 0.0, 0.5);
    EXPECT_NEAR(0.5f, picker->GetColourData()->colour[0], 1e-5) << "no saturation: grey at the brightness";
    EXPECT_NEAR(0.5f, picker->GetColourData()->colour[2], 1e-5);

    Set(21, 0.5, 1.0);
    EXPECT_NEAR(1.0f, picker->GetColourData()->colour[0], 1e-5);
    EXPECT_NEAR(0.5f, picker->GetColourData()->colour[1], 1e-5);
    EXPECT_NEAR(0.75f, picker->GetColourData()->colour[2], 1e-5);

    const int calls = log.calls;
    picker->ColourUpdateFromScrollbars(1);
    EXPECT_EQ(calls, log.calls) << "nothing changed: repainted, not reported";
}

TEST_F(ColourPickerTest, BarCallbacksReachThePickerAndABarOfAnotherKindReadsAsNothing)
{
    bars[0]->SetHorzValueBar(85, 0, 255, 0);
    ASSERT_TRUE(bars[0]->Fire());
    EXPECT_EQ(1, log.calls);
    EXPECT_NEAR(1.0f, picker->GetColourData()->colour[2], 1e-5) << "hue 85 is blue";

    MWinButton* push = window->AddButton("PUSH", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "", 0, 0, 10, 10);
    ASSERT_EQ(1, picker->ColourSetBars(bars[0], bars[1], push));
    EXPECT_FLOAT_EQ(0.0f, picker->GetColourData()->brightness);
    EXPECT_FLOAT_EQ(0.0f, picker->GetColourData()->colour[2]);

    const int since = DebugGetMessageCount();
    EXPECT_EQ(0, picker->ColourSetBars(bars[0], nullptr, bars[2]));
    EXPECT_TRUE(LoggedSince(since, "No scrollbars"));
    MWinButton* lone = window->AddButton("LONE", MWIN_BUT_COLOUR, MWIN_TEXBUT_NONE, "", 0, 0, 10, 10);
    lone->ColourUpdateFromScrollbars(1);
    EXPECT_TRUE(LoggedSince(since, "No scrollbars"));
}

TEST_F(ColourPickerTest, GradientPicturesShowWhatEachBarWouldGiveInsideTheirBorder)
{
    Set(0, 0.5, 0.8);
    const float* hue100 = mwin->GetColourShared()->hue_table[100];
    EXPECT_EQ((int)(hue100[0] * 255), PicturePixel(0, 100, 16)[0]);
    EXPECT_EQ((int)(hue100[1] * 255), PicturePixel(0, 100, 16)[1]);
    EXPECT_EQ((int)(hue100[2] * 255), PicturePixel(0, 100, 16)[2]);
    EXPECT_EQ(0, PicturePixel(0, 1, 16)[0]) << "the end border";
    EXPECT_EQ(0, PicturePixel(0, 100, 31)[1]) << "the side border";
    // A fifth along: saturation mixes grey at the brightness with the hue, brightness darkens the colour
    // at full brightness (red, half saturated).
    EXPECT_NEAR(214, PicturePixel(1, 51, 16)[0], 1);
    EXPECT_NEAR(163, PicturePixel(1, 51, 16)[1], 1);
    EXPECT_NEAR(51, PicturePixel(2, 51, 16)[0], 1);
    EXPECT_NEAR(25, PicturePixel(2, 51, 16)[1], 1);
}

// The hue bar lies at x 100..356, y 140..180: a press at either end puts the hue at that end.
TEST_F(ColourPickerTest, BarsFollowAPressAndADragUntilTheRelease)
{
    MoveTo(355, 160);
    Press();
    EXPECT_TRUE(bars[0]->IsDragging());
    EXPECT_FLOAT_EQ(255.0f, picker->GetColourData()->hue);
    EXPECT_EQ(1, log.calls);
    MoveTo(100, 170);
    EXPECT_FLOAT_EQ(0.0f, picker->GetColourData()->hue);
    MoveTo(228, 400); // off the bar the drag goes on
    EXPECT_NEAR(128.0f, picker->GetColourData()->hue, 2.0f);
    EXPECT_EQ(3, log.calls);
    Release();
    EXPECT_FALSE(bars[0]->IsDragging());
    MoveTo(300, 160);
    EXPECT_NEAR(128.0f, picker->GetColourData()->hue, 2.0f) << "after the release moves change nothing";
    EXPECT_EQ(3, log.calls);

    // Brightness bar (y 220..260): a press at its start darkens the colour to black.
    Click(100, 240);
    EXPECT_FLOAT_EQ(0.0f, picker->GetColourData()->brightness);
    EXPECT_FLOAT_EQ(0.0f, picker->GetColourData()->colour[1]);
}

// In a controller's window the bars report to the controller and still update their picker.
TEST_F(ColourPickerTest, InAControllersWindowTheBarsReachBothTheControllerAndThePicker)
{
    RecordingController controller;
    MWinCollection* screen = mwin->GetDesktop()->AddCollection("CTRL");
    MWinWindow* controlled = AddWindow(screen, "MAIN", 0, 0, 640, 480);
    controlled->SetController(&controller);
    MWinButton* own = MWinColourAddPicker(controlled, "OWN", 100, 100, 256, 160);
    ASSERT_NE(nullptr, own);
    Click(355, 160);
    EXPECT_FLOAT_EQ(255.0f, own->GetColourData()->hue);
    EXPECT_EQ(2, controller.calls) << "the bar's report, then the picker's";
    EXPECT_EQ("OWN", controller.last_id);
}

class ColourPickerPixels : public WidgetPixels {};

TEST_F(ColourPickerPixels, BarsAreDrawnWithTheirGradients)
{
    MWinButton* picker = MWinColourAddPicker(window, "PICK", 64, 80, 512, 320);
    ASSERT_NE(nullptr, picker);
    ASSERT_EQ(1, mwin->CreateGraphicsObjects());
    DrawFrame();
    // Hue bar from y 160 to 240: blue a third along, cyan half way.
    EXPECT_TRUE(PixelNear(gl.Pixel(64 + 171, 200), 0, 0, 255, 12));
    EXPECT_TRUE(PixelNear(gl.Pixel(64 + 256, 200), 0, 255, 255, 12));
    // Brightness bar (y 320 to 400): black to red.
    EXPECT_TRUE(PixelNear(gl.Pixel(64 + 20, 360), 10, 0, 0, 12));
    EXPECT_TRUE(PixelNear(gl.Pixel(64 + 490, 360), 244, 0, 0, 12));
    EXPECT_TRUE(PixelNear(gl.Pixel(64 + 490, 200 - 40 - 2), 255, 255, 255, 3)) << "above the bars: the picker itself";

    // The hue bar's thumb (green here) stands where its value does: at the start, then at the end.
    Standard(MWIN_STD_HSCROLL_THUMB, "Green");
    DrawFrame();
    const int thumb = Area(24, 80); // the layout's thumb width, the bar's height
    EXPECT_GT(ColourPixels(64, 160, 40, 80, 0, 255, 0), thumb * 3 / 4);
    EXPECT_EQ(ColourPixels(64 + 472, 160, 40, 80, 0, 255, 0), 0);
    MWinButton* hue = window->GetButtonFromID("PICKH", 1);
    hue->SetHorzValueBar(255, 0, 255, 0);
    picker->ColourUpdateFromScrollbars(0);
    DrawFrame();
    EXPECT_EQ(ColourPixels(64, 160, 40, 80, 0, 255, 0), 0);
    EXPECT_GT(ColourPixels(64 + 472, 160, 40, 80, 0, 255, 0), thumb * 3 / 4);

    // Graphics released and made again, as around a device re-creation: the bars never draw a dead texture.
    mwin->DestroyGraphicsObjects();
    DrawFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(64 + 256, 200), 255, 255, 255, 3));
    ASSERT_EQ(1, mwin->CreateGraphicsObjects());
    DrawFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(64 + 256, 200), 0, 255, 255, 12));
}

} // namespace

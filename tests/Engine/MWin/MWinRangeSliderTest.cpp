// Range sliders: the pair's rules, dragging each part, keys, the label, the mirrored pair and the drawing.
#include "MWinWidgetFixture.h"

namespace {

// A 200-wide slider at x 100: end margins 3, thumbs 15, so a travel of 164 for the range 0..1; the default
// pair 0.25..0.75 puts the low thumb at 144..159 and the high one at 241..256.
class RangeSlider : public WidgetFixture {
protected:
    MWinButton* Slider(const char* text = "")
    {
        return AddKind("RS", MWIN_BUT_SLIDER, 100, 100, 200, 30, text);
    }
    static void ExpectPair(MWinButton* b, float lo, float hi)
    {
        float l = 0, h = 0;
        b->RangeSliderGetPair(&l, &h);
        EXPECT_NEAR(l, lo, 1e-4);
        EXPECT_NEAR(h, hi, 1e-4);
    }
};

TEST_F(RangeSlider, PairIsOrderedClampedAndKeptApart)
{
    MWinButton* b = Slider();
    b->RangeSliderSetPair(0.5f, 0.52f, 0, 0);
    ExpectPair(b, 0.46f, 0.56f);
    b->RangeSliderSetPair(1.5f, -1.0f, 0, 0);
    ExpectPair(b, 0.0f, 1.0f);
    b->RangeSliderSetPair(0.0f, 0.0f, 0, 0);
    ExpectPair(b, 0.0f, 0.1f);
    b->RangeSliderSetPair(1.0f, 1.0f, 0, 0);
    ExpectPair(b, 0.9f, 1.0f);
    EXPECT_TRUE(fired.empty());
}

TEST_F(RangeSlider, UnchangedPairFiresOnlyWhenAskedAlways)
{
    MWinButton* b = Slider();
    b->RangeSliderSetPair(0.25f, 0.75f, MWIN_FIRE_IF_CHANGED, 0);
    EXPECT_TRUE(fired.empty());
    b->RangeSliderSetPair(0.25f, 0.75f, MWIN_FIRE_ALWAYS, 1);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0].kind.slider_dragging, 1);
    b->RangeSliderSetPair(0.3f, 0.75f, MWIN_FIRE_IF_CHANGED, 0);
    EXPECT_EQ(fired.size(), 2u);
}

TEST_F(RangeSlider, DraggingTheLowThumbStopsAGapBelowTheHighOne)
{
    MWinButton* b = Slider();
    MoveTo(150, 115);
    Press();
    MoveTo(150 + 16.4f, 115);
    ExpectPair(b, 0.35f, 0.75f);
    ASSERT_FALSE(fired.empty());
    EXPECT_EQ(fired.back().kind.slider_dragging, 1);
    EXPECT_EQ(b->IsCapturingInput(), 1);
    MoveTo(600, 300);
    ExpectPair(b, 0.65f, 0.75f);
    size_t during = fired.size();
    Release();
    ASSERT_EQ(fired.size(), during + 1) << "release reports the final pair once";
    EXPECT_EQ(fired.back().kind.slider_dragging, 0);
    EXPECT_FALSE(b->IsDragging());
    MoveTo(610, 300);
    ExpectPair(b, 0.65f, 0.75f);
}

TEST_F(RangeSlider, DraggingTheHighThumbAndTheSpan)
{
    MWinButton* b = Slider();
    MoveTo(245, 115);
    Press();
    MoveTo(245 + 16.4f, 115);
    Release();
    ExpectPair(b, 0.25f, 0.85f);
    float low_x = 0, high_x = 0;
    b->RangeSliderGetThumbs(&low_x, &high_x);
    MoveTo(200, 115);
    Press();
    MoveTo(0, 115);
    ExpectPair(b, 0.0f, 0.6f);
    MoveTo(639, 115);
    Release();
    ExpectPair(b, 0.4f, 1.0f);
}

TEST_F(RangeSlider, PressBesideThePairOnlyLogs)
{
    MWinButton* b = Slider();
    int since = DebugGetMessageCount();
    Click(110, 115);
    EXPECT_TRUE(LoggedSince(since, "JUMP LEFT"));
    Click(290, 115);
    EXPECT_TRUE(LoggedSince(since, "JUMP RIGHT"));
    ExpectPair(b, 0.25f, 0.75f);
    EXPECT_TRUE(fired.empty());
}

TEST_F(RangeSlider, KeysStepCentreAndReset)
{
    MWinButton* b = Slider();
    MoveTo(200, 115);
    EXPECT_EQ(Key(ENG_VK_RIGHT), 1);
    ExpectPair(b, 0.26f, 0.76f);
    EngKeyStateTableSet(ENG_VK_CONTROL, true);
    Key(ENG_VK_LEFT);
    ExpectPair(b, 0.25f, 0.76f);
    EngKeyStateTableSet(ENG_VK_CONTROL, false);
    EngKeyStateTableSet(ENG_VK_SHIFT, true);
    Key(ENG_VK_RIGHT);
    ExpectPair(b, 0.25f, 0.77f);
    EngKeyStateTableSet(ENG_VK_SHIFT, false);
    Key(ENG_VK_DOWN);
    ExpectPair(b, 0.24f, 0.76f);
    Key(ENG_VK_UP);
    ExpectPair(b, 0.0f, 0.1f);
    EXPECT_EQ(Key('Q'), 0);
    EXPECT_EQ(fired.size(), 5u);
}

TEST_F(RangeSlider, LabelKeepsThePrefixAndShowsOneOrTwoValues)
{
    MWinButton* b = Slider("RANGE");
    b->RangeSliderSetLabel(3, 5);
    EXPECT_STREQ(b->GetTextP(0), "RANGE [0.25,0.75]");
    b->RangeSliderSetPair(0.5f, 0.52f, 0, 0);
    EXPECT_STREQ(b->GetTextP(0), "RANGE [0.51]") << "a pair within the gap is one value";
    b->RangeSliderSetPair(0.0f, 0.0f, 0, 0);
    EXPECT_STREQ(b->GetTextP(0), "RANGE [0.00]");
    b->RangeSliderSetLabel(4, 0);
    EXPECT_STREQ(b->GetTextP(0), "[0.000]");
    MWinButton* other = AddKind("AB", MWIN_BUT_SLIDER, 100, 200, 200, 30, "AB");
    other->RangeSliderSetPair(0.2f, 0.7f, 0, 0);
    other->RangeSliderSetLabel(1, 99);
    EXPECT_STREQ(other->GetTextP(0), "AB [0.2,0.7]") << "a prefix longer than the text keeps the text";
}

TEST_F(RangeSlider, RegisteredPairIsWrittenDividedAndZeroDivisorRefused)
{
    MWinButton* b = Slider();
    float pair[2] = {};
    int since = DebugGetMessageCount();
    EXPECT_EQ(b->RangeSliderRegisterFloatPairVariable(pair, 0.0f), 0);
    EXPECT_TRUE(LoggedSince(since, "0 val passed as mult"));
    ASSERT_EQ(b->RangeSliderRegisterFloatPairVariable(pair, 0.5f), 1);
    EXPECT_FLOAT_EQ(pair[0], 0.5f);
    EXPECT_FLOAT_EQ(pair[1], 1.5f);
    b->RangeSliderSetPair(0.0f, 1.0f, 0, 0);
    EXPECT_FLOAT_EQ(pair[1], 2.0f);
}

TEST_F(RangeSlider, ZeroRangeAndNarrowButtonNeverDivideByZero)
{
    MWinButton* b = Slider();
    b->RangeSliderSetRange(5.0f, 5.0f, 0.1f);
    ExpectPair(b, 5.0f, 5.0f);
    float low_x = 0, high_x = 0;
    b->RangeSliderGetThumbs(&low_x, &high_x);
    EXPECT_FLOAT_EQ(low_x, 103.0f);
    EXPECT_FLOAT_EQ(high_x, 103.0f);
    MoveTo(110, 115);
    Press();
    MoveTo(300, 115);
    Release();
    Key(ENG_VK_RIGHT);
    ExpectPair(b, 5.0f, 5.0f);
    MWinButton* narrow = AddKind("N", MWIN_BUT_SLIDER, 400, 100, 20, 30);
    MoveTo(405, 115);
    Press();
    MoveTo(500, 115);
    Release();
    float lo = 0, hi = 0;
    narrow->RangeSliderGetPair(&lo, &hi);
    EXPECT_TRUE(lo >= 0.0f && hi <= 1.0f && hi - lo >= 0.1f - 1e-5f);
}

class RangeSliderPixels : public WidgetPixels {};

TEST_F(RangeSliderPixels, SpanAndThumbArrowsAreDrawnBetweenTheValues)
{
    Standard(MWIN_STD_HSCROLL_THUMB, "Red");
    Standard(MWIN_STD_LEFT_ARROW, "Blue");
    Standard(MWIN_STD_RIGHT_ARROW, "Blue");
    ASSERT_EQ(mwin->CreateGraphicsObjects(), 1);
    window->AddButton("RS", MWIN_BUT_SLIDER, MWIN_TEXBUT_NONE, "", 100, 100, 200, 30);
    DrawFrame();
    EXPECT_EQ(ColourPixels(165, 105, 70, 20, 255, 0, 0), Area(70, 20)) << "the span between the thumbs";
    EXPECT_EQ(ColourPixels(148, 106, 6, 18, 0, 0, 255), Area(6, 18)) << "the arrow inside the low thumb";
    EXPECT_EQ(ColourPixels(245, 106, 6, 18, 0, 0, 255), Area(6, 18));
    EXPECT_EQ(ColourPixels(100, 100, 42, 30, 255, 0, 0), 0) << "nothing left of the pair";
    EXPECT_EQ(ColourPixels(258, 100, 42, 30, 255, 0, 0), 0) << "nothing right of it";
}

} // namespace

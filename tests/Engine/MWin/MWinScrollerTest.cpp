#include <gtest/gtest.h>

#include <cmath>

#include "Engine/Core/EngProgram.h"
#include "Engine/MWin/MWinScroller.h"
#include "MWinButtonFixture.h"

namespace {

struct Taps {
    int calls = 0;
    int count = 0;
};

void OnTap(EngUInt32, int taps, float, float, void* user)
{
    Taps* t = static_cast<Taps*>(user);
    t->calls++;
    t->count = taps;
}

class ScrollerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        eng_time = 10.0;
        eng_frame_time = 1.0f / 60.0f;
    }
    // A horizontal scroller over a 200 x 100 area at (100, 100): one area width of drag scrolls 100.
    void TurnOnX(bool overscroll, float friction = 1.0f)
    {
        _Dimension area = {100, 100, 200, 100};
        s.TurnOn(&area, false, true, 50, 0, 100, 100, 3, overscroll, false, 0, 0, 0, 0, 0, false, friction);
    }
    void Drag(float from, float to)
    {
        s.HandleButton(0, true, from, 150, false, true);
        s.HandleMouseMove(from, 150, false);
        s.HandleMouseMove(to, 150, false);
    }
    EngScroller s;
};

} // namespace

TEST_F(ScrollerTest, ZeroWidthAreaIsRefusedAndLeavesTheScrollerOff)
{
    _Dimension area = {0, 0, 0, 100};
    int since = DebugGetMessageCount();
    s.TurnOn(&area, false, true, 0, 0, 10, 1, 0, false, false, 0, 0, 0, 0, 0, false, 1);
    EXPECT_FALSE(s.IsOn());
    EXPECT_TRUE(LoggedSince(since, "Invalid Dimension"));
    EXPECT_FALSE(s.HandleButton(0, true, 0, 0, false, true));
    EXPECT_FALSE(s.Tick());
}

TEST_F(ScrollerTest, NullAreaMeansTheWholeScreen)
{
    s.TurnOn(nullptr, false, true, 0, 0, 10, 1, 0, false, false, 0, 0, 0, 0, 0, false, 1);
    EXPECT_TRUE(s.IsOn());
    EXPECT_TRUE(s.HandleButton(0, true, 639, 479, false, true));
    EXPECT_TRUE(s.IsPointerInArea());
}

TEST_F(ScrollerTest, DragWithinTheThresholdDoesNotScroll)
{
    TurnOnX(false);
    Drag(200, 202);
    EXPECT_EQ(s.GetState(0), ESS_TRACKING);
    EXPECT_FLOAT_EQ(s.GetXValue(), 50.0f);
}

TEST_F(ScrollerTest, DragMovesTheValueAgainstThePointer)
{
    TurnOnX(false);
    Drag(200, 210);
    EXPECT_EQ(s.GetState(0), ESS_DRAGGING);
    s.HandleMouseMove(150, 150, false);
    EXPECT_FLOAT_EQ(s.GetXValue(), 75.0f) << "50 pixels left over a 200 wide area scroll by a quarter of 100";
}

TEST_F(ScrollerTest, WithoutOverscrollTheValueStopsAtTheMaximum)
{
    TurnOnX(false);
    Drag(250, 240);
    s.HandleMouseMove(-400, 150, false);
    EXPECT_FLOAT_EQ(s.GetXValue(), 100.0f);
}

TEST_F(ScrollerTest, OverscrollPassesTheMaximumAndSpringsBackAfterRelease)
{
    TurnOnX(true);
    Drag(250, 240);
    s.HandleMouseMove(100, 150, false);
    EXPECT_GT(s.GetXValue(), 100.0f);
    EXPECT_TRUE(s.HandleButton(0, false, 100, 150, false, true));
    EXPECT_FLOAT_EQ(s.GetVelocity(0), 0.0f) << "no coasting on the desktop";
    for (int i = 0; i < 120 && s.GetXValue() > 100.0f; i++) {
        eng_time += eng_frame_time;
        s.Tick();
    }
    EXPECT_FLOAT_EQ(s.GetXValue(), 100.0f);
}

TEST_F(ScrollerTest, TwoQuickTapsAreReportedAsTwoAfterThePause)
{
    TurnOnX(false);
    Taps taps;
    s.SetTapCallback(&OnTap, &taps);
    s.HandleButton(0, true, 200, 150, false, true);
    eng_time += 0.05;
    EXPECT_TRUE(s.HandleButton(0, false, 200, 150, false, true));
    eng_time += 0.1;
    EXPECT_TRUE(s.Tick()) << "a pending tap counts as a change";
    s.HandleButton(0, true, 200, 150, false, true);
    eng_time += 0.05;
    s.HandleButton(0, false, 200, 150, false, true);
    eng_time += 0.2;
    s.Tick();
    EXPECT_EQ(taps.calls, 0) << "reported only 0.3 s after the last tap";
    eng_time += 0.11;
    s.Tick();
    EXPECT_EQ(taps.calls, 1);
    EXPECT_EQ(taps.count, 2);
}

TEST_F(ScrollerTest, SlowPressIsNotATapAndTapsCanBeRefused)
{
    TurnOnX(false);
    Taps taps;
    s.SetTapCallback(&OnTap, &taps);
    s.HandleButton(0, true, 200, 150, false, false);
    eng_time += 0.05;
    EXPECT_FALSE(s.HandleButton(0, false, 200, 150, false, false)) << "taps not allowed: release unused";
    s.HandleButton(0, true, 200, 150, false, true);
    eng_time += 0.5;
    s.HandleButton(0, false, 200, 150, false, true);
    eng_time += 1.0;
    s.Tick();
    EXPECT_EQ(taps.calls, 0);
}

TEST_F(ScrollerTest, PressOutsideTheAreaDoesNotArm)
{
    TurnOnX(false);
    EXPECT_FALSE(s.HandleButton(0, true, 10, 10, false, true));
    EXPECT_EQ(s.GetState(0), ESS_IDLE);
    EXPECT_FALSE(s.HandleButton(1, true, 200, 150, false, true)) << "only the left button";
}

TEST_F(ScrollerTest, OneAxisAtATimeGivesTheMoveToTheLongerDistance)
{
    _Dimension area = {0, 0, 400, 400};
    s.TurnOn(&area, true, true, 0, -1000, 1000, 400, 3, false, true, 0, -1000, 1000, 400, 3, false, 1);
    s.HandleButton(0, true, 200, 200, false, true);
    s.HandleMouseMove(200, 200, false);
    s.HandleMouseMove(200, 230, false);
    s.HandleMouseMove(205, 260, false);
    EXPECT_EQ(s.GetState(1), ESS_DRAGGING);
    EXPECT_NE(s.GetState(0), ESS_DRAGGING);
    s.HandleMouseMove(300, 260, false);
    EXPECT_FLOAT_EQ(s.GetXValue(), 0.0f) << "x waits while y drags";
    EXPECT_FLOAT_EQ(s.GetYValue(), -60.0f);
}

TEST_F(ScrollerTest, TinyAreaAndEmptyRangeStayFinite)
{
    _Dimension area = {10, 10, 0.001f, 0.001f};
    s.TurnOn(&area, false, true, 5, 5, 5, 100, 0, true, true, 5, 5, 5, 100, 0, true, 1);
    s.HandleButton(0, true, 10, 10, false, true);
    s.HandleMouseMove(10, 10, false);
    s.HandleMouseMove(400, 400, false);
    s.HandleMouseMove(420, 430, false);
    s.HandleButton(0, false, 420, 430, false, true);
    for (int i = 0; i < 30; i++)
        s.Tick();
    EXPECT_TRUE(std::isfinite(s.GetXValue()));
    EXPECT_TRUE(std::isfinite(s.GetYValue()));
    EXPECT_FLOAT_EQ(s.GetXValue(), 5.0f) << "sprung back into the empty range";
}

TEST_F(ScrollerTest, SimulatedPressResetsInsteadOfArming)
{
    TurnOnX(false);
    s.HandleButton(0, true, 200, 150, false, true);
    EXPECT_EQ(s.GetState(0), ESS_ARMED);
    EXPECT_FALSE(s.HandleButton(0, true, 200, 150, true, true));
    EXPECT_EQ(s.GetState(0), ESS_IDLE);
    EXPECT_FALSE(s.HandleMouseMove(250, 150, true));
}

TEST_F(ScrollerTest, SetValueResetsTheAxis)
{
    TurnOnX(false);
    Drag(200, 210);
    s.SetXValue(20);
    EXPECT_EQ(s.GetState(0), ESS_IDLE);
    EXPECT_FLOAT_EQ(s.GetXValue(), 20.0f);
    s.TurnOff();
    int since = DebugGetMessageCount();
    s.Reset(0);
    EXPECT_TRUE(LoggedSince(since, "Not on"));
}

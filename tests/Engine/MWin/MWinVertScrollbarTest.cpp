// The vertical scroll bar fed with input events the way the window procedure delivers them.
#include <gtest/gtest.h>

#include <vector>

#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinGroup.h"
#include "Engine/MWin/MWinVertScrollbar.h"
#include "MWinButtonFixture.h"

namespace {

struct ScrollEvent {
    double value;
    int dragging;
};

// Bar at x 600..620, y 40..440: track from 43, 382 long, thumb 12 high (the layout's fallbacks).
class VertScrollbarTest : public MWinFixture {
protected:
    void SetUp() override
    {
        MWinFixture::SetUp();
        bar = Make(600, 40, 20, 400);
        bar->SetRange(0.0, 100.0, 10.0, 1.0);
    }

    MWinVertScrollbar* Make(float x, float y, float w, float h)
    {
        MWinGroup* group = window->GetFirstGroup();
        auto* made = new MWinVertScrollbar(mwin, "VS", group, MWIN_TEXBUT_NONE, "", x, y, w, h);
        group->AppendButton(made);
        made->SetCallback(&VertScrollbarTest::OnScroll, 0, 0, this, 0);
        return made;
    }

    static void OnScroll(MWin*, _MWinButtonCallbackInfo* info, int, int, void* user)
    {
        auto* self = static_cast<VertScrollbarTest*>(user);
        self->events.push_back({info->kind.vscroll.value, info->kind.vscroll.dragging});
        if (self->remove_screen_on_fire)
            self->mwin->GetDesktop()->RemoveCollection("SCREEN");
    }

    float ThumbCentre() const { return bar->GetThumbY() + bar->GetThumbHeight() / 2.0f; }

    MWinVertScrollbar* bar = nullptr;
    std::vector<ScrollEvent> events;
    bool remove_screen_on_fire = false;
};

} // namespace

TEST_F(VertScrollbarTest, DraggingFiresWithTheFlagOnEachMoveAndOnceWithoutOnRelease)
{
    MoveTo(610, ThumbCentre());
    Press();
    EXPECT_TRUE(bar->IsDragging());
    MoveTo(610, 43 + 6 + 191); // half the track
    MoveTo(610, 43 + 6 + 382); // the end
    Release();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_NEAR(events[0].value, 50.0, 1e-9);
    EXPECT_EQ(events[0].dragging, 1);
    EXPECT_NEAR(events[1].value, 100.0, 1e-9);
    EXPECT_EQ(events[1].dragging, 1);
    EXPECT_NEAR(events[2].value, 100.0, 1e-9);
    EXPECT_EQ(events[2].dragging, 0) << "the release reports the final value without the dragging flag";
    EXPECT_FALSE(bar->IsDragging());
}

TEST_F(VertScrollbarTest, DraggingPastTheEndsClampsAndAPlainClickOnTheThumbFiresNothing)
{
    MoveTo(610, ThumbCentre());
    Press();
    Release();
    EXPECT_TRUE(events.empty()) << "no change while dragging, nothing to report";
    MoveTo(610, ThumbCentre());
    Press();
    MoveTo(610, 470);
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 100.0);
    MoveTo(610, 0);
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 0.0);
    Release();
}

TEST_F(VertScrollbarTest, ClicksAboveAndBelowTheThumbPage)
{
    Click(610, 300);
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 10.0);
    bar->SetPosDouble(50.0, 0, 0, 0);
    Click(610, 60);
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 40.0);
    bar->SetPosDouble(95.0, 0, 0, 0);
    Click(610, 430);
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 100.0) << "a page stops at the maximum";
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2].dragging, 0);
}

TEST_F(VertScrollbarTest, WheelAndKeysStepAndPage)
{
    bar->SetPosDouble(50.0, 0, 0, 0);
    MoveTo(610, 300);
    Wheel(1);
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 49.0);
    Wheel(-3);
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 52.0);
    Key(ENG_VK_DOWN);
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 53.0);
    Key(ENG_VK_UP);
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 52.0);
    Key(ENG_VK_PRIOR);
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 42.0);
    Key(ENG_VK_RIGHT);
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 52.0);
    EXPECT_TRUE(bar->WasKeyHandled());
    Key('A');
    EXPECT_FALSE(bar->WasKeyHandled());
    EXPECT_EQ(events.size(), 8u) << "one report per wheel step and per key";
}

TEST_F(VertScrollbarTest, StepsDoNotClampToTheEnds)
{
    bar->SetRange(0.0, 1.0, 0.5, 0.3);
    bar->SetPosDouble(0.8, 0, 0, 0);
    bar->StepDown();
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 0.8);
    EXPECT_TRUE(events.empty());
    bar->StepUp();
    EXPECT_NEAR(bar->GetPosDouble(), 0.5, 1e-12);
    ASSERT_EQ(events.size(), 1u);
}

TEST_F(VertScrollbarTest, RangeRulesAndSnapping)
{
    bar->SetRange(10.0, 5.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(bar->GetMaximum(), 100.0) << "a maximum below the minimum is ignored";
    bar->SetRange(0.0, 50.0, 0.0, -1.0);
    EXPECT_DOUBLE_EQ(bar->GetPage(), 5.0);
    EXPECT_DOUBLE_EQ(bar->GetStep(), 0.5);

    bar->SetRange(0.0, 1.0, 0.1, 0.01);
    bar->SetSnap(0.01f);
    bar->SetPosDouble(0.456, 0, 0, 0);
    EXPECT_NEAR(bar->GetPosDouble(), 0.46, 1e-12);
    int since = DebugGetMessageCount();
    bar->SetSnap(0.5f);
    bar->SetPosDouble(0.123, 0, 0, 0);
    EXPECT_TRUE(LoggedSince(since, "Unsupported snap value"));
    EXPECT_EQ(bar->GetSnap(), 0.0f);
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 0.123);
}

TEST_F(VertScrollbarTest, BoundVariablesFollowTheValueWithinTheirRange)
{
    bar->SetRange(0.0, 400.0, 10.0, 1.0);
    unsigned char byte = 7;
    bar->BindByteVariable(&byte);
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 7.0) << "binding reads the variable into the position";
    bar->SetPosDouble(300.0, 0, 0, 0);
    EXPECT_EQ(byte, 255);

    signed char small = 0;
    bar->SetRange(-400.0, 400.0, 10.0, 1.0);
    bar->BindSignedByteVariable(&small);
    bar->SetPosDouble(-300.0, 0, 0, 0);
    EXPECT_EQ(small, -127);

    float level = 0.25f;
    bar->SetRange(0.0, 100.0, 10.0, 1.0);
    bar->BindFloatVariable(&level, 100.0f);
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 25.0);
    bar->SetPosDouble(80.0, 0, 0, 0);
    EXPECT_FLOAT_EQ(level, 0.8f);

    unsigned count = 0;
    bar->SetRange(-10.0, 10.0, 1.0, 1.0);
    bar->BindUnsignedVariable(&count, 1.0f);
    bar->SetPosDouble(-5.0, 0, 0, 0);
    EXPECT_EQ(count, 0u) << "a negative value never wraps into a huge unsigned";
}

TEST_F(VertScrollbarTest, ZeroRangeAndAThumbTallerThanTheTrackDivideByNothing)
{
    bar->SetRange(5.0, 5.0, 0.0, 0.0);
    EXPECT_FLOAT_EQ(bar->GetThumbY(), bar->GetTrackTop());
    EXPECT_DOUBLE_EQ(bar->ValueAtY(300), 5.0);
    Click(610, 300);
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 5.0);

    MWinVertScrollbar* tiny = Make(560, 40, 20, 10);
    tiny->SetRange(0.0, 100.0, 10.0, 1.0);
    EXPECT_LT(tiny->GetTrackLength(), 0.0f);
    EXPECT_FLOAT_EQ(tiny->GetThumbY(), tiny->GetTrackTop());
    EXPECT_DOUBLE_EQ(tiny->ValueAtY(45), 0.0);
    MoveTo(570, 45);
    Press();
    MoveTo(570, 200);
    Release();
    EXPECT_GE(tiny->GetPosDouble(), 0.0);
    EXPECT_LE(tiny->GetPosDouble(), 100.0);
}

TEST_F(VertScrollbarTest, ArrowsStepAndTheLabelShowsTheValue)
{
    bar->SetArrows(1);
    bar->SetPosDouble(50.0, 0, 0, 0);
    Click(610, 40 + 3 + 6); // up arrow
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 49.0);
    Click(610, 440 - 3 - 6); // down arrow
    EXPECT_DOUBLE_EQ(bar->GetPosDouble(), 50.0);

    bar->SetText("Volume");
    bar->SetLabel(3, 3, 2.0f);
    EXPECT_STREQ(bar->GetTextP(0), "Vol [100.00]");
    bar->SetLabel(2, 0, 1.0f);
    bar->SetPosDouble(12.0, 0, 0, 0);
    EXPECT_STREQ(bar->GetTextP(0), "12.0");
}

TEST_F(VertScrollbarTest, ACallbackThatRemovesTheScreenWhileDraggingIsSafe)
{
    remove_screen_on_fire = true;
    MoveTo(610, ThumbCentre());
    Press();
    MoveTo(610, 200);
    ASSERT_EQ(events.size(), 1u);
    MoveTo(610, 300);
    Release();
    Frame();
    EXPECT_EQ(mwin->GetCollectionFromID("SCREEN", false), nullptr);
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(VertScrollbarTest, AWheelStepWhoseCallbackRemovesTheScreenEndsTheWheel)
{
    int bound = 0;
    bar->BindIntVariable(&bound, 1.0f);
    bar->SetPosDouble(50.0, 0, 0, 0);
    remove_screen_on_fire = true;
    MoveTo(610, 300);
    int since = DebugGetMessageCount();
    EXPECT_EQ(Wheel(3), 1);
    ASSERT_EQ(events.size(), 1u) << "the steps after the one that removed the bar neither report";
    EXPECT_EQ(bound, 49) << "nor write the bound variable";
    EXPECT_FALSE(LoggedSince(since, "Could not find collection"));
    Frame();
    EXPECT_EQ(mwin->GetCollectionFromID("SCREEN", false), nullptr);
}

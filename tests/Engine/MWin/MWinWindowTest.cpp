// Windows: placement, title bar, queued Escape and Enter, Tab focus, scrolling, dragging
// and the title buttons' controller path.

#include "Engine/MWin/MWinButtonFixture.h"

#include "Engine/Core/EngString.h"
#include "Engine/MWin/MWinCollectionController.h"
#include "Engine/MWin/MWinGroup.h"

#include <cmath>

namespace {

_MWinWindowCreateInfo TitledInfo(float x, float y, float w, float h)
{
    _MWinWindowCreateInfo info = PlacedWindowInfo(x, y, w, h);
    info.has_title_bar = 1;
    EngSafeStrcpy(info.title, "Title", sizeof(info.title));
    return info;
}

} // namespace

class MWinWindowTest : public MWinFixture
{
};

TEST_F(MWinWindowTest, CreateInfoPlacesCentresAndKeepsTitleBarOnScreen)
{
    _MWinWindowCreateInfo info = TitledInfo(MWIN_WINDOW_CENTRE, 0, 300, -1);
    int since = DebugGetMessageCount();
    info.has_extra_button = 2;
    MWinWindow* w = collection->AddWindow("TITLED", &info);
    ASSERT_NE(w, nullptr);
    EXPECT_FLOAT_EQ(w->GetRequestedArea().x, 170.0f);
    EXPECT_FLOAT_EQ(w->GetRequestedArea().y, 30.0f) << "the title bar never leaves the top of the screen";
    EXPECT_FLOAT_EQ(w->GetRequestedArea().h, 100.0f) << "a negative height becomes 100";
    EXPECT_TRUE(LoggedSince(since, "has_extra_button is 2 - setting to 0."));
    EXPECT_EQ(w->GetExtraButton(), nullptr);

    MWinWindow* bare = collection->AddWindow("BARE", nullptr);
    ASSERT_NE(bare, nullptr);
    EXPECT_TRUE(LoggedSince(since, "No info passed in"));
    EXPECT_FLOAT_EQ(bare->GetRequestedArea().x, 10.0f);
    EXPECT_FLOAT_EQ(bare->GetRequestedArea().w, 50.0f);
}

TEST_F(MWinWindowTest, EscapeFiresOnNextFrame)
{
    MWinButton* back = AddPush("BACK", 10, 10, 80, 30, 7, 8);
    back->SetEscapeButtonForParentWindow();
    MoveTo(400, 400);
    EngKeyStateTableSet(ENG_VK_ESCAPE, true);
    EXPECT_EQ(Key(ENG_VK_ESCAPE), 1);
    EXPECT_EQ(log.calls, 0) << "Escape is queued, not fired inside the input walk";
    EXPECT_FALSE(EngKeyStateTableIsDown(ENG_VK_ESCAPE)) << "the key-state entry is consumed";
    Frame();
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(log.frame, 1);
    EXPECT_EQ(log.int1, 7);
    EXPECT_EQ(log.int2, 8);
    Frame();
    EXPECT_EQ(log.calls, 1) << "a queued button fires once";
}

TEST_F(MWinWindowTest, EnterQueuesOnlyAShownEnabledDefaultButton)
{
    MWinButton* ok = AddPush("OK", 10, 10, 80, 30);
    ok->SetDefaultButtonForParentWindow();
    MoveTo(400, 400);
    Key(ENG_VK_RETURN);
    Key(ENG_VK_RETURN);
    Frame();
    EXPECT_EQ(log.calls, 1) << "two Enters in one frame fire the button once";

    ok->Hide();
    int since = DebugGetMessageCount();
    EXPECT_EQ(Key(ENG_VK_RETURN), 0);
    Frame();
    EXPECT_EQ(log.calls, 1) << "a hidden default button does nothing";

    ok->Show();
    ok->Disable();
    Key(ENG_VK_RETURN);
    Frame();
    EXPECT_EQ(log.calls, 1) << "a disabled default button does nothing";
    EXPECT_FALSE(LoggedSince(since, "is not shown")) << "and neither is reported";
}

TEST_F(MWinWindowTest, EscapeWhileATextEditIsEditingDoesNotFireTheEscapeButton)
{
    MWinButton* back = AddPush("BACK", 10, 10, 80, 30);
    back->SetEscapeButtonForParentWindow();
    MWinButton* field = window->AddButton("NAME", MWIN_BUT_TEXTEDIT, MWIN_TEXBUT_NONE, "", 100, 100, 200, 30);
    Click(150, 110);
    ASSERT_TRUE(field->TextEditIsEditing());
    Key(ENG_VK_ESCAPE);
    Frame();
    EXPECT_EQ(log.calls, 0);
    EXPECT_FALSE(field->TextEditIsEditing()) << "the field took the Escape";
}

TEST_F(MWinWindowTest, TabVisitsClickableButtonsInOrderAndWraps)
{
    MWinButton* a = AddPush("A", 10, 10, 40, 20);
    window->AddButton("LABEL", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "x", 60, 10, 40, 20);
    MWinButton* b = AddPush("B", 110, 10, 40, 20);
    MWinButton* c = AddPush("C", 210, 10, 40, 20);
    MoveTo(400, 400);
    // Without focus the walk starts at the first button, which so comes last.
    Key(ENG_VK_TAB);
    EXPECT_TRUE(b->IsHighlighted());
    EXPECT_FLOAT_EQ(mwin->GetMouseX(), 130.0f) << "the pointer moves to the button's centre";
    EXPECT_FLOAT_EQ(mwin->GetMouseY(), 20.0f);
    Key(ENG_VK_TAB);
    EXPECT_TRUE(c->IsHighlighted());
    EXPECT_FALSE(b->IsHighlighted());
    Key(ENG_VK_TAB);
    EXPECT_TRUE(a->IsHighlighted()) << "Tab wraps from the last button to the first";
    EngKeyStateTableSet(ENG_VK_SHIFT, true);
    Key(ENG_VK_TAB);
    EngKeyStateTableSet(ENG_VK_SHIFT, false);
    EXPECT_TRUE(c->IsHighlighted()) << "Shift+Tab wraps backwards";
    Key(ENG_VK_RETURN);
    EXPECT_EQ(log.calls, 1) << "Enter fires the focused push button at once";
}

TEST_F(MWinWindowTest, TabWithoutClickableButtonsGivesUp)
{
    window->AddButton("L1", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "x", 10, 10, 40, 20);
    window->AddButton("L2", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "y", 60, 10, 40, 20);
    int since = DebugGetMessageCount();
    EXPECT_EQ(Key(ENG_VK_TAB), 1);
    EXPECT_TRUE(LoggedSince(since, "Could not get next button"));
    EngKeyStateTableSet(ENG_VK_SHIFT, true);
    Key(ENG_VK_TAB);
    EngKeyStateTableSet(ENG_VK_SHIFT, false);
    EXPECT_TRUE(LoggedSince(since, "Coult not get prev button"));
}

TEST_F(MWinWindowTest, TabIntoATextEditStartsEditing)
{
    AddPush("A", 10, 10, 40, 20);
    MWinButton* field = window->AddButton("NAME", MWIN_BUT_TEXTEDIT, MWIN_TEXBUT_NONE, "", 100, 100, 200, 30);
    MoveTo(400, 400);
    Key(ENG_VK_TAB);
    EXPECT_TRUE(field->TextEditIsEditing());
    Key(ENG_VK_TAB);
    EXPECT_FALSE(field->TextEditIsEditing()) << "leaving the field by Tab ends its editing";
}

TEST_F(MWinWindowTest, ScrollBarsFollowTheContentAndTheWheel)
{
    MWinWindow* w = AddWindow(collection, "LIST", 100, 100, 300, 200);
    MWinButton* row = w->AddButton("ROW", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "row", 10, 50, 100, 20);
    w->SetVirtualSize(0, 100);
    ASSERT_TRUE(w->IsScrolling());
    EXPECT_NEAR(w->GetScrollBar(1).thumb.h, 200.0f * 200.0f / 300.0f, 1e-3);
    MoveTo(200, 290);
    Wheel(-1);
    EXPECT_FLOAT_EQ(w->GetScrollOffsetY(), -2.0f) << "one step scrolls 2% of the extra height";
    EXPECT_FLOAT_EQ(row->GetScreenArea()->y, 148.0f);
    Wheel(-1000);
    EXPECT_FLOAT_EQ(w->GetScrollOffsetY(), -100.0f) << "scrolling stops at the end";
    Wheel(1000);
    EXPECT_FLOAT_EQ(w->GetScrollOffsetY(), 0.0f);

    // Dragging the thumb: the free track (200 - 133.3) spans the whole extra height.
    const _Dimension& thumb = w->GetScrollBar(1).thumb;
    MoveTo(thumb.x + thumb.w / 2, thumb.y + 5);
    Press();
    MoveTo(thumb.x + thumb.w / 2, thumb.y + 5 + 200.0f / 3.0f / 2.0f);
    Release();
    EXPECT_NEAR(w->GetScrollOffsetY(), -50.0f, 0.01);

    w->SetVirtualSize(-5, 0);
    EXPECT_FALSE(w->IsScrolling());
    EXPECT_FLOAT_EQ(row->GetScreenArea()->y, 150.0f);
}

TEST_F(MWinWindowTest, ScrollingATinyWindowStaysFinite)
{
    MWinWindow* w = AddWindow(collection, "TINY", 10, 10, 0, 0);
    EXPECT_FLOAT_EQ(w->GetRequestedArea().w, 1.0f);
    w->SetVirtualSize(1e-9f, 1e-9f);
    MoveTo(10.5f, 10.5f);
    Wheel(3);
    Press();
    MoveTo(300, 300);
    Release();
    for (int axis = 0; axis < 2; axis++) {
        EXPECT_TRUE(std::isfinite(w->GetScrollBar(axis).thumb.x));
        EXPECT_TRUE(std::isfinite(w->GetScrollBar(axis).thumb.y));
        EXPECT_TRUE(std::isfinite(w->GetScrollBar(axis).amount));
    }
    EXPECT_TRUE(std::isfinite(w->GetScrollOffsetX()));
    EXPECT_TRUE(std::isfinite(w->GetScrollOffsetY()));
}

TEST_F(MWinWindowTest, TitleBarDragMovesTheWindowWithinTheScreen)
{
    _MWinWindowCreateInfo info = TitledInfo(100, 100, 300, 200);
    info.drag_mode = MWIN_DRAG_TITLE_BAR;
    MWinWindow* w = collection->AddWindow("DRAG", &info);
    MWinButton* inside = w->AddButton("IN", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "in", 10, 10, 50, 20);
    MoveTo(200, 85);
    EXPECT_EQ(Press(), 1);
    EXPECT_TRUE(w->IsDragging());
    MoveTo(250, 105);
    EXPECT_FLOAT_EQ(w->GetScreenArea().x, 150.0f);
    EXPECT_FLOAT_EQ(w->GetScreenArea().y, 120.0f);
    EXPECT_FLOAT_EQ(inside->GetScreenArea()->x, 160.0f) << "the buttons move with the window";
    MoveTo(-500, -500);
    EXPECT_FLOAT_EQ(w->GetScreenArea().x, 0.0f);
    EXPECT_FLOAT_EQ(w->GetScreenArea().y, 30.0f) << "the title bar stays on the screen";
    MoveTo(2000, 2000);
    EXPECT_FLOAT_EQ(w->GetScreenArea().x, 340.0f);
    EXPECT_FLOAT_EQ(w->GetScreenArea().y, 280.0f);
    Release();
    EXPECT_FALSE(w->IsDragging());

    MoveTo(400, 400);
    Press();
    EXPECT_FALSE(w->IsDragging()) << "the client area does not drag in title-bar mode";
    Release();
}

TEST_F(MWinWindowTest, HideButtonReportsToTheController)
{
    RecordingController controller;
    _MWinWindowCreateInfo info = TitledInfo(100, 100, 300, 200);
    info.has_hide_button = 1;
    EngSafeStrcpy(info.hide_button_text, "X", sizeof(info.hide_button_text));
    MWinWindow* w = collection->AddWindow("DIALOG", &info);
    w->SetController(&controller);
    MWinButton* hide = w->GetHideButton();
    ASSERT_NE(hide, nullptr);
    // Left end of the title bar: margin 5, 50 x 22, centred on the bar.
    EXPECT_FLOAT_EQ(hide->GetScreenArea()->x, 105.0f);
    EXPECT_FLOAT_EQ(hide->GetScreenArea()->y, 100.0f - 15.0f - 11.0f);
    EXPECT_FLOAT_EQ(w->GetTitleTextArea().x, 55.0f) << "the title text leaves room for the button";
    Click(120, 80);
    EXPECT_EQ(controller.calls, 1);
    EXPECT_EQ(controller.last_id, MWIN_STD_HIDE_ID);
    EXPECT_EQ(controller.info_id, MWIN_STD_HIDE_ID);
    EXPECT_EQ(log.sounds[MWIN_SOUND_FIRED], 1) << "the controller handled it, so it clicks";

    controller.answer = 0;
    Click(120, 80);
    EXPECT_EQ(controller.calls, 2);
    EXPECT_EQ(log.sounds[MWIN_SOUND_FIRED], 1);

    MoveTo(300, 250);
    Key(ENG_VK_ESCAPE);
    EXPECT_EQ(controller.calls, 2);
    Frame();
    EXPECT_EQ(controller.calls, 3) << "Escape without an escape button queues the hide button";
}

TEST_F(MWinWindowTest, CenterGroupOfButtonsCentresTheShownButtons)
{
    MWinWindow* w = AddWindow(collection, "BOX", 100, 100, 300, 200);
    MWinButton* a = w->AddButton("A", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "a", 0, 0, 50, 20);
    MWinButton* b = w->AddButton("B", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "b", 60, 0, 50, 20);
    MWinButton* hidden = w->AddButton("H", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "h", 500, 0, 50, 20);
    hidden->Hide();
    MWinButton* list[] = {a, b, hidden, nullptr};
    EXPECT_EQ(w->CenterGroupOfButtons(list, 1, 1), 1);
    EXPECT_FLOAT_EQ(a->GetAreaP()->x, 95.0f);
    EXPECT_FLOAT_EQ(b->GetAreaP()->x, 155.0f);
    EXPECT_FLOAT_EQ(a->GetAreaP()->y, 90.0f);
    EXPECT_FLOAT_EQ(hidden->GetAreaP()->x, 500.0f) << "hidden buttons stay where they are";
    int since = DebugGetMessageCount();
    EXPECT_EQ(w->CenterGroupOfButtons(nullptr, 1, 1), 0);
    EXPECT_TRUE(LoggedSince(since, "No buttons"));
}

TEST_F(MWinWindowTest, ButtonLookupAndRemovalForgetKeyButtons)
{
    MWinButton* ok = AddPush("OK", 10, 10, 40, 20);
    ok->SetDefaultButtonForParentWindow();
    EXPECT_EQ(window->GetButtonFromID("OK", 1), ok);
    int since = DebugGetMessageCount();
    EXPECT_EQ(window->GetButtonFromID("NOPE", 1), nullptr);
    EXPECT_TRUE(LoggedSince(since, "Button <NOPE> not found in window <MAIN> of collection <SCREEN>"));
    window->RemoveAllButtons();
    EXPECT_EQ(window->GetDefaultButton(), nullptr);
    EXPECT_EQ(window->GetFirstButton(), nullptr);
    Key(ENG_VK_RETURN);
    Frame();
    EXPECT_EQ(log.calls, 0);
}

TEST_F(MWinWindowTest, AButtonThatRemovesItsOwnButtonsIsSafe)
{
    struct Ctx
    {
        MWinWindow* window;
        int calls;
    } ctx = {window, 0};
    MWinButton* b = window->AddButton("SELF", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "self", 100, 100, 80, 30);
    b->SetCallback(
        [](MWin*, _MWinButtonCallbackInfo*, int, int, void* user) {
            Ctx* c = static_cast<Ctx*>(user);
            c->calls++;
            c->window->RemoveAllButtons();
        },
        0, 0, &ctx, 1);
    Click(120, 110);
    EXPECT_EQ(ctx.calls, 1);
    EXPECT_EQ(window->GetFirstButton(), nullptr);
    Click(120, 110);
    EXPECT_EQ(ctx.calls, 1);
}

TEST_F(MWinWindowTest, EnteringAClickableButtonRaisesTheHoverSoundOnce)
{
    AddPush("GO", 100, 100, 80, 30);
    window->AddButton("LABEL", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "label", 300, 100, 80, 30);
    MoveTo(110, 110);
    MoveTo(120, 115);
    EXPECT_EQ(log.sounds[MWIN_SOUND_HOVER], 1);
    MoveTo(310, 110);
    EXPECT_EQ(log.sounds[MWIN_SOUND_HOVER], 1) << "a label is not clickable";
    MoveTo(110, 110);
    EXPECT_EQ(log.sounds[MWIN_SOUND_HOVER], 2);
}

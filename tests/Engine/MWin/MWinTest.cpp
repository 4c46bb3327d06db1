#include <gtest/gtest.h>

#include "Engine/MWin/MWinScreenRegistry.h"
#include "MWinButtonFixture.h"

// ---------------------------------------------------------------------------------------------------------
// Input gate

TEST_F(MWinFixture, EventsWhileInputIsDisallowedAreNotConsumed)
{
    AddPush("GO", 100, 100, 80, 30);
    MoveTo(120, 110);
    mwin->AllowInput(0);
    EXPECT_EQ(Press(), 0);
    EXPECT_EQ(Release(), 0);
    EXPECT_EQ(Key(ENG_VK_RETURN), 0);
    EXPECT_EQ(log.calls, 0);
    int since = DebugGetMessageCount();
    mwin->AllowInput(0);
    EXPECT_TRUE(LoggedSince(since, "Already disallowed."));
    mwin->AllowInput(1);
    Press();
    EXPECT_EQ(Release(), 1);
    EXPECT_EQ(log.calls, 1);
}

TEST_F(MWinFixture, EventsWhileOffAreNotConsumed)
{
    mwin->Shutdown();
    EXPECT_EQ(mwin->IsOn(), 0);
    EXPECT_EQ(MoveTo(10, 10), 0);
    EXPECT_EQ(Press(), 0);
    EXPECT_EQ(mwin->HandleInputEvent(99, 0, 0), 0);
    EXPECT_EQ(mwin->GetMouseX(), -1.0f) << "shutdown forgets the mouse";
}

TEST_F(MWinFixture, UnknownEventCodeIsNotUsed)
{
    EXPECT_EQ(mwin->HandleInputEvent(0, 0, 0), 0);
    EXPECT_EQ(mwin->HandleInputEvent(8, 0, 0), 0);
}

TEST_F(MWinFixture, MouseMovesAreMappedToTheVirtualScreen)
{
    int saved_w = eng_screen_width;
    int saved_h = eng_screen_height;
    eng_screen_width = 1280;
    eng_screen_height = 960;
    MoveTo(640, 480);
    EXPECT_FLOAT_EQ(mwin->GetMouseX(), 320.0f);
    EXPECT_FLOAT_EQ(mwin->GetMouseY(), 240.0f);
    eng_screen_width = saved_w;
    eng_screen_height = saved_h;
}

TEST_F(MWinFixture, MouseInAreaUsesTheOffsetAndExcludesRightAndBottomEdges)
{
    MoveTo(50, 59);
    _Dimension area = {10, 20, 40, 40};
    EXPECT_FALSE(mwin->IsMouseInArea(&area)) << "x = 50 is the right edge";
    const float offset[2] = {1, 0};
    EXPECT_TRUE(mwin->IsMouseInArea(&area, offset));
    const float down[2] = {0, -1};
    EXPECT_FALSE(mwin->IsMouseInArea(&area, down)) << "y = 59 is then the bottom edge";
    EXPECT_FALSE(mwin->IsMouseInArea(nullptr));
}

// ---------------------------------------------------------------------------------------------------------
// The one-message queue

TEST_F(MWinFixture, QueuedButtonFiresOnTheNextTickOnly)
{
    AddPush("GO", 100, 100, 80, 30);
    ASSERT_EQ(mwin->AddMessageToQueue("SCREEN", "MAIN", "GO", MWIN_MSG_CALL_CALLBACK), 1);
    EXPECT_EQ(log.calls, 0) << "queuing does not fire";
    EXPECT_EQ(Frame(), 1) << "a processed message marks the frame changed";
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(log.frame, 1);
    EXPECT_EQ(log.button_id, "GO");
    EXPECT_EQ(mwin->GetNumQueuedMessages(), 0);
    Frame();
    EXPECT_EQ(log.calls, 1) << "a message fires once";
}

TEST_F(MWinFixture, QueueHoldsOneMessageAndRefusesTheSecond)
{
    AddPush("FIRST", 10, 10, 80, 30, 1);
    AddPush("SECOND", 10, 50, 80, 30, 2);
    ASSERT_EQ(mwin->AddMessageToQueue("SCREEN", "MAIN", "FIRST", MWIN_MSG_CALL_CALLBACK), 1);
    int since = DebugGetMessageCount();
    EXPECT_EQ(mwin->AddMessageToQueue("SCREEN", "MAIN", "SECOND", MWIN_MSG_CALL_CALLBACK), 0);
    EXPECT_TRUE(LoggedSince(since, "Queue not empty"));
    Frame();
    Frame();
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(log.button_id, "FIRST");
}

TEST_F(MWinFixture, QueueRefusesEmptyIds)
{
    int since = DebugGetMessageCount();
    EXPECT_EQ(mwin->AddMessageToQueue("SCREEN", "", "GO", MWIN_MSG_CALL_CALLBACK), 0);
    EXPECT_TRUE(LoggedSince(since, "ID(s) invalid"));
    EXPECT_EQ(mwin->GetNumQueuedMessages(), 0);
}

TEST_F(MWinFixture, QueuedButtonDeletedBeforeTheTickFiresNothing)
{
    AddPush("GO", 100, 100, 80, 30);
    ASSERT_EQ(mwin->AddMessageToQueue("SCREEN", "MAIN", "GO", MWIN_MSG_CALL_CALLBACK), 1);
    window->RemoveAllButtons();
    EXPECT_EQ(mwin->GetNumQueuedMessages(), 0) << "the button's destructor dropped its message";
    Frame();
    EXPECT_EQ(log.calls, 0);
}

TEST_F(MWinFixture, QueuedMessageForAVanishedButtonIsDroppedWithAReport)
{
    ASSERT_EQ(mwin->AddMessageToQueue("SCREEN", "MAIN", "NOBODY", MWIN_MSG_CALL_CALLBACK), 1);
    int since = DebugGetMessageCount();
    EXPECT_EQ(Frame(), 0);
    EXPECT_TRUE(LoggedSince(since, "mwinp->GetButtonFromIDs() failed [SCREEN, MAIN, NOBODY]"));
    EXPECT_EQ(mwin->GetNumQueuedMessages(), 0);
}

static void QueueAgain(MWin* mwin, _MWinButtonCallbackInfo* info, int, int, void* user)
{
    MWinFixture::Record(mwin, info, 0, 0, user);
    mwin->AddMessageToQueue("SCREEN", "MAIN", "GO", MWIN_MSG_CALL_CALLBACK);
}

TEST_F(MWinFixture, QueuedActionMayQueueTheNextMessage)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    b->SetCallback(&QueueAgain, 0, 0, this, 1);
    mwin->AddMessageToQueue("SCREEN", "MAIN", "GO", MWIN_MSG_CALL_CALLBACK);
    Frame();
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(mwin->GetNumQueuedMessages(), 1) << "the message queued by the action survives";
    Frame();
    EXPECT_EQ(log.calls, 2);
}

static void RemoveScreenQueued(MWin* mwin, _MWinButtonCallbackInfo* info, int, int, void* user)
{
    MWinFixture::Record(mwin, info, 0, 0, user);
    mwin->GetDesktop()->RemoveAllCollections();
}

TEST_F(MWinFixture, EscapeQueuesTheEscapeButtonWhichMayRemoveItsScreen)
{
    MWinButton* back = AddPush("BACK", 10, 10, 80, 30);
    back->SetCallback(&RemoveScreenQueued, 0, 0, this, 1);
    back->SetEscapeButtonForParentWindow();
    MoveTo(300, 300);
    EXPECT_EQ(Key(ENG_VK_ESCAPE), 1);
    EXPECT_EQ(log.calls, 0) << "Escape does not fire inside the input walk";
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(log.frame, 1);
    EXPECT_EQ(mwin->GetCollectionFromID("SCREEN", false), nullptr);
    EXPECT_EQ(Frame(), 0);
}

TEST_F(MWinFixture, TwoEntersInOneFrameQueueOnlyTheFirst)
{
    MWinButton* ok = AddPush("OK", 10, 10, 80, 30);
    ok->SetDefaultButtonForParentWindow();
    MoveTo(300, 300);
    Key(ENG_VK_RETURN);
    int since = DebugGetMessageCount();
    Key(ENG_VK_RETURN);
    EXPECT_TRUE(LoggedSince(since, "Queue not empty"));
    Frame();
    Frame();
    EXPECT_EQ(log.calls, 1);
}

TEST_F(MWinFixture, ShutdownClearsTheQueue)
{
    AddPush("GO", 100, 100, 80, 30);
    mwin->AddMessageToQueue("SCREEN", "MAIN", "GO", MWIN_MSG_CALL_CALLBACK);
    mwin->Shutdown();
    EXPECT_EQ(mwin->GetNumQueuedMessages(), 0);
    mwin->Startup();
    Frame();
    EXPECT_EQ(log.calls, 0);
}

// ---------------------------------------------------------------------------------------------------------
// Lookups, screens and settings

TEST_F(MWinFixture, LookupsReportEmptyIdsAndMissOnlyWhenAsked)
{
    AddPush("GO", 100, 100, 80, 30);
    EXPECT_NE(mwin->GetButtonFromIDs("SCREEN", "MAIN", "GO", true), nullptr);
    int since = DebugGetMessageCount();
    EXPECT_EQ(mwin->GetButtonFromIDs("SCREEN", "MAIN", "", false), nullptr);
    EXPECT_TRUE(LoggedSince(since, "No Button ID"));
    EXPECT_EQ(mwin->GetWindowFromIDs("SCREEN", nullptr, false), nullptr);
    EXPECT_TRUE(LoggedSince(since, "No Window ID"));
    int quiet = DebugGetMessageCount();
    EXPECT_EQ(mwin->GetButtonFromIDs("SCREEN", "MAIN", "NONE", false), nullptr);
    EXPECT_EQ(DebugGetMessageCount(), quiet) << "a miss without report is silent";
}

TEST_F(MWinFixture, ScreensAreRegisteredOnce)
{
    int since = DebugGetMessageCount();
    EXPECT_EQ(mwin->GetScreens(), nullptr);
    EXPECT_TRUE(LoggedSince(since, "No screens"));
    EXPECT_EQ(mwin->GetCurrentScreenID(), 0u);
    MWinScreens* first = reinterpret_cast<MWinScreens*>(0x10);
    MWinScreens* second = reinterpret_cast<MWinScreens*>(0x20);
    mwin->SetScreens(first);
    mwin->SetScreens(second);
    EXPECT_TRUE(LoggedSince(since, "Screens already set"));
    EXPECT_EQ(mwin->GetScreens(), first);
    mwin->ForgetScreens(first);
}

TEST_F(MWinFixture, LayoutDefaultsAndHorizontalScale)
{
    const _MWinLayoutSettings* normal = mwin->GetLayoutSettings(MWIN_LAYOUT_NORMAL);
    EXPECT_EQ(normal->f[MWIN_LF_TITLE_BAR_HEIGHT], 30);
    EXPECT_EQ(normal->f[MWIN_LF_BUTTON_WIDTH], 60);
    EXPECT_EQ(normal->f[MWIN_LF_BUTTON_HEIGHT], 20);
    EXPECT_EQ(normal->f[MWIN_LF_TWO_LINE_OFFSET], 10);
    const _MWinLayoutSettings* phone = mwin->GetLayoutSettings(MWIN_LAYOUT_IPHONE_LANDSCAPE);
    EXPECT_EQ(phone->f[MWIN_LF_TITLE_BAR_HEIGHT], 55);
    EXPECT_EQ(phone->f[MWIN_LF_BUTTON_HEIGHT], 65);
    EXPECT_EQ(phone->f[MWIN_LF_CLIP_INSET_Y], 6);

    float saved = eng_aspect_x;
    eng_aspect_x = 0.75f;
    mwin->ApplyLayoutScale();
    EXPECT_FLOAT_EQ(mwin->GetLayoutSettings(0)->f[MWIN_LF_VSCROLL_WIDTH], 22.5f);
    EXPECT_FLOAT_EQ(mwin->GetLayoutSettings(0)->f[MWIN_LF_TITLE_BAR_HEIGHT], 30.0f) << "vertical fields stay";
    EXPECT_FLOAT_EQ(mwin->GetBaseLayoutSettings(0)->f[MWIN_LF_VSCROLL_WIDTH], 30.0f) << "the base is kept";
    eng_aspect_x = saved;
    mwin->ApplyLayoutScale();
    EXPECT_FLOAT_EQ(mwin->GetLayoutSettings(0)->f[MWIN_LF_VSCROLL_WIDTH], 30.0f);

    int since = DebugGetMessageCount();
    EXPECT_EQ(mwin->SetScreenLayout(5), 0);
    EXPECT_TRUE(LoggedSince(since, "Invalid screen layout 5"));
}

TEST_F(MWinFixture, SettingsRoundTripAndNullIsIgnored)
{
    _MWinSettings s;
    mwin->GetSettings(&s);
    EXPECT_EQ(s.hover_activate_collection, 1);
    EXPECT_EQ(s.hover_activate_window, 1);
    EXPECT_EQ(s.shrink_text_to_fit, 1);
    EXPECT_FLOAT_EQ(s.disabled_text_alpha, 1.0f);
    s.background_mode = MWIN_BG_CLEAR;
    mwin->SetSettings(&s);
    mwin->SetSettings(nullptr);
    _MWinSettings back;
    mwin->GetSettings(&back);
    EXPECT_EQ(back.background_mode, MWIN_BG_CLEAR);
}

TEST_F(MWinFixture, SecondStartupIsReportedAndKeepsRunning)
{
    int since = DebugGetMessageCount();
    EXPECT_EQ(mwin->Startup(), 1);
    EXPECT_TRUE(LoggedSince(since, "MWin already on"));
    EXPECT_EQ(mwin->IsOn(), 1);
}

TEST_F(MWinFixture, HoverOverAClickableButtonRaisesTheHoverSound)
{
    AddPush("GO", 100, 100, 80, 30);
    window->AddButton("L", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "L", 300, 100, 80, 30);
    MoveTo(120, 110);
    EXPECT_EQ(log.sounds[MWIN_SOUND_HOVER], 1);
    MoveTo(320, 110);
    EXPECT_EQ(log.sounds[MWIN_SOUND_HOVER], 1) << "labels are not clickable";
}

TEST_F(MWinFixture, ButtonsChangedSetsHoverWithoutAMouseEvent)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    mwin->SetMousePosition(120, 110);
    EXPECT_FALSE(b->IsHighlighted());
    mwin->ButtonsChanged();
    EXPECT_TRUE(b->IsHighlighted()) << "the new screen's hover is right on its first frame";
}

TEST_F(MWinFixture, DuplicateButtonIdsAreReportedWhenTheLaterOneIsDeleted)
{
    MWinButton* first = AddPush("SAME", 10, 10, 80, 30);
    MWinButton* second = AddPush("SAME", 10, 50, 80, 30);
    ASSERT_EQ(mwin->GetButtonFromIDs("SCREEN", "MAIN", "SAME", false), first);
    int since = DebugGetMessageCount();
    EXPECT_EQ(mwin->RemoveAnyQueuedMessagesForButton(second, window, collection), 0);
    EXPECT_TRUE(LoggedSince(since, "(SCREEN) [w:MAIN] [b:SAME]"));
    EXPECT_EQ(mwin->RemoveAnyQueuedMessagesForButton(nullptr, window, collection), 0);
}

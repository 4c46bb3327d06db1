// Desktop routing and collections: which collection and window an event reaches, modal windows, the
// collection-wide Escape, and handlers that remove what is being walked.

#include "Engine/MWin/MWinButtonFixture.h"

class MWinDesktopTest : public MWinFixture
{
protected:
    MWinDesktop* Desktop() { return mwin->GetDesktop(); }

    // Removes every collection from inside a button's action.
    static void RemoveEverything(MWin* m, _MWinButtonCallbackInfo*, int, int, void* user)
    {
        (*static_cast<int*>(user))++;
        m->GetDesktop()->RemoveAllCollections();
    }
};

TEST_F(MWinDesktopTest, ClicksGoOnlyToTheNewestCollection)
{
    AddPush("UNDER", 10, 10, 80, 30, 1);
    MWinCollection* top = Desktop()->AddCollection("TOP");
    ASSERT_NE(top, nullptr);
    EXPECT_FALSE(collection->IsActive()) << "adding a collection makes it the only active one";
    MWinWindow* w = AddWindow(top, "W", 300, 300, 200, 100);
    MWinButton* b = w->AddButton("B", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "b", 10, 10, 80, 30);
    b->SetCallback(&MWinFixture::Record, 2, 0, this, 1);
    Click(20, 20);
    EXPECT_EQ(log.calls, 0) << "the screen below the newest collection gets no click";
    Click(320, 320);
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(log.int1, 2);
    EXPECT_EQ(Desktop()->GetActiveCollection(), top);
}

TEST_F(MWinDesktopTest, KeysReachEveryActiveCollectionInOrder)
{
    MWinButton* a = AddPush("A", 10, 10, 80, 30, 1);
    MWinCollection* second = Desktop()->AddCollection("SECOND");
    MWinWindow* w = AddWindow(second, "W", 300, 300, 200, 100);
    MWinButton* b = w->AddButton("B", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "b", 10, 10, 80, 30);
    b->SetCallback(&MWinFixture::Record, 2, 0, this, 1);
    // Two active collections, as while a popup is being closed.
    collection->Activate();
    collection->SavePopupState();
    second->Activate();
    collection->RestorePopupState();
    ASSERT_TRUE(collection->IsActive());
    ASSERT_TRUE(second->IsActive());
    window->Activate();
    w->Activate();
    a->SetHighlight();
    b->SetHighlight();
    EXPECT_EQ(Key(ENG_VK_RETURN), 1);
    EXPECT_EQ(log.calls, 2);
    EXPECT_EQ(log.int1, 2) << "the second collection got the key after the first";
}

TEST_F(MWinDesktopTest, AClickThatRemovesEveryCollectionEndsTheDeliverySafely)
{
    int calls = 0;
    MWinButton* b = window->AddButton("QUIT", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "quit", 100, 100, 80, 30);
    b->SetCallback(&MWinDesktopTest::RemoveEverything, 0, 0, &calls, 1);
    EXPECT_EQ(Click(120, 110), 1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Desktop()->GetFirstCollection(), nullptr);
    EXPECT_EQ(log.sounds[MWIN_SOUND_FIRED], 0) << "a button that no longer exists makes no click";
    MoveTo(10, 10);
    Click(120, 110);
    EXPECT_EQ(calls, 1);
}

TEST_F(MWinDesktopTest, AKeyThatRemovesEveryCollectionEndsTheDeliverySafely)
{
    int calls = 0;
    MWinButton* b = window->AddButton("QUIT", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "quit", 100, 100, 80, 30);
    b->SetCallback(&MWinDesktopTest::RemoveEverything, 0, 0, &calls, 1);
    MWinCollection* other = Desktop()->AddCollection("OTHER");
    AddWindow(other, "W", 0, 0, 10, 10);
    mwin->GetSettingsP()->hover_activate_collection = 0;
    collection->Activate();
    MoveTo(120, 110);
    ASSERT_TRUE(b->IsHighlighted());
    EXPECT_EQ(Key(ENG_VK_SPACE), 1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Desktop()->GetFirstCollection(), nullptr);
}

TEST_F(MWinDesktopTest, AClickOnAnInactiveWindowOnlyActivatesIt)
{
    mwin->GetSettingsP()->hover_activate_window = 0;
    AddPush("MAINBUTTON", 400, 400, 80, 30);
    MWinWindow* side = AddWindow(collection, "SIDE", 100, 100, 200, 100);
    ASSERT_TRUE(side->IsActive());
    Click(420, 410);
    EXPECT_EQ(log.calls, 0) << "the press only activated the window";
    EXPECT_TRUE(window->IsActive());
    EXPECT_FALSE(side->IsActive());
    Click(420, 410);
    EXPECT_EQ(log.calls, 1);
}

TEST_F(MWinDesktopTest, AModalWindowKeepsNormalWindowsFromActivatingAndClicks)
{
    AddPush("BELOW", 50, 50, 80, 30);
    _MWinWindowCreateInfo info = PlacedWindowInfo(300, 300, 200, 100);
    info.window_type = MWIN_WINDOW_MODAL;
    MWinWindow* dialog = collection->AddWindow("DIALOG", &info);
    ASSERT_TRUE(collection->HasModalShown());
    Click(60, 60);
    EXPECT_EQ(log.calls, 0);
    EXPECT_TRUE(dialog->IsActive());
    EXPECT_FALSE(window->IsActive());
    MoveTo(70, 70);
    EXPECT_FALSE(window->IsActive()) << "hover never activates a normal window under a modal one";
}

TEST_F(MWinDesktopTest, EscapeWithAHiddenEscapeButtonGoesToTheActiveWindow)
{
    MWinButton* back = AddPush("BACK", 10, 10, 80, 30);
    back->SetEscapeButtonForParentWindow();
    back->Hide();
    MoveTo(400, 400);
    Key(ENG_VK_ESCAPE);
    EXPECT_EQ(mwin->GetNumQueuedMessages(), 0);
    Frame();
    EXPECT_EQ(log.calls, 0);

    back->Show();
    Key(ENG_VK_ESCAPE);
    EXPECT_EQ(mwin->GetNumQueuedMessages(), 1);
    Frame();
    EXPECT_EQ(log.calls, 1);
}

TEST_F(MWinDesktopTest, DuplicateIdsAreReported)
{
    int since = DebugGetMessageCount();
    MWinWindow* again = AddWindow(collection, "MAIN", 10, 10, 50, 50);
    EXPECT_NE(again, nullptr) << "a second window with the same id is still made";
    EXPECT_TRUE(LoggedSince(since, "Window with id [MAIN] already exists."));
    EXPECT_EQ(collection->GetNumWindows(), 2);
    EXPECT_EQ(Desktop()->AddCollection("SCREEN"), nullptr);
    EXPECT_TRUE(LoggedSince(since, "Collection already exists <SCREEN>"));
    EXPECT_EQ(Desktop()->RemoveCollection("NOSUCH"), 0);
    EXPECT_TRUE(LoggedSince(since, "Could not find collection"));
    EXPECT_EQ(collection->GetNthWindow(5), nullptr);
    EXPECT_TRUE(LoggedSince(since, "No 5'th window found."));
}

TEST_F(MWinDesktopTest, HoverActivatesTheNewestCollectionAndTheWindowUnderTheMouse)
{
    MWinWindow* left = AddWindow(collection, "LEFT", 0, 0, 200, 200);
    MWinWindow* right = AddWindow(collection, "RIGHT", 300, 0, 200, 200);
    MoveTo(50, 50);
    EXPECT_TRUE(left->IsActive());
    EXPECT_FALSE(right->IsActive());
    MoveTo(350, 50);
    EXPECT_TRUE(right->IsActive());
    EXPECT_FALSE(left->IsActive());
    collection->Deactivate();
    MoveTo(350, 60);
    EXPECT_TRUE(collection->IsActive()) << "the newest collection comes back under the mouse";
    EXPECT_TRUE(right->IsActive());
}

TEST_F(MWinDesktopTest, TickRunsOnlyActiveWindowsAndRemovedCollectionsAreGone)
{
    MWinCollection* extra = Desktop()->AddCollection("EXTRA");
    EXPECT_TRUE(Desktop()->HasCollection("EXTRA"));
    EXPECT_EQ(Desktop()->RemoveCollection("EXTRA"), 1);
    EXPECT_FALSE(Desktop()->HasCollection("EXTRA"));
    EXPECT_FALSE(Desktop()->HasCollectionPointer(extra));
    EXPECT_EQ(Desktop()->GetCollectionFromID("EXTRA", 0), nullptr);
}

TEST_F(MWinDesktopTest, EditingAFieldBringsItsWindowToTheFront)
{
    MWinWindow* front = AddWindow(collection, "FRONT", 300, 300, 200, 100);
    MWinButton* field = window->AddButton("NAME", MWIN_BUT_TEXTEDIT, MWIN_TEXBUT_NONE, "", 10, 10, 100, 30);
    ASSERT_EQ(collection->GetNthWindow(1), front);
    field->TextEditTurnOnEditing(1);
    EXPECT_EQ(collection->GetNthWindow(0), front);
    EXPECT_EQ(collection->GetNthWindow(1), window) << "the field's window is drawn last";
    EXPECT_EQ(window->GetNext(), nullptr);
    EXPECT_TRUE(window->IsActive());
}

TEST_F(MWinDesktopTest, AnInvalidScreenLayoutFallsBackToTheNormalList)
{
    collection->SetScreenLayout(9);
    int since = DebugGetMessageCount();
    EXPECT_EQ(collection->GetFirstWindow(), window);
    EXPECT_TRUE(LoggedSince(since, "Invalid screen layout 9"));
    collection->SetScreenLayout(MWIN_LAYOUT_IPAD_LANDSCAPE);
    EXPECT_EQ(collection->GetFirstWindow(), nullptr) << "each layout keeps its own windows";
    EXPECT_EQ(collection->GetScreenLayout(), MWIN_LAYOUT_IPAD_LANDSCAPE);
}

namespace {

// The screen as a button rebuilds it: collection "SCREEN", window "MAIN" with a title bar and both title
// buttons, and the push button "AGAIN" that rebuilds it once more.
void BuildScreenWithTitleButtons(MWin* m, void* user);

void RebuildScreen(MWin* m, _MWinButtonCallbackInfo*, int, int, void* user)
{
    m->GetDesktop()->RemoveCollection("SCREEN");
    BuildScreenWithTitleButtons(m, user);
}

void BuildScreenWithTitleButtons(MWin* m, void* user)
{
    MWinCollection* c = m->GetDesktop()->AddCollection("SCREEN");
    _MWinWindowCreateInfo info = PlacedWindowInfo(0, 40, 640, 440);
    info.has_title_bar = 1;
    info.has_hide_button = 1;
    info.has_extra_button = 1;
    MWinWindow* w = c->AddWindow("MAIN", &info);
    MWinButton* again = w->AddButton("AGAIN", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "again", 100, 100, 80, 30);
    again->SetCallback(&RebuildScreen, 0, 0, user, 1);
}

} // namespace

TEST_F(MWinDesktopTest, RebuildingTheScreenFromItsOwnButtonLogsNoInternalError)
{
    Desktop()->RemoveCollection("SCREEN");
    BuildScreenWithTitleButtons(mwin, nullptr);
    int buttons = MWinButton::GetNumButtons();
    int since = DebugGetMessageCount();
    for (int i = 0; i < 3; i++)
        Click(120, 155);
    EXPECT_FALSE(LoggedSince(since, "Internal error")) << "old buttons sharing the new screen's ids are no fault";
    EXPECT_FALSE(LoggedSince(since, "[b:AGAIN]"));
    EXPECT_EQ(MWinButton::GetNumButtons(), buttons) << "every old button was freed";
    ASSERT_NE(mwin->GetButtonFromIDs("SCREEN", "MAIN", MWIN_STD_HIDE_ID, false), nullptr);
}

TEST_F(MWinDesktopTest, ButtonsClearedAfterTheirScreenWentAreFreedBeforeTheirWindow)
{
    AddPush("A", 10, 10, 80, 30);
    AddPush("B", 10, 50, 80, 30);
    {
        // As a callback that switches screens, then one that clears its old window, in one delivery.
        MWinDesktopWalk walk(Desktop());
        Desktop()->RemoveCollection("SCREEN");
        window->RemoveAllButtons();
    }
    EXPECT_EQ(MWinButton::GetNumButtons(), 0);
    EXPECT_EQ(Desktop()->GetFirstCollection(), nullptr);
}

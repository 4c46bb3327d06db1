// The screen registry: switching screens by their four-character ids, the way back, the controllers'
// calls, and a screen that replaces itself from its own button.

#include "Engine/MWin/MWinButtonFixture.h"

#include "Engine/Core/EngTypes.h"
#include "Engine/MWin/MWinCollectionController.h"
#include "Engine/MWin/MWinScreenRegistry.h"

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr EngScreenID SCREEN_MAIN = EngFourCC('M', 'A', 'I', 'N');
constexpr EngScreenID SCREEN_OPTS = EngFourCC('O', 'P', 'T', 'S');
constexpr EngScreenID SCREEN_CTRL = EngFourCC('C', 'T', 'R', 'L');

// One screen: a collection named after it with a window "MainWin" holding "GO" (changes to the target
// screen) and "BACK" (the escape button, goes back).
class TestScreen : public MWinCollectionController
{
public:
    TestScreen(const char* name, std::vector<std::string>* journal) : m_name(name), m_journal(journal) {}

    char CreateCollection(MWin* mwinp) override
    {
        MWinCollection* c = mwinp->GetDesktop()->AddCollection(m_name.c_str());
        window = MWinFixture::AddWindow(c, "MainWin", 0, 0, 640, 480);
        window->SetController(this);
        go = window->AddButton("GO", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Go", 100, 100, 80, 30);
        back = window->AddButton("BACK", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Back", 100, 200, 80, 30);
        back->SetEscapeButtonForParentWindow();
        if (with_list) {
            static const char* entries[] = {"ONE", "TWO", "THREE"};
            list = window->AddButton("LIST", MWIN_BUT_LIST, MWIN_TEXBUT_NONE, "", 300, 300, 150, 20);
            list->ListSetStrings(3, entries);
        }
        m_journal->push_back("create " + m_name);
        return 1;
    }
    void ClearPointers() override
    {
        window = nullptr;
        go = back = list = nullptr;
        m_journal->push_back("clear " + m_name);
    }
    void StartingCB(void* data) override
    {
        m_journal->push_back("start " + m_name + (data ? " with data" : ""));
    }
    void TickCB() override
    {
        ticks++;
        if (on_tick)
            on_tick();
    }
    void RenderCB(int pass) override { last_pass = pass; }
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override
    {
        std::string id = button->GetID();
        m_journal->push_back("button " + m_name + " " + id);
        bool list_closed = id == "LIST" && info->kind.list.event == MWIN_LIST_CLOSED;
        if ((id == "GO" || list_closed) && target)
            GetScreens(1)->GotoScreen(target, nullptr);
        if (id == "BACK")
            GetScreens(1)->GoBack();
        return 1;
    }

    EngScreenID target = 0;
    bool with_list = false;
    std::function<void()> on_tick;
    MWinWindow* window = nullptr;
    MWinButton* go = nullptr;
    MWinButton* back = nullptr;
    MWinButton* list = nullptr;
    int ticks = 0;
    int last_pass = -1;

private:
    std::string m_name;
    std::vector<std::string>* m_journal;
};

// Counts the registry's hooks.
class TestScreens : public MWinScreens
{
public:
    explicit TestScreens(MWin* mwinp) : MWinScreens(mwinp, 0) {}
    void StartCB() override { starts++; }
    void PostScreenChangeCB(EngScreenID id) override { last_post = id; }
    int starts = 0;
    EngScreenID last_post = 0;
};

} // namespace

class MWinScreenRegistryTest : public MWinFixture
{
protected:
    void SetUp() override
    {
        MWinFixture::SetUp();
        screens = new TestScreens(mwin);
        screens->SetupAllScreens();
        screens->AddScreen(SCREEN_MAIN, &main_screen);
        screens->AddScreen(SCREEN_OPTS, &opts_screen);
        screens->AddScreen(SCREEN_CTRL, &ctrl_screen);
    }
    void TearDown() override
    {
        delete screens;
        MWinFixture::TearDown();
    }
    bool Has(const char* id) { return mwin->GetDesktop()->HasCollection(id); }

    std::vector<std::string> journal;
    TestScreen main_screen{"MAIN", &journal};
    TestScreen opts_screen{"OPTS", &journal};
    TestScreen ctrl_screen{"CTRL", &journal};
    TestScreens* screens = nullptr;
};

TEST_F(MWinScreenRegistryTest, StartingAScreenBuildsItsCollectionOnAClearedDesktop)
{
    EXPECT_EQ(main_screen.GetScreens(0), screens);
    EXPECT_EQ(main_screen.GetMWin(), mwin);
    EXPECT_EQ(screens->StartScreen(SCREEN_MAIN, 0), 1);
    EXPECT_EQ(screens->starts, 1);
    EXPECT_TRUE(screens->IsOn());
    EXPECT_EQ(mwin->GetCurrentScreenID(), SCREEN_MAIN);
    EXPECT_TRUE(Has("MAIN"));
    EXPECT_FALSE(Has("SCREEN")) << "the previous collections are removed";
    EXPECT_EQ(screens->last_post, SCREEN_MAIN);
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[0], "create MAIN");
    EXPECT_EQ(journal[1], "start MAIN");
}

TEST_F(MWinScreenRegistryTest, GotoScreenSwitchesByFourCharacterId)
{
    screens->StartScreen(SCREEN_MAIN, 0);
    int data = 5;
    EXPECT_EQ(screens->GotoScreen(SCREEN_OPTS, &data), 1);
    EXPECT_EQ(screens->GetCurrentScreen(), SCREEN_OPTS);
    EXPECT_TRUE(Has("OPTS"));
    EXPECT_FALSE(Has("MAIN"));
    std::vector<std::string> expected = {"create MAIN", "start MAIN", "clear MAIN", "create OPTS",
                                         "start OPTS with data"};
    EXPECT_EQ(journal, expected);
    const _EngScreen* entry = screens->GetEngScreens()->GetScreen(SCREEN_OPTS, 0);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->back_id, SCREEN_MAIN);
    EXPECT_EQ(entry->prev_id, SCREEN_MAIN);
}

TEST_F(MWinScreenRegistryTest, AnUnknownIdIsReportedAndTheScreenStays)
{
    screens->StartScreen(SCREEN_MAIN, 0);
    int since = DebugGetMessageCount();
    EXPECT_EQ(screens->GotoScreen(EngFourCC('N', 'O', 'N', 'E'), nullptr), 0);
    EXPECT_TRUE(LoggedSince(since, "Screen [NONE] not found."));
    EXPECT_EQ(screens->GetCurrentScreen(), SCREEN_MAIN);
    EXPECT_TRUE(Has("MAIN"));
    EXPECT_EQ(screens->AddScreen(SCREEN_MAIN, &main_screen), 0);
    EXPECT_TRUE(LoggedSince(since, "Screen [MAIN] already exists."));
}

TEST_F(MWinScreenRegistryTest, GoBackReturnsTheWayTheScreensWereEntered)
{
    screens->StartScreen(SCREEN_MAIN, 0);
    EXPECT_EQ(screens->GoBack(), 0) << "the first screen has no way back";
    EXPECT_EQ(screens->GetCurrentScreen(), SCREEN_MAIN);
    screens->GotoScreen(SCREEN_OPTS, nullptr);
    screens->GotoScreen(SCREEN_CTRL, nullptr);
    EXPECT_EQ(screens->GoBack(), 1);
    EXPECT_EQ(screens->GetCurrentScreen(), SCREEN_OPTS);
    EXPECT_TRUE(Has("OPTS"));
    EXPECT_EQ(screens->GoBack(), 1);
    EXPECT_EQ(screens->GetCurrentScreen(), SCREEN_MAIN);
    const _EngScreen* main_entry = screens->GetEngScreens()->GetScreen(SCREEN_MAIN, 0);
    EXPECT_EQ(main_entry->prev_id, SCREEN_OPTS);
}

TEST_F(MWinScreenRegistryTest, GoingToTheCurrentScreenKeepsItsWayBack)
{
    screens->StartScreen(SCREEN_MAIN, 0);
    screens->GotoScreen(SCREEN_OPTS, nullptr);
    screens->GotoScreen(SCREEN_OPTS, nullptr);
    EXPECT_TRUE(Has("OPTS"));
    EXPECT_EQ(screens->GoBack(), 1);
    EXPECT_EQ(screens->GetCurrentScreen(), SCREEN_MAIN);
}

TEST_F(MWinScreenRegistryTest, AScreenReplacesItselfFromItsOwnButton)
{
    main_screen.target = SCREEN_OPTS;
    screens->StartScreen(SCREEN_MAIN, 0);
    MoveTo(120, 110);
    ASSERT_TRUE(main_screen.go->IsHighlighted());
    Press();
    EXPECT_EQ(Release(), 1);
    EXPECT_EQ(screens->GetCurrentScreen(), SCREEN_OPTS);
    EXPECT_TRUE(Has("OPTS"));
    EXPECT_FALSE(Has("MAIN"));
    EXPECT_EQ(log.sounds[MWIN_SOUND_FIRED], 0) << "the deleted button fires no click";
    // The new screen takes input at once.
    opts_screen.target = SCREEN_CTRL;
    Click(120, 110);
    EXPECT_EQ(screens->GetCurrentScreen(), SCREEN_CTRL);
}

TEST_F(MWinScreenRegistryTest, EscapeGoesBackOnTheNextFrame)
{
    screens->StartScreen(SCREEN_MAIN, 0);
    screens->GotoScreen(SCREEN_OPTS, nullptr);
    MoveTo(400, 400);
    Key(ENG_VK_ESCAPE);
    EXPECT_EQ(screens->GetCurrentScreen(), SCREEN_OPTS) << "Escape is queued";
    Frame();
    EXPECT_EQ(screens->GetCurrentScreen(), SCREEN_MAIN);
    EXPECT_EQ(journal.back(), "start MAIN");
}

TEST_F(MWinScreenRegistryTest, TickAndRenderReachTheCurrentController)
{
    screens->StartScreen(SCREEN_MAIN, 0);
    EXPECT_EQ(screens->Tick(), 1);
    EXPECT_EQ(main_screen.ticks, 1);
    screens->Render(2);
    EXPECT_EQ(main_screen.last_pass, 2);
    EXPECT_EQ(opts_screen.ticks, 0);
}

TEST_F(MWinScreenRegistryTest, ChangingScreenClosesAnOpenPopup)
{
    screens->StartScreen(SCREEN_MAIN, 0);
    ASSERT_EQ(mwin->PopupMessage("Title", "Text"), 1);
    int since = DebugGetMessageCount();
    screens->GotoScreen(SCREEN_OPTS, nullptr);
    EXPECT_TRUE(LoggedSince(since, "Called when a popup was on. Turning popup off..."));
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_FALSE(mwin->GetDesktop()->IsDimmingOn());
    EXPECT_TRUE(Has("OPTS"));
    EXPECT_TRUE(mwin->GetDesktop()->GetCollectionFromID("OPTS", 0)->IsActive());
}

// A popup over a screen whose list is open; giving the screen back closes the list, and the list's
// callback switches screens. Each way of giving it back runs outside any input event.
TEST_F(MWinScreenRegistryTest, WhatAPopupsCloseOrAControllersTickFiresMaySwitchScreens)
{
    struct Case {
        const char* name;
        std::function<void()> give_back;
        EngScreenID ends_on;
        const char* ends_on_name;
    };
    const Case cases[] = {
        {"the popup closes itself in the GUI's tick",
         [this] {
             mwin->PopupSetAutoCloseTime(0.5);
             eng_time += 1.0;
             screens->Tick();
         },
         SCREEN_CTRL, "CTRL"},
        {"the controller's tick closes the popup",
         [this] {
             main_screen.on_tick = [this] { mwin->PopupCloseIfOn(); };
             screens->Tick();
         },
         SCREEN_CTRL, "CTRL"},
        {"the controller's tick switches screens",
         [this] {
             main_screen.on_tick = [this] { screens->GotoScreen(SCREEN_OPTS, nullptr); };
             screens->Tick();
         },
         SCREEN_OPTS, "OPTS"}, // the list's switch comes first, the tick's own last
    };
    main_screen.with_list = true;
    main_screen.target = SCREEN_CTRL;
    screens->StartScreen(SCREEN_MAIN, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        main_screen.on_tick = nullptr;
        screens->GotoScreen(SCREEN_MAIN, nullptr);
        Click(375, 310);
        ASSERT_TRUE(main_screen.list->ListIsOpen());
        MoveTo(375, 330); // the hover moves to the second entry
        ASSERT_EQ(mwin->PopupWait("Wait", "Working"), 1);
        MoveTo(50, 50); // out of the list's column
        c.give_back();
        EXPECT_FALSE(mwin->IsPopupOn());
        EXPECT_EQ(screens->GetCurrentScreen(), c.ends_on);
        EXPECT_TRUE(Has(c.ends_on_name));
        EXPECT_FALSE(Has("MAIN"));
        EXPECT_EQ(mwin->GetDesktop()->GetFirstCollection()->GetNext(), nullptr) << "one screen stands";
        EXPECT_EQ(main_screen.list, nullptr);
    }
}

TEST_F(MWinScreenRegistryTest, AGuiStartedForAScreenThatCouldNotStartIsStillEndedWithTheScreens)
{
    constexpr EngScreenID kMissing = EngFourCC('N', 'O', 'N', 'E');
    mwin->Shutdown();
    for (int attempt = 0; attempt < 2; attempt++) {
        SCOPED_TRACE(attempt);
        int since = DebugGetMessageCount();
        screens->StartScreen(kMissing, -1);
        EXPECT_TRUE(LoggedSince(since, "No start screen set."));
        EXPECT_TRUE(mwin->IsOn()) << "the GUI came on for the screen";
        EXPECT_FALSE(screens->IsOn());
    }
    screens->End(-1);
    EXPECT_FALSE(mwin->IsOn()) << "the screens started it, so they stop it";

    // A GUI the screens did not start stays on.
    mwin->Startup();
    screens->StartScreen(kMissing, -1);
    screens->End(-1);
    EXPECT_TRUE(mwin->IsOn());
}

TEST_F(MWinScreenRegistryTest, EndingTheScreensClearsTheDesktopAndForgetsOnRequest)
{
    screens->StartScreen(SCREEN_MAIN, 0);
    EXPECT_EQ(screens->End(0), 1);
    EXPECT_FALSE(screens->IsOn());
    EXPECT_TRUE(mwin->IsOn()) << "stop 0 leaves the GUI running";
    EXPECT_EQ(mwin->GetDesktop()->GetFirstCollection(), nullptr);
    EXPECT_EQ(journal.back(), "clear MAIN");
    EXPECT_EQ(screens->GetCurrentScreen(), SCREEN_MAIN);

    screens->StartScreen(SCREEN_OPTS, 1);
    screens->GetEngScreens()->TurnOff(2);
    EXPECT_FALSE(mwin->IsOn());
    EXPECT_EQ(screens->GetCurrentScreen(), 0u);
}

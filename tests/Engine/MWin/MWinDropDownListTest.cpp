// Drop-down lists: opening, hover, choosing by click, keys and wheel, closing without a choice, the open
// column's geometry and auto-scroll, safety of empty lists and of callbacks that delete the list, drawing.
#include "Engine/Core/EngLanguages.h"
#include "Engine/Core/EngProgram.h"
#include "MWinWidgetFixture.h"

namespace {

const char* kNames[] = {"ALPHA", "BRAVO", "CHARLIE", "DELTA", "BETA"};

const char* Number(int index, MWinButton*, void*)
{
    static char text[16];
    std::snprintf(text, sizeof(text), "N%d", index);
    return text;
}

// A list of five entries at (100, 220), 150 x 20: opened at entry 0 its rows run from y 220 down to 320.
class DropDownList : public WidgetFixture {
protected:
    MWinButton* List(float y = 220)
    {
        MWinButton* b = AddKind("L", MWIN_BUT_LIST, 100, y, 150, 20);
        b->ListSetStrings(5, kNames);
        return b;
    }
    std::vector<int> Events() const
    {
        std::vector<int> events;
        for (const _MWinButtonCallbackInfo& info : fired)
            events.push_back(info.kind.list.event);
        return events;
    }
};

TEST_F(DropDownList, ClickOpensHoverFollowsAndClickChooses)
{
    MWinButton* b = List();
    EXPECT_STREQ(b->GetTextP(0), "ALPHA");
    Click(150, 230);
    ASSERT_TRUE(b->ListIsOpen());
    EXPECT_EQ(b->IsCapturingInput(), 1);
    EXPECT_TRUE(fired.empty()) << "opening reports nothing";
    MoveTo(150, 268);
    EXPECT_EQ(b->GetListData()->hover, 2);
    ASSERT_EQ(Events(), std::vector<int>({MWIN_LIST_HOVER_MOVED}));
    EXPECT_EQ(log.sounds[MWIN_SOUND_CHANGE], 1);
    Click(150, 268);
    EXPECT_FALSE(b->ListIsOpen());
    ASSERT_EQ(Events(), std::vector<int>({MWIN_LIST_HOVER_MOVED, MWIN_LIST_CHOSEN}));
    EXPECT_EQ(fired.back().kind.list.position, 2);
    EXPECT_EQ(b->ListGetPos(), 2);
    EXPECT_STREQ(b->GetTextP(0), "CHARLIE");
}

TEST_F(DropDownList, EscapeClosesWithoutChoiceAndFiresNoEscapeButton)
{
    MWinButton* b = List();
    MWinButton* cancel = AddPush("CANCEL", 400, 400, 60, 20);
    cancel->SetEscapeButtonForParentWindow();
    Click(150, 230);
    MoveTo(150, 290);
    EXPECT_EQ(Key(ENG_VK_ESCAPE), 1);
    Frame();
    EXPECT_FALSE(b->ListIsOpen());
    EXPECT_EQ(b->ListGetPos(), 0);
    ASSERT_EQ(Events(), std::vector<int>({MWIN_LIST_HOVER_MOVED, MWIN_LIST_CLOSED}));
    EXPECT_EQ(fired.back().kind.list.position, 0);
    EXPECT_EQ(log.calls, 0) << "the escape button stays quiet";
}

TEST_F(DropDownList, PressOutsideOrLeavingTheColumnClosesWithoutChoice)
{
    MWinButton* b = List();
    Click(150, 230);
    Click(500, 50);
    EXPECT_FALSE(b->ListIsOpen());
    EXPECT_TRUE(fired.empty()) << "the hover never moved: nothing to report";
    Click(150, 230);
    MoveTo(150, 250);
    MoveTo(300, 250);
    EXPECT_FALSE(b->ListIsOpen());
    EXPECT_EQ(Events(), std::vector<int>({MWIN_LIST_HOVER_MOVED, MWIN_LIST_CLOSED}));
    EXPECT_EQ(b->ListGetPos(), 0);
}

TEST_F(DropDownList, ArrowKeysOnAClosedListStepWithoutShowingIt)
{
    MWinButton* b = List();
    int pos = -1;
    b->RegisterIntVariable(&pos, 1.0f);
    MoveTo(150, 230);
    EXPECT_EQ(Key(ENG_VK_DOWN), 1);
    EXPECT_FALSE(b->ListIsOpen());
    EXPECT_EQ(b->ListGetPos(), 1);
    EXPECT_EQ(pos, 1);
    ASSERT_EQ(Events(), std::vector<int>({MWIN_LIST_CHOSEN})) << "no hover report while it never showed";
    Key(ENG_VK_NEXT);
    EXPECT_EQ(b->ListGetPos(), 4) << "a page stops at the last entry";
    Key(ENG_VK_PRIOR);
    EXPECT_EQ(b->ListGetPos(), 0);
    EXPECT_EQ(Key('Z'), 0) << "a closed list leaves other keys alone";
}

TEST_F(DropDownList, KeysOfAnOpenListMoveSearchAndChoose)
{
    MWinButton* b = List();
    MoveTo(150, 230);
    EXPECT_EQ(Key(ENG_VK_RETURN), 1);
    ASSERT_TRUE(b->ListIsOpen());
    Key(ENG_VK_DOWN);
    Key(ENG_VK_DOWN);
    EXPECT_EQ(b->GetListData()->hover, 2);
    Key(ENG_VK_UP);
    EXPECT_EQ(b->GetListData()->hover, 1);
    EXPECT_EQ(Key('B'), 1);
    EXPECT_EQ(b->GetListData()->hover, 4) << "the search starts after the hover";
    Key('B');
    EXPECT_EQ(b->GetListData()->hover, 1) << "and wraps";
    EXPECT_EQ(Key('Q'), 1) << "an open list takes every key";
    Key(ENG_VK_RETURN);
    EXPECT_FALSE(b->ListIsOpen());
    EXPECT_EQ(b->ListGetPos(), 1);
    EXPECT_EQ(fired.back().kind.list.event, MWIN_LIST_CHOSEN);
}

TEST_F(DropDownList, WheelStepsAClosedListExceptAtTheEndsAndMovesAnOpenHover)
{
    MWinButton* b = List();
    MoveTo(150, 230);
    EXPECT_EQ(Wheel(1), 1);
    EXPECT_EQ(b->ListGetPos(), 0);
    EXPECT_TRUE(fired.empty()) << "no step below the first entry";
    Wheel(-1);
    EXPECT_EQ(b->ListGetPos(), 1);
    EXPECT_EQ(Events(), std::vector<int>({MWIN_LIST_CHOSEN}));
    Click(150, 230);
    ASSERT_TRUE(b->ListIsOpen());
    Wheel(-2);
    EXPECT_EQ(b->GetListData()->hover, 3);
    Wheel(-9);
    EXPECT_EQ(b->GetListData()->hover, 4) << "clamped to the last entry";
}

TEST_F(DropDownList, ADisabledListTakesNoKeysOrWheel)
{
    MWinButton* b = List();
    MoveTo(150, 230);
    b->Disable();
    b->SetHighlight(); // still under the mouse
    EXPECT_EQ(Key(ENG_VK_DOWN), 0);
    EXPECT_EQ(Wheel(-1), 0);
    EXPECT_EQ(Key(ENG_VK_RETURN), 0);
    EXPECT_FALSE(b->ListIsOpen());
    EXPECT_EQ(b->ListGetPos(), 0);
    EXPECT_TRUE(fired.empty());
}

TEST_F(DropDownList, ListAtTheTopOpensDownwardsWithATopCap)
{
    MWinButton* b = List(0);
    Click(150, 10);
    const _MWinDropDownListData* l = b->GetListData();
    ASSERT_TRUE(b->ListIsOpen());
    EXPECT_EQ(l->first, 0);
    EXPECT_EQ(l->end, 5);
    EXPECT_FLOAT_EQ(l->top, 0);
    EXPECT_FLOAT_EQ(l->height, 100);
    EXPECT_FLOAT_EQ(l->top_cap_y, 0) << "the cap is kept on the screen";
    EXPECT_FLOAT_EQ(l->top_cap_height, 10);
    EXPECT_FLOAT_EQ(l->bottom_cap_y, 95);
    EXPECT_LT(l->up_row_y, 0) << "no up arrow";
    EXPECT_EQ(l->more_above, 0);
}

TEST_F(DropDownList, LongListShowsArrowRowsAndScrollsFasterAndFaster)
{
    MWinButton* b = AddKind("L", MWIN_BUT_LIST, 100, 230, 150, 20);
    ASSERT_EQ(b->ListSetStringsCallback(100, &Number, nullptr), 1);
    ASSERT_EQ(b->ListSetPos(50, 0), 1);
    EXPECT_STREQ(b->GetTextP(0), "N50");
    eng_time = 100.0;
    Click(150, 240);
    const _MWinDropDownListData* l = b->GetListData();
    ASSERT_TRUE(b->ListIsOpen());
    EXPECT_EQ(l->more_above, 1);
    EXPECT_EQ(l->more_below, 1);
    EXPECT_EQ(l->first, 40);
    EXPECT_EQ(l->end, 61);
    EXPECT_NEAR(l->up_row_y, 10, 0.01);
    EXPECT_NEAR(l->down_row_y, 450, 0.01);
    MoveTo(150, 460);
    ASSERT_EQ(l->hover, l->end) << "resting on the down arrow";
    const double waits[] = {0.400, 0.330, 0.260, 0.190, 0.120, 0.050, 0.005, 0.005};
    double t = 100.0;
    for (int step = 0; step < 8; step++) {
        eng_time = t + waits[step] - 0.002;
        Frame();
        EXPECT_EQ(l->scroll_offset, step) << "not before " << waits[step] * 1000 << " ms";
        t += waits[step];
        eng_time = t;
        Frame();
        EXPECT_EQ(l->scroll_offset, step + 1);
    }
    EXPECT_EQ(l->hover, l->end) << "the hover stays on the arrow row";
    Click(150, 300);
    EXPECT_EQ(b->ListGetPos(), 50 + 8 + 3) << "the entry under the pointer after scrolling by 8";
    eng_time = 0.0;
}

TEST_F(DropDownList, EmptyListAndWrongKindAreReportedNotDivided)
{
    MWinButton* b = AddKind("L", MWIN_BUT_LIST, 100, 220, 150, 20);
    Click(150, 230);
    EXPECT_FALSE(b->ListIsOpen()) << "an empty list does not open";
    EXPECT_EQ(Key(ENG_VK_DOWN), 1);
    EXPECT_EQ(Wheel(-1), 1);
    EXPECT_EQ(b->ListCalcOpenListVariables(), 0);
    int since = DebugGetMessageCount();
    EXPECT_EQ(b->ListGetStringAtPos(0), nullptr);
    EXPECT_TRUE(LoggedSince(since, "Bad pos 0 (0)"));
    EXPECT_EQ(b->ListSetPos(0, 1), 0);
    EXPECT_TRUE(LoggedSince(since, "invalid pos : 0 (id: L, entries = 0)"));
    EXPECT_TRUE(fired.empty());
    MWinButton* push = AddPush("P", 300, 300, 60, 20);
    EXPECT_EQ(push->ListGetPos(), -1);
    EXPECT_TRUE(LoggedSince(since, "button P not a list"));
}

TEST_F(DropDownList, SetPosFiresWithTheOpenFlagAndResetStateCloses)
{
    MWinButton* b = List();
    b->ListSetPos(3, MWIN_FIRE_ALWAYS);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0].kind.list.event, 0) << "closed";
    EXPECT_EQ(fired[0].kind.list.position, 3);
    Click(150, 230);
    MoveTo(150, 215);
    b->Hide();
    EXPECT_FALSE(b->ListIsOpen());
    EXPECT_EQ(fired.back().kind.list.event, MWIN_LIST_CLOSED);
}

TEST_F(DropDownList, CallbackThatSwitchesScreensEndsEveryPathSafely)
{
    List();
    delete_on_fire = true;
    Click(150, 230);
    MoveTo(150, 250); // the hover report switches screens
    EXPECT_EQ(fired.size(), 1u);
    MoveTo(150, 270);
    Frame();

    window = AddWindow(mwin->GetDesktop()->AddCollection("SCREEN"), "MAIN", 0, 0, 640, 480);
    MWinButton* b = List();
    delete_on_fire = false;
    b->ListSetPos(1, 0);
    delete_on_fire = true;
    MoveTo(150, 230);
    Key(ENG_VK_DOWN); // closed step: chooses and fires
    EXPECT_EQ(fired.size(), 2u);

    window = AddWindow(mwin->GetDesktop()->AddCollection("SCREEN"), "MAIN", 0, 0, 640, 480);
    b = List();
    b->ListSetPos(2, MWIN_FIRE_ALWAYS); // from program code, outside any input
    EXPECT_EQ(fired.size(), 3u);
    EXPECT_EQ(mwin->GetCollectionFromID("SCREEN", false), nullptr);
}

class DropDownListPixels : public WidgetPixels {};

TEST_F(DropDownListPixels, OpenColumnLiesOverLaterButtonsWithTheHoverHighlighted)
{
    Standard(MWIN_STD_LIST_OPEN_MAIN, "Blue");
    Standard(MWIN_STD_LIST_OPEN_SELECTION, "Green");
    Standard(MWIN_STD_LIST_OPEN_TOP, "Red");
    Standard(MWIN_STD_LIST_OPEN_BOTTOM, "Red");
    Standard(MWIN_STD_UP_ARROW, "Red");
    Standard(MWIN_STD_DOWN_ARROW, "Red");
    ASSERT_EQ(mwin->CreateGraphicsObjects(), 1);
    MWinButton* b = window->AddButton("L", MWIN_BUT_LIST, "Grey", "", 100, 220, 150, 20);
    b->SetFont("Main");
    b->ListSetStrings(5, kNames);
    window->AddButton("UNDER", MWIN_BUT_LABEL, "Red", "", 100, 280, 150, 20);
    DrawFrame();
    EXPECT_GT(ColourPixels(100, 220, 120, 20, 128, 128, 128), 0) << "closed: the button";
    EXPECT_GT(ColourPixels(236, 225, 8, 10, 255, 0, 0), 0) << "the arrows at its right edge";
    EXPECT_GT(DarkPixels(100, 220, 130, 20), 10) << "its entry";
    EXPECT_EQ(ColourPixels(100, 282, 150, 16, 255, 0, 0), Area(150, 16));

    mwin->MouseMove(150.0f * eng_scale_x, 230.0f * eng_scale_y);
    mwin->ButtonPressed(0, 1, 0);
    ASSERT_TRUE(b->ListIsOpen());
    DrawFrame();
    EXPECT_GT(ColourPixels(102, 222, 146, 16, 0, 255, 0), Area(146, 16) / 2) << "the hover row";
    EXPECT_GT(ColourPixels(102, 282, 146, 16, 0, 0, 255), Area(146, 16) / 2) << "the column covers the label";
    EXPECT_GT(DarkPixels(100, 240, 150, 80), 30) << "the other entries";
    EXPECT_GT(ColourPixels(100, 316, 150, 8, 255, 0, 0), 0) << "the bottom cap";
}

} // namespace

namespace {

TEST_F(DropDownList, LanguageTokenEntriesFollowTheSubTexts)
{
    TestScratchFiles scratch;
    std::string folder = scratch.Folder("mwin-list-lang");
    ASSERT_FALSE(folder.empty());
    ASSERT_TRUE(scratch.WriteText(folder + "/English.txt", "Language=English\nSPEEDS=SLOW#NORMAL#FAST\n"));
    ASSERT_TRUE(EngLanguagesInit(folder.c_str(), "English", true));
    EngLanguagesInitFinished();
    MWinButton* b = AddKind("L", MWIN_BUT_LIST, 100, 220, 150, 20);
    ASSERT_EQ(b->ListSetStringsToken("SPEEDS"), 1);
    EXPECT_STREQ(b->ListGetStringAtPos(2), "FAST");
    MoveTo(150, 230);
    Key(ENG_VK_DOWN);
    EXPECT_EQ(b->ListGetPos(), 1);
    EXPECT_STREQ(b->ListGetStringAtPos(b->ListGetPos()), "NORMAL");
    EXPECT_TRUE(b->IsLanguageTextOn()) << "stepping keeps the token";
    MWinButton* c = AddKind("C", MWIN_BUT_CHOICE, 100, 300, 150, 20);
    ASSERT_EQ(c->ChoiceSetStringsToken("SPEEDS"), 1);
    c->ChoiceSetArrows(1, 0);
    EXPECT_EQ(c->ChoiceSetSel(2, 0), 1);
    EXPECT_EQ(c->GetChoiceData()->count, 3);
    EXPECT_TRUE(c->IsLanguageTextOn());
    const char* strings[] = {"A", "B"};
    c->ChoiceSetStrings(2, strings);
    EXPECT_FALSE(c->IsLanguageTextOn()) << "a new source clears the token";
    EngLanguagesDestroy();
}

} // namespace

// Panels: paging, selection by click, keys and wheel, the scroll bar, multi-selection, allow none, automatic
// rows, safety of empty panels and of callbacks that delete the panel, drawing.
#include "MWinWidgetFixture.h"

namespace {

const char* Country(int index, MWinButton*, void*)
{
    static const char* names[] = {"AUSTRIA", "BELGIUM", "CANADA", "DENMARK", "ESTONIA", "FINLAND", "GERMANY"};
    static char text[16];
    if (index < 7)
        return names[index];
    std::snprintf(text, sizeof(text), "Z%d", index);
    return text;
}

// A panel at (100, 100), 200 x 100, five rows of 20. With more entries than rows its scroll bar takes the
// right 12, its track runs from 103 to 197 and the thumb is at least 24 long.
class Panel : public WidgetFixture {
protected:
    MWinButton* Make(int count, int per_page = 5)
    {
        MWinButton* b = AddKind("P", MWIN_BUT_PANEL, 100, 100, 200, 100);
        b->PanelSetStringsCallback(count, per_page, &Country, nullptr);
        return b;
    }
    static void ExpectEvent(const _MWinButtonCallbackInfo& info, int event, int position, int how)
    {
        EXPECT_EQ(info.kind.panel.event, event);
        EXPECT_EQ(info.kind.panel.position, position);
        EXPECT_EQ(info.kind.panel.how, how);
    }
};

TEST_F(Panel, ScrollBarShowsOnlyWhenEntriesOverflowAndItsThumbHasAMinimum)
{
    MWinButton* few = Make(3);
    EXPECT_EQ(few->GetPanelData()->bar_shown, 0);
    EXPECT_FLOAT_EQ(few->GetPanelData()->text_width, 200);
    MWinButton* many = Make(50);
    const _MWinPanelData* p = many->GetPanelData();
    EXPECT_EQ(p->bar_shown, 1);
    EXPECT_FLOAT_EQ(p->text_width, 188);
    EXPECT_NEAR(p->track_length, 94, 0.01);
    EXPECT_FLOAT_EQ(p->thumb_length, 24);
    EXPECT_FLOAT_EQ(p->row_height, 20);
    many->PanelSetScroll(45);
    EXPECT_NEAR(p->thumb_bottom, 197, 0.01) << "a lengthened thumb still stops at the track's end";
    many->PanelSetScroll(9);
    EXPECT_NEAR(p->thumb_top, 103 + 70 * 9 / 45.0f, 0.01);
}

TEST_F(Panel, ReleaseOnARowSelectsItAndDoubleClickActivates)
{
    MWinButton* b = Make(7);
    Click(150, 145);
    ASSERT_EQ(fired.size(), 1u);
    ExpectEvent(fired[0], MWIN_PANEL_MOVED, 2, 1);
    EXPECT_EQ(b->PanelGetPos(), 2);
    EXPECT_EQ(log.sounds[MWIN_SOUND_CHANGE], 1);
    EXPECT_EQ(mwin->HandleInputEvent(int(_EngInputEventType::MouseDoubleClick), 0, 0), 1);
    ASSERT_EQ(fired.size(), 2u);
    ExpectEvent(fired[1], MWIN_PANEL_ACTIVATED, 2, 2);
    Click(150, 199);
    EXPECT_EQ(b->PanelGetPos(), 4);
}

TEST_F(Panel, KeysMovePageSearchAndActivate)
{
    MWinButton* b = Make(50);
    MoveTo(150, 110);
    EXPECT_EQ(Key(ENG_VK_DOWN), 1);
    ExpectEvent(fired.back(), MWIN_PANEL_MOVED, 1, 2);
    Key(ENG_VK_NEXT);
    EXPECT_EQ(b->PanelGetPos(), 6);
    EXPECT_FLOAT_EQ(b->GetPanelData()->scroll, 2) << "the page follows the position";
    Key(ENG_VK_PRIOR);
    Key(ENG_VK_PRIOR);
    EXPECT_EQ(b->PanelGetPos(), 0);
    EXPECT_FLOAT_EQ(b->GetPanelData()->scroll, 0);
    size_t before = fired.size();
    Key(ENG_VK_PRIOR);
    EXPECT_EQ(fired.size(), before) << "no page up from the first entry";
    EXPECT_EQ(Key(ENG_VK_RETURN), 1);
    ExpectEvent(fired.back(), MWIN_PANEL_ACTIVATED, 0, 0);
    EXPECT_EQ(Key('Z'), 1);
    EXPECT_EQ(b->PanelGetPos(), 7);
    ExpectEvent(fired.back(), MWIN_PANEL_MOVED, 7, 0);
    EXPECT_FLOAT_EQ(b->GetPanelData()->scroll, 5) << "the page is centred on the found entry";
    EXPECT_EQ(Key(ENG_VK_ESCAPE), 0) << "keys that find nothing are left to the window";
}

TEST_F(Panel, WheelAndScrollBarClicksPageWithinTheRange)
{
    MWinButton* b = Make(50);
    const _MWinPanelData* p = b->GetPanelData();
    MoveTo(150, 150);
    EXPECT_EQ(Wheel(1), 1);
    EXPECT_FLOAT_EQ(p->scroll, 0);
    Wheel(-3);
    EXPECT_FLOAT_EQ(p->scroll, 3);
    Click(294, 190);
    EXPECT_FLOAT_EQ(p->scroll, 8) << "a click below the thumb pages down";
    Click(294, 101);
    EXPECT_FLOAT_EQ(p->scroll, 3);
    Wheel(-100);
    EXPECT_FLOAT_EQ(p->scroll, 45);
    EXPECT_TRUE(fired.empty()) << "scrolling selects nothing";
}

TEST_F(Panel, ThumbDragScrollsFollowsOutsideAndEndsOnRelease)
{
    MWinButton* b = Make(50);
    const _MWinPanelData* p = b->GetPanelData();
    MoveTo(294, 110);
    Press();
    EXPECT_EQ(p->drag_state, 1);
    EXPECT_EQ(b->IsCapturingInput(), 1);
    MoveTo(294, 140);
    EXPECT_GT(p->scroll, 0.0f);
    EXPECT_LT(p->scroll, 45.0f);
    MoveTo(500, 470);
    EXPECT_FLOAT_EQ(p->scroll, 45) << "clamped at the end while the pointer is far outside";
    Release();
    EXPECT_EQ(p->drag_state, 0);
    EXPECT_TRUE(fired.empty()) << "releasing a drag over the entries selects nothing";
    MoveTo(294, 110);
    MoveTo(294, 300);
    EXPECT_FLOAT_EQ(p->scroll, 45);
}

TEST_F(Panel, AllowNoneKeepsNothingSelected)
{
    MWinButton* b = AddKind("P", MWIN_BUT_PANEL, 100, 100, 200, 100);
    b->PanelSetOptions(1, 0, 0, 1);
    b->PanelSetStringsCallback(7, 5, &Country, nullptr);
    EXPECT_EQ(b->PanelGetPos(), -1);
    b->PanelSetPos(-5, 0, 0);
    EXPECT_EQ(b->PanelGetPos(), -1);
    EXPECT_FALSE(b->PanelIsSelected(0));
    b->PanelSetPos(99, 0, 0);
    EXPECT_EQ(b->PanelGetPos(), 6);
    MWinButton* plain = Make(7);
    plain->PanelSetPos(-5, 0, 0);
    EXPECT_EQ(plain->PanelGetPos(), 0);
}

TEST_F(Panel, CtrlClickTogglesAndShiftClickSelectsARange)
{
    MWinButton* b = AddKind("P", MWIN_BUT_PANEL, 100, 100, 200, 100);
    b->PanelSetOptions(0, 1, 0, 1);
    b->PanelSetStringsCallback(7, 5, &Country, nullptr);
    Click(150, 125);
    EXPECT_TRUE(b->PanelIsSelected(1));
    EngKeyStateTableSet(ENG_VK_CONTROL, true);
    Click(150, 165);
    EXPECT_TRUE(b->PanelIsSelected(1));
    EXPECT_TRUE(b->PanelIsSelected(3));
    Click(150, 165);
    EXPECT_FALSE(b->PanelIsSelected(3)) << "a second Ctrl-click clears it";
    EngKeyStateTableSet(ENG_VK_CONTROL, false);
    Click(150, 105);
    EngKeyStateTableSet(ENG_VK_SHIFT, true);
    Click(150, 185);
    EngKeyStateTableSet(ENG_VK_SHIFT, false);
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(b->PanelIsSelected(i), i <= 4) << "entry " << i;
    MoveTo(150, 150);
    EXPECT_EQ(Key('A'), 0) << "no search in multi-selection mode";
}

TEST_F(Panel, VisibleRangeEntryAreaAndCentring)
{
    MWinButton* b = Make(50);
    int first = -1, last = -1;
    b->PanelSetPos(20, 0, 0);
    ASSERT_EQ(b->PanelGetVisibleRange(&first, &last), 1);
    EXPECT_EQ(first, 16);
    EXPECT_EQ(last, 21);
    float area[4];
    ASSERT_EQ(b->PanelGetEntryArea(20, area), 1);
    EXPECT_NEAR(area[1], 180, 0.01);
    EXPECT_FLOAT_EQ(area[2], 188);
    EXPECT_EQ(b->PanelGetEntryArea(21, area), 0);
    b->PanelCentreOnPos();
    EXPECT_FLOAT_EQ(b->GetPanelData()->scroll, 18);
    b->PanelSetPos(49, 0, 0);
    b->PanelCentreOnPos();
    EXPECT_FLOAT_EQ(b->GetPanelData()->scroll, 45);
}

TEST_F(Panel, AutomaticRowsFollowTheDefaultButtonHeight)
{
    MWinButton* b = Make(50, -1);
    EXPECT_EQ(b->GetPanelData()->per_page, 5);
    b->PanelUpdateNumPerPageVar(-2);
    EXPECT_EQ(b->GetPanelData()->per_page, 7);
    b->SetArea(100, 100, 200, 200);
    EXPECT_EQ(b->GetPanelData()->per_page, 15) << "a new area recomputes automatic rows";
    b->PanelUpdateNumPerPageVar(4);
    b->SetArea(100, 100, 200, 100);
    EXPECT_EQ(b->GetPanelData()->per_page, 4) << "fixed rows stay";
    mwin->GetLayoutSettings(0)->f[MWIN_LF_BUTTON_HEIGHT] = 0;
    int since = DebugGetMessageCount();
    b->PanelUpdateNumPerPageVar(-1);
    EXPECT_TRUE(LoggedSince(since, "No default button height"));
}

TEST_F(Panel, EmptyPanelAndBadCountsAreSafe)
{
    MWinButton* b = AddKind("P", MWIN_BUT_PANEL, 100, 100, 200, 100);
    int since = DebugGetMessageCount();
    EXPECT_EQ(b->PanelSetStringsCallback(-3, 5, &Country, nullptr), 0);
    EXPECT_TRUE(LoggedSince(since, "invalid num entries -3 (ID: P)"));
    ASSERT_EQ(b->PanelSetStringsCallback(0, 0, &Country, nullptr), 1);
    Click(150, 150);
    EXPECT_EQ(Key(ENG_VK_DOWN), 0);
    Wheel(-1);
    EXPECT_EQ(mwin->HandleInputEvent(int(_EngInputEventType::MouseDoubleClick), 0, 0), 0);
    EXPECT_EQ(b->PanelGetVisibleRange(nullptr, nullptr), 0);
    EXPECT_EQ(b->PanelSetPos(0, 1, 0), 0);
    EXPECT_TRUE(fired.empty());
    MWinButton* push = AddPush("Q", 400, 400, 60, 20);
    EXPECT_EQ(push->PanelGetPos(), -1);
    EXPECT_TRUE(LoggedSince(since, "Button is not a panel"));
}

TEST_F(Panel, RegisteredVariableFollowsAndADeletingCallbackIsSafe)
{
    MWinButton* b = Make(7);
    int choice = -1;
    b->RegisterIntVariable(&choice, 1.0f);
    b->PanelSetPos(3, 0, 0);
    EXPECT_EQ(choice, 3);
    delete_on_fire = true;
    Click(150, 105);
    EXPECT_EQ(fired.size(), 1u);
    EXPECT_EQ(choice, 0);
    Frame();
    EXPECT_EQ(mwin->GetCollectionFromID("SCREEN", false), nullptr);
}

struct EntryDraws {
    std::vector<int> indices;
    std::vector<int> states;
};

void RecordEntry(MWinButton*, float[4], _MWinTextureState state, int index, void* user)
{
    EntryDraws* draws = static_cast<EntryDraws*>(user);
    draws->indices.push_back(index);
    draws->states.push_back(state);
}

class PanelPixels : public WidgetPixels {};

TEST_F(PanelPixels, RowsSelectionScrollBarAndTextsReachTheScreen)
{
    ASSERT_NE(textures->AddTextureButton("Rows", "Grey", 0, 0, 1, 1, "Green", 0, 0, 1, 1, "Grey", 0, 0, 1, 1, "Red", 0,
                                         0, 1, 1),
              nullptr);
    Standard(MWIN_STD_VSCROLL_TRACK, "Red");
    Standard(MWIN_STD_VSCROLL_THUMB, "Blue");
    ASSERT_EQ(mwin->CreateGraphicsObjects(), 1);
    MWinButton* b = window->AddButton("P", MWIN_BUT_PANEL, "Rows", "", 100, 100, 200, 100);
    b->SetFont("Main");
    EntryDraws draws;
    b->PanelSetEntryRenderCallback(&RecordEntry, &draws);
    b->PanelSetStringsCallback(50, 5, &Country, nullptr);
    b->PanelSetPos(2, 0, 0);
    DrawFrame();
    EXPECT_GT(ColourPixels(100, 140, 188, 20, 0, 255, 0), Area(188, 20) / 2) << "the selected row";
    EXPECT_GT(ColourPixels(100, 100, 188, 20, 128, 128, 128), 0) << "an unselected row";
    EXPECT_EQ(ColourPixels(100, 201, 200, 40, 128, 128, 128), 0) << "rows below the panel are clipped";
    EXPECT_EQ(ColourPixels(290, 130, 8, 60, 255, 0, 0), Area(8, 60)) << "the scroll bar below the thumb";
    EXPECT_EQ(ColourPixels(290, 104, 8, 22, 0, 0, 255), Area(8, 22)) << "the thumb at the top";
    EXPECT_GT(DarkPixels(100, 100, 188, 100), 50) << "the entry texts";
    EXPECT_EQ(DarkPixels(288, 100, 12, 100), 0) << "no text over the scroll bar";
    EXPECT_EQ(draws.indices, std::vector<int>({0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(draws.states[2], MWIN_TS_HIGHLIGHTED);
    EXPECT_EQ(draws.states[0], MWIN_TS_NORMAL);

    b->Disable();
    DrawFrame();
    EXPECT_GT(ColourPixels(100, 100, 188, 20, 255, 0, 0), Area(188, 20) / 2) << "disabled rows";
    b->PanelUpdateNumPerPageVar(0);
    int since = DebugGetMessageCount();
    DrawFrame();
    EXPECT_TRUE(LoggedSince(since, "P: NUM PER PAGE <= 0"));
    EXPECT_EQ(ColourPixels(100, 100, 188, 100, 0, 255, 0), 0);
}

} // namespace

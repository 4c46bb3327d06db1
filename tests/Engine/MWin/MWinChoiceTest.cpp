// Choices: segments and arrows, keys that cycle and wrap, hover reports, mirrored variables, drawing.
#include "MWinWidgetFixture.h"

namespace {

const char* kLevels[] = {"EASY", "MEDIUM", "HARD"};

class Choice : public WidgetFixture {
protected:
    MWinButton* Segments(float w = 120)
    {
        MWinButton* b = AddKind("CH", MWIN_BUT_CHOICE, 100, 100, w, 30);
        b->ChoiceSetStrings(3, kLevels);
        return b;
    }
    MWinButton* Arrows()
    {
        MWinButton* b = Segments(200);
        b->ChoiceSetArrows(1, 0);
        return b;
    }
};

TEST_F(Choice, SegmentClickSelectsAndFiresOnlyOnChange)
{
    MWinButton* b = Segments();
    Click(190, 115);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0].kind.choice.selection, 2);
    EXPECT_EQ(fired[0].kind.choice.hover, 0);
    EXPECT_EQ(b->ChoiceGetSel(), 2);
    EXPECT_EQ(log.sounds[MWIN_SOUND_CHANGE], 1);
    Click(190, 115);
    EXPECT_EQ(fired.size(), 1u) << "the same segment again changes nothing";
    Click(101, 115);
    EXPECT_EQ(b->ChoiceGetSel(), 0);
}

TEST_F(Choice, EnterCyclesAndWrapsArrowKeysStopAtTheEnds)
{
    MWinButton* b = Segments();
    MoveTo(110, 115);
    EXPECT_EQ(Key(ENG_VK_LEFT), 1) << "arrow keys are used even when nothing changes";
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(Key(ENG_VK_RIGHT), 1);
    EXPECT_EQ(Key(ENG_VK_DOWN), 1);
    EXPECT_EQ(Key(ENG_VK_DOWN), 1);
    EXPECT_EQ(b->ChoiceGetSel(), 2);
    EXPECT_EQ(fired.size(), 2u);
    EXPECT_EQ(Key(ENG_VK_RETURN), 1);
    EXPECT_EQ(b->ChoiceGetSel(), 0) << "Enter on the last entry wraps to the first";
    ASSERT_EQ(fired.size(), 3u);
    EXPECT_EQ(fired[2].kind.choice.selection, 0);
    EXPECT_EQ(Key(ENG_VK_UP), 1);
    EXPECT_EQ(b->ChoiceGetSel(), 0);
    EXPECT_EQ(Key('X'), 0) << "other keys are not used";
}

TEST_F(Choice, ArrowsModeStepsByTheArrowsAndHidesTheLeftOneAtTheStart)
{
    MWinButton* b = Arrows();
    EXPECT_EQ(b->ChoiceGetSel(), 0);
    EXPECT_EQ(b->GetChoiceData()->left_arrow_on, 0);
    EXPECT_EQ(b->GetChoiceData()->right_arrow_on, 1);
    Click(105, 115);
    EXPECT_TRUE(fired.empty()) << "no left arrow at selection 0";
    Click(295, 115);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(b->ChoiceGetSel(), 1);
    EXPECT_STREQ(b->GetTextP(0), "MEDIUM") << "the button shows the selected text";
    Click(295, 115);
    EXPECT_EQ(b->GetChoiceData()->right_arrow_on, 0);
    Click(295, 115);
    EXPECT_EQ(b->ChoiceGetSel(), 2) << "no step past the last entry";
    Click(200, 115);
    EXPECT_EQ(b->ChoiceGetSel(), 2) << "the middle is no arrow";
    Click(105, 115);
    EXPECT_EQ(b->ChoiceGetSel(), 1);
    Click(105, 102);
    EXPECT_EQ(b->ChoiceGetSel(), 1) << "above the arrow's height";
}

TEST_F(Choice, WideSelectionDoublesTheSelectedSegment)
{
    MWinButton* b = Segments(120);
    b->ChoiceSetWideSelection(1);
    b->ChoiceSetSel(1, 0);
    float x[3], w[3];
    for (int i = 0; i < 3; i++)
        ASSERT_TRUE(b->ChoiceGetSegment(i, &x[i], &w[i]));
    EXPECT_FLOAT_EQ(w[0], 30);
    EXPECT_FLOAT_EQ(w[1], 60);
    EXPECT_FLOAT_EQ(w[2], 30);
    EXPECT_FLOAT_EQ(x[2], 190);
    EXPECT_FALSE(b->ChoiceGetSegment(3, &x[0], &w[0]));
}

TEST_F(Choice, HoverReportingCallsForEachNewSegment)
{
    MWinButton* b = Segments();
    b->ChoiceSetHoverReporting(1);
    MoveTo(110, 115); // the move that highlights the button
    MoveTo(115, 115);
    MoveTo(150, 115);
    ASSERT_EQ(fired.size(), 2u);
    EXPECT_EQ(fired[0].kind.choice.selection, 0);
    EXPECT_EQ(fired[0].kind.choice.hover, 1);
    EXPECT_EQ(fired[1].kind.choice.selection, 1);
    MoveTo(400, 400);
    MoveTo(150, 115);
    MoveTo(152, 115);
    EXPECT_EQ(fired.size(), 3u) << "leaving forgets the segment; moving over it again reports it again";
    EXPECT_EQ(b->ChoiceGetSel(), 0) << "hovering selects nothing";
}

TEST_F(Choice, SettersCheckTheirArgumentsAndFireAsAsked)
{
    MWinButton* b = AddKind("CH", MWIN_BUT_CHOICE, 100, 100, 120, 30);
    int since = DebugGetMessageCount();
    EXPECT_EQ(b->ChoiceSetStrings(0, kLevels), 0);
    EXPECT_TRUE(LoggedSince(since, "invalid num 0 (ID: CH)"));
    EXPECT_EQ(b->ChoiceSetStrings(2, nullptr), 0);
    EXPECT_TRUE(LoggedSince(since, "Null strings (ID: CH)"));
    EXPECT_EQ(b->ChoiceSetStringsCallback(2, nullptr, nullptr), 0);
    EXPECT_TRUE(LoggedSince(since, "Null callback entry (ID: CH)"));
    ASSERT_EQ(b->ChoiceSetStrings(3, kLevels), 1);
    EXPECT_EQ(b->ChoiceSetSel(3, 1), 0);
    EXPECT_TRUE(LoggedSince(since, "invalid sel : 3 (m_id: CH, entries = 3)"));
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(b->ChoiceSetSel(0, MWIN_FIRE_IF_CHANGED), 1);
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(b->ChoiceSetSel(0, MWIN_FIRE_ALWAYS), 1);
    EXPECT_EQ(fired.size(), 1u);
    EXPECT_EQ(b->ChoiceSetSel(-1, MWIN_FIRE_NEVER), 1) << "-1 selects nothing";
    EXPECT_EQ(fired.size(), 1u);
}

TEST_F(Choice, RegisteredVariablesSelectAndFollow)
{
    MWinButton* b = Segments();
    int level = 2;
    ASSERT_EQ(b->ChoiceRegisterIntVariable(&level, 0), 1);
    EXPECT_EQ(b->ChoiceGetSel(), 2);
    Click(101, 115);
    EXPECT_EQ(level, 0);
    char small = 1;
    ASSERT_EQ(b->ChoiceRegisterCharVariable(&small, 0), 1);
    EXPECT_EQ(b->ChoiceGetSel(), 1);
    Click(190, 115);
    EXPECT_EQ(small, 2);
}

const char* Numbered(int index, MWinButton*, void*)
{
    static const char* names[] = {"ZERO", "ONE"};
    return names[index];
}

TEST_F(Choice, CallbackSourceAndEmptyChoiceAreSafe)
{
    MWinButton* b = AddKind("CH", MWIN_BUT_CHOICE, 100, 100, 200, 30);
    MoveTo(150, 115);
    EXPECT_EQ(Key(ENG_VK_RETURN), 1) << "an empty choice takes the key without dividing by its count";
    Click(150, 115);
    EXPECT_EQ(b->ChoiceGetSel(), -1);
    ASSERT_EQ(b->ChoiceSetStringsCallback(2, &Numbered, nullptr), 1);
    b->ChoiceSetArrows(1, 0);
    b->ChoiceSetSel(1, 0);
    EXPECT_STREQ(b->GetTextP(0), "ONE");
}

class ChoicePixels : public WidgetPixels {};

TEST_F(ChoicePixels, SegmentsShowTheSelectionPressedAndWide)
{
    ASSERT_NE(textures->AddTextureButton("Seg", "Grey", 0, 0, 1, 1, "Grey", 0, 0, 1, 1, "Green", 0, 0, 1, 1, "Red", 0,
                                         0, 1, 1),
              nullptr);
    ASSERT_EQ(mwin->CreateGraphicsObjects(), 1);
    MWinButton* b = window->AddButton("CH", MWIN_BUT_CHOICE, "Seg", "", 100, 100, 120, 30);
    b->SetFont("Main");
    b->ChoiceSetStrings(3, kLevels);
    b->ChoiceSetWideSelection(1);
    b->ChoiceSetSel(1, 0);
    DrawFrame();
    EXPECT_GT(ColourPixels(132, 102, 56, 26, 0, 255, 0), Area(56, 26) / 2) << "the middle segment, 60 wide, pressed";
    EXPECT_EQ(ColourPixels(101, 102, 27, 26, 0, 255, 0), 0);
    EXPECT_GT(ColourPixels(101, 102, 27, 26, 128, 128, 128), 0) << "the others normal";
    EXPECT_GT(DarkPixels(100, 100, 120, 30), 10) << "the texts";
    b->Disable();
    DrawFrame();
    EXPECT_GT(ColourPixels(192, 102, 27, 26, 255, 0, 0), 0) << "unselected segments of a disabled choice";
}

} // namespace

// Check boxes: toggling by click, double click and key routing, the mirrored variable, and their drawing.
#include "MWinWidgetFixture.h"

namespace {

class CheckBox : public WidgetFixture {};

TEST_F(CheckBox, ClickTogglesAndFiresWithTheValue)
{
    MWinButton* b = AddKind("CB", MWIN_BUT_CHECKBOX, 100, 100, 120, 30, "SOUND");
    char sound = 0;
    ASSERT_EQ(b->CheckboxRegisterCharVariable(&sound, 0), 1);
    Click(150, 115);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0].kind.checkbox_value, 1);
    EXPECT_EQ(b->CheckboxGetValue(), 1);
    EXPECT_EQ(sound, 1) << "the registered variable follows";
    Click(150, 115);
    ASSERT_EQ(fired.size(), 2u);
    EXPECT_EQ(fired[1].kind.checkbox_value, 0);
    EXPECT_EQ(sound, 0);
}

TEST_F(CheckBox, DoubleClickTogglesOnceMoreAndAPressOutsideDoesNothing)
{
    MWinButton* b = AddKind("CB", MWIN_BUT_CHECKBOX, 100, 100, 120, 30, "SOUND");
    MoveTo(150, 115);
    Press();
    Release();
    EXPECT_EQ(mwin->HandleInputEvent(int(_EngInputEventType::MouseDoubleClick), 0, 0), 1);
    Release();
    EXPECT_EQ(fired.size(), 2u);
    EXPECT_EQ(b->CheckboxGetValue(), 0) << "press and double click: on, then off";
    Click(400, 400);
    EXPECT_EQ(fired.size(), 2u);
}

TEST_F(CheckBox, InvalidValueIsReportedAndKept)
{
    MWinButton* b = AddKind("CB", MWIN_BUT_CHECKBOX, 100, 100, 120, 30);
    b->CheckboxSet(1, 0);
    int since = DebugGetMessageCount();
    b->CheckboxSet(2, 1);
    EXPECT_TRUE(LoggedSince(since, "Invalid check parameter: 2"));
    EXPECT_EQ(b->CheckboxGetValue(), 1);
    EXPECT_TRUE(fired.empty());
}

TEST_F(CheckBox, SetFiresOnlyWhenAskedAndRegisteringReadsTheVariable)
{
    MWinButton* b = AddKind("CB", MWIN_BUT_CHECKBOX, 100, 100, 120, 30);
    b->CheckboxSet(1, MWIN_FIRE_NEVER);
    EXPECT_TRUE(fired.empty());
    b->CheckboxSet(1, MWIN_FIRE_IF_CHANGED);
    EXPECT_TRUE(fired.empty()) << "unchanged";
    b->CheckboxSet(1, MWIN_FIRE_ALWAYS);
    EXPECT_EQ(fired.size(), 1u);
    char value = 0;
    b->CheckboxRegisterCharVariable(&value, 0);
    EXPECT_EQ(b->CheckboxGetValue(), 0) << "registering takes the variable's value";
    int on = 0;
    ASSERT_EQ(b->RegisterIntVariable(&on, 1.0f), 1);
    b->CheckboxSet(1, 0);
    EXPECT_EQ(on, 1) << "int variables are written too";

    MWinButton* push = AddKind("P", MWIN_BUT_PUSH, 300, 100, 60, 30);
    int since = DebugGetMessageCount();
    EXPECT_EQ(push->CheckboxRegisterCharVariable(&value, 0), 0);
    EXPECT_TRUE(LoggedSince(since, "not a check box"));
}

TEST_F(CheckBox, CallbackThatSwitchesScreensEndsTheClickSafely)
{
    AddKind("CB", MWIN_BUT_CHECKBOX, 100, 100, 120, 30);
    delete_on_fire = true;
    Click(150, 115);
    Frame();
    EXPECT_EQ(fired.size(), 1u);
    EXPECT_EQ(mwin->GetCollectionFromID("SCREEN", false), nullptr);
}

class CheckBoxPixels : public WidgetPixels {};

TEST_F(CheckBoxPixels, ImageFollowsTheValueAndTheAlignment)
{
    Standard(MWIN_STD_CHECK_ON, "Red");
    Standard(MWIN_STD_CHECK_OFF, "Blue");
    ASSERT_EQ(mwin->CreateGraphicsObjects(), 1);
    MWinButton* plain = window->AddButton("A", MWIN_BUT_CHECKBOX, MWIN_TEXBUT_NONE, "", 100, 100, 100, 40);
    MWinButton* left = window->AddButton("B", MWIN_BUT_CHECKBOX, MWIN_TEXBUT_NONE, "MUSIC", 100, 200, 200, 40);
    left->SetFont("Main");
    left->SetTextAlign(MWIN_ALIGN_LEFT);
    plain->CheckboxSet(1, 0);
    DrawFrame();
    // 12 x 12 images: centred without text, at the left margin (3) with left-aligned text.
    EXPECT_EQ(ColourPixels(145, 115, 10, 10, 255, 0, 0), Area(10, 10));
    EXPECT_EQ(ColourPixels(100, 100, 40, 40, 255, 0, 0), 0);
    EXPECT_EQ(ColourPixels(104, 215, 10, 10, 0, 0, 255), Area(10, 10)) << "unchecked image";
    EXPECT_GT(DarkPixels(120, 200, 180, 40), 20) << "the text stands right of the image";
    EXPECT_EQ(DarkPixels(100, 200, 17, 40), 0);
    plain->CheckboxSet(0, 0);
    DrawFrame();
    EXPECT_EQ(ColourPixels(145, 115, 10, 10, 0, 0, 255), Area(10, 10));
}

} // namespace

namespace {

TEST_F(CheckBox, SpaceAndEnterToggleTheHighlightedBoxOnly)
{
    MWinButton* b = AddKind("CB", MWIN_BUT_CHECKBOX, 100, 100, 120, 30);
    EXPECT_EQ(Key(ENG_VK_SPACE), 0) << "not highlighted";
    MoveTo(150, 115);
    EXPECT_EQ(Key(ENG_VK_SPACE), 1);
    EXPECT_EQ(b->CheckboxGetValue(), 1);
    EXPECT_EQ(Key(ENG_VK_RETURN), 1);
    EXPECT_EQ(b->CheckboxGetValue(), 0);
    EXPECT_EQ(Key('A'), 0);
    ASSERT_EQ(fired.size(), 2u);
    EXPECT_EQ(fired[0].kind.checkbox_value, 1);
}

} // namespace

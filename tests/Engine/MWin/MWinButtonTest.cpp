#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/MWin/MWinCollectionController.h"
#include "Engine/MWin/MWinTextureRegistry.h"
#include "Engine/MWin/MWinGroup.h"
#include "MWinButtonFixture.h"

// ---------------------------------------------------------------------------------------------------------
// Press, release and fire

TEST_F(MWinFixture, ReleaseOverPushButtonFiresOnceWithItsIdsAndIntegers)
{
    AddPush("GO", 100, 100, 80, 30, 7, -3);
    EXPECT_EQ(Click(120, 110), 1);
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(log.button_id, "GO");
    EXPECT_EQ(log.window_id, "MAIN");
    EXPECT_EQ(log.int1, 7);
    EXPECT_EQ(log.int2, -3);
    EXPECT_EQ(log.frame, 0) << "a click fires inside the input walk, not on a later frame";
    EXPECT_EQ(log.sounds[MWIN_SOUND_FIRED], 1);
}

// Paths of the pointer and its buttons that are no click on the button: none fires, sounds or leaves it pressed.
TEST_F(MWinFixture, PathsThatAreNoClickFireNothing)
{
    struct Step {
        char what; // 'm' moves to (x, y); 'p' and 'r' press and release mouse button x
        float x, y;
    };
    const struct {
        const char* path;
        std::vector<Step> steps;
    } cases[] = {
        {"released outside", {{'m', 120, 110}, {'p', 0, 0}, {'m', 300, 300}, {'r', 0, 0}}},
        {"moved off and back: leaving resets the press",
         {{'m', 120, 110}, {'p', 0, 0}, {'m', 300, 300}, {'m', 120, 110}, {'r', 0, 0}}},
        {"pressed outside, released over it", {{'m', 300, 300}, {'p', 0, 0}, {'m', 120, 110}, {'r', 0, 0}}},
        {"the right button", {{'m', 120, 110}, {'p', 1, 0}, {'r', 1, 0}}},
    };
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        for (const Step& step : c.steps) {
            if (step.what == 'm')
                MoveTo(step.x, step.y);
            else if (step.what == 'p')
                Press(int(step.x));
            else
                Release(int(step.x));
        }
        EXPECT_EQ(log.calls, 0);
        EXPECT_EQ(log.sounds[MWIN_SOUND_FIRED], 0);
        EXPECT_FALSE(b->IsPressed());
    }
}

TEST_F(MWinFixture, EnterAndSpaceOnHighlightedPushButtonFireAtOnce)
{
    AddPush("GO", 100, 100, 80, 30);
    MoveTo(120, 110);
    EXPECT_EQ(Key(ENG_VK_SPACE), 1);
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(Key(ENG_VK_RETURN), 1);
    EXPECT_EQ(log.calls, 2);
    EXPECT_EQ(log.frame, 0) << "without the queue";
    EXPECT_EQ(Key('A'), 0) << "other keys are not used by push buttons";
}

TEST_F(MWinFixture, DisabledButtonUnderTheMouseIgnoresClicksAndEnter)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    b->Disable();
    Click(120, 110);
    Key(ENG_VK_RETURN);
    EXPECT_EQ(log.calls, 0);
    EXPECT_EQ(b->GetTextureState(), MWIN_TS_DISABLED);
}

TEST_F(MWinFixture, LaterButtonLiesOnTopAndTakesTheClick)
{
    AddPush("UNDER", 100, 100, 80, 30, 1);
    AddPush("OVER", 120, 100, 80, 30, 2);
    Click(150, 110);
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(log.button_id, "OVER");
    Click(110, 110); // where the first lies alone
    EXPECT_EQ(log.calls, 2);
    EXPECT_EQ(log.button_id, "UNDER");
}

// ---------------------------------------------------------------------------------------------------------
// Buttons that delete themselves, and nested fires

static void RemoveScreen(MWin* mwin, _MWinButtonCallbackInfo*, int, int, void*)
{
    mwin->GetDesktop()->RemoveCollection("SCREEN");
}

TEST_F(MWinFixture, ButtonRemovingItsScreenInItsCallbackEndsQuietly)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    b->SetCallback(&RemoveScreen, 0, 0, this, 1);
    int before = MWinButton::GetNumButtons();
    EXPECT_EQ(Click(120, 110), 1);
    EXPECT_EQ(log.sounds[MWIN_SOUND_FIRED], 0) << "a deleted button makes no click";
    EXPECT_EQ(mwin->GetCollectionFromID("SCREEN", false), nullptr);
    EXPECT_LT(MWinButton::GetNumButtons(), before);
    EXPECT_EQ(Frame(), 0);
}

// Replaces the screen with a new one whose window and button carry the same ids.
static void ReplaceScreen(MWin* mwin, _MWinButtonCallbackInfo*, int, int, void*)
{
    mwin->GetDesktop()->RemoveCollection("SCREEN");
    MWinCollection* c = mwin->GetDesktop()->AddCollection("SCREEN");
    MWinWindow* w = MWinFixture::AddWindow(c, "MAIN", 0, 0, 640, 480);
    w->AddButton("GO", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "GO", 100, 100, 80, 30);
}

TEST_F(MWinFixture, ExistenceCheckIsNotFooledByANewButtonWithTheSameIds)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    b->SetCallback(&ReplaceScreen, 0, 0, this, 1);
    EXPECT_FALSE(b->Fire(nullptr));
    EXPECT_EQ(log.sounds[MWIN_SOUND_FIRED], 0);
    EXPECT_NE(mwin->GetButtonFromIDs("SCREEN", "MAIN", "GO", false), nullptr);
}

static MWinButton* g_inner = nullptr;

static void FireInner(MWin*, _MWinButtonCallbackInfo*, int, int, void*)
{
    g_inner->Fire(nullptr);
}

TEST_F(MWinFixture, NestedFiresKeepTheirOwnExistenceChecks)
{
    MWinButton* outer = AddPush("OUTER", 10, 10, 50, 20);
    g_inner = AddPush("INNER", 10, 50, 50, 20);
    outer->SetCallback(&FireInner, 0, 0, this, 1);
    EXPECT_TRUE(outer->Fire(nullptr));
    EXPECT_EQ(log.calls, 1) << "the inner button's callback ran";
    EXPECT_EQ(log.sounds[MWIN_SOUND_FIRED], 2) << "both fires survived their checks";
}

TEST_F(MWinFixture, ExistenceCheckFailsOnceTheButtonIsDeleted)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    _MWinButtonExistCheck check;
    b->FillStillExistsCheckInfo(&check);
    EXPECT_TRUE(MWinButton::DoWeStillExist(&check));
    MWinButtonSerial serial = b->GetSerial();
    EXPECT_EQ(MWinButton::FindLive(serial), b);
    window->RemoveAllButtons();
    EXPECT_EQ(MWinButton::FindLive(serial), nullptr);
    EXPECT_FALSE(MWinButton::DoWeStillExist(&check));
    mwin->Shutdown();
    EXPECT_FALSE(MWinButton::DoWeStillExist(&check));
}

// ---------------------------------------------------------------------------------------------------------
// Controllers

TEST_F(MWinFixture, ControllerWindowSendsClicksToButtonCBAndClicksOnlyWhenHandled)
{
    RecordingController controller;
    window->SetController(&controller);
    MWinButton* b = window->AddButton("GO", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "GO", 100, 100, 80, 30);
    EXPECT_TRUE(b->IsClickable()) << "the controller counts as a callback";
    Click(120, 110);
    EXPECT_EQ(controller.calls, 1);
    EXPECT_EQ(controller.info_id, "GO");
    EXPECT_EQ(controller.last_button, b);
    EXPECT_EQ(log.sounds[MWIN_SOUND_FIRED], 1);

    controller.answer = 0;
    Click(120, 110);
    EXPECT_EQ(controller.calls, 2);
    EXPECT_EQ(log.sounds[MWIN_SOUND_FIRED], 1) << "ButtonCB answered false: no click";
    window->ClearController();
}

TEST_F(MWinFixture, ControllerWindowRefusesCheckedCallbacks)
{
    RecordingController controller;
    window->SetController(&controller);
    MWinButton* b = window->AddButton("GO", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "GO", 100, 100, 80, 30);
    int since = DebugGetMessageCount();
    EXPECT_EQ(b->SetCallback(&MWinFixture::Record, 0, 0, this, 1), 0);
    EXPECT_TRUE(LoggedSince(since, "Use controller"));
    EXPECT_EQ(b->SetPlainCallback([](void*) {}, nullptr), 0);
    EXPECT_EQ(b->SetCallback(&MWinFixture::Record, 0, 0, this, 0), 1) << "unchecked forms are accepted";
    window->ClearController();
}

// ---------------------------------------------------------------------------------------------------------
// Callback forms, fire arguments and registered variables

static int g_plain_calls = 0;

TEST_F(MWinFixture, EachCallbackFormReplacesTheOthers)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    b->SetPlainCallback([](void* user) { *static_cast<int*>(user) += 1; }, &g_plain_calls);
    EXPECT_TRUE(b->Fire(nullptr));
    EXPECT_EQ(g_plain_calls, 1);
    EXPECT_EQ(log.calls, 0) << "the user-data callback was replaced";
    b->SetCallback(static_cast<MWinButtonUserCB>(nullptr), 0, 0, nullptr, 1);
    EXPECT_FALSE(b->HasCallback());
    EXPECT_FALSE(b->IsClickable()) << "a push button without a callback is not clickable";
    EXPECT_FALSE(b->Fire(nullptr));
}

TEST_F(MWinFixture, FireArgumentZeroNeverOneAlwaysTwoOnlyOnChange)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    EXPECT_FALSE(b->FireIfAsked(MWIN_FIRE_NEVER, true));
    EXPECT_EQ(log.calls, 0);
    EXPECT_TRUE(b->FireIfAsked(MWIN_FIRE_ALWAYS, false));
    EXPECT_EQ(log.calls, 1);
    EXPECT_FALSE(b->FireIfAsked(MWIN_FIRE_IF_CHANGED, false));
    EXPECT_EQ(log.calls, 1);
    EXPECT_TRUE(b->FireIfAsked(MWIN_FIRE_IF_CHANGED, true));
    EXPECT_EQ(log.calls, 2);
}

TEST_F(MWinFixture, RegisteredVariablesMirrorTheValueWithTheirMultiplier)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    int percent = 0;
    ASSERT_EQ(b->RegisterIntVariable(&percent, 100.0f), 1);
    b->WriteRegisteredVariable(0.25);
    EXPECT_EQ(percent, 25);
    percent = 70;
    double back = 0.0;
    ASSERT_TRUE(b->ReadRegisteredVariable(&back));
    EXPECT_DOUBLE_EQ(back, 0.7);

    float f = 0.0f;
    b->RegisterFloatVariable(&f, 2.0f);
    b->WriteRegisteredVariable(1.5);
    EXPECT_FLOAT_EQ(f, 3.0f);

    char c = 0;
    b->RegisterCharVariable(&c);
    b->WriteRegisteredVariable(1.0);
    EXPECT_EQ(c, 1);

    int since = DebugGetMessageCount();
    EXPECT_EQ(b->RegisterIntVariable(&percent, 0.0f), 0);
    EXPECT_TRUE(LoggedSince(since, "ID: GO - 0 val passed as mult"));
    EXPECT_EQ(b->GetVariableKind(), MWIN_VAR_CHAR) << "a refused registration keeps the old one";

    b->RegisterIntVariable(nullptr, 1.0f);
    EXPECT_EQ(b->GetVariableKind(), MWIN_VAR_NONE);
    EXPECT_FALSE(b->ReadRegisteredVariable(&back));
}

// ---------------------------------------------------------------------------------------------------------
// Geometry

TEST_F(MWinFixture, NegativeSizeTakesTheLayoutDefaultAndZeroBecomesTwo)
{
    MWinButton* b = AddPush("A", 10, 10, -1, -1);
    EXPECT_EQ(b->GetAreaP()->w, 60);
    EXPECT_EQ(b->GetAreaP()->h, 20);
    MWinButton* z = AddPush("B", 10, 10, 0, 0);
    EXPECT_EQ(z->GetAreaP()->w, 2);
    EXPECT_EQ(z->GetAreaP()->h, 2);
}

TEST_F(MWinFixture, NegativePositionCentresInTheWindow)
{
    MWinWindow* small = AddWindow(collection, "SMALL", 100, 50, 300, 200);
    MWinButton* b = small->AddButton("C", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "C", -5, -1, 100, 40);
    EXPECT_EQ(b->GetAreaP()->x, 100);
    EXPECT_EQ(b->GetAreaP()->y, 80);
    EXPECT_EQ(b->GetScreenArea()->x, 200);
    EXPECT_EQ(b->GetScreenArea()->y, 130);
}

TEST_F(MWinFixture, SetEdgesKeepsTheValuesGivenAsMinus9999)
{
    MWinButton* b = AddPush("A", 10, 20, 30, 40);
    b->SetEdges(-9999, -9999, 100, -9999);
    EXPECT_EQ(b->GetAreaP()->x, 10);
    EXPECT_EQ(b->GetAreaP()->w, 90);
    EXPECT_EQ(b->GetAreaP()->h, 40);
    int l, t, r, bt;
    b->GetAreaRect(&l, &t, &r, &bt);
    EXPECT_EQ(r, 100);
    EXPECT_EQ(bt, 60);
}

TEST_F(MWinFixture, ScaledWindowMapsButtonsProportionally)
{
    float saved_x = eng_aspect_x;
    eng_aspect_x = 0.75f;
    MWinWindow* w = AddWindow(collection, "WIDE", 0, 0, 400, 200);
    MWinButton* b = w->AddButton("B", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "B", 100, 0, 200, 50);
    const _Dimension& win = w->GetScreenArea();
    EXPECT_FLOAT_EQ(win.w, 300.0f);
    EXPECT_FLOAT_EQ(b->GetScreenArea()->x, win.x + 75.0f);
    EXPECT_FLOAT_EQ(b->GetScreenArea()->w, 150.0f);
    eng_aspect_x = saved_x;
}

TEST_F(MWinFixture, VisibleAreaIsClippedToTheWindowAndOffScreenButtonsAreMarked)
{
    MWinWindow* w = AddWindow(collection, "BOX", 100, 100, 200, 100);
    MWinButton* half = w->AddButton("H", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "H", 150, 10, 100, 20);
    EXPECT_FLOAT_EQ(half->GetVisibleArea()->x, 250.0f);
    EXPECT_FLOAT_EQ(half->GetVisibleArea()->w, 47.0f) << "the window has a background: its edge is inset by 3";
    MWinWindow* bare = AddWindow(collection, "FULLWIDTH", 0, 300, 640, 100);
    MWinButton* wide = bare->AddButton("W", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "W", 600, 90, 100, 20);
    EXPECT_FLOAT_EQ(wide->GetVisibleArea()->w, 40.0f) << "a full-width window keeps its horizontal edge";
    EXPECT_FLOAT_EQ(wide->GetVisibleArea()->h, 7.0f) << "but is inset at the bottom";
    MWinButton* out = w->AddButton("O", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "O", 300, 10, 40, 20);
    EXPECT_EQ(out->GetVisibleArea()->w, 0.0f);
    EXPECT_EQ(out->GetVisibleArea()->h, 0.0f);
    MWinButton* gone = w->AddButton("G", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "G", 600, 10, 40, 20);
    EXPECT_FALSE(gone->IsOnScreen());
    EXPECT_TRUE(half->IsOnScreen());
}

// ---------------------------------------------------------------------------------------------------------
// States, texts and colours

TEST_F(MWinFixture, TextureStateOrderIsDisabledPressedHighlightedNormal)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    EXPECT_EQ(b->GetTextureState(), MWIN_TS_NORMAL);
    MoveTo(120, 110);
    EXPECT_EQ(b->GetTextureState(), MWIN_TS_HIGHLIGHTED);
    Press();
    EXPECT_EQ(b->GetTextureState(), MWIN_TS_PRESSED);
    b->Disable();
    EXPECT_EQ(b->GetTextureState(), MWIN_TS_DISABLED);
    EXPECT_FALSE(b->IsHighlighted()) << "disabling reset the highlight";
    b->Enable();
    EXPECT_TRUE(b->IsHighlighted()) << "enabling under the mouse re-evaluates hover";
}

TEST_F(MWinFixture, HideResetsTheStateAndShowOnlyShows)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    MoveTo(120, 110);
    Press();
    b->Hide();
    EXPECT_FALSE(b->IsShown());
    EXPECT_FALSE(b->IsHighlighted());
    EXPECT_FALSE(b->IsPressed());
    Release();
    EXPECT_EQ(log.calls, 0);
    b->Show();
    EXPECT_TRUE(b->IsShown());
    EXPECT_FALSE(b->IsHighlighted());
}

TEST_F(MWinFixture, SetTextFKeepsTheFirst510Characters)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    std::string long_text(600, 'q');
    b->SetTextF("%s", long_text.c_str());
    ASSERT_TRUE(b->HasText(0));
    EXPECT_EQ(std::string(b->GetTextP(0)), std::string(510, 'q'));
}

TEST_F(MWinFixture, LongTextIsKeptButReported)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    std::string long_text(600, 'z');
    int since = DebugGetMessageCount();
    b->SetText(long_text.c_str());
    EXPECT_TRUE(LoggedSince(since, "String too long"));
    EXPECT_EQ(std::string(b->GetTextP(0)).size(), 600u);
    b->SetText("");
    EXPECT_FALSE(b->HasText(0));
    EXPECT_EQ(b->GetTextP(0), nullptr);
    EXPECT_TRUE(LoggedSince(since, "No text present. Ensure call HasText() first."));
    EXPECT_FALSE(b->HasText(2));
    EXPECT_TRUE(LoggedSince(since, "Invalid text number 2"));
}

TEST_F(MWinFixture, NegativeColourComponentsKeepTheirValues)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    b->SetTextColour(0.2f, 0.4f, 0.6f, 1.0f);
    b->SetModulateColour(1, 1, 1, 0.5f);
    EXPECT_EQ(b->GetModulateMode(), 1);
    b->SetTextColour(-1, -1, -1, 0.5f);
    const float* c = b->GetTextColour();
    EXPECT_FLOAT_EQ(c[0], 0.2f);
    EXPECT_FLOAT_EQ(c[1], 0.4f);
    EXPECT_FLOAT_EQ(c[2], 0.6f);
    EXPECT_FLOAT_EQ(c[3], 0.5f);
    EXPECT_EQ(b->GetModulateMode(), 2) << "a text colour set after the modulation keeps the text unmodulated";
}

// Disabled text fades with the button's disabled face; a faceless label or check box keeps its own colour.
TEST_F(MWinFixture, DisabledTextFadesByTheAppearanceFactorWhereTheButtonHasAFace)
{
    _MWinSettings settings;
    mwin->GetSettings(&settings);
    settings.disabled_text_alpha = 0.5f;
    mwin->SetSettings(&settings);
    ASSERT_NE(nullptr, mwin->GetTextures()->AddTextureButton("Face", "", 0, 0, 1, 1, "", 0, 0, 1, 1, "", 0, 0, 1, 1,
                                                             "", 0, 0, 1, 1));
    struct Case {
        int kind;
        const char* texbut;
        float disabled_alpha;
    };
    const Case cases[] = {{MWIN_BUT_PUSH, "Face", 0.25f}, {MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, 0.5f},
                          {MWIN_BUT_CHECKBOX, MWIN_TEXBUT_NONE, 0.5f}};
    for (const Case& c : cases) {
        const std::string id = "GO" + std::to_string(&c - cases);
        SCOPED_TRACE(id);
        MWinButton* b = window->AddButton(id.c_str(), c.kind, c.texbut, "GO", 100, 100, 80, 30);
        ASSERT_NE(nullptr, b);
        b->SetModulateColour(1, 1, 1, 0.5f);
        float rgba[4];
        b->GetDrawTextColour(rgba);
        EXPECT_FLOAT_EQ(rgba[3], 0.5f);
        b->Disable();
        b->GetDrawTextColour(rgba);
        EXPECT_FLOAT_EQ(rgba[3], c.disabled_alpha);
    }
}

TEST_F(MWinFixture, FontIdsResolveToNumbersAndUnknownFontsFallBack)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    EXPECT_EQ(b->GetFontNum(), MWIN_FONT_NUM_DEFAULT);
    b->SetFont(MWIN_FONT_NONE);
    EXPECT_EQ(b->GetFontNum(), MWIN_FONT_NUM_NONE);
    EXPECT_EQ(b->GetFont(), nullptr);
    int since = DebugGetMessageCount();
    EXPECT_EQ(b->SetFont("Missing"), 0);
    EXPECT_TRUE(LoggedSince(since, "User font <Missing> not found"));
    EXPECT_EQ(b->GetFontNum(), MWIN_FONT_NUM_DEFAULT);
    b->SetFont("");
    EXPECT_TRUE(LoggedSince(since, "Font id is empty"));
}

TEST_F(MWinFixture, CustomTextureFileThatCannotLoadFallsBackToTheTextureButton)
{
    MWinButton* b = AddPush("GO", 100, 100, 80, 30);
    ASSERT_EQ(b->SetCustomTextureStateFile(0, "Data/NoSuchPicture.png", 1, 0), 1);
    int since = DebugGetMessageCount();
    EXPECT_EQ(b->SetCustomTextureState(0, nullptr, 0, 0, 0, 1, 1, 1, 1, 1, 1), 0);
    EXPECT_FALSE(b->HasCustomTextureStates());
    EXPECT_TRUE(LoggedSince(since, "Could not load custom texture state 0 <Data/NoSuchPicture.png>"));
    std::string too_long(300, 'f');
    EXPECT_EQ(b->SetCustomTextureStateFile(1, too_long.c_str(), 0, 0), 0);
}

TEST_F(MWinFixture, LabelsAndInertButtonsAreNeverClickable)
{
    MWinButton* label = window->AddButton("L", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "L", 10, 10, 50, 20);
    MWinButton* inert = window->AddButton("I", MWIN_BUT_INERT, MWIN_TEXBUT_NONE, "I", 10, 40, 50, 20);
    label->SetCallback(&MWinFixture::Record, 0, 0, this, 1);
    EXPECT_FALSE(label->IsClickable());
    EXPECT_FALSE(inert->IsClickable());
    Click(20, 15);
    EXPECT_EQ(log.calls, 0) << "a label never fires";
}

TEST_F(MWinFixture, ValueBarThumbStaysAtTheTrackStartForAnEmptyRange)
{
    MWinButton* bar = window->AddButton("V", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "", 100, 10, 200, 20);
    EXPECT_EQ(bar->GetHorzValueBarValue(), -1.0) << "other kinds have no value";
    MWinButton* b = new MWinButton(mwin, "BAR", window->GetFirstGroup(), MWIN_BUT_HORZSCROLLBAR, MWIN_TEXBUT_NONE,
                                   "", 100, 40, 200, 20);
    window->GetFirstGroup()->AppendButton(b);
    b->SetHorzValueBar(5.0, 5.0, 5.0, 0);
    float start = b->GetScreenArea()->x + mwin->GetLayoutSettings(0)->f[MWIN_LF_VALUE_BAR_INSET];
    EXPECT_FLOAT_EQ(b->GetHorzValueBarThumbX(), start);
    b->SetHorzValueBar(10.0, 0.0, 10.0, 1);
    float end = b->GetHorzValueBarThumbX();
    b->SetHorzValueBar(10.0, 0.0, 10.0, 0);
    EXPECT_FLOAT_EQ(b->GetHorzValueBarThumbX(), end) << "both scales reach the track's end at the maximum";
    EXPECT_DOUBLE_EQ(b->GetHorzValueBarValue(), 10.0);
}

// ---------------------------------------------------------------------------------------------------------
// Text edits reached through the common handlers

TEST_F(MWinFixture, ClickOnTextEditStartsEditingAndResetStateEndsIt)
{
    MWinButton* field = window->AddButton("NAME", MWIN_BUT_TEXTEDIT, MWIN_TEXBUT_NONE, "Ann", 100, 100, 200, 30);
    ASSERT_NE(field, nullptr);
    EXPECT_FALSE(mwin->IsAnyTextEditEditing());
    Click(150, 110);
    EXPECT_TRUE(field->TextEditIsEditing());
    EXPECT_TRUE(mwin->IsAnyTextEditEditing());
    EXPECT_EQ(field->IsCapturingInput(), 1);
    field->ResetState();
    EXPECT_FALSE(field->TextEditIsEditing());
    EXPECT_FALSE(mwin->IsAnyTextEditEditing());
}

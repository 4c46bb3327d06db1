// The on-screen keyboard drawn into a real context: its keys, their capitals and the typed text.
#include <gtest/gtest.h>

#include "Engine/Core/EngProgram.h"
#include "Engine/MWin/MWinTextEdit.h"
#include "Engine/MWin/MWinTextEntry.h"
#include "MWinWidgetFixture.h"

namespace {

class TextEntryPixels : public WidgetPixels {
protected:
    void SetUp() override
    {
        WidgetPixels::SetUp();
        // A white background picture, so the keyboard stands on a plain page above the dimmed screen.
        AddColour("Back1", 255, 255, 255);
        ASSERT_EQ(mwin->CreateGraphicsObjects(), 1);
        // The caret's fade starts at zero: the text line shows only the text.
        eng_time = 0.0;
    }
    void TearDown() override
    {
        mwin->PopupCloseIfOn();
        WidgetPixels::TearDown();
    }
    const _Dimension* AreaOf(const char* id)
    {
        MWinWindow* w = mwin->GetWindowFromIDs(MWIN_KEYINPUT_COLLECTION_ID, MWIN_KEYINPUT_WINDOW_ID, false);
        MWinButton* b = w ? w->GetButtonFromID(id, 0) : nullptr;
        return b ? b->GetScreenArea() : nullptr;
    }
    int Dark(const _Dimension* a) { return DarkPixels(a->x, a->y, a->w, a->h); }
    int DarkTopHalf(const _Dimension* a) { return DarkPixels(a->x, a->y, a->w, a->h / 2); }
    void Type(int key) { MWinPopupGetTextKeyCB_Mobile(mwin, nullptr, key, 0); }

    char buffer[32] = "";
};

} // namespace

TEST_F(TextEntryPixels, KeysShowTheirLettersAndTheTypedTextAppears)
{
    mwin->PopupSetTextEntrySettings(MWIN_TEXTEDIT_ANY, 0, 0);
    ASSERT_TRUE(mwin->PopupOpenTextEntry("Your name", nullptr, buffer, int(sizeof(buffer)), nullptr, nullptr));
    DrawFrame();
    const _Dimension* text = AreaOf("Text");
    const _Dimension* key_m = AreaOf("KEY_M");
    const _Dimension* space = AreaOf("KEY_ ");
    const _Dimension* title = AreaOf("Title");
    ASSERT_TRUE(text && key_m && space && title);
    EXPECT_EQ(Dark(text), 0) << "nothing typed yet";
    EXPECT_GT(Dark(key_m), 10) << "the key's letter";
    int small_m_top = DarkTopHalf(key_m);
    EXPECT_GT(Dark(space), Dark(key_m)) << "\"Space\" is a longer word than \"m\"";
    EXPECT_GT(Dark(title), 20) << "the title";
    EXPECT_GT(space->w, 3 * key_m->w) << "the space key spans four keys";

    Type(MWIN_KEYINPUT_SHIFT);
    DrawFrame();
    EXPECT_GT(DarkTopHalf(key_m), small_m_top) << "a capital M stands taller than a small one";

    Type('H');
    Type('I');
    DrawFrame();
    EXPECT_GT(Dark(text), 20) << "the typed text";
    int typed = Dark(text);
    eng_time = 0.2;
    DrawFrame();
    EXPECT_GT(Dark(text), typed) << "the caret, fully faded in, adds its stroke";
    eng_time = 0.0;
    Type(MWIN_KEYINPUT_DELETE);
    Type(MWIN_KEYINPUT_DELETE);
    DrawFrame();
    EXPECT_LT(Dark(text), typed);
    EXPECT_EQ(Dark(text), 0);
}

TEST_F(TextEntryPixels, ThePasswordShowsStarsAndTheNumberPadHasTwelveKeysOrLess)
{
    mwin->PopupSetTextEntrySettings(MWIN_TEXTEDIT_DIGITS_AND_POINTS, 1, 0);
    ASSERT_TRUE(mwin->PopupOpenTextEntry("PIN", "Digits", buffer, int(sizeof(buffer)), nullptr, nullptr));
    const _Dimension* one = AreaOf("KEY_1");
    const _Dimension* three = AreaOf("KEY_3");
    ASSERT_TRUE(one && three);
    EXPECT_GT(one->w, 150.0f) << "three keys share a row";
    Type('1');
    Type('2');
    DrawFrame();
    EXPECT_GT(Dark(AreaOf("Text")), 5);
    EXPECT_STREQ(MWinTextEntryGetText(), "12");
    const char* shown = nullptr;
    MWinWindow* w = mwin->GetWindowFromIDs(MWIN_KEYINPUT_COLLECTION_ID, MWIN_KEYINPUT_WINDOW_ID, false);
    shown = w->GetButtonFromID("Text", 0)->GetTextP(0);
    EXPECT_STREQ(shown, "**");
}

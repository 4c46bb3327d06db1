// The full-screen text entry typed on its on-screen keyboard with clicks, as a player's taps arrive.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinTextEdit.h"
#include "Engine/MWin/MWinTextEntry.h"
#include "MWinButtonFixture.h"

namespace {

class TextEntryTest : public MWinFixture {
protected:
    static void OnResult(MWin*, char result, void* user)
    {
        auto* self = static_cast<TextEntryTest*>(user);
        self->results++;
        self->last_result = result;
        self->text_at_result = self->buffer;
    }

    bool Open(int type, char password, char auto_capitals, const char* title = "Name", const char* prompt = "Type")
    {
        mwin->PopupSetTextEntrySettings(type, password, auto_capitals);
        return mwin->PopupOpenTextEntry(title, prompt, buffer, int(sizeof(buffer)), OnResult, this) != 0;
    }

    MWinWindow* EntryWindow() { return mwin->GetWindowFromIDs(MWIN_KEYINPUT_COLLECTION_ID, MWIN_KEYINPUT_WINDOW_ID, false); }
    MWinButton* Button(const char* id)
    {
        MWinWindow* w = EntryWindow();
        return w ? w->GetButtonFromID(id, 0) : nullptr;
    }
    // Taps a button of the entry in its middle.
    void Tap(const char* id)
    {
        MWinButton* b = Button(id);
        ASSERT_NE(b, nullptr) << id;
        const _Dimension* a = b->GetScreenArea();
        Click(a->x + a->w / 2, a->y + a->h / 2);
    }
    void TapKey(char c)
    {
        char id[8];
        std::snprintf(id, sizeof(id), "KEY_%c", c);
        Tap(id);
    }
    std::string Shown() { return Button("Text") ? Button("Text")->GetTextP(0) : ""; }

    char buffer[12] = "keep";
    int results = 0;
    int last_result = -1;
    std::string text_at_result;
};

} // namespace

TEST_F(TextEntryTest, TypingDeletingAndShiftingBuildTheText)
{
    buffer[0] = 0;
    ASSERT_TRUE(Open(MWIN_TEXTEDIT_ANY, 0, 0));
    ASSERT_NE(EntryWindow(), nullptr);
    EXPECT_STREQ(Button("KEY_Q")->GetTextP(0), "q") << "capitals start off without auto-capitals";
    TapKey('H');
    TapKey('I');
    EXPECT_STREQ(MWinTextEntryGetText(), "hi");
    Tap("Shift");
    EXPECT_TRUE(MWinTextEntryCapitalsOn());
    EXPECT_STREQ(Button("KEY_A")->GetTextP(0), "A");
    EXPECT_FLOAT_EQ(Button("Shift")->GetModulateColour()[0], 0.498f);
    TapKey('A');
    EXPECT_FALSE(MWinTextEntryCapitalsOn()) << "a typed letter ends the capitals";
    TapKey(' ');
    TapKey('1');
    TapKey('?');
    EXPECT_STREQ(MWinTextEntryGetText(), "hiA 1?");
    EXPECT_EQ(Shown(), "hiA 1?");
    Tap("Del");
    Tap("Del");
    EXPECT_STREQ(MWinTextEntryGetText(), "hiA ");
    EXPECT_FLOAT_EQ(Button("Shift")->GetModulateColour()[0], 0.8f);
    EXPECT_STREQ(buffer, "") << "nothing reaches the caller before OK";
}

TEST_F(TextEntryTest, AutoCapitalsStartSentences)
{
    buffer[0] = 0;
    ASSERT_TRUE(Open(MWIN_TEXTEDIT_ANY, 0, 1));
    EXPECT_TRUE(MWinTextEntryCapitalsOn());
    TapKey('G');
    TapKey('O');
    TapKey('.');
    TapKey('N');
    TapKey('O');
    EXPECT_STREQ(MWinTextEntryGetText(), "Go.No");
    Tap("Del");
    Tap("Del");
    EXPECT_TRUE(MWinTextEntryCapitalsOn()) << "deleting back to a point turns capitals on again";
}

TEST_F(TextEntryTest, OkHandsTheTextOverAndCancelLeavesTheCallersTextAlone)
{
    ASSERT_TRUE(Open(MWIN_TEXTEDIT_ANY, 0, 0));
    EXPECT_STREQ(MWinTextEntryGetText(), "keep") << "the entry starts from the caller's text";
    TapKey('S');
    Key(ENG_VK_ESCAPE);
    Frame();
    EXPECT_EQ(results, 1);
    EXPECT_EQ(last_result, 0);
    EXPECT_STREQ(buffer, "keep");
    EXPECT_FALSE(MWinTextEntryIsOpen());
    EXPECT_EQ(mwin->GetCollectionFromID(MWIN_KEYINPUT_COLLECTION_ID, false), nullptr);
    EXPECT_FALSE(mwin->IsPopupOn());

    ASSERT_TRUE(Open(MWIN_TEXTEDIT_ANY, 0, 0));
    TapKey('S');
    Tap("Done");
    EXPECT_EQ(results, 2);
    EXPECT_EQ(last_result, 1);
    EXPECT_EQ(text_at_result, "keeps") << "the caller sees the text when told";
    Frame();
    EXPECT_EQ(mwin->GetCollectionFromID(MWIN_KEYINPUT_COLLECTION_ID, false), nullptr);

    ASSERT_TRUE(Open(MWIN_TEXTEDIT_ANY, 0, 0));
    TapKey('X');
    Key(ENG_VK_RETURN);
    Frame();
    EXPECT_EQ(last_result, 1) << "Enter answers like OK on the next frame";
    EXPECT_STREQ(buffer, "keepsx");

    ASSERT_TRUE(Open(MWIN_TEXTEDIT_ANY, 0, 0));
    TapKey('Z');
    mwin->PopupCloseIfOn();
    EXPECT_STREQ(buffer, "keepsx") << "closing the popup from outside cancels";
    EXPECT_FALSE(MWinTextEntryIsOpen());
}

TEST_F(TextEntryTest, TheTextNeverGrowsPastTheCallersBuffer)
{
    char small[4] = "ab";
    mwin->PopupSetTextEntrySettings(MWIN_TEXTEDIT_ANY, 0, 0);
    ASSERT_TRUE(mwin->PopupOpenTextEntry("T", "P", small, int(sizeof(small)), OnResult, this));
    for (char c : std::string("QWERTY"))
        TapKey(c);
    EXPECT_STREQ(MWinTextEntryGetText(), "abq");
    MWinPopupGetTextKeyCB_Mobile(mwin, nullptr, 7, 0);
    MWinPopupGetTextKeyCB_Mobile(mwin, nullptr, 127, 0);
    Tap("Del");
    MWinPopupGetTextKeyCB_Mobile(mwin, nullptr, 9, 0);
    EXPECT_STREQ(MWinTextEntryGetText(), "ab") << "control characters are never typed";
    TapKey('C');
    Tap("Done");
    EXPECT_STREQ(small, "abc");
}

TEST_F(TextEntryTest, PasswordsShowStarsAndNumberPadsFollowTheNumberRules)
{
    buffer[0] = 0;
    ASSERT_TRUE(Open(MWIN_TEXTEDIT_ANY, 1, 0));
    TapKey('P');
    TapKey('W');
    EXPECT_EQ(Shown(), "**");
    EXPECT_STREQ(MWinTextEntryGetText(), "pw");
    mwin->PopupCloseIfOn();

    ASSERT_TRUE(Open(MWIN_TEXTEDIT_SIGNED_DECIMAL, 0, 0));
    EXPECT_EQ(Button("KEY_Q"), nullptr) << "a number pad has no letters";
    ASSERT_NE(Button("KEY_-"), nullptr);
    TapKey('-');
    TapKey('1');
    TapKey('-');
    TapKey('.');
    TapKey('5');
    TapKey('.');
    EXPECT_STREQ(MWinTextEntryGetText(), "-1.5");
    mwin->PopupCloseIfOn();

    ASSERT_TRUE(Open(MWIN_TEXTEDIT_DIGITS_AND_POINTS, 0, 0));
    EXPECT_EQ(Button("KEY_-"), nullptr) << "no minus key for digits and points";
    mwin->PopupCloseIfOn();

    ASSERT_TRUE(Open(MWIN_TEXTEDIT_NO_BLANKS, 0, 1));
    EXPECT_NE(Button("KEY_@"), nullptr);
    EXPECT_EQ(Button("KEY_ "), nullptr) << "no space key when blanks are refused";
    mwin->PopupCloseIfOn();
}

TEST_F(TextEntryTest, RefusedOpeningsLeaveNoCollectionBehind)
{
    int since = DebugGetMessageCount();
    EXPECT_FALSE(Open(7, 0, 0));
    EXPECT_TRUE(LoggedSince(since, "Bad row type"));
    EXPECT_EQ(mwin->GetCollectionFromID(MWIN_KEYINPUT_COLLECTION_ID, false), nullptr);
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_FALSE(mwin->PopupOpenTextEntry("T", "P", nullptr, 8, OnResult, this));
    EXPECT_FALSE(mwin->PopupOpenTextEntry("T", "P", buffer, 0, OnResult, this));
    EXPECT_FALSE(mwin->PopupGetText_Mobile("T", "P", buffer, 8, OnResult, this));
    EXPECT_TRUE(LoggedSince(since, "Not mobile."));
    MWinPopupGetTextKeyCB_Mobile(mwin, nullptr, 'A', 0);
    EXPECT_STREQ(buffer, "keep");

    ASSERT_TRUE(Open(MWIN_TEXTEDIT_ANY, 0, 0, nullptr, nullptr));
    EXPECT_FALSE(Button("Title")->IsShown());
    EXPECT_FALSE(Button("Message")->IsShown());
    float y = 0;
    Button("Text")->GetArea(nullptr, &y, nullptr, nullptr);
    EXPECT_LT(y, 20.0f) << "the text takes the space of the missing title and prompt";
    EXPECT_FALSE(Open(MWIN_TEXTEDIT_ANY, 0, 0)) << "one entry at a time";
    EXPECT_TRUE(MWinTextEntryIsOpen());
    mwin->PopupCloseIfOn();
}

TEST_F(TextEntryTest, AnOpenEntryClosesWithTheToolkit)
{
    ASSERT_TRUE(Open(MWIN_TEXTEDIT_ANY, 0, 0));
    TapKey('Q');
    mwin->Shutdown();
    EXPECT_FALSE(MWinTextEntryIsOpen());
    EXPECT_STREQ(buffer, "keep");
}

TEST_F(TextEntryTest, AFieldEditedOnTheKeyboardGetsTheTextOnlyOnOk)
{
    char bound[8] = "ab";
    MWinButton* field = window->AddButton("FIELD", MWIN_BUT_TEXTEDIT, MWIN_TEXBUT_NONE, "", 20, 20, 200, 30);
    ASSERT_NE(field, nullptr);
    field->TextEditRegisterTextVariable(bound, int(sizeof(bound)));
    field->SetCallback(&MWinFixture::Record, 0, 0, this, 0);
    ASSERT_TRUE(MWinTextEntryOpenForField(field));
    EXPECT_EQ(field->GetTextEditData()->edit_state, 2);
    EXPECT_STREQ(MWinTextEntryGetText(), "ab");
    TapKey('C');
    Key(ENG_VK_ESCAPE);
    Frame();
    EXPECT_STREQ(bound, "ab");
    EXPECT_EQ(log.calls, 0);
    EXPECT_EQ(field->GetTextEditData()->edit_state, 0);

    ASSERT_TRUE(MWinTextEntryOpenForField(field));
    for (char c : std::string("CDEFGHIJ"))
        TapKey(c);
    Tap("Done");
    EXPECT_STREQ(bound, "abcdefg") << "the field's own bound keeps the text within its buffer";
    EXPECT_STREQ(field->GetTextP(0), "abcdefg");
    EXPECT_EQ(log.calls, 1);

    ASSERT_TRUE(MWinTextEntryOpenForField(field));
    window->RemoveAllButtons();
    Tap("Done");
    EXPECT_EQ(log.calls, 1) << "a field removed meanwhile is not touched";
    EXPECT_FALSE(MWinTextEntryOpenForField(nullptr));
}

// Text edit fields: typing under the input-type rules, the caret keys, Enter and Escape, the bound text,
// clipboard paste and copy (UTF-8 on the clipboard, Windows-1252 in the field) and the caret blink.

#include "Engine/MWin/MWinButtonFixture.h"

#include "Engine/Core/EngProgram.h"
#include "Engine/MWin/MWinTextEdit.h"

#include <SDL.h>

#include <cstring>
#include <vector>

class MWinTextEditTest : public MWinFixture
{
protected:
    void SetUp() override
    {
        MWinFixture::SetUp();
        field = window->AddButton("NAME", MWIN_BUT_TEXTEDIT, MWIN_TEXBUT_NONE, "", 100, 100, 200, 30);
        field->SetCallback(&MWinTextEditTest::Ended, 0, 0, this, 1);
    }
    void TearDown() override
    {
        MWinFixture::TearDown();
        if (sdl_video)
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    static void Ended(MWin*, _MWinButtonCallbackInfo* info, int, int, void* user)
    {
        static_cast<MWinTextEditTest*>(user)->reports.push_back(info ? info->kind.textedit_enter : -1);
    }

    // The edit's end switches screens: the field, its window and collection go.
    static void RemoveScreen(MWin* m, _MWinButtonCallbackInfo*, int, int, void* user)
    {
        auto* self = static_cast<MWinTextEditTest*>(user);
        m->GetDesktop()->RemoveCollection("SCREEN");
        self->collection = nullptr;
        self->window = nullptr;
        self->field = nullptr;
    }

    bool StartClipboard()
    {
        sdl_video = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        return sdl_video;
    }
    void Type(const char* text)
    {
        for (const char* p = text; *p; p++)
            Char((unsigned char)*p);
    }
    char Char(unsigned char ch)
    {
        return mwin->HandleInputEvent(int(_EngInputEventType::Character), ch, 0);
    }
    void StartEditing()
    {
        Click(150, 110);
        ASSERT_TRUE(field->TextEditIsEditing());
    }
    std::string Shown() { return field->HasText(0) ? field->GetTextP(0) : ""; }
    _MWinTextEditData* Data() { return field->GetTextEditData(); }

    MWinButton* field = nullptr;
    std::vector<int> reports;
    bool sdl_video = false;
};

TEST_F(MWinTextEditTest, TypingShowsTheTextAndRefusesHashAndDollar)
{
    StartEditing();
    Type("a#b$c");
    EXPECT_EQ(Shown(), "abc");
    EXPECT_EQ(Data()->caret, 3);
    EXPECT_EQ(Char(8), 0) << "Backspace never arrives as a typed character";
    EXPECT_EQ(Shown(), "abc");
}

TEST_F(MWinTextEditTest, EnterStartsEditingAndASecondEnterEndsItWithTheEnterFlag)
{
    MoveTo(150, 110);
    EXPECT_EQ(Key(ENG_VK_RETURN), 1);
    ASSERT_TRUE(field->TextEditIsEditing());
    Type("hi");
    Key(ENG_VK_RETURN);
    EXPECT_FALSE(field->TextEditIsEditing());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], MWIN_TEXTEDIT_ENDED_WITH_ENTER);
    EXPECT_EQ(Shown(), "hi");
}

TEST_F(MWinTextEditTest, CaretKeysMoveAndDeleteWithinTheText)
{
    StartEditing();
    Type("abcd");
    Key(ENG_VK_HOME);
    Key(ENG_VK_DELETE);
    EXPECT_EQ(Shown(), "bcd");
    Key(ENG_VK_END);
    Key(ENG_VK_BACK);
    EXPECT_EQ(Shown(), "bc");
    Key(ENG_VK_LEFT);
    Type("X");
    EXPECT_EQ(Shown(), "bXc");
    Key(ENG_VK_HOME);
    Key(ENG_VK_BACK);
    Key(ENG_VK_LEFT);
    EXPECT_EQ(Data()->caret, 0) << "the caret stays at the start";
    Key(ENG_VK_END);
    Key(ENG_VK_DELETE);
    Key(ENG_VK_RIGHT);
    EXPECT_EQ(Data()->caret, 3) << "and at the end";
    EXPECT_EQ(Shown(), "bXc");
    EXPECT_EQ(Key(ENG_VK_UP), 1) << "Up is swallowed";
}

TEST_F(MWinTextEditTest, SignedDecimalInputTakesOneSignFirstAndOnePoint)
{
    Data()->input_type = MWIN_TEXTEDIT_SIGNED_DECIMAL;
    StartEditing();
    Type("-1.5.2-x");
    EXPECT_EQ(Shown(), "-1.52");
    EXPECT_EQ(field->TextEditGetNumber(), -1);
}

TEST_F(MWinTextEditTest, DigitsAndPointsInputAllowsAtMostThreeDigitsInARow)
{
    Data()->input_type = MWIN_TEXTEDIT_DIGITS_AND_POINTS;
    StartEditing();
    Type(".1234..5678a");
    EXPECT_EQ(Shown(), "123.567");
}

TEST_F(MWinTextEditTest, NoBlanksInputRefusesBlanks)
{
    Data()->input_type = MWIN_TEXTEDIT_NO_BLANKS;
    StartEditing();
    Type("a b\tc");
    EXPECT_EQ(Shown(), "abc");
}

TEST_F(MWinTextEditTest, LengthIsCappedAndAFullFieldTakesNoMore)
{
    int since = DebugGetMessageCount();
    field->TextEditSetLength(600);
    EXPECT_TRUE(LoggedSince(since, "Length too long: 600"));
    EXPECT_EQ(Data()->max_length, MWIN_TEXTEDIT_MAX_LENGTH);
    field->TextEditSetLength(3);
    StartEditing();
    Type("abcdef");
    EXPECT_EQ(Shown(), "abc");
}

TEST_F(MWinTextEditTest, ATextOfTheMaximumLengthIsKeptWhenEditingStarts)
{
    char name[6] = "abcde";
    field->TextEditRegisterTextVariable(name, sizeof(name));
    EXPECT_EQ(Data()->max_length, 5);
    EXPECT_EQ(Shown(), "abcde");
    StartEditing();
    EXPECT_STREQ(Data()->buffer, "abcde");
    Key(ENG_VK_RETURN);
    EXPECT_STREQ(name, "abcde");
    EXPECT_EQ(Shown(), "abcde");
}

TEST_F(MWinTextEditTest, EscapeBringsBackTheTextAsItWas)
{
    char name[16] = "keep";
    field->TextEditRegisterTextVariable(name, sizeof(name));
    StartEditing();
    Key(ENG_VK_BACK);
    Type("xyz");
    EXPECT_EQ(Shown(), "keexyz");
    Key(ENG_VK_ESCAPE);
    EXPECT_FALSE(field->TextEditIsEditing());
    EXPECT_EQ(Shown(), "keep");
    EXPECT_STREQ(name, "keep");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], MWIN_TEXTEDIT_ENDED);

    name[0] = 0;
    field->TextEditSetText("");
    StartEditing();
    Type("new");
    Key(ENG_VK_ESCAPE);
    EXPECT_EQ(Shown(), "") << "an empty text comes back empty";
    EXPECT_STREQ(name, "");
}

TEST_F(MWinTextEditTest, ClickingElsewhereEndsEditingAndKeepsTheText)
{
    char name[16] = "";
    field->TextEditRegisterTextVariable(name, sizeof(name));
    StartEditing();
    Type("new");
    Click(500, 400);
    EXPECT_FALSE(field->TextEditIsEditing());
    EXPECT_STREQ(name, "new");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], MWIN_TEXTEDIT_ENDED);
}

TEST_F(MWinTextEditTest, AnUnterminatedBoundBufferIsReadNoFurtherThanItsSize)
{
    char guarded[12];
    std::memset(guarded, 'Z', sizeof(guarded));
    field->TextEditRegisterTextVariable(guarded, 4);
    EXPECT_EQ(Shown(), "ZZZ");
    StartEditing();
    Type("QQQQ");
    Key(ENG_VK_RETURN);
    EXPECT_EQ(guarded[3], 0) << "the text is terminated inside the buffer";
    for (int i = 4; i < 12; i++)
        EXPECT_EQ(guarded[i], 'Z') << "nothing is written past the buffer, byte " << i;

    // A longer length set after binding still stops at the buffer's end.
    field->TextEditSetLength(20);
    StartEditing();
    Type("QQQQQQQQ");
    Key(ENG_VK_RETURN);
    EXPECT_STREQ(guarded, "ZZZ");
    for (int i = 4; i < 12; i++)
        EXPECT_EQ(guarded[i], 'Z') << "byte " << i;
}

TEST_F(MWinTextEditTest, PasteReadsOnlyWhatFitsAfterTheCaret)
{
    ASSERT_TRUE(StartClipboard()) << SDL_GetError();
    ASSERT_EQ(SDL_SetClipboardText("abcdefgh"), 0) << SDL_GetError();
    field->TextEditSetLength(5);
    field->TextEditSetText("ab");
    StartEditing();
    EXPECT_EQ(Char(22), 1);
    EXPECT_EQ(Shown(), "ababc");
    EXPECT_EQ(Char(22), 1) << "a full field pastes nothing";
    EXPECT_EQ(Shown(), "ababc");
}

TEST_F(MWinTextEditTest, PasteKeepsOutLineBreaksAndConvertsToTheCodePage)
{
    ASSERT_TRUE(StartClipboard()) << SDL_GetError();
    ASSERT_EQ(SDL_SetClipboardText("x\ny\r\nz\t\xC3\xA9#"), 0);
    char name[32] = "";
    field->TextEditRegisterTextVariable(name, sizeof(name));
    StartEditing();
    EngKeyStateTableSet(ENG_VK_CONTROL, true);
    EXPECT_EQ(Char('v'), 1);
    EXPECT_FALSE(EngKeyStateTableIsDown(ENG_VK_CONTROL)) << "paste consumes the Ctrl key";
    EXPECT_EQ(Shown(), "xyz\xE9");
    Key(ENG_VK_RETURN);
    EXPECT_STREQ(name, "xyz\xE9");
}

TEST_F(MWinTextEditTest, CopyPutsTheFieldOnTheClipboardAsUtf8)
{
    ASSERT_TRUE(StartClipboard()) << SDL_GetError();
    StartEditing();
    Type("caf\xE9");
    EXPECT_EQ(Char(3), 1);
    char* text = SDL_GetClipboardText();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "caf\xC3\xA9");
    SDL_free(text);
}

TEST_F(MWinTextEditTest, ReportEachChangeFiresWhileTyping)
{
    Data()->report_each_change = 1;
    StartEditing();
    Type("ab");
    Key(ENG_VK_BACK);
    std::vector<int> expected = {MWIN_TEXTEDIT_CHANGED, MWIN_TEXTEDIT_CHANGED, MWIN_TEXTEDIT_CHANGED};
    EXPECT_EQ(reports, expected);
}

TEST_F(MWinTextEditTest, TheCaretBlinksEveryThreeTenthsOfASecond)
{
    StartEditing();
    EngUInt8 first = Data()->caret_visible;
    EXPECT_EQ(field->Tick(), 1) << "an editing field reports a change every frame";
    EXPECT_EQ(Data()->caret_visible, first);
    eng_time += 0.31;
    field->Tick();
    EXPECT_NE(Data()->caret_visible, first);
    eng_time += 0.31;
    field->Tick();
    EXPECT_EQ(Data()->caret_visible, first);
    Key(ENG_VK_RETURN);
    EXPECT_EQ(Data()->caret_visible, 0) << "the caret hides when editing stops";
    EXPECT_EQ(field->Tick(), 0);
}

TEST_F(MWinTextEditTest, NumbersAreWrittenIntoABoundIntOnEnd)
{
    int value = 0;
    field->RegisterIntVariable(&value, 1);
    StartEditing();
    Type("42");
    Key(ENG_VK_RETURN);
    EXPECT_EQ(value, 42);
}

TEST_F(MWinTextEditTest, TheEditBufferFollowsALengthOrABoundBufferChangedWhileEditing)
{
    field->TextEditSetLength(4);
    StartEditing();
    Type("abcd");
    field->TextEditSetLength(300);
    std::string long_text(290, 'x');
    Type(long_text.c_str());
    EXPECT_EQ(Shown(), "abcd" + long_text) << "a raised length gives room for what is typed after it";

    char bigger[400] = "12345";
    field->TextEditRegisterTextVariable(bigger, sizeof(bigger));
    ASSERT_TRUE(field->TextEditIsEditing());
    Type(std::string(400, 'y').c_str());
    EXPECT_EQ(int(Shown().size()), 399);
    field->TextEditSetLength(3);
    EXPECT_EQ(Shown(), "123") << "a lowered length cuts the text being typed";
    EXPECT_LE(Data()->caret, 3);
    Key(ENG_VK_RETURN);
    EXPECT_STREQ(bigger, "123");
}

TEST_F(MWinTextEditTest, ADisabledFieldTakesNoKeys)
{
    MoveTo(150, 110);
    ASSERT_TRUE(field->IsHighlighted());
    field->Disable();
    field->SetHighlight(); // still under the mouse
    EXPECT_EQ(Key(ENG_VK_RETURN), 0);
    EXPECT_FALSE(field->TextEditIsEditing()) << "Enter starts no edit";
    EXPECT_EQ(Char('a'), 0);
}

// Disable or Hide on a field being edited ends the edit, and its callback may switch screens.
TEST_F(MWinTextEditTest, DisablingOrHidingAFieldWhoseEditEndSwitchesScreensIsSafe)
{
    for (bool hide : {false, true}) {
        SCOPED_TRACE(hide ? "Hide" : "Disable");
        if (!collection) {
            collection = mwin->GetDesktop()->AddCollection("SCREEN");
            window = AddWindow(collection, "MAIN", 0, 0, 640, 480);
            field = window->AddButton("NAME", MWIN_BUT_TEXTEDIT, MWIN_TEXBUT_NONE, "", 100, 100, 200, 30);
        }
        field->SetCallback(&MWinTextEditTest::RemoveScreen, 0, 0, this, 1);
        StartEditing();
        if (hide)
            field->Hide();
        else
            field->Disable();
        EXPECT_EQ(mwin->GetCollectionFromID("SCREEN", false), nullptr);
        EXPECT_EQ(MWinButton::GetNumButtons(), 0);
    }
}

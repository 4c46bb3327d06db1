// Popups: opening over a screen, answering by button, Enter and Escape, closing before the result callback,
// the text popup's field, the auto-close time, the box sizes, and failures that leave the screen as it was.

#include "Engine/MWin/MWinButtonFixture.h"

#include "Engine/Core/EngProgram.h"
#include "Engine/MWin/MWinPopup.h"

#include <string>
#include <vector>

namespace {

struct Answers
{
    std::vector<int> results;
    bool popup_was_on = false;
    MWin* reopen_on = nullptr;
};

void Answered(MWin* mwin, char result, void* user)
{
    Answers* a = static_cast<Answers*>(user);
    a->results.push_back(result);
    a->popup_was_on = mwin->IsPopupOn();
    if (a->reopen_on) {
        a->reopen_on = nullptr;
        mwin->PopupMessage("Next", "Second popup", &Answered, a);
    }
}

} // namespace

class MWinPopupTest : public MWinFixture
{
protected:
    MWinButton* PopupButton(int n) { return mwin->m_popup_buttons[n]; }
    void ClickButton(MWinButton* b)
    {
        ASSERT_NE(b, nullptr);
        const _Dimension* a = b->GetScreenArea();
        Click(a->x + a->w / 2, a->y + a->h / 2);
    }
    char Char(unsigned char ch) { return mwin->HandleInputEvent(int(_EngInputEventType::Character), ch, 0); }

    Answers answers;
};

TEST_F(MWinPopupTest, AMessagePopupDimsTheScreenAndTakesOverInput)
{
    AddPush("BELOW", 10, 10, 80, 30);
    ASSERT_EQ(mwin->PopupMessage("Title", "Hello", &Answered, &answers), 1);
    EXPECT_TRUE(mwin->IsPopupOn());
    EXPECT_TRUE(mwin->GetDesktop()->IsDimmingOn());
    EXPECT_FLOAT_EQ(mwin->GetDesktop()->GetDimmingAlpha(), 0.5f);
    EXPECT_FALSE(collection->IsActive());
    ASSERT_NE(mwin->GetPopupCollection(), nullptr);
    EXPECT_STREQ(mwin->GetPopupCollection()->GetID(), MWIN_POPUP_COLLECTION_ID);
    ASSERT_NE(mwin->m_popup_window, nullptr);
    EXPECT_TRUE(mwin->m_popup_window->HasTitleBar());
    ASSERT_NE(mwin->m_popup_message_button, nullptr);
    EXPECT_STREQ(mwin->m_popup_message_button->GetTextP(0), "Hello");
    ASSERT_NE(PopupButton(0), nullptr);
    EXPECT_STREQ(PopupButton(0)->GetTextP(0), "OK");
    EXPECT_EQ(PopupButton(1), nullptr);
    EXPECT_EQ(mwin->GetSettingsP()->hover_activate_collection, 0);

    Click(20, 20);
    EXPECT_EQ(log.calls, 0) << "the screen below gets no click";
    EXPECT_EQ(mwin->PopupMessage("Again"), 0);
}

TEST_F(MWinPopupTest, EnterAnswersOkOnTheNextFrameAndTheScreenComesBack)
{
    ASSERT_EQ(mwin->PopupMessage("Title", "Hello", &Answered, &answers), 1);
    MoveTo(5, 5);
    Key(ENG_VK_RETURN);
    EXPECT_TRUE(answers.results.empty());
    Frame();
    ASSERT_EQ(answers.results.size(), 1u);
    EXPECT_EQ(answers.results[0], MWIN_POPUP_RESULT_OK);
    EXPECT_FALSE(answers.popup_was_on) << "the popup closes before the callback runs";
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_FALSE(mwin->GetDesktop()->IsDimmingOn());
    EXPECT_TRUE(collection->IsActive());
    EXPECT_TRUE(window->IsActive());
    EXPECT_FALSE(mwin->GetDesktop()->HasCollection(MWIN_POPUP_COLLECTION_ID));
    EXPECT_EQ(mwin->GetSettingsP()->hover_activate_collection, 1);
}

TEST_F(MWinPopupTest, EscapeAnswersCancelAndClicksAnswerAtOnce)
{
    ASSERT_EQ(mwin->PopupOkCancel("Quit", "Really?", &Answered, &answers), 1);
    ASSERT_NE(PopupButton(1), nullptr);
    EXPECT_STREQ(PopupButton(1)->GetTextP(0), "Cancel");
    EXPECT_LT(PopupButton(0)->GetScreenArea()->x, PopupButton(1)->GetScreenArea()->x) << "OK stands left";
    MoveTo(5, 5);
    Key(ENG_VK_ESCAPE);
    Frame();
    ASSERT_EQ(answers.results.size(), 1u);
    EXPECT_EQ(answers.results[0], MWIN_POPUP_RESULT_CANCEL);

    ASSERT_EQ(mwin->PopupOkCancel("Quit", "Really?", &Answered, &answers), 1);
    ClickButton(PopupButton(0));
    ASSERT_EQ(answers.results.size(), 2u);
    EXPECT_EQ(answers.results[1], MWIN_POPUP_RESULT_OK);
    EXPECT_FALSE(mwin->IsPopupOn());
}

TEST_F(MWinPopupTest, AResultCallbackMayOpenTheNextPopup)
{
    answers.reopen_on = mwin;
    ASSERT_EQ(mwin->PopupMessage("First", "One", &Answered, &answers), 1);
    ClickButton(PopupButton(0));
    ASSERT_EQ(answers.results.size(), 1u);
    EXPECT_TRUE(mwin->IsPopupOn()) << "the second popup is open";
    EXPECT_STREQ(mwin->m_popup_message_button->GetTextP(0), "Second popup");
    EXPECT_TRUE(mwin->GetDesktop()->IsDimmingOn());
    ClickButton(PopupButton(0));
    EXPECT_EQ(answers.results.size(), 2u);
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_TRUE(collection->IsActive());
}

TEST_F(MWinPopupTest, AWaitPopupClosesItselfAfterItsTimeWithoutACallback)
{
    ASSERT_EQ(mwin->PopupWait("Wait", "Working"), 1);
    EXPECT_EQ(PopupButton(0), nullptr);
    mwin->PopupSetAutoCloseTime(2.0);
    eng_time += 1.0;
    Frame();
    EXPECT_TRUE(mwin->IsPopupOn());
    eng_time += 1.5;
    Frame();
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_TRUE(collection->IsActive());
    EXPECT_EQ(mwin->PopupCloseIfOn(), 0);
}

TEST_F(MWinPopupTest, BoxSizesComeFromTheSettersAndReturnToTheDesktopRow)
{
    mwin->PopupSetBoxSizes(300, 480, 120, 30);
    EXPECT_FLOAT_EQ(mwin->m_popup_min_box_width[0], 300);
    EXPECT_FLOAT_EQ(mwin->m_popup_max_box_width[1], 480);
    mwin->SetScreenLayout(MWIN_LAYOUT_NORMAL);
    EXPECT_FLOAT_EQ(mwin->m_popup_button_width[0], 120) << "a layout change keeps the program's sizes";
    mwin->PopupSetBoxSizes(-1, 0, -2, -5);
    EXPECT_FLOAT_EQ(mwin->m_popup_min_box_width[0], 300);
    EXPECT_FLOAT_EQ(mwin->m_popup_max_box_width[0], 480);
    EXPECT_FLOAT_EQ(mwin->m_popup_button_width[0], 60);
    EXPECT_FLOAT_EQ(mwin->m_popup_button_height[0], 30);
    mwin->PopupSetBoxSizes(-2, -2, -2, -2);
    EXPECT_FLOAT_EQ(mwin->m_popup_min_box_width[1], 50);
    EXPECT_FLOAT_EQ(mwin->m_popup_max_box_width[1], 600);
}

TEST_F(MWinPopupTest, AppearanceTakesColoursInItsOwnOrderAndKeepsNegativeValues)
{
    mwin->PopupSetAppearance("Back", "", nullptr, "Main", "Main", 0.1f, 0.2f, 0.3f, 0.4f, 0.9f, -1, 1, -1, -1, -1,
                             -1, -1, 2);
    EXPECT_STREQ(mwin->m_popup_window_texbut_a, "Back");
    EXPECT_STREQ(mwin->m_popup_window_texbut_b, MWIN_TEXBUT_DEFAULT) << "an empty id keeps the current one";
    EXPECT_STREQ(mwin->m_popup_button_font, "Main");
    EXPECT_FLOAT_EQ(mwin->m_popup_button_text_colour[0], 0.1f);
    EXPECT_FLOAT_EQ(mwin->m_popup_button_text_colour[2], 0.2f) << "the second value is blue";
    EXPECT_FLOAT_EQ(mwin->m_popup_button_text_colour[1], 0.3f) << "the third value is green";
    EXPECT_FLOAT_EQ(mwin->m_popup_button_text_scale[0], 0.9f);
    EXPECT_FLOAT_EQ(mwin->m_popup_button_text_scale[1], 1.0f);
    EXPECT_FLOAT_EQ(mwin->m_popup_title_text_colour[0], 1.0f);
    EXPECT_EQ(mwin->m_popup_title_align, 2);
}

TEST_F(MWinPopupTest, TheBoxMarginDependsOnTitleOrText)
{
    ASSERT_EQ(mwin->PopupWait("", ""), 1);
    float bare = mwin->m_popup_window->GetRequestedArea().w;
    mwin->PopupCloseIfOn();
    ASSERT_EQ(mwin->PopupWait("", "x"), 1);
    float with_text = mwin->m_popup_window->GetRequestedArea().w;
    mwin->PopupCloseIfOn();
    EXPECT_FLOAT_EQ(bare, 50 + 5 + 20);
    EXPECT_FLOAT_EQ(with_text - bare, 35.0f) << "a margin of 40 instead of 5";
}

TEST_F(MWinPopupTest, AVeryLongTitleGivesNoTitleBar)
{
    std::string title(300, 'T');
    ASSERT_EQ(mwin->PopupMessage(title.c_str(), "text"), 1);
    EXPECT_FALSE(mwin->m_popup_window->HasTitleBar());
    mwin->PopupCloseIfOn();
    ASSERT_EQ(mwin->PopupMessage(std::string(255, 'T').c_str(), "text"), 1);
    EXPECT_TRUE(mwin->m_popup_window->HasTitleBar());
}

TEST_F(MWinPopupTest, APopupThatCannotOpenLeavesTheScreenAsItWas)
{
    MWinCollection* squatter = mwin->GetDesktop()->AddCollection(MWIN_POPUP_COLLECTION_ID);
    ASSERT_NE(squatter, nullptr);
    collection->Activate();
    window->Activate();
    int since = DebugGetMessageCount();
    EXPECT_EQ(mwin->PopupMessage("Title", "Text", &Answered, &answers), 0);
    EXPECT_TRUE(LoggedSince(since, "Could not create new collection"));
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_FALSE(mwin->GetDesktop()->IsDimmingOn());
    EXPECT_TRUE(collection->IsActive());
    EXPECT_TRUE(window->IsActive());
    EXPECT_TRUE(mwin->GetDesktop()->HasCollectionPointer(squatter)) << "another's collection is left alone";
    EXPECT_EQ(mwin->GetSettingsP()->hover_activate_collection, 1);

    mwin->Shutdown();
    EXPECT_EQ(mwin->PopupMessage("Off"), 0);
    EXPECT_TRUE(LoggedSince(since, "MWin is not on"));
}

TEST_F(MWinPopupTest, TextPopupEnterAnswersOkWithTheEditedText)
{
    char name[16] = "abc";
    ASSERT_EQ(mwin->PopupGetText("Name", "Your name:", name, sizeof(name), &Answered, &answers), 1);
    MWinButton* field = mwin->m_popup_window->GetButtonFromID(MWIN_POPUP_TEXTEDIT_ID, 1);
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->TextEditIsEditing()) << "the field is ready for typing";
    Char('d');
    Key(ENG_VK_RETURN);
    EXPECT_TRUE(answers.results.empty());
    Frame();
    ASSERT_EQ(answers.results.size(), 1u);
    EXPECT_EQ(answers.results[0], MWIN_POPUP_RESULT_OK);
    EXPECT_STREQ(name, "abcd");
    EXPECT_FALSE(mwin->IsPopupOn());
}

TEST_F(MWinPopupTest, TextPopupEscapeAnswersCancelAndLeavesTheText)
{
    char name[16] = "abc";
    ASSERT_EQ(mwin->PopupGetText("Name", "", name, sizeof(name), &Answered, &answers), 1);
    Char('x');
    Key(ENG_VK_ESCAPE);
    Frame();
    ASSERT_EQ(answers.results.size(), 1u);
    EXPECT_EQ(answers.results[0], MWIN_POPUP_RESULT_CANCEL);
    EXPECT_STREQ(name, "abc");
}

TEST_F(MWinPopupTest, TextPopupCancelAfterTheFieldWasLeftKeepsTheCallersText)
{
    char name[16] = "abc";
    ASSERT_EQ(mwin->PopupGetText("Name", "Your name:", name, sizeof(name), &Answered, &answers), 1);
    Char('x');
    ClickButton(PopupButton(1));
    EXPECT_STREQ(name, "abcx") << "the first click only ended the field's editing";
    ClickButton(PopupButton(1));
    ASSERT_EQ(answers.results.size(), 1u);
    EXPECT_EQ(answers.results[0], MWIN_POPUP_RESULT_CANCEL);
    EXPECT_STREQ(name, "abc");
}

TEST_F(MWinPopupTest, TextPopupCancelRestoresACallersTextLongerThanTheField)
{
    std::string original(700, 'n');
    original[0] = 'A';
    original[699] = 'Z';
    std::vector<char> text(original.begin(), original.end());
    text.push_back(0);
    ASSERT_EQ(mwin->PopupGetText("Name", "", text.data(), int(text.size()), &Answered, &answers), 1);
    Char('x');
    ClickButton(PopupButton(1));
    ClickButton(PopupButton(1));
    ASSERT_EQ(answers.results.size(), 1u);
    EXPECT_EQ(answers.results[0], MWIN_POPUP_RESULT_CANCEL);
    EXPECT_EQ(std::string(text.data()), original) << "the whole text comes back, not its first 511 characters";
}

TEST_F(MWinPopupTest, TextPopupRefusesBadArgumentsAndBoundsTheText)
{
    int since = DebugGetMessageCount();
    EXPECT_EQ(mwin->PopupGetText("t", "p", nullptr, 10, nullptr, nullptr), 0);
    EXPECT_TRUE(LoggedSince(since, "No text var."));
    char small[4] = "ab";
    EXPECT_EQ(mwin->PopupGetText("t", "p", small, 0, nullptr, nullptr), 0);
    EXPECT_TRUE(LoggedSince(since, "No max len."));
    EXPECT_FALSE(mwin->IsPopupOn());
    ASSERT_EQ(mwin->PopupGetText("t", "p", small, sizeof(small), nullptr, nullptr), 1);
    for (const char* p = "xyz"; *p; p++)
        Char((unsigned char)*p);
    Key(ENG_VK_RETURN);
    Frame();
    EXPECT_STREQ(small, "abx") << "at most size - 1 characters";
}

TEST_F(MWinPopupTest, ClosingWithoutAnAnswerCallsNothing)
{
    ASSERT_EQ(mwin->PopupOkCancel("t", "x", &Answered, &answers), 1);
    EXPECT_EQ(mwin->PopupCloseIfOn(), 1);
    EXPECT_TRUE(answers.results.empty());
    EXPECT_FALSE(mwin->IsPopupOn());
    ASSERT_EQ(mwin->PopupMessage("t", "x", &Answered, &answers), 1);
    mwin->GetDesktop()->RemoveAllCollections();
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_TRUE(answers.results.empty());
}

TEST_F(MWinPopupTest, AFlashPopupIsGoneWhenTheCallReturns)
{
    EXPECT_EQ(mwin->PopupFlash("Saved", "Done"), 1);
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_FALSE(mwin->GetDesktop()->IsDimmingOn());
    EXPECT_TRUE(collection->IsActive());
}

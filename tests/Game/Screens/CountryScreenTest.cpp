// The country choice screen: the list of all countries with the player's own chosen and each entry's flag
// drawn, the continue path with and without a choice and a callback, and the insets of the set-up.

#include "Support/GameWindowFixture.h"

#include <cstdlib>
#include <vector>

#include "Game/Screens/CountryCC.h"
#include "Game/Program.h"
#include "Game/Screens/Countries.h"
#include "Support/GLTestContext.h"
#include "Support/VirtualScreenPixels.h"

namespace {

struct Continued {
    int calls = 0;
    std::string code;
};

void RecordContinue(void* user)
{
    Continued* continued = static_cast<Continued*>(user);
    continued->calls++;
    continued->code = CountryGetChosenCode();
}

} // namespace

class CountryScreenTest : public GameWindowFixture
{
protected:
    void StartCountryScreen(const char* locale, float top_inset = 0, float bottom_inset = 0)
    {
        setenv("LC_ALL", locale, 1);
        CountrySetup(false, false, &RecordContinue, &continued, top_inset, bottom_inset);
        ASSERT_EQ(1, screens->StartScreen(SCREEN_MAIN, 0));
        ASSERT_EQ(1, screens->GotoScreen(SCREEN_MCTY, nullptr));
        list = Button(CountryCC::BUT_COUNTRY);
        ASSERT_NE(nullptr, list);
    }
    void TearDown() override
    {
        unsetenv("LC_ALL");
        GameWindowFixture::TearDown();
    }
    Continued continued;
    MWinButton* list = nullptr;
};

TEST_F(CountryScreenTest, ThePlayersOwnCountryIsChosenAndContinueHandsItsCodeOn)
{
    StartCountryScreen("de_AT.UTF-8");
    EXPECT_EQ(COUNTRY_NUM_COUNTRIES, list->GetPanelData()->count);
    int austria = CountryGetCountryNumFromCode("AT", false);
    EXPECT_EQ(austria, list->PanelGetPos());
    int first = 0, last = 0;
    ASSERT_TRUE(list->PanelGetVisibleRange(&first, &last));
    EXPECT_TRUE(first <= austria && austria < last) << "the choice is scrolled into view";

    EXPECT_TRUE(Click(CountryCC::BUT_CONTINUE));
    EXPECT_EQ(1, continued.calls);
    EXPECT_EQ("AT", continued.code);
}

TEST_F(CountryScreenTest, WithoutAChoiceContinueAsksForOneAndWithoutACallbackTheScreenGoesBack)
{
    StartCountryScreen("C");
    EXPECT_EQ(-1, list->PanelGetPos());
    EXPECT_TRUE(Click(CountryCC::BUT_CONTINUE));
    EXPECT_EQ("Please select a country first", PopupText());
    EXPECT_EQ(0, continued.calls);
    EXPECT_TRUE(AnswerPopup(MWIN_POPUP_OK_ID));
    EXPECT_FALSE(mwin->IsPopupOn());

    CountrySetContinueCB(nullptr, nullptr);
    list->PanelSetPos(CountryGetCountryNumFromCode("G3", false), MWIN_FIRE_NEVER, 0);
    EXPECT_TRUE(Click(CountryCC::BUT_CONTINUE));
    EXPECT_STREQ("G3", CountryGetChosenCode());
    EXPECT_EQ(SCREEN_MAIN, screens->GetCurrentScreen());
}

TEST_F(CountryScreenTest, InsetsMoveTheTitleAndListDownAndTheNoteAndButtonUp)
{
    StartCountryScreen("C", 20, 30);
    const struct {
        int button;
        float y, h;
    } expected[] = {
        {CountryCC::BUT_TITLE, 72 + 20, 30},
        {CountryCC::BUT_COUNTRY, 112 + 20, 270 - 20 - 30},
        {CountryCC::BUT_NOTE, 392 - 30, 18},
        {CountryCC::BUT_CONTINUE, 433 - 30, 27},
    };
    for (const auto& row : expected) {
        float x, y, w, h;
        Button(row.button)->GetArea(&x, &y, &w, &h);
        EXPECT_FLOAT_EQ(row.y, y) << Button(row.button)->GetID();
        EXPECT_FLOAT_EQ(row.h, h) << Button(row.button)->GetID();
    }
}

TEST_F(CountryScreenTest, EachVisibleEntryHasItsFlagInTheStripLeftOfIt)
{
    StartCountryScreen("C");
    float entry[4];
    ASSERT_TRUE(list->PanelGetEntryArea(0, entry));
    // The strip left of the first two entries, where their flags stand.
    const _Dimension strip = {entry[0] - 2.0f * entry[3], entry[1], 2.0f * entry[3], 2.0f * entry[3]};
    GLTestContext reader;
    auto frame = [&]() {
        MainGetProgram()->RenderCB();
        std::vector<unsigned char> rgba;
        EXPECT_TRUE(ReadVirtualPixelsRGBA(reader, strip, &rgba));
        return rgba;
    };
    ASSERT_TRUE(CountryIsFlagsTextureLoaded());
    std::vector<unsigned char> with_flags = frame();
    CountryDestroyGraphics();
    std::vector<unsigned char> without_flags = frame();
    ASSERT_EQ(with_flags.size(), without_flags.size());
    int differing = 0;
    for (size_t i = 0; i + 3 < with_flags.size(); i += 4)
        differing += abs(with_flags[i] - without_flags[i]) + abs(with_flags[i + 1] - without_flags[i + 1]) +
                             abs(with_flags[i + 2] - without_flags[i + 2]) >
                     60;
    EXPECT_GT(differing, int(with_flags.size() / 4 / 4)) << "the flags cover much of their boxes";
}

#include <gtest/gtest.h>

#include "Engine/Graphics/EngFont.h"
#include "Engine/MWin/MWinFontRegistry.h"
#include "MWinButtonFixture.h"

namespace {

class FontRegistryTest : public ::testing::Test {
protected:
    MWin* fake_mwin = reinterpret_cast<MWin*>(this);
    MWinFonts fonts{fake_mwin};
    EngFont main_font;
    EngFont small_font;
};

} // namespace

TEST_F(FontRegistryTest, UserFontsAreNumberedInOrderAndFoundById)
{
    EXPECT_EQ(fonts.AddUserFontPointer("Main", &main_font), 0);
    EXPECT_EQ(fonts.AddUserFontPointer("Small", &small_font), 1);
    EXPECT_EQ(fonts.GetFontNumFromID("Small"), 1);
    EXPECT_EQ(fonts.GetFont(0), &main_font);
    EXPECT_EQ(fonts.GetUserFont("Small", true), &small_font);
    EXPECT_EQ(fonts.GetFontNumFromID(MWIN_FONT_DEFAULT), -1);
    EXPECT_EQ(fonts.GetFontNumFromID(MWIN_FONT_NONE), -2);
    EXPECT_EQ(fonts.GetFontNumFromID(""), -2);
    EXPECT_EQ(fonts.GetFont(-2), nullptr);
    EXPECT_EQ(fonts.GetFont(2), nullptr);
    EXPECT_EQ(fonts.GetFont(-1), nullptr) << "the standard font is never filled by the game";
}

TEST_F(FontRegistryTest, SameIdTwiceIsRefused)
{
    fonts.AddUserFontPointer("Main", &main_font);
    int since = DebugGetMessageCount();
    EXPECT_EQ(fonts.AddUserFontPointer("Main", &small_font), -2);
    EXPECT_TRUE(LoggedSince(since, "Font <Main> already created"));
    EXPECT_EQ(fonts.GetUserFont("Main", false), &main_font);
}

TEST_F(FontRegistryTest, MissingArgumentsAndUnknownIdsAreReported)
{
    int since = DebugGetMessageCount();
    EXPECT_EQ(fonts.AddUserFontPointer("", &main_font), -2);
    EXPECT_TRUE(LoggedSince(since, "No id specified"));
    EXPECT_EQ(fonts.AddUserFontPointer("Main", nullptr), -2);
    EXPECT_TRUE(LoggedSince(since, "No font passed in"));
    EXPECT_EQ(fonts.GetFontNumFromID("Nope"), -2);
    EXPECT_TRUE(LoggedSince(since, "Font <Nope> does not exist"));
    int quiet = DebugGetMessageCount();
    EXPECT_EQ(fonts.GetUserFont("Nope", false), nullptr);
    EXPECT_EQ(DebugGetMessageCount(), quiet);
}

TEST_F(FontRegistryTest, StandardFontAnswersToMinusOne)
{
    EXPECT_EQ(fonts.AddFontPointer(nullptr, &main_font), -1);
    EXPECT_EQ(fonts.GetFont(-1), &main_font);
    EXPECT_EQ(fonts.GetNumUserFonts(), 0);
}

TEST_F(FontRegistryTest, ForgottenEntriesAreReusedAndExternalFontsSurviveUnloading)
{
    fonts.AddUserFontPointer("Main", &main_font);
    EXPECT_EQ(fonts.LoadFonts(), 1);
    fonts.UnloadFonts();
    EXPECT_EQ(fonts.GetFont(0), &main_font) << "external fonts belong to the game";
    fonts.RemoveAllFonts();
    EXPECT_EQ(fonts.GetFont(0), nullptr);
    EXPECT_EQ(fonts.LoadFonts(), 0) << "an entry without an id counts as a failure";
    EXPECT_EQ(fonts.AddUserFontPointer("Again", &small_font), 0);
    EXPECT_EQ(fonts.GetNumUserFonts(), 1);
}

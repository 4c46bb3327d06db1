#include <gtest/gtest.h>

#include <string>

#include "Engine/Core/EngWindow.h"
#include "Engine/MWin/MWinTextureRegistry.h"
#include "MWinButtonFixture.h"

namespace {

// Any file that exists will do for registration; the picture is only read when textures are created.
constexpr const char* kFile = "Data/1001.dat";

class TextureRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_x = eng_aspect_x;
        saved_y = eng_aspect_y;
        eng_aspect_x = 1.0f;
        eng_aspect_y = 1.0f;
        ASSERT_EQ(textures.AddTexture("Buttons", kFile, 1, 4), 1);
    }
    void TearDown() override
    {
        eng_aspect_x = saved_x;
        eng_aspect_y = saved_y;
    }
    _MWinTextureButton* AddButton(const char* id)
    {
        return textures.AddTextureButton(id, "Buttons", 0.0f, 0.0f, 0.5f, 0.5f, "", 0, 0, 0, 0, "Buttons", 0.5f, 0.5f,
                                         1.0f, 1.0f, "", 0, 0, 0, 0);
    }
    MWin* fake_mwin = reinterpret_cast<MWin*>(this);
    MWinTextures textures{fake_mwin};
    float saved_x = 1.0f;
    float saved_y = 1.0f;
};

} // namespace

TEST_F(TextureRegistryTest, SixtyFourthTextureIsAcceptedAndTheNextRefused)
{
    for (int i = 1; i < MWIN_MAX_TEXTURES; i++) {
        std::string id = "T" + std::to_string(i);
        ASSERT_EQ(textures.AddTexture(id.c_str(), kFile, 0, 0), 1) << i;
    }
    EXPECT_EQ(textures.GetNumTextures(), 64);
    int since = DebugGetMessageCount();
    EXPECT_EQ(textures.AddTexture("T64", kFile, 0, 0), 0);
    EXPECT_TRUE(LoggedSince(since, "Too many textures"));
}

TEST_F(TextureRegistryTest, BadFilesAreRefusedWithTheirReasons)
{
    int since = DebugGetMessageCount();
    EXPECT_EQ(textures.AddTexture("A", "", 0, 0), 0);
    EXPECT_TRUE(LoggedSince(since, "No filename passed in"));
    EXPECT_EQ(textures.AddTexture("A", "Data/Missing.png", 0, 0), 0);
    EXPECT_TRUE(LoggedSince(since, "File does not exist <Data/Missing.png>"));
    std::string long_name(256, 'a');
    EXPECT_EQ(textures.AddTexture("A", long_name.c_str(), 0, 0), 0);
    EXPECT_TRUE(LoggedSince(since, "Filename too long"));
    EXPECT_EQ(textures.GetNumTextures(), 1);
}

TEST_F(TextureRegistryTest, TextureButtonsFindAndRefuseIds)
{
    ASSERT_NE(AddButton("StdPushButton"), nullptr);
    EXPECT_EQ(textures.GetTexButNum("StdPushButton"), 0);
    EXPECT_EQ(textures.GetTexButNum("Other"), -1);
    int since = DebugGetMessageCount();
    EXPECT_EQ(AddButton("StdPushButton"), nullptr);
    EXPECT_TRUE(LoggedSince(since, "Texture button alread exits <StdPushButton>"));
    EXPECT_EQ(AddButton(""), nullptr);
    EXPECT_TRUE(LoggedSince(since, "Invalid ID passed in"));
    _MWinTextureButton* b = AddButton("Second");
    EXPECT_EQ(textures.SetTextureButtonState(b, 1, "NoTexture", 0, 0, 1, 1), 0);
    EXPECT_TRUE(LoggedSince(since, "Texture <NoTexture> does not exist"));
    EXPECT_EQ(b->states[1].texture, -1);
}

TEST_F(TextureRegistryTest, StateWithoutTextureDrawsTheNormalState)
{
    AddButton("B");
    MWinTextures::Piece pieces[9];
    ASSERT_EQ(textures.LayoutTexBut(0, MWIN_TS_HIGHLIGHTED, 0, 0, 100, 50, pieces), 1);
    EXPECT_FLOAT_EQ(pieces[0].rect[2], 0.5f) << "the normal state's rectangle";
    ASSERT_EQ(textures.LayoutTexBut(0, MWIN_TS_PRESSED, 0, 0, 100, 50, pieces), 1);
    EXPECT_FLOAT_EQ(pieces[0].rect[0], 0.5f) << "the pressed state has its own";
    ASSERT_EQ(textures.LayoutTexBut(0, 7, 0, 0, 100, 50, pieces), 1) << "a bad state is read as normal";
    EXPECT_FLOAT_EQ(pieces[0].rect[0], 0.0f);
}

TEST_F(TextureRegistryTest, KeptEndsNeedTwiceTheEndWidthToBeLessThanTheWidth)
{
    AddButton("B");
    ASSERT_EQ(textures.SetTexButDrawStyle("B", 2, 0.25f, 16, 1, 0, 16), 1);
    MWinTextures::Piece pieces[9];
    EXPECT_EQ(textures.LayoutTexBut(0, 0, 0, 0, 30, 20, pieces), 1) << "twice 16 is not less than 30";
    ASSERT_EQ(textures.LayoutTexBut(0, 0, 10, 0, 40, 20, pieces), 3);
    EXPECT_FLOAT_EQ(pieces[0].area.w, 16.0f);
    EXPECT_FLOAT_EQ(pieces[1].area.x, 26.0f);
    EXPECT_FLOAT_EQ(pieces[1].area.w, 8.0f);
    EXPECT_FLOAT_EQ(pieces[2].area.x, 34.0f);
    EXPECT_FLOAT_EQ(pieces[0].rect[2], 0.125f) << "the end takes a quarter of the state's 0..0.5 rectangle";
    EXPECT_FLOAT_EQ(pieces[1].rect[2], 0.375f);
    EXPECT_FLOAT_EQ(pieces[2].rect[2], 0.5f);
}

TEST_F(TextureRegistryTest, BothEndsKeptGiveNinePiecesWithTheTallerVerticalEnd)
{
    AddButton("B");
    textures.SetTexButDrawStyle("B", 2, 0.25f, 16, 2, 0.25f, 15);
    MWinTextures::Piece pieces[9];
    ASSERT_EQ(textures.LayoutTexBut(0, 0, 0, 0, 100, 60, pieces), 9);
    EXPECT_FLOAT_EQ(pieces[0].area.h, 20.0f) << "end height is 15 x 4/3";
    EXPECT_FLOAT_EQ(pieces[4].area.y, 20.0f);
    EXPECT_FLOAT_EQ(pieces[4].area.h, 20.0f);
    EXPECT_FLOAT_EQ(pieces[8].area.x, 84.0f);
}

TEST_F(TextureRegistryTest, ExtraMarginsGrowTheDrawnArea)
{
    AddButton("B");
    ASSERT_EQ(textures.SetTexButDrawExtra("B", 10, 4, 6), 1);
    MWinTextures::Piece pieces[9];
    ASSERT_EQ(textures.LayoutTexBut(0, 0, 100, 100, 50, 20, pieces), 1);
    EXPECT_FLOAT_EQ(pieces[0].area.x, 95.0f);
    EXPECT_FLOAT_EQ(pieces[0].area.w, 60.0f);
    EXPECT_FLOAT_EQ(pieces[0].area.y, 96.0f);
    EXPECT_FLOAT_EQ(pieces[0].area.h, 30.0f);
    float x, top, bottom;
    EXPECT_FALSE(textures.GetTexButDrawExtra(5, &x, &top, &bottom));
    EXPECT_EQ(x, 0.0f);
    int since = DebugGetMessageCount();
    EXPECT_EQ(textures.SetTexButDrawExtra("None", 1, 1, 1), 0);
    EXPECT_TRUE(LoggedSince(since, "Texture Button <None> does not exist"));
}

TEST_F(TextureRegistryTest, StandardSlotsMapAndRemovingOneEmptiesItsId)
{
    ASSERT_NE(textures.AddStandardTextureButton(MWIN_STD_PUSH_BUTTON, "StdPushButton", "Buttons", 0, 0, 1, 1, "", 0,
                                                0, 0, 0, "", 0, 0, 0, 0, "", 0, 0, 0, 0),
              nullptr);
    EXPECT_EQ(textures.GetStandardTexButNum(MWIN_STD_PUSH_BUTTON), 0);
    EXPECT_STREQ(textures.GetStandardTexButID(MWIN_STD_PUSH_BUTTON), "StdPushButton");
    EXPECT_EQ(textures.GetStandardTexButNum(MWIN_STD_PANEL), -1);
    EXPECT_EQ(textures.RemoveStandardTextureButton(MWIN_STD_PUSH_BUTTON), 1);
    EXPECT_EQ(textures.GetTexButNum("StdPushButton"), -1);
    EXPECT_EQ(textures.RemoveStandardTextureButton(MWIN_STD_PUSH_BUTTON), 0);
    int since = DebugGetMessageCount();
    EXPECT_EQ(textures.RemoveStandardTextureButton(34), -1);
    EXPECT_TRUE(LoggedSince(since, "Invalid standard texbut num: 34"));
    EXPECT_EQ(textures.GetStandardTexButNum(-1), -1) << "negative slots are refused too";
    EXPECT_EQ(textures.SetStandardTextureToTexBut(40, "X"), 0);
    EXPECT_TRUE(LoggedSince(since, "Invalid std tex num 40"));
    EXPECT_EQ(textures.SetStandardTextureToTexBut(3, "X"), 0);
    EXPECT_TRUE(LoggedSince(since, "Texture Button <X> does not exist"));
}

TEST_F(TextureRegistryTest, DrawingWithoutLoadedTexturesDrawsNothing)
{
    AddButton("B");
    EXPECT_EQ(textures.DrawTexBut(0, 0, 0, 0, 10, 10, nullptr), 0);
    EXPECT_EQ(textures.DrawTexBut(3, 0, 0, 0, 10, 10, nullptr), 0) << "an index outside the registered buttons";
    int since = DebugGetMessageCount();
    textures.DestroyTextures();
    EXPECT_TRUE(LoggedSince(since, "Textures not loaded"));
}

// Buttons take their default look from the standard slot of their kind.
TEST_F(MWinFixture, EmptyRegistrySurvivesRepeatedDeviceRecreation)
{
    // Every device re-creation (Alt+Enter, a resize) releases and reloads the GUI's graphics.
    int since = DebugGetMessageCount();
    for (int round = 0; round < 3; round++) {
        ASSERT_EQ(mwin->CreateGraphicsObjects(), 1);
        mwin->DestroyGraphicsObjects();
    }
    EXPECT_FALSE(mwin->GetTextures()->AreTexturesLoaded());
    EXPECT_FALSE(LoggedSince(since, "Textures already loaded"));
    EXPECT_FALSE(LoggedSince(since, "Textures not loaded"));
}

TEST_F(MWinFixture, DefaultTextureButtonFollowsTheKind)
{
    MWinTextures* textures = mwin->GetTextures();
    ASSERT_EQ(textures->AddTexture("Buttons", "Data/1001.dat", 1, 4), 1);
    textures->AddStandardTextureButton(MWIN_STD_PUSH_BUTTON, "StdPushButton", "Buttons", 0, 0, 1, 1, "", 0, 0, 0, 0,
                                       "", 0, 0, 0, 0, "", 0, 0, 0, 0);
    textures->AddStandardTextureButton(MWIN_STD_PANEL, "StdPanel", "Buttons", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0,
                                       0, 0, "", 0, 0, 0, 0);
    MWinButton* push = window->AddButton("P", MWIN_BUT_PUSH, MWIN_TEXBUT_DEFAULT, "P", 10, 10, 50, 20);
    MWinButton* check = window->AddButton("C", MWIN_BUT_CHECKBOX, MWIN_TEXBUT_DEFAULT, "C", 10, 40, 50, 20);
    MWinButton* label = window->AddButton("L", MWIN_BUT_LABEL, MWIN_TEXBUT_DEFAULT, "L", 10, 70, 50, 20);
    MWinButton* none = window->AddButton("N", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "N", 10, 100, 50, 20);
    EXPECT_EQ(push->GetBackTexButNum(), 0);
    EXPECT_EQ(check->GetBackTexButNum(), 0);
    EXPECT_EQ(label->GetBackTexButNum(), -1) << "the label slot is empty";
    EXPECT_EQ(none->GetBackTexButNum(), -1);
    EXPECT_EQ(push->SetBackTexButToTexBut("StdPanel"), 1);
    EXPECT_EQ(push->GetBackTexButNum(), 1);
    int since = DebugGetMessageCount();
    EXPECT_EQ(push->SetBackTexButToTexBut(""), 0);
    EXPECT_TRUE(LoggedSince(since, "No id"));
    EXPECT_EQ(push->GetBackTexButNum(), -1);
}

TEST_F(MWinFixture, TextMarginGrowsWithWidthOnlyForFramedPushButtons)
{
    MWinTextures* textures = mwin->GetTextures();
    textures->AddTexture("Buttons", "Data/1001.dat", 1, 4);
    textures->AddTextureButton("Frame", "Buttons", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0, 0, 0);
    mwin->GetBaseLayoutSettings(0)->f[MWIN_LF_TEXT_MARGIN_PER_WIDTH] = 0.09f;
    mwin->ApplyLayoutScale();
    MWinButton* framed = window->AddButton("F", MWIN_BUT_PUSH, "Frame", "F", 10, 10, 100, 20);
    MWinButton* bare = window->AddButton("B", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "B", 10, 40, 100, 20);
    EXPECT_FLOAT_EQ(framed->GetTextMargin(), 3.0f + 9.0f);
    EXPECT_FLOAT_EQ(bare->GetTextMargin(), 3.0f);
}

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "Engine/Core/EngWindow.h"
#include "Engine/Core/SWin.h"
#include "Engine/Graphics/EngResModes.h"
#include "Game/Main.h"
#include "Game/Program.h"
#include "Game/Resolution.h"
#include "Game/ResolutionDialog.h"
#include "Support/GameTestSupport.h"
#include "ResolutionTestSupport.h"

// The start-up settings dialog as a person sees it: these need a display (run under xvfb-run); without one
// only the clean failure is checked.
namespace {

bool HasDisplay()
{
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

class ResolutionDialogStart : public ResolutionHomeTest
{
protected:
    void SetUp() override
    {
        ResolutionHomeTest::SetUp();
        SaveSettledSettings();
    }

    std::set<std::string> TextsOf(SWin* win)
    {
        std::set<std::string> texts;
        char text[256];
        for (int i = 0; i < win->GetControlCount(); i++)
            if (win->GetButtonText(i, text, sizeof(text)) && text[0])
                texts.insert(text);
        return texts;
    }

    std::string Items(SWin* win, int index)
    {
        std::string items;
        char text[64];
        for (int i = 0; i < win->DropDownGetCount(index); i++) {
            win->DropDownGetItemText(index, i, text, sizeof(text));
            items += std::string(i ? "|" : "") + text;
        }
        return items;
    }

    Program program;
};

// The dialog as a person sees it, on a display.
class ResolutionDialogTest : public ResolutionDialogStart
{
protected:
    void SetUp() override
    {
        ResolutionDialogStart::SetUp();
        if (!HasDisplay())
            GTEST_SKIP() << "needs a display";
    }
};

} // namespace

TEST_F(ResolutionDialogStart, WithoutADisplayTheDialogFailsCleanly)
{
    if (HasDisplay())
        GTEST_SKIP() << "a display is there";
    ResolutionDialog dialog(nullptr);
    EXPECT_FALSE(dialog.Build());
    unsetenv("TORVI_NONINTERACTIVE");
    EXPECT_EQ(0, ResolutionDialogShow(nullptr));
    setenv("TORVI_NONINTERACTIVE", "1", 1);
    EXPECT_NE(std::string::npos, ReadWhole(LogFileIn(home)).find("Cannot show the start-up settings dialog"));
}

TEST_F(ResolutionDialogStart, NobodyThereMeansPlayWithTheSettingsAsTheyAre)
{
    ResolutionGetSettings()->windowed_width = 800;
    EXPECT_EQ(1, ResolutionDialogShow(nullptr));
    ResolutionSettings on_disk;
    ASSERT_TRUE(ReadSettingsFile(&on_disk));
    EXPECT_EQ(800, on_disk.windowed_width);
    EXPECT_EQ(800, MainGetCreateWindowParms()->width);
}

TEST_F(ResolutionDialogTest, EveryControlAndTextIsShown)
{
    ResolutionDialog dialog(nullptr);
    ASSERT_TRUE(dialog.Build());
    SWin* win = dialog.GetWindow();
    std::set<std::string> texts = TextsOf(win);
    for (const char* text : {"Video Settings", "Display Mode", "Resolution", "Anti-Aliasing", "Version",
                             "Other Settings", "Sound", "Music", "Mouse Sync.", "WebSite:", "Cursor Type", "&PLAY",
                             "Fullscreen", "Windowed", "?", "Home Page", "Forum", "Check for New Version",
                             "Version 1.50"})
        EXPECT_EQ(1u, texts.count(text)) << text;
    EXPECT_EQ("Off|Method 1|Method 2", Items(win, dialog.GetControl(RESOLUTION_ID_MOUSE_SYNC)));
    EXPECT_EQ("Texture|Windows", Items(win, dialog.GetControl(RESOLUTION_ID_CURSOR_TYPE)));
    EXPECT_EQ("Off|On", Items(win, dialog.GetControl(RESOLUTION_ID_SOUND)));
    EXPECT_EQ("Off|On", Items(win, dialog.GetControl(RESOLUTION_ID_MUSIC)));
    // The settled settings: windowed, mouse sync 2, system cursor, sound and music on.
    EXPECT_TRUE(win->RadioIsChecked(dialog.GetControl(RESOLUTION_ID_WINDOWED)));
    EXPECT_FALSE(win->RadioIsChecked(dialog.GetControl(RESOLUTION_ID_FULLSCREEN)));
    EXPECT_EQ(2, win->DropDownGetSelection(dialog.GetControl(RESOLUTION_ID_MOUSE_SYNC)));
    EXPECT_EQ(1, win->DropDownGetSelection(dialog.GetControl(RESOLUTION_ID_CURSOR_TYPE)));
    EXPECT_EQ(1, win->DropDownGetSelection(dialog.GetControl(RESOLUTION_ID_SOUND)));
    EXPECT_FALSE(win->IsControlEnabled(dialog.GetControl(RESOLUTION_ID_RESOLUTION)));
    EXPECT_TRUE(win->IsControlEnabled(dialog.GetControl(RESOLUTION_ID_PLAY)));
}

TEST_F(ResolutionDialogTest, FullScreenWithoutModesCannotBePlayed)
{
    ResolutionDialog dialog(nullptr);
    ASSERT_TRUE(dialog.Build());
    dialog.Choose(RESOLUTION_ID_FULLSCREEN, 1);
    SWin* win = dialog.GetWindow();
    EXPECT_EQ(0, ResolutionGetSettings()->windowed);
    EXPECT_FALSE(win->IsControlEnabled(dialog.GetControl(RESOLUTION_ID_PLAY)));
    EXPECT_FALSE(win->IsControlEnabled(dialog.GetControl(RESOLUTION_ID_RESOLUTION)));
    EXPECT_FALSE(win->IsControlEnabled(dialog.GetControl(RESOLUTION_ID_ANTIALIASING)));
    dialog.Choose(RESOLUTION_ID_WINDOWED, 1);
    EXPECT_TRUE(win->IsControlEnabled(dialog.GetControl(RESOLUTION_ID_PLAY)));
}

TEST_F(ResolutionDialogTest, FullScreenListsTheModesAndSelectsTheNearest)
{
    EngResModes modes;
    if (!modes.IsSetup() || modes.GetNumModes() < 1)
        GTEST_SKIP() << "no display modes";
    int last = modes.GetNumModes() - 1;
    const _EngResMode* wanted = modes.GetMode(last);
    ResolutionSettings* s = ResolutionGetSettings();
    s->full_width = wanted->width + 3;
    s->full_height = wanted->height - 2;
    s->full_bit_depth = wanted->bit_depth;
    s->full_ms_type = 77;
    s->full_ms_quality = 5;
    ResolutionDialog dialog(&modes);
    ASSERT_TRUE(dialog.Build());
    dialog.Choose(RESOLUTION_ID_FULLSCREEN, 1);
    SWin* win = dialog.GetWindow();
    int list = dialog.GetControl(RESOLUTION_ID_RESOLUTION);
    ASSERT_EQ(modes.GetNumModes(), win->DropDownGetCount(list));
    char text[64];
    ASSERT_TRUE(win->DropDownGetItemText(list, last, text, sizeof(text)));
    EXPECT_EQ(std::to_string(wanted->width) + " x " + std::to_string(wanted->height) + " x " +
                  std::to_string(wanted->bit_depth),
              text);
    // Another mode of the same size and depth may come first; the first of equals is chosen.
    const _EngResMode* chosen = modes.GetMode(win->DropDownGetSelection(list));
    EXPECT_EQ(wanted->width, chosen->width);
    EXPECT_EQ(wanted->height, chosen->height);
    EXPECT_EQ(chosen, dialog.GetCurrentMode());
    EXPECT_TRUE(win->IsControlEnabled(list));
    int aa = dialog.GetControl(RESOLUTION_ID_ANTIALIASING);
    EXPECT_EQ(chosen->num_aa, win->DropDownGetCount(aa));
    EXPECT_EQ(chosen->num_aa - 1, win->DropDownGetSelection(aa)) << "the nearest to an absurd type is the last";

    // An anti-aliasing list without a selection gives no multisampling.
    win->DropDownSetSelection(aa, -1);
    dialog.ReadControls();
    EXPECT_EQ(0, s->full_ms_type);
    EXPECT_EQ(0, s->full_ms_quality);
    EXPECT_EQ(chosen->width, s->full_width);
}

TEST_F(ResolutionDialogTest, PlayTakesTheChoicesSavesAndEndsWithOne)
{
    ResolutionDialog dialog(nullptr);
    ASSERT_TRUE(dialog.Build());
    dialog.Choose(RESOLUTION_ID_SOUND, 0);
    dialog.Choose(RESOLUTION_ID_MUSIC, 0);
    dialog.Choose(RESOLUTION_ID_CURSOR_TYPE, 0);
    dialog.Choose(RESOLUTION_ID_MOUSE_SYNC, 0);
    dialog.Press(RESOLUTION_ID_PLAY);
    EXPECT_TRUE(dialog.HasEnded());
    EXPECT_EQ(1, dialog.GetResult());
    EXPECT_EQ(1, dialog.RunModal());
    ResolutionSettings on_disk;
    ASSERT_TRUE(ReadSettingsFile(&on_disk));
    EXPECT_EQ(0, on_disk.sound_on);
    EXPECT_EQ(0, on_disk.music_on);
    EXPECT_EQ(0, on_disk.cursor_type);
    EXPECT_EQ(0, on_disk.mouse_sync);
    EXPECT_EQ(1, on_disk.windowed);
    EXPECT_EQ(-1, program.GetGpuSyncMethod());
}

TEST_F(ResolutionDialogTest, EscapeClosesWithoutPlay)
{
    ResolutionDialog dialog(nullptr);
    ASSERT_TRUE(dialog.Build());
    dialog.Choose(RESOLUTION_ID_SOUND, 0);
    dialog.GetWindow()->OnKeyDown(SWIN_KEY_ESCAPE);
    dialog.GetWindow()->OnKeyUp(SWIN_KEY_ESCAPE);
    EXPECT_EQ(-1, dialog.RunModal());
    ResolutionSettings on_disk;
    ASSERT_TRUE(ReadSettingsFile(&on_disk));
    EXPECT_EQ(1, on_disk.sound_on) << "nothing is saved without PLAY";
}

TEST_F(ResolutionDialogTest, HelpButtonsShowTheirTexts)
{
    ResolutionDialog dialog(nullptr);
    ASSERT_TRUE(dialog.Build());
    dialog.Press(RESOLUTION_ID_ANTIALIASING_HELP);
    dialog.Press(RESOLUTION_ID_MOUSE_SYNC_HELP);
    dialog.Press(RESOLUTION_ID_CURSOR_HELP);
    std::string log = ReadWhole(LogFileIn(home));
    EXPECT_NE(std::string::npos, log.find("Anti-aliasing removes the jagged edges")) << log;
    EXPECT_NE(std::string::npos, log.find("turning on this option should fix this problem")) << log;
    EXPECT_NE(std::string::npos, log.find("One uses a texture as a cursor")) << log;
    EXPECT_FALSE(dialog.HasEnded());
}

#include <gtest/gtest.h>

#include <string>

#include "Engine/Graphics/EngFont.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinFontRegistry.h"
#include "Game/Game.h"
#include "Game/Main.h"
#include "Game/Program.h"
#include "Support/GLTestContext.h"
#include "Support/GameWindowFixture.h"
#include "Support/VirtualScreenPixels.h"

namespace {

// Counts the near-white pixels of a block of the frame being drawn (the window is 640 x 480: virtual units
// are pixels).
int CountWhite(float x, float y, float w, float h)
{
    GLTestContext reader;
    return CountVirtualPixels(reader, {x, y, w, h}, [](int r, int g, int b) { return r > 200 && g > 200 && b > 200; });
}

EngUInt32 FramePixel(int x, int y)
{
    GLTestContext reader;
    return reader.Pixel(x, y);
}

// The game as the program starts it, with the texture cursor the start-up settings may choose.
class GameWindowTest : public GameWindowFixture
{
protected:
    GameWindowTest() { cursor_type = 0; }
};

} // namespace

TEST(GameCreation, PartsExistAndAnswerToTheirGame)
{
    Program program;
    Game game(&program, "Game", 0);
    EXPECT_STREQ("Game", game.GetName());
    EXPECT_EQ(&program, game.GetProgram());
    ASSERT_NE(nullptr, game.GetMenuBackground());
    EXPECT_FALSE(game.GetMenuBackground()->IsLoaded());
    ASSERT_NE(nullptr, game.GetRaceFont());
    EXPECT_FALSE(game.GetRaceFont()->IsSetup());
    ASSERT_NE(nullptr, game.GetMWin());
    EXPECT_EQ(&game, game.GetMWin()->GetGame(false));
    EXPECT_NE(nullptr, game.GetMWin()->GetDesktop());
    EXPECT_NE(nullptr, game.GetMWin()->GetTextures());
    EXPECT_NE(nullptr, game.GetMWin()->GetFonts());
    // The menus come on only once the device exists.
    EXPECT_FALSE(game.IsMenusOn());
}

TEST(GameCreation, NameIsCutToSevenCharactersAndDefaultsToGame)
{
    Program program;
    Game long_name(&program, "Championship", 0);
    EXPECT_STREQ("Champio", long_name.GetName());
    Game no_name(&program, nullptr, 0);
    EXPECT_STREQ("Game", no_name.GetName());
}

TEST(GameCreationDeathTest, MissingProgramIsFatal)
{
    std::string home = UseFreshDataHome();
    MainOneTimeSetup();
    EXPECT_EXIT(Game(nullptr, "Game", 0), ::testing::ExitedWithCode(255), "");
    std::string log = ReadWhole(LogFileIn(home));
    EXPECT_NE(std::string::npos, log.find("EXITING DUE TO FOLLOWING ERROR:")) << log;
    EXPECT_NE(std::string::npos, log.find("No program.")) << log;
}

// Before any window exists (or after it is gone) the Game hears neither input nor ticks.
TEST(GameWithoutWindow, InputIsRefusedAndTickDoesNothingButSetTheClock)
{
    UseFreshDataHome();
    int exit_code = 0;
    ASSERT_EQ(1, StartGame(&exit_code));
    Program* program = MainGetProgram();
    MWin* mwin = program->GetGame()->GetMWin();
    mwin->Startup();

    EXPECT_FALSE(program->InputEventCB(_EngInputEventType::MouseMove, EngInputEventFromFloat(100.0f),
                                       EngInputEventFromFloat(100.0f)));
    EXPECT_EQ(-1.0f, mwin->GetMouseX());

    ASSERT_EQ(1, mwin->AddMessageToQueue("Coll", "Win", "Button", MWIN_MSG_CALL_CALLBACK));
    eng_time = 3.0016;
    EXPECT_FALSE(program->TickCB());
    EXPECT_EQ(1, mwin->GetNumQueuedMessages());
    EXPECT_EQ(3001u, game_clock_ms);
    MainDestroyMainProgram(true);
}

using GameWindowWithSystemCursorTest = GameWindowFixture;

TEST_F(GameWindowWithSystemCursorTest, SettingsChoosingTheSystemCursorLeaveTheTextureCursorOff)
{
    EXPECT_FALSE(eng_main_window->GetTextureCursor_PC()->on);
    EXPECT_TRUE(game->IsMenusOn());
}

TEST_F(GameWindowTest, StartUpRegistersRaceFontLoadsTextureCursorAndStartsMenus)
{
    EXPECT_TRUE(game->GetRaceFont()->IsSetup());
    EXPECT_EQ(game->GetRaceFont(), game->GetMWin()->GetFonts()->GetUserFont("Main", true));
    EXPECT_TRUE(game->IsMenusOn());

    const _EngTextureCursor* cursor = eng_main_window->GetTextureCursor_PC();
    EXPECT_TRUE(cursor->on);
    EXPECT_STREQ("Data/1200.tga", cursor->file_name);
    EXPECT_EQ(2, cursor->load_option_1);
    EXPECT_EQ(2, cursor->load_option_2);
    EXPECT_EQ(14, cursor->width);
    EXPECT_EQ(20, cursor->height);
    EXPECT_TRUE(cursor->use_aspect_factors);
    EXPECT_EQ(0, cursor->hot_spot_x);
    EXPECT_EQ(0, cursor->hot_spot_y);
    ASSERT_NE(nullptr, cursor->texture);
    EXPECT_TRUE(cursor->texture->IsLoaded());
    EXPECT_TRUE(cursor->shown);
}

TEST_F(GameWindowTest, PointerMoveReachesGuiAndCursorIsDrawnAtItOverTheMenuBackground)
{
    MovePointer(200, 150);
    EXPECT_FLOAT_EQ(200.0f, game->GetMWin()->GetMouseX());
    EXPECT_FLOAT_EQ(150.0f, game->GetMWin()->GetMouseY());

    DrawFrame();
    // The menu background covers the whole screen: none of the clear colour shows at the corners.
    ASSERT_TRUE(game->GetMenuBackground()->IsLoaded());
    EXPECT_FALSE(PixelNear(FramePixel(10, 10), 0x33, 0x66, 0x4C));
    EXPECT_FALSE(PixelNear(FramePixel(630, 470), 0x33, 0x66, 0x4C));
    // The arrow hangs down and right from its tip at the pointer.
    EXPECT_GT(CountWhite(200, 150, 20, 30), 10);
    EXPECT_EQ(0, CountWhite(180, 130, 19, 50));
    EXPECT_EQ(0, CountWhite(180, 130, 50, 19));
    EXPECT_EQ(0, CountWhite(0, 0, 640, 140));
}

TEST_F(GameWindowTest, TickRunsQueuedGuiMessageAndSetsGameClock)
{
    MWin* mwin = game->GetMWin();
    ASSERT_EQ(1, mwin->AddMessageToQueue("Coll", "Win", "Button", MWIN_MSG_CALL_CALLBACK));
    eng_time = 12.3456;
    EXPECT_TRUE(program->TickCB());
    EXPECT_EQ(12345u, game_clock_ms);
    EXPECT_EQ(0, mwin->GetNumQueuedMessages());
}

TEST_F(GameWindowTest, DeviceResetReloadsRaceFontAndShowsCursorOnlyWithMenus)
{
    eng_main_window->DoDestroyGraphicsDevice(true);
    EXPECT_FALSE(game->GetRaceFont()->IsSetup());
    ASSERT_TRUE(eng_main_window->DoCreateGraphicsDevice(true));
    EXPECT_TRUE(game->GetRaceFont()->IsSetup());
    EXPECT_TRUE(eng_main_window->GetTextureCursor_PC()->shown);
    EXPECT_EQ(game->GetRaceFont(), game->GetMWin()->GetFonts()->GetUserFont("Main", true));

    game->GetMWin()->Shutdown();
    eng_main_window->DoDestroyGraphicsDevice(true);
    ASSERT_TRUE(eng_main_window->DoCreateGraphicsDevice(true));
    EXPECT_FALSE(eng_main_window->GetTextureCursor_PC()->shown);
}

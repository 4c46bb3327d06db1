// The main window's screen values and the device callbacks around creation, resize, the full-screen toggle and
// focus changes, on a real window and OpenGL device (SDL_VIDEODRIVER=offscreen).

#include <cmath>

#include "EngWindowTestProgram.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Graphics/EngDevice.h"
#include "Support/LogForTests.h"

namespace
{
const char* const destroy_half = "PreDestroyGraphicsObjectsCB, DestroyGraphicsObjectsCB, PostDestroyGraphicsObjectsCB";
const char* const create_half =
    "PreCreateGraphicsObjectsCB, CreateGraphicsObjectsCB, PostCreateGraphicsObjectsCB, GraphicsReadyCB";

TEST(EngWindowScreenValues, ScaleAndAspectFollowTheSize)
{
    WindowTestProgram program;
    EngWindow window(&program, "values");
    window.SetScreenMode(1, 1280, 720, 32, 60);
    EXPECT_FLOAT_EQ(eng_scale_x, 2.0f);
    EXPECT_FLOAT_EQ(eng_scale_y, 1.5f);
    EXPECT_FLOAT_EQ(eng_inv_scale_x, 0.5f);
    EXPECT_FLOAT_EQ(eng_inv_scale_y, 480.0f / 720.0f);
    EXPECT_FLOAT_EQ(eng_aspect_x, 0.75f);
    EXPECT_FLOAT_EQ(eng_aspect_y, 1.0f);
    EXPECT_TRUE(EngMainIsLandscape());

    window.SetScreenMode(1, 1024, 768, 0, 0);
    EXPECT_FLOAT_EQ(eng_aspect_x, 1.0f);
    EXPECT_FLOAT_EQ(eng_aspect_y, 1.0f);

    window.SetScreenMode(1, 1366, 768, 0, 0);
    EXPECT_FLOAT_EQ(eng_scale_x, 1366.0f / 640.0f) << "the factors are not whole numbers";

    window.SetScreenMode(1, 600, 800, 0, 0);
    EXPECT_TRUE(EngMainIsPortrait());
    EXPECT_FLOAT_EQ(eng_aspect_y, 0.75f);
}

TEST(EngWindowScreenValues, ZeroSizesAndModeTwoKeepWhatWasThere)
{
    WindowTestProgram program;
    EngWindow window(&program, "values");
    window.SetScreenMode(0, 800, 600, 16, 75);
    window.SetScreenMode(2, 0, 0, 0, 0);
    EXPECT_FALSE(eng_screen_windowed);
    EXPECT_EQ(eng_screen_width, 800);
    EXPECT_EQ(eng_screen_height, 600);
    EXPECT_EQ(eng_screen_bit_depth, 16);
    EXPECT_EQ(eng_screen_refresh, 75);
    window.SetScreenMode(-1, 1024, -5, 0, 0);
    EXPECT_FALSE(eng_screen_windowed);
    EXPECT_EQ(eng_screen_width, 1024);
    EXPECT_EQ(eng_screen_height, 600);
}

TEST(EngWindowScreenValues, NewWindowClearsTheKeyStateTable)
{
    EngKeyStateTable['Q'] = 2;
    WindowTestProgram program;
    EngWindow window(&program, "keys");
    EXPECT_EQ(EngKeyStateTable['Q'], 0);
}

using EngWindowDeviceTest = WindowFixture;

TEST_F(EngWindowDeviceTest, FirstCreationRunsTheCallbacksInOrder)
{
    EngMainStartClock_PC();
    program = new WindowTestProgram();
    _EngCreateWindowParms parms;
    parms.width = 640;
    parms.height = 480;
    ASSERT_EQ(program->CreateMainWindow("order", "OrderClass", &parms), 1);
    KeepGLDriverLoaded();
    ASSERT_TRUE(program->CreateMainGraphicsDevice());
    EXPECT_EQ(program->CallList(), std::string("PreCreateWindowCB, PreDeviceInitCB, ") + create_half +
                                       ", PostDeviceInitCB");
    EXPECT_TRUE(program->IsGraphicsDeviceInitialised());
    EXPECT_EQ(eng_screen_width, 640);
    EXPECT_EQ(eng_screen_height, 480);
}

TEST_F(EngWindowDeviceTest, ResizeStormRecreatesTheDeviceOnceAfterTheSizeSettles)
{
    Open(800, 600, true, true);
    SDL_Window* handle = window->GetWindowHandle_PC();
    for (int step = 1; step <= 10; step++)
    {
        SDL_SetWindowSize(handle, 800 + step * 10, 600 + step * 5);
        Push(WindowEvent(SDL_WINDOWEVENT_RESIZED, 800 + step * 10, 600 + step * 5));
        Push(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800 + step * 10, 600 + step * 5));
        Drain();
    }
    EXPECT_EQ(program->Count("PreDestroyGraphicsObjectsCB"), 0) << "nothing happens while the size moves";
    EXPECT_EQ(eng_screen_width, 800);

    WaitForSettledResize();
    EXPECT_EQ(program->CallList(), std::string(destroy_half) + ", " + create_half + ", GraphicsReadyCB");
    EXPECT_EQ(eng_screen_width, 900);
    EXPECT_EQ(eng_screen_height, 650);
    EXPECT_TRUE(EngDeviceIsCreated());
}

TEST_F(EngWindowDeviceTest, MaximiseAndRestoreEachRecreateTheDeviceOnce)
{
    Open(800, 600, true, true);
    SDL_Window* handle = window->GetWindowHandle_PC();
    const std::string one_recreation =
        std::string(destroy_half) + ", " + create_half + ", GraphicsReadyCB";
    auto resize_by = [&](Uint8 kind, int width, int height) {
        program->Clear();
        SDL_SetWindowSize(handle, width, height);
        Push(WindowEvent(kind));
        Push(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, width, height));
        WaitForSettledResize();
        EXPECT_EQ(program->CallList(), one_recreation) << width;
        EXPECT_EQ(eng_screen_width, width);
    };
    resize_by(SDL_WINDOWEVENT_MAXIMIZED, 1000, 700);
    resize_by(SDL_WINDOWEVENT_RESTORED, 800, 600);
}

TEST_F(EngWindowDeviceTest, SizeThatDidNotChangeLeavesTheDeviceAlone)
{
    Open(800, 600, true, true);
    Push(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600));
    WaitForSettledResize();
    EXPECT_EQ(program->CallList(), "");
}

TEST_F(EngWindowDeviceTest, ResizeToPortraitTellsTheOrientation)
{
    Open(800, 600, true, true);
    window->Resized(500, 700);
    EXPECT_EQ(program->CallList(), std::string(destroy_half) + ", " + create_half +
                                       ", GraphicsReadyCB, OrientationChangedCB(portrait)");
}

TEST_F(EngWindowDeviceTest, AltEnterGoesFullScreenAndBack)
{
    Open(800, 600, true, true);
    SDL_Event alt_enter = Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT);
    PushAndDrain(alt_enter);
    EXPECT_FALSE(eng_screen_windowed);
    ASSERT_NE(eng_main_window, nullptr);
    EXPECT_TRUE(EngDeviceIsCreated());
    std::string one_way = std::string(destroy_half) + ", PreCreateWindowCB, " + create_half + ", GraphicsReadyCB";
    EXPECT_EQ(program->CallList(), one_way) << "no close and no device-init callbacks";
    EXPECT_FALSE(program->IsQuitting());

    int full_width = eng_screen_width;
    int full_height = eng_screen_height;
    program->Clear();
    alt_enter.key.windowID = SDL_GetWindowID(eng_main_window->GetWindowHandle_PC());
    SDL_Event held = alt_enter;
    held.key.repeat = 1;
    PushAndDrain(held);
    EXPECT_FALSE(eng_screen_windowed) << "the key's auto-repeat does not toggle again";
    EXPECT_EQ(program->CallList(), "");
    PushAndDrain(alt_enter);
    EXPECT_TRUE(eng_screen_windowed);
    EXPECT_EQ(program->CallList(), one_way);
    EXPECT_EQ(eng_main_window->GetParms()->x, 0) << "back at the top-left corner";
    EXPECT_EQ(eng_main_window->GetParms()->y, 0);
    int desktop_width = 0;
    int desktop_height = 0;
    ASSERT_TRUE(EngMiscGetDesktopDimensions_PC(nullptr, nullptr, &desktop_width, &desktop_height, true, true));
    EXPECT_EQ(eng_screen_width, std::min(full_width, desktop_width));
    EXPECT_EQ(eng_screen_height, std::min(full_height, desktop_height));
}

TEST_F(EngWindowDeviceTest, ToggleKeepsAQuitAskedForEarlier)
{
    Open(800, 600, true, true);
    program->RequestQuit();
    ASSERT_TRUE(window->ToggleFullscreenMode(false));
    EXPECT_TRUE(program->IsQuitting());
}

TEST_F(EngWindowDeviceTest, FullScreenFocusLossReleasesTheDeviceAndFocusGainRemakesIt)
{
    Open(800, 600, false, true);
    ASSERT_FALSE(eng_screen_windowed);
    PushAndDrain(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(program->CallList(), std::string(destroy_half) + ", ActivateCB(0)");
    EXPECT_FALSE(EngDeviceIsCreated());

    program->Clear();
    PushAndDrain(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    EXPECT_EQ(program->CallList(), std::string(create_half) + ", ActivateCB(1)");
    EXPECT_TRUE(EngDeviceIsCreated());
}

TEST_F(EngWindowDeviceTest, WindowedFocusLossKeepsTheDevice)
{
    Open(800, 600, true, true);
    PushAndDrain(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(program->CallList(), "ActivateCB(0)");
    EXPECT_TRUE(EngDeviceIsCreated());
}

TEST_F(EngWindowDeviceTest, RequestedRecreationRunsAtTheNextPump)
{
    Open(800, 600, true, true);
    window->RequestRecreateDevice();
    EXPECT_EQ(program->CallList(), "");
    window->Pump();
    EXPECT_EQ(program->CallList(), std::string(destroy_half) + ", " + create_half);
    EXPECT_FALSE(window->IsDeviceRecreationRequested());
}

TEST_F(EngWindowDeviceTest, SystemSuspendRemakesGraphicsObjectsOnTheSameDevice)
{
    Open(800, 600, true, true);
    SDL_Event event = {};
    event.type = SDL_APP_WILLENTERBACKGROUND;
    PushAndDrain(event);
    EXPECT_EQ(program->CallList(), std::string(destroy_half) + ", SuspendCB(1)");
    EXPECT_TRUE(EngDeviceIsCreated()) << "suspending keeps the device";
    EXPECT_TRUE(program->IsSuspended());

    program->Clear();
    event.type = SDL_APP_DIDENTERFOREGROUND;
    PushAndDrain(event);
    EXPECT_EQ(program->CallList(), std::string(create_half) + ", SuspendCB(0)");
    EXPECT_FALSE(program->IsSuspended());
}

TEST_F(EngWindowDeviceTest, ShutdownClosesWithTheCloseCallbacks)
{
    Open(800, 600, true, true);
    program->Shutdown(true);
    EXPECT_EQ(program->CallList(),
              std::string("PreCloseWindowCB, ") + destroy_half + ", PostCloseWindowCB");
    EXPECT_EQ(eng_main_window, nullptr);
}

// A save that fails while the window closes shows its popup, whose way out closes the program: close-down
// must not start again from inside itself. The popup is logged, and the window closes once.
TEST_F(EngWindowDeviceTest, PopupWhileClosingDownIsLoggedAndTheWindowClosesOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("TORVI_NONINTERACTIVE", "1", 1);
            Open(800, 600, true, true);
            program->on_pre_close = [] {
                EngMiscShowPopupMessage(ENG_POPUP_ERROR, "Problem Writing to Resolution File",
                                        "Could not write to file  Resolution.dat  .");
            };
            int mark = LogMark();
            program->Shutdown(true);
            bool once = program->Count("PreCloseWindowCB") == 1 && program->Count("PostCloseWindowCB") == 1;
            bool logged = LogCountSince(mark, "Problem Writing to Resolution File") == 1;
            std::_Exit(once && logged && !eng_main_window && !eng_main_program ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}
} // namespace

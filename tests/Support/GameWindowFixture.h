#pragma once
// The game started as the program starts it: a private preferences folder, the start-up hooks, a main window
// and its device (640 x 480 unless a test asks for another size, so virtual units are pixels), the splash run
// past and the first screen on. Input reaches it as SDL or the window procedure hands it on; the game's clock
// is driven here at 60 frames a second.
//
//   class BigWindow : public GameWindowFixture {
//   protected:
//       BigWindow() { width = 1024; height = 768; }
//   };

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <string>

#include "Engine/Core/EngMainEntry.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngWindowProc_PC.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinPopup.h"
#include "Engine/MWin/MWinWindow.h"
#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Levels.h"
#include "Game/Main.h"
#include "Game/Program.h"
#include "Game/Resolution.h"
#include "Game/Screens/Splash.h"
#include "Game/Screens/TorviCollectionController.h"
#include "Game/Screens/TorviScreens.h"
#include "Game/StateClass.h"
#include "Game/Users.h"
#include "Support/GameTestSupport.h"

// A key going down or up on the main window, as SDL reports it.
inline SDL_Event MainWindowKeyEvent(Uint32 type, SDL_Scancode scancode, SDL_Keycode sym)
{
    SDL_Event event = {};
    event.type = type;
    event.key.windowID = SDL_GetWindowID(eng_main_window->GetWindowHandle_PC());
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = sym;
    return event;
}

class GameWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        home = UseFreshDataHome();
        ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_VIDEO)) << SDL_GetError();
        int exit_code = 0;
        ASSERT_EQ(1, StartGame(&exit_code));
        _EngCreateWindowParms* parms = MainGetCreateWindowParms();
        parms->windowed = 1;
        parms->width = width;
        parms->height = height;
        ResolutionGetSettings()->cursor_type = cursor_type;
        ASSERT_EQ(1, EngMainCreateMainWindow());
        ASSERT_TRUE(EngMainCreateMainGraphicsDevice());
        for (int frame = 0; frame < 1000 && SplashIsOn(); frame++)
            Run(1.0 / 60.0);
        ASSERT_FALSE(SplashIsOn());
        program = MainGetProgram();
        game = program->GetGame();
        ASSERT_NE(nullptr, game);
        mwin = game->GetMWin();
        screens = game->GetScreens();
    }

    void TearDown() override
    {
        MainDestroyMainProgram(true);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // Frames of the whole game, menus or race, at 60 a second on the game's clock.
    void Run(double seconds)
    {
        for (int i = 0; i < int(seconds * 60.0 + 0.5); i++) {
            eng_frame_time = 1.0f / 60.0f;
            eng_time += 1.0 / 60.0;
            MainGetProgram()->TickCB();
        }
    }
    // Frames until done says so, at most max_seconds of them; whether it did.
    template <typename Done> bool RunUntil(Done done, double max_seconds = 60.0)
    {
        for (int i = 0; i < int(max_seconds * 60.0) && !done(); i++)
            Run(1.0 / 60.0);
        return done();
    }
    bool RunUntilRacing(double max_seconds = 60.0)
    {
        return RunUntil([this] { return game->GetState()->GetState() == RACE_STATE_RACING; }, max_seconds);
    }

    // The current profile named and past the driving test, so every screen is open to it.
    UserRecord* PlayingDriver(const char* name)
    {
        UserRecord* profile = game->GetCurrentProfile();
        snprintf(profile->name, sizeof profile->name, "%s", name);
        profile->license_test_state = USER_LICENSE_NORMAL_PLAY;
        return profile;
    }
    // A race against the first computer drivers, handed to the game as its screens hand it over.
    void StartRace(_GameType type, int track, int cars, int laps = 0)
    {
        const int opponents[LEVELS_NUM_DRIVERS] = {0, 1, 2, 3, 4, 5, 6};
        ASSERT_TRUE(game->GetLevels()->SetupRaceOpponents(cars - 1, opponents));
        ASSERT_TRUE(game->SetupRace(type, track, cars, false, 0, 0));
        if (laps > 0)
            game->GetCar()->SetLaps(laps);
        game->StartRace(true);
    }

    // One frame as the main loop draws it, left unpresented so it can be read back.
    void DrawFrame()
    {
        program->RenderCB();
        eng_main_window->RenderTextureCursor_PC();
    }

    // An SDL event on the main window, pumped through the window procedure.
    void Deliver(SDL_Event event)
    {
        ASSERT_EQ(1, SDL_PushEvent(&event)) << SDL_GetError();
        for (int i = 0; i < 100 && EngMainPumpOneMessage_PC() == 2; i++) {
        }
    }
    // A key pressed and released on the window, with a frame while it is down.
    void PressKey(SDL_Scancode scancode, SDL_Keycode sym)
    {
        Deliver(MainWindowKeyEvent(SDL_KEYDOWN, scancode, sym));
        Run(1.0 / 60.0);
        Deliver(MainWindowKeyEvent(SDL_KEYUP, scancode, sym));
    }
    void MovePointer(int x, int y)
    {
        SDL_Event event = {};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = SDL_GetWindowID(eng_main_window->GetWindowHandle_PC());
        event.motion.x = x;
        event.motion.y = y;
        Deliver(event);
    }

    // Input as the window procedure hands it to the GUI, then one menu frame.
    void Event(_EngInputEventType type, EngUInt32 value1, EngUInt32 value2)
    {
        mwin->HandleInputEvent(int(type), value1, value2);
    }
    void Frame()
    {
        mwin->Tick();
        screens->Tick();
    }
    // A click in the middle of a button that can be clicked, as a player would; false when it cannot.
    bool Click(MWinButton* button)
    {
        if (!button || !button->IsShown() || !button->IsEnabled())
            return false;
        const _Dimension* area = button->GetScreenArea();
        Event(_EngInputEventType::MouseMove, EngInputEventFromFloat(area->x + area->w / 2),
              EngInputEventFromFloat(area->y + area->h / 2));
        Event(_EngInputEventType::MouseButton, 0, 1);
        Event(_EngInputEventType::MouseButton, 0, 0);
        Frame();
        return true;
    }
    bool Click(int index) { return Click(Button(index)); }
    void Key(int key)
    {
        Event(_EngInputEventType::KeyDown, EngUInt32(key), 0);
        Event(_EngInputEventType::KeyUp, EngUInt32(key), 0);
        Frame();
    }
    void Type(const char* text)
    {
        for (const char* c = text; *c; c++)
            Event(_EngInputEventType::Character, EngUInt32(static_cast<unsigned char>(*c)), 0);
    }

    TorviCollectionController* Current() const
    {
        return static_cast<TorviCollectionController*>(screens->GetController(screens->GetCurrentScreen()));
    }
    MWinButton* Button(int index) const { return Current()->GetButton(index); }
    // The text of a screen's button, "" without one; "(no button)" where the screen has no such button.
    static std::string Text(TorviCollectionController* screen, int index)
    {
        MWinButton* button = screen->GetButton(index);
        if (!button)
            return "(no button)";
        return button->HasText(0) ? button->GetTextP(0) : "";
    }
    std::string Text(int index) const { return Text(Current(), index); }
    // The ids of the collections on the desktop, separated by spaces.
    std::string DesktopCollections() const
    {
        std::string ids;
        for (MWinCollection* c = mwin->GetDesktop()->GetFirstCollection(); c; c = c->GetNext())
            ids += std::string(ids.empty() ? "" : " ") + c->GetID();
        return ids;
    }

    // The open popup, its title and text ("" without one), and its buttons.
    MWinWindow* PopupWindow() const
    {
        MWinCollection* popups = mwin->IsPopupOn() ? mwin->GetPopupCollection() : nullptr;
        return popups ? popups->GetWindowFromID(MWIN_POPUP_WINDOW_ID, 0) : nullptr;
    }
    std::string PopupTitle() const
    {
        MWinWindow* popup = PopupWindow();
        return popup ? popup->GetTitle() : "";
    }
    std::string PopupText() const
    {
        MWinWindow* popup = PopupWindow();
        MWinButton* text = popup ? popup->GetButtonFromID(MWIN_POPUP_MESSAGE_ID, 0) : nullptr;
        return text && text->HasText(0) ? text->GetTextP(0) : "";
    }
    bool AnswerPopup(const char* button_id)
    {
        MWinWindow* popup = PopupWindow();
        return Click(popup ? popup->GetButtonFromID(button_id, 0) : nullptr);
    }

    // Set before SetUp, in a derived fixture's constructor.
    int width = 640;
    int height = 480;
    EngUInt8 cursor_type = 1; // the start-up settings' choice: 0 texture cursor, 1 system cursor (their own)

    std::string home;
    Program* program = nullptr;
    Game* game = nullptr;
    MWin* mwin = nullptr;
    TorviScreens* screens = nullptr;
};

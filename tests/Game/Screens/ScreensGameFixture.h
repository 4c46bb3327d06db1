#pragma once

// The game started as the program starts it (hooks, a 640 x 480 window and its device, so virtual units are
// pixels), its screens set up and the first one started: the screens are walked with clicks and keys.

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <string>

#include "Engine/Core/EngMainEntry.h"
#include "Engine/Core/PC/EngWindowProc_PC.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinPopup.h"
#include "Engine/MWin/MWinWindow.h"
#include "Game/Game.h"
#include "Game/GameTestSupport.h"
#include "Game/Main.h"
#include "Game/Program.h"
#include "Game/Screens/TorviCollectionController.h"
#include "Game/Screens/TorviScreens.h"

class ScreensGameFixture : public ::testing::Test
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
        parms->width = 640;
        parms->height = 480;
        ASSERT_EQ(1, EngMainCreateMainWindow());
        ASSERT_TRUE(EngMainCreateMainGraphicsDevice());
        RunPastSplash();
        game = MainGetProgram()->GetGame();
        mwin = game->GetMWin();
        screens = game->GetScreens();
    }

    void TearDown() override
    {
        MainDestroyMainProgram(true);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // The ids of the collections on the desktop, separated by spaces.
    std::string DesktopCollections() const
    {
        std::string ids;
        for (MWinCollection* c = mwin->GetDesktop()->GetFirstCollection(); c; c = c->GetNext())
            ids += std::string(ids.empty() ? "" : " ") + c->GetID();
        return ids;
    }

    // Input as the window procedure hands it on, then one menu frame.
    void Event(_EngInputEventType type, EngUInt32 value1, EngUInt32 value2)
    {
        mwin->HandleInputEvent(int(type), value1, value2);
    }
    void Frame()
    {
        mwin->Tick();
        screens->Tick();
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
    // A key pressed and released on the window, through the window procedure, then one frame.
    void PressKey(SDL_Scancode scancode, SDL_Keycode sym)
    {
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event event = {};
            event.type = type;
            event.key.windowID = SDL_GetWindowID(eng_main_window->GetWindowHandle_PC());
            event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
            event.key.keysym.scancode = scancode;
            event.key.keysym.sym = sym;
            ASSERT_EQ(1, SDL_PushEvent(&event)) << SDL_GetError();
            for (int i = 0; i < 100 && EngMainPumpOneMessage_PC() == 2; i++) {
            }
            if (type == SDL_KEYDOWN)
                Run(1.0 / 60.0);
        }
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
    bool Click(int index) { return Click(Current()->GetButton(index)); }
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

    // The open popup's title and text ("" without one), and its buttons.
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

    TorviCollectionController* Current() const
    {
        return static_cast<TorviCollectionController*>(screens->GetController(screens->GetCurrentScreen()));
    }

    MWinWindow* PopupWindow() const
    {
        MWinCollection* popups = mwin->IsPopupOn() ? mwin->GetPopupCollection() : nullptr;
        return popups ? popups->GetWindowFromID(MWIN_POPUP_WINDOW_ID, 0) : nullptr;
    }

    std::string home;
    Game* game = nullptr;
    MWin* mwin = nullptr;
    TorviScreens* screens = nullptr;
};

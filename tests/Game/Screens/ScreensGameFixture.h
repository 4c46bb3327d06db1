#pragma once

// The game started through its own start-up hooks with its GUI on and the game's screen registry set up,
// without a window: enough to walk the screens and press their buttons.

#include <gtest/gtest.h>

#include <string>

#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinDesktop.h"
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
        int exit_code = 0;
        ASSERT_EQ(1, StartGame(&exit_code));
        game = MainGetProgram()->GetGame();
        mwin = game->GetMWin();
        mwin->Startup();
        screens = new TorviScreens(game, mwin);
        ASSERT_EQ(1, screens->SetupAllScreens());
    }

    void TearDown() override
    {
        delete screens;
        MainDestroyMainProgram(true);
    }

    // The ids of the collections on the desktop, separated by spaces.
    std::string DesktopCollections() const
    {
        std::string ids;
        for (MWinCollection* c = mwin->GetDesktop()->GetFirstCollection(); c; c = c->GetNext())
            ids += std::string(ids.empty() ? "" : " ") + c->GetID();
        return ids;
    }

    TorviCollectionController* Current() const
    {
        return static_cast<TorviCollectionController*>(screens->GetController(screens->GetCurrentScreen()));
    }

    std::string home;
    Game* game = nullptr;
    MWin* mwin = nullptr;
    TorviScreens* screens = nullptr;
};

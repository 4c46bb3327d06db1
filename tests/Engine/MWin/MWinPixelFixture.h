#pragma once
// A GUI drawn into a real context for pixel tests: the game font as "Main", a started MWin with one collection
// "SCREEN" and one full-screen window "MAIN", a frame drawn over white, and pixel counts of the virtual screen.

#include <gtest/gtest.h>

#include <cstdlib>

#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinFontRegistry.h"
#include "Engine/MWin/MWinWindow.h"
#include "MWinButtonFixture.h"
#include "Support/GLTestContext.h"
#include "Support/GameFontForTests.h"
#include "Support/TestScratchFiles.h"
#include "Support/VirtualScreenPixels.h"

class MWinPixels : public GLTestFixture {
protected:
    void SetUp() override
    {
        GLTestFixture::SetUp();
        ASSERT_TRUE(CreateGameFontForTests(&font));
        mwin = new MWin(nullptr);
        ASSERT_EQ(mwin->GetFonts()->AddUserFontPointer("Main", &font), 0);
        BeforeStartup();
        if (HasFatalFailure())
            return;
        mwin->Startup();
        MWinCollection* c = mwin->GetDesktop()->AddCollection("SCREEN");
        _MWinWindowCreateInfo info = MainWindowInfo();
        window = c->AddWindow("MAIN", &info);
    }
    void TearDown() override
    {
        if (mwin)
            mwin->DestroyGraphicsObjects();
        delete mwin;
        font.Destroy();
        scratch.RemoveAll();
        GLTestFixture::TearDown();
    }
    // Called before the GUI starts, for what must be registered first.
    virtual void BeforeStartup() {}
    virtual _MWinWindowCreateInfo MainWindowInfo() const { return PlacedWindowInfo(0, 0, 640, 480); }

    // A white frame, then the GUI (and the popups when with_popups is set); the clear colour is left at the
    // given one for the GUI's own clearing.
    void DrawFrame(float r = 1, float g = 1, float b = 1)
    {
        EngDeviceBeginRendering();
        EngDeviceSetClearColour(1, 1, 1);
        EngDeviceClearScreen();
        EngDeviceSetClearColour(r, g, b);
        mwin->RenderMain();
        if (with_popups)
            mwin->RenderPopups();
        EngDeviceEndRendering();
    }
    // Pixels of a virtual-screen rectangle near the given colour.
    int ColourPixels(float x, float y, float w, float h, int r, int g, int b)
    {
        return CountVirtualPixels(gl, {x, y, w, h}, [r, g, b](int pr, int pg, int pb) {
            return std::abs(pr - r) < 8 && std::abs(pg - g) < 8 && std::abs(pb - b) < 8;
        });
    }

    EngFont font;
    TestScratchFiles scratch;
    MWin* mwin = nullptr;
    MWinWindow* window = nullptr;
    bool with_popups = false;
};

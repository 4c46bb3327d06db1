#pragma once
// Helpers for the tests of check boxes, choices, range sliders, drop-down lists and panels: a headless fixture
// that records every callback with its kind data, and a pixel fixture whose standard texture buttons are solid
// colours so each drawn part can be found on the screen.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/MWin/MWinTextureRegistry.h"
#include "MWinButtonFixture.h"
#include "MWinPixelFixture.h"

class WidgetFixture : public MWinFixture {
public:
    static void Capture(MWin*, _MWinButtonCallbackInfo* info, int, int, void* user)
    {
        WidgetFixture* self = static_cast<WidgetFixture*>(user);
        self->fired.push_back(*info);
        // A screen change: every button of the screen goes.
        if (self->delete_on_fire) {
            self->mwin->GetDesktop()->RemoveCollection("SCREEN");
            self->window = nullptr;
            self->collection = nullptr;
        }
    }

protected:
    MWinButton* AddKind(const char* id, int kind, float x, float y, float w, float h, const char* text = "")
    {
        MWinButton* b = window->AddButton(id, kind, MWIN_TEXBUT_NONE, text, x, y, w, h);
        if (b)
            b->SetCallback(&WidgetFixture::Capture, 0, 0, this, 1);
        return b;
    }
    void TearDown() override
    {
        EngKeyStateTableClear();
        MWinFixture::TearDown();
    }

    std::vector<_MWinButtonCallbackInfo> fired;
    bool delete_on_fire = false;
};

class WidgetPixels : public MWinPixels {
protected:
    void SetUp() override
    {
        MWinPixels::SetUp();
        if (HasFatalFailure())
            return;
        textures = mwin->GetTextures();
        AddColour("Red", 255, 0, 0);
        AddColour("Green", 0, 255, 0);
        AddColour("Blue", 0, 0, 255);
        AddColour("Grey", 128, 128, 128);
    }
    // A texture of one colour and a texture button of the same id drawn with it in every state.
    void AddColour(const char* id, unsigned char r, unsigned char g, unsigned char b)
    {
        std::string file = scratch.SolidTga(id, r, g, b);
        ASSERT_FALSE(file.empty());
        ASSERT_EQ(textures->AddTexture(id, file.c_str(), 1, 0), 1);
        ASSERT_NE(textures->AddTextureButton(id, id, 0, 0, 1, 1, id, 0, 0, 1, 1, id, 0, 0, 1, 1, id, 0, 0, 1, 1),
                  nullptr);
    }
    void Standard(int slot, const char* colour) { ASSERT_EQ(textures->SetStandardTextureToTexBut(slot, colour), 1); }
    int DarkPixels(float x, float y, float w, float h)
    {
        return CountVirtualPixels(gl, {x, y, w, h}, [](int r, int g, int b) { return r < 90 && g < 90 && b < 90; });
    }
    // Every pixel of the rectangle, as the screen's scale maps it.
    int Area(float w, float h) const { return int(w * eng_scale_x) * int(h * eng_scale_y); }

    MWinTextures* textures = nullptr;
};

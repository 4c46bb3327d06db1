// A small screen (a window with a push button and a text field) and a popup over it, drawn with the game
// font into a real OpenGL context and read back.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinFontRegistry.h"
#include "Engine/MWin/MWinTextureRegistry.h"
#include "Engine/MWin/MWinWindow.h"
#include "MWinButtonFixture.h"
#include "MWinPixelFixture.h"

namespace {

class PopupPixels : public MWinPixels
{
protected:
    void BeforeStartup() override
    {
        std::string picture = scratch.SolidTga("mwin-popup-test-blue", 64, 128, 255);
        MWinTextures* textures = mwin->GetTextures();
        ASSERT_EQ(textures->AddTexture("Solid", picture.c_str(), 1, 0), 1);
        ASSERT_NE(textures->AddTextureButton("Box", "Solid", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0, 0,
                                             0),
                  nullptr);
        std::string second_picture = scratch.SolidTga("mwin-popup-test-green", 0, 200, 0);
        ASSERT_EQ(textures->AddTexture("Green", second_picture.c_str(), 1, 0), 1);
        ASSERT_NE(textures->AddTextureButton("GreenBox", "Green", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0,
                                             0, 0),
                  nullptr);
    }
    _MWinWindowCreateInfo MainWindowInfo() const override
    {
        _MWinWindowCreateInfo info = PlacedWindowInfo(0, 0, 640, 480);
        MWinCopyID(info.back_texbut_id, MWIN_TEXBUT_NONE);
        MWinCopyID(info.font_id, "Main");
        return info;
    }
    void SetUp() override
    {
        MWinPixels::SetUp();
        if (HasFatalFailure())
            return;
        with_popups = true;
        go = window->AddButton("GO", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "GO GO", 20, 20, 200, 60);
        go->SetFont("Main");
        field = window->AddButton("NAME", MWIN_BUT_TEXTEDIT, MWIN_TEXBUT_NONE, "Driver", 20, 400, 200, 60);
        field->SetFont("Main");
        mwin->PopupSetAppearance("Box", "Box", "Main", MWIN_TEXBUT_NONE, "Main", 1, 0, 0, 1, -1, -1, 0, 0, 0, 1, -1,
                                 -1, -1);
        mwin->PopupSetBoxSizes(300, 480, 120, 30);
    }
    // Pixels of a virtual-screen rectangle that pass the test.
    template <typename F> int CountPixels(const _Dimension& area, F test)
    {
        return CountVirtualPixels(gl, area, test);
    }
    static bool Black(int r, int g, int b) { return r < 60 && g < 60 && b < 60; }
    static bool Red(int r, int g, int b) { return r > 200 && g < 60 && b < 60; }
    static bool Near(int v, int want) { return std::abs(v - want) < 10; }

    MWinButton* go = nullptr;
    MWinButton* field = nullptr;
};

TEST_F(PopupPixels, ButtonAndFieldTextsReachTheScreen)
{
    DrawFrame();
    EXPECT_GT(CountPixels(*go->GetScreenArea(), Black), 30) << "the button's text is drawn";
    EXPECT_GT(CountPixels(*field->GetScreenArea(), Black), 30) << "the field's text is drawn";
    _Dimension empty = {300, 200, 100, 60};
    EXPECT_EQ(CountPixels(empty, Black), 0);
}

TEST_F(PopupPixels, APopupLiesUndimmedOverTheDimmedScreen)
{
    ASSERT_EQ(mwin->PopupMessage("Notice", "Hello there"), 1);
    DrawFrame();
    MWinWindow* box = mwin->m_popup_window;
    ASSERT_NE(box, nullptr);
    const _Dimension& area = box->GetScreenArea();
    EXPECT_GE(area.w, 300.0f) << "the program's minimum box width";
    _Dimension inside = {area.x + 2, area.y + 2, 8, 8};
    EXPECT_EQ(CountPixels(inside, [](int r, int g, int b) { return Near(r, 64) && Near(g, 128) && Near(b, 255); }),
              int(8 * eng_scale_x) * int(8 * eng_scale_y))
        << "the box is drawn after the dimming";
    _Dimension corner = {600, 10, 20, 20};
    EXPECT_EQ(CountPixels(corner, [](int r, int g, int b) { return Near(r, 128) && Near(g, 128) && Near(b, 128); }),
              int(20 * eng_scale_x) * int(20 * eng_scale_y))
        << "the screen below is dimmed by half";
    ASSERT_NE(mwin->m_popup_message_button, nullptr);
    EXPECT_GT(CountPixels(*mwin->m_popup_message_button->GetScreenArea(), Red), 20) << "the message is drawn";
    ASSERT_NE(mwin->m_popup_buttons[0], nullptr);
    EXPECT_GT(CountPixels(*mwin->m_popup_buttons[0]->GetScreenArea(), Red), 10) << "the OK button's text";
    EXPECT_GT(CountPixels(*go->GetScreenArea(), Black), 30) << "the screen's own text still shows";

    mwin->PopupCloseIfOn();
    DrawFrame();
    EXPECT_EQ(CountPixels(corner, [](int r, int g, int b) { return r > 245 && g > 245 && b > 245; }),
              int(20 * eng_scale_x) * int(20 * eng_scale_y))
        << "closing the popup lifts the dimming";
    EXPECT_EQ(CountPixels(inside, [](int r, int g, int b) { return Near(r, 64) && Near(g, 128) && Near(b, 255); }),
              0);
}

TEST_F(PopupPixels, ALongMessageWrapsInsideTheMaximumWidth)
{
    std::string text;
    for (int i = 0; i < 30; i++)
        text += "wrapping words ";
    ASSERT_EQ(mwin->PopupMessage("Notice", text.c_str()), 1);
    MWinWindow* box = mwin->m_popup_window;
    EXPECT_LE(box->GetRequestedArea().w, 480.0f + 20.0f);
    EXPECT_GT(mwin->m_popup_message_button->GetScreenArea()->h, 40.0f) << "several lines";
    DrawFrame();
    EXPECT_GT(CountPixels(*mwin->m_popup_message_button->GetScreenArea(), Red), 100);
}

} // namespace

namespace {

TEST_F(PopupPixels, AClickInsideAnEditingFieldPlacesTheCaretBetweenCharacters)
{
    field->TextEditSetText("WWWW");
    const _Dimension* area = field->GetScreenArea();
    float cy = area->y + area->h / 2;
    mwin->MouseMove(area->x + 5, cy);
    mwin->ButtonPressed(0, 1, 0);
    mwin->ButtonPressed(0, 0, 0);
    ASSERT_TRUE(field->TextEditIsEditing());
    // The text is centred at the field's scale; the caret goes before the first character at or right of
    // the pointer.
    float sx = 1, sy = 1;
    font.GetScaleXY(&sx, &sy);
    font.SetScale(eng_aspect_x, eng_aspect_y);
    float whole = font.GetStringWidth("WWWW");
    float two = font.GetStringWidth("WW");
    font.SetScale(sx, sy);
    float left = area->x + area->w / 2 - whole / 2;
    mwin->MouseMove(left + two - 1, cy);
    mwin->ButtonPressed(0, 1, 0);
    mwin->ButtonPressed(0, 0, 0);
    EXPECT_TRUE(field->TextEditIsEditing());
    EXPECT_EQ(field->GetTextEditData()->caret, 2);
    mwin->MouseMove(area->x + 2, cy);
    mwin->ButtonPressed(0, 1, 0);
    mwin->ButtonPressed(0, 0, 0);
    EXPECT_EQ(field->GetTextEditData()->caret, 0);
    mwin->MouseMove(area->x + area->w - 2, cy);
    mwin->ButtonPressed(0, 1, 0);
    mwin->ButtonPressed(0, 0, 0);
    EXPECT_EQ(field->GetTextEditData()->caret, 4);
}

TEST_F(PopupPixels, TheCaretShowsWhileEditing)
{
    field->TextEditSetText("ab");
    field->TextEditMoveCursorToButtonAndTurnOnEditing();
    field->GetTextEditData()->caret_visible = 1;
    DrawFrame();
    int with_caret = CountPixels(*field->GetScreenArea(), Black);
    field->GetTextEditData()->caret_visible = 0;
    DrawFrame();
    int without = CountPixels(*field->GetScreenArea(), Black);
    EXPECT_GT(with_caret, without) << "the caret adds dark pixels";
}

TEST_F(PopupPixels, AWordTooLongForALineIsBrokenInsideTheMaximumWidth)
{
    std::string word(200, 'W');
    ASSERT_EQ(mwin->PopupMessage("Notice", word.c_str()), 1);
    EXPECT_LE(mwin->m_popup_window->GetRequestedArea().w, 480.0f + 20.0f);
    EXPECT_GT(mwin->m_popup_message_button->GetScreenArea()->h, 40.0f) << "the word takes several lines";
    DrawFrame();
    const _Dimension& box = mwin->m_popup_window->GetScreenArea();
    _Dimension right_of_box = {box.x + box.w + 1, box.y, 640 - (box.x + box.w + 1), box.h};
    EXPECT_EQ(CountPixels(right_of_box, Red), 0) << "no text runs out of the box";
}

TEST_F(PopupPixels, TheActiveWindowIsDrawnOverTheInactiveOne)
{
    MWinCollection* c = mwin->GetDesktop()->GetCollectionFromID("SCREEN", 1);
    _MWinWindowCreateInfo info = PlacedWindowInfo(300, 150, 200, 150);
    MWinCopyID(info.back_texbut_id, "Box");
    MWinWindow* blue = c->AddWindow("BLUE", &info);
    info.x = 400;
    info.y = 200;
    MWinCopyID(info.back_texbut_id, "GreenBox");
    MWinWindow* green = c->AddWindow("GREEN", &info);
    _Dimension overlap = {420, 220, 20, 20};
    auto is_green = [](int r, int g, int b) { return r < 20 && Near(g, 200) && b < 20; };
    auto is_blue = [](int r, int g, int b) { return Near(r, 64) && Near(g, 128) && Near(b, 255); };
    const int all = int(20 * eng_scale_x) * int(20 * eng_scale_y);
    ASSERT_TRUE(green->IsActive());
    DrawFrame();
    EXPECT_EQ(CountPixels(overlap, is_green), all) << "the newest, active window lies on top";
    green->Deactivate();
    blue->Activate();
    DrawFrame();
    EXPECT_EQ(CountPixels(overlap, is_blue), all) << "active windows are drawn after inactive ones";
}

} // namespace

// A small screen (a window with a push button and a text field) and a popup over it, drawn with the game
// font into a real OpenGL context and read back.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

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
#include "Support/GLTestContext.h"

namespace {

bool CreateGameFont(EngFont* font)
{
    _EngFontCreationWord words[ENG_FONT_CREATION_WORDS] = {};
    words[0].i = 1;
    words[1].i = 9;
    words[2].i = 7;
    words[4].f = 0.803f;
    words[5].i = 3;
    words[6].i = 1;
    font->SetCreationParms(words);
    const float layout[ENG_FONT_LAYOUT_VALUES] = {0.12f, 0.213f, 1.109f, 5.952f, 0, 0, 0, 0};
    return font->CreateFromFontFile("Data/1001.dat", 1, 1, 31, 32, 126, nullptr, 0, layout, 1);
}

// An 8 x 8 picture of one colour, named for this process: tests run side by side.
std::string WriteSolidTga(const char* name, unsigned char r, unsigned char g, unsigned char b)
{
    std::string path = std::string("mwin-popup-test-") + name + "-" + std::to_string(getpid()) + ".tga";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return "";
    const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 8, 0, 32, 8};
    std::fwrite(header, 1, sizeof(header), f);
    for (int i = 0; i < 64; i++) {
        const unsigned char pixel[4] = {b, g, r, 255};
        std::fwrite(pixel, 1, sizeof(pixel), f);
    }
    std::fclose(f);
    return path;
}

class PopupPixels : public GLTestFixture
{
protected:
    void SetUp() override
    {
        GLTestFixture::SetUp();
        ASSERT_TRUE(CreateGameFont(&font));
        mwin = new MWin(nullptr);
        ASSERT_EQ(mwin->GetFonts()->AddUserFontPointer("Main", &font), 0);
        picture = WriteSolidTga("blue", 64, 128, 255);
        MWinTextures* textures = mwin->GetTextures();
        ASSERT_EQ(textures->AddTexture("Solid", picture.c_str(), 1, 0), 1);
        ASSERT_NE(textures->AddTextureButton("Box", "Solid", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0, 0,
                                             0),
                  nullptr);
        mwin->Startup();
        MWinCollection* c = mwin->GetDesktop()->AddCollection("SCREEN");
        _MWinWindowCreateInfo info;
        MWinWindowCreateInfoSetDefaults(&info);
        info.x = 0;
        info.y = 0;
        info.width = 640;
        info.height = 480;
        MWinCopyID(info.back_texbut_id, MWIN_TEXBUT_NONE);
        MWinCopyID(info.font_id, "Main");
        window = c->AddWindow("MAIN", &info);
        go = window->AddButton("GO", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "GO GO", 20, 20, 200, 60);
        go->SetFont("Main");
        field = window->AddButton("NAME", MWIN_BUT_TEXTEDIT, MWIN_TEXBUT_NONE, "Driver", 20, 400, 200, 60);
        field->SetFont("Main");
        mwin->PopupSetAppearance("Box", "Box", "Main", MWIN_TEXBUT_NONE, "Main", 1, 0, 0, 1, -1, -1, 0, 0, 0, 1, -1,
                                 -1, -1);
        mwin->PopupSetBoxSizes(300, 480, 120, 30);
    }
    void TearDown() override
    {
        delete mwin;
        font.Destroy();
        std::remove(picture.c_str());
        GLTestFixture::TearDown();
    }
    void DrawFrame()
    {
        EngDeviceBeginRendering();
        EngDeviceSetClearColour(1, 1, 1);
        EngDeviceClearScreen();
        mwin->RenderMain();
        mwin->RenderPopups();
        EngDeviceEndRendering();
    }
    // Pixels of a virtual-screen rectangle that pass the test.
    template <typename F> int CountPixels(const _Dimension& area, F test)
    {
        std::vector<unsigned char> rgba;
        if (!gl.ReadPixelsRGBA(int(area.x * eng_scale_x), int(area.y * eng_scale_y), int(area.w * eng_scale_x),
                               int(area.h * eng_scale_y), &rgba))
            return -1;
        int n = 0;
        for (size_t i = 0; i + 3 < rgba.size(); i += 4)
            n += test(rgba[i], rgba[i + 1], rgba[i + 2]) ? 1 : 0;
        return n;
    }
    static bool Black(int r, int g, int b) { return r < 60 && g < 60 && b < 60; }
    static bool Red(int r, int g, int b) { return r > 200 && g < 60 && b < 60; }
    static bool Near(int v, int want) { return std::abs(v - want) < 10; }

    EngFont font;
    std::string picture;
    MWin* mwin = nullptr;
    MWinWindow* window = nullptr;
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

} // namespace

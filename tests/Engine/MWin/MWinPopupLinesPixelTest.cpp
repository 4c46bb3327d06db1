// A popup's wrapped message drawn at several window sizes: every line of it must show inside the box, above the
// answer button. Texts are measured in the virtual screen, so the box must not shrink with the window's scale.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "Engine/Graphics/EngFont.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinFontRegistry.h"
#include "Engine/MWin/MWinWindow.h"
#include "MWinPixelFixture.h"

namespace {

struct WindowSize
{
    int width;
    int height;
};

void PrintTo(const WindowSize& size, std::ostream* out)
{
    *out << size.width << "x" << size.height;
}

class PopupLines : public MWinPixels, public ::testing::WithParamInterface<WindowSize>
{
protected:
    // As the pixel fixture, but in a window of the parameter's size.
    void SetUp() override
    {
        ASSERT_TRUE(gl.Open(GetParam().width, GetParam().height));
        ASSERT_TRUE(CreateGameFontForTests(&font));
        mwin = new MWin(nullptr);
        ASSERT_EQ(mwin->GetFonts()->AddUserFontPointer("Main", &font), 0);
        mwin->Startup();
        mwin->GetDesktop()->AddCollection("SCREEN");
        mwin->PopupSetAppearance(MWIN_TEXBUT_NONE, MWIN_TEXBUT_NONE, "Main", MWIN_TEXBUT_NONE, "Main", 1, 0, 0, 1,
                                 0.9f, 1, 1, 0, 0, 1, -1, -1, -1);
        mwin->PopupSetBoxSizes(300, 480, 120, 30);
        with_popups = true;
    }
    float LineHeight()
    {
        font.SetScale(0.9f, 1);
        float widest = 0, height = 0;
        font.DrawMultilineText(0, 0, 1000, 1000, 0, 0, "X", 0, 0, &widest, &height, nullptr, nullptr);
        return height;
    }
    int RedPixels(const _Dimension& area)
    {
        return CountVirtualPixels(gl, area, [](int r, int g, int b) { return r > 150 && g < 90 && b < 90; });
    }
};

TEST_P(PopupLines, EveryLineOfAThreeLineMessageShowsInsideTheBox)
{
    ASSERT_EQ(mwin->PopupMessage("NOTICE", "FIRST LINE OF THE MESSAGE\nSECOND LINE\nTHIRD AND LAST LINE"), 1);
    DrawFrame();
    const MWinButton* label = mwin->m_popup_message_button;
    const MWinButton* ok = mwin->m_popup_buttons[0];
    ASSERT_NE(label, nullptr);
    ASSERT_NE(ok, nullptr);
    const _Dimension& box = mwin->m_popup_window->GetScreenArea();
    const _Dimension* text = label->GetScreenArea();
    const float line_h = LineHeight();
    ASSERT_GT(line_h, 5.0f);
    for (int line = 0; line < 3; line++) {
        const _Dimension band = {box.x, text->y + line * line_h, box.w, line_h};
        EXPECT_GT(RedPixels(band), 20) << "ink on line " << line + 1;
        EXPECT_LE(band.y + band.h, ok->GetScreenArea()->y) << "line " << line + 1 << " above the OK button";
    }
    EXPECT_LE(text->y + text->h, box.y + box.h) << "the message ends inside the box";
    EXPECT_LE(text->x + text->w, box.x + box.w);
    const _Dimension below = {box.x, box.y + box.h + 1, box.w, 480 - (box.y + box.h + 1)};
    EXPECT_EQ(RedPixels(below), 0) << "no text below the box";
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, PopupLines,
                         ::testing::Values(WindowSize{640, 480}, WindowSize{1024, 768}, WindowSize{1600, 1200}),
                         [](const ::testing::TestParamInfo<WindowSize>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

} // namespace

// The game's skin: its texture buttons against the table of the look, its metrics, its font, and its atlas
// reaching the screen through the toolkit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include <algorithm>

#include "Engine/Core/EngDebug.h"
#include "Engine/Graphics/DX9/EngTextureFileDX9.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinPixelFixture.h"
#include "Engine/MWin/MWinTextureRegistry.h"
#include "Game/Screens/TorviMWinSkin.h"
#include "Game/Screens/TorviMWinSkinTable.h"
#include "Support/LogForTests.h"

namespace {

// The look's texture buttons as the game defines them: id, standard slot (-1 own), which states have pictures
// ("B" for one, "-" for none) and the horizontal and vertical draw modes.
struct ExpectedTexBut {
    const char* id;
    int slot;
    const char* states;
    int mode_x;
    int mode_y;
};

const ExpectedTexBut k_expected[] = {
    {"ArrowL", -1, "BBBB", 0, 0},          {"ArrowR", -1, "BBBB", 1, 0},
    {"Back", -1, "B---", 2, 2},            {"Back1", -1, "B---", 2, 2},
    {"Back2", -1, "B---", 2, 2},           {"Black", -1, "B---", 2, 2},
    {"Box", -1, "B--B", 2, 1},             {"Main", -1, "BBBB", 2, 1},
    {"Panel", -1, "BBBB", 1, 1},           {"Start", -1, "BBBB", 0, 0},
    {"TitleBack", -1, "B---", 2, 2},       {"StdLeftArrow", 5, "B---", 0, 0},
    {"StdRightArrow", 6, "B---", 0, 0},    {"StdUpArrow", 7, "B---", 0, 0},
    {"StdDownArrow", 8, "B---", 0, 0},     {"StdScrollButton", 9, "B---", 0, 0},
    {"StdScrollBack", 10, "B---", 2, 0},   {"StdVScrollButton", 11, "B---", 0, 2},
    {"StdVScrollBack", 12, "B---", 0, 2},  {"StdListOpenMain", 13, "B---", 0, 0},
    {"StdListOpenTop", 14, "B---", 0, 0},  {"StdListOpenBot", 15, "B---", 0, 0},
    {"StdListOpenSel", 16, "B---", 0, 0},  {"StdCheckButton", 17, "B---", 0, 0},
    {"StdUnCheckButton", 18, "B---", 0, 0}, {"StdTabPanelHeading", 19, "B---", 2, 2},
    {"StdTabPanelVertDiv", 20, "B---", 1, 2}, {"StdTabPanelRowBack1", 21, "B---", 2, 0},
    {"StdTabPanelRowBack2", 22, "B---", 2, 0}, {"StdTabPanelRowSel", 23, "B---", 2, 0},
    {"StdPushButton", 27, "BBBB", 2, 1},   {"StdPanel", 30, "BBBB", 1, 1},
};

// The rectangles and draw values the look fixes.
struct FixedRect {
    const char* id;
    int state;
    float rect[4];
};

const FixedRect k_fixed_rects[] = {
    {"ArrowL", 0, {0.005f, 0.328f, 0.061f, 0.359f}}, {"ArrowL", 1, {0.127f, 0.627f, 0.249f, 0.874f}},
    {"ArrowL", 2, {0.251f, 0.628f, 0.374f, 0.875f}}, {"ArrowL", 3, {0.376f, 0.627f, 0.498f, 0.874f}},
    {"Back", 0, {0.0f, 0.001f, 0.25f, 0.249f}},      {"Back1", 0, {0.0f, 0.0f, 0.25f, 0.25f}},
    {"Back2", 0, {0.0f, 0.511f, 0.248f, 0.749f}},    {"Black", 0, {0.752f, 0.752f, 0.873f, 0.873f}},
    {"StdTabPanelRowSel", 0, {0.516f, 0.287f, 0.991f, 0.339f}},
};

struct FixedStyle {
    const char* id;
    float fraction_x, size_x, fraction_y, size_y;
};

const FixedStyle k_fixed_styles[] = {
    {"Back", 0.12f, 10, 0.12f, 12},
    {"Back1", 0.09f, 12, 0.09f, 12},
    {"Back2", 0.13f, 16, 0.17f, 11},
    {"Black", 0.13f, 3, 0.13f, 3},
};

class SkinTest : public ::testing::Test {
protected:
    void TearDown() override { delete mwin; }
    MWin* mwin = new MWin(nullptr);
};

} // namespace

TEST_F(SkinTest, DefinesEveryTextureButtonInOrderWithItsStatesSlotsAndModes)
{
    MWinTextures* textures = mwin->GetTextures();
    ASSERT_TRUE(TorviMWinSetupTexturesAndTexButs(mwin));
    EXPECT_EQ(0, textures->GetTextureNum("Buttons"));
    ASSERT_EQ(int(sizeof(k_expected) / sizeof(k_expected[0])), textures->GetNumTexButs());
    for (int i = 0; i < textures->GetNumTexButs(); i++) {
        const ExpectedTexBut& e = k_expected[i];
        SCOPED_TRACE(e.id);
        const _MWinTextureButton* b = textures->GetTexBut(i);
        ASSERT_NE(nullptr, b);
        EXPECT_EQ(0, std::strncmp(e.id, b->id, sizeof(b->id)));
        for (int s = 0; s < 4; s++)
            EXPECT_EQ(e.states[s] == 'B' ? 0 : -1, b->states[s].texture) << "state " << s;
        EXPECT_EQ(e.mode_x, b->style_x);
        EXPECT_EQ(e.mode_y, b->style_y);
        EXPECT_EQ(0.0f, b->extra_x + b->extra_top + b->extra_bottom);
        if (e.slot >= 0) {
            EXPECT_EQ(i, textures->GetStandardTexButNum(e.slot));
        }
    }
    for (const FixedRect& f : k_fixed_rects) {
        const _MWinTextureButton* b = textures->GetTexBut(textures->GetTexButNum(f.id));
        ASSERT_NE(nullptr, b) << f.id;
        for (int k = 0; k < 4; k++)
            EXPECT_FLOAT_EQ(f.rect[k], b->states[f.state].rect[k]) << f.id << " state " << f.state;
    }
    for (const FixedStyle& f : k_fixed_styles) {
        const _MWinTextureButton* b = textures->GetTexBut(textures->GetTexButNum(f.id));
        ASSERT_NE(nullptr, b) << f.id;
        EXPECT_FLOAT_EQ(f.fraction_x, b->end_fraction_x) << f.id;
        EXPECT_FLOAT_EQ(f.size_x, b->end_size_x) << f.id;
        EXPECT_FLOAT_EQ(f.fraction_y, b->end_fraction_y) << f.id;
        EXPECT_FLOAT_EQ(f.size_y, b->end_size_y) << f.id;
    }
    // Slots the look leaves alone stay empty: windows, title bars, labels, text fields and lists draw no frame.
    for (int slot : {0, 1, 3, 4, 28, 29})
        EXPECT_EQ(-1, textures->GetStandardTexButNum(slot)) << slot;
}

TEST_F(SkinTest, MissingMWinOrRegistryIsReported)
{
    int since = DebugGetMessageCount();
    EXPECT_FALSE(TorviMWinSetupTexturesAndTexButs(nullptr));
    EXPECT_FALSE(TorviMWinSetupSizes(nullptr));
    EXPECT_TRUE(LoggedSince(since, "No mwinp"));
}

TEST_F(SkinTest, SizesGoIntoAllFiveLayoutsWithTheirExceptions)
{
    ASSERT_TRUE(TorviMWinSetupSizes(mwin));
    const int fields[] = {7, 8, 9, 15, 16, 17, 19, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38};
    const float values[] = {60, 20, 3, 0, 0, 3, 10, 12, 12, 3, 12, 24, 12, 24, 15, 3, 3, 3, 12, 12, 3, 12, 12, 3, 3};
    for (int layout = 0; layout < MWIN_NUM_LAYOUTS; layout++) {
        SCOPED_TRACE(layout);
        const _MWinLayoutSettings* base = mwin->GetBaseLayoutSettings(layout);
        const _MWinLayoutSettings* working = mwin->GetLayoutSettings(layout);
        for (size_t i = 0; i < sizeof(fields) / sizeof(fields[0]); i++) {
            EXPECT_FLOAT_EQ(values[i], base->f[fields[i]]) << "field " << fields[i];
            EXPECT_FLOAT_EQ(values[i], working->f[fields[i]]) << "field " << fields[i];
        }
        EXPECT_FLOAT_EQ(layout == 1 || layout == 2 ? 6.0f : 3.0f, base->f[10]);
        EXPECT_FLOAT_EQ(layout == 0 ? 0.09f : 0.0f, base->f[18]);
    }
    _MWinSettings settings;
    mwin->GetSettings(&settings);
    EXPECT_EQ(1, settings.hover_activate_collection);
    EXPECT_EQ(0, settings.hover_activate_window);
}

TEST_F(SkinTest, FontNeedsAFontAFileAndNumberZero)
{
    EngFont font;
    int since = DebugGetMessageCount();
    EXPECT_FALSE(TorviMWinCreateFontApart(0, "Data\\1001.dat", nullptr));
    EXPECT_FALSE(TorviMWinCreateFontApart(0, "", &font));
    EXPECT_FALSE(TorviMWinCreateFontApart(0, nullptr, &font));
    EXPECT_FALSE(TorviMWinCreateFontApart(1, "Data\\1001.dat", &font));
    EXPECT_TRUE(LoggedSince(since, "Bad font number 1"));
    EXPECT_FALSE(TorviMWinCreateFontApart(0, "Data\\NoSuchFont.dat", &font));
    EXPECT_TRUE(LoggedSince(since, "EngFont::Create failed <Main>"));
    EXPECT_FALSE(font.IsSetup());
}

namespace {

// The toolkit's GUI with the game's skin registered before it starts.
class SkinPixels : public MWinPixels {
protected:
    void BeforeStartup() override
    {
        ASSERT_TRUE(TorviMWinSetupTexturesAndTexButs(mwin));
        ASSERT_TRUE(TorviMWinSetupSizes(mwin));
        ASSERT_TRUE(EngTextureFileDX9_Decode("Data\\1000.dat", 0, &atlas));
    }
    void TearDown() override
    {
        EngTextureFileDX9_Free(&atlas);
        MWinPixels::TearDown();
    }
    // The atlas' colour under texture coordinate (u, v), as R, G, B over the white frame.
    void AtlasColour(float u, float v, int rgb[3]) const
    {
        int x = std::min(atlas.width - 1, int(u * atlas.width));
        int y = std::min(atlas.height - 1, int(v * atlas.height));
        const unsigned char* p = atlas.pixels + (y * atlas.width + x) * 4;
        for (int c = 0; c < 3; c++)
            rgb[c] = (p[2 - c] * p[3] + 255 * (255 - p[3])) / 255;
    }
    // The share of the pixels down the middle column of a stretched button that show the atlas' pixels of the
    // state at the same height of its rectangle.
    double MiddleColumnMatch(const char* id, int state, const _Dimension& area)
    {
        const _MWinTextureButton* b = mwin->GetTextures()->GetTexBut(mwin->GetTextures()->GetTexButNum(id));
        const float* r = b->states[state].rect;
        std::vector<unsigned char> column;
        if (!ReadVirtualPixelsRGBA(gl, {area.x + area.w / 2, area.y, 1, area.h}, &column))
            return 0.0;
        const int rows = int(column.size() / 4);
        int matching = 0;
        for (int k = 0; k < rows; k++) {
            int rgb[3];
            AtlasColour((r[0] + r[2]) / 2, r[1] + (r[3] - r[1]) * (k + 0.5f) / rows, rgb);
            const unsigned char* p = &column[size_t(k) * 4];
            matching += std::abs(p[0] - rgb[0]) < 16 && std::abs(p[1] - rgb[1]) < 16 && std::abs(p[2] - rgb[2]) < 16;
        }
        return rows > 0 ? double(matching) / rows : 0.0;
    }
    _EngDecodedPicture atlas = {};
};

} // namespace

// A skinned push button shows the atlas' pixels of its state in its place: normal, then highlighted when the
// mouse is over it; the start button its own green; and the background around them is left alone.
TEST_F(SkinPixels, SkinnedButtonsShowTheAtlasInTheirPlaceNormalAndHighlighted)
{
    ASSERT_EQ(1, mwin->CreateGraphicsObjects());
    MWinButton* main = window->AddButton("GO", MWIN_BUT_PUSH, "Main", "", 100, 100, 200, 40);
    MWinButton* start = window->AddButton("RACE", MWIN_BUT_PUSH, "Start", "", 100, 300, 186, 48);
    ASSERT_NE(nullptr, main);
    ASSERT_NE(nullptr, start);
    DrawFrame();
    const _Dimension main_area = {100, 100, 200, 40};
    EXPECT_GE(MiddleColumnMatch("Main", 0, main_area), 0.85);
    EXPECT_GE(MiddleColumnMatch("Start", 0, {100, 300, 186, 48}), 0.85);
    EXPECT_EQ(ColourPixels(0, 0, 640, 90, 255, 255, 255), int(640 * eng_scale_x) * int(90 * eng_scale_y));

    main->SetHighlight();
    DrawFrame();
    EXPECT_GE(MiddleColumnMatch("Main", 1, main_area), 0.85);
    EXPECT_LT(MiddleColumnMatch("Main", 0, main_area), 0.2) << "the highlighted face differs from the normal";
}

// White text in the game font stands out over the push button's faces; on the disabled face it greys out with
// the sunken plate, still legible but no longer bright.
TEST_F(SkinPixels, TextStandsOutOnEveryFaceAndGreysOutWhenDisabled)
{
    ASSERT_EQ(1, mwin->CreateGraphicsObjects());
    MWinButton* b = window->AddButton("GO", MWIN_BUT_PUSH, "Main", "QUICK RACE", 100, 100, 240, 40);
    b->SetFont("Main");
    b->SetTextColour(1, 1, 1, 0.7f);
    for (int state : {MWIN_TS_NORMAL, MWIN_TS_HIGHLIGHTED, MWIN_TS_DISABLED}) {
        SCOPED_TRACE(state);
        if (state == MWIN_TS_HIGHLIGHTED)
            b->SetHighlight();
        if (state == MWIN_TS_DISABLED)
            b->Disable();
        DrawFrame();
        std::vector<unsigned char> face;
        ASSERT_TRUE(ReadVirtualPixelsRGBA(gl, {300, 120, 1, 1}, &face));
        const int face_sum = face[0] + face[1] + face[2];
        auto above = [this, face_sum](int by) {
            return CountVirtualPixels(gl, {120, 105, 200, 30},
                                      [face_sum, by](int r, int g, int bl) { return r + g + bl > face_sum + by; });
        };
        if (state == MWIN_TS_DISABLED) {
            EXPECT_EQ(0, above(150)) << "no glyph pixel stays bright on the disabled face";
            EXPECT_GT(above(30), 20) << "the text is still there to read";
        } else {
            EXPECT_GT(above(180), 40) << "glyph pixels well above the face";
        }
    }
}

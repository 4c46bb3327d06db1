// Fonts: creation checks, sheet packing, and text drawn into a real context.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/DX9/EngVertexBufferDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/Graphics/EngVertexBuffer.h"
#include "GraphicsTestUtil.h"
#include "Support/GLTestContext.h"
#include "Support/GameFontForTests.h"

namespace {

const char* const kFontFile = "Data\\1001.dat";
const float kPlainLayout[ENG_FONT_LAYOUT_VALUES] = {1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};

void SetMargin(EngFont* font, int margin)
{
    _EngFontCreationWord words[ENG_FONT_CREATION_WORDS] = {};
    words[0].i = margin;
    font->SetCreationParms(words);
}

bool CreatePlainFont(EngFont* font, int size = 16, int min_char = 32, int max_char = 126)
{
    SetMargin(font, 1);
    return font->CreateFromFontFile(kFontFile, 0, 1, size, min_char, max_char, nullptr, 0, kPlainLayout, 1);
}

// The box around every pixel brighter than the background's red, green or blue by more than a little.
struct Box {
    int left = 100000;
    int top = 100000;
    int right = -1;
    int bottom = -1;
    int max_red = 0;
    int max_green = 0;
    int max_blue = 0;
    bool Empty() const { return right < 0; }
};

Box LitBox(const GLTestContext& gl, int background_blue = 0)
{
    std::vector<unsigned char> rgba;
    Box box;
    const int w = eng_screen_width;
    const int h = eng_screen_height;
    if (!gl.ReadPixelsRGBA(0, 0, w, h, &rgba))
        return box;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned char* p = &rgba[((size_t)y * w + x) * 4];
            if (p[0] < 24 && p[1] < 24 && std::abs(p[2] - background_blue) < 24)
                continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x);
            box.bottom = std::max(box.bottom, y);
            box.max_red = std::max(box.max_red, (int)p[0]);
            box.max_green = std::max(box.max_green, (int)p[1]);
            box.max_blue = std::max(box.max_blue, (int)p[2]);
        }
    }
    return box;
}

// The outputs of a word-wrapped text drawn in pixel mode over a black frame.
struct Wrapped {
    float widest = 0;
    float height = 0;
    int lines = 0;
    char ended = 0;
};

Wrapped DrawWrapped(EngFont& font, float x, float y, float box_w, float box_h, const char* text)
{
    Wrapped out;
    BeginTestFrame(0, 0, 0);
    EngFontPrepareForDrawing(EFDM_PIXELS);
    font.DrawMultilineText(x, y, box_w, box_h, 0, 0, text, 1, 0, &out.widest, &out.height, &out.lines, &out.ended);
    EngFontRestoreAfterDrawing();
    EndTestFrame();
    return out;
}

} // namespace

TEST(FontPacking, CellsLieMarginPlusTwoApartAndFromTheEdges)
{
    EngFont font;
    SetMargin(&font, 1);
    struct Cell {
        int w, h, sheet, x, y;
    };
    // The third passes 512 across (409 + 200): a new row under the tallest cell of the last one. The fourth
    // fits across but not down: a new sheet.
    for (Cell c : {Cell{200, 100, 0, 3, 3}, {200, 50, 0, 206, 3}, {200, 300, 0, 3, 106}, {50, 450, 1, 3, 3}}) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        int sheet = -1, x = -1, y = -1;
        ASSERT_TRUE(font.AllocSheetPart(c.w, c.h, true, &sheet, &x, &y));
        EXPECT_EQ(c.sheet, sheet);
        EXPECT_EQ(c.x, x);
        EXPECT_EQ(c.y, y);
    }
    EXPECT_EQ(2, font.GetNumSheets());
}

TEST(FontPacking, CellLargerThanTheSheetIsRefused)
{
    EngFont font;
    SetMargin(&font, 1);
    int sheet = 0;
    int x = 0;
    int y = 0;
    ClearLogMark();
    EXPECT_FALSE(font.AllocSheetPart(510, 20, true, &sheet, &x, &y));
    EXPECT_FALSE(font.AllocSheetPart(20, 600, true, &sheet, &x, &y));
    EXPECT_TRUE(LogHas("Glyph cell too large"));
    EXPECT_EQ(0, font.GetNumSheets());
    EXPECT_TRUE(font.AllocSheetPart(509, 509, true, &sheet, &x, &y));
}

class Fonts : public GLTestFixture {};

TEST_F(Fonts, CreationArgumentsAreChecked)
{
    EngFont font;
    SetMargin(&font, 1);
    struct Case {
        const char* file;
        char channels;
        int size;
        int min_char;
        int max_char;
        const char* message;
    };
    const Case cases[] = {
        {"", 0, 16, 32, 126, "No font file name specified"},
        {kFontFile, 0, 16, 0, 31, "Bad max_char_needed [31]"},
        {kFontFile, 0, 16, 32, 256, "Bad max_char_needed [256]"},
        {kFontFile, 0, 16, 100, 90, "Bad min_char_needed [100]"},
        {kFontFile, 0, 16, -1, 90, "Bad min_char_needed [-1]"},
        {kFontFile, 0, 7, 32, 126, "Bad max bitmap size [7]"},
        {kFontFile, 0, 513, 32, 126, "Bad max bitmap size [513]"},
        {kFontFile, 2, 16, 32, 126, "Bad has_two_channels [2]"},
        {"Data\\no-such-font.ttf", 0, 16, 32, 126, "Could not find file <Data\\no-such-font.ttf>"},
    };
    for (const Case& c : cases) {
        ClearLogMark();
        EXPECT_FALSE(font.CreateFromFontFile(c.file, c.channels, 1, c.size, c.min_char, c.max_char, nullptr, 0,
                                             kPlainLayout, 1));
        EXPECT_TRUE(LogHas(c.message)) << c.message;
        EXPECT_FALSE(font.IsSetup());
    }
    ASSERT_TRUE(font.CreateFromFontFile(kFontFile, 0, 1, 16, 32, 126, nullptr, 0, kPlainLayout, 1));
    ClearLogMark();
    EXPECT_FALSE(font.CreateFromFontFile(kFontFile, 0, 1, 16, 32, 126, nullptr, 0, kPlainLayout, 1));
    EXPECT_TRUE(LogHas("FD already setup"));
    font.Destroy();
    EXPECT_TRUE(font.CreateFromFontFile(kFontFile, 0, 1, 16, 32, 126, nullptr, 0, kPlainLayout, 1));
}

TEST_F(Fonts, GlyphsTooLargeForTheSheetAreRefusedNotCopied)
{
    EngFont font;
    SetMargin(&font, 1);
    ClearLogMark();
    // 400 points at 150 dots per inch make glyphs far wider than a 512-pixel sheet.
    EXPECT_FALSE(font.CreateFromFontFile(kFontFile, 0, 1, 400, 65, 90, nullptr, 0, kPlainLayout, 1));
    EXPECT_TRUE(LogHas("Glyph cell too large"));
    EXPECT_TRUE(LogHas("No sheets"));
    EXPECT_FALSE(font.IsSetup());
}

TEST_F(Fonts, CellCoordinatesReachHalfTheMarginBeyondTheCell)
{
    EngFont font;
    ASSERT_TRUE(CreatePlainFont(&font, 16, 65, 65));
    EXPECT_EQ(0, font.GetCharSheet('A'));
    EXPECT_EQ(-1, font.GetCharSheet('B'));
    const EngVertexBufferDX9* quad = font.GetCharQuad('A');
    ASSERT_TRUE(quad && quad->IsCreated());
    const int stride = EngVertexBufferGetLayout(quad->GetType())->stride;
    const float* right_top = (const float*)(quad->GetVertexData() + 3 * stride);
    const float* left_bottom = (const float*)quad->GetVertexData();
    const float cell_w = right_top[0];
    const float cell_h = -left_bottom[1];
    ASSERT_GT(cell_w, 2.0f);
    // Corner 3 holds (uMax, vMin), corner 0 (uMin, vMax).
    EXPECT_FLOAT_EQ(2.5f / 512.0f, left_bottom[4]);
    EXPECT_FLOAT_EQ((3.0f + cell_h + 0.5f) / 512.0f, left_bottom[5]);
    EXPECT_FLOAT_EQ((3.0f + cell_w + 0.5f) / 512.0f, right_top[4]);
    EXPECT_FLOAT_EQ(2.5f / 512.0f, right_top[5]);
}

TEST_F(Fonts, UnfinishedQuadsStillSucceed)
{
    EngFont font;
    SetMargin(&font, 1);
    ClearLogMark();
    ASSERT_TRUE(font.CreateFromFontFile(kFontFile, 0, 1, 16, 65, 66, nullptr, 0, kPlainLayout, 0));
    EXPECT_TRUE(LogHas("normal polygon order not finished"));
    EXPECT_EQ(0, font.GetCharSheet('B'));
}

TEST_F(Fonts, NeededMapLimitsTheGlyphs)
{
    char map[128] = {};
    map['H'] = 1;
    map['i'] = 1;
    EngFont font;
    SetMargin(&font, 1);
    ASSERT_TRUE(font.CreateFromFontFile(kFontFile, 0, 1, 16, 32, 126, map, 100, kPlainLayout, 1));
    EXPECT_EQ(0, font.GetCharSheet('H'));
    EXPECT_EQ(-1, font.GetCharSheet('A'));
    // Codes at or past the map's length are all needed.
    EXPECT_EQ(0, font.GetCharSheet('i'));
    EXPECT_EQ(0, font.GetCharSheet('z'));
    EXPECT_EQ(0.0f, font.GetCharWidth('A'));
}

TEST_F(Fonts, WesternCharactersAboveTheAsciiRangeAreMade)
{
    EngFont font;
    ASSERT_TRUE(CreatePlainFont(&font, 16, 32, 255));
    const unsigned char western[] = {0x80, 0xC4, 0xE9, 0xFF};
    for (unsigned char c : western) {
        EXPECT_EQ(0, font.GetCharSheet(c)) << (int)c;
        EXPECT_GT(font.GetCharWidth(c), 0.0f) << (int)c;
    }
    EXPECT_FLOAT_EQ(font.GetCharWidth('a') + font.GetCharWidth(0xE9), font.GetStringWidth("a\xE9"));

    BeginTestFrame(0, 0, 0);
    EngFontPrepareForDrawing(EFDM_PIXELS);
    font.DrawStringPart(100, 100, "\xE9\xC4\x80", 0, 0);
    EngFontRestoreAfterDrawing();
    EndTestFrame();
    Box box = LitBox(gl);
    ASSERT_FALSE(box.Empty());
    EXPECT_GE(box.left, 98);
}

TEST_F(Fonts, TextIsDrawnInItsColourAtItsPlace)
{
    EngFont font;
    ASSERT_TRUE(CreatePlainFont(&font, 16));
    const float* offset = font.GetCharOffset('H');
    ASSERT_NE(nullptr, offset);
    font.SetColour(1.0f, 0.0f, 0.0f, 1.0f);

    BeginTestFrame(0, 0, 0);
    ASSERT_TRUE(EngFontPrepareForDrawing(EFDM_PIXELS));
    const float end = font.DrawStringPart(100, 120, "HHHH", 0, 0);
    EngFontRestoreAfterDrawing();
    EndTestFrame();

    EXPECT_FLOAT_EQ(100 + 4 * font.GetCharWidth('H'), end);
    Box box = LitBox(gl);
    ASSERT_FALSE(box.Empty());
    EXPECT_GT(box.max_red, 240);
    EXPECT_LT(box.max_green, 8);
    EXPECT_LT(box.max_blue, 8);
    // The glyph's top lies below y by the cell's offset and margin; its left after the bearing.
    EXPECT_NEAR(120.0f - offset[1] + 1.0f, (float)box.top, 2.0f);
    EXPECT_NEAR(100.0f + offset[0] + 1.0f, (float)box.left, 2.0f);
    EXPECT_LE(box.right, 100 + font.GetStringWidth("HHHH") + 1);
    EXPECT_GT(box.right, 100 + font.GetStringWidth("HHHH") * 0.8f);
}

TEST_F(Fonts, UncolouredTextIsWhiteEvenWithLightingOn)
{
    EngFont font;
    ASSERT_TRUE(CreatePlainFont(&font, 16));
    BeginTestFrame(0, 0, 1);
    EngDeviceTurnOnLighting();
    EngFontPrepareForDrawing(EFDM_VIRTUAL);
    font.DrawStringPart(50, 50, "WWW", 0, 0);
    EngFontRestoreAfterDrawing();
    EXPECT_TRUE(EngDeviceIsLightingOn());
    EndTestFrame();
    Box box = LitBox(gl, 255);
    ASSERT_FALSE(box.Empty());
    EXPECT_GT(box.max_red, 240);
    EXPECT_GT(box.max_green, 240);
}

TEST_F(Fonts, VirtualModeScalesToTheScreen)
{
    EngFont font;
    ASSERT_TRUE(CreatePlainFont(&font, 12));
    BeginTestFrame(0, 0, 0);
    EngFontPrepareForDrawing(EFDM_VIRTUAL);
    font.DrawString(320, 240, 1, 1, "MMMM", false);
    EngFontRestoreAfterDrawing();
    EndTestFrame();
    Box box = LitBox(gl);
    ASSERT_FALSE(box.Empty());
    // Centred on the middle of the screen both ways, within the glyphs' bearings.
    EXPECT_NEAR(320.0f, (box.left + box.right) / 2.0f, 4.0f);
    EXPECT_LT(box.top, 240);
    EXPECT_GT(box.bottom, 234);
}

TEST_F(Fonts, CodesPastTheLastCharacterAreSkippedWithoutAdvancing)
{
    EngFont font;
    ASSERT_TRUE(CreatePlainFont(&font, 16, 32, 126));
    BeginTestFrame(0, 0, 0);
    EngFontPrepareForDrawing(EFDM_PIXELS);
    const float end = font.DrawStringPart(10, 50, "A\xE9" "B", 0, 0);
    EngFontRestoreAfterDrawing();
    EndTestFrame();
    EXPECT_FLOAT_EQ(10 + font.GetCharWidth('A') + font.GetCharWidth('B'), end);
}

TEST_F(Fonts, RightLimitStopsAndDrawLimitHidesTheStart)
{
    EngFont font;
    ASSERT_TRUE(CreatePlainFont(&font, 16));
    const float m = font.GetCharWidth('M');
    ASSERT_GT(m, 5.0f);
    const char* text = "MMMMMMMMMMMMMMMMMMMM";
    BeginTestFrame(0, 0, 0);
    EngFontPrepareForDrawing(EFDM_PIXELS);
    // Stops at the first character whose running advance reaches 100.
    int reached = 0;
    while (reached * m < 100.0f)
        ++reached;
    EXPECT_FLOAT_EQ(10 + reached * m, font.DrawStringPart(10, 50, text, 0, 100.0f));
    EngFontRestoreAfterDrawing();
    EndTestFrame();
    Box limited = LitBox(gl);
    ASSERT_FALSE(limited.Empty());
    EXPECT_LE(limited.right, 10 + reached * m + 1);

    font.SetDrawLimitX(true, 50.0f);
    BeginTestFrame(0, 0, 0);
    EngFontPrepareForDrawing(EFDM_PIXELS);
    EXPECT_FLOAT_EQ(10 + 5 * m, font.DrawStringPart(10, 50, "MMMMM", 0, 0));
    EngFontRestoreAfterDrawing();
    EndTestFrame();
    Box hidden = LitBox(gl);
    ASSERT_FALSE(hidden.Empty());
    int first_drawn = 0;
    while (first_drawn * m < 50.0f)
        ++first_drawn;
    EXPECT_GE(hidden.left, 10 + (int)(first_drawn * m) - 1);
}

TEST_F(Fonts, MarkedCharacterReportsItsX)
{
    EngFont font;
    ASSERT_TRUE(CreatePlainFont(&font, 16));
    EXPECT_EQ(0.0f, font.SetCharIndexToLocate(2));
    BeginTestFrame(0, 0, 0);
    EngFontPrepareForDrawing(EFDM_PIXELS);
    font.DrawStringPart(10, 50, "abcd", 0, 0);
    EXPECT_FLOAT_EQ(10 + font.GetCharWidth('a') + font.GetCharWidth('b'), font.SetCharIndexToLocate(4));
    font.DrawStringPart(10, 50, "abcd", 0, 0);
    EngFontRestoreAfterDrawing();
    EndTestFrame();
    EXPECT_FLOAT_EQ(10 + font.GetStringWidth("abcd"), font.SetCharIndexToLocate(-1));
}

TEST_F(Fonts, ScaleAndColourSetters)
{
    EngFont font;
    EXPECT_FALSE(font.SetScale(2, 2));
    EXPECT_EQ(0.0f, font.GetStringWidth("abc"));
    ASSERT_TRUE(CreatePlainFont(&font, 16));
    const float width = font.GetStringWidth("abc");
    font.SetScale(2.0f, 3.0f);
    EXPECT_FLOAT_EQ(2 * width, font.GetStringWidth("abc"));
    EXPECT_FLOAT_EQ(10.0f - 3.0f * font.GetFontHeight(), font.GetAlignedY(10.0f, 2));
    font.SetScale(0.0f, 3.0f);
    EXPECT_FLOAT_EQ(width, font.GetStringWidth("abc"));
    font.SetColour(0.2f, 0.3f, 0.4f, 0.5f);
    font.SetColour(-1.0f, 0.9f, -1.0f, -1.0f);
    const float* c = font.GetColour();
    EXPECT_FLOAT_EQ(0.2f, c[0]);
    EXPECT_FLOAT_EQ(0.9f, c[1]);
    EXPECT_FLOAT_EQ(0.5f, c[3]);
}

TEST_F(Fonts, DrawingNeedsAPreparedStateAndAScene)
{
    EngFont font;
    ASSERT_TRUE(CreatePlainFont(&font, 16));
    ClearLogMark();
    EXPECT_FLOAT_EQ(7.0f, font.DrawStringPart(7, 10, "abc", 0, 0));
    EXPECT_TRUE(LogHas("Scene not on"));
    BeginTestFrame(0, 0, 0);
    EXPECT_FLOAT_EQ(7.0f, font.DrawStringPart(7, 10, "abc", 0, 0));
    EXPECT_TRUE(LogHas("Not ready for drawings"));
    EndTestFrame();
    EXPECT_TRUE(LitBox(gl).Empty());
}

TEST_F(Fonts, PreparingTwiceInMixedModesIsReported)
{
    bool here = false;
    BeginTestFrame(0, 0, 0);
    EXPECT_FALSE(EngFontPrepareForDrawingWithOrientationIfNeeded(EFDM_PIXELS, &here));
    EXPECT_TRUE(here);
    EXPECT_TRUE(EngFontPrepareForDrawingWithOrientationIfNeeded(EFDM_PIXELS, &here));
    EXPECT_FALSE(here);
    ClearLogMark();
    EXPECT_FALSE(EngFontPrepareForDrawingWithOrientationIfNeeded(EFDM_VIRTUAL, &here));
    EXPECT_TRUE(LogHas("Ratio mix problem"));
    EXPECT_EQ(EFDM_VIRTUAL, EngFontGetDrawingMode());
    EXPECT_TRUE(EngFontRestoreAfterDrawingIfPrepared());
    EXPECT_FALSE(EngFontRestoreAfterDrawingIfPrepared());
    EndTestFrame();
}

TEST_F(Fonts, SavedTextStateComesBackPrepared)
{
    BeginTestFrame(0, 0, 0);
    bool blend_on = false;
    EngDeviceDisableBlending();
    EngFontPrepareForDrawing(EFDM_VIRTUAL);
    ASSERT_TRUE(EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(true));
    EXPECT_FALSE(EngFontIsPreparedForDrawing());
    EngDeviceGetBlendingState(&blend_on, nullptr, nullptr);
    EXPECT_FALSE(blend_on);
    ClearLogMark();
    EXPECT_FALSE(EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(true));
    EXPECT_TRUE(LogHas("Already saved"));
    ASSERT_TRUE(EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(false));
    EXPECT_TRUE(EngFontIsPreparedForDrawing());
    EXPECT_EQ(EFDM_VIRTUAL, EngFontGetDrawingMode());
    EXPECT_FALSE(EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(false));
    EXPECT_TRUE(LogHas("Not saved"));
    EngFontRestoreAfterDrawing();
    EndTestFrame();
}

TEST_F(Fonts, MultilineTextWrapsSkipsAndStopsWhenFull)
{
    EngFont font;
    ASSERT_TRUE(CreatePlainFont(&font, 12));
    const float line = font.GetFontHeight();
    const char* text = "one two three four five six seven eight nine ten";
    const float box_w = font.GetStringWidth("three four") + 1.0f;
    float widest = 0;
    float height = 0;
    int lines = 0;
    char ended = 0;
    font.DrawMultilineText(0, 0, box_w, 1000, 0, 0, text, 0, 0, &widest, &height, &lines, &ended);
    const int all_lines = lines;
    EXPECT_GT(all_lines, 3);
    EXPECT_EQ(1, ended);
    EXPECT_FLOAT_EQ(all_lines * line, height);
    EXPECT_LE(widest, box_w);

    font.DrawMultilineText(0, 0, box_w, 1000, 0, 0, text, 0, 2, &widest, &height, &lines, &ended);
    EXPECT_EQ(all_lines - 2, lines);
    EXPECT_FLOAT_EQ((all_lines - 2) * line, height);

    font.DrawMultilineText(0, 0, box_w, 2.5f * line, 0, 0, text, 0, 0, &widest, &height, &lines, &ended);
    EXPECT_EQ(2, lines);
    EXPECT_EQ(0, ended);

    font.DrawMultilineText(0, 0, 500, 500, 0, 0, "first\nsecond", 0, 0, &widest, &height, &lines, &ended);
    EXPECT_EQ(2, lines);
    font.DrawMultilineText(0, 0, 500, 500, 0, 0, " ", 0, 0, &widest, &height, &lines, &ended);
    EXPECT_EQ(1, lines);
    EXPECT_FLOAT_EQ(line, height);
    EngFont unset;
    unset.DrawMultilineText(0, 0, 500, 500, 0, 0, "text", 0, 0, &widest, &height, &lines, &ended);
    EXPECT_EQ(0, lines);
    EXPECT_EQ(0.0f, height);
}

TEST_F(Fonts, WrappedTextInABoxNarrowerThanACharacterTakesOneCharacterALine)
{
    EngFont font;
    ASSERT_TRUE(CreatePlainFont(&font, 12));
    const float glyph_w = font.GetCharWidth('W');
    const Wrapped wrapped = DrawWrapped(font, 20, 20, glyph_w * 0.5f, 400, "WWWW");
    EXPECT_EQ(4, wrapped.lines);
    EXPECT_EQ(1, wrapped.ended);
    const Box box = LitBox(gl);
    ASSERT_FALSE(box.Empty());
    EXPECT_LT(box.right - box.left, 1.5f * glyph_w) << "one column of letters, never the whole text on a line";
    EXPECT_GT(box.bottom - box.top, 3.0f * font.GetFontHeight());
}

TEST_F(Fonts, CellSizingCreationWordsOutOfRangeAreRefused)
{
    const struct {
        int word;
        int value;
    } cases[] = {{0, -1}, {0, 0x40000000}, {1, -9}, {1, 0x7FFFFFFF}, {2, -7}, {2, 513}};
    for (const auto& c : cases) {
        EngFont font;
        _EngFontCreationWord words[ENG_FONT_CREATION_WORDS] = {};
        words[0].i = 1;
        words[c.word].i = c.value;
        font.SetCreationParms(words);
        ClearLogMark();
        EXPECT_FALSE(font.CreateFromFontFile(kFontFile, 1, 1, 16, 32, 126, nullptr, 0, kPlainLayout, 1))
            << c.word << " " << c.value;
        EXPECT_TRUE(LogHas("Bad creation word")) << c.word << " " << c.value;
        EXPECT_FALSE(font.IsSetup());
    }
}

TEST_F(Fonts, MultilineLinesAreDrawnOneUnderAnother)
{
    EngFont font;
    ASSERT_TRUE(CreatePlainFont(&font, 12));
    EXPECT_EQ(3, DrawWrapped(font, 20, 20, 600, 400, "HHH\nHHH\nHHH").lines);
    Box box = LitBox(gl);
    ASSERT_FALSE(box.Empty());
    EXPECT_GT(box.bottom - box.top, 2.0f * font.GetFontHeight());
}

TEST_F(Fonts, LongLinePartIsCutNotOverrun)
{
    EngFont font;
    ASSERT_TRUE(CreatePlainFont(&font, 8));
    std::string text(600, 'i');
    ClearLogMark();
    EXPECT_EQ(1, DrawWrapped(font, 0, 0, 100000, 400, text.c_str()).lines);
    EXPECT_TRUE(LogHas("Line part too long"));
}

TEST_F(Fonts, GameFontWithShadowIsMade)
{
    EngFont font;
    ASSERT_TRUE(CreateGameFontForTests(&font));
    // 31 pixels, vertical scale 0.213 and height addend 5.952.
    EXPECT_FLOAT_EQ(31 * 0.213f + 5.952f, font.GetFontHeight());
    EXPECT_GE(font.GetNumSheets(), 1);
    BeginTestFrame(0, 0, 1);
    EngFontPrepareForDrawing(EFDM_VIRTUAL);
    font.DrawString(100, 100, 0, 0, "Torvi", false);
    EngFontRestoreAfterDrawing();
    EndTestFrame();
    Box box = LitBox(gl, 255);
    ASSERT_FALSE(box.Empty());
    EXPECT_GT(box.max_red, 200); // light glyphs, and a shadow darkening the blue below
}

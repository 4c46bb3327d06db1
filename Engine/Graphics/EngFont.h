#pragma once

#include "Engine/Core/EngTypes.h"

class EngTexture;
class EngVertexBufferDX9;

// One word of a font's creation block: words 0, 1, 2, 5, 6 are integers, 3 and 4 floats.
union _EngFontCreationWord {
    EngInt32 i;
    float f;
};

enum {
    ENG_FONT_CREATION_WORDS = 16,
    ENG_FONT_LAYOUT_VALUES = 8,
};

// Text drawing modes: screen pixels, the 640 x 480 virtual screen, or matrices left as they are.
enum _EngFontDrawMode : char {
    EFDM_PIXELS = 0,
    EFDM_VIRTUAL = 1,
    EFDM_PURE = 2,
};

// A font rendered once into glyph sheets and drawn as one textured quad per character.
// Text is single-byte (Windows-1252): every byte value 0..255 indexes its own glyph.
class EngFont {
public:
    EngFont();
    ~EngFont();
    EngFont(const EngFont&) = delete;
    EngFont& operator=(const EngFont&) = delete;

    void Destroy();
    void Reset();

    void SetCreationParms(const _EngFontCreationWord* words = nullptr);
    // layout: 8 floats (horizontal scale and advance factor, vertical scale, vertical offset, height addend,
    // four without effect). unused has no effect.
    bool CreateFromFontFile(const char* file, char has_two_channels, int unused, int pixel_size, int min_char,
                            int max_char, const char* needed_map, int map_length, const float* layout,
                            char finish_quads);
    bool IsSetup() const { return m_setup; }
    float GetFontHeight() const { return m_font_height; }
    int GetNumSheets() const { return m_num_sheets; }
    int GetSheetSize() const { return m_sheet_size; }

    bool SetScale(float sx, float sy);
    bool SetScaleFromArray(const float* scale = nullptr);
    const float* GetScale() const { return m_scale; }
    void GetScaleXY(float* sx, float* sy) const;
    bool SetColour(float r, float g, float b, float a);
    bool SetColourFromArray(const float* rgba);
    const float* GetColour() const { return m_colour; }

    float GetStringWidth(const char* text) const;
    float GetCharWidth(unsigned char c) const;
    float GetAlignedY(float y, char valign) const;

    float DrawStringPart(float x, float y, const char* text, int count, float right_limit);
    float DrawStringPartHAligned(float x, float y, char halign, const char* text, int count, float right_limit,
                                 bool prepare);
    float DrawStringPartAligned(float x, float y, char halign, char valign, const char* text, int count,
                                float right_limit, bool prepare);
    float DrawString(float x, float y, char halign, char valign, const char* text, bool prepare);
    void DrawMultilineText(float x, float y, float box_w, float box_h, char halign, char valign, const char* text,
                           char draw, int first_line, float* widest, float* height_used, int* lines,
                           char* text_ended);

    float SetCharIndexToLocate(int index);
    void SetDrawLimitX(bool on, float x);

    // Glyph placement as made at creation (-1 sheet: no glyph); for inspection.
    int GetCharSheet(unsigned char c) const;
    const EngVertexBufferDX9* GetCharQuad(unsigned char c) const;
    const float* GetCharOffset(unsigned char c) const;
    EngTexture* GetSheetTexture(int sheet) const;

    // Sheet packing: places a w x h cell; with dry_run only the layout advances.
    bool AllocSheetPart(int w, int h, bool dry_run, int* sheet, int* x, int* y);

private:
    struct _PackCursor {
        int sheet;
        int x;
        int y;
        int row_height;
    };

    bool CheckCreationArgs(const char* file, char has_two_channels, int pixel_size, int min_char, int max_char);
    // Scale 1 x 1 and white, neither marked as set.
    void ResetScaleAndColour();
    bool BuildFromFace(void* face, char has_two_channels, int pixel_size, int min_char, int max_char,
                       const char* needed_map, int map_length, const float* layout, char finish_quads);
    bool IsCodeNeeded(int code, const char* needed_map, int map_length) const;
    bool LayoutPass(void* face, int min_char, int max_char, const char* needed_map, int map_length);
    bool AllocateTables();
    bool RenderPass(void* face, int min_char, int max_char, const char* needed_map, int map_length,
                    const float* layout, char finish_quads);
    int ParseLetter(void* face, int code, const float* layout, char finish_quads);
    void GlyphCellSize(int bitmap_w, int bitmap_h, int* cell_w, int* cell_h) const;
    void DrawGlyphIntoCell(const void* bitmap, unsigned char* cell, int cell_w) const;
    int CreateTextureFromData_DX9(int code, const unsigned char* cell, int cell_w, int cell_h,
                                  const float* layout, const float* offset, char finish_quads);
    bool CopySheetDataToTexture(int sheet);
    void CreateDrawAtlas_DX9();
    void CopySheetToDrawAtlas_DX9(int sheet, const unsigned char* bits, int pitch);
    bool BinomColor(int channel, int passes);
    float ScaleX() const;
    float ScaleY() const;
    bool CanDraw(const char* text) const;
    float BreakWidth(const char* text, int length, int i) const;
    int FindLineCut(const char* text, int length, int line_start, int i) const;
    void DrawMultilineLine(float x, float y, char halign, char valign, const char* text, int start, int end);
    void DrawGlyph(unsigned char c, float sx, float sy, float tx, float ty);

    bool m_setup;
    float m_font_height;
    _EngFontCreationWord m_creation[ENG_FONT_CREATION_WORDS];
    int* m_sheet_numbers;
    int m_num_chars;
    int m_sheet_size;
    int m_num_sheets;
    float m_scale[2];
    bool m_scale_used;
    float m_colour[4];
    bool m_colour_set;
    float m_advance[256];
    bool m_draw_limit_on;
    float m_draw_limit_x;
    int m_char_to_locate;
    float m_located_x;
    EngTexture** m_sheet_texs_dx9;
    // Every sheet stacked downwards in one texture (fonts of two sheets or more), so that a string is drawn
    // with one texture whichever sheets its glyphs lie on.
    EngTexture* m_draw_atlas;
    EngVertexBufferDX9* m_quads;
    float (*m_offsets)[3];
    bool m_two_channels;
    unsigned char* m_sheet_data;
    _PackCursor m_pack;
};

bool EngFontPrepareForDrawing(char mode);
bool EngFontPrepareForDrawingWithOrientation(int orientation, char mode);
bool EngFontPrepareForDrawingWithCurrentOrientation(char mode);
bool EngFontPrepareForDrawingWithOrientationIfNeeded(char mode, bool* prepared_here);
bool EngFontPrepareForDrawingPure2();
bool EngFontRestoreAfterDrawing();
bool EngFontRestoreAfterDrawingIfPrepared();
bool EngFontIsPreparedForDrawing();
// The current mode of the text state (meaningful while prepared).
char EngFontGetDrawingMode();
bool EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(bool save);
void EngFontSetReportMissingChars(bool report);

#include "Engine/Graphics/EngFont.h"

#include <cstring>
#include <new>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

#include "Engine/Core/EngCodePage.h"
#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/DX9/EngFontDX9.h"
#include "Engine/Graphics/DX9/EngVertexBufferDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/Graphics/EngVertexBuffer.h"

namespace {

// The one text-drawing state of the program.
struct _EngFontTextState {
    bool prepared;
    char mode;
    bool lighting_switched_on;
    bool alpha_modulation_switched_on;
    bool prepared_2d_here;
    bool blending_on;
    int blend_src;
    int blend_dest;
};

struct _EngFontSavedState {
    bool stored;
    bool prepared;
    char mode;
};

_EngFontTextState text_state = {};
_EngFontSavedState saved_state = {};
bool report_missing_chars = true;

const int kMaxLinePart = 255;

// Creation words 0, 1 and 2 (the cell margin and the shadow's extra width and height) size every glyph cell;
// one larger than a sheet could never be placed, and a negative one would make cells smaller than glyphs.
const int kCellWords[3] = {0, 1, 2};

// A font file is read whole; larger files are not fonts this game ships.
const unsigned kMaxFontFileBytes = 32u * 1024u * 1024u;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

void FreeBlock(void* block, const char* owner)
{
    if (block)
        EngFree(block, false, owner);
}

FT_UInt GlyphIndex(FT_Face face, int code)
{
    return FT_Get_Char_Index(face, (FT_ULong)EngCodePageCharToUnicode((char)code));
}

// Loads a glyph and renders it to a bitmap glyph; -1 ends creation, 0 skips the character.
int LoadBitmapGlyph(FT_Face face, FT_UInt index, int code, FT_Glyph* out)
{
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) {
        DebugError(ENG_FUNC, "FT_Load_Glyph failed");
        return -1;
    }
    FT_Glyph glyph = nullptr;
    if (FT_Get_Glyph(face->glyph, &glyph) != 0) {
        DebugError(ENG_FUNC, "FT_Get_Glyph failed");
        return -1;
    }
    if (glyph->format != FT_GLYPH_FORMAT_BITMAP && FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 1)) {
        if (code != 32 && code != 160)
            DebugError(ENG_FUNC, "FT_Glyph_To_Bitmap failed");
        FT_Done_Glyph(glyph);
        return 0;
    }
    *out = glyph;
    return 1;
}

bool BitmapUsable(const FT_Bitmap* bitmap)
{
    return bitmap->width >= 1 && bitmap->width <= 5000 && bitmap->rows >= 1 && bitmap->rows <= 5000;
}

// One bitmap pixel as 0..255, for grey and one-bit bitmaps alike.
unsigned char BitmapPixel(const FT_Bitmap* bitmap, int x, int y)
{
    const unsigned char* row = bitmap->buffer + (long)y * bitmap->pitch;
    if (bitmap->pitch < 0)
        row = bitmap->buffer + (long)(bitmap->rows - 1 - y) * -bitmap->pitch;
    if (bitmap->pixel_mode == FT_PIXEL_MODE_MONO)
        return (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
    return row[x];
}

unsigned char ScaledValue(unsigned char value, float scale)
{
    float v = (float)value * scale + 0.5f;
    if (!(v > 0.0f))
        return 0;
    return v >= 255.0f ? 255 : (unsigned char)v;
}

// A glyph's quad moved to its place in the string (scaled, then shifted) and its vertical texture
// coordinates mapped into the draw atlas. Placing the vertices here rather than through the world matrix
// lets a whole string reach the device as one draw.
void PlaceGlyph(const EngVertexBufferDX9* quad, float sx, float sy, float tx, float ty, float v_scale,
                float v_offset, unsigned char* out)
{
    const _EngVertexLayout* layout = EngVertexBufferGetLayout(quad->GetType());
    std::memcpy(out, quad->GetVertexData(), (size_t)layout->stride * 4);
    for (int v = 0; v < 4; ++v) {
        unsigned char* vertex = out + v * layout->stride;
        float position[2];
        float uv[2];
        std::memcpy(position, vertex, sizeof(position));
        std::memcpy(uv, vertex + layout->uv_offset, sizeof(uv));
        position[0] = position[0] * sx + tx;
        position[1] = position[1] * sy + ty;
        uv[1] = uv[1] * v_scale + v_offset;
        std::memcpy(vertex, position, sizeof(position));
        std::memcpy(vertex + layout->uv_offset, uv, sizeof(uv));
    }
}

// Direct3D's left-handed orthographic off-centre projection, row-major.
void OrthoOffCenter(float l, float r, float b, float t, float zn, float zf, float out[16])
{
    std::memset(out, 0, sizeof(float) * 16);
    out[0] = 2.0f / (r - l);
    out[5] = 2.0f / (t - b);
    out[10] = 1.0f / (zf - zn);
    out[12] = (l + r) / (l - r);
    out[13] = (t + b) / (b - t);
    out[14] = zn / (zn - zf);
    out[15] = 1.0f;
}

void PreparePureState()
{
    EngFontDX9_SetDiffuseFromMaterial(true);
    text_state.lighting_switched_on = false;
    if (!EngDeviceIsLightingOn()) {
        EngDeviceTurnOnLighting();
        text_state.lighting_switched_on = true;
    }
    bool was_off = false;
    if (eng_device_dx9)
        eng_device_dx9->TurnOnAlphaModulationIfOff(&was_off);
    text_state.alpha_modulation_switched_on = was_off;
    // Kept here rather than in the device's one save slot, which the caller may be holding.
    EngDeviceGetBlendingState(&text_state.blending_on, &text_state.blend_src, &text_state.blend_dest);
    EngDeviceEnableBlendingType(0);
}

} // namespace

EngFont::EngFont()
    : m_sheet_numbers(nullptr), m_sheet_texs_dx9(nullptr), m_draw_atlas(nullptr), m_quads(nullptr),
      m_offsets(nullptr), m_sheet_data(nullptr)
{
    std::memset(m_creation, 0, sizeof(m_creation));
    Reset();
}

EngFont::~EngFont()
{
    Destroy();
}

void EngFont::ResetScaleAndColour()
{
    m_scale[0] = 1.0f;
    m_scale[1] = 1.0f;
    m_scale_used = false;
    for (float& c : m_colour)
        c = 1.0f;
    m_colour_set = false;
}

void EngFont::Reset()
{
    m_setup = false;
    m_font_height = 0.0f;
    m_sheet_numbers = nullptr;
    m_num_chars = 0;
    m_sheet_size = 512;
    m_num_sheets = 0;
    ResetScaleAndColour();
    std::memset(m_advance, 0, sizeof(m_advance));
    m_draw_limit_on = false;
    m_draw_limit_x = 0.0f;
    m_char_to_locate = -1;
    m_located_x = 0.0f;
    m_sheet_texs_dx9 = nullptr;
    m_draw_atlas = nullptr;
    m_quads = nullptr;
    m_offsets = nullptr;
    m_two_channels = false;
    m_sheet_data = nullptr;
    m_pack = {-1, 0, 0, 0};
}

void EngFont::Destroy()
{
    FreeBlock(m_sheet_numbers, "EngFont::Destroy");
    if (m_sheet_texs_dx9) {
        for (int i = 0; i < m_num_sheets; ++i) {
            if (m_sheet_texs_dx9[i])
                m_sheet_texs_dx9[i]->Destroy();
            delete m_sheet_texs_dx9[i];
        }
        FreeBlock(m_sheet_texs_dx9, "EngFont::Destroy");
    }
    if (m_draw_atlas)
        m_draw_atlas->Destroy();
    delete m_draw_atlas;
    delete[] m_quads;
    FreeBlock(m_offsets, "EngFont::Destroy");
    FreeBlock(m_sheet_data, "EngFont::Destroy");
    Reset();
}

void EngFont::SetCreationParms(const _EngFontCreationWord* words)
{
    if (!words) {
        std::memset(m_creation, 0, sizeof(m_creation));
        return;
    }
    std::memcpy(m_creation, words, sizeof(m_creation));
}

bool EngFont::CheckCreationArgs(const char* file, char has_two_channels, int pixel_size, int min_char,
                                int max_char)
{
    if (!file || !file[0]) {
        DebugError(ENG_FUNC, "No font file name specified");
        return false;
    }
    if (m_setup) {
        DebugError(ENG_FUNC, "FD already setup");
        return false;
    }
    if (max_char < 32 || max_char > 255) {
        DebugError(ENG_FUNC, "Bad max_char_needed [%d]", max_char);
        return false;
    }
    if (min_char < 0 || min_char > max_char) {
        DebugError(ENG_FUNC, "Bad min_char_needed [%d]", min_char);
        return false;
    }
    if (pixel_size < 8 || pixel_size > m_sheet_size) {
        DebugError(ENG_FUNC, "Bad max bitmap size [%d]", pixel_size);
        return false;
    }
    if (has_two_channels != 0 && has_two_channels != 1) {
        DebugError(ENG_FUNC, "Bad has_two_channels [%d]", (int)has_two_channels);
        return false;
    }
    for (int word : kCellWords) {
        const int value = m_creation[word].i;
        if (value < 0 || value > m_sheet_size) {
            DebugError(ENG_FUNC, "Bad creation word %d [%d]", word, value);
            return false;
        }
    }
    if (eng_main_device_type == ENG_DEVICE_DX9 && !EngDeviceIsCreated()) {
        DebugError(ENG_FUNC, "No directx9 device");
        return false;
    }
    return true;
}

bool EngFont::IsCodeNeeded(int code, const char* needed_map, int map_length) const
{
    return !needed_map || code >= map_length || needed_map[code] != 0;
}

void EngFont::GlyphCellSize(int bitmap_w, int bitmap_h, int* cell_w, int* cell_h) const
{
    if (bitmap_w < 1 || bitmap_w > 5000 || bitmap_h < 1 || bitmap_h > 5000) {
        *cell_w = 2;
        *cell_h = 2;
        return;
    }
    *cell_w = bitmap_w + 2 * m_creation[0].i + m_creation[1].i;
    *cell_h = bitmap_h + 2 * m_creation[0].i + m_creation[2].i;
}

bool EngFont::LayoutPass(void* face_ptr, int min_char, int max_char, const char* needed_map, int map_length)
{
    FT_Face face = (FT_Face)face_ptr;
    for (int code = min_char; code <= max_char; ++code) {
        if (!IsCodeNeeded(code, needed_map, map_length))
            continue;
        FT_UInt index = GlyphIndex(face, code);
        if (index == 0)
            continue;
        FT_Glyph glyph = nullptr;
        int loaded = LoadBitmapGlyph(face, index, code, &glyph);
        if (loaded < 0)
            return false;
        if (loaded == 0)
            continue;
        const FT_Bitmap* bitmap = &((FT_BitmapGlyph)glyph)->bitmap;
        int cell_w = 0;
        int cell_h = 0;
        GlyphCellSize((int)bitmap->width, (int)bitmap->rows, &cell_w, &cell_h);
        int sheet = 0;
        int x = 0;
        int y = 0;
        AllocSheetPart(cell_w, cell_h, true, &sheet, &x, &y);
        FT_Done_Glyph(glyph);
    }
    return true;
}

bool EngFont::AllocateTables()
{
    if (m_num_sheets <= 0) {
        DebugError(ENG_FUNC, "No sheets");
        return false;
    }
    m_sheet_texs_dx9 =
        (EngTexture**)EngMalloc(sizeof(EngTexture*) * (unsigned)m_num_sheets, "EngFont::AllocateTables", true);
    if (!m_sheet_texs_dx9) {
        DebugError(ENG_FUNC, "No memory for texture list");
        return false;
    }
    m_quads = new (std::nothrow) EngVertexBufferDX9[m_num_chars];
    m_offsets = (float(*)[3])EngMalloc(sizeof(float) * 3 * (unsigned)m_num_chars, "EngFont::AllocateTables", true);
    if (!m_quads || !m_offsets) {
        DebugError(ENG_FUNC, "No memory for trans list");
        return false;
    }
    const unsigned bytes = (unsigned)(m_sheet_size * m_sheet_size) * (m_two_channels ? 2u : 1u);
    m_sheet_data = (unsigned char*)EngMalloc(bytes, "EngFont::AllocateTables", true);
    if (!m_sheet_data) {
        DebugError(ENG_FUNC, "Could not create sheet data");
        return false;
    }
    return true;
}

bool EngFont::RenderPass(void* face, int min_char, int max_char, const char* needed_map, int map_length,
                         const float* layout, char finish_quads)
{
    m_pack = {-1, 0, 0, 0};
    for (int code = min_char; code <= max_char; ++code) {
        if (!IsCodeNeeded(code, needed_map, map_length))
            continue;
        int result = ParseLetter(face, code, layout, finish_quads);
        if (result < 0) {
            DebugError(ENG_FUNC, "EngFont::ParseLetter Failed <%d - %c>", code, (char)code);
            m_sheet_numbers[code] = -1;
        }
        if (m_sheet_numbers[code] < 0)
            m_quads[code].Release();
    }
    return true;
}

bool EngFont::CreateFromFontFile(const char* file, char has_two_channels, int unused, int pixel_size, int min_char,
                                 int max_char, const char* needed_map, int map_length, const float* layout,
                                 char finish_quads)
{
    (void)unused;
    if (!CheckCreationArgs(file, has_two_channels, pixel_size, min_char, max_char))
        return false;
    static const float no_layout[ENG_FONT_LAYOUT_VALUES] = {1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    if (!layout)
        layout = no_layout;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        DebugError(ENG_FUNC, "FT_Init_FreeType Failed");
        return false;
    }
    if (!EngFileExists(file, false)) {
        DebugError(ENG_FUNC, "Could not find file <%s>", file);
        FT_Done_FreeType(library);
        return false;
    }
    unsigned size = 0;
    unsigned char* data = EngFileReadWhole(file, kMaxFontFileBytes, "EngFont::CreateFromFontFile", &size);
    FT_Face face = nullptr;
    if (!data || FT_New_Memory_Face(library, data, (FT_Long)size, 0, &face) != 0) {
        DebugError(ENG_FUNC, "Problem loading font <%s>", file);
        FreeBlock(data, "EngFont::CreateFromFontFile");
        FT_Done_FreeType(library);
        return false;
    }
    bool ok = BuildFromFace(face, has_two_channels, pixel_size, min_char, max_char, needed_map, map_length, layout,
                            finish_quads);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    FreeBlock(data, "EngFont::CreateFromFontFile");
    if (!ok) {
        Destroy();
        return false;
    }
    m_setup = true;
    return true;
}

bool EngFont::BuildFromFace(void* face_ptr, char has_two_channels, int pixel_size, int min_char, int max_char,
                            const char* needed_map, int map_length, const float* layout, char finish_quads)
{
    FT_Face face = (FT_Face)face_ptr;
    m_two_channels = has_two_channels == 1;
    m_font_height = (float)pixel_size * layout[1] + layout[3];
    FT_Set_Char_Size(face, pixel_size * 64, pixel_size * 64, 150, 150);
    m_num_chars = max_char + 1;
    m_sheet_numbers = (int*)EngMalloc(sizeof(int) * (unsigned)m_num_chars, "EngFont::CreateFromFontFile", false);
    if (!m_sheet_numbers) {
        DebugError(ENG_FUNC, "No memory for sheet number list");
        return false;
    }
    for (int i = 0; i < m_num_chars; ++i)
        m_sheet_numbers[i] = -1;
    m_pack = {-1, 0, 0, 0};
    m_num_sheets = 0;
    if (!LayoutPass(face, min_char, max_char, needed_map, map_length) || !AllocateTables())
        return false;
    CreateDrawAtlas_DX9();
    RenderPass(face, min_char, max_char, needed_map, map_length, layout, finish_quads);
    if (m_pack.sheet >= 0)
        CopySheetDataToTexture(m_pack.sheet);
    FreeBlock(m_sheet_data, "EngFont::CreateFromFontFile");
    m_sheet_data = nullptr;
    ResetScaleAndColour();
    return true;
}

int EngFont::ParseLetter(void* face_ptr, int code, const float* layout, char finish_quads)
{
    FT_Face face = (FT_Face)face_ptr;
    FT_UInt index = GlyphIndex(face, code);
    if (index == 0) {
        if (report_missing_chars)
            DebugError(ENG_FUNC, "EngFont::ParseLetter - No char at %d", code);
        return 0;
    }
    FT_Glyph glyph = nullptr;
    int loaded = LoadBitmapGlyph(face, index, code, &glyph);
    if (loaded <= 0)
        return loaded;
    const FT_BitmapGlyph bitmap_glyph = (FT_BitmapGlyph)glyph;
    const FT_Bitmap* bitmap = &bitmap_glyph->bitmap;
    int cell_w = 0;
    int cell_h = 0;
    GlyphCellSize((int)bitmap->width, (int)bitmap->rows, &cell_w, &cell_h);
    const int channels = m_two_channels ? 2 : 1;
    unsigned char* cell =
        (unsigned char*)EngMalloc((unsigned)(cell_w * cell_h * channels), "EngFont::ParseLetter", true);
    if (!cell) {
        FT_Done_Glyph(glyph);
        return -1;
    }
    if (BitmapUsable(bitmap))
        DrawGlyphIntoCell(bitmap, cell, cell_w);
    m_advance[code] = layout[0] * (float)(face->glyph->advance.x / 64);
    const float offset[3] = {
        layout[0] * (float)bitmap_glyph->left,
        layout[2] + layout[1] * (float)bitmap_glyph->top - m_font_height,
        m_advance[code],
    };
    int result = CreateTextureFromData_DX9(code, cell, cell_w, cell_h, layout, offset, finish_quads);
    EngFree(cell, false, "EngFont::ParseLetter");
    FT_Done_Glyph(glyph);
    return result;
}

void EngFont::DrawGlyphIntoCell(const void* bitmap_ptr, unsigned char* cell, int cell_w) const
{
    const FT_Bitmap* bitmap = (const FT_Bitmap*)bitmap_ptr;
    const int channels = m_two_channels ? 2 : 1;
    const int margin = m_creation[0].i;
    const int extra_w = m_creation[1].i;
    const int extra_h = m_creation[2].i;
    const int w = (int)bitmap->width;
    const int h = (int)bitmap->rows;
    if (extra_w == 0 && extra_h == 0) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                unsigned char* p = cell + ((y + margin) * cell_w + x + margin) * channels;
                p[0] = BitmapPixel(bitmap, x, y);
                if (channels == 2)
                    p[1] = p[0];
            }
        }
        return;
    }
    // A shadow first, displaced and scaled per channel, then the glyph's solid pixels over it.
    const int shadow_x = extra_w + (channels == 1 ? margin : 0);
    const int shadow_y = extra_h + (channels == 1 ? margin : 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned char v = BitmapPixel(bitmap, x, y);
            unsigned char* p = cell + ((y + shadow_y) * cell_w + x + shadow_x) * channels;
            p[0] = ScaledValue(v, m_creation[3].f);
            if (channels == 2)
                p[1] = ScaledValue(v, m_creation[4].f);
        }
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned char v = BitmapPixel(bitmap, x, y);
            if (v <= 127)
                continue;
            unsigned char* p = cell + ((y + margin) * cell_w + x + margin) * channels;
            p[0] = v;
            if (channels == 2)
                p[1] = v;
        }
    }
}

bool EngFont::AllocSheetPart(int w, int h, bool dry_run, int* sheet, int* x, int* y)
{
    const int s = m_creation[0].i + 2;
    const int n = m_sheet_size;
    if (w <= 0 || h <= 0 || s + w > n || s + h > n) {
        DebugError(ENG_FUNC, "Glyph cell too large for its sheet (%d x %d)", w, h);
        return false;
    }
    if (!dry_run && !m_sheet_data) {
        DebugError(ENG_FUNC, "Sheet data not created (%d)", m_pack.sheet);
        return false;
    }
    bool placed = false;
    if (m_pack.sheet >= 0) {
        if (m_pack.x + w <= n && m_pack.y + h <= n) {
            placed = true;
        } else if (m_pack.x + w > n) {
            const int row_y = m_pack.y + m_pack.row_height + s;
            if (row_y + h <= n) {
                m_pack.x = s;
                m_pack.y = row_y;
                m_pack.row_height = 0;
                placed = true;
            }
        }
    }
    if (!placed) {
        if (!dry_run && m_pack.sheet >= 0) {
            CopySheetDataToTexture(m_pack.sheet);
            std::memset(m_sheet_data, 0, (size_t)n * n * (m_two_channels ? 2 : 1));
        }
        ++m_pack.sheet;
        m_pack.x = s;
        m_pack.y = s;
        m_pack.row_height = 0;
        if (dry_run)
            m_num_sheets = m_pack.sheet + 1;
    }
    *sheet = m_pack.sheet;
    *x = m_pack.x;
    *y = m_pack.y;
    if (h > m_pack.row_height)
        m_pack.row_height = h;
    m_pack.x += w + s;
    return true;
}

int EngFont::GetCharSheet(unsigned char c) const
{
    if (!m_sheet_numbers || c >= m_num_chars)
        return -1;
    return m_sheet_numbers[c];
}

const EngVertexBufferDX9* EngFont::GetCharQuad(unsigned char c) const
{
    if (!m_quads || c >= m_num_chars)
        return nullptr;
    return &m_quads[c];
}

const float* EngFont::GetCharOffset(unsigned char c) const
{
    if (!m_offsets || c >= m_num_chars)
        return nullptr;
    return m_offsets[c];
}

EngTexture* EngFont::GetSheetTexture(int sheet) const
{
    if (!m_sheet_texs_dx9 || sheet < 0 || sheet >= m_num_sheets)
        return nullptr;
    return m_sheet_texs_dx9[sheet];
}

bool EngFont::SetScale(float sx, float sy)
{
    if (!m_setup)
        return false;
    m_scale[0] = sx;
    m_scale[1] = sy;
    m_scale_used = sx > 0.0f && sy > 0.0f && !(sx == 1.0f && sy == 1.0f);
    return true;
}

bool EngFont::SetScaleFromArray(const float* scale)
{
    if (!scale)
        return SetScale(1.0f, 1.0f);
    return SetScale(scale[0], scale[1]);
}

void EngFont::GetScaleXY(float* sx, float* sy) const
{
    if (sx)
        *sx = m_scale[0];
    if (sy)
        *sy = m_scale[1];
}

bool EngFont::SetColour(float r, float g, float b, float a)
{
    if (!m_setup)
        return false;
    const float rgba[4] = {r, g, b, a};
    for (int i = 0; i < 4; ++i) {
        if (rgba[i] >= 0.0f)
            m_colour[i] = rgba[i];
    }
    m_colour_set = true;
    return true;
}

bool EngFont::SetColourFromArray(const float* rgba)
{
    if (!rgba)
        return false;
    return SetColour(rgba[0], rgba[1], rgba[2], rgba[3]);
}

float EngFont::ScaleX() const
{
    return m_scale_used ? m_scale[0] : 1.0f;
}

float EngFont::ScaleY() const
{
    return m_scale_used ? m_scale[1] : 1.0f;
}

float EngFont::GetStringWidth(const char* text) const
{
    if (!m_setup || !text)
        return 0.0f;
    float width = 0.0f;
    for (const unsigned char* p = (const unsigned char*)text; *p; ++p)
        width += m_advance[*p];
    return width * ScaleX();
}

float EngFont::GetCharWidth(unsigned char c) const
{
    return m_setup ? m_advance[c] : 0.0f;
}

float EngFont::GetAlignedY(float y, char valign) const
{
    const float height = m_font_height * ScaleY();
    if (valign == 1)
        return y - height * 0.5f;
    if (valign == 2)
        return y - height;
    return y;
}

float EngFont::SetCharIndexToLocate(int index)
{
    const float previous = m_located_x;
    m_char_to_locate = index;
    return previous;
}

void EngFont::SetDrawLimitX(bool on, float x)
{
    m_draw_limit_on = on;
    m_draw_limit_x = x;
}

bool EngFont::CanDraw(const char* text) const
{
    if (!EngDeviceIsCreated() || !eng_device_dx9 || !m_setup || !text || !m_quads)
        return false;
    if (!eng_device_dx9->IsRendering()) {
        DebugError(ENG_FUNC, "Scene not on");
        return false;
    }
    if (text_state.mode != EFDM_PURE && !EngDeviceIsPreparedFor2D()) {
        DebugError(ENG_FUNC, "2D Not setup");
        return false;
    }
    if (!text_state.prepared) {
        DebugError(ENG_FUNC, "Not ready for drawings");
        return false;
    }
    return true;
}

float EngFont::DrawStringPart(float x, float y, const char* text, int count, float right_limit)
{
    if (!CanDraw(text))
        return x;
    const int length = (int)std::strlen(text);
    if (count <= 0 || count > length)
        count = length;
    float ty = -y;
    if (text_state.mode == EFDM_VIRTUAL)
        ty = 480.0f - y;
    else if (text_state.mode == EFDM_PIXELS)
        ty = (float)eng_screen_height - y;
    const float sx = ScaleX();
    const float sy = ScaleY();
    if (m_colour_set)
        EngFontDX9_SetMaterialColour(m_colour);
    float saved_world[16];
    eng_device_dx9->GetTransformMatrixToDxMatrix(saved_world);
    eng_device_dx9->SetTransformMatrixToDxMatrix(nullptr);

    float advance = 0.0f;
    for (int i = 0; i < count; ++i) {
        const float current_x = advance * sx;
        if (m_char_to_locate == i)
            m_located_x = x + current_x;
        const unsigned char c = (unsigned char)text[i];
        if (c == 0 || c >= m_num_chars || m_sheet_numbers[c] < 0 || !m_quads[c].IsCreated())
            continue;
        if (right_limit > 0.0f && !(current_x < right_limit))
            continue;
        if (m_draw_limit_on && current_x < m_draw_limit_x) {
            advance += m_offsets[c][2];
            continue;
        }
        DrawGlyph(c, sx, sy, (advance + m_offsets[c][0]) * sx + x, m_offsets[c][1] * sy + ty);
        advance += m_offsets[c][2];
    }
    if (m_char_to_locate == count)
        m_located_x = x + advance * sx;
    eng_device_dx9->SetTransformMatrixToDxMatrix(saved_world);
    if (m_colour_set)
        eng_device_dx9->SetMaterialToDefault();
    return x + advance * sx;
}

void EngFont::DrawGlyph(unsigned char c, float sx, float sy, float tx, float ty)
{
    const int sheet = m_sheet_numbers[c];
    const float v_scale = m_draw_atlas ? 1.0f / (float)m_num_sheets : 1.0f;
    const float v_offset = m_draw_atlas ? (float)sheet / (float)m_num_sheets : 0.0f;
    const EngVertexBufferDX9* quad = &m_quads[c];
    alignas(16) unsigned char vertices[4 * 40];
    PlaceGlyph(quad, sx, sy, tx, ty, v_scale, v_offset, vertices);
    EngVertexBufferDX9::DrawVertices(EngVertexBufferGetLayout(quad->GetType()), vertices, 4, true,
                                     m_draw_atlas ? m_draw_atlas : m_sheet_texs_dx9[sheet]);
}

float EngFont::DrawStringPartHAligned(float x, float y, char halign, const char* text, int count, float right_limit,
                                      bool prepare)
{
    return DrawStringPartAligned(x, y, halign, 0, text, count, right_limit, prepare);
}

float EngFont::DrawStringPartAligned(float x, float y, char halign, char valign, const char* text, int count,
                                     float right_limit, bool prepare)
{
    if (!m_setup || !text)
        return x;
    const float width = GetStringWidth(text);
    if (halign == 2)
        x -= width;
    else if (halign == 1)
        x -= width * 0.5f;
    y = GetAlignedY(y, valign);
    bool prepared_here = false;
    if (prepare && !EngFontIsPreparedForDrawing())
        prepared_here = EngFontPrepareForDrawing(EFDM_VIRTUAL);
    float end = DrawStringPart(x, y, text, count, right_limit);
    if (prepared_here)
        EngFontRestoreAfterDrawing();
    return end;
}

float EngFont::DrawString(float x, float y, char halign, char valign, const char* text, bool prepare)
{
    return DrawStringPartAligned(x, y, halign, valign, text, 0, 0.0f, prepare);
}

void EngFont::DrawMultilineLine(float x, float y, char halign, char valign, const char* text, int start, int end)
{
    const int length = (int)std::strlen(text);
    const int count = end - start;
    char part[kMaxLinePart + 1];
    const char* source = text + start;
    const int wanted = (count >= 1 && count <= length - 1) ? count : (int)std::strlen(source);
    if (wanted > kMaxLinePart)
        DebugError(ENG_FUNC, "Line part too long");
    const int copied = wanted > kMaxLinePart ? kMaxLinePart : wanted;
    std::memcpy(part, source, (size_t)copied);
    part[copied] = '\0';
    if (std::strcmp(part, "\n") == 0)
        return;
    const char* line = part[0] == '\n' ? part + 1 : part;
    if (halign == 0 && line[0] == ' ')
        ++line;
    DrawString(x, y, halign, valign, line, false);
}

void EngFont::DrawMultilineText(float x, float y, float box_w, float box_h, char halign, char valign,
                                const char* text, char draw, int first_line, float* widest, float* height_used,
                                int* lines, char* text_ended)
{
    float widest_w = 0.0f;
    float current_y = y;
    int counted = 0;
    bool ended = true;
    const float line_h = ScaleY() * m_font_height;
    const int length = (m_setup && text) ? (int)std::strlen(text) : 0;
    const bool has_text = m_setup && text;
    if (has_text && (length == 0 || (length == 1 && IsBlank(text[0])))) {
        counted = 1;
        current_y = y + line_h;
    } else if (has_text) {
        const float sx = ScaleX();
        float running = 0.0f;
        int line_start = 0;
        int line_number = 0;
        for (int i = 0; i <= length; ++i) {
            const float this_w = BreakWidth(text, length, i) * sx;
            const float next_w = BreakWidth(text, length, i + 1) * sx;
            const bool line_end = i == length || text[i] == '\n' || running + this_w + next_w >= box_w;
            if (!line_end) {
                running += m_advance[(unsigned char)text[i]] * sx;
                if (running > widest_w)
                    widest_w = running;
                continue;
            }
            // A cut line ends before its blank and the next line starts at it; a box too narrow for two
            // characters still takes one a line.
            int line_stop = FindLineCut(text, length, line_start, i);
            if (line_stop <= line_start && i < length)
                line_stop = line_start + 1;
            const int next_start = line_stop;
            if (line_number >= first_line) {
                if (draw)
                    DrawMultilineLine(x, current_y, halign, valign, text, line_start, line_stop);
                ++counted;
                current_y += line_h;
            }
            ++line_number;
            if (current_y > y + box_h - line_h || i == length) {
                ended = i == length;
                break;
            }
            line_start = next_start;
            i = next_start;
            running = 0.0f;
        }
    }
    if (widest)
        *widest = widest_w;
    if (height_used)
        *height_used = current_y - y;
    if (lines)
        *lines = counted;
    if (text_ended)
        *text_ended = ended ? 1 : 0;
}

int EngFont::FindLineCut(const char* text, int length, int line_start, int i) const
{
    if (i == length || text[i] == '\n' || (i > 0 && text[i - 1] == '\n'))
        return i;
    int blank = i;
    while (blank >= 0 && !IsBlank(text[blank]))
        --blank;
    return (blank > 0 && blank < i && blank > line_start) ? blank : i;
}

float EngFont::BreakWidth(const char* text, int length, int i) const
{
    if (i >= length || IsBlank(text[i]) || text[i] == '\n')
        return 0.0f;
    return m_advance[(unsigned char)text[i]];
}

bool EngFontPrepareForDrawing(char mode)
{
    return EngFontPrepareForDrawingWithCurrentOrientation(mode);
}

bool EngFontPrepareForDrawingWithCurrentOrientation(char mode)
{
    // The screen-mapping value, the fonts' orientation, is always 0 on this platform.
    return EngFontPrepareForDrawingWithOrientation(0, mode);
}

bool EngFontPrepareForDrawingWithOrientation(int orientation, char mode)
{
    (void)orientation;
    if (mode == EFDM_PURE) {
        DebugError(ENG_FUNC, "Call EngFontPrepareForDrawingPure2() instead");
        return EngFontPrepareForDrawingPure2();
    }
    if (!EngDeviceIsCreated() || !eng_device_dx9)
        return false;
    text_state.prepared_2d_here = false;
    if (!EngDeviceIsPreparedFor2D()) {
        EngDevicePrepareFor2D(false);
        text_state.prepared_2d_here = true;
    }
    PreparePureState();
    eng_device_dx9->PushAllMatrices();
    const float right = mode == EFDM_VIRTUAL ? 640.0f : (float)eng_screen_width;
    const float top = mode == EFDM_VIRTUAL ? 480.0f : (float)eng_screen_height;
    float projection[16];
    OrthoOffCenter(0.0f, right, 0.0f, top, -1.0f, 1.0f, projection);
    eng_device_dx9->SetProjectionMatrixToDxMatrix(projection);
    text_state.prepared = true;
    text_state.mode = mode;
    return true;
}

bool EngFontPrepareForDrawingPure2()
{
    if (!EngDeviceIsCreated() || !eng_device_dx9)
        return false;
    text_state.prepared_2d_here = false;
    PreparePureState();
    text_state.prepared = true;
    text_state.mode = EFDM_PURE;
    return true;
}

bool EngFontRestoreAfterDrawing()
{
    if (!text_state.prepared) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        return false;
    }
    text_state.prepared = false;
    if (!eng_device_dx9)
        return false;
    if (text_state.mode != EFDM_PURE)
        eng_device_dx9->PopAllMatrices();
    if (text_state.alpha_modulation_switched_on)
        EngDeviceTurnOffAlphaModulation();
    EngDeviceSetBlendingState(text_state.blending_on, text_state.blend_src, text_state.blend_dest);
    if (text_state.prepared_2d_here)
        EngDeviceRestoreAfter2D();
    EngFontDX9_SetDiffuseFromMaterial(false);
    eng_device_dx9->SetMaterialToDefault();
    if (text_state.lighting_switched_on)
        EngDeviceTurnOffLighting();
    return true;
}

bool EngFontRestoreAfterDrawingIfPrepared()
{
    return text_state.prepared && EngFontRestoreAfterDrawing();
}

bool EngFontIsPreparedForDrawing()
{
    return text_state.prepared;
}

char EngFontGetDrawingMode()
{
    return text_state.mode;
}

bool EngFontPrepareForDrawingWithOrientationIfNeeded(char mode, bool* prepared_here)
{
    if (text_state.prepared) {
        const bool compatible = (text_state.mode == 0) == (mode == 0);
        if (compatible) {
            if (prepared_here)
                *prepared_here = false;
            return true;
        }
        DebugError(ENG_FUNC, "Ratio mix problem");
        EngFontRestoreAfterDrawing();
    }
    EngFontPrepareForDrawingWithCurrentOrientation(mode);
    if (prepared_here)
        *prepared_here = true;
    return false;
}

bool EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(bool save)
{
    if (save) {
        if (saved_state.stored) {
            DebugError(ENG_FUNC, "Already saved");
            return false;
        }
        saved_state = {true, text_state.prepared, text_state.mode};
        if (text_state.prepared)
            EngFontRestoreAfterDrawing();
        return true;
    }
    if (!saved_state.stored) {
        DebugError(ENG_FUNC, "Not saved");
        return false;
    }
    saved_state.stored = false;
    if (!saved_state.prepared)
        return true;
    if (saved_state.mode == EFDM_PURE)
        return EngFontPrepareForDrawingPure2();
    return EngFontPrepareForDrawingWithOrientation(0, saved_state.mode);
}

void EngFontSetReportMissingChars(bool report)
{
    report_missing_chars = report;
}

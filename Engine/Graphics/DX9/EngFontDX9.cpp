#include "Engine/Graphics/DX9/EngFontDX9.h"

#include <cstring>
#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/DX9/EngGLDeviceDX9.h"
#include "Engine/Graphics/DX9/EngTextureDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/Graphics/EngTexture.h"

namespace {

// Smoothing passes past this add nothing visible; the bound keeps a bad creation block from stalling.
const int kMaxSmoothingPasses = 32;

} // namespace

void EngFontDX9_SetMaterialColour(const float* rgba)
{
    if (!eng_d3d_device)
        return;
    D3DMATERIAL9 material = {};
    material.Diffuse = {rgba[0], rgba[1], rgba[2], rgba[3]};
    material.Ambient = material.Diffuse;
    eng_d3d_device->SetMaterial(&material);
}

void EngFontDX9_SetDiffuseFromMaterial(bool from_material)
{
    if (eng_d3d_device)
        eng_d3d_device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, from_material ? D3DMCS_MATERIAL : D3DMCS_COLOR1);
}

int EngFont::CreateTextureFromData_DX9(int code, const unsigned char* cell, int cell_w, int cell_h,
                                       const float* layout, const float* offset, char finish_quads)
{
    int sheet = -1;
    int x = 0;
    int y = 0;
    if (!AllocSheetPart(cell_w, cell_h, false, &sheet, &x, &y))
        return -1;
    if (!m_sheet_texs_dx9) {
        DebugError(ENG_FUNC, "Internal Error (1)");
        return -1;
    }
    if (sheet < 0 || sheet >= m_num_sheets) {
        DebugError(ENG_FUNC, "Internal Error (2)");
        return -1;
    }
    const int channels = m_two_channels ? 2 : 1;
    for (int row = 0; row < cell_h; ++row) {
        unsigned char* dst = m_sheet_data + ((size_t)(y + row) * m_sheet_size + x) * channels;
        std::memcpy(dst, cell + (size_t)row * cell_w * channels, (size_t)cell_w * channels);
    }
    m_sheet_numbers[code] = sheet;

    if (!m_sheet_texs_dx9[sheet]) {
        EngTexture* texture = new (std::nothrow) EngTexture("m_sheet_texs_dx9");
        if (!texture)
            return -1;
        int w = m_sheet_size;
        int h = m_sheet_size;
        if (!texture->CreateEmptyTexture2D(&w, &h, true)) {
            delete texture;
            return -1;
        }
        m_sheet_texs_dx9[sheet] = texture;
    }
    EngVertexBufferDX9* quad = &m_quads[code];
    if (!quad->Create(EVBT_POS_COL_TEX, m_sheet_texs_dx9[sheet]))
        return -1;
    std::memcpy(m_offsets[code], offset, sizeof(float) * 3);
    if (!finish_quads) {
        DebugError(ENG_FUNC, "normal polygon order not finished");
        return 1;
    }
    const float s = (float)m_sheet_size;
    const float d = (float)m_creation[0].i * 0.5f / s;
    quad->SetPositions(0.0f, 0.0f, layout[0] * (float)cell_w, layout[1] * (float)cell_h);
    quad->SetTextureCoordinates((float)x / s - d, (float)y / s - d, (float)(x + cell_w) / s + d,
                                (float)(y + cell_h) / s + d);
    return 1;
}

bool EngFont::BinomColor(int channel, int passes)
{
    if (passes <= 0)
        return true;
    if (passes > kMaxSmoothingPasses)
        passes = kMaxSmoothingPasses;
    const int n = m_sheet_size;
    const int channels = m_two_channels ? 2 : 1;
    unsigned char* plane = (unsigned char*)EngMalloc((unsigned)(n * n), "EngFont::BinomColor", false);
    if (!plane) {
        DebugError(ENG_FUNC, "No memory (1)");
        return false;
    }
    unsigned char* out = (unsigned char*)EngMalloc((unsigned)(n * n), "EngFont::BinomColor", false);
    if (!out) {
        EngFree(plane, false, "EngFont::BinomColor");
        DebugError(ENG_FUNC, "No memory (2)");
        return false;
    }
    for (int i = 0; i < n * n; ++i)
        plane[i] = m_sheet_data[i * channels + channel];
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 1; y < n - 1; ++y) {
            for (int x = 1; x < n - 1; ++x) {
                const unsigned char* a = plane + (y - 1) * n + x;
                const unsigned char* b = a + n;
                const unsigned char* c = b + n;
                int sum = a[-1] + 2 * a[0] + a[1] + 2 * b[-1] + 4 * b[0] + 2 * b[1] + c[-1] + 2 * c[0] + c[1];
                out[y * n + x] = (unsigned char)(sum / 16);
            }
        }
        for (int x = 1; x < n - 1; ++x) {
            out[x] = out[n + x];
            out[(n - 1) * n + x] = out[(n - 2) * n + x];
        }
        for (int y = 0; y < n; ++y) {
            out[y * n] = out[y * n + 1];
            out[y * n + n - 1] = out[y * n + n - 2];
        }
        std::memcpy(plane, out, (size_t)n * n);
    }
    for (int i = 0; i < n * n; ++i)
        m_sheet_data[i * channels + channel] = plane[i];
    EngFree(out, false, "EngFont::BinomColor");
    EngFree(plane, false, "EngFont::BinomColor");
    return true;
}

bool EngFont::CopySheetDataToTexture(int sheet)
{
    if (sheet < 0 || sheet >= m_num_sheets) {
        DebugError(ENG_FUNC, "Invalid sheet num %d (%d)", sheet, m_num_sheets);
        return false;
    }
    if (!m_sheet_texs_dx9) {
        DebugError(ENG_FUNC, "m_sheet_texs_dx9 = NULL");
        return false;
    }
    EngTexture* texture = m_sheet_texs_dx9[sheet];
    if (!texture || !texture->IsLoaded()) {
        DebugError(ENG_FUNC, "Sheet tex [%d] not created", sheet);
        return false;
    }
    EngTextureDX9* dx9 = texture->GetDX9();
    if (!dx9) {
        DebugError(ENG_FUNC, "No DX9 tex.");
        return false;
    }
    BinomColor(0, m_creation[5].i);
    if (m_two_channels)
        BinomColor(1, m_creation[6].i);
    if (dx9->GetFormat() != D3DFMT_A8R8G8B8) {
        DebugError(ENG_FUNC, "Unsupported format %lu", (unsigned long)dx9->GetFormat());
        return false;
    }
    int pitch = 0;
    unsigned char* bits = dx9->LockRect(&pitch);
    if (!bits)
        return false;
    const int n = m_sheet_size < dx9->GetWidth() ? m_sheet_size : dx9->GetWidth();
    const int rows = m_sheet_size < dx9->GetHeight() ? m_sheet_size : dx9->GetHeight();
    for (int y = 0; y < rows; ++y) {
        unsigned char* dst = bits + (size_t)y * pitch;
        for (int x = 0; x < n; ++x) {
            const unsigned char* src = m_sheet_data + ((size_t)y * m_sheet_size + x) * (m_two_channels ? 2 : 1);
            const unsigned char grey = m_two_channels ? src[0] : 255;
            dst[x * 4 + 0] = grey;
            dst[x * 4 + 1] = grey;
            dst[x * 4 + 2] = grey;
            dst[x * 4 + 3] = m_two_channels ? src[1] : src[0];
        }
    }
    CopySheetToDrawAtlas_DX9(sheet, bits, pitch);
    return dx9->UnlockRect();
}

void EngFont::CreateDrawAtlas_DX9()
{
    if (m_num_sheets < 2 || !eng_device_dx9)
        return;
    int w = m_sheet_size;
    int h = m_sheet_size * m_num_sheets;
    // Without room for it the glyphs are drawn from their own sheets.
    if (h > (int)eng_device_dx9->GetDeviceCaps()->MaxTextureHeight)
        return;
    EngTexture* atlas = new (std::nothrow) EngTexture("m_draw_atlas");
    if (!atlas)
        return;
    if (!atlas->CreateEmptyTexture2D(&w, &h, true) || w != m_sheet_size || h != m_sheet_size * m_num_sheets) {
        atlas->Destroy();
        delete atlas;
        return;
    }
    m_draw_atlas = atlas;
}

void EngFont::CopySheetToDrawAtlas_DX9(int sheet, const unsigned char* bits, int pitch)
{
    EngTextureDX9* atlas = m_draw_atlas ? m_draw_atlas->GetDX9() : nullptr;
    if (!atlas)
        return;
    int atlas_pitch = 0;
    unsigned char* dst = atlas->LockRect(&atlas_pitch);
    if (!dst)
        return;
    const size_t row_bytes = (size_t)m_sheet_size * 4;
    for (int y = 0; y < m_sheet_size; ++y)
        std::memcpy(dst + (size_t)(sheet * m_sheet_size + y) * atlas_pitch, bits + (size_t)y * pitch, row_bytes);
    atlas->UnlockRect();
}

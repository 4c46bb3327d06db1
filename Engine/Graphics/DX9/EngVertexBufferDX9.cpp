#include "Engine/Graphics/DX9/EngVertexBufferDX9.h"

#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMath.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/DX9/EngGLDeviceDX9.h"
#include "Engine/Graphics/DX9/EngTextureDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngTexture.h"

namespace {

const char* const kLockNames[10] = {
    "Lock[?]",
    "Lock[EVBT_POS_TEX]",
    "Lock[EVBT_POS_NORM_TEX]",
    "Lock[EVBT_POS_COL_TEX]",
    "Lock[EVBT_POS_NORM_COL_TEX]",
    "Lock[EVBT_POS_NORM_COL_SPEC_TEX]",
    "Lock[?]",
    "Lock[EVBT_POS_TEX_2D]",
    "Lock[EVBT_POS_COL_TEX_2D]",
    "Lock[?]",
};

void Fill(float* values, int n, float v)
{
    for (int i = 0; i < n; ++i)
        values[i] = v;
}

bool Same(const float* a, const float* b, int n)
{
    return std::memcmp(a, b, sizeof(float) * n) == 0;
}

unsigned int LiveTexture(EngTexture* texture)
{
    if (!texture || !texture->GetDX9() || !texture->IsLoaded())
        return 0;
    return texture->GetDX9()->GetGLTexture();
}

} // namespace

EngVertexBufferDX9::EngVertexBufferDX9(const char* id)
    : m_type(EVBT_NONE), m_id(nullptr), m_texture(nullptr), m_stride(0), m_fvf(0), m_created(false),
      m_write_count(0)
{
    std::memset(m_data, 0, sizeof(m_data));
    ResetCaches();
    SetID(id);
}

EngVertexBufferDX9::~EngVertexBufferDX9()
{
    Release();
    SetID(nullptr);
}

void EngVertexBufferDX9::SetID(const char* id)
{
    if (m_id)
        EngFree(m_id, false, "EngVertexBufferDX9::SetID");
    m_id = id ? EngMallocStringFromString(id, false, "EngVertexBufferDX9::SetID") : nullptr;
}

void EngVertexBufferDX9::ResetCaches()
{
    Fill(m_last_rect, 4, -1.0f);
    Fill(m_last_uv, 4, -1.0f);
    Fill(m_last_colour, 4, -1.0f);
    Fill(m_normal, 3, 0.0f);
    Fill(m_last_corners, 6, 0.0f);
    m_last_plane = -1;
    m_last_packed_colour = -1;
}

void EngVertexBufferDX9::Release()
{
    m_created = false;
    m_type = EVBT_NONE;
    m_texture = nullptr;
    m_stride = 0;
    m_fvf = 0;
    ResetCaches();
}

bool EngVertexBufferDX9::Create(_EngVertexBufferType type, EngTexture* texture)
{
    if (!EngDeviceIsCreated())
        return false;
    if (m_created) {
        DebugError(ENG_FUNC, "Warning - Already created");
        Release();
    }
    const _EngVertexLayout* layout = EngVertexBufferGetLayout(type);
    if (!layout) {
        DebugError(ENG_FUNC, "Invalid Type: %d", (int)type);
        return false;
    }
    m_type = type;
    m_stride = layout->stride;
    m_fvf = layout->fvf;
    std::memset(m_data, 0, sizeof(m_data));
    m_created = true;
    SetTextureCoordinates(0.0f, 0.0f, 1.0f, 1.0f);
    if (layout->colour_offset >= 0)
        SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    if (layout->normal_offset >= 0)
        SetNormal(0.0f, 0.0f, -1.0f);
    if (texture) {
        m_texture = texture;
        if (!texture->GetDX9() || !texture->GetDX9()->GetGLTexture())
            DebugError(ENG_FUNC, "Could not get dx texture.");
    }
    return true;
}

bool EngVertexBufferDX9::ChangeType(_EngVertexBufferType type)
{
    const _EngVertexLayout* from = EngVertexBufferGetLayout(m_type);
    const _EngVertexLayout* to = EngVertexBufferGetLayout(type);
    if (!m_created || !to || from->pre_transformed != to->pre_transformed)
        return false;
    unsigned char old[sizeof(m_data)];
    std::memcpy(old, m_data, sizeof(old));
    std::memset(m_data, 0, sizeof(m_data));
    BeginWrite();
    for (int v = 0; v < kVertices; ++v) {
        const unsigned char* src = old + v * from->stride;
        unsigned char* dst = m_data + v * to->stride;
        std::memcpy(dst, src, sizeof(float) * to->position_size);
        if (from->normal_offset >= 0 && to->normal_offset >= 0)
            std::memcpy(dst + to->normal_offset, src + from->normal_offset, sizeof(float) * 3);
        if (from->uv_offset >= 0 && to->uv_offset >= 0)
            std::memcpy(dst + to->uv_offset, src + from->uv_offset, sizeof(float) * 2);
        if (to->colour_offset >= 0)
            StoreColour(dst + to->colour_offset, 0xFFFFFFFFu);
    }
    m_type = type;
    m_stride = to->stride;
    m_fvf = to->fvf;
    Fill(m_last_colour, 4, 1.0f);
    m_last_packed_colour = 0xFFFFFFFFu;
    return true;
}

void EngVertexBufferDX9::BeginWrite()
{
    ++m_write_count;
}

float* EngVertexBufferDX9::Field(int vertex, int offset)
{
    return (float*)(m_data + vertex * m_stride + offset);
}

void EngVertexBufferDX9::WriteCorners(const float corners[4][3])
{
    const _EngVertexLayout* layout = EngVertexBufferGetLayout(m_type);
    BeginWrite();
    for (int v = 0; v < kVertices; ++v) {
        float* p = Field(v, 0);
        p[0] = corners[v][0];
        p[1] = corners[v][1];
        p[2] = corners[v][2];
        if (layout->position_size == 4)
            p[3] = 1.0f;
    }
}

void EngVertexBufferDX9::SetPositions(float x, float y, float w, float h)
{
    const float rect[4] = {x, y, w, h};
    if (!m_created || Same(rect, m_last_rect, 4))
        return;
    if (EngVertexBufferGetLayout(m_type)->pre_transformed) {
        const float corners[4][3] = {
            {x - 0.5f, y + h + 0.5f, 0}, {x - 0.5f, y - 0.5f, 0},
            {x + w + 0.5f, y + h + 0.5f, 0}, {x + w + 0.5f, y - 0.5f, 0},
        };
        WriteCorners(corners);
    } else {
        const float corners[4][3] = {
            {x, -(y + h), 0}, {x, -y, 0}, {x + w, -(y + h), 0}, {x + w, -y, 0},
        };
        WriteCorners(corners);
    }
    std::memcpy(m_last_rect, rect, sizeof(rect));
}

void EngVertexBufferDX9::SetPositionsFromRect(const float* rect)
{
    if (rect)
        SetPositions(rect[0], rect[1], rect[2], rect[3]);
}

void EngVertexBufferDX9::SetPositionsRatioed(float x, float y, float w, float h)
{
    SetPositions(x * eng_scale_x, y * eng_scale_y, w * eng_scale_x, h * eng_scale_y);
}

void EngVertexBufferDX9::SetPositions3dVec3(char plane, const _Vector3d* a, const _Vector3d* b)
{
    if (!m_created || !a || !b)
        return;
    if (EngVertexBufferGetLayout(m_type)->pre_transformed) {
        DebugError(ENG_FUNC, "Not supported for 2D Textures (%d) (could be upgraded if needed)", plane + 1);
        return;
    }
    const float key[6] = {a->x, a->y, a->z, b->x, b->y, b->z};
    if (plane == m_last_plane && Same(key, m_last_corners, 6))
        return;
    if (plane == 0) {
        const float c[4][3] = {{b->x, a->y, a->z}, {b->x, b->y, a->z}, {a->x, a->y, a->z}, {a->x, b->y, a->z}};
        WriteCorners(c);
    } else if (plane == 1) {
        const float c[4][3] = {{b->x, a->y, a->z}, {b->x, a->y, b->z}, {a->x, a->y, a->z}, {a->x, a->y, b->z}};
        WriteCorners(c);
    } else if (plane == 2) {
        const float c[4][3] = {{a->x, b->y, a->z}, {a->x, b->y, b->z}, {a->x, a->y, a->z}, {a->x, a->y, b->z}};
        WriteCorners(c);
    } else {
        return;
    }
    m_last_plane = plane;
    std::memcpy(m_last_corners, key, sizeof(key));
}

void EngVertexBufferDX9::SetTextureCoordinates(float u_min, float v_min, float u_max, float v_max)
{
    const float uv[4] = {u_min, v_min, u_max, v_max};
    if (!m_created || Same(uv, m_last_uv, 4))
        return;
    const int offset = EngVertexBufferGetLayout(m_type)->uv_offset;
    if (offset < 0)
        return;
    const float corners[4][2] = {{u_min, v_max}, {u_min, v_min}, {u_max, v_max}, {u_max, v_min}};
    BeginWrite();
    for (int v = 0; v < kVertices; ++v) {
        Field(v, offset)[0] = corners[v][0];
        Field(v, offset)[1] = corners[v][1];
    }
    std::memcpy(m_last_uv, uv, sizeof(uv));
}

void EngVertexBufferDX9::StoreColour(unsigned char* where, unsigned int packed)
{
    where[0] = (unsigned char)(packed >> 16);
    where[1] = (unsigned char)(packed >> 8);
    where[2] = (unsigned char)packed;
    where[3] = (unsigned char)(packed >> 24);
}

void EngVertexBufferDX9::SetColour(float r, float g, float b, float a)
{
    const float rgba[4] = {r, g, b, a};
    if (!m_created || Same(rgba, m_last_colour, 4))
        return;
    const int offset = EngVertexBufferGetLayout(m_type)->colour_offset;
    if (offset < 0)
        return;
    const unsigned int packed = EngVertexBufferPackColour(r, g, b, a);
    std::memcpy(m_last_colour, rgba, sizeof(rgba));
    if ((long long)packed == m_last_packed_colour)
        return;
    BeginWrite();
    for (int v = 0; v < kVertices; ++v)
        StoreColour(m_data + v * m_stride + offset, packed);
    m_last_packed_colour = packed;
}

void EngVertexBufferDX9::SetNormal(float x, float y, float z)
{
    const float n[3] = {x, y, z};
    if (!m_created)
        return;
    const int offset = EngVertexBufferGetLayout(m_type)->normal_offset;
    if (offset < 0 || Same(n, m_normal, 3))
        return;
    BeginWrite();
    for (int v = 0; v < kVertices; ++v)
        std::memcpy(Field(v, offset), n, sizeof(n));
    std::memcpy(m_normal, n, sizeof(n));
}

void EngVertexBufferDX9::Draw()
{
    if (!m_created) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        return;
    }
    DrawVertices(EngVertexBufferGetLayout(m_type), m_data, kVertices, true, m_texture);
}

void EngVertexBufferDX9::DrawVertices(const _EngVertexLayout* layout, const unsigned char* data, int count,
                                      bool strip, EngTexture* texture)
{
    if (!EngDeviceIsCreated() || !eng_d3d_device)
        return;
    eng_d3d_device->DrawVertices(layout, data, count, strip, layout->uv_offset >= 0 ? LiveTexture(texture) : 0);
}

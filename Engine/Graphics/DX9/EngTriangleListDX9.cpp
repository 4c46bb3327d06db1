// The OpenGL half of EngTriangleList: the vertices live in memory and are drawn from there.
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMath.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Graphics/DX9/EngVertexBufferDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngTriangleList.h"
#include "Engine/Graphics/EngVertexBuffer.h"

namespace {

// Indexed by _EngTriangleListType: stride, FVF, position floats, normal, colour, specular, uv.
const _EngVertexLayout kListLayouts[8] = {
    {0, 0x000, 0, -1, -1, -1, -1, false},
    {0, 0x000, 0, -1, -1, -1, -1, false},
    {20, 0x102, 3, -1, -1, -1, 12, false},
    {32, 0x112, 3, 12, -1, -1, 24, false},
    {28, 0x052, 3, 12, 24, -1, -1, false},
    {24, 0x142, 3, -1, 12, -1, 16, false},
    {36, 0x152, 3, 12, 24, -1, 28, false},
    {16, 0x042, 3, -1, 12, -1, -1, false},
};

// Bounds the buffer far above any use, so its size cannot overflow.
const unsigned int kMaxTriangles = 1u << 20;

const _EngVertexLayout* ListLayout(int type)
{
    return &kListLayouts[type];
}

} // namespace

bool EngTriangleList::Create_DX9(_EngTriangleListType type, EngTexture* texture, unsigned int count)
{
    if (!EngDeviceIsCreated())
        return false;
    if (m_created)
        DebugError(ENG_FUNC, "Warning - Already created");
    if (count == 0 || count > kMaxTriangles) {
        DebugError(ENG_FUNC, "Invalid num triangles");
        return false;
    }
    Destroy_DX9();
    if (type < ETLT_POS_TEX || type > ETLT_POS_COL) {
        DebugError(ENG_FUNC, "Invalid Type: %d", (int)type);
        return false;
    }
    const _EngVertexLayout* layout = ListLayout(type);
    m_buffer = (unsigned char*)EngMalloc(count * 3u * (unsigned)layout->stride, "EngTriangleList::Create_DX9", true);
    if (!m_buffer)
        return false;
    m_type = type;
    m_stride = layout->stride;
    m_fvf = layout->fvf;
    m_num_triangles = count;
    m_texture = texture;
    m_created = true;
    for (unsigned int i = 0; i < count; ++i) {
        SetTextureCoordinates_DX9(i, 0.0f, 0.0f, 0.5f, 1.0f, 1.0f, 0.0f);
        SetColour_DX9(i, 1.0f, 1.0f, 1.0f, 1.0f);
    }
    return true;
}

bool EngTriangleList::CheckIndex(const char* func, unsigned int index) const
{
    if (index < m_num_triangles)
        return true;
    DebugError(func, "Invalid Triangle %u (num=%u)", index, m_num_triangles);
    return false;
}

float* EngTriangleList::Field(unsigned int vertex, int offset)
{
    return (float*)(m_buffer + vertex * (unsigned)m_stride + (unsigned)offset);
}

bool EngTriangleList::SetPositions_DX9(unsigned int index, float x0, float y0, float z0, float x1, float y1,
                                       float z1, float x2, float y2, float z2)
{
    const _Vector3d p0 = {x0 / 320.0f - 1.0f, 1.0f - y0 / 240.0f, z0};
    const _Vector3d p1 = {x1 / 320.0f - 1.0f, 1.0f - y1 / 240.0f, z1};
    const _Vector3d p2 = {x2 / 320.0f - 1.0f, 1.0f - y2 / 240.0f, z2};
    return SetPositionsP_DX9(index, &p0, &p1, &p2);
}

bool EngTriangleList::SetPositionsP_DX9(unsigned int index, const _Vector3d* p0, const _Vector3d* p1,
                                        const _Vector3d* p2)
{
    if (!m_created || !p0 || !p1 || !p2 || !CheckIndex(ENG_FUNC, index))
        return false;
    const _Vector3d* points[3] = {p0, p1, p2};
    for (unsigned int v = 0; v < 3; ++v) {
        float* p = Field(index * 3 + v, 0);
        p[0] = points[v]->x;
        p[1] = points[v]->y;
        p[2] = points[v]->z;
    }
    return true;
}

bool EngTriangleList::SetTextureCoordinates_DX9(unsigned int index, float u0, float v0, float u1, float v1, float u2,
                                                float v2)
{
    if (!m_created || !CheckIndex(ENG_FUNC, index))
        return false;
    const int offset = ListLayout(m_type)->uv_offset;
    if (offset < 0)
        return true;
    const float uv[3][2] = {{u0, v0}, {u1, v1}, {u2, v2}};
    for (unsigned int v = 0; v < 3; ++v)
        std::memcpy(Field(index * 3 + v, offset), uv[v], sizeof(uv[v]));
    return true;
}

bool EngTriangleList::SetColour_DX9(unsigned int index, float r, float g, float b, float a)
{
    if (!m_created || !CheckIndex(ENG_FUNC, index))
        return false;
    if (r < 0.0f || g < 0.0f || b < 0.0f || a < 0.0f) {
        DebugError(ENG_FUNC, "Invalid values");
        return false;
    }
    const int offset = ListLayout(m_type)->colour_offset;
    if (offset < 0)
        return true;
    const unsigned int packed = EngVertexBufferPackColour(r, g, b, a);
    for (unsigned int v = 0; v < 3; ++v)
        EngVertexBufferDX9::StoreColour(m_buffer + (index * 3 + v) * (unsigned)m_stride + (unsigned)offset, packed);
    return true;
}

bool EngTriangleList::Draw_DX9()
{
    if (!m_created || m_num_triangles == 0 || !EngDeviceIsCreated())
        return false;
    EngVertexBufferDX9::DrawVertices(ListLayout(m_type), m_buffer, (int)(m_num_triangles * 3), false, m_texture);
    return true;
}

void EngTriangleList::Destroy_DX9()
{
    if (m_buffer)
        EngFree(m_buffer, false, "EngTriangleList::Destroy_DX9");
    m_buffer = nullptr;
    m_created = false;
    m_num_triangles = 0;
    m_texture = nullptr;
}

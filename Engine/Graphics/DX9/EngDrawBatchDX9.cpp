#include "Engine/Graphics/DX9/EngDrawBatchDX9.h"

#include <GL/gl.h>
#include <cstring>

namespace {

enum : unsigned int {
    kVertexArray = 1,
    kNormalArray = 2,
    kColourArray = 4,
    kTexCoordArray = 8,
};

bool SameLayout(const _EngVertexLayout &a, const _EngVertexLayout &b)
{
    return a.stride == b.stride && a.normal_offset == b.normal_offset && a.colour_offset == b.colour_offset &&
           a.uv_offset == b.uv_offset && a.pre_transformed == b.pre_transformed;
}

void SetClientArray(GLenum array, bool on)
{
    if (on)
        glEnableClientState(array);
    else
        glDisableClientState(array);
}

} // namespace

bool EngDrawBatchDX9::Accepts(const _EngVertexLayout *new_layout, unsigned int new_texture) const
{
    return new_texture == texture && SameLayout(*new_layout, layout);
}

void EngDrawBatchDX9::Begin(const _EngVertexLayout *new_layout, unsigned int new_texture)
{
    layout = *new_layout;
    texture = new_texture;
}

void EngDrawBatchDX9::Append(const unsigned char *data, int count, bool strip)
{
    const size_t bytes = (size_t)count * (size_t)layout.stride;
    const size_t at = vertices.size();
    vertices.resize(at + bytes);
    std::memcpy(vertices.data() + at, data, bytes);
    const unsigned int first = (unsigned int)vertex_count;
    if (strip) {
        // The triangles of a strip in the order the GL makes them: odd ones swap their first two vertices.
        for (unsigned int i = 0; i + 2 < (unsigned int)count; i++) {
            const unsigned int odd = i & 1u;
            indices.push_back(first + i + odd);
            indices.push_back(first + i + 1 - odd);
            indices.push_back(first + i + 2);
        }
    } else {
        for (unsigned int i = 0; i + 2 < (unsigned int)count; i += 3) {
            indices.push_back(first + i);
            indices.push_back(first + i + 1);
            indices.push_back(first + i + 2);
        }
    }
    vertex_count += count;
}

void EngDrawBatchDX9::EnableArrays(unsigned int wanted)
{
    const unsigned int changed = wanted ^ arrays_on;
    if (changed & kVertexArray)
        SetClientArray(GL_VERTEX_ARRAY, wanted & kVertexArray);
    if (changed & kNormalArray)
        SetClientArray(GL_NORMAL_ARRAY, wanted & kNormalArray);
    if (changed & kColourArray)
        SetClientArray(GL_COLOR_ARRAY, wanted & kColourArray);
    if (changed & kTexCoordArray)
        SetClientArray(GL_TEXTURE_COORD_ARRAY, wanted & kTexCoordArray);
    arrays_on = wanted;
}

void EngDrawBatchDX9::Draw()
{
    if (indices.empty())
        return;
    const unsigned char *data = vertices.data();
    const GLsizei stride = layout.stride;
    unsigned int wanted = kVertexArray;
    glVertexPointer(3, GL_FLOAT, stride, data);
    if (layout.normal_offset >= 0) {
        wanted |= kNormalArray;
        glNormalPointer(GL_FLOAT, stride, data + layout.normal_offset);
    }
    if (layout.colour_offset >= 0) {
        wanted |= kColourArray;
        glColorPointer(4, GL_UNSIGNED_BYTE, stride, data + layout.colour_offset);
    } else {
        // A vertex without colour is white.
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    if (layout.uv_offset >= 0) {
        wanted |= kTexCoordArray;
        glTexCoordPointer(2, GL_FLOAT, stride, data + layout.uv_offset);
    }
    EnableArrays(wanted);
    glDrawElements(GL_TRIANGLES, (GLsizei)indices.size(), GL_UNSIGNED_INT, indices.data());
    vertices.clear();
    indices.clear();
    vertex_count = 0;
}

void EngDrawBatchDX9::Reset()
{
    vertices.clear();
    indices.clear();
    vertex_count = 0;
    arrays_on = 0;
}

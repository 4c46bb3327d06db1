// The OpenGL half of EngParticles: one square of four vertices (position, colour, texture coordinates) kept
// in memory and drawn from there per particle, so it outlives any context; the texture is reached through
// its EngTexture at draw time.
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Graphics/DX9/EngVertexBufferDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngMatrix.h"
#include "Engine/Graphics/EngParticles.h"
#include "Engine/Graphics/EngVertexBuffer.h"

namespace {

constexpr int kVertexSize = 24;
constexpr int kSquareSize = 4 * kVertexSize;

const _EngVertexLayout *SquareLayout()
{
    return EngVertexBufferGetLayout(EVBT_POS_COL_TEX);
}

} // namespace

bool EngParticles::CreateGraphics()
{
    if (max_particles <= 0) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        return false;
    }
    if (eng_main_device_type != ENG_DEVICE_DX9)
        return true;
    if (!EngDeviceIsCreated())
        return false;
    if (vertex_buffer) {
        DebugError(ENG_FUNC, "buffer already exists.");
        DestroyGraphics();
    }
    vertex_buffer = (unsigned char *)EngMalloc(kSquareSize, "EngParticles::CreateGraphics", true);
    return vertex_buffer != nullptr;
}

void EngParticles::DestroyGraphics()
{
    if (vertex_buffer)
        EngFree(vertex_buffer, false, "EngParticles::DestroyGraphics");
    vertex_buffer = nullptr;
}

void EngParticles::FillSquare(const _EngParticle *p, unsigned char *vertices) const
{
    const float h = p->size * 0.5f;
    // Corner offsets and texture coordinates in strip order; the order with the depth test on is the one
    // the depth-tested scenes cull by.
    static const float depth_order[4][4] = {{-1, 1, 1, 0}, {1, 1, 0, 0}, {-1, -1, 1, 1}, {1, -1, 0, 1}};
    static const float flat_order[4][4] = {{-1, 1, 1, 0}, {-1, -1, 1, 1}, {1, 1, 0, 0}, {1, -1, 0, 1}};
    const float(*order)[4] = parms.depth_test ? depth_order : flat_order;
    const float a = p->drawn_alpha;
    unsigned int colour;
    if (parms.blend_mode == 1)
        colour = EngVertexBufferPackColour(p->colour[0] * a, p->colour[1] * a, p->colour[2] * a, a);
    else if (parms.use_colour)
        colour = EngVertexBufferPackColour(p->colour[0], p->colour[1], p->colour[2], a);
    else
        colour = EngVertexBufferPackColour(p->colour_2[0], p->colour_2[1], p->colour_2[2], a);
    float rotation[16];
    if (parms.square_rotation_set) {
        float r[16];
        EngMatrixRotationX(rotation, p->square_rotation[0] * p->age);
        EngMatrixRotationY(r, p->square_rotation[1] * p->age);
        EngMatrixMultiply(rotation, rotation, r);
        EngMatrixRotationZ(r, p->square_rotation[2] * p->age);
        EngMatrixMultiply(rotation, rotation, r);
    }
    const _EngVertexLayout *layout = SquareLayout();
    for (int v = 0; v < 4; v++) {
        float corner[4] = {order[v][0] * h, order[v][1] * h, 0.0f, 1.0f};
        if (parms.square_rotation_set)
            EngMatrixTransformPoint(corner, rotation, corner[0], corner[1], 0.0f);
        unsigned char *vertex = vertices + v * layout->stride;
        const float position[3] = {p->position[0] + corner[0], p->position[1] + corner[1], p->position[2] + corner[2]};
        std::memcpy(vertex, position, sizeof(position));
        EngVertexBufferDX9::StoreColour(vertex + layout->colour_offset, colour);
        std::memcpy(vertex + layout->uv_offset, &order[v][2], 2 * sizeof(float));
    }
}

bool EngParticles::Render_DX9()
{
    if (!vertex_buffer) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        return false;
    }
    for (int i = 0; i < max_particles; i++) {
        if (particles[i].age <= -1.0f)
            continue;
        FillSquare(&particles[i], vertex_buffer);
        EngVertexBufferDX9::DrawVertices(SquareLayout(), vertex_buffer, 4, true, parms.texture);
    }
    return true;
}

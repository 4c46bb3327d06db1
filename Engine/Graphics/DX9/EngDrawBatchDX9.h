#pragma once
// Consecutive draws that share a vertex layout and a texture, collected into one vertex array and drawn
// with one call. On software OpenGL a frame's cost is the driver's work per draw call, not the pixels, so
// the device (EngGLDeviceDX9) gathers quads, glyphs and triangle lists here and draws them when anything
// they depend on is about to change.

#include <vector>

#include "Engine/Graphics/EngVertexBuffer.h"

class EngDrawBatchDX9 {
public:
    // True when draws of this layout and texture can join what is collected.
    bool Accepts(const _EngVertexLayout *layout, unsigned int texture) const;
    // Starts collecting draws of a layout and texture (the batch must be empty).
    void Begin(const _EngVertexLayout *layout, unsigned int texture);
    // Adds count vertices: a strip (split into its triangles, their winding kept) or a list of triangles.
    void Append(const unsigned char *data, int count, bool strip);
    // Draws what is collected through client arrays and empties the batch.
    void Draw();
    // Forgets the collected vertices and the client arrays' state (the context they belong to is gone).
    void Reset();

    bool IsEmpty() const { return indices.empty(); }
    int GetVertexCount() const { return vertex_count; }
    bool IsPreTransformed() const { return layout.pre_transformed; }
    unsigned int GetTexture() const { return texture; }

private:
    void EnableArrays(unsigned int wanted);

    _EngVertexLayout layout = {};
    unsigned int texture = 0;
    int vertex_count = 0;
    std::vector<unsigned char> vertices;
    std::vector<unsigned int> indices;
    unsigned int arrays_on = 0; // client arrays enabled in the context, one bit each
};

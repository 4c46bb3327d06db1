#pragma once

#include "Engine/Graphics/EngVertexBuffer.h"

class EngTexture;
struct _Vector3d;

// One quad of four vertices drawn as a triangle strip (0 left-bottom, 1 left-top, 2 right-bottom,
// 3 right-top). The vertices live in memory and are drawn from there, so a quad outlives any context.
// The texture is reached through its EngTexture at draw time, so a reload never leaves a dead name.
class EngVertexBufferDX9 {
public:
    explicit EngVertexBufferDX9(const char* id = nullptr);
    ~EngVertexBufferDX9();
    EngVertexBufferDX9(const EngVertexBufferDX9&) = delete;
    EngVertexBufferDX9& operator=(const EngVertexBufferDX9&) = delete;

    void SetID(const char* id);
    const char* GetID() const { return m_id; }

    bool Create(_EngVertexBufferType type, EngTexture* texture = nullptr);
    // Moves the quad to another layout, keeping its positions, normal and texture coordinates.
    bool ChangeType(_EngVertexBufferType type);
    void Release();
    bool IsCreated() const { return m_created; }
    _EngVertexBufferType GetType() const { return m_type; }

    void SetPositions(float x, float y, float w, float h);
    void SetPositionsFromRect(const float* rect);
    void SetPositionsRatioed(float x, float y, float w, float h);
    void SetPositions3dVec3(char plane, const _Vector3d* a, const _Vector3d* b);
    void SetTextureCoordinates(float u_min, float v_min, float u_max, float v_max);
    void SetColour(float r, float g, float b, float a);
    void SetNormal(float x, float y, float z);
    void Draw();

    // Draws count vertices of a layout from memory as a strip (strip true) or a list of triangles, with the
    // texture of the given EngTexture (or none) on stage 0. Shared by quads, triangle lists, particles and
    // glyphs; the vertices are copied into the device's batch, so the memory may change as soon as it returns.
    static void DrawVertices(const _EngVertexLayout* layout, const unsigned char* data, int count, bool strip,
                             EngTexture* texture);
    // Writes a colour into a vertex's four colour bytes (stored R, G, B, A).
    static void StoreColour(unsigned char* where, unsigned int packed);

    // Vertex data as written (stride bytes per vertex), and how often it was rewritten.
    const unsigned char* GetVertexData() const { return m_data; }
    int GetWriteCount() const { return m_write_count; }

private:
    enum { kVertices = 4, kMaxStride = 40 };

    void ResetCaches();
    void WriteCorners(const float corners[4][3]);
    void BeginWrite();
    float* Field(int vertex, int offset);

    _EngVertexBufferType m_type;
    char* m_id;
    EngTexture* m_texture;
    int m_stride;
    unsigned int m_fvf;
    float m_last_rect[4];
    float m_last_uv[4];
    float m_last_colour[4];
    long long m_last_packed_colour;
    float m_normal[3];
    char m_last_plane;
    float m_last_corners[6];
    bool m_created;
    int m_write_count;
    alignas(16) unsigned char m_data[kVertices * kMaxStride];
};

#pragma once

class EngTexture;
struct _Vector3d;

// Vertex layouts of a triangle list; the values match the stored type numbers.
enum _EngTriangleListType : char {
    ETLT_POS_TEX = 2,
    ETLT_POS_NORM_TEX = 3,
    ETLT_POS_NORM_COL = 4,
    ETLT_POS_COL_TEX = 5,
    ETLT_POS_NORM_COL_TEX = 6,
    ETLT_POS_COL = 7,
};

// N separate triangles with an optional texture, positioned in the 640 x 480 virtual screen and drawn under
// identity matrices (2D mode). The texture is reached through its EngTexture at draw time.
class EngTriangleList {
public:
    EngTriangleList();
    ~EngTriangleList();
    EngTriangleList(const EngTriangleList&) = delete;
    EngTriangleList& operator=(const EngTriangleList&) = delete;

    bool Create(_EngTriangleListType type, EngTexture* texture, unsigned int count);
    bool SetPositions(unsigned int index, float x0, float y0, float z0, float x1, float y1, float z1, float x2,
                      float y2, float z2);
    bool SetColour(unsigned int index, float r, float g, float b, float a);
    bool Draw();
    void Destroy();

    bool Create_DX9(_EngTriangleListType type, EngTexture* texture, unsigned int count);
    bool SetPositions_DX9(unsigned int index, float x0, float y0, float z0, float x1, float y1, float z1, float x2,
                          float y2, float z2);
    bool SetPositionsP_DX9(unsigned int index, const _Vector3d* p0, const _Vector3d* p1, const _Vector3d* p2);
    bool SetTextureCoordinates_DX9(unsigned int index, float u0, float v0, float u1, float v1, float u2, float v2);
    bool SetColour_DX9(unsigned int index, float r, float g, float b, float a);
    bool Draw_DX9();
    void Destroy_DX9();

    bool IsCreated() const { return m_created; }
    unsigned int GetNumTriangles() const { return m_num_triangles; }
    int GetStride() const { return m_stride; }
    const unsigned char* GetVertexData() const { return m_buffer; }

private:
    bool CheckIndex(const char* func, unsigned int index) const;
    float* Field(unsigned int vertex, int offset);

    bool m_created;
    _EngTriangleListType m_type;
    EngTexture* m_texture;
    unsigned int m_num_triangles;
    int m_stride;
    unsigned char* m_buffer;
    unsigned int m_fvf;
};

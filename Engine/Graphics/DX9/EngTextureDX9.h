#pragma once

#include "Engine/Graphics/DX9/EngD3DTypesDX9.h"
#include "Engine/Graphics/DX9/EngVertexBufferDX9.h"

class EngTexture;

// The OpenGL half of an EngTexture: one GL texture at the picture's native size and its quad.
// Pixels are kept by the GL; a lock reads level 0 back into memory (B, G, R, A bytes per pixel, as the
// A8R8G8B8 layout has them) and the unlock sends it up again.
class EngTextureDX9 {
public:
    explicit EngTextureDX9(EngTexture* owner);
    ~EngTextureDX9();
    EngTextureDX9(const EngTextureDX9&) = delete;
    EngTextureDX9& operator=(const EngTextureDX9&) = delete;

    bool DoLoadFromFile(const char* file, bool alpha, char alpha_type, int kind);
    bool DoCreateEmptyTexture(int* width, int* height, bool alpha, bool quad_2d);
    void Release();

    // False for a texture made under a context that has died since: its GL name may belong to another now.
    bool IsLoaded() const { return m_loaded && IsLive(); }
    bool SetupAlphaChannel(char alpha_type);
    static int GetBitdepthFromFormat(int format, bool* has_alpha);

    bool SetPosition(float x, float y, float w, float h);
    bool PositionRatioed(float x, float y, float w, float h);
    void SetDefaultTextureCoordinates();
    void SetTextureCoordinates(float u_min, float v_min, float u_max, float v_max);
    void SetColour(float r, float g, float b, float a, bool force);
    bool Draw();
    bool SetDeviceTexture();

    // Level 0 in memory: pitch in bytes; null when nothing is loaded.
    unsigned char* LockRect(int* pitch);
    bool UnlockRect();

    unsigned int GetGLTexture() const { return m_texture; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetFormat() const { return m_format; }
    int GetBitDepth() const { return m_bit_depth; }
    bool HasAlpha() const { return m_has_alpha; }
    bool IsQuad2D() const { return m_quad_2d; }
    bool IsQuadColoured() const { return m_quad_coloured; }
    const float* GetTextureCoordinates() const { return m_coords; }
    bool HasDefaultCoordinates() const { return m_default_coords; }
    const float* GetPosition() const { return m_position; }
    EngVertexBufferDX9* GetQuad() { return &m_quad; }

private:
    bool IsLive() const;
    bool UploadPixels(const unsigned char* bgra, int width, int height, bool alpha);
    bool DoFinaliseTextureCreation(bool quad_2d);
    bool CreateQuad(bool quad_2d);
    void SendCoordinatesIfDefault();
    void RebuildQuadColoured();

    EngTexture* m_owner;
    bool m_loaded;
    float m_position[4];
    int m_width;
    int m_height;
    bool m_default_coords;
    float m_coords[4];
    int m_bit_depth;
    int m_format;
    bool m_has_alpha;
    unsigned int m_texture;
    bool m_quad_2d;
    bool m_quad_coloured;
    bool m_quad_normal;
    EngVertexBufferDX9 m_quad;
    bool m_quad_created;
    // The colour last asked for, re-applied when a reload rebuilds the quad.
    float m_colour[4];
    // The device creation (context serial) the texture was made under.
    unsigned int m_context_serial;
    unsigned char* m_locked;
};

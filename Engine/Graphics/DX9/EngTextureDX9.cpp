#include "Engine/Graphics/DX9/EngTextureDX9.h"

#include <GL/gl.h>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/DX9/EngGLDeviceDX9.h"
#include "Engine/Graphics/DX9/EngTextureFileDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngTexture.h"

namespace {

bool IsWhite(float r, float g, float b, float a)
{
    return r == 1.0f && g == 1.0f && b == 1.0f && a == 1.0f;
}

void ForceOpaque(unsigned char* bgra, int count)
{
    for (int i = 0; i < count; ++i)
        bgra[i * 4 + 3] = 255;
}

// Direct binds for uploads and read-backs; the device's own binding is put back afterwards. Draws collected
// so far go first, so they show the pixels they were given. Rows are whole 4-byte pixels, so the pack and
// unpack alignment never matters.
void BindForTransfer(unsigned int name)
{
    if (eng_d3d_device)
        eng_d3d_device->Flush();
    glBindTexture(GL_TEXTURE_2D, name);
}

void RestoreDeviceBinding()
{
    glBindTexture(GL_TEXTURE_2D, eng_d3d_device ? eng_d3d_device->GetBoundTexture() : 0);
}

unsigned int CurrentContextSerial()
{
    return eng_d3d_device ? eng_d3d_device->GetContextSerial() : 0;
}

} // namespace

EngTextureDX9::EngTextureDX9(EngTexture* owner)
    : m_owner(owner), m_loaded(false), m_width(0), m_height(0), m_default_coords(false), m_bit_depth(0),
      m_format(D3DFMT_UNKNOWN), m_has_alpha(false), m_texture(0), m_quad_2d(false), m_quad_coloured(false),
      m_quad_normal(false), m_quad("EngTextureDX9"), m_quad_created(false), m_context_serial(0), m_locked(nullptr)
{
    std::memset(m_position, 0, sizeof(m_position));
    const float defaults[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    std::memcpy(m_coords, defaults, sizeof(m_coords));
    for (float& c : m_colour)
        c = 1.0f;
}

EngTextureDX9::~EngTextureDX9()
{
    Release();
}

void EngTextureDX9::Release()
{
    if (m_locked) {
        EngFree(m_locked, false, "EngTextureDX9::Release");
        m_locked = nullptr;
    }
    // A name from a context that has since died is only forgotten: it may name another texture now.
    if (IsLive() && EngDeviceIsCreated()) {
        eng_d3d_device->ForgetTexture(m_texture);
        GLuint name = m_texture;
        glDeleteTextures(1, &name);
    }
    m_context_serial = 0;
    m_texture = 0;
    m_quad.Release();
    m_quad_created = false;
    m_quad_coloured = false;
    m_loaded = false;
}

bool EngTextureDX9::UploadPixels(const unsigned char* bgra, int width, int height, bool alpha)
{
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    BindForTransfer(name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, bgra);
    RestoreDeviceBinding();
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &name);
        return false;
    }
    m_texture = name;
    m_context_serial = CurrentContextSerial();
    m_width = width;
    m_height = height;
    m_format = alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    return true;
}

bool EngTextureDX9::DoLoadFromFile(const char* file, bool alpha, char alpha_type, int kind)
{
    if (!EngDeviceIsCreated()) {
        DebugError(ENG_FUNC, "No device");
        return false;
    }
    if (!file || !file[0]) {
        DebugError(ENG_FUNC, "No file specified");
        return false;
    }
    if (!EngFileExists(file, false)) {
        DebugError(ENG_FUNC, "File does not exist <%s>", file);
        return false;
    }
    if (m_texture) {
        DebugError(ENG_FUNC, "Texture already exists <%s>", file);
        Release();
    }
    _EngDecodedPicture picture;
    if (!EngTextureFileDX9_Decode(file, kind, &picture)) {
        DebugError(ENG_FUNC, "Could not load <%s>", file);
        return false;
    }
    if (!alpha)
        ForceOpaque(picture.pixels, picture.width * picture.height);
    bool uploaded = UploadPixels(picture.pixels, picture.width, picture.height, alpha);
    EngTextureFileDX9_Free(&picture);
    if (!uploaded) {
        DebugError(ENG_FUNC, "Could not load <%s>", file);
        return false;
    }
    if (!DoFinaliseTextureCreation(false))
        return false;
    if (alpha && alpha_type != ETAT_FROM_FILE && alpha_type != ETAT_OPAQUE_2 && !SetupAlphaChannel(alpha_type))
        DebugError(ENG_FUNC, "Warning - could not setup alpha channel");
    return true;
}

bool EngTextureDX9::DoCreateEmptyTexture(int* width, int* height, bool alpha, bool quad_2d)
{
    if (!EngDeviceIsCreated()) {
        DebugError(ENG_FUNC, "No device");
        return false;
    }
    if (!width || !height || *width <= 0 || *height <= 0) {
        DebugError(ENG_FUNC, "Invalid sizes");
        return false;
    }
    if (m_texture) {
        DebugError(ENG_FUNC, "Texture already exists");
        Release();
    }
    // Zeroed pixels: a new sheet starts clear.
    const unsigned bytes = (unsigned)*width * (unsigned)*height * 4u;
    unsigned char* zero = (unsigned char*)EngMalloc(bytes, "EngTextureDX9::DoCreateEmptyTexture", true);
    bool made = zero && UploadPixels(zero, *width, *height, alpha);
    if (zero)
        EngFree(zero, false, "EngTextureDX9::DoCreateEmptyTexture");
    if (!made) {
        DebugError(ENG_FUNC, "Could not create texture");
        return false;
    }
    *width = m_width;
    *height = m_height;
    return DoFinaliseTextureCreation(quad_2d);
}

bool EngTextureDX9::CreateQuad(bool quad_2d)
{
    if (m_quad_created) {
        DebugError(ENG_FUNC, "Buffer already created");
        return true;
    }
    if (!m_quad.Create(quad_2d ? EVBT_POS_TEX_2D : EVBT_POS_TEX, m_owner)) {
        DebugError(ENG_FUNC, quad_2d ? "Could not create vertex buffers [2d]" : "Could not create vertex buffers");
        return false;
    }
    m_quad_created = true;
    m_quad_2d = quad_2d;
    m_quad_coloured = false;
    m_quad_normal = false;
    return true;
}

bool EngTextureDX9::DoFinaliseTextureCreation(bool quad_2d)
{
    if (!m_texture) {
        DebugError(ENG_FUNC, "Invalid texture passed in");
        return false;
    }
    if (!CreateQuad(quad_2d)) {
        Release();
        return false;
    }
    m_bit_depth = GetBitdepthFromFormat(m_format, &m_has_alpha);
    m_loaded = true;
    SetDefaultTextureCoordinates();
    // A reload keeps what the owner set: its place and, on a 3D quad, its colour.
    if (m_position[2] != 0.0f && m_position[3] != 0.0f)
        m_quad.SetPositions(m_position[0], m_position[1], m_position[2], m_position[3]);
    if (!IsWhite(m_colour[0], m_colour[1], m_colour[2], m_colour[3]))
        SetColour(m_colour[0], m_colour[1], m_colour[2], m_colour[3], true);
    return true;
}

int EngTextureDX9::GetBitdepthFromFormat(int format, bool* has_alpha)
{
    *has_alpha = false;
    switch (format) {
    case D3DFMT_X8R8G8B8:
        return 32;
    case D3DFMT_A8R8G8B8:
        *has_alpha = true;
        return 32;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_X4R4G4B4:
        return 16;
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
        *has_alpha = true;
        return 16;
    case D3DFMT_R8G8B8:
        return 24;
    case 50: // L8
        return 8;
    default:
        DebugError(ENG_FUNC, "Unrecognised format [%d]", format);
        return 0;
    }
}

bool EngTextureDX9::SetupAlphaChannel(char alpha_type)
{
    if (!m_owner)
        return false;
    if (!m_loaded) {
        DebugError(ENG_FUNC, "No texture");
        return false;
    }
    if (!m_has_alpha) {
        DebugError(ENG_FUNC, "Format does not have alpha channel [%d]", m_format);
        return false;
    }
    if (m_format != D3DFMT_A8R8G8B8) {
        DebugError(ENG_FUNC, "Texture format not ok [%d]", m_format);
        return false;
    }
    int pitch = 0;
    unsigned char* bits = LockRect(&pitch);
    if (!bits) {
        DebugError(ENG_FUNC, "Could not lock texture");
        return false;
    }
    for (int y = 0; y < m_height; ++y) {
        unsigned char* row = bits + y * pitch;
        for (int x = 0; x < m_width; ++x) {
            unsigned char* p = row + x * 4;
            p[3] = EngTexture_GetPixelAlphaFromBrightness(alpha_type, p[2], p[1], p[0]);
        }
    }
    return UnlockRect();
}

bool EngTextureDX9::IsLive() const
{
    return m_texture && m_context_serial && m_context_serial == CurrentContextSerial();
}

unsigned char* EngTextureDX9::LockRect(int* pitch)
{
    if (!IsLive() || m_locked || !EngDeviceIsCreated())
        return nullptr;
    const unsigned bytes = (unsigned)m_width * (unsigned)m_height * 4u;
    m_locked = (unsigned char*)EngMalloc(bytes, "EngTextureDX9::LockRect", false);
    if (!m_locked)
        return nullptr;
    BindForTransfer(m_texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, m_locked);
    RestoreDeviceBinding();
    *pitch = m_width * 4;
    return m_locked;
}

bool EngTextureDX9::UnlockRect()
{
    if (!m_locked)
        return false;
    if (!IsLive()) {
        EngFree(m_locked, false, "EngTextureDX9::UnlockRect");
        m_locked = nullptr;
        return false;
    }
    if (!m_has_alpha)
        ForceOpaque(m_locked, m_width * m_height);
    BindForTransfer(m_texture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, m_width, m_height, GL_BGRA, GL_UNSIGNED_BYTE, m_locked);
    RestoreDeviceBinding();
    EngFree(m_locked, false, "EngTextureDX9::UnlockRect");
    m_locked = nullptr;
    return true;
}

bool EngTextureDX9::SetPosition(float x, float y, float w, float h)
{
    m_position[0] = x;
    m_position[1] = y;
    m_position[2] = w;
    m_position[3] = h;
    m_quad.SetPositions(x, y, w, h);
    return true;
}

bool EngTextureDX9::PositionRatioed(float x, float y, float w, float h)
{
    static int reports = 0;
    if (w == 0.0f || h == 0.0f) {
        if (reports < 10) {
            ++reports;
            DebugError(ENG_FUNC, "Invalid sizes");
        }
        return false;
    }
    if (m_quad_2d)
        return SetPosition(x * eng_scale_x, y * eng_scale_y, w * eng_scale_x, h * eng_scale_y);
    return SetPosition(x / 320.0f - 1.0f, y / 240.0f - 1.0f, w / 320.0f, h / 240.0f);
}

void EngTextureDX9::SetDefaultTextureCoordinates()
{
    if (m_width > 0 && m_height > 0) {
        const float u = 0.5f / (float)m_width;
        const float v = 0.5f / (float)m_height;
        m_coords[0] = u;
        m_coords[1] = v;
        m_coords[2] = 1.0f - u;
        m_coords[3] = 1.0f - v;
        m_default_coords = true;
        return;
    }
    m_coords[0] = 0.0f;
    m_coords[1] = 0.0f;
    m_coords[2] = 1.0f;
    m_coords[3] = 1.0f;
    m_default_coords = false;
}

void EngTextureDX9::SetTextureCoordinates(float u_min, float v_min, float u_max, float v_max)
{
    m_quad.SetTextureCoordinates(u_min, v_min, u_max, v_max);
    m_coords[0] = u_min;
    m_coords[1] = v_min;
    m_coords[2] = u_max;
    m_coords[3] = v_max;
    m_default_coords = false;
}

void EngTextureDX9::SendCoordinatesIfDefault()
{
    if (!m_default_coords)
        return;
    m_quad.SetTextureCoordinates(m_coords[0], m_coords[1], m_coords[2], m_coords[3]);
    m_default_coords = false;
}

void EngTextureDX9::RebuildQuadColoured()
{
    _EngVertexBufferType type = m_quad_normal ? EVBT_POS_NORM_COL_TEX : EVBT_POS_COL_TEX;
    if (m_quad.ChangeType(type))
        m_quad_coloured = true;
}

void EngTextureDX9::SetColour(float r, float g, float b, float a, bool force)
{
    m_colour[0] = r;
    m_colour[1] = g;
    m_colour[2] = b;
    m_colour[3] = a;
    if (!m_quad_created || m_quad_2d)
        return;
    if (!m_quad_coloured) {
        if (!force && IsWhite(r, g, b, a))
            return;
        RebuildQuadColoured();
    }
    m_quad.SetColour(r, g, b, a);
}

bool EngTextureDX9::Draw()
{
    if (!m_loaded)
        return false;
    SendCoordinatesIfDefault();
    if (!IsLive() || !EngDeviceIsCreated())
        return false;
    m_quad.Draw();
    return true;
}

bool EngTextureDX9::SetDeviceTexture()
{
    if (!IsLive() || !EngDeviceIsCreated() || !eng_device_dx9)
        return false;
    return eng_device_dx9->SetTexture(m_texture);
}

#include "Engine/Graphics/EngTexture.h"

#include <cctype>
#include <cstring>
#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Graphics/DX9/EngTextureDX9.h"

namespace {

bool IsDX9()
{
    return eng_main_device_type == ENG_DEVICE_DX9;
}

bool ExtIs(const char* ext, const char* want)
{
    size_t n = std::strlen(want);
    for (size_t i = 0; i < n; ++i) {
        if (ext[i] == '\0' || std::tolower((unsigned char)ext[i]) != want[i])
            return false;
    }
    return ext[n] == '\0';
}

unsigned char Max3(unsigned char r, unsigned char g, unsigned char b)
{
    unsigned char m = r > g ? r : g;
    return m > b ? m : b;
}

unsigned char Min3(unsigned char r, unsigned char g, unsigned char b)
{
    unsigned char m = r < g ? r : g;
    return m < b ? m : b;
}

} // namespace

EngTexture::EngTexture(const char* name, bool not_constructing) : m_dx9(nullptr)
{
    if (not_constructing) {
        if (name)
            DebugError(ENG_FUNC, "Cannot set name if not contstructing.");
        return;
    }
    Construct(name);
}

EngTexture::~EngTexture()
{
    Destroy();
}

bool EngTexture::Construct(const char* name)
{
    (void)name;
    if (IsLoaded()) {
        DebugError(ENG_FUNC, "Must be called before loading textures.");
        return false;
    }
    Destroy();
    return Create();
}

bool EngTexture::Create()
{
    if (!IsDX9() || m_dx9)
        return true;
    m_dx9 = new (std::nothrow) EngTextureDX9(this);
    if (!m_dx9) {
        DebugError(ENG_FUNC, "No memory (DX9)");
        return false;
    }
    return true;
}

void EngTexture::Unload()
{
    if (m_dx9)
        m_dx9->Release();
}

void EngTexture::Destroy()
{
    Unload();
    delete m_dx9;
    m_dx9 = nullptr;
}

bool EngTexture::IsLoaded() const
{
    return IsDX9() && m_dx9 && m_dx9->IsLoaded();
}

bool EngTexture::LoadFromFile(const char* file, bool alpha, char alpha_type, bool unused)
{
    (void)unused;
    return LoadKind(file, alpha, alpha_type, ETFE_UNKNOWN);
}

bool EngTexture::LoadFromFileUsingExt(const char* file, bool alpha, char alpha_type, _EngTextureFileExt dat_kind,
                                      bool unused)
{
    (void)unused;
    _EngTextureFileExt kind = EngTexture_GetFileExtFromFilename(file, dat_kind);
    if (kind < ETFE_BMP || kind > ETFE_PNG) {
        DebugError(ENG_FUNC, "Unknown extension in file <%s>", file ? file : "");
        return false;
    }
    return LoadKind(file, alpha, alpha_type, kind);
}

bool EngTexture::LoadKind(const char* file, bool alpha, char alpha_type, _EngTextureFileExt kind)
{
    if (!IsDX9() || !Create())
        return false;
    return m_dx9->DoLoadFromFile(file, alpha, alpha_type, kind);
}

bool EngTexture::CreateEmptyTexture(int* width, int* height, bool alpha)
{
    if (!IsDX9() || !Create())
        return false;
    return m_dx9->DoCreateEmptyTexture(width, height, alpha, false);
}

bool EngTexture::CreateEmptyTexture2D(int* width, int* height, bool alpha)
{
    if (!IsDX9() || !Create())
        return false;
    return m_dx9->DoCreateEmptyTexture(width, height, alpha, true);
}

bool EngTexture::PositionPure(float x, float y, float w, float h)
{
    if (!IsLoaded())
        return false;
    if (!(w > 0.0f) || !(h > 0.0f)) {
        DebugError(ENG_FUNC, "Invalid sizes");
        return false;
    }
    return m_dx9->SetPosition(x, y, w, h);
}

bool EngTexture::PositionRatioed(float x, float y, float w, float h)
{
    if (!IsLoaded())
        return false;
    return m_dx9->PositionRatioed(x, y, w, h);
}

bool EngTexture::PositionRatioedInt(int x, int y, int w, int h)
{
    return PositionRatioed((float)x, (float)y, (float)w, (float)h);
}

bool EngTexture::PositionRatioedToDimension(const _Dimension* area)
{
    if (!area)
        return false;
    return PositionRatioed(area->x, area->y, area->w, area->h);
}

bool EngTexture::SetTextureCoordinatesFromRect(const float* rect)
{
    if (!IsLoaded())
        return false;
    if (!rect) {
        m_dx9->SetDefaultTextureCoordinates();
        return true;
    }
    m_dx9->SetTextureCoordinates(rect[0], rect[1], rect[2], rect[3]);
    return true;
}

bool EngTexture::ResetTextureCoordinates()
{
    return SetTextureCoordinatesFromRect(nullptr);
}

bool EngTexture::SetColour(float r, float g, float b, float a)
{
    if (!IsLoaded())
        return false;
    m_dx9->SetColour(r, g, b, a, false);
    return true;
}

bool EngTexture::SetColourFromArray(const float* rgba)
{
    if (!rgba)
        return SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    return SetColour(rgba[0], rgba[1], rgba[2], rgba[3]);
}

bool EngTexture::SetAlpha(float a)
{
    return SetColour(1.0f, 1.0f, 1.0f, a);
}

bool EngTexture::Draw()
{
    if (!IsLoaded())
        return false;
    return m_dx9->Draw();
}

bool EngTexture::DrawWithColour(float r, float g, float b, float a)
{
    return SetColour(r, g, b, a) && Draw();
}

bool EngTexture::DrawWithTextureCoordinates(float u_min, float v_min, float u_max, float v_max)
{
    if (!IsLoaded())
        return false;
    m_dx9->SetTextureCoordinates(u_min, v_min, u_max, v_max);
    return Draw();
}

bool EngTexture::DrawWithTextureCoordinatesFromRect(const float* rect)
{
    if (!rect)
        return Draw();
    return DrawWithTextureCoordinates(rect[0], rect[1], rect[2], rect[3]);
}

bool EngTexture::DrawWithTextureCoordinatesAndColour(float u_min, float v_min, float u_max, float v_max, float r,
                                                     float g, float b, float a)
{
    if (!IsLoaded())
        return false;
    m_dx9->SetTextureCoordinates(u_min, v_min, u_max, v_max);
    m_dx9->SetColour(r, g, b, a, false);
    return Draw();
}

bool EngTexture::DrawWithTextureCoordinatesAndColourArray(float u_min, float v_min, float u_max, float v_max,
                                                          const float* rgba)
{
    static const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float* c = rgba ? rgba : white;
    return DrawWithTextureCoordinatesAndColour(u_min, v_min, u_max, v_max, c[0], c[1], c[2], c[3]);
}

bool EngTexture::SetDeviceTextureToTexture()
{
    if (!IsLoaded())
        return false;
    return m_dx9->SetDeviceTexture();
}

_EngTextureFileExt EngTexture_GetFileExtFromFilename(const char* file, _EngTextureFileExt dat_kind)
{
    if (!file)
        return ETFE_UNKNOWN;
    size_t len = std::strlen(file);
    if (len < 4)
        return ETFE_UNKNOWN;
    const char* ext = nullptr;
    if (file[len - 4] == '.')
        ext = file + len - 3;
    else if (len >= 5 && file[len - 5] == '.')
        ext = file + len - 4;
    if (!ext)
        return ETFE_UNKNOWN;
    if (ExtIs(ext, "bmp"))
        return ETFE_BMP;
    if (ExtIs(ext, "tga"))
        return ETFE_TGA;
    if (ExtIs(ext, "jpg") || ExtIs(ext, "jpeg"))
        return ETFE_JPG;
    if (ExtIs(ext, "png"))
        return ETFE_PNG;
    if (ExtIs(ext, "gif"))
        return ETFE_GIF;
    if (ExtIs(ext, "dds"))
        return ETFE_DDS;
    if (ExtIs(ext, "dat"))
        return dat_kind;
    return ETFE_UNKNOWN;
}

unsigned char EngTexture_GetPixelAlphaFromBrightness(char alpha_type, unsigned char r, unsigned char g,
                                                     unsigned char b)
{
    static int from_file_reports = 0;
    static int unknown_reports = 0;
    int mx = Max3(r, g, b);
    int mn = Min3(r, g, b);
    switch (alpha_type) {
    case ETAT_OPAQUE:
    case ETAT_OPAQUE_2:
        return 255;
    case ETAT_CLEAR:
        return 0;
    case ETAT_MAX:
        return (unsigned char)mx;
    case ETAT_DARK_CUTOFF:
        return mx < 32 ? 0 : (mx < 64 ? (unsigned char)(mx * 8 - 256) : 255);
    case ETAT_DARK_RAMP:
        return mx < 32 ? (unsigned char)(mx * 8) : 255;
    case ETAT_INV_MIN:
        return (unsigned char)(255 - mn);
    case ETAT_LIGHT_CUTOFF:
        return mn >= 224 ? 0 : (mn >= 192 ? (unsigned char)((223 - mn) * 8) : 255);
    case ETAT_LIGHT_RAMP:
        return mn >= 224 ? (unsigned char)((255 - mn) * 8) : 255;
    case ETAT_FROM_FILE:
        if (from_file_reports < 20) {
            ++from_file_reports;
            DebugError(ENG_FUNC, "Alpha from file specified");
        }
        return 0;
    default:
        if (unknown_reports < 5) {
            ++unknown_reports;
            DebugError(ENG_FUNC, "Unknown alpha type %d", (int)alpha_type);
        }
        return 0;
    }
}

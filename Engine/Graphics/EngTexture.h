#pragma once

#include "Engine/Graphics/EngDimension.h"

class EngTextureDX9;

// Picture kinds by file extension.
enum _EngTextureFileExt : char {
    ETFE_UNKNOWN = 0,
    ETFE_BMP = 1,
    ETFE_TGA = 2,
    ETFE_JPG = 3,
    ETFE_PNG = 4,
    ETFE_GIF = 5,
    ETFE_DDS = 6,
};

// How a loaded picture's alpha is made from its colour (see EngTexture_GetPixelAlphaFromBrightness).
enum _EngTextureAlphaType : char {
    ETAT_OPAQUE = 0,
    ETAT_CLEAR = 1,
    ETAT_FROM_FILE = 2,
    ETAT_MAX = 3,
    ETAT_DARK_CUTOFF = 4,
    ETAT_DARK_RAMP = 5,
    ETAT_INV_MIN = 6,
    ETAT_LIGHT_CUTOFF = 7,
    ETAT_LIGHT_RAMP = 8,
    ETAT_OPAQUE_2 = 9,
};

// A picture (or an empty texture filled by code) together with the one quad that draws it.
// Every operation forwards to the OpenGL half when the main device type is 1; otherwise it does nothing.
class EngTexture {
public:
    explicit EngTexture(const char* name = nullptr, bool not_constructing = false);
    ~EngTexture();
    EngTexture(const EngTexture&) = delete;
    EngTexture& operator=(const EngTexture&) = delete;

    bool Construct(const char* name);
    bool Create();
    void Unload();
    void Destroy();
    bool IsLoaded() const;

    // The last argument of both loaders has no effect.
    bool LoadFromFile(const char* file, bool alpha, char alpha_type, bool unused = false);
    bool LoadFromFileUsingExt(const char* file, bool alpha, char alpha_type, _EngTextureFileExt dat_kind,
                              bool unused = false);
    bool CreateEmptyTexture(int* width, int* height, bool alpha);
    bool CreateEmptyTexture2D(int* width, int* height, bool alpha);

    bool PositionPure(float x, float y, float w, float h);
    bool PositionRatioed(float x, float y, float w, float h);
    bool PositionRatioedInt(int x, int y, int w, int h);
    bool PositionRatioedToDimension(const _Dimension* area);

    bool SetTextureCoordinatesFromRect(const float* rect = nullptr);
    bool ResetTextureCoordinates();

    bool SetColour(float r, float g, float b, float a);
    bool SetColourFromArray(const float* rgba = nullptr);
    bool SetAlpha(float a);

    bool Draw();
    bool DrawWithColour(float r, float g, float b, float a);
    bool DrawWithTextureCoordinates(float u_min, float v_min, float u_max, float v_max);
    bool DrawWithTextureCoordinatesFromRect(const float* rect);
    bool DrawWithTextureCoordinatesAndColour(float u_min, float v_min, float u_max, float v_max, float r, float g,
                                             float b, float a);
    bool DrawWithTextureCoordinatesAndColourArray(float u_min, float v_min, float u_max, float v_max,
                                                  const float* rgba = nullptr);

    bool SetDeviceTextureToTexture();

    // The OpenGL half, or null (used by quads to reach the live texture at draw time).
    EngTextureDX9* GetDX9() const { return m_dx9; }

private:
    bool LoadKind(const char* file, bool alpha, char alpha_type, _EngTextureFileExt kind);

    EngTextureDX9* m_dx9;
};

_EngTextureFileExt EngTexture_GetFileExtFromFilename(const char* file, _EngTextureFileExt dat_kind);
unsigned char EngTexture_GetPixelAlphaFromBrightness(char alpha_type, unsigned char r, unsigned char g,
                                                     unsigned char b);

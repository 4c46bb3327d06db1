#include "Engine/Graphics/DX9/EngTextureFileDX9.h"

#include <cstring>

#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMemory.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#if __has_include(<stb/stb_image.h>)
#include <stb/stb_image.h>
#else
#include <stb_image.h>
#endif

namespace {

// Larger files are not pictures this game would ship; refusing them bounds the decoder's work.
const unsigned kMaxFileBytes = 64u * 1024u * 1024u;

bool HasPrefix(const unsigned char* data, unsigned size, const unsigned char* magic, unsigned magic_size)
{
    return size >= magic_size && std::memcmp(data, magic, magic_size) == 0;
}

bool IsBmp(const unsigned char* data, unsigned size)
{
    static const unsigned char magic[] = {'B', 'M'};
    return HasPrefix(data, size, magic, sizeof(magic));
}

bool IsPng(const unsigned char* data, unsigned size)
{
    static const unsigned char magic[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return HasPrefix(data, size, magic, sizeof(magic));
}

bool IsJpg(const unsigned char* data, unsigned size)
{
    static const unsigned char magic[] = {0xFF, 0xD8, 0xFF};
    return HasPrefix(data, size, magic, sizeof(magic));
}

// TGA carries no signature: it is whatever the others are not, and its loader checks the header.
// Kind 0 takes the content as it comes.
bool ContentIsKind(const unsigned char* data, unsigned size, int kind)
{
    switch (kind) {
    case 0:
        return true;
    case 1:
        return IsBmp(data, size);
    case 2:
        return !IsBmp(data, size) && !IsPng(data, size) && !IsJpg(data, size);
    case 3:
        return IsJpg(data, size);
    case 4:
        return IsPng(data, size);
    default:
        return false;
    }
}

void RgbaToBgra(unsigned char* pixels, int count)
{
    for (int i = 0; i < count; ++i) {
        unsigned char* p = pixels + i * 4;
        unsigned char r = p[0];
        p[0] = p[2];
        p[2] = r;
    }
}

} // namespace

bool EngTextureFileDX9_Decode(const char* file, int kind, _EngDecodedPicture* out)
{
    out->pixels = nullptr;
    unsigned size = 0;
    unsigned char* data = EngFileReadWhole(file, kMaxFileBytes, "EngTextureFileDX9_Decode", &size);
    if (!data)
        return false;
    int w = 0;
    int h = 0;
    int channels = 0;
    unsigned char* pixels = nullptr;
    if (ContentIsKind(data, size, kind))
        pixels = stbi_load_from_memory(data, (int)size, &w, &h, &channels, 4);
    EngFree(data, true, "EngTextureFileDX9_Decode");
    if (!pixels)
        return false;
    RgbaToBgra(pixels, w * h);
    out->pixels = pixels;
    out->width = w;
    out->height = h;
    out->file_has_alpha = channels == 2 || channels == 4;
    return true;
}

void EngTextureFileDX9_Free(_EngDecodedPicture* picture)
{
    stbi_image_free(picture->pixels);
    picture->pixels = nullptr;
}

#include "Engine/Graphics/DX9/EngTextureFileDX9.h"

#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/DX9/EngGLDeviceDX9.h"

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
const int kLargestSideWithoutDevice = 16384;

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

// ---- Whole-file checks: a file that ends early is refused, not decoded with its missing part as zeros.

unsigned ReadLittle16(const unsigned char* p)
{
    return unsigned(p[0]) | unsigned(p[1]) << 8;
}

unsigned ReadLittle32(const unsigned char* p)
{
    return ReadLittle16(p) | ReadLittle16(p + 2) << 16;
}

unsigned ReadBig16(const unsigned char* p)
{
    return unsigned(p[0]) << 8 | p[1];
}

unsigned ReadBig32(const unsigned char* p)
{
    return ReadBig16(p) << 16 | ReadBig16(p + 2);
}

// Every chunk fits in the file, up to the closing one.
bool PngIsWhole(const unsigned char* data, unsigned size)
{
    unsigned at = 8;
    while (size - at >= 12) {
        unsigned length = ReadBig32(data + at);
        if (length > size - at - 12)
            return false;
        if (std::memcmp(data + at + 4, "IEND", 4) == 0)
            return true;
        at += 12 + length;
    }
    return false;
}

// Uncompressed rows (the only kind the decoder takes) fit in the file.
bool BmpIsWhole(const unsigned char* data, unsigned size)
{
    if (size < 26)
        return false;
    unsigned header = ReadLittle32(data + 14);
    unsigned long long width = 0;
    unsigned long long height = 0;
    unsigned bits = 0;
    if (header == 12) {
        width = ReadLittle16(data + 18);
        height = ReadLittle16(data + 20);
        bits = ReadLittle16(data + 24);
    } else if (header >= 40 && size >= 34) {
        // A negative height stores the rows top first.
        long long signed_height = int(ReadLittle32(data + 22));
        width = ReadLittle32(data + 18);
        height = (unsigned long long)(signed_height < 0 ? -signed_height : signed_height);
        bits = ReadLittle16(data + 28);
    } else {
        return false;
    }
    unsigned long long row = (width * bits + 31) / 32 * 4;
    return ReadLittle32(data + 10) + row * height <= size;
}

// The pixels after the header, identification and colour map: raw, or run-length packets that cover
// every pixel.
bool TgaIsWhole(const unsigned char* data, unsigned size)
{
    if (size < 18)
        return false;
    unsigned pixel_bytes = (data[16] + 7u) / 8u;
    unsigned map_bytes = data[1] ? ReadLittle16(data + 5) * ((data[7] + 7u) / 8u) : 0;
    unsigned long long at = 18ull + data[0] + map_bytes;
    unsigned long long pixels = (unsigned long long)ReadLittle16(data + 12) * ReadLittle16(data + 14);
    if (data[2] < 8)
        return at + pixels * pixel_bytes <= size;
    while (pixels > 0) {
        if (at >= size)
            return false;
        unsigned packet = data[at++];
        unsigned long long count = (packet & 0x7Fu) + 1u;
        at += (packet & 0x80u) ? pixel_bytes : count * pixel_bytes;
        pixels -= count < pixels ? count : pixels;
    }
    return at <= size;
}

// One Huffman table segment: table classes and numbers in range, and no more codes than a table holds.
bool JpegTablesAreSound(const unsigned char* data, unsigned long long length)
{
    unsigned long long at = 0;
    while (at < length) {
        if (length - at < 17 || (data[at] >> 4) > 1 || (data[at] & 15) > 3)
            return false;
        unsigned codes = 0;
        for (int i = 1; i <= 16; i++)
            codes += data[at + i];
        if (codes > 256 || length - at - 17 < codes)
            return false;
        at += 17 + codes;
    }
    return true;
}

// In a scan, 0xFF is followed by 0 (a stuffed byte) or a restart marker; anything else ends the scan.
bool IsMarkerAfterScan(const unsigned char* p)
{
    return p[0] == 0xFF && p[1] != 0 && (p[1] < 0xD0 || p[1] > 0xD7);
}

// Marker by marker to the end of the picture: every segment fits, every Huffman table is sound, and every
// scan is followed by a marker (a byte 0xFF inside a scan is always followed by 0).
// Every segment must begin with 0xFF: the decoder skips stray bytes before a marker, so a stray byte read as
// a segment of its own could hide the table that follows it from this check.
bool JpegIsWholeAndSound(const unsigned char* data, unsigned size)
{
    unsigned at = 2;
    for (;;) {
        if (at >= size || data[at] != 0xFF) {
            DebugError(ENG_FUNC, "Corrupt JPEG: no marker where a segment begins");
            return false;
        }
        while (at < size && data[at] == 0xFF)
            at++;
        if (at >= size)
            return false;
        unsigned char marker = data[at++];
        if (marker == 0xD9)
            return true;
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01)
            continue;
        if (size - at < 2)
            return false;
        unsigned length = ReadBig16(data + at);
        if (length < 2 || length > size - at)
            return false;
        if (marker == 0xC4 && !JpegTablesAreSound(data + at + 2, length - 2)) {
            DebugError(ENG_FUNC, "Corrupt JPEG: bad Huffman table");
            return false;
        }
        at += length;
        if (marker != 0xDA)
            continue;
        while (at + 1 < size && !IsMarkerAfterScan(data + at))
            at++;
        if (at + 1 >= size)
            return false;
    }
}

bool IsWhole(const unsigned char* data, unsigned size)
{
    if (IsPng(data, size))
        return PngIsWhole(data, size);
    if (IsJpg(data, size))
        return JpegIsWholeAndSound(data, size);
    if (IsBmp(data, size))
        return BmpIsWhole(data, size);
    return TgaIsWhole(data, size);
}

// The largest side the device takes; without a device, the largest any device of this engine takes.
int LargestTextureSide()
{
    D3DCAPS9 caps = {};
    if (!eng_d3d_device || eng_d3d_device->GetDeviceCaps(&caps) != D3D_OK || caps.MaxTextureWidth == 0)
        return kLargestSideWithoutDevice;
    return int(caps.MaxTextureWidth < caps.MaxTextureHeight ? caps.MaxTextureWidth : caps.MaxTextureHeight);
}

// The header's size must fit the device before anything is decoded: a huge picture would take seconds
// and gigabytes only to be refused.
bool SizeFitsTheDevice(const char* file, const unsigned char* data, unsigned size)
{
    int w = 0;
    int h = 0;
    int channels = 0;
    if (!stbi_info_from_memory(data, (int)size, &w, &h, &channels))
        return false;
    int largest = LargestTextureSide();
    if (w > largest || h > largest) {
        DebugError(ENG_FUNC, "<%s> is %dx%d, larger than the largest texture (%d)", file, w, h, largest);
        return false;
    }
    // A picture that compresses well may fit the file limit and still decode to gigabytes.
    if ((unsigned long long)w * (unsigned long long)h * 4ull > kMaxFileBytes) {
        DebugError(ENG_FUNC, "<%s> is %dx%d, larger than any picture of the game", file, w, h);
        return false;
    }
    return true;
}

bool CanDecode(const char* file, const unsigned char* data, unsigned size, int kind)
{
    if (!ContentIsKind(data, size, kind))
        return false;
    if (!IsWhole(data, size)) {
        DebugError(ENG_FUNC, "<%s> is cut short or damaged", file);
        return false;
    }
    return SizeFitsTheDevice(file, data, size);
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
    if (CanDecode(file, data, size, kind))
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

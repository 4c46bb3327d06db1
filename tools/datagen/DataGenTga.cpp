#include "DataGenTga.h"

#include <cstdio>
#include <vector>

namespace {

// cairo keeps colour premultiplied by alpha; pictures on disk carry it straight.
unsigned char Unpremultiply(unsigned char value, unsigned char alpha)
{
    if (alpha == 0)
        return 0;
    unsigned v = (value * 255u + alpha / 2u) / alpha;
    return (unsigned char)(v > 255u ? 255u : v);
}

void PutLe16(unsigned char* where, int value)
{
    where[0] = (unsigned char)(value & 0xFF);
    where[1] = (unsigned char)((value >> 8) & 0xFF);
}

} // namespace

bool DataGenWriteTga(cairo_surface_t* surface, const char* path)
{
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    if (!data || w <= 0 || h <= 0 || w > 65535 || h > 65535)
        return false;

    unsigned char header[18] = {};
    header[2] = 2; // uncompressed true colour
    PutLe16(header + 12, w);
    PutLe16(header + 14, h);
    header[16] = 32;
    header[17] = 0x28; // 8 alpha bits, top-left origin

    std::vector<unsigned char> pixels((size_t)w * h * 4);
    for (int y = 0; y < h; ++y) {
        const unsigned int* row = (const unsigned int*)(data + (size_t)y * stride);
        for (int x = 0; x < w; ++x) {
            unsigned int argb = row[x];
            unsigned char a = (unsigned char)(argb >> 24);
            unsigned char* out = &pixels[((size_t)y * w + x) * 4];
            out[0] = Unpremultiply((unsigned char)(argb & 0xFF), a);
            out[1] = Unpremultiply((unsigned char)((argb >> 8) & 0xFF), a);
            out[2] = Unpremultiply((unsigned char)((argb >> 16) & 0xFF), a);
            out[3] = a;
        }
    }

    FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(header, 1, sizeof(header), f) == sizeof(header) &&
              std::fwrite(pixels.data(), 1, pixels.size(), f) == pixels.size();
    return std::fclose(f) == 0 && ok;
}

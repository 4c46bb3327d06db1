#pragma once
// A picture file of the game's data decoded to RGB for tests that compare what reaches the screen with the
// picture it came from.
//
//   PictureFile track = PictureFile::Load("Data/1600.dat");
//   const unsigned char* rgb = track.Pixel(10, 20);

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#if __has_include(<stb/stb_image.h>)
#include <stb/stb_image.h>
#else
#include <stb_image.h>
#endif

struct PictureFile
{
    int width = 0;
    int height = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> pixels{nullptr, stbi_image_free};

    // Empty (no pixels) when the file cannot be read or decoded.
    static PictureFile Load(const std::string& name)
    {
        std::ifstream in(name, std::ios::binary);
        std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        PictureFile picture;
        int channels = 0;
        picture.pixels.reset(stbi_load_from_memory(bytes.data(), int(bytes.size()), &picture.width,
                                                   &picture.height, &channels, 3));
        return picture;
    }

    const unsigned char* Pixel(int x, int y) const { return pixels.get() + (y * width + x) * 3; }
};

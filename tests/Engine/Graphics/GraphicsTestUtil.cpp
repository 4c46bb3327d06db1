#include "GraphicsTestUtil.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "Engine/Core/EngDebug.h"
#include "Support/LogForTests.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#if __has_include(<stb/stb_image_write.h>)
#include <stb/stb_image_write.h>
#else
#include <stb_image_write.h>
#endif

namespace {

int log_mark = 0;

void RemoveTestPictureFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(TestPictureFolder(), ignored);
}

} // namespace

std::string TestPictureFolder()
{
    static std::string folder;
    if (folder.empty()) {
        char path[] = "/tmp/torvi-graphics-XXXXXX";
        if (mkdtemp(path)) {
            folder = path;
            std::atexit(RemoveTestPictureFolder);
        }
    }
    return folder;
}

std::string WritePicture(const char* name, const char* kind, int w, int h, const std::vector<unsigned char>& rgba)
{
    const std::string path = TestPictureFolder() + "/" + name;
    int ok = 0;
    if (std::strcmp(kind, "png") == 0)
        ok = stbi_write_png(path.c_str(), w, h, 4, rgba.data(), w * 4);
    else if (std::strcmp(kind, "bmp") == 0)
        ok = stbi_write_bmp(path.c_str(), w, h, 4, rgba.data());
    else if (std::strcmp(kind, "tga") == 0) {
        stbi_write_tga_with_rle = 0;
        ok = stbi_write_tga(path.c_str(), w, h, 4, rgba.data());
    } else if (std::strcmp(kind, "jpg") == 0)
        ok = stbi_write_jpg(path.c_str(), w, h, 4, rgba.data(), 100);
    return ok ? path : std::string();
}

std::string WriteSolidPicture(const char* name, const char* kind, int w, int h, unsigned char r, unsigned char g,
                              unsigned char b, unsigned char a)
{
    std::vector<unsigned char> rgba((size_t)w * h * 4);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = r;
        rgba[i + 1] = g;
        rgba[i + 2] = b;
        rgba[i + 3] = a;
    }
    return WritePicture(name, kind, w, h, rgba);
}

std::string WriteBytes(const char* name, const std::vector<unsigned char>& bytes)
{
    const std::string path = TestPictureFolder() + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return std::string();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

int LogCountSinceMark(const char* text)
{
    // The ring drops its older half when full; the mark then points past the end.
    if (log_mark > DebugGetMessageCount())
        log_mark = 0;
    return LogCountSince(log_mark, text);
}

bool LogHas(const char* text)
{
    return LogCountSinceMark(text) > 0;
}

void ClearLogMark()
{
    log_mark = DebugGetMessageCount();
}

#include "Support/TestScratchFiles.h"

#include <cerrno>
#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

std::string TestScratchFiles::Name(const char* stem, const char* ending)
{
    std::string path = std::string(stem) + "-" + std::to_string(getpid()) + ending;
    m_paths.push_back(path);
    return path;
}

std::string TestScratchFiles::SolidTga(const char* stem, unsigned char r, unsigned char g, unsigned char b)
{
    std::string path = Name(stem, ".tga");
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return "";
    const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 8, 0, 32, 8};
    bool ok = std::fwrite(header, 1, sizeof(header), f) == sizeof(header);
    for (int i = 0; i < 64 && ok; i++) {
        const unsigned char pixel[4] = {b, g, r, 255};
        ok = std::fwrite(pixel, 1, sizeof(pixel), f) == sizeof(pixel);
    }
    ok = std::fclose(f) == 0 && ok;
    return ok ? path : "";
}

std::string TestScratchFiles::Folder(const char* stem)
{
    std::string path = Name(stem, "");
    // One left by an earlier, killed process of the same id is taken over.
    return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST ? path : "";
}

bool TestScratchFiles::WriteText(const std::string& path, const char* text)
{
    m_paths.push_back(path);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fputs(text, f) >= 0;
    return std::fclose(f) == 0 && ok;
}

void TestScratchFiles::RemoveAll()
{
    for (auto it = m_paths.rbegin(); it != m_paths.rend(); ++it)
        std::remove(it->c_str());
    m_paths.clear();
}

#pragma once
// Files and folders a test writes into the shared working folder (the build root), where test processes run
// side by side: every name carries this process's id, and all are removed by RemoveAll or on destruction.
//
//   TestScratchFiles scratch;
//   std::string red = scratch.SolidTga("mwin-test-red", 255, 0, 0);   // "mwin-test-red-<pid>.tga"

#include <string>
#include <vector>

class TestScratchFiles {
public:
    TestScratchFiles() = default;
    ~TestScratchFiles() { RemoveAll(); }
    TestScratchFiles(const TestScratchFiles&) = delete;
    TestScratchFiles& operator=(const TestScratchFiles&) = delete;

    // "<stem>-<process id><ending>", remembered for removal.
    std::string Name(const char* stem, const char* ending);
    // An 8 x 8 uncompressed 32-bit TGA of one colour; its path, or "" when it cannot be written.
    std::string SolidTga(const char* stem, unsigned char r, unsigned char g, unsigned char b);
    // A new folder; its path, or "" when it cannot be made.
    std::string Folder(const char* stem);
    // Writes text to path (a file inside one of the folders, say), remembered for removal.
    bool WriteText(const std::string& path, const char* text);
    // Newest first, so files go before the folders that hold them.
    void RemoveAll();

private:
    std::vector<std::string> m_paths;
};

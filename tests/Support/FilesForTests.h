#pragma once
// Files of the tests: a whole file read, and a fresh folder made.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

// A whole file as its bytes: "" when it cannot be read.
inline std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A new empty folder named from the prefix, under the test's temporary folder unless another base is given
// (ending in "/"); "" when it cannot be made.
inline std::string MakeTempFolder(const char* prefix, const std::string& base = ::testing::TempDir())
{
    std::string pattern = base + prefix + "-XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

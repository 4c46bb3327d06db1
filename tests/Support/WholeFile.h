#pragma once
// A whole file as its bytes: "" when it cannot be read.

#include <fstream>
#include <sstream>
#include <string>

inline std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

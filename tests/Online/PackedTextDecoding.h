#pragma once

// Undoing the packing of records sent to the maker's scripts, so tests can read back what was sent.

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

// Undoes the form-safe Base64 of the packed text.
inline std::vector<unsigned char> DecodeFormSafe(const std::string& text)
{
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-.";
    std::vector<unsigned char> out;
    unsigned bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '_')
            break;
        size_t value = alphabet.find(c);
        EXPECT_NE(value, std::string::npos) << "unexpected character " << c;
        bits = (bits << 6) | unsigned(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out.push_back((unsigned char)(bits >> count));
        }
    }
    return out;
}

inline std::vector<unsigned char> Inflate(const std::vector<unsigned char>& compressed, size_t expected)
{
    std::vector<unsigned char> out(expected + 16);
    uLongf length = uLongf(out.size());
    EXPECT_EQ(uncompress(out.data(), &length, compressed.data(), uLong(compressed.size())), Z_OK);
    out.resize(length);
    return out;
}

#pragma once

#include <cstdint>

// Fixed-width engine integers; records written to disk are built from these.
typedef std::int8_t EngInt8;
typedef std::uint8_t EngUInt8;
typedef std::int16_t EngInt16;
typedef std::uint16_t EngUInt16;
typedef std::int32_t EngInt32;
typedef std::uint32_t EngUInt32;

// Builds a four-character code with the first character in the most significant byte ('MAIN').
constexpr EngUInt32 EngFourCC(char a, char b, char c, char d)
{
    return (EngUInt32(EngUInt8(a)) << 24) | (EngUInt32(EngUInt8(b)) << 16) | (EngUInt32(EngUInt8(c)) << 8) |
           EngUInt32(EngUInt8(d));
}

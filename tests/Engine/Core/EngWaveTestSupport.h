#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// Wave files made at test time, byte by byte, so every field (and every lie) is under the test's control.
struct WaveBytes
{
    std::vector<unsigned char> bytes;

    void Id(const char* id)
    {
        for (int i = 0; i < 4; i++)
            bytes.push_back((unsigned char)id[i]);
    }
    void U16(unsigned value)
    {
        bytes.push_back(value & 0xff);
        bytes.push_back((value >> 8) & 0xff);
    }
    void U32(uint32_t value)
    {
        for (int i = 0; i < 4; i++)
            bytes.push_back((value >> (8 * i)) & 0xff);
    }
    void Chunk(const char* id, const std::vector<unsigned char>& body, bool pad = true)
    {
        Id(id);
        U32(uint32_t(body.size()));
        bytes.insert(bytes.end(), body.begin(), body.end());
        if (pad && body.size() % 2)
            bytes.push_back(0);
    }
    // Sets the RIFF size to what follows its field, unless a lying size is given.
    void FixRiffSize(int64_t lie = -1)
    {
        uint32_t size = lie >= 0 ? uint32_t(lie) : uint32_t(bytes.size() - 8);
        for (int i = 0; i < 4; i++)
            bytes[4 + i] = (size >> (8 * i)) & 0xff;
    }
};

inline std::vector<unsigned char> FormatBody(unsigned tag, unsigned channels, uint32_t rate, unsigned bits,
                                             bool with_extra = false)
{
    WaveBytes body;
    unsigned block = channels * bits / 8;
    body.U16(tag);
    body.U16(channels);
    body.U32(rate);
    body.U32(rate * block);
    body.U16(block);
    body.U16(bits);
    if (with_extra)
        body.U16(0);
    return body.bytes;
}

// A plain PCM file of frames sample frames (a saw tooth, so the data is not all zero).
inline WaveBytes MakeWave(unsigned channels, unsigned bits, uint32_t rate, unsigned frames, unsigned tag = 1)
{
    WaveBytes wave;
    wave.Id("RIFF");
    wave.U32(0);
    wave.Id("WAVE");
    wave.Chunk("fmt ", FormatBody(tag, channels, rate, bits));
    std::vector<unsigned char> data(size_t(frames) * channels * bits / 8);
    for (size_t i = 0; i < data.size(); i++)
        data[i] = (unsigned char)(i * 7);
    wave.Chunk("data", data);
    wave.FixRiffSize();
    return wave;
}

inline void WriteWave(const std::string& name, const WaveBytes& wave)
{
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(wave.bytes.data()), std::streamsize(wave.bytes.size()));
}

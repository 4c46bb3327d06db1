#pragma once

// A reader of RIFF WAVE files holding PCM samples. Every chunk size is checked against the file, so a
// truncated or lying file is refused instead of being read past its end.

#include "Engine/Core/EngTypes.h"

// The 18-byte wave format record as it stands in the file's "fmt " chunk.
struct __attribute__((packed)) _EngWaveFormat
{
    EngUInt16 format_tag;
    EngUInt16 channels;
    EngUInt32 samples_per_sec;
    EngUInt32 avg_bytes_per_sec;
    EngUInt16 block_align;
    EngUInt16 bits_per_sample;
    EngUInt16 extra_size;
};
static_assert(sizeof(_EngWaveFormat) == 18, "the wave format record is 18 bytes");

constexpr EngUInt16 ENG_WAVE_FORMAT_PCM = 1;

class EngWave
{
public:
    EngWave();
    ~EngWave();
    EngWave(const EngWave&) = delete;
    EngWave& operator=(const EngWave&) = delete;

    // Reads the file whole; with format_only the samples are not kept. Failures are reported with the name.
    bool LoadFromFile(const char* name, bool format_only);
    // The same checks on a file image in memory; name is only for the reports.
    bool LoadFromMemory(const unsigned char* image, unsigned size, bool format_only, const char* name);
    void Free();

    const _EngWaveFormat& GetFormat() const { return m_format; }
    const unsigned char* GetData() const { return m_data; }
    unsigned GetDataSize() const { return m_data_size; }
    // Seconds of sound: data bytes / average bytes per second, 0 when that rate is 0.
    float GetDuration() const;

private:
    bool ReadFormat(const unsigned char* chunk, unsigned size, const char* name);

    _EngWaveFormat m_format;
    unsigned char* m_data;
    unsigned m_data_size;
};

#include "Engine/Core/EngWave.h"

#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngString.h"

namespace {

constexpr unsigned kRiffHeader = 12;
constexpr unsigned kChunkHeader = 8;
constexpr unsigned kPcmFormatSize = 16;
constexpr unsigned kLargestFile = 64u << 20;
constexpr EngUInt32 kHighestRate = 384000;

EngUInt32 ReadU32(const unsigned char* p)
{
    return EngUInt32(p[0]) | EngUInt32(p[1]) << 8 | EngUInt32(p[2]) << 16 | EngUInt32(p[3]) << 24;
}

EngUInt16 ReadU16(const unsigned char* p)
{
    return EngUInt16(p[0] | p[1] << 8);
}

bool IsId(const unsigned char* p, const char* id)
{
    return std::memcmp(p, id, 4) == 0;
}

// Only what the sound layer can play: 8- or 16-bit PCM, mono or stereo, with a consistent block size.
bool IsPlayablePcm(const _EngWaveFormat& format)
{
    if (format.format_tag != ENG_WAVE_FORMAT_PCM)
        return false;
    if (format.channels < 1 || format.channels > 2)
        return false;
    if (format.bits_per_sample != 8 && format.bits_per_sample != 16)
        return false;
    if (format.block_align != format.channels * format.bits_per_sample / 8)
        return false;
    return format.samples_per_sec > 0 && format.samples_per_sec <= kHighestRate;
}

}  // namespace

EngWave::EngWave() : m_data(nullptr), m_data_size(0)
{
    std::memset(&m_format, 0, sizeof(m_format));
}

EngWave::~EngWave()
{
    Free();
}

void EngWave::Free()
{
    if (m_data)
        EngFree(m_data, false, "EngWave::Free");
    m_data = nullptr;
    m_data_size = 0;
}

float EngWave::GetDuration() const
{
    if (m_format.avg_bytes_per_sec == 0)
        return 0.0f;
    return float(m_data_size) / float(m_format.avg_bytes_per_sec);
}

bool EngWave::LoadFromFile(const char* name, bool format_only)
{
    Free();
    EngFile file;
    if (!name || !file.OpenForReadingQuietly(name, false)) {
        DebugError(ENG_FUNC, "Can not open wafefile %s", EngStringOrNone(name));
        return false;
    }
    unsigned size = file.GetSize();
    if (size < kRiffHeader || size > kLargestFile) {
        DebugError(ENG_FUNC, "Not a RIFF WAVE file %s", name);
        return false;
    }
    unsigned char* image = static_cast<unsigned char*>(EngMalloc(size, "EngWave::LoadFromFile", false));
    if (!image)
        return false;
    bool ok = file.Read(image, int(size), true) && LoadFromMemory(image, size, format_only, name);
    EngFree(image, false, "EngWave::LoadFromFile");
    return ok;
}

bool EngWave::ReadFormat(const unsigned char* chunk, unsigned size, const char* name)
{
    if (size < kPcmFormatSize) {
        DebugError(ENG_FUNC, "Invalid format in %s", name);
        return false;
    }
    unsigned char record[sizeof(_EngWaveFormat)] = {};
    std::memcpy(record, chunk, size < sizeof(record) ? size : sizeof(record));
    m_format.format_tag = ReadU16(record);
    m_format.channels = ReadU16(record + 2);
    m_format.samples_per_sec = ReadU32(record + 4);
    m_format.avg_bytes_per_sec = ReadU32(record + 8);
    m_format.block_align = ReadU16(record + 12);
    m_format.bits_per_sample = ReadU16(record + 14);
    m_format.extra_size = ReadU16(record + 16);
    if (IsPlayablePcm(m_format))
        return true;
    DebugError(ENG_FUNC, "Invalid format in %s", name);
    return false;
}

bool EngWave::LoadFromMemory(const unsigned char* image, unsigned size, bool format_only, const char* name)
{
    Free();
    std::memset(&m_format, 0, sizeof(m_format));
    name = EngStringOrNone(name);
    if (!image || size < kRiffHeader || !IsId(image, "RIFF") || !IsId(image + 8, "WAVE")) {
        DebugError(ENG_FUNC, "Not a RIFF WAVE file %s", name);
        return false;
    }
    EngUInt32 riff_size = ReadU32(image + 4);
    if (riff_size < 4 || riff_size > size - kChunkHeader) {
        DebugError(ENG_FUNC, "Chunk size beyond the end of %s", name);
        return false;
    }
    const unsigned end = kChunkHeader + riff_size;
    const unsigned char* format_chunk = nullptr;
    const unsigned char* data_chunk = nullptr;
    unsigned format_size = 0;
    unsigned data_size = 0;
    for (unsigned pos = kRiffHeader; end - pos >= kChunkHeader;) {
        EngUInt32 chunk_size = ReadU32(image + pos + 4);
        if (chunk_size > end - pos - kChunkHeader) {
            DebugError(ENG_FUNC, "Chunk size beyond the end of %s", name);
            return false;
        }
        const unsigned char* body = image + pos + kChunkHeader;
        if (IsId(image + pos, "fmt ") && !format_chunk) {
            format_chunk = body;
            format_size = chunk_size;
        } else if (IsId(image + pos, "data") && !data_chunk) {
            data_chunk = body;
            data_size = chunk_size;
        }
        unsigned step = kChunkHeader + chunk_size + (chunk_size & 1);
        if (step > end - pos)
            break;
        pos += step;
    }
    if (!format_chunk) {
        DebugError(ENG_FUNC, "No fmt chunk in %s", name);
        return false;
    }
    if (!ReadFormat(format_chunk, format_size, name))
        return false;
    if (format_only)
        return true;
    if (!data_chunk) {
        DebugError(ENG_FUNC, "No data chunk in %s", name);
        return false;
    }
    // A last partial sample frame cannot be played.
    data_size -= data_size % m_format.block_align;
    if (data_size == 0) {
        DebugError(ENG_FUNC, "No data chunk in %s", name);
        return false;
    }
    m_data = static_cast<unsigned char*>(EngMalloc(data_size, "EngWave::LoadFromMemory", false));
    if (!m_data)
        return false;
    std::memcpy(m_data, data_chunk, data_size);
    m_data_size = data_size;
    return true;
}

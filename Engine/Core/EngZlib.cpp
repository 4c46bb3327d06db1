#include "Engine/Core/EngZlib.h"

#include <zlib.h>

#include <cstring>

#include "Engine/Core/EngBase64.h"
#include "Engine/Core/EngBlowfish.h"
#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMemory.h"

namespace {

constexpr int kGzipWindowBits = 31;
// Records are small; this keeps every buffer size below in range.
constexpr unsigned kLargestRecord = 1u << 28;
constexpr int kMemoryLevel = 8;

// The library must be of the major version the program was built with.
bool CheckZlibVersion()
{
    const char* running = zlibVersion();
    if (running[0] != ZLIB_VERSION[0]) {
        DebugError(ENG_FUNC, "incopatible zlib versions (%s vs %s)", running, ZLIB_VERSION);
        return false;
    }
    if (std::strcmp(running, ZLIB_VERSION) != 0)
        DebugInfoQuick(ENG_FUNC, "warning: different zlib version (%s vs %s)", running, ZLIB_VERSION);
    return true;
}

// Reports what one Z_FINISH pass left behind; false unless the stream ended with all input used.
bool CheckDeflateResult(int code, const z_stream& stream)
{
    if (code == Z_STREAM_END && stream.avail_in == 0)
        return true;
    if (code == Z_STREAM_END)
        DebugError(ENG_FUNC, "deflate() internal error 1");
    else if (code == Z_OK)
        DebugError(ENG_FUNC, "out buffer not big enough");
    else
        DebugError(ENG_FUNC, "deflate() error %d", code);
    return false;
}

// Room that always holds the compressed form, even of short or incompressible data.
unsigned CompressedRoom(unsigned length)
{
    unsigned bound = unsigned(compressBound(length));
    return 2 * length > bound ? 2 * length : bound;
}

unsigned char* EncipheredCopy(const char* key, const void* data, unsigned length)
{
    auto* copy = static_cast<unsigned char*>(EngMalloc(length + 1, "EngZlibEncryptCompressAndEncodeToBase64Data",
                                                       true));
    if (!copy)
        return nullptr;
    std::memcpy(copy, data, length);
    if (EngEncryptionEncryptDataUsingBlowfishEncryption(key, copy, int(length)))
        return copy;
    DebugError(ENG_FUNC, "Could not encrpyt data.");
    EngFree(copy, false, "EngZlibEncryptCompressAndEncodeToBase64Data");
    return nullptr;
}

// The prefix, then the form-safe Base64 of bytes.
char* EncodeWithPrefix(const unsigned char* bytes, unsigned length, unsigned prefix_length, const char* prefix)
{
    int encoded_length = EngBase64::EncodedLength(int(length));
    if (encoded_length <= 0) {
        DebugError(ENG_FUNC, "No encoded data.");
        return nullptr;
    }
    auto* text = static_cast<char*>(EngMalloc(prefix_length + unsigned(encoded_length) + 1,
                                              "EngZlibEncryptCompressAndEncodeToBase64Data", false));
    if (!text) {
        DebugError(ENG_FUNC, "No base64.");
        return nullptr;
    }
    if (prefix_length > 0)
        std::memcpy(text, prefix, prefix_length);
    EngBase64::Encode(bytes, int(length), text + prefix_length);
    text[prefix_length + unsigned(encoded_length)] = 0;
    EngBase64::MakeFormSafe(text + prefix_length);
    return text;
}

}  // namespace

bool EngZlibDeflateData(const unsigned char* input, unsigned input_length, unsigned char* output,
                        unsigned* output_length, int level, bool gzip)
{
    if (!input || !output || !output_length) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return false;
    }
    if (!CheckZlibVersion())
        return false;
    if (level < 0)
        level = 9;
    z_stream stream = {};
    int code = gzip ? deflateInit2(&stream, level, Z_DEFLATED, kGzipWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY)
                    : deflateInit(&stream, level);
    if (code != Z_OK) {
        DebugError(ENG_FUNC, "deflateInit() error %d", code);
        return false;
    }
    stream.next_in = const_cast<Bytef*>(input);
    stream.avail_in = input_length;
    stream.next_out = output;
    stream.avail_out = *output_length;
    bool ok = CheckDeflateResult(deflate(&stream, Z_FINISH), stream);
    unsigned written = unsigned(stream.total_out);
    code = deflateEnd(&stream);
    if (!ok)
        return false;
    if (code != Z_OK) {
        DebugError(ENG_FUNC, "deflateEnd() error: %d", code);
        return false;
    }
    if (written > *output_length) {
        DebugError(ENG_FUNC, "deflate() internal error 2");
        return false;
    }
    *output_length = written;
    return true;
}

char* EngZlibEncryptCompressAndEncodeToBase64Data(const char* key, const void* data, unsigned length, bool flag,
                                                  unsigned prefix_length, const char* prefix)
{
    (void)flag;
    if (!key) {
        DebugError(ENG_FUNC, "No cipher");
        return nullptr;
    }
    if (!data || length == 0) {
        DebugError(ENG_FUNC, "No data.");
        return nullptr;
    }
    if (length > kLargestRecord) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return nullptr;
    }
    if ((prefix_length > 0) != (prefix != nullptr)) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return nullptr;
    }
    unsigned char* enciphered = EncipheredCopy(key, data, length);
    if (!enciphered)
        return nullptr;
    unsigned room = CompressedRoom(length);
    auto* compressed = static_cast<unsigned char*>(EngMalloc(room + 1, "EngZlibEncryptCompressAndEncodeToBase64Data",
                                                             false));
    bool deflated = compressed && EngZlibDeflateData(enciphered, length, compressed, &room, -1, false);
    EngFree(enciphered, false, "EngZlibEncryptCompressAndEncodeToBase64Data");
    if (!deflated) {
        DebugError(ENG_FUNC, "Could not delfate data.");
        EngFree(compressed, false, "EngZlibEncryptCompressAndEncodeToBase64Data");
        return nullptr;
    }
    char* text = EncodeWithPrefix(compressed, room, prefix_length, prefix);
    EngFree(compressed, false, "EngZlibEncryptCompressAndEncodeToBase64Data");
    return text;
}

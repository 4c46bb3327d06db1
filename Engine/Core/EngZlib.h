#pragma once

// zlib compression and the packing of a score record into form-safe text.

// Compresses input into output in one pass. *output_length gives the room and receives the bytes written.
// A negative level means 9; gzip selects the gzip wrapper instead of zlib's.
bool EngZlibDeflateData(const unsigned char* input, unsigned input_length, unsigned char* output,
                        unsigned* output_length, int level, bool gzip);

// Enciphers length bytes of data with Blowfish under key, compresses them and encodes them in Base64 with
// "+", "/" and "=" replaced by "-", "." and "_". The result starts with prefix (prefix_length characters)
// and is a new block from EngMalloc for the caller to free; null on failure. flag is not used.
char* EngZlibEncryptCompressAndEncodeToBase64Data(const char* key, const void* data, unsigned length, bool flag,
                                                  unsigned prefix_length, const char* prefix);

#pragma once

// Narrow text is Windows-1252 everywhere in the engine; this is the one place that converts it to and from
// UTF-8 (file names, SDL text, clipboard) and UTF-16 (text files, native windows).
//
// The five positions Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of
// the same value, as the Windows converters do, so every byte survives a round trip.
//
// Every converter writes at most out_size units including the terminator and always terminates a non-empty
// buffer. The result is the number of units written without the terminator, or -1 when the arguments are bad
// or the text did not fit (the buffer then holds the longest whole-character prefix that fits).

// The Unicode code point of one Windows-1252 byte.
char16_t EngCodePageCharToUnicode(char c);

// The Windows-1252 byte of a code point, or -1 when the code page has no such character.
int EngCodePageUnicodeToChar(unsigned code_point);

// in_len < 0: the input is zero-terminated.
int EngCodePageAnsiToUtf16(const char* in, int in_len, char16_t* out, int out_size);

// Characters the code page cannot show become default_char and set *used_default (when given).
// A surrogate pair counts as one character.
int EngCodePageUtf16ToAnsi(const char16_t* in, int in_len, char* out, int out_size, char default_char = '?',
                           bool* used_default = nullptr);

int EngCodePageAnsiToUtf8(const char* in, char* out, int out_size);

// Bytes needed for the UTF-8 form of a zero-terminated Windows-1252 text, without the terminator.
int EngCodePageAnsiToUtf8Length(const char* in);

// Malformed sequences and characters the code page cannot show become default_char, one per sequence.
int EngCodePageUtf8ToAnsi(const char* in, char* out, int out_size, char default_char = '?',
                          bool* used_default = nullptr);

// Decodes one UTF-8 character at *text and advances past it; malformed input gives U+FFFD and one byte.
// Returns 0 at the terminator without advancing.
unsigned EngCodePageDecodeUtf8(const char** text);

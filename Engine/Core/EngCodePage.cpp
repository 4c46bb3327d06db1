#include "Engine/Core/EngCodePage.h"

#include <cstring>

namespace {

// 0x80 to 0x9F; the undefined positions keep their own value.
const char16_t k_high_controls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr unsigned k_replacement = 0xFFFD;

int InputLength(const char* in, int in_len)
{
    return in_len < 0 ? (int)std::strlen(in) : in_len;
}

int Utf16Length(const char16_t* in)
{
    int n = 0;
    while (in[n] != 0)
        n++;
    return n;
}

int Utf8EncodedSize(unsigned code_point)
{
    if (code_point < 0x80)
        return 1;
    if (code_point < 0x800)
        return 2;
    if (code_point < 0x10000)
        return 3;
    return 4;
}

void Utf8Encode(unsigned v, char* out)
{
    int n = Utf8EncodedSize(v);
    if (n == 1) {
        out[0] = (char)v;
        return;
    }
    static const unsigned char k_lead[5] = {0, 0, 0xC0, 0xE0, 0xF0};
    for (int i = n - 1; i > 0; i--) {
        out[i] = (char)(0x80 | (v & 0x3F));
        v >>= 6;
    }
    out[0] = (char)(k_lead[n] | v);
}

// Writes one narrow character for a code point; false when the buffer is full.
bool PutAnsi(unsigned code_point, char* out, int out_size, int* written, char default_char, bool* used_default)
{
    if (*written >= out_size - 1)
        return false;
    int c = EngCodePageUnicodeToChar(code_point);
    if (c < 0) {
        c = (unsigned char)default_char;
        if (used_default)
            *used_default = true;
    }
    out[(*written)++] = (char)c;
    return true;
}

bool BadOutput(const void* in, const void* out, int out_size)
{
    if (out && out_size > 0)
        *(char*)out = 0;
    return !in || !out || out_size < 1;
}

} // namespace

char16_t EngCodePageCharToUnicode(char c)
{
    unsigned char b = (unsigned char)c;
    if (b >= 0x80 && b < 0xA0)
        return k_high_controls[b - 0x80];
    return b;
}

int EngCodePageUnicodeToChar(unsigned code_point)
{
    if (code_point < 0x80 || (code_point >= 0xA0 && code_point < 0x100))
        return (int)code_point;
    for (int i = 0; i < 32; i++) {
        if (k_high_controls[i] == code_point)
            return 0x80 + i;
    }
    return -1;
}

int EngCodePageAnsiToUtf16(const char* in, int in_len, char16_t* out, int out_size)
{
    if (BadOutput(in, out, out_size))
        return -1;
    int n = InputLength(in, in_len);
    int fit = n < out_size - 1 ? n : out_size - 1;
    for (int i = 0; i < fit; i++)
        out[i] = EngCodePageCharToUnicode(in[i]);
    out[fit] = 0;
    return fit == n ? n : -1;
}

int EngCodePageUtf16ToAnsi(const char16_t* in, int in_len, char* out, int out_size, char default_char,
                           bool* used_default)
{
    if (used_default)
        *used_default = false;
    if (BadOutput(in, out, out_size))
        return -1;
    int n = in_len < 0 ? Utf16Length(in) : in_len;
    int written = 0;
    for (int i = 0; i < n; i++) {
        unsigned v = in[i];
        bool pair = v >= 0xD800 && v < 0xDC00 && i + 1 < n && in[i + 1] >= 0xDC00 && in[i + 1] < 0xE000;
        if (pair)
            v = 0x10000 + ((v - 0xD800) << 10) + (in[++i] - 0xDC00u);
        if (!PutAnsi(v, out, out_size, &written, default_char, used_default)) {
            out[written] = 0;
            return -1;
        }
    }
    out[written] = 0;
    return written;
}

int EngCodePageAnsiToUtf8Length(const char* in)
{
    if (!in)
        return 0;
    int total = 0;
    for (const char* p = in; *p; p++)
        total += Utf8EncodedSize(EngCodePageCharToUnicode(*p));
    return total;
}

int EngCodePageAnsiToUtf8(const char* in, char* out, int out_size)
{
    if (BadOutput(in, out, out_size))
        return -1;
    int written = 0;
    for (const char* p = in; *p; p++) {
        unsigned v = EngCodePageCharToUnicode(*p);
        int n = Utf8EncodedSize(v);
        if (written + n > out_size - 1) {
            out[written] = 0;
            return -1;
        }
        Utf8Encode(v, out + written);
        written += n;
    }
    out[written] = 0;
    return written;
}

unsigned EngCodePageDecodeUtf8(const char** text)
{
    const unsigned char* p = (const unsigned char*)*text;
    if (!p || p[0] == 0)
        return 0;
    unsigned lead = p[0];
    int n = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (n == 0) {
        (*text)++;
        return k_replacement;
    }
    static const unsigned k_lead_mask[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    static const unsigned k_minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
    unsigned v = lead & k_lead_mask[n];
    for (int i = 1; i < n; i++) {
        if ((p[i] & 0xC0) != 0x80) {
            (*text)++;
            return k_replacement;
        }
        v = (v << 6) | (p[i] & 0x3F);
    }
    bool bad = v < k_minimum[n] || v > 0x10FFFF || (v >= 0xD800 && v < 0xE000);
    *text += bad ? 1 : n;
    return bad ? k_replacement : v;
}

int EngCodePageUtf8ToAnsi(const char* in, char* out, int out_size, char default_char, bool* used_default)
{
    if (used_default)
        *used_default = false;
    if (BadOutput(in, out, out_size))
        return -1;
    int written = 0;
    const char* p = in;
    while (*p) {
        unsigned v = EngCodePageDecodeUtf8(&p);
        if (!PutAnsi(v, out, out_size, &written, default_char, used_default)) {
            out[written] = 0;
            return -1;
        }
    }
    out[written] = 0;
    return written;
}

#include "Engine/Core/EngBase64.h"

namespace {
const char k_alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

int EngBase64::EncodedLength(int n)
{
    return 4 * (n / 3) + (n % 3 ? 4 : 0);
}

int EngBase64::PaddingLength(int n)
{
    return n % 3 ? 3 - n % 3 : 0;
}

void EngBase64::Encode(const unsigned char* in, int n, char* out)
{
    if (!in || !out || n < 1)
        return;
    for (int i = 0; i < n; i += 3) {
        int remaining = n - i;
        unsigned block = (unsigned)in[i] << 16;
        if (remaining > 1)
            block |= (unsigned)in[i + 1] << 8;
        if (remaining > 2)
            block |= in[i + 2];
        *out++ = k_alphabet[(block >> 18) & 0x3F];
        *out++ = k_alphabet[(block >> 12) & 0x3F];
        *out++ = remaining > 1 ? k_alphabet[(block >> 6) & 0x3F] : '=';
        *out++ = remaining > 2 ? k_alphabet[block & 0x3F] : '=';
    }
}

void EngBase64::MakeFormSafe(char* text)
{
    for (; text && *text; text++) {
        if (*text == '+')
            *text = '-';
        else if (*text == '/')
            *text = '.';
        else if (*text == '=')
            *text = '_';
    }
}

#pragma once

// RFC 4648 Base64, standard alphabet, "=" padding.
class EngBase64 {
public:
    static int EncodedLength(int n);
    static int PaddingLength(int n);
    // out must hold EncodedLength(n) characters; the caller adds the terminator.
    static void Encode(const unsigned char* in, int n, char* out);
    // Makes encoded text safe as a form value: "+" -> "-", "/" -> ".", "=" -> "_".
    static void MakeFormSafe(char* text);
};

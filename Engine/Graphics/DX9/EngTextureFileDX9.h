#pragma once

// A decoded picture: B, G, R, A bytes per pixel, top row first, at the file's own size.
struct _EngDecodedPicture {
    unsigned char* pixels;
    int width;
    int height;
    bool file_has_alpha;
};

// Reads a picture file through the engine's file layer and decodes it as the kind given (1 bmp, 2 tga,
// 3 jpg, 4 png; 0 any of them, told by the content). The content must be of that kind: a file that is
// another kind is not decoded, nor one that ends early, has a damaged JPEG table, or is larger than the
// device's largest texture. On success the caller frees the pixels with EngTextureFileDX9_Free.
bool EngTextureFileDX9_Decode(const char* file, int kind, _EngDecodedPicture* out);
void EngTextureFileDX9_Free(_EngDecodedPicture* picture);

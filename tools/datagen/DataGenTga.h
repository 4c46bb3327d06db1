#pragma once

#include <cairo.h>

// Writes a cairo ARGB32 surface as an uncompressed 32-bit TGA (B, G, R, A bytes, top row first, straight
// alpha). Returns false when the file cannot be written.
bool DataGenWriteTga(cairo_surface_t* surface, const char* path);

#pragma once
// Pixels of a rectangle of the 640 x 480 virtual screen, read back from a GLTestContext at the window's
// scale factors.
//
//   int dark = CountVirtualPixels(gl, {200, 200, 200, 60}, [](int r, int g, int b) { return r + g + b < 90; });

#include <vector>

#include "Engine/Graphics/EngDimension.h"
#include "Support/GLTestContext.h"

// R, G, B, A bytes of the rectangle, top row first.
bool ReadVirtualPixelsRGBA(const GLTestContext& gl, const _Dimension& area, std::vector<unsigned char>* rgba);

// How many pixels of the rectangle pass test(r, g, b); -1 when they cannot be read.
template <typename Test> int CountVirtualPixels(const GLTestContext& gl, const _Dimension& area, Test test)
{
    std::vector<unsigned char> rgba;
    if (!ReadVirtualPixelsRGBA(gl, area, &rgba))
        return -1;
    int n = 0;
    for (size_t i = 0; i + 3 < rgba.size(); i += 4)
        n += test(rgba[i], rgba[i + 1], rgba[i + 2]) ? 1 : 0;
    return n;
}

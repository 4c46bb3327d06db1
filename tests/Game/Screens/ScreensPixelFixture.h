#pragma once

// A real 640 x 480 context for the screens' pixel tests, and the pixels of a virtual-screen rectangle read back.

#include <vector>

#include "Support/GLTestContext.h"
#include "Support/VirtualScreenPixels.h"

class ScreensPixelFixture : public GLTestFixture {
protected:
    std::vector<unsigned char> Read(const _Dimension& area)
    {
        std::vector<unsigned char> rgba;
        EXPECT_TRUE(ReadVirtualPixelsRGBA(gl, area, &rgba));
        return rgba;
    }
    // Pixels brighter than the black background.
    int Lit(const _Dimension& area)
    {
        return CountVirtualPixels(gl, area, [](int r, int g, int b) { return r + g + b > 30; });
    }
};

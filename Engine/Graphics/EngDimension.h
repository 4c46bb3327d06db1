#pragma once

// An area of the 640 x 480 virtual screen: left, top, width, height.
struct _Dimension {
    float x;
    float y;
    float w;
    float h;
};

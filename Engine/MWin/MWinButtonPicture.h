#pragma once
// A picture any button can carry over its area: an engine texture with a chosen blending, or a staged
// picture set that the button draws and may advance each tick. The operations are MWinButton's
// (MWinButton::Picture...), defined in MWinButtonPicture.cpp.

class EngTexture;
class EngPicture;

// Picture modes: none, or 3 + (blending + 1); 3 uses the blending in force.
constexpr char MWIN_PICTURE_NONE = 0;
constexpr char MWIN_PICTURE_DEFAULT_BLENDING = 3;

struct _MWinButtonPictureData {
    char mode;
    EngTexture* texture;  // not owned
    EngPicture* set_owner; // not owned; draws set number set_num instead of the texture
    int set_num;
    char advance;
    char inset_on;
    float insets[4]; // left, top, right, bottom
    char rect_on;
    float rect[4]; // left u, top v, right u, bottom v
};

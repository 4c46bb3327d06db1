#pragma once
// The colour picker (button kind 11) with its three value bars for hue, saturation and brightness. The
// picker keeps the colour as hue (0..255, an index into the root's hue table), saturation and brightness
// (0..1), writes it as red, green and blue into a bound float[3], and paints each bar's gradient picture,
// attached to the bar. The operations are MWinButton's (MWinButton::Colour...) and MWin's
// (MWin::Colour...), defined in MWinColourPicker.cpp.

#include <cstdint>

class EngTexture;
class MWinButton;
class MWinWindow;

constexpr int MWIN_COLOUR_BARS = 3; // hue, saturation, brightness
constexpr int MWIN_COLOUR_PICTURE_WIDTH = 256;
constexpr int MWIN_COLOUR_PICTURE_HEIGHT = 32;
constexpr int MWIN_COLOUR_PICTURE_BYTES = MWIN_COLOUR_PICTURE_WIDTH * MWIN_COLOUR_PICTURE_HEIGHT * 3;

// The root's part: the hue table, the three bar textures and the bars' border.
struct _MWinColourShared {
    float hue_table[256][3];
    EngTexture* textures[MWIN_COLOUR_BARS]; // owned; blank 256 x 32 pictures
    int end_border;                         // pixels at both ends of a bar's length
    int side_border;                        // pixels at both edges across
    float border_colour[3];
};

struct _MWinColourData {
    float hue;
    float saturation;
    float brightness;
    float colour[3];
    std::uint64_t bars[MWIN_COLOUR_BARS]; // serials of the bars, so a deleted bar is never touched
    unsigned char* pictures;          // three RGB pictures of 256 x 32, owned
    float* bound;                     // float[3], not owned
    float factor;
    float offset;
};

// True for the callback a picker gives its bars, which runs in a controller's window as well.
bool MWinColourIsBarCallback(void (*callback)(class MWin*, struct _MWinButtonCallbackInfo*, int, int, void*));

// Fills the hue table's 256 entries.
void MWinColourFillHueTable(float table[256][3]);
void MWinColourDefaultShared(_MWinColourShared* shared);
// Adds a picker of that id to the window with its three bars below it (ids "<id>H", "<id>S", "<id>B"),
// ranges 0..255 and 0..1, all inside x, y, w, h. Null when any part cannot be made.
MWinButton* MWinColourAddPicker(MWinWindow* window, const char* id, float x, float y, float w, float h);

#pragma once
// The progress ring (button kind 12): an outer disc, an inner disc and a sector filling value / maximum of
// a turn, each a fan of triangles. The operations are MWinButton's (MWinButton::Rings...), defined in
// MWinProgressRing.cpp; the appearance comes from the root's settings when the button is made.

class EngTriangleList;

constexpr int MWIN_RING_TRIANGLES = 64;

enum _MWinRingPart { MWIN_RING_SECTOR = 0, MWIN_RING_INNER = 1, MWIN_RING_OUTER = 2, MWIN_RING_PARTS = 3 };

// The root's ring appearance.
struct _MWinRingSettings {
    char on[MWIN_RING_PARTS];             // build and draw this part
    float colours[MWIN_RING_PARTS][3];    // RGB of sector, inner disc, outer disc
    float ring_inset;                     // outer radii less this times the width and height
    float inner_inset;                    // inner radii a further this times the width and height
    int blending;                         // blending preset, or below 0 for the blending in force
};

struct _MWinRingsData {
    EngTriangleList* lists[MWIN_RING_PARTS];
    float value;
    float maximum;
    float colours[MWIN_RING_PARTS][3];
};

void MWinRingsDefaultSettings(_MWinRingSettings* settings);
void MWinRingsInitData(_MWinRingsData* data, const _MWinRingSettings* settings);

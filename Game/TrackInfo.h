#pragma once

// The fixed table of the six tracks: names, grid slots, sizes and screen layout, and the current row.

#include "Engine/Core/EngTypes.h"

constexpr int TRACK_COUNT = 6;
constexpr int TRACK_NAME_SIZE = 16;
constexpr int TRACK_GRID_SLOTS = 8;
constexpr int TRACK_MAX_FLOORS = 2;

// One row of the table; its layout is fixed (216 bytes).
struct _TrackInfo
{
    char name[TRACK_NAME_SIZE];
    EngUInt8 reverse_line;          // walk the racing line in the reverse direction order
    EngUInt8 zero[11];
    EngInt8 start_edge;             // start-line edge (0..3) where the racing line starts
    EngUInt8 flags_shifted;         // the finish flags are drawn shifted
    EngInt8 flag_corners[2];        // start-line corners that carry the finish flags
    EngInt32 flag_offsets[4];       // pixel offsets (x, y) of the two flags
    EngInt32 floors;
    float lap_length_factor;
    float top_speed_adjust_level0;
    float top_speed_adjust_level4;
    float car_size;
    EngInt32 grid_slots[TRACK_GRID_SLOTS][2]; // (x, y) in 640 x 480
    EngInt32 grid_headings[TRACK_GRID_SLOTS]; // degrees, 0 up the screen
    EngInt32 hud_box1[4];           // x1, y1, x2, y2 in 1024 units
    EngInt32 hud_box2[4];
    float overlay_rect[4];          // upper-floor overlay x, y, width, height in 1024 units
    float overlay_alpha;
};
static_assert(sizeof(_TrackInfo) == 216, "track row layout");

// The upper floor's overlay of the current track: source rectangle in 0..1 texture units, destination in
// 640 x 480 (x, y, width, height), and its alpha. All zero on one-floor tracks.
struct _TrackOverlay
{
    float source[4];
    float destination[4];
    float alpha;
};

// Selects the current row; a track outside 0..5 reports "Bad track num %d." and selects row 0.
void TrackInfoInitVars(int track);
const _TrackInfo* TrackInfoGetCurrent();
int TrackInfoGetCurrentTrack();
// Row of a track; null outside 0..5.
const _TrackInfo* TrackInfoGetRow(int track);
const _TrackOverlay* TrackInfoGetOverlay();

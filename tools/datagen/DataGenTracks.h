#pragma once

#include "DataGenCairo.h"

// The six tracks: for track t the ground map "150t.dat" (1,048,576 raw bytes) and the picture "160t.dat"
// (an uncompressed 32-bit TGA), made from the designs in tools/datagen/tracks/tNN.json.
bool DataGenWriteTracks(const char* data_dir);
// A folder that also gets each track picture as "160t.png", drawn from the same surface; none by default.
void DataGenSetTrackPngCopies(const char* folder);

struct TrackDesign;
// Track t's design, as the track pictures and the menus' track pictures are drawn from it.
bool DataGenReadTrackDesign(int track, TrackDesign* design);

enum DataGenGroundKind {
    DATAGEN_GROUND_EARTH,
    DATAGEN_GROUND_ROCKS,
    DATAGEN_GROUND_GRASS,
    DATAGEN_GROUND_WATER,
    DATAGEN_GROUND_CONCRETE,
    DATAGEN_GROUND_SAND,
};

// A track's look, shared by its picture and its small picture in the menus.
struct DataGenTrackTheme {
    DataGenGroundKind ground_kind;
    DataGenRgb ground; // beyond the barrier
    DataGenRgb verge;  // the run-off between road and barrier
};
const DataGenTrackTheme& DataGenTrackThemeOf(int track);
// The ground beyond the barrier at a pixel of the 1024 x 768 track picture, in the look of the track's name.
DataGenRgb DataGenTrackGroundColour(const DataGenTrackTheme& theme, int px, int py);

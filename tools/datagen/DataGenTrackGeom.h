#pragma once

// Turns a track design (a centreline, widths, bands and a racing line, all in 640 x 480 screen pixels) into
// the 1024 x 1024 ground map that the game loads (x-major: index x * 1024 + y).

#include <cstdint>
#include <vector>

struct TrackVec
{
    double x;
    double y;
};

struct TrackBand
{
    int value;        // 1, 2, 3 checkpoints, 4 start line
    double s;         // arc length of the band's middle along the centreline
    double thickness; // along the direction of travel
};

struct TrackDesign
{
    std::vector<TrackVec> centreline; // closed, in driving order
    double half_width = 0.0;
    double verge_width = 0.0;
    TrackBand start_band = {};
    std::vector<TrackBand> checkpoints;
    std::vector<TrackVec> racing_line; // control points, closed
};

constexpr int TRACK_MAP_SIZE = 1024;

// A closed centripetal Catmull-Rom spline through points, resampled every step pixels.
std::vector<TrackVec> TrackSplineClosed(const std::vector<TrackVec>& points, double step);
// The racing line's cells: one 8-connected, one-cell-wide closed chain.
std::vector<std::pair<int, int>> TrackLineCells(const std::vector<TrackVec>& line);
// The whole ground map; false (with a message on stderr) when the design does not fit the map.
bool TrackRasterise(const TrackDesign& design, std::vector<std::uint8_t>* map);

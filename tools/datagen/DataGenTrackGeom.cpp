#include "DataGenTrackGeom.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kMapPerScreenX = TRACK_MAP_SIZE / 640.0;
constexpr double kMapPerScreenY = TRACK_MAP_SIZE / 480.0;
constexpr std::uint8_t kRoad = 0;
constexpr std::uint8_t kStart = 4;
constexpr std::uint8_t kVerge = 5;
constexpr std::uint8_t kWall = 6;
constexpr std::uint8_t kLine = 7;

double Norm(TrackVec a)
{
    return std::sqrt(a.x * a.x + a.y * a.y);
}

TrackVec Sub(TrackVec a, TrackVec b)
{
    return {a.x - b.x, a.y - b.y};
}

// a * wa + b * wb
TrackVec Mix(TrackVec a, double wa, TrackVec b, double wb)
{
    return {a.x * wa + b.x * wb, a.y * wa + b.y * wb};
}

double PositiveMod(double value, double modulus)
{
    double r = std::fmod(value, modulus);
    return r < 0.0 ? r + modulus : r;
}

// Centre of a map pixel in screen pixels.
double PixelCentreX(int mx)
{
    return (mx + 0.5) / kMapPerScreenX;
}

double PixelCentreY(int my)
{
    return (my + 0.5) / kMapPerScreenY;
}

// Samples of one spline piece from p1 to p2.
void AddSplinePiece(TrackVec p0, TrackVec p1, TrackVec p2, TrackVec p3, std::vector<TrackVec>* dense)
{
    auto knot = [](double t, TrackVec a, TrackVec b) { return t + std::sqrt(std::max(Norm(Sub(b, a)), 1e-6)); };
    double t0 = 0.0, t1 = knot(t0, p0, p1), t2 = knot(t1, p1, p2), t3 = knot(t2, p2, p3);
    int m = std::max(4, int(Norm(Sub(p2, p1)) * 2));
    for (int k = 0; k < m; k++) {
        double t = t1 + (t2 - t1) * k / m;
        TrackVec a1 = Mix(p0, (t1 - t) / (t1 - t0), p1, (t - t0) / (t1 - t0));
        TrackVec a2 = Mix(p1, (t2 - t) / (t2 - t1), p2, (t - t1) / (t2 - t1));
        TrackVec a3 = Mix(p2, (t3 - t) / (t3 - t2), p3, (t - t2) / (t3 - t2));
        TrackVec b1 = Mix(a1, (t2 - t) / (t2 - t0), a2, (t - t0) / (t2 - t0));
        TrackVec b2 = Mix(a2, (t3 - t) / (t3 - t1), a3, (t - t1) / (t3 - t1));
        dense->push_back(Mix(b1, (t2 - t) / (t2 - t1), b2, (t - t1) / (t2 - t1)));
    }
}

std::vector<TrackVec> ResampleClosed(const std::vector<TrackVec>& dense, double step)
{
    std::vector<TrackVec> closed = dense;
    closed.push_back(dense.front());
    std::vector<double> s(closed.size(), 0.0);
    for (size_t i = 1; i < closed.size(); i++)
        s[i] = s[i - 1] + Norm(Sub(closed[i], closed[i - 1]));
    double length = s.back();
    int n = std::max(8, int(std::nearbyint(length / step)));
    std::vector<TrackVec> out;
    out.reserve(n);
    for (int k = 0; k < n; k++) {
        double q = k * (length / n);
        size_t j = size_t(std::upper_bound(s.begin(), s.end(), q) - s.begin());
        j = j == 0 ? 0 : j - 1;
        if (j + 1 >= s.size() || s[j + 1] == s[j]) {
            out.push_back(closed[j]);
            continue;
        }
        double f = (q - s[j]) / (s[j + 1] - s[j]);
        out.push_back(Mix(closed[j], 1.0 - f, closed[j + 1], f));
    }
    return out;
}

// Per map pixel: distance in screen pixels to the closed polyline and the index of its nearest vertex, for
// pixels within reach; others keep infinity and -1.
void DistanceField(const std::vector<TrackVec>& c, double reach, std::vector<float>* dist, std::vector<int>* near)
{
    dist->assign(TRACK_MAP_SIZE * TRACK_MAP_SIZE, INFINITY);
    near->assign(TRACK_MAP_SIZE * TRACK_MAP_SIZE, -1);
    int n = int(c.size());
    for (int i = 0; i < n; i++) {
        TrackVec a = c[i], b = c[(i + 1) % n];
        int ix0 = std::max(0, int((std::min(a.x, b.x) - reach) * kMapPerScreenX));
        int ix1 = std::min(TRACK_MAP_SIZE, int((std::max(a.x, b.x) + reach) * kMapPerScreenX) + 2);
        int iy0 = std::max(0, int((std::min(a.y, b.y) - reach) * kMapPerScreenY));
        int iy1 = std::min(TRACK_MAP_SIZE, int((std::max(a.y, b.y) + reach) * kMapPerScreenY) + 2);
        TrackVec ab = Sub(b, a);
        double l2 = ab.x * ab.x + ab.y * ab.y;
        l2 = l2 == 0.0 ? 1e-9 : l2;
        for (int mx = ix0; mx < ix1; mx++) {
            double x = PixelCentreX(mx);
            for (int my = iy0; my < iy1; my++) {
                double y = PixelCentreY(my);
                double t = std::clamp(((x - a.x) * ab.x + (y - a.y) * ab.y) / l2, 0.0, 1.0);
                double dx = x - (a.x + t * ab.x), dy = y - (a.y + t * ab.y);
                float d = float(std::sqrt(dx * dx + dy * dy));
                int at = mx * TRACK_MAP_SIZE + my;
                if (d < (*dist)[at]) {
                    (*dist)[at] = d;
                    (*near)[at] = t < 0.5 ? i : (i + 1) % n;
                }
            }
        }
    }
}

int Chebyshev(std::pair<int, int> a, std::pair<int, int> b)
{
    return std::max(std::abs(a.first - b.first), std::abs(a.second - b.second));
}

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

// Drops every cell whose two chain neighbours already touch, until none is left.
void ThinChain(std::vector<std::pair<int, int>>* cells)
{
    bool changed = true;
    while (changed) {
        changed = false;
        size_t i = 0;
        while (i < cells->size() && cells->size() > 3) {
            size_t n = cells->size();
            auto p = (*cells)[(i + n - 1) % n];
            auto q = (*cells)[(i + 1) % n];
            if (Chebyshev(p, q) <= 1) {
                cells->erase(cells->begin() + long(i));
                changed = true;
            } else {
                i++;
            }
        }
    }
}

void PaintBand(const TrackBand& band, const std::vector<bool>& road, const std::vector<double>& arc, double length,
               std::vector<std::uint8_t>* map)
{
    double lo = band.s - band.thickness / 2;
    for (int at = 0; at < TRACK_MAP_SIZE * TRACK_MAP_SIZE; at++) {
        if (road[at] && PositiveMod(arc[at] - lo, length) <= band.thickness)
            (*map)[at] = std::uint8_t(band.value);
    }
}

// The start line is a rectangle across the straight, axis-aligned road at its arc position.
void PaintStartBand(const TrackBand& band, const std::vector<TrackVec>& c, const std::vector<double>& s,
                    const std::vector<bool>& road, const std::vector<double>& arc, double length,
                    std::vector<std::uint8_t>* map)
{
    int n = int(c.size());
    double target = PositiveMod(band.s, length);
    int k = 0;
    for (int i = 1; i < n; i++) {
        if (std::fabs(s[i] - target) < std::fabs(s[k] - target))
            k = i;
    }
    TrackVec tangent = Sub(c[(k + 3) % n], c[(k - 3 + n) % n]);
    bool along_x = std::fabs(tangent.x) >= std::fabs(tangent.y);
    double c0 = along_x ? c[k].x : c[k].y;
    double lo = band.s - band.thickness / 2;
    for (int mx = 0; mx < TRACK_MAP_SIZE; mx++) {
        for (int my = 0; my < TRACK_MAP_SIZE; my++) {
            int at = mx * TRACK_MAP_SIZE + my;
            if (!road[at] || PositiveMod(arc[at] - lo + band.thickness, length) > 3 * band.thickness)
                continue;
            double coord = along_x ? PixelCentreX(mx) : PixelCentreY(my);
            if (std::fabs(coord - c0) <= band.thickness / 2)
                (*map)[at] = kStart;
        }
    }
}

} // namespace

std::vector<TrackVec> TrackSplineClosed(const std::vector<TrackVec>& points, double step)
{
    int n = int(points.size());
    if (n < 3)
        return {};
    std::vector<TrackVec> dense;
    for (int i = 0; i < n; i++)
        AddSplinePiece(points[(i + n - 1) % n], points[i], points[(i + 1) % n], points[(i + 2) % n], &dense);
    return ResampleClosed(dense, step);
}

std::vector<std::pair<int, int>> TrackLineCells(const std::vector<TrackVec>& line)
{
    std::vector<std::pair<int, int>> cells;
    for (const TrackVec& p : line) {
        std::pair<int, int> cell(int(std::floor(p.x * 128 / 640)), int(std::floor(p.y * 128 / 480)));
        if (cells.empty() || cells.back() != cell)
            cells.push_back(cell);
    }
    while (cells.size() > 1 && cells.front() == cells.back())
        cells.pop_back();
    // Fill the jumps of more than one cell with diagonal, then straight steps.
    std::vector<std::pair<int, int>> chain;
    size_t n = cells.size();
    for (size_t i = 0; i < n; i++) {
        auto a = cells[i];
        auto b = cells[(i + 1) % n];
        chain.push_back(a);
        while (Chebyshev(a, b) > 1) {
            a = {a.first + Sign(b.first - a.first), a.second + Sign(b.second - a.second)};
            chain.push_back(a);
        }
    }
    ThinChain(&chain);
    return chain;
}

bool TrackRasterise(const TrackDesign& design, std::vector<std::uint8_t>* map)
{
    std::vector<TrackVec> c = TrackSplineClosed(design.centreline, 1.0);
    if (c.size() < 8) {
        std::fprintf(stderr, "track: centreline needs at least three points\n");
        return false;
    }
    int n = int(c.size());
    std::vector<double> s(n, 0.0);
    for (int i = 1; i < n; i++)
        s[i] = s[i - 1] + Norm(Sub(c[i], c[i - 1]));
    double length = s.back() + Norm(Sub(c.front(), c.back()));

    std::vector<float> dist;
    std::vector<int> near;
    DistanceField(c, design.half_width + design.verge_width + 3, &dist, &near);
    map->assign(TRACK_MAP_SIZE * TRACK_MAP_SIZE, kWall);
    std::vector<bool> road(map->size(), false);
    std::vector<double> arc(map->size(), -1.0);
    for (size_t at = 0; at < map->size(); at++) {
        if (dist[at] <= float(design.half_width + design.verge_width))
            (*map)[at] = kVerge;
        if (dist[at] <= float(design.half_width)) {
            (*map)[at] = kRoad;
            road[at] = true;
        }
        if (near[at] >= 0)
            arc[at] = s[near[at]];
    }
    PaintStartBand(design.start_band, c, s, road, arc, length, map);
    for (const TrackBand& band : design.checkpoints)
        PaintBand(band, road, arc, length, map);

    // One painted pixel in the middle of each racing-line cell.
    for (auto [cx, cy] : TrackLineCells(TrackSplineClosed(design.racing_line, 0.5))) {
        if (cx < 0 || cy < 0 || cx >= 128 || cy >= 128) {
            std::fprintf(stderr, "track: racing line leaves the map at cell %d,%d\n", cx, cy);
            return false;
        }
        (*map)[(8 * cx + 4) * TRACK_MAP_SIZE + 8 * cy + 4] = kLine;
    }
    return true;
}

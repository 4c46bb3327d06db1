#include "DataGenTracks.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "DataGenCairo.h"
#include "DataGenTrackGeom.h"

namespace {

constexpr int kTrackCount = 6;
constexpr int kPictureWidth = 1024;
constexpr int kPictureHeight = 768;
constexpr int kBarrierPixels = 3;
constexpr int kChequerPixels = 6;
// Kerbs, in screen pixels: where the road bends tighter than the radius, stripes of the length along it.
constexpr double kKerbRadius = 75.0;
constexpr double kKerbWidth = 2.4;
constexpr int kKerbStripe = 5;

// Brown, rocky, green, blue, grey and yellow, as the tracks are named.
const DataGenTrackTheme kThemes[kTrackCount] = {
    {DATAGEN_GROUND_EARTH, {0.48, 0.33, 0.2}, {0.77, 0.63, 0.42}},
    {DATAGEN_GROUND_ROCKS, {0.56, 0.48, 0.38}, {0.7, 0.66, 0.6}},
    {DATAGEN_GROUND_GRASS, {0.2, 0.44, 0.17}, {0.78, 0.67, 0.44}},
    {DATAGEN_GROUND_WATER, {0.14, 0.34, 0.6}, {0.75, 0.8, 0.84}},
    {DATAGEN_GROUND_CONCRETE, {0.6, 0.6, 0.62}, {0.7, 0.67, 0.59}},
    {DATAGEN_GROUND_SAND, {0.87, 0.75, 0.38}, {0.93, 0.86, 0.63}},
};

using Json = nlohmann::json;

// The build names the designs' folder: a source path taken from the compiler can be made relative by a
// compiler cache, and the generator runs in another folder.
std::filesystem::path DesignFolder()
{
    return TORVI_TRACK_DESIGNS;
}

std::string DesignFile(int track)
{
    char name[32];
    std::snprintf(name, sizeof(name), "t%02d.json", track);
    return (DesignFolder() / name).string();
}

bool ReadNumber(const Json& object, const char* key, double* out)
{
    if (!object.is_object() || !object.contains(key) || !object[key].is_number())
        return false;
    *out = object[key].get<double>();
    return true;
}

bool ReadPoints(const Json& object, const char* key, std::vector<TrackVec>* out)
{
    if (!object.is_object() || !object.contains(key) || !object[key].is_array())
        return false;
    for (const Json& p : object[key]) {
        if (!p.is_array() || p.size() != 2 || !p[0].is_number() || !p[1].is_number())
            return false;
        out->push_back({p[0].get<double>(), p[1].get<double>()});
    }
    return true;
}

bool ReadBand(const Json& object, TrackBand* band)
{
    double value = 0.0;
    if (!ReadNumber(object, "value", &value) || !ReadNumber(object, "s", &band->s) ||
        !ReadNumber(object, "thickness", &band->thickness))
        return false;
    band->value = int(value);
    return band->value >= 1 && band->value <= 4 && band->thickness > 0.0;
}

bool ReadDesignFile(const char* file_name, TrackDesign* design)
{
    std::ifstream in(file_name, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "tracks: cannot open %s\n", file_name);
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    Json root = Json::parse(text.str(), nullptr, false);
    if (root.is_discarded() || !root.is_object() || !root.contains("design")) {
        std::fprintf(stderr, "tracks: %s is not a track design\n", file_name);
        return false;
    }
    const Json& d = root["design"];
    bool ok = ReadPoints(d, "centreline", &design->centreline) && ReadPoints(d, "racing_line", &design->racing_line) &&
              ReadNumber(d, "half_width", &design->half_width) &&
              ReadNumber(d, "verge_width", &design->verge_width) && d.contains("start_band") &&
              ReadBand(d["start_band"], &design->start_band) && d.contains("checkpoints") &&
              d["checkpoints"].is_array();
    for (size_t i = 0; ok && i < d["checkpoints"].size(); i++) {
        TrackBand band;
        ok = ReadBand(d["checkpoints"][i], &band);
        design->checkpoints.push_back(band);
    }
    if (!ok)
        std::fprintf(stderr, "tracks: %s has a missing or bad design field\n", file_name);
    return ok;
}

bool WriteMap(const std::vector<std::uint8_t>& map, const std::string& file_name)
{
    std::FILE* file = std::fopen(file_name.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "tracks: cannot write %s\n", file_name.c_str());
        return false;
    }
    bool ok = std::fwrite(map.data(), 1, map.size(), file) == map.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok)
        std::fprintf(stderr, "tracks: cannot write %s\n", file_name.c_str());
    return ok;
}

std::uint8_t MapAt(const std::vector<std::uint8_t>& map, int mx, int my)
{
    if (mx < 0 || my < 0 || mx >= TRACK_MAP_SIZE || my >= TRACK_MAP_SIZE)
        return 6;
    return map[mx * TRACK_MAP_SIZE + my];
}

bool NearOtherThan(const std::vector<std::uint8_t>& map, int mx, int my, int reach, std::uint8_t value)
{
    for (int dx = -reach; dx <= reach; dx++) {
        for (int dy = -reach; dy <= reach; dy++) {
            if (MapAt(map, mx + dx, my + dy) != value)
                return true;
        }
    }
    return false;
}

unsigned Pack(DataGenRgb c, int grain)
{
    auto channel = [grain](double v) { return unsigned(std::clamp(int(v * 255.0 + 0.5) + grain, 0, 255)); };
    return channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
}

} // namespace

DataGenRgb DataGenTrackGroundColour(const DataGenTrackTheme& theme, int px, int py)
{
    double broad = DataGenValueNoise(px, py, 48.0, 1) - 0.5;
    double fine = DataGenValueNoise(px, py, 9.0, 2) - 0.5;
    switch (theme.ground_kind) {
    case DATAGEN_GROUND_EARTH:
        return DataGenShade(theme.ground, broad * 0.35 + fine * 0.15);
    case DATAGEN_GROUND_ROCKS: {
        // Boulders: the high spots of a coarse noise, lit from the top left.
        double rock = DataGenValueNoise(px, py, 22.0, 3);
        double lit = DataGenValueNoise(px - 3, py - 3, 22.0, 3) - rock;
        if (rock > 0.6)
            return DataGenShade(theme.ground, 0.15 + std::clamp(lit * 4.0, -0.25, 0.2) + fine * 0.1);
        return DataGenShade(theme.ground, -0.12 + fine * 0.2);
    }
    case DATAGEN_GROUND_GRASS: {
        // Mown stripes across the field.
        bool light = int((px + py * 0.4) / 40.0) % 2 == 0;
        return DataGenShade(theme.ground, (light ? 0.08 : -0.06) + fine * 0.12);
    }
    case DATAGEN_GROUND_WATER: {
        double wave = std::sin((px * 0.05 + py * 0.11) + broad * 6.0);
        return DataGenShade(theme.ground, wave > 0.85 ? 0.3 : broad * 0.25);
    }
    case DATAGEN_GROUND_CONCRETE: {
        bool seam = px % 48 < 2 || py % 48 < 2;
        return DataGenShade(theme.ground, seam ? 0.25 : fine * 0.08 + broad * 0.1);
    }
    default: {
        double ripple = std::sin(px * 0.09 + std::sin(py * 0.03) * 3.0 + broad * 4.0);
        return DataGenShade(theme.ground, ripple * 0.08 + fine * 0.06 + (ripple > 0.9 ? -0.1 : 0.0));
    }
    }
}

namespace {

// Colour of one picture pixel as 0xRRGGBB.
unsigned PixelColour(const std::vector<std::uint8_t>& map, const DataGenTrackTheme& theme, int px, int py)
{
    int mx = px * TRACK_MAP_SIZE / kPictureWidth;
    int my = py * TRACK_MAP_SIZE / kPictureHeight;
    std::uint8_t value = MapAt(map, mx, my);
    int grain = int(DataGenNoise(px, py, 0) * 13.0) - 6;
    if (value == 6) {
        // The barrier: a light band along the edge of the ground.
        if (NearOtherThan(map, mx, my, kBarrierPixels, 6))
            return 0xD8D8D0;
        return Pack(DataGenTrackGroundColour(theme, px, py), grain);
    }
    if (value == 5)
        return Pack(theme.verge, grain * 2);
    if (value == 4)
        return ((px / kChequerPixels + py / kChequerPixels) % 2) ? 0x141414 : 0xF4F4F4;
    // Road, checkpoints and the racing line all look like road; a white edge line meets the verge.
    if (NearOtherThan(map, mx, my, 1, value) && (MapAt(map, mx - 2, my) == 5 || MapAt(map, mx + 2, my) == 5 ||
                                                 MapAt(map, mx, my - 2) == 5 || MapAt(map, mx, my + 2) == 5))
        return 0xECECEC;
    return Pack({96 / 255.0, 96 / 255.0, 102 / 255.0}, grain);
}

// Whether p lies nearer than distance to the centreline around sample i.
bool CloserToCentre(const std::vector<TrackVec>& c, int i, TrackVec p, double distance)
{
    const int n = int(c.size());
    for (int k = -40; k <= 40; k++) {
        TrackVec q = c[(i + k + n) % n];
        if (std::hypot(q.x - p.x, q.y - p.y) < distance - 0.3)
            return true;
    }
    return false;
}

// Red and white kerbs along both road edges wherever the centreline bends tighter than kKerbRadius; they
// lie inside the road's edge, so the ground map is untouched.
void DrawKerbs(cairo_t* cr, const TrackDesign& design)
{
    const std::vector<TrackVec> c = TrackSplineClosed(design.centreline, 1.0);
    const int n = int(c.size());
    const int reach = 10; // samples (pixels) either side for the bend
    const int grow = 8;   // samples a kerb runs on before and after the bend
    if (n < 4 * reach)
        return;
    auto heading = [&](int i) {
        TrackVec a = c[(i - 1 + n) % n], b = c[(i + 1) % n];
        return std::atan2(b.y - a.y, b.x - a.x);
    };
    std::vector<bool> bend(n, false);
    for (int i = 0; i < n; i++) {
        double turn = std::remainder(heading((i + reach) % n) - heading((i - reach + n) % n), 2 * M_PI);
        if (std::fabs(turn) / (2 * reach) > 1.0 / kKerbRadius)
            for (int k = -reach - grow; k <= reach + grow; k++)
                bend[(i + k + n) % n] = true;
    }
    cairo_save(cr);
    cairo_scale(cr, kPictureWidth / 640.0, kPictureHeight / 480.0);
    cairo_set_line_width(cr, kKerbWidth);
    const double offset = design.half_width - kKerbWidth / 2;
    for (double side : {-1.0, 1.0}) {
        for (int i = 0; i < n; i++) {
            if (!bend[i] || !bend[(i + 1) % n])
                continue;
            double h = heading(i);
            TrackVec a = {c[i].x - std::sin(h) * offset * side, c[i].y + std::cos(h) * offset * side};
            double h2 = heading((i + 1) % n);
            TrackVec b = {c[(i + 1) % n].x - std::sin(h2) * offset * side, c[(i + 1) % n].y + std::cos(h2) * offset * side};
            // Inside a bend tighter than the offset the edge folds back on itself: no kerb there.
            if (CloserToCentre(c, i, a, offset) || CloserToCentre(c, i, b, offset))
                continue;
            cairo_move_to(cr, a.x, a.y);
            cairo_line_to(cr, b.x, b.y);
            bool red = (i / kKerbStripe) % 2 == 0;
            cairo_set_source_rgb(cr, red ? 0.82 : 0.96, red ? 0.1 : 0.96, red ? 0.1 : 0.96);
            cairo_stroke(cr);
        }
    }
    cairo_restore(cr);
}

std::string g_png_copies;

// The picture is stored uncompressed: a race start decodes it in a fraction of what a PNG costs. The PNG copy,
// when asked for, is the same surface in the form it replaced, for tests to compare.
bool WritePicture(const std::vector<std::uint8_t>& map, const TrackDesign& design, const DataGenTrackTheme& theme,
                  const std::string& file_name, const std::string& png_name)
{
    cairo_t* cr = DataGenNewPicture(kPictureWidth, kPictureHeight);
    DataGenPaintPixels(cr, [&](int px, int py) { return 0xFF000000u | PixelColour(map, theme, px, py); });
    DrawKerbs(cr, design);
    if (!png_name.empty() && !DataGenSavePng(cairo_surface_reference(cairo_get_target(cr)), png_name)) {
        cairo_destroy(cr);
        return false;
    }
    return DataGenFinishTga(cr, file_name);
}

bool DataGenWriteTrack(const char* design_file, int track, const char* data_dir)
{
    TrackDesign design;
    std::vector<std::uint8_t> map;
    if (!ReadDesignFile(design_file, &design) || !TrackRasterise(design, &map)) {
        std::fprintf(stderr, "tracks: track %d not made\n", track);
        return false;
    }
    std::string folder = std::string(data_dir) + "/";
    std::string picture = "160" + std::to_string(track);
    std::string png_name = g_png_copies.empty() ? "" : g_png_copies + "/" + picture + ".png";
    return WriteMap(map, folder + "150" + std::to_string(track) + ".dat") &&
           WritePicture(map, design, DataGenTrackThemeOf(track), folder + picture + ".dat", png_name);
}

} // namespace

const DataGenTrackTheme& DataGenTrackThemeOf(int track)
{
    return kThemes[track >= 0 && track < kTrackCount ? track : 0];
}

bool DataGenReadTrackDesign(int track, TrackDesign* design)
{
    return ReadDesignFile(DesignFile(track).c_str(), design);
}

void DataGenSetTrackPngCopies(const char* folder)
{
    g_png_copies = folder ? folder : "";
}

bool DataGenWriteTracks(const char* data_dir)
{
    if (!g_png_copies.empty() && !DataGenMakeFolder(g_png_copies))
        return false;
    for (int track = 0; track < kTrackCount; track++) {
        if (!DataGenWriteTrack(DesignFile(track).c_str(), track, data_dir))
            return false;
    }
    return true;
}

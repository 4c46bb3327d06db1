#include "DataGenTracks.h"

#include <cairo.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "DataGenTrackGeom.h"

namespace {

constexpr int kTrackCount = 6;
constexpr int kPictureWidth = 1024;
constexpr int kPictureHeight = 768;
constexpr int kBarrierPixels = 3;
constexpr int kChequerPixels = 6;

using Json = nlohmann::json;

// The designs live beside this source file, so the generator finds them from any build folder.
std::filesystem::path DesignFolder()
{
    return std::filesystem::path(__FILE__).parent_path() / "tracks";
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

bool ReadDesign(const char* file_name, TrackDesign* design)
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

// A little grain, the same on every run.
int Grain(int x, int y)
{
    unsigned h = unsigned(x) * 73856093u ^ unsigned(y) * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return int(h % 13u) - 6;
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

// Colour of one picture pixel as 0xRRGGBB.
unsigned PixelColour(const std::vector<std::uint8_t>& map, int px, int py)
{
    int mx = px * TRACK_MAP_SIZE / kPictureWidth;
    int my = py * TRACK_MAP_SIZE / kPictureHeight;
    std::uint8_t value = MapAt(map, mx, my);
    int g = Grain(px, py);
    auto rgb = [g](int r, int gr, int b) { return unsigned((r + g) << 16 | (gr + g) << 8 | (b + g)); };
    if (value == 6) {
        // The barrier: a light band along the edge of the grass.
        if (NearOtherThan(map, mx, my, kBarrierPixels, 6))
            return 0xD8D8D0;
        return rgb(52, 96, 44);
    }
    if (value == 5)
        return rgb(198, 172, 112);
    if (value == 4)
        return ((px / kChequerPixels + py / kChequerPixels) % 2) ? 0x141414 : 0xF4F4F4;
    // Road, checkpoints and the racing line all look like road; a white edge line meets the verge.
    if (NearOtherThan(map, mx, my, 1, value) && (MapAt(map, mx - 2, my) == 5 || MapAt(map, mx + 2, my) == 5 ||
                                                 MapAt(map, mx, my - 2) == 5 || MapAt(map, mx, my + 2) == 5))
        return 0xECECEC;
    return rgb(96, 96, 102);
}

bool WritePicture(const std::vector<std::uint8_t>& map, const std::string& file_name)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPictureWidth, kPictureHeight);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return false;
    }
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int py = 0; py < kPictureHeight; py++) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + py * stride);
        for (int px = 0; px < kPictureWidth; px++)
            row[px] = PixelColour(map, px, py);
    }
    cairo_surface_mark_dirty(surface);
    bool ok = cairo_surface_write_to_png(surface, file_name.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!ok)
        std::fprintf(stderr, "tracks: cannot write %s\n", file_name.c_str());
    return ok;
}

bool DataGenWriteTrack(const char* design_file, int track, const char* data_dir)
{
    TrackDesign design;
    std::vector<std::uint8_t> map;
    if (!ReadDesign(design_file, &design) || !TrackRasterise(design, &map)) {
        std::fprintf(stderr, "tracks: track %d not made\n", track);
        return false;
    }
    std::string folder = std::string(data_dir) + "/";
    return WriteMap(map, folder + "150" + std::to_string(track) + ".dat") &&
           WritePicture(map, folder + "160" + std::to_string(track) + ".dat");
}

} // namespace

bool DataGenWriteTracks(const char* data_dir)
{
    for (int track = 0; track < kTrackCount; track++) {
        char name[32];
        std::snprintf(name, sizeof(name), "t%02d.json", track);
        if (!DataGenWriteTrack((DesignFolder() / name).c_str(), track, data_dir))
            return false;
    }
    return true;
}

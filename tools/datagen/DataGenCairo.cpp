#include "DataGenCairo.h"

#include <cairo-ft.h>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "DataGenTga.h"

cairo_t* DataGenNewPicture(int width, int height)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_surface_destroy(surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, 0, 0, 0, 0);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    return cr;
}

namespace {

bool Report(bool ok, const std::string& path)
{
    if (!ok)
        std::fprintf(stderr, "torvi_datagen: cannot write %s\n", path.c_str());
    return ok;
}

cairo_surface_t* Finish(cairo_t* cr)
{
    cairo_surface_t* surface = cairo_surface_reference(cairo_get_target(cr));
    cairo_destroy(cr);
    return surface;
}

} // namespace

bool DataGenSavePng(cairo_surface_t* surface, const std::string& path)
{
    bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
              cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return Report(ok, path);
}

bool DataGenSaveTga(cairo_surface_t* surface, const std::string& path)
{
    bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS && DataGenWriteTga(surface, path.c_str());
    cairo_surface_destroy(surface);
    return Report(ok, path);
}

bool DataGenFinishPng(cairo_t* cr, const std::string& path)
{
    return DataGenSavePng(Finish(cr), path);
}

bool DataGenFinishTga(cairo_t* cr, const std::string& path)
{
    return DataGenSaveTga(Finish(cr), path);
}

std::string DataGenPath(const char* folder, const char* name)
{
    return std::string(folder) + "/" + name;
}

bool DataGenMakeFolder(const std::string& folder)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        std::fprintf(stderr, "torvi_datagen: cannot create %s\n", folder.c_str());
    return !ec;
}

void DataGenRoundedRect(cairo_t* cr, double x, double y, double w, double h, double r)
{
    const double pi = 3.14159265358979;
    if (r > w / 2)
        r = w / 2;
    if (r > h / 2)
        r = h / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

void DataGenSetRgb(cairo_t* cr, DataGenRgb c, double alpha)
{
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

DataGenRgb DataGenShade(DataGenRgb c, double t)
{
    const double target = t > 0 ? 1.0 : 0.0;
    const double k = t > 0 ? t : -t;
    return {c.r + (target - c.r) * k, c.g + (target - c.g) * k, c.b + (target - c.b) * k};
}

void DataGenVerticalBlend(cairo_t* cr, double y0, double y1, DataGenRgb top, double top_alpha, DataGenRgb bottom,
                          double bottom_alpha)
{
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top_alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom_alpha);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void DataGenVerticalGradient(cairo_t* cr, double y0, double y1, DataGenRgb top, DataGenRgb bottom, double alpha)
{
    DataGenVerticalBlend(cr, y0, y1, top, alpha, bottom, alpha);
}

double DataGenNoise(int x, int y, int seed)
{
    unsigned h = unsigned(x) * 73856093u ^ unsigned(y) * 19349663u ^ unsigned(seed) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return double(h % 10007u) / 10006.0;
}

double DataGenValueNoise(double x, double y, double spacing, int seed)
{
    double gx = x / spacing;
    double gy = y / spacing;
    int ix = int(std::floor(gx));
    int iy = int(std::floor(gy));
    double fx = gx - ix;
    double fy = gy - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    double top = DataGenNoise(ix, iy, seed) * (1 - fx) + DataGenNoise(ix + 1, iy, seed) * fx;
    double bottom = DataGenNoise(ix, iy + 1, seed) * (1 - fx) + DataGenNoise(ix + 1, iy + 1, seed) * fx;
    return top * (1 - fy) + bottom * fy;
}

namespace {

// Read once, kept to the end of the run.
cairo_font_face_t* TitleFace()
{
    static cairo_font_face_t* face = nullptr;
    static bool tried = false;
    if (tried)
        return face;
    tried = true;
    FT_Library library = nullptr;
    FT_Face ft_face = nullptr;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, TORVI_TITLE_FONT, 0, &ft_face) != 0) {
        std::fprintf(stderr, "torvi_datagen: cannot read %s\n", TORVI_TITLE_FONT);
        return nullptr;
    }
    face = cairo_ft_font_face_create_for_ft_face(ft_face, 0);
    return face;
}

} // namespace

bool DataGenSetTitleFont(cairo_t* cr, double size)
{
    cairo_font_face_t* face = TitleFace();
    if (!face)
        return false;
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, size);
    return true;
}

void DataGenCentredTextPath(cairo_t* cr, double cx, double y, const char* text)
{
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    cairo_move_to(cr, cx - extents.width / 2 - extents.x_bearing, y);
    cairo_text_path(cr, text);
}

void DataGenPaintPixels(cairo_t* cr, const std::function<unsigned(int x, int y)>& colour)
{
    cairo_surface_t* target = cairo_get_target(cr);
    cairo_surface_flush(target);
    unsigned char* data = cairo_image_surface_get_data(target);
    if (!data)
        return;
    const int w = cairo_image_surface_get_width(target);
    const int h = cairo_image_surface_get_height(target);
    const int stride = cairo_image_surface_get_stride(target);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<unsigned*>(data + y * stride);
        for (int x = 0; x < w; ++x)
            row[x] = colour(x, y);
    }
    cairo_surface_mark_dirty(target);
}

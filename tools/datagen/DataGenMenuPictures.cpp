#include "DataGenMenuPictures.h"

#include <cmath>
#include <cstdio>

#include "DataGenCairo.h"
#include "DataGenTrackGeom.h"
#include "DataGenTracks.h"

namespace {

const double kPi = 3.14159265358979;
const int kTrackCount = 6;

// Background

void PaintCarbon(cairo_t* cr, int w, int h)
{
    // A faint woven pattern, as carbon fibre.
    const int cell = 8;
    for (int y = 0; y < h; y += cell) {
        for (int x = 0; x < w; x += cell) {
            bool across = ((x + y) / cell) % 2 == 0;
            cairo_pattern_t* p = across ? cairo_pattern_create_linear(x, y, x + cell, y)
                                        : cairo_pattern_create_linear(x, y, x, y + cell);
            cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.0);
            cairo_pattern_add_color_stop_rgba(p, 0.5, 1, 1, 1, 0.045);
            cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 1, 0.0);
            cairo_set_source(cr, p);
            cairo_rectangle(cr, x, y, cell, cell);
            cairo_fill(cr);
            cairo_pattern_destroy(p);
        }
    }
}

// A sweep of track through the lower right: asphalt, edge lines and a red and white kerb.
void PaintSweep(cairo_t* cr)
{
    auto trace = [cr]() {
        cairo_move_to(cr, -80, 820);
        cairo_curve_to(cr, 300, 560, 620, 760, 1120, 430);
    };
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    trace();
    cairo_set_line_width(cr, 170);
    cairo_set_source_rgba(cr, 0.16, 0.16, 0.19, 0.85);
    cairo_stroke(cr);
    for (double side : {-1.0, 1.0}) {
        cairo_save(cr);
        cairo_translate(cr, 0, side * 78);
        trace();
        cairo_set_line_width(cr, 14);
        cairo_set_source_rgba(cr, 0.95, 0.95, 0.95, 0.5);
        cairo_stroke(cr);
        trace();
        const double dash[] = {22, 22};
        cairo_set_dash(cr, dash, 2, 0);
        cairo_set_source_rgba(cr, 0.8, 0.08, 0.08, 0.55);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        cairo_restore(cr);
    }
    trace();
    const double centre_dash[] = {40, 50};
    cairo_set_dash(cr, centre_dash, 2, 0);
    cairo_set_line_width(cr, 4);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.25);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

void PaintStreaks(cairo_t* cr)
{
    for (int i = 0; i < 14; ++i) {
        double y = 40 + i * 17 + DataGenNoise(i, 0, 7) * 10;
        double x = 560 + DataGenNoise(i, 1, 7) * 300;
        double length = 160 + DataGenNoise(i, 2, 7) * 260;
        cairo_pattern_t* p = cairo_pattern_create_linear(x, 0, x + length, 0);
        cairo_pattern_add_color_stop_rgba(p, 0, 1.0, 0.45, 0.1, 0.0);
        cairo_pattern_add_color_stop_rgba(p, 1, 1.0, 0.25, 0.1, 0.35);
        cairo_set_source(cr, p);
        cairo_set_line_width(cr, 2 + (i % 3));
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + length, y - length * 0.18);
        cairo_stroke(cr);
        cairo_pattern_destroy(p);
    }
}

void PaintChequerStrip(cairo_t* cr, int w, int h)
{
    const int square = 16;
    for (int row = 0; row < 2; ++row) {
        for (int x = 0; x < w; x += square) {
            if ((x / square + row) % 2)
                continue;
            cairo_rectangle(cr, x, h - (2 - row) * square, square, square);
        }
    }
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, 0);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.35);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 1, 0.02);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void PaintVignette(cairo_t* cr, int w, int h)
{
    cairo_pattern_t* p = cairo_pattern_create_radial(w / 2.0, h / 2.0, h * 0.3, w / 2.0, h / 2.0, w * 0.75);
    cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0.6);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
}

bool WriteBackground(const char* data_dir)
{
    const int w = 1024;
    const int h = 768;
    cairo_t* cr = DataGenNewPicture(w, h);
    cairo_rectangle(cr, 0, 0, w, h);
    DataGenVerticalGradient(cr, 0, h, {0.1, 0.12, 0.18}, {0.02, 0.02, 0.04});
    cairo_fill(cr);
    PaintCarbon(cr, w, h);
    PaintSweep(cr);
    PaintStreaks(cr);
    PaintChequerStrip(cr, w, h);
    PaintVignette(cr, w, h);
    return DataGenFinishPng(cr, DataGenPath(data_dir, "1120.dat"));
}

// Track pictures for the menus

void PaintGround(cairo_t* cr, const DataGenTrackTheme& theme)
{
    DataGenPaintPixels(cr, [&theme](int x, int y) {
        // The big picture's ground at a third of its size, so the pattern reads at this scale.
        DataGenRgb c = DataGenTrackGroundColour(theme, x * 3, y * 3);
        return 0xFF000000u | unsigned(c.r * 255) << 16 | unsigned(c.g * 255) << 8 | unsigned(c.b * 255);
    });
}

void TraceClosed(cairo_t* cr, const std::vector<TrackVec>& points)
{
    cairo_move_to(cr, points[0].x, points[0].y);
    for (const TrackVec& p : points)
        cairo_line_to(cr, p.x, p.y);
    cairo_close_path(cr);
}

// A chequered band across the road where the start line lies.
void PaintStartLine(cairo_t* cr, const std::vector<TrackVec>& c, const TrackDesign& design)
{
    const int n = int(c.size());
    int at = int(std::fmod(std::fmod(design.start_band.s, n) + n, n));
    TrackVec a = c[(at - 2 + n) % n];
    TrackVec b = c[(at + 2) % n];
    double heading = std::atan2(b.y - a.y, b.x - a.x);
    cairo_save(cr);
    cairo_translate(cr, c[at].x, c[at].y);
    cairo_rotate(cr, heading);
    const double hw = design.half_width;
    const double square = hw / 3;
    for (int i = 0; i < 6; ++i) {
        for (int j = 0; j < 2; ++j) {
            cairo_rectangle(cr, (j - 1) * square, -hw + i * square, square, square);
            bool dark = (i + j) % 2 != 0;
            cairo_set_source_rgb(cr, dark ? 0.05 : 0.97, dark ? 0.05 : 0.97, dark ? 0.05 : 0.97);
            cairo_fill(cr);
        }
    }
    cairo_restore(cr);
}

bool WriteTrackPicture(const char* data_dir, int track)
{
    const int w = 320;
    const int h = 200;
    TrackDesign design;
    if (!DataGenReadTrackDesign(track, &design))
        return false;
    const DataGenTrackTheme& theme = DataGenTrackThemeOf(track);
    cairo_t* cr = DataGenNewPicture(w, h);
    PaintGround(cr, theme);

    // The 640 x 480 track, whole and centred.
    const double scale = h / 480.0;
    cairo_save(cr);
    cairo_translate(cr, (w - 640 * scale) / 2, 0);
    cairo_scale(cr, scale, scale);
    const std::vector<TrackVec> c = TrackSplineClosed(design.centreline, 1.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    const double widths[] = {2 * (design.half_width + design.verge_width) + 6, 2 * (design.half_width + design.verge_width),
                             2 * design.half_width + 4, 2 * design.half_width};
    const DataGenRgb colours[] = {{0.85, 0.85, 0.82}, theme.verge, {0.93, 0.93, 0.93}, {0.36, 0.36, 0.39}};
    for (int i = 0; i < 4; ++i) {
        TraceClosed(cr, c);
        cairo_set_line_width(cr, widths[i]);
        DataGenSetRgb(cr, colours[i]);
        cairo_stroke(cr);
    }
    PaintStartLine(cr, c, design);
    cairo_restore(cr);

    // A bevelled frame.
    cairo_rectangle(cr, 1.5, 1.5, w - 3, h - 3);
    cairo_set_line_width(cr, 3);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_stroke(cr);
    char name[16];
    std::snprintf(name, sizeof(name), "165%d.dat", track);
    return DataGenFinishPng(cr, DataGenPath(data_dir, name));
}

// Trophies

void SetMetal(cairo_t* cr, DataGenRgb metal, double x0, double x1)
{
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, 0, x1, 0);
    const DataGenRgb dark = DataGenShade(metal, -0.45);
    const DataGenRgb light = DataGenShade(metal, 0.7);
    cairo_pattern_add_color_stop_rgb(p, 0.0, dark.r, dark.g, dark.b);
    cairo_pattern_add_color_stop_rgb(p, 0.3, light.r, light.g, light.b);
    cairo_pattern_add_color_stop_rgb(p, 0.55, metal.r, metal.g, metal.b);
    cairo_pattern_add_color_stop_rgb(p, 1.0, dark.r, dark.g, dark.b);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void Outline(cairo_t* cr, DataGenRgb metal)
{
    DataGenSetRgb(cr, DataGenShade(metal, -0.7));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

// A cup on a plinth, the place engraved on the plinth.
void DrawCup(cairo_t* cr, DataGenRgb metal, const char* place)
{
    // Handles behind the bowl.
    for (double side : {-1.0, 1.0}) {
        cairo_new_path(cr);
        if (side > 0)
            cairo_arc(cr, 127, 34, 14, -kPi / 2, kPi / 2);
        else
            cairo_arc(cr, 65, 34, 14, kPi / 2, 3 * kPi / 2);
        cairo_set_line_width(cr, 5);
        SetMetal(cr, metal, 50, 142);
        cairo_stroke(cr);
    }
    // Bowl.
    cairo_move_to(cr, 62, 16);
    cairo_line_to(cr, 130, 16);
    cairo_curve_to(cr, 130, 50, 116, 66, 100, 70);
    cairo_line_to(cr, 92, 70);
    cairo_curve_to(cr, 76, 66, 62, 50, 62, 16);
    cairo_close_path(cr);
    SetMetal(cr, metal, 62, 130);
    cairo_fill_preserve(cr);
    Outline(cr, metal);
    cairo_save(cr);
    cairo_scale(cr, 1, 0.25);
    cairo_arc(cr, 96, 64, 34, 0, 2 * kPi);
    cairo_restore(cr);
    DataGenSetRgb(cr, DataGenShade(metal, -0.35));
    cairo_fill(cr);
    // Stem and foot.
    cairo_move_to(cr, 92, 70);
    cairo_line_to(cr, 100, 70);
    cairo_line_to(cr, 104, 88);
    cairo_line_to(cr, 88, 88);
    cairo_close_path(cr);
    SetMetal(cr, metal, 88, 104);
    cairo_fill_preserve(cr);
    Outline(cr, metal);
    DataGenRoundedRect(cr, 76, 86, 40, 8, 3);
    SetMetal(cr, metal, 76, 116);
    cairo_fill_preserve(cr);
    Outline(cr, metal);
    // Plinth with the place.
    DataGenRoundedRect(cr, 66, 94, 60, 28, 3);
    DataGenVerticalGradient(cr, 94, 122, {0.25, 0.16, 0.1}, {0.12, 0.07, 0.04});
    cairo_fill(cr);
    DataGenRoundedRect(cr, 80, 99, 32, 18, 2);
    SetMetal(cr, metal, 80, 112);
    cairo_fill(cr);
    if (DataGenSetTitleFont(cr, 15)) {
        DataGenCentredTextPath(cr, 96, 114, place);
        DataGenSetRgb(cr, DataGenShade(metal, -0.75));
        cairo_fill(cr);
    }
}

// The finisher's medal on its ribbon.
void DrawMedal(cairo_t* cr)
{
    const DataGenRgb steel = {0.62, 0.68, 0.76};
    for (double side : {-1.0, 1.0}) {
        cairo_move_to(cr, 96 + side * 4, 62);
        cairo_line_to(cr, 96 + side * 34, 6);
        cairo_line_to(cr, 96 + side * 14, 6);
        cairo_line_to(cr, 96 - side * 8, 58);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, side < 0 ? 0.12 : 0.75, side < 0 ? 0.3 : 0.1, side < 0 ? 0.7 : 0.1);
        cairo_fill(cr);
    }
    cairo_arc(cr, 96, 82, 34, 0, 2 * kPi);
    SetMetal(cr, steel, 62, 130);
    cairo_fill_preserve(cr);
    Outline(cr, steel);
    cairo_arc(cr, 96, 82, 26, 0, 2 * kPi);
    DataGenSetRgb(cr, DataGenShade(steel, -0.25));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // A five-pointed star in the middle.
    for (int i = 0; i < 10; ++i) {
        double r = i % 2 ? 9 : 20;
        double a = -kPi / 2 + i * kPi / 5;
        if (i == 0)
            cairo_move_to(cr, 96 + r * std::cos(a), 82 + r * std::sin(a));
        else
            cairo_line_to(cr, 96 + r * std::cos(a), 82 + r * std::sin(a));
    }
    cairo_close_path(cr);
    DataGenSetRgb(cr, DataGenShade(steel, 0.6));
    cairo_fill_preserve(cr);
    Outline(cr, steel);
}

bool WriteTrophy(const char* data_dir, int place)
{
    const DataGenRgb metals[3] = {{0.95, 0.72, 0.15}, {0.74, 0.76, 0.8}, {0.76, 0.45, 0.2}};
    const char* places[3] = {"1st", "2nd", "3rd"};
    cairo_t* cr = DataGenNewPicture(192, 128);
    if (place < 3)
        DrawCup(cr, metals[place], places[place]);
    else
        DrawMedal(cr);
    char name[16];
    std::snprintf(name, sizeof(name), "190%d.dat", place);
    return DataGenFinishPng(cr, DataGenPath(data_dir, name));
}

} // namespace

bool DataGenWriteMenuPictures(const char* data_dir)
{
    if (!WriteBackground(data_dir))
        return false;
    for (int track = 0; track < kTrackCount; ++track)
        if (!WriteTrackPicture(data_dir, track))
            return false;
    for (int place = 0; place < 4; ++place)
        if (!WriteTrophy(data_dir, place))
            return false;
    return true;
}

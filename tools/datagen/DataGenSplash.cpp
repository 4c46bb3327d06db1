#include "DataGenSplash.h"

#include <cmath>
#include <cstdio>

#include "DataGenCairo.h"
#include "DataGenCars.h"

namespace {

const int kTitle = 512;
const int kQuarter = kTitle / 2;
const int kSpark = 64;

void PaintSky(cairo_t* cr)
{
    cairo_rectangle(cr, 0, 0, kTitle, kTitle);
    DataGenVerticalGradient(cr, 0, kTitle, {0.05, 0.07, 0.16}, {0.01, 0.01, 0.03});
    cairo_fill(cr);
    // A glow behind the name.
    cairo_pattern_t* p = cairo_pattern_create_radial(256, 150, 10, 256, 150, 300);
    cairo_pattern_add_color_stop_rgba(p, 0, 1.0, 0.45, 0.1, 0.45);
    cairo_pattern_add_color_stop_rgba(p, 1, 1.0, 0.2, 0.05, 0.0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
}

// A bend of track across the lower half, with kerbs, edge lines and the start line.
void TraceBend(cairo_t* cr)
{
    cairo_move_to(cr, -60, 560);
    cairo_curve_to(cr, 120, 300, 420, 470, 580, 250);
}

void PaintTrack(cairo_t* cr)
{
    TraceBend(cr);
    cairo_set_line_width(cr, 190);
    cairo_set_source_rgb(cr, 0.16, 0.38, 0.14);
    cairo_stroke(cr);
    TraceBend(cr);
    cairo_set_line_width(cr, 150);
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.33);
    cairo_stroke(cr);
    for (double side : {-1.0, 1.0}) {
        cairo_save(cr);
        cairo_translate(cr, side * 6, side * 70);
        TraceBend(cr);
        cairo_set_line_width(cr, 12);
        cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
        cairo_stroke(cr);
        TraceBend(cr);
        const double dash[] = {16, 16};
        cairo_set_dash(cr, dash, 2, 0);
        cairo_set_source_rgb(cr, 0.85, 0.1, 0.1);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        cairo_restore(cr);
    }
    // Tyre marks sweeping through the bend.
    for (int i = 0; i < 2; ++i) {
        cairo_save(cr);
        cairo_translate(cr, 0, -22 + i * 30);
        TraceBend(cr);
        cairo_set_line_width(cr, 5);
        cairo_set_source_rgba(cr, 0.05, 0.05, 0.05, 0.35);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
}

// The red car leaning into the bend, its front wheels turned, a shadow under it.
void PaintCar(cairo_t* cr)
{
    cairo_save(cr);
    cairo_translate(cr, 300, 370);
    cairo_rotate(cr, 0.95);
    cairo_scale(cr, 150, 150);
    cairo_translate(cr, -0.5, -0.5);
    DataGenRoundedRect(cr, 0.12, 0.06, 0.84, 0.96, 0.15);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    cairo_translate(cr, -0.03, -0.03);
    DataGenDrawCar(cr, 0, 0, true, 0.3);
    cairo_restore(cr);
    // Speed streaks behind it.
    for (int i = 0; i < 6; ++i) {
        double y = 420 + i * 14;
        cairo_move_to(cr, 60 + i * 12, y);
        cairo_line_to(cr, 190 + i * 6, y - 70);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.25 - i * 0.03);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    }
}

void PaintName(cairo_t* cr)
{
    if (!DataGenSetTitleFont(cr, 88))
        return;
    const char* lines[2] = {"TORVI", "TORVI !!!"};
    const double baselines[2] = {128, 230};
    for (int i = 0; i < 2; ++i) {
        // Shadow, black outline, then the face in a fiery gradient with a light top edge.
        cairo_save(cr);
        cairo_translate(cr, 6, 7);
        DataGenCentredTextPath(cr, 256, baselines[i], lines[i]);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
        cairo_fill(cr);
        cairo_restore(cr);
        DataGenCentredTextPath(cr, 256, baselines[i], lines[i]);
        cairo_set_line_width(cr, 10);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_source_rgb(cr, 0.08, 0.02, 0.02);
        cairo_stroke_preserve(cr);
        DataGenVerticalGradient(cr, baselines[i] - 72, baselines[i], {1.0, 0.92, 0.35}, {0.92, 0.16, 0.06});
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 2);
        cairo_set_source_rgba(cr, 1, 1, 0.85, 0.7);
        cairo_stroke(cr);
    }
}

void PaintChequers(cairo_t* cr)
{
    const int square = 16;
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < kTitle; x += square)
            if ((x / square + row) % 2 == 0)
                cairo_rectangle(cr, x, 250 + row * square, square, square);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
    cairo_fill(cr);
}

bool WriteQuarters(cairo_t* title, const char* data_dir)
{
    cairo_surface_t* whole = cairo_get_target(title);
    for (int q = 0; q < 4; ++q) {
        cairo_t* cr = DataGenNewPicture(kQuarter, kQuarter);
        cairo_set_source_surface(cr, whole, -(q % 2) * kQuarter, -(q / 2) * kQuarter);
        cairo_paint(cr);
        char name[16];
        std::snprintf(name, sizeof(name), "194%d.dat", q);
        if (!DataGenFinishPng(cr, DataGenPath(data_dir, name)))
            return false;
    }
    return true;
}

bool WriteSpark(const char* data_dir)
{
    cairo_t* cr = DataGenNewPicture(kSpark, kSpark);
    DataGenPaintPixels(cr, [](int x, int y) {
        double d = std::hypot(x + 0.5 - kSpark / 2.0, y + 0.5 - kSpark / 2.0) / (kSpark / 2.0);
        double glow = d >= 1.0 ? 0.0 : std::pow(1.0 - d, 2.2);
        // Premultiplied white: colour equal to alpha.
        unsigned a = unsigned(std::lround(glow * 255.0));
        return a << 24 | a << 16 | a << 8 | a;
    });
    return DataGenFinishPng(cr, DataGenPath(data_dir, "1944.dat"));
}

} // namespace

bool DataGenWriteSplash(const char* data_dir)
{
    cairo_t* cr = DataGenNewPicture(kTitle, kTitle);
    PaintSky(cr);
    PaintTrack(cr);
    PaintCar(cr);
    PaintChequers(cr);
    PaintName(cr);
    bool ok = WriteQuarters(cr, data_dir);
    cairo_destroy(cr);
    return ok && WriteSpark(data_dir);
}

#include "DataGenCars.h"

#include <cmath>
#include <cstdio>

#include "DataGenCairo.h"

namespace {

const int kCarPixels = 64;
const int kColours = 8;
const int kFrames = 4;
const int kFlagFrames = 10;
const int kFlagPixels = 64;

// The game's car colours (the standings texts use the same), and a second colour for each car's stripe and
// helmet, chosen to tell the pale cars apart.
const DataGenRgb kBody[kColours] = {
    {255 / 255.0, 50 / 255.0, 40 / 255.0},  {44 / 255.0, 44 / 255.0, 253 / 255.0},
    {234 / 255.0, 255 / 255.0, 118 / 255.0}, {211 / 255.0, 237 / 255.0, 219 / 255.0},
    {250 / 255.0, 224 / 255.0, 18 / 255.0},  {250 / 255.0, 25 / 255.0, 240 / 255.0},
    {101 / 255.0, 251 / 255.0, 103 / 255.0}, {18 / 255.0, 203 / 255.0, 250 / 255.0},
};
const DataGenRgb kAccent[kColours] = {
    {1.0, 1.0, 1.0},   {1.0, 0.85, 0.1}, {0.1, 0.4, 0.12}, {0.1, 0.16, 0.5},
    {0.08, 0.08, 0.08}, {1.0, 1.0, 1.0}, {0.05, 0.3, 0.05}, {0.05, 0.15, 0.45},
};

// Wheel geometry in units of the car size S, from the car's centre: the centres lie 0.35 S to the sides and
// 0.32 S ahead and behind; a wheel is 0.2 S wide and 0.28 S long.
const double kWheelX = 0.35;
const double kWheelY = 0.32;
const double kWheelW = 0.2;
const double kWheelH = 0.28;
const int kTreadGrooves = 4;

const DataGenRgb kTyre = {0.07, 0.07, 0.08};
const DataGenRgb kCarbon = {0.12, 0.12, 0.14};

// One tyre filling (x, y, w, h), its grooves shifted by frame quarters of a groove.
void DrawTyre(cairo_t* cr, double x, double y, double w, double h, int frame)
{
    DataGenRoundedRect(cr, x, y, w, h, w * 0.28);
    DataGenSetRgb(cr, kTyre);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    const double pitch = h / kTreadGrooves;
    cairo_set_line_width(cr, pitch * 0.32);
    DataGenSetRgb(cr, {0.3, 0.3, 0.32});
    for (int i = -1; i <= kTreadGrooves; ++i) {
        double gy = y + (i + frame / double(kFrames)) * pitch;
        cairo_move_to(cr, x + w * 0.18, gy);
        cairo_line_to(cr, x + w * 0.82, gy);
    }
    cairo_stroke(cr);
    // The rounded shoulders catch the light.
    cairo_set_line_width(cr, w * 0.12);
    DataGenSetRgb(cr, {0.42, 0.42, 0.45}, 0.6);
    cairo_move_to(cr, x + w * 0.12, y);
    cairo_line_to(cr, x + w * 0.12, y + h);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// The monocoque, sidepods and engine cover as one outline (unit square, front up).
void TraceBody(cairo_t* cr)
{
    cairo_move_to(cr, 0.46, 0.05);
    cairo_curve_to(cr, 0.47, 0.02, 0.53, 0.02, 0.54, 0.05);
    cairo_line_to(cr, 0.58, 0.30);
    cairo_line_to(cr, 0.66, 0.36);
    cairo_curve_to(cr, 0.73, 0.37, 0.74, 0.40, 0.74, 0.46);
    cairo_line_to(cr, 0.72, 0.66);
    cairo_curve_to(cr, 0.70, 0.76, 0.62, 0.82, 0.58, 0.90);
    cairo_line_to(cr, 0.42, 0.90);
    cairo_curve_to(cr, 0.38, 0.82, 0.30, 0.76, 0.28, 0.66);
    cairo_line_to(cr, 0.26, 0.46);
    cairo_curve_to(cr, 0.26, 0.40, 0.27, 0.37, 0.34, 0.36);
    cairo_line_to(cr, 0.42, 0.30);
    cairo_close_path(cr);
}

void DrawWings(cairo_t* cr, int colour)
{
    // Front wing, in the lighter front colour, and the rear wing in carbon with the car's stripe.
    DataGenRoundedRect(cr, 0.1, 0.0, 0.8, 0.075, 0.02);
    DataGenSetRgb(cr, DataGenShade(kBody[colour], 0.55));
    cairo_fill_preserve(cr);
    DataGenSetRgb(cr, DataGenShade(kBody[colour], -0.55));
    cairo_set_line_width(cr, 0.015);
    cairo_stroke(cr);
    DataGenRoundedRect(cr, 0.24, 0.885, 0.52, 0.1, 0.02);
    DataGenSetRgb(cr, kCarbon);
    cairo_fill(cr);
    cairo_rectangle(cr, 0.27, 0.915, 0.46, 0.035);
    DataGenSetRgb(cr, kBody[colour]);
    cairo_fill(cr);
}

void DrawSuspension(cairo_t* cr)
{
    cairo_set_line_width(cr, 0.022);
    DataGenSetRgb(cr, kCarbon);
    const double front = 0.5 - kWheelY;
    const double rear = 0.5 + kWheelY;
    const double arms[][4] = {{0.44, front - 0.02, 0.5 - kWheelX, front},
                              {0.56, front - 0.02, 0.5 + kWheelX, front},
                              {0.42, front + 0.08, 0.5 - kWheelX, front + 0.02},
                              {0.58, front + 0.08, 0.5 + kWheelX, front + 0.02},
                              {0.38, rear - 0.04, 0.5 - kWheelX, rear},
                              {0.62, rear - 0.04, 0.5 + kWheelX, rear}};
    for (const auto& a : arms) {
        cairo_move_to(cr, a[0], a[1]);
        cairo_line_to(cr, a[2], a[3]);
    }
    cairo_stroke(cr);
}

void DrawBody(cairo_t* cr, int colour)
{
    const DataGenRgb body = kBody[colour];
    TraceBody(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 1);
    const DataGenRgb nose = DataGenShade(body, 0.6);
    const DataGenRgb tail = DataGenShade(body, -0.2);
    cairo_pattern_add_color_stop_rgb(p, 0.0, nose.r, nose.g, nose.b);
    cairo_pattern_add_color_stop_rgb(p, 0.42, body.r, body.g, body.b);
    cairo_pattern_add_color_stop_rgb(p, 1.0, tail.r, tail.g, tail.b);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_fill_preserve(cr);
    DataGenSetRgb(cr, DataGenShade(body, -0.6));
    cairo_set_line_width(cr, 0.018);
    cairo_stroke(cr);

    // The stripe down the engine cover (the nose stays light), the cockpit and the driver's helmet.
    cairo_move_to(cr, 0.5, 0.58);
    cairo_line_to(cr, 0.5, 0.89);
    cairo_set_line_width(cr, 0.05);
    DataGenSetRgb(cr, kAccent[colour]);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, 0.5, 0.45);
    cairo_scale(cr, 0.085, 0.12);
    cairo_arc(cr, 0, 0, 1, 0, 2 * 3.14159265358979);
    cairo_restore(cr);
    DataGenSetRgb(cr, kCarbon);
    cairo_fill(cr);
    cairo_arc(cr, 0.5, 0.46, 0.055, 0, 2 * 3.14159265358979);
    DataGenSetRgb(cr, kAccent[colour]);
    cairo_fill_preserve(cr);
    DataGenSetRgb(cr, {0, 0, 0});
    cairo_set_line_width(cr, 0.012);
    cairo_stroke(cr);
    cairo_rectangle(cr, 0.46, 0.43, 0.08, 0.025);
    DataGenSetRgb(cr, {0.15, 0.2, 0.3});
    cairo_fill(cr);
}

} // namespace

void DataGenDrawCar(cairo_t* cr, int colour, int frame, bool front_wheels, double front_wheel_turn)
{
    if (front_wheels) {
        for (double side : {-1.0, 1.0}) {
            cairo_save(cr);
            cairo_translate(cr, 0.5 + side * kWheelX, 0.5 - kWheelY);
            cairo_rotate(cr, front_wheel_turn);
            DrawTyre(cr, -kWheelW / 2, -kWheelH / 2, kWheelW, kWheelH, frame);
            cairo_restore(cr);
        }
    }
    DrawSuspension(cr);
    for (double side : {-1.0, 1.0})
        DrawTyre(cr, 0.5 + side * kWheelX - kWheelW / 2, 0.5 + kWheelY - kWheelH / 2, kWheelW, kWheelH, frame);
    DrawBody(cr, colour);
    DrawWings(cr, colour);
}

namespace {

bool WriteCar(const char* data_dir, int colour, int frame)
{
    cairo_t* cr = DataGenNewPicture(kCarPixels, kCarPixels);
    cairo_scale(cr, kCarPixels, kCarPixels);
    DataGenDrawCar(cr, colour, frame, false, 0.0);
    char name[16];
    std::snprintf(name, sizeof(name), "17%d%d.tga", colour, frame);
    return DataGenFinishTga(cr, DataGenPath(data_dir, name));
}

// The front wheel pictures: the wheel fills its picture, which the game places as 0.2 S x 0.28 S.
bool WriteWheel(const char* data_dir, int frame)
{
    const int w = 20;
    const int h = 28;
    cairo_t* cr = DataGenNewPicture(w, h);
    DrawTyre(cr, 0.5, 0.5, w - 1.0, h - 1.0, frame);
    char name[16];
    std::snprintf(name, sizeof(name), "179%d.tga", frame);
    return DataGenFinishTga(cr, DataGenPath(data_dir, name));
}

// A soft dark shape: the outline drawn in rings that fade outward.
void SoftShadow(cairo_t* cr, double x, double y, double w, double h, double radius, double spread, double alpha)
{
    const int rings = 8;
    for (int i = rings; i >= 0; --i) {
        double grow = spread * i / rings;
        DataGenRoundedRect(cr, x - grow, y - grow, w + 2 * grow, h + 2 * grow, radius + grow);
        cairo_set_source_rgba(cr, 0, 0, 0, alpha / (rings + 1));
        cairo_fill(cr);
    }
}

bool WriteShadows(const char* data_dir)
{
    // The car's shadow covers 1.1 S: the car's own square lies 0.05 S in from each side.
    const int car = 70;
    cairo_t* cr = DataGenNewPicture(car, car);
    cairo_scale(cr, car / 1.1, car / 1.1);
    cairo_translate(cr, 0.05, 0.05);
    SoftShadow(cr, 0.14, 0.04, 0.72, 0.92, 0.12, 0.04, 0.55);
    bool ok = DataGenFinishTga(cr, DataGenPath(data_dir, "1798.tga"));

    const int w = 22;
    const int h = 31;
    cr = DataGenNewPicture(w, h);
    SoftShadow(cr, 2.0, 2.0, w - 4.0, h - 4.0, 5.0, 1.5, 0.8);
    return DataGenFinishTga(cr, DataGenPath(data_dir, "1799.tga")) && ok;
}

// The chequered flag on its pole, its cloth waving: the wave travels away from the pole over the ten frames.
bool WriteFlag(const char* data_dir, int frame)
{
    const double pi = 3.14159265358979;
    const double left = 12.0;
    const double top = 6.0;
    const double cloth_w = 48.0;
    const double cloth_h = 32.0;
    const int columns = 6;
    const int rows = 4;
    const int steps = 4; // per cell edge, so the cells bend with the wave
    const double phase = 2 * pi * frame / kFlagFrames;
    auto wave = [&](double u) { return std::sin(u * 2.2 * pi - phase) * 4.0 * u; };
    auto slope = [&](double u) { return std::cos(u * 2.2 * pi - phase); };

    cairo_t* cr = DataGenNewPicture(kFlagPixels, kFlagPixels);
    // The pole with its gold knob.
    cairo_rectangle(cr, 8.5, 4.0, 3.0, 58.0);
    DataGenSetRgb(cr, {0.55, 0.55, 0.58});
    cairo_fill(cr);
    cairo_arc(cr, 10.0, 4.0, 2.6, 0, 2 * pi);
    DataGenSetRgb(cr, {0.95, 0.78, 0.2});
    cairo_fill(cr);

    for (int c = 0; c < columns; ++c) {
        double u0 = double(c) / columns;
        double u1 = double(c + 1) / columns;
        double light = 0.18 * slope((u0 + u1) / 2);
        for (int r = 0; r < rows; ++r) {
            double v0 = top + cloth_h * r / rows;
            double v1 = top + cloth_h * (r + 1) / rows;
            cairo_move_to(cr, left + cloth_w * u0, v0 + wave(u0));
            for (int s = 1; s <= steps; ++s) {
                double u = u0 + (u1 - u0) * s / steps;
                cairo_line_to(cr, left + cloth_w * u, v0 + wave(u));
            }
            for (int s = steps; s >= 0; --s) {
                double u = u0 + (u1 - u0) * s / steps;
                cairo_line_to(cr, left + cloth_w * u, v1 + wave(u));
            }
            cairo_close_path(cr);
            double base = (c + r) % 2 ? 0.08 : 0.92;
            double v = base + light;
            v = v < 0 ? 0 : (v > 1 ? 1 : v);
            DataGenSetRgb(cr, {v, v, v});
            cairo_fill_preserve(cr);
            cairo_set_line_width(cr, 0.6);
            cairo_stroke(cr);
        }
    }
    char name[16];
    std::snprintf(name, sizeof(name), "180%d.tga", frame);
    return DataGenFinishTga(cr, DataGenPath(data_dir, name));
}

} // namespace

bool DataGenWriteCars(const char* data_dir)
{
    for (int c = 0; c < kColours; ++c)
        for (int f = 0; f < kFrames; ++f)
            if (!WriteCar(data_dir, c, f))
                return false;
    for (int f = 0; f < kFrames; ++f)
        if (!WriteWheel(data_dir, f))
            return false;
    for (int f = 0; f < kFlagFrames; ++f)
        if (!WriteFlag(data_dir, f))
            return false;
    return WriteShadows(data_dir);
}

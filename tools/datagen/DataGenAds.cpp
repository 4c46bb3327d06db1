#include "DataGenAds.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "DataGenCairo.h"
#include "DataGenCars.h"
#include "Game/Screens/GameAdsCatalogue.h"

namespace {

const double kPi = 3.14159265358979;

DataGenRgb Rgb(unsigned colour)
{
    return {((colour >> 16) & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0, (colour & 0xFF) / 255.0};
}

bool IsPng(const char* name)
{
    size_t n = std::strlen(name);
    return n > 4 && std::strcmp(name + n - 4, ".png") == 0;
}

void Circle(cairo_t* cr, double x, double y, double r)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * kPi);
}

// A lit ball: the colour with a highlight toward the top left.
void Ball(cairo_t* cr, double x, double y, double r, DataGenRgb c)
{
    cairo_pattern_t* p = cairo_pattern_create_radial(x - r * 0.35, y - r * 0.35, r * 0.1, x, y, r);
    DataGenRgb light = DataGenShade(c, 0.6);
    DataGenRgb dark = DataGenShade(c, -0.35);
    cairo_pattern_add_color_stop_rgb(p, 0, light.r, light.g, light.b);
    cairo_pattern_add_color_stop_rgb(p, 1, dark.r, dark.g, dark.b);
    Circle(cr, x, y, r);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

// Each motif fills a circle of radius r around (x, y).
void DrawMotif(cairo_t* cr, GameAdMotif motif, double x, double y, double r, DataGenRgb c, int seed)
{
    cairo_save(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    switch (motif) {
    case GAME_AD_MOTIF_ORBS:
        Ball(cr, x - r * 0.35, y + r * 0.25, r * 0.45, c);
        Ball(cr, x + r * 0.4, y + r * 0.3, r * 0.38, DataGenShade(c, -0.2));
        Ball(cr, x + r * 0.02, y - r * 0.35, r * 0.42, DataGenShade(c, 0.15));
        break;
    case GAME_AD_MOTIF_CARDS:
        for (int i = 0; i < 3; ++i) {
            cairo_save(cr);
            cairo_translate(cr, x, y + r * 0.3);
            cairo_rotate(cr, (i - 1) * 0.35);
            DataGenRoundedRect(cr, -r * 0.35, -r * 0.95, r * 0.7, r, r * 0.08);
            cairo_set_source_rgb(cr, 0.98, 0.97, 0.93);
            cairo_fill_preserve(cr);
            cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
            cairo_set_line_width(cr, r * 0.03);
            cairo_stroke(cr);
            Circle(cr, 0, -r * 0.45, r * 0.14);
            DataGenSetRgb(cr, i == 1 ? DataGenRgb{0.1, 0.1, 0.1} : DataGenRgb{0.85, 0.1, 0.1});
            cairo_fill(cr);
            cairo_restore(cr);
        }
        break;
    case GAME_AD_MOTIF_GEAR: {
        const int teeth = 10;
        for (int i = 0; i < 2 * teeth; ++i) {
            double a = i * kPi / teeth;
            double rr = i % 2 ? r * 0.72 : r * 0.95;
            cairo_line_to(cr, x + std::cos(a - 0.12) * rr, y + std::sin(a - 0.12) * rr);
            cairo_line_to(cr, x + std::cos(a + 0.12) * rr, y + std::sin(a + 0.12) * rr);
        }
        cairo_close_path(cr);
        Circle(cr, x, y, r * 0.3);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        DataGenSetRgb(cr, c);
        cairo_fill_preserve(cr);
        DataGenSetRgb(cr, DataGenShade(c, -0.5));
        cairo_set_line_width(cr, r * 0.04);
        cairo_stroke(cr);
        break;
    }
    case GAME_AD_MOTIF_STAR:
        for (int i = 0; i < 10; ++i) {
            double a = -kPi / 2 + i * kPi / 5;
            double rr = i % 2 ? r * 0.42 : r;
            cairo_line_to(cr, x + std::cos(a) * rr, y + std::sin(a) * rr);
        }
        cairo_close_path(cr);
        DataGenSetRgb(cr, c);
        cairo_fill_preserve(cr);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
        cairo_set_line_width(cr, r * 0.05);
        cairo_stroke(cr);
        break;
    case GAME_AD_MOTIF_TILES:
        for (int i = 0; i < 4; ++i) {
            double tx = x + (i % 2 - 1) * r * 0.7 + r * 0.05;
            double ty = y + (i / 2 - 1) * r * 0.7 + r * 0.05;
            DataGenRoundedRect(cr, tx, ty, r * 0.6, r * 0.6, r * 0.1);
            DataGenSetRgb(cr, (i + seed) % 2 ? c : DataGenShade(c, 0.4));
            cairo_fill_preserve(cr);
            DataGenSetRgb(cr, DataGenShade(c, -0.6));
            cairo_set_line_width(cr, r * 0.04);
            cairo_stroke(cr);
        }
        break;
    case GAME_AD_MOTIF_BOAT:
        cairo_move_to(cr, x - r * 0.9, y + r * 0.1);
        cairo_line_to(cr, x + r * 0.9, y + r * 0.1);
        cairo_line_to(cr, x + r * 0.6, y + r * 0.5);
        cairo_line_to(cr, x - r * 0.6, y + r * 0.5);
        cairo_close_path(cr);
        DataGenSetRgb(cr, c);
        cairo_fill(cr);
        cairo_rectangle(cr, x - r * 0.3, y - r * 0.35, r * 0.5, r * 0.45);
        cairo_set_source_rgb(cr, 0.97, 0.97, 0.97);
        cairo_fill(cr);
        cairo_rectangle(cr, x - r * 0.15, y - r * 0.7, r * 0.18, r * 0.36);
        DataGenSetRgb(cr, DataGenShade(c, -0.3));
        cairo_fill(cr);
        for (int i = 0; i < 2; ++i) {
            cairo_move_to(cr, x - r, y + r * (0.6 + i * 0.25));
            for (int k = 1; k <= 8; ++k)
                cairo_line_to(cr, x - r + k * r / 4, y + r * (0.6 + i * 0.25) + (k % 2 ? -1 : 1) * r * 0.06);
        }
        cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
        cairo_set_line_width(cr, r * 0.06);
        cairo_stroke(cr);
        break;
    case GAME_AD_MOTIF_FLOWER:
        for (int i = 0; i < 6; ++i) {
            double a = i * kPi / 3;
            Circle(cr, x + std::cos(a) * r * 0.5, y + std::sin(a) * r * 0.5, r * 0.36);
        }
        DataGenSetRgb(cr, c);
        cairo_fill(cr);
        Ball(cr, x, y, r * 0.32, {1.0, 0.85, 0.2});
        break;
    case GAME_AD_MOTIF_CAR:
        cairo_translate(cr, x, y);
        cairo_rotate(cr, 0.6);
        cairo_scale(cr, r * 1.8, r * 1.8);
        cairo_translate(cr, -0.5, -0.5);
        DataGenDrawCar(cr, seed % 8, 0, true, 0.25);
        break;
    case GAME_AD_MOTIF_KITE:
        cairo_move_to(cr, x, y - r);
        cairo_line_to(cr, x + r * 0.6, y - r * 0.1);
        cairo_line_to(cr, x, y + r * 0.75);
        cairo_line_to(cr, x - r * 0.6, y - r * 0.1);
        cairo_close_path(cr);
        DataGenSetRgb(cr, c);
        cairo_fill_preserve(cr);
        DataGenSetRgb(cr, DataGenShade(c, -0.5));
        cairo_set_line_width(cr, r * 0.04);
        cairo_stroke(cr);
        cairo_move_to(cr, x, y - r);
        cairo_line_to(cr, x, y + r * 0.75);
        cairo_move_to(cr, x - r * 0.6, y - r * 0.1);
        cairo_line_to(cr, x + r * 0.6, y - r * 0.1);
        cairo_move_to(cr, x, y + r * 0.75);
        cairo_curve_to(cr, x - r * 0.3, y + r, x + r * 0.3, y + r * 1.1, x - r * 0.1, y + r * 1.3);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
        cairo_stroke(cr);
        break;
    case GAME_AD_MOTIF_SPIRAL:
        cairo_move_to(cr, x, y);
        for (int i = 1; i <= 120; ++i) {
            double a = i * 0.12;
            double rr = r * 0.95 * i / 120.0;
            cairo_line_to(cr, x + std::cos(a) * rr, y + std::sin(a) * rr);
        }
        DataGenSetRgb(cr, c);
        cairo_set_line_width(cr, r * 0.16);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
        break;
    }
    cairo_restore(cr);
}

// A title fitted to the width, centred, white with a dark outline.
void Title(cairo_t* cr, const char* text, double cx, double baseline, double width, double size)
{
    if (!DataGenSetTitleFont(cr, size))
        return;
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    if (e.width > width)
        DataGenSetTitleFont(cr, size * width / e.width);
    DataGenCentredTextPath(cr, cx, baseline, text);
    cairo_set_line_width(cr, 4);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.75);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
}

// The box a picture is drawn in: the whole rectangle, or inside a margin for a frameless box and its shadow.
struct Box {
    double x;
    double y;
    double w;
    double h;
};

// Saves the context, fills the picture's box with a gradient (a frameless box with its shadow first) and clips to
// it; the caller restores.
Box BeginPicture(cairo_t* cr, bool frameless, double w, double h, DataGenRgb top, DataGenRgb bottom)
{
    const double margin = frameless ? std::min(w, h) * 0.06 : 0.0;
    const double shadow = frameless ? margin * 0.5 : 0.0;
    const Box box = {margin, margin, w - 2 * margin - shadow, h - 2 * margin - shadow};
    cairo_save(cr);
    if (frameless) {
        for (int i = 6; i >= 1; --i) {
            DataGenRoundedRect(cr, box.x + i, box.y + i * 1.2, box.w, box.h, 18 + i);
            cairo_set_source_rgba(cr, 0, 0, 0, 0.06);
            cairo_fill(cr);
        }
        DataGenRoundedRect(cr, box.x, box.y, box.w, box.h, 18);
    } else {
        cairo_rectangle(cr, box.x, box.y, box.w, box.h);
    }
    DataGenVerticalGradient(cr, box.y, box.y + box.h, top, bottom);
    cairo_fill_preserve(cr);
    cairo_clip(cr);
    return box;
}

// The product's box: its motif large, the maker's name above and the title below.
void DrawBox(cairo_t* cr, const GameAdProduct& ad, bool frameless, double w, double h)
{
    const DataGenRgb main = Rgb(ad.colour);
    const Box b = BeginPicture(cr, frameless, w, h, DataGenShade(main, 0.25), DataGenShade(main, -0.45));
    const double x = b.x, y = b.y, bw = b.w, bh = b.h;
    // Rays from behind the motif.
    for (int i = 0; i < 12; ++i) {
        double a = i * kPi / 6;
        cairo_move_to(cr, x + bw / 2, y + bh * 0.45);
        cairo_line_to(cr, x + bw / 2 + std::cos(a) * bw, y + bh * 0.45 + std::sin(a) * bw);
        cairo_line_to(cr, x + bw / 2 + std::cos(a + 0.22) * bw, y + bh * 0.45 + std::sin(a + 0.22) * bw);
        cairo_close_path(cr);
    }
    cairo_set_source_rgba(cr, 1, 1, 1, 0.07);
    cairo_fill(cr);
    DrawMotif(cr, ad.motif, x + bw / 2, y + bh * 0.45, std::min(bw, bh) * 0.28, Rgb(ad.accent), 0);
    if (DataGenSetTitleFont(cr, bh * 0.06)) {
        DataGenCentredTextPath(cr, x + bw / 2, y + bh * 0.1, "OSTRELMARK");
        cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, x, y + bh * 0.76, bw, bh * 0.24);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    Title(cr, ad.title, x + bw / 2, y + bh * 0.9, bw * 0.88, bh * 0.11);
    cairo_restore(cr);
}

// The product in play: a screen of its motifs under a bar with the level and the score.
void DrawScene(cairo_t* cr, const GameAdProduct& ad, bool frameless, double w, double h)
{
    const DataGenRgb accent = Rgb(ad.accent);
    const DataGenRgb main = Rgb(ad.colour);
    const Box b = BeginPicture(cr, frameless, w, h, DataGenShade(main, -0.2), DataGenShade(main, -0.6));
    const double x = b.x, y = b.y, bw = b.w, bh = b.h;
    const int columns = 4;
    const int rows = 3;
    const double cell_w = bw / columns;
    const double cell_h = (bh * 0.85) / rows;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            double jitter = DataGenNoise(c, r, ad.number) - 0.5;
            DrawMotif(cr, ad.motif, x + (c + 0.5) * cell_w + jitter * cell_w * 0.2,
                      y + bh * 0.15 + (r + 0.5) * cell_h, std::min(cell_w, cell_h) * 0.36,
                      (c + r) % 2 ? accent : DataGenShade(accent, -0.25), c + r);
        }
    cairo_rectangle(cr, x, y, bw, bh * 0.12);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
    cairo_fill(cr);
    if (DataGenSetTitleFont(cr, bh * 0.06)) {
        char score[32];
        std::snprintf(score, sizeof(score), "LEVEL %d    SCORE %05d", 1 + ad.number % 9, 120 * (ad.number + 3));
        DataGenCentredTextPath(cr, x + bw / 2, y + bh * 0.08, score);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

bool WritePicture(const std::string& folder, const GameAdProduct& ad, const char* name, bool box)
{
    const bool one_picture = ad.pic2[0] == '\0';
    const double w = one_picture ? 384 : 256;
    const double h = std::round((one_picture ? 300 : 256) * ad.height_factor);
    const bool frameless = IsPng(ad.pic1);
    cairo_t* cr = DataGenNewPicture(int(w), int(h));
    if (box)
        DrawBox(cr, ad, frameless, w, h);
    else
        DrawScene(cr, ad, frameless, w, h);
    const std::string path = DataGenPath(folder.c_str(), name);
    return IsPng(name) ? DataGenFinishPng(cr, path) : DataGenFinishTga(cr, path);
}

} // namespace

bool DataGenWriteAds(const char* data_dir)
{
    const std::string folder = DataGenPath(data_dir, "IGA");
    if (!DataGenMakeFolder(folder))
        return false;
    for (const GameAdProduct& ad : kGameAdProducts) {
        if (!WritePicture(folder, ad, ad.pic1, true))
            return false;
        if (ad.pic2[0] && !WritePicture(folder, ad, ad.pic2, false))
            return false;
    }
    return true;
}

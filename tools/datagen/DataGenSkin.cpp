#include "DataGenSkin.h"

#include <cmath>

#include "DataGenCairo.h"
#include "Game/Screens/TorviMWinSkinTable.h"

namespace {

const double kPi = 3.14159265358979;

// The skin's colours: dark steel-blue chrome, orange when the mouse is over a control, green to start a race.
const DataGenRgb kSteelTop = {0.22, 0.26, 0.34};
const DataGenRgb kSteelBottom = {0.07, 0.08, 0.12};
const DataGenRgb kRim = {0.58, 0.64, 0.76};
const DataGenRgb kHotTop = {0.92, 0.38, 0.08};
const DataGenRgb kHotBottom = {0.5, 0.12, 0.03};
const DataGenRgb kHotRim = {1.0, 0.82, 0.45};
const DataGenRgb kGreenTop = {0.16, 0.66, 0.2};
const DataGenRgb kGreenBottom = {0.03, 0.3, 0.07};
const DataGenRgb kGreyTop = {0.13, 0.13, 0.14};
const DataGenRgb kGreyBottom = {0.07, 0.07, 0.08};
const DataGenRgb kRed = {0.86, 0.1, 0.08};

// Face colours of a control in a state: normal, highlighted, pressed (darker, lit from below), disabled.
struct Face {
    DataGenRgb top;
    DataGenRgb bottom;
    DataGenRgb rim;
    double alpha;
    bool gloss;
};

Face FaceOf(int state, DataGenRgb top, DataGenRgb bottom, DataGenRgb rim)
{
    switch (state) {
    case 1:
        return {kHotTop, kHotBottom, kHotRim, 1.0, true};
    case 2:
        return {DataGenShade(kHotBottom, -0.2), DataGenShade(kHotTop, -0.25), kHotRim, 1.0, false};
    case 3:
        // Switched off: a flat, sunken plate that the menu's background shows through.
        return {kGreyTop, kGreyBottom, {0.3, 0.31, 0.34}, 0.5, false};
    default:
        return {top, bottom, rim, 1.0, true};
    }
}

// A rounded rectangle inset a pixel and a half, filled and rimmed.
void Framed(cairo_t* cr, double w, double h, double radius, DataGenRgb fill, double fill_alpha, DataGenRgb rim,
            double rim_alpha, double line)
{
    DataGenRoundedRect(cr, 1.5, 1.5, w - 3, h - 3, radius);
    DataGenSetRgb(cr, fill, fill_alpha);
    cairo_fill_preserve(cr);
    DataGenSetRgb(cr, rim, rim_alpha);
    cairo_set_line_width(cr, line);
    cairo_stroke(cr);
}

void FillFace(cairo_t* cr, const Face& face, double x, double y, double w, double h, double radius, double rim)
{
    DataGenRoundedRect(cr, x + rim / 2, y + rim / 2, w - rim, h - rim, radius);
    DataGenVerticalGradient(cr, y, y + h, face.top, face.bottom, face.alpha);
    cairo_fill_preserve(cr);
    DataGenSetRgb(cr, face.rim, face.alpha);
    cairo_set_line_width(cr, rim);
    cairo_stroke(cr);
    if (!face.gloss)
        return;
    // A soft shine over the upper half.
    DataGenRoundedRect(cr, x + rim * 1.5, y + rim * 1.5, w - rim * 3, h * 0.45, radius * 0.8);
    DataGenVerticalBlend(cr, y, y + h * 0.5, {1, 1, 1}, 0.22 * face.alpha, {1, 1, 1}, 0.02 * face.alpha);
    cairo_fill(cr);
}

void DrawPanel(cairo_t* cr, double w, double h)
{
    DataGenRoundedRect(cr, 3, 3, w - 6, h - 6, 20);
    DataGenVerticalGradient(cr, 0, h, {0.08, 0.1, 0.17}, {0.03, 0.04, 0.08}, 0.86);
    cairo_fill_preserve(cr);
    DataGenSetRgb(cr, kRim, 0.9);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    DataGenRoundedRect(cr, 7, 7, w - 14, h - 14, 16);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void DrawPlate(cairo_t* cr, double w, double h)
{
    DataGenRoundedRect(cr, 2, 2, w - 4, h - 4, 14);
    DataGenVerticalGradient(cr, 0, h, {0.78, 0.8, 0.84}, {0.45, 0.48, 0.54});
    cairo_fill_preserve(cr);
    DataGenSetRgb(cr, {0.2, 0.22, 0.26});
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    for (int y = 10; y < h - 10; y += 3) {
        cairo_move_to(cr, 10, y + 0.5);
        cairo_line_to(cr, w - 10, y + 0.5);
    }
    cairo_set_source_rgba(cr, 1, 1, 1, 0.08);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void DrawBlack(cairo_t* cr, double w, double h)
{
    Framed(cr, w, h, 5, {0, 0, 0}, 0.92, {0.45, 0.47, 0.52}, 1.0, 2);
}

void DrawBox(cairo_t* cr, int state, double w, double h)
{
    const double alpha = state == 3 ? 0.45 : 1.0;
    Framed(cr, w, h, 8, {0.03, 0.04, 0.08}, 0.45 * alpha, kRim, 0.85 * alpha, 1.5);
}

// The push button: steel with red flashes at its ends.
void DrawButton(cairo_t* cr, int state, double w, double h)
{
    const Face face = FaceOf(state, kSteelTop, kSteelBottom, kRim);
    FillFace(cr, face, 0, 0, w, h, 14, 2.5);
    DataGenRgb flash = kRed;
    if (state == 1 || state == 2)
        flash = {1.0, 0.9, 0.3};
    else if (state == 3)
        flash = {0.34, 0.34, 0.36};
    for (double side : {0.0, 1.0}) {
        double x = side == 0.0 ? 9 : w - 21;
        double lean = side == 0.0 ? 5 : -5;
        cairo_move_to(cr, x + lean + 3, 10);
        cairo_line_to(cr, x + lean + 9, 10);
        cairo_line_to(cr, x - lean + 9, h - 10);
        cairo_line_to(cr, x - lean + 3, h - 10);
        cairo_close_path(cr);
        DataGenSetRgb(cr, flash, 0.85 * face.alpha);
        cairo_fill(cr);
    }
}

// The race start button: green, chequered at both ends.
void DrawStart(cairo_t* cr, int state, double w, double h)
{
    Face face = FaceOf(state, kGreenTop, kGreenBottom, {0.75, 1.0, 0.65});
    if (state == 1)
        face = {{0.4, 0.9, 0.25}, {0.08, 0.5, 0.1}, {1.0, 0.95, 0.5}, 1.0, true};
    else if (state == 2)
        face = {{0.02, 0.25, 0.05}, {0.12, 0.5, 0.14}, {0.8, 1.0, 0.6}, 1.0, false};
    FillFace(cr, face, 0, 0, w, h, 16, 3);
    const double square = (h - 16) / 4;
    for (double x0 : {10.0, w - 10 - 2 * square}) {
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 4; ++j)
                if ((i + j) % 2 == 0)
                    cairo_rectangle(cr, x0 + i * square, 8 + j * square, square, square);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.55 * face.alpha);
        cairo_fill(cr);
    }
}

void DrawField(cairo_t* cr, int state, double w, double h)
{
    const DataGenRgb rim = state == 1 || state == 2 ? kHotRim : (state == 3 ? DataGenRgb{0.35, 0.35, 0.37} : kRim);
    const double fill = state == 1 ? 0.16 : (state == 2 ? 0.02 : 0.06);
    const double alpha = state == 3 ? 0.5 : 0.88;
    Framed(cr, w, h, 6, {fill, fill + 0.02, fill + 0.06}, alpha, rim, alpha, 2);
    // Sunken: a shadow under the top edge.
    cairo_rectangle(cr, 4, 3, w - 8, 6);
    DataGenVerticalBlend(cr, 3, 9, {0, 0, 0}, 0.5 * alpha, {0, 0, 0}, 0.0);
    cairo_fill(cr);
}

void DrawTitle(cairo_t* cr, double w, double h)
{
    const Face face = {{0.7, 0.1, 0.06}, {0.32, 0.03, 0.02}, {1.0, 0.55, 0.4}, 1.0, true};
    FillFace(cr, face, 0, 0, w, h, 10, 2);
}

// A triangle pointing at angle (0 right, pi/2 down) in a w x h box.
void Triangle(cairo_t* cr, double cx, double cy, double size, double angle)
{
    for (int i = 0; i < 3; ++i) {
        double a = angle + i * 2 * kPi / 3;
        double r = i == 0 ? size : size * 0.8;
        if (i == 0)
            cairo_move_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
        else
            cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
    }
    cairo_close_path(cr);
}

void DrawSmallArrow(cairo_t* cr, double angle, double w, double h)
{
    const Face face = FaceOf(0, kSteelTop, kSteelBottom, kRim);
    FillFace(cr, face, 0, 0, w, h, w * 0.3, 2);
    Triangle(cr, w / 2, h / 2, w * 0.3, angle);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
}

void DrawBigArrow(cairo_t* cr, int state, double w, double h)
{
    const Face face = FaceOf(state, kSteelTop, kSteelBottom, kRim);
    const double size = std::min(w, h) * 0.45;
    Triangle(cr, w / 2, h / 2, size, kPi);
    DataGenVerticalGradient(cr, h / 2 - size, h / 2 + size, face.top, face.bottom, face.alpha);
    cairo_fill_preserve(cr);
    DataGenSetRgb(cr, face.rim, face.alpha);
    cairo_set_line_width(cr, std::max(1.5, size * 0.08));
    cairo_stroke(cr);
}

void DrawThumb(cairo_t* cr, double w, double h)
{
    DataGenRoundedRect(cr, 1.5, 1.5, w - 3, h - 3, std::min(w, h) * 0.3);
    DataGenVerticalGradient(cr, 0, h, {0.82, 0.85, 0.9}, {0.42, 0.47, 0.57});
    cairo_fill_preserve(cr);
    DataGenSetRgb(cr, {0.18, 0.2, 0.26});
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    for (int i = -1; i <= 1; ++i) {
        cairo_move_to(cr, w / 2 + i * 4 + 0.5, h * 0.3);
        cairo_line_to(cr, w / 2 + i * 4 + 0.5, h * 0.7);
    }
    cairo_set_source_rgba(cr, 0.15, 0.17, 0.22, 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void DrawTrack(cairo_t* cr, double w, double h)
{
    Framed(cr, w, h, std::min(w, h) * 0.4, {0.02, 0.02, 0.05}, 0.85, {0.38, 0.43, 0.54}, 1.0, 1.5);
}

// The open list: a body with rims at its sides, a top cap and a bottom cap that round it off.
void DrawListPart(cairo_t* cr, TorviSkinLook look, double w, double h)
{
    const double fill_alpha = 0.95;
    if (look == TORVI_LOOK_LIST_BODY) {
        cairo_rectangle(cr, 0, 0, w, h);
        cairo_set_source_rgba(cr, 0.05, 0.06, 0.1, fill_alpha);
        cairo_fill(cr);
        cairo_rectangle(cr, 0.75, 0, w - 1.5, h);
        cairo_new_path(cr);
        cairo_move_to(cr, 1, 0);
        cairo_line_to(cr, 1, h);
        cairo_move_to(cr, w - 1, 0);
        cairo_line_to(cr, w - 1, h);
        DataGenSetRgb(cr, kRim);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        return;
    }
    const bool top = look == TORVI_LOOK_LIST_TOP;
    // A rounded end: the rectangle of twice the height, cut to its own half.
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_clip(cr);
    DataGenRoundedRect(cr, 1, top ? 1 : -h, w - 2, 2 * h - 1, h * 0.8);
    cairo_set_source_rgba(cr, 0.05, 0.06, 0.1, fill_alpha);
    cairo_fill_preserve(cr);
    DataGenSetRgb(cr, kRim);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void DrawBar(cairo_t* cr, DataGenRgb top, DataGenRgb bottom, double alpha, double w, double h, bool edge)
{
    cairo_rectangle(cr, 0, 0, w, h);
    DataGenVerticalGradient(cr, 0, h, top, bottom, alpha);
    cairo_fill(cr);
    if (!edge)
        return;
    cairo_move_to(cr, 0, 1);
    cairo_line_to(cr, w, 1);
    cairo_set_source_rgba(cr, 1, 0.9, 0.6, 0.8);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
}

void DrawCheck(cairo_t* cr, bool on, double w, double h)
{
    Framed(cr, w, h, 4, {0.03, 0.04, 0.08}, 0.95, kRim, 1.0, 2);
    if (!on)
        return;
    cairo_move_to(cr, w * 0.22, h * 0.52);
    cairo_line_to(cr, w * 0.42, h * 0.74);
    cairo_line_to(cr, w * 0.8, h * 0.24);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_source_rgb(cr, 0.45, 1.0, 0.35);
    cairo_set_line_width(cr, w * 0.14);
    cairo_stroke(cr);
}

void DrawTabHeading(cairo_t* cr, double w, double h)
{
    DrawBar(cr, {0.3, 0.35, 0.46}, {0.13, 0.16, 0.23}, 0.95, w, h, false);
    cairo_rectangle(cr, 0, h - 3, w, 3);
    DataGenSetRgb(cr, kRed);
    cairo_fill(cr);
}

void DrawDivider(cairo_t* cr, double w, double h)
{
    cairo_rectangle(cr, w / 2 - 1, 0, 2, h);
    DataGenSetRgb(cr, kRim, 0.6);
    cairo_fill(cr);
}

void DrawLook(cairo_t* cr, TorviSkinLook look, int state, double w, double h)
{
    switch (look) {
    case TORVI_LOOK_ARROW_BIG:
        return DrawBigArrow(cr, state, w, h);
    case TORVI_LOOK_MIRRORED:
        return;
    case TORVI_LOOK_PANEL:
        return DrawPanel(cr, w, h);
    case TORVI_LOOK_PLATE:
        return DrawPlate(cr, w, h);
    case TORVI_LOOK_BLACK:
        return DrawBlack(cr, w, h);
    case TORVI_LOOK_BOX:
        return DrawBox(cr, state, w, h);
    case TORVI_LOOK_BUTTON:
        return DrawButton(cr, state, w, h);
    case TORVI_LOOK_FIELD:
        return DrawField(cr, state, w, h);
    case TORVI_LOOK_START:
        return DrawStart(cr, state, w, h);
    case TORVI_LOOK_TITLE:
        return DrawTitle(cr, w, h);
    case TORVI_LOOK_ARROW_LEFT:
        return DrawSmallArrow(cr, kPi, w, h);
    case TORVI_LOOK_ARROW_RIGHT:
        return DrawSmallArrow(cr, 0, w, h);
    case TORVI_LOOK_ARROW_UP:
        return DrawSmallArrow(cr, -kPi / 2, w, h);
    case TORVI_LOOK_ARROW_DOWN:
        return DrawSmallArrow(cr, kPi / 2, w, h);
    case TORVI_LOOK_THUMB:
        return DrawThumb(cr, w, h);
    case TORVI_LOOK_TRACK:
        return DrawTrack(cr, w, h);
    case TORVI_LOOK_LIST_BODY:
    case TORVI_LOOK_LIST_TOP:
    case TORVI_LOOK_LIST_BOTTOM:
        return DrawListPart(cr, look, w, h);
    case TORVI_LOOK_LIST_SELECTION:
        return DrawBar(cr, kHotTop, kHotBottom, 0.9, w, h, true);
    case TORVI_LOOK_CHECK_ON:
    case TORVI_LOOK_CHECK_OFF:
        return DrawCheck(cr, look == TORVI_LOOK_CHECK_ON, w, h);
    case TORVI_LOOK_TAB_HEADING:
        return DrawTabHeading(cr, w, h);
    case TORVI_LOOK_TAB_DIVIDER:
        return DrawDivider(cr, w, h);
    case TORVI_LOOK_ROW_1:
        return DrawBar(cr, {0.1, 0.12, 0.18}, {0.08, 0.1, 0.15}, 0.6, w, h, false);
    case TORVI_LOOK_ROW_2:
        return DrawBar(cr, {0.18, 0.21, 0.3}, {0.15, 0.18, 0.26}, 0.6, w, h, false);
    case TORVI_LOOK_ROW_SELECTION:
        return DrawBar(cr, kHotTop, kHotBottom, 0.8, w, h, true);
    }
}

// Clears a state's rectangle and draws the row's look into it; mirrored rectangles are another row's pixels.
void DrawState(cairo_t* cr, const TorviSkinTexBut& row, int state)
{
    const TorviSkinRect& r = row.rects[state];
    if (r.right <= r.left)
        return;
    const double size = TORVI_SKIN_ATLAS_PIXELS;
    const double x = std::round(r.left * size);
    const double y = std::round(r.top * size);
    const double w = std::round(r.right * size) - x;
    const double h = std::round(r.bottom * size) - y;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_translate(cr, x, y);
    DrawLook(cr, row.look, state, w, h);
    cairo_restore(cr);
}

} // namespace

bool DataGenWriteSkin(const char* data_dir)
{
    cairo_t* cr = DataGenNewPicture(TORVI_SKIN_ATLAS_PIXELS, TORVI_SKIN_ATLAS_PIXELS);
    for (const TorviSkinTexBut& row : kTorviSkinTexButs)
        for (int state = 0; state < 4; ++state)
            if (row.states & (1u << state))
                DrawState(cr, row, state);
    return DataGenFinishPng(cr, DataGenPath(data_dir, "1000.dat"));
}

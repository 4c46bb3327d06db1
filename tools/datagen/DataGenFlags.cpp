#include "DataGenFlags.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "DataGenCairo.h"
#include "Game/Screens/CountryRows.h"

namespace {

const int kCellsPerSide = 16;

const double kPalette[8][3] = {
    {0.80, 0.07, 0.13}, {0.00, 0.22, 0.60}, {1.00, 1.00, 1.00}, {0.00, 0.55, 0.25},
    {1.00, 0.80, 0.00}, {0.05, 0.05, 0.05}, {0.40, 0.70, 0.95}, {0.95, 0.45, 0.05},
};

void SetColour(cairo_t* cr, int index)
{
    cairo_set_source_rgb(cr, kPalette[index][0], kPalette[index][1], kPalette[index][2]);
}

// The picture file of a country code: the ISO code in lower case, but England, Scotland and Wales (the table's
// "GB", "G3", "G4") have flags of their own, and the "UK" pseudo-country shows the union flag. Northern Ireland
// ("G2") and any code without a file keep a plain cell.
std::string FlagFile(const char* code)
{
    const char* const special[][2] = {{"GB", "england"}, {"G3", "scotland"}, {"G4", "wales"}, {"UK", "gb"}};
    for (const auto& pair : special)
        if (std::strcmp(code, pair[0]) == 0)
            return std::string(TORVI_FLAGS_DIR) + "/" + pair[1] + ".png";
    std::string name;
    for (const char* c = code; *c; ++c)
        name += char(std::tolower((unsigned char)*c));
    return std::string(TORVI_FLAGS_DIR) + "/" + name + ".png";
}

// The flag fills a 3:2 box centred in its cell, a pixel clear of the cell's edges, with a thin dark rim so that
// white flags stand apart from a light list. A missing picture leaves the box plain grey.
void DrawFlag(cairo_t* cr, int cell, const char* code, double cell_size)
{
    const double w = cell_size - 2.0;
    const double h = w * 2.0 / 3.0;
    const double x = (cell % kCellsPerSide) * cell_size + 1.0;
    const double y = (cell / kCellsPerSide) * cell_size + (cell_size - h) / 2.0;
    cairo_surface_t* flag = cairo_image_surface_create_from_png(FlagFile(code).c_str());
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    if (cairo_surface_status(flag) == CAIRO_STATUS_SUCCESS) {
        cairo_clip_preserve(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, w / cairo_image_surface_get_width(flag), h / cairo_image_surface_get_height(flag));
        cairo_set_source_surface(cr, flag, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
        cairo_paint(cr);
    } else {
        cairo_set_source_rgb(cr, 0.78, 0.79, 0.8);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    cairo_surface_destroy(flag);
    cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1.0, h - 1.0);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

bool WriteFlags(const std::string& folder, int size)
{
    cairo_t* cr = DataGenNewPicture(size, size);
    const double cell_size = double(size) / kCellsPerSide;
    for (int row = 0; row < COUNTRY_NUM_COUNTRIES; ++row)
        DrawFlag(cr, row, kCountryRows[row].code, cell_size);
    DrawFlag(cr, COUNTRY_UK_PSEUDO, "UK", cell_size);
    char name[64];
    std::snprintf(name, sizeof(name), "CountryFlags%d.png", size);
    return DataGenFinishPng(cr, DataGenPath(folder.c_str(), name));
}

// Letters as strokes in a unit box (y down); a point of -1 starts a new stroke. Drawn without fonts, so the
// picture is the same on every machine.
struct Icon {
    char letter;
    int column;
    int row;
    int colour;
    double points[24][2];
};

const Icon kIcons[] = {
    {'M', 0, 0, 1, {{0, 1}, {0, 0}, {0.5, 0.6}, {1, 0}, {1, 1}, {-1, -1}}},
    {'W', 1, 0, 0, {{0, 0}, {0.25, 1}, {0.5, 0.4}, {0.75, 1}, {1, 0}, {-1, -1}}},
    {'I', 2, 0, 3, {{0.5, 0}, {0.5, 1}, {-1, 0}, {0.2, 0}, {0.8, 0}, {-1, 0}, {0.2, 1}, {0.8, 1}, {-1, -1}}},
    {'P', 3, 0, 4, {{0, 1}, {0, 0}, {0.8, 0}, {1, 0.2}, {1, 0.4}, {0.8, 0.55}, {0, 0.55}, {-1, -1}}},
    {'A', 0, 1, 6, {{0, 1}, {0.5, 0}, {1, 1}, {-1, 0}, {0.25, 0.55}, {0.75, 0.55}, {-1, -1}}},
    {'L', 1, 1, 7, {{0, 0}, {0, 1}, {1, 1}, {-1, -1}}},
    {'R', 2, 1, 5,
     {{0, 1}, {0, 0}, {0.8, 0}, {1, 0.2}, {1, 0.4}, {0.8, 0.55}, {0, 0.55}, {-1, 0}, {0.5, 0.55}, {1, 1},
      {-1, -1}}},
    {'S', 3, 1, 2,
     {{1, 0.1}, {0.8, 0}, {0.2, 0}, {0, 0.2}, {0.2, 0.45}, {0.8, 0.55}, {1, 0.8}, {0.8, 1}, {0.2, 1}, {0, 0.9},
      {-1, -1}}},
    {'F', 0, 2, 0, {{1, 0}, {0, 0}, {0, 1}, {-1, 0}, {0, 0.5}, {0.7, 0.5}, {-1, -1}}},
    {'r', 1, 2, 1, {{0.2, 0.4}, {0.2, 1}, {-1, 0}, {0.2, 0.6}, {0.5, 0.4}, {0.9, 0.4}, {-1, -1}}},
    {'B', 2, 2, 3,
     {{0, 0}, {0, 1}, {0.8, 1}, {1, 0.8}, {1, 0.65}, {0.8, 0.5}, {0, 0.5}, {-1, 0}, {0, 0}, {0.7, 0}, {0.9, 0.15},
      {0.9, 0.35}, {0.7, 0.5}, {-1, -1}}},
    {'b', 3, 2, 4, {{0, 0}, {0, 1}, {0.8, 1}, {1, 0.85}, {1, 0.55}, {0.8, 0.4}, {0, 0.4}, {-1, -1}}},
};

void TraceTile(cairo_t* cr, double x, double y, double side)
{
    const double r = side * 0.2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + side - r, y + r, r, -1.5707963, 0.0);
    cairo_arc(cr, x + side - r, y + side - r, r, 0.0, 1.5707963);
    cairo_arc(cr, x + r, y + side - r, r, 1.5707963, 3.1415927);
    cairo_arc(cr, x + r, y + r, r, 3.1415927, 4.7123890);
    cairo_close_path(cr);
}

// A rounded tile of its own colour with the letter in the middle.
void DrawIcon(cairo_t* cr, const Icon& icon, double cell_size)
{
    const double inset = cell_size * 0.06;
    const double x = icon.column * cell_size + inset;
    const double y = icon.row * cell_size + inset;
    const double side = cell_size - 2.0 * inset;
    TraceTile(cr, x, y, side);
    SetColour(cr, icon.colour);
    cairo_fill(cr);

    const double box = side * 0.5;
    const double left = x + (side - box) / 2.0;
    const double top = y + (side - box) / 2.0;
    bool starting = true;
    for (const auto& point : icon.points) {
        if (point[0] < 0.0) {
            if (point[1] < 0.0)
                break;
            starting = true;
            continue;
        }
        if (starting)
            cairo_move_to(cr, left + point[0] * box, top + point[1] * box);
        else
            cairo_line_to(cr, left + point[0] * box, top + point[1] * box);
        starting = false;
    }
    cairo_set_line_width(cr, side * 0.09);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetColour(cr, icon.colour == 2 || icon.colour == 4 ? 5 : 2);
    cairo_stroke(cr);
}

bool WriteIcons(const std::string& folder)
{
    const int size = 256;
    cairo_t* cr = DataGenNewPicture(size, size);
    for (const Icon& icon : kIcons)
        DrawIcon(cr, icon, size / 4.0);
    return DataGenFinishPng(cr, DataGenPath(folder.c_str(), "Platform.png"));
}

} // namespace

bool DataGenWriteFlags(const char* data_dir)
{
    const std::string folder = DataGenPath(data_dir, "Common");
    return DataGenMakeFolder(folder) && WriteFlags(folder, 512) && WriteFlags(folder, 1024) && WriteIcons(folder);
}

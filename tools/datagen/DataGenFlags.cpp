#include "DataGenFlags.h"

#include <cairo.h>
#include <cstdio>
#include <filesystem>

namespace {

const int kCellsPerSide = 16;
// Cells 0 to 221 are the countries, 223 the "UK" pseudo-country; 222 stays empty.
const int kUsedCells = 224;
const int kEmptyCell = 222;

const double kPalette[8][3] = {
    {0.80, 0.07, 0.13}, {0.00, 0.22, 0.60}, {1.00, 1.00, 1.00}, {0.00, 0.55, 0.25},
    {1.00, 0.80, 0.00}, {0.05, 0.05, 0.05}, {0.40, 0.70, 0.95}, {0.95, 0.45, 0.05},
};

enum Pattern { kTwoBands, kThreeColumns, kCross, kDisc, kDiagonal, kPatternCount };

// Every cell below 280 gets its own (pattern, first colour, second colour): no two flags look alike.
struct FlagLook {
    int pattern;
    int first;
    int second;
};

FlagLook LookOf(int cell)
{
    FlagLook look;
    look.pattern = cell % kPatternCount;
    look.first = (cell / kPatternCount) % 8;
    look.second = (look.first + 1 + (cell / (kPatternCount * 8)) % 7) % 8;
    return look;
}

void SetColour(cairo_t* cr, int index)
{
    cairo_set_source_rgb(cr, kPalette[index][0], kPalette[index][1], kPalette[index][2]);
}

// The flag fills a 3:2 box centred in its cell, a pixel clear of the cell's edges.
void DrawFlag(cairo_t* cr, int cell, double cell_size)
{
    const FlagLook look = LookOf(cell);
    const double w = cell_size - 2.0;
    const double h = w * 2.0 / 3.0;
    const double x = (cell % kCellsPerSide) * cell_size + 1.0;
    const double y = (cell / kCellsPerSide) * cell_size + (cell_size - h) / 2.0;

    SetColour(cr, look.first);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    SetColour(cr, look.second);
    switch (look.pattern) {
    case kTwoBands:
        cairo_rectangle(cr, x, y + h / 2.0, w, h / 2.0);
        break;
    case kThreeColumns:
        cairo_rectangle(cr, x + w / 3.0, y, w / 3.0, h);
        break;
    case kCross:
        cairo_rectangle(cr, x + w * 0.3, y, w * 0.15, h);
        cairo_rectangle(cr, x, y + h * 0.42, w, h * 0.16);
        break;
    case kDisc:
        cairo_arc(cr, x + w / 2.0, y + h / 2.0, h * 0.3, 0.0, 6.283185307);
        break;
    default:
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + w, y);
        cairo_line_to(cr, x, y + h);
        cairo_close_path(cr);
        break;
    }
    cairo_fill(cr);
}

cairo_surface_t* ClearSurface(int size, cairo_t** out_cr)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, 0, 0, 0, 0);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    *out_cr = cr;
    return surface;
}

bool Save(cairo_surface_t* surface, const std::filesystem::path& path)
{
    bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
              cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!ok)
        std::fprintf(stderr, "torvi_datagen: cannot write %s\n", path.c_str());
    return ok;
}

bool WriteFlags(const std::filesystem::path& folder, int size)
{
    cairo_t* cr = nullptr;
    cairo_surface_t* surface = ClearSurface(size, &cr);
    const double cell_size = (double)size / kCellsPerSide;
    for (int cell = 0; cell < kUsedCells; ++cell)
        if (cell != kEmptyCell)
            DrawFlag(cr, cell, cell_size);
    cairo_destroy(cr);
    char name[64];
    std::snprintf(name, sizeof(name), "CountryFlags%d.png", size);
    return Save(surface, folder / name);
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

bool WriteIcons(const std::filesystem::path& folder)
{
    const int size = 256;
    cairo_t* cr = nullptr;
    cairo_surface_t* surface = ClearSurface(size, &cr);
    for (const Icon& icon : kIcons)
        DrawIcon(cr, icon, size / 4.0);
    cairo_destroy(cr);
    return Save(surface, folder / "Platform.png");
}

} // namespace

bool DataGenWriteFlags(const char* data_dir)
{
    const std::filesystem::path folder = std::filesystem::path(data_dir) / "Common";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        std::fprintf(stderr, "torvi_datagen: cannot create %s\n", folder.c_str());
        return false;
    }
    return WriteFlags(folder, 512) && WriteFlags(folder, 1024) && WriteIcons(folder);
}

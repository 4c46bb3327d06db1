#include "DataGenLogo.h"

#include "DataGenCairo.h"

namespace {

const int kSize = 40;
const DataGenRgb kRed = {0.80, 0.08, 0.06};
const DataGenRgb kYellow = {1.00, 0.82, 0.10};

// A badge of the racing red, lit from above, with a dark rim.
void DrawBadge(cairo_t* cr)
{
    DataGenRoundedRect(cr, 1.5, 1.5, kSize - 3, kSize - 3, 7);
    DataGenVerticalGradient(cr, 1.5, kSize - 1.5, DataGenShade(kRed, 0.25), DataGenShade(kRed, -0.35));
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.5);
    DataGenSetRgb(cr, DataGenShade(kRed, -0.7));
    cairo_stroke(cr);
}

// A chequered band across the foot of the badge, as on a finish line.
void DrawChequers(cairo_t* cr)
{
    const double cell = 4.0;
    const double top = 28.0;
    cairo_save(cr);
    DataGenRoundedRect(cr, 2.25, 2.25, kSize - 4.5, kSize - 4.5, 6.5);
    cairo_clip(cr);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column * cell < kSize; ++column) {
            cairo_rectangle(cr, column * cell, top + row * cell, cell, cell);
            cairo_set_source_rgb(cr, (row + column) % 2 ? 0.05 : 0.95, (row + column) % 2 ? 0.05 : 0.95,
                                 (row + column) % 2 ? 0.05 : 0.95);
            cairo_fill(cr);
        }
    }
    cairo_restore(cr);
}

// "TT" in the game's bold face, yellow with a dark outline; without the face the badge stays plain.
void DrawInitials(cairo_t* cr)
{
    if (!DataGenSetTitleFont(cr, 19.0))
        return;
    DataGenCentredTextPath(cr, kSize / 2.0, 24.0, "TT");
    DataGenSetRgb(cr, kYellow);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.2);
    DataGenSetRgb(cr, DataGenShade(kRed, -0.8));
    cairo_stroke(cr);
}

} // namespace

bool DataGenWriteLogo(const char* data_dir)
{
    cairo_t* cr = DataGenNewPicture(kSize, kSize);
    DrawBadge(cr);
    DrawChequers(cr);
    DrawInitials(cr);
    return DataGenFinishPng(cr, DataGenPath(data_dir, "111.png"));
}

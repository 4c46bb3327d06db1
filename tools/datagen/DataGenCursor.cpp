#include "DataGenCursor.h"

#include "DataGenCairo.h"

namespace {

const int kSize = 32;

// The arrow's outline, tip first, in pixels.
const double kArrow[][2] = {
    {0.0, 0.0}, {0.0, 24.0}, {6.0, 18.5}, {10.5, 28.0}, {14.0, 26.5}, {9.5, 17.0}, {17.0, 17.0},
};

void TraceArrow(cairo_t* cr)
{
    const int n = (int)(sizeof(kArrow) / sizeof(kArrow[0]));
    // Half a pixel in, so the outline's inner half lands on the pixels it names.
    cairo_move_to(cr, kArrow[0][0] + 0.5, kArrow[0][1] + 0.5);
    for (int i = 1; i < n; ++i)
        cairo_line_to(cr, kArrow[i][0] + 0.5, kArrow[i][1] + 0.5);
    cairo_close_path(cr);
}

} // namespace

bool DataGenWriteCursor(const char* data_dir)
{
    cairo_t* cr = DataGenNewPicture(kSize, kSize);
    TraceArrow(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_stroke(cr);
    // The tip pixel itself is solid, so the hot spot is visible.
    cairo_rectangle(cr, 0, 0, 1, 1);
    cairo_fill(cr);
    return DataGenFinishTga(cr, DataGenPath(data_dir, "1200.tga"));
}

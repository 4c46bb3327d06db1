#pragma once

// The race pictures drawn with the cars (all TGA with alpha, front pointing up the picture):
// - "17cf.tga": car colour c (0..7) in wheel frame f (0..3), a formula car seen from above; the body with its
//   rear wheels fills the S x S square, the front wheels are left to the wheel pictures so that they can turn;
// - "1790.tga" to "1793.tga": one front wheel (0.2 S x 0.28 S) in the four wheel frames;
// - "1799.tga": the dark rim drawn under a front wheel (1.1 times the wheel);
// - "1798.tga": the car's soft shadow (1.1 S square);
// - "1800.tga" to "1809.tga": the ten frames of the waving chequered flag.
// The wheel frames move the tread a quarter of a groove each: as the wheel phase falls with speed, the tread
// runs toward the front, as the top of a rolling tyre does.
bool DataGenWriteCars(const char* data_dir);

#include <cairo.h>

// One car into the unit square (front up), for the other pictures that show the game's cars; with front wheels
// they are drawn too, turned by the angle (radians).
void DataGenDrawCar(cairo_t* cr, int colour, int frame, bool front_wheels, double front_wheel_turn);

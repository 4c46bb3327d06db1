#pragma once

// The menus' pictures:
// - "1120.dat": the background behind every menu screen (1024 x 768 PNG, drawn over the whole screen);
// - "1650.dat" to "1655.dat": each track seen from above, drawn from its design in its own look (320 x 200 PNG,
//   the shape of the screens' track picture buttons);
// - "1900.dat" to "1903.dat": the championship trophies for first, second and third place, and the finisher's
//   medal for any other place (192 x 128 PNG with alpha, the shape of the licence screen's award buttons).
bool DataGenWriteMenuPictures(const char* data_dir);

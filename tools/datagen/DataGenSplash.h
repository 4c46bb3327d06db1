#pragma once

// The splash pictures: "1940.dat" to "1943.dat", the top-left, top-right, bottom-left and bottom-right quarters
// (256 x 256 PNG each, opaque) of one 512 x 512 title picture, the game's name over a car on a track; and
// "1944.dat", the particle sprite (64 x 64 PNG, a white glow whose colour fades with its alpha).
bool DataGenWriteSplash(const char* data_dir);

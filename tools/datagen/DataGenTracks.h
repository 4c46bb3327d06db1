#pragma once

// The six tracks: for track t the ground map "150t.dat" (1,048,576 raw bytes) and the picture "160t.dat"
// (a PNG), made from the designs in tools/datagen/tracks/tNN.json.
bool DataGenWriteTracks(const char* data_dir);

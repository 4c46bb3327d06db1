#pragma once

// The game's one song, "1360.dat": a four-channel tracker module ("M.K.") with synthesised 8-bit
// instruments, several patterns and an order list of DATAGEN_MUSIC_ORDERS positions.
constexpr int DATAGEN_MUSIC_ORDERS = 17;
constexpr int DATAGEN_MUSIC_PATTERNS = 9;

bool DataGenWriteMusic(const char* data_dir);

#pragma once

// The game's logo "111.png" (40 x 40 with alpha): the picture of the start-up settings dialog.
bool DataGenWriteLogo(const char* data_dir);

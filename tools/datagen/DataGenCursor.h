#pragma once

// The texture cursor "1200.tga": a 32 x 32 arrow whose tip is the top-left pixel.
bool DataGenWriteCursor(const char* data_dir);

#pragma once

// The country flags pictures "Common/CountryFlags512.png" and "Common/CountryFlags1024.png" (16 x 16 cells,
// cell n at column n % 16, row n / 16, holding the flag of country row n and in cell 223 the union flag of "UK")
// and the platform icons picture "Common/Platform.png" (4 x 4 cells).
bool DataGenWriteFlags(const char* data_dir);

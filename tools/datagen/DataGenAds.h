#pragma once

// The product ads' pictures in "IGA/", named and described by Game/Screens/GameAdsCatalogue.h: for each product
// its box (the first picture) and a scene of it in play (the second). Pictures of two-picture ads are 256 x 256,
// of one-picture ads 384 x 300; a height factor of 0.7 makes them that much less tall. PNG files are frameless
// (the box floats on a clear ground), TGA files fill their rectangle.
bool DataGenWriteAds(const char* data_dir);

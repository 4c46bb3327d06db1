#pragma once

// Small helpers shared by the picture generators: surfaces, paths, colours and the files they are saved as.

#include <cairo.h>
#include <functional>
#include <string>

struct DataGenRgb {
    double r;
    double g;
    double b;
};

// A transparent ARGB picture; the context owns its surface and draws with the OVER operator.
cairo_t* DataGenNewPicture(int width, int height);
// Saves the surface as PNG or TGA (by the kind asked, whatever the name's extension) and destroys it.
// False, with a message naming the file, when it cannot be written.
bool DataGenSavePng(cairo_surface_t* surface, const std::string& path);
bool DataGenSaveTga(cairo_surface_t* surface, const std::string& path);
// Destroys the context and saves its surface: the usual end of a picture.
bool DataGenFinishPng(cairo_t* cr, const std::string& path);
bool DataGenFinishTga(cairo_t* cr, const std::string& path);
// "<folder>/<name>", and the folder made when missing (false with a message when it cannot be).
std::string DataGenPath(const char* folder, const char* name);
bool DataGenMakeFolder(const std::string& folder);

void DataGenRoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void DataGenSetRgb(cairo_t* cr, DataGenRgb c, double alpha = 1.0);
// c mixed toward white (t > 0) or black (t < 0) by |t|.
DataGenRgb DataGenShade(DataGenRgb c, double t);
// A vertical gradient over y0..y1 from top to bottom colour, set as the source.
void DataGenVerticalGradient(cairo_t* cr, double y0, double y1, DataGenRgb top, DataGenRgb bottom,
                             double alpha = 1.0);
// The same with its own alpha at each end.
void DataGenVerticalBlend(cairo_t* cr, double y0, double y1, DataGenRgb top, double top_alpha, DataGenRgb bottom,
                          double bottom_alpha);
// The same hash on every machine: a value in 0..1 from two integers and a seed.
double DataGenNoise(int x, int y, int seed);
// Smooth noise in 0..1: hashed values on a lattice of the given spacing, blended between lattice points.
double DataGenValueNoise(double x, double y, double spacing, int seed);

// Selects DejaVu Sans Bold (the game font's bold face) at the size; false when the font cannot be read.
bool DataGenSetTitleFont(cairo_t* cr, double size);
// One line of the current font centred on cx, its baseline at y; the path is left for filling or stroking.
void DataGenCentredTextPath(cairo_t* cr, double cx, double y, const char* text);

// Sets every pixel of the context's image surface to colour(x, y), as 0xAARRGGBB (premultiplied).
void DataGenPaintPixels(cairo_t* cr, const std::function<unsigned(int x, int y)>& colour);

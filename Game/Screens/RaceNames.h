#pragma once

// The names of levels, classes and tracks that every screen of the menus shows.

constexpr int RACE_NAMES_LEVELS = 5;
constexpr int RACE_NAMES_CLASSES = 4;
constexpr int RACE_NAMES_TRACKS = 6;

extern const char* const race_level_names[RACE_NAMES_LEVELS];
extern const char* const race_class_names[RACE_NAMES_CLASSES];
extern const char* const race_track_names[RACE_NAMES_TRACKS];

// "?" for a number out of range.
const char* RaceNamesGetLevel(int level);
const char* RaceNamesGetClass(int formula);
const char* RaceNamesGetTrack(int track);

#include "Game/Screens/RaceNames.h"

const char* const race_level_names[RACE_NAMES_LEVELS] = {"ROOKIE", "AMATEUR", "SEMI-PRO", "PROFESSIONAL", "EXPERT"};
const char* const race_class_names[RACE_NAMES_CLASSES] = {"FORMULA 4", "FORMULA 3", "FORMULA 2", "FORMULA 1"};
const char* const race_track_names[RACE_NAMES_TRACKS] = {"TRACK 1", "TRACK 2", "TRACK 3",
                                                         "TRACK 4", "TRACK 5", "TRACK 6"};

namespace {

const char* NameOf(const char* const* names, int count, int n)
{
    return n >= 0 && n < count ? names[n] : "?";
}

} // namespace

const char* RaceNamesGetLevel(int level)
{
    return NameOf(race_level_names, RACE_NAMES_LEVELS, level);
}

const char* RaceNamesGetClass(int formula)
{
    return NameOf(race_class_names, RACE_NAMES_CLASSES, formula);
}

const char* RaceNamesGetTrack(int track)
{
    return NameOf(race_track_names, RACE_NAMES_TRACKS, track);
}

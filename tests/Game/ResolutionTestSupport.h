#pragma once
// Start-up settings for the game's tests: a "Resolution.dat" that lets a start go straight on (no version
// check due, no dialog, the internet test done), and reading the file back whole.

#include <cstdio>
#include <cstring>
#include <string>

#include "Engine/Core/EngMiscDate.h"
#include "Game/Main.h"
#include "Game/Resolution.h"

// Needs the one-time set-up (preferences folder and settings module) done.
inline void SaveSettledSettings()
{
    ResolutionSettings* settings = ResolutionGetSettings();
    ResolutionSetDefaults(settings);
    settings->show_dialog = 0;
    settings->windowed = 1;
    EngMiscGetCurrentDate(&settings->last_check);
    settings->internet_test[0] = 1;
    settings->internet_test[1] = 1;
    ResolutionSaveSettings();
}

// The file as it lies on disk; false unless it is exactly one record.
inline bool ReadSettingsFile(ResolutionSettings* out)
{
    std::string name = ResolutionGetFilename();
    for (char& c : name)
        if (c == '\\')
            c = '/';
    FILE* file = std::fopen(name.c_str(), "rb");
    if (!file)
        return false;
    size_t read = std::fread(out, 1, sizeof(*out), file);
    bool at_end = std::fgetc(file) == EOF;
    std::fclose(file);
    return read == sizeof(*out) && at_end;
}

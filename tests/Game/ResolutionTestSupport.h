#pragma once
// Start-up settings for the game's tests: a "Resolution.dat" that lets a start go straight on (no version
// check due, no dialog, the internet test done), and reading the file back whole.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Engine/Core/EngMiscDate.h"
#include "Game/Main.h"
#include "Game/Resolution.h"
#include "Support/GameTestSupport.h"

// A private preferences folder with the settings module set up as the game sets it up. Every address of the
// maker points at a closed local port, so a version check or internet test fails at once.
class ResolutionHomeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        home = UseFreshDataHome();
        setenv("TORVI_WEB_BASE", "http://127.0.0.1:1", 1);
        MainOneTimeSetup();
    }

    std::string home;
};

// The settings file's name as the file layer opens it.
inline std::string SettingsFilePath()
{
    std::string name = ResolutionGetFilename();
    for (char& c : name)
        if (c == '\\')
            c = '/';
    return name;
}

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
    FILE* file = std::fopen(SettingsFilePath().c_str(), "rb");
    if (!file)
        return false;
    size_t read = std::fread(out, 1, sizeof(*out), file);
    bool at_end = std::fgetc(file) == EOF;
    std::fclose(file);
    return read == sizeof(*out) && at_end;
}

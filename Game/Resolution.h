#pragma once

// The start-up settings: display mode, anti-aliasing, mouse synchronisation, cursor, sound and music, the
// date of the last weekly version check and the internet-test results, kept whole in "Resolution.dat" in
// the preferences folder, and the dialog that lets the player change them before the game window opens.

#include <cstddef>

#include "Engine/Core/EngMiscDate.h"
#include "Engine/Core/EngTypes.h"

constexpr int RESOLUTION_LANGUAGE_SIZE = 64;
constexpr int RESOLUTION_FILE_SIZE = 424;
constexpr EngUInt8 RESOLUTION_NOT_TESTED = 255;

// "Resolution.dat", little-endian, written and read whole.
struct ResolutionSettings
{
    float record_version;
    float program_version; // the program that last saved
    EngUInt8 show_dialog;
    EngUInt8 padding0[3];
    _EngMiscDate last_check;
    EngUInt8 windowed;
    EngUInt8 padding1[3];
    EngInt32 window_x;
    EngInt32 window_y;
    EngInt32 windowed_width;
    EngInt32 windowed_height;
    EngInt32 windowed_bit_depth;
    EngInt32 full_width;
    EngInt32 full_height;
    EngInt32 full_bit_depth;
    EngInt32 full_refresh;
    EngInt32 windowed_ms_type;
    EngInt32 windowed_ms_quality;
    EngInt32 full_ms_type;
    EngInt32 full_ms_quality;
    EngUInt8 reserved0[2];
    char language[RESOLUTION_LANGUAGE_SIZE];
    EngUInt8 reserved1;
    EngUInt8 padding2;
    EngInt32 mouse_sync; // 0 off, else the engine's GPU-sync method + 1
    EngUInt8 cursor_type; // 0 texture cursor, 1 system cursor
    EngUInt8 sound_on;
    EngUInt8 reserved2[161];
    EngUInt8 music_on;
    EngUInt8 internet_test[2]; // by second number: 0 and any other; 255 not tested, 1 passed, 0 failed
    EngUInt8 cleared_on_version_change[2];
    EngUInt8 reserved3[108];
};
static_assert(sizeof(ResolutionSettings) == RESOLUTION_FILE_SIZE, "Resolution.dat is a 424-byte record");
static_assert(offsetof(ResolutionSettings, last_check) == 12, "layout of Resolution.dat");
static_assert(offsetof(ResolutionSettings, window_x) == 24, "layout of Resolution.dat");
static_assert(offsetof(ResolutionSettings, windowed_ms_type) == 60, "layout of Resolution.dat");
static_assert(offsetof(ResolutionSettings, language) == 78, "layout of Resolution.dat");
static_assert(offsetof(ResolutionSettings, mouse_sync) == 144, "layout of Resolution.dat");
static_assert(offsetof(ResolutionSettings, music_on) == 311, "layout of Resolution.dat");
static_assert(offsetof(ResolutionSettings, reserved3) == 316, "layout of Resolution.dat");

// The game's web addresses by number (1 home page, 2 forum); null for a number it has none for.
typedef const char* (*ResolutionUrlCB)(int index);

bool ResolutionSetup(int program, int second_number, float running_version, float record_version,
                     ResolutionUrlCB url_hook, bool flag0, bool music_shown, bool sound_shown, bool board_textures,
                     bool card_textures);
// The settings in memory.
ResolutionSettings* ResolutionGetSettings();
const char* ResolutionGetFilename();
void ResolutionSetDefaults(ResolutionSettings* settings);
// False (defaults set and applied) when the file is missing, of the wrong size or version, or unusable.
bool ResolutionLoadSettings();
bool ResolutionSaveSettings();
bool ResolutionSetSettings();
void ResolutionUpdateSettingsFromCurrent();
// True when the player chose to update.
bool ResolutionDoWeeklyVersionCheck();
// 1 PLAY; below 1 the dialog was closed otherwise (0 when it could not run).
signed char ResolutionDoDialog();
signed char ResolutionRunDialog();
// The settings line of the log, numbered by the caller.
void ResolutionLogSettings(int number);

// Out-of-range values of a loaded record put back to usable ones; false when a size or depth is unusable.
bool ResolutionCorrectValues(ResolutionSettings* settings);
// A window larger than the desktop is reduced to it; a full-screen size the display does not offer becomes
// the nearest one it offers, so that the frame never runs past the screen.
void ResolutionFitToDisplay(ResolutionSettings* settings);
// The offered size nearest to *width x *height (the smallest width plus height difference, the first on
// ties); the desktop's size when none is offered.
void ResolutionNearestOfferedSize(const int* widths, const int* heights, int count, int desktop_width,
                                  int desktop_height, int* width, int* height);

// The module's set-up, as ResolutionSetup received it.
struct ResolutionSetupValues
{
    int program = 0; // 0 until set up
    int second_number = 0;
    float running_version = 0.0f;
    float record_version = 0.0f;
    ResolutionUrlCB url_hook = nullptr;
    bool music_shown = false;
    bool sound_shown = false;
    bool board_textures = false;
    bool card_textures = false;
};
const ResolutionSetupValues* ResolutionGetSetup();

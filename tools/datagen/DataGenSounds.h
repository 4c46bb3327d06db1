#pragma once

// The game's wave sounds, "1300.dat" to "1307.dat" and "1350.dat" to "1353.dat": mono 16-bit PCM at
// DATAGEN_SOUND_RATE. The engine and rough-ground sounds are loops that join end to start without a step.
constexpr int DATAGEN_SOUND_RATE = 44100;

struct DataGenSoundFile
{
    const char* name;
    int samples;
    bool loop;
};

// Every file with its length in samples; the generator refuses to write a sound of another length.
constexpr DataGenSoundFile DATAGEN_SOUND_FILES[] = {
    {"1300.dat", 800 * 4 * 14, true},  {"1301.dat", 1050 * 8 * 5, true}, {"1302.dat", 640 * 4 * 17, true},
    {"1303.dat", 900 * 2 * 24, true},  {"1304.dat", 70560, false},       {"1305.dat", 44100, true},
    {"1306.dat", 22050, false},        {"1307.dat", 61740, false},       {"1350.dat", 7056, false},
    {"1351.dat", 1764, false},         {"1352.dat", 7056, false},        {"1353.dat", 7056, false},
};

bool DataGenWriteSounds(const char* data_dir);

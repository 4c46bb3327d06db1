#pragma once

// Module music: one tracker song at a time, decoded by libopenmpt on a worker thread into a queue of
// OpenAL buffers on its own context of the shared sound device. The song plays once: at its end the player
// goes inactive, so the caller can move on. The calls below are for the main thread; none of them waits
// for the decoding.

// Error codes of the last call, kept until the next one.
typedef unsigned _EngModuleMusicError;
constexpr _EngModuleMusicError ENG_MODULE_MUSIC_OK = 0;
constexpr _EngModuleMusicError ENG_MODULE_MUSIC_ERROR_MEMORY = 1;
constexpr _EngModuleMusicError ENG_MODULE_MUSIC_ERROR_FILE_OPEN = 2;
// No output device, a device without the features the player needs, or one that went away.
constexpr _EngModuleMusicError ENG_MODULE_MUSIC_ERROR_DRIVER = 3;
// No song loaded.
constexpr _EngModuleMusicError ENG_MODULE_MUSIC_ERROR_HANDLE = 5;
// Not a module the decoder knows.
constexpr _EngModuleMusicError ENG_MODULE_MUSIC_ERROR_FORMAT = 6;
// An order position outside the song.
constexpr _EngModuleMusicError ENG_MODULE_MUSIC_ERROR_POSITION = 7;
constexpr _EngModuleMusicError ENG_MODULE_MUSIC_ERROR_INIT = 8;
constexpr _EngModuleMusicError ENG_MODULE_MUSIC_ERROR_ALREADY = 14;
// The worker thread could not be started.
constexpr _EngModuleMusicError ENG_MODULE_MUSIC_ERROR_THREAD = 19;

constexpr int ENG_MODULE_MUSIC_DEFAULT_DEVICE = -1;
constexpr int ENG_MODULE_MUSIC_MAX_AMPLIFY = 50;

// Opens the default output (device -1, the only one) and starts the decoder. The songs are decoded at the
// device's own rate when it has one, else at the rate asked for.
bool EngModuleMusicInit(int device, unsigned rate);
// Stops, frees the song, joins the worker and lets go of the device.
void EngModuleMusicFree();
bool EngModuleMusicIsInitialised();
unsigned EngModuleMusicGetRate();

// Replaces the loaded song; the song does not play until asked.
bool EngModuleMusicLoad(const char* file);
void EngModuleMusicFreeSong();
int EngModuleMusicGetOrderCount();
// 0 (silence) to 50 (the song's own level); values outside are limited to that range.
bool EngModuleMusicSetAmplify(int amplify);
int EngModuleMusicGetAmplify();
// Plays from the start of an order position, dropping whatever was queued.
bool EngModuleMusicPlay(int order);
// True from a successful play until the song has been heard to its end or is stopped.
bool EngModuleMusicIsActive();
// The order position being decoded in the low 16 bits, the row in the high 16 bits.
unsigned EngModuleMusicGetPosition();
bool EngModuleMusicStop();
_EngModuleMusicError EngModuleMusicErrorGetCode();

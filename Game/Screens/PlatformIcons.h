#pragma once

// The one-letter platform code of a world best-times row, and its small icon from one icons picture.

struct _Dimension;

typedef char PlatformLetter;

constexpr PlatformLetter PLATFORM_OWN_LETTER = 'W';
constexpr const char* PLATFORM_ICONS_FILE = "Data\\Common\\Platform.png";
constexpr int PLATFORM_MAX_UNKNOWN_REPORTS = 20;

PlatformLetter PlatformGetCurrentPlatform(bool unused = false);
bool PlatformIsPlatformValid(PlatformLetter letter, bool report);
// The icon's texture coordinates (left, top, right, bottom); false for a letter without an icon.
bool PlatformGetIconTexCoords(PlatformLetter letter, float out[4]);

bool PlatformCreateGraphics();
void PlatformDestroyGraphics();
bool PlatformIsTextureLoaded();
void PlatformDrawIcon(PlatformLetter letter, const _Dimension* area, float alpha);

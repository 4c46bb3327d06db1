#pragma once

// The fixed table of countries, their flags cut from one flags picture, and the player's own country.
// The row number (0 to 221) is the country number stored in profiles and score rows.

struct _Dimension;
class MWin;

// One row of the country table: 70 bytes.
struct CountryInfo {
    char name[64];
    char code[4];
    short flag_cell;
};
static_assert(sizeof(CountryInfo) == 70, "CountryInfo is a 70-byte record");

constexpr int COUNTRY_NUM_COUNTRIES = 222;
// "UK" has no row of its own but a flag of its own.
constexpr int COUNTRY_UK_PSEUDO = 223;
constexpr int COUNTRY_FLAG_CELLS_PER_SIDE = 16;

constexpr const char* COUNTRY_FLAGS_FILE_SMALL = "Data\\Common\\CountryFlags512.png";
constexpr const char* COUNTRY_FLAGS_FILE_LARGE = "Data\\Common\\CountryFlags1024.png";

typedef void (*CountryContinueCB)(void* user);

void CountrySetup(bool large_flags, bool free_flags_after_choice, CountryContinueCB continue_cb, void* user,
                  float top_inset, float bottom_inset);
void CountrySetContinueCB(CountryContinueCB continue_cb, void* user);
const char* CountryGetFlagsFilename();
// The country screen's insets from CountrySetup, in 640 x 480 units.
void CountryGetScreenInsets(float* top, float* bottom);
// The country screen's choice: row n's code becomes the chosen code, the flags are released when the set-up
// asked for it, and the continue callback runs. False when there is no callback (the screen then goes
// back) or n is not a row.
bool CountryChooseAndContinue(int n);
// The code of the last choice ("" before any).
const char* CountryGetChosenCode();

bool CountryCreateGraphics();
void CountryDestroyGraphics();
bool CountryIsFlagsTextureLoaded();
// After a device reset: reloads the flags only while the country screen "mCTY" is current.
bool CountryScreenCreateGraphics(MWin* mwin);

// Exact, case-sensitive; "UK" is the pseudo-country 223, or England's row when uk_as_gb.
int CountryGetCountryNumFromCode(const char* code, bool uk_as_gb);
int CountryGetCountryNumFromName(const char* name);
const char* CountryGetCountryName(int n);
// The row itself, or null outside 0 to 221.
const CountryInfo* CountryGetInfo(int n);
// out: left, top, right, bottom in texture units.
bool CountryGetFlagTexCoords(int n, float out[4]);
void CountryDrawFlag(int n, const _Dimension* area);
void CountryDrawFlagWithAlpha(int n, const _Dimension* area, float alpha);

// The user's own country from the locale (LC_ALL, then LC_MESSAGES, then LANG: "en_GB.UTF-8" gives "GB"),
// or -1.
int CountryGetLocalCountryPos();
// The territory code of one locale string ("de_AT.UTF-8@euro" gives "AT") into out (3 bytes); false when
// it names none.
bool CountryGetTerritoryFromLocale(const char* locale, char out[3]);

#include "Game/Screens/Countries.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngString.h"
#include "Engine/Graphics/EngDimension.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWin.h"
#include "Game/Screens/CountryRows.h"

namespace {

// The rows live in CountryRows.h, which the data generator reads to put each flag in its cell.
const CountryRow* const k_rows = kCountryRows;

// New Caledonia shows France's flag.
constexpr int k_new_caledonia = 142;
constexpr int k_france = 67;
constexpr int k_england = 60;

// Negative until CountrySetup ran.
signed char g_large_flags = -1;
bool g_free_flags_after_choice = false;
CountryContinueCB g_continue_cb = nullptr;
void* g_continue_user = nullptr;
float g_top_inset = 0.0f;
float g_bottom_inset = 0.0f;
EngTexture* g_flags = nullptr;
char g_chosen_code[3] = "";

int FlagCell(int n)
{
    if (n == COUNTRY_UK_PSEUDO)
        return COUNTRY_UK_PSEUDO;
    if (n < 0 || n >= COUNTRY_NUM_COUNTRIES)
        return -1;
    return n == k_new_caledonia ? k_france : n;
}

} // namespace

void CountrySetup(bool large_flags, bool free_flags_after_choice, CountryContinueCB continue_cb, void* user,
                  float top_inset, float bottom_inset)
{
    g_large_flags = large_flags ? 1 : 0;
    g_free_flags_after_choice = free_flags_after_choice;
    CountrySetContinueCB(continue_cb, user);
    g_top_inset = top_inset;
    g_bottom_inset = bottom_inset;
}

void CountrySetContinueCB(CountryContinueCB continue_cb, void* user)
{
    g_continue_cb = continue_cb;
    g_continue_user = user;
}

void CountryGetScreenInsets(float* top, float* bottom)
{
    *top = g_top_inset;
    *bottom = g_bottom_inset;
}

bool CountryChooseAndContinue(int n)
{
    const CountryInfo* row = CountryGetInfo(n);
    if (!row)
        return false;
    snprintf(g_chosen_code, sizeof g_chosen_code, "%.2s", row->code);
    if (g_free_flags_after_choice)
        CountryDestroyGraphics();
    if (!g_continue_cb)
        return false;
    g_continue_cb(g_continue_user);
    return true;
}

const char* CountryGetChosenCode()
{
    return g_chosen_code;
}

const char* CountryGetFlagsFilename()
{
    if (g_large_flags < 0) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        g_large_flags = 0;
    }
    return g_large_flags ? COUNTRY_FLAGS_FILE_LARGE : COUNTRY_FLAGS_FILE_SMALL;
}

bool CountryCreateGraphics()
{
    if (CountryIsFlagsTextureLoaded())
        return true;
    const char* file = CountryGetFlagsFilename();
    if (!file || !file[0]) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
        return false;
    }
    if (!EngFileExists(file, false)) {
        DebugError(ENG_FUNC, "Flags texture file does not exist <%s>", file);
        return false;
    }
    if (!g_flags)
        g_flags = new EngTexture("CountryFlags");
    return g_flags->LoadFromFile(file, true, ETAT_FROM_FILE);
}

void CountryDestroyGraphics()
{
    delete g_flags;
    g_flags = nullptr;
}

bool CountryIsFlagsTextureLoaded()
{
    return g_flags && g_flags->IsLoaded();
}

bool CountryScreenCreateGraphics(MWin* mwin)
{
    if (!mwin || mwin->GetCurrentScreenID() != EngFourCC('m', 'C', 'T', 'Y'))
        return true;
    return CountryCreateGraphics();
}

int CountryGetCountryNumFromCode(const char* code, bool uk_as_gb)
{
    if (!code) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return -1;
    }
    for (int i = 0; i < COUNTRY_NUM_COUNTRIES; i++)
        if (strcmp(k_rows[i].code, code) == 0)
            return i;
    if (strcmp(code, "UK") == 0)
        return uk_as_gb ? k_england : COUNTRY_UK_PSEUDO;
    DebugNote(0, "Code [%.16s] not found.", code);
    return -1;
}

int CountryGetCountryNumFromName(const char* name)
{
    if (!name) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return -1;
    }
    for (int i = 0; i < COUNTRY_NUM_COUNTRIES; i++)
        if (strcmp(k_rows[i].name, name) == 0)
            return i;
    if (strcmp(name, "United Kingdom") == 0)
        return k_england;
    DebugNote(0, "Name [%.64s] not found.", name);
    return -1;
}

const char* CountryGetCountryName(int n)
{
    return n >= 0 && n < COUNTRY_NUM_COUNTRIES ? k_rows[n].name : "";
}

const CountryInfo* CountryGetInfo(int n)
{
    static CountryInfo table[COUNTRY_NUM_COUNTRIES];
    static bool built = false;
    if (n < 0 || n >= COUNTRY_NUM_COUNTRIES)
        return nullptr;
    if (!built) {
        for (int i = 0; i < COUNTRY_NUM_COUNTRIES; i++) {
            EngSafeStrcpy(table[i].name, k_rows[i].name, sizeof table[i].name);
            EngSafeStrcpy(table[i].code, k_rows[i].code, sizeof table[i].code);
            table[i].flag_cell = (short)FlagCell(i);
        }
        built = true;
    }
    return &table[n];
}

bool CountryGetFlagTexCoords(int n, float out[4])
{
    int cell = FlagCell(n);
    if (cell < 0 || !out)
        return false;
    const float size = 1.0f / COUNTRY_FLAG_CELLS_PER_SIDE;
    out[0] = (float)(cell % COUNTRY_FLAG_CELLS_PER_SIDE) * size;
    out[1] = (float)(cell / COUNTRY_FLAG_CELLS_PER_SIDE) * size;
    out[2] = out[0] + size;
    out[3] = out[1] + size;
    return true;
}

void CountryDrawFlag(int n, const _Dimension* area)
{
    float rect[4];
    if (!CountryIsFlagsTextureLoaded() || !area || !CountryGetFlagTexCoords(n, rect))
        return;
    g_flags->PositionRatioedToDimension(area);
    g_flags->DrawWithTextureCoordinates(rect[0], rect[1], rect[2], rect[3]);
}

void CountryDrawFlagWithAlpha(int n, const _Dimension* area, float alpha)
{
    if (!CountryIsFlagsTextureLoaded())
        return;
    g_flags->SetColour(1.0f, 1.0f, 1.0f, alpha);
    CountryDrawFlag(n, area);
}

bool CountryGetTerritoryFromLocale(const char* locale, char out[3])
{
    out[0] = 0;
    if (!locale)
        return false;
    // language[_territory][.codeset][@modifier]
    const char* underscore = strchr(locale, '_');
    if (!underscore)
        return false;
    const char* territory = underscore + 1;
    if (!isupper((unsigned char)territory[0]) || !isupper((unsigned char)territory[1]))
        return false;
    char end = territory[2];
    if (end != 0 && end != '.' && end != '@')
        return false;
    out[0] = territory[0];
    out[1] = territory[1];
    out[2] = 0;
    return true;
}

int CountryGetLocalCountryPos()
{
    // Whichever variable names a known country first wins, the way a region setting comes before the
    // locale's own country.
    static const char* const k_variables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    for (const char* variable : k_variables) {
        char code[3];
        if (!CountryGetTerritoryFromLocale(getenv(variable), code))
            continue;
        int n = CountryGetCountryNumFromCode(code, true);
        if (n >= 0 && n < COUNTRY_NUM_COUNTRIES)
            return n;
    }
    DebugInfo("Could not get local country pos");
    return -1;
}

// The country table, its lookups, the flags picture drawn into a real context, and own-country detection.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "Engine/Core/EngDebug.h"
#include "Game/Screens/Countries.h"
#include "Game/Screens/ScreensPixelFixture.h"
#include "Support/LogForTests.h"

namespace {

void SetLocale(const char* all, const char* messages, const char* lang)
{
    const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    const char* values[] = {all, messages, lang};
    for (int i = 0; i < 3; i++) {
        if (values[i])
            setenv(names[i], values[i], 1);
        else
            unsetenv(names[i]);
    }
}

} // namespace

TEST(Countries, EveryRowHasAUniqueCodeAndNameThatLookUpToItself)
{
    std::set<std::string> codes, names;
    for (int n = 0; n < COUNTRY_NUM_COUNTRIES; n++) {
        const CountryInfo* info = CountryGetInfo(n);
        ASSERT_NE(nullptr, info) << n;
        EXPECT_EQ(2u, strlen(info->code)) << n;
        EXPECT_GT(strlen(info->name), 0u) << n;
        EXPECT_TRUE(codes.insert(info->code).second) << "duplicate code " << info->code;
        EXPECT_TRUE(names.insert(info->name).second) << "duplicate name " << info->name;
        EXPECT_EQ(n, CountryGetCountryNumFromCode(info->code, false)) << info->code;
        EXPECT_EQ(n, CountryGetCountryNumFromName(info->name)) << info->name;
        EXPECT_STREQ(info->name, CountryGetCountryName(n));
        EXPECT_EQ(n == 142 ? 67 : n, info->flag_cell) << info->name;
    }
    EXPECT_EQ(nullptr, CountryGetInfo(COUNTRY_NUM_COUNTRIES));
    EXPECT_EQ(nullptr, CountryGetInfo(-1));
}

TEST(Countries, NamesAreSortedAndTheEndsAreAfghanistanAndZimbabwe)
{
    EXPECT_STREQ("Afghanistan", CountryGetCountryName(0));
    EXPECT_STREQ("Zimbabwe", CountryGetCountryName(221));
    EXPECT_STREQ("", CountryGetCountryName(222));
    EXPECT_STREQ("", CountryGetCountryName(-1));
}

TEST(Countries, UkEnglandAndTheHomeNationsFollowTheirOwnRules)
{
    int start = DebugGetMessageCount();
    EXPECT_EQ(60, CountryGetCountryNumFromCode("GB", false));
    EXPECT_EQ(COUNTRY_UK_PSEUDO, CountryGetCountryNumFromCode("UK", false));
    EXPECT_EQ(60, CountryGetCountryNumFromCode("UK", true));
    EXPECT_EQ(60, CountryGetCountryNumFromName("United Kingdom"));
    EXPECT_EQ(60, CountryGetCountryNumFromName("England"));
    EXPECT_EQ(147, CountryGetCountryNumFromName("Northern Ireland"));
    EXPECT_STREQ("G2", CountryGetInfo(147)->code);
    EXPECT_FALSE(LoggedSince(start, "not found"));

    EXPECT_EQ(-1, CountryGetCountryNumFromCode("gb", true));
    EXPECT_TRUE(LoggedSince(start, "Code [gb] not found."));
    EXPECT_EQ(-1, CountryGetCountryNumFromName("Atlantis"));
    EXPECT_TRUE(LoggedSince(start, "Name [Atlantis] not found."));
    EXPECT_EQ(-1, CountryGetCountryNumFromCode(nullptr, true));
    EXPECT_EQ(-1, CountryGetCountryNumFromName(nullptr));
}

TEST(Countries, FlagCellsLieInsideThePicture)
{
    float rect[4];
    for (int n = 0; n < COUNTRY_NUM_COUNTRIES; n++) {
        ASSERT_TRUE(CountryGetFlagTexCoords(n, rect)) << n;
        EXPECT_GE(rect[0], 0.0f);
        EXPECT_GE(rect[1], 0.0f);
        EXPECT_LE(rect[2], 1.0f);
        EXPECT_LE(rect[3], 1.0f);
        EXPECT_FLOAT_EQ(1.0f / 16.0f, rect[2] - rect[0]);
        EXPECT_FLOAT_EQ(1.0f / 16.0f, rect[3] - rect[1]);
    }
    ASSERT_TRUE(CountryGetFlagTexCoords(COUNTRY_UK_PSEUDO, rect));
    EXPECT_FLOAT_EQ(0.9375f, rect[0]);
    EXPECT_FLOAT_EQ(0.8125f, rect[1]);
    EXPECT_FALSE(CountryGetFlagTexCoords(222, rect));
    EXPECT_FALSE(CountryGetFlagTexCoords(224, rect));
    EXPECT_FALSE(CountryGetFlagTexCoords(-1, rect));

    float france[4];
    ASSERT_TRUE(CountryGetFlagTexCoords(67, france));
    ASSERT_TRUE(CountryGetFlagTexCoords(142, rect));
    EXPECT_EQ(0, memcmp(france, rect, sizeof rect));
}

TEST(Countries, FlagsFileBeforeSetupIsReportedAndSmall)
{
    int start = DebugGetMessageCount();
    EXPECT_STREQ(COUNTRY_FLAGS_FILE_SMALL, CountryGetFlagsFilename());
    EXPECT_TRUE(LoggedSince(start, DebugErrorCodeText(DEBUG_CODE_NSTP)));
    CountrySetup(true, false, nullptr, nullptr, 0.0f, 0.0f);
    EXPECT_STREQ(COUNTRY_FLAGS_FILE_LARGE, CountryGetFlagsFilename());
}

TEST(CountryLocale, TerritoryIsTakenFromEveryLocaleForm)
{
    char code[3];
    ASSERT_TRUE(CountryGetTerritoryFromLocale("en_GB.UTF-8", code));
    EXPECT_STREQ("GB", code);
    ASSERT_TRUE(CountryGetTerritoryFromLocale("de_AT.UTF-8@euro", code));
    EXPECT_STREQ("AT", code);
    ASSERT_TRUE(CountryGetTerritoryFromLocale("sr_RS@latin", code));
    EXPECT_STREQ("RS", code);
    ASSERT_TRUE(CountryGetTerritoryFromLocale("fi_FI", code));
    EXPECT_STREQ("FI", code);

    const char* none[] = {"C", "POSIX", "", "en", "C.UTF-8", "en_gb.UTF-8", "en_GBR.UTF-8", "en_G"};
    for (const char* locale : none) {
        EXPECT_FALSE(CountryGetTerritoryFromLocale(locale, code)) << locale;
        EXPECT_STREQ("", code) << locale;
    }
    EXPECT_FALSE(CountryGetTerritoryFromLocale(nullptr, code));
}

TEST(CountryLocale, OwnCountryFollowsTheLocaleVariablesInOrder)
{
    SetLocale(nullptr, nullptr, "fr_FR.UTF-8");
    EXPECT_EQ(67, CountryGetLocalCountryPos());
    SetLocale("en_GB.UTF-8", nullptr, "fr_FR.UTF-8");
    EXPECT_EQ(60, CountryGetLocalCountryPos());
    SetLocale("C.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8");
    EXPECT_EQ(CountryGetCountryNumFromCode("DE", false), CountryGetLocalCountryPos());
    // A territory outside the table falls through to the next variable.
    SetLocale("en_ZZ.UTF-8", nullptr, "nl_NL.UTF-8");
    EXPECT_EQ(CountryGetCountryNumFromCode("NL", false), CountryGetLocalCountryPos());
}

TEST(CountryLocale, NoKnownCountryGivesMinusOneAndSaysSo)
{
    SetLocale("C", "POSIX", "en_ZZ.UTF-8");
    int start = DebugGetMessageCount();
    EXPECT_EQ(-1, CountryGetLocalCountryPos());
    EXPECT_TRUE(LoggedSince(start, "Could not get local country pos"));
    SetLocale(nullptr, nullptr, nullptr);
    EXPECT_EQ(-1, CountryGetLocalCountryPos());
}

class CountryFlags : public ScreensPixelFixture {};

TEST_F(CountryFlags, EveryCountryDrawsAFlagInItsBox)
{
    CountrySetup(false, false, nullptr, nullptr, 0.0f, 0.0f);
    ASSERT_TRUE(CountryCreateGraphics());
    BeginTestFrame(1.0f, 0.0f, 1.0f);
    for (int n = 0; n < COUNTRY_NUM_COUNTRIES; n++) {
        _Dimension box = {(float)(n % 16) * 40.0f, (float)(n / 16) * 32.0f, 40.0f, 32.0f};
        CountryDrawFlag(n, &box);
    }
    EndTestFrame();
    for (int n = 0; n < COUNTRY_NUM_COUNTRIES; n++) {
        _Dimension centre = {(float)(n % 16) * 40.0f + 10.0f, (float)(n / 16) * 32.0f + 12.0f, 20.0f, 8.0f};
        int background = CountVirtualPixels(gl, centre, [](int r, int g, int b) {
            return r > 240 && g < 15 && b > 240;
        });
        EXPECT_EQ(0, background) << "flag " << n << " left its box empty";
    }
}

TEST_F(CountryFlags, NewCaledoniaShowsFrancesFlagAndOthersDiffer)
{
    CountrySetup(false, false, nullptr, nullptr, 0.0f, 0.0f);
    ASSERT_TRUE(CountryCreateGraphics());
    const _Dimension france = {40, 40, 120, 80};
    const _Dimension caledonia = {200, 40, 120, 80};
    const _Dimension first = {360, 40, 120, 80};
    const _Dimension none = {40, 200, 120, 80};
    BeginTestFrame();
    CountryDrawFlag(67, &france);
    CountryDrawFlag(142, &caledonia);
    CountryDrawFlag(0, &first);
    CountryDrawFlag(222, &none);
    CountryDrawFlag(500, &none);
    EndTestFrame();
    EXPECT_EQ(Read(france), Read(caledonia));
    EXPECT_NE(Read(france), Read(first));
    EXPECT_EQ(0, Lit(none)) << "no flag for a number without a row";
}

TEST_F(CountryFlags, NothingIsDrawnWithoutTheTexture)
{
    const _Dimension box = {100, 100, 120, 80};
    BeginTestFrame();
    CountryDrawFlag(67, &box);
    CountryDrawFlagWithAlpha(67, &box, 1.0f);
    EndTestFrame();
    EXPECT_EQ(0, Lit(box));
    CountrySetup(false, false, nullptr, nullptr, 0.0f, 0.0f);
    // Off the country screen a device reset leaves the flags unloaded.
    EXPECT_TRUE(CountryScreenCreateGraphics(nullptr));
    EXPECT_FALSE(CountryIsFlagsTextureLoaded());
    ASSERT_TRUE(CountryCreateGraphics());
    CountryDestroyGraphics();
    EXPECT_FALSE(CountryIsFlagsTextureLoaded());
}

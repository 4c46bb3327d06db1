// "Settings.dat": a whole round trip through the safe save, files that are not trusted, values a foreign file
// cannot smuggle in, and the date filter of the local best times.
#include <cstring>
#include <memory>

#include "Game/SettingsClass.h"
#include "Game/Users.h"
#include "Online/Scores.h"
#include "ProfileTestSupport.h"

namespace {

LocalTimeEntry Entry(const char* name, EngUInt32 time, _EngMiscDate date)
{
    LocalTimeEntry entry = {};
    snprintf(entry.name, sizeof entry.name, "%s", name);
    entry.user_id = 7;
    snprintf(entry.country, sizeof entry.country, "FI");
    entry.platform = 'L';
    entry.time = time;
    entry.date = date;
    return entry;
}

_EngMiscDate Today()
{
    _EngMiscDate today;
    EngMiscGetCurrentDate(&today);
    return today;
}

class SettingsFile : public ProfileTest
{
protected:
    void SetUp() override
    {
        ProfileTest::SetUp();
        settings = std::make_unique<SettingsClass>(game);
        settings->SetFilename();
        path = home + "/Ostrelmark/Torvi Torvi/Settings.dat";
    }
    // A valid file image with one table filled, for the tests to spoil.
    std::unique_ptr<SettingsRecord> GoodRecord()
    {
        auto record = std::make_unique<SettingsRecord>();
        memset(record.get(), 0, sizeof *record);
        record->version = SETTINGS_VERSION;
        snprintf(record->name, sizeof record->name, "ANNA");
        LocalTimesTable& table = record->tables[SettingsTableNumber(3, 5, 4)];
        table.entries[0] = Entry("ANNA", 61000, Today());
        table.count = 1;
        return record;
    }

    std::unique_ptr<SettingsClass> settings;
    std::string path;
};

} // namespace

TEST_F(SettingsFile, SavedFileLoadsBackWithTheDriverName)
{
    snprintf(game->GetCurrentProfile()->name, USER_NAME_SIZE, "BERT");
    LocalTimesTable* table = settings->GetTable(2, 1, 3);
    ASSERT_NE(nullptr, table);
    table->entries[0] = Entry("BERT", 93210, Today());
    table->count = 1;
    ASSERT_TRUE(settings->Save());
    EXPECT_EQ(sizeof(SettingsRecord), ReadBytes(path).size());
    EXPECT_FALSE(FileExists(path + ".tmp"));

    memset(game->GetCurrentProfile()->name, 0, USER_NAME_SIZE);
    settings->SetDefaults();
    ASSERT_TRUE(settings->Load());
    EXPECT_STREQ("BERT", game->GetCurrentProfile()->name);
    EXPECT_EQ(1, settings->GetTable(2, 1, 3)->count);
    EXPECT_EQ(93210u, settings->GetTable(2, 1, 3)->entries[0].time);
    EXPECT_EQ(SettingsTableNumber(2, 1, 3), (2 * 6 + 1) * 5 + 3);
    EXPECT_EQ(nullptr, settings->GetTable(4, 0, 0));
    EXPECT_EQ(nullptr, settings->GetTable(0, 0, 5));
}

TEST_F(SettingsFile, FilesOfWrongSizeOrVersionGiveTheDefaults)
{
    struct Case {
        const char* what;
        long size_change;
        float version;
    };
    const Case cases[] = {{"one byte short", -1, SETTINGS_VERSION},
                          {"one byte long", 1, SETTINGS_VERSION},
                          {"older version", 0, 1.3f}};
    for (const Case& c : cases) {
        auto record = GoodRecord();
        record->version = c.version;
        std::vector<unsigned char> bytes((unsigned char*)record.get(), (unsigned char*)record.get() + sizeof *record);
        bytes.resize(bytes.size() + c.size_change);
        WriteBytes(path, bytes.data(), bytes.size());
        snprintf(game->GetCurrentProfile()->name, USER_NAME_SIZE, "KEPT");
        settings->SetDefaults();
        EXPECT_FALSE(settings->Load()) << c.what;
        EXPECT_STREQ("KEPT", game->GetCurrentProfile()->name) << c.what;
        EXPECT_EQ(0, settings->GetTable(3, 5, 4)->count) << c.what;
        // The next save replaces the bad file.
        ASSERT_TRUE(settings->Save());
        EXPECT_EQ(sizeof(SettingsRecord), ReadBytes(path).size()) << c.what;
    }
}

TEST_F(SettingsFile, ForeignCountsAndStringsAreMadeSafeOnLoad)
{
    auto record = GoodRecord();
    memset(record->name, 'N', sizeof record->name);
    record->tables[0].count = -5;
    record->tables[1].count = 500;
    memset(&record->tables[1].entries[99], 'x', sizeof(LocalTimeEntry));
    WriteBytes(path, record.get(), sizeof *record);
    ASSERT_TRUE(settings->Load());
    EXPECT_EQ(0, settings->GetRecord()->tables[0].count);
    EXPECT_EQ(LOCAL_TIMES_ROWS, settings->GetRecord()->tables[1].count);
    const LocalTimeEntry& last = settings->GetRecord()->tables[1].entries[99];
    EXPECT_EQ(size_t(LOCAL_TIMES_NAME_SIZE - 1), strlen(last.name));
    EXPECT_EQ(size_t(LOCAL_TIMES_COUNTRY_SIZE - 1), strnlen(last.country, sizeof last.country));
    EXPECT_EQ(size_t(USER_NAME_SIZE - 1), strlen(game->GetCurrentProfile()->name));
}

TEST_F(SettingsFile, FilterKeepsOrderAndTheWidestRangeKeepsAll)
{
    _EngMiscDate today = Today();
    _EngMiscDate last_year = today;
    last_year.year--;
    LocalTimesTable* table = settings->GetTable(0, 2, 1);
    table->entries[0] = Entry("A", 1000, last_year);
    table->entries[1] = Entry("B", 2000, today);
    table->entries[2] = Entry("C", 3000, last_year);
    table->entries[3] = Entry("D", 4000, today);
    table->count = 4;

    settings->GetFilteredTimes(0, 2, 1, SCORES_RANGE_ALL_TIME);
    EXPECT_EQ(0, memcmp(table, settings->GetFilteredTable(), sizeof *table));

    for (int range : {SCORES_RANGE_YEAR, SCORES_RANGE_MONTH, SCORES_RANGE_WEEK}) {
        settings->GetFilteredTimes(0, 2, 1, range);
        const LocalTimesTable* filtered = settings->GetFilteredTable();
        ASSERT_EQ(2, filtered->count) << range;
        EXPECT_STREQ("B", filtered->entries[0].name);
        EXPECT_STREQ("D", filtered->entries[1].name);
        EXPECT_EQ(0u, filtered->entries[2].time);
    }
}

#pragma once

// "Settings.dat" in the preferences folder: the name of the last driver and the local best-time tables of the
// time trial, one table per class, track and laps tab, each sorted fastest first.

#include "Engine/Core/EngMiscDate.h"
#include "Engine/Core/EngTypes.h"

class Game;

constexpr int LOCAL_TIMES_ROWS = 100;
constexpr int LOCAL_TIMES_NAME_SIZE = 12;
constexpr int LOCAL_TIMES_COUNTRY_SIZE = 3;
constexpr int SETTINGS_NUM_CLASSES = 4;
constexpr int SETTINGS_NUM_TRACKS = 6;
constexpr int SETTINGS_NUM_LAPS_TABS = 5;
constexpr int SETTINGS_NUM_TABLES = SETTINGS_NUM_CLASSES * SETTINGS_NUM_TRACKS * SETTINGS_NUM_LAPS_TABS;
constexpr int SETTINGS_PATH_SIZE = 1024;
constexpr float SETTINGS_VERSION = 1.4f;
constexpr const char* SETTINGS_FILE_NAME = "Settings.dat";

struct LocalTimeEntry
{
    char name[LOCAL_TIMES_NAME_SIZE];
    EngInt32 user_id;
    char country[LOCAL_TIMES_COUNTRY_SIZE];
    char platform;
    EngUInt32 time; // ms for the whole run
    _EngMiscDate date;
};
static_assert(sizeof(LocalTimeEntry) == 32, "a local time is a 32-byte record");

struct LocalTimesTable
{
    LocalTimeEntry entries[LOCAL_TIMES_ROWS];
    EngInt32 count;
};
static_assert(sizeof(LocalTimesTable) == 3204, "a local times table is 3,204 bytes");

// "Settings.dat", little-endian, written and read whole.
struct SettingsRecord
{
    float version;
    char name[LOCAL_TIMES_NAME_SIZE]; // the driver who played last
    LocalTimesTable tables[SETTINGS_NUM_TABLES];
};
static_assert(sizeof(SettingsRecord) == 384496, "Settings.dat is 384,496 bytes");

// The table of (class, track, laps tab); -1 when any of them is out of range.
int SettingsTableNumber(int formula, int track, int laps_tab);

class SettingsClass
{
public:
    explicit SettingsClass(Game* game);
    SettingsClass(const SettingsClass&) = delete;
    SettingsClass& operator=(const SettingsClass&) = delete;

    // "<preferences folder>\Settings.dat", then the defaults.
    void SetFilename();
    const char* GetFilename() const { return m_path; }
    void SetDefaults();
    // False (nothing changed) when the file is missing or of the wrong size or version.
    bool Load();
    bool Save();

    // The rows of one table whose date lies in the range (a _ScoresRange) today, in order, into the
    // filtered table.
    void GetFilteredTimes(int formula, int track, int laps_tab, int range);
    LocalTimesTable* GetFilteredTable() { return &m_filtered; }
    // Null for a table out of range.
    LocalTimesTable* GetTable(int formula, int track, int laps_tab);
    const SettingsRecord* GetRecord() const { return &m_record; }
    // The driver who played last; "" for none. A longer name is cut to the field.
    const char* GetLastDriverName() const { return m_record.name; }
    void SetLastDriverName(const char* name);

private:
    void MakeRecordSafe(SettingsRecord* record);

    Game* m_game;
    char m_path[SETTINGS_PATH_SIZE] = "";
    SettingsRecord m_record;
    LocalTimesTable m_filtered;
};

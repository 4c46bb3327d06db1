#include "Game/SettingsClass.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngPrefFolder.h"
#include "Engine/Core/EngString.h"
#include "Game/Game.h"
#include "Game/SaveFile.h"
#include "Game/Users.h"
#include "Online/Scores.h"

namespace {

void TerminateEntry(LocalTimeEntry* entry)
{
    entry->name[LOCAL_TIMES_NAME_SIZE - 1] = 0;
    entry->country[LOCAL_TIMES_COUNTRY_SIZE - 1] = 0;
}

} // namespace

int SettingsTableNumber(int formula, int track, int laps_tab)
{
    if (formula < 0 || formula >= SETTINGS_NUM_CLASSES || track < 0 || track >= SETTINGS_NUM_TRACKS ||
        laps_tab < 0 || laps_tab >= SETTINGS_NUM_LAPS_TABS)
        return -1;
    return (formula * SETTINGS_NUM_TRACKS + track) * SETTINGS_NUM_LAPS_TABS + laps_tab;
}

SettingsClass::SettingsClass(Game* game) : m_game(game)
{
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game.");
    SetDefaults();
}

void SettingsClass::SetFilename()
{
    if (snprintf(m_path, sizeof m_path, "%s%s%s", PrefFolderGetMainFolder(), "\\", SETTINGS_FILE_NAME) >=
        int(sizeof m_path)) {
        DebugError(ENG_FUNC, "Filename too long");
        m_path[0] = 0;
    }
    SetDefaults();
}

void SettingsClass::SetLastDriverName(const char* name)
{
    snprintf(m_record.name, sizeof m_record.name, "%s", name ? name : "");
}

void SettingsClass::SetDefaults()
{
    memset(&m_record, 0, sizeof m_record);
    m_record.version = SETTINGS_VERSION;
    memset(&m_filtered, 0, sizeof m_filtered);
}

// A file written elsewhere is not trusted: counts beyond the table and names without an end would send the
// screens past their rows.
void SettingsClass::MakeRecordSafe(SettingsRecord* record)
{
    record->name[LOCAL_TIMES_NAME_SIZE - 1] = 0;
    for (LocalTimesTable& table : record->tables) {
        if (table.count < 0 || table.count > LOCAL_TIMES_ROWS)
            table.count = table.count < 0 ? 0 : LOCAL_TIMES_ROWS;
        for (LocalTimeEntry& entry : table.entries)
            TerminateEntry(&entry);
    }
}

bool SettingsClass::Load()
{
    if (!m_path[0] || !EngFileExists(m_path, false))
        return false;
    if (EngFileGetFileSize(m_path, false) != sizeof(SettingsRecord))
        return false;
    SettingsRecord* record = new (std::nothrow) SettingsRecord;
    if (!record)
        return false;
    EngFile file;
    bool read = file.OpenForReadingQuietly(m_path, false) && file.Read(record, sizeof *record, false);
    bool usable = read && record->version == SETTINGS_VERSION;
    if (usable) {
        MakeRecordSafe(record);
        memcpy(&m_record, record, sizeof m_record);
        EngSafeStrcpy(m_game->GetCurrentProfile()->name, m_record.name, USER_NAME_SIZE);
    }
    delete record;
    return usable;
}

bool SettingsClass::Save()
{
    if (!m_path[0])
        return false;
    EngSafeStrcpy(m_record.name, m_game->GetCurrentProfile()->name, sizeof m_record.name);
    m_record.version = SETTINGS_VERSION;
    return GameSaveFileSafely(m_path, &m_record, sizeof m_record);
}

LocalTimesTable* SettingsClass::GetTable(int formula, int track, int laps_tab)
{
    int number = SettingsTableNumber(formula, track, laps_tab);
    if (number < 0) {
        DebugError(ENG_FUNC, "Bad table [%d %d %d]", formula, track, laps_tab);
        return nullptr;
    }
    return &m_record.tables[number];
}

void SettingsClass::GetFilteredTimes(int formula, int track, int laps_tab, int range)
{
    memset(&m_filtered, 0, sizeof m_filtered);
    const LocalTimesTable* table = GetTable(formula, track, laps_tab);
    if (!table)
        return;
    _EngMiscDate today;
    EngMiscGetCurrentDate(&today);
    for (int row = 0; row < table->count; row++) {
        const LocalTimeEntry& entry = table->entries[row];
        if (ScoresMainIsDateInRange(&entry.date, &today, _ScoresRange(range)))
            m_filtered.entries[m_filtered.count++] = entry;
    }
}

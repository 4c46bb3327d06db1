#include "Game/ChampSaveFile.h"

#include <cstdio>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngPrefFolder.h"
#include "Game/SaveFile.h"
#include "Game/Users.h"

bool ChampSaveFileName(const char* driver, int slot, bool create_folder, char* path, unsigned size)
{
    path[0] = 0;
    if (slot < 0 || slot >= CHAMP_SLOTS || !driver || !UsersIsSafeName(driver)) {
        DebugError(ENG_FUNC, "Bad championship slot %d", slot);
        return false;
    }
    const char* folder = PrefFolderGetSubFolder(USERS_DRIVERS_FOLDER, create_folder);
    int written = snprintf(path, size, "%s%s%s_Champ%d.vch", folder, "\\", driver, slot);
    if (written < 0 || unsigned(written) >= size) {
        DebugError(ENG_FUNC, "Filename too long");
        path[0] = 0;
        return false;
    }
    return true;
}

bool ChampSaveFileIsValid(const ChampRecord& record)
{
    return record.version == CHAMP_VERSION && record.formula >= 0 && record.formula < USER_NUM_CLASSES &&
           record.level >= 0 && record.level < USER_NUM_LEVELS && record.stage >= 0 &&
           record.stage <= CHAMP_STAGES && record.length >= 0 && record.length < CHAMP_LENGTHS && record.laps > 0;
}

bool ChampSaveFileLoad(const char* path, ChampRecord* record)
{
    if (!path[0] || !EngFileExists(path, false))
        return false;
    unsigned size = 0;
    unsigned char* data = EngFileReadWhole(path, sizeof(ChampRecord), ENG_FUNC, &size);
    if (!data)
        return false;
    ChampRecord read = {};
    bool whole = size == sizeof read;
    if (whole)
        memcpy(&read, data, sizeof read);
    EngFree(data, true, ENG_FUNC);
    if (!whole || !ChampSaveFileIsValid(read))
        return false;
    *record = read;
    return true;
}

bool ChampSaveFileSave(const char* path, ChampRecord* record)
{
    record->version = CHAMP_VERSION;
    return path[0] && GameSaveFileSafely(path, record, sizeof *record);
}

#include "Game/SaveFile.h"

#include <cstdio>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"

namespace {

constexpr int kPathSize = 1024;

GameSaveResult WriteWhole(const char* name, const void* data, unsigned size)
{
    EngFile file;
    if (!file.CreateForWriting(name, false))
        return GameSaveResult::CannotCreate;
    // Flushed before the rename: otherwise a power cut may leave the renamed file empty.
    bool written = file.Write(data, size) && file.FlushToDisk();
    bool closed = file.Close();
    return written && closed ? GameSaveResult::Saved : GameSaveResult::CannotWrite;
}

} // namespace

bool GameSaveFileSafely(const char* name, const void* data, unsigned size)
{
    return GameSaveFileSafelyStep(name, data, size) == GameSaveResult::Saved;
}

GameSaveResult GameSaveFileSafelyStep(const char* name, const void* data, unsigned size)
{
    if (!name || !name[0] || !data || size == 0) {
        DebugError(ENG_FUNC, "Invalid parameters");
        return GameSaveResult::CannotCreate;
    }
    char temp_name[kPathSize];
    if (snprintf(temp_name, sizeof temp_name, "%s.tmp", name) >= int(sizeof temp_name)) {
        DebugError(ENG_FUNC, "Filename too long <%s>", name);
        return GameSaveResult::CannotCreate;
    }
    GameSaveResult result = WriteWhole(temp_name, data, size);
    if (result == GameSaveResult::Saved && !EngFileReplaceFile(temp_name, name))
        result = GameSaveResult::CannotWrite;
    if (result != GameSaveResult::Saved)
        EngFileDelete(temp_name, false);
    return result;
}

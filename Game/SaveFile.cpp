#include "Game/SaveFile.h"

#include <cstdio>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"

namespace {

constexpr int kPathSize = 1024;

bool WriteWhole(const char* name, const void* data, unsigned size)
{
    EngFile file;
    if (!file.CreateForWriting(name, false))
        return false;
    bool written = file.Write(data, size);
    bool closed = file.Close();
    return written && closed;
}

} // namespace

bool GameSaveFileSafely(const char* name, const void* data, unsigned size)
{
    if (!name || !name[0] || !data || size == 0) {
        DebugError(ENG_FUNC, "Invalid parameters");
        return false;
    }
    char temp_name[kPathSize];
    if (snprintf(temp_name, sizeof temp_name, "%s.tmp", name) >= int(sizeof temp_name)) {
        DebugError(ENG_FUNC, "Filename too long <%s>", name);
        return false;
    }
    if (!WriteWhole(temp_name, data, size)) {
        EngFileDelete(temp_name, false);
        return false;
    }
    return EngFileReplaceFile(temp_name, name);
}

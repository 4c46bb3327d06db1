#include "Engine/Core/EngPrefFolder.h"

#include <cstdio>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/PC/EngPrefFolder_PC.h"

namespace {

const char k_maker_folder[] = "Ostrelmark";
const char k_separator[] = "\\";
constexpr int k_max_file_name = 127;

char g_folder_name[ENG_PREF_FOLDER_NAME_MAX + 1];
// Separate buffers, so that asking for the desktop never changes a preferences path a caller still holds.
char g_main_folder[ENG_PREF_PATH_SIZE];
char g_desktop_folder[ENG_PREF_PATH_SIZE];
char g_composed[ENG_PREF_PATH_SIZE];

bool IsEmpty(const char* text)
{
    return !text || !text[0];
}

bool Join(char* out, int size, const char* a, const char* b)
{
    int n = snprintf(out, size, "%s%s%s", a, k_separator, b);
    if (n > 0 && n < size)
        return true;
    out[0] = 0;
    return false;
}

bool CreateIfMissing(const char* path)
{
    if (EngFileDirectoryExists(path) || EngFileCreateDirectory(path, false))
        return true;
    DebugError(ENG_FUNC, "Could not create dir <%s>", path);
    return false;
}

} // namespace

bool EngMiscGetUserApplicationDataSubPath(const char* sub, char* out, int size)
{
    if (IsEmpty(sub) || !out || size < 1)
        return false;
    char data[ENG_PREF_PATH_SIZE];
    return EngMiscGetUserApplicationDataDirectory_PC(data, sizeof data) && Join(out, size, data, sub);
}

bool EngMiscCreateUserApplicationDataSubDirectoryIfNeeded(const char* sub, char* out, int size)
{
    return EngMiscGetUserApplicationDataSubPath(sub, out, size) && CreateIfMissing(out);
}

bool EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded(const char* sub, const char* sub_sub, char* out,
                                                             int size)
{
    if (IsEmpty(sub_sub) || !EngMiscCreateUserApplicationDataSubDirectoryIfNeeded(sub, out, size))
        return false;
    char parent[ENG_PREF_PATH_SIZE];
    EngSafeStrcpy(parent, out, sizeof parent);
    return Join(out, size, parent, sub_sub) && CreateIfMissing(out);
}

const char* PrefFolderSetup(const char* folder_name, bool open_log, const char* log_name, bool)
{
    size_t length = folder_name ? strlen(folder_name) : 0;
    if (length < 1 || length > ENG_PREF_FOLDER_NAME_MAX) {
        DebugError(ENG_FUNC, "Invalid folder name");
        g_folder_name[0] = 0;
    } else {
        EngSafeStrcpy(g_folder_name, folder_name, sizeof g_folder_name);
    }
    if (open_log)
        PrefFolderOpenLog(log_name);
    return PrefFolderGetMainFolder();
}

void PrefFolderOpenLog(const char* log_name)
{
    char log_path[ENG_PREF_PATH_SIZE];
    const char* folder = PrefFolderGetMainFolder();
    snprintf(log_path, sizeof log_path, "%s%s%s", folder, k_separator, log_name ? log_name : "LogFile.txt");
    DebugSetLogFilename(log_path, true);
}

const char* PrefFolderGetMainFolder()
{
    if (!g_folder_name[0]) {
        DebugError(ENG_FUNC, "Folder name is empty");
        return EngSafeStrcpy(g_main_folder, ".", sizeof g_main_folder);
    }
    if (!EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded(k_maker_folder, g_folder_name, g_main_folder,
                                                                  sizeof g_main_folder)) {
        DebugError(ENG_FUNC, "Could not create/get directory");
        return EngSafeStrcpy(g_main_folder, ".", sizeof g_main_folder);
    }
    return g_main_folder;
}

const char* PrefFolderGetMainFolderWithFileAppended(const char* file)
{
    const char* folder = PrefFolderGetMainFolder();
    if (IsEmpty(file)) {
        DebugError(ENG_FUNC, "No file specified");
        return folder;
    }
    if (strlen(file) > k_max_file_name) {
        DebugError(ENG_FUNC, "Filename too long");
        file = "Temp.dat";
    }
    return Join(g_composed, sizeof g_composed, folder, file) ? g_composed : folder;
}

const char* PrefFolderGetSubFolder(const char* name, bool create)
{
    const char* folder = PrefFolderGetMainFolder();
    size_t length = name ? strlen(name) : 0;
    if (length < 1 || length > k_max_file_name) {
        DebugError(ENG_FUNC, "Invalid sub folder name");
        return folder;
    }
    if (!Join(g_composed, sizeof g_composed, folder, name))
        return folder;
    if (create && !EngFileDirectoryExists(g_composed) && !EngFileCreateDirectory(g_composed, true)) {
        DebugError(ENG_FUNC, "Could not create directory <%s>", g_composed);
        return folder;
    }
    return g_composed;
}

// The desktop, else the preferences folder, else ".".
const char* PrefFolderGetDesktopFolder()
{
    if (EngMiscGetDesktopDirectory_PC(g_desktop_folder, sizeof g_desktop_folder))
        return g_desktop_folder;
    if (g_folder_name[0])
        return EngSafeStrcpy(g_desktop_folder, PrefFolderGetMainFolder(), sizeof g_desktop_folder);
    DebugError(ENG_FUNC, "Could not get directory");
    return EngSafeStrcpy(g_desktop_folder, ".", sizeof g_desktop_folder);
}

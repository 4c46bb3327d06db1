#include "Engine/Core/PC/EngPrefFolder_PC.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Engine/Core/EngCodePage.h"
#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"

namespace {

constexpr int k_min_size = 256;

bool IsDirectory(const char* utf8_path)
{
    struct stat info;
    return stat(utf8_path, &info) == 0 && S_ISDIR(info.st_mode);
}

// mkdir -p: the application-data folder of a fresh account may not exist yet.
bool MakeDirectories(const char* utf8_path)
{
    char path[PATH_MAX];
    if (snprintf(path, sizeof path, "%s", utf8_path) >= (int)sizeof path)
        return false;
    for (char* p = path + 1; *p; p++) {
        if (*p != '/')
            continue;
        *p = 0;
        if (mkdir(path, 0755) != 0 && errno != EEXIST)
            return false;
        *p = '/';
    }
    return (mkdir(path, 0755) == 0 || errno == EEXIST) && IsDirectory(path);
}

const char* HomeFolder()
{
    const char* home = getenv("HOME");
    if (home && home[0] == '/')
        return home;
    struct passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? entry->pw_dir : nullptr;
}

// An XDG variable is used only when it holds an absolute path.
const char* AbsoluteEnv(const char* name)
{
    const char* value = getenv(name);
    return value && value[0] == '/' ? value : nullptr;
}

bool ToEnginePath(const char* utf8_path, char* out, int size)
{
    bool lossy = false;
    return EngCodePageUtf8ToAnsi(utf8_path, out, size, '?', &lossy) >= 0 && !lossy;
}

// Reads XDG_DESKTOP_DIR="..." from user-dirs.dirs; "$HOME" at its start stands for the home folder.
bool ReadXdgDesktopDir(const char* home, char* out, int size)
{
    char config_path[PATH_MAX];
    const char* config = AbsoluteEnv("XDG_CONFIG_HOME");
    int n = config ? snprintf(config_path, sizeof config_path, "%s/user-dirs.dirs", config)
                   : snprintf(config_path, sizeof config_path, "%s/.config/user-dirs.dirs", home);
    if (n < 0 || n >= (int)sizeof config_path)
        return false;
    FILE* file = EngFileOpenRegularStream(config_path, "r");
    if (!file)
        return false;
    char line[PATH_MAX];
    bool found = false;
    while (!found && fgets(line, sizeof line, file)) {
        const char* key = "XDG_DESKTOP_DIR=\"";
        if (strncmp(line, key, strlen(key)) != 0)
            continue;
        char* value = line + strlen(key);
        char* end = strchr(value, '"');
        if (!end)
            continue;
        *end = 0;
        n = strncmp(value, "$HOME", 5) == 0 ? snprintf(out, size, "%s%s", home, value + 5)
                                            : snprintf(out, size, "%s", value);
        found = n > 0 && n < size && value[0] != 0;
    }
    fclose(file);
    return found;
}

} // namespace

bool EngMiscGetUserApplicationDataDirectory_PC(char* out, int size)
{
    if (!out || size < k_min_size) {
        DebugError(ENG_FUNC, "Could not get app data directory");
        return false;
    }
    out[0] = 0;
    char path[PATH_MAX];
    const char* data_home = AbsoluteEnv("XDG_DATA_HOME");
    const char* home = HomeFolder();
    int n = data_home ? snprintf(path, sizeof path, "%s", data_home)
            : home    ? snprintf(path, sizeof path, "%s/.local/share", home)
                      : -1;
    if (n < 0 || n >= (int)sizeof path || !MakeDirectories(path)) {
        DebugError(ENG_FUNC, "Could not get app data directory");
        return false;
    }
    if (!ToEnginePath(path, out, size)) {
        out[0] = 0;
        DebugError(ENG_FUNC, "Could not get app data path");
        return false;
    }
    return true;
}

bool EngMiscGetDesktopDirectory_PC(char* out, int size)
{
    if (!out || size < 1)
        return false;
    out[0] = 0;
    const char* home = HomeFolder();
    if (!home) {
        DebugError(ENG_FUNC, "Could not get desktop directory");
        return false;
    }
    char path[PATH_MAX];
    bool found = ReadXdgDesktopDir(home, path, sizeof path) && IsDirectory(path);
    if (!found) {
        int n = snprintf(path, sizeof path, "%s/Desktop", home);
        found = n > 0 && n < (int)sizeof path && IsDirectory(path);
    }
    if (!found)
        return false;
    if (!ToEnginePath(path, out, size)) {
        out[0] = 0;
        DebugError(ENG_FUNC, "Could not get desktop path");
        return false;
    }
    return true;
}

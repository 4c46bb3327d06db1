#include "Game/Users.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngDirectory.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngPrefFolder.h"
#include "Engine/Core/EngString.h"
#include "Game/Game.h"
#include "Game/Input.h"
#include "Game/SaveFile.h"

namespace {

constexpr const char* kGhostsFolder = "Ghosts";
constexpr const char* kDriverExtension = ".drv";
constexpr int kDriverExtensionLength = 4;
constexpr int kDefaultQuickRaceLaps = 5;
constexpr int kDefaultMusicVolume = 7;
constexpr int kNumWorldRanges = 4;
constexpr int kTimeTrialLaps[] = {1, 3, 6, 10, 20};

template <size_t N> bool IsOneOf(int value, const int (&allowed)[N])
{
    for (int each : allowed) {
        if (value == each)
            return true;
    }
    return false;
}

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

// A value outside low..high goes back to its default.
void KeepInRange(EngInt32* value, int low, int high, int fallback)
{
    if (!InRange(*value, low, high))
        *value = fallback;
}

// Keeps the name of a "<name>.drv" entry of the drivers folder.
bool AcceptDriverFile(int index, const char* file_name, const char* directory, void* user_data)
{
    (void)index;
    (void)directory;
    (void)user_data;
    size_t length = strlen(file_name);
    if (length <= size_t(kDriverExtensionLength) || length > size_t(USER_NAME_MAX_CHARS + kDriverExtensionLength))
        return false;
    return strcmp(file_name + length - kDriverExtensionLength, kDriverExtension) == 0;
}

} // namespace

bool UsersIsSafeName(const char* name)
{
    if (!name || !name[0] || name[0] == '.')
        return false;
    size_t length = strnlen(name, USER_NAME_SIZE);
    if (length > size_t(USER_NAME_MAX_CHARS) || strstr(name, ".."))
        return false;
    for (size_t i = 0; i < length; i++) {
        unsigned char c = (unsigned char)name[i];
        if (c < 32 || c == 127 || c == '/' || c == '\\' || c == ':')
            return false;
    }
    return true;
}

UsersClass::UsersClass(Game* game) : m_game(game)
{
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game.");
    memset(m_users, 0, sizeof m_users);
    for (int user = 0; user < USERS_NUM; user++)
        SetDefaults(user);
}

bool UsersClass::IsValidUser(int user, const char* own_name)
{
    if (user >= 0 && user < USERS_NUM)
        return true;
    DebugError(own_name, "Invalid user num %d", user);
    return false;
}

UserRecord* UsersClass::GetUser(int user)
{
    return user >= 0 && user < USERS_NUM ? &m_users[user] : nullptr;
}

void UsersClass::SetDefaults(int user)
{
    if (user < 0 || user >= USERS_NUM) {
        DebugError(ENG_FUNC, "Invalid User Num %d", user);
        return;
    }
    UserRecord* record = &m_users[user];
    char name[USER_NAME_SIZE];
    memcpy(name, record->name, sizeof name);
    memset(record, 0, sizeof *record);
    memcpy(record->name, name, sizeof name);
    record->classes[0].have_license[0] = 1;
    record->option = 1;
    memset(record->quick_race_opponents, 1, sizeof record->quick_race_opponents);
    record->quick_race_laps = kDefaultQuickRaceLaps;
    record->steering = USER_MAX_CAR_SETTING;
    record->acceleration = USER_MAX_CAR_SETTING;
    record->brakes = USER_MAX_CAR_SETTING;
    memset(record->hud, 1, sizeof record->hud);
    record->music_volume = kDefaultMusicVolume;
    record->time_trial_laps = kTimeTrialLaps[0];
    if (m_game->GetInput())
        m_game->GetInput()->SetDefaultConfig(user);
}

bool UsersClass::SetFilename(const char* name, const char* second_part, bool create_folder)
{
    m_path[0] = 0;
    if (!name || !name[0]) {
        DebugError(ENG_FUNC, "No name");
        return false;
    }
    if (!UsersIsSafeName(name) || (second_part && strpbrk(second_part, "/\\"))) {
        DebugError(ENG_FUNC, "Unsafe driver name <%s>", name);
        return false;
    }
    const char* folder = PrefFolderGetSubFolder(second_part ? kGhostsFolder : USERS_DRIVERS_FOLDER, create_folder);
    int written = second_part ? snprintf(m_path, sizeof m_path, "%s%s%s_%s.gho", folder, "\\", name, second_part)
                              : snprintf(m_path, sizeof m_path, "%s%s%s.drv", folder, "\\", name);
    if (written < 0 || written >= int(sizeof m_path)) {
        DebugError(ENG_FUNC, "Filename too long");
        m_path[0] = 0;
        return false;
    }
    return true;
}

const char* UsersClass::GetFilename() const
{
    return m_path[0] ? m_path : nullptr;
}

int UsersClass::ListDrivers(bool rescan)
{
    if (!rescan)
        return m_num_drivers;
    m_num_drivers = 0;
    const char* folder = PrefFolderGetSubFolder(USERS_DRIVERS_FOLDER, false);
    if (!EngFileDirectoryExists(folder))
        return 0;
    DirList list;
    if (!list.OpenDir(folder, AcceptDriverFile, nullptr) || !list.PrepareToGetFilenamesInDir())
        return 0;
    for (const char* file = list.GetNextFilenameInDir(); file[0] && m_num_drivers < USERS_MAX_DRIVERS;
         file = list.GetNextFilenameInDir()) {
        char name[USER_NAME_SIZE];
        size_t length = strlen(file) - kDriverExtensionLength;
        memcpy(name, file, length);
        name[length] = 0;
        // A file that could not be saved under its name could not be loaded either.
        if (UsersIsSafeName(name))
            EngSafeStrcpy(m_drivers[m_num_drivers++], name, USER_NAME_SIZE);
    }
    list.CleanupAfterGettingFilenamesInDir();
    list.Close();
    return m_num_drivers;
}

const char* UsersClass::GetDriverName(int index) const
{
    return index >= 0 && index < m_num_drivers ? m_drivers[index] : nullptr;
}

bool UsersClass::SaveUser(int user)
{
    if (!IsValidUser(user, ENG_FUNC))
        return false;
    UserRecord* record = &m_users[user];
    if (record->user_id == 0) {
        DebugError(ENG_FUNC, "Not saving as user %d id not set", user);
        return false;
    }
    if (!SetFilename(record->name, nullptr, true))
        return false;
    record->version = USER_VERSION;
    if (!GameSaveFileSafely(m_path, record, sizeof *record))
        return false;
    m_game->GetInput()->SaveUserConfig(user);
    return true;
}

bool UsersClass::CheckIfUserFileOk(const char* name)
{
    if (!SetFilename(name, nullptr, false))
        return false;
    if (!EngFileExists(m_path, false)) {
        DebugError(ENG_FUNC, "File does not exist <%s>", m_path);
        return false;
    }
    unsigned size = EngFileGetFileSize(m_path, false);
    if (size > sizeof(UserRecord)) {
        DebugError(ENG_FUNC, "Filesize bigger than current <%s>", m_path);
        return false;
    }
    float version = 0.0f;
    EngFile file;
    if (size < sizeof version || !file.OpenForReadingQuietly(m_path, false) || !file.Read(&version, sizeof version, false)) {
        DebugError(ENG_FUNC, "Could not read version <%s>", m_path);
        return false;
    }
    if (!(version >= USER_OLDEST_VERSION && version <= USER_VERSION)) {
        DebugError(ENG_FUNC, "Invalid version %f <%s>", double(version), m_path);
        return false;
    }
    return true;
}

bool UsersClass::CheckIfUserOk(int user)
{
    if (!IsValidUser(user, ENG_FUNC))
        return false;
    char name[USER_NAME_SIZE];
    EngSafeStrcpy(name, m_users[user].name, sizeof name);
    return CheckIfUserFileOk(name);
}

bool UsersClass::ReadUserFile(int user, unsigned size)
{
    UserRecord* record = &m_users[user];
    memset(record, 0, sizeof *record);
    EngFile file;
    return file.OpenForReading(m_path, false, true) && file.Read(record, int(size), true);
}

bool UsersClass::LoadUser(int user)
{
    if (!CheckIfUserOk(user))
        return false;
    char file_name[USER_NAME_SIZE];
    EngSafeStrcpy(file_name, m_users[user].name, sizeof file_name);
    unsigned size = EngFileGetFileSize(m_path, false);
    if (size < sizeof(UserRecord))
        DebugInfo("Converting from old user version");
    if (!ReadUserFile(user, size) || !IntegrityCheck(user))
        return false;
    TakeFileName(&m_users[user], file_name);
    m_game->GetInput()->LoadUserConfig(user);
    SetUserIdIfMissing(&m_users[user]);
    return true;
}

// The file's name is the driver's: a name stored otherwise inside (a file copied or renamed) would make the
// next save overwrite another driver's files.
void UsersClass::TakeFileName(UserRecord* record, const char* file_name)
{
    if (strcmp(record->name, file_name) == 0)
        return;
    DebugInfo("Driver <%s> stored in <%s>: named after the file", record->name, file_name);
    memset(record->name, 0, sizeof record->name);
    EngSafeStrcpy(record->name, file_name, sizeof record->name);
}

void UsersClass::SetUserIdIfMissing(UserRecord* record)
{
    if (record->user_id != 0)
        return;
    DebugInfo("Setting user id for user.");
    record->user_id = rand() % USER_MAX_ID + 1;
}

bool UsersClass::IntegrityCheck(int user)
{
    if (!IsValidUser(user, ENG_FUNC))
        return false;
    UserRecord* record = &m_users[user];
    // The name must end inside its field: the last byte is the terminator.
    if (record->name[USER_NAME_SIZE - 1] != 0 || !UsersIsSafeName(record->name)) {
        DebugError(ENG_FUNC, "Invalid name");
        return false;
    }
    if (!InRange(record->formula_zzz, 0, USER_NUM_CLASSES - 1)) {
        DebugError(ENG_FUNC, "Invalid formula_zzz %d", record->formula_zzz);
        return false;
    }
    for (int formula = 0; formula < USER_NUM_CLASSES; formula++) {
        const UserClassRecord& progress = record->classes[formula];
        if (!InRange(progress.level_zzz, 0, USER_NUM_LEVELS - 1)) {
            DebugError(ENG_FUNC, "Invalid level_zzz %d", progress.level_zzz);
            return false;
        }
        for (int level = 0; level < USER_NUM_LEVELS; level++) {
            if (progress.have_license[level] > 1) {
                DebugError(ENG_FUNC, "Invalid have_license [%d:%d:%d]", formula, level, progress.have_license[level]);
                return false;
            }
        }
    }
    if (!InRange(record->time_trials_track, 0, USER_NUM_TRACKS - 1)) {
        DebugError(ENG_FUNC, "Invalid time_trials_track [%d]", record->time_trials_track);
        return false;
    }
    RepairFields(record);
    return true;
}

// Fields the screens use as indexes or choices: a value out of range goes back to its default rather than
// making the whole profile unusable.
void UsersClass::RepairFields(UserRecord* record)
{
    KeepInRange(&record->quick_race_track, 0, USER_NUM_TRACKS - 1, 0);
    for (EngUInt8& opponent : record->quick_race_opponents)
        opponent = opponent ? 1 : 0;
    for (EngUInt8& shown : record->hud)
        shown = shown ? 1 : 0;
    EngInt32* settings[] = {&record->steering, &record->acceleration, &record->brakes};
    for (EngInt32* setting : settings)
        KeepInRange(setting, 0, USER_MAX_CAR_SETTING, USER_MAX_CAR_SETTING);
    if (record->license_test_state > USER_LICENSE_TEST_PASSED)
        record->license_test_state = USER_LICENSE_TEST_RUNNING;
    KeepInRange(&record->world_range, 0, kNumWorldRanges - 1, 0);
    KeepInRange(&record->user_id, 0, USER_MAX_ID, 0);
    if (record->country[USER_COUNTRY_SIZE - 1] != 0)
        memset(record->country, 0, sizeof record->country);
    if (!IsOneOf(record->time_trial_laps, kTimeTrialLaps))
        record->time_trial_laps = kTimeTrialLaps[0];
    if (!IsOneOf(record->quick_race_laps, USER_QUICK_RACE_LAPS))
        record->quick_race_laps = kDefaultQuickRaceLaps;
    for (UserClassRecord& progress : record->classes)
        KeepInRange(&progress.best_expert_result, 0, USER_MAX_EXPERT_RESULT, 0);
    KeepInRange(&record->car_colour, 0, USER_NUM_CAR_COLOURS - 1, 0);
    KeepInRange(&record->music_volume, 0, USER_MAX_MUSIC_VOLUME, kDefaultMusicVolume);
    KeepInRange(&record->last_ad, 0, USER_NUM_ADS - 1, 0);
    KeepInRange(&record->visits, 0, INT32_MAX, 0);
    record->changed = record->changed ? 1 : 0;
}

#pragma once

// Driver profiles. Each profile is one ".drv" file in the "Drivers" folder of the preferences folder, the
// UserRecord byte for byte; profile 0 is the current driver and the screens edit it in place.

#include "Engine/Core/EngTypes.h"

class Game;

constexpr int USER_NAME_SIZE = 12;      // 1..11 characters and the terminator
constexpr int USER_NAME_MAX_CHARS = USER_NAME_SIZE - 1;
constexpr int USER_NUM_CLASSES = 4;     // FORMULA 4 .. FORMULA 1
constexpr int USER_NUM_LEVELS = 5;      // ROOKIE .. EXPERT
constexpr int USER_NUM_TRACKS = 6;
constexpr int USER_NUM_OPPONENTS = 7;   // the computer drivers of a quick race
constexpr int USER_NUM_HUD_SWITCHES = 4;
constexpr int USER_COUNTRY_SIZE = 3;
constexpr int USER_MAX_CAR_SETTING = 9;
constexpr int USER_NUM_CAR_COLOURS = 8;
constexpr int USER_MAX_EXPERT_RESULT = 3; // first place
constexpr int USER_MAX_MUSIC_VOLUME = 9;  // shown as 1 to 10
constexpr int USER_NUM_ADS = 32;
// The lap counts a quick race offers.
inline constexpr int USER_QUICK_RACE_LAPS[] = {1, 3, 5, 10, 15, 20, 25, 50, 75, 100, 150, 200};
constexpr int USER_MAX_ID = 30000;
constexpr int USERS_NUM = 2;
constexpr int USERS_MAX_DRIVERS = 64;
constexpr int USERS_PATH_SIZE = 512;
// Beside each driver's ".drv" lies the driver's controller set-up.
constexpr const char* USERS_DRIVERS_FOLDER = "Drivers";
constexpr float USER_VERSION = 1.4f;
constexpr float USER_OLDEST_VERSION = 1.2f;

// Licence-test states of a profile.
enum _UserLicenseTestState
{
    USER_LICENSE_TEST_RUNNING = 0,
    USER_LICENSE_NORMAL_PLAY = 1,
    USER_LICENSE_TEST_PASSED = 2,
};

struct UserClassRecord
{
    EngUInt8 have_license[USER_NUM_LEVELS]; // per level: 0 or 1
    EngUInt8 padding[3];
    EngInt32 level_zzz;         // level reached, 0..4
    EngInt32 best_expert_result; // 0 none, 1 third, 2 second, 3 first
};
static_assert(sizeof(UserClassRecord) == 16, "class record layout");

// The ".drv" file, little-endian, written and read whole.
struct UserRecord
{
    float version;
    char name[USER_NAME_SIZE];
    UserClassRecord classes[USER_NUM_CLASSES];
    EngInt32 formula_zzz; // current class, 0..3
    EngUInt8 changed;
    EngUInt8 padding1[3];
    EngInt32 time_trials_track;
    EngUInt8 option;
    EngUInt8 padding2[3];
    EngInt32 quick_race_track;
    EngUInt8 quick_race_opponents[USER_NUM_OPPONENTS];
    EngUInt8 padding3;
    EngInt32 quick_race_laps;
    EngInt32 car_colour;
    EngInt32 steering;
    EngInt32 acceleration;
    EngInt32 brakes;
    EngUInt8 hud[USER_NUM_HUD_SWITCHES]; // standings, lap times, lap counter, position
    EngInt32 music_volume;
    EngUInt8 song[8];
    EngUInt8 license_test_state; // _UserLicenseTestState
    EngUInt8 padding4[3];
    EngInt32 time_trial_view; // 1 world times, else local times
    EngInt32 world_range;     // _ScoresRange 0..3
    EngInt32 user_id;         // 1..30,000; 0 not set
    char country[USER_COUNTRY_SIZE];
    EngUInt8 padding5;
    EngInt32 time_trial_laps;
    EngUInt8 spare[988];
    EngInt32 last_ad;
    EngUInt8 flag;
    EngUInt8 padding6[3];
    EngInt32 visits;
};
static_assert(sizeof(float) == 4, "f32 fields");
static_assert(sizeof(UserRecord) == 1168, "the .drv file is 1,168 bytes");
static_assert(__builtin_offsetof(UserRecord, formula_zzz) == 80, "user record layout");
static_assert(__builtin_offsetof(UserRecord, quick_race_opponents) == 100, "user record layout");
static_assert(__builtin_offsetof(UserRecord, hud) == 128, "user record layout");
static_assert(__builtin_offsetof(UserRecord, license_test_state) == 144, "user record layout");
static_assert(__builtin_offsetof(UserRecord, country) == 160, "user record layout");
static_assert(__builtin_offsetof(UserRecord, last_ad) == 1156, "user record layout");
static_assert(__builtin_offsetof(UserRecord, visits) == 1164, "user record layout");

// True for a name that may become a file name: 1..11 characters, none of them a path separator, a control
// character or ':', no "..", and not starting with '.'.
bool UsersIsSafeName(const char* name);

class UsersClass
{
public:
    explicit UsersClass(Game* game);
    UsersClass(const UsersClass&) = delete;
    UsersClass& operator=(const UsersClass&) = delete;

    void SetDefaults(int user);
    // "<Drivers>\<name>.drv", or with a second part "<Ghosts>\<name>_<part>.gho".
    bool SetFilename(const char* name, const char* second_part, bool create_folder);
    const char* GetFilename() const;

    int ListDrivers(bool rescan);
    const char* GetDriverName(int index) const;

    bool SaveUser(int user);
    bool SaveCurrentUser() { return SaveUser(0); }
    bool CheckIfUserFileOk(const char* name);
    bool CheckIfUserOk(int user);
    bool LoadUser(int user);
    bool LoadCurrentUser() { return LoadUser(0); }
    bool IntegrityCheck(int user);

    // Null for a bad number.
    UserRecord* GetUser(int user);

private:
    bool IsValidUser(int user, const char* own_name);
    bool ReadUserFile(int user, unsigned size);
    void TakeFileName(UserRecord* record, const char* file_name);
    void RepairFields(UserRecord* record);
    void SetUserIdIfMissing(UserRecord* record);

    Game* m_game;
    UserRecord m_users[USERS_NUM];
    char m_path[USERS_PATH_SIZE] = "";
    char m_drivers[USERS_MAX_DRIVERS][USER_NAME_SIZE] = {};
    int m_num_drivers = 0;
};

#pragma once

// The players' devices: per driver which devices are in use and which element does what, kept in the
// driver's "<name>_Controllers.csc" beside the profile, and the routing of device events to the controls.

#include "Engine/Core/EngInputDevices.h"
#include "Engine/Core/EngTypes.h"

class Game;

constexpr int INPUT_MAX_USERS = 2;
constexpr int INPUT_MAX_ENTRIES = ENG_INPUT_MAX_DEVICES;
constexpr int INPUT_NUM_SLOTS = 8;
constexpr float INPUT_CONFIG_VERSION = 1.0f;
constexpr int INPUT_PATH_SIZE = 1024;

// The slot number of an element is its action code.
enum _InputAction
{
    INPUT_ACTION_STEERING_AXIS = 0,
    INPUT_ACTION_SECOND_AXIS = 1,
    INPUT_ACTION_POV = 2,
    INPUT_ACTION_LEFT = 3,
    INPUT_ACTION_RIGHT = 4,
    INPUT_ACTION_ACCELERATOR_AXIS = 5,
    INPUT_ACTION_ACCELERATE = 6,
    INPUT_ACTION_PAUSE = 7,
    INPUT_ACTION_UNBOUND = 99,
};

struct UserControllerEntry
{
    EngUInt8 in_use;
    EngUInt8 padding[3];
    EngUInt8 guid[ENG_INPUT_INSTANCE_ID_SIZE];
    char element_names[INPUT_NUM_SLOTS][ENG_INPUT_ELEMENT_NAME_SIZE]; // "" = unbound
};
static_assert(sizeof(UserControllerEntry) == 212, "controller entry layout");

// The ".csc" file, little-endian, written and read whole.
struct UserControllerConfig
{
    float version;
    UserControllerEntry entries[INPUT_MAX_ENTRIES];
    EngInt32 num_entries;
    EngUInt8 current_guid[ENG_INPUT_INSTANCE_ID_SIZE];
};
static_assert(sizeof(UserControllerConfig) == 5324, "the .csc file is 5,324 bytes");
static_assert(__builtin_offsetof(UserControllerConfig, num_entries) == 5304, "controller file layout");

// A user's set-up resolved against the devices present now.
struct InputBinding
{
    int current_device;
    EngUInt8 in_use[ENG_INPUT_MAX_DEVICES];
    short elements[ENG_INPUT_MAX_DEVICES][INPUT_NUM_SLOTS]; // -1 unbound
};

class Input
{
public:
    explicit Input(Game* game);
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    bool Init();
    // 255: the count used last.
    bool NewUsers(int count);
    int GetNumUsers() const { return m_num_users; }

    bool LoadUserConfig(int user);
    void SetDefaultConfig(int user);
    bool SaveUserConfig(int user);
    bool ReadUserConfig(int user);
    void BindUserConfig(int user);
    void StoreDeviceMappings(int user);
    void ResetUserConfig(int user);

    // From the race start: callbacks and actions of the devices in use, which are acquired.
    void ResetForRace();
    // From pause, finish and shutdown.
    void Release();

    void UserDeviceDataCB(int user, int device, int element, int value, bool pressed);
    static void StaticDeviceDataBothUsersCB(int device, int element, int data, bool on, void* input);
    static void StaticDeviceDataUser0CB(int device, int element, int data, bool on, void* input);
    static void StaticDeviceDataUser1CB(int device, int element, int data, bool on, void* input);

    // Null for a bad user.
    const UserControllerConfig* GetConfig(int user) const;
    InputBinding* GetBinding(int user);
    // INPUT_ACTION_UNBOUND for bad numbers.
    int GetAction(int user, int device, int element) const;

private:
    bool IsValidUser(int user, const char* own_name) const;
    const char* BuildFilename(int user, bool create_folder);
    bool IsConfigSane(const UserControllerConfig& config) const;
    void SetDefaultNames(int device, char names[INPUT_NUM_SLOTS][ENG_INPUT_ELEMENT_NAME_SIZE]);
    int FindEntry(int user, const EngUInt8* guid) const;
    int ChooseEntryToStore(int user, int device) const;
    int ChooseCurrentDevice(int user) const;
    void MapDevices();
    void ApplyAction(int user, int action, int element, int value, bool pressed);

    Game* m_game;
    int m_num_users = 0;
    int m_last_num_users = 1;
    char m_path[INPUT_PATH_SIZE] = "";
    UserControllerConfig m_configs[INPUT_MAX_USERS] = {};
    InputBinding m_bindings[INPUT_MAX_USERS] = {};
    EngUInt8 m_actions[INPUT_MAX_USERS][ENG_INPUT_MAX_DEVICES][ENG_INPUT_MAX_ELEMENTS];
};

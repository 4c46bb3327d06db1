#include "Game/Input.h"

#include <cstdio>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngPrefFolder.h"
#include "Engine/Core/EngString.h"
#include "Game/Controls.h"
#include "Game/Game.h"
#include "Game/SaveFile.h"
#include "Game/Users.h"

namespace {

constexpr int kKeyLeft = 37;
constexpr int kKeyRight = 39;
constexpr int kKeyAccelerate = 65;
constexpr int kKeyPause = 27;
constexpr int kPauseButton = 9;
constexpr int kKeepLastCount = 255;

typedef char SlotNames[INPUT_NUM_SLOTS][ENG_INPUT_ELEMENT_NAME_SIZE];

void SetName(SlotNames names, int slot, const char* name)
{
    EngSafeStrcpy(names[slot], name, ENG_INPUT_ELEMENT_NAME_SIZE);
}

bool IsTerminated(const char* field, int size)
{
    return memchr(field, 0, size_t(size)) != nullptr;
}

void AcquireDevices(const bool* wanted)
{
    for (int device = 0; device < EngInputGetNumDevices(); device++) {
        if (wanted[device] && !EngInputIsDeviceAcquired(device, false))
            EngInputAcquireDevice(device);
    }
}

} // namespace

Input::Input(Game* game) : m_game(game)
{
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game.");
    memset(m_actions, INPUT_ACTION_UNBOUND, sizeof m_actions);
}

bool Input::IsValidUser(int user, const char* own_name) const
{
    if (user >= 0 && user < INPUT_MAX_USERS)
        return true;
    DebugError(own_name, "Invalid user num %d", user);
    return false;
}

const UserControllerConfig* Input::GetConfig(int user) const
{
    return user >= 0 && user < INPUT_MAX_USERS ? &m_configs[user] : nullptr;
}

InputBinding* Input::GetBinding(int user)
{
    return user >= 0 && user < INPUT_MAX_USERS ? &m_bindings[user] : nullptr;
}

int Input::GetAction(int user, int device, int element) const
{
    if (user < 0 || user >= INPUT_MAX_USERS || device < 0 || device >= ENG_INPUT_MAX_DEVICES || element < 0 ||
        element >= ENG_INPUT_MAX_ELEMENTS)
        return INPUT_ACTION_UNBOUND;
    return m_actions[user][device][element];
}

bool Input::Init()
{
    EngInputInit();
    EngInputSetDevicesToUse(false, true, true, true);
    if (!EngInputSetup()) {
        DebugError(ENG_FUNC, "EngInputSetup() Failed");
        return false;
    }
    EngInputCreateAllDevices();
    return NewUsers(1);
}

bool Input::NewUsers(int count)
{
    if (count == kKeepLastCount)
        count = m_last_num_users;
    if (count != 1 && count != 2) {
        DebugError(ENG_FUNC, "Invalid num users %d", count);
        return false;
    }
    m_num_users = count;
    m_last_num_users = count;
    for (int user = 0; user < count; user++)
        LoadUserConfig(user);
    return true;
}

bool Input::LoadUserConfig(int user)
{
    if (!IsValidUser(user, ENG_FUNC))
        return false;
    bool was_acquired[ENG_INPUT_MAX_DEVICES] = {};
    for (int device = 0; device < EngInputGetNumDevices(); device++)
        was_acquired[device] = EngInputIsDeviceAcquired(device, false);
    EngInputUnacquireAllDevices();
    bool read = ReadUserConfig(user);
    if (!read) {
        SetDefaultConfig(user);
        SaveUserConfig(user);
    }
    BindUserConfig(user);
    MapDevices();
    AcquireDevices(was_acquired);
    return read;
}

void Input::SetDefaultNames(int device, SlotNames names)
{
    memset(names, 0, sizeof(SlotNames));
    const EngInputDevice* record = EngInputGetDevice(device);
    if (!record)
        return;
    switch (record->kind) {
    case ENG_INPUT_DEVICE_MOUSE:
        SetName(names, INPUT_ACTION_LEFT, EngInputGetMouseButtonName(device, 0));
        SetName(names, INPUT_ACTION_RIGHT, EngInputGetMouseButtonName(device, 1));
        SetName(names, INPUT_ACTION_ACCELERATE, EngInputGetMouseButtonName(device, 2));
        break;
    case ENG_INPUT_DEVICE_KEYBOARD:
        SetName(names, INPUT_ACTION_LEFT, EngInputGetKeyElementName(device, kKeyLeft));
        SetName(names, INPUT_ACTION_RIGHT, EngInputGetKeyElementName(device, kKeyRight));
        SetName(names, INPUT_ACTION_ACCELERATE, EngInputGetKeyElementName(device, kKeyAccelerate));
        SetName(names, INPUT_ACTION_PAUSE, EngInputGetKeyElementName(device, kKeyPause));
        break;
    case ENG_INPUT_DEVICE_JOYSTICK:
        SetName(names, INPUT_ACTION_STEERING_AXIS, EngInputGetJoystickAxisName(device, 0));
        SetName(names, INPUT_ACTION_SECOND_AXIS, EngInputGetJoystickAxisName(device, 1));
        SetName(names, INPUT_ACTION_POV, EngInputGetJoystickPovName(device));
        SetName(names, INPUT_ACTION_ACCELERATOR_AXIS, EngInputGetJoystickAxisName(device, 2));
        SetName(names, INPUT_ACTION_ACCELERATE, EngInputGetJoystickButtonName(device, 0));
        SetName(names, INPUT_ACTION_PAUSE, EngInputGetJoystickButtonName(device, kPauseButton));
        break;
    default:
        break;
    }
}

void Input::SetDefaultConfig(int user)
{
    if (!IsValidUser(user, ENG_FUNC))
        return;
    UserControllerConfig* config = &m_configs[user];
    memset(config, 0, sizeof *config);
    config->version = INPUT_CONFIG_VERSION;
    int count = EngInputGetNumDevices();
    if (count <= 0) {
        DebugInfoQuick(ENG_FUNC, "No devices");
        return;
    }
    if (count > INPUT_MAX_ENTRIES)
        count = INPUT_MAX_ENTRIES;
    bool keyboard_taken = false;
    for (int device = 0; device < count; device++) {
        UserControllerEntry* entry = &config->entries[device];
        const EngInputDevice* record = EngInputGetDevice(device);
        memcpy(entry->guid, record->instance_id, sizeof entry->guid);
        SetDefaultNames(device, entry->element_names);
        if (record->kind == ENG_INPUT_DEVICE_KEYBOARD && !keyboard_taken) {
            entry->in_use = 1;
            keyboard_taken = true;
        }
    }
    config->num_entries = count;
}

const char* Input::BuildFilename(int user, bool create_folder)
{
    UsersClass* users = m_game->GetUsers();
    const UserRecord* record = users ? users->GetUser(user) : nullptr;
    if (!record || !record->name[0])
        return nullptr;
    char name[USER_NAME_SIZE];
    EngSafeStrcpy(name, record->name, sizeof name);
    if (!UsersIsSafeName(name)) {
        DebugError(ENG_FUNC, "Unsafe driver name <%s>", name);
        return nullptr;
    }
    const char* folder = PrefFolderGetSubFolder(USERS_DRIVERS_FOLDER, create_folder);
    int written = snprintf(m_path, sizeof m_path, "%s%s%s_Controllers.csc", folder, "\\", name);
    if (written < 0 || written >= int(sizeof m_path)) {
        DebugError(ENG_FUNC, "Filename too long");
        return nullptr;
    }
    return m_path;
}

bool Input::SaveUserConfig(int user)
{
    if (!IsValidUser(user, ENG_FUNC))
        return false;
    const char* name = BuildFilename(user, true);
    if (!name)
        return false;
    m_configs[user].version = INPUT_CONFIG_VERSION;
    return GameSaveFileSafely(name, &m_configs[user], sizeof m_configs[user]);
}

bool Input::IsConfigSane(const UserControllerConfig& config) const
{
    if (config.num_entries < 0 || config.num_entries > INPUT_MAX_ENTRIES)
        return false;
    for (const UserControllerEntry& entry : config.entries) {
        if (entry.in_use > 1)
            return false;
        for (const char* name : entry.element_names) {
            if (!IsTerminated(name, ENG_INPUT_ELEMENT_NAME_SIZE))
                return false;
        }
    }
    return true;
}

bool Input::ReadUserConfig(int user)
{
    if (!IsValidUser(user, ENG_FUNC))
        return false;
    const char* name = BuildFilename(user, false);
    if (!name)
        return false;
    EngFile file;
    float version = 0.0f;
    if (!file.OpenForReadingQuietly(name, false) || !file.Read(&version, sizeof version, false))
        return false;
    if (version != INPUT_CONFIG_VERSION || file.GetSize() != sizeof(UserControllerConfig)) {
        DebugInfoQuick(ENG_FUNC, "Ignoring controller file of wrong version or size <%s>", name);
        return false;
    }
    UserControllerConfig config;
    if (!file.Rewind() || !file.Read(&config, sizeof config, true))
        return false;
    if (!IsConfigSane(config)) {
        DebugInfoQuick(ENG_FUNC, "Ignoring damaged controller file <%s>", name);
        return false;
    }
    m_configs[user] = config;
    return true;
}

int Input::FindEntry(int user, const EngUInt8* guid) const
{
    const UserControllerConfig& config = m_configs[user];
    for (int entry = 0; entry < config.num_entries; entry++) {
        if (memcmp(config.entries[entry].guid, guid, ENG_INPUT_INSTANCE_ID_SIZE) == 0)
            return entry;
    }
    return -1;
}

int Input::ChooseCurrentDevice(int user) const
{
    int count = EngInputGetNumDevices();
    for (int device = 0; device < count; device++) {
        if (memcmp(EngInputGetDevice(device)->instance_id, m_configs[user].current_guid,
                   ENG_INPUT_INSTANCE_ID_SIZE) == 0)
            return device;
    }
    for (int device = 0; device < count; device++) {
        if (m_bindings[user].in_use[device])
            return device;
    }
    return 0;
}

void Input::BindUserConfig(int user)
{
    if (!IsValidUser(user, ENG_FUNC))
        return;
    InputBinding* binding = &m_bindings[user];
    memset(binding->in_use, 0, sizeof binding->in_use);
    memset(binding->elements, 0xFF, sizeof binding->elements);
    for (int device = 0; device < EngInputGetNumDevices(); device++) {
        SlotNames names;
        int entry = FindEntry(user, EngInputGetDevice(device)->instance_id);
        if (entry >= 0) {
            memcpy(names, m_configs[user].entries[entry].element_names, sizeof names);
            binding->in_use[device] = m_configs[user].entries[entry].in_use;
        } else {
            SetDefaultNames(device, names);
        }
        for (int slot = 0; slot < INPUT_NUM_SLOTS; slot++)
            binding->elements[device][slot] = short(names[slot][0] ? EngInputFindElementByName(device, names[slot]) : -1);
    }
    binding->current_device = ChooseCurrentDevice(user);
}

// A present device's entry: its own, else a new one, else one of a device that is not present, else the last.
int Input::ChooseEntryToStore(int user, int device) const
{
    const UserControllerConfig& config = m_configs[user];
    int entry = FindEntry(user, EngInputGetDevice(device)->instance_id);
    if (entry >= 0)
        return entry;
    if (config.num_entries < INPUT_MAX_ENTRIES)
        return config.num_entries;
    for (entry = 0; entry < config.num_entries; entry++) {
        bool present = false;
        for (int other = 0; other < EngInputGetNumDevices() && !present; other++)
            present = memcmp(config.entries[entry].guid, EngInputGetDevice(other)->instance_id,
                             ENG_INPUT_INSTANCE_ID_SIZE) == 0;
        if (!present)
            return entry;
    }
    return INPUT_MAX_ENTRIES - 1;
}

void Input::StoreDeviceMappings(int user)
{
    if (!IsValidUser(user, ENG_FUNC))
        return;
    UserControllerConfig* config = &m_configs[user];
    const InputBinding& binding = m_bindings[user];
    config->version = INPUT_CONFIG_VERSION;
    for (int device = 0; device < EngInputGetNumDevices(); device++) {
        int index = ChooseEntryToStore(user, device);
        if (index == config->num_entries)
            config->num_entries++;
        UserControllerEntry* entry = &config->entries[index];
        memset(entry, 0, sizeof *entry);
        entry->in_use = binding.in_use[device] ? 1 : 0;
        memcpy(entry->guid, EngInputGetDevice(device)->instance_id, sizeof entry->guid);
        for (int slot = 0; slot < INPUT_NUM_SLOTS; slot++)
            SetName(entry->element_names, slot, EngInputGetElementName(device, binding.elements[device][slot]));
    }
    const EngInputDevice* current = EngInputGetDevice(binding.current_device);
    if (current)
        memcpy(config->current_guid, current->instance_id, sizeof config->current_guid);
}

void Input::ResetUserConfig(int user)
{
    if (!IsValidUser(user, ENG_FUNC))
        return;
    SetDefaultConfig(user);
    SaveUserConfig(user);
    BindUserConfig(user);
}

// Callbacks by which users have each device in use, and the action of every bound element.
void Input::MapDevices()
{
    memset(m_actions, INPUT_ACTION_UNBOUND, sizeof m_actions);
    for (int device = 0; device < EngInputGetNumDevices(); device++) {
        bool used[INPUT_MAX_USERS] = {};
        for (int user = 0; user < m_num_users; user++) {
            used[user] = m_bindings[user].in_use[device] != 0;
            for (int slot = 0; used[user] && slot < INPUT_NUM_SLOTS; slot++) {
                int element = m_bindings[user].elements[device][slot];
                if (element >= 0 && element < ENG_INPUT_MAX_ELEMENTS)
                    m_actions[user][device][element] = EngUInt8(slot);
            }
        }
        EngInputDeviceDataCB callback = nullptr;
        if (used[0] && used[1])
            callback = StaticDeviceDataBothUsersCB;
        else if (used[0])
            callback = StaticDeviceDataUser0CB;
        else if (used[1])
            callback = StaticDeviceDataUser1CB;
        EngInputSetDeviceDataCallback(device, callback, this);
    }
}

void Input::ResetForRace()
{
    m_game->GetControls()->Reset();
    MapDevices();
    bool in_use[ENG_INPUT_MAX_DEVICES] = {};
    for (int device = 0; device < EngInputGetNumDevices(); device++) {
        for (int user = 0; user < m_num_users; user++)
            in_use[device] = in_use[device] || m_bindings[user].in_use[device];
    }
    AcquireDevices(in_use);
}

void Input::Release()
{
    EngInputUnacquireAllDevices();
    m_game->GetControls()->Reset();
}

void Input::ApplyAction(int user, int action, int element, int value, bool pressed)
{
    Controls* controls = m_game->GetControls();
    switch (action) {
    case INPUT_ACTION_STEERING_AXIS: {
        const UserRecord* profile = m_game->GetUsers() ? m_game->GetUsers()->GetUser(user) : nullptr;
        controls->SetSteeringAxis(user, value, profile ? profile->steering : USER_MAX_CAR_SETTING);
        break;
    }
    case INPUT_ACTION_POV:
        controls->SetPov(user, value);
        break;
    case INPUT_ACTION_LEFT:
        controls->SetLeft(user, pressed);
        break;
    case INPUT_ACTION_RIGHT:
        controls->SetRight(user, pressed);
        break;
    case INPUT_ACTION_ACCELERATOR_AXIS:
        controls->SetAcceleratorAxis(user, value);
        break;
    case INPUT_ACTION_ACCELERATE:
        controls->SetAccelerate(user, pressed);
        break;
    case INPUT_ACTION_PAUSE:
        // The race tick reads Escape from the key-state table.
        EngKeyStateTable[ENG_VK_ESCAPE] = EngUInt8(ENG_KEY_STATE_DOWN * (pressed ? 1 : 0));
        break;
    case INPUT_ACTION_SECOND_AXIS:
    case INPUT_ACTION_UNBOUND:
        break;
    default:
        DebugError(ENG_FUNC, "Undefined element / action : %d / %d", element, action);
        break;
    }
}

void Input::UserDeviceDataCB(int user, int device, int element, int value, bool pressed)
{
    if (!IsValidUser(user, ENG_FUNC))
        return;
    ApplyAction(user, GetAction(user, device, element), element, value, pressed);
}

void Input::StaticDeviceDataBothUsersCB(int device, int element, int data, bool on, void* input)
{
    static_cast<Input*>(input)->UserDeviceDataCB(0, device, element, data, on);
    static_cast<Input*>(input)->UserDeviceDataCB(1, device, element, data, on);
}

void Input::StaticDeviceDataUser0CB(int device, int element, int data, bool on, void* input)
{
    static_cast<Input*>(input)->UserDeviceDataCB(0, device, element, data, on);
}

void Input::StaticDeviceDataUser1CB(int device, int element, int data, bool on, void* input)
{
    static_cast<Input*>(input)->UserDeviceDataCB(1, device, element, data, on);
}

#include "Engine/Core/EngInputDevices.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngInputDevices_PC.h"

#include <cstring>

namespace {

enum _InputSetupState
{
    INPUT_STATE_BEFORE_INIT = -1,
    INPUT_STATE_INITIALISED = 0,
    INPUT_STATE_SET_UP = 1,
};

struct KeyEvent
{
    int key;
    bool down;
};

struct InputModule
{
    EngInputDevice devices[ENG_INPUT_MAX_DEVICES];
    int num_devices = 0;
    signed char setup_state = INPUT_STATE_BEFORE_INIT;
    bool wanted[ENG_INPUT_DEVICE_OTHER + 1] = {};

    KeyEvent key_buffer[ENG_INPUT_KEYBOARD_BUFFER_SIZE];
    int key_count = 0;
    // The layer's own view of the keys, so auto-repeat does not flood the buffer and a release that did not
    // fit is delivered once there is room: no key stays down for ever.
    bool key_down[ENG_INPUT_NUM_KEYS] = {};
    bool release_pending[ENG_INPUT_NUM_KEYS] = {};
};

InputModule g_input;

const EngUInt8 k_keyboard_instance_id[ENG_INPUT_INSTANCE_ID_SIZE] = {'E', 'n', 'g', 'K', 'e', 'y', 'b', 'o',
                                                                    'a', 'r', 'd', 0,   0,   0,   0,   1};

bool IsValidDevice(int device)
{
    return device >= 0 && device < g_input.num_devices;
}

void ClearDevice(EngInputDevice* record)
{
    std::memset(record, 0, sizeof(*record));
    for (short& entry : record->element_map)
        entry = -1;
}

void ClearKeyboardState()
{
    g_input.key_count = 0;
    std::memset(g_input.key_down, 0, sizeof(g_input.key_down));
    std::memset(g_input.release_pending, 0, sizeof(g_input.release_pending));
}

void PushKeyEvent(int key, bool down)
{
    g_input.key_buffer[g_input.key_count].key = key;
    g_input.key_buffer[g_input.key_count].down = down;
    g_input.key_count++;
}

// Releases that found the buffer full go in as soon as there is room.
void QueuePendingReleases()
{
    for (int key = 0; key < ENG_INPUT_NUM_KEYS && g_input.key_count < ENG_INPUT_KEYBOARD_BUFFER_SIZE; key++) {
        if (!g_input.release_pending[key])
            continue;
        g_input.release_pending[key] = false;
        PushKeyEvent(key, false);
    }
}

bool PollKeyboard(int device)
{
    if (g_input.key_count == 0)
        return false;
    KeyEvent event = g_input.key_buffer[0];
    g_input.key_count--;
    std::memmove(&g_input.key_buffer[0], &g_input.key_buffer[1], (size_t)g_input.key_count * sizeof(KeyEvent));
    QueuePendingReleases();
    EngInputDeliver(device, event.key, 0, event.down);
    return true;
}

bool CreateKeyboard(int device)
{
    for (int key = 0; key < ENG_INPUT_NUM_KEYS; key++) {
        int element = EngInputAddElement(device, EngInputGetKeyName(key), ENG_INPUT_ELEMENT_BUTTON, ENG_INPUT_AXIS_NONE);
        if (element < 0)
            return false;
        g_input.devices[device].element_map[ENG_INPUT_MAP_KEY + key] = (short)element;
    }
    return true;
}

// The name of the element that a map entry points at, for a device of one of the given kinds.
const char* MappedElementName(int device, int kind_a, int kind_b, int entry)
{
    if (!IsValidDevice(device) || entry < 0 || entry >= ENG_INPUT_MAP_SIZE)
        return "";
    const EngInputDevice& record = g_input.devices[device];
    if (record.kind != kind_a && record.kind != kind_b)
        return "";
    return EngInputGetElementName(device, record.element_map[entry]);
}

struct KeyName
{
    int code;
    const char* name;
};

const KeyName k_key_names[] = {
    {8, "Backspace"},      {9, "Tab"},          {13, "Return"},         {16, "Shift"},
    {17, "Control"},       {20, "Caps Lock"},   {27, "Escape"},         {32, "Space"},
    {33, "Page Up"},       {34, "Page Down"},   {35, "End"},            {36, "Home"},
    {37, "Left Arrow"},    {38, "Up Arrow"},    {39, "Right Arrow"},    {40, "Down Arrow"},
    {45, "Insert"},        {46, "Delete"},      {91, "Left Win"},       {92, "Right Win"},
    {96, "Numpad 0"},      {97, "Numpad 1"},    {98, "Numpad 2"},       {99, "Numpad 3"},
    {100, "Numpad 4"},     {101, "Numpad 5"},   {102, "Numpad 6"},      {103, "Numpad 7"},
    {104, "Numpad 8"},     {105, "Numpad 9"},   {106, "Numpad *"},      {107, "Numpad +"},
    {109, "Numpad -"},     {110, "Numpad ."},   {111, "Numpad /"},      {112, "F1"},
    {113, "F2"},           {114, "F3"},         {115, "F4"},            {116, "F5"},
    {117, "F6"},           {118, "F7"},         {119, "F8"},            {120, "F9"},
    {121, "F10"},          {122, "F11"},        {123, "F12"},           {124, "F13"},
    {125, "F14"},          {126, "F15"},        {160, "Left Shift"},    {161, "Right Shift"},
    {162, "Left Control"}, {163, "Right Control"}, {164, "Left Menu"},  {165, "Right Menu"},
    {186, ";"},            {187, "+"},          {188, ","},             {189, "-"},
    {190, "."},            {191, "/"},          {192, "`"},             {219, "Left Bracket"},
    {220, "\\"},           {221, "Right Bracket"}, {222, "'"},          {226, "\\"},
    {227, "Help"},         {228, "00"},
};

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Set-up

void EngInputInit()
{
    g_input.setup_state = INPUT_STATE_INITIALISED;
    g_input.num_devices = 0;
    for (EngInputDevice& record : g_input.devices)
        ClearDevice(&record);
    ClearKeyboardState();
    EngInputInit_PC();
}

void EngInputSetDevicesToUse(bool mice, bool keyboard, bool joysticks, bool other_devices)
{
    g_input.wanted[ENG_INPUT_DEVICE_MOUSE] = mice;
    g_input.wanted[ENG_INPUT_DEVICE_KEYBOARD] = keyboard;
    g_input.wanted[ENG_INPUT_DEVICE_JOYSTICK] = joysticks;
    g_input.wanted[ENG_INPUT_DEVICE_OTHER] = other_devices;
}

bool EngInputWantsKind(int kind)
{
    return kind >= ENG_INPUT_DEVICE_MOUSE && kind <= ENG_INPUT_DEVICE_OTHER && g_input.wanted[kind];
}

bool EngInputSetup()
{
    if (g_input.setup_state == INPUT_STATE_BEFORE_INIT) {
        DebugError(ENG_FUNC, "Warning: init not called - calling now");
        EngInputInit();
    }
    if (g_input.setup_state == INPUT_STATE_SET_UP) {
        DebugError(ENG_FUNC, "Warning: Already setup");
        return true;
    }
    if (g_input.wanted[ENG_INPUT_DEVICE_KEYBOARD]) {
        EngInputDevice* keyboard = &g_input.devices[0];
        ClearDevice(keyboard);
        std::memcpy(keyboard->instance_id, k_keyboard_instance_id, sizeof(keyboard->instance_id));
        EngSafeStrcpy(keyboard->name, "Keyboard", sizeof(keyboard->name));
        keyboard->kind = ENG_INPUT_DEVICE_KEYBOARD;
        g_input.num_devices = 1;
    }
    if (!EngInputSetup_PC())
        return false;
    g_input.setup_state = INPUT_STATE_SET_UP;
    return true;
}

EngInputDevice* EngInputAddDeviceRecord(int kind, const char* name, const EngUInt8* instance_id)
{
    if (g_input.num_devices >= ENG_INPUT_MAX_DEVICES)
        return nullptr;
    EngInputDevice* record = &g_input.devices[g_input.num_devices++];
    ClearDevice(record);
    record->kind = kind;
    EngSafeStrcpy(record->name, name, sizeof(record->name));
    std::memcpy(record->instance_id, instance_id, sizeof(record->instance_id));
    return record;
}

bool EngInputCreateAllDevices()
{
    bool all = true;
    for (int device = 0; device < g_input.num_devices; device++)
        all = EngInputCreateDevice(device) && all;
    return all;
}

bool EngInputCreateDevice(int device)
{
    if (!IsValidDevice(device))
        return false;
    EngInputDevice& record = g_input.devices[device];
    record.num_elements = 0;
    for (short& entry : record.element_map)
        entry = -1;
    if (record.kind == ENG_INPUT_DEVICE_KEYBOARD)
        return CreateKeyboard(device);
    return EngInputCreateAndSetupDevice_PC(device);
}

int EngInputAddElement(int device, const char* name, int type, int axis_kind)
{
    if (!IsValidDevice(device))
        return -1;
    EngInputDevice& record = g_input.devices[device];
    if (record.num_elements >= ENG_INPUT_MAX_ELEMENTS) {
        DebugError(ENG_FUNC, "Warning: Device <%s> has too many elements", record.name);
        return -1;
    }
    EngInputElement& element = record.elements[record.num_elements];
    std::memset(&element, 0, sizeof(element));
    EngSafeStrcpy(element.name, name, sizeof(element.name));
    element.type = (signed char)type;
    element.axis_kind = (signed char)axis_kind;
    return record.num_elements++;
}

// ---------------------------------------------------------------------------------------------------------
// Acquiring and polling

bool EngInputAcquireDevice(int device)
{
    if (!IsValidDevice(device))
        return false;
    EngInputDevice& record = g_input.devices[device];
    if (record.acquired == 1) {
        DebugError(ENG_FUNC, "Device already acquired");
        return true;
    }
    if (record.kind == ENG_INPUT_DEVICE_KEYBOARD) {
        if (!eng_main_window) {
            DebugError(ENG_FUNC, "No main window");
            return false;
        }
        eng_main_window->SetKeyCallback(EngInputKeyboardInputCB);
        ClearKeyboardState();
    } else if (!EngInputAcquireDevice_PC(device)) {
        return false;
    }
    record.acquired = 1;
    return true;
}

bool EngInputUnacquireDevice(int device)
{
    if (!IsValidDevice(device))
        return false;
    EngInputDevice& record = g_input.devices[device];
    if (record.acquired == 0) {
        DebugError(ENG_FUNC, "Device not acquired");
        return false;
    }
    record.acquired = 0;
    if (record.kind != ENG_INPUT_DEVICE_KEYBOARD)
        return EngInputUnacquireDevice_PC(device);
    if (eng_main_window)
        eng_main_window->SetKeyCallback(nullptr);
    else
        DebugError(ENG_FUNC, "No main window");
    return true;
}

void EngInputUnacquireAllDevices()
{
    for (int device = 0; device < g_input.num_devices; device++) {
        if (g_input.devices[device].acquired != 0)
            EngInputUnacquireDevice(device);
    }
}

bool EngInputIsDeviceAcquired(int device, bool count_lost)
{
    if (!IsValidDevice(device))
        return false;
    signed char acquired = g_input.devices[device].acquired;
    return acquired == 1 || (count_lost && acquired == -1);
}

bool EngInputIsAnyDeviceAcquired(bool count_lost)
{
    for (int device = 0; device < g_input.num_devices; device++) {
        if (EngInputIsDeviceAcquired(device, count_lost))
            return true;
    }
    return false;
}

bool EngInputPollDevice(int device)
{
    if (!IsValidDevice(device))
        return false;
    if (g_input.devices[device].kind == ENG_INPUT_DEVICE_KEYBOARD)
        return PollKeyboard(device);
    return EngInputPollDevice_PC(device);
}

void EngInputPollAllDevices()
{
    for (int device = 0; device < g_input.num_devices; device++) {
        if (g_input.devices[device].acquired == 1)
            EngInputPollDevice(device);
    }
}

void EngInputKeyboardInputCB(int virtual_key, bool down)
{
    if (virtual_key < 0 || virtual_key >= ENG_INPUT_NUM_KEYS)
        return;
    // Auto-repeat: the key is already down as far as the game knows.
    if (down && g_input.key_down[virtual_key])
        return;
    g_input.key_down[virtual_key] = down;
    QueuePendingReleases();
    if (g_input.key_count >= ENG_INPUT_KEYBOARD_BUFFER_SIZE) {
        DebugError(ENG_FUNC, "Buffer overflow");
        g_input.release_pending[virtual_key] = !down;
        return;
    }
    g_input.release_pending[virtual_key] = false;
    PushKeyEvent(virtual_key, down);
}

void EngInputDeliver(int device, int element, int data, bool on)
{
    if (!IsValidDevice(device))
        return;
    EngInputDevice& record = g_input.devices[device];
    if (record.data_callback) {
        record.data_callback(device, element, data, on, record.data_user);
        return;
    }
    if (element < 0 || element >= record.num_elements)
        return;
    EngInputElement& target = record.elements[element];
    if (target.callback)
        target.callback(data, on, target.user);
}

bool EngInputSetDeviceDataCallback(int device, EngInputDeviceDataCB callback, void* user)
{
    if (g_input.setup_state != INPUT_STATE_SET_UP) {
        DebugError(ENG_FUNC, "Not Setup");
        return false;
    }
    if (!IsValidDevice(device)) {
        DebugError(ENG_FUNC, "Bad Device Num %d (%d)", device, g_input.num_devices);
        return false;
    }
    g_input.devices[device].data_callback = callback;
    g_input.devices[device].data_user = user;
    return true;
}

bool EngInputSetElementCallback(int device, int element, EngInputElementCB callback, void* user)
{
    if (!IsValidDevice(device) || element < 0 || element >= g_input.devices[device].num_elements)
        return false;
    g_input.devices[device].elements[element].callback = callback;
    g_input.devices[device].elements[element].user = user;
    return true;
}

void EngInputShutdown()
{
    EngInputUnacquireAllDevices();
    EngInputShutdown_PC();
    EngInputInit();
}

// ---------------------------------------------------------------------------------------------------------
// Records and names

int EngInputGetNumDevices()
{
    return g_input.num_devices;
}

const EngInputDevice* EngInputGetDevice(int device)
{
    return IsValidDevice(device) ? &g_input.devices[device] : nullptr;
}

EngInputDevice* EngInputGetDeviceRecord(int device)
{
    return IsValidDevice(device) ? &g_input.devices[device] : nullptr;
}

const char* EngInputGetDeviceName(int device)
{
    if (g_input.setup_state != INPUT_STATE_SET_UP)
        return "-";
    return IsValidDevice(device) ? g_input.devices[device].name : "XXX";
}

const char* EngInputGetElementName(int device, int element)
{
    if (!IsValidDevice(device) || element < 0 || element >= g_input.devices[device].num_elements)
        return "";
    return g_input.devices[device].elements[element].name;
}

const char* EngInputGetMouseButtonName(int mouse, int button)
{
    if (button < 0 || button >= ENG_INPUT_NUM_MOUSE_BUTTONS)
        return "";
    return MappedElementName(mouse, ENG_INPUT_DEVICE_MOUSE, ENG_INPUT_DEVICE_MOUSE, ENG_INPUT_MAP_MOUSE_BUTTON + button);
}

const char* EngInputGetKeyElementName(int keyboard, int key)
{
    if (key < 0 || key >= ENG_INPUT_NUM_KEYS)
        return "";
    return MappedElementName(keyboard, ENG_INPUT_DEVICE_KEYBOARD, ENG_INPUT_DEVICE_KEYBOARD, ENG_INPUT_MAP_KEY + key);
}

const char* EngInputGetJoystickAxisName(int device, int axis)
{
    if (axis < 0 || axis >= ENG_INPUT_NUM_JOYSTICK_AXES)
        return "";
    return MappedElementName(device, ENG_INPUT_DEVICE_JOYSTICK, ENG_INPUT_DEVICE_OTHER, ENG_INPUT_MAP_JOYSTICK_AXIS + axis);
}

const char* EngInputGetJoystickButtonName(int device, int button)
{
    if (button < 0 || button >= ENG_INPUT_NUM_JOYSTICK_BUTTONS)
        return "";
    return MappedElementName(device, ENG_INPUT_DEVICE_JOYSTICK, ENG_INPUT_DEVICE_OTHER,
                             ENG_INPUT_MAP_JOYSTICK_BUTTON + button);
}

const char* EngInputGetJoystickPovName(int device)
{
    return MappedElementName(device, ENG_INPUT_DEVICE_JOYSTICK, ENG_INPUT_DEVICE_OTHER, ENG_INPUT_MAP_JOYSTICK_POV);
}

int EngInputFindElementByName(int device, const char* name)
{
    if (!IsValidDevice(device) || !name)
        return -1;
    const EngInputDevice& record = g_input.devices[device];
    for (int element = 0; element < record.num_elements; element++) {
        if (std::strcmp(record.elements[element].name, name) == 0)
            return element;
    }
    return -1;
}

const char* EngInputGetKeyName(int virtual_key)
{
    for (const KeyName& entry : k_key_names) {
        if (entry.code == virtual_key)
            return entry.name;
    }
    static char one_character[2];
    one_character[0] = (char)virtual_key;
    one_character[1] = 0;
    return one_character;
}

#pragma once

// Device-independent input: the keyboard (fed by the main window's key messages), mice, game controllers
// and other devices. Every device is a list of named elements (keys, buttons, axes, point-of-view hats);
// polling hands each change to a callback. Main thread only.

#include "Engine/Core/EngTypes.h"

enum _EngInputDeviceKind
{
    ENG_INPUT_DEVICE_NONE = 0,
    ENG_INPUT_DEVICE_MOUSE = 1,
    ENG_INPUT_DEVICE_KEYBOARD = 2,
    ENG_INPUT_DEVICE_JOYSTICK = 3,
    ENG_INPUT_DEVICE_OTHER = 4,
};

enum _EngInputElementType
{
    ENG_INPUT_ELEMENT_BUTTON = 1,
    ENG_INPUT_ELEMENT_AXIS = 2,
    ENG_INPUT_ELEMENT_POV = 3,
};

enum _EngInputAxisKind
{
    ENG_INPUT_AXIS_NONE = 0,
    ENG_INPUT_AXIS_ABSOLUTE = 1,
    ENG_INPUT_AXIS_RELATIVE = 2,
};

// Direction codes of a point-of-view hat (the data of its events).
enum _EngInputPovDirection
{
    ENG_INPUT_POV_UNKNOWN = 0,
    ENG_INPUT_POV_UP = 1,
    ENG_INPUT_POV_DOWN = 2,
    ENG_INPUT_POV_LEFT = 3,
    ENG_INPUT_POV_RIGHT = 4,
    ENG_INPUT_POV_UP_LEFT = 5,
    ENG_INPUT_POV_UP_RIGHT = 6,
    ENG_INPUT_POV_DOWN_LEFT = 7,
    ENG_INPUT_POV_DOWN_RIGHT = 8,
    ENG_INPUT_POV_CENTRED = 9,
};

constexpr int ENG_INPUT_MAX_DEVICES = 25;
constexpr int ENG_INPUT_MAX_ELEMENTS = 1000;
constexpr int ENG_INPUT_DEVICE_NAME_SIZE = 128;
constexpr int ENG_INPUT_ELEMENT_NAME_SIZE = 24;
constexpr int ENG_INPUT_INSTANCE_ID_SIZE = 16;
constexpr int ENG_INPUT_KEYBOARD_BUFFER_SIZE = 32;
constexpr int ENG_INPUT_ITEMS_PER_POLL = 32;
constexpr int ENG_INPUT_AXIS_RANGE = 3000; // absolute axes report -3,000..3,000
constexpr int ENG_INPUT_BUTTON_DOWN = 0x80; // button data while held

// The element map of a device: entry -> element number, -1 when none.
constexpr int ENG_INPUT_MAP_MOUSE_AXIS = 0;       // 0-2: X, Y, Z (wheel)
constexpr int ENG_INPUT_MAP_MOUSE_BUTTON = 3;     // 3-10: buttons 0-7
constexpr int ENG_INPUT_MAP_KEY = 11;             // 11-266: keys 0-255
constexpr int ENG_INPUT_MAP_JOYSTICK_AXIS = 267;  // 267-274: X, Y, Z, X rot, Y rot, Z rot, slider 0, slider 1
constexpr int ENG_INPUT_MAP_JOYSTICK_POV = 275;
constexpr int ENG_INPUT_MAP_JOYSTICK_BUTTON = 276; // 276-307: buttons 0-31
constexpr int ENG_INPUT_MAP_SIZE = 308;
constexpr int ENG_INPUT_NUM_MOUSE_AXES = 3;
constexpr int ENG_INPUT_NUM_MOUSE_BUTTONS = 8;
constexpr int ENG_INPUT_NUM_KEYS = 256;
constexpr int ENG_INPUT_NUM_JOYSTICK_AXES = 8;
constexpr int ENG_INPUT_NUM_JOYSTICK_BUTTONS = 32;

// (device, element, data, on, user). Keys: data 0, on = down. Buttons: data 0x80 or 0; axes: the value;
// hats: the direction code; on tells that the data is not at rest.
typedef void (*EngInputDeviceDataCB)(int device, int element, int data, bool on, void* user);
// (data, on, user) for an element's own callback.
typedef void (*EngInputElementCB)(int data, bool on, void* user);

struct EngInputElement
{
    char name[ENG_INPUT_ELEMENT_NAME_SIZE];
    signed char type;      // _EngInputElementType
    signed char axis_kind; // _EngInputAxisKind
    EngInputElementCB callback;
    void* user;
};

struct EngInputDevice
{
    EngUInt8 instance_id[ENG_INPUT_INSTANCE_ID_SIZE]; // stable per device across runs
    char name[ENG_INPUT_DEVICE_NAME_SIZE];
    int kind; // _EngInputDeviceKind
    int num_elements;
    EngInputElement elements[ENG_INPUT_MAX_ELEMENTS];
    short element_map[ENG_INPUT_MAP_SIZE];
    EngInputDeviceDataCB data_callback;
    void* data_user;
    signed char acquired; // 0 not acquired, 1 acquired, -1 lost
};

void EngInputInit();
void EngInputSetDevicesToUse(bool mice, bool keyboard, bool joysticks, bool other_devices);
bool EngInputSetup();
bool EngInputCreateAllDevices();
bool EngInputCreateDevice(int device);
bool EngInputAcquireDevice(int device);
bool EngInputUnacquireDevice(int device);
void EngInputUnacquireAllDevices();
bool EngInputIsDeviceAcquired(int device, bool count_lost);
bool EngInputIsAnyDeviceAcquired(bool count_lost);
// Keyboard: passes the oldest buffered key event (one per call); false when none was waiting.
bool EngInputPollDevice(int device);
void EngInputPollAllDevices();
// Installed as the main window's key callback while the keyboard is acquired.
void EngInputKeyboardInputCB(int virtual_key, bool down);
bool EngInputSetDeviceDataCallback(int device, EngInputDeviceDataCB callback, void* user);
bool EngInputSetElementCallback(int device, int element, EngInputElementCB callback, void* user);
void EngInputShutdown();

int EngInputGetNumDevices();
// The record of a device, or null for a bad number.
const EngInputDevice* EngInputGetDevice(int device);

// Names. Bad numbers give "" (device names: "-" before set-up, "XXX" for a bad number).
const char* EngInputGetDeviceName(int device);
const char* EngInputGetElementName(int device, int element);
const char* EngInputGetMouseButtonName(int mouse, int button);
const char* EngInputGetKeyElementName(int keyboard, int key);
const char* EngInputGetJoystickAxisName(int device, int axis);
const char* EngInputGetJoystickButtonName(int device, int button);
const char* EngInputGetJoystickPovName(int device);
int EngInputFindElementByName(int device, const char* name);
// The name of a Windows virtual-key code; codes without a name give the code as a one-character string.
const char* EngInputGetKeyName(int virtual_key);

// Used by the platform half.
EngInputDevice* EngInputGetDeviceRecord(int device);
// Lists one more device; null when all records are taken.
EngInputDevice* EngInputAddDeviceRecord(int kind, const char* name, const EngUInt8* instance_id);
// Adds an element to a device; -1 when the device is full.
int EngInputAddElement(int device, const char* name, int type, int axis_kind);
// Hands one item to the device's callback, else to the element's own callback.
void EngInputDeliver(int device, int element, int data, bool on);
bool EngInputWantsKind(int kind);

#include "Engine/Core/PC/EngInputDevices_PC.h"

#include "Engine/Core/EngCodePage.h"
#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngInputDevices.h"

#include <SDL2/SDL.h>
#include <cstring>

namespace {

// Where the value of one map entry comes from.
enum _SourceKind : signed char
{
    SOURCE_NONE = 0,
    SOURCE_JOYSTICK_AXIS,
    SOURCE_JOYSTICK_HAT,
    SOURCE_JOYSTICK_BUTTON,
    SOURCE_PAD_AXIS,
    SOURCE_PAD_TRIGGERS, // both triggers on one axis: left raises it, right lowers it
    SOURCE_PAD_BUTTON,
    SOURCE_PAD_DPAD,
    SOURCE_MOUSE_AXIS,
    SOURCE_MOUSE_BUTTON,
};

struct Source
{
    signed char kind;
    signed char index;
    int last;
};

struct PcDevice
{
    int sdl_index;
    SDL_Joystick* joystick;
    SDL_GameController* controller;
    Source sources[ENG_INPUT_MAP_SIZE];
};

struct PcModule
{
    PcDevice devices[ENG_INPUT_MAX_DEVICES];
    bool subsystem_started = false;
    bool wheel_watch_installed = false;
    int wheel_accumulated = 0;
};

PcModule g_pc;

constexpr int k_wheel_delta = 120;
constexpr int k_sdl_axis_max = 32767;
constexpr int k_pov_centred = -1;

const char* const k_axis_names[ENG_INPUT_NUM_JOYSTICK_AXES] = {
    "X Axis", "Y Axis", "Z Axis", "X Rotation", "Y Rotation", "Z Rotation", "Slider", "Slider 2"};

const EngUInt8 k_mouse_instance_id[ENG_INPUT_INSTANCE_ID_SIZE] = {'E', 'n', 'g', 'M', 'o', 'u', 's', 'e',
                                                                 0,   0,   0,   0,   0,   0,   0,   1};

// A game controller's axes in the usual order of a pad seen as a joystick.
struct PadAxis
{
    int map_axis;
    signed char kind;
    SDL_GameControllerAxis axis;
};

const PadAxis k_pad_axes[] = {
    {0, SOURCE_PAD_AXIS, SDL_CONTROLLER_AXIS_LEFTX},     {1, SOURCE_PAD_AXIS, SDL_CONTROLLER_AXIS_LEFTY},
    {2, SOURCE_PAD_TRIGGERS, SDL_CONTROLLER_AXIS_INVALID}, {3, SOURCE_PAD_AXIS, SDL_CONTROLLER_AXIS_RIGHTX},
    {4, SOURCE_PAD_AXIS, SDL_CONTROLLER_AXIS_RIGHTY},
};

// Button numbers of a game controller are fixed by position, so a pad lacking a button keeps the numbers
// of the others.
const SDL_GameControllerButton k_pad_buttons[] = {
    SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,          SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,         SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_START,      SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK, SDL_CONTROLLER_BUTTON_GUIDE,     SDL_CONTROLLER_BUTTON_MISC1,
    SDL_CONTROLLER_BUTTON_PADDLE1,   SDL_CONTROLLER_BUTTON_PADDLE2,    SDL_CONTROLLER_BUTTON_PADDLE3,
    SDL_CONTROLLER_BUTTON_PADDLE4,   SDL_CONTROLLER_BUTTON_TOUCHPAD,
};

const SDL_GameControllerButton k_dpad_buttons[4] = {SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
                                                    SDL_CONTROLLER_BUTTON_DPAD_LEFT,
                                                    SDL_CONTROLLER_BUTTON_DPAD_RIGHT};
const Uint8 k_dpad_hat_bits[4] = {SDL_HAT_UP, SDL_HAT_DOWN, SDL_HAT_LEFT, SDL_HAT_RIGHT};

// Mouse buttons 0-3 of the engine: left, right, middle, first extra button.
const int k_mouse_sdl_buttons[] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1};

void ClearPcDevice(PcDevice* pc)
{
    std::memset(pc, 0, sizeof(*pc));
    pc->sdl_index = -1;
}

void CloseHandle(PcDevice* pc)
{
    if (pc->controller)
        SDL_GameControllerClose(pc->controller);
    else if (pc->joystick)
        SDL_JoystickClose(pc->joystick);
    pc->controller = nullptr;
    pc->joystick = nullptr;
}

void CloseAllHandles()
{
    for (PcDevice& pc : g_pc.devices)
        CloseHandle(&pc);
}

int SDLCALL WheelWatch(void*, SDL_Event* event)
{
    if (event->type != SDL_MOUSEWHEEL)
        return 0;
    int notches = event->wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event->wheel.y : event->wheel.y;
    g_pc.wheel_accumulated += notches * k_wheel_delta;
    return 0;
}

int KindOfJoystick(int sdl_index)
{
    switch (SDL_JoystickGetDeviceType(sdl_index)) {
    case SDL_JOYSTICK_TYPE_GUITAR:
    case SDL_JOYSTICK_TYPE_DRUM_KIT:
    case SDL_JOYSTICK_TYPE_DANCE_PAD:
        return ENG_INPUT_DEVICE_OTHER;
    default:
        return ENG_INPUT_DEVICE_JOYSTICK;
    }
}

// SDL's GUID, told apart from earlier devices of the same model by their count, so that two identical
// pads keep separate set-ups from one run to the next.
void MakeInstanceId(int sdl_index, EngUInt8 out[ENG_INPUT_INSTANCE_ID_SIZE])
{
    SDL_JoystickGUID guid = SDL_JoystickGetDeviceGUID(sdl_index);
    int same_model = 0;
    for (int i = 0; i < sdl_index; i++) {
        SDL_JoystickGUID other = SDL_JoystickGetDeviceGUID(i);
        same_model += std::memcmp(other.data, guid.data, sizeof(guid.data)) == 0;
    }
    std::memcpy(out, guid.data, ENG_INPUT_INSTANCE_ID_SIZE);
    out[6] ^= (EngUInt8)(same_model & 0xFF);
    out[7] ^= (EngUInt8)(same_model >> 8);
}

void GetJoystickName(int sdl_index, char* out, int size)
{
    const char* utf8 = SDL_IsGameController(sdl_index) ? SDL_GameControllerNameForIndex(sdl_index)
                                                       : SDL_JoystickNameForIndex(sdl_index);
    // A name longer than the field keeps its first characters.
    EngCodePageUtf8ToAnsi(utf8 && utf8[0] ? utf8 : "Joystick", out, size);
}

void ListJoysticks()
{
    for (int i = 0; i < SDL_NumJoysticks(); i++) {
        int kind = KindOfJoystick(i);
        if (!EngInputWantsKind(kind))
            continue;
        if (EngInputGetNumDevices() >= ENG_INPUT_MAX_DEVICES) {
            DebugError(ENG_FUNC, "Not all controller devices used (MAX=%d)", ENG_INPUT_MAX_DEVICES);
            break;
        }
        EngUInt8 id[ENG_INPUT_INSTANCE_ID_SIZE];
        char name[ENG_INPUT_DEVICE_NAME_SIZE];
        MakeInstanceId(i, id);
        GetJoystickName(i, name, (int)sizeof(name));
        EngInputAddDeviceRecord(kind, name, id);
        PcDevice& pc = g_pc.devices[EngInputGetNumDevices() - 1];
        ClearPcDevice(&pc);
        pc.sdl_index = i;
    }
}

bool OpenJoystick(int device, int sdl_index)
{
    PcDevice& pc = g_pc.devices[device];
    if (SDL_IsGameController(sdl_index)) {
        pc.controller = SDL_GameControllerOpen(sdl_index);
        pc.joystick = pc.controller ? SDL_GameControllerGetJoystick(pc.controller) : nullptr;
    } else {
        pc.joystick = SDL_JoystickOpen(sdl_index);
    }
    if (!pc.joystick) {
        DebugError(ENG_FUNC, "SDL_JoystickOpen: %s", SDL_GetError());
        CloseHandle(&pc);
        return false;
    }
    pc.sdl_index = sdl_index;
    return true;
}

// Finds the device again among those attached now (it may have been unplugged and plugged back).
bool ReopenJoystick(int device)
{
    const EngInputDevice* record = EngInputGetDevice(device);
    for (int i = 0; i < SDL_NumJoysticks(); i++) {
        EngUInt8 id[ENG_INPUT_INSTANCE_ID_SIZE];
        MakeInstanceId(i, id);
        if (std::memcmp(id, record->instance_id, sizeof(id)) == 0)
            return OpenJoystick(device, i);
    }
    DebugError(ENG_FUNC, "Device <%s> is not connected", record->name);
    return false;
}

bool AddMappedElement(int device, int entry, const char* name, int type, int axis_kind, signed char kind, int index)
{
    int element = EngInputAddElement(device, name, type, axis_kind);
    if (element < 0)
        return false;
    EngInputGetDeviceRecord(device)->element_map[entry] = (short)element;
    Source& source = g_pc.devices[device].sources[entry];
    source.kind = kind;
    source.index = (signed char)index;
    source.last = 0;
    return true;
}

bool AddButtonElement(int device, int button, signed char kind, int index)
{
    char name[ENG_INPUT_ELEMENT_NAME_SIZE];
    SDL_snprintf(name, sizeof(name), "Button %d", button);
    return AddMappedElement(device, ENG_INPUT_MAP_JOYSTICK_BUTTON + button, name, ENG_INPUT_ELEMENT_BUTTON,
                            ENG_INPUT_AXIS_NONE, kind, index);
}

bool AddPovElement(int device, signed char kind)
{
    return AddMappedElement(device, ENG_INPUT_MAP_JOYSTICK_POV, "Hat Switch", ENG_INPUT_ELEMENT_POV,
                            ENG_INPUT_AXIS_NONE, kind, 0);
}

bool AddAxisElement(int device, int axis, signed char kind, int index)
{
    return AddMappedElement(device, ENG_INPUT_MAP_JOYSTICK_AXIS + axis, k_axis_names[axis], ENG_INPUT_ELEMENT_AXIS,
                            ENG_INPUT_AXIS_ABSOLUTE, kind, index);
}

bool PadHasAxis(SDL_GameController* pad, const PadAxis& axis)
{
    if (axis.kind == SOURCE_PAD_TRIGGERS)
        return SDL_GameControllerHasAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT) ||
               SDL_GameControllerHasAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    return SDL_GameControllerHasAxis(pad, axis.axis);
}

bool CreateControllerElements(int device)
{
    SDL_GameController* pad = g_pc.devices[device].controller;
    for (const PadAxis& axis : k_pad_axes) {
        if (PadHasAxis(pad, axis) && !AddAxisElement(device, axis.map_axis, axis.kind, axis.axis))
            return false;
    }
    bool has_dpad = false;
    for (SDL_GameControllerButton button : k_dpad_buttons)
        has_dpad = has_dpad || SDL_GameControllerHasButton(pad, button);
    if (has_dpad && !AddPovElement(device, SOURCE_PAD_DPAD))
        return false;
    int count = (int)(sizeof(k_pad_buttons) / sizeof(k_pad_buttons[0]));
    for (int slot = 0; slot < count; slot++) {
        if (SDL_GameControllerHasButton(pad, k_pad_buttons[slot]) &&
            !AddButtonElement(device, slot, SOURCE_PAD_BUTTON, k_pad_buttons[slot]))
            return false;
    }
    return true;
}

int AtMost(int value, int limit)
{
    return value < 0 ? 0 : value < limit ? value : limit;
}

bool CreateJoystickElements(int device)
{
    SDL_Joystick* joystick = g_pc.devices[device].joystick;
    int axes = AtMost(SDL_JoystickNumAxes(joystick), ENG_INPUT_NUM_JOYSTICK_AXES);
    for (int axis = 0; axis < axes; axis++) {
        if (!AddAxisElement(device, axis, SOURCE_JOYSTICK_AXIS, axis))
            return false;
    }
    if (SDL_JoystickNumHats(joystick) > 0 && !AddPovElement(device, SOURCE_JOYSTICK_HAT))
        return false;
    int buttons = AtMost(SDL_JoystickNumButtons(joystick), ENG_INPUT_NUM_JOYSTICK_BUTTONS);
    for (int button = 0; button < buttons; button++) {
        if (!AddButtonElement(device, button, SOURCE_JOYSTICK_BUTTON, button))
            return false;
    }
    return true;
}

bool CreateMouseElements(int device)
{
    static const char* const k_mouse_axis_names[ENG_INPUT_NUM_MOUSE_AXES] = {"X Axis", "Y Axis", "Wheel"};
    for (int axis = 0; axis < ENG_INPUT_NUM_MOUSE_AXES; axis++) {
        if (!AddMappedElement(device, ENG_INPUT_MAP_MOUSE_AXIS + axis, k_mouse_axis_names[axis], ENG_INPUT_ELEMENT_AXIS,
                              ENG_INPUT_AXIS_RELATIVE, SOURCE_MOUSE_AXIS, axis))
            return false;
    }
    int count = (int)(sizeof(k_mouse_sdl_buttons) / sizeof(k_mouse_sdl_buttons[0]));
    for (int button = 0; button < count; button++) {
        char name[ENG_INPUT_ELEMENT_NAME_SIZE];
        SDL_snprintf(name, sizeof(name), "Button %d", button);
        if (!AddMappedElement(device, ENG_INPUT_MAP_MOUSE_BUTTON + button, name, ENG_INPUT_ELEMENT_BUTTON,
                              ENG_INPUT_AXIS_NONE, SOURCE_MOUSE_BUTTON, k_mouse_sdl_buttons[button]))
            return false;
    }
    if (!g_pc.wheel_watch_installed) {
        SDL_AddEventWatch(WheelWatch, nullptr);
        g_pc.wheel_watch_installed = true;
    }
    return true;
}

long HatToHundredths(Uint8 hat)
{
    switch (hat) {
    case SDL_HAT_UP:
        return 0;
    case SDL_HAT_RIGHTUP:
        return 4500;
    case SDL_HAT_RIGHT:
        return 9000;
    case SDL_HAT_RIGHTDOWN:
        return 13500;
    case SDL_HAT_DOWN:
        return 18000;
    case SDL_HAT_LEFTDOWN:
        return 22500;
    case SDL_HAT_LEFT:
        return 27000;
    case SDL_HAT_LEFTUP:
        return 31500;
    default:
        return k_pov_centred;
    }
}

Uint8 DpadToHat(SDL_GameController* pad)
{
    Uint8 hat = SDL_HAT_CENTERED;
    for (int i = 0; i < 4; i++) {
        if (SDL_GameControllerGetButton(pad, k_dpad_buttons[i]))
            hat |= k_dpad_hat_bits[i];
    }
    return hat;
}

int ButtonData(bool down)
{
    return down ? ENG_INPUT_BUTTON_DOWN : 0;
}

// The value of a source as the callbacks receive it.
int ReadSource(const PcDevice& pc, const Source& source)
{
    switch (source.kind) {
    case SOURCE_JOYSTICK_AXIS:
        return EngInputPcScaleAxis(SDL_JoystickGetAxis(pc.joystick, source.index));
    case SOURCE_JOYSTICK_HAT:
        return EngInputPcPovToDirection(HatToHundredths(SDL_JoystickGetHat(pc.joystick, source.index)));
    case SOURCE_JOYSTICK_BUTTON:
        return ButtonData(SDL_JoystickGetButton(pc.joystick, source.index) != 0);
    case SOURCE_PAD_AXIS:
        return EngInputPcScaleAxis(SDL_GameControllerGetAxis(pc.controller, (SDL_GameControllerAxis)source.index));
    case SOURCE_PAD_TRIGGERS:
        return EngInputPcScaleAxis(SDL_GameControllerGetAxis(pc.controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT) -
                                   SDL_GameControllerGetAxis(pc.controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
    case SOURCE_PAD_BUTTON:
        return ButtonData(SDL_GameControllerGetButton(pc.controller, (SDL_GameControllerButton)source.index) != 0);
    case SOURCE_PAD_DPAD:
        return EngInputPcPovToDirection(HatToHundredths(DpadToHat(pc.controller)));
    case SOURCE_MOUSE_BUTTON:
        return ButtonData((SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON(source.index)) != 0);
    default:
        return 0;
    }
}

bool IsOn(const Source& source, int data)
{
    if (source.kind == SOURCE_JOYSTICK_HAT || source.kind == SOURCE_PAD_DPAD)
        return data != ENG_INPUT_POV_CENTRED && data != ENG_INPUT_POV_UNKNOWN;
    return data != 0;
}

// Takes the current values as the starting point, so acquiring reports no change by itself.
void TakeBaseline(PcDevice* pc)
{
    for (Source& source : pc->sources) {
        if (source.kind != SOURCE_NONE && source.kind != SOURCE_MOUSE_AXIS)
            source.last = ReadSource(*pc, source);
    }
}

// Hands changed values to the callbacks, at most the items left for this poll; returns the items used.
int DeliverChanges(int device, int items_left)
{
    PcDevice& pc = g_pc.devices[device];
    const EngInputDevice* record = EngInputGetDevice(device);
    int used = 0;
    for (int entry = 0; entry < ENG_INPUT_MAP_SIZE && used < items_left; entry++) {
        Source& source = pc.sources[entry];
        if (source.kind == SOURCE_NONE || source.kind == SOURCE_MOUSE_AXIS)
            continue;
        int value = ReadSource(pc, source);
        if (value == source.last)
            continue;
        source.last = value;
        EngInputDeliver(device, record->element_map[entry], value, IsOn(source, value));
        used++;
    }
    return used;
}

int DeliverMouseMotion(int device)
{
    int motion[ENG_INPUT_NUM_MOUSE_AXES] = {0, 0, g_pc.wheel_accumulated};
    SDL_GetRelativeMouseState(&motion[0], &motion[1]);
    g_pc.wheel_accumulated = 0;
    const EngInputDevice* record = EngInputGetDevice(device);
    int used = 0;
    for (int axis = 0; axis < ENG_INPUT_NUM_MOUSE_AXES; axis++) {
        int element = record->element_map[ENG_INPUT_MAP_MOUSE_AXIS + axis];
        if (motion[axis] == 0 || element < 0)
            continue;
        EngInputDeliver(device, element, motion[axis], true);
        used++;
    }
    return used;
}

bool IsStick(int device)
{
    const EngInputDevice* record = EngInputGetDevice(device);
    return record && record->kind != ENG_INPUT_DEVICE_MOUSE && record->kind != ENG_INPUT_DEVICE_KEYBOARD;
}

} // namespace

void EngInputInit_PC()
{
    CloseAllHandles();
    for (PcDevice& pc : g_pc.devices)
        ClearPcDevice(&pc);
    g_pc.wheel_accumulated = 0;
}

bool EngInputSetup_PC()
{
    int before = EngInputGetNumDevices();
    if (EngInputWantsKind(ENG_INPUT_DEVICE_MOUSE) && EngInputAddDeviceRecord(ENG_INPUT_DEVICE_MOUSE, "Mouse", k_mouse_instance_id))
        ClearPcDevice(&g_pc.devices[EngInputGetNumDevices() - 1]);
    if (EngInputWantsKind(ENG_INPUT_DEVICE_JOYSTICK) || EngInputWantsKind(ENG_INPUT_DEVICE_OTHER)) {
        if (!g_pc.subsystem_started) {
            if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
                DebugError(ENG_FUNC, "SDL_InitSubSystem: %s", SDL_GetError());
                return false;
            }
            g_pc.subsystem_started = true;
        }
        ListJoysticks();
    }
    // Nothing beyond the keyboard: the controller subsystem is not kept running.
    if (EngInputGetNumDevices() == before && g_pc.subsystem_started) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        g_pc.subsystem_started = false;
    }
    return true;
}

bool EngInputCreateAndSetupDevice_PC(int device)
{
    const EngInputDevice* record = EngInputGetDevice(device);
    if (!record)
        return false;
    PcDevice& pc = g_pc.devices[device];
    std::memset(pc.sources, 0, sizeof(pc.sources));
    if (record->kind == ENG_INPUT_DEVICE_MOUSE)
        return CreateMouseElements(device);
    if (!pc.joystick && !OpenJoystick(device, pc.sdl_index))
        return false;
    return pc.controller ? CreateControllerElements(device) : CreateJoystickElements(device);
}

bool EngInputAcquireDevice_PC(int device)
{
    if (!EngInputGetDevice(device))
        return false;
    PcDevice& pc = g_pc.devices[device];
    if (IsStick(device)) {
        if (pc.joystick && !SDL_JoystickGetAttached(pc.joystick))
            CloseHandle(&pc);
        if (!pc.joystick && !ReopenJoystick(device))
            return false;
        SDL_JoystickUpdate();
    } else {
        SDL_GetRelativeMouseState(nullptr, nullptr);
        g_pc.wheel_accumulated = 0;
    }
    TakeBaseline(&pc);
    return true;
}

bool EngInputUnacquireDevice_PC(int device)
{
    return EngInputGetDevice(device) != nullptr;
}

bool EngInputPollDevice_PC(int device)
{
    EngInputDevice* record = EngInputGetDeviceRecord(device);
    if (!record)
        return false;
    PcDevice& pc = g_pc.devices[device];
    if (!IsStick(device)) {
        int used = DeliverMouseMotion(device);
        DeliverChanges(device, ENG_INPUT_ITEMS_PER_POLL - used);
        return true;
    }
    if (pc.joystick)
        SDL_JoystickUpdate();
    if (!pc.joystick || !SDL_JoystickGetAttached(pc.joystick)) {
        DebugError(ENG_FUNC, "Device <%s> was unplugged", record->name);
        CloseHandle(&pc);
        record->acquired = -1;
        return false;
    }
    DeliverChanges(device, ENG_INPUT_ITEMS_PER_POLL);
    return true;
}

void EngInputShutdown_PC()
{
    CloseAllHandles();
    if (g_pc.wheel_watch_installed) {
        SDL_DelEventWatch(WheelWatch, nullptr);
        g_pc.wheel_watch_installed = false;
    }
    if (g_pc.subsystem_started) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        g_pc.subsystem_started = false;
    }
}

int EngInputPcPovToDirection(long hundredths)
{
    if ((hundredths & 0xFFFF) == 0xFFFF)
        return ENG_INPUT_POV_CENTRED;
    switch (hundredths) {
    case 0:
        return ENG_INPUT_POV_UP;
    case 18000:
        return ENG_INPUT_POV_DOWN;
    case 27000:
        return ENG_INPUT_POV_LEFT;
    case 9000:
        return ENG_INPUT_POV_RIGHT;
    case 31500:
        return ENG_INPUT_POV_UP_LEFT;
    case 4500:
        return ENG_INPUT_POV_UP_RIGHT;
    case 22500:
        return ENG_INPUT_POV_DOWN_LEFT;
    case 13500:
        return ENG_INPUT_POV_DOWN_RIGHT;
    default:
        DebugError(ENG_FUNC, "Unrecognised data: %ld", hundredths);
        return ENG_INPUT_POV_UNKNOWN;
    }
}

int EngInputPcScaleAxis(int value)
{
    int scaled = value * ENG_INPUT_AXIS_RANGE / k_sdl_axis_max;
    return scaled < -ENG_INPUT_AXIS_RANGE ? -ENG_INPUT_AXIS_RANGE
                                          : scaled > ENG_INPUT_AXIS_RANGE ? ENG_INPUT_AXIS_RANGE : scaled;
}

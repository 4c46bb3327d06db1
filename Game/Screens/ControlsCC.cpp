#include "Game/Screens/ControlsCC.h"

#include <cstdio>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/PC/EngWindowProc_PC.h"
#include "Engine/MWin/MWin.h"
#include "Game/Controls.h"
#include "Game/Game.h"

namespace {

constexpr int kValueButtons[INPUT_NUM_SLOTS] = {
    ControlsCC::BUT_LEFT_RIGHT_AXIS, ControlsCC::BUT_UP_DOWN_AXIS, ControlsCC::BUT_LEFT_RIGHT_POV,
    ControlsCC::BUT_MOVE_LEFT,       ControlsCC::BUT_MOVE_RIGHT,   ControlsCC::BUT_ACCEL_AXIS,
    ControlsCC::BUT_ACCEL,           ControlsCC::BUT_PAUSE_GAME};
constexpr int kSlotKinds[INPUT_NUM_SLOTS] = {ENG_INPUT_ELEMENT_AXIS,   ENG_INPUT_ELEMENT_AXIS,
                                             ENG_INPUT_ELEMENT_POV,    ENG_INPUT_ELEMENT_BUTTON,
                                             ENG_INPUT_ELEMENT_BUTTON, ENG_INPUT_ELEMENT_AXIS,
                                             ENG_INPUT_ELEMENT_BUTTON, ENG_INPUT_ELEMENT_BUTTON};
// A keyboard maps only LEFT, RIGHT and ACCELERATE: Escape pauses the race.
constexpr int kKeyboardOnlyRows[] = {ControlsCC::BUT_LEFT_RIGHT_AXIS, ControlsCC::BUT_UP_DOWN_AXIS,
                                     ControlsCC::BUT_LEFT_RIGHT_POV, ControlsCC::BUT_ACCEL_AXIS,
                                     ControlsCC::BUT_PAUSE_GAME};
constexpr int kEscapeKey = 27;
constexpr double kPollStep = 0.01;
constexpr int kDrainPolls = 25;
constexpr int kShowFrames = 4;
constexpr int kHideFrames = 2;
constexpr float kPopupEdges[4] = {100, 150, 540, 330};

const char* KindName(int kind)
{
    switch (kind) {
    case ENG_INPUT_ELEMENT_BUTTON:
        return "A BUTTON OR KEY";
    case ENG_INPUT_ELEMENT_AXIS:
        return "AN AXIS CONTROL";
    case ENG_INPUT_ELEMENT_POV:
        return "A POINT OF VIEW CONTROL";
    default:
        return "?";
    }
}

void DeviceDataCB(int device, int element, int data, bool on, void* user)
{
    static_cast<ControlsCC*>(user)->RedefineElementCB(device, element, data, on);
}

void ResetPopupCB(MWin*, char result, void* user)
{
    static_cast<ControlsCC*>(user)->ResetConfirmed(result);
}

const char* DeviceNameCB(int index, MWinButton*, void*)
{
    return EngInputGetDeviceName(index);
}

} // namespace

ControlsCC::ControlsCC(MWinScreens* screens) : ControlsCollectionController(screens)
{
}

InputBinding* ControlsCC::Binding() const
{
    return m_game->GetInput()->GetBinding(m_player);
}

bool ControlsCC::IsKeyboard() const
{
    const EngInputDevice* device = EngInputGetDevice(Binding()->current_device);
    return device && device->kind == ENG_INPUT_DEVICE_KEYBOARD;
}

void ControlsCC::StartingCB(void* data)
{
    (void)data;
    m_game->GetControls()->SetMappingScreenOpened();
    ShowButton(BUT_MOVE_UP_DOWN_TEXT, false);
    ShowButton(BUT_UP_DOWN_AXIS, false);
    ShowButton(BUT_REDEFINE_POPUP, false);
    for (int slot = 0; slot < INPUT_NUM_SLOTS; slot++)
        m_values[slot] = GetButton(kValueButtons[slot]);
    InputBinding* binding = Binding();
    int devices = EngInputGetNumDevices();
    if (binding->current_device < 0 || binding->current_device >= devices)
        binding->current_device = 0;
    MWinButton* controller = GetButton(BUT_CONTROLLER);
    if (devices <= 0) {
        SetButtonText(BUT_CONTROLLER, "No Controllers Found");
        EnableButton(BUT_CONTROLLER, false);
    } else if (controller) {
        controller->ChoiceSetArrows(1, 0);
        controller->ChoiceSetStringsCallback(devices, DeviceNameCB, nullptr);
        controller->ChoiceRegisterIntVariable(&binding->current_device, MWIN_FIRE_NEVER);
    }
    SetEscapeButton(BUT_BACK);
    DeviceChanged();
}

void ControlsCC::MarkCurrentInUse()
{
    InputBinding* binding = Binding();
    for (EngUInt8& in_use : binding->in_use)
        in_use = 0;
    if (binding->current_device >= 0 && binding->current_device < ENG_INPUT_MAX_DEVICES)
        binding->in_use[binding->current_device] = 1;
}

void ControlsCC::DeviceChanged()
{
    MarkCurrentInUse();
    ShowMappingTexts();
}

void ControlsCC::ShowMappingTexts()
{
    const InputBinding* binding = Binding();
    int device = binding->current_device;
    bool keyboard = IsKeyboard();
    for (int slot = 0; slot < INPUT_NUM_SLOTS; slot++) {
        if (!m_values[slot])
            continue;
        int element = device >= 0 && device < ENG_INPUT_MAX_DEVICES ? binding->elements[device][slot] : -1;
        const char* name = element >= 0 ? EngInputGetElementName(device, element) : "";
        if (slot == INPUT_ACTION_PAUSE && !keyboard) {
            if (name[0])
                m_values[slot]->SetTextF("Escape or %s", name);
            else
                m_values[slot]->SetText("Escape");
        } else {
            m_values[slot]->SetText(name);
        }
    }
    EnableRows();
}

void ControlsCC::EnableRows()
{
    MarkCurrentInUse();
    for (int slot = 0; slot < INPUT_NUM_SLOTS; slot++)
        EnableButton(kValueButtons[slot], true);
    if (!IsKeyboard())
        return;
    for (int row : kKeyboardOnlyRows)
        EnableButton(row, false);
}

char ControlsCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info)
{
    (void)info;
    int index = GetButtonIndex(button);
    for (int slot = 0; slot < INPUT_NUM_SLOTS; slot++) {
        if (index == kValueButtons[slot]) {
            MappingCB(slot);
            return 1;
        }
    }
    switch (index) {
    case BUT_CONTROLLER:
        DeviceChanged();
        return 1;
    case BUT_RESET:
        m_mwinp->PopupOkCancel("RESET", "Reset all control settings ?", ResetPopupCB, this);
        return 1;
    case BUT_BACK:
        Finish();
        return 1;
    default:
        return 0;
    }
}

void ControlsCC::ResetConfirmed(char result)
{
    if (result != 1)
        return;
    m_game->GetInput()->ResetUserConfig(m_player);
    StartingCB(nullptr);
}

bool ControlsCC::MappingCB(int slot)
{
    if (slot < 0 || slot >= INPUT_NUM_SLOTS) {
        DebugError(ENG_FUNC, "Unknown element type");
        return false;
    }
    int device = Binding()->current_device;
    EngInputSetDeviceDataCallback(device, DeviceDataCB, this);
    if (!EngInputAcquireDevice(device)) {
        EngInputSetDeviceDataCallback(device, nullptr, nullptr);
        return false;
    }
    m_waiting = 1;
    m_element = -1;
    m_mwinp->AllowInput(0);
    Binding()->elements[device][slot] = -1;
    if (m_values[slot])
        m_values[slot]->SetText("");
    if (MWinButton* popup = GetButton(BUT_REDEFINE_POPUP)) {
        popup->SetEdges(kPopupEdges[0], kPopupEdges[1], kPopupEdges[2], kPopupEdges[3]);
        popup->Show();
        popup->SetTextF("PRESS %s", KindName(kSlotKinds[slot]));
    }
    for (int frame = 0; frame < kShowFrames; frame++)
        EngMainRenderFrameNow(true, false);
    WaitForElement();
    ShowButton(BUT_REDEFINE_POPUP, false);
    for (int frame = 0; frame < kHideFrames; frame++)
        EngMainRenderFrameNow(true, false);
    EngInputSetDeviceDataCallback(device, nullptr, nullptr);
    for (int poll = 0; poll < kDrainPolls; poll++) {
        EngMiscSleep(0.001);
        EngInputPollDevice(device);
    }
    EngInputUnacquireDevice(device);
    m_mwinp->AllowInput(1);
    m_waiting = 0;
    if (m_element >= 0) {
        const char* title = nullptr;
        const char* refusal = RefusalFor(slot, m_element, &title);
        if (refusal)
            m_mwinp->PopupMessage(title, refusal);
        else
            MapElement(slot, m_element);
    }
    ShowMappingTexts();
    return true;
}

// Closing the window ends the wait at once; the quit is posted again for the main loop to see.
void ControlsCC::WaitForElement()
{
    double end = EngMainUpdateTime() + CONTROLS_MAPPING_WAIT;
    int device = Binding()->current_device;
    while (m_waiting && EngMainUpdateTime() < end) {
        if (!EngMiscWaitProcessingMessages(kPollStep)) {
            EngPostQuitMessage_PC();
            m_element = -1;
            return;
        }
        EngInputPollDevice(device);
    }
}

// A button counts when pressed: the release of the key that ended the last wait must not map the next slot.
void ControlsCC::RedefineElementCB(int device, int element, int value, bool on)
{
    if (device != Binding()->current_device) {
        DebugInfo("Unexpected device %d", device);
        return;
    }
    const EngInputDevice* record = EngInputGetDevice(device);
    if (!record || element < 0 || element >= record->num_elements)
        return;
    const EngInputElement& e = record->elements[element];
    if (e.type == ENG_INPUT_ELEMENT_BUTTON && !on)
        return;
    if (e.type == ENG_INPUT_ELEMENT_AXIS && e.axis_kind == ENG_INPUT_AXIS_ABSOLUTE && value >= -CONTROLS_AXIS_DEAD_ZONE &&
        value <= CONTROLS_AXIS_DEAD_ZONE)
        return;
    m_waiting = 0;
    m_element = element;
}

const char* ControlsCC::RefusalFor(int slot, int element, const char** title)
{
    *title = nullptr;
    const EngInputDevice* record = EngInputGetDevice(Binding()->current_device);
    if (!record || element < 0 || element >= record->num_elements)
        return "";
    const EngInputElement& e = record->elements[element];
    if (e.type != kSlotKinds[slot]) {
        *title = "WRONG CONTROL TYPE";
        snprintf(m_refusal, sizeof m_refusal, "EXPECTING %s, BUT GOT %s.", KindName(kSlotKinds[slot]),
                 KindName(e.type));
        return m_refusal;
    }
    if (e.type == ENG_INPUT_ELEMENT_AXIS && e.axis_kind == ENG_INPUT_AXIS_RELATIVE)
        return "RELATIVE AXIS CONTROLS NOT SUPPORTED";
    if (record->kind == ENG_INPUT_DEVICE_KEYBOARD && element == record->element_map[ENG_INPUT_MAP_KEY + kEscapeKey])
        return "THIS KEY IS RESERVED";
    return nullptr;
}

void ControlsCC::MapElement(int slot, int element)
{
    InputBinding* binding = Binding();
    short* slots = binding->elements[binding->current_device];
    for (int other = 0; other < INPUT_NUM_SLOTS; other++) {
        if (slots[other] == element)
            slots[other] = -1;
    }
    slots[slot] = short(element);
}

void ControlsCC::Finish()
{
    InputBinding* binding = Binding();
    if (binding->current_device < 0 || binding->current_device >= EngInputGetNumDevices())
        binding->current_device = 0;
    bool any = false;
    for (EngUInt8 in_use : binding->in_use)
        any = any || in_use;
    if (!any)
        binding->in_use[binding->current_device] = 1;
    m_game->GetInput()->StoreDeviceMappings(m_player);
    m_game->GetInput()->SaveUserConfig(m_player);
    GoBack();
}

#pragma once

// The controller mapping screen (CTRL): one input device at a time, its elements mapped to the eight driving
// controls. A mapping waits up to four seconds for the player to press or move the element.

#include "Game/Input.h"
#include "Game/Screens/ControlsCollectionController.h"

constexpr double CONTROLS_MAPPING_WAIT = 4.0;
// An absolute axis must move further than this from the centre to count.
constexpr int CONTROLS_AXIS_DEAD_ZONE = 1500;

class ControlsCC : public ControlsCollectionController
{
public:
    explicit ControlsCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    // Waits for the element of a slot; false when the device could not be acquired.
    bool MappingCB(int slot);
    void RedefineElementCB(int device, int element, int value, bool on);
    void ResetConfirmed(char result);

    // Null when the element may go to the slot, else why not, with the title of the message.
    const char* RefusalFor(int slot, int element, const char** title);
    // Maps an element to a slot of the current device, clearing the slot that held it before.
    void MapElement(int slot, int element);
    bool IsWaiting() const { return m_waiting != 0; }
    // The element the last wait received, or -1.
    int GetElementReceived() const { return m_element; }

private:
    InputBinding* Binding() const;
    bool IsKeyboard() const;
    void DeviceChanged();
    void MarkCurrentInUse();
    void ShowMappingTexts();
    void EnableRows();
    void WaitForElement();
    void Finish();

    MWinButton* m_values[INPUT_NUM_SLOTS] = {};
    EngUInt8 m_waiting = 0;
    int m_element = -1;
    int m_player = 0;
    char m_refusal[96] = "";
};

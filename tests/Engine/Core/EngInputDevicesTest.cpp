#include <gtest/gtest.h>

#include "Engine/Core/EngInputDevices.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngWindowProc_PC.h"
#include "Engine/Core/PC/EngInputDevices_PC.h"
#include "EngFileTestSupport.h"
#include "Support/WindowKeys.h"

#include <SDL2/SDL.h>
#include <string>
#include <vector>

namespace {

struct Item
{
    int device;
    int element;
    int data;
    bool on;
};

std::vector<Item> g_items;

void RecordItem(int device, int element, int data, bool on, void*)
{
    g_items.push_back(Item{device, element, data, on});
}

class InputTest : public ::testing::Test
{
protected:
    void SetUp() override { g_items.clear(); }
    void TearDown() override
    {
        EngInputShutdown();
        for (int i = SDL_NumJoysticks() - 1; i >= 0; i--)
            SDL_JoystickDetachVirtual(i);
        for (SDL_Joystick* joystick : opened)
            SDL_JoystickClose(joystick);
        if (joystick_started)
            SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }

    void SetUpInput(bool keyboard, bool joysticks)
    {
        EngInputInit();
        EngInputSetDevicesToUse(false, keyboard, joysticks, false);
        ASSERT_TRUE(EngInputSetup());
        ASSERT_TRUE(EngInputCreateAllDevices());
    }

    // A virtual device attached before the input layer lists devices; returns its SDL handle.
    SDL_Joystick* AttachVirtual(Uint16 type, const char* name, int axes, int buttons, int hats, Uint32 axis_mask = 0,
                                Uint32 button_mask = 0)
    {
        if (!joystick_started) {
            EXPECT_EQ(0, SDL_InitSubSystem(SDL_INIT_JOYSTICK));
            joystick_started = true;
        }
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = type;
        desc.naxes = (Uint16)axes;
        desc.nbuttons = (Uint16)buttons;
        desc.nhats = (Uint16)hats;
        desc.axis_mask = axis_mask;
        desc.button_mask = button_mask;
        desc.name = name;
        int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        SDL_Joystick* joystick = SDL_JoystickOpen(index);
        EXPECT_NE(nullptr, joystick) << SDL_GetError();
        opened.push_back(joystick);
        return joystick;
    }

    // The device number the layer gave a named device.
    static int FindDevice(const char* name)
    {
        for (int device = 0; device < EngInputGetNumDevices(); device++) {
            if (std::string(EngInputGetDeviceName(device)) == name)
                return device;
        }
        return -1;
    }

    static const Item* FindItem(int element)
    {
        for (const Item& item : g_items) {
            if (item.element == element)
                return &item;
        }
        return nullptr;
    }
    // What was reported for a named element of the device.
    static ::testing::AssertionResult Reported(int device, const char* name, int data, bool on)
    {
        const Item* item = FindItem(EngInputFindElementByName(device, name));
        if (!item)
            return ::testing::AssertionFailure() << name << " was not reported";
        if (item->data != data || item->on != on)
            return ::testing::AssertionFailure() << name << " reported " << item->data << (item->on ? " on" : " off");
        return ::testing::AssertionSuccess();
    }

    bool joystick_started = false;
    std::vector<SDL_Joystick*> opened;
};

TEST(InputKeyNames, TableNamesAndOneCharacterFallback)
{
    EXPECT_STREQ("A", EngInputGetKeyName(65));
    EXPECT_STREQ("7", EngInputGetKeyName('7'));
    EXPECT_STREQ("\\", EngInputGetKeyName(220));
    EXPECT_STREQ("\\", EngInputGetKeyName(226));
    EXPECT_STREQ("Backspace", EngInputGetKeyName(8));
    EXPECT_STREQ("F15", EngInputGetKeyName(126));
    EXPECT_STREQ("Numpad /", EngInputGetKeyName(111));
    EXPECT_STREQ("00", EngInputGetKeyName(228));
}

TEST(InputPlatform, HatAnglesAndAxisScale)
{
    EXPECT_EQ(ENG_INPUT_POV_UP, EngInputPcPovToDirection(0));
    EXPECT_EQ(ENG_INPUT_POV_DOWN_RIGHT, EngInputPcPovToDirection(13500));
    EXPECT_EQ(ENG_INPUT_POV_CENTRED, EngInputPcPovToDirection(-1));
    EXPECT_EQ(ENG_INPUT_POV_CENTRED, EngInputPcPovToDirection(0xFFFF));
    int mark = LogMark();
    EXPECT_EQ(ENG_INPUT_POV_UNKNOWN, EngInputPcPovToDirection(1234));
    EXPECT_TRUE(LoggedSince(mark, "Unrecognised data: 1234"));
    EXPECT_EQ(-3000, EngInputPcScaleAxis(-32768));
    EXPECT_EQ(3000, EngInputPcScaleAxis(32767));
    EXPECT_EQ(0, EngInputPcScaleAxis(0));
}

TEST_F(InputTest, KeyboardIsDeviceZeroWithNamedKeys)
{
    SetUpInput(true, false);
    ASSERT_EQ(1, EngInputGetNumDevices());
    EXPECT_STREQ("Keyboard", EngInputGetDeviceName(0));
    EXPECT_STREQ("XXX", EngInputGetDeviceName(3));
    EXPECT_EQ(ENG_INPUT_DEVICE_KEYBOARD, EngInputGetDevice(0)->kind);
    EXPECT_EQ(256, EngInputGetDevice(0)->num_elements);
    EXPECT_STREQ("Left Arrow", EngInputGetKeyElementName(0, 37));
    EXPECT_EQ(65, EngInputFindElementByName(0, "A"));
    EXPECT_EQ(-1, EngInputFindElementByName(0, "a"));
    EXPECT_STREQ("", EngInputGetJoystickAxisName(0, 0));
    // The keyboard needs the main window.
    int mark = LogMark();
    EXPECT_FALSE(EngInputAcquireDevice(0));
    EXPECT_TRUE(LoggedSince(mark, "No main window"));
}

TEST_F(InputTest, KeyboardGivesOneEventPerPollAndDropsThe33rd)
{
    SetUpInput(true, false);
    ASSERT_TRUE(EngInputSetDeviceDataCallback(0, RecordItem, nullptr));
    int mark = LogMark();
    for (int key = 0; key < 33; key++)
        EngInputKeyboardInputCB(0x41 + key, true);
    EXPECT_TRUE(LoggedSince(mark, "Buffer overflow"));
    EXPECT_TRUE(EngInputPollDevice(0));
    ASSERT_EQ(1u, g_items.size());
    EXPECT_EQ(0x41, g_items[0].element);
    EXPECT_TRUE(g_items[0].on);
    while (EngInputPollDevice(0)) {
    }
    EXPECT_EQ(32u, g_items.size());
    EXPECT_EQ(0x41 + 31, g_items.back().element);
}

TEST_F(InputTest, DroppedKeyReleaseIsDeliveredOnceThereIsRoom)
{
    SetUpInput(true, false);
    ASSERT_TRUE(EngInputSetDeviceDataCallback(0, RecordItem, nullptr));
    EngInputKeyboardInputCB(0x25, true);
    EngInputKeyboardInputCB(0x25, true); // auto-repeat adds nothing
    for (int key = 0; key < 31; key++)
        EngInputKeyboardInputCB(0x41 + key, true);
    EngInputKeyboardInputCB(0x25, false); // the buffer is full
    while (EngInputPollDevice(0)) {
    }
    ASSERT_EQ(33u, g_items.size());
    EXPECT_EQ(0x25, g_items.back().element);
    EXPECT_FALSE(g_items.back().on);
}

TEST_F(InputTest, VirtualGameControllerIsListedNamedAndPolled)
{
    SDL_Joystick* pad = AttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, "Test Pad", SDL_CONTROLLER_AXIS_MAX,
                                      SDL_CONTROLLER_BUTTON_MAX, 0, (1u << SDL_CONTROLLER_AXIS_MAX) - 1,
                                      (1u << SDL_CONTROLLER_BUTTON_MAX) - 1);
    SetUpInput(true, true);
    int device = FindDevice("Test Pad");
    ASSERT_EQ(1, device);
    const EngInputDevice* record = EngInputGetDevice(device);
    EXPECT_EQ(ENG_INPUT_DEVICE_JOYSTICK, record->kind);
    EXPECT_STREQ("X Axis", EngInputGetJoystickAxisName(device, 0));
    EXPECT_STREQ("Z Axis", EngInputGetJoystickAxisName(device, 2));
    EXPECT_STREQ("Y Rotation", EngInputGetJoystickAxisName(device, 4));
    EXPECT_STREQ("", EngInputGetJoystickAxisName(device, 5));
    EXPECT_STREQ("Hat Switch", EngInputGetJoystickPovName(device));
    EXPECT_STREQ("Button 9", EngInputGetJoystickButtonName(device, 9));
    EXPECT_EQ(ENG_INPUT_AXIS_ABSOLUTE, record->elements[EngInputFindElementByName(device, "X Axis")].axis_kind);

    ASSERT_TRUE(EngInputSetDeviceDataCallback(device, RecordItem, nullptr));
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    ASSERT_TRUE(EngInputAcquireDevice(device));
    // Held at acquisition: the starting state, not an event.
    EXPECT_TRUE(EngInputPollDevice(device));
    EXPECT_TRUE(g_items.empty());

    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 0);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    EngInputPollAllDevices();
    EXPECT_TRUE(Reported(device, "X Axis", 3000, true));
    EXPECT_TRUE(Reported(device, "Z Axis", -3000, true)); // the right trigger lowers the shared trigger axis
    EXPECT_TRUE(Reported(device, "Button 0", 0, false));
    EXPECT_TRUE(Reported(device, "Hat Switch", ENG_INPUT_POV_LEFT, true));

    g_items.clear();
    EngInputPollAllDevices();
    EXPECT_TRUE(g_items.empty()); // nothing changed
}

TEST_F(InputTest, ControllerWithFewerAxesAndButtonsWorksWithThoseItHas)
{
    SDL_Joystick* pad = AttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, "Small Pad", 2, 2, 0,
                                      (1u << SDL_CONTROLLER_AXIS_LEFTX) | (1u << SDL_CONTROLLER_AXIS_LEFTY),
                                      (1u << SDL_CONTROLLER_BUTTON_A) | (1u << SDL_CONTROLLER_BUTTON_START));
    SetUpInput(false, true);
    int device = FindDevice("Small Pad");
    ASSERT_EQ(0, device);
    EXPECT_EQ(4, EngInputGetDevice(device)->num_elements);
    EXPECT_STREQ("Y Axis", EngInputGetJoystickAxisName(device, 1));
    EXPECT_STREQ("", EngInputGetJoystickAxisName(device, 2));
    EXPECT_STREQ("", EngInputGetJoystickPovName(device));
    EXPECT_STREQ("", EngInputGetJoystickButtonName(device, 1));
    // Start keeps its number although buttons before it are missing.
    EXPECT_STREQ("Button 7", EngInputGetJoystickButtonName(device, 7));

    ASSERT_TRUE(EngInputSetDeviceDataCallback(device, RecordItem, nullptr));
    ASSERT_TRUE(EngInputAcquireDevice(device));
    SDL_JoystickSetVirtualButton(pad, 1, 1); // the pad's second button is Start
    SDL_JoystickSetVirtualAxis(pad, 1, -32768);
    EngInputPollAllDevices();
    ASSERT_EQ(2u, g_items.size());
    EXPECT_TRUE(Reported(device, "Button 7", ENG_INPUT_BUTTON_DOWN, true));
    EXPECT_TRUE(Reported(device, "Y Axis", -3000, true));
}

TEST_F(InputTest, PlainJoystickHatReportsDirectionsAndUpCountsAsOn)
{
    SDL_Joystick* stick = AttachVirtual(SDL_JOYSTICK_TYPE_FLIGHT_STICK, "Test Stick", 3, 5, 1);
    SetUpInput(false, true);
    int device = FindDevice("Test Stick");
    ASSERT_EQ(0, device);
    EXPECT_STREQ("Z Axis", EngInputGetJoystickAxisName(device, 2));
    EXPECT_STREQ("Button 4", EngInputGetJoystickButtonName(device, 4));
    EXPECT_STREQ("", EngInputGetJoystickButtonName(device, 5));

    int hat = EngInputFindElementByName(device, "Hat Switch");
    ASSERT_GE(hat, 0);
    ASSERT_TRUE(EngInputSetDeviceDataCallback(device, RecordItem, nullptr));
    ASSERT_TRUE(EngInputAcquireDevice(device));
    const Uint8 positions[] = {SDL_HAT_UP, SDL_HAT_RIGHTDOWN, SDL_HAT_CENTERED};
    for (Uint8 position : positions) {
        SDL_JoystickSetVirtualHat(stick, 0, position);
        EngInputPollDevice(device);
    }
    ASSERT_EQ(3u, g_items.size());
    EXPECT_EQ(ENG_INPUT_POV_UP, g_items[0].data);
    EXPECT_TRUE(g_items[0].on);
    EXPECT_EQ(ENG_INPUT_POV_DOWN_RIGHT, g_items[1].data);
    EXPECT_EQ(ENG_INPUT_POV_CENTRED, g_items[2].data);
    EXPECT_FALSE(g_items[2].on);
}

TEST_F(InputTest, ElementCallbackServesDevicesWithoutADataCallback)
{
    SDL_Joystick* stick = AttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, "Plain Stick", 2, 2, 0);
    SetUpInput(false, true);
    int device = FindDevice("Plain Stick");
    ASSERT_EQ(0, device);
    static int received = -1;
    int button = EngInputFindElementByName(device, "Button 1");
    ASSERT_TRUE(EngInputSetElementCallback(device, button, [](int data, bool, void*) { received = data; }, nullptr));
    ASSERT_TRUE(EngInputAcquireDevice(device));
    SDL_JoystickSetVirtualButton(stick, 1, 1);
    EngInputPollDevice(device);
    EXPECT_EQ(ENG_INPUT_BUTTON_DOWN, received);
}

TEST_F(InputTest, MouseHasThreeAxesFourButtonsAndCountsWheelNotches)
{
    ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_VIDEO)) << SDL_GetError();
    EngInputInit();
    EngInputSetDevicesToUse(true, false, false, false);
    ASSERT_TRUE(EngInputSetup());
    ASSERT_TRUE(EngInputCreateAllDevices());
    ASSERT_EQ(1, EngInputGetNumDevices());
    EXPECT_EQ(ENG_INPUT_DEVICE_MOUSE, EngInputGetDevice(0)->kind);
    EXPECT_STREQ("Button 3", EngInputGetMouseButtonName(0, 3));
    EXPECT_STREQ("", EngInputGetMouseButtonName(0, 4)); // the standard mouse has four buttons
    EXPECT_STREQ("", EngInputGetKeyElementName(0, 65));
    int wheel = EngInputFindElementByName(0, "Wheel");
    ASSERT_GE(wheel, 0);
    EXPECT_EQ(ENG_INPUT_AXIS_RELATIVE, EngInputGetDevice(0)->elements[wheel].axis_kind);

    ASSERT_TRUE(EngInputSetDeviceDataCallback(0, RecordItem, nullptr));
    ASSERT_TRUE(EngInputAcquireDevice(0));
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = -2;
    SDL_PushEvent(&event);
    EngInputPollAllDevices();
    const Item* item = FindItem(wheel);
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(-240, item->data);
    g_items.clear();
    EngInputPollAllDevices();
    EXPECT_EQ(nullptr, FindItem(wheel)); // reported once
    EngInputShutdown();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST_F(InputTest, UnpluggedDeviceIsReportedAndDropped)
{
    AttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, "Leaving Pad", 2, 2, 0, 3, 3);
    SetUpInput(false, true);
    int device = FindDevice("Leaving Pad");
    ASSERT_EQ(0, device);
    ASSERT_TRUE(EngInputSetDeviceDataCallback(device, RecordItem, nullptr));
    ASSERT_TRUE(EngInputAcquireDevice(device));
    ASSERT_EQ(0, SDL_JoystickDetachVirtual(0));

    int mark = LogMark();
    EXPECT_FALSE(EngInputPollDevice(device));
    EXPECT_TRUE(LoggedSince(mark, "Device <Leaving Pad> was unplugged"));
    EXPECT_FALSE(EngInputIsDeviceAcquired(device, false));
    EXPECT_TRUE(EngInputIsDeviceAcquired(device, true));
    EngInputPollAllDevices(); // a lost device is not polled
    EXPECT_FALSE(EngInputPollDevice(device));
    EXPECT_FALSE(EngInputAcquireDevice(device));
    EXPECT_TRUE(LoggedSince(mark, "Device <Leaving Pad> is not connected"));
    EXPECT_TRUE(g_items.empty());
}

TEST_F(InputTest, The26thDeviceIsNotListed)
{
    for (int i = 0; i < ENG_INPUT_MAX_DEVICES; i++)
        AttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, ("Stick " + std::to_string(i)).c_str(), 1, 1, 0);
    int mark = LogMark();
    SetUpInput(true, true);
    EXPECT_EQ(ENG_INPUT_MAX_DEVICES, EngInputGetNumDevices());
    EXPECT_TRUE(LoggedSince(mark, "Not all controller devices used (MAX=25)"));
    EXPECT_EQ(-1, FindDevice("Stick 24"));
    EXPECT_EQ(24, FindDevice("Stick 23"));
}

TEST_F(InputTest, IdenticalDevicesGetDistinctStableIds)
{
    AttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, "Twin", 1, 1, 0);
    AttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, "Twin", 1, 1, 0);
    SetUpInput(false, true);
    ASSERT_EQ(2, EngInputGetNumDevices());
    EngUInt8 first[ENG_INPUT_INSTANCE_ID_SIZE];
    std::memcpy(first, EngInputGetDevice(0)->instance_id, sizeof(first));
    EXPECT_NE(0, std::memcmp(first, EngInputGetDevice(1)->instance_id, sizeof(first)));
    // Listing again gives the same ids.
    EngInputShutdown();
    SetUpInput(false, true);
    EXPECT_EQ(0, std::memcmp(first, EngInputGetDevice(0)->instance_id, sizeof(first)));
}

// A main window without its system half: the window procedure is called with the messages directly.
class InputWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_items.clear();
        eng_main_window = &window;
    }
    void TearDown() override
    {
        EngInputShutdown();
        eng_main_window = nullptr;
    }

    void SendKey(EngUInt32 message, int key, bool repeat = false) { SendKeyMessage(window, message, key, repeat); }

    EngWindow window{nullptr, "Input test"};
};

TEST_F(InputWindowTest, AcquiredKeyboardTakesTheWindowsKeysOnePerPoll)
{
    EngInputInit();
    EngInputSetDevicesToUse(false, true, false, false);
    ASSERT_TRUE(EngInputSetup());
    ASSERT_TRUE(EngInputCreateAllDevices());
    ASSERT_TRUE(EngInputSetDeviceDataCallback(0, RecordItem, nullptr));
    ASSERT_TRUE(EngInputAcquireDevice(0));
    EXPECT_TRUE(EngInputIsAnyDeviceAcquired(false));

    SendKey(ENG_WM_KEYDOWN, ENG_VK_LEFT);
    SendKey(ENG_WM_KEYDOWN, ENG_VK_LEFT, true);
    SendKey(ENG_WM_KEYUP, ENG_VK_LEFT);
    EXPECT_EQ(0, EngKeyStateTable[ENG_VK_LEFT]);
    EXPECT_TRUE(g_items.empty());
    EngInputPollAllDevices();
    ASSERT_EQ(1u, g_items.size());
    EXPECT_EQ(ENG_VK_LEFT, g_items[0].element);
    EXPECT_TRUE(g_items[0].on);
    EXPECT_TRUE(EngInputPollDevice(0));
    ASSERT_EQ(2u, g_items.size());
    EXPECT_FALSE(g_items[1].on);
    EXPECT_FALSE(EngInputPollDevice(0));

    // Released again, the keys go back to the window's own table.
    ASSERT_TRUE(EngInputUnacquireDevice(0));
    EXPECT_EQ(nullptr, window.GetKeyCallback());
    SendKey(ENG_WM_KEYDOWN, ENG_VK_LEFT);
    EXPECT_EQ(ENG_KEY_STATE_DOWN, EngKeyStateTable[ENG_VK_LEFT]);
    EXPECT_FALSE(EngInputUnacquireDevice(0));
}

} // namespace

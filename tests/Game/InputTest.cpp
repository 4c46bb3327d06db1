#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "Engine/Core/EngInputDevices.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngWindowProc_PC.h"
#include "Game/Controls.h"
#include "Game/Input.h"
#include "Game/Users.h"
#include "ProfileTestSupport.h"
#include "Support/VirtualPad.h"
#include "Support/WindowKeys.h"

namespace {

// The car side of the controls: records what a car is told.
struct RecordingCar : ControlledCar
{
    struct SteerCall
    {
        int car;
        int direction;
        float amount;
    };
    void Steer(int car, int direction, float amount) override { steers.push_back({car, direction, amount}); }
    void SetAccelerating(int, bool on) override { accelerating = on; }
    void SetTurn(int, float value) override { turn = value; }
    float GetSpeed(int) const override { return speed; }

    std::vector<SteerCall> steers;
    bool accelerating = false;
    float turn = 0.0f;
    float speed = 10.0f;
};

class InputTest : public ProfileTest
{
protected:
    void SetUp() override
    {
        ProfileTest::SetUp();
        eng_main_window = &window; // the keyboard is acquired through the main window
        EngKeyStateTableClear();
        game->GetControls()->SetCar(&car);
    }
    void TearDown() override
    {
        EngInputShutdown();
        for (int i = SDL_NumJoysticks() - 1; i >= 0; i--)
            SDL_JoystickDetachVirtual(i);
        if (pad)
            SDL_JoystickClose(pad);
        if (joystick_started)
            SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        eng_main_window = nullptr;
        ProfileTest::TearDown();
    }

    // A standard game controller, attached before the input layer lists the devices.
    void AttachPad()
    {
        ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_JOYSTICK)) << SDL_GetError();
        joystick_started = true;
        pad = AttachVirtualPad("Race Pad");
        ASSERT_NE(nullptr, pad) << SDL_GetError();
    }

    void NameDriver(const char* name)
    {
        UserRecord* profile = game->GetCurrentProfile();
        EngSafeStrcpy(profile->name, name, sizeof profile->name);
    }

    std::string ControllerFile(const char* name) { return drivers + name + "_Controllers.csc"; }

    int FindDevice(const char* name)
    {
        for (int device = 0; device < EngInputGetNumDevices(); device++) {
            if (std::string(EngInputGetDeviceName(device)) == name)
                return device;
        }
        return -1;
    }

    void SendKey(EngUInt32 message, int key) { SendKeyMessage(window, message, key); }

    // Key events reach the controls one per poll.
    void PollAll()
    {
        for (int i = 0; i < 8; i++)
            EngInputPollAllDevices();
    }

    Input* input() { return game->GetInput(); }
    const ControlsCarState* car0() { return game->GetControls()->GetCarState(0); }

    EngWindow window{nullptr, "Input test"};
    RecordingCar car;
    SDL_Joystick* pad = nullptr;
    bool joystick_started = false;
};

TEST_F(InputTest, DefaultSetUpIsSavedAndLoadedBackByteForByte)
{
    AttachPad();
    NameDriver("Carla");
    ASSERT_TRUE(input()->Init());
    int keyboard = FindDevice("Keyboard");
    int pad_device = FindDevice("Race Pad");
    ASSERT_GE(keyboard, 0);
    ASSERT_GE(pad_device, 0);

    std::vector<unsigned char> file = ReadBytes(ControllerFile("Carla"));
    ASSERT_EQ(5324u, file.size());
    const UserControllerConfig* config = input()->GetConfig(0);
    EXPECT_EQ(0, memcmp(file.data(), config, sizeof *config));
    EXPECT_EQ(1.0f, config->version);
    EXPECT_EQ(EngInputGetNumDevices(), config->num_entries);
    const UserControllerEntry& keys = config->entries[keyboard];
    EXPECT_EQ(1, keys.in_use);
    EXPECT_STREQ("Left Arrow", keys.element_names[INPUT_ACTION_LEFT]);
    EXPECT_STREQ("Right Arrow", keys.element_names[INPUT_ACTION_RIGHT]);
    EXPECT_STREQ("A", keys.element_names[INPUT_ACTION_ACCELERATE]);
    EXPECT_STREQ("Escape", keys.element_names[INPUT_ACTION_PAUSE]);
    EXPECT_STREQ("", keys.element_names[INPUT_ACTION_STEERING_AXIS]);
    const UserControllerEntry& pads = config->entries[pad_device];
    EXPECT_EQ(0, pads.in_use); // only the first keyboard is in use by default
    EXPECT_STREQ("X Axis", pads.element_names[INPUT_ACTION_STEERING_AXIS]);
    EXPECT_STREQ("Hat Switch", pads.element_names[INPUT_ACTION_POV]);
    EXPECT_STREQ("Z Axis", pads.element_names[INPUT_ACTION_ACCELERATOR_AXIS]);
    EXPECT_STREQ("Button 0", pads.element_names[INPUT_ACTION_ACCELERATE]);
    EXPECT_EQ(keyboard, input()->GetBinding(0)->current_device);

    // The controls screen puts the pad in use with the accelerator on button 1; the change is kept.
    InputBinding* binding = input()->GetBinding(0);
    binding->in_use[pad_device] = 1;
    binding->elements[pad_device][INPUT_ACTION_ACCELERATE] = short(EngInputFindElementByName(pad_device, "Button 1"));
    binding->current_device = pad_device;
    input()->StoreDeviceMappings(0);
    ASSERT_TRUE(input()->SaveUserConfig(0));
    std::vector<unsigned char> stored = ReadBytes(ControllerFile("Carla"));
    EXPECT_EQ(0, memcmp(stored.data(), input()->GetConfig(0), stored.size()));

    binding->in_use[pad_device] = 0;
    EXPECT_TRUE(input()->LoadUserConfig(0));
    EXPECT_EQ(1, input()->GetBinding(0)->in_use[pad_device]);
    EXPECT_EQ(pad_device, input()->GetBinding(0)->current_device);
    EXPECT_STREQ("Button 1", input()->GetConfig(0)->entries[pad_device].element_names[INPUT_ACTION_ACCELERATE]);
    EXPECT_EQ(stored, ReadBytes(ControllerFile("Carla")));
}

TEST_F(InputTest, BadControllerFilesAreReplacedByTheDefaults)
{
    NameDriver("Dora");
    ASSERT_TRUE(input()->Init());
    const UserControllerConfig defaults = *input()->GetConfig(0);

    struct Case
    {
        const char* what;
        void (*spoil)(UserControllerConfig*);
        size_t size;
    };
    const Case cases[] = {
        {"version 1.0001", [](UserControllerConfig* c) { c->version = 1.0001f; }, sizeof(UserControllerConfig)},
        {"short file", [](UserControllerConfig*) {}, sizeof(UserControllerConfig) - 1},
        {"unterminated name", [](UserControllerConfig* c) { memset(c->entries[0].element_names[3], 'x', 24); },
         sizeof(UserControllerConfig)},
        {"26 entries", [](UserControllerConfig* c) { c->num_entries = 26; }, sizeof(UserControllerConfig)},
    };
    for (const Case& c : cases) {
        UserControllerConfig spoilt = defaults;
        strcpy(spoilt.entries[0].element_names[INPUT_ACTION_LEFT], "Z");
        c.spoil(&spoilt);
        WriteBytes(ControllerFile("Dora"), &spoilt, c.size);
        EXPECT_FALSE(input()->LoadUserConfig(0)) << c.what;
        EXPECT_EQ(0, memcmp(&defaults, input()->GetConfig(0), sizeof defaults)) << c.what;
        std::vector<unsigned char> file = ReadBytes(ControllerFile("Dora"));
        ASSERT_EQ(sizeof defaults, file.size()) << c.what;
        EXPECT_EQ(0, memcmp(&defaults, file.data(), sizeof defaults)) << c.what;
    }
}

TEST_F(InputTest, UnnamedProfileNeverReadsOrWritesASetUp)
{
    ASSERT_TRUE(input()->Init());
    EXPECT_FALSE(input()->SaveUserConfig(0));
    EXPECT_FALSE(input()->ReadUserConfig(0));
    EXPECT_FALSE(FileExists(drivers + "_Controllers.csc"));
    EXPECT_FALSE(FileExists(drivers));
    // The devices still work with the defaults.
    EXPECT_EQ(1, input()->GetBinding(0)->in_use[0]);
}

TEST_F(InputTest, NewControllerAfterFullTableReplacesAnAbsentDevice)
{
    AttachPad();
    NameDriver("Full");
    ASSERT_TRUE(input()->Init());
    UserControllerConfig full = *input()->GetConfig(0);
    for (int entry = 0; entry < INPUT_MAX_ENTRIES; entry++) {
        memset(full.entries[entry].guid, 0xA0 + entry, ENG_INPUT_INSTANCE_ID_SIZE);
        EngSafeStrcpy(full.entries[entry].element_names[0], "Gone", ENG_INPUT_ELEMENT_NAME_SIZE);
    }
    full.num_entries = INPUT_MAX_ENTRIES;
    WriteBytes(ControllerFile("Full"), &full, sizeof full);
    ASSERT_TRUE(input()->LoadUserConfig(0));
    // Neither present device has an entry: both get the defaults of their kind, not in use.
    int pad_device = FindDevice("Race Pad");
    EXPECT_EQ(0, input()->GetBinding(0)->in_use[pad_device]);
    EXPECT_EQ(EngInputFindElementByName(pad_device, "X Axis"), input()->GetBinding(0)->elements[pad_device][0]);

    input()->StoreDeviceMappings(0);
    const UserControllerConfig* stored = input()->GetConfig(0);
    EXPECT_EQ(INPUT_MAX_ENTRIES, stored->num_entries);
    EXPECT_EQ(0, memcmp(stored->entries[0].guid, EngInputGetDevice(0)->instance_id, ENG_INPUT_INSTANCE_ID_SIZE));
    EXPECT_EQ(0, memcmp(stored->entries[1].guid, EngInputGetDevice(1)->instance_id, ENG_INPUT_INSTANCE_ID_SIZE));
    EXPECT_STREQ("Gone", stored->entries[2].element_names[0]);
    EXPECT_EQ(0, memcmp(stored->current_guid, EngInputGetDevice(0)->instance_id, ENG_INPUT_INSTANCE_ID_SIZE));
}

TEST_F(InputTest, KeyboardKeysReachTheCarThroughTheWindow)
{
    NameDriver("Keys");
    ASSERT_TRUE(input()->Init());
    input()->ResetForRace();
    ASSERT_TRUE(EngInputIsDeviceAcquired(0, false));

    SendKey(ENG_WM_KEYDOWN, ENG_VK_LEFT);
    SendKey(ENG_WM_KEYDOWN, ENG_VK_RIGHT);
    SendKey(ENG_WM_KEYDOWN, 'A');
    PollAll();
    EXPECT_EQ(1, car0()->left);
    EXPECT_EQ(1, car0()->right);
    EXPECT_TRUE(game->GetControls()->HasSeenInput());
    game->GetControls()->ApplyToCar(0);
    // Both held: both steer calls, left first.
    ASSERT_EQ(2u, car.steers.size());
    EXPECT_EQ(-1, car.steers[0].direction);
    EXPECT_EQ(6.0f, car.steers[0].amount);
    EXPECT_EQ(1, car.steers[1].direction);
    EXPECT_TRUE(car.accelerating);

    SendKey(ENG_WM_KEYUP, ENG_VK_LEFT);
    SendKey(ENG_WM_KEYUP, ENG_VK_RIGHT);
    SendKey(ENG_WM_KEYUP, 'A');
    SendKey(ENG_WM_KEYDOWN, ENG_VK_ESCAPE);
    PollAll();
    car.steers.clear();
    game->GetControls()->ApplyToCar(0);
    ASSERT_EQ(1u, car.steers.size());
    EXPECT_EQ(0.0f, car.steers[0].amount); // nothing held clears the turning flag
    EXPECT_FALSE(car.accelerating);
    EXPECT_EQ(ENG_KEY_STATE_DOWN, EngKeyStateTable[ENG_VK_ESCAPE]);
    SendKey(ENG_WM_KEYUP, ENG_VK_ESCAPE);
    PollAll();
    EXPECT_EQ(0, EngKeyStateTable[ENG_VK_ESCAPE]);

    // Keys that are not bound do nothing; release frees the keyboard and clears the controls.
    SendKey(ENG_WM_KEYDOWN, ENG_VK_LEFT);
    PollAll();
    input()->Release();
    EXPECT_FALSE(EngInputIsAnyDeviceAcquired(false));
    EXPECT_EQ(0, car0()->left);
}

TEST_F(InputTest, VirtualPadAxesHatAndButtonsDriveTheCar)
{
    AttachPad();
    NameDriver("Pad");
    ASSERT_TRUE(input()->Init());
    int pad_device = FindDevice("Race Pad");
    ASSERT_GE(pad_device, 0);
    input()->GetBinding(0)->in_use[pad_device] = 1;
    game->GetCurrentProfile()->steering = 0;
    input()->ResetForRace();
    EXPECT_EQ(&Input::StaticDeviceDataUser0CB, EngInputGetDevice(pad_device)->data_callback);
    ASSERT_TRUE(EngInputIsDeviceAcquired(pad_device, false));

    // Full left: (0 + 5) x 3000 x 0.1 / 3000.
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    EngInputPollAllDevices();
    EXPECT_FLOAT_EQ(0.5f, car.turn);
    EXPECT_TRUE(game->GetControls()->IsAnalogueMode());
    game->GetCurrentProfile()->steering = 9;
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    EngInputPollAllDevices();
    EXPECT_FLOAT_EQ(-0.7f, car.turn); // limited

    // The right trigger lowers the shared axis: threshold (3025 + 3000) / 24 = 251, above the speed.
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    EngInputPollAllDevices();
    EXPECT_EQ(251, car0()->accelerator_threshold);
    EXPECT_EQ(1, car0()->accelerate);
    car.speed = 300.0f;
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 16000);
    EngInputPollAllDevices();
    EXPECT_EQ(0, car0()->accelerate);

    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    EngInputPollAllDevices();
    EXPECT_EQ(1, car0()->left);
    EXPECT_EQ(0, car0()->right);
    EXPECT_FALSE(game->GetControls()->IsAnalogueMode());
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0);
    EngInputPollAllDevices();
    EXPECT_EQ(0, car0()->left);

    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    EngInputPollAllDevices();
    EXPECT_EQ(1, car0()->accelerate);
    game->GetControls()->ApplyToCar(0);
    EXPECT_TRUE(car.accelerating);
}

TEST_F(InputTest, DevicesNotInUseGetNoCallbackAndUsersCountIsChecked)
{
    AttachPad();
    NameDriver("Solo");
    ASSERT_TRUE(input()->Init());
    input()->ResetForRace();
    EXPECT_EQ(nullptr, EngInputGetDevice(FindDevice("Race Pad"))->data_callback);
    EXPECT_EQ(INPUT_ACTION_UNBOUND, input()->GetAction(0, FindDevice("Race Pad"), 0));
    EXPECT_EQ(INPUT_ACTION_LEFT, input()->GetAction(0, 0, ENG_VK_LEFT));

    int mark = DebugGetMessageCount();
    EXPECT_FALSE(input()->NewUsers(3));
    EXPECT_TRUE(LoggedSince(mark, "Invalid num users 3"));
    ASSERT_TRUE(input()->NewUsers(2));
    EXPECT_TRUE(input()->NewUsers(255));
    EXPECT_EQ(2, input()->GetNumUsers());
    // Both users have the keyboard in use: one callback serves both.
    input()->ResetForRace();
    EXPECT_EQ(&Input::StaticDeviceDataBothUsersCB, EngInputGetDevice(0)->data_callback);
}

TEST_F(InputTest, ControlsWithoutACarReportAndKeepTheirFlags)
{
    Controls* controls = game->GetControls();
    controls->SetCar(nullptr);
    int mark = DebugGetMessageCount();
    controls->ApplyToCar(0);
    EXPECT_TRUE(LoggedSince(mark, "No car."));
    controls->SetAccelerate(0, true);
    controls->SetPov(1, ENG_INPUT_POV_RIGHT);
    controls->SetAnalogueMode(true);
    controls->Reset();
    EXPECT_EQ(0, controls->GetCarState(0)->accelerate);
    EXPECT_EQ(0, controls->GetCarState(1)->right);
    EXPECT_TRUE(controls->HasSeenInput());
    EXPECT_TRUE(controls->IsAnalogueMode());
    controls->SetPov(0, ENG_INPUT_POV_LEFT);
    controls->SetPov(0, ENG_INPUT_POV_CENTRED);
    EXPECT_EQ(0, controls->GetCarState(0)->left);
}

} // namespace

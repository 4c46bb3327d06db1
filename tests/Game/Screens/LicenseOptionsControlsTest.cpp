// The driver's own screens: the racing licence (titles, the class and level held within the licences), the
// options (music and volume), and the controller mapping (moving, refusing and waiting for an element, and a
// virtual game controller mapped from the screen; a driver who has seen it gets no accelerate hint).

#include "Support/GameWindowFixture.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "Engine/Core/EngInputDevices.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngPrefFolder.h"
#include "Game/Controls.h"
#include "Game/Input.h"
#include "Game/Music.h"
#include "Game/Resolution.h"
#include "Game/Screens/ControlsCC.h"
#include "Game/Screens/LicenseCC.h"
#include "Game/Screens/OptionsCC.h"
#include "Game/Users.h"
#include "Support/VirtualPad.h"

namespace {

class OwnScreens : public GameWindowFixture
{
protected:
    void SetUp() override
    {
        GameWindowFixture::SetUp();
        profile = PlayingDriver("ANNA");
    }
    void Choose(int index, int selection)
    {
        MWinButton* choice = Button(index);
        ASSERT_NE(nullptr, choice);
        choice->ChoiceSetSel(selection, MWIN_FIRE_ALWAYS);
        Current()->ButtonCB(choice, nullptr);
    }
    // The controls screen opened for the first device of a kind, made the one in use; that device, or -1.
    int OpenControlsFor(int kind)
    {
        for (int device = 0; device < EngInputGetNumDevices(); device++) {
            if (EngInputGetDevice(device)->kind != kind)
                continue;
            game->GetInput()->GetBinding(0)->current_device = device;
            return screens->GotoScreen(SCREEN_CTRL, nullptr) == 1 ? device : -1;
        }
        return -1;
    }

    UserRecord* profile = nullptr;
};

// Pushes a key press to the window a moment after the mapping wait has begun.
Uint32 PressEscapeLater(Uint32, void* key)
{
    const SDL_Keycode sym = SDL_Keycode(reinterpret_cast<intptr_t>(key));
    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
        SDL_Event event = MainWindowKeyEvent(type, SDL_GetScancodeFromKey(sym), sym);
        SDL_PushEvent(&event);
    }
    return 0;
}

// The mapping wait runs on a clock of the test's own, moved on by a step at each look: a small step lets a key
// pressed a moment later end the wait however slow the machine, a large one lets the wait run out at once.
constexpr double kPatientStep = 0.001;
constexpr double kRunOutStep = 1.0;
double g_clock = 0.0;
double g_clock_step = 0.0;
double SteppedClock()
{
    return g_clock += g_clock_step;
}

bool MapOnSteppedClock(ControlsCC* controls, int slot, double step)
{
    g_clock_step = step;
    EngMainSetClockSource(SteppedClock);
    bool mapped = controls->MappingCB(slot);
    EngMainSetClockSource(nullptr);
    return mapped;
}

} // namespace

TEST_F(OwnScreens, LicenceTitleFollowsTheNameAndTheLevelStaysWithinTheLicencesHeld)
{
    profile->classes[0].have_license[0] = 1;
    profile->classes[1].have_license[0] = 1;
    profile->classes[1].have_license[1] = 1;
    profile->classes[1].level_zzz = 4;
    profile->classes[2].best_expert_result = 0;
    profile->classes[0].best_expert_result = 2;
    profile->changed = 1;
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_LICN, nullptr));
    LicenseCC* licence = screens->GetLicense();
    EXPECT_EQ("ANNA's  RACING  LICENSE", Text(LicenseCC::BUT_TITLE));
    EXPECT_EQ(0, profile->changed) << "the main menu's notice is cleared by the visit";
    EXPECT_EQ(2, licence->GetClassesOpen());
    EXPECT_TRUE(licence->GetButton(LicenseCC::BUT_AWARD_ROOKIE)->IsShown());
    EXPECT_FALSE(licence->GetButton(LicenseCC::BUT_AWARD_AMATEUR)->IsShown());
    EXPECT_EQ(1, licence->GetButton(LicenseCC::BUT_AF3)->CheckboxGetValue());
    EXPECT_EQ(0, licence->GetButton(LicenseCC::BUT_AF4)->CheckboxGetValue());
    EXPECT_FALSE(licence->GetButton(LicenseCC::BUT_AF3)->IsEnabled());

    // FORMULA 3 holds ROOKIE and AMATEUR: the stored EXPERT comes down to AMATEUR.
    Choose(LicenseCC::BUT_LEVEL, 0);
    Choose(LicenseCC::BUT_FORMULA, 1);
    EXPECT_EQ(2, licence->GetLevelsOpen());
    EXPECT_EQ(1, profile->formula_zzz);
    EXPECT_EQ(0, profile->classes[1].level_zzz);
    Choose(LicenseCC::BUT_LEVEL, 1);
    EXPECT_EQ("AMATEUR", Text(LicenseCC::BUT_LEVEL));
    EXPECT_EQ(1, profile->classes[1].level_zzz);

    snprintf(profile->name, sizeof profile->name, "JAMES");
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_LICN, nullptr));
    EXPECT_EQ("JAMES'  RACING  LICENSE", Text(LicenseCC::BUT_TITLE));

    // A profile without a single licence still has a class and a level to race at.
    memset(profile->classes, 0, sizeof profile->classes);
    profile->formula_zzz = 3;
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_LICN, nullptr));
    EXPECT_EQ(1, licence->GetClassesOpen());
    EXPECT_EQ(1, licence->GetLevelsOpen());
    EXPECT_EQ("FORMULA 4", Text(LicenseCC::BUT_FORMULA));
    EXPECT_EQ("ROOKIE", Text(LicenseCC::BUT_LEVEL));
}

TEST_F(OwnScreens, OptionsBindTheSwitchesAndTheVolumeOnlyWhileTheMusicIsOn)
{
    ResolutionGetSettings()->music_on = 0;
    profile->steering = 42;
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_OPTS, nullptr));
    EXPECT_FALSE(Button(OptionsCC::BUT_VOL)->IsEnabled());
    EXPECT_EQ(9, profile->steering) << "a stored setting out of range comes back within the choice";
    Choose(OptionsCC::BUT_MUSIC, 1);
    EXPECT_EQ(1, ResolutionGetSettings()->music_on);
    EXPECT_TRUE(Button(OptionsCC::BUT_VOL)->IsEnabled());
    EXPECT_TRUE(game->GetMusic()->IsInitialised());
    Choose(OptionsCC::BUT_POS, 0);
    EXPECT_EQ(0, profile->hud[3]);
    Choose(OptionsCC::BUT_MUSIC, 0);
    EXPECT_FALSE(Button(OptionsCC::BUT_VOL)->IsEnabled());

    for (int choice = -1; choice <= 10; choice++)
        EXPECT_LE(OptionsCC::MusicVolumeFor(choice), int(MUSIC_MAX_VOLUME)) << choice;
    EXPECT_EQ(30, OptionsCC::MusicVolumeFor(0));
}

TEST_F(OwnScreens, KeyboardMappingsMoveRefuseEscapeAndTimeOutEmpty)
{
    int keyboard = OpenControlsFor(ENG_INPUT_DEVICE_KEYBOARD);
    ASSERT_GE(keyboard, 0);
    ControlsCC* controls = screens->GetControls();
    EXPECT_EQ("Left Arrow", Text(ControlsCC::BUT_MOVE_LEFT));
    EXPECT_FALSE(controls->GetButton(ControlsCC::BUT_PAUSE_GAME)->IsEnabled());
    EXPECT_TRUE(controls->GetButton(ControlsCC::BUT_ACCEL)->IsEnabled());

    // The left arrow moved to RIGHT leaves LEFT empty.
    short* slots = game->GetInput()->GetBinding(0)->elements[keyboard];
    int left_arrow = slots[INPUT_ACTION_LEFT];
    controls->MapElement(INPUT_ACTION_RIGHT, left_arrow);
    EXPECT_EQ(-1, slots[INPUT_ACTION_LEFT]);
    EXPECT_EQ(left_arrow, slots[INPUT_ACTION_RIGHT]);

    // Escape is refused for every keyboard slot.
    int escape = EngInputGetDevice(keyboard)->element_map[ENG_INPUT_MAP_KEY + ENG_VK_ESCAPE];
    const char* title = nullptr;
    for (int slot : {INPUT_ACTION_LEFT, INPUT_ACTION_RIGHT, INPUT_ACTION_ACCELERATE})
        EXPECT_STREQ("THIS KEY IS RESERVED", controls->RefusalFor(slot, escape, &title)) << slot;
    EXPECT_STREQ("EXPECTING AN AXIS CONTROL, BUT GOT A BUTTON OR KEY.",
                 controls->RefusalFor(INPUT_ACTION_STEERING_AXIS, left_arrow, &title));
    EXPECT_STREQ("WRONG CONTROL TYPE", title);

    // Pressed from the screen: Escape is refused and the slot stays empty.
    SDL_AddTimer(300, PressEscapeLater, reinterpret_cast<void*>(intptr_t(SDLK_ESCAPE)));
    ASSERT_TRUE(MapOnSteppedClock(controls, INPUT_ACTION_ACCELERATE, kPatientStep));
    EXPECT_EQ("THIS KEY IS RESERVED", PopupText());
    EXPECT_EQ(-1, slots[INPUT_ACTION_ACCELERATE]);
    mwin->PopupCloseIfOn();

    // Nothing pressed for four seconds: the slot stays empty and the screen takes clicks again.
    ASSERT_TRUE(MapOnSteppedClock(controls, INPUT_ACTION_LEFT, kRunOutStep));
    EXPECT_EQ(-1, slots[INPUT_ACTION_LEFT]);
    EXPECT_FALSE(controls->IsWaiting());
    EXPECT_FALSE(mwin->IsPopupOn()) << "the release of Escape is not a new press";
    EXPECT_EQ("", Text(ControlsCC::BUT_MOVE_LEFT));

    // A key pressed during the wait is mapped, and BACK writes the controller file as it stands in memory.
    SDL_AddTimer(300, PressEscapeLater, reinterpret_cast<void*>(intptr_t(SDLK_d)));
    ASSERT_TRUE(MapOnSteppedClock(controls, INPUT_ACTION_LEFT, kPatientStep));
    EXPECT_EQ("D", Text(ControlsCC::BUT_MOVE_LEFT));
    ASSERT_EQ(SCREEN_CTRL, screens->GetCurrentScreen());
    ASSERT_TRUE(Click(ControlsCC::BUT_BACK));
    EXPECT_NE(SCREEN_CTRL, screens->GetCurrentScreen());
    std::string file = std::string(PrefFolderGetSubFolder(USERS_DRIVERS_FOLDER, false)) + "/ANNA_Controllers.csc";
    std::replace(file.begin(), file.end(), '\\', '/');
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(sizeof(UserControllerConfig), bytes.size());
    EXPECT_EQ(0, memcmp(bytes.data(), game->GetInput()->GetConfig(0), bytes.size()));
    EXPECT_STREQ("D", game->GetInput()->GetConfig(0)->entries[keyboard].element_names[INPUT_ACTION_LEFT]);

    // Read back and written again, the file does not change by a byte.
    ASSERT_TRUE(game->GetInput()->LoadUserConfig(0));
    ASSERT_TRUE(game->GetInput()->SaveUserConfig(0));
    std::ifstream again(file, std::ios::binary);
    std::vector<char> rewritten((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, rewritten);
}

TEST_F(OwnScreens, ClosingTheWindowEndsTheMappingWaitAndReachesTheMainLoop)
{
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_CTRL, nullptr));
    SDL_AddTimer(
        300,
        [](Uint32, void*) -> Uint32 {
            SDL_Event event = {};
            event.type = SDL_WINDOWEVENT;
            event.window.event = SDL_WINDOWEVENT_CLOSE;
            event.window.windowID = SDL_GetWindowID(eng_main_window->GetWindowHandle_PC());
            SDL_PushEvent(&event);
            return 0;
        },
        nullptr);
    ASSERT_TRUE(MapOnSteppedClock(screens->GetControls(), INPUT_ACTION_RIGHT, kPatientStep));
    EXPECT_EQ(-1, screens->GetControls()->GetElementReceived());
    EXPECT_EQ(0, EngMainPumpOneMessage_PC()) << "the quit is left for the main loop";
}

namespace {

// A standard game controller (its D-pad is the hat), attached before the game lists its devices.
class StickScreens : public OwnScreens
{
protected:
    void SetUp() override
    {
        // The offscreen window never has the focus that SDL otherwise wants before it takes a pad's input.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_JOYSTICK)) << SDL_GetError();
        stick = AttachVirtualPad("Race Pad");
        ASSERT_NE(nullptr, stick) << SDL_GetError();
        OwnScreens::SetUp();
    }
    void TearDown() override
    {
        OwnScreens::TearDown();
        SDL_JoystickClose(stick);
        for (int i = SDL_NumJoysticks() - 1; i >= 0; i--)
            SDL_JoystickDetachVirtual(i);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
    // Maps a slot from the screen while a player moves the stick a moment after the wait has begun.
    void MapByMoving(int slot, void (*move)(SDL_Joystick*))
    {
        pending_move = move;
        SDL_TimerID timer = SDL_AddTimer(300, MoveLater, this);
        ASSERT_TRUE(MapOnSteppedClock(screens->GetControls(), slot, kPatientStep));
        SDL_RemoveTimer(timer);
    }
    static Uint32 MoveLater(Uint32, void* self)
    {
        StickScreens* test = static_cast<StickScreens*>(self);
        test->pending_move(test->stick);
        return 0;
    }
    std::string Mapped(int device, int slot)
    {
        const UserControllerEntry& entry = game->GetInput()->GetConfig(0)->entries[device];
        return entry.element_names[slot];
    }

    SDL_Joystick* stick = nullptr;
    void (*pending_move)(SDL_Joystick*) = nullptr;
};

} // namespace

TEST_F(StickScreens, AxisHatAndButtonsMappedFromTheScreenAreSavedAndSteerTheRace)
{
    int device = OpenControlsFor(ENG_INPUT_DEVICE_JOYSTICK);
    ASSERT_GE(device, 0);
    ControlsCC* controls = screens->GetControls();
    EXPECT_TRUE(controls->GetButton(ControlsCC::BUT_PAUSE_GAME)->IsEnabled());

    MapByMoving(INPUT_ACTION_STEERING_AXIS,
                [](SDL_Joystick* s) { SDL_JoystickSetVirtualAxis(s, SDL_CONTROLLER_AXIS_LEFTY, 30000); });
    MapByMoving(INPUT_ACTION_POV,
                [](SDL_Joystick* s) { SDL_JoystickSetVirtualButton(s, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1); });
    MapByMoving(INPUT_ACTION_LEFT, [](SDL_Joystick* s) { SDL_JoystickSetVirtualButton(s, SDL_CONTROLLER_BUTTON_X, 1); });
    MapByMoving(INPUT_ACTION_ACCELERATE,
                [](SDL_Joystick* s) { SDL_JoystickSetVirtualButton(s, SDL_CONTROLLER_BUTTON_Y, 1); });
    EXPECT_EQ("Y Axis", Text(ControlsCC::BUT_LEFT_RIGHT_AXIS));
    EXPECT_EQ("Hat Switch", Text(ControlsCC::BUT_LEFT_RIGHT_POV));
    EXPECT_EQ("Button 2", Text(ControlsCC::BUT_MOVE_LEFT));
    EXPECT_EQ("Button 3", Text(ControlsCC::BUT_ACCEL));
    EXPECT_EQ(0u, Text(ControlsCC::BUT_PAUSE_GAME).find("Escape or ")) << "a pad pauses with Escape too";
    ASSERT_TRUE(Click(ControlsCC::BUT_BACK));
    EXPECT_EQ("Y Axis", Mapped(device, INPUT_ACTION_STEERING_AXIS));
    EXPECT_EQ("Button 3", Mapped(device, INPUT_ACTION_ACCELERATE));

    // A race steered by them: the stick is the device in use.
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, 0);
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0);
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_X, 0);
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_Y, 0);
    ASSERT_TRUE(game->SetupRace(GAME_TYPE_QUICK_RACE, 0, 1, false, -1, -1));
    game->StartRace(true);
    ASSERT_TRUE(EngInputIsDeviceAcquired(device, false));
    EngInputPollAllDevices();
    const ControlsCarState* car = game->GetControls()->GetCarState(0);
    EXPECT_FALSE(game->GetControls()->IsAnalogueMode());
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, -32768);
    EngInputPollAllDevices();
    EXPECT_TRUE(game->GetControls()->IsAnalogueMode());
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_Y, 1);
    EngInputPollAllDevices();
    EXPECT_EQ(1, car->accelerate);
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_X, 1);
    EngInputPollAllDevices();
    EXPECT_EQ(1, car->left);
}

TEST_F(StickScreens, AnAbsoluteAxisCountsOnlyBeyondTheDeadZone)
{
    int device = OpenControlsFor(ENG_INPUT_DEVICE_JOYSTICK);
    ASSERT_GE(device, 0);
    ControlsCC* controls = screens->GetControls();
    int x_axis = EngInputFindElementByName(device, "X Axis");
    ASSERT_GE(x_axis, 0);
    for (int value : {CONTROLS_AXIS_DEAD_ZONE, -CONTROLS_AXIS_DEAD_ZONE, 0}) {
        controls->RedefineElementCB(device, x_axis, value, true);
        EXPECT_EQ(-1, controls->GetElementReceived()) << value;
    }
    controls->RedefineElementCB(device + 1, x_axis, 3000, true);
    EXPECT_EQ(-1, controls->GetElementReceived()) << "another device";
    controls->RedefineElementCB(device, x_axis, -CONTROLS_AXIS_DEAD_ZONE - 1, true);
    EXPECT_EQ(x_axis, controls->GetElementReceived());
}

TEST_F(OwnScreens, ADriverWhoOpenedTheControlsScreenIsNeverToldHowToAccelerate)
{
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_OPTS, nullptr));
    ASSERT_TRUE(Click(OptionsCC::BUT_CONTROLS));
    ASSERT_EQ(SCREEN_CTRL, screens->GetCurrentScreen());
    ASSERT_TRUE(Click(ControlsCC::BUT_BACK));
    StartRace(GAME_TYPE_TIME_TRIAL, 0, 1, 1);
    ASSERT_TRUE(RunUntilRacing(10.0));
    // Far past the five seconds after which a driver who never accelerates is told how.
    EXPECT_FALSE(RunUntil([this] { return game->GetMessageType() == GAME_MESSAGE_ACCELERATE; }, 10.0));
}

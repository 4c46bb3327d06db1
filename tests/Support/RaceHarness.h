#pragma once
// A whole game driven headless at a fixed time step, for race tests and benchmarks: a private preferences
// folder, a driver profile, the keyboard on a main window that is never shown, the game's clock driven
// here, and the scripted pilot driving car 0 with key messages to the window, polled by the race.
//
//   RaceHarness race;
//   race.SetupRace(GAME_TYPE_QUICK_RACE, 2, 8, 3);
//   while (race.RunFrame() && race.Seconds() < 600) {}

#include <cmath>
#include <cstdlib>
#include <string>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngInputDevices.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngPrefFolder.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngWindowProc_PC.h"
#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Input.h"
#include "Game/Levels.h"
#include "Game/Program.h"
#include "Game/Screens/TorviScreens.h"
#include "Game/StateClass.h"
#include "Game/Traverse.h"
#include "Game/Users.h"
#include "ScriptedPilot.h"
#include "WindowKeys.h"

class RaceHarness
{
public:
    static constexpr double kFrameSeconds = 1.0 / 60.0;
    // The clock does not start at 0: a lap start of 0 means "not crossed yet".
    static constexpr double kStartMs = 10000.0;

    explicit RaceHarness(const char* driver = "Pilot")
    {
        char pattern[] = "/tmp/torvi-race-XXXXXX";
        const char* made = mkdtemp(pattern);
        home = made ? made : "/tmp";
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        PrefFolderSetup("Torvi Torvi", false, nullptr, false);
        eng_main_window = &window;
        EngKeyStateTableClear();
        game = new Game(&program, "Game", 0);
        UserRecord* profile = game->GetCurrentProfile();
        EngSafeStrcpy(profile->name, driver, sizeof profile->name);
        profile->license_test_state = USER_LICENSE_NORMAL_PLAY;
        profile->steering = 9;
        profile->acceleration = 9;
        profile->brakes = 9;
        for (EngUInt8& shown : profile->hud)
            shown = 1;
        game->GetInput()->Init();
        // The screens the race hands over to at its ends, as the device's set-up makes them.
        game->GetScreens()->SetupAllScreens();
        SetClock(kStartMs);
    }

    ~RaceHarness()
    {
        delete game;
        EngInputShutdown();
        eng_main_window = nullptr;
        std::string remove = "rm -rf '" + home + "'";
        if (std::system(remove.c_str()) != 0)
            DebugInfo("Could not remove %s", home.c_str());
    }

    RaceHarness(const RaceHarness&) = delete;
    RaceHarness& operator=(const RaceHarness&) = delete;

    // A race with the seven drivers (as many as the cars need) in a class and level, started at the grid.
    bool SetupRace(_GameType type, int track, int cars, int laps, bool ghost = false, unsigned seed = 1,
                   int formula = 0, int level = 0)
    {
        pilot.LetGo();
        std::srand(seed);
        const int drivers[LEVELS_NUM_DRIVERS] = {0, 1, 2, 3, 4, 5, 6};
        if (!game->GetLevels()->SetupRaceOpponents(cars - 1, drivers))
            return false;
        if (!game->SetupRace(type, track, cars, ghost, formula, level))
            return false;
        game->GetCar()->SetLaps(laps);
        game->StartRace(true);
        return true;
    }

    void SetClock(double ms)
    {
        clock_ms = ms;
        game_clock_ms = EngUInt32(clock_ms);
        eng_time = clock_ms / 1000.0;
    }

    // One frame (1/60 s unless told): the pilot's keys, the clock, the game's tick. False once the race has
    // ended (the menus are back).
    bool RunFrame(double seconds = kFrameSeconds)
    {
        if (pilot_on)
            pilot.Drive(game);
        eng_frame_time = float(seconds);
        SetClock(clock_ms + seconds * 1000.0);
        game->Tick();
        frames++;
        return !game->IsMenusOn();
    }

    // The clock's time since the harness began.
    double Seconds() const { return (clock_ms - kStartMs) / 1000.0; }

    void Key(int key, bool down) { SendKeyMessage(window, down ? ENG_WM_KEYDOWN : ENG_WM_KEYUP, key); }

    std::string home;
    Program program;
    EngWindow window{nullptr, "Race harness"};
    Game* game = nullptr;
    double clock_ms = 0.0;
    long frames = 0;
    bool pilot_on = true;
    ScriptedPilot pilot{[this](int key, bool down) { Key(key, down); }};
};

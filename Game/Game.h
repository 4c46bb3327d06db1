#pragma once

// The one object that owns the parts of the game. Program forwards the engine's callbacks to it; it runs
// the menus (the GUI on) or the race (the GUI off), and the screens start, pause and end races through it.

#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngTypes.h"
#include "Engine/Core/EngMath.h"

class Program;
class MWin;
class TorviScreens;
class Traverse;
class Controls;
class Input;
class UsersClass;
class Car;
class Drive;
class ChampClass;
class StateClass;
class Levels;
class Graphics;
class Menus;
class SettingsClass;
class TimesWorld;
class Sound;
class Music;
struct UserRecord;
struct _TrackInfo;
class EngTexture;
class EngFont;

enum _GameType : int
{
    GAME_TYPE_NONE = 0,
    GAME_TYPE_TIME_TRIAL = 1, // a time trial or a licence test
    GAME_TYPE_QUICK_RACE = 2,
    GAME_TYPE_CHAMPIONSHIP = 3,
};

// The race message on screen.
enum _GameMessage : int
{
    GAME_MESSAGE_NONE = 0,
    GAME_MESSAGE_ACCELERATE = 1,
    GAME_MESSAGE_TEST_PASSED = 2,
    GAME_MESSAGE_TOO_SLOW = 3,
};

constexpr int GAME_NAME_SIZE = 8; // at most 7 characters and the terminator

// The race font's file, registered with the GUI as its font "Main" as well.
constexpr const char* GAME_RACE_FONT_FILE = "Data/1001.dat";
constexpr const char* GAME_CURSOR_FILE = "Data/1200.tga";
constexpr const char* GAME_MENU_BACKGROUND_FILE = "Data/1120.dat";

// The race advances in fixed steps of game time, whatever the frame rate; a long frame runs several, but
// catches up at most this much, so a stalled machine slows the race instead of jumping it.
constexpr int GAME_RACE_STEPS_PER_SECOND = 60;
constexpr float GAME_RACE_STEP_SECONDS = 1.0f / float(GAME_RACE_STEPS_PER_SECOND);
constexpr double GAME_RACE_MAX_CATCH_UP_MS = 250.0;

class Game
{
public:
    // A missing program is fatal. The int is not used.
    Game(Program* program, const char* name, int unused);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Engine callbacks, through Program.
    signed char PreDeviceSetup();
    signed char PostDeviceSetup();
    bool CreateGraphicsObjects();
    void DestroyGraphicsObjects();
    void GraphicsReady();
    void Tick();
    void Render();
    bool HandleInputEvent(_EngInputEventType type, EngUInt32 value1, EngUInt32 value2);
    // Before the window closes: saves what the player leaves behind.
    void PreCloseWindow();
    // Copied from the start-up settings when the program starts.
    void SetSoundOn(bool on) { m_sound_on = on; }
    bool IsSoundOn() const { return m_sound_on; }

    // Race control, called by the screens. SetupRace refuses a track outside 0..5 and fails when the
    // computer cars cannot be set up; a negative formula or level takes the profile's.
    bool SetupRace(_GameType type, int track, int cars, bool ghost, int formula, int level);
    void StartRace(bool start_sequence);
    void PauseRace();
    // Called by the cars once every car has finished and faded out.
    void RaceFinished();
    // One fixed step of the cars alone, on the race's own clock: how a result screen runs an abandoned race
    // to its end. Negative when the race finished.
    int SimulateRaceStep();
    const _TrackInfo* GetTrackInfo() const;
    bool CreateMenuGraphics();
    bool LoadTrack(int track);
    bool LoadCars();
    void SetMessage(_GameMessage type, float seconds);
    _GameMessage GetMessageType() const { return m_message_type; }
    float GetMessageTime() const { return m_message_time; }
    void LogResolution(int number) const;

    const char* GetName() const { return m_name; }
    Program* GetProgram() const { return m_program; }
    MWin* GetMWin() const { return m_mwin; }
    TorviScreens* GetScreens() const { return m_screens; }
    Traverse* GetTraverse() const { return m_traverse; }
    Controls* GetControls() const { return m_controls; }
    Input* GetInput() const { return m_input; }
    UsersClass* GetUsers() const { return m_users; }
    Car* GetCar() const { return m_car; }
    Drive* GetDrive() const { return m_drive; }
    ChampClass* GetChamp() const { return m_champ; }
    StateClass* GetState() const { return m_state; }
    Levels* GetLevels() const { return m_levels; }
    Graphics* GetGraphics() const { return m_graphics; }
    Menus* GetMenus() const { return m_menus; }
    Sound* GetSound() const { return m_sound; }
    Music* GetMusic() const { return m_music; }
    _GameType GetGameType() const { return m_game_type; }
    int GetCarsInRace() const { return m_cars_in_race; }
    int GetTrack() const { return m_track; }
    int GetLoadedTrack() const { return m_loaded_track; }
    bool HasGhost() const { return m_ghost; }
    // The race step's time: the class's time scale times the fixed step, in seconds.
    float GetTimeStep() const { return m_time_step; }
    SettingsClass* GetSettings() const { return m_settings; }
    TimesWorld* GetTimesWorld() const { return m_times_world; }
    // Profile 0 of the driver profiles: the current driver.
    UserRecord* GetCurrentProfile() const { return m_current_profile; }
    EngFont* GetRaceFont() const { return m_race_font; }
    EngTexture* GetMenuBackground() const { return m_menu_background; }
    const EngMatrix4& GetViewMatrix() const { return m_view_matrix; }
    bool IsMenusOn() const;

    // After a driver was chosen: the main menu, and the country screen when the profile has no known country.
    void StartMainMenu();
    // The country screen's choice goes into the profile; the screen before it comes back.
    void CountryChosen(const char* code);
    static void CountryChosenCB(void* game);
    static void GotoCountryScreenCB(MWin* mwin, char result, void* game);

private:
    bool LoadRaceFont();
    void StartMenus();
    static void SplashEndedCB(void* game);
    void RenderMenus();
    void MenuTick();
    void RaceTick();
    bool RunRaceSteps();
    void AdvanceRaceClock();
    void ShowIdleHint();
    void RenderRace();
    void RenderMessage();
    // The first steps of both ends of a race; false when the GUI was already on.
    bool LeaveRace();

    char m_name[GAME_NAME_SIZE] = "";
    Program* m_program = nullptr;
    EngTexture* m_menu_background = nullptr;
    int m_loaded_track = -1;
    _GameMessage m_message_type = GAME_MESSAGE_NONE;
    float m_message_time = 0.0f;
    MWin* m_mwin = nullptr;
    UsersClass* m_users = nullptr;
    Car* m_car = nullptr;
    Drive* m_drive = nullptr;
    ChampClass* m_champ = nullptr;
    StateClass* m_state = nullptr;
    Levels* m_levels = nullptr;
    Traverse* m_traverse = nullptr;
    TorviScreens* m_screens = nullptr;
    Controls* m_controls = nullptr;
    Input* m_input = nullptr;
    Graphics* m_graphics = nullptr;
    Menus* m_menus = nullptr;
    Sound* m_sound = nullptr;
    Music* m_music = nullptr;
    SettingsClass* m_settings = nullptr;
    TimesWorld* m_times_world = nullptr;
    UserRecord* m_current_profile = nullptr;
    _GameType m_game_type = GAME_TYPE_NONE;
    int m_cars_in_race = 1;
    int m_track = 0;
    bool m_ghost = false;
    bool m_sound_on = true;
    float m_time_step = 1.0f;
    // The race's clock: the game clock when the race started (later by any pause), the steps run since, the
    // time long frames dropped, which the race never sees, and the game clock when the race was left.
    double m_race_clock_start_ms = 0.0;
    long m_race_steps = 0;
    double m_race_dropped_ms = 0.0;
    EngUInt32 m_race_left_ms = 0;
    EngFont* m_race_font = nullptr;
    EngMatrix4 m_view_matrix;
};

#pragma once

// The one object that owns the parts of the game. Program forwards the engine's callbacks to it; it runs
// the menus (the GUI on) or, later, the race.

#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngTypes.h"
#include "Engine/Core/EngMath.h"

class Program;
class MWin;
class Traverse;
class Controls;
class Input;
class UsersClass;
class SettingsClass;
class TimesWorld;
struct UserRecord;
class EngTexture;
class EngFont;

constexpr int GAME_NAME_SIZE = 8; // at most 7 characters and the terminator

// The race font's file, registered with the GUI as its font "Main" as well.
constexpr const char* GAME_RACE_FONT_FILE = "Data/1001.dat";
constexpr const char* GAME_CURSOR_FILE = "Data/1200.tga";

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

    const char* GetName() const { return m_name; }
    Program* GetProgram() const { return m_program; }
    MWin* GetMWin() const { return m_mwin; }
    Traverse* GetTraverse() const { return m_traverse; }
    Controls* GetControls() const { return m_controls; }
    Input* GetInput() const { return m_input; }
    UsersClass* GetUsers() const { return m_users; }
    SettingsClass* GetSettings() const { return m_settings; }
    TimesWorld* GetTimesWorld() const { return m_times_world; }
    // Profile 0 of the driver profiles: the current driver.
    UserRecord* GetCurrentProfile() const { return m_current_profile; }
    EngFont* GetRaceFont() const { return m_race_font; }
    EngTexture* GetMenuBackground() const { return m_menu_background; }
    const EngMatrix4& GetViewMatrix() const { return m_view_matrix; }
    bool IsMenusOn() const;

private:
    bool LoadRaceFont();
    void StartMenus();
    void RenderMenus();

    char m_name[GAME_NAME_SIZE] = "";
    Program* m_program = nullptr;
    EngTexture* m_menu_background = nullptr;
    MWin* m_mwin = nullptr;
    Controls* m_controls = nullptr;
    Input* m_input = nullptr;
    UsersClass* m_users = nullptr;
    Traverse* m_traverse = nullptr;
    SettingsClass* m_settings = nullptr;
    TimesWorld* m_times_world = nullptr;
    UserRecord* m_current_profile = nullptr;
    EngFont* m_race_font = nullptr;
    EngMatrix4 m_view_matrix;
    bool m_sound_on = true;
};

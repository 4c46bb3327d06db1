#pragma once

// The one object that owns the parts of the game. Program forwards the engine's callbacks to it; it runs
// the menus (the GUI on) or, later, the race.

#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngTypes.h"
#include "Engine/Core/EngMath.h"

class Program;
class MWin;
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

    const char* GetName() const { return m_name; }
    Program* GetProgram() const { return m_program; }
    MWin* GetMWin() const { return m_mwin; }
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
    EngFont* m_race_font = nullptr;
    EngMatrix4 m_view_matrix;
};

#pragma once

// The game's application object. Init decides whether the program runs at all and creates the Game;
// the other callbacks hand the engine's calls on to the Game.

#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngTypes.h"

class Game;

// The game's clock: the engine clock in whole milliseconds, set once a frame by Program::TickCB.
extern EngUInt32 game_clock_ms;

class Program : public EngProgram
{
public:
    Program() = default;
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    signed char Init(char* command_line) override;
    signed char PreCreateWindowCB(_EngCreateWindowParms* parms) override;
    signed char PreDeviceInitCB() override;
    signed char PostDeviceInitCB() override;
    bool CreateGraphicsObjectsCB() override;
    void DestroyGraphicsObjectsCB() override;
    bool TickCB() override;
    void RenderCB() override;
    bool InputEventCB(_EngInputEventType type, EngUInt32 value1, EngUInt32 value2) override;
    void GraphicsReadyCB() override;
    void PreCloseWindowCB() override;
    void DeInitCB() override;

    // Null until Init has created it and after DeInitCB.
    Game* GetGame() const { return m_game; }

private:
    void ReleaseGameAndTexts();

    Game* m_game = nullptr;
};

// Set when the command line asked for the start-up settings dialog ("CONFIGURATION").
bool ProgramIsDialogForced();

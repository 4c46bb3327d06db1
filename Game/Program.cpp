#include "Game/Program.h"

#include <cstring>
#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngLanguages.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Game/Game.h"

EngUInt32 game_clock_ms = 0;

namespace {

constexpr float kGameVersion = 1.5f;
constexpr float kFileVersion = 1.4f;
constexpr const char* kDashes = "---------------------------------------------------------------------------";
// Until the start-up settings choose one, the game speaks English.
constexpr const char* kLanguage = "English";

bool g_dialog_forced = false;

void LogBanner()
{
    DebugInfoPlain("Torvi Torvi !!!");
    DebugInfoPlain("%s", kDashes);
    DebugInfoPlain("Game Version %0.2f", kGameVersion);
    DebugInfoPlain("File Version %0.2f", kFileVersion);
    DebugInfoPlain("%s", kDashes);
    DebugInfoPlain("Architecture: PC");
    DebugInfoPlain("%s", kDashes);
}

// Each step reports its own failure.
bool SetupLanguages()
{
    return EngLanguagesInit("Languages", kLanguage, true) && EngLanguagesInitAddCommonTextsPath() &&
           EngLanguagesInitFinished();
}

} // namespace

bool ProgramIsDialogForced()
{
    return g_dialog_forced;
}

// The base destructor would only reach its own DeInitCB: close down here while the Game can still hear it.
Program::~Program()
{
    Shutdown(false);
    ReleaseGameAndTexts();
}

void Program::ReleaseGameAndTexts()
{
    EngLanguagesDestroy();
    delete m_game;
    m_game = nullptr;
}

signed char Program::Init(char* command_line)
{
    // A second Init starts afresh rather than leaking the first Game.
    ReleaseGameAndTexts();
    if (!SetupLanguages())
        return 0;
    SetMainDeviceType(ENG_DEVICE_DX9);
    // Only the exact word counts; anything else on the command line is ignored.
    if (command_line && std::strcmp(command_line, "CONFIGURATION") == 0)
        g_dialog_forced = true;
    LogBanner();
    m_game = new (std::nothrow) Game(this, "Game", 0);
    if (!m_game) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return 0;
    }
    return 1;
}

signed char Program::PreDeviceInitCB()
{
    return m_game ? m_game->PreDeviceSetup() : 1;
}

signed char Program::PostDeviceInitCB()
{
    return m_game ? m_game->PostDeviceSetup() : 1;
}

bool Program::CreateGraphicsObjectsCB()
{
    return m_game ? m_game->CreateGraphicsObjects() : true;
}

void Program::DestroyGraphicsObjectsCB()
{
    if (m_game)
        m_game->DestroyGraphicsObjects();
}

bool Program::TickCB()
{
    game_clock_ms = EngUInt32(eng_time * 1000.0);
    if (!EngDeviceIsCreated())
        return false;
    if (!eng_main_window || !m_game)
        return true;
    m_game->Tick();
    return true;
}

void Program::RenderCB()
{
    if (EngDeviceIsCreated() && m_game)
        m_game->Render();
}

bool Program::InputEventCB(_EngInputEventType type, EngUInt32 value1, EngUInt32 value2)
{
    if (!eng_main_window || !m_game)
        return false;
    return m_game->HandleInputEvent(type, value1, value2);
}

void Program::GraphicsReadyCB()
{
    if (m_game)
        m_game->GraphicsReady();
}

void Program::DeInitCB()
{
    ReleaseGameAndTexts();
}

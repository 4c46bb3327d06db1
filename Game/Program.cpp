#include "Game/Program.h"

#include <cstring>
#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngLanguages.h"
#include "Engine/Core/EngMath.h"
#include "Engine/Core/EngRandom.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Game/Game.h"
#include "Game/Resolution.h"
#include "Game/Screens/Countries.h"

EngUInt32 game_clock_ms = 0;

namespace {

constexpr float kGameVersion = 1.5f;
constexpr float kFileVersion = 1.4f;
constexpr const char* kDashes = "---------------------------------------------------------------------------";

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
    return EngLanguagesInit("Languages", ResolutionGetSettings()->language, true) &&
           EngLanguagesInitAddCommonTextsPath() && EngLanguagesInitFinished();
}

// The weekly version check, the start-up settings dialog when it is due, and the crash guard: while the
// game runs "Resolution.dat" asks for the dialog, so that a start after a crash shows it.
signed char RunStartUpSettings()
{
    ResolutionSettings* settings = ResolutionGetSettings();
    if (ResolutionDoWeeklyVersionCheck()) {
        settings->show_dialog = 1;
        return -1;
    }
    bool skip_dialog = !g_dialog_forced && ResolutionLoadSettings() && settings->show_dialog == 0 &&
                       EngMiscFloatsNearlyEqual(settings->program_version, kGameVersion);
    if (!skip_dialog) {
        settings->show_dialog = 1;
        signed char result = ResolutionDoDialog();
        if (result < 1)
            return result;
    }
    EngUInt8 kept = settings->show_dialog;
    settings->show_dialog = 1;
    ResolutionUpdateSettingsFromCurrent();
    ResolutionSaveSettings();
    settings->show_dialog = kept;
    return 1;
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
    EngRandomSetup();
    if (!SetupLanguages())
        return 0;
    // Large flags, kept after a choice; the country screen sets its own continue callback.
    CountrySetup(true, false, nullptr, nullptr, 0.0f, 0.0f);
    SetMainDeviceType(ENG_DEVICE_DX9);
    // Only the exact word counts; anything else on the command line is ignored.
    if (command_line && std::strcmp(command_line, "CONFIGURATION") == 0)
        g_dialog_forced = true;
    LogBanner();
    signed char decision = RunStartUpSettings();
    if (decision < 1)
        return decision;
    m_game = new (std::nothrow) Game(this, "Game", 0);
    if (!m_game) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return 0;
    }
    m_game->SetSoundOn(ResolutionGetSettings()->sound_on != 0);
    ResolutionLogSettings(1);
    return 1;
}

signed char Program::PreCreateWindowCB(_EngCreateWindowParms* parms)
{
    if (!parms)
        return 1;
    const ResolutionSettings* settings = ResolutionGetSettings();
    parms->multisample_type = settings->windowed ? settings->windowed_ms_type : settings->full_ms_type;
    parms->multisample_quality = settings->windowed ? settings->windowed_ms_quality : settings->full_ms_quality;
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

void Program::PreCloseWindowCB()
{
    if (m_game)
        m_game->PreCloseWindow();
}

void Program::DeInitCB()
{
    ReleaseGameAndTexts();
}

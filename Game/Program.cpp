#include "Game/Program.h"

#include <cstring>

#include "Engine/Core/EngDebug.h"

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

} // namespace

bool ProgramIsDialogForced()
{
    return g_dialog_forced;
}

signed char Program::Init(char* command_line)
{
    SetMainDeviceType(ENG_DEVICE_DX9);
    // Only the exact word counts; anything else on the command line is ignored.
    if (command_line && std::strcmp(command_line, "CONFIGURATION") == 0)
        g_dialog_forced = true;
    LogBanner();
    return 1;
}

#include "Game/Main.h"

#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngInternet.h"
#include "Engine/Core/EngPrefFolder.h"
#include "Engine/Core/EngWindow.h"
#include "Game/Program.h"
#include "Game/Resolution.h"

namespace {

Program* g_program = nullptr;
bool g_one_time_setup_done = false;
constexpr int kUrlSize = 512;
char g_home_page_url[kUrlSize] = "";
char g_forum_url[kUrlSize] = "";
// Filled by the start-up settings; until then the engine's own window description.
_EngCreateWindowParms g_create_window_parms;

} // namespace

void MainOneTimeSetup()
{
    if (g_one_time_setup_done)
        return;
    g_one_time_setup_done = true;
    PrefFolderSetup("Torvi Torvi", true, "LogFile.txt", true);
    ResolutionSetup(14, 0, 1.5f, 1.5f, MainGetUrl, false, true, true, false, false);
    ResolutionLoadSettings();
}

const char* MainGetUrl(int index)
{
    if (index == 1)
        return EngInternetMakeMakerURL("torvitorvi/", g_home_page_url, sizeof(g_home_page_url)) ? g_home_page_url
                                                                                                 : nullptr;
    if (index == 2)
        return EngInternetMakeMakerURL("forum/", g_forum_url, sizeof(g_forum_url)) ? g_forum_url : nullptr;
    return nullptr;
}

Program* MainGetProgram()
{
    return g_program;
}

signed char MainCreateAndInitMainProgram(void* instance, char* command_line, int* exit_code)
{
    MainOneTimeSetup();
    g_program = new (std::nothrow) Program();
    if (!g_program) {
        DebugError(ENG_FUNC, "No memory");
        *exit_code = -1;
        return 0;
    }
    signed char result = g_program->Setup(instance, command_line);
    if (result < 0) {
        *exit_code = 0;
        return 0;
    }
    if (result == 0) {
        DebugError(ENG_FUNC, "Init Failed");
        *exit_code = -1;
        return 0;
    }
    return 1;
}

void MainDestroyMainProgram(bool normal_end)
{
    (void)normal_end;
    if (!g_program)
        return;
    g_program->Shutdown(true);
    delete g_program;
    g_program = nullptr;
}

const char* MainGetWindowTitle()
{
    return "Torvi Torvi !!!";
}

const char* MainGetWindowClassName()
{
    return "TorviTorviClass";
}

_EngCreateWindowParms* MainGetCreateWindowParms()
{
    return &g_create_window_parms;
}

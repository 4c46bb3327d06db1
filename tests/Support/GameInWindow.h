#pragma once
// The game started as the program starts it, in a 1024 x 768 window on an offscreen context: headless and
// silent, nobody to answer a dialog, no network, a private preferences folder; llvmpipe keeps its default
// threads. For benchmarks that measure what the program itself pays.

#include <SDL2/SDL.h>

#include <cstdlib>

#include "Engine/Core/EngMainEntry.h"
#include "Engine/Core/EngWindow.h"
#include "Game/Main.h"
#include "Game/Program.h"

// The game ends as the program ends it, its sound devices closed before their library's own clean-up runs.
inline void EndGameInWindow()
{
    MainDestroyMainProgram(true);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// Null when the program, its window or its device could not be made. The game ends at the process's exit.
inline Program* StartGameInWindow()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    setenv("TORVI_NONINTERACTIVE", "1", 0);
    setenv("TORVI_WEB_BASE", "http://127.0.0.1:9", 0);
    char pattern[] = "/tmp/torvi-bench-XXXXXX";
    if (const char* home = mkdtemp(pattern))
        setenv("XDG_DATA_HOME", home, 1);
    int exit_code = 0;
    char command_line[] = "";
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0 || MainCreateAndInitMainProgram(nullptr, command_line, &exit_code) != 1)
        return nullptr;
    _EngCreateWindowParms* parms = MainGetCreateWindowParms();
    parms->windowed = 1;
    parms->width = 1024;
    parms->height = 768;
    std::atexit(EndGameInWindow);
    if (EngMainCreateMainWindow() != 1 || !EngMainCreateMainGraphicsDevice())
        return nullptr;
    return MainGetProgram();
}

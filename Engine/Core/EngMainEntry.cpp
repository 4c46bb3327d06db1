#include "Engine/Core/EngMainEntry.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngProgram.h"

namespace {

// The game's exit code travels on as a signed 8-bit result between -128 and -1.
signed char FailureExitCode(int exit_code)
{
    if (exit_code < -128)
        return -128;
    if (exit_code > -1)
        return -1;
    return static_cast<signed char>(exit_code);
}

} // namespace

int WinMain(void* instance, void* previous_instance, char* command_line, int show_flag)
{
    (void)previous_instance;
    (void)show_flag;
    if (eng_main_program) {
        DebugError(ENG_FUNC, "eng_main_program already exists.");
        return -1;
    }
    signed char created = EngMainCreateMainProgram(instance, command_line);
    if (created <= 0)
        return created;
    signed char window = EngMainCreateMainWindow();
    // The game refused the window quietly.
    if (window < 0)
        return window;
    if (window == 0 || !EngMainCreateMainGraphicsDevice()) {
        EngMainShowFatalBox();
        MainDestroyMainProgram(false);
        return -1;
    }
    if (eng_main_program)
        eng_main_program->RunMainLoop();
    MainDestroyMainProgram(true);
    return EngMainWorkerFailed() ? -1 : 0;
}

signed char EngMainCreateMainProgram(void* instance, char* command_line)
{
    int exit_code = 0;
    signed char result = MainCreateAndInitMainProgram(instance, command_line, &exit_code);
    if (result == 1) {
        if (!eng_main_program) {
            DebugError(ENG_FUNC, "eng_main_program was not created.");
            EngMainShowFatalBox();
            MainDestroyMainProgram(false);
            return -1;
        }
        EngMainCheckInternals();
        return 1;
    }
    if (exit_code == 0) {
        MainDestroyMainProgram(true);
        return 0;
    }
    DebugError(ENG_FUNC, "Init returned %d,  Exit %d.", result, exit_code);
    EngMainShowFatalBox();
    MainDestroyMainProgram(false);
    return FailureExitCode(exit_code);
}

signed char EngMainCreateMainWindow()
{
    if (!eng_main_program) {
        DebugError(ENG_FUNC, "No main program");
        return 0;
    }
    return eng_main_program->CreateMainWindow(MainGetWindowTitle(), MainGetWindowClassName(),
                                              MainGetCreateWindowParms());
}

bool EngMainCreateMainGraphicsDevice()
{
    if (!eng_main_program) {
        DebugError(ENG_FUNC, "No main program");
        return false;
    }
    return eng_main_program->CreateMainGraphicsDevice();
}

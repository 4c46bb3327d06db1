#pragma once

// The start-up path from the process entry, and the hooks through which it reaches the game.

struct _EngCreateWindowParms;

// Hooks the game provides.
// Returns 1 when the application object exists and was set up; otherwise *exit_code says how to end:
// 0 quietly, a negative value with that code after the fatal box.
signed char MainCreateAndInitMainProgram(void* instance, char* command_line, int* exit_code);
void MainDestroyMainProgram(bool normal_end);
const char* MainGetWindowTitle();
const char* MainGetWindowClassName();
_EngCreateWindowParms* MainGetCreateWindowParms();

// Returns the process exit code.
int WinMain(void* instance, void* previous_instance, char* command_line, int show_flag);
signed char EngMainCreateMainProgram(void* instance, char* command_line);
signed char EngMainCreateMainWindow();
bool EngMainCreateMainGraphicsDevice();

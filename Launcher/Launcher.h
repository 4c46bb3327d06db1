#pragma once

// The launcher: a small program beside the game that checks that the game's graphics library (libGL) can
// be loaded, then starts the game; when it cannot be loaded, its dialog offers the driver download page,
// starting the game anyway, or giving up. It shares no code with the game.

// The game's program, expected beside the launcher.
constexpr const char* LAUNCHER_GAME_PROGRAM = "Torvi_DX9";
// The library the game's device needs at run time.
constexpr const char* LAUNCHER_GRAPHICS_LIBRARY = "libGL.so.1";

// True when the graphics library loads (it is unloaded again at once).
bool LauncherCheckDirectX9();
// Loads the graphics library and keeps it; true at once when it is already held.
bool LauncherLoadD3D9();
// Starts the game beside the launcher, without arguments, in the launcher's current folder, and does not
// wait for it. A game that cannot be started is reported on standard error.
bool LauncherStartGame();
// The exit status: 0 when the game was started, 1 when it was not (the dialog was given up, or the game
// could not be started).
int WinMain();

#pragma once

// The dialog shown when the graphics library is missing. With TORVI_NONINTERACTIVE=1 its texts go to
// standard error and it takes its default answer, Ok, at once.

constexpr int LAUNCHER_ID_OK = 1;
constexpr int LAUNCHER_ID_CANCEL = 2; // Escape and the close box
constexpr int LAUNCHER_ID_DOWNLOAD_PAGE = 1204;
constexpr int LAUNCHER_ID_IGNORE = 1205;

constexpr const char* LAUNCHER_DOWNLOAD_PAGE = "https://www.mesa3d.org/";

// Shows the dialog modally and returns when it closes: true when "Ignore ..." started the game.
bool LauncherShowDialog();
// One command from the dialog's controls, by control id: 1 when handled (the dialog closes), 0 otherwise.
int LauncherDialogProc(int control_id);

#pragma once

// $XDG_DATA_HOME, else ~/.local/share. size must be at least 256.
bool EngMiscGetUserApplicationDataDirectory_PC(char* out, int size);
// XDG_DESKTOP_DIR of user-dirs.dirs, else ~/Desktop when it exists. False when neither exists.
bool EngMiscGetDesktopDirectory_PC(char* out, int size);

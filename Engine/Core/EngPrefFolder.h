#pragma once

// Every file the game writes lies in one per-user folder: <application data>/Ostrelmark/<folder name>.
// Results live in engine-wide buffers that every call overwrites: copy what you keep. Main thread only.

constexpr int ENG_PREF_PATH_SIZE = 768;
constexpr int ENG_PREF_FOLDER_NAME_MAX = 127;

// <application data>\sub. False for empty arguments or when it does not fit.
bool EngMiscGetUserApplicationDataSubPath(const char* sub, char* out, int size);
bool EngMiscCreateUserApplicationDataSubDirectoryIfNeeded(const char* sub, char* out, int size);
bool EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded(const char* sub, const char* sub_sub, char* out,
                                                             int size);

const char* PrefFolderSetup(const char* folder_name, bool open_log, const char* log_name, bool unused);
void PrefFolderOpenLog(const char* log_name);
const char* PrefFolderGetMainFolder();
const char* PrefFolderGetMainFolderWithFileAppended(const char* file);
const char* PrefFolderGetSubFolder(const char* name, bool create);
const char* PrefFolderGetDesktopFolder();

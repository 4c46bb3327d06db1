#pragma once

// The version check against the maker's version script, shown in a small native window, and the download
// of a new installer to the user's desktop. Main thread only; every call blocks.

#include "Engine/Core/EngMiscDate.h"

// The program whose version is asked for: 1 to 14 and 16. This game is 14.
enum _UpdaterProgramName : int
{
    UPDATER_PROGRAM_TORVI = 14,
};

// The edition sent as program_type.
enum _UpdaterProgramType : int
{
    UPDATER_PROGRAM_TYPE_DEMO = 0,
    UPDATER_PROGRAM_TYPE_FULL = 1,
};

constexpr int UPDATER_REQUEST_SIZE = 512;
constexpr int UPDATER_REPLY_SIZE = 2048;
constexpr int UPDATER_LINK_SIZE = 256;
constexpr int UPDATER_RESULT_MESSAGE_SIZE = 41;
// Installers larger than this are refused.
constexpr unsigned long long UPDATER_DOWNLOAD_LIMIT = 512ull * 1024 * 1024;

class SWin;

bool UpdaterSetupUrl(_UpdaterProgramName program, float version, _UpdaterProgramType type);
bool UpdaterReadURL(const char* address, bool test_only);
bool UpdaterDoInternetTest(char* out, int size);
// True when the program should end so that the player can install.
bool UpdaterCheckForNewVersion(_UpdaterProgramName program, float version, _UpdaterProgramType type);
// Checks when the last check lies 7 days or more in the past; *last_check then becomes today.
bool UpdaterDoWeeklyCheck(_EngMiscDate* last_check, _UpdaterProgramName program, float version,
                          _UpdaterProgramType type);
// False only when the link names no file.
bool UpdaterStartDownload(const char* link);
bool UpdaterDoDownload();

void UpdaterAppendText(const char* text);
void UpdaterClearText();
void UpdaterPumpMessages();
void UpdaterCancelDownloadCB(SWin* win, void* user);
void UpdaterCustomerLoginPageMainCB(SWin* win, void* user);

// What the last calls left: the request, the reply (cut at the download marker), the reason of the last
// failed read, and the download link (after a download, the message for the player).
const char* UpdaterGetRequest();
const char* UpdaterGetReply();
const char* UpdaterGetResultMessage();
const char* UpdaterGetDownloadLink();
// The largest installer accepted (UPDATER_DOWNLOAD_LIMIT unless changed).
void UpdaterSetDownloadLimit(unsigned long long bytes);
// A name from a server made safe as a file name: no "/", "\\", "..", control characters or leading ".".
void UpdaterMakeSafeFileName(char* name);

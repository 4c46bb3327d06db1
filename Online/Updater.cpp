#include "Online/Updater.h"

#include <curl/curl.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngInternet.h"
#include "Engine/Core/EngLanguages.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngPrefFolder.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/PC/EngMessageBox_PC.h"
#include "Engine/Core/SWin.h"
#include "Online/CurlInterface.h"

namespace {

constexpr char kVersionScript[] = "/cgi-bin/common/updater/CheckVersionV2.cgi";
constexpr char kDownloadMarker[] = "#DL:<";
constexpr int kMarkerLength = 5;
constexpr int kShortestLinkText = 11;
constexpr char kCustomerLoginLink[] = "custlogin";
constexpr int kReadTimeout = 5;
constexpr int kTextReadBack = 5000;
constexpr int kPumpRounds = 100;
constexpr double kPumpSleep = 0.0001;
constexpr double kNoticeTime = 2.0;
constexpr float kGrey = 0.94f;
constexpr long kStallSeconds = 60;
constexpr long kConnectSeconds = 30;
constexpr int kStepPerform = 8;
constexpr int kShownFileName = 64;

struct UpdaterProgramRow
{
    int number;
    const char* name;
};

// The maker's products; only this game's row is fixed.
const UpdaterProgramRow k_programs[] = {
    {1, "Harrier"},  {2, "Kestrel"}, {3, "Merlin"},   {4, "Osprey"},  {5, "Falcon"},
    {6, "Hobby"},    {7, "Buzzard"}, {8, "Goshawk"},  {9, "Kite"},    {10, "Eagle"},
    {11, "Condor"},  {12, "Lanner"}, {13, "Saker"},   {14, "Torvi"},  {16, "Gyrfalcon"},
};

struct UpdaterState
{
    char request[UPDATER_REQUEST_SIZE] = {};
    char program_name[16] = {};
    int program = 0;
    int type = 0;
    char platform[4] = "PC";
    char edition[8] = {};
    char reply[UPDATER_REPLY_SIZE] = {};
    char result_message[UPDATER_RESULT_MESSAGE_SIZE] = {};
    char link[UPDATER_LINK_SIZE] = {};
    char file_name[UPDATER_LINK_SIZE] = {};
    bool download_requested = false;
    bool link_given = false;
    SWin window;
    int text_control = -1;
    // A download window was shown: closing it cancels the transfer.
    bool download_window_shown = false;
    unsigned long long download_limit = UPDATER_DOWNLOAD_LIMIT;
};

UpdaterState s_updater;

// The file being downloaded.
struct UpdaterDownload
{
    EngFile file;
    unsigned long long written = 0;
    bool too_large = false;
};

const char* ProgramNameText(int program)
{
    for (const UpdaterProgramRow& row : k_programs) {
        if (row.number == program)
            return row.name;
    }
    return nullptr;
}

const char* EditionText(int type)
{
    return type == UPDATER_PROGRAM_TYPE_FULL ? "Full" : "Demo";
}

void SetResultMessage(const char* text)
{
    EngSafeStrcpy(s_updater.result_message, text, sizeof(s_updater.result_message));
}

// Opens the one window with its text control. False when no window can be shown (no display).
bool OpenWindow(int width, int height, const char* text, int text_x, int text_y, int text_width,
                int text_height, SWinTextAlign align)
{
    SWinCreateInfo info = {};
    EngSafeStrcpy(info.title, "Updater", sizeof(info.title));
    info.width = width;
    info.height = height;
    info.red = info.green = info.blue = kGrey;
    s_updater.text_control = -1;
    if (!s_updater.window.CreateMainWindow(&info))
        return false;
    s_updater.window.user = &s_updater;
    s_updater.text_control =
        s_updater.window.AddButtonToWindow(SWIN_BUTTON_LABEL, text_x, text_y, text_width, text_height, text);
    if (s_updater.text_control >= 0 && align != SWIN_TEXT_ALIGN_NONE)
        s_updater.window.SetButtonTextAlign(s_updater.text_control, align);
    return true;
}

void CloseWindow()
{
    if (s_updater.window.IsCreated())
        s_updater.window.DestroyMainWindow();
    s_updater.text_control = -1;
}

// Waits so that the player can read the window's text; nothing to read without a window or a person.
void ShowForAWhile()
{
    if (!s_updater.window.IsCreated() || EngMessageBoxIsNonInteractive_PC())
        return;
    double end = EngMainUpdateTime() + kNoticeTime;
    while (EngMainUpdateTime() < end && s_updater.window.IsCreated()) {
        UpdaterPumpMessages();
        EngMiscSleep(0.01);
    }
}

// Pumps until the player ends the window's loop (or the window is gone).
void RunWindowLoop()
{
    while (s_updater.window.IsCreated() && s_updater.window.WaitForWindowsMessages() != 0) {
    }
}

void ShowNoticeAndClose(const char* token, const char* english)
{
    UpdaterClearText();
    UpdaterAppendText(EngLanguagesGetStringOrDefault(token, english));
    UpdaterPumpMessages();
    ShowForAWhile();
    CloseWindow();
}

void CloseCB(SWin* win, void*)
{
    win->QuitWindowLoop();
}

void DownloadCB(SWin* win, void*)
{
    s_updater.download_requested = true;
    win->QuitWindowLoop();
}

void ShowNewVersion()
{
    const int width = 640;
    const int height = 420;
    if (!OpenWindow(width, height, s_updater.reply, 20, 20, width - 40, height - 100, SWIN_TEXT_ALIGN_NONE))
        return;
    s_updater.window.AddPushButton(width - 160, height - 60, 140, 20, "Close", CloseCB);
    s_updater.window.AddPushButton(20, height - 60, 140, 20, "Download", DownloadCB);
    RunWindowLoop();
    CloseWindow();
}

void ShowCustomerLoginNotice()
{
    const int width = 640;
    const int height = 320;
    bool shown = OpenWindow(width, height,
               "To upgrade to this version, you need to download the latest version via your Ostrelmark' Customer "
               "Login page.\n\nCheck your emails to get your Customer Login details you received when you ordered "
               "the game, or use the email recovery system you will see online if you cannot find your order "
               "details.",
               20, 20, width - 40, height - 100, SWIN_TEXT_ALIGN_NONE);
    if (!shown)
        return;
    s_updater.window.AddPushButton(width - 160, height - 60, 140, 20, "Close", CloseCB);
    s_updater.window.AddPushButton(20, height - 60, 240, 25, "Ostrelmark' Customer Login Page",
                                   UpdaterCustomerLoginPageMainCB);
    RunWindowLoop();
    CloseWindow();
}

// Keeps the text before the marker and takes the link behind it.
void TakeDownloadLink()
{
    char* marker = std::strstr(s_updater.reply, kDownloadMarker);
    if (!marker)
        return;
    size_t tail = std::strlen(marker);
    if (tail > UPDATER_LINK_SIZE - 1) {
        marker[UPDATER_LINK_SIZE] = 0;
        DebugInfoQuick(ENG_FUNC, "Link too long <%s...>", marker);
        return;
    }
    char link[UPDATER_LINK_SIZE];
    EngSafeStrcpy(link, marker + kMarkerLength, sizeof(link));
    if (char* end = std::strchr(link, '>'))
        *end = 0;
    // The customer-login reply is shorter than any download link, and is a link of its own.
    bool customer_login = std::strcmp(link, kCustomerLoginLink) == 0;
    if (tail - kMarkerLength >= size_t(kShortestLinkText) || customer_login)
        EngSafeStrcpy(s_updater.link, link, sizeof(s_updater.link));
    *marker = 0;
}

size_t UpdaterWriteFileCB(char* data, size_t size, size_t count, void* user)
{
    auto* download = static_cast<UpdaterDownload*>(user);
    size_t length = size * count;
    if (length == 0)
        return 0;
    if (download->written + length > s_updater.download_limit) {
        download->too_large = true;
        return 0;
    }
    if (!download->file.Write(data, unsigned(length)))
        return 0;
    download->written += length;
    return length;
}

int UpdaterProgressCB(void*, curl_off_t total, curl_off_t done, curl_off_t, curl_off_t)
{
    if (!s_updater.download_window_shown)
        return 0;
    if (!s_updater.window.IsCreated() || s_updater.text_control < 0 || s_updater.window.HasLoopEnded())
        return 1;
    double percent = total > 0 ? double(done) * 100.0 / double(total) : 0.0;
    percent = std::round(percent * 10.0) / 10.0;
    char text[UPDATER_LINK_SIZE + 64];
    if (s_updater.file_name[0])
        snprintf(text, sizeof(text), "Downloading %s (%.1f%%) ...", s_updater.file_name, percent);
    else
        snprintf(text, sizeof(text), "Downloading (%.1f%%) ...", percent);
    s_updater.window.SetButtonText(s_updater.text_control, text);
    UpdaterPumpMessages();
    return 0;
}

// The options in order while they succeed; the step of the last one tried.
int SetDownloadOptions(CURL* curl, UpdaterDownload* download, CURLcode* code)
{
    int step = 0;
    auto set = [&](int this_step, CURLoption option, auto value) {
        if (*code != CURLE_OK)
            return;
        step = this_step;
        *code = curl_easy_setopt(curl, option, value);
    };
    set(0, CURLOPT_WRITEDATA, download);
    set(1, CURLOPT_WRITEFUNCTION, UpdaterWriteFileCB);
    set(2, CURLOPT_URL, s_updater.link);
    set(3, CURLOPT_NOPROGRESS, 0L);
    set(4, CURLOPT_XFERINFOFUNCTION, UpdaterProgressCB);
    // Only web addresses, verified peers, error statuses as failures, no endless stall, a size cap.
    set(4, CURLOPT_PROTOCOLS_STR, "http,https");
    set(4, CURLOPT_SSL_VERIFYPEER, 1L);
    set(4, CURLOPT_SSL_VERIFYHOST, 2L);
    set(4, CURLOPT_FAILONERROR, 1L);
    set(4, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    set(4, CURLOPT_LOW_SPEED_LIMIT, 1L);
    set(4, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    set(4, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(s_updater.download_limit));
    curl_easy_setopt(curl, CURLOPT_IPRESOLVE, long(CURL_IPRESOLVE_V4));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    return step;
}

// Runs the transfer into part_path; the step and libcurl's code of the outcome.
CURLcode Transfer(CURL* curl, const char* part_path, int* step)
{
    UpdaterDownload download;
    if (!download.file.CreateForWriting(part_path, false)) {
        DebugError(ENG_FUNC, "Could not create file for downloading <%s>", part_path);
        *step = 0;
        return CURLE_WRITE_ERROR;
    }
    CURLcode code = CURLE_OK;
    *step = SetDownloadOptions(curl, &download, &code);
    if (code == CURLE_OK) {
        code = curl_easy_perform(curl);
        *step = kStepPerform;
    }
    download.file.Close();
    if (download.too_large)
        DebugError(ENG_FUNC, "Download larger than %llu bytes refused", s_updater.download_limit);
    return code;
}

// Where the installer goes on the desktop: its own name, or "Latest_" and its name when that is taken
// (an older "Latest_" file is replaced).
bool MakeDesktopTarget(const char* name, char* out, int size)
{
    const char* desktop = PrefFolderGetDesktopFolder();
    int written = snprintf(out, size, "%s/%s", desktop, name);
    if (written < 0 || written >= size)
        return false;
    if (!EngFileExists(out, false))
        return true;
    written = snprintf(out, size, "%s/Latest_%s", desktop, name);
    if (written < 0 || written >= size)
        return false;
    if (EngFileExists(out, false))
        EngFileDelete(out, false);
    return true;
}

bool MoveToDesktop(const char* part_path)
{
    if (!s_updater.file_name[0]) {
        EngFileDelete(part_path, false);
        DebugError(ENG_FUNC, "Internal Error 1 <%s>", s_updater.link);
        return false;
    }
    char target[ENG_PREF_PATH_SIZE + UPDATER_LINK_SIZE];
    if (!MakeDesktopTarget(s_updater.file_name, target, sizeof(target)) || !EngFileMoveFile(part_path, target)) {
        EngFileDelete(part_path, false);
        DebugError(ENG_FUNC, "There was a problem moving the file to the folder <%s> ( <%s> -> <%s> )",
                   PrefFolderGetDesktopFolder(), part_path, target);
        return false;
    }
    if (s_updater.link_given)
        snprintf(s_updater.link, sizeof(s_updater.link),
                 "The file \"%.*s\" has been downloaded %s.\n\nDouble click it to install the program.",
                 kShownFileName, s_updater.file_name, "on your Desktop");
    else
        snprintf(s_updater.link, sizeof(s_updater.link),
                 "The file \"%.*s\" has been placed on your Desktop.\n\nPlease remove any older versions of the "
                 "program, then install the program as you did the previous version.",
                 kShownFileName, s_updater.file_name);
    return true;
}

bool DownloadWithHandle(CURL* curl)
{
    char part_path[ENG_PREF_PATH_SIZE];
    EngSafeStrcpy(part_path, PrefFolderGetMainFolderWithFileAppended("Download.part"), sizeof(part_path));
    if (EngFileExists(part_path, false))
        EngFileDelete(part_path, false);
    int step = 0;
    CURLcode code = Transfer(curl, part_path, &step);
    if (code == CURLE_ABORTED_BY_CALLBACK) {
        EngFileDelete(part_path, false);
        return false;
    }
    if (code != CURLE_OK) {
        EngFileDelete(part_path, false);
        DebugError(ENG_FUNC, "Problem (from: %d  error: %d)", step, int(code));
        return false;
    }
    return MoveToDesktop(part_path);
}

}  // namespace

void UpdaterMakeSafeFileName(char* name)
{
    if (!name)
        return;
    for (char* c = name; *c; c++) {
        unsigned char byte = (unsigned char)*c;
        if (byte < 0x20 || byte == 0x7F || *c == '/' || *c == '\\' || *c == ':')
            *c = '_';
    }
    for (char* c = name; *c; c++) {
        if (c[0] == '.' && c[1] == '.')
            *c = '_';
    }
    if (name[0] == '.')
        name[0] = '_';
}

const char* UpdaterGetRequest()
{
    return s_updater.request;
}

const char* UpdaterGetReply()
{
    return s_updater.reply;
}

const char* UpdaterGetResultMessage()
{
    return s_updater.result_message;
}

const char* UpdaterGetDownloadLink()
{
    return s_updater.link;
}

void UpdaterSetDownloadLimit(unsigned long long bytes)
{
    s_updater.download_limit = bytes;
}

bool UpdaterSetupUrl(_UpdaterProgramName program, float version, _UpdaterProgramType type)
{
    const char* name = ProgramNameText(program);
    if (!name) {
        DebugError(ENG_FUNC, "Unknown program name");
        return false;
    }
    s_updater.program = program;
    s_updater.type = type;
    EngSafeStrcpy(s_updater.program_name, name, sizeof(s_updater.program_name));
    EngSafeStrcpy(s_updater.edition, EditionText(type), sizeof(s_updater.edition));
    char script[UPDATER_REQUEST_SIZE];
    if (!EngInternetMakeMakerURL(kVersionScript, script, sizeof(script)))
        return false;
    int written = snprintf(s_updater.request, sizeof(s_updater.request),
                           "%s?platform=%s&program=%s&program_type=%s&version=%.3f", script, s_updater.platform,
                           s_updater.program_name, s_updater.edition, double(version));
    return written > 0 && written < int(sizeof(s_updater.request));
}

bool UpdaterReadURL(const char* address, bool test_only)
{
    s_updater.link[0] = 0;
    if (!EngInternetIsConnectionAvailable()) {
        SetResultMessage("No connection to the internet found");
        return false;
    }
    unsigned length = 0;
    if (!EngInternetConnectAndReadURL(address, s_updater.reply, sizeof(s_updater.reply), &length, nullptr, nullptr,
                                      kReadTimeout) ||
        length == 0) {
        SetResultMessage("Could not read result from the URL");
        return false;
    }
    if (test_only)
        return true;
    if (!s_updater.reply[0] || (s_updater.reply[0] == ' ' && s_updater.reply[1] == 'X')) {
        DebugInfoQuick(ENG_FUNC, "Got result <%s>", s_updater.reply);
        SetResultMessage("Error returned from the URL");
        return false;
    }
    TakeDownloadLink();
    return true;
}

bool UpdaterDoInternetTest(char* out, int size)
{
    char script[UPDATER_REQUEST_SIZE];
    bool ok = false;
    if (EngInternetMakeMakerURL(kVersionScript, script, sizeof(script)))
        ok = UpdaterReadURL(script, true);
    else
        SetResultMessage("Could not read result from the URL");
    if (ok && out && size >= 33)
        EngSafeStrcpy(out, "Internet Test Ok", unsigned(size));
    if (!ok && out && size >= 2)
        EngSafeStrcpy(out, s_updater.result_message, unsigned(size));
    return ok;
}

bool UpdaterCheckForNewVersion(_UpdaterProgramName program, float version, _UpdaterProgramType type)
{
    OpenWindow(400, 90, "Updating", 0, 22, 400, 20, SWIN_TEXT_ALIGN_CENTRE);
    UpdaterClearText();
    UpdaterAppendText(EngLanguagesGetStringOrDefault("Updater_CheckingForUpdates", "Checking for updates ..."));
    UpdaterPumpMessages();
    if (!UpdaterSetupUrl(program, version, type) || !UpdaterReadURL(s_updater.request, false)) {
        ShowNoticeAndClose("Updater_CheckFailed", "Check Failed.");
        return false;
    }
    if (!std::strstr(s_updater.reply, "is out of date.")) {
        ShowNoticeAndClose("Updater_NoNewVersionExists", "No new version exists at this time.");
        return false;
    }
    CloseWindow();
    s_updater.download_requested = false;
    ShowNewVersion();
    if (!s_updater.download_requested)
        return false;
    s_updater.download_requested = false;
    if (std::strcmp(s_updater.link, kCustomerLoginLink) == 0) {
        ShowCustomerLoginNotice();
        return true;
    }
    return UpdaterStartDownload(nullptr);
}

bool UpdaterDoWeeklyCheck(_EngMiscDate* last_check, _UpdaterProgramName program, float version,
                          _UpdaterProgramType type)
{
    if (!last_check)
        return false;
    _EngMiscDate today = {};
    EngMiscGetCurrentDate(&today);
    _EngMiscDate week_ago = today;
    for (int day = 0; day < 7; day++)
        EngMiscGetPreviousDay(&week_ago);
    if (EngMiscIsDateLater(*last_check, week_ago))
        return false;
    *last_check = today;
    return UpdaterCheckForNewVersion(program, version, type);
}

bool UpdaterStartDownload(const char* link)
{
    s_updater.link_given = link != nullptr;
    if (link)
        EngSafeStrcpy(s_updater.link, link, sizeof(s_updater.link));
    const char* slash = std::strrchr(s_updater.link, '/');
    if (!slash) {
        DebugError(ENG_FUNC, "Invalid link name");
        EngMiscShowMessageBox_PC(ENG_POPUP_ERROR, nullptr, "Internal Error 3.");
        return false;
    }
    EngSafeStrcpy(s_updater.file_name, slash + 1, sizeof(s_updater.file_name));
    UpdaterMakeSafeFileName(s_updater.file_name);
    s_updater.download_window_shown = OpenWindow(450, 90, "Downloading...", 10, 22, 340, 20, SWIN_TEXT_ALIGN_NONE);
    if (s_updater.download_window_shown)
        s_updater.window.AddPushButton(450 - 90, 22, 80, 20, "Cancel", UpdaterCancelDownloadCB);
    UpdaterPumpMessages();
    bool ok = UpdaterDoDownload();
    CloseWindow();
    s_updater.download_window_shown = false;
    if (ok)
        EngMiscShowMessageBox_PC(ENG_POPUP_NONE, "Download Complete", s_updater.link);
    else
        EngMiscShowMessageBox_PC(ENG_POPUP_ERROR, nullptr, "The download was not completed.");
    return true;
}

bool UpdaterDoDownload()
{
    size_t length = std::strlen(s_updater.link);
    if (length == 0 || length >= size_t(UPDATER_LINK_SIZE))
        return false;
    bool owns_setup = !CurlInterface_IsCurlSetup();
    if (owns_setup && !CurlInterface_InitCurl())
        return false;
    CURL* curl = CurlInterface_CallCurlEasyInit();
    bool ok = false;
    if (!curl)
        DebugError(ENG_FUNC, "CurlInterface_CallCurlEasyInit() failed");
    else
        ok = DownloadWithHandle(curl);
    if (curl)
        curl_easy_cleanup(curl);
    if (owns_setup)
        CurlInterface_CleanupCurl();
    return ok;
}

void UpdaterAppendText(const char* text)
{
    if (s_updater.text_control < 0 || !text || !*text)
        return;
    char current[kTextReadBack + UPDATER_REPLY_SIZE];
    if (!s_updater.window.GetButtonText(s_updater.text_control, current, kTextReadBack + 1))
        current[0] = 0;
    size_t used = std::strlen(current);
    snprintf(current + used, sizeof(current) - used, "%s", text);
    s_updater.window.SetButtonText(s_updater.text_control, current);
    UpdaterPumpMessages();
}

void UpdaterClearText()
{
    if (s_updater.text_control < 0)
        return;
    s_updater.window.SetButtonText(s_updater.text_control, "");
    UpdaterPumpMessages();
}

void UpdaterPumpMessages()
{
    for (int round = 0; round < kPumpRounds && s_updater.window.IsCreated(); round++) {
        int result = 0;
        while ((result = s_updater.window.ProcessAnyWindowsMessages()) == 2) {
        }
        if (result == 0)
            return;
        EngMiscSleep(kPumpSleep);
    }
}

void UpdaterCancelDownloadCB(SWin* win, void*)
{
    DebugNote(0, "Download cancelled.");
    win->QuitWindowLoop();
}

void UpdaterCustomerLoginPageMainCB(SWin* win, void*)
{
    win->QuitWindowLoop();
    DebugInfoQuick(ENG_FUNC, "No custlogin page for current game.");
}

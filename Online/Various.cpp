#include "Online/Various.h"

#include <SDL.h>
#include <strings.h>

#include <cstring>

#include "Engine/Core/EngCodePage.h"
#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngLanguages.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngPrefFolder.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngShellOpen_PC.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinPopup.h"

namespace {

constexpr double kBrowserStartWait = 10.0;
constexpr int kOpenTargetSize = 1024;

char s_address[VARIOUS_ADDRESS_SIZE];
bool s_going_online_at_exit = false;

bool StartsWithNoCase(const char* text, const char* start)
{
    return strncasecmp(text, start, std::strlen(start)) == 0;
}

bool HasControlCharacters(const char* text)
{
    for (; *text; text++) {
        if ((unsigned char)*text < 0x20 || *text == 0x7F)
            return true;
    }
    return false;
}

// A file of ours: an existing file inside the preferences folder, named without "..".
bool IsOurFile(const char* address)
{
    const char* folder = PrefFolderGetMainFolder();
    size_t length = folder ? std::strlen(folder) : 0;
    if (length == 0 || std::strncmp(address, folder, length) != 0 || std::strstr(address, ".."))
        return false;
    return (address[length] == '/' || address[length] == '\\') && EngFileExists(address, false);
}

// The opener's argument for an address we may open; false for any other address.
bool MakeOpenTarget(const char* address, char* out, int size)
{
    if (HasControlCharacters(address))
        return false;
    if (StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://") ||
        StartsWithNoCase(address, "mailto:"))
        return EngCodePageAnsiToUtf8(address, out, size) >= 0;
    return IsOurFile(address) && EngFileGetSystemPath(address, out, size);
}

// The opener's argument, or false (and a log line) for an address we may not open.
bool CheckedTarget(const char* address, char* out, int size)
{
    if (MakeOpenTarget(address, out, size))
        return true;
    DebugError("VariousGoOnlineNow", "Refused address <%s>", address);
    return false;
}

void GoOnlineAtExitCB()
{
    VariousGoOnlineNow(s_address);
}

// The player learns why nothing opens; the game goes on.
void SayCannotOpen(MWin* gui)
{
    const char* text = EngLanguagesGetStringOrDefault(
        "Misc_CannotGoOnline", "Could not open the web page:\nno program to open it (xdg-open) was found.");
    DebugNote(0, "Web page <%s> not opened.", s_address);
    if (gui && gui->IsOn())
        gui->PopupMessage(text);
}

void OpenNow(MWin* gui)
{
    if (eng_main_window && !eng_screen_windowed)
        eng_main_window->ToggleFullscreenMode(true);
    if (gui && gui->IsOn() && !gui->IsPopupOn())
        gui->PopupFlash(nullptr, "Opening browser...");
    VariousGoOnlineNow(s_address);
}

void RunAction(MWin* gui, bool exit)
{
    char target[kOpenTargetSize];
    if (!CheckedTarget(s_address, target, sizeof(target)))
        return;
    if (!EngShellCanOpen_PC()) {
        SayCannotOpen(gui);
        return;
    }
    if (!exit) {
        OpenNow(gui);
        return;
    }
    s_going_online_at_exit = true;
    if (!eng_main_program) {
        OpenNow(gui);
        return;
    }
    eng_main_program->QuitThenRun(GoOnlineAtExitCB);
}

void ExitingAnswerCB(MWin* gui, char result, void*)
{
    if (result == MWIN_POPUP_RESULT_OK)
        RunAction(gui, true);
}

void StayingAnswerCB(MWin* gui, char result, void*)
{
    if (result == MWIN_POPUP_RESULT_OK)
        RunAction(gui, false);
}

}  // namespace

void VariousGoOnlineNow(const char* address)
{
    if (!address || !*address) {
        DebugError(ENG_FUNC, "No url");
        return;
    }
    char target[kOpenTargetSize];
    if (!CheckedTarget(address, target, sizeof(target)))
        return;
    if (!EngShellOpen_PC(target))
        return;
    // The program ends next: the opener gets time to hand the address on.
    if (s_going_online_at_exit)
        EngShellWaitForOpeners_PC(kBrowserStartWait);
}

void VariousGoOnline(MWin* gui, const char* question, const char* address, bool ask_in_full_screen,
                     bool ask_in_window, bool exit_in_full_screen, bool exit_in_window)
{
    if (!address || !*address) {
        DebugError(ENG_FUNC, "No url");
        return;
    }
    if (address != s_address) {
        if (std::strlen(address) > size_t(VARIOUS_ADDRESS_MAX_LENGTH)) {
            DebugError(ENG_FUNC, "Path too long");
            return;
        }
        EngSafeStrcpy(s_address, address, sizeof(s_address));
    }
    bool windowed = !eng_main_window || eng_screen_windowed;
    bool ask = windowed ? ask_in_window : ask_in_full_screen;
    bool exit = windowed ? exit_in_window : exit_in_full_screen;
    if (!ask || !gui) {
        RunAction(gui, exit);
        return;
    }
    const char* text = question;
    if (!text)
        text = exit ? EngLanguagesGetStringOrDefault("Misc_ExitProgramAndGoOnline", "Exit Program and Go Online ?")
                    : EngLanguagesGetStringOrDefault("Misc_GoOnline", "Go Online ?");
    gui->PopupOkCancel(nullptr, text, exit ? ExitingAnswerCB : StayingAnswerCB, nullptr);
}

bool VariousIsGoingOnlineAtExit()
{
    return s_going_online_at_exit;
}

bool VariousCopyClipboardFromString(const char* text)
{
    if (!text) {
        DebugError(ENG_FUNC, "Invalid parameters");
        return false;
    }
    if (!text[0] || !eng_main_window)
        return false;
    int length = EngCodePageAnsiToUtf8Length(text);
    auto* utf8 = static_cast<char*>(EngMalloc(unsigned(length) + 1, "VariousCopyClipboardFromString", false));
    if (!utf8)
        return false;
    EngCodePageAnsiToUtf8(text, utf8, length + 1);
    bool ok = SDL_SetClipboardText(utf8) == 0;
    EngFree(utf8, false, "VariousCopyClipboardFromString");
    return ok;
}

bool VariousPasteClipboardToString(char* out, int size)
{
    if (!out || size < 2) {
        DebugError(ENG_FUNC, "Invalid parameters");
        return false;
    }
    out[0] = 0;
    if (!eng_main_window || !SDL_HasClipboardText())
        return false;
    char* utf8 = SDL_GetClipboardText();
    if (!utf8)
        return false;
    // A text longer than the room keeps its longest whole-character beginning.
    EngCodePageUtf8ToAnsi(utf8, out, size);
    SDL_free(utf8);
    return out[0] != 0;
}

#include "Engine/Core/PC/EngMessageBox_PC.h"

#include <SDL.h>
#include <gtk/gtk.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Engine/Core/EngCodePage.h"
#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/PC/EngShellOpen_PC.h"
#include "Engine/Core/PC/EngWindowProc_PC.h"
#include "Engine/Core/PC/SWin_PC.h"

namespace {

constexpr int kUtf8Size = 4096;

Uint32 FlagsFor(_EngMessageBoxIcon icon)
{
    switch (icon) {
    case _EngMessageBoxIcon::Error:
        return SDL_MESSAGEBOX_ERROR;
    case _EngMessageBoxIcon::Exclamation:
        return SDL_MESSAGEBOX_WARNING;
    case _EngMessageBoxIcon::None:
        break;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

int ReportWithoutBox(const char* title, const char* utf8_title, const char* utf8_text, const char* text,
                     int answer)
{
    std::fprintf(stderr, "[%s] %s\n", utf8_title, utf8_text);
    DebugInfoQuick(ENG_FUNC, "Message box <%s> <%s> answered %d", EngStringOrNone(title), EngStringOrNone(text),
                   answer);
    return answer;
}

GtkMessageType GtkTypeFor(_EngMessageBoxIcon icon)
{
    switch (icon) {
    case _EngMessageBoxIcon::Error:
        return GTK_MESSAGE_ERROR;
    case _EngMessageBoxIcon::Exclamation:
        return GTK_MESSAGE_WARNING;
    case _EngMessageBoxIcon::None:
        break;
    }
    return GTK_MESSAGE_OTHER;
}

// Closing the box without a button counts as its escape answer.
int AnswerFor(gint response, bool yes_no)
{
    if (response == GTK_RESPONSE_YES)
        return ENG_IDYES;
    if (response == GTK_RESPONSE_OK || !yes_no)
        return ENG_IDOK;
    return ENG_IDNO;
}

// The box of the native windows' toolkit; false when there is no display to show it on.
bool ShowGtkBox(const char* utf8_title, const char* utf8_text, bool yes_no, _EngMessageBoxIcon icon, int* answer)
{
    if (!SWinOpenDisplay_PC())
        return false;
    GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GtkTypeFor(icon),
                                            yes_no ? GTK_BUTTONS_YES_NO : GTK_BUTTONS_OK, "%s", utf8_text);
    if (!box)
        return false;
    gtk_window_set_title(GTK_WINDOW(box), utf8_title);
    gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
    gtk_window_set_keep_above(GTK_WINDOW(box), TRUE);
    gtk_dialog_set_default_response(GTK_DIALOG(box), yes_no ? GTK_RESPONSE_YES : GTK_RESPONSE_OK);
    *answer = AnswerFor(gtk_dialog_run(GTK_DIALOG(box)), yes_no);
    SWinDestroyWindow_PC(box);
    return true;
}

bool ShowSdlBox(const char* utf8_title, const char* utf8_text, bool yes_no, _EngMessageBoxIcon icon, int* answer)
{
    const SDL_MessageBoxButtonData ok_buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, ENG_IDOK, "OK"},
    };
    const SDL_MessageBoxButtonData yes_no_buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, ENG_IDYES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, ENG_IDNO, "No"},
    };
    SDL_MessageBoxData data = {};
    data.flags = FlagsFor(icon);
    data.window = nullptr;
    data.title = utf8_title;
    data.message = utf8_text;
    data.numbuttons = yes_no ? 2 : 1;
    data.buttons = yes_no ? yes_no_buttons : ok_buttons;
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0)
        return false;
    *answer = pressed < 0 ? AnswerFor(GTK_RESPONSE_DELETE_EVENT, yes_no) : pressed;
    return true;
}

} // namespace

bool EngMessageBoxIsNonInteractive_PC()
{
    const char* value = std::getenv("TORVI_NONINTERACTIVE");
    return value && std::strcmp(value, "1") == 0;
}

int EngMessageBox_PC(const char* title, const char* text, _EngMessageBoxButtons buttons, _EngMessageBoxIcon icon)
{
    char utf8_title[kUtf8Size];
    char utf8_text[kUtf8Size];
    EngCodePageAnsiToUtf8(title ? title : "", utf8_title, sizeof(utf8_title));
    EngCodePageAnsiToUtf8(text ? text : "", utf8_text, sizeof(utf8_text));
    bool yes_no = buttons == _EngMessageBoxButtons::YesNo;
    if (EngMessageBoxIsNonInteractive_PC())
        return ReportWithoutBox(title, utf8_title, utf8_text, text, yes_no ? ENG_IDYES : ENG_IDOK);
    int answer = 0;
    if (ShowGtkBox(utf8_title, utf8_text, yes_no, icon, &answer) ||
        ShowSdlBox(utf8_title, utf8_text, yes_no, icon, &answer))
        return answer;
    // Nobody can see the question: the answer that ends it, never one that asks it again.
    return ReportWithoutBox(title, utf8_title, utf8_text, text, yes_no ? ENG_IDNO : ENG_IDOK);
}

int EngMiscShowMessageBox_PC(_EngMiscPopupType type, const char* title, const char* text)
{
    if (eng_main_window_was_created) {
        EngMiscDropMessages_PC(2.0);
        SDL_ShowCursor(SDL_ENABLE);
    }
    _EngMessageBoxIcon icon = _EngMessageBoxIcon::None;
    if (type == ENG_POPUP_ERROR)
        icon = _EngMessageBoxIcon::Error;
    else if (type == ENG_POPUP_EXCLAMATION)
        icon = _EngMessageBoxIcon::Exclamation;
    return EngMessageBox_PC(title, text, _EngMessageBoxButtons::Ok, icon);
}

bool EngMiscOpenFileWithShell_PC(const char* name)
{
    char path[1024];
    if (!name || !EngFileGetSystemPath(name, path, sizeof(path))) {
        DebugError(ENG_FUNC, "Invalid file <%s>", EngStringOrNone(name));
        return false;
    }
    return EngShellOpen_PC(path);
}

#pragma once

// Modal message boxes through GTK 3 (the native windows' toolkit), else through SDL. With
// TORVI_NONINTERACTIVE=1 nobody is there to answer: the box's text goes to the log and to standard error,
// and the box takes its default answer at once.

#include "Engine/Core/EngMain.h"

// Answers, numbered as the system the engine was first written for numbers them.
constexpr int ENG_IDOK = 1;
constexpr int ENG_IDYES = 6;
constexpr int ENG_IDNO = 7;

enum class _EngMessageBoxButtons
{
    Ok,
    YesNo,
};

enum class _EngMessageBoxIcon
{
    None,
    Exclamation,
    Error,
};

bool EngMessageBoxIsNonInteractive_PC();
// Shows a box without owner (texts in Windows-1252) and returns the answer. The default answer, taken when
// nobody is there, is the first button's (OK or Yes); a box that cannot be shown answers OK or No, which
// ends the question instead of asking it again.
int EngMessageBox_PC(const char* title, const char* text, _EngMessageBoxButtons buttons, _EngMessageBoxIcon icon);
// The OK box of a popup: error icon for type 3, exclamation for 2, none otherwise.
int EngMiscShowMessageBox_PC(_EngMiscPopupType type, const char* title, const char* text);
// Opens a file we wrote with the desktop's opener (xdg-open, started without a shell). Refused when nobody
// is there to see it.
bool EngMiscOpenFileWithShell_PC(const char* name);

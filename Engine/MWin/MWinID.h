#pragma once

// Every collection, window, button, texture button and font of the GUI is named by an MWinID:
// at most 31 characters and a terminating zero.
constexpr int MWIN_ID_SIZE = 32;
typedef char MWinID[MWIN_ID_SIZE];

// Ids with fixed spellings.
inline constexpr char MWIN_TEXBUT_DEFAULT[] = "MWIN_TEXBUT_DEFAULT"; // the standard texture button of the kind
inline constexpr char MWIN_TEXBUT_NONE[] = "MWIN_TEXBUT_NONE";       // no texture button
inline constexpr char MWIN_FONT_DEFAULT[] = "MWIN_FONT_DEFAULT";     // font number -1
inline constexpr char MWIN_FONT_NONE[] = "MWIN_FONT_NONE";           // font number -2

// Copies at most 31 characters and a zero into dest (an MWinID); never reads more than 32 characters of
// source. A source of 32 characters or more is refused and dest is left as it was.
char MWinCopyID(char* dest, const char* source);

// True for a missing pointer or an empty id.
bool MWinIDIsEmpty(const char* id);

// Exact, case-sensitive; two empty ids never match.
bool MWinIDsEqual(const char* a, const char* b);

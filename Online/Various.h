#pragma once

// Small services around the player's desktop: opening web pages in the user's browser, optionally after a
// question and optionally as the game ends, and plain-text copy and paste for the GUI's text fields.
// Main thread only.

class MWin;

constexpr int VARIOUS_ADDRESS_SIZE = 512;
constexpr int VARIOUS_ADDRESS_MAX_LENGTH = 506;

// Opens an http, https or mailto address, or a file of ours in the preferences folder, with the desktop's
// opener; anything else is refused. While the game is ending it then waits 10 s for the browser to start.
void VariousGoOnlineNow(const char* address);

// The callers' entry point: asks (when asking applies to the current screen mode and a gui is given) and then
// opens the address now or, when exiting applies, as the program ends.
void VariousGoOnline(MWin* gui, const char* question, const char* address, bool ask_in_full_screen,
                     bool ask_in_window, bool exit_in_full_screen, bool exit_in_window);

// Windows-1252 text to and from the clipboard (UTF-8 there).
bool VariousCopyClipboardFromString(const char* text);
// At most size - 1 characters; false when the clipboard holds no text.
bool VariousPasteClipboardToString(char* out, int size);

// Whether the address will be opened as the program ends.
bool VariousIsGoingOnlineAtExit();

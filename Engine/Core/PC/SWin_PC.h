#pragma once

// The GTK 3 half of SWin. Widgets and windows cross into the generic half as opaque pointers.

#include "Engine/Core/SWin.h"

// Opens the display once per process; false (reported) when there is none.
bool SWinOpenDisplay_PC();
// The desktop's size (1280 x 1024 when unknown) and its scale factor (logical dpi / 96, 1.0 when unknown).
void SWinGetDesktop_PC(int* width, int* height, float* scale);
// A visible top-level window that reports to `owner`; null (reported) on failure.
void* SWinCreateWindow_PC(SWin* owner, const char* class_name, const char* title, const SWinPlacement& place,
                          const float rgb[3], const SWinMenuItem* menu, int menu_items);
// The SWin a window reports to, kept in the window's user data; null when it has none.
SWin* SWinGetOwner_PC(void* window);
void SWinForgetOwner_PC(void* window);
void SWinGetClientSize_PC(void* window, float* width, float* height);
void SWinDestroyWindow_PC(void* window);

// A control in the window, shown at once; null (reported) on failure.
void* SWinCreateControl_PC(void* window, int index, SWinButtonType kind, int x, int y, int width, int height,
                           const char* text);
void SWinSetControlText_PC(void* widget, SWinButtonType kind, const char* text);
// Whole text in Windows-1252, cut to fit the buffer.
void SWinGetControlText_PC(void* widget, SWinButtonType kind, char* buffer, int size);
void SWinSetControlAlign_PC(void* widget, SWinButtonType kind, SWinTextAlign align);
int SWinGetSelection_PC(void* widget);
// A radio button joining the group of group_widget (null starts a group).
void* SWinCreateRadioButton_PC(void* window, int index, int x, int y, int width, int height, const char* text,
                               void* group_widget);
void SWinSetRadioChecked_PC(void* widget);
bool SWinIsRadioChecked_PC(void* widget);
void SWinDropDownAdd_PC(void* widget, const char* text);
void SWinDropDownClear_PC(void* widget);
void SWinDropDownSelect_PC(void* widget, int selection);
void SWinEnableControl_PC(void* widget, bool enabled);

// Handles one waiting event; false when none was waiting.
bool SWinHandleOneEvent_PC();
// Sleeps until an event arrives (and handles it) or max_ms have passed; at once when one is waiting.
void SWinWaitForEvent_PC(int max_ms);

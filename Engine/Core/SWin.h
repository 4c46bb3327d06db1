#pragma once

// One small native window with standard controls, for the moments when the game's own screen cannot be
// used (the installer download). It lives on the main thread; the caller drives its loop by calling
// ProcessAnyWindowsMessages until it returns 0. Texts are Windows-1252.
//
// Without a display (no X server) creating the window fails with a report; nothing hangs.
// With TORVI_NONINTERACTIVE=1 a window with push buttons that its caller keeps pumping without changing
// anything is waiting for a person: it writes what it shows to the log and standard error and takes its
// default answer, as Escape would: the window closes and the loop ends. Setting a text or adding a control
// counts as a change, so a progress window whose text the caller keeps updating stays open.

#include <string>
#include <vector>

#include "Engine/Core/EngTypes.h"

class SWin;

typedef void (*SWinPushButtonCB)(SWin* win, void* user);
typedef void (*SWinCommandCB)(SWin* win, int command, void* user);
// A person changed a drop-down list's selection or chose another radio button: the control and its new value
// (the selection, or 1 for the radio button now chosen). Changes made through SWin's own calls do not report.
typedef void (*SWinChangeCB)(SWin* win, int index, int value, void* user);
// One list's or one radio group's own report of a person's change: the new selection, or the position of the
// chosen button within its group (0 for the group's first button).
typedef void (*SWinControlChangeCB)(SWin* win, int value, void* user);

enum SWinButtonType : int
{
    SWIN_BUTTON_GROUP_BOX = 0,
    SWIN_BUTTON_LABEL = 1,
    SWIN_BUTTON_PUSH = 2,
    SWIN_BUTTON_EDIT = 3,
    SWIN_BUTTON_RADIO_GROUP = 4,
    SWIN_BUTTON_DROP_DOWN = 6,
    SWIN_BUTTON_BITMAP = 7,
};

// 0 leaves the control as it is; 1 centres, 2 right-aligns its text.
enum SWinTextAlign : int
{
    SWIN_TEXT_ALIGN_NONE = 0,
    SWIN_TEXT_ALIGN_CENTRE = 1,
    SWIN_TEXT_ALIGN_RIGHT = 2,
};

constexpr int SWIN_TITLE_SIZE = 256;
// Pumps in a row, with nothing changed, after which a window with push buttons counts as waiting for a
// person (non-interactive runs only). Well above the hundred rounds a caller pumps to let a window draw.
constexpr int SWIN_NONINTERACTIVE_IDLE_PUMPS = 1000;

// What a window's widgets report: a control's index, a menu command id, a pressed or released key, or the end.
enum SWinMessage : int
{
    SWIN_MESSAGE_COMMAND,
    SWIN_MESSAGE_MENU_COMMAND,
    SWIN_MESSAGE_KEY_DOWN,
    SWIN_MESSAGE_KEY_UP,
    SWIN_MESSAGE_DESTROY,
};

// One entry of the window's menu bar; choosing it calls the command callback with its command id.
struct SWinMenuItem
{
    const char* text;
    int command;
};

struct SWinCreateInfo
{
    char title[SWIN_TITLE_SIZE];
    EngInt32 x; // 0 or less centres the window on that axis
    EngInt32 y;
    EngInt32 width;
    EngInt32 height;
    float red; // background colour, 0..1
    float green;
    float blue;
    const SWinMenuItem* menu; // optional
    int menu_items;
};

// Where the window goes on a desktop of the given size, at the given scale (logical dpi / 96).
struct SWinPlacement
{
    int x;
    int y;
    int width;
    int height;
};

struct SWinControl
{
    SWinButtonType kind;
    int x;
    int y;
    int width;
    int height;
    void* widget; // the platform's control
    SWinPushButtonCB push_callback;
    int selection; // drop-down list; -1 none
    std::vector<std::string> items; // drop-down list
    int group; // radio button: the first button of its group
    bool checked; // radio button
    bool disabled;
    // A list's, or (kept on its first button) a radio group's: the caller's copy of the selection or of the
    // chosen position, which follows every change, and the callback of a person's change.
    int* list_mirror;
    EngUInt8* group_mirror;
    SWinControlChangeCB change_callback;
};

class SWin
{
public:
    SWin();
    ~SWin();
    SWin(const SWin&) = delete;
    SWin& operator=(const SWin&) = delete;

    bool CreateMainWindow(const SWinCreateInfo* info);
    int AddButtonToWindow(SWinButtonType kind, int x, int y, int width, int height, const char* text);
    int AddPushButton(int x, int y, int width, int height, const char* text, SWinPushButtonCB callback);
    bool PushButtonSetCallback(int index, SWinPushButtonCB callback);
    bool SetButtonText(int index, const char* text);
    bool GetButtonText(int index, char* buffer, int size);
    bool SetButtonTextAlign(int index, SWinTextAlign align);
    bool SetControlEnabled(int index, bool enabled);
    bool IsControlEnabled(int index);

    // Drop-down lists: items, and the selection (-1 none).
    bool DropDownAddItem(int index, const char* text);
    bool DropDownClear(int index);
    bool DropDownSetSelection(int index, int selection);
    int DropDownGetSelection(int index);
    int DropDownGetCount(int index);
    bool DropDownGetItemText(int index, int item, char* buffer, int size);
    // The list's mirror (may be null) and its own change callback (may be null).
    bool DropDownBind(int index, int* mirror, SWinControlChangeCB callback);

    // A radio button; join is a radio button of the group it joins, or -1 to start a group.
    int AddRadioButton(int x, int y, int width, int height, const char* text, int join);
    // Chooses the button and clears the others of its group.
    bool RadioSetChecked(int index);
    bool RadioIsChecked(int index);
    // The mirror and change callback of the group of radio button index (either may be null).
    bool RadioGroupBind(int index, EngUInt8* mirror, SWinControlChangeCB callback);
    // 2 a message was handled, 1 none was waiting, 0 the loop has ended (or there is no window).
    int ProcessAnyWindowsMessages();
    // The same, but with nothing waiting it sleeps until something arrives (a tenth of a second at most), so
    // a modal wait takes no processor time.
    int WaitForWindowsMessages();
    void QuitWindowLoop();
    void DestroyMainWindow();

    bool IsCreated() const { return created; }
    bool HasLoopEnded() const { return loop_ended; }
    float GetScaleFactor() const { return scale_factor; }
    void GetClientArea(float* x, float* y, float* width, float* height) const;
    int GetControlCount() const { return static_cast<int>(controls.size()); }
    // The platform's control (tests stand in for a person through it); null for a bad index.
    void* GetControlWidget(int index) const
    {
        return index >= 0 && index < GetControlCount() ? controls[index].widget : nullptr;
    }
    const char* GetClassName() const { return class_name; }

    // The window procedure: finds the SWin of a platform window and hands it the message.
    static void MsgRouter(void* window, SWinMessage message, int param);
    // What the window's controls report (through MsgRouter, or from tests standing in for it).
    void OnCommand(int index);
    void OnMenuCommand(int command);
    void OnKeyDown(int key);
    // Releasing Escape closes the window only when the window saw it pressed: a press that closed an open
    // list or a message box belongs to them.
    void OnKeyUp(int key);
    void OnDestroyed();

    static SWinPlacement ComputePlacement(const SWinCreateInfo& info, int desktop_width, int desktop_height,
                                          float scale);

    void* user = nullptr; // handed to every callback
    SWinCommandCB command_callback = nullptr;
    SWinChangeCB change_callback = nullptr;

private:
    SWinControl* GetControl(const char* own_name, int index);
    SWinControl* GetControlOfKind(const char* own_name, int index, SWinButtonType kind);
    int AddControl(SWinButtonType kind, int x, int y, int width, int height, const char* text,
                   void* radio_group_widget);
    void AnswerForAbsentPerson();
    void OnDropDownChanged(int index);
    void OnRadioToggled(int index);
    void MarkChosen(int index);
    bool IsInGroup(int index, int group) const;
    int PositionInGroup(int index) const;
    void SetSelection(SWinControl* control, int selection);
    // A person's change: the control's own callback, then the window's (either may end the window).
    void ReportChange(int index, SWinControlChangeCB own, int own_value, int value);

    bool created = false;
    bool loop_ended = false;
    float client_x = 0.0f;
    float client_y = 0.0f;
    float client_width = 0.0f;
    float client_height = 0.0f;
    float scale_factor = 1.0f;
    std::vector<SWinControl> controls;
    char class_name[32] = {};
    char title[SWIN_TITLE_SIZE] = {};
    void* window = nullptr; // the platform's window
    float background[3] = {};
    int idle_pumps = 0;
    bool changing_by_call = false; // the platform reports our own changes as well; they are not the person's
    bool escape_down = false;
};

// The key code of Escape in OnKeyDown and OnKeyUp.
constexpr int SWIN_KEY_ESCAPE = 0x1B;

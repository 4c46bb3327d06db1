#pragma once

// The start-up settings dialog: a native window shown before the game window exists, in which the player
// picks full screen or a window, the resolution, anti-aliasing, mouse synchronisation, cursor, sound and
// music. It works on the settings of Game/Resolution and saves them when PLAY is pressed.

#include "Engine/Core/SWin.h"

class EngResModes;
struct _EngResMode;

// The dialog's controls, numbered as the game has always numbered them.
enum ResolutionDialogControl : int
{
    RESOLUTION_ID_PLAY = 1000,
    RESOLUTION_ID_FULLSCREEN = 1001,
    RESOLUTION_ID_WINDOWED = 1002,
    RESOLUTION_ID_RESOLUTION = 1003,
    RESOLUTION_ID_ANTIALIASING = 1006,
    RESOLUTION_ID_ANTIALIASING_HELP = 1018,
    RESOLUTION_ID_VERSION = 1026,
    RESOLUTION_ID_MOUSE_SYNC = 1028,
    RESOLUTION_ID_MOUSE_SYNC_HELP = 1030,
    RESOLUTION_ID_HOME_PAGE = 1047,
    RESOLUTION_ID_FORUM = 1048,
    RESOLUTION_ID_CHECK_VERSION = 1050,
    RESOLUTION_ID_PICTURE = 1065,
    RESOLUTION_ID_CURSOR_TYPE = 1211,
    RESOLUTION_ID_CURSOR_HELP = 1212,
    RESOLUTION_ID_SOUND = 1213,
    RESOLUTION_ID_MUSIC = 1214,
};

constexpr int RESOLUTION_DIALOG_CONTROLS = 17;

class ResolutionDialog
{
public:
    // modes may be null: full screen then cannot be chosen.
    explicit ResolutionDialog(EngResModes* modes);
    ~ResolutionDialog();
    ResolutionDialog(const ResolutionDialog&) = delete;
    ResolutionDialog& operator=(const ResolutionDialog&) = delete;

    // Opens the window with every control; false (reported) when it cannot be shown.
    bool Build();
    // Pumps until the dialog ends; its result.
    signed char RunModal();
    // Puts the settings into the controls.
    void Refresh();
    // Takes the controls into the settings, applies and saves them.
    void ReadControls();

    // What a person's click on a button or choice in a list or radio button does.
    void Press(int id);
    void Choose(int id, int selection);

    SWin* GetWindow() { return &m_win; }
    // The window's control of a dialog id; -1 for none.
    int GetControl(int id) const;
    bool HasEnded() const { return m_ended; }
    signed char GetResult() const { return m_result; }
    const _EngResMode* GetCurrentMode() const { return m_current; }

private:
    template <int Id>
    static void PushCB(SWin* win, void* user)
    {
        (void)win;
        static_cast<ResolutionDialog*>(user)->OnPushed(Id);
    }
    static void ChangeCB(SWin* win, int index, int value, void* user);
    void AddControl(int id, int index);
    int IdOfControl(int index) const;
    void AddLabels();
    void AddLists();
    void AddButtons();
    int AddList(int id, int x, int y, int width);
    void FillList(int id, const char* const* texts, int count, int selection);
    void RefreshResolutionList();
    void RefreshAntiAliasingList();
    void ReportUndefinedControls();
    void OnPushed(int id);
    void OnChanged(int id, int selection);
    void End(signed char result);

    SWin m_win;
    EngResModes* m_modes = nullptr;
    const _EngResMode* m_current = nullptr;
    int m_ids[RESOLUTION_DIALOG_CONTROLS] = {};
    int m_indices[RESOLUTION_DIALOG_CONTROLS] = {};
    int m_count = 0;
    bool m_ended = false;
    signed char m_result = -1;
};

// Shows the dialog modally; 1 when the player pressed PLAY. With nobody there to answer it takes PLAY with
// the settings as they are, at once.
signed char ResolutionDialogShow(EngResModes* modes);

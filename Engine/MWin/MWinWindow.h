#pragma once

#include "Engine/Core/EngTypes.h"
#include "Engine/Graphics/EngDimension.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinID.h"

class MWin;
class MWinGroup;
class MWinTabPanel;
class MWinCollection;
class MWinCollectionController;
struct _MWinLayoutSettings;

enum _MWinWindowType
{
    MWIN_WINDOW_NORMAL = 0,
    MWIN_WINDOW_MODAL = 1,
};

enum _MWinWindowDragMode
{
    MWIN_DRAG_NONE = 0,
    MWIN_DRAG_TITLE_BAR = 1,
    MWIN_DRAG_ANYWHERE = 2,
};

// A centring coordinate for x or y.
constexpr float MWIN_WINDOW_CENTRE = -9999.0f;

constexpr int MWIN_WINDOW_TITLE_SIZE = 256;
constexpr int MWIN_WINDOW_BUTTON_TEXT_SIZE = 32;
constexpr int MWIN_WINDOW_TOKEN_SIZE = 64;

// The description a window is made from.
struct _MWinWindowCreateInfo
{
    EngInt32 window_type; // _MWinWindowType
    float x;              // MWIN_WINDOW_CENTRE centres
    float y;
    float width; // negative: 100
    float height;
    EngInt32 drag_mode; // _MWinWindowDragMode
    EngUInt8 has_hide_button;
    EngUInt8 has_extra_button; // 0 or 1
    EngUInt8 has_title_bar;
    char title[MWIN_WINDOW_TITLE_SIZE];
    MWinID title_bar_texbut_id;
    MWinID back_texbut_id;
    MWinID font_id;
    char hide_button_text[MWIN_WINDOW_BUTTON_TEXT_SIZE];
    MWinID hide_button_texbut_id;
    char extra_button_text[MWIN_WINDOW_BUTTON_TEXT_SIZE];
    MWinID extra_button_texbut_id;
    char title_token[MWIN_WINDOW_TOKEN_SIZE];
    char hide_button_token[MWIN_WINDOW_TOKEN_SIZE];
    char extra_button_token[MWIN_WINDOW_TOKEN_SIZE];
};

// Fills info with the values a window takes when it is given none: normal, at 10, 10, 50 x 50, not
// draggable, no title bar or title buttons, the default texture buttons and font.
void MWinWindowCreateInfoSetDefaults(_MWinWindowCreateInfo* info);

// One scroll bar of a window (horizontal or vertical).
struct _MWinScrollBar
{
    float visible_fraction; // of the content, 1 when everything shows
    float free_length;      // track length less the thumb
    _Dimension bar;         // screen area
    _Dimension thumb;       // screen area
    EngUInt8 dragging;
    EngInt8 page_step; // -1, 0, +1: a press on the track before or after the thumb
    float drag_start_thumb;
    float drag_start_mouse;
    float drag_start_amount;
    float amount; // 0 .. extra size
};

// Ids of the title bar's buttons.
inline constexpr char MWIN_STD_HIDE_ID[] = "STD_HIDE";
inline constexpr char MWIN_STD_EXTRA_ID[] = "STD_EXTRA";

// A rectangle of a collection with an optional title bar, a background texture button, optional scroll
// bars and groups of buttons. Routes mouse and keys to its buttons, keeps the highlight under the mouse,
// queues its escape and default buttons on Escape and Enter and moves the focus with Tab.
class MWinWindow
{
public:
    MWinWindow(MWin* mwinp, const char* id, MWinCollection* collection, const _MWinWindowCreateInfo* info);
    ~MWinWindow();

    // Buttons (kind is an _MWinButtonType); added to the first group.
    MWinButton* AddButton(const char* id, int kind, const char* texbut_id, const char* text, float x, float y,
                          float w, float h);
    MWinButton* AddButton(const char* id, int kind, const char* texbut_id, const char* text, float x, float y,
                          float w, float h, MWinButtonCB callback, int int1, int int2);
    MWinTabPanel* AddTabPanel(const char* id, const char* texbut_id, float x, float y, float w, float h);
    MWinButton* GetFirstButton() const;
    MWinButton* GetActiveButton() const;
    MWinButton* GetButtonFromID(const char* id, char report) const;
    void RemoveAllButtons();
    // buttons: a null-terminated list.
    char CenterGroupOfButtons(MWinButton** buttons, char horizontally, char vertically);
    char SendButtonCallCallbackMessage(MWinButton* button, char report);
    void SetEscapeButton(MWinButton* button);
    void SetDefaultButton(MWinButton* button);
    MWinButton* GetEscapeButton() const { return m_escape_button; }
    MWinButton* GetDefaultButton() const { return m_default_button; }
    MWinButton* GetHideButton() const { return m_hide_button; }
    MWinButton* GetExtraButton() const { return m_extra_button; }
    // True for the title bar's own buttons, which keep their height when the window is scaled.
    bool IsTitleButton(const MWinButton* button) const;
    // True when button lies in one of this window's groups (or is a title button).
    bool OwnsButton(const MWinButton* button) const;
    MWinGroup* GetFirstGroup() const { return m_first_group; }
    MWinGroup* GetLastGroup() const { return m_last_group; }

    // Controller of the screen; its ButtonCB takes the buttons' events.
    void SetController(MWinCollectionController* controller);
    MWinCollectionController* GetController(char required) const;
    void ClearController();
    bool HasController() const { return m_controller_set != 0; }

    // Appearance of the title bar and background.
    void SetTitle(const char* text);
    void SetTitleToken(const char* token);
    void SetTextColour(float r, float g, float b, float a);
    void SetTextColourFromArray(const float* rgba);
    void SetTextScale(float sx, float sy);
    void SetTextAlign(int align);
    char SetFont(const char* id, char keep_id);
    char SetBackTexBut(const char* id);
    char SetTitleBarTexBut(const char* id);
    char SetHideButtonTexBut(const char* id);
    char SetExtraButtonTexBut(const char* id);
    void SetModulateColour(float r, float g, float b, float a);
    const char* GetTitle() const { return m_info.title; }
    int GetFontNum() const { return m_font_num; }
    const float* GetTitleColour() const { return m_title_colour; }
    const float* GetTitleScale() const { return m_title_scale; }

    // Geometry. The requested area is unscaled; the screen area follows the engine's aspect factors.
    void SetArea(float x, float y, float w, float h);
    void SetPosition(float x, float y);
    void GetVirtualSize(float* w, float* h) const;
    void SetVirtualSize(float extra_width, float extra_height);
    _MWinLayoutSettings* GetScreenLayout() const;
    const _Dimension& GetRequestedArea() const { return m_requested_area; }
    const _Dimension& GetScreenArea() const { return m_screen_area; }
    const _Dimension& GetTitleBarArea() const { return m_title_bar_area; }
    const _Dimension& GetTitleTextArea() const { return m_title_text_area; }
    const _Dimension& GetClientArea() const { return m_client_area; }
    float GetScrollOffsetX() const { return m_scroll_offset_x; }
    float GetScrollOffsetY() const { return m_scroll_offset_y; }
    float GetTitleBarHeight() const;
    bool HasTitleBar() const { return m_info.has_title_bar != 0; }
    bool IsScaled() const { return m_scaled != 0; }
    bool IsScrolling() const { return m_scrolling_on != 0; }
    const _MWinScrollBar& GetScrollBar(int vertical) const { return m_scroll_bars[vertical ? 1 : 0]; }
    // The buttons are clipped inside an inset edge (layout fields 9 and 10) when this is true.
    bool HasBorderInset() const;
    void CalcButtonAreas();
    void UpdateTitleAreas();
    void UpdateHideAndExtraButtons(char recreate_hide, char recreate_extra);

    // State.
    void Activate();
    void Deactivate();
    bool IsActive() const { return m_active != 0; }
    bool IsShown() const { return m_shown != 0; }
    bool IsModal() const { return m_window_type == MWIN_WINDOW_MODAL; }
    bool IsMouseOver() const;
    bool IsDragging() const { return m_dragging != 0; }
    bool IsThumbDragging() const;
    bool IsCreated() const { return m_created == 1; }
    void EndDrag() { m_dragging = 0; }
    // Clears the pressed state of every button and resets the highlighted ones.
    void ResetButtonStates();

    // Whether the window was active when a popup opened.
    void SetPopupSavedState(EngUInt8 state) { m_popup_saved_state = state; }
    EngUInt8 GetPopupSavedState() const { return m_popup_saved_state; }

    // A window removed while an event was being delivered is kept until the delivery ends; it is marked
    // removed so that walks stop at it.
    void MarkRemoved() { m_removed = 1; }
    bool IsRemoved() const { return m_removed != 0; }

    // Per frame and input; each input handler returns whether the event was used.
    char Tick();
    void Render();
    char HandleButtonPressed(int button, int down, int flag, char simulated);
    char HandleDoubleClick(int button);
    char HandleMouseMove();
    char HandleMouseWheel(int steps);
    char HandleKeyDown(int key);
    char HandleKeyDownChar(int ch);
    char HandleKeyUp(int key);
    char CreateGraphicsObjects();
    void DestroyGraphicsObjects();

    MWin* GetMWin() const { return m_mwinp; }
    const char* GetID() const { return m_id; }
    MWinCollection* GetCollection() const { return m_collection; }
    const _MWinWindowCreateInfo& GetCreateInfo() const { return m_info; }
    MWinWindow* GetPrev() const { return m_prev; }
    MWinWindow* GetNext() const { return m_next; }
    void SetPrev(MWinWindow* window) { m_prev = window; }
    void SetNext(MWinWindow* window) { m_next = window; }

private:
    bool IsButtonUnderMouse(const MWinButton* button) const;
    bool CanQueue(MWinButton* button) const;
    char QueueKeyButton(MWinButton* button, int key);
    char HandleTab();
    MWinButton* StepButton(MWinButton* from, bool backwards) const;
    char HandleScrollBarsPress(int button, int down, char simulated);
    char HandleScrollBarsMove();
    char HandleTitleButtons(int button, int down);
    char FireTitleButton(MWinButton* button);
    char HandleDragMove();
    void LayoutScrollBars();
    void RenderTitle(const _MWinLayoutSettings* layout, const float* offset);
    void ApplyScrollOffsets();
    char SetTexButNum(const char* id, int standard_slot, int* num);
    void DeleteGroups();

    MWin* m_mwinp;
    EngInt32 m_window_type;
    EngUInt8 m_created;
    MWinButton* m_hide_button;
    MWinButton* m_extra_button;
    EngUInt8 m_active;
    EngUInt8 m_shown;
    EngUInt8 m_removed;
    int m_title_token_num;
    EngUInt8 m_dragging;
    float m_drag_mouse_x, m_drag_mouse_y;
    float m_drag_window_x, m_drag_window_y;
    _MWinScrollBar m_scroll_bars[2]; // horizontal, vertical
    float m_scroll_offset_x, m_scroll_offset_y;
    MWinCollectionController* m_controller;
    EngUInt8 m_controller_set;
    MWinID m_id;
    MWinCollection* m_collection;
    MWinGroup* m_first_group;
    MWinGroup* m_last_group;
    MWinWindow* m_prev;
    MWinWindow* m_next;
    _MWinWindowCreateInfo m_info;
    _Dimension m_requested_area;
    _Dimension m_screen_area;
    _Dimension m_title_bar_area;
    _Dimension m_title_text_area;
    _Dimension m_client_area;
    EngUInt8 m_scaled;
    MWinButton* m_escape_button;
    MWinButton* m_default_button;
    int m_font_num;
    int m_title_bar_texbut_num;
    int m_hide_texbut_num;
    int m_extra_texbut_num;
    int m_back_texbut_num;
    float m_title_colour[4];
    float m_title_scale[2];
    int m_title_align;
    EngUInt8 m_modulate_on;
    float m_modulate_colour[4];
    float m_extra_width, m_extra_height;
    EngUInt8 m_scrolling_on;
    EngUInt8 m_border_inset_on;
    EngUInt8 m_popup_saved_state;
};

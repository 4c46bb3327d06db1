#pragma once

#include "Engine/Core/EngTypes.h"
#include "Engine/MWin/MWinArea.h"
#include "Engine/MWin/MWinID.h"
#include "Engine/MWin/MWinProgressRing.h"
#include "Engine/MWin/MWinColourPicker.h"

class Game;
class EngTexture;
class EngFont;
class MWinDesktop;
class MWinTextures;
class MWinFonts;
class MWinScreens;
class MWinCollection;
class MWinWindow;
class MWinButton;

// The virtual screen every layout is designed for.
constexpr float MWIN_VIRTUAL_WIDTH = 640.0f;
constexpr float MWIN_VIRTUAL_HEIGHT = 480.0f;

// GUI textures (collection backgrounds, custom texture states) take their alpha from the file.
constexpr char MWIN_GUI_ALPHA_TYPE = 2;

enum _MWinScreenLayout : EngInt32 {
    MWIN_LAYOUT_NORMAL = 0,
    MWIN_LAYOUT_IPHONE_PORTRAIT = 1,
    MWIN_LAYOUT_IPHONE_LANDSCAPE = 2,
    MWIN_LAYOUT_IPAD_PORTRAIT = 3,
    MWIN_LAYOUT_IPAD_LANDSCAPE = 4,
};
constexpr int MWIN_NUM_LAYOUTS = 5;

// Indices into _MWinLayoutSettings. Fields 20 to 66 belong to the button kinds.
enum _MWinLayoutField {
    MWIN_LF_TITLE_BAR_HEIGHT = 0,
    MWIN_LF_TITLE_TEXT_MARGIN = 1,
    MWIN_LF_TITLE_BUTTON_WIDTH = 2,
    MWIN_LF_TITLE_BUTTON_HEIGHT = 3,
    MWIN_LF_TITLE_BUTTON_MARGIN = 4,
    MWIN_LF_TITLE_BUTTON_OFFSET_Y = 5,
    MWIN_LF_HIDE_BUTTON_SIDE = 6, // 1: hide button at the right end
    MWIN_LF_BUTTON_WIDTH = 7,
    MWIN_LF_BUTTON_HEIGHT = 8,
    MWIN_LF_CLIP_INSET_X = 9,
    MWIN_LF_CLIP_INSET_Y = 10,
    MWIN_LF_VSCROLL_WIDTH = 11,
    MWIN_LF_VSCROLL_THUMB_WIDTH = 12,
    MWIN_LF_HSCROLL_HEIGHT = 13,
    MWIN_LF_HSCROLL_THUMB_HEIGHT = 14,
    MWIN_LF_TEXT_SCALE_X = 15,
    MWIN_LF_TEXT_SCALE_Y = 16,
    MWIN_LF_TEXT_MARGIN = 17,
    MWIN_LF_TEXT_MARGIN_PER_WIDTH = 18,
    MWIN_LF_TWO_LINE_OFFSET = 19,
    MWIN_LF_CHECK_WIDTH = 21,
    MWIN_LF_CHECK_HEIGHT = 22,
    MWIN_LF_CHECK_OUTER_MARGIN = 23,
    MWIN_LF_PANEL_THUMB_WIDTH = 24,
    MWIN_LF_VALUE_BAR_THUMB_WIDTH = 25,
    MWIN_LF_PANEL_SCROLL_WIDTH = 26,
    MWIN_LF_PANEL_MIN_THUMB_LENGTH = 27,
    MWIN_LF_SLIDER_THUMB_WIDTH = 28,
    MWIN_LF_CHECK_INNER_MARGIN = 29,
    MWIN_LF_VALUE_BAR_INSET = 30,
    MWIN_LF_PANEL_END_MARGIN = 31,
    MWIN_LF_CHOICE_ARROW_WIDTH = 32,
    MWIN_LF_CHOICE_ARROW_HEIGHT = 33,
    MWIN_LF_CHOICE_ARROW_MARGIN = 34,
    MWIN_LF_LIST_ARROW_WIDTH = 35,
    MWIN_LF_LIST_ARROW_HEIGHT = 36,
    MWIN_LF_LIST_ARROW_MARGIN = 37,
    MWIN_LF_SLIDER_END_MARGIN = 38,
    MWIN_LF_SLIDER_BAR_HEIGHT = 39, // 0: the button's height
    // Vertical scroll bar and tab panel; a field left at 0 takes the size in its comment.
    MWIN_LF_VSB_BAR_WIDTH = 40,    // 12, times the engine's horizontal aspect factor
    MWIN_LF_VSB_THUMB_HEIGHT = 41, // 12
    MWIN_LF_VSB_END_MARGIN = 42,   // 3
    MWIN_LF_VSB_ARROW_HEIGHT = 43, // 12
    MWIN_LF_VSB_ARROW_MARGIN = 44, // 3
    MWIN_LF_TP_HEADER_HEIGHT = 45,        // 24
    MWIN_LF_TP_SCROLLBAR_WIDTH = 46,      // 16
    MWIN_LF_TP_DIVIDER_TOP_INSET = 47,    // 3
    MWIN_LF_TP_DIVIDER_BOTTOM_INSET = 48, // 3
};
constexpr int MWIN_LAYOUT_NUM_FIELDS = 67;

// The metrics of one screen layout.
struct _MWinLayoutSettings {
    float f[MWIN_LAYOUT_NUM_FIELDS];
};

enum _MWinBackgroundMode : EngInt32 {
    MWIN_BG_NOTHING = 0,
    MWIN_BG_CLEAR = 1,
    MWIN_BG_CLEAR_WITH_DEPTH = 2,
    MWIN_BG_PICTURE = 3,
};

// The appearance block, copied whole by MWin::GetSettings and MWin::SetSettings.
struct _MWinSettings {
    char flag;
    char flag2;
    char flag3;
    char hover_activate_collection; // activate the collection under the mouse
    char hover_activate_window;     // activate the window under the mouse
    EngInt32 background_mode;       // _MWinBackgroundMode
    char background_file[256];
    EngTexture* background_external; // drawn instead of the file when set
    char reserved[3];
    float disabled_text_alpha;
    char shrink_text_to_fit; // copied into every new button
    _MWinLayoutSettings base_layouts[MWIN_NUM_LAYOUTS];
    _MWinRingSettings rings; // progress rings (button kind 12)
};

enum _MWinMessageNum : EngInt32 {
    MWIN_MSG_CALL_CALLBACK = 0,
};

// Events of the button sound hook.
enum _MWinButtonSoundEvent {
    MWIN_SOUND_FIRED = 0,
    MWIN_SOUND_STEP = 1,
    MWIN_SOUND_CHANGE = 2,
    MWIN_SOUND_HOVER = 3,
};

typedef void (*MWinButtonPressedHook)(int event, void* user_data);
typedef void (*MWinPopupResultCB)(class MWin* mwin, char result, void* user_data);

// The root of the GUI toolkit: owns the desktop, the registries, the appearance and the popup state,
// turns input events into the virtual screen and holds the one-message queue.
class MWin {
public:
    explicit MWin(Game* game);
    ~MWin();
    MWin(const MWin&) = delete;
    MWin& operator=(const MWin&) = delete;

    Game* GetGame(bool allow_missing);

    char Startup();
    char Shutdown();
    char IsOn();

    char CreateGraphicsObjects();
    void DestroyGraphicsObjects();
    char CreateBgClearImage();

    // Input; each returns whether the event was used.
    char HandleInputEvent(int event_type, EngUInt32 value1, EngUInt32 value2);
    char MouseMove(int x, int y);
    char MouseMove(float x, float y);
    char ButtonPressed(int button, char down, char flag);
    char ButtonDoubleClicked(int button);
    char MouseWheelMoved(int steps);
    char KeyDown(int key);
    char KeyUp(int key);
    char KeyDownChar(int character);
    void AllowInput(char on);
    char IsInputAllowed() const { return m_input_allowed; }

    char Tick();
    void RenderMain();
    char RenderPopups();

    MWinCollection* GetCollectionFromID(const char* collection_id, bool report);
    MWinWindow* GetWindowFromIDs(const char* collection_id, const char* window_id, bool report);
    MWinButton* GetButtonFromIDs(const char* collection_id, const char* window_id, const char* button_id,
                                 bool report);
    MWinDesktop* GetDesktop() { return m_desktop; }
    MWinFonts* GetFonts() { return m_fonts; }
    MWinTextures* GetTextures() { return m_textures; }
    EngUInt32 GetCurrentScreenID();

    void SetScreens(MWinScreens* screens);
    MWinScreens* GetScreens();
    void ForgetScreens(MWinScreens* screens);

    // The one-message queue: the queued button fires at the start of the next Tick.
    char AddMessageToQueue(const char* collection_id, const char* window_id, const char* button_id,
                           _MWinMessageNum message);
    char RemoveAnyQueuedMessagesForButton(MWinButton* button, MWinWindow* window, MWinCollection* collection);
    int GetNumQueuedMessages() const { return m_message_count; }

    void GetSettings(_MWinSettings* out) const;
    void SetSettings(const _MWinSettings* in);
    _MWinSettings* GetSettingsP() { return &m_settings; }

    // The colour pickers' hue table, bar textures and borders; defined in MWinColourPicker.cpp.
    char ColourCreateGraphics();
    // Unloads the bar textures (bars keep pointing at them); free_textures deletes them too.
    void ColourDestroyGraphics(bool free_textures = false);
    const _MWinColourShared* GetColourShared() const { return &m_colour_shared; }
    _MWinColourShared* GetColourSharedP() { return &m_colour_shared; }
    void ResetSettings();
    char SetScreenLayout(int layout);
    int GetScreenLayout() const { return m_screen_layout; }
    void ChooseScreenLayout();
    void ApplyLayoutScale();
    // The working record of a layout (0 to 4; others give layout 0, reported).
    _MWinLayoutSettings* GetLayoutSettings(int layout);
    _MWinLayoutSettings* GetBaseLayoutSettings(int layout);
    void ButtonsChanged();
    void RequestRedraw();

    void SetButtonPressedHook(MWinButtonPressedHook hook, void* user_data);
    void CallButtonPressedHook(int event);

    // Text drawing; area forms take an optional offset added to x and y.
    void DrawTextInArea(int font_num, int align, float margin, const _Dimension* area, const float* offset,
                        const char* text, int count, bool bracket, bool shrink_to_fit);
    void DrawTextInArea(int font_num, int align, float margin, float x, float y, float w, float h,
                        const float* offset, const char* text, int count, bool bracket, bool shrink_to_fit);
    void DrawMultilineTextInArea(int font_num, int align, float margin, const _Dimension* area,
                                 const float* offset, const char* text, bool bracket);

    float GetWindowScaleX() const;
    float ScaleKeepCentreX(float x, float width) const;
    float ScaleKeepCentreY(float y, float height) const;

    bool IsMouseInArea(const _Dimension* area, const float* offset = nullptr) const;
    float GetMouseX() const { return m_mouse_x; }
    float GetMouseY() const { return m_mouse_y; }
    void SetMousePosition(float x, float y);
    bool IsAnyTextEditEditing();

    // Popups (one at a time; all state lives here).
    void PopupResetDefaults();
    void PopupChooseLayoutSizes();
    void PopupSetAppearance(const char* window_texbut_a, const char* window_texbut_b, const char* window_font,
                            const char* button_texbut, const char* button_font, float button_r, float button_b,
                            float button_g, float button_a, float button_scale_x, float button_scale_y,
                            float title_r, float title_b, float title_g, float title_a, float title_scale_x,
                            float title_scale_y, int title_align);
    void PopupSetBoxSizes(float min_box_width, float max_box_width, float button_width, float button_height);
    char PopupMessage(const char* title, const char* text, MWinPopupResultCB callback, void* user_data);
    char PopupMessage(const char* title, const char* text);
    char PopupMessage(const char* text);
    char PopupOkCancel(const char* title, const char* text, MWinPopupResultCB callback, void* user_data);
    char PopupGetText(const char* title, const char* prompt, char* buffer, int buffer_size,
                      MWinPopupResultCB callback, void* user_data);
    char PopupWait(const char* title, const char* text);
    char PopupFlash(const char* title, const char* text);
    void PopupSetAutoCloseTime(double seconds);
    char IsPopupOn() const { return m_popup_on; }
    char PopupCloseIfOn();
    char PopupCloseCollection();
    void PopupAutoCloseTick();
    MWinCollection* GetPopupCollection() { return m_popup_collection; }

    // The full-screen text entry with its on-screen keyboard (tablets; MWinTextEntry.cpp). The three
    // settings are taken and cleared by the next entry that opens.
    char PopupGetText_Mobile(const char* title, const char* prompt, char* buffer, int buffer_size,
                             MWinPopupResultCB callback, void* user_data);
    // The entry itself, whatever the platform.
    char PopupOpenTextEntry(const char* title, const char* prompt, char* buffer, int buffer_size,
                            MWinPopupResultCB callback, void* user_data);
    void PopupSetTextEntrySettings(int input_type, char password, char auto_capitals);
    void PopupRenderFullScreenTextEntryMobile();

private:
    char ProcessQueueMessages();
    // The desktop, or null reported as "No desktop" under the caller's name.
    MWinDesktop* DesktopFor(const char* qualified_name);
    char RenderStateBracket(bool popups);
    void DrawBackground(bool* began, bool* prepared);

    char PopupCreateCollection();
    char PopupSetupDefaultButtons(const char* title, const char* text, int first_kind, int second_kind,
                                  char third, char fourth, float extra_width, float extra_height);
    char PopupCompleteSetup(MWinPopupResultCB callback, void* user_data);
    // A text buffer a popup may type into; otherwise reported under the caller's name.
    static bool PopupTextBufferUsable(const char* own_name, const char* buffer, int buffer_size);

    Game* m_game = nullptr;

    MWinID m_message_collection_id = {};
    MWinID m_message_window_id = {};
    MWinID m_message_button_id = {};
    _MWinMessageNum m_message_num = MWIN_MSG_CALL_CALLBACK;
    EngInt32 m_message_count = 0;

    char m_input_allowed = 1;
    EngInt32 m_screen_layout = MWIN_LAYOUT_NORMAL;

    MWinButtonPressedHook m_button_hook = nullptr;
    void* m_button_hook_user_data = nullptr;

    MWinScreens* m_screens = nullptr;

    _MWinSettings m_settings = {};
    _MWinColourShared m_colour_shared = {};
    _MWinLayoutSettings m_layouts[MWIN_NUM_LAYOUTS] = {};

    char m_is_on = 0;

    MWinDesktop* m_desktop = nullptr;
    MWinTextures* m_textures = nullptr;
    MWinFonts* m_fonts = nullptr;
    EngTexture* m_background = nullptr;

    float m_mouse_x = -1.0f;
    float m_mouse_y = -1.0f;

public:
    // Popup state; public so the popup code of the toolkit's collections can restore what it saved.
    MWinID m_popup_window_texbut_a = {};
    MWinID m_popup_window_texbut_b = {};
    MWinID m_popup_window_font = {};
    MWinID m_popup_button_texbut = {};
    MWinID m_popup_button_font = {};
    float m_popup_button_text_colour[4] = {};
    float m_popup_button_text_scale[2] = {};
    float m_popup_title_text_colour[4] = {};
    float m_popup_title_text_scale[2] = {};
    EngInt32 m_popup_title_align = 0;
    float m_popup_min_box_width[2] = {};
    float m_popup_max_box_width[2] = {};
    float m_popup_button_width[2] = {};
    float m_popup_button_height[2] = {};
    char m_popup_on = 0;
    EngInt32 m_popup_saved_mouse_over = -1;
    MWinPopupResultCB m_popup_callback = nullptr;
    void* m_popup_user_data = nullptr;
    MWinCollection* m_popup_collection = nullptr;
    MWinWindow* m_popup_window = nullptr;
    MWinButton* m_popup_message_button = nullptr;
    MWinButton* m_popup_buttons[4] = {};
    double m_popup_auto_close_time = 0.0;
    EngInt32 m_text_entry_input_type = 0;
    char m_text_entry_password = 0;
    char m_text_entry_auto_capitals = 0;
};

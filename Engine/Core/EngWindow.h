#pragma once

// The generic half of the one main window: its settings, the application callbacks around device creation,
// re-creation and destruction, activation, resize and the full-screen toggle, and the engine-wide screen
// values (size, windowed flag, scale factors between the real screen and the virtual 640 x 480 screen).
// The SDL half (window, window procedure, cursor) lives in PC/.

#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngTypes.h"
#include "Engine/Core/PC/EngWindow_PC.h"

class EngDevice;
struct _EngWindowMessage;

constexpr int ENG_WINDOW_CLASS_NAME_SIZE = 256;
constexpr int ENG_WINDOW_TITLE_SIZE = 255; // at most 254 characters

// The game's description of the main window; defaults are the engine's own record.
struct _EngCreateWindowParms
{
    int x = -1; // unless x and y are both 0 or more the window is centred on the work area
    int y = -1;
    int width = 1024; // client size
    int height = 768;
    int bit_depth = 32;
    char windowed = 1; // 1 window, 0 full screen
    int refresh = 60;
    EngUInt16 unused = 0;
    int multisample_type = 0;
    int multisample_quality = 0;
    char double_clicks = 0; // non-zero: a second click comes as a double-click message
    int cursor_resource = 0;
    char class_name[ENG_WINDOW_CLASS_NAME_SIZE] = "EngineClass";
};

// Engine-wide screen values.
extern bool eng_screen_windowed;
extern int eng_screen_width;
extern int eng_screen_height;
extern int eng_screen_bit_depth;
extern int eng_screen_refresh;
extern float eng_scale_x;     // width / 640: virtual to screen
extern float eng_scale_y;     // height / 480
extern float eng_inv_scale_x; // 640 / width: screen to virtual
extern float eng_inv_scale_y; // 480 / height
extern float eng_aspect_x;    // (height / width) x 4/3, at most 1
extern float eng_aspect_y;    // width / height, at most 1
extern int eng_screen_multisample_type;
extern int eng_screen_multisample_quality;

class EngWindow;
extern EngWindow* eng_main_window;

constexpr float ENG_VIRTUAL_WIDTH = 640.0f;
constexpr float ENG_VIRTUAL_HEIGHT = 480.0f;

// Activation states as the window procedure gets them.
constexpr int ENG_WINDOW_INACTIVE = 0;
constexpr int ENG_WINDOW_ACTIVE = 1;
constexpr int ENG_WINDOW_ACTIVE_BY_CLICK = 2;

class EngWindow
{
public:
    EngWindow(EngProgram* program, const char* title);
    ~EngWindow();
    EngWindow(const EngWindow&) = delete;
    EngWindow& operator=(const EngWindow&) = delete;

    signed char Create(_EngCreateWindowParms* parms);
    bool CreateGraphicsDevice();
    bool DoCreateGraphicsDevice(bool create_device);
    void DoDestroyGraphicsDevice(bool release_device);
    void Close();
    void Destroy();

    // windowed 0 or 1 replaces the flag; width, height, bit depth and refresh replace when above 0.
    void SetScreenMode(int windowed, int width, int height, int bit_depth, int refresh);
    void RefreshScreenMode();

    void RequestRecreateDevice() { m_recreate_device_requested = true; }
    bool DoRecreateDevice(_EngDeviceType type);
    bool RecreateDevice();
    bool ToggleFullscreenMode(bool force_windowed);
    void SetActive(int activation_state);
    void Resized(int width, int height);
    signed char Pump();

    bool GetWindowPos(int* x, int* y);
    void SetCursorPos(float virtual_x, float virtual_y);
    void GetCursorPos(int* x, int* y);
    void ShowCursor();
    void HideCursor();
    signed char PumpOneMessage();

    // Negative arguments take the current screen values.
    bool PrepareWindowForMode(int windowed, int width, int height, int bit_depth, int refresh, bool do_not_apply);
    void MinimiseIfFullscreen(int windowed);

    EngProgram* GetProgram() const { return m_program; }
    const char* GetTitle() const { return m_title; }
    EngDevice* GetDevice() const { return m_device; }
    const _EngCreateWindowParms* GetParms() const { return &m_parms; }
    bool IsActive() const { return m_active != ENG_WINDOW_INACTIVE; }
    bool IsMinimised() const { return m_pc.minimised; }
    bool IsDeviceRecreationRequested() const { return m_recreate_device_requested; }

    // --- SDL half ---
    bool CreateWindow_PC(_EngCreateWindowParms parms);
    void DestroyWindow_PC();
    bool PrepareWindowForMode_PC(bool windowed, int width, int height, int bit_depth, int refresh,
                                 bool do_not_apply);
    void MinimiseIfFullscreen_PC(bool windowed);
    long WindowProc(SDL_Window* handle, const _EngWindowMessage* msg);
    void CheckResize_PC(bool force);

    void SetCursorPos_PC(float virtual_x, float virtual_y);
    void GetCursorPos_PC(int* x, int* y);
    void ShowCursor_PC();
    void HideCursor_PC();
    // After every TickCB: while the pointer is outside, keeps sending moves and notes a release outside.
    void PollCursor_PC();
    bool SetupTextureCursor_PC(const char* file, char load_option_1, char load_option_2, int width, int height,
                               bool use_aspect_factors, int hot_spot_x, int hot_spot_y);
    void TextureCursorLeavingWindowCB_PC(bool leaving);
    void RenderTextureCursor_PC();
    bool GetWindowPos_PC(int* x, int* y);
    // Size and hot spot of the texture cursor in screen pixels, from the current scale or aspect factors.
    void ConvertTextureCursorSize_PC();
    // After the screen size changed: puts the picture back at the pointer, which may not move again.
    void ReplaceTextureCursor_PC();

    SDL_Window* GetWindowHandle_PC() const { return m_pc.handle; }
    // The input layer owns the keyboard while its callback is installed (null removes it).
    void SetKeyCallback(EngWindowKeyCallback callback) { m_pc.key_callback = callback; }
    EngWindowKeyCallback GetKeyCallback() const { return m_pc.key_callback; }
    _EngTextureCursor* GetTextureCursor_PC() { return &m_pc.texture_cursor; }
    bool IsPointerOutside_PC() const { return m_pc.pointer_outside; }
    // Set when the left button went up while the pointer was outside; buttons read and clear it.
    bool GetReleasedOutside() const { return m_pc.released_outside; }
    void ClearReleasedOutside() { m_pc.released_outside = false; }

private:
    void ClearForNewWindow_PC();
    void RememberWindowRect_PC();
    void NoteInput(bool mouse_move);
    void SendInput(_EngInputEventType type, EngUInt32 value1, EngUInt32 value2);
    long OnDestroy_PC();
    long OnSize_PC(SDL_Window* handle, const _EngWindowMessage* msg);
    long OnKey_PC(const _EngWindowMessage* msg, bool down);
    long OnSysKey_PC(SDL_Window* handle, const _EngWindowMessage* msg, bool down);
    long OnMouseMove_PC(const _EngWindowMessage* msg);
    long OnButton_PC(int button, bool down);
    long OnLeftButtonUp_PC();
    long OnMouseLeave_PC(SDL_Window* handle, const _EngWindowMessage* msg);
    void PlaceTextureCursor_PC(int x, int y);
    bool CreateGraphicsObjects();
    bool ReactivateFullscreen();
    // Moves the record of the window after a toggle onto a mode the display offers: the nearest full-screen
    // mode, or the desktop's depth for a window at the top-left corner; the refresh is left to the system.
    static bool FitToDisplayModes_PC(_EngCreateWindowParms* parms);

    EngProgram* m_program = nullptr;
    char m_title[ENG_WINDOW_TITLE_SIZE] = "";
    EngDevice* m_device = nullptr;
    int m_active = ENG_WINDOW_ACTIVE;
    bool m_recreating_device = false;
    bool m_recreate_device_requested = false;
    bool m_recreating_window = false;
    bool m_closing = false;
    _EngCreateWindowParms m_parms;
    _EngWindowPlatform m_pc;
};

// Platform flags read by the GUI toolkit and the layout choice.
bool EngWindowIsDesktopPlatform();
bool EngWindowIsTabletPlatform();

#pragma once

// The SDL half of the main window: what it keeps beside the generic fields, the texture cursor settings
// that device creation reads, and the desktop helpers.

struct SDL_Window;
class EngTexture;

constexpr int ENG_TEXTURE_CURSOR_NAME_SIZE = 128;

// The picture drawn in place of the system cursor. Device creation loads the texture from file_name with
// the two load options (alpha, alpha type) and fills the converted size and hot spot in screen pixels:
// EngWindow::ConvertTextureCursorSize_PC does that conversion.
struct _EngTextureCursor
{
    bool on = false;
    char file_name[ENG_TEXTURE_CURSOR_NAME_SIZE] = "";
    char load_option_1 = 0;
    char load_option_2 = 0;
    int width = 0; // virtual units
    int height = 0;
    bool use_aspect_factors = false;
    int hot_spot_x = 0;
    int hot_spot_y = 0;
    int converted_width = 0;
    int converted_height = 0;
    int converted_hot_spot_x = 0;
    int converted_hot_spot_y = 0;
    EngTexture* texture = nullptr; // made by EngWindow::SetupTextureCursor_PC, owned by the window
    bool shown = true;
    bool outside = false;
    // Client position of the pointer at the last placement, so a new screen size can re-place the picture.
    bool pointer_known = false;
    int pointer_x = 0;
    int pointer_y = 0;
};

// Size states of the window (the maximise/restore bookkeeping of the resize path).
constexpr int ENG_WINDOW_SIZE_NORMAL = 0;
constexpr int ENG_WINDOW_SIZE_RESTORED = 1;
constexpr int ENG_WINDOW_SIZE_MAXIMISED = 2;

// Window styles as the rest of the engine knows them; the SDL window flags follow from them.
constexpr unsigned ENG_WINDOW_STYLE_WINDOWED = 0x10CF0000u;
constexpr unsigned ENG_WINDOW_STYLE_FULLSCREEN = 0x90000000u;

// A key callback of the input layer: (virtual-key code, down).
typedef void (*EngWindowKeyCallback)(int virtual_key, bool down);

struct _EngWindowPlatform
{
    unsigned style = 0;
    SDL_Window* handle = nullptr; // lives until DestroyWindow_PC, so the device can release its context
    bool closed = false;           // the window was closed by the system and is hidden
    int size_state = ENG_WINDOW_SIZE_NORMAL;
    bool minimised = false;
    bool pointer_outside = true;
    int outside_x = 0;
    int outside_y = 0;
    int left_button_on_leaving = 0; // 0 or 2
    bool released_outside = false;
    bool rect_valid = false; // the outer rectangle remembered when the window was closed or moved
    int rect_x = 0;
    int rect_y = 0;
    int rect_width = 0;
    int rect_height = 0;
    double last_double_click_time = 0.0;
    EngWindowKeyCallback key_callback = nullptr;
    bool present = false;
    _EngTextureCursor texture_cursor;
};

// The desktop's rectangle, or its work area (without panels) when work_area is set. supported false reports
// that the caller's platform has no such query and goes on. Each non-null output receives its value.
bool EngMiscGetDesktopDimensions_PC(int* left, int* top, int* width, int* height, bool work_area, bool supported);
// The sizes of the full-screen modes the display offers, at most max of them; 0 when it offers none or
// cannot tell.
int EngMiscGetDisplayModeSizes_PC(int* widths, int* heights, int max);

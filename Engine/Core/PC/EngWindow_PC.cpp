#include "Engine/Core/PC/EngWindow_PC.h"

#include <SDL2/SDL.h>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngWindowProc_PC.h"
#include "Engine/Graphics/EngResModes.h"

namespace
{
bool InitVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    // The engine installs its own signal handlers, and it minimises a full-screen window itself when the
    // window goes to the back.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
        return true;
    DebugError(ENG_FUNC, "SDL_InitSubSystem: %s", SDL_GetError());
    return false;
}

// The visual is fixed when the window is made; the device creates its context on it later.
void SetVisualAttributes()
{
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

// A full-screen size equal to the desktop's keeps the desktop mode; any other size switches the display.
bool IsDesktopSize(int width, int height)
{
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0)
        return false;
    return desktop.w == width && desktop.h == height;
}

bool SetRealMode(SDL_Window* handle, int width, int height, int refresh)
{
    SDL_DisplayMode wanted = {};
    wanted.w = width;
    wanted.h = height;
    wanted.refresh_rate = refresh;
    SDL_DisplayMode closest;
    if (!SDL_GetClosestDisplayMode(0, &wanted, &closest))
        return false;
    if (SDL_SetWindowDisplayMode(handle, &closest) != 0)
        return false;
    return SDL_SetWindowFullscreen(handle, SDL_WINDOW_FULLSCREEN) == 0;
}

bool EnterFullscreen(SDL_Window* handle, int width, int height, int refresh)
{
    if (!IsDesktopSize(width, height) && SetRealMode(handle, width, height, refresh))
        return true;
    if (SDL_SetWindowFullscreen(handle, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0)
        return true;
    DebugError(ENG_FUNC, "SDL_SetWindowFullscreen: %s", SDL_GetError());
    return false;
}

void CentreInWorkArea(const _EngCreateWindowParms& parms, int width, int height, int* x, int* y)
{
    *x = parms.x;
    *y = parms.y;
    if (parms.x >= 0 && parms.y >= 0)
        return;
    int left = 0;
    int top = 0;
    int work_width = width;
    int work_height = height;
    EngMiscGetDesktopDimensions_PC(&left, &top, &work_width, &work_height, true, true);
    *x = left + work_width / 2 - width / 2;
    *y = top + work_height / 2 - height / 2;
}

void LimitToWorkArea(int* width, int* height)
{
    int work_width = 0;
    int work_height = 0;
    if (!EngMiscGetDesktopDimensions_PC(nullptr, nullptr, &work_width, &work_height, true, true))
        return;
    if (work_width > 0 && *width > work_width)
        *width = work_width;
    if (work_height > 0 && *height > work_height)
        *height = work_height;
}
} // namespace

bool EngWindow::CreateWindow_PC(_EngCreateWindowParms parms)
{
    if (!m_program)
        return false;
    if (eng_main_window)
    {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "CreateWindow", "More than one window not supported");
        return false;
    }
    if (!InitVideo())
    {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "CreateWindow", "Register Class Failed");
        return false;
    }
    bool windowed = parms.windowed != 0;
    PrepareWindowForMode(windowed, parms.width, parms.height, parms.bit_depth, parms.refresh, true);
    int width = parms.width > 0 ? parms.width : 1;
    int height = parms.height > 0 ? parms.height : 1;
    int x = SDL_WINDOWPOS_UNDEFINED;
    int y = SDL_WINDOWPOS_UNDEFINED;
    if (windowed)
    {
        LimitToWorkArea(&width, &height);
        CentreInWorkArea(parms, width, height, &x, &y);
    }
    SetVisualAttributes();
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | (windowed ? SDL_WINDOW_RESIZABLE : 0);
    SDL_Window* handle = SDL_CreateWindow(m_title, x, y, width, height, flags);
    if (!handle)
    {
        DebugError(ENG_FUNC, "SDL_CreateWindow: %s", SDL_GetError());
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "CreateWindow", "CreateWindow() Failed");
        return false;
    }
    ClearForNewWindow_PC();
    m_pc.handle = handle;
    if (!windowed && !PrepareWindowForMode_PC(false, width, height, parms.bit_depth, parms.refresh, false))
    {
        // The window never came up, so there is nothing to tell about its going.
        SDL_DestroyWindow(handle);
        m_pc.handle = nullptr;
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "CreateWindow", "CreateWindow() Failed");
        return false;
    }
    // A full-screen window may have fallen back to the desktop's size: the screen values follow the window.
    SDL_GetWindowSize(handle, &width, &height);
    SetScreenMode(windowed ? 1 : 0, width, height, parms.bit_depth, parms.refresh);
    m_pc.present = true;
    return true;
}

void EngWindow::ClearForNewWindow_PC()
{
    m_pc.closed = false;
    m_pc.size_state = ENG_WINDOW_SIZE_NORMAL;
    m_pc.minimised = false;
    m_pc.pointer_outside = true;
    m_pc.last_double_click_time = 0.0;
}

void EngWindow::DestroyWindow_PC()
{
    if (!m_pc.handle)
        return;
    if (!m_pc.closed)
    {
        _EngWindowMessage msg;
        msg.message = ENG_WM_DESTROY;
        WindowProc(m_pc.handle, &msg);
    }
    SDL_DestroyWindow(m_pc.handle);
    m_pc.handle = nullptr;
    m_pc.closed = false;
    m_pc.style = 0;
    m_pc.rect_valid = false;
    m_pc.present = false;
}

bool EngWindow::PrepareWindowForMode_PC(bool windowed, int width, int height, int bit_depth, int refresh,
                                        bool do_not_apply)
{
    (void)bit_depth;
    SDL_Window* handle = m_pc.closed ? nullptr : m_pc.handle;
    if (windowed)
    {
        m_pc.style = ENG_WINDOW_STYLE_WINDOWED;
        if (do_not_apply || !handle || m_pc.size_state == ENG_WINDOW_SIZE_MAXIMISED)
            return true;
        SDL_SetWindowFullscreen(handle, 0);
        SDL_SetWindowBordered(handle, SDL_TRUE);
        SDL_SetWindowResizable(handle, SDL_TRUE);
        return true;
    }
    m_pc.style = ENG_WINDOW_STYLE_FULLSCREEN;
    if (do_not_apply || !handle || eng_main_device_type != ENG_DEVICE_DX9)
        return true;
    SDL_RestoreWindow(handle);
    return EnterFullscreen(handle, width, height, refresh);
}

void EngWindow::MinimiseIfFullscreen_PC(bool windowed)
{
    if (windowed || eng_main_device_type != ENG_DEVICE_DX9 || !m_pc.handle || m_pc.closed)
        return;
    SDL_MinimizeWindow(m_pc.handle);
}

void EngWindow::CheckResize_PC(bool force)
{
    if (!m_pc.handle || m_pc.closed)
        return;
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(m_pc.handle, &width, &height);
    if (width < 1 || height < 1)
        return;
    if (force || width != eng_screen_width || height != eng_screen_height)
        Resized(width, height);
}

void EngWindow::RememberWindowRect_PC()
{
    if (!m_pc.handle || m_pc.closed)
        return;
    SDL_GetWindowPosition(m_pc.handle, &m_pc.rect_x, &m_pc.rect_y);
    SDL_GetWindowSize(m_pc.handle, &m_pc.rect_width, &m_pc.rect_height);
    m_pc.rect_valid = true;
}

// Positions are those of the client area, so a position saved here and handed back to the next window's
// record opens it at the same place.
bool EngWindow::GetWindowPos_PC(int* x, int* y)
{
    int left = -1;
    int top = -1;
    bool ok = false;
    if (eng_screen_windowed && m_pc.handle && !m_pc.closed)
    {
        SDL_GetWindowPosition(m_pc.handle, &left, &top);
        ok = true;
    }
    else if (eng_screen_windowed && m_pc.rect_valid)
    {
        left = m_pc.rect_x;
        top = m_pc.rect_y;
        ok = true;
    }
    if (x)
        *x = left;
    if (y)
        *y = top;
    return ok;
}

bool EngMiscGetDesktopDimensions_PC(int* left, int* top, int* width, int* height, bool work_area, bool supported)
{
    if (!supported)
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NIMP);
    if (!InitVideo())
        return false;
    SDL_Rect rect;
    bool ok = work_area && SDL_GetDisplayUsableBounds(0, &rect) == 0;
    if (!ok && SDL_GetDisplayBounds(0, &rect) != 0)
    {
        DebugError(ENG_FUNC, "SDL_GetDisplayBounds: %s", SDL_GetError());
        return false;
    }
    if (left)
        *left = rect.x;
    if (top)
        *top = rect.y;
    if (width)
        *width = rect.w;
    if (height)
        *height = rect.h;
    return true;
}

int EngMiscGetDisplayModeSizes_PC(int* widths, int* heights, int max)
{
    if (!InitVideo())
        return 0;
    int count = 0;
    const int modes = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < modes && count < max; i++) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0 || mode.w <= 0 || mode.h <= 0)
            continue;
        widths[count] = mode.w;
        heights[count] = mode.h;
        count++;
    }
    return count;
}

// Full screen goes to the nearest listed mode; a window takes the desktop's depth and opens at the top-left
// corner. The refresh is left to the system in both cases.
bool EngWindow::FitToDisplayModes_PC(_EngCreateWindowParms* parms)
{
    if (!InitVideo())
        return false;
    EngResModes modes;
    if (!modes.IsSetup())
    {
        DebugError(ENG_FUNC, "No modes.");
        return false;
    }
    if (!parms->windowed)
        return modes.GetClosestFullScreenModeToMode(&parms->width, &parms->height, &parms->bit_depth, &parms->refresh);
    int desktop_width = 0;
    int desktop_height = 0;
    if (!modes.GetWindowedModeDetails(&desktop_width, &desktop_height, &parms->bit_depth, &parms->refresh))
        return false;
    parms->x = 0;
    parms->y = 0;
    return true;
}

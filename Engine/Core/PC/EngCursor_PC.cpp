#include "Engine/Core/PC/EngCursor_PC.h"

#include <cstring>
#include <new>

#include <SDL2/SDL.h>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngMath.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/Graphics/EngTexture.h"

namespace
{
constexpr int ENG_CURSOR_BLENDING_TYPE = 7; // ONE, INVSRCALPHA

EngCursorButtonsReader_PC buttons_reader = nullptr;
} // namespace

void EngCursorShowSystemCursor_PC(bool show)
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

EngUInt32 EngCursorGetPhysicalButtons_PC()
{
    if (buttons_reader)
        return buttons_reader();
    return SDL_GetGlobalMouseState(nullptr, nullptr);
}

void EngCursorSetButtonsReader_PC(EngCursorButtonsReader_PC reader)
{
    buttons_reader = reader;
}

// Windowed, the virtual screen maps onto the client area (not the frame around it), so the pointer lands
// on what is drawn there.
void EngWindow::SetCursorPos_PC(float virtual_x, float virtual_y)
{
    if (!m_pc.handle || m_pc.closed)
        return;
    int width = eng_screen_width;
    int height = eng_screen_height;
    if (eng_screen_windowed)
        SDL_GetWindowSize(m_pc.handle, &width, &height);
    int x = int(float(width) * virtual_x / ENG_VIRTUAL_WIDTH);
    int y = int(float(height) * virtual_y / ENG_VIRTUAL_HEIGHT);
    SDL_WarpMouseInWindow(m_pc.handle, x, y);
}

void EngWindow::GetCursorPos_PC(int* x, int* y)
{
    int cursor_x = 0;
    int cursor_y = 0;
    if (m_pc.handle && SDL_GetMouseFocus() == m_pc.handle)
        SDL_GetMouseState(&cursor_x, &cursor_y);
    else if (m_pc.handle)
    {
        int left = 0;
        int top = 0;
        SDL_GetGlobalMouseState(&cursor_x, &cursor_y);
        SDL_GetWindowPosition(m_pc.handle, &left, &top);
        cursor_x -= left;
        cursor_y -= top;
    }
    if (x)
        *x = cursor_x;
    if (y)
        *y = cursor_y;
}

void EngWindow::ShowCursor_PC()
{
    m_pc.texture_cursor.shown = true;
    if (!m_pc.texture_cursor.on)
        EngCursorShowSystemCursor_PC(true);
}

void EngWindow::HideCursor_PC()
{
    m_pc.texture_cursor.shown = false;
    if (!m_pc.texture_cursor.on)
        EngCursorShowSystemCursor_PC(false);
}

void EngWindow::PollCursor_PC()
{
    if (!m_pc.pointer_outside || !IsActive())
        return;
    bool left_down = (EngCursorGetPhysicalButtons_PC() & SDL_BUTTON_LMASK) != 0;
    if (m_pc.left_button_on_leaving == ENG_KEY_STATE_DOWN && !left_down)
    {
        EngKeyStateTableSet(ENG_VK_LBUTTON, false);
        m_pc.left_button_on_leaving = ENG_KEY_STATE_UP;
        m_pc.released_outside = true;
    }
    int x = 0;
    int y = 0;
    GetCursorPos(&x, &y);
    if (x == m_pc.outside_x && y == m_pc.outside_y)
        return;
    m_pc.outside_x = x;
    m_pc.outside_y = y;
    SendInput(_EngInputEventType::MouseMove, EngInputEventFromFloat(float(x)), EngInputEventFromFloat(float(y)));
    NoteInput(true);
}

// A name that does not fit the name field is refused as well: it could not be loaded as given.
bool EngWindow::SetupTextureCursor_PC(const char* file, char load_option_1, char load_option_2, int width,
                                      int height, bool use_aspect_factors, int hot_spot_x, int hot_spot_y)
{
    if (!file || file[0] == 0 || std::strlen(file) >= ENG_TEXTURE_CURSOR_NAME_SIZE)
    {
        DebugError(ENG_FUNC, "Invalid Filename");
        return false;
    }
    _EngTextureCursor& cursor = m_pc.texture_cursor;
    if (!cursor.texture)
        cursor.texture = new (std::nothrow) EngTexture();
    if (!cursor.texture)
    {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return false;
    }
    EngSafeStrcpy(cursor.file_name, file, sizeof(cursor.file_name));
    cursor.load_option_1 = load_option_1;
    cursor.load_option_2 = load_option_2;
    cursor.width = width;
    cursor.height = height;
    cursor.use_aspect_factors = use_aspect_factors;
    cursor.hot_spot_x = hot_spot_x;
    cursor.hot_spot_y = hot_spot_y;
    EngCursorShowSystemCursor_PC(false);
    cursor.on = true;
    return true;
}

void EngWindow::ConvertTextureCursorSize_PC()
{
    _EngTextureCursor& cursor = m_pc.texture_cursor;
    float factor_x = cursor.use_aspect_factors ? eng_aspect_x : eng_scale_x;
    float factor_y = cursor.use_aspect_factors ? eng_aspect_y : eng_scale_y;
    cursor.converted_width = int(float(cursor.width) * factor_x);
    cursor.converted_height = int(float(cursor.height) * factor_y);
    cursor.converted_hot_spot_x = int(float(cursor.hot_spot_x) * factor_x);
    cursor.converted_hot_spot_y = int(float(cursor.hot_spot_y) * factor_y);
}

void EngWindow::ReplaceTextureCursor_PC()
{
    const _EngTextureCursor& cursor = m_pc.texture_cursor;
    if (cursor.pointer_known)
        PlaceTextureCursor_PC(cursor.pointer_x, cursor.pointer_y);
}

void EngWindow::TextureCursorLeavingWindowCB_PC(bool leaving)
{
    DebugInfoQuick(ENG_FUNC, "%d", leaving ? 1 : 0);
    _EngTextureCursor& cursor = m_pc.texture_cursor;
    cursor.outside = leaving;
    // Outside the window nothing draws the texture cursor, so the system one stands in for it.
    if (cursor.on && cursor.shown)
        EngCursorShowSystemCursor_PC(leaving);
}

void EngWindow::PlaceTextureCursor_PC(int x, int y)
{
    _EngTextureCursor& cursor = m_pc.texture_cursor;
    if (!cursor.texture)
        return;
    cursor.pointer_known = true;
    cursor.pointer_x = x;
    cursor.pointer_y = y;
    int virtual_x = EngRoundFloat(float(x) * eng_inv_scale_x) - cursor.converted_hot_spot_x;
    int virtual_y = EngRoundFloat(float(y) * eng_inv_scale_y) - cursor.converted_hot_spot_y;
    cursor.texture->PositionRatioedInt(virtual_x, virtual_y, cursor.converted_width, cursor.converted_height);
}

void EngWindow::RenderTextureCursor_PC()
{
    _EngTextureCursor& cursor = m_pc.texture_cursor;
    if (!eng_current_device || !cursor.on || !cursor.texture || !cursor.texture->IsLoaded() || !cursor.shown ||
        cursor.outside)
        return;
    bool began_scene = EngDeviceBeginRenderingIfNeeded();
    EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(true);
    bool prepared = EngDevicePrepareFor2DIfNeeded(true);
    bool blending_on = false;
    int blend_src = 0;
    int blend_dest = 0;
    EngDeviceGetBlendingState(&blending_on, &blend_src, &blend_dest);
    bool z_buffer_was_on = EngDeviceTurnOffZBufferIfOn();
    EngDevicePushTransformMatrix();
    EngDeviceSetTransformMatrixToDefault();
    // The picture's colours are premultiplied by an alpha that is 1 where it is solid: "one, inverse source
    // alpha" lays it over the frame (adding the frame scaled by the alpha would blacken the see-through part).
    EngDeviceEnableBlendingType(ENG_CURSOR_BLENDING_TYPE);
    cursor.texture->Draw();
    EngDevicePopTransformMatrix();
    if (z_buffer_was_on)
        EngDeviceTurnOnZBuffer();
    EngDeviceSetBlendingState(blending_on, blend_src, blend_dest);
    if (prepared)
        EngDeviceRestoreAfter2D();
    EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(false);
    if (began_scene)
        EngDeviceEndRendering();
}

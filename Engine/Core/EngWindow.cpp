#include "Engine/Core/EngWindow.h"

#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/PC/EngWindowProc_PC.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngTexture.h"

bool eng_screen_windowed = true;
int eng_screen_width = 640;
int eng_screen_height = 480;
int eng_screen_bit_depth = 32;
int eng_screen_refresh = 0;
float eng_scale_x = 1.0f;
float eng_scale_y = 1.0f;
float eng_inv_scale_x = 1.0f;
float eng_inv_scale_y = 1.0f;
float eng_aspect_x = 1.0f;
float eng_aspect_y = 1.0f;
int eng_screen_multisample_type = 0;
int eng_screen_multisample_quality = 0;
EngWindow* eng_main_window = nullptr;

namespace
{
void ComputeScreenValues()
{
    float width = float(eng_screen_width);
    float height = float(eng_screen_height);
    eng_scale_x = width / ENG_VIRTUAL_WIDTH;
    eng_scale_y = height / ENG_VIRTUAL_HEIGHT;
    eng_inv_scale_x = ENG_VIRTUAL_WIDTH / width;
    eng_inv_scale_y = ENG_VIRTUAL_HEIGHT / height;
    eng_aspect_x = (height / width) * (4.0f / 3.0f);
    if (eng_aspect_x > 1.0f)
        eng_aspect_x = 1.0f;
    eng_aspect_y = width / height;
    if (eng_aspect_y > 1.0f)
        eng_aspect_y = 1.0f;
    EngMainSetOrientation(eng_screen_width < eng_screen_height ? ENG_ORIENTATION_PORTRAIT
                                                               : ENG_ORIENTATION_LANDSCAPE);
}

// A callback's answer: above 0 goes on, 0 fails with a report, below 0 stops quietly.
bool CallbackGoesOn(signed char result, const char* own_name, const char* failure)
{
    if (result == 0)
        DebugError(own_name, "%s", failure);
    return result > 0;
}

// The keys the system path owns; a window coming back to the front must not see them still held.
void ClearSystemKeys()
{
    EngKeyStateTableSet(ENG_VK_MENU, false);
    EngKeyStateTableSet(ENG_VK_F10, false);
    EngKeyStateTableSet(ENG_VK_F11, false);
    EngKeyStateTableSet(ENG_VK_F12, false);
}
} // namespace

EngWindow::EngWindow(EngProgram* program, const char* title) : m_program(program)
{
    EngKeyStateTableClear();
    EngWindowProcReset_PC();
    EngSafeStrcpy(m_title, title, sizeof(m_title));
}

EngWindow::~EngWindow()
{
    Destroy();
    delete m_pc.texture_cursor.texture;
    m_pc.texture_cursor.texture = nullptr;
}

signed char EngWindow::Create(_EngCreateWindowParms* parms)
{
    if (!m_program)
        return 0;
    if (!parms)
    {
        DebugError(ENG_FUNC, "No window parms");
        return 0;
    }
    signed char result = m_program->PreCreateWindowCB(parms);
    if (!CallbackGoesOn(result, ENG_FUNC, "PreCreateWindowCB() failed"))
        return result;
    if (!CreateWindow_PC(*parms))
        return 0;
    m_parms = *parms;
    eng_screen_multisample_type = parms->multisample_type;
    eng_screen_multisample_quality = parms->multisample_quality;
    eng_main_window = this;
    return 1;
}

bool EngWindow::CreateGraphicsDevice()
{
    if (!m_program)
    {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        return false;
    }
    if (!m_recreating_window && !CallbackGoesOn(m_program->PreDeviceInitCB(), ENG_FUNC, "PreDeviceInitCB() failed"))
        return false;
    if (!m_device)
        m_device = new (std::nothrow) EngDevice(this);
    if (!m_device)
    {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return false;
    }
    if (!DoCreateGraphicsDevice(true))
    {
        DebugError(ENG_FUNC, "DoCreateGraphicsDevice() failed");
        return false;
    }
    if (m_recreating_window)
        return true;
    if (!CallbackGoesOn(m_program->PostDeviceInitCB(), ENG_FUNC, "PostDeviceInitCB() failed"))
        return false;
    m_program->SetGraphicsDeviceInitialised();
    return true;
}

bool EngWindow::DoCreateGraphicsDevice(bool create_device)
{
    if (!m_device)
    {
        DebugError(ENG_FUNC, "No device");
        return false;
    }
    if (create_device)
    {
        if (m_device->IsCreated())
        {
            DebugError(ENG_FUNC, "Device already created");
            return true;
        }
        if (!m_device->Create(eng_screen_windowed, eng_screen_width, eng_screen_height, eng_screen_bit_depth,
                              eng_screen_refresh))
            return false;
    }
    if (!m_device->IsCreated() || !eng_current_device)
    {
        DebugError(ENG_FUNC, "No device.");
        return false;
    }
    return CreateGraphicsObjects();
}

bool EngWindow::CreateGraphicsObjects()
{
    if (!m_program)
        return false;
    if (!CallbackGoesOn(m_program->PreCreateGraphicsObjectsCB(), ENG_FUNC, "PreCreateGraphicsObjectsCB() failed"))
        return false;
    if (!m_program->CreateGraphicsObjectsCB())
    {
        DebugError(ENG_FUNC, "CreateGraphicsObjectsCB() failed");
        return false;
    }
    if (!CallbackGoesOn(m_program->PostCreateGraphicsObjectsCB(), ENG_FUNC, "PostCreateGraphicsObjectsCB() failed"))
        return false;
    m_program->GraphicsReadyCB();
    return true;
}

void EngWindow::DoDestroyGraphicsDevice(bool release_device)
{
    if (!m_program)
        return;
    if (!m_device)
    {
        DebugError(ENG_FUNC, "No device");
        return;
    }
    m_program->PreDestroyGraphicsObjectsCB();
    m_program->DestroyGraphicsObjectsCB();
    if (release_device)
        m_device->Destroy();
    m_program->PostDestroyGraphicsObjectsCB();
}

void EngWindow::Close()
{
    if (!m_program || !m_device || m_closing)
        return;
    m_closing = true;
    EngMainClosingDown closing_down;
    if (!m_recreating_window)
        m_program->PreCloseWindowCB();
    DoDestroyGraphicsDevice(true);
    delete m_device;
    m_device = nullptr;
    if (!m_recreating_window)
        m_program->PostCloseWindowCB();
    m_pc.pointer_outside = true;
    m_closing = false;
}

void EngWindow::Destroy()
{
    Close();
    DestroyWindow_PC();
    if (eng_main_window == this)
        eng_main_window = nullptr;
}

void EngWindow::SetScreenMode(int windowed, int width, int height, int bit_depth, int refresh)
{
    if (windowed == 0 || windowed == 1)
        eng_screen_windowed = windowed == 1;
    if (width >= 1)
        eng_screen_width = width;
    if (height >= 1)
        eng_screen_height = height;
    if (bit_depth > 0)
        eng_screen_bit_depth = bit_depth;
    if (refresh > 0)
        eng_screen_refresh = refresh;
    if (eng_screen_width < 1)
        eng_screen_width = 1;
    if (eng_screen_height < 1)
        eng_screen_height = 1;
    ComputeScreenValues();
    if (m_device)
        EngDeviceUpdateFullScreenViewport();
}

void EngWindow::RefreshScreenMode()
{
    SetScreenMode(2, 0, 0, 0, 0);
}

bool EngWindow::DoRecreateDevice(_EngDeviceType type)
{
    if (!m_device)
    {
        DebugError(ENG_FUNC, "No device");
        return false;
    }
    if (m_device->IsCreated())
    {
        m_recreating_device = true;
        DoDestroyGraphicsDevice(true);
        MinimiseIfFullscreen(-1);
    }
    eng_main_device_type = type;
    bool ok = PrepareWindowForMode(-1, -1, -1, -1, -1, false);
    if (!ok)
        DebugError(ENG_FUNC, "Could not prepare mode");
    if (ok)
    {
        ok = DoCreateGraphicsDevice(true);
        if (ok)
            RefreshScreenMode();
        else
            DebugError(ENG_FUNC, "Could not re-create graphics device and/or objects");
    }
    m_recreating_device = false;
    return ok;
}

bool EngWindow::RecreateDevice()
{
    return DoRecreateDevice(eng_main_device_type);
}

bool EngWindow::ToggleFullscreenMode(bool force_windowed)
{
    if (!m_device || !m_device->IsCreated())
    {
        DebugError(ENG_FUNC, "Device not created");
        return false;
    }
    _EngOrientation orientation = EngMainGetOrientation();
    bool windowed = force_windowed || !eng_screen_windowed;
    m_recreating_window = true;
    // The quit flag is left as it is: a quit asked for earlier in the same pump must not be lost.
    Destroy();
    _EngCreateWindowParms parms = m_parms;
    parms.windowed = windowed ? 1 : 0;
    parms.width = eng_screen_width;
    parms.height = eng_screen_height;
    parms.bit_depth = eng_screen_bit_depth;
    parms.refresh = eng_screen_refresh;
    bool ok = FitToDisplayModes_PC(&parms);
    if (ok && Create(&parms) < 1)
    {
        DebugError(ENG_FUNC, "Could not re-create window");
        ok = false;
    }
    if (ok && !CreateGraphicsDevice())
    {
        DebugError(ENG_FUNC, "Could not re-create graphics device and/or objects");
        ok = false;
    }
    m_recreating_window = false;
    if (!ok)
        return false;
    RefreshScreenMode();
    m_program->GraphicsReadyCB();
    if (EngMainGetOrientation() != orientation)
        m_program->OrientationChangedCB(EngMainGetOrientation());
    return true;
}

void EngWindow::SetActive(int activation_state)
{
    if (!m_program || m_program->IsQuitting() || m_recreating_device || m_recreating_window)
        return;
    if (activation_state == m_active)
        return;
    m_active = activation_state;
    if (activation_state != ENG_WINDOW_INACTIVE)
    {
        ClearSystemKeys();
        if (!eng_screen_windowed && m_device && !m_device->IsCreated() && !ReactivateFullscreen())
            return;
    }
    else if (!eng_screen_windowed && m_device && m_device->IsCreated())
    {
        DoDestroyGraphicsDevice(true);
        MinimiseIfFullscreen_PC(false);
    }
    m_program->DoActivate(activation_state);
}

// The device was released when the full-screen window went to the back; without it the program cannot go
// on, so a failure closes it down. Returns false when the program was closed (this window is gone then).
bool EngWindow::ReactivateFullscreen()
{
    const char* reason = nullptr;
    if (!PrepareWindowForMode(0, -1, -1, -1, -1, false))
        reason = "Could not prepare for fullscreen mode";
    else if (!DoCreateGraphicsDevice(true))
        reason = "Could not re-create graphics device and/or objects";
    if (!reason)
        return true;
    m_program->ForceExitNow("ERROR", reason, false);
    EngMainCallExit(-1);
    return false;
}

void EngWindow::Resized(int width, int height)
{
    if (!m_program)
        return;
    _EngOrientation orientation = EngMainGetOrientation();
    SetScreenMode(2, width, height, 0, 0);
    RecreateDevice();
    if (m_device)
        EngDeviceWindowResized();
    m_program->DoGraphicsReady();
    if (EngMainGetOrientation() != orientation)
        m_program->OrientationChangedCB(EngMainGetOrientation());
}

signed char EngWindow::Pump()
{
    if (m_recreate_device_requested)
    {
        m_recreate_device_requested = false;
        DoRecreateDevice(eng_main_device_type);
    }
    return PumpOneMessage();
}

bool EngWindow::GetWindowPos(int* x, int* y)
{
    if (!eng_screen_windowed)
    {
        DebugError(ENG_FUNC, "Not running in windowed mode");
        if (x)
            *x = 0;
        if (y)
            *y = 0;
        return false;
    }
    return GetWindowPos_PC(x, y);
}

void EngWindow::SetCursorPos(float virtual_x, float virtual_y)
{
    if (m_pc.present)
        SetCursorPos_PC(virtual_x, virtual_y);
}

void EngWindow::GetCursorPos(int* x, int* y)
{
    if (m_pc.present)
        GetCursorPos_PC(x, y);
}

void EngWindow::ShowCursor()
{
    if (m_pc.present)
        ShowCursor_PC();
}

void EngWindow::HideCursor()
{
    if (m_pc.present)
        HideCursor_PC();
}

bool EngWindow::PrepareWindowForMode(int windowed, int width, int height, int bit_depth, int refresh,
                                     bool do_not_apply)
{
    if (windowed < 0)
        windowed = eng_screen_windowed ? 1 : 0;
    if (width < 0)
        width = eng_screen_width;
    if (height < 0)
        height = eng_screen_height;
    if (bit_depth < 0)
        bit_depth = eng_screen_bit_depth;
    if (refresh < 0)
        refresh = eng_screen_refresh;
    return PrepareWindowForMode_PC(windowed != 0, width, height, bit_depth, refresh, do_not_apply);
}

void EngWindow::MinimiseIfFullscreen(int windowed)
{
    if (windowed < 0)
        windowed = eng_screen_windowed ? 1 : 0;
    MinimiseIfFullscreen_PC(windowed != 0);
}

bool EngWindowIsDesktopPlatform()
{
    return true;
}

bool EngWindowIsTabletPlatform()
{
    return false;
}

#include "Engine/MWin/MWinScreenRegistry.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngDim.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinCollectionController.h"
#include "Engine/MWin/MWinDesktop.h"

#include <algorithm>

namespace {

constexpr int MWIN_FADE_MAX_STEPS = 1000000;

const char* ScreenName(EngScreenID id)
{
    return EngFourCharCodeToString(int(id));
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// EngScreens

EngScreens::EngScreens(MWin* mwinp, void* user_data)
    : m_mwinp(mwinp), m_user_data(user_data), m_on(0), m_current_id(0), m_current_index(-1),
      m_pre_change(nullptr), m_post_change(nullptr), m_started_mwin(-1)
{
    if (!mwinp)
        DebugError(ENG_FUNC, "No mwinp");
}

// The controllers belong to the program and may be gone by now: they are not called here.
EngScreens::~EngScreens()
{
    m_screens.clear();
    m_current_id = 0;
    m_current_index = -1;
    m_on = 0;
}

int EngScreens::FindScreen(EngScreenID id, char report) const
{
    for (size_t i = 0; i < m_screens.size(); i++) {
        if (m_screens[i].id == id)
            return int(i);
    }
    if (report)
        DebugError(ENG_FUNC, "Screen [%s] not found.", ScreenName(id));
    return -1;
}

const _EngScreen* EngScreens::GetScreen(EngScreenID id, char report) const
{
    int index = FindScreen(id, report);
    return index >= 0 ? &m_screens[size_t(index)] : nullptr;
}

_EngScreen* EngScreens::CurrentEntry()
{
    if (m_current_index < 0 || m_current_index >= int(m_screens.size()))
        return nullptr;
    return &m_screens[size_t(m_current_index)];
}

char EngScreens::Add(EngScreenID id, MWinCollectionController* controller)
{
    if (FindScreen(id, 0) >= 0) {
        DebugError(ENG_FUNC, "Screen [%s] already exists.", ScreenName(id));
        return 0;
    }
    _EngScreen entry = {id, controller, 0, 0, -1, -1};
    m_screens.push_back(entry);
    return 1;
}

char EngScreens::SetCurrentScreenID(EngScreenID id)
{
    m_current_id = 0;
    m_current_index = -1;
    int index = FindScreen(id, 1);
    if (index < 0) {
        DebugError(ENG_FUNC, "Screen [%s] not found.", ScreenName(id));
        return 0;
    }
    m_current_id = id;
    m_current_index = index;
    return 1;
}

void EngScreens::CallPreChange()
{
    if (m_pre_change)
        m_pre_change(m_mwinp, m_user_data);
}

void EngScreens::CallPostChange()
{
    if (m_post_change)
        m_post_change(m_mwinp, m_user_data);
}

char EngScreens::StartCurrent(void* data)
{
    if (!m_mwinp) {
        DebugError(ENG_FUNC, "No mwinp");
        return 0;
    }
    if (!m_mwinp->IsOn()) {
        DebugError(ENG_FUNC, "MWin is not on");
        return 0;
    }
    _EngScreen* entry = CurrentEntry();
    if (!entry) {
        DebugError(ENG_FUNC, "No start screen set.");
        return 0;
    }
    MWinCollectionController* controller = entry->controller;
    if (!DebugFatalCheck(controller != nullptr, ENG_FUNC, "No controller"))
        return 0;
    controller->CreateCollection(m_mwinp);
    m_on = 1;
    controller->StartingCB(data);
    m_mwinp->ButtonsChanged();
    return 1;
}

void EngScreens::StopCurrent()
{
    _EngScreen* entry = CurrentEntry();
    if (entry && entry->controller)
        entry->controller->ClearPointers();
}

char EngScreens::GotoScreen(EngScreenID id, void* data)
{
    int index = FindScreen(id, 1);
    if (index < 0)
        return 0;
    EngScreenID old_id = m_current_id;
    bool old_registered = FindScreen(old_id, 0) >= 0;
    StopCurrent();
    m_current_id = id;
    m_current_index = index;
    // Going to the screen that is already current keeps its way back.
    if (id != old_id) {
        m_screens[size_t(index)].back_id = old_registered ? old_id : 0;
        m_screens[size_t(index)].prev_id = old_registered ? old_id : 0;
    }
    CallPreChange();
    StartCurrent(data);
    CallPostChange();
    return 1;
}

char EngScreens::GoBack()
{
    _EngScreen* entry = CurrentEntry();
    if (!entry)
        return 0;
    int back_index = FindScreen(entry->back_id, 0);
    if (back_index < 0)
        return 0;
    EngScreenID old_id = m_current_id;
    StopCurrent();
    m_current_id = m_screens[size_t(back_index)].id;
    m_current_index = back_index;
    m_screens[size_t(back_index)].prev_id = old_id;
    CallPreChange();
    StartCurrent(nullptr);
    CallPostChange();
    return 1;
}

char EngScreens::TurnOn(int start_mwin)
{
    if (m_on)
        return 1;
    bool start = start_mwin > 0 || (start_mwin < 0 && m_mwinp && !m_mwinp->IsOn());
    // A start whose screen failed left the GUI on: the screens started it, and they still stop it.
    bool still_ours = m_started_mwin == 1 && m_mwinp && m_mwinp->IsOn();
    m_started_mwin = start || still_ours ? 1 : 0;
    if (start && (!m_mwinp || !m_mwinp->Startup()))
        DebugFatalCheck(false, ENG_FUNC, "Could not start the user interface");
    CallPreChange();
    char ok = StartCurrent(nullptr);
    CallPostChange();
    return ok;
}

char EngScreens::TurnOff(int stop_mwin)
{
    if (!m_on && m_started_mwin != 1)
        return 1;
    if (m_on)
        StopCurrent();
    if (m_started_mwin == -1)
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
    bool stop = stop_mwin > 0 || (stop_mwin < 0 && m_started_mwin == 1);
    if (stop && m_mwinp)
        m_mwinp->Shutdown();
    m_started_mwin = -1;
    if (stop_mwin == 2) {
        m_current_id = 0;
        m_current_index = -1;
    }
    m_on = 0;
    return 1;
}

char EngScreens::Tick()
{
    if (!m_on)
        return 0;
    _EngScreen* entry = CurrentEntry();
    if (entry && entry->controller) {
        // The controller may switch screens or close a popup, as a button would.
        MWinDesktopWalk walk(m_mwinp ? m_mwinp->GetDesktop() : nullptr);
        entry->controller->TickCB();
    }
    if (!eng_main_program || eng_main_program->IsQuitting() || !m_on)
        return 0;
    m_mwinp->Tick();
    return 1;
}

void EngScreens::Render(int pass)
{
    if (!m_on)
        return;
    _EngScreen* entry = CurrentEntry();
    if (entry && entry->controller)
        entry->controller->RenderCB(pass);
}

void EngScreens::RemoveAllScreens()
{
    for (_EngScreen& entry : m_screens) {
        if (entry.controller && entry.controller->GetScreens(0))
            entry.controller->ClearPointers();
        else
            DebugError(ENG_FUNC, "Bad controller_p");
    }
    m_screens.clear();
    m_current_index = -1;
}

// ---------------------------------------------------------------------------------------------------------
// Fade

static void DrawFadeFrame(float alpha)
{
    if (!eng_main_program || !EngDeviceIsCreated())
        return;
    eng_main_program->RenderCB();
    if (eng_main_window)
        eng_main_window->RenderTextureCursor_PC();
    bool began = EngDeviceBeginRenderingIfNeeded();
    EngDimDraw(alpha);
    if (began)
        EngDeviceEndRendering();
    EngDeviceSwapBuffers();
}

void MWinFadeScreen(int direction, double duration)
{
    if (eng_frame_rate <= 1.0f || duration <= 0)
        return;
    double start = EngMainUpdateTime();
    DrawFadeFrame(direction < 0 ? 0.0f : 1.0f);
    double frame_time = EngMainUpdateTime() - start;
    if (frame_time <= 0)
        return;
    double steps = duration / frame_time;
    if (steps < 1 || steps > MWIN_FADE_MAX_STEPS)
        return;
    int n = int(steps);
    float level = 0;
    for (int i = 0; i < n; i++) {
        level = std::min(1.0f, level + 1.0f / float(n));
        if (EngMainUpdateTime() - start > 2 * duration)
            level = 1;
        DrawFadeFrame(direction < 0 ? level : 1 - level);
    }
}

// ---------------------------------------------------------------------------------------------------------
// MWinScreens

MWinScreens::MWinScreens(MWin* mwinp, char fade_on) : m_screens(nullptr), m_fade_on(fade_on ? 1 : 0), m_mwinp(mwinp)
{
    if (!DebugFatalCheck(mwinp != nullptr, ENG_FUNC, "No m_mwinp"))
        return;
    m_screens = new EngScreens(mwinp, this);
    mwinp->SetScreens(this);
}

MWinScreens::~MWinScreens()
{
    RemoveAllScreens();
    delete m_screens;
    m_screens = nullptr;
    if (m_mwinp)
        m_mwinp->ForgetScreens(this);
}

char MWinScreens::SetupAllScreens()
{
    if (!m_screens) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return 0;
    }
    RemoveAllScreens();
    m_screens->SetPreChangeCallback(MWinScreens_PreChangingCB);
    m_screens->SetPostChangeCallback(MWinScreens_PostChangingCB);
    if (!SetupScreensCB()) {
        DebugError(ENG_FUNC, "Could not setup program's screens");
        return 0;
    }
    return 1;
}

char MWinScreens::AddScreen(EngScreenID id, MWinCollectionController* controller)
{
    if (!m_screens) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return 0;
    }
    if (controller && !controller->GetScreens(0))
        controller->SetScreens(this);
    return m_screens->Add(id, controller);
}

char MWinScreens::SetCurrentScreen(EngScreenID id)
{
    return m_screens ? m_screens->SetCurrentScreenID(id) : 0;
}

EngScreenID MWinScreens::GetCurrentScreen() const
{
    return m_screens ? m_screens->GetCurrentScreenID() : 0;
}

bool MWinScreens::IsOn() const
{
    return m_mwinp && m_mwinp->IsOn() && m_screens && m_screens->IsOn();
}

void MWinScreens::RemoveAllScreens()
{
    if (m_screens)
        m_screens->RemoveAllScreens();
}

char MWinScreens::Tick()
{
    return m_screens ? m_screens->Tick() : 0;
}

void MWinScreens::Render(int pass)
{
    if (m_screens)
        m_screens->Render(pass);
}

void MWinScreens::Fade(int direction)
{
    if (m_fade_on)
        MWinFadeScreen(direction, MWIN_SCREENS_FADE_TIME);
}

char MWinScreens::StartScreen(EngScreenID id, int start_mwin)
{
    if (!m_screens) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return 0;
    }
    m_screens->SetCurrentScreenID(id);
    Fade(-1);
    StartCB();
    char ok = m_screens->TurnOn(start_mwin);
    Fade(1);
    return ok;
}

char MWinScreens::End(int stop_mwin)
{
    if (!m_screens) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return 0;
    }
    Fade(-1);
    m_screens->TurnOff(stop_mwin);
    if (m_mwinp->IsOn() && m_mwinp->GetDesktop())
        m_mwinp->GetDesktop()->RemoveAllCollections();
    EndCB();
    Fade(1);
    return 1;
}

char MWinScreens::GotoScreen(EngScreenID id, void* data)
{
    if (!m_screens) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return 0;
    }
    if (m_mwinp->IsPopupOn()) {
        DebugError(ENG_FUNC, "Called when a popup was on. Turning popup off...");
        m_mwinp->PopupCloseIfOn();
    }
    Fade(-1);
    char ok = m_screens->GotoScreen(id, data);
    Fade(1);
    return ok;
}

char MWinScreens::GoBack()
{
    if (!m_screens) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return 0;
    }
    Fade(-1);
    char ok = m_screens->GoBack();
    Fade(1);
    return ok;
}

void MWinScreens::PreChangingCB()
{
    if (!GetCurrentScreen())
        return;
    PreScreenChangeCB();
    if (m_mwinp->GetDesktop())
        m_mwinp->GetDesktop()->RemoveAllCollections();
}

void MWinScreens::PostChangingCB()
{
    PostScreenChangeCB(GetCurrentScreen());
}

void MWinScreens_PreChangingCB(MWin*, void* user_data)
{
    if (!DebugFatalCheckQualified(user_data != nullptr, "MWinScreens_PreChangingCB", "No user data"))
        return;
    static_cast<MWinScreens*>(user_data)->PreChangingCB();
}

void MWinScreens_PostChangingCB(MWin*, void* user_data)
{
    if (!DebugFatalCheckQualified(user_data != nullptr, "MWinScreens_PostChangingCB", "No user data"))
        return;
    static_cast<MWinScreens*>(user_data)->PostChangingCB();
}

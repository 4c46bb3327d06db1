#include "Engine/MWin/MWinCollection.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngString.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinWindow.h"

#include <new>

MWinCollection::MWinCollection(MWin* mwinp, const char* id, MWinDesktop* desktop)
    : m_active(0), m_bg_file(), m_bg_load_flag_1(0), m_bg_load_flag_2(0), m_bg_texture(nullptr), m_created(0),
      m_screen_layout(MWIN_LAYOUT_NORMAL), m_layout_set(0), m_modal_shown(0), m_mwinp(mwinp), m_desktop(desktop),
      m_id(), m_first_window(), m_next(nullptr), m_prev(nullptr), m_window_scaling_allowed(1),
      m_escape_window(nullptr), m_removed(0), m_popup_saved_active(0)
{
    DebugFatalCheckQualified(mwinp != nullptr, "MWinCollection::MWinCollection", "Internal Error (MWinCollection)");
    MWinCopyID(m_id, id ? id : "");
    m_created = 1;
}

MWinCollection::~MWinCollection()
{
    for (int layout = 0; layout < MWIN_NUM_LAYOUTS; layout++) {
        MWinWindow* window = m_first_window[layout];
        while (window && window->GetNext())
            window = window->GetNext();
        while (window) {
            MWinWindow* prev = window->GetPrev();
            delete window;
            window = prev;
        }
        m_first_window[layout] = nullptr;
    }
    delete m_bg_texture;
    m_created = 0;
}

int MWinCollection::GetLayoutIndex() const
{
    int layout = GetScreenLayout();
    if (layout < 0 || layout >= MWIN_NUM_LAYOUTS) {
        DebugError(ENG_FUNC, "Invalid screen layout %d", layout);
        return 0;
    }
    return layout;
}

MWinWindow* MWinCollection::GetFirstWindow() const
{
    return m_first_window[GetLayoutIndex()];
}

// ---------------------------------------------------------------------------------------------------------
// Windows

MWinWindow* MWinCollection::AddWindow(const char* id, const _MWinWindowCreateInfo* info)
{
    if (GetWindowFromID(id, 0))
        DebugError(ENG_FUNC, "Window with id [%s] already exists.", id);
    MWinWindow* window = new (std::nothrow) MWinWindow(m_mwinp, id, this, info);
    if (!window) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return nullptr;
    }
    int layout = GetLayoutIndex();
    MWinWindow* last = m_first_window[layout];
    while (last && last->GetNext())
        last = last->GetNext();
    window->SetPrev(last);
    if (last)
        last->SetNext(window);
    else
        m_first_window[layout] = window;
    for (MWinWindow* w = m_first_window[layout]; w; w = w->GetNext())
        w->Deactivate();
    WindowsChanged();
    window->Activate();
    return window;
}

void MWinCollection::BringToFront(MWinWindow* window)
{
    int layout = GetLayoutIndex();
    MWinWindow* last = m_first_window[layout];
    bool found = false;
    for (; last; last = last->GetNext()) {
        found = found || last == window;
        if (!last->GetNext())
            break;
    }
    if (!found || last == window)
        return;
    MWinWindow* prev = window->GetPrev();
    MWinWindow* next = window->GetNext();
    if (prev)
        prev->SetNext(next);
    else
        m_first_window[layout] = next;
    next->SetPrev(prev);
    last->SetNext(window);
    window->SetPrev(last);
    window->SetNext(nullptr);
}

void MWinCollection::RemoveAllWindows()
{
    int layout = GetLayoutIndex();
    MWinWindow* window = m_first_window[layout];
    while (window && window->GetNext())
        window = window->GetNext();
    m_first_window[layout] = nullptr;
    m_escape_window = nullptr;
    while (window) {
        MWinWindow* prev = window->GetPrev();
        window->SetPrev(nullptr);
        window->SetNext(nullptr);
        window->MarkRemoved();
        if (m_desktop)
            m_desktop->Dispose(window);
        else
            delete window;
        window = prev;
    }
    WindowsChanged();
}

MWinWindow* MWinCollection::GetWindowFromID(const char* id, char report) const
{
    if (MWinIDIsEmpty(id)) {
        DebugError(ENG_FUNC, "No Window ID");
        return nullptr;
    }
    for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext()) {
        if (MWinIDsEqual(window->GetID(), id))
            return window;
    }
    if (report)
        DebugError(ENG_FUNC, "Window <%s> not found in collection <%s>", id, m_id);
    return nullptr;
}

MWinWindow* MWinCollection::GetNthWindow(int n) const
{
    int i = 0;
    for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext(), i++) {
        if (i == n)
            return window;
    }
    DebugError(ENG_FUNC, "No %d'th window found.", n);
    return nullptr;
}

int MWinCollection::GetNumWindows() const
{
    int count = 0;
    for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext())
        count++;
    return count;
}

MWinWindow* MWinCollection::GetActiveWindow() const
{
    for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext()) {
        if (window->IsActive())
            return window;
    }
    return nullptr;
}

MWinWindow* MWinCollection::FirstShownModal() const
{
    for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext()) {
        if (window->IsShown() && window->IsModal())
            return window;
    }
    return nullptr;
}

void MWinCollection::UpdateModalShown()
{
    m_modal_shown = FirstShownModal() ? 1 : 0;
}

void MWinCollection::DeactivateNormalWindows()
{
    for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext()) {
        if (window->IsActive() && !window->IsModal())
            window->Deactivate();
    }
}

void MWinCollection::EnforceModal()
{
    DeactivateNormalWindows();
    if (GetActiveWindow())
        return;
    MWinWindow* modal = FirstShownModal();
    if (modal)
        modal->Activate();
}

MWinWindow* MWinCollection::FindWindowUnderMouse() const
{
    MWinWindow* found = nullptr;
    for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext()) {
        if (!window->IsShown() || (m_modal_shown && !window->IsModal()))
            continue;
        if (window->IsMouseOver())
            found = window;
    }
    return found;
}

void MWinCollection::WindowsChanged()
{
    for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext()) {
        window->UpdateTitleAreas();
        window->UpdateHideAndExtraButtons(1, 1);
    }
    UpdateModalShown();
    if (m_modal_shown) {
        EnforceModal();
        return;
    }
    MWinWindow* active = GetActiveWindow();
    if (!active || active->IsModal())
        ActivateWindowUnderMouse();
}

// ---------------------------------------------------------------------------------------------------------
// State

void MWinCollection::Activate()
{
    if (m_desktop) {
        for (MWinCollection* c = m_desktop->GetFirstCollection(); c; c = c->GetNext()) {
            if (c != this && c->IsActive())
                c->Deactivate();
        }
    }
    m_active = 1;
}

void MWinCollection::Deactivate()
{
    for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext())
        window->Deactivate();
    m_active = 0;
}

void MWinCollection::SetScreenLayout(int layout)
{
    bool was_active = m_active != 0;
    if (was_active)
        Deactivate();
    m_screen_layout = layout;
    m_layout_set = 1;
    if (was_active)
        Activate();
}

int MWinCollection::GetScreenLayout() const
{
    return m_layout_set ? m_screen_layout : m_mwinp->GetScreenLayout();
}

void MWinCollection::SavePopupState()
{
    m_popup_saved_active = m_active;
    for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext())
        window->SetPopupSavedState(window->IsActive() ? 1 : 0);
    Deactivate();
}

void MWinCollection::RestorePopupState()
{
    if (m_popup_saved_active)
        m_active = 1;
    m_popup_saved_active = 0;
    for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext()) {
        if (!window->GetPopupSavedState())
            continue;
        window->SetPopupSavedState(0);
        window->Activate();
    }
}

void MWinCollection::MarkRemoved()
{
    m_removed = 1;
    for (int layout = 0; layout < MWIN_NUM_LAYOUTS; layout++) {
        for (MWinWindow* window = m_first_window[layout]; window; window = window->GetNext())
            window->MarkRemoved();
    }
}

// ---------------------------------------------------------------------------------------------------------
// Graphics

char MWinCollection::SetBgTextureFile(const char* file, EngUInt8 load_flag_1, EngUInt8 load_flag_2)
{
    EngSafeStrcpy(m_bg_file, file ? file : "", sizeof(m_bg_file));
    m_bg_load_flag_1 = load_flag_1;
    m_bg_load_flag_2 = load_flag_2;
    return 1;
}

char MWinCollection::CreateBgTexture()
{
    if (m_bg_texture)
        m_bg_texture->Unload();
    if (!m_bg_file[0])
        return 1;
    if (!m_bg_texture)
        m_bg_texture = new (std::nothrow) EngTexture("MWinCollection - Background");
    if (!m_bg_texture || !m_bg_texture->LoadFromFile(m_bg_file, m_bg_load_flag_1 != 0, MWIN_GUI_ALPHA_TYPE,
                                                     m_bg_load_flag_2 != 0)) {
        DebugError(ENG_FUNC, "Could not load bg texture file <%s>", m_bg_file);
        m_bg_file[0] = 0;
        return 0;
    }
    m_bg_texture->PositionRatioed(0, 0, MWIN_VIRTUAL_WIDTH, MWIN_VIRTUAL_HEIGHT);
    return 1;
}

char MWinCollection::CreateGraphicsObjects()
{
    char ok = CreateBgTexture();
    for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext()) {
        if (!window->CreateGraphicsObjects())
            ok = 0;
    }
    return ok;
}

void MWinCollection::DestroyGraphicsObjects()
{
    if (m_bg_texture)
        m_bg_texture->Unload();
    for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext())
        window->DestroyGraphicsObjects();
}

// ---------------------------------------------------------------------------------------------------------
// Per frame

char MWinCollection::Tick()
{
    char changed = 0;
    for (MWinWindow* window = GetFirstWindow(); window && !m_removed; window = window->GetNext()) {
        if (window->IsActive() && window->Tick())
            changed = 1;
    }
    return changed;
}

void MWinCollection::RenderWindows(bool modal, bool active)
{
    for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext()) {
        if (window->IsShown() && window->IsModal() == modal && window->IsActive() == active)
            window->Render();
    }
}

void MWinCollection::Render()
{
    if (!EngDeviceIsCreated() || !GetFirstWindow())
        return;
    if (m_bg_texture && m_bg_texture->IsLoaded())
        m_bg_texture->Draw();
    RenderWindows(false, false);
    RenderWindows(false, true);
    if (!m_modal_shown)
        return;
    RenderWindows(true, false);
    RenderWindows(true, true);
}

// ---------------------------------------------------------------------------------------------------------
// Input

char MWinCollection::HandleMouseMove()
{
    if (!m_created)
        return 0;
    MWinWindow* previous = GetActiveWindow();
    if (previous && previous->IsThumbDragging())
        return previous->HandleMouseMove();
    const _MWinSettings* settings = m_mwinp->GetSettingsP();
    MWinButton* active_button = previous ? previous->GetActiveButton() : nullptr;
    bool captured = (active_button && active_button->IsCapturingInput()) || (previous && previous->IsDragging());
    if (settings->hover_activate_window && !captured) {
        MWinWindow* under = FindWindowUnderMouse();
        if (under) {
            if (!under->IsActive())
                under->Activate();
            for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext()) {
                if (window != under && window->IsActive())
                    window->Deactivate();
            }
        }
    }
    if (m_removed)
        return 1;
    MWinWindow* active = GetActiveWindow();
    if (previous && active != previous)
        previous->ResetButtonStates();
    if (m_modal_shown)
        EnforceModal();
    active = GetActiveWindow();
    return active ? active->HandleMouseMove() : 0;
}

void MWinCollection::ActivateWindowUnderMouse()
{
    _MWinSettings* settings = m_mwinp->GetSettingsP();
    char saved = settings->hover_activate_window;
    settings->hover_activate_window = 1;
    HandleMouseMove();
    settings->hover_activate_window = saved;
    if (m_active && !saved && GetNumWindows() == 1 && !GetActiveWindow())
        GetFirstWindow()->Activate();
}

char MWinCollection::HandleButtonPressed(int button, int down, int flag)
{
    if (!m_created || !GetFirstWindow())
        return 0;
    MWinWindow* active = GetActiveWindow();
    if (active && active->IsMouseOver() && (!m_modal_shown || active->IsModal()))
        return active->HandleButtonPressed(button, down, flag, 0);
    if (active && active->IsDragging()) {
        active->EndDrag();
        return 1;
    }
    if (active)
        active->ResetButtonStates();
    if (button != 0 || !down || m_removed)
        return 0;
    if (active && !active->IsModal())
        active->Deactivate();
    for (MWinWindow* window = GetFirstWindow(); window; window = window->GetNext()) {
        if (!window->IsShown() || !window->IsMouseOver() || (m_modal_shown && !window->IsModal()))
            continue;
        window->Activate();
        return 1;
    }
    return 0;
}

char MWinCollection::HandleDoubleClick(int button)
{
    MWinWindow* active = GetActiveWindow();
    return active ? active->HandleDoubleClick(button) : 0;
}

char MWinCollection::HandleMouseWheel(int steps)
{
    MWinWindow* active = GetActiveWindow();
    return active ? active->HandleMouseWheel(steps) : 0;
}

char MWinCollection::HandleKeyDown(int key)
{
    if (!m_created)
        return 0;
    MWinButton* escape = m_escape_window ? m_escape_window->GetEscapeButton() : nullptr;
    if (key == ENG_VK_ESCAPE && escape && escape->IsShown()) {
        MWinWindow* active = GetActiveWindow();
        MWinButton* active_button = active ? active->GetActiveButton() : nullptr;
        bool open_list = active_button && active_button->GetKind() == MWIN_BUT_LIST &&
                         active_button->IsCapturingInput();
        if (!m_mwinp->IsAnyTextEditEditing() && !open_list) {
            EngKeyStateTable[ENG_VK_ESCAPE] = ENG_KEY_STATE_UP;
            m_escape_window->SendButtonCallCallbackMessage(escape, 1);
            return 1;
        }
    }
    MWinWindow* active = GetActiveWindow();
    return active ? active->HandleKeyDown(key) : 0;
}

char MWinCollection::HandleKeyDownChar(int ch)
{
    MWinWindow* active = GetActiveWindow();
    return active ? active->HandleKeyDownChar(ch) : 0;
}

char MWinCollection::HandleKeyUp(int key)
{
    MWinWindow* active = GetActiveWindow();
    return active ? active->HandleKeyUp(key) : 0;
}

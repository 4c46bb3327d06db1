#include "Engine/MWin/MWinGroup.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinTabPanel.h"
#include "Engine/MWin/MWinWindow.h"

#include <new>

MWinGroup::MWinGroup(MWin* mwinp, MWinWindow* window)
    : m_mwinp(mwinp), m_shown(1), m_created(1), m_window(window), m_first_button(nullptr),
      m_last_button(nullptr), m_prev(nullptr), m_next(nullptr)
{
}

MWinGroup::~MWinGroup()
{
    RemoveAllButtons();
    m_created = 0;
}

MWinButton* MWinGroup::AddButton(const char* id, int kind, const char* texbut_id, const char* text, float x,
                                 float y, float w, float h)
{
    if (kind == MWIN_BUT_HORZSCROLLBAR || kind == MWIN_BUT_VERTSCROLLBAR || kind == MWIN_BUT_CLASS_OTHER ||
        kind == MWIN_BUT_TABPANEL)
        DebugError(ENG_FUNC, "Use individual class buttons instead");
    MWinButton* button = new (std::nothrow) MWinButton(m_mwinp, id, this, kind, texbut_id, text, x, y, w, h);
    if (!button) {
        DebugError(ENG_FUNC, "No button (no memory)");
        return nullptr;
    }
    return AppendButton(button);
}

MWinTabPanel* MWinGroup::AddTabPanel(const char* id, const char* texbut_id, float x, float y, float w, float h)
{
    MWinTabPanel* panel = new (std::nothrow) MWinTabPanel(m_mwinp, id, this, texbut_id, x, y, w, h);
    if (!panel) {
        DebugError(ENG_FUNC, "No button (no memory)");
        return nullptr;
    }
    AppendButton(panel);
    return panel;
}

MWinButton* MWinGroup::AppendButton(MWinButton* button)
{
    if (!button)
        return nullptr;
    button->SetPrev(m_last_button);
    button->SetNext(nullptr);
    if (m_last_button)
        m_last_button->SetNext(button);
    else
        m_first_button = button;
    m_last_button = button;
    return button;
}

void MWinGroup::Render()
{
    for (MWinButton* button = m_first_button; button; button = button->GetNext()) {
        if (!button->IsValid()) {
            DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
            return;
        }
        button->Render();
    }
    // Open drop-down lists lie over everything of their group.
    for (MWinButton* button = m_first_button; button; button = button->GetNext()) {
        if (button->GetKind() == MWIN_BUT_LIST && button->ListIsOpen())
            button->ListRenderOpen();
    }
}

char MWinGroup::CreateGraphicsObjects()
{
    char ok = 1;
    for (MWinButton* button = m_first_button; button; button = button->GetNext()) {
        if (!button->CreateGraphicsObjects())
            ok = 0;
    }
    return ok;
}

void MWinGroup::DestroyGraphicsObjects()
{
    for (MWinButton* button = m_first_button; button; button = button->GetNext())
        button->DestroyGraphicsObjects();
}

void MWinGroup::CalcAreas()
{
    for (MWinButton* button = m_first_button; button; button = button->GetNext())
        button->CalcArea();
}

void MWinGroup::RemoveAllButtons()
{
    MWinDesktop* desktop = m_mwinp ? m_mwinp->GetDesktop() : nullptr;
    MWinButton* button = m_last_button;
    m_first_button = nullptr;
    m_last_button = nullptr;
    while (button) {
        MWinButton* prev = button->GetPrev();
        button->SetPrev(nullptr);
        button->SetNext(nullptr);
        if (desktop)
            desktop->Dispose(button);
        else
            delete button;
        button = prev;
    }
}

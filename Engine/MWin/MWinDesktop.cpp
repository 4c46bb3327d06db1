#include "Engine/MWin/MWinDesktop.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Graphics/EngDim.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinWindow.h"

#include <new>

MWinDesktop::MWinDesktop(MWin* mwinp)
    : m_valid(1), m_mwinp(mwinp), m_first(nullptr), m_dimming_on(0), m_dimming_alpha(0.5f), m_walk_depth(0)
{
    DebugFatalCheckQualified(mwinp != nullptr, "MWinDesktop::MWinDesktop", "Internal Error (MWinDesktop)");
}

MWinDesktop::~MWinDesktop()
{
    m_walk_depth = 0;
    while (MWinCollection* last = GetLastCollection()) {
        Unlink(last);
        delete last;
    }
    FreeRemoved();
    m_valid = 0;
}

// ---------------------------------------------------------------------------------------------------------
// Collections

MWinCollection* MWinDesktop::GetLastCollection() const
{
    MWinCollection* c = m_first;
    while (c && c->GetNext())
        c = c->GetNext();
    return c;
}

MWinCollection* MWinDesktop::AddCollection(const char* id)
{
    if (HasCollection(id)) {
        DebugError(ENG_FUNC, "Collection already exists <%s>", id);
        return nullptr;
    }
    MWinCollection* collection = new (std::nothrow) MWinCollection(m_mwinp, id, this);
    if (!collection) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return nullptr;
    }
    MWinCollection* last = GetLastCollection();
    collection->SetPrev(last);
    if (last)
        last->SetNext(collection);
    else
        m_first = collection;
    for (MWinCollection* c = m_first; c; c = c->GetNext())
        c->Deactivate();
    collection->Activate();
    return collection;
}

void MWinDesktop::Unlink(MWinCollection* collection)
{
    MWinCollection* prev = collection->GetPrev();
    MWinCollection* next = collection->GetNext();
    if (prev)
        prev->SetNext(next);
    else if (m_first == collection)
        m_first = next;
    if (next)
        next->SetPrev(prev);
    collection->SetPrev(nullptr);
    collection->SetNext(nullptr);
}

char MWinDesktop::RemoveCollection(const char* id)
{
    MWinCollection* collection = GetCollectionFromID(id, 0);
    if (!collection) {
        DebugError("MWinDesktop::RemoveCollection", "Could not find collection");
        return 0;
    }
    collection->DestroyGraphicsObjects();
    Unlink(collection);
    collection->MarkRemoved();
    Dispose(collection);
    return 1;
}

void MWinDesktop::RemoveAllCollections()
{
    if (m_mwinp->IsPopupOn()) {
        DebugError(ENG_FUNC, "Popup was on - turning it off");
        m_mwinp->PopupCloseIfOn();
    }
    while (MWinCollection* last = GetLastCollection()) {
        last->DestroyGraphicsObjects();
        Unlink(last);
        last->MarkRemoved();
        Dispose(last);
    }
    m_mwinp->RequestRedraw();
}

MWinCollection* MWinDesktop::GetCollectionFromID(const char* id, char report) const
{
    if (MWinIDIsEmpty(id)) {
        DebugError(ENG_FUNC, "No Collection ID");
        return nullptr;
    }
    for (MWinCollection* c = m_first; c; c = c->GetNext()) {
        if (MWinIDsEqual(c->GetID(), id))
            return c;
    }
    if (report)
        DebugError(ENG_FUNC, "ID <%s> not found", id);
    return nullptr;
}

bool MWinDesktop::HasCollection(const char* id) const
{
    if (MWinIDIsEmpty(id))
        return false;
    for (MWinCollection* c = m_first; c; c = c->GetNext()) {
        if (MWinIDsEqual(c->GetID(), id))
            return true;
    }
    return false;
}

bool MWinDesktop::HasCollectionPointer(const MWinCollection* collection) const
{
    for (MWinCollection* c = m_first; c; c = c->GetNext()) {
        if (c == collection)
            return true;
    }
    return false;
}

MWinCollection* MWinDesktop::GetActiveCollection() const
{
    for (MWinCollection* c = m_first; c; c = c->GetNext()) {
        if (c->IsActive())
            return c;
    }
    return nullptr;
}

MWinWindow* MWinDesktop::GetActiveWindow() const
{
    MWinCollection* collection = GetActiveCollection();
    return collection ? collection->GetActiveWindow() : nullptr;
}

MWinButton* MWinDesktop::GetActiveButton() const
{
    MWinWindow* window = GetActiveWindow();
    return window ? window->GetActiveButton() : nullptr;
}

void MWinDesktop::SetDimming(bool on, float alpha)
{
    m_dimming_on = on ? 1 : 0;
    m_dimming_alpha = alpha;
}

// ---------------------------------------------------------------------------------------------------------
// Deferred deletion

void MWinDesktop::EndWalk()
{
    if (m_walk_depth > 0)
        m_walk_depth--;
    if (m_walk_depth == 0)
        FreeRemoved();
}

void MWinDesktop::Dispose(MWinCollection* collection)
{
    if (!collection)
        return;
    if (m_walk_depth > 0)
        m_removed.push_back({REMOVED_COLLECTION, collection});
    else
        delete collection;
}

void MWinDesktop::Dispose(MWinWindow* window)
{
    if (!window)
        return;
    if (m_walk_depth > 0)
        m_removed.push_back({REMOVED_WINDOW, window});
    else
        delete window;
}

void MWinDesktop::Dispose(MWinButton* button)
{
    if (!button)
        return;
    if (m_walk_depth > 0)
        m_removed.push_back({REMOVED_BUTTON, button});
    else
        delete button;
}

void MWinDesktop::FreeRemoved()
{
    // Buttons go first, then windows, then collections: a button's destructor still asks its window and
    // collection, whichever of them was removed first.
    while (!m_removed.empty()) {
        std::vector<Removed> pending;
        pending.swap(m_removed);
        for (RemovedKind kind : {REMOVED_BUTTON, REMOVED_WINDOW, REMOVED_COLLECTION}) {
            for (const Removed& r : pending) {
                if (r.kind != kind)
                    continue;
                if (kind == REMOVED_COLLECTION)
                    delete static_cast<MWinCollection*>(r.object);
                else if (kind == REMOVED_WINDOW)
                    delete static_cast<MWinWindow*>(r.object);
                else
                    delete static_cast<MWinButton*>(r.object);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------------------
// Per frame

char MWinDesktop::CreateGraphicsObjects()
{
    char ok = 1;
    for (MWinCollection* c = m_first; c; c = c->GetNext()) {
        if (!c->CreateGraphicsObjects())
            ok = 0;
    }
    return ok;
}

void MWinDesktop::DestroyGraphicsObjects()
{
    for (MWinCollection* c = m_first; c; c = c->GetNext())
        c->DestroyGraphicsObjects();
}

char MWinDesktop::Tick()
{
    MWinDesktopWalk walk(this);
    return DeliverToActive([](MWinCollection* c) { return c->Tick(); }, false);
}

void MWinDesktop::Render()
{
    MWinDesktopWalk walk(this);
    MWinCollection* popup = m_mwinp->GetPopupCollection();
    for (MWinCollection* c = m_first; c; c = c->GetNext()) {
        if (!c->IsActive() && c != popup)
            c->Render();
    }
    if (m_dimming_on && m_first)
        EngDimDraw(m_dimming_alpha);
    for (MWinCollection* c = m_first; c; c = c->GetNext()) {
        if (c->IsActive() && c != popup)
            c->Render();
    }
}

char MWinDesktop::RenderPopupCollection()
{
    MWinCollection* popup = m_mwinp->GetPopupCollection();
    if (!popup || !HasCollectionPointer(popup))
        return 0;
    if (popup->GetID()[0] != 'M') {
        DebugError(ENG_FUNC, "Invalid popup collection");
        return 0;
    }
    MWinDesktopWalk walk(this);
    popup->Render();
    return 1;
}

// ---------------------------------------------------------------------------------------------------------
// Routing

MWinButton* MWinDesktop::GetOpenListButton() const
{
    MWinButton* button = GetActiveButton();
    if (button && button->GetKind() == MWIN_BUT_LIST && button->IsCapturingInput())
        return button;
    return nullptr;
}

bool MWinDesktop::StillDelivering(const MWinCollection* collection) const
{
    return m_valid == 1 && m_mwinp->IsOn() && HasCollectionPointer(collection);
}

template <typename F> char MWinDesktop::DeliverToActive(F handler, bool last_result)
{
    char result = 0;
    MWinCollection* c = m_first;
    while (c) {
        if (!c->IsActive()) {
            c = c->GetNext();
            continue;
        }
        char used = handler(c);
        if (last_result)
            result = used;
        else if (used)
            result = 1;
        // The handler may have switched screens or stopped the GUI.
        if (!StillDelivering(c))
            return 1;
        c = c->GetNext();
    }
    return result;
}

char MWinDesktop::HandleButtonPressed(int button, int down, int flag)
{
    MWinDesktopWalk walk(this);
    if (MWinButton* list = GetOpenListButton())
        return list->HandleButtonPressed(button, char(down), char(flag));
    MWinCollection* last = GetLastCollection();
    if (!last)
        return 0;
    if (!last->IsActive())
        last->Activate();
    return last->HandleButtonPressed(button, down, flag);
}

char MWinDesktop::HandleDoubleClick(int button)
{
    MWinDesktopWalk walk(this);
    if (MWinButton* list = GetOpenListButton())
        return list->HandleDoubleClick(button);
    return DeliverToActive([button](MWinCollection* c) { return c->HandleDoubleClick(button); }, true);
}

char MWinDesktop::HandleMouseWheel(int steps)
{
    MWinDesktopWalk walk(this);
    if (MWinButton* list = GetOpenListButton())
        return list->HandleMouseWheel(steps);
    return DeliverToActive([steps](MWinCollection* c) { return c->HandleMouseWheel(steps); }, false);
}

char MWinDesktop::HandleKeyDown(int key)
{
    MWinDesktopWalk walk(this);
    if (MWinButton* list = GetOpenListButton())
        return list->HandleKeyDown(key);
    return DeliverToActive([key](MWinCollection* c) { return c->HandleKeyDown(key); }, false);
}

char MWinDesktop::HandleKeyDownChar(int ch)
{
    MWinDesktopWalk walk(this);
    if (MWinButton* list = GetOpenListButton())
        return list->HandleKeyDownChar(ch);
    return DeliverToActive([ch](MWinCollection* c) { return c->HandleKeyDownChar(ch); }, false);
}

char MWinDesktop::HandleKeyUp(int key)
{
    MWinDesktopWalk walk(this);
    if (MWinButton* list = GetOpenListButton())
        return list->HandleKeyUp(key);
    return DeliverToActive([key](MWinCollection* c) { return c->HandleKeyUp(key); }, false);
}

char MWinDesktop::HandleMouseMove()
{
    MWinDesktopWalk walk(this);
    if (MWinButton* list = GetOpenListButton())
        return list->HandleMouseMove();
    if (m_mwinp->GetSettingsP()->hover_activate_collection && !ActivateCollectionUnderMouse())
        return 0;
    MWinCollection* active = GetActiveCollection();
    return active ? active->HandleMouseMove() : 0;
}

char MWinDesktop::ActivateCollectionUnderMouse()
{
    MWinCollection* last = GetLastCollection();
    if (!last) {
        for (MWinCollection* c = m_first; c; c = c->GetNext()) {
            if (c->IsActive())
                c->Deactivate();
        }
        return 0;
    }
    if (last->IsActive())
        return 1;
    last->Activate();
    last->ActivateWindowUnderMouse();
    return 1;
}

char MWinDesktop::DeactivateAllAndActivateUnderMouse()
{
    for (MWinCollection* c = m_first; c; c = c->GetNext()) {
        if (c->IsActive())
            c->Deactivate();
    }
    return ActivateCollectionUnderMouse();
}

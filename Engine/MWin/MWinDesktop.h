#pragma once

#include "Engine/Core/EngTypes.h"

#include <vector>

class MWin;
class MWinButton;
class MWinCollection;
class MWinWindow;

// Holds the collections of the GUI and routes every input event: an open drop-down list first, else the
// last collection for presses, the first active one for moves and every active one for keys.
//
// Collections removed while an event is being delivered (a button that changes screen) are unlinked at once
// and freed when the outermost delivery ends, so no frame on the stack ever touches freed memory.
class MWinDesktop
{
public:
    explicit MWinDesktop(MWin* mwinp);
    ~MWinDesktop();

    MWinCollection* AddCollection(const char* id);
    char RemoveCollection(const char* id);
    void RemoveAllCollections();
    MWinCollection* GetCollectionFromID(const char* id, char report) const;
    bool HasCollection(const char* id) const;
    bool HasCollectionPointer(const MWinCollection* collection) const;
    MWinCollection* GetFirstCollection() const { return m_first; }
    MWinCollection* GetLastCollection() const;
    MWinCollection* GetActiveCollection() const;
    MWinWindow* GetActiveWindow() const;
    MWinButton* GetActiveButton() const;

    char CreateGraphicsObjects();
    void DestroyGraphicsObjects();
    char Tick();
    void Render();
    char RenderPopupCollection();

    char HandleButtonPressed(int button, int down, int flag);
    char HandleDoubleClick(int button);
    char HandleMouseWheel(int steps);
    char HandleKeyDown(int key);
    char HandleKeyDownChar(int ch);
    char HandleKeyUp(int key);
    char HandleMouseMove();
    char ActivateCollectionUnderMouse();
    char DeactivateAllAndActivateUnderMouse();

    // Dimming behind a popup.
    void SetDimming(bool on, float alpha);
    bool IsDimmingOn() const { return m_dimming_on != 0; }
    float GetDimmingAlpha() const { return m_dimming_alpha; }

    // Brackets an event delivery (or any code that runs user callbacks); removed collections are freed
    // when the outermost bracket closes.
    void BeginWalk() { m_walk_depth++; }
    void EndWalk();
    bool IsWalking() const { return m_walk_depth > 0; }
    // Delete an unlinked object now, or when the outermost bracket closes.
    void Dispose(MWinCollection* collection);
    void Dispose(MWinWindow* window);
    void Dispose(MWinButton* button);
    bool IsValid() const { return m_valid == 1; }
    MWin* GetMWin() const { return m_mwinp; }

private:
    MWinButton* GetOpenListButton() const;
    // Delivers to every active collection; stops when the handler removed the collection or MWin went off.
    template <typename F> char DeliverToActive(F handler, bool last_result);
    bool StillDelivering(const MWinCollection* collection) const;
    void Unlink(MWinCollection* collection);
    void FreeRemoved();

    enum RemovedKind
    {
        REMOVED_COLLECTION,
        REMOVED_WINDOW,
        REMOVED_BUTTON,
    };
    struct Removed
    {
        RemovedKind kind;
        void* object;
    };

    EngUInt8 m_valid;
    MWin* m_mwinp;
    MWinCollection* m_first;
    EngUInt8 m_dimming_on;
    float m_dimming_alpha;
    int m_walk_depth;
    std::vector<Removed> m_removed;
};

// Keeps a desktop's walk bracket open for a scope.
class MWinDesktopWalk
{
public:
    explicit MWinDesktopWalk(MWinDesktop* desktop) : m_desktop(desktop)
    {
        if (m_desktop)
            m_desktop->BeginWalk();
    }
    ~MWinDesktopWalk()
    {
        if (m_desktop)
            m_desktop->EndWalk();
    }
    MWinDesktopWalk(const MWinDesktopWalk&) = delete;
    MWinDesktopWalk& operator=(const MWinDesktopWalk&) = delete;

private:
    MWinDesktop* m_desktop;
};

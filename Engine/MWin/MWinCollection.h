#pragma once

#include "Engine/Core/EngTypes.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinID.h"

class MWin;
class MWinDesktop;
class MWinWindow;
class EngTexture;
struct _MWinWindowCreateInfo;

constexpr int MWIN_COLLECTION_BG_FILE_SIZE = 256;

// One screen's set of windows. It keeps one window list per screen layout and shows the list of its
// current layout, decides which of its windows is active, draws them in a fixed order and passes events
// on to its active window.
class MWinCollection
{
public:
    MWinCollection(MWin* mwinp, const char* id, MWinDesktop* desktop);
    ~MWinCollection();

    MWinWindow* AddWindow(const char* id, const _MWinWindowCreateInfo* info);
    void RemoveAllWindows();
    MWinWindow* GetWindowFromID(const char* id, char report) const;
    MWinWindow* GetNthWindow(int n) const;
    int GetNumWindows() const;
    MWinWindow* GetActiveWindow() const;
    MWinWindow* GetFirstWindow() const;
    // Moves a window of the current list to its end, so it is drawn over the others.
    void BringToFront(MWinWindow* window);
    bool HasModalShown() const { return m_modal_shown != 0; }

    void Activate();
    void Deactivate();
    bool IsActive() const { return m_active != 0; }
    bool IsCreated() const { return m_created != 0; }

    void SetScreenLayout(int layout);
    int GetScreenLayout() const;

    // Background picture drawn over the whole screen; loaded by CreateBgTexture.
    char SetBgTextureFile(const char* file, EngUInt8 load_flag_1, EngUInt8 load_flag_2);
    char CreateBgTexture();
    char CreateGraphicsObjects();
    void DestroyGraphicsObjects();

    void SetEscapeWindow(MWinWindow* window) { m_escape_window = window; }
    MWinWindow* GetEscapeWindow() const { return m_escape_window; }
    void SetWindowScalingAllowed(bool allowed) { m_window_scaling_allowed = allowed ? 1 : 0; }
    bool IsWindowScalingAllowed() const { return m_window_scaling_allowed != 0; }

    char Tick();
    void Render();
    char HandleMouseMove();
    char HandleButtonPressed(int button, int down, int flag);
    char HandleDoubleClick(int button);
    char HandleMouseWheel(int steps);
    char HandleKeyDown(int key);
    char HandleKeyDownChar(int ch);
    char HandleKeyUp(int key);
    void ActivateWindowUnderMouse();
    void WindowsChanged();

    // While a popup is open every other collection is inactive; these keep and bring back which collection
    // and which of its windows were active.
    void SavePopupState();
    void RestorePopupState();

    // A collection removed while an event was being delivered is kept until the delivery ends.
    void MarkRemoved();
    bool IsRemoved() const { return m_removed != 0; }

    MWin* GetMWin() const { return m_mwinp; }
    MWinDesktop* GetDesktop() const { return m_desktop; }
    const char* GetID() const { return m_id; }
    MWinCollection* GetPrev() const { return m_prev; }
    MWinCollection* GetNext() const { return m_next; }
    void SetPrev(MWinCollection* collection) { m_prev = collection; }
    void SetNext(MWinCollection* collection) { m_next = collection; }

private:
    int GetLayoutIndex() const;
    MWinWindow* FindWindowUnderMouse() const;
    MWinWindow* FirstShownModal() const;
    void UpdateModalShown();
    void DeactivateNormalWindows();
    void EnforceModal();
    void RenderWindows(bool modal, bool active);

    EngUInt8 m_active;
    char m_bg_file[MWIN_COLLECTION_BG_FILE_SIZE];
    EngUInt8 m_bg_load_flag_1, m_bg_load_flag_2;
    EngTexture* m_bg_texture;
    EngUInt8 m_created;
    EngInt32 m_screen_layout;
    EngUInt8 m_layout_set;
    EngUInt8 m_modal_shown;
    MWin* m_mwinp;
    MWinDesktop* m_desktop;
    MWinID m_id;
    MWinWindow* m_first_window[MWIN_NUM_LAYOUTS];
    MWinCollection* m_next;
    MWinCollection* m_prev;
    EngUInt8 m_window_scaling_allowed;
    MWinWindow* m_escape_window;
    EngUInt8 m_removed;
    EngUInt8 m_popup_saved_active;
};

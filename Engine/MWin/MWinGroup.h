#pragma once

#include "Engine/Core/EngTypes.h"
#include "Engine/MWin/MWinID.h"

class MWin;
class MWinButton;
class MWinTabPanel;
class MWinWindow;

// A group is one doubly linked list of buttons of a window. Drawing runs first to last and input searches
// last to first, so a later button lies on top.
class MWinGroup
{
public:
    MWinGroup(MWin* mwinp, MWinWindow* window);
    ~MWinGroup();

    // Creates a button of the given kind (an _MWinButtonType) and appends it; null on failure (reported).
    MWinButton* AddButton(const char* id, int kind, const char* texbut_id, const char* text, float x, float y,
                          float w, float h);
    // Appends a button made elsewhere (the kinds with their own class); the group owns it from then on.
    MWinButton* AppendButton(MWinButton* button);
    MWinTabPanel* AddTabPanel(const char* id, const char* texbut_id, float x, float y, float w, float h);

    void Render();
    char CreateGraphicsObjects();
    void DestroyGraphicsObjects();
    void CalcAreas();
    void RemoveAllButtons();

    // True when the links of this group are intact.
    bool IsCreatedOk() const { return m_created == 1 && m_window; }
    bool IsShown() const { return m_shown != 0; }
    void SetShown(bool shown) { m_shown = shown ? 1 : 0; }

    MWin* GetMWin() const { return m_mwinp; }
    MWinWindow* GetWindow() const { return m_window; }
    MWinButton* GetFirstButton() const { return m_first_button; }
    MWinButton* GetLastButton() const { return m_last_button; }
    MWinGroup* GetPrev() const { return m_prev; }
    MWinGroup* GetNext() const { return m_next; }
    void SetPrev(MWinGroup* group) { m_prev = group; }
    void SetNext(MWinGroup* group) { m_next = group; }

private:
    MWin* m_mwinp;
    EngUInt8 m_shown;
    EngUInt8 m_created;
    MWinWindow* m_window;
    MWinButton* m_first_button;
    MWinButton* m_last_button;
    MWinGroup* m_prev;
    MWinGroup* m_next;
};

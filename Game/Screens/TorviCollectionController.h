#pragma once

// What every game screen's layout shares: one collection named after the screen on the desktop, holding one
// full-screen window "MainWin" whose buttons come from the screen's table, placed on the 640 x 480 virtual
// screen. The layout classes only name their collection and give their table; the behaviour classes derive
// from them and reach the buttons by index.

#include <vector>

#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinCollectionController.h"
#include "Engine/MWin/MWinScreenRegistry.h"

class MWinCollection;
class MWinDesktop;
class MWinWindow;

// One button of a layout. Tab panels (MWIN_BUT_TABPANEL) are added as tab panels.
struct TorviButtonRow
{
    const char* id;
    int kind; // _MWinButtonType
    const char* texbut;
    const char* text;
    float x, y, w, h;
    float colour[4];
    float scale[2];
    int align; // _MWinTextAlign
    const char* text2 = nullptr;   // the second text, when the row has one
    float modulate[4] = {0, 0, 0, 0}; // all zero: no modulate colour
    const char* token = nullptr;      // a language text in place of text
};

constexpr const char* TORVI_BUTTON_FONT = "Main";
constexpr const char* TORVI_MAIN_WINDOW_ID = "MainWin";

class TorviCollectionController : public MWinCollectionController
{
public:
    char CreateCollection(MWin* mwinp) override;
    void ClearPointers() override;
    // A screen does nothing on these unless its behaviour says otherwise.
    void StartingCB(void*) override {}
    void TickCB() override {}
    void RenderCB(int) override {}
    char ButtonCB(MWinButton*, _MWinButtonCallbackInfo*) override { return 0; }

    MWinCollection* AddCollectionToDesktop(MWin* mwinp, MWinDesktop* desktop);
    MWinWindow* AddMainWinWindowToCollectionNormal(MWinCollection* collection);
    bool AddMainWinWindowButtonsToWindowNormal(MWinWindow* window);
    // The registry and its MWin must exist (fatal otherwise); the game comes from the MWin.
    void SetScreensVar(MWinScreens* screens);

    const char* GetCollectionName() const { return m_collection_name; }
    MWinCollection* GetCollection() const { return m_collection; }
    MWinWindow* GetMainWin() const { return m_main_win; }
    int GetNumButtons() const { return m_num_rows; }
    const TorviButtonRow& GetButtonRow(int index) const { return m_rows[index]; }
    // The button of that table row, or null while the screen is not built or the button could not be made.
    MWinButton* GetButton(int index) const;
    // The table row of a button of this screen, or -1.
    int GetButtonIndex(const MWinButton* button) const;

protected:
    TorviCollectionController(const char* collection_name, const TorviButtonRow* rows, int num_rows);

    // A screen works with whichever of its buttons were made: these do nothing for a missing one.
    void ShowButton(int index, bool shown);
    void EnableButton(int index, bool enabled);
    void SetButtonText(int index, const char* text);
    void SetButtonText2(int index, const char* text);
    void SetEscapeButton(int index);
    // A choice between arrows showing one of the strings, mirrored into variable.
    void BindArrowChoice(int index, int count, const char* const* strings, int* variable, char fire);
    // Goes to another screen of the registry, with no data.
    void GotoScreen(EngScreenID id);
    void GoBack();

private:
    MWinButton* AddButtonFromRow(MWinWindow* window, const TorviButtonRow& row);

    MWinCollection* m_collection = nullptr;
    MWinWindow* m_main_win = nullptr;
    std::vector<MWinButton*> m_buttons;
    const char* m_collection_name;
    const TorviButtonRow* m_rows;
    int m_num_rows;
};

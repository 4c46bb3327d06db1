#pragma once

class MWin;
class MWinButton;
class MWinScreens;
class Game;
struct _MWinButtonCallbackInfo;

// The controller of one screen: builds the screen's collection and takes the events of the buttons of
// its windows. Every game screen derives from it.
class MWinCollectionController
{
public:
    MWinCollectionController();
    virtual ~MWinCollectionController();

    // Builds the screen's collection on the desktop with its windows and buttons.
    virtual char CreateCollection(MWin* mwinp) = 0;
    // Forgets every pointer into the collection, which is about to be deleted.
    virtual void ClearPointers() = 0;
    // After the collection was built, with the data given to the screen change.
    virtual void StartingCB(void* data) = 0;
    virtual void TickCB() = 0;
    virtual void RenderCB(int pass) = 0;
    // A button of the screen fired; true when handled (a push button then clicks).
    virtual char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) = 0;

    void SetScreens(MWinScreens* screens);
    MWinScreens* GetScreens(char report) const;
    MWin* GetMWin() const { return m_mwinp; }
    Game* GetGame() const { return m_game; }

protected:
    MWinScreens* m_screens;
    MWin* m_mwinp;
    Game* m_game;
};

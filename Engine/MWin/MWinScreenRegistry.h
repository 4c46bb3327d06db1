#pragma once

#include "Engine/Core/EngTypes.h"

#include <vector>

class MWin;
class MWinCollectionController;

// A screen's four-character code, first character in the most significant byte (EngFourCC('M','A','I','N')).
typedef EngUInt32 EngScreenID;

// One registered screen.
struct _EngScreen
{
    EngScreenID id;
    MWinCollectionController* controller; // not owned
    EngScreenID back_id;
    EngScreenID prev_id;
    EngInt32 reserved_1; // -1 after a reset, read by nothing
    EngInt32 reserved_2;
};

typedef void (*EngScreensChangeCB)(MWin* mwinp, void* user_data);

// The registry of screens: the current screen, the back and previous screen of each, and the calls into the
// controllers when screens start, tick, render and stop.
class EngScreens
{
public:
    EngScreens(MWin* mwinp, void* user_data);
    ~EngScreens();

    char Add(EngScreenID id, MWinCollectionController* controller);
    char SetCurrentScreenID(EngScreenID id);
    void SetPreChangeCallback(EngScreensChangeCB callback) { m_pre_change = callback; }
    void SetPostChangeCallback(EngScreensChangeCB callback) { m_post_change = callback; }

    char StartCurrent(void* data);
    void StopCurrent();
    char GotoScreen(EngScreenID id, void* data);
    char GoBack();
    // start_mwin: 1 yes, 0 no, negative only when MWin is off.
    char TurnOn(int start_mwin);
    // stop_mwin: 1 yes, 0 no, negative only when this registry started it; 2 also forgets the current screen.
    char TurnOff(int stop_mwin);
    char Tick();
    void Render(int pass);
    bool IsOn() const { return m_on != 0; }
    EngScreenID GetCurrentScreenID() const { return m_current_id; }
    // The entry of id, or null (reported when asked).
    const _EngScreen* GetScreen(EngScreenID id, char report) const;
    int GetNumScreens() const { return int(m_screens.size()); }
    void RemoveAllScreens();

private:
    int FindScreen(EngScreenID id, char report) const;
    _EngScreen* CurrentEntry();
    void CallPreChange();
    void CallPostChange();

    MWin* m_mwinp;
    void* m_user_data;
    std::vector<_EngScreen> m_screens;
    EngUInt8 m_on;
    EngScreenID m_current_id;
    int m_current_index;
    EngScreensChangeCB m_pre_change;
    EngScreensChangeCB m_post_change;
    EngInt8 m_started_mwin; // -1 unset, 0 no, 1 yes
};

// Seconds of each half of a screen-change fade.
constexpr double MWIN_SCREENS_FADE_TIME = 0.15;

// Draws whole frames fading to black (direction -1) or from black (direction 1); blocks for the duration.
void MWinFadeScreen(int direction, double duration);

// The screen registry of the GUI: clears the desktop on every change, fades around changes when built with
// fading on, and offers hooks for the program's subclass.
class MWinScreens
{
public:
    MWinScreens(MWin* mwinp, char fade_on);
    virtual ~MWinScreens();

    virtual char SetupScreensCB() { return 1; }
    virtual void StartCB() {}
    virtual void ReservedCB(int) {}
    virtual void PreScreenChangeCB() {}
    virtual void PostScreenChangeCB(EngScreenID) {}
    virtual void EndCB() {}

    char SetupAllScreens();
    char AddScreen(EngScreenID id, MWinCollectionController* controller);
    char SetCurrentScreen(EngScreenID id);
    EngScreenID GetCurrentScreen() const;
    bool IsOn() const;
    void RemoveAllScreens();
    char Tick();
    void Render(int pass);

    char StartScreen(EngScreenID id, int start_mwin);
    char End(int stop_mwin);
    char GotoScreen(EngScreenID id, void* data);
    char GoBack();

    void PreChangingCB();
    void PostChangingCB();

    EngScreens* GetEngScreens() const { return m_screens; }
    MWin* GetMWin() const { return m_mwinp; }

private:
    void Fade(int direction);

    EngScreens* m_screens;
    EngUInt8 m_fade_on;
    MWin* m_mwinp;
};

void MWinScreens_PreChangingCB(MWin* mwinp, void* user_data);
void MWinScreens_PostChangingCB(MWin* mwinp, void* user_data);

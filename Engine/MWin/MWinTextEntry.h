#pragma once

#include "Engine/MWin/MWinCollectionController.h"

class MWin;
class MWinButton;
class MWinWindow;
struct _MWinButtonCallbackInfo;

// The full-screen text entry of tablets: a collection with a title, a prompt, the text being typed and an
// on-screen keyboard of push buttons, opened by MWin::PopupGetText_Mobile over the popup collection.

inline constexpr char MWIN_KEYINPUT_COLLECTION_ID[] = "KeyInput";
inline constexpr char MWIN_KEYINPUT_WINDOW_ID[] = "MainWin";
inline constexpr char MWIN_KEYINPUT_FONT_ID[] = "Main";

// Key data of the two special keys; every other key carries its character.
constexpr int MWIN_KEYINPUT_SHIFT = 254;
constexpr int MWIN_KEYINPUT_DELETE = 255;

// The longest text the entry types, whatever the caller's buffer.
constexpr int MWIN_TEXT_ENTRY_MAX_LENGTH = 255;

// Builds the "KeyInput" collection and its window for the root's screen layout. Its keys use their own
// callbacks, so it takes no button events itself.
class KeyInputCollectionController : public MWinCollectionController {
public:
    char CreateCollection(MWin* mwinp) override;
    void ClearPointers() override { m_window = nullptr; }
    void StartingCB(void*) override {}
    void TickCB() override {}
    void RenderCB(int) override {}
    char ButtonCB(MWinButton*, _MWinButtonCallbackInfo*) override { return 0; }

    MWinWindow* GetWindow() const { return m_window; }

private:
    MWinWindow* m_window = nullptr;
};

// The callback of every key: int1 is the key's character, MWIN_KEYINPUT_SHIFT or MWIN_KEYINPUT_DELETE.
void MWinPopupGetTextKeyCB_Mobile(MWin* mwin, _MWinButtonCallbackInfo* info, int key, int unused);

// A text field pressed on a tablet: the entry edits the field's text; OK puts it back into the field (and
// its bound buffer) and reports it as ended with Enter.
char MWinTextEntryOpenForField(MWinButton* field);

// Closes an open entry of mwin without an answer, leaving the caller's text as it was. The popup calls
// it whenever it closes.
void MWinTextEntryDiscard(MWin* mwin);
bool MWinTextEntryIsOpen();
// The text typed so far (empty when no entry is open).
const char* MWinTextEntryGetText();
bool MWinTextEntryCapitalsOn();

#pragma once

// Popups: one small modal box at a time over whatever screen shows. The state and the operations are
// members of MWin (MWin::Popup...); this header holds what else they share.

// Ids of the popup's collection, window and buttons. The collection id begins with "M", which is how the
// desktop tells the popup collection from the others.
inline constexpr char MWIN_POPUP_COLLECTION_ID[] = "MWIN_POPUP";
inline constexpr char MWIN_POPUP_WINDOW_ID[] = "MWIN_POPUP_WIN";
inline constexpr char MWIN_POPUP_TEMP_WINDOW_ID[] = "MWIN_POPUP_WIN_TEMP";
inline constexpr char MWIN_POPUP_MESSAGE_ID[] = "MSG";
inline constexpr char MWIN_POPUP_TEXTEDIT_ID[] = "TEXTEDIT";
inline constexpr char MWIN_POPUP_OK_ID[] = "OK";
inline constexpr char MWIN_POPUP_CANCEL_ID[] = "CANCEL";
inline constexpr char MWIN_POPUP_NO_ID[] = "NO";
inline constexpr char MWIN_POPUP_EXTRA_ID[] = "EXTRA";

// Results handed to the result callback.
enum _MWinPopupResult
{
    MWIN_POPUP_RESULT_CANCEL = 0,
    MWIN_POPUP_RESULT_OK = 1,
    MWIN_POPUP_RESULT_NO = 2,
    MWIN_POPUP_RESULT_EXTRA = 3,
};

// Kinds of the first and second button of a popup.
enum _MWinPopupFirstButton
{
    MWIN_POPUP_FIRST_NONE = 0,
    MWIN_POPUP_FIRST_OK = 1,
    MWIN_POPUP_FIRST_YES = 2,
};
enum _MWinPopupSecondButton
{
    MWIN_POPUP_SECOND_NONE = 0,
    MWIN_POPUP_SECOND_CANCEL = 1,
    MWIN_POPUP_SECOND_NO = 2,
};

// Box sizes of the desktop platform, to which MWin::PopupSetBoxSizes (-2) returns.
constexpr float MWIN_POPUP_DESKTOP_MIN_BOX_WIDTH = 50.0f;
constexpr float MWIN_POPUP_DESKTOP_MAX_BOX_WIDTH = 600.0f;
constexpr float MWIN_POPUP_DESKTOP_BUTTON_WIDTH = 60.0f;
constexpr float MWIN_POPUP_DESKTOP_BUTTON_HEIGHT = 30.0f;

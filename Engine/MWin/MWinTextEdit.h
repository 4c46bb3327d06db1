#pragma once

#include "Engine/Core/EngTypes.h"

// The text edit is the button kind MWIN_BUT_TEXTEDIT: a one-line text field. MWinButton keeps one
// _MWinTextEditData and its TextEdit... operations (defined in MWinTextEdit.cpp) work on it.

constexpr int MWIN_TEXTEDIT_MAX_LENGTH = 511;

// Callback data byte of a text edit (the first byte of the callback info's kind data).
constexpr EngUInt8 MWIN_TEXTEDIT_ENDED = 0;
constexpr EngUInt8 MWIN_TEXTEDIT_ENDED_WITH_ENTER = 1;
constexpr EngUInt8 MWIN_TEXTEDIT_CHANGED = 255;
// The second byte of the kind data is 1 when Escape ended the edit (the text went back as it was).
constexpr int MWIN_TEXTEDIT_ESCAPE_BYTE = 1;

enum _MWinTextEditInputType
{
    MWIN_TEXTEDIT_ANY = 0,
    MWIN_TEXTEDIT_SIGNED_DECIMAL = 1,
    MWIN_TEXTEDIT_DIGITS_AND_POINTS = 2,
    MWIN_TEXTEDIT_NO_BLANKS = 3,
};

class MWinButton;
typedef void (*MWinTextEditStartHook)(MWinButton* button);

struct _MWinTextEditData
{
    EngUInt8 editing;
    EngUInt8 edit_state; // 0 not editing, 1 editing
    EngUInt8 caret_visible;
    char* buffer; // maximum length + 3 bytes while editing
    int caret;    // 0 .. length
    int max_length;
    EngUInt8 input_type; // _MWinTextEditInputType
    EngUInt8 clear_on_start;
    EngUInt8 report_each_change;
    EngUInt8 password;
    MWinTextEditStartHook start_hook;
    char* bound_text; // the caller's buffer
    int bound_size;   // its size in bytes
    char* original;   // the text when editing started; Escape brings it back
};

// Puts a new text edit's data into its starting state.
void MWinTextEditInitData(_MWinTextEditData* data);
// Frees what the data holds.
void MWinTextEditFreeData(_MWinTextEditData* data);
// True when the input type lets ch follow the length characters of text.
bool MWinTextEditAcceptsChar(int input_type, const char* text, int length, unsigned char ch);

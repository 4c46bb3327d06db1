#pragma once

#include "Engine/MWin/MWinEntrySource.h"

// The choice kind (9) of MWinButton: one of count texts, shown as side-by-side segments or as one text
// between a left and a right arrow. The operations are MWinButton members defined in MWinChoice.cpp.
struct _MWinChoiceData {
    int selection; // -1 .. count - 1
    int count;
    _MWinEntrySource source;
    char arrows_mode;
    char left_arrow_on;
    char right_arrow_on;
    char wide_selection;
    char hover_reporting;
    int hover_segment; // -1 none
};

void MWinChoiceInitData(_MWinChoiceData* data);

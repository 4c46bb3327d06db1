#pragma once

#include "Engine/MWin/MWinEntrySource.h"

// The drop-down list kind (7) of MWinButton: closed it shows its current entry; open it lays a column of
// entries over the screen with the current one on the button, and captures all input until it closes. The
// operations are MWinButton members defined in MWinDropDownList.cpp.
struct _MWinDropDownListData {
    int position;
    int count;
    _MWinEntrySource source;
    char open;
    int first;
    int end;
    int hover;
    int centre;
    int scroll_offset;
    float top;
    float height;
    float top_cap_y;
    float top_cap_height;
    float bottom_cap_y;
    float bottom_cap_height;
    float hover_y;
    char more_above;
    char more_below;
    float up_row_y;
    float up_row_height;
    float down_row_y;
    float down_row_height;
    float button_x;
    float button_y;
    int auto_scroll_ms;
    double open_time;
    double last_scroll_time;
    char drawing_open; // the foreground is being drawn for the open column
};

// Events of a list's callback data.
enum _MWinListEvent {
    MWIN_LIST_HOVER_MOVED = 0,
    MWIN_LIST_CHOSEN = 1,
    MWIN_LIST_CLOSED = 2,
};

void MWinDropDownListInitData(_MWinDropDownListData* data);

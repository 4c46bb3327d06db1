#pragma once

#include "Engine/Core/EngTypes.h"
#include "Engine/MWin/MWinEntrySource.h"

enum _MWinTextureState : EngInt32;

// Called after each entry's background of a panel is drawn; area is x, y, w, h.
typedef void (*MWinPanelEntryRenderCB)(MWinButton* button, float area[4], _MWinTextureState state, int index,
                                       void* user);

// The panel kind (10) of MWinButton: a paged list of entries inside the button's area with an optional single
// or multiple selection and its own scroll bar. The operations are MWinButton members defined in MWinPanel.cpp.
struct _MWinPanelData {
    int position; // -1 only with allow_none
    char allow_none;
    int anchor;
    EngUInt8* multi; // count + 1 flags, multi-selection mode only
    int count;
    int per_page;
    char auto_rows; // 0 fixed, 1 default button height, 2 0.66 of it
    char multi_selection;
    char toggle_mode;
    char show_selection;
    _MWinEntrySource source;
    MWinPanelEntryRenderCB entry_render;
    void* entry_render_user;
    const float* colours; // four floats per entry, not owned
    float scroll;
    float row_height;
    char bar_shown;
    float text_width;
    float bar_x, bar_w, bar_y, bar_h, bar_right, bar_bottom;
    float thumb_x, thumb_w;
    float track_top, track_bottom, track_length;
    float thumb_length;
    float thumb_top, thumb_bottom;
    char drag_state;
    float drag_grab;
};

// Events of a panel's callback data.
enum _MWinPanelEvent {
    MWIN_PANEL_MOVED = 0,
    MWIN_PANEL_ACTIVATED = 1,
};

void MWinPanelInitData(_MWinPanelData* data);

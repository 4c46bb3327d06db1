#pragma once

// The range slider kind (16) of MWinButton: a pair of values inside a range, dragged by two thumbs or the span
// between them, with a value label. The operations are MWinButton members defined in MWinRangeSlider.cpp.
struct _MWinRangeSliderData {
    float minimum;
    float maximum;
    float low;
    float high;
    float minimum_gap;
    char label_decimals; // 0 no label, 3 two decimals, 4 three, any other one
    int label_prefix_length;
    char changed_while_dragging;
    unsigned char drag_part; // _MWinRangeSliderPart
    float drag_offset;
};

enum _MWinRangeSliderPart : unsigned char {
    MWIN_SLIDER_DRAG_LOW = 0,
    MWIN_SLIDER_DRAG_HIGH = 1,
    MWIN_SLIDER_DRAG_SPAN = 2,
    MWIN_SLIDER_DRAG_NONE = 254,
};

void MWinRangeSliderInitData(_MWinRangeSliderData* data);

#pragma once

// The horizontal value bar kind (4) of MWinButton: a value inside a range, optionally on a logarithmic
// scale, with its thumb along the bar's width; a press puts the thumb under the pointer and a drag moves it.
// The colour picker reads three of them. The operations are MWinButton members defined in MWinValueBar.cpp.
struct _MWinValueBarData {
    double value;
    double minimum;
    double maximum;
    char logarithmic;
    float grab_offset; // while dragging: the pointer's distance from the thumb's left edge
};

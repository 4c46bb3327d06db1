#pragma once

// The check box kind (8) of MWinButton: a value of 0 or 1 shown as a checked or unchecked image beside the
// text. The operations are MWinButton members defined in MWinCheckBox.cpp.
struct _MWinCheckBoxData {
    char value;
};

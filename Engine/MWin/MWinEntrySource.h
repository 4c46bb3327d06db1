#pragma once

class MWinButton;

// Supplies the text of entry index of a choice, list or panel.
typedef const char* (*MWinButtonStringCB)(int index, MWinButton* button, void* user);

// Where the entry texts of a choice, list or panel come from, in this order: the callback, the array, or the
// sub-texts of the button's language token.
struct _MWinEntrySource {
    MWinButtonStringCB callback;
    const char** strings;
    char token_mode;
};

// The entry whose first character matches key (a virtual-key code, so letters compare upper case), searched
// from the entry after from to the end and then from 0 up to from; -1 when none. text(i) gives entry i.
template <typename Text> int MWinEntrySourceFind(int count, int from, int key, Text text)
{
    if (count < 1)
        return -1;
    int start = from < -1 || from >= count ? -1 : from;
    for (int n = 1; n <= count; n++) {
        int i = (start + n) % count;
        const char* s = text(i);
        if (!s || !s[0])
            continue;
        int c = (unsigned char)s[0];
        if (c >= 'a' && c <= 'z')
            c -= 'a' - 'A';
        if (c == key)
            return i;
    }
    return -1;
}

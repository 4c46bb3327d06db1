#pragma once

// One byte per Windows virtual-key code, mouse buttons under their own codes. The window procedure writes
// 2 on press and 0 on release; readers count a value above 1 as pressed and may set an entry back to 0 to
// consume a press.

#include "Engine/Core/EngTypes.h"

constexpr int ENG_KEY_STATE_TABLE_SIZE = 256;
constexpr EngUInt8 ENG_KEY_STATE_DOWN = 2;
constexpr EngUInt8 ENG_KEY_STATE_UP = 0;

extern EngUInt8 EngKeyStateTable[ENG_KEY_STATE_TABLE_SIZE];

void EngKeyStateTableClear();
// Sets the entry of a code to 2 (down) or 0 (up); codes outside 0..255 are ignored.
void EngKeyStateTableSet(int virtual_key, bool down);
// True when the entry of a code is above 1.
bool EngKeyStateTableIsDown(int virtual_key);

// Windows virtual-key codes the engine and the game name. Letters are 'A'..'Z' (0x41..0x5A) and digits
// '0'..'9' (0x30..0x39), as their characters.
enum _EngVirtualKey : int
{
    ENG_VK_LBUTTON = 0x01,
    ENG_VK_RBUTTON = 0x02,
    ENG_VK_CANCEL = 0x03,
    ENG_VK_MBUTTON = 0x04,
    ENG_VK_BACK = 0x08,
    ENG_VK_TAB = 0x09,
    ENG_VK_CLEAR = 0x0C,
    ENG_VK_RETURN = 0x0D,
    ENG_VK_SHIFT = 0x10,
    ENG_VK_CONTROL = 0x11,
    ENG_VK_MENU = 0x12, // Alt
    ENG_VK_PAUSE = 0x13,
    ENG_VK_CAPITAL = 0x14,
    ENG_VK_ESCAPE = 0x1B,
    ENG_VK_SPACE = 0x20,
    ENG_VK_PRIOR = 0x21, // Page Up
    ENG_VK_NEXT = 0x22,  // Page Down
    ENG_VK_END = 0x23,
    ENG_VK_HOME = 0x24,
    ENG_VK_LEFT = 0x25,
    ENG_VK_UP = 0x26,
    ENG_VK_RIGHT = 0x27,
    ENG_VK_DOWN = 0x28,
    ENG_VK_SELECT = 0x29,
    ENG_VK_EXECUTE = 0x2B,
    ENG_VK_SNAPSHOT = 0x2C,
    ENG_VK_INSERT = 0x2D,
    ENG_VK_DELETE = 0x2E,
    ENG_VK_HELP = 0x2F,
    ENG_VK_0 = 0x30,
    ENG_VK_A = 0x41,
    ENG_VK_LWIN = 0x5B,
    ENG_VK_RWIN = 0x5C,
    ENG_VK_APPS = 0x5D,
    ENG_VK_SLEEP = 0x5F,
    ENG_VK_NUMPAD0 = 0x60,
    ENG_VK_MULTIPLY = 0x6A,
    ENG_VK_ADD = 0x6B,
    ENG_VK_SEPARATOR = 0x6C,
    ENG_VK_SUBTRACT = 0x6D,
    ENG_VK_DECIMAL = 0x6E,
    ENG_VK_DIVIDE = 0x6F,
    ENG_VK_F1 = 0x70,
    ENG_VK_F4 = 0x73,
    ENG_VK_F10 = 0x79,
    ENG_VK_F11 = 0x7A,
    ENG_VK_F12 = 0x7B,
    ENG_VK_F24 = 0x87,
    ENG_VK_NUMLOCK = 0x90,
    ENG_VK_SCROLL = 0x91,
    ENG_VK_LSHIFT = 0xA0,
    ENG_VK_RSHIFT = 0xA1,
    ENG_VK_LCONTROL = 0xA2,
    ENG_VK_RCONTROL = 0xA3,
    ENG_VK_LMENU = 0xA4,
    ENG_VK_RMENU = 0xA5,
    ENG_VK_VOLUME_MUTE = 0xAD,
    ENG_VK_VOLUME_DOWN = 0xAE,
    ENG_VK_VOLUME_UP = 0xAF,
    ENG_VK_MEDIA_NEXT_TRACK = 0xB0,
    ENG_VK_MEDIA_PREV_TRACK = 0xB1,
    ENG_VK_MEDIA_STOP = 0xB2,
    ENG_VK_MEDIA_PLAY_PAUSE = 0xB3,
    ENG_VK_OEM_1 = 0xBA,      // ;:
    ENG_VK_OEM_PLUS = 0xBB,   // =+
    ENG_VK_OEM_COMMA = 0xBC,  // ,<
    ENG_VK_OEM_MINUS = 0xBD,  // -_
    ENG_VK_OEM_PERIOD = 0xBE, // .>
    ENG_VK_OEM_2 = 0xBF,      // /?
    ENG_VK_OEM_3 = 0xC0,      // `~
    ENG_VK_OEM_4 = 0xDB,      // [{
    ENG_VK_OEM_5 = 0xDC,      // \|
    ENG_VK_OEM_6 = 0xDD,      // ]}
    ENG_VK_OEM_7 = 0xDE,      // '"
    ENG_VK_OEM_102 = 0xE2,    // the extra key beside left Shift on ISO keyboards
};

#include "Engine/Core/PC/EngKeys_PC.h"

#include "Engine/Core/EngKeyStateTable.h"

namespace
{
struct KeyRow
{
    SDL_Scancode scancode;
    int virtual_key;
};

// Keys named by position; letters and digits are handled before this table is searched.
const KeyRow key_rows[] = {
    {SDL_SCANCODE_RETURN, ENG_VK_RETURN},
    {SDL_SCANCODE_ESCAPE, ENG_VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, ENG_VK_BACK},
    {SDL_SCANCODE_TAB, ENG_VK_TAB},
    {SDL_SCANCODE_SPACE, ENG_VK_SPACE},
    {SDL_SCANCODE_MINUS, ENG_VK_OEM_MINUS},
    {SDL_SCANCODE_EQUALS, ENG_VK_OEM_PLUS},
    {SDL_SCANCODE_LEFTBRACKET, ENG_VK_OEM_4},
    {SDL_SCANCODE_RIGHTBRACKET, ENG_VK_OEM_6},
    {SDL_SCANCODE_BACKSLASH, ENG_VK_OEM_5},
    {SDL_SCANCODE_NONUSHASH, ENG_VK_OEM_5},
    {SDL_SCANCODE_SEMICOLON, ENG_VK_OEM_1},
    {SDL_SCANCODE_APOSTROPHE, ENG_VK_OEM_7},
    {SDL_SCANCODE_GRAVE, ENG_VK_OEM_3},
    {SDL_SCANCODE_COMMA, ENG_VK_OEM_COMMA},
    {SDL_SCANCODE_PERIOD, ENG_VK_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, ENG_VK_OEM_2},
    {SDL_SCANCODE_NONUSBACKSLASH, ENG_VK_OEM_102},
    {SDL_SCANCODE_CAPSLOCK, ENG_VK_CAPITAL},
    {SDL_SCANCODE_PRINTSCREEN, ENG_VK_SNAPSHOT},
    {SDL_SCANCODE_SCROLLLOCK, ENG_VK_SCROLL},
    {SDL_SCANCODE_PAUSE, ENG_VK_PAUSE},
    {SDL_SCANCODE_INSERT, ENG_VK_INSERT},
    {SDL_SCANCODE_HOME, ENG_VK_HOME},
    {SDL_SCANCODE_PAGEUP, ENG_VK_PRIOR},
    {SDL_SCANCODE_DELETE, ENG_VK_DELETE},
    {SDL_SCANCODE_END, ENG_VK_END},
    {SDL_SCANCODE_PAGEDOWN, ENG_VK_NEXT},
    {SDL_SCANCODE_RIGHT, ENG_VK_RIGHT},
    {SDL_SCANCODE_LEFT, ENG_VK_LEFT},
    {SDL_SCANCODE_DOWN, ENG_VK_DOWN},
    {SDL_SCANCODE_UP, ENG_VK_UP},
    {SDL_SCANCODE_NUMLOCKCLEAR, ENG_VK_NUMLOCK},
    {SDL_SCANCODE_KP_DIVIDE, ENG_VK_DIVIDE},
    {SDL_SCANCODE_KP_MULTIPLY, ENG_VK_MULTIPLY},
    {SDL_SCANCODE_KP_MINUS, ENG_VK_SUBTRACT},
    {SDL_SCANCODE_KP_PLUS, ENG_VK_ADD},
    {SDL_SCANCODE_KP_ENTER, ENG_VK_RETURN},
    {SDL_SCANCODE_KP_COMMA, ENG_VK_SEPARATOR},
    {SDL_SCANCODE_APPLICATION, ENG_VK_APPS},
    {SDL_SCANCODE_HELP, ENG_VK_HELP},
    {SDL_SCANCODE_SELECT, ENG_VK_SELECT},
    {SDL_SCANCODE_EXECUTE, ENG_VK_EXECUTE},
    {SDL_SCANCODE_CANCEL, ENG_VK_CANCEL},
    {SDL_SCANCODE_CLEAR, ENG_VK_CLEAR},
    {SDL_SCANCODE_SLEEP, ENG_VK_SLEEP},
    {SDL_SCANCODE_LCTRL, ENG_VK_CONTROL},
    {SDL_SCANCODE_RCTRL, ENG_VK_CONTROL},
    {SDL_SCANCODE_LSHIFT, ENG_VK_SHIFT},
    {SDL_SCANCODE_RSHIFT, ENG_VK_SHIFT},
    {SDL_SCANCODE_LALT, ENG_VK_MENU},
    {SDL_SCANCODE_RALT, ENG_VK_MENU},
    {SDL_SCANCODE_LGUI, ENG_VK_LWIN},
    {SDL_SCANCODE_RGUI, ENG_VK_RWIN},
    {SDL_SCANCODE_MUTE, ENG_VK_VOLUME_MUTE},
    {SDL_SCANCODE_VOLUMEDOWN, ENG_VK_VOLUME_DOWN},
    {SDL_SCANCODE_VOLUMEUP, ENG_VK_VOLUME_UP},
    {SDL_SCANCODE_AUDIONEXT, ENG_VK_MEDIA_NEXT_TRACK},
    {SDL_SCANCODE_AUDIOPREV, ENG_VK_MEDIA_PREV_TRACK},
    {SDL_SCANCODE_AUDIOSTOP, ENG_VK_MEDIA_STOP},
    {SDL_SCANCODE_AUDIOPLAY, ENG_VK_MEDIA_PLAY_PAUSE},
};

// The keypad with Num Lock off: the navigation key printed on each digit key, and Delete on the point.
const KeyRow keypad_navigation_rows[] = {
    {SDL_SCANCODE_KP_0, ENG_VK_INSERT}, {SDL_SCANCODE_KP_1, ENG_VK_END},    {SDL_SCANCODE_KP_2, ENG_VK_DOWN},
    {SDL_SCANCODE_KP_3, ENG_VK_NEXT},   {SDL_SCANCODE_KP_4, ENG_VK_LEFT},   {SDL_SCANCODE_KP_5, ENG_VK_CLEAR},
    {SDL_SCANCODE_KP_6, ENG_VK_RIGHT},  {SDL_SCANCODE_KP_7, ENG_VK_HOME},   {SDL_SCANCODE_KP_8, ENG_VK_UP},
    {SDL_SCANCODE_KP_9, ENG_VK_PRIOR},  {SDL_SCANCODE_KP_PERIOD, ENG_VK_DELETE},
};

template <int N> int FindRow(const KeyRow (&rows)[N], SDL_Scancode scancode)
{
    for (const KeyRow& row : rows)
    {
        if (row.scancode == scancode)
            return row.virtual_key;
    }
    return 0;
}

// The digit keys 1..9 and 0 of the keypad, or -1.
int KeypadDigit(SDL_Scancode scancode)
{
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9)
        return 1 + (scancode - SDL_SCANCODE_KP_1);
    if (scancode == SDL_SCANCODE_KP_0)
        return 0;
    return -1;
}

int KeypadVirtualKey(const SDL_Keysym* keysym)
{
    bool num_lock = (keysym->mod & KMOD_NUM) != 0;
    if (!num_lock)
        return FindRow(keypad_navigation_rows, keysym->scancode);
    if (keysym->scancode == SDL_SCANCODE_KP_PERIOD)
        return ENG_VK_DECIMAL;
    int digit = KeypadDigit(keysym->scancode);
    return digit < 0 ? 0 : ENG_VK_NUMPAD0 + digit;
}

bool IsKeypadDigitOrPoint(SDL_Scancode scancode)
{
    return KeypadDigit(scancode) >= 0 || scancode == SDL_SCANCODE_KP_PERIOD;
}

// Letters by the layout's meaning, else by position; digits of the main row by position.
int LetterOrDigit(const SDL_Keysym* keysym)
{
    if (keysym->sym >= SDLK_a && keysym->sym <= SDLK_z)
        return ENG_VK_A + (keysym->sym - SDLK_a);
    SDL_Scancode sc = keysym->scancode;
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z && (keysym->sym < 0x20 || keysym->sym > 0x7E))
        return ENG_VK_A + (sc - SDL_SCANCODE_A);
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9)
        return ENG_VK_0 + 1 + (sc - SDL_SCANCODE_1);
    if (sc == SDL_SCANCODE_0)
        return ENG_VK_0;
    return 0;
}

int FunctionKey(SDL_Scancode scancode)
{
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return ENG_VK_F1 + (scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24)
        return ENG_VK_F1 + 12 + (scancode - SDL_SCANCODE_F13);
    return 0;
}
} // namespace

int EngKeysToVirtualKey_PC(const SDL_Keysym* keysym)
{
    if (!keysym)
        return 0;
    if (IsKeypadDigitOrPoint(keysym->scancode))
        return KeypadVirtualKey(keysym);
    int virtual_key = LetterOrDigit(keysym);
    if (virtual_key != 0)
        return virtual_key;
    virtual_key = FunctionKey(keysym->scancode);
    if (virtual_key != 0)
        return virtual_key;
    return FindRow(key_rows, keysym->scancode);
}

int EngKeysControlCharacter_PC(const SDL_Keysym* keysym)
{
    if (!keysym)
        return -1;
    int virtual_key = EngKeysToVirtualKey_PC(keysym);
    switch (virtual_key)
    {
    case ENG_VK_BACK:
    case ENG_VK_TAB:
    case ENG_VK_RETURN:
    case ENG_VK_ESCAPE:
        return virtual_key;
    default:
        break;
    }
    bool control = (keysym->mod & KMOD_CTRL) != 0;
    bool alt = (keysym->mod & KMOD_ALT) != 0;
    if (control && !alt && virtual_key >= ENG_VK_A && virtual_key <= ENG_VK_A + 25)
        return 1 + (virtual_key - ENG_VK_A);
    return -1;
}

// SDL keys to Windows virtual-key codes and the control characters of key presses.

#include <vector>

#include <gtest/gtest.h>

#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/PC/EngKeys_PC.h"

namespace
{
struct KeyCase
{
    SDL_Scancode scancode;
    SDL_Keycode sym;
    Uint16 mod;
    int expected;
    const char* what;
};

SDL_Keysym Keysym(const KeyCase& key)
{
    SDL_Keysym keysym = {};
    keysym.scancode = key.scancode;
    keysym.sym = key.sym;
    keysym.mod = key.mod;
    return keysym;
}

void ExpectVirtualKeys(const std::vector<KeyCase>& cases)
{
    for (const KeyCase& key : cases)
    {
        SDL_Keysym keysym = Keysym(key);
        EXPECT_EQ(EngKeysToVirtualKey_PC(&keysym), key.expected) << key.what;
    }
}

TEST(EngKeys, LettersDigitsAndFunctionKeys)
{
    ExpectVirtualKeys({
        {SDL_SCANCODE_A, SDLK_a, KMOD_NONE, 0x41, "A"},
        {SDL_SCANCODE_Z, SDLK_z, KMOD_SHIFT, 0x5A, "shifted Z"},
        {SDL_SCANCODE_0, SDLK_0, KMOD_NONE, 0x30, "0"},
        {SDL_SCANCODE_9, SDLK_9, KMOD_NONE, 0x39, "9"},
        {SDL_SCANCODE_F1, SDLK_F1, KMOD_NONE, 0x70, "F1"},
        {SDL_SCANCODE_F12, SDLK_F12, KMOD_NONE, 0x7B, "F12"},
        {SDL_SCANCODE_F13, SDLK_F13, KMOD_NONE, 0x7C, "F13"},
        // French layout: the key left of Z on a US board reads 'q'; the digit row gives symbols unshifted.
        {SDL_SCANCODE_A, SDLK_q, KMOD_NONE, 'Q', "letters follow the layout"},
        {SDL_SCANCODE_1, SDLK_AMPERSAND, KMOD_NONE, '1', "digits follow the position"},
        {SDL_SCANCODE_F, 0x0430, KMOD_NONE, 'F', "a layout without Latin letters falls back to the position"},
    });
}

TEST(EngKeys, ModifiersGiveOneCodeForBothSides)
{
    ExpectVirtualKeys({
        {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, KMOD_NONE, ENG_VK_SHIFT, "left Shift"},
        {SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, KMOD_NONE, ENG_VK_SHIFT, "right Shift"},
        {SDL_SCANCODE_LCTRL, SDLK_LCTRL, KMOD_NONE, ENG_VK_CONTROL, "left Control"},
        {SDL_SCANCODE_RCTRL, SDLK_RCTRL, KMOD_NONE, ENG_VK_CONTROL, "right Control"},
        {SDL_SCANCODE_LALT, SDLK_LALT, KMOD_NONE, ENG_VK_MENU, "left Alt"},
        {SDL_SCANCODE_RALT, SDLK_RALT, KMOD_NONE, ENG_VK_MENU, "right Alt"},
    });
}

TEST(EngKeys, NavigationPunctuationAndUnknownKeys)
{
    ExpectVirtualKeys({
        {SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_NONE, 0x0D, "Enter"},
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, KMOD_NONE, 0x1B, "Escape"},
        {SDL_SCANCODE_LEFT, SDLK_LEFT, KMOD_NONE, 0x25, "Left"},
        {SDL_SCANCODE_UP, SDLK_UP, KMOD_NONE, 0x26, "Up"},
        {SDL_SCANCODE_RIGHT, SDLK_RIGHT, KMOD_NONE, 0x27, "Right"},
        {SDL_SCANCODE_DOWN, SDLK_DOWN, KMOD_NONE, 0x28, "Down"},
        {SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, KMOD_NONE, 0x21, "Page Up"},
        {SDL_SCANCODE_DELETE, SDLK_DELETE, KMOD_NONE, 0x2E, "Delete"},
        {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, KMOD_NONE, 0xBA, ";"},
        {SDL_SCANCODE_BACKSLASH, SDLK_BACKSLASH, KMOD_NONE, 0xDC, "\\"},
        {SDL_SCANCODE_NONUSBACKSLASH, SDLK_LESS, KMOD_NONE, 0xE2, "the key beside left Shift"},
        {SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE, KMOD_NONE, 0xC0, "`"},
        {SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN, KMOD_NONE, 0, "no code for an unknown key"},
    });
}

TEST(EngKeys, KeypadDependsOnNumLock)
{
    ExpectVirtualKeys({
        {SDL_SCANCODE_KP_0, SDLK_KP_0, KMOD_NUM, 0x60, "keypad 0"},
        {SDL_SCANCODE_KP_7, SDLK_KP_7, KMOD_NUM, 0x67, "keypad 7"},
        {SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, KMOD_NUM, ENG_VK_DECIMAL, "keypad point"},
        {SDL_SCANCODE_KP_7, SDLK_KP_7, KMOD_NONE, ENG_VK_HOME, "keypad 7 without Num Lock"},
        {SDL_SCANCODE_KP_2, SDLK_KP_2, KMOD_NONE, ENG_VK_DOWN, "keypad 2 without Num Lock"},
        {SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, KMOD_NONE, ENG_VK_DELETE, "keypad point without Num Lock"},
        {SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, KMOD_NONE, ENG_VK_ADD, "keypad +"},
        {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, KMOD_NONE, ENG_VK_RETURN, "keypad Enter"},
    });
}

TEST(EngKeys, ControlCharactersOfKeyPresses)
{
    const KeyCase cases[] = {
        {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, KMOD_NONE, 8, "Backspace"},
        {SDL_SCANCODE_TAB, SDLK_TAB, KMOD_NONE, 9, "Tab"},
        {SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_NONE, 13, "Enter"},
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, KMOD_NONE, 27, "Escape"},
        {SDL_SCANCODE_A, SDLK_a, KMOD_LCTRL, 1, "Control+A"},
        {SDL_SCANCODE_C, SDLK_c, KMOD_RCTRL | KMOD_SHIFT, 3, "Control+Shift+C"},
        {SDL_SCANCODE_Z, SDLK_z, KMOD_LCTRL, 26, "Control+Z"},
        {SDL_SCANCODE_A, SDLK_a, KMOD_NONE, -1, "plain letters come from text input"},
        {SDL_SCANCODE_A, SDLK_a, KMOD_LCTRL | KMOD_RALT, -1, "AltGr is Control with Alt"},
        {SDL_SCANCODE_5, SDLK_5, KMOD_LCTRL, -1, "Control with a digit"},
        {SDL_SCANCODE_F1, SDLK_F1, KMOD_NONE, -1, "F1"},
    };
    for (const KeyCase& key : cases)
    {
        SDL_Keysym keysym = Keysym(key);
        EXPECT_EQ(EngKeysControlCharacter_PC(&keysym), key.expected) << key.what;
    }
}
} // namespace

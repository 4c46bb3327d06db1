// SDL keys to Windows virtual-key codes and the control characters of key presses.

#include <gtest/gtest.h>

#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/PC/EngKeys_PC.h"

namespace
{
int Vk(SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod = KMOD_NONE)
{
    SDL_Keysym keysym = {};
    keysym.scancode = scancode;
    keysym.sym = sym;
    keysym.mod = mod;
    return EngKeysToVirtualKey_PC(&keysym);
}

int Char(SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod = KMOD_NONE)
{
    SDL_Keysym keysym = {};
    keysym.scancode = scancode;
    keysym.sym = sym;
    keysym.mod = mod;
    return EngKeysControlCharacter_PC(&keysym);
}

TEST(EngKeys, LettersDigitsAndFunctionKeys)
{
    EXPECT_EQ(Vk(SDL_SCANCODE_A, SDLK_a), 0x41);
    EXPECT_EQ(Vk(SDL_SCANCODE_Z, SDLK_z, KMOD_SHIFT), 0x5A);
    EXPECT_EQ(Vk(SDL_SCANCODE_0, SDLK_0), 0x30);
    EXPECT_EQ(Vk(SDL_SCANCODE_9, SDLK_9), 0x39);
    EXPECT_EQ(Vk(SDL_SCANCODE_F1, SDLK_F1), 0x70);
    EXPECT_EQ(Vk(SDL_SCANCODE_F12, SDLK_F12), 0x7B);
    EXPECT_EQ(Vk(SDL_SCANCODE_F13, SDLK_F13), 0x7C);
}

TEST(EngKeys, LettersFollowTheLayoutAndDigitsThePosition)
{
    // French layout: the key left of Z on a US board reads 'q'; the digit row gives symbols unshifted.
    EXPECT_EQ(Vk(SDL_SCANCODE_A, SDLK_q), 'Q');
    EXPECT_EQ(Vk(SDL_SCANCODE_1, SDLK_AMPERSAND), '1');
    // A layout without Latin letters falls back to the position.
    EXPECT_EQ(Vk(SDL_SCANCODE_F, 0x0430), 'F');
}

TEST(EngKeys, ModifiersGiveOneCodeForBothSides)
{
    EXPECT_EQ(Vk(SDL_SCANCODE_LSHIFT, SDLK_LSHIFT), ENG_VK_SHIFT);
    EXPECT_EQ(Vk(SDL_SCANCODE_RSHIFT, SDLK_RSHIFT), ENG_VK_SHIFT);
    EXPECT_EQ(Vk(SDL_SCANCODE_LCTRL, SDLK_LCTRL), ENG_VK_CONTROL);
    EXPECT_EQ(Vk(SDL_SCANCODE_RCTRL, SDLK_RCTRL), ENG_VK_CONTROL);
    EXPECT_EQ(Vk(SDL_SCANCODE_LALT, SDLK_LALT), ENG_VK_MENU);
    EXPECT_EQ(Vk(SDL_SCANCODE_RALT, SDLK_RALT), ENG_VK_MENU);
}

TEST(EngKeys, NavigationPunctuationAndUnknownKeys)
{
    EXPECT_EQ(Vk(SDL_SCANCODE_LEFT, SDLK_LEFT), 0x25);
    EXPECT_EQ(Vk(SDL_SCANCODE_UP, SDLK_UP), 0x26);
    EXPECT_EQ(Vk(SDL_SCANCODE_RIGHT, SDLK_RIGHT), 0x27);
    EXPECT_EQ(Vk(SDL_SCANCODE_DOWN, SDLK_DOWN), 0x28);
    EXPECT_EQ(Vk(SDL_SCANCODE_PAGEUP, SDLK_PAGEUP), 0x21);
    EXPECT_EQ(Vk(SDL_SCANCODE_DELETE, SDLK_DELETE), 0x2E);
    EXPECT_EQ(Vk(SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON), 0xBA);
    EXPECT_EQ(Vk(SDL_SCANCODE_BACKSLASH, SDLK_BACKSLASH), 0xDC);
    EXPECT_EQ(Vk(SDL_SCANCODE_NONUSBACKSLASH, SDLK_LESS), 0xE2);
    EXPECT_EQ(Vk(SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE), 0xC0);
    EXPECT_EQ(Vk(SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN), 0);
}

TEST(EngKeys, KeypadDependsOnNumLock)
{
    EXPECT_EQ(Vk(SDL_SCANCODE_KP_0, SDLK_KP_0, KMOD_NUM), 0x60);
    EXPECT_EQ(Vk(SDL_SCANCODE_KP_7, SDLK_KP_7, KMOD_NUM), 0x67);
    EXPECT_EQ(Vk(SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, KMOD_NUM), ENG_VK_DECIMAL);
    EXPECT_EQ(Vk(SDL_SCANCODE_KP_7, SDLK_KP_7), ENG_VK_HOME);
    EXPECT_EQ(Vk(SDL_SCANCODE_KP_2, SDLK_KP_2), ENG_VK_DOWN);
    EXPECT_EQ(Vk(SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD), ENG_VK_DELETE);
    EXPECT_EQ(Vk(SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS), ENG_VK_ADD);
    EXPECT_EQ(Vk(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER), ENG_VK_RETURN);
}

TEST(EngKeys, ControlCharactersOfKeyPresses)
{
    EXPECT_EQ(Char(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE), 8);
    EXPECT_EQ(Char(SDL_SCANCODE_TAB, SDLK_TAB), 9);
    EXPECT_EQ(Char(SDL_SCANCODE_RETURN, SDLK_RETURN), 13);
    EXPECT_EQ(Char(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE), 27);
    EXPECT_EQ(Char(SDL_SCANCODE_A, SDLK_a, KMOD_LCTRL), 1);
    EXPECT_EQ(Char(SDL_SCANCODE_C, SDLK_c, KMOD_RCTRL | KMOD_SHIFT), 3);
    EXPECT_EQ(Char(SDL_SCANCODE_Z, SDLK_z, KMOD_LCTRL), 26);
    EXPECT_EQ(Char(SDL_SCANCODE_A, SDLK_a), -1) << "plain letters come from text input";
    EXPECT_EQ(Char(SDL_SCANCODE_A, SDLK_a, KMOD_LCTRL | KMOD_RALT), -1) << "AltGr is Control with Alt";
    EXPECT_EQ(Char(SDL_SCANCODE_5, SDLK_5, KMOD_LCTRL), -1);
    EXPECT_EQ(Char(SDL_SCANCODE_F1, SDLK_F1), -1);
}
} // namespace

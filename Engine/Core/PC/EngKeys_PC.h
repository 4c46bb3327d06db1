#pragma once

// SDL keys to Windows virtual-key codes, and the control characters that Windows sends as characters but
// SDL's text input does not.

#include <SDL2/SDL_keyboard.h>

// The virtual-key code of a key, or 0 when it has none. Letters follow the keyboard layout; punctuation
// keys are named by their position on a US keyboard, as the OEM codes are. Both Shift keys give 0x10,
// both Control keys 0x11 and both Alt keys 0x12. The keypad gives its digits while Num Lock is on and the
// navigation keys printed on it while it is off.
int EngKeysToVirtualKey_PC(const SDL_Keysym* keysym);

// The character a key press sends besides its key message: 8 Backspace, 9 Tab, 13 Enter, 27 Escape,
// 1..26 for Control with A..Z (without Alt); -1 when the key sends none through this path.
int EngKeysControlCharacter_PC(const SDL_Keysym* keysym);

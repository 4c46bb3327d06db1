#pragma once

// SDL events become the window messages the window procedure handles. One SDL event may give several
// messages (a key press of Enter is a key message and the character 13); a resize becomes a message only
// once the size has settled, so a drag re-creates the device once.

#include "Engine/Core/EngTypes.h"

struct SDL_Window;

// Message codes, numbered as the system the engine was first written for numbers them.
enum _EngWindowMessageCode : EngUInt32
{
    ENG_WM_NULL = 0x0000,
    ENG_WM_DESTROY = 0x0002,
    ENG_WM_SIZE = 0x0005,
    ENG_WM_ACTIVATE = 0x0006,
    ENG_WM_PAINT = 0x000F,
    ENG_WM_CLOSE = 0x0010,
    ENG_WM_QUIT = 0x0012,
    ENG_WM_KEYDOWN = 0x0100,
    ENG_WM_KEYUP = 0x0101,
    ENG_WM_CHAR = 0x0102,
    ENG_WM_SYSKEYDOWN = 0x0104,
    ENG_WM_SYSKEYUP = 0x0105,
    ENG_WM_MOUSEMOVE = 0x0200,
    ENG_WM_LBUTTONDOWN = 0x0201,
    ENG_WM_LBUTTONUP = 0x0202,
    ENG_WM_LBUTTONDBLCLK = 0x0203,
    ENG_WM_RBUTTONDOWN = 0x0204,
    ENG_WM_RBUTTONUP = 0x0205,
    ENG_WM_MBUTTONDOWN = 0x0207,
    ENG_WM_MBUTTONUP = 0x0208,
    ENG_WM_MOUSEWHEEL = 0x020A,
    ENG_WM_POWERBROADCAST = 0x0218,
    ENG_WM_EXITSIZEMOVE = 0x0232,
    ENG_WM_MOUSELEAVE = 0x02A3,
};

// Kinds of ENG_WM_SIZE.
constexpr int ENG_SIZE_RESTORED = 0;
constexpr int ENG_SIZE_MINIMIZED = 1;
constexpr int ENG_SIZE_MAXIMIZED = 2;
constexpr int ENG_SIZE_MAXSHOW = 3;
constexpr int ENG_SIZE_MAXHIDE = 4;

// Events of ENG_WM_POWERBROADCAST.
constexpr int ENG_PBT_APMSUSPEND = 0x0004;
constexpr int ENG_PBT_APMRESUMEAUTOMATIC = 0x0012;

// One wheel notch.
constexpr int ENG_WHEEL_DELTA = 120;
// Lines scrolled per notch (the system setting the engine was tuned for).
constexpr int ENG_WHEEL_SCROLL_LINES = 3;

struct _EngWindowMessage
{
    EngUInt32 message = ENG_WM_NULL;
    int key = 0;          // key messages: virtual-key code; ENG_WM_CHAR: Windows-1252 character (0..255)
    bool repeat = false;  // key down that the key's auto-repeat made
    bool alt_down = false;
    int x = 0;            // mouse messages: client pixels; ENG_WM_SIZE: new client width
    int y = 0;            //                                            new client height
    int wheel_delta = 0;  // ENG_WM_MOUSEWHEEL: multiples of ENG_WHEEL_DELTA, positive away from the user
    int kind = 0;         // ENG_WM_SIZE kind, ENG_WM_ACTIVATE state (0, 1, 2), ENG_WM_POWERBROADCAST event
};

// Hands a message to the main window's procedure, or to the default procedure without a main window.
long EngWindowStaticProc_PC(SDL_Window* handle, const _EngWindowMessage* msg);
// What the system does with a message the procedure passes on: a close destroys the window, Alt+F4 closes it.
long EngDefWindowProc_PC(SDL_Window* handle, const _EngWindowMessage* msg);

// Takes at most one event (or one settled resize) and dispatches its messages:
// 0 the quit message, 1 nothing there, 2 one event handled. Moves queued right behind a move are merged
// into it, so only the last position counts.
signed char EngMainPumpOneMessage_PC();
// The most events one pump of the program takes, so a flood of input cannot hold up a frame for ever.
constexpr int ENG_MAX_MESSAGES_PER_PUMP = 100;
// Marks the quit message as posted; the next pump returns 0.
void EngPostQuitMessage_PC();
// Blocks until an event is queued (left there for the pump) or the milliseconds have passed.
void EngMainWaitForMessage_PC(int ms);
// Removes pending events without dispatching them, until none is left or the seconds have passed.
void EngMiscDropMessages_PC(double seconds);

// Seconds a window size must stay unchanged before the resize is handled.
constexpr double ENG_RESIZE_SETTLE_SECONDS = 0.2;
// Forgets a pending resize and the keys noted down, so a new window object starts clean (a full-screen toggle
// keeps them: its keys are still held); a posted quit message stays.
void EngWindowProcReset_PC();

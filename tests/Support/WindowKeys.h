#pragma once
// A key message handed to a window's procedure, as the platform layer hands it on.

#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngWindowProc_PC.h"

inline void SendKeyMessage(EngWindow& window, EngUInt32 message, int key, bool repeat = false)
{
    _EngWindowMessage msg = {};
    msg.message = message;
    msg.key = key;
    msg.repeat = repeat;
    window.WindowProc(nullptr, &msg);
}

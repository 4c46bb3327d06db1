#pragma once
// Reading the debug message ring from tests: take a mark, do something, then look for what was logged since.

#include <cstring>

#include "Engine/Core/EngDebug.h"

// Where the debug ring stands now; pass it to LoggedSince.
inline int LogMark()
{
    return DebugGetMessageCount();
}

// Messages containing text logged after the message numbered mark.
inline int LogCountSince(int mark, const char* text)
{
    int found = 0;
    for (int i = mark < 0 ? 0 : mark; i < DebugGetMessageCount(); i++) {
        const DebugMessage* message = DebugGetMessage(i);
        if (message && std::strstr(message->text, text))
            found++;
    }
    return found;
}

inline bool LoggedSince(int mark, const char* text)
{
    return LogCountSince(mark, text) > 0;
}

inline int MessagesSince(int mark)
{
    return DebugGetMessageCount() - mark;
}

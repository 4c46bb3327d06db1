#pragma once

#include <string>

#include "Engine/Core/EngDebug.h"
#include "Support/LogForTests.h"

// The log messages from index start on, one a line: what a call reported.
inline std::string LogSince(int start)
{
    std::string text;
    for (int i = start < 0 ? 0 : start; i < DebugGetMessageCount(); i++) {
        const DebugMessage* message = DebugGetMessage(i);
        if (message)
            text += std::string(message->text) + "\n";
    }
    return text;
}

inline bool LogHas(int start, const std::string& part)
{
    return LoggedSince(start, part.c_str());
}

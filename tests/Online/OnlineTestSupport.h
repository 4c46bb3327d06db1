#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngPrefFolder.h"
#include "Support/LogForTests.h"

// A home folder of this test alone, with a Desktop (where installers are brought), the desktop's config and
// data folders in it, and the preferences folder set up; empty when it cannot be made. Remove it afterwards.
inline std::filesystem::path UsePrivateHome(const char* stem)
{
    std::string pattern = ::testing::TempDir() + stem + "-XXXXXX";
    if (!mkdtemp(pattern.data()))
        return {};
    std::filesystem::path home = pattern;
    std::filesystem::create_directories(home / "Desktop");
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    // "Download.part" lies in the preferences folder: parallel tests must not share one.
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    PrefFolderSetup("Torvi Torvi", false, nullptr, false);
    return home;
}

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

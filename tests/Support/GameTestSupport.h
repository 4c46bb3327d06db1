#pragma once
// Helpers of the game's tests: a private preferences folder, its log file, and the game started through its
// own start-up hooks.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Game/Main.h"
#include "Support/FilesForTests.h"

// A preferences folder of this test process alone.
inline std::string UseFreshDataHome()
{
    std::string home = MakeTempFolder("torvi-game");
    EXPECT_FALSE(home.empty());
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    return home;
}

inline std::string LogFileIn(const std::string& home)
{
    return home + "/Ostrelmark/Torvi Torvi/LogFile.txt";
}

// Runs the start-up hook as the engine's entry does; returns its result and sets exit_code.
inline signed char StartGame(int* exit_code)
{
    char command_line[] = "";
    return MainCreateAndInitMainProgram(nullptr, command_line, exit_code);
}


#pragma once
// A game with a private preferences folder, for the profile and controller tests; raw file helpers.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngPrefFolder.h"
#include "Game/Game.h"
#include "Game/Program.h"
#include "Support/GameTestSupport.h"
#include "Support/LogForTests.h"

inline std::vector<unsigned char> ReadBytes(const std::string& name)
{
    std::vector<unsigned char> bytes;
    FILE* file = fopen(name.c_str(), "rb");
    if (!file)
        return bytes;
    int c;
    while ((c = fgetc(file)) != EOF)
        bytes.push_back((unsigned char)c);
    fclose(file);
    return bytes;
}

inline void WriteBytes(const std::string& name, const void* data, size_t size)
{
    FILE* file = fopen(name.c_str(), "wb");
    ASSERT_NE(nullptr, file) << name;
    ASSERT_EQ(size, fwrite(data, 1, size, file));
    fclose(file);
}

inline bool FileExists(const std::string& name)
{
    struct stat info;
    return stat(name.c_str(), &info) == 0;
}

class ProfileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        home = UseFreshDataHome();
        PrefFolderSetup("Torvi Torvi", false, nullptr, false);
        drivers = home + "/Ostrelmark/Torvi Torvi/Drivers/";
        game = new Game(&program, "Game", 0);
    }
    void TearDown() override { delete game; }

    std::string home;
    std::string drivers;
    Program program;
    Game* game = nullptr;
};

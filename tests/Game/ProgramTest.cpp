#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngProgram.h"
#include "Game/Main.h"
#include "Game/Program.h"

namespace {

std::string ReadWhole(const std::string& file_name)
{
    std::ifstream in(file_name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A preferences folder of this test process alone.
std::string UseFreshDataHome()
{
    std::string pattern = ::testing::TempDir() + "torvi-program-XXXXXX";
    char* made = mkdtemp(pattern.data());
    EXPECT_NE(nullptr, made);
    setenv("XDG_DATA_HOME", pattern.c_str(), 1);
    return pattern;
}

signed char InitWith(Program& program, const char* command_line)
{
    char line[64];
    snprintf(line, sizeof(line), "%s", command_line);
    return program.Init(line);
}

} // namespace

TEST(Program, OnlyTheExactWordConfigurationForcesTheDialog)
{
    Program program;
    EXPECT_EQ(1, InitWith(program, "configuration"));
    EXPECT_FALSE(ProgramIsDialogForced());
    EXPECT_EQ(1, InitWith(program, "CONFIGURATION now"));
    EXPECT_FALSE(ProgramIsDialogForced());
    EXPECT_EQ(1, InitWith(program, ""));
    EXPECT_FALSE(ProgramIsDialogForced());
    EXPECT_EQ(1, InitWith(program, "CONFIGURATION"));
    EXPECT_TRUE(ProgramIsDialogForced());
}

TEST(Program, StartUpHookWritesBannerToLogInPreferencesFolder)
{
    std::string home = UseFreshDataHome();
    char command_line[] = "";
    int exit_code = 99;
    ASSERT_EQ(1, MainCreateAndInitMainProgram(nullptr, command_line, &exit_code));
    ASSERT_NE(nullptr, MainGetProgram());
    EXPECT_EQ(static_cast<EngProgram*>(MainGetProgram()), eng_main_program);
    EXPECT_EQ(ENG_DEVICE_DX9, eng_main_device_type);

    std::string log = ReadWhole(home + "/Ostrelmark/Torvi Torvi/LogFile.txt");
    std::string dashes(75, '-');
    std::string banner = "Torvi Torvi !!!\n" + dashes + "\nGame Version 1.50\nFile Version 1.40\n" + dashes +
                         "\nArchitecture: PC\n" + dashes + "\n";
    EXPECT_NE(std::string::npos, log.find(banner)) << log;

    MainDestroyMainProgram(true);
    EXPECT_EQ(nullptr, MainGetProgram());
    EXPECT_EQ(nullptr, eng_main_program);
    MainDestroyMainProgram(true);
}

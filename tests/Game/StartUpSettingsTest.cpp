#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Game/Game.h"
#include "Game/Main.h"
#include "Game/Program.h"
#include "Game/Resolution.h"
#include "Support/GameTestSupport.h"
#include "ResolutionTestSupport.h"

// How the game's start decides on the start-up settings dialog and guards against crashes. Nobody is there
// to answer (the test programs run non-interactively), so a dialog that is due takes PLAY and says so in
// the log.
namespace {

class StartUpSettings : public ResolutionHomeTest
{
protected:

    signed char Start(const char* command_line)
    {
        char line[64];
        std::snprintf(line, sizeof(line), "%s", command_line);
        return program.Init(line);
    }

    size_t Count(const std::string& text) const
    {
        std::string log = ReadWhole(LogFileIn(home));
        size_t count = 0;
        for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
            count++;
        return count;
    }

    size_t DialogsShown() const { return Count("Start-up settings dialog: nobody is there to answer"); }

    EngUInt8 ShowDialogFlagOnDisk() const
    {
        ResolutionSettings on_disk;
        EXPECT_TRUE(ReadSettingsFile(&on_disk));
        return on_disk.show_dialog;
    }

    Program program;
};

} // namespace

TEST_F(StartUpSettings, FirstStartShowsTheDialogAndGoesOn)
{
    ASSERT_EQ(1, Start(""));
    EXPECT_EQ(1u, DialogsShown());
    ASSERT_NE(nullptr, program.GetGame());
    EXPECT_TRUE(program.GetGame()->IsSoundOn());
    EXPECT_EQ(1u, Count("RESOLUTION1: [Windowed: 0"));
    // The internet test runs once after the dialog; with nobody there it is not repeated.
    EXPECT_EQ(1u, Count("Performing a test needed for the game's online features."));
    EXPECT_EQ(0, ResolutionGetSettings()->internet_test[0]);
}

TEST_F(StartUpSettings, OnlyTheExactWordConfigurationForcesTheDialog)
{
    SaveSettledSettings();
    // Each run ends cleanly, so only the command line can ask for the dialog.
    for (const char* line : {"", "configuration", "CONFIGURATION please", " CONFIGURATION"}) {
        ASSERT_EQ(1, Start(line));
        program.PreCloseWindowCB();
    }
    EXPECT_EQ(0u, DialogsShown());
    ASSERT_EQ(1, Start("CONFIGURATION"));
    EXPECT_EQ(1u, DialogsShown());
}

TEST_F(StartUpSettings, SettingsOfAnotherVersionShowTheDialogOnce)
{
    SaveSettledSettings();
    ResolutionSettings old;
    ASSERT_TRUE(ReadSettingsFile(&old));
    old.program_version = 1.4f;
    old.internet_test[0] = 1;
    std::string name = ResolutionGetFilename();
    for (char& c : name)
        if (c == '\\')
            c = '/';
    FILE* file = std::fopen(name.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    ASSERT_EQ(sizeof(old), std::fwrite(&old, 1, sizeof(old), file));
    std::fclose(file);

    ASSERT_EQ(1, Start(""));
    EXPECT_EQ(1u, DialogsShown());
    EXPECT_EQ(1u, Count("Performing a test needed for the game's online features."));
    // The game ends cleanly and starts again: the dialog is not due any more.
    program.PreCloseWindowCB();
    ASSERT_EQ(1, Start(""));
    EXPECT_EQ(1u, DialogsShown());
    EXPECT_EQ(1u, Count("Performing a test needed for the game's online features."));
}

TEST_F(StartUpSettings, RunningGameLeavesTheDialogDueUntilItEndsCleanly)
{
    SaveSettledSettings();
    ASSERT_EQ(1, Start(""));
    EXPECT_EQ(0u, DialogsShown());
    // A crash now would leave this file: the next start shows the dialog.
    EXPECT_EQ(1, ShowDialogFlagOnDisk());
    EXPECT_EQ(0, ResolutionGetSettings()->show_dialog);

    program.PreCloseWindowCB();
    EXPECT_EQ(0, ShowDialogFlagOnDisk());

    // The player asked for the dialog at the next start (the options screen): the clean end keeps that.
    ASSERT_EQ(1, Start(""));
    ResolutionGetSettings()->show_dialog = 1;
    program.PreCloseWindowCB();
    EXPECT_EQ(1, ShowDialogFlagOnDisk());
}

TEST_F(StartUpSettings, StartAfterACrashShowsTheDialog)
{
    SaveSettledSettings();
    ASSERT_EQ(1, Start(""));
    // No clean end: the next start finds the guard's flag.
    ASSERT_EQ(1, Start(""));
    EXPECT_EQ(1u, DialogsShown());
}

TEST_F(StartUpSettings, SoundSwitchOfTheSettingsReachesTheGame)
{
    SaveSettledSettings();
    ResolutionGetSettings()->sound_on = 0;
    ResolutionSaveSettings();
    ASSERT_EQ(1, Start(""));
    ASSERT_NE(nullptr, program.GetGame());
    EXPECT_FALSE(program.GetGame()->IsSoundOn());
}

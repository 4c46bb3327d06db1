#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngLanguages.h"
#include "Engine/Core/EngProgram.h"
#include "Game/Main.h"
#include "Game/Program.h"
#include "Support/GameTestSupport.h"
#include "ResolutionTestSupport.h"

namespace {

signed char InitWith(Program& program, const char* command_line)
{
    char line[64];
    snprintf(line, sizeof(line), "%s", command_line);
    return program.Init(line);
}

} // namespace

TEST(Program, OnlyTheExactWordConfigurationForcesTheDialog)
{
    UseFreshDataHome();
    MainOneTimeSetup();
    SaveSettledSettings();
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

    std::string log = ReadWhole(LogFileIn(home));
    std::string dashes(75, '-');
    std::string banner = "Torvi Torvi !!!\n" + dashes + "\nGame Version 1.50\nFile Version 1.40\n" + dashes +
                         "\nArchitecture: PC\n" + dashes + "\n";
    EXPECT_NE(std::string::npos, log.find(banner)) << log;

    MainDestroyMainProgram(true);
    EXPECT_EQ(nullptr, MainGetProgram());
    EXPECT_EQ(nullptr, eng_main_program);
    MainDestroyMainProgram(true);
}

TEST(Program, InitLoadsEnglishTextsAndDeInitFreesThem)
{
    UseFreshDataHome();
    int exit_code = 99;
    ASSERT_EQ(1, StartGame(&exit_code));
    EXPECT_TRUE(EngLanguagesAreLoaded());
    EXPECT_EQ(1, EngLanguagesGetNumLanguages());
    EXPECT_TRUE(EngLangCheckIfCurrentLangEnglish());
    EXPECT_STREQ("OK", EngLanguagesGetString("Popup_OK", 0));
    ASSERT_NE(nullptr, MainGetProgram()->GetGame());

    MainDestroyMainProgram(true);
    EXPECT_FALSE(EngLanguagesAreLoaded());
}

TEST(Program, SecondInitReplacesGameAndTextsWithoutComplaint)
{
    std::string home = UseFreshDataHome();
    MainOneTimeSetup();
    SaveSettledSettings();
    Program program;
    char line[] = "";
    ASSERT_EQ(1, program.Init(line));
    ASSERT_EQ(1, program.Init(line));
    EXPECT_TRUE(EngLanguagesAreLoaded());
    EXPECT_NE(nullptr, program.GetGame());
    EXPECT_EQ(std::string::npos, ReadWhole(LogFileIn(home)).find("<ERROR>")) << ReadWhole(LogFileIn(home));
}

namespace {

// A copy of the game in a folder of its own, beside a Languages folder and, when asked, the common texts
// folder, each holding the given language files copied from the build.
// The folders go with the copy, so repeated runs leave no copies of the program behind.
struct GameCopy {
    std::string folder;
    std::string home;

    GameCopy(std::string program_folder, std::string data_home)
        : folder(std::move(program_folder)), home(std::move(data_home))
    {
    }
    GameCopy(GameCopy&& other) noexcept : folder(std::move(other.folder)), home(std::move(other.home))
    {
        other.folder.clear();
        other.home.clear();
    }
    ~GameCopy()
    {
        std::error_code ignored;
        if (!folder.empty())
            std::filesystem::remove_all(folder, ignored);
        if (!home.empty())
            std::filesystem::remove_all(home, ignored);
    }
};

GameCopy MakeGameCopy(const std::vector<std::string>& language_files, bool with_common_texts)
{
    namespace fs = std::filesystem;
    GameCopy copy{MakeTempFolder("torvi-copy"), MakeTempFolder("torvi-copy-home")};
    EXPECT_FALSE(copy.folder.empty() || copy.home.empty());
    fs::path built = fs::path(EngFileGetProgramFolder());
    EXPECT_TRUE(fs::exists(built / "Torvi_DX9")) << "Torvi_DX9 must be built beside the tests";
    fs::copy_file(built / "Torvi_DX9", fs::path(copy.folder) / "Torvi_DX9");
    fs::create_directories(fs::path(copy.folder) / "Languages");
    for (const std::string& file : language_files)
        fs::copy_file(built / "Languages" / "English.txt", fs::path(copy.folder) / "Languages" / file);
    if (with_common_texts) {
        fs::path common = fs::path("Data") / "Common" / "CommonTexts";
        fs::create_directories(fs::path(copy.folder) / common);
        fs::copy_file(built / common / "English.txt", fs::path(copy.folder) / common / "English.txt");
    }
    return copy;
}

// Runs the copy to its end (at most 30 seconds): it must end with -1 (255 to the shell), having logged the
// reason, "Init Failed", and nothing of the start after the texts (the banner).
void ExpectCopyEndsWithInitFailed(const GameCopy& copy, const std::string& reason)
{
    std::string command =
        "XDG_DATA_HOME='" + copy.home + "' timeout 30 '" + copy.folder + "/Torvi_DX9' >/dev/null 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(255, WEXITSTATUS(status));
    std::string log = ReadWhole(LogFileIn(copy.home));
    EXPECT_NE(std::string::npos, log.find(reason)) << log;
    EXPECT_NE(std::string::npos, log.find("Init Failed")) << log;
    EXPECT_EQ(std::string::npos, log.find("Torvi Torvi !!!")) << "the start went on past the texts:\n" << log;
}

} // namespace

TEST(Program, MissingEnglishLanguageFileEndsStartWithInitFailed)
{
    ExpectCopyEndsWithInitFailed(MakeGameCopy({"Deutsch.txt"}, true),
                                 "No language files found in directory <Languages>");
}

TEST(Program, MissingCommonTextsFolderEndsStartWithInitFailed)
{
    ExpectCopyEndsWithInitFailed(MakeGameCopy({"English.txt"}, false),
                                 "Languages directory does not exists <Data\\Common\\CommonTexts>");
}

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngPrefFolder.h"
#include "EngFileTestSupport.h"

namespace {

class PrefFolderTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        m_root = m_folder;
        // A data folder that does not exist yet, as on a fresh account.
        m_data = m_root + "/data/home";
        setenv("XDG_DATA_HOME", m_data.c_str(), 1);
        setenv("HOME", m_root.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (m_root + "/config").c_str(), 1);
    }
    std::string PrefPath() const { return m_data + "\\Ostrelmark\\Torvi Torvi"; }

    std::string m_root;
    std::string m_data;
};

bool IsFolder(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

TEST_F(PrefFolderTest, WithoutANameTheFolderIsDot)
{
    int mark = LogMark();
    EXPECT_STREQ(PrefFolderGetMainFolder(), ".");
    EXPECT_TRUE(LoggedSince(mark, "Folder name is empty"));
    PrefFolderSetup("", false, nullptr, false);
    EXPECT_TRUE(LoggedSince(mark, "Invalid folder name"));
    EXPECT_STREQ(PrefFolderGetMainFolder(), ".");
}

TEST_F(PrefFolderTest, SetupCreatesMakerAndGameFolders)
{
    const char* folder = PrefFolderSetup("Torvi Torvi", false, nullptr, false);
    EXPECT_EQ(std::string(folder), PrefPath());
    EXPECT_TRUE(IsFolder(m_data + "/Ostrelmark/Torvi Torvi"));
    EXPECT_TRUE(EngFileDirectoryExists(folder));
}

TEST_F(PrefFolderTest, SavedFileLandsInThePreferencesFolder)
{
    PrefFolderSetup("Torvi Torvi", false, nullptr, false);
    const char* path = PrefFolderGetMainFolderWithFileAppended("Settings.dat");
    EXPECT_EQ(std::string(path), PrefPath() + "\\Settings.dat");
    EngFile file;
    ASSERT_TRUE(file.CreateForWriting(path, false));
    ASSERT_TRUE(file.Write("abcd", 4));
    ASSERT_TRUE(file.Close());
    struct stat info;
    ASSERT_EQ(stat((m_data + "/Ostrelmark/Torvi Torvi/Settings.dat").c_str(), &info), 0);
    EXPECT_EQ(info.st_size, 4);
}

TEST_F(PrefFolderTest, FileNameOf127IsKeptAnd128BecomesTemp)
{
    PrefFolderSetup("Torvi Torvi", false, nullptr, false);
    std::string name127(127, 'n');
    EXPECT_EQ(std::string(PrefFolderGetMainFolderWithFileAppended(name127.c_str())), PrefPath() + "\\" + name127);
    std::string name128(128, 'n');
    int mark = LogMark();
    EXPECT_EQ(std::string(PrefFolderGetMainFolderWithFileAppended(name128.c_str())), PrefPath() + "\\Temp.dat");
    EXPECT_TRUE(LoggedSince(mark, "Filename too long"));
    EXPECT_EQ(std::string(PrefFolderGetMainFolderWithFileAppended("")), PrefPath());
    EXPECT_TRUE(LoggedSince(mark, "No file specified"));
}

TEST_F(PrefFolderTest, SubFolderIsCreatedOnRequest)
{
    PrefFolderSetup("Torvi Torvi", false, nullptr, false);
    EXPECT_EQ(std::string(PrefFolderGetSubFolder("Ghosts", false)), PrefPath() + "\\Ghosts");
    EXPECT_FALSE(IsFolder(m_data + "/Ostrelmark/Torvi Torvi/Ghosts"));
    EXPECT_EQ(std::string(PrefFolderGetSubFolder("Ghosts", true)), PrefPath() + "\\Ghosts");
    EXPECT_TRUE(IsFolder(m_data + "/Ostrelmark/Torvi Torvi/Ghosts"));
    int mark = LogMark();
    EXPECT_EQ(std::string(PrefFolderGetSubFolder(nullptr, true)), PrefPath());
    EXPECT_TRUE(LoggedSince(mark, "Invalid sub folder name"));
}

TEST_F(PrefFolderTest, LogGoesToThePreferencesFolder)
{
    PrefFolderSetup("Torvi Torvi", true, nullptr, false);
    EXPECT_EQ(std::string(DebugGetLogFilename()), PrefPath() + "\\LogFile.txt");
    DebugInfo("first line of this run");
    EXPECT_TRUE(EngFileExists((PrefPath() + "\\LogFile.txt").c_str(), false));
}

TEST_F(PrefFolderTest, UnusableDataFolderFallsBackToDot)
{
    // A file where the data folder should be.
    std::string blocker = m_root + "/blocker";
    FILE* f = fopen(blocker.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fclose(f);
    setenv("XDG_DATA_HOME", blocker.c_str(), 1);
    int mark = LogMark();
    EXPECT_STREQ(PrefFolderSetup("Torvi Torvi", false, nullptr, false), ".");
    EXPECT_TRUE(LoggedSince(mark, "Could not create/get directory"));
}

TEST_F(PrefFolderTest, DesktopComesFromUserDirsAndNeverSharesTheFolderBuffer)
{
    std::string desk = m_root + "/Schreibtisch";
    ASSERT_EQ(mkdir(desk.c_str(), 0755), 0);
    ASSERT_EQ(mkdir((m_root + "/config").c_str(), 0755), 0);
    FILE* f = fopen((m_root + "/config/user-dirs.dirs").c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs("# comment\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", f);
    fclose(f);

    const char* folder = PrefFolderSetup("Torvi Torvi", false, nullptr, false);
    std::string before = folder;
    const char* desktop = PrefFolderGetDesktopFolder();
    EXPECT_EQ(std::string(desktop), desk);
    EXPECT_EQ(std::string(folder), before);
    EXPECT_NE(desktop, folder);
}

// A named pipe in place of the desktop setting is not read (it would block start-up): the fallbacks hold.
TEST_F(PrefFolderTest, DesktopFallsBackToHomeDesktopThenPreferences)
{
    ASSERT_EQ(mkdir((m_root + "/config").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo((m_root + "/config/user-dirs.dirs").c_str(), 0600), 0);
    PrefFolderSetup("Torvi Torvi", false, nullptr, false);
    EXPECT_EQ(std::string(PrefFolderGetDesktopFolder()), PrefPath());
    ASSERT_EQ(mkdir((m_root + "/Desktop").c_str(), 0755), 0);
    EXPECT_EQ(std::string(PrefFolderGetDesktopFolder()), m_root + "/Desktop");
}

TEST_F(PrefFolderTest, ApplicationDataSubPathsAreBounded)
{
    char out[ENG_PREF_PATH_SIZE];
    ASSERT_TRUE(EngMiscGetUserApplicationDataSubPath("Maker", out, sizeof out));
    EXPECT_EQ(std::string(out), m_data + "\\Maker");
    EXPECT_FALSE(EngMiscGetUserApplicationDataSubPath("Maker", out, 8));
    EXPECT_FALSE(EngMiscGetUserApplicationDataSubPath("", out, sizeof out));
    ASSERT_TRUE(EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded("A", "B", out, sizeof out));
    EXPECT_TRUE(IsFolder(m_data + "/A/B"));
}

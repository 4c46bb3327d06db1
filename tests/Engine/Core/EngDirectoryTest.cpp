#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "Engine/Core/EngDirectory.h"
#include "Engine/Core/EngFile.h"
#include "EngFileTestSupport.h"

namespace {

class DirListTest : public TempFolderTest {
protected:
    void Touch(const char* name)
    {
        EngFile file;
        ASSERT_TRUE(file.CreateForWriting((m_folder + "/" + name).c_str(), false));
    }
    std::vector<std::string> ListAll(DirList& list)
    {
        std::vector<std::string> names;
        EXPECT_TRUE(list.PrepareToGetFilenamesInDir());
        for (const char* name = list.GetNextFilenameInDir(); name[0]; name = list.GetNextFilenameInDir())
            names.push_back(name);
        list.CleanupAfterGettingFilenamesInDir();
        return names;
    }
};

bool OnlyDrivers(int, const char* name, const char*, void* user_data)
{
    ++*(int*)user_data;
    size_t n = strlen(name);
    return n > 4 && strcmp(name + n - 4, ".drv") == 0;
}

bool RejectAll(int, const char*, const char*, void*)
{
    return false;
}

} // namespace

TEST_F(DirListTest, NamesComeSorted)
{
    for (const char* name : {"zeta.drv", "Alpha.drv", "mid.csc", "beta.drv"})
        Touch(name);
    DirList list;
    ASSERT_TRUE(list.OpenDir(m_folder.c_str(), nullptr, nullptr));
    std::vector<std::string> expected = {"Alpha.drv", "beta.drv", "mid.csc", "zeta.drv"};
    EXPECT_EQ(ListAll(list), expected);
    // A second pass gives the same list again.
    EXPECT_EQ(ListAll(list), expected);
}

TEST_F(DirListTest, FilterSeesEveryEntryAndPicksSome)
{
    for (const char* name : {"a.drv", "b.csc", "c.drv"})
        Touch(name);
    int calls = 0;
    DirList list;
    ASSERT_TRUE(list.OpenDir(m_folder.c_str(), OnlyDrivers, &calls));
    std::vector<std::string> expected = {"a.drv", "c.drv"};
    EXPECT_EQ(ListAll(list), expected);
    EXPECT_EQ(calls, 3);
}

TEST_F(DirListTest, RejectingFilterEndsAtOnce)
{
    Touch("a.drv");
    DirList list;
    ASSERT_TRUE(list.OpenDir(m_folder.c_str(), RejectAll, nullptr));
    ASSERT_TRUE(list.PrepareToGetFilenamesInDir());
    EXPECT_STREQ(list.GetNextFilenameInDir(), "");
    EXPECT_STREQ(list.GetNextFilenameInDir(), "");
    list.CleanupAfterGettingFilenamesInDir();
}

TEST_F(DirListTest, EmptyFolderListsNothingUnlessParentIncluded)
{
    DirList list;
    ASSERT_TRUE(list.OpenDir(m_folder.c_str(), nullptr, nullptr));
    EXPECT_TRUE(ListAll(list).empty());
    list.SetIncludeParentEntry(true);
    std::vector<std::string> parent = {".."};
    EXPECT_EQ(ListAll(list), parent);
}

TEST_F(DirListTest, CallsOutOfOrderAreRefused)
{
    DirList list;
    int mark = LogMark();
    EXPECT_FALSE(list.PrepareToGetFilenamesInDir());
    EXPECT_TRUE(LoggedSince(mark, "Directory not opened"));
    EXPECT_STREQ(list.GetNextFilenameInDir(), "");
    EXPECT_TRUE(LoggedSince(mark, "Call DirList::PrepareToGetFilenamesInDir() first."));
    EXPECT_FALSE(list.OpenDir((m_folder + "/missing").c_str(), nullptr, nullptr));
    EXPECT_TRUE(LoggedSince(mark, "Directory does not exist"));
    EXPECT_FALSE(list.OpenDir("", nullptr, nullptr));
    EXPECT_TRUE(LoggedSince(mark, "Invalid Path Passed In"));
    ASSERT_TRUE(list.OpenDir(m_folder.c_str(), nullptr, nullptr));
    ASSERT_TRUE(list.PrepareToGetFilenamesInDir());
    EXPECT_FALSE(list.PrepareToGetFilenamesInDir());
    EXPECT_TRUE(LoggedSince(mark, "Error - get filenames in progress"));
}

TEST_F(DirListTest, NamesAreGivenInTheNarrowCodePage)
{
    std::string utf8_name = m_folder + "/J\xC3\xA4rvi.drv";
    FILE* f = fopen(utf8_name.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fclose(f);
    // Not representable in Windows-1252: left out, since nothing could open it by that name.
    f = fopen((m_folder + "/\xD0\x96.drv").c_str(), "w");
    ASSERT_NE(f, nullptr);
    fclose(f);
    DirList list;
    ASSERT_TRUE(list.OpenDir(m_folder.c_str(), nullptr, nullptr));
    std::vector<std::string> expected = {std::string("J\xE4rvi.drv")};
    EXPECT_EQ(ListAll(list), expected);
}

TEST_F(DirListTest, BackslashPathsWork)
{
    std::string sub = m_folder + "/Data";
    ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
    Touch("Data/one.dat");
    DirList list;
    ASSERT_TRUE(list.OpenDir((m_folder + "\\Data").c_str(), nullptr, nullptr));
    std::vector<std::string> expected = {"one.dat"};
    EXPECT_EQ(ListAll(list), expected);
}

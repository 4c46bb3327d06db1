#include <gtest/gtest.h>

#include <climits>
#include <fcntl.h>
#include <functional>
#include <future>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngTextFile.h"
#include "EngFileTestSupport.h"

namespace {

struct Record {
    float version;
    EngInt32 values[3];
};

class EngFileTest : public TempFolderTest {
protected:
    void WriteText(const char* name, const char* text)
    {
        EngFile file;
        ASSERT_TRUE(file.CreateForWriting(Path(name).c_str(), true));
        ASSERT_TRUE(file.Write(text, (unsigned)strlen(text)));
        ASSERT_TRUE(file.Close());
    }
};

} // namespace

TEST_F(EngFileTest, BinaryRecordWrittenAndReadBack)
{
    Record out = {1.5f, {7, -8, 123456}};
    EngFile writer;
    ASSERT_TRUE(writer.CreateForWriting(Path("a.dat").c_str(), false));
    ASSERT_TRUE(writer.Write(&out, sizeof out));
    ASSERT_TRUE(writer.Close());

    EXPECT_EQ(EngFileGetFileSize(Path("a.dat").c_str(), false), sizeof(Record));
    Record in = {};
    EngFile reader;
    ASSERT_TRUE(reader.OpenForReading(Path("a.dat").c_str(), false, true));
    ASSERT_TRUE(reader.Read(&in, sizeof in, true));
    EXPECT_EQ(0, memcmp(&in, &out, sizeof in));
    // At the end nothing more comes, and a caller that expected that is not logged at.
    int mark = LogMark();
    EXPECT_FALSE(reader.Read(&in, sizeof in, false));
    EXPECT_EQ(MessagesSince(mark), 0);
}

TEST_F(EngFileTest, ShortRecordReportsBothCounts)
{
    WriteText("short.dat", "abc");
    EngFile file;
    ASSERT_TRUE(file.OpenForReading(Path("short.dat").c_str(), false, true));
    char buffer[8] = {};
    int mark = LogMark();
    EXPECT_FALSE(file.Read(buffer, 8, false));
    EXPECT_TRUE(LoggedSince(mark, "Problem reading from file [ read 3 not 8 ]"));
}

TEST_F(EngFileTest, ReadRefusesZeroAndNegativeSizes)
{
    WriteText("r.txt", "hello");
    EngFile file;
    ASSERT_TRUE(file.OpenForReading(Path("r.txt").c_str(), false, true));
    char guard[4] = {'x', 'x', 'x', 'x'};
    EXPECT_FALSE(file.Read(guard, 0, true));
    EXPECT_FALSE(file.Read(guard, -5, true));
    EXPECT_FALSE(file.Read(nullptr, 2, true));
    EXPECT_EQ(guard[0], 'x');
    // The refused reads took nothing from the stream.
    ASSERT_TRUE(file.Read(guard, 2, true));
    EXPECT_EQ(0, memcmp(guard, "he", 2));
}

TEST_F(EngFileTest, AppendAddsToTheEnd)
{
    WriteText("log.txt", "one\n");
    EngFile file;
    ASSERT_TRUE(file.OpenForAppending(Path("log.txt").c_str(), true));
    ASSERT_TRUE(file.Printf("%s %d\n", "two", 2));
    ASSERT_TRUE(file.Close());
    ASSERT_TRUE(file.OpenForReading(Path("log.txt").c_str(), true, true));
    char text[11] = {};
    ASSERT_TRUE(file.Read(text, 10, true));
    EXPECT_STREQ(text, "one\ntwo 2\n");
}

TEST_F(EngFileTest, PrintfOfEmptyTextSucceedsWithoutWriting)
{
    EngFile file;
    ASSERT_TRUE(file.CreateForWriting(Path("e.txt").c_str(), true));
    EXPECT_TRUE(file.Printf("%s", ""));
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(EngFileGetFileSize(Path("e.txt").c_str(), true), 0u);
}

TEST_F(EngFileTest, PrintfCutsTextAtItsBuffer)
{
    std::string long_text(5000, 'q');
    EngFile file;
    ASSERT_TRUE(file.CreateForWriting(Path("p.txt").c_str(), true));
    EXPECT_TRUE(file.Printf("%s", long_text.c_str()));
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(EngFileGetFileSize(Path("p.txt").c_str(), true), 2057u);
}

TEST_F(EngFileTest, GetSizeKeepsTheReadPosition)
{
    WriteText("s.txt", "0123456789");
    EngFile file;
    ASSERT_TRUE(file.OpenForReading(Path("s.txt").c_str(), false, true));
    char two[2];
    ASSERT_TRUE(file.Read(two, 2, true));
    EXPECT_EQ(file.GetSize(), 10u);
    char next;
    ASSERT_TRUE(file.Read(&next, 1, true));
    EXPECT_EQ(next, '2');
    ASSERT_TRUE(file.Rewind());
    ASSERT_TRUE(file.Read(&next, 1, true));
    EXPECT_EQ(next, '0');
    ASSERT_TRUE(file.MoveToEnd());
    EXPECT_FALSE(file.Read(&next, 1, false));
}

TEST_F(EngFileTest, WrongDirectionIsRefused)
{
    WriteText("w.txt", "abc");
    EngFile file;
    int mark = LogMark();
    EXPECT_FALSE(file.Write("x", 1));
    EXPECT_TRUE(LoggedSince(mark, "File is not open"));
    ASSERT_TRUE(file.OpenForReading(Path("w.txt").c_str(), false, true));
    EXPECT_FALSE(file.Write("x", 1));
    EXPECT_TRUE(LoggedSince(mark, "File is not open for writing"));
    ASSERT_TRUE(file.CreateForWriting(Path("w2.txt").c_str(), false));
    EXPECT_TRUE(LoggedSince(mark, "File was already opened"));
    char c;
    EXPECT_FALSE(file.Read(&c, 1, true));
    EXPECT_TRUE(LoggedSince(mark, "File is not open for reading"));
}

TEST_F(EngFileTest, MissingFileWithErrorsSilencedLogsNothing)
{
    int mark = LogMark();
    EXPECT_FALSE(EngFileExists(Path("nothing.dat").c_str(), false));
    EngFile file;
    EXPECT_FALSE(file.OpenForReadingQuietly(Path("nothing.dat").c_str(), false));
    EXPECT_FALSE(file.OpenForReading(Path("nothing.dat").c_str(), false, false));
    EXPECT_FALSE(EngFileDelete(Path("nothing.dat").c_str(), false));
    EXPECT_EQ(MessagesSince(mark), 0);

    EXPECT_FALSE(EngFileExists(Path("nothing.dat").c_str(), true));
    EXPECT_TRUE(LoggedSince(mark, "File not found:"));
    EXPECT_FALSE(file.OpenForReading(Path("nothing.dat").c_str(), false, true));
    EXPECT_TRUE(LoggedSince(mark, "Could not open file <"));
}

TEST_F(EngFileTest, OpenForWritingFailureStaysOutOfTheLog)
{
    EngFile file;
    int mark = LogMark();
    EXPECT_FALSE(file.OpenForWriting(Path("missing/LogFile.txt").c_str(), true));
    EXPECT_EQ(MessagesSince(mark), 0);
    EXPECT_FALSE(file.CreateForWriting(Path("missing/x.dat").c_str(), false));
    EXPECT_TRUE(LoggedSince(mark, "Could not create file <"));
}

TEST_F(EngFileTest, ExistsOnlyForRegularFiles)
{
    WriteText("f.txt", "x");
    EXPECT_TRUE(EngFileExists(Path("f.txt").c_str(), false));
    EXPECT_FALSE(EngFileExists(m_folder.c_str(), false));
    EngFile file;
    EXPECT_FALSE(file.OpenForReadingQuietly(m_folder.c_str(), false));
    EXPECT_TRUE(EngFileDirectoryExists(m_folder.c_str()));
    EXPECT_FALSE(EngFileDirectoryExists(Path("f.txt").c_str()));
}

// A named pipe with nobody at the other end would block an open for ever: every way in refuses it at once.
// Should an open block, the pipe is opened from this side too, which frees it and fails the test.
TEST_F(EngFileTest, NamedPipeIsRefusedWithoutBlocking)
{
    std::string pipe = Path("Resolution.dat");
    ASSERT_EQ(0, mkfifo(pipe.c_str(), 0600));
    const std::function<bool()> attempts[] = {
        [&] { return EngFileExists(pipe.c_str(), false); },
        [&] { EngFile file; return file.OpenForReadingQuietly(pipe.c_str(), false); },
        [&] { EngFile file; return file.OpenForWriting(pipe.c_str(), false); },
        [&] { EngFile file; return file.OpenForAppending(pipe.c_str(), true); },
        [&] { return EngFileGetFileSize(pipe.c_str(), false) != 0; },
        [&] { TextFile file; return file.Open(pipe.c_str(), TEXTFILE_MODE_READ, 0, 0) == TEXTFILE_OK; },
        [&] { TextFile file; return file.Open(pipe.c_str(), TEXTFILE_MODE_APPEND, 0, 0) == TEXTFILE_OK; },
    };
    for (const auto& attempt : attempts) {
        auto result = std::async(std::launch::async, attempt);
        bool blocked = result.wait_for(std::chrono::seconds(2)) == std::future_status::timeout;
        if (blocked) {
            int unblock = open(pipe.c_str(), O_RDWR);
            result.wait();
            close(unblock);
        }
        EXPECT_FALSE(blocked);
        EXPECT_FALSE(result.get());
    }
}

TEST_F(EngFileTest, DeleteRemovesTheFile)
{
    WriteText("d.txt", "x");
    EXPECT_TRUE(EngFileDelete(Path("d.txt").c_str(), true));
    EXPECT_FALSE(EngFileExists(Path("d.txt").c_str(), false));
    int mark = LogMark();
    EXPECT_FALSE(EngFileDelete(Path("d.txt").c_str(), true));
    EXPECT_TRUE(LoggedSince(mark, "Deletion failed."));
}

TEST_F(EngFileTest, MoveRefusesExistingTargetAndMissingSource)
{
    WriteText("from.txt", "from");
    WriteText("to.txt", "to");
    int mark = LogMark();
    EXPECT_FALSE(EngFileMoveFile(Path("from.txt").c_str(), Path("to.txt").c_str()));
    EXPECT_TRUE(LoggedSince(mark, "exists"));
    EXPECT_TRUE(EngFileExists(Path("from.txt").c_str(), false));
    EXPECT_EQ(EngFileGetFileSize(Path("to.txt").c_str(), false), 2u);

    EXPECT_FALSE(EngFileMoveFile(Path("none.txt").c_str(), Path("new.txt").c_str()));
    EXPECT_TRUE(LoggedSince(mark, "does not exist"));
    EXPECT_FALSE(EngFileMoveFile(nullptr, Path("new.txt").c_str()));
    EXPECT_TRUE(LoggedSince(mark, "Invalid parameters"));
}

TEST_F(EngFileTest, MoveWithinOneFileSystem)
{
    WriteText("from.txt", "payload");
    ASSERT_TRUE(EngFileMoveFile(Path("from.txt").c_str(), Path("moved.txt").c_str()));
    EXPECT_FALSE(EngFileExists(Path("from.txt").c_str(), false));
    EXPECT_EQ(EngFileGetFileSize(Path("moved.txt").c_str(), false), 7u);
}

TEST_F(EngFileTest, MoveAcrossFileSystemsCopiesThenDeletes)
{
    std::string other = MakeTempFolder("torvi-core", "/dev/shm/");
    if (other.empty())
        GTEST_SKIP() << "no second file system";
    struct stat a, b;
    ASSERT_EQ(stat(other.c_str(), &a), 0);
    ASSERT_EQ(stat(m_folder.c_str(), &b), 0);
    if (a.st_dev == b.st_dev) {
        rmdir(other.c_str());
        GTEST_SKIP() << "/dev/shm is on the same file system";
    }
    std::string source = other + "/big.dat";
    std::string content(200000, 'z');
    content[199999] = 'e';
    EngFile file;
    ASSERT_TRUE(file.CreateForWriting(source.c_str(), false));
    ASSERT_TRUE(file.Write(content.data(), (unsigned)content.size()));
    ASSERT_TRUE(file.Close());

    bool moved = EngFileMoveFile(source.c_str(), Path("big.dat").c_str());
    bool source_left = EngFileExists(source.c_str(), false);
    unlink(source.c_str());
    rmdir(other.c_str());
    ASSERT_TRUE(moved);
    EXPECT_FALSE(source_left);
    std::string back(content.size(), 0);
    ASSERT_TRUE(file.OpenForReading(Path("big.dat").c_str(), false, true));
    ASSERT_TRUE(file.Read(back.data(), (int)back.size(), true));
    EXPECT_EQ(back, content);
}

TEST_F(EngFileTest, ReplaceSwapsInTheNewFile)
{
    WriteText("save.dat", "old");
    WriteText("save.tmp", "newer");
    ASSERT_TRUE(EngFileReplaceFile(Path("save.tmp").c_str(), Path("save.dat").c_str()));
    EXPECT_FALSE(EngFileExists(Path("save.tmp").c_str(), false));
    EXPECT_EQ(EngFileGetFileSize(Path("save.dat").c_str(), false), 5u);
}

TEST_F(EngFileTest, ReadWholeGivesTheContentOrNothingPastTheLimit)
{
    WriteText("whole.dat", "0123456789");
    unsigned size = 99;
    unsigned char* data = EngFileReadWhole(Path("whole.dat").c_str(), 10, "test", &size);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(0, memcmp(data, "0123456789", 10));
    EngFree(data, true, "test");

    EXPECT_EQ(EngFileReadWhole(Path("whole.dat").c_str(), 9, "test", &size), nullptr) << "one byte too long";
    EXPECT_EQ(size, 0u);
    EngFile empty;
    ASSERT_TRUE(empty.CreateForWriting(Path("empty.dat").c_str(), false));
    ASSERT_TRUE(empty.Close());
    EXPECT_EQ(EngFileReadWhole(Path("empty.dat").c_str(), 10, "test", &size), nullptr);
    int mark = LogMark();
    EXPECT_EQ(EngFileReadWhole(Path("none.dat").c_str(), 10, "test", &size), nullptr);
    EXPECT_GT(MessagesSince(mark), 0) << "a missing file is reported";
}

TEST_F(EngFileTest, CreateDirectoryMakesItOnceAndAcceptsExisting)
{
    std::string sub = Path("Sub");
    int mark = LogMark();
    EXPECT_TRUE(EngFileCreateDirectory(sub.c_str(), true));
    EXPECT_TRUE(EngFileDirectoryExists(sub.c_str()));
    EXPECT_TRUE(EngFileCreateDirectory(sub.c_str(), true));
    EXPECT_EQ(MessagesSince(mark), 0);
    EXPECT_FALSE(EngFileCreateDirectory(Path("no/such/parent").c_str(), true));
    EXPECT_TRUE(LoggedSince(mark, "Directory was not created"));
}

TEST_F(EngFileTest, BackslashesSeparateFolders)
{
    std::string sub = Path("Data");
    ASSERT_TRUE(EngFileCreateDirectory(sub.c_str(), true));
    std::string windows_name = m_folder + "\\Data\\1200.tga";
    EngFile file;
    ASSERT_TRUE(file.CreateForWriting(windows_name.c_str(), false));
    ASSERT_TRUE(file.Write("tga", 3));
    ASSERT_TRUE(file.Close());
    EXPECT_TRUE(EngFileExists(Path("Data/1200.tga").c_str(), false));
}

TEST_F(EngFileTest, NarrowNamesAreUtf8OnDisk)
{
    // "Björn€.drv" in Windows-1252.
    const char narrow[] = {'B', 'j', (char)0xF6, 'r', 'n', (char)0x80, '.', 'd', 'r', 'v', 0};
    std::string name = m_folder + "/" + narrow;
    EngFile file;
    ASSERT_TRUE(file.CreateForWriting(name.c_str(), false));
    ASSERT_TRUE(file.Close());
    struct stat info;
    EXPECT_EQ(stat(Path("Bj\xC3\xB6rn\xE2\x82\xAC.drv").c_str(), &info), 0);
    EXPECT_TRUE(EngFileExists(name.c_str(), false));
}

TEST(EngFilePaths, RelativeNamesLieBesideTheProgram)
{
    const char* folder = EngFileGetProgramFolder();
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    ASSERT_GT(n, 0);
    exe[n] = 0;
    *strrchr(exe, '/') = 0;
    EXPECT_STREQ(folder, exe);

    char path[PATH_MAX];
    ASSERT_TRUE(EngFileGetSystemPath("Languages\\English.txt", path, sizeof path));
    EXPECT_EQ(std::string(path), std::string(exe) + "/Languages/English.txt");
    ASSERT_TRUE(EngFileGetSystemPath("/abs/x.txt", path, sizeof path));
    EXPECT_STREQ(path, "/abs/x.txt");
    EXPECT_FALSE(EngFileGetSystemPath("", path, sizeof path));
    EXPECT_FALSE(EngFileGetSystemPath("Languages\\English.txt", path, 8));
    EXPECT_STREQ(path, "");
}

TEST(EngFilePaths, RelativeFileIsFoundWhateverTheWorkingFolder)
{
    const char* name = "core-files-relative.tmp";
    EngFile file;
    ASSERT_TRUE(file.CreateForWriting(name, true));
    ASSERT_TRUE(file.Printf("here"));
    ASSERT_TRUE(file.Close());
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir("/"), 0);
    bool found = EngFileExists(name, false);
    unsigned size = EngFileGetFileSize(name, true);
    bool deleted = EngFileDelete(name, true);
    ASSERT_EQ(chdir(cwd), 0);
    EXPECT_TRUE(found);
    EXPECT_EQ(size, 4u);
    EXPECT_TRUE(deleted);
}

TEST(EngFileErrors, LastErrorNamesCodeAndText)
{
    int mark = LogMark();
    EngFileOutputLastError(ENG_FUNC, "Saving", true, 2, false);
    EXPECT_TRUE(LoggedSince(mark, "Saving: Error 0x2: No such file or directory"));
    EngFileOutputLastError(nullptr, "Context", true, 13, false);
    EXPECT_TRUE(LoggedSince(mark, "Error 0xd: Permission denied"));
    EngFileOutputLastError(ENG_FUNC, nullptr, true, 99999, false);
    EXPECT_TRUE(LoggedSince(mark, ": Unknown error 0x1869f"));
    int before_alternate = LogMark();
    EngFileOutputLastError(ENG_FUNC, "Alt", true, 2, true);
    EXPECT_EQ(MessagesSince(before_alternate), 0);
}

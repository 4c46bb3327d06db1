#include <gtest/gtest.h>

#include "Engine/Core/EngTextFile.h"
#include "EngFileTestSupport.h"
#include "Support/FilesForTests.h"

#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class TextFileTest : public TempFolderTest
{
protected:

    std::string WriteBytes(const char* name, const std::string& bytes) const
    {
        std::string path = Path(name);
        std::ofstream out(path, std::ios::binary);
        out << bytes;
        return path;
    }

    // Every line of a file, read with detection; flags collects the default-character flag per line.
    static std::vector<std::string> ReadAll(const std::string& path, int buffer_size = 0,
                                            std::vector<bool>* flags = nullptr, TextFile* reuse = nullptr)
    {
        TextFile own;
        TextFile& file = reuse ? *reuse : own;
        std::vector<std::string> lines;
        if (file.Open(path.c_str(), TEXTFILE_MODE_READ, TEXTFILE_ENCODING_DETECT, buffer_size) != TEXTFILE_OK)
            return lines;
        char* line = nullptr;
        bool used_default = false;
        while (file.ReadLine(&line, &used_default) == TEXTFILE_OK) {
            lines.push_back(line);
            if (flags)
                flags->push_back(used_default);
        }
        return lines;
    }

};

typedef std::vector<std::string> Lines;

// The bytes of a literal, NULs included.
template <size_t N>
std::string Bytes(const char (&literal)[N])
{
    return std::string(literal, N - 1);
}

TEST_F(TextFileTest, EmptyFileEndsAtOnce)
{
    std::string path = WriteBytes("empty.txt", "");
    TextFile file;
    ASSERT_EQ(TEXTFILE_OK, file.Open(path.c_str(), TEXTFILE_MODE_READ, TEXTFILE_ENCODING_DETECT, 0));
    char* line = nullptr;
    EXPECT_EQ(TEXTFILE_EOF, file.ReadLine(&line, nullptr));
    EXPECT_EQ(TEXTFILE_EOF, file.ReadLine(&line, nullptr));
}

TEST_F(TextFileTest, LineEndsAndLastLineWithoutLineFeed)
{
    EXPECT_EQ((Lines{"one", "two"}), ReadAll(WriteBytes("a.txt", "one\ntwo")));
    EXPECT_EQ((Lines{"one", "", "two"}), ReadAll(WriteBytes("b.txt", "one\r\n\r\ntwo\r\n")));
    // Only the carriage return beside the line feed goes.
    EXPECT_EQ((Lines{"A\r"}), ReadAll(WriteBytes("c.txt", "A\r\r\n")));
}

TEST_F(TextFileTest, CarriageReturnAtTheEndOfABufferFillIsDropped)
{
    std::string path = WriteBytes("split.txt", "abc\r\nxyz\r\nlonger line than the buffer\n");
    EXPECT_EQ((Lines{"abc", "xyz", "longer line than the buffer"}), ReadAll(path, 4));
}

TEST_F(TextFileTest, MarksChooseTheEncodingAndBrokenMarksReadAsAnsi)
{
    TextFile file;
    EXPECT_EQ((Lines{"\xEF\xBB" "A"}), ReadAll(WriteBytes("broken.txt", "\xEF\xBB" "A\n"), 0, nullptr, &file));
    EXPECT_EQ(TEXTFILE_ENCODING_ANSI, file.GetEncoding());
    EXPECT_EQ((Lines{"\xFF"}), ReadAll(WriteBytes("ff.txt", "\xFF"), 0, nullptr, &file));
    EXPECT_EQ(TEXTFILE_ENCODING_ANSI, file.GetEncoding());
    // A UTF-8 file without a mark is taken byte for byte.
    EXPECT_EQ((Lines{"\xC3\xA9"}), ReadAll(WriteBytes("nomark.txt", "\xC3\xA9\n"), 0, nullptr, &file));
    ReadAll(WriteBytes("be.txt", std::string("\xFE\xFF\0A", 4)), 0, nullptr, &file);
    EXPECT_EQ(TEXTFILE_ENCODING_UTF16BE, file.GetEncoding());
}

TEST_F(TextFileTest, AnsiEncodingAskedForSkipsDetection)
{
    std::string path = WriteBytes("raw.txt", "\xEF\xBB\xBFx\n");
    TextFile file;
    ASSERT_EQ(TEXTFILE_OK, file.Open(path.c_str(), TEXTFILE_MODE_READ, TEXTFILE_ENCODING_ANSI, 0));
    char* line = nullptr;
    ASSERT_EQ(TEXTFILE_OK, file.ReadLine(&line, nullptr));
    EXPECT_STREQ("\xEF\xBB\xBFx", line);
}

TEST_F(TextFileTest, Utf8AboveAsciiBecomesWindows1252)
{
    std::vector<bool> flags;
    // e-acute, euro sign, then a four-byte character that the code page lacks.
    std::string path = WriteBytes("u8.txt", "\xEF\xBB\xBF" "caf\xC3\xA9 \xE2\x82\xAC\n" "a\xF0\x9F\x98\x80" "b\n");
    EXPECT_EQ((Lines{"caf\xE9 \x80", "a?b"}), ReadAll(path, 0, &flags));
    EXPECT_EQ((std::vector<bool>{false, true}), flags);

    TextFile file;
    ASSERT_TRUE(file.SetDefaultChar("#"));
    EXPECT_EQ((Lines{"caf\xE9 \x80", "a#b"}), ReadAll(path, 0, nullptr, &file));
}

TEST_F(TextFileTest, MalformedUtf8IsReplacedNotTrusted)
{
    std::vector<bool> flags;
    // A cut lead byte before the line end, a stray continuation byte, an overlong form, and a sequence cut
    // by the end of the file.
    std::string path = WriteBytes("bad8.txt", "\xEF\xBB\xBF" "x\xC3\n" "y\x80z\n" "\xC0\xAFk\n" "\xE2\x82");
    EXPECT_EQ((Lines{"x?", "y?z", "??k", "??"}), ReadAll(path, 0, &flags));
    EXPECT_EQ((std::vector<bool>{true, true, true, true}), flags);
}

TEST_F(TextFileTest, BrokenUtf16IsReplacedNotTrusted)
{
    std::vector<bool> flags;
    // Little-endian: "A", a lone high surrogate, line feed, then "B" and an odd last byte.
    std::string le("\xFF\xFE" "A\0" "\x00\xD8" "\n\0" "B\0" "C", 11);
    EXPECT_EQ((Lines{"A?", "B?"}), ReadAll(WriteBytes("le.txt", le), 0, &flags));
    EXPECT_EQ((std::vector<bool>{true, true}), flags);
    // Big-endian with CR LF line ends.
    std::string be("\xFE\xFF" "\0A\0\r\0\n" "\0B", 10);
    EXPECT_EQ((Lines{"A", "B"}), ReadAll(WriteBytes("be.txt", be)));
}

struct EncodingCase
{
    const char* name;
    int encoding;
    std::string mark;
    std::string e_acute; // how 0xE9 looks in the file
};

class TextFileRoundTrip : public TextFileTest, public ::testing::WithParamInterface<EncodingCase>
{
};

TEST_P(TextFileRoundTrip, WrittenLinesReadBackWithMarkAndCharactersAbove127)
{
    const EncodingCase& param = GetParam();
    std::string path = Path("round.txt");
    const std::string first = "Gr\xFC\xDF" "e \x80 \xE9";
    {
        TextFile file;
        ASSERT_EQ(TEXTFILE_OK, file.Open(path.c_str(), TEXTFILE_MODE_CREATE, param.encoding, 8));
        EXPECT_EQ(TEXTFILE_OK, file.WriteString(first.c_str()));
        EXPECT_EQ(TEXTFILE_OK, file.WriteString("\r\n"));
        EXPECT_EQ(TEXTFILE_OK, file.WriteString("second"));
        EXPECT_EQ(TEXTFILE_OK, file.WriteChar('\n'));
        EXPECT_EQ(TEXTFILE_OK, file.Close());
    }
    std::string bytes = ReadWhole(path);
    EXPECT_EQ(param.mark, bytes.substr(0, param.mark.size()));
    EXPECT_NE(std::string::npos, bytes.find(param.e_acute, param.mark.size()));

    TextFile reader;
    EXPECT_EQ((Lines{first, "second"}), ReadAll(path, 0, nullptr, &reader));
    EXPECT_EQ(param.encoding, reader.GetEncoding());
}

INSTANTIATE_TEST_SUITE_P(AllEncodings, TextFileRoundTrip,
                         ::testing::Values(EncodingCase{"Ansi", TEXTFILE_ENCODING_ANSI, "", "\xE9"},
                                           EncodingCase{"Utf16LittleEndian", TEXTFILE_ENCODING_UTF16LE, "\xFF\xFE", std::string("\xE9\0", 2)},
                                           EncodingCase{"Utf16BigEndian", TEXTFILE_ENCODING_UTF16BE, "\xFE\xFF", std::string("\0\xE9", 2)},
                                           EncodingCase{"Utf8", TEXTFILE_ENCODING_UTF8, "\xEF\xBB\xBF", "\xC3\xA9"}),
                         [](const ::testing::TestParamInfo<EncodingCase>& info) { return std::string(info.param.name); });

TEST(TextFileGrowableBuffer, GrowsInWholeKilobytesAndKeepsItsContent)
{
    TextFileGrowableBuffer buffer;
    ASSERT_TRUE(buffer.Append("abc", 3));
    EXPECT_EQ(1024u, buffer.GetCapacity());
    std::string big(1500, 'x');
    ASSERT_TRUE(buffer.Append(big.data(), (unsigned)big.size()));
    EXPECT_EQ(2048u, buffer.GetCapacity());
    EXPECT_EQ(1503u, buffer.GetLength());
    EXPECT_EQ("abcx", std::string((const char*)buffer.GetData(), 4));
    buffer.SetLength(1);
    ASSERT_TRUE(buffer.Reserve(2048)); // fits: nothing moves
    EXPECT_EQ(2048u, buffer.GetCapacity());
    EXPECT_EQ(1u, buffer.GetLength());
    // Past its capacity it at least doubles, so a long line costs linear time, not quadratic.
    ASSERT_TRUE(buffer.Reserve(2049));
    EXPECT_EQ(4096u, buffer.GetCapacity());
    ASSERT_TRUE(buffer.Reserve(100000));
    EXPECT_EQ(100352u, buffer.GetCapacity());
    ASSERT_TRUE(buffer.Reserve(100353));
    EXPECT_EQ(200704u, buffer.GetCapacity());
    EXPECT_EQ("a", std::string((const char*)buffer.GetData(), 1));
}

// An editor may save any file with a mark and an empty first line.
TEST_F(TextFileTest, EmptyFirstLineReadsInEveryEncoding)
{
    const std::string cases[] = {
        Bytes("\xEF\xBB\xBF\r\nA=1\r\n"),
        Bytes("\xFF\xFE\r\0\n\0A\0=\0" "1\0"),
        Bytes("\xFE\xFF\0\r\0\n\0A\0=\0" "1"),
        Bytes("\xEF\xBB\xBF"),
        Bytes("\xFF\xFE\n\0"),
    };
    const Lines expected[] = {{"", "A=1"}, {"", "A=1"}, {"", "A=1"}, {}, {""}};
    for (size_t i = 0; i < std::size(cases); i++)
        EXPECT_EQ(expected[i], ReadAll(WriteBytes("first.txt", cases[i]))) << "case " << i;
}

// Nobody reads a line of megabytes: the reader stops collecting one character past the longest line it
// hands out, skips the rest of it, and the next line reads as usual.
TEST_F(TextFileTest, OverlongLinesAreCutJustPastTheLimitAndReadingGoesOn)
{
    const unsigned cut = TEXTFILE_MAX_LINE_LENGTH + 1;
    std::string huge(5u << 20, 'x');
    std::string units;
    for (char c : huge.substr(0, 2 * cut))
        units += std::string{c, '\0'};
    const std::string files[] = {
        huge + "\nA=1\n",
        "\xEF\xBB\xBF" + huge + "\r\nA=1",
        Bytes("\xFF\xFE") + units + Bytes("\n\0A\0=\0" "1\0"),
    };
    for (const std::string& bytes : files) {
        Lines lines = ReadAll(WriteBytes("long.txt", bytes));
        ASSERT_EQ(2u, lines.size());
        EXPECT_EQ(cut, lines[0].size());
        EXPECT_EQ(std::string::npos, lines[0].find_first_not_of('x'));
        EXPECT_EQ("A=1", lines[1]);
    }
}

TEST_F(TextFileTest, AppendWritesTheMarkOnlyIntoAnEmptyFile)
{
    std::string path = Path("append.txt");
    TextFile file;
    ASSERT_EQ(TEXTFILE_OK, file.Open(path.c_str(), TEXTFILE_MODE_APPEND, TEXTFILE_ENCODING_UTF8, 0));
    file.WriteString("a\n");
    file.Close();
    ASSERT_EQ(TEXTFILE_OK, file.Open(path.c_str(), TEXTFILE_MODE_APPEND, TEXTFILE_ENCODING_UTF8, 0));
    file.WriteString("b\n");
    file.Close();
    EXPECT_EQ("\xEF\xBB\xBF" "a\nb\n", ReadWhole(path));

    // Creating again truncates; encoding 0 writes ANSI.
    ASSERT_EQ(TEXTFILE_OK, file.Open(path.c_str(), TEXTFILE_MODE_CREATE, TEXTFILE_ENCODING_DETECT, 0));
    EXPECT_EQ(TEXTFILE_ENCODING_ANSI, file.GetEncoding());
    file.WriteString("c");
    file.Close();
    EXPECT_EQ("c", ReadWhole(path));
}

TEST_F(TextFileTest, OpenFailuresAreReportedAndLeaveTheFileClosed)
{
    int mark = LogMark();
    TextFile file;
    EXPECT_EQ(TEXTFILE_ERROR, file.Open(Path("missing.txt").c_str(), TEXTFILE_MODE_READ, 0, 0));
    EXPECT_TRUE(LoggedSince(mark, "OpenFileError ("));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(TEXTFILE_ERROR, file.Open(Path("no/such/dir.txt").c_str(), TEXTFILE_MODE_CREATE, 0, 0));
    EXPECT_TRUE(LoggedSince(mark, "OpenFileForWritingError ("));
    char* line = nullptr;
    EXPECT_EQ(TEXTFILE_EOF, file.ReadLine(&line, nullptr));
    EXPECT_EQ(TEXTFILE_ERROR, file.WriteString("x"));
    EXPECT_EQ(TEXTFILE_OK, file.Close());
}

TEST_F(TextFileTest, SkipLineEndDropsCarriageReturnsAndTheNextCharacter)
{
    std::string path = WriteBytes("skip.txt", "\r\r\nab\n");
    int handle = open(path.c_str(), O_RDONLY);
    ASSERT_GE(handle, 0);
    {
        ANSI_TextFileReader reader(path.c_str(), handle, 0);
        EXPECT_EQ(TEXTFILE_OK, reader.SkipLineEnd());
        char* line = nullptr;
        ASSERT_EQ(TEXTFILE_OK, reader.ReadLine(&line, 0, nullptr, nullptr));
        EXPECT_STREQ("ab", line);
        EXPECT_EQ(TEXTFILE_EOF, reader.SkipLineEnd());
    }
    close(handle);
}

} // namespace

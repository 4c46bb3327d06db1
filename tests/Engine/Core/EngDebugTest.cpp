#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngProgram.h"
#include "EngDebugTestSupport.h"

namespace {

std::string Shown(const char* name)
{
    const char* cut = DebugCutDecoratedName(name);
    std::string result = cut ? cut : "(null)";
    if (cut != name)
        EngFree(const_cast<char*>(cut), true, nullptr);
    return result;
}

const DebugMessage* Newest()
{
    return DebugGetMessage(DebugGetMessageCount() - 1);
}

} // namespace

TEST(DebugNames, WindowsDecoratedNamesLoseMarksAndSignature)
{
    EXPECT_EQ("DebugDoString", Shown("?DebugDoString@@YAXPBDW4_DebugMsgCode@@W4_DebugNoteType@@@Z"));
    EXPECT_EQ("Read@EngFile", Shown("?Read@EngFile@@QAEDPAXID@Z"));
    EXPECT_EQ("Plain@Name", Shown("?Plain@Name"));
    EXPECT_EQ("", Shown(""));
    EXPECT_EQ(nullptr, DebugCutDecoratedName(nullptr));
}

TEST(DebugNames, PrettyFunctionsBecomeClassAndMethod)
{
    EXPECT_EQ("EngFile::Read", Shown("signed char EngFile::Read(void*, int, bool)"));
    EXPECT_EQ("main", Shown("int main(int, char**)"));
    EXPECT_EQ("EngMalloc", Shown("void* EngMalloc(unsigned int, const char*, bool)"));
    EXPECT_EQ("Name::Get", Shown("const char *Name::Get() const"));
    EXPECT_EQ("List<T>::Add", Shown("bool List<T>::Add(T*) [with T = std::pair<int, int>]"));
    EXPECT_EQ("Vec::operator()", Shown("float Vec::operator()(int)"));
    EXPECT_EQ("operator<", Shown("bool operator<(const Car&, const Car&)"));
    EXPECT_EQ("Pool::operator new", Shown("static void* Pool::operator new(std::size_t)"));
    EXPECT_EQ("Table::Rows", Shown("std::map<int, int> Table::Rows() const"));
    EXPECT_EQ("{anonymous}::Helper", Shown("void {anonymous}::Helper(const char*)"));
    // Qualified names are shown as given.
    EXPECT_EQ("EngFile::Read", Shown("EngFile::Read"));
}

struct NamedReporter
{
    static std::string Name() { return Shown(ENG_FUNC); }
};

TEST(DebugNames, OwnNameMacroGivesClassAndMethod)
{
    EXPECT_EQ("NamedReporter::Name", NamedReporter::Name());
}

TEST(DebugCodes, KnownCodesHaveTextsAndOthersAQuestionMark)
{
    EXPECT_STREQ("Already exists.", DebugErrorCodeText(DEBUG_CODE_ALEX));
    EXPECT_STREQ("Needs updating.", DebugErrorCodeText(EngFourCC('U', 'P', 'D', 'T')));
    EXPECT_STREQ("(Unknown)", DebugErrorCodeText(DEBUG_CODE_UNKN));
    EXPECT_STREQ("?", DebugErrorCodeText(EngFourCC('Z', 'Z', 'Z', 'Z')));
    EXPECT_STREQ("?", DebugErrorCodeText(0));
}

using DebugLog = PrivateLogTest;

TEST_F(DebugLog, TwoHundredthMessageLeavesHundredEntriesHeadedByRemovedMarker)
{
    int start = DebugGetMessageCount();
    for (int i = start; i < 199; ++i)
        DebugInfo("message %d", i);
    ASSERT_EQ(199, DebugGetMessageCount());
    DebugInfo("message 199");
    ASSERT_EQ(100, DebugGetMessageCount());
    EXPECT_STREQ("--- LOGS REMOVED ---", DebugGetMessage(0)->text);
    EXPECT_EQ(DebugMsgPlain, DebugGetMessage(0)->kind);
    EXPECT_STREQ(" :  message 101", DebugGetMessage(1)->text);
    EXPECT_STREQ(" :  message 199", DebugGetMessage(99)->text);
    DebugInfo("message 200");
    EXPECT_EQ(101, DebugGetMessageCount());
    // Every message also reached the file, the removed ones included.
    std::string file = ReadWhole(log_name);
    EXPECT_NE(std::string::npos, file.find(" :  message 100\n"));
    EXPECT_NE(std::string::npos, file.find(" :  message 200\n"));
}

TEST_F(DebugLog, LongTextsAreCutWithMarkerAndShortOnesKept)
{
    std::string longest(482, 'a');
    DebugInfoPlain("%s", longest.c_str());
    EXPECT_EQ(longest, Newest()->text);

    std::string too_long(483, 'b');
    DebugInfoPlain("%s", too_long.c_str());
    EXPECT_EQ(std::string(462, 'b') + " ... (TRUNCATED)", Newest()->text);

    std::string text(500, 'c');
    DebugInfo("%s", text.c_str());
    EXPECT_EQ(" :  " + std::string(462, 'c') + " ... (TRUNCATED)", Newest()->text);
}

TEST_F(DebugLog, LinesCarryClockTagAndNamedBody)
{
    eng_time = 12.34;
    DebugError("signed char EngFile::Read(void*, int, bool)", "Cannot open file <%s>", "x.dat");
    DebugInfoQuick("void Foo::Bar()", "value %d", 7);
    DebugNote(2, "note");
    DebugCheck(false, "Qualified::Name", "checked %s", "here");
    EXPECT_TRUE(DebugCheck(true, "Qualified::Name", "never"));
    DebugInfoPlain("plain");
    eng_time = 0.0;
    std::vector<std::string> lines = ReadLines(log_name);
    ASSERT_EQ(5u, lines.size());
    EXPECT_EQ("12.3 |  <ERROR>  ( EngFile::Read )    Cannot open file <x.dat>", lines[0]);
    EXPECT_EQ("12.3 |  :  Foo::Bar > value 7", lines[1]);
    EXPECT_EQ("12.3 |  *  note", lines[2]);
    EXPECT_EQ("12.3 |  <ERROR>  ( Qualified::Name )    checked here", lines[3]);
    EXPECT_EQ("plain", lines[4]);
    EXPECT_EQ(DebugMsgPlain, Newest()->kind);
}

TEST_F(DebugLog, UnknownKindIsIgnored)
{
    int count = DebugGetMessageCount();
    DebugDoString("odd", static_cast<_DebugMsgCode>(7), 0);
    DebugDoString(nullptr, DebugMsgInfo, 0);
    EXPECT_EQ(count, DebugGetMessageCount());
}

TEST(DebugLogFile, FirstMessageReplacesOldLogAndLaterOnesAppend)
{
    std::string name = PrivateLogName();
    WriteWhole(name, "left by an earlier run\n");
    ASSERT_TRUE(DebugSetLogFilename(name.c_str(), false));
    DebugInfoPlain("one");
    DebugInfoPlain("two");
    EXPECT_EQ("one\ntwo\n", ReadWhole(name));
    std::remove(name.c_str());
}

TEST(DebugLogFile, NewLogNameStartsFreshAfterEarlierLogging)
{
    std::string first = PrivateLogName();
    std::string second = first + ".second";
    ASSERT_TRUE(DebugSetLogFilename(first.c_str(), true));
    DebugInfoPlain("before");
    WriteWhole(second, "stale line\n");
    ASSERT_TRUE(DebugSetLogFilename(second.c_str(), true));
    DebugInfoPlain("after");
    EXPECT_EQ("before\n", ReadWhole(first));
    EXPECT_EQ("after\n", ReadWhole(second));
    std::remove(first.c_str());
    std::remove(second.c_str());
}

TEST(DebugLogFile, NamesTooLongOrEmptyFallBackToErrorLog)
{
    std::string long_name(256, 'n');
    EXPECT_FALSE(DebugSetLogFilename(long_name.c_str(), false));
    EXPECT_STREQ("ErrorLog.txt", DebugGetLogFilename());
    std::string name = PrivateLogName();
    EXPECT_TRUE(DebugSetLogFilename(name.c_str(), false));
    EXPECT_EQ(name, DebugGetLogFilename());
    EXPECT_TRUE(DebugSetLogFilename("", false));
    EXPECT_STREQ("ErrorLog.txt", DebugGetLogFilename());
}

TEST_F(DebugLog, OverwriteRefusesIndexOutsideRing)
{
    DebugInfo("first");
    int count = DebugGetMessageCount();
    DebugOverwriteMessage(200, "outside");
    DebugOverwriteMessage(-1, "outside");
    ASSERT_EQ(count + 2, DebugGetMessageCount());
    EXPECT_NE(nullptr, std::strstr(Newest()->text, "Invalid message index -1"));

    DebugOverwriteMessage(count - 1, "progress %d%%", 50);
    EXPECT_STREQ("progress 50%", DebugGetMessage(count - 1)->text);
    EXPECT_EQ(DebugMsgPlain, DebugGetMessage(count - 1)->kind);
    // The file keeps what was written.
    EXPECT_EQ(std::string::npos, ReadWhole(log_name).find("progress"));
}

TEST_F(DebugLog, OverwriteBeyondCountLogsASpacer)
{
    int count = DebugGetMessageCount();
    DebugOverwriteMessage(count + 5, "ahead");
    EXPECT_EQ(count + 1, DebugGetMessageCount());
    EXPECT_STREQ(" :   ", Newest()->text);
}

TEST_F(DebugLog, TimedInfoLogsOnlyWhenDue)
{
    double next = 0.0;
    eng_time = 1.0;
    EXPECT_TRUE(DebugInfoTimed(&next, 0.5, "tick"));
    EXPECT_DOUBLE_EQ(1.5, next);
    eng_time = 1.4;
    EXPECT_FALSE(DebugInfoTimed(&next, 0.5, "tick"));
    eng_time = 1.5;
    EXPECT_TRUE(DebugInfoTimed(&next, 0.5, "tick"));
    EXPECT_FALSE(DebugInfoTimed(nullptr, 0.5, "tick"));
    eng_time = 0.0;
}

TEST_F(DebugLog, MessagesFromSeveralThreadsAreAllKept)
{
    constexpr int kThreads = 8;
    constexpr int kEach = 300;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kEach; ++i)
                DebugInfoQuick(ENG_FUNC, "thread %d message %d", t, i);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    std::vector<std::string> lines = ReadLines(log_name);
    ASSERT_EQ(size_t(kThreads * kEach), lines.size());
    std::regex shape(R"(0\.0 \|  :  .* > thread (\d) message (\d+))");
    std::vector<int> next(kThreads, 0);
    for (const std::string& line : lines) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, shape)) << line;
        int t = std::stoi(match[1]);
        // Each thread's messages arrive whole and in its own order.
        EXPECT_EQ(next[t], std::stoi(match[2]));
        next[t] = std::stoi(match[2]) + 1;
    }
    int count = DebugGetMessageCount();
    EXPECT_GE(count, 100);
    EXPECT_LT(count, 200);
}

TEST_F(DebugLog, ExitMessageOnWorkerEndsThreadAndSilencesLaterMessages)
{
    ASSERT_TRUE(EngMainRecordMainThread());
    bool after_exit = false;
    std::thread worker([&after_exit] {
        DebugDoString("<EXIT> gave up", DebugMsgExit, 0);
        after_exit = true;
    });
    worker.join();
    EXPECT_FALSE(after_exit);
    EXPECT_TRUE(EngMainWorkerFailed());
    int count = DebugGetMessageCount();
    DebugError(ENG_FUNC, "later");
    DebugInfoPlain("later");
    EXPECT_EQ(count, DebugGetMessageCount());
    std::string file = ReadWhole(log_name);
    EXPECT_NE(std::string::npos, file.find(" <EXIT>   <EXIT> gave up"));
    EXPECT_EQ(std::string::npos, file.find("later"));
}

TEST_F(DebugLog, ExitBeforeProgramExistsStillLogsItsReason)
{
    ASSERT_EQ(nullptr, eng_main_program);
    DebugExit("Loader::Start", "missing %s", "data");
    DebugExit("", "bare reason");
    std::vector<std::string> lines = ReadLines(log_name);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("0.0 |  <ERROR>  ( Loader::Start )     missing data", lines[0]);
    EXPECT_EQ("0.0 |  <ERROR>  bare reason", lines[1]);
    // The process goes on and keeps logging.
    DebugInfo("still here");
    EXPECT_EQ(3u, ReadLines(log_name).size());
}

TEST_F(DebugLog, ExitWithProgramEndsProcessWithMinusOneAndShowsReason)
{
    EXPECT_EXIT(
        {
            EngProgram program;
            DebugExit("Race::Start", "no track");
        },
        ::testing::ExitedWithCode(255), "INTERNAL PROGRAM ERROR.*no track");
}

TEST_F(DebugLog, FatalCheckOnMainThreadLogsBannerAndEndsWithMinusOne)
{
    EXPECT_EXIT(
        {
            EngProgram program;
            DebugFatalCheck(false, "bool Car::Load(int)", "bad car %d", 3);
        },
        ::testing::ExitedWithCode(255), "Reason:\n\n\\( Car::Load \\)    bad car 3");
}

TEST_F(DebugLog, FatalCheckOnWorkerEndsOnlyThatThreadAndMarksFailure)
{
    EngProgram program;
    bool after_check = false;
    std::thread worker([&after_check] {
        DebugFatalCheck(false, "void Reader::Run()", "reader broke");
        after_check = true;
    });
    worker.join();
    EXPECT_FALSE(after_check);
    EXPECT_TRUE(EngMainWorkerFailed());
    EXPECT_TRUE(program.IsQuitting());
    EXPECT_TRUE(EngMiscArePopupTextsSet());
    std::vector<std::string> lines = ReadLines(log_name);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(" ", lines[0]);
    EXPECT_EQ("EXITING DUE TO FOLLOWING ERROR:", lines[1]);
    EXPECT_EQ(" ", lines[2]);
    EXPECT_EQ("0.0 |  <ERROR>  ( Reader::Run )    reader broke", lines[3]);
    std::string file = ReadWhole(log_name);
    EXPECT_NE(std::string::npos, file.find("Not closing down as not the main thread"));
    // A second failure while the first is handled does nothing more.
    int count = DebugGetMessageCount();
    std::thread second([] { DebugFatalCheck(false, "void Reader::Run()", "again"); });
    second.join();
    EXPECT_EQ(count, DebugGetMessageCount());
}

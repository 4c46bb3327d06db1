// World best-times tables against a loopback server: replies of every kind, the row parser's refusals,
// the cache file written, read back and refused when corrupt, and the date ranges.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngPrefFolder.h"
#include "Engine/Core/EngProgram.h"
#include "Online/OnlineTestSupport.h"
#include "Online/Scores.h"
#include "Support/LoopbackHttpServer.h"
#include "Support/FilesForTests.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned short kGameVersion = 140;
constexpr unsigned kTableId = 7;
constexpr unsigned kHeader = 2 + 16 + 4;

std::string Line(int score, const char* name, const char* country, const char* date = "2024-05-17")
{
    char text[256];
    snprintf(text, sizeof text, "%d 11 22 33 42 %s %s - %s W\n", score, name, country, date);
    return text;
}

std::string SystemPath(const char* name)
{
    char path[1024];
    EngFileGetSystemPath(name, path, sizeof path);
    return path;
}

// A value stored at offset of the file's bytes (which need not be aligned for it).
template <typename T> T At(const std::string& bytes, size_t offset)
{
    T value;
    memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

_EngMiscDateAndTime MinutesAgo(int minutes)
{
    _EngMiscDateAndTime when;
    EngMiscGetCurrentDateAndTime(&when);
    int minute = when.minute - minutes;
    int hour = (int)when.hour;
    while (minute < 0) {
        minute += 60;
        hour--;
    }
    while (hour < 0) {
        hour += 24;
        EngMiscGetPreviousDay(&when.date);
    }
    when.minute = (EngUInt8)minute;
    when.hour = (EngUInt32)hour;
    return when;
}

_ScoresScore GoodRow(int score, const char* name)
{
    _ScoresScore row = {};
    row.score = score;
    row.uid = 9;
    snprintf(row.name, sizeof row.name, "%s", name);
    snprintf(row.cc, sizeof row.cc, "FI");
    snprintf(row.fb, sizeof row.fb, "-");
    row.date = {2024, 3, 4, {0, 0}};
    row.platform = 'W';
    return row;
}

void WriteCacheFile(const std::string& path, EngUInt16 version, int minutes_ago, EngInt32 count,
                    const std::vector<_ScoresScore>& rows)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    _EngMiscDateAndTime when = MinutesAgo(minutes_ago);
    out.write((const char*)&version, sizeof version);
    out.write((const char*)&when, sizeof when);
    out.write((const char*)&count, sizeof count);
    for (const _ScoresScore& row : rows)
        out.write((const char*)&row, sizeof row);
}

class Scores : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/torvi-scores-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        home = pattern;
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        PrefFolderSetup("Torvi Torvi", false, nullptr, false);
        eng_time = 1000.0;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(home, ignored);
    }
    void Point(const LoopbackHttpServer& server) { setenv("TORVI_WEB_BASE", server.Base().c_str(), 1); }
    bool SetupGame(ScoresMain& scores, int rows = 100, bool auto_update = true)
    {
        return scores.Setup(SCORES_PROGRAM_GAME, kGameVersion, rows, kTableId, SCORES_RANGE_WEEK, nullptr,
                            auto_update, 60);
    }
    // Starts a download and polls it to its end (10 s at most).
    char Download(ScoresMain& scores, _EngInternetThreadReadResult* result = nullptr,
                  const char** message = nullptr)
    {
        EXPECT_TRUE(scores.Update());
        return WaitForEnd(scores, result, message);
    }
    char WaitForEnd(ScoresMain& scores, _EngInternetThreadReadResult* result, const char** message)
    {
        for (int i = 0; i < 1000; i++) {
            char done = scores.IsUpdateFinished(result, message);
            if (done != 0)
                return done;
            usleep(10000);
        }
        return 0;
    }
    // Two calls: the first only arms the check.
    char CheckCache(ScoresMain& scores)
    {
        EXPECT_EQ(0, scores.UpdateIfNeeded(false));
        eng_time += 0.3;
        return scores.UpdateIfNeeded(false);
    }

    fs::path home;
};

} // namespace

TEST_F(Scores, GoodTableIsParsedAndTheRequestCarriesEveryKey)
{
    std::string reply = "Y \n" + Line(3500000, "Ann_Lee", "FI") + Line(3400000, "Bob", "UK") +
                        Line(3300000, "Cy", "GB", "2023/12/31");
    LoopbackHttpServer server(MakeReply(200, reply));
    Point(server);
    ScoresMain scores;
    ASSERT_TRUE(SetupGame(scores));
    _EngInternetThreadReadResult result = 0;
    EXPECT_EQ(1, Download(scores, &result));
    EXPECT_EQ(ENG_READ_DONE, result);
    EXPECT_FALSE(scores.IsUpdating());

    std::string request = server.LastRequest();
    EXPECT_NE(std::string::npos,
              request.find("GET /cgi-bin/common/scores/Scores.fcgi?zz=1&gv=140&pr=40&st=7&ra=3&sp=1&ep=99 "))
        << request;

    ASSERT_EQ(3, scores.GetNumScores());
    const _ScoresScore* first = scores.GetScore(0);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(3500000, first->score);
    EXPECT_EQ(11, first->value2);
    EXPECT_EQ(22u, first->value3);
    EXPECT_EQ(33u, first->value4);
    EXPECT_EQ(42, first->uid);
    EXPECT_STREQ("Ann Lee", first->name);
    EXPECT_STREQ("FI", first->cc);
    EXPECT_STREQ("-", first->fb);
    EXPECT_EQ(2024u, first->date.year);
    EXPECT_EQ(5, first->date.month);
    EXPECT_EQ(17, first->date.day);
    EXPECT_EQ('W', first->platform);
    EXPECT_STREQ("UK", scores.GetScore(1)->cc);
    EXPECT_EQ(31, scores.GetScore(2)->date.day);
    EXPECT_EQ(nullptr, scores.GetScore(3));
}

TEST_F(Scores, BadRowsAreRefusedOneByOne)
{
    std::string name31(31, 'n');
    std::string name32(32, 'n');
    std::string reply = "Y \n" + Line(100, name31.c_str(), "FI") + Line(101, name32.c_str(), "FI") +
                        Line(102, "Old", "FI", "1999-05-17") + Line(103, "Nowhere", "ZZ") +
                        Line(104, "Month", "FI", "2024-13-01") + Line(105, "Day", "FI", "2024-01-32") +
                        Line(106, "Short", "FI", "2024-1-1") + Line(-5, "Minus", "FI") +
                        "12x 1 2 3 4 Num FI - 2024-05-17 W\n" + "107 1 2 3 0 Uid FI - 2024-05-17 W\n" +
                        "108 1 2 3 70000 Big FI - 2024-05-17 W\n" + "109 1 -2 3 4 Neg FI - 2024-05-17 W\n" +
                        "110 1 2 3 4 Eight FI - 2024-05-17\n" + "111 1 2 3 4 NoText FI  2024-05-17 W\n" +
                        "99999999999 1 2 3 4 Huge FI - 2024-05-17 W\n" + Line(112, "Last", "FI");
    LoopbackHttpServer server(MakeReply(200, reply));
    Point(server);
    ScoresMain scores;
    ASSERT_TRUE(SetupGame(scores));
    int start = DebugGetMessageCount();
    EXPECT_EQ(1, Download(scores));
    ASSERT_EQ(2, scores.GetNumScores());
    EXPECT_EQ(100, scores.GetScore(0)->score);
    EXPECT_EQ(112, scores.GetScore(1)->score);
    EXPECT_TRUE(LogHas(start, "Invalid line received: <110 1 2 3 4 Eight FI - 2024-05-17>"));
    const std::string log = LogSince(start);
    EXPECT_EQ(log.find("Invalid line received"), log.rfind("Invalid line received")) << "only one line is logged";
}

// Where a table ends: at a star line, after an unterminated last line, at a NUL byte, at the table's capacity,
// or at the last whole line before the reply's size limit.
TEST_F(Scores, TablesEndAtTheirMarkTheCapacityOrTheLastWholeLineWithinTheLimit)
{
    std::string unterminated = Line(30, "C", "FI");
    unterminated.pop_back();
    std::string eight = "Y \n";
    for (int i = 0; i < 8; i++)
        eight += Line(100 + i, "Row", "FI");
    std::string long_reply = "Y \n";
    int whole = 0;
    while (long_reply.size() < 9000) {
        std::string line = Line(1000 + whole, "Runner", "SE");
        if (long_reply.size() + line.size() <= SCORES_REPLY_SIZE - 1)
            whole++;
        long_reply += line;
    }
    struct Case {
        const char* what;
        std::string reply;
        int capacity, rows, last;
    };
    const Case cases[] = {
        {"a star line", "Y \n" + Line(10, "A", "FI") + "*\n" + Line(20, "B", "FI"), 100, 1, 10},
        {"an unterminated line", "Y \n" + Line(10, "A", "FI") + Line(20, "B", "FI") + unterminated, 100, 2, 20},
        {"a NUL byte", "Y \n" + Line(10, "A", "FI") + std::string(1, '\0') + Line(20, "B", "FI"), 100, 1, 10},
        {"the capacity", eight, 5, 5, 104},
        {"the size limit", long_reply, 400, whole, 1000 + whole - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoopbackHttpServer server(MakeReply(200, c.reply));
        Point(server);
        ScoresMain scores;
        ASSERT_TRUE(SetupGame(scores, c.capacity));
        EXPECT_EQ(1, Download(scores));
        ASSERT_EQ(c.rows, scores.GetNumScores());
        EXPECT_EQ(c.last, scores.GetScore(c.rows - 1)->score);
    }
}

TEST_F(Scores, ValidationCallbackDropsRows)
{
    LoopbackHttpServer server(MakeReply(200, "Y \n" + Line(1, "Odd", "FI") + Line(2, "Even", "FI") +
                                                 Line(3, "Odd", "FI")));
    Point(server);
    ScoresMain scores;
    ASSERT_TRUE(scores.Setup(SCORES_PROGRAM_GAME, kGameVersion, 10, kTableId, SCORES_RANGE_ALL_TIME,
                             [](const _ScoresScore* row) { return row->score % 2 == 1; }, true, 60));
    EXPECT_EQ(1, Download(scores));
    ASSERT_EQ(2, scores.GetNumScores());
    EXPECT_EQ(3, scores.GetScore(1)->score);
    EXPECT_NE(std::string::npos, std::string(scores.GetCacheFilename()).find("Scores_40_7_A.sco"));
}

TEST_F(Scores, ServerErrorMessageAndUnknownRepliesKeepTheRows)
{
    LoopbackHttpServer good(MakeReply(200, "Y \n" + Line(10, "A", "FI")));
    Point(good);
    ScoresMain scores;
    ASSERT_TRUE(SetupGame(scores));
    ASSERT_EQ(1, Download(scores));

    LoopbackHttpServer error(MakeReply(200, " X database down"));
    Point(error);
    _EngInternetThreadReadResult result = 0;
    int start = DebugGetMessageCount();
    EXPECT_EQ(-1, Download(scores, &result));
    EXPECT_EQ(ENG_READ_INVALID_REPLY, result);
    EXPECT_TRUE(LogHas(start, "Error received: < X database down>"));

    LoopbackHttpServer message(MakeReply(200, " M Servers resting tonight"));
    Point(message);
    const char* text = nullptr;
    EXPECT_EQ(-1, Download(scores, &result, &text));
    EXPECT_EQ(ENG_READ_DONE, result);
    ASSERT_NE(nullptr, text);
    EXPECT_STREQ("Servers resting tonight", text);
    EXPECT_TRUE(LogHas(start, "Main scores message received: <Servers resting tonight>"));

    LoopbackHttpServer junk(MakeReply(200, "<html>" + std::string(100, 'x')));
    Point(junk);
    EXPECT_EQ(-1, Download(scores, &result));
    EXPECT_EQ(ENG_READ_INVALID_REPLY, result);
    EXPECT_TRUE(LogHas(start, "Invalid data received: <<html>" + std::string(58, 'x') + ">"));

    LoopbackHttpServer tiny(MakeReply(200, "Y "));
    Point(tiny);
    EXPECT_EQ(-1, Download(scores, &result));
    EXPECT_EQ(ENG_READ_FAILED, result);
    EXPECT_TRUE(LogHas(start, "No data received"));

    EXPECT_EQ(1, scores.GetNumScores());
}

TEST_F(Scores, VersionRepliesTellOutOfDateFromProblems)
{
    ScoresMain scores;
    ASSERT_TRUE(SetupGame(scores));
    _EngInternetThreadReadResult result = 0;
    LoopbackHttpServer newer(MakeReply(200, " V 140 141 0"));
    Point(newer);
    EXPECT_EQ(-1, Download(scores, &result));
    EXPECT_EQ(ENG_READ_OUT_OF_DATE, result);

    LoopbackHttpServer same(MakeReply(200, " V 140 140 0"));
    Point(same);
    int start = DebugGetMessageCount();
    EXPECT_EQ(-1, Download(scores, &result));
    EXPECT_EQ(ENG_READ_INVALID_REPLY, result);
    EXPECT_TRUE(LogHas(start, "Version problem: < V 140 140 0>  <140,140> <140> <0>"));

    // 140 and 141 plus 2^32 are no versions, though cut to 32 bits they would read as an out-of-date game.
    LoopbackHttpServer wrapped(MakeReply(200, " V 4294967436 4294967437 0"));
    Point(wrapped);
    EXPECT_EQ(-1, Download(scores, &result));
    EXPECT_EQ(ENG_READ_INVALID_REPLY, result);
}

TEST_F(Scores, FailedTransfersReportTheReadersState)
{
    ScoresMain scores;
    ASSERT_TRUE(SetupGame(scores));
    LoopbackHttpServer missing(MakeReply(404, "gone"));
    Point(missing);
    _EngInternetThreadReadResult result = 0;
    EXPECT_EQ(-1, Download(scores, &result));
    EXPECT_LT(result, 0);

    LoopbackHttpServer cut(MakeStallingReply(2000, 300, 0.2));
    Point(cut);
    EXPECT_EQ(-1, Download(scores, &result));
    EXPECT_LT(result, 0);
    EXPECT_EQ(0, scores.GetNumScores());
    EXPECT_FALSE(fs::exists(SystemPath(scores.GetCacheFilename())));
}

TEST_F(Scores, CacheIsWrittenAndReadBackByteForByte)
{
    LoopbackHttpServer server(MakeReply(200, "Y \n" + Line(300, "Ann_Lee", "FI") + Line(200, "Bob", "UK")));
    Point(server);
    ScoresMain first;
    ASSERT_TRUE(SetupGame(first));
    ASSERT_EQ(1, Download(first));
    const std::string path = SystemPath(first.GetCacheFilename());
    EXPECT_NE(std::string::npos, path.find("/Ostrelmark/Torvi Torvi/Scores/Scores_40_7_W.sco")) << path;
    const std::string bytes = ReadWhole(path);
    ASSERT_EQ(kHeader + 2 * sizeof(_ScoresScore), bytes.size());
    EXPECT_EQ(kGameVersion, At<EngUInt16>(bytes, 0));
    EXPECT_EQ(2, At<EngInt32>(bytes, 18));
    EXPECT_EQ(0, memcmp(bytes.data() + kHeader, first.GetScoresList(true), 2 * sizeof(_ScoresScore)));
    EXPECT_FALSE(fs::exists(path + ".tmp"));

    ScoresMain second;
    ASSERT_TRUE(SetupGame(second));
    EXPECT_EQ(2, CheckCache(second));
    ASSERT_EQ(2, second.GetNumScores());
    EXPECT_EQ(0, memcmp(first.GetScoresList(true), second.GetScoresList(true), 2 * sizeof(_ScoresScore)));
    EXPECT_GT(second.GetNextUpdateTime(), eng_time + 58 * 60);
    EXPECT_EQ(1, server.RequestCount());
    // Fresh: a forced check loads the file again without asking the server.
    EXPECT_EQ(2, second.UpdateIfNeeded(true));
    EXPECT_EQ(1, server.RequestCount());
}

TEST_F(Scores, EmptyTableStillWritesACache)
{
    LoopbackHttpServer server(MakeReply(200, "Y \n"));
    Point(server);
    ScoresMain scores;
    ASSERT_TRUE(SetupGame(scores));
    EXPECT_EQ(1, Download(scores));
    EXPECT_EQ(0, scores.GetNumScores());
    const std::string bytes = ReadWhole(SystemPath(scores.GetCacheFilename()));
    ASSERT_EQ(kHeader, bytes.size());
    EXPECT_EQ(0, At<EngInt32>(bytes, 18));
}

TEST_F(Scores, CacheAgeDecidesBetweenLoadingAndDownloading)
{
    LoopbackHttpServer server(MakeReply(200, "Y \n" + Line(5, "New", "FI")));
    Point(server);
    std::vector<_ScoresScore> rows = {GoodRow(50, "Cached")};
    {
        ScoresMain scores;
        ASSERT_TRUE(SetupGame(scores, 100, false));
        WriteCacheFile(SystemPath(scores.GetCacheFilename()), kGameVersion, 59, 1, rows);
        EXPECT_EQ(2, CheckCache(scores));
        EXPECT_STREQ("Cached", scores.GetScore(0)->name);
        EXPECT_LE(scores.GetNextUpdateTime(), eng_time + 60.0);
    }
    {
        ScoresMain scores;
        ASSERT_TRUE(SetupGame(scores, 100, false));
        WriteCacheFile(SystemPath(scores.GetCacheFilename()), kGameVersion, 61, 1, rows);
        EXPECT_EQ(0, CheckCache(scores));
        EXPECT_EQ(0, scores.GetNumScores());
        EXPECT_EQ(0, server.RequestCount());
    }
    ScoresMain scores;
    ASSERT_TRUE(SetupGame(scores, 100, true));
    EXPECT_EQ(1, CheckCache(scores));
    EXPECT_TRUE(scores.IsUpdating());
    EXPECT_EQ(1, scores.UpdateIfNeeded(false));
    EXPECT_EQ(1, WaitForEnd(scores, nullptr, nullptr));
    EXPECT_STREQ("New", scores.GetScore(0)->name);
}

TEST_F(Scores, CorruptCacheFilesAreIgnoredAndLeftOnDisk)
{
    ScoresMain scores;
    ASSERT_TRUE(SetupGame(scores, 3, false));
    const std::string path = SystemPath(scores.GetCacheFilename());
    std::vector<_ScoresScore> two = {GoodRow(50, "A"), GoodRow(40, "B")};
    std::vector<_ScoresScore> three = {GoodRow(50, "A"), GoodRow(40, "B"), GoodRow(30, "C")};
    _ScoresScore unterminated = GoodRow(20, "D");
    memset(unterminated.name, 'x', sizeof unterminated.name);
    _ScoresScore stranger = GoodRow(20, "E");
    memcpy(stranger.cc, "ZZ", 3);

    struct Case {
        const char* what;
        EngUInt16 version;
        EngInt32 count;
        std::vector<_ScoresScore> rows;
    };
    const Case cases[] = {
        {"other game version", 139, 2, two},
        {"count equal to the capacity", kGameVersion, 3, three},
        {"negative count", kGameVersion, -1, two},
        {"rows missing", kGameVersion, 2, {GoodRow(50, "A")}},
        {"bytes after the rows", kGameVersion, 1, two},
        {"name without its end", kGameVersion, 2, {GoodRow(50, "A"), unterminated}},
        {"unknown country", kGameVersion, 2, {GoodRow(50, "A"), stranger}},
    };
    for (const Case& c : cases) {
        scores.DeleteScoresFile();
        WriteCacheFile(path, c.version, 1, c.count, c.rows);
        EXPECT_EQ(0, CheckCache(scores)) << c.what;
        EXPECT_EQ(0, scores.GetNumScores()) << c.what;
        EXPECT_TRUE(fs::exists(path)) << c.what;
    }
    WriteCacheFile(path, kGameVersion, 1, 2, two);
    scores.DeleteScoresFile();
    EXPECT_FALSE(fs::exists(path));
    WriteCacheFile(path, kGameVersion, 1, 2, two);
    EXPECT_EQ(2, CheckCache(scores));
    EXPECT_EQ(2, scores.GetNumScores());
}

TEST_F(Scores, TestProgramNeverTouchesACacheFile)
{
    LoopbackHttpServer server(MakeReply(200, "Y \n" + Line(5, "T", "FI")));
    Point(server);
    ScoresMain scores;
    ASSERT_TRUE(scores.Setup(SCORES_PROGRAM_TEST, kGameVersion, 10, 1, SCORES_RANGE_ALL_TIME, nullptr, true, 60));
    EXPECT_STREQ("ScoresMainTest.sco", scores.GetCacheFilename());
    EXPECT_EQ(1, Download(scores));
    EXPECT_EQ(1, scores.GetNumScores());
    EXPECT_FALSE(fs::exists(SystemPath("ScoresMainTest.sco")));
    EXPECT_FALSE(fs::exists(home / "Ostrelmark" / "Torvi Torvi" / "Scores" / "Scores_99_1_A.sco"));
}

TEST_F(Scores, SecondUpdateWhileOneRunsStartsNothingAndStoppingLetsANewOneStart)
{
    LoopbackHttpServer slow(MakeSilentReply(0.5, "Y \n" + Line(5, "S", "FI")));
    Point(slow);
    ScoresMain scores;
    ASSERT_TRUE(SetupGame(scores));
    ASSERT_TRUE(scores.Update());
    EXPECT_TRUE(scores.Update());
    EXPECT_EQ(1, scores.UpdateIfNeeded(true));
    scores.StopUpdating();
    EXPECT_FALSE(scores.IsUpdating());
    EXPECT_EQ(-1, scores.IsUpdateFinished(nullptr, nullptr));
    // Abandoned readers are parked, never joined on the main thread, until the ring comes round.
    for (int i = 0; i < SCORES_READER_RING + 2; i++) {
        ASSERT_TRUE(scores.Update());
        scores.StopUpdating();
    }
    EXPECT_EQ(1, Download(scores));
    EXPECT_EQ(1, scores.GetNumScores());
}

TEST_F(Scores, SetupRefusesBadParametersAndCallsBeforeSetupAreRefused)
{
    ScoresMain scores;
    int start = DebugGetMessageCount();
    EXPECT_EQ(0, scores.GetNumScores());
    EXPECT_EQ(0, scores.UpdateIfNeeded(true));
    EXPECT_FALSE(scores.Update());
    EXPECT_EQ(nullptr, scores.GetScore(0));
    EXPECT_TRUE(LogHas(start, DebugErrorCodeText(DEBUG_CODE_NSTP)));

    EXPECT_FALSE(scores.Setup(SCORES_PROGRAM_GAME, kGameVersion, 100, 1, SCORES_RANGE_ALL_TIME, nullptr, true, 0));
    EXPECT_TRUE(LogHas(start, "Parameter Error"));
    EXPECT_FALSE(scores.Setup(SCORES_PROGRAM_GAME, kGameVersion, 0, 1, SCORES_RANGE_ALL_TIME, nullptr, true, 60));
    EXPECT_FALSE(scores.Setup(0, kGameVersion, 100, 1, SCORES_RANGE_ALL_TIME, nullptr, true, 60));
    EXPECT_FALSE(scores.Setup(SCORES_PROGRAM_GAME, 0, 100, 1, SCORES_RANGE_ALL_TIME, nullptr, true, 60));
    EXPECT_FALSE(scores.Setup(SCORES_PROGRAM_GAME, kGameVersion, 100, 1, (_ScoresRange)4, nullptr, true, 60));
    EXPECT_FALSE(scores.Update());
    ASSERT_TRUE(SetupGame(scores));
    EXPECT_EQ(0, scores.GetNumScores());
    EXPECT_NE(nullptr, scores.GetScoresList(true));
    EXPECT_EQ(0, scores.UpdateIfNeeded(false));
}

TEST(ScoresDates, WeekRangeStaysWithinOneCalendarYear)
{
    _EngMiscDate dec31 = {2024, 12, 31, {0, 0}};
    _EngMiscDate jan1 = {2025, 1, 1, {0, 0}};
    EXPECT_FALSE(ScoresMainIsDateInRange(&dec31, &jan1, SCORES_RANGE_WEEK));
    _EngMiscDate jan1_2024 = {2024, 1, 1, {0, 0}};
    EXPECT_TRUE(ScoresMainIsDateInRange(&jan1_2024, &dec31, SCORES_RANGE_WEEK));
    EXPECT_TRUE(ScoresMainIsDateInRange(&jan1_2024, &dec31, SCORES_RANGE_YEAR));
    EXPECT_FALSE(ScoresMainIsDateInRange(&jan1_2024, &dec31, SCORES_RANGE_MONTH));
    EXPECT_TRUE(ScoresMainIsDateInRange(&dec31, &jan1, SCORES_RANGE_ALL_TIME));
    EXPECT_FALSE(ScoresMainIsDateInRange(&dec31, &jan1, (_ScoresRange)7));

    char day = 1, week = 1, month = 1, year = 1;
    _EngMiscDate bad = {1900, 1, 1, {0, 0}};
    EXPECT_FALSE(ScoresMainGetRangesFromDate(&bad, &dec31, &day, &week, &month, &year));
    EXPECT_EQ(0, day + week + month + year);
    _EngMiscDate dec30 = {2024, 12, 30, {0, 0}};
    ASSERT_TRUE(ScoresMainGetRangesFromDate(&dec30, &dec31, &day, &week, &month, &year));
    // Both lie in ISO week 1 of the next year, yet inside one calendar year.
    EXPECT_EQ(0, day);
    EXPECT_EQ(1, week);
    EXPECT_EQ(1, month);
    EXPECT_EQ(1, year);
}

TEST(ScoresRows, ValidityRefusesEachBadField)
{
    _ScoresScore good = GoodRow(10, "Ann");
    EXPECT_TRUE(ScoresMainIsScoreValid(&good, true));
    EXPECT_FALSE(ScoresMainIsScoreValid(nullptr, false));
    _ScoresScore row = good;
    row.score = 0;
    EXPECT_FALSE(ScoresMainIsScoreValid(&row, false));
    row = good;
    row.uid = 0;
    EXPECT_FALSE(ScoresMainIsScoreValid(&row, false));
    row = good;
    row.name[0] = 0;
    EXPECT_FALSE(ScoresMainIsScoreValid(&row, false));
    row = good;
    row.value2 = -1;
    EXPECT_FALSE(ScoresMainIsScoreValid(&row, false));
    row = good;
    row.digits[0] = 10;
    int start = DebugGetMessageCount();
    EXPECT_FALSE(ScoresMainIsScoreValid(&row, false));
    EXPECT_TRUE(LogHas(start, "IS_IF [10 0 0 0]"));
    row = good;
    row.date.month = 13;
    EXPECT_FALSE(ScoresMainIsScoreValid(&row, false));
    row = good;
    row.platform = 'S';
    EXPECT_TRUE(ScoresMainIsScoreValid(&row, false));
    EXPECT_FALSE(ScoresMainIsScoreValid(&row, true));
}

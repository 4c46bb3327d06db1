// Score submission against a loopback server: the record and its packed body, and every reply tag.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Engine/Core/EngBlowfish.h"
#include "Engine/Core/EngJson.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/MWin/MWinButtonFixture.h"
#include "Online/OnlineTestSupport.h"
#include "Online/PackedTextDecoding.h"
#include "Online/ScoresSubmit.h"
#include "Support/LoopbackHttpServer.h"

namespace {

constexpr unsigned short kGameVersion = 140;

_ScoresScore Row()
{
    _ScoresScore row = {};
    row.score = 3512345;
    row.value2 = 7;
    row.value3 = 4000000000u;
    row.value4 = 12;
    row.date = {2024, 5, 17, {0, 0}};
    row.uid = 321;
    snprintf(row.name, sizeof row.name, "Ren\xE9 Ahl");
    snprintf(row.cc, sizeof row.cc, "FI");
    row.platform = 'M';
    row.digits[0] = 1;
    row.digits[1] = 2;
    row.digits[2] = 3;
    row.digits[3] = 9;
    return row;
}

std::string RecordText(const _ScoresScore& row, unsigned table_id = 7)
{
    char* text = ScoresSubmitMakeRecordText(SCORES_PROGRAM_GAME, kGameVersion, table_id, &row);
    std::string copy = text ? text : "";
    EngFree(text, false, "test");
    return copy;
}

class ScoresSubmit : public ::testing::Test {
protected:
    _ScoresSubmitResult Submit(const std::string& reply, int* minimum = nullptr, const _ScoresScore* row = nullptr)
    {
        server = std::make_unique<LoopbackHttpServer>(MakeReply(200, reply));
        setenv("TORVI_WEB_BASE", server->Base().c_str(), 1);
        _ScoresScore fallback = Row();
        return ScoresSubmitScore(SCORES_PROGRAM_GAME, kGameVersion, 7, row ? row : &fallback, nullptr, minimum);
    }
    std::unique_ptr<LoopbackHttpServer> server;
};

} // namespace

TEST(ScoresSubmitRecord, MembersComeInOrderWithTheRowsValues)
{
    _ScoresScore row = Row();
    EngJsonObject record = EngJsonObject::parse(RecordText(row));
    std::vector<std::string> keys;
    for (auto& member : record.items())
        keys.push_back(member.key());
    const std::vector<std::string> expected = {"ac", "ver", "prog", "gver", "set", "uid", "name", "cc", "fb", "v1",
                                               "v2", "v3", "v4", "f1", "f2", "f3", "f4", "date", "plat"};
    EXPECT_EQ(expected, keys);
    EXPECT_EQ("Sub", record["ac"]);
    EXPECT_EQ(1, record["ver"]);
    EXPECT_EQ(40, record["prog"]);
    EXPECT_EQ(140, record["gver"]);
    EXPECT_EQ(7u, record["set"]);
    EXPECT_EQ(321, record["uid"]);
    EXPECT_EQ("Ren\xC3\xA9 Ahl", record["name"]) << "the Windows-1252 name travels as UTF-8";
    EXPECT_EQ("FI", record["cc"]);
    EXPECT_EQ("", record["fb"]);
    EXPECT_EQ(3512345, record["v1"]);
    EXPECT_EQ(4000000000u, record["v3"]);
    EXPECT_EQ(9, record["f4"]);
    EXPECT_EQ((2024u * 15 + 5) * 50 + 17, record["date"]);
    EXPECT_EQ("W", record["plat"]) << "this program's letter, not the row's";
}

TEST(ScoresSubmitRecord, DateValueStepsByMonthAndYear)
{
    _EngMiscDate may = {2024, 5, 17, {0, 0}};
    _EngMiscDate june = {2024, 6, 17, {0, 0}};
    _EngMiscDate next_may = {2025, 5, 17, {0, 0}};
    EXPECT_EQ(50u, ScoresSubmitDateValue(&june) - ScoresSubmitDateValue(&may));
    EXPECT_EQ(750u, ScoresSubmitDateValue(&next_may) - ScoresSubmitDateValue(&may));
}

TEST_F(ScoresSubmit, PostedBodyUnpacksToTheRecord)
{
    ASSERT_EQ(SCORES_SUBMIT_ACCEPTED, Submit(" A\n"));
    const std::string request = server->LastRequest();
    EXPECT_EQ(0u, request.find("POST /cgi-bin/common/scores/Scores.fcgi HTTP/1.1\r\n")) << request;
    size_t body_start = request.find("\r\n\r\n");
    ASSERT_NE(std::string::npos, body_start);
    std::string body = request.substr(body_start + 4);
    ASSERT_FALSE(body.empty()) << "the body arrived in a later packet";
    ASSERT_EQ('\0', body.back()) << "the packed text is sent with its terminator";
    body.pop_back();

    std::string record = RecordText(Row());
    std::vector<unsigned char> expected(record.begin(), record.end());
    expected.push_back(0);
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption(SCORES_SUBMIT_KEY, expected.data(),
                                                                (int)expected.size()));
    EXPECT_EQ(expected, Inflate(DecodeFormSafe(body), expected.size()));
}

TEST_F(ScoresSubmit, EachReplyTagGivesItsResult)
{
    struct Case {
        const char* reply;
        _ScoresSubmitResult result;
        int minimum;
        const char* logged;
    };
    const Case cases[] = {
        {" A\n", SCORES_SUBMIT_ACCEPTED, -7, nullptr},
        {" B 123", SCORES_SUBMIT_TOO_LOW, 123, nullptr},
        {" B what", SCORES_SUBMIT_TOO_LOW, 0, nullptr},
        {" B 77          999", SCORES_SUBMIT_TOO_LOW, 77, nullptr},
        // Beyond an int: read as it was, it wrapped to -727379969.
        {" B 3567587327", SCORES_SUBMIT_TOO_LOW, 0, "Bad minimum score [3567587327]"},
        {" B -5", SCORES_SUBMIT_TOO_LOW, 0, "Bad minimum score [-5]"},
        {" B 12x", SCORES_SUBMIT_TOO_LOW, 0, "Bad minimum score [12x]"},
        {" D\n", SCORES_SUBMIT_BETTER_EXISTS, -7, nullptr},
        {" D and a long tail after it", SCORES_SUBMIT_BETTER_EXISTS, -7, nullptr},
        {" V 140 141", SCORES_SUBMIT_OUT_OF_DATE, -7, nullptr},
        {" V 140 140", SCORES_SUBMIT_REFUSED, -7, "Problem reading high scores list  [V SAME 140]"},
        {" V 139 141", SCORES_SUBMIT_REFUSED, -7, "Problem reading high scores list  [GV140 > CGV139]"},
        {" V 140 139", SCORES_SUBMIT_REFUSED, -7, "Problem reading high scores list  [V140 > V139]"},
        // 140 and 141 plus 2^32: cut to 32 bits they would read as an out-of-date game.
        {" V 4294967436 4294967437", SCORES_SUBMIT_REFUSED, -7, "Problem reading high scores list  [GV140 > CGV0]"},
        {" X closed", SCORES_SUBMIT_REFUSED, -7, "CE: closed"},
        {"A\n ok", SCORES_SUBMIT_REFUSED, -7, "CE: Unknown [A\n ok]."},
        {" Q odd", SCORES_SUBMIT_REFUSED, -7, "CE: Unknown [ Q odd]."},
        {"", SCORES_SUBMIT_TRANSFER_FAILED, -7, nullptr},
        {" A", SCORES_SUBMIT_TRANSFER_FAILED, -7, nullptr},
    };
    for (const Case& c : cases) {
        int minimum = -7;
        int start = DebugGetMessageCount();
        EXPECT_EQ(c.result, Submit(c.reply, &minimum)) << c.reply;
        EXPECT_EQ(c.minimum, minimum) << c.reply;
        if (c.logged) {
            EXPECT_TRUE(LogHas(start, c.logged)) << c.reply << "\n" << LogSince(start);
        }
    }
}

TEST_F(ScoresSubmit, InvalidScoresNeverReachTheServer)
{
    std::vector<_ScoresScore> rows(5, Row());
    rows[0].score = 0;
    rows[1].uid = 0;
    rows[2].name[0] = 0;
    rows[3].digits[0] = 10;
    memset(rows[4].name, 'N', sizeof rows[4].name); // no terminator
    for (const _ScoresScore& row : rows) {
        EXPECT_EQ(SCORES_SUBMIT_REFUSED, Submit(" A\n", nullptr, &row));
        EXPECT_EQ(0, server->RequestCount());
    }
    int start = DebugGetMessageCount();
    EXPECT_EQ(SCORES_SUBMIT_REFUSED, ScoresSubmitScore(SCORES_PROGRAM_GAME, kGameVersion, 7, nullptr, nullptr, nullptr));
    EXPECT_TRUE(LogHas(start, "Parameters error"));
}

TEST_F(ScoresSubmit, FailedTransfersAreReportedAsSuch)
{
    LoopbackHttpServer broken(MakeReply(500, " A\n"));
    setenv("TORVI_WEB_BASE", broken.Base().c_str(), 1);
    _ScoresScore row = Row();
    int start = DebugGetMessageCount();
    EXPECT_EQ(SCORES_SUBMIT_TRANSFER_FAILED,
              ScoresSubmitScore(SCORES_PROGRAM_GAME, kGameVersion, 7, &row, nullptr, nullptr));
    EXPECT_TRUE(LogHas(start, "Problem submitting ["));

    setenv("TORVI_WEB_BASE", "http://127.0.0.1:9", 1);
    EXPECT_EQ(SCORES_SUBMIT_TRANSFER_FAILED,
              ScoresSubmitScore(SCORES_PROGRAM_GAME, kGameVersion, 7, &row, nullptr, nullptr));
    EXPECT_TRUE(LogHas(start, "Problem submitting [(no data)]."));
}

class ScoresSubmitPopups : public MWinFixture {
protected:
    _ScoresSubmitResult Submit(const std::string& reply)
    {
        LoopbackHttpServer server(MakeReply(200, reply));
        setenv("TORVI_WEB_BASE", server.Base().c_str(), 1);
        _ScoresScore row = Row();
        return ScoresSubmitScore(SCORES_PROGRAM_GAME, kGameVersion, 7, &row, mwin, nullptr);
    }
};

TEST_F(ScoresSubmitPopups, AnswerIsShownWhenTheGuiIsFree)
{
    EXPECT_EQ(SCORES_SUBMIT_ACCEPTED, Submit(" A\n"));
    EXPECT_TRUE(mwin->IsPopupOn());
    mwin->PopupCloseIfOn();
    EXPECT_EQ(SCORES_SUBMIT_TOO_LOW, Submit(" B 55"));
    EXPECT_TRUE(mwin->IsPopupOn());
}

TEST_F(ScoresSubmitPopups, OpenPopupIsLeftAloneAndTheResultIsTheSame)
{
    ASSERT_EQ(1, mwin->PopupMessage("Mine", "Already here"));
    int start = DebugGetMessageCount();
    EXPECT_EQ(SCORES_SUBMIT_ACCEPTED, Submit(" A\n"));
    EXPECT_EQ(SCORES_SUBMIT_REFUSED, Submit(" X no"));
    EXPECT_TRUE(mwin->IsPopupOn());
    EXPECT_FALSE(LogHas(start, "Popup already on"));
}

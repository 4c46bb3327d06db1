// World times against a scores service on the loopback: a table fetched and cached per range, the service's
// messages handed to the screen, the cached tables dropped without losing the driver's range, and each answer
// to a submitted best time acted on.
#include <unistd.h>

#include <memory>

#include "Engine/Core/EngProgram.h"
#include "Game/Resolution.h"
#include "Game/TimesWorld.h"
#include "Game/Users.h"
#include "ProfileTestSupport.h"
#include "Support/LoopbackHttpServer.h"

namespace {

constexpr unsigned kTableId = 31003;

class FakeTimeTrial : public TimesWorldScreen
{
public:
    unsigned GetWorldTimesTableId() override { return kTableId; }
    _ScoresScore* GetBestTimeAsScore(int range) override
    {
        asked_range = range;
        return has_best ? &best : nullptr;
    }
    void SetWorldTimesMessage(const char* text) override { message = text; }
    void TimeSubmittedCB(bool accepted) override { submitted += accepted ? 1 : 0; }

    _ScoresScore best = {};
    bool has_best = true;
    int asked_range = -1;
    std::string message;
    int submitted = 0;
};

class WorldTimes : public ProfileTest
{
protected:
    void SetUp() override
    {
        ProfileTest::SetUp();
        world = std::make_unique<TimesWorld>(game);
        world->SetScreen(&screen);
        eng_time = 100.0;
        screen.best.score = 3600000 - 61234;
        screen.best.uid = 42;
        snprintf(screen.best.name, sizeof screen.best.name, "ANNA");
        snprintf(screen.best.cc, sizeof screen.best.cc, "FI");
        screen.best.date = {2024, 5, 17, {0, 0}};
        screen.best.platform = 'L';
    }
    void Serve(const std::string& reply)
    {
        server = std::make_unique<LoopbackHttpServer>(MakeReply(200, reply));
        setenv("TORVI_WEB_BASE", server->Base().c_str(), 1);
    }
    // The first check only arms the reader; the second, later, starts the download or reads the cache.
    signed char Check()
    {
        EXPECT_EQ(0, world->UpdateIfNeeded());
        eng_time += 0.3;
        return world->UpdateIfNeeded();
    }
    signed char WaitForEnd()
    {
        for (int i = 0; i < 1000; i++) {
            signed char done = world->IsUpdateFinished();
            if (done != 0)
                return done;
            usleep(10000);
        }
        return 0;
    }
    std::string CacheFile(char range_letter)
    {
        return home + "/Ostrelmark/Torvi Torvi/Scores/Scores_40_" + std::to_string(kTableId) + "_" + range_letter +
               ".sco";
    }

    FakeTimeTrial screen;
    std::unique_ptr<TimesWorld> world;
    std::unique_ptr<LoopbackHttpServer> server;
};

} // namespace

TEST_F(WorldTimes, TableIsFetchedForTheProfilesRangeThenServedFromTheCache)
{
    game->GetCurrentProfile()->world_range = SCORES_RANGE_MONTH;
    Serve("Y \n3538766 0 0 0 7 ANNA FI - 2024-05-17 L\n3500000 0 0 0 8 BO SE - 2024-05-18 W\n");
    EXPECT_EQ(1, Check());
    EXPECT_TRUE(world->IsUpdating());
    ASSERT_EQ(1, WaitForEnd());
    EXPECT_NE(std::string::npos, server->LastRequest().find("st=31003&ra=2&")) << server->LastRequest();
    ASSERT_EQ(2, world->GetNumScores());
    const _ScoresScore* rows = world->GetScoresList();
    EXPECT_STREQ("ANNA", rows[0].name);
    EXPECT_EQ(3500000, rows[1].score);
    EXPECT_TRUE(FileExists(CacheFile('M')));

    world->DeleteScoresMainInstance();
    EXPECT_EQ(0, world->GetNumScores());
    EXPECT_FALSE(world->IsUpdating());
    EXPECT_EQ(2, Check());
    EXPECT_EQ(2, world->GetNumScores());
    EXPECT_EQ(1, server->RequestCount());
}

TEST_F(WorldTimes, ServiceMessagesReachTheScreen)
{
    struct Case {
        const char* reply;
        signed char finished;
        const char* message;
    };
    const Case cases[] = {{" M Tables are resting tonight.", -1, "Tables are resting tonight."},
                          {" V 140 141 0", -1, TIMES_WORLD_OUT_OF_DATE},
                          {" X broken", -1, ""},
                          {"garbage", -1, ""}};
    for (const Case& c : cases) {
        screen.message.clear();
        Serve(c.reply);
        ASSERT_TRUE(world->Update()) << c.reply;
        EXPECT_EQ(c.finished, WaitForEnd()) << c.reply;
        EXPECT_EQ(c.message, screen.message) << c.reply;
        world->DeleteScoresMainInstance();
    }
    EXPECT_EQ(0, world->IsUpdateFinished());
}

TEST_F(WorldTimes, DeletingTheCacheCoversAllRangesAndKeepsTheProfilesRange)
{
    Serve("Y \n");
    game->GetCurrentProfile()->world_range = SCORES_RANGE_WEEK;
    for (int range = 0; range < 4; range++) {
        game->GetCurrentProfile()->world_range = range;
        ASSERT_TRUE(world->Update());
        ASSERT_EQ(1, WaitForEnd());
        world->DeleteScoresMainInstance();
    }
    game->GetCurrentProfile()->world_range = SCORES_RANGE_YEAR;
    for (char letter : {'A', 'Y', 'M', 'W'})
        ASSERT_TRUE(FileExists(CacheFile(letter))) << letter;
    world->DeleteScoresFiles();
    for (char letter : {'A', 'Y', 'M', 'W'})
        EXPECT_FALSE(FileExists(CacheFile(letter))) << letter;
    EXPECT_EQ(SCORES_RANGE_YEAR, game->GetCurrentProfile()->world_range);
}

TEST_F(WorldTimes, EachSubmitAnswerIsActedOn)
{
    struct Case {
        const char* reply;
        int submitted;
        EngUInt8 internet_test;
        bool check_cleared;
    };
    const Case cases[] = {{" A\n", 1, 1, false},
                          {" D\n", 0, 1, false},
                          {" V 140 141", 0, 1, true},
                          {" X no", 0, RESOLUTION_NOT_TESTED, false}};
    ResolutionSettings* resolution = ResolutionGetSettings();
    for (const Case& c : cases) {
        screen.submitted = 0;
        resolution->internet_test[0] = RESOLUTION_NOT_TESTED;
        resolution->last_check = {2030, 1, 2, {0, 0}};
        Serve(c.reply);
        world->SubmitBestTime(SCORES_RANGE_WEEK);
        EXPECT_EQ(SCORES_RANGE_WEEK, screen.asked_range);
        EXPECT_EQ(1, server->RequestCount()) << c.reply;
        EXPECT_NE(std::string::npos, server->LastRequest().find("POST /cgi-bin/common/scores/Scores.fcgi"));
        EXPECT_EQ(c.submitted, screen.submitted) << c.reply;
        EXPECT_EQ(c.internet_test, resolution->internet_test[0]) << c.reply;
        EXPECT_EQ(c.check_cleared ? 0u : 2030u, resolution->last_check.year) << c.reply;
    }
}

TEST_F(WorldTimes, NothingToSubmitNeverReachesTheService)
{
    Serve(" A\n");
    int mark = LogMark();
    screen.has_best = false;
    world->SubmitBestTime(SCORES_RANGE_ALL_TIME);
    EXPECT_TRUE(LoggedSince(mark, "Internal Error"));
    screen.has_best = true;
    screen.best.score = 0;
    world->SubmitBestTime(SCORES_RANGE_ALL_TIME);
    EXPECT_EQ(0, server->RequestCount());
    EXPECT_EQ(0, screen.submitted);
}


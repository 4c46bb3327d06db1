// The time-trial screen: times going into the local tables, the table as the player sees it, the question
// after a new best and the time it submits, and the world table from a scores service on the loopback.

#include "Support/GameWindowFixture.h"

#include <unistd.h>

#include <memory>
#include <vector>

#include "Engine/Core/EngBlowfish.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/MWin/MWinTabPanel.h"
#include "Game/Car.h"
#include "Game/Screens/PlatformIcons.h"
#include "Game/Screens/TTrialCC.h"
#include "Game/SettingsClass.h"
#include "Game/TimesWorld.h"
#include "Game/Users.h"
#include "Online/PackedTextDecoding.h"
#include "Online/ScoresSubmit.h"
#include "Support/LogForTests.h"
#include "Support/LoopbackHttpServer.h"

namespace {

_EngMiscDate Today()
{
    _EngMiscDate today;
    EngMiscGetCurrentDate(&today);
    return today;
}

LocalTimeEntry Entry(const char* name, int user_id, EngUInt32 time, _EngMiscDate date = Today())
{
    LocalTimeEntry entry = {};
    snprintf(entry.name, sizeof entry.name, "%s", name);
    entry.user_id = user_id;
    snprintf(entry.country, sizeof entry.country, "FI");
    entry.platform = 'W';
    entry.time = time;
    entry.date = date;
    return entry;
}

class TimeTrialScreen : public GameWindowFixture
{
protected:
    void SetUp() override
    {
        GameWindowFixture::SetUp();
        profile = PlayingDriver("ANNA");
        profile->user_id = 42;
        snprintf(profile->country, sizeof profile->country, "FI");
        profile->time_trial_laps = 3;
        profile->time_trials_track = 2;
        profile->formula_zzz = 1;
        ttrial = screens->GetTTrial();
        eng_time = 100.0;
        // The screen was shown before the run: its laps tab is the profile's.
        Open();
    }
    void TearDown() override
    {
        unsetenv("TORVI_WEB_BASE");
        GameWindowFixture::TearDown();
    }
    LocalTimesTable* Table() { return game->GetSettings()->GetTable(1, 2, 1); }
    void Fill(std::vector<EngUInt32> times)
    {
        LocalTimesTable* table = Table();
        memset(table, 0, sizeof *table);
        for (EngUInt32 time : times)
            table->entries[table->count++] = Entry("BO", 7, time);
    }
    // The time-trial run that just ended, as the game hands it over.
    void Finish(EngUInt32 race_time, int laps = 3)
    {
        CarRecord* record = game->GetCar()->GetRecord(0);
        record->laps_done = laps;
        record->race_time = race_time;
        ttrial->AddTimeToLocalTimes(0);
    }
    void Open() { ASSERT_EQ(1, screens->GotoScreen(SCREEN_TTRL, nullptr)); }
    MWinButton* Button(int index) { return ttrial->GetButton(index); }
    MWinTabPanel* Panel() { return static_cast<MWinTabPanel*>(Button(TTrialCC::BUT_TIMES)); }
    // Frames of 0.1 s until done says so (at most 20 s of them).
    template <typename Done> bool TickUntil(Done done)
    {
        for (int i = 0; i < 200; i++) {
            eng_time += 0.1;
            screens->Tick();
            if (done())
                return true;
            usleep(20000);
        }
        return false;
    }
    void Serve(const LoopbackReply& reply)
    {
        server = std::make_unique<LoopbackHttpServer>(reply);
        setenv("TORVI_WEB_BASE", server->Base().c_str(), 1);
    }

    UserRecord* profile = nullptr;
    TTrialCC* ttrial = nullptr;
    std::unique_ptr<LoopbackHttpServer> server;
};

std::vector<EngUInt32> Steps(int count)
{
    std::vector<EngUInt32> times;
    for (int row = 0; row < count; row++)
        times.push_back(EngUInt32(row + 1) * 1000);
    return times;
}

} // namespace

TEST_F(TimeTrialScreen, TimesGoIntoTheTableInOrderAndAFullTableDropsItsLast)
{
    struct Case {
        const char* what;
        int rows;
        EngUInt32 time;
        int laps;
        int inserted;
        int count;
        int row_checked;
        EngUInt32 time_there;
    };
    const Case cases[] = {
        {"into an empty table", 0, 5000, 3, 0, 1, 0, 5000},
        {"after an equal time", 3, 2000, 3, 2, 4, 3, 3000},
        {"full, at the last place", 100, 99500, 3, 99, 100, 98, 99000},
        {"full, at the top", 100, 500, 3, 0, 100, 99, 99000},
        {"full, slower than all", 100, 200000, 3, -1, 100, 99, 100000},
        {"no lap completed", 3, 500, 0, -1, 3, 0, 1000},
    };
    for (const Case& c : cases) {
        Fill(Steps(c.rows));
        Finish(c.time, c.laps);
        EXPECT_EQ(c.inserted, ttrial->GetInsertedRow()) << c.what;
        EXPECT_EQ(c.count, Table()->count) << c.what;
        EXPECT_EQ(c.time_there, Table()->entries[c.row_checked].time) << c.what;
        if (c.inserted >= 0) {
            const LocalTimeEntry& entry = Table()->entries[c.inserted];
            EXPECT_STREQ("ANNA", entry.name) << c.what;
            EXPECT_EQ(42, entry.user_id) << c.what;
            EXPECT_STREQ("FI", entry.country) << c.what;
            EXPECT_EQ(PlatformGetCurrentPlatform(), entry.platform) << c.what;
            EXPECT_EQ(Today().day, entry.date.day) << c.what;
        }
    }
}

TEST_F(TimeTrialScreen, TableShowsSharedLeadersAndSubmitNeedsTheDriversOwnRow)
{
    Fill({61230, 61230, 75000});
    Open();
    MWinTabPanel* panel = Panel();
    ASSERT_NE(nullptr, panel);
    EXPECT_EQ(3, panel->GetNumRows());
    EXPECT_STREQ("01.", ttrial->GetCellText(0, 0));
    EXPECT_STREQ("01.", ttrial->GetCellText(1, 0));
    EXPECT_STREQ("03.", ttrial->GetCellText(2, 0));
    EXPECT_STREQ("BO", ttrial->GetCellText(1, 2));
    EXPECT_STREQ("01:01:23", ttrial->GetCellText(0, 4));
    EXPECT_STREQ("?", ttrial->GetCellText(3, 2));
    EXPECT_FLOAT_EQ(0.75f, ttrial->GetCellColour(1, 2)[3]);
    EXPECT_FLOAT_EQ(0.5f, ttrial->GetCellColour(2, 2)[3]);
    EXPECT_STREQ("FORMULA 3   WORLD   TIMES", Button(TTrialCC::BUT_LEVEL)->GetTextP(0));
    EXPECT_STREQ("LAPS:  3", Button(TTrialCC::BUT_NUM_LAPS)->GetTextP(0));
    EXPECT_FALSE(Button(TTrialCC::BUT_TIMES_UPDATE)->IsEnabled());
    EXPECT_FALSE(Button(TTrialCC::BUT_TIMES_SUBMIT)->IsEnabled()) << "no row of this driver";

    int mark = LogMark();
    game->Render();
    EXPECT_FALSE(LoggedSince(mark, "Crop")) << "the table and its flags are drawn with crops that match";

    Finish(90000);
    Open();
    EXPECT_EQ(3, ttrial->GetInsertedRow()) << "the new row survives the screen's start";
    EXPECT_EQ(4, Panel()->GetNumRows());
    EXPECT_TRUE(Button(TTrialCC::BUT_TIMES_SUBMIT)->IsEnabled());
    EXPECT_EQ((2 + 10 * 1 + 11) * 1000u + 3u, ttrial->GetWorldTimesTableId());

    Button(TTrialCC::BUT_NUM_LAPS)->ChoiceSetSel(4, MWIN_FIRE_ALWAYS);
    EXPECT_EQ(-1, ttrial->GetInsertedRow());
    EXPECT_EQ(0, Panel()->GetNumRows()) << "the 20-lap table is empty";
    EXPECT_FALSE(Button(TTrialCC::BUT_TIMES_SUBMIT)->IsEnabled());
}

// Profile range ALL TIME; the driver's faster time of last year keeps the new one from being the all-time
// best, so the question names the year, and OK submits this year's best rather than the older time.
TEST_F(TimeTrialScreen, QuestionNamesTheRangeWhoseBestItSubmits)
{
    Serve(MakeReply(200, " A\n"));
    _EngMiscDate last_year = Today();
    last_year.year--;
    Fill({});
    Table()->entries[0] = Entry("ANNA", 42, 50000, last_year);
    Table()->count = 1;
    Finish(60000);
    Open();
    ttrial->CheckSubmittingFastestTime();
    ASSERT_TRUE(mwin->IsPopupOn());
    std::string question = mwin->m_popup_message_button->GetTextP(0);
    EXPECT_NE(std::string::npos, question.find("NEW YEARLY BEST TIME")) << question;
    EXPECT_NE(std::string::npos, question.find("01:00:00  IN  FORMULA 3")) << question;
    EXPECT_EQ(2, Panel()->GetNumRows()) << "the table shows the profile's range again";

    mwin->m_popup_buttons[0]->Fire();
    ASSERT_EQ(1, server->RequestCount());
    std::string request = server->LastRequest();
    std::string body = request.substr(request.find("\r\n\r\n") + 4);
    ASSERT_FALSE(body.empty());
    body.pop_back();
    _ScoresScore expected = {};
    expected.score = 3600000 - 60000;
    expected.date = Today();
    expected.uid = 42;
    snprintf(expected.name, sizeof expected.name, "ANNA");
    snprintf(expected.cc, sizeof expected.cc, "FI");
    expected.platform = PlatformGetCurrentPlatform();
    char* record = ScoresSubmitMakeRecordText(SCORES_PROGRAM_GAME, TIMES_WORLD_GAME_VERSION,
                                              ttrial->GetWorldTimesTableId(), &expected);
    ASSERT_NE(nullptr, record);
    std::vector<unsigned char> packed(record, record + strlen(record) + 1);
    EngFree(record, false, "test");
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption(SCORES_SUBMIT_KEY, packed.data(), int(packed.size())));
    EXPECT_EQ(packed, Inflate(DecodeFormSafe(body), packed.size()));
}

TEST_F(TimeTrialScreen, OnlyANewBestIsOffered)
{
    Fill({});
    Table()->entries[0] = Entry("ANNA", 42, 50000);
    Table()->count = 1;
    Finish(60000);
    ttrial->CheckSubmittingFastestTime();
    EXPECT_FALSE(mwin->IsPopupOn());
    Finish(40000);
    ttrial->CheckSubmittingFastestTime();
    ASSERT_TRUE(mwin->IsPopupOn());
    EXPECT_NE(std::string::npos, std::string(mwin->m_popup_message_button->GetTextP(0)).find("NEW ALL TIME BEST"));
}

TEST_F(TimeTrialScreen, WorldTableIsFetchedCachedAndKeptWhenTheServiceFails)
{
    std::string long_name(31, 'L');
    // A score above 3,600,000 would be a time below zero: that row is not shown.
    Serve(MakeReply(200, "Y \n3700000 0 0 0 9 CHEAT DE - 2024-05-16 W\n3538766 0 0 0 7 ANNA FI - 2024-05-17 L\n" +
                             std::to_string(3600000 - 65000) + " 0 0 0 8 " + long_name + " SE - 2024-05-18 M\n"));
    profile->time_trial_view = TTRIAL_SOURCE_WORLD;
    Open();
    EXPECT_TRUE(Button(TTrialCC::BUT_TIMES_UPDATE)->IsEnabled());
    ASSERT_TRUE(TickUntil([&] { return Panel()->GetNumRows() == 2; }));
    EXPECT_EQ(3, game->GetTimesWorld()->GetNumScores());
    EXPECT_STREQ("01:01:23", ttrial->GetCellText(0, 4));
    EXPECT_STREQ("LLLLLLLLLLL", ttrial->GetCellText(1, 2)) << "a name ends inside its field";
    EXPECT_STREQ("SE", ttrial->GetShownTable()->entries[1].country);
    EXPECT_FALSE(Button(TTrialCC::BUT_TIMES_SUBMIT)->IsEnabled());
    ASSERT_TRUE(TickUntil([&] { return Button(TTrialCC::BUT_TIMES_UPDATE)->IsEnabled(); }));
    EXPECT_STREQ("UPDATE", Button(TTrialCC::BUT_TIMES_UPDATE)->GetTextP(0));

    // Back on the screen the cached table is shown without asking the service.
    Open();
    ASSERT_TRUE(TickUntil([&] { return Panel()->GetNumRows() == 2; }));
    EXPECT_EQ(1, server->RequestCount());
    // UPDATE asks the service again, cache or not.
    ASSERT_EQ(1, ttrial->ButtonCB(Button(TTrialCC::BUT_TIMES_UPDATE), nullptr));
    ASSERT_TRUE(TickUntil(
        [&] { return server->RequestCount() == 2 && Button(TTrialCC::BUT_TIMES_UPDATE)->IsEnabled(); }));
    EXPECT_EQ(2, Panel()->GetNumRows());

    setenv("TORVI_WEB_BASE", "http://127.0.0.1:9", 1);
    ASSERT_EQ(1, ttrial->ButtonCB(Button(TTrialCC::BUT_TIMES_UPDATE), nullptr));
    ASSERT_TRUE(TickUntil([&] { return std::string(Button(TTrialCC::BUT_TIMES_UPDATE)->GetTextP(0)) == "FAILED"; }));
    EXPECT_FLOAT_EQ(0.0f, Button(TTrialCC::BUT_TIMES_UPDATE)->GetTextColour()[1]);
    EXPECT_EQ(2, Panel()->GetNumRows()) << "the table keeps what it showed";
    eng_time += 3.0;
    ASSERT_TRUE(TickUntil([&] { return std::string(Button(TTrialCC::BUT_TIMES_UPDATE)->GetTextP(0)) == "UPDATE"; }));
}

TEST_F(TimeTrialScreen, ServiceAnswersOtherThanATableAreShown)
{
    struct Case {
        const char* reply;
        const char* info;
    };
    const Case cases[] = {{" M Scores are resting tonight.", "Scores are resting tonight."},
                          {" V 140 141 0", TIMES_WORLD_OUT_OF_DATE},
                          {"<html>garbage</html>", nullptr}};
    profile->time_trial_view = TTRIAL_SOURCE_WORLD;
    for (const Case& c : cases) {
        Serve(MakeReply(200, c.reply));
        Open();
        ASSERT_EQ(1, ttrial->ButtonCB(Button(TTrialCC::BUT_TIMES_UPDATE), nullptr)) << c.reply;
        ASSERT_TRUE(TickUntil([&] { return std::string(Button(TTrialCC::BUT_TIMES_UPDATE)->GetTextP(0)) == "FAILED"; }))
            << c.reply;
        MWinButton* info = Button(TTrialCC::BUT_TIMES_INFO);
        EXPECT_EQ(c.info != nullptr, info->IsShown()) << c.reply;
        if (c.info) {
            EXPECT_STREQ(c.info, info->GetTextP(0)) << c.reply;
        }
        EXPECT_EQ(0, Panel()->GetNumRows()) << c.reply;
    }
}

TEST_F(TimeTrialScreen, SlowServiceShowsItIsUpdatingAndLocalTimesStay)
{
    Fill({61230, 75000});
    Serve(MakeSilentReply(30.0, "Y \n"));
    profile->time_trial_view = TTRIAL_SOURCE_WORLD;
    Open();
    MWinButton* update = Button(TTrialCC::BUT_TIMES_UPDATE);
    ASSERT_TRUE(TickUntil([&] { return std::string(update->GetTextP(0)) == "UPDATING..."; }));
    EXPECT_FALSE(update->IsEnabled());
    EXPECT_EQ(0, Panel()->GetNumRows());

    Button(TTrialCC::BUT_TIMES_WHICH)->ChoiceSetSel(TTRIAL_SOURCE_LOCAL, MWIN_FIRE_ALWAYS);
    EXPECT_EQ(2, Panel()->GetNumRows());
    EXPECT_EQ(2, Table()->count);
    EXPECT_EQ(61230u, Table()->entries[0].time);
}

TEST_F(TimeTrialScreen, GhostResetRemovesTheFileOfTrackAndLaps)
{
    Open();
    EXPECT_FALSE(Button(TTrialCC::BUT_GHOST_RESET)->IsEnabled());
    const char* name = game->GetCar()->GetGhostFilename(2, 3, true);
    ASSERT_NE(nullptr, name);
    std::string ghost = name;
    EngFile file;
    ASSERT_TRUE(file.CreateForWriting(ghost.c_str(), false));
    ASSERT_TRUE(file.Close());
    Open();
    EXPECT_TRUE(Button(TTrialCC::BUT_GHOST_RESET)->IsEnabled());
    ttrial->ButtonCB(Button(TTrialCC::BUT_GHOST_RESET), nullptr);
    EXPECT_FALSE(EngFileExists(ghost.c_str(), false));
    EXPECT_STREQ("Ghost car removed.", mwin->m_popup_message_button->GetTextP(0));
    EXPECT_FALSE(Button(TTrialCC::BUT_GHOST_RESET)->IsEnabled());
    mwin->PopupCloseIfOn();
    ttrial->ButtonCB(Button(TTrialCC::BUT_GHOST_RESET), nullptr);
    EXPECT_STREQ("No ghost car exists.", mwin->m_popup_message_button->GetTextP(0));
}

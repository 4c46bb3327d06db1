// The championship screens: slots read from their ".vch" files and shown "EMPTY" whenever a file cannot be
// trusted, the leaderboard and the final placing, the licences a final place earns, and how a championship
// race ends early (Escape after the line, abandoning it through the pause screen), and a whole championship
// of six stages raced at a fixed time step by the scripted pilot.

#include "Support/GameWindowFixture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngProgram.h"
#include "Game/Car.h"
#include "Game/ChampClass.h"
#include "Game/Levels.h"
#include "Game/Menus.h"
#include "Game/SaveFile.h"
#include "Game/StateClass.h"
#include "Game/Traverse.h"
#include "Game/Screens/CLoadCC.h"
#include "Game/Screens/CNewCC.h"
#include "Game/Screens/CRaceCC.h"
#include "Game/Screens/CResCC.h"
#include "Game/Screens/PauseCC.h"
#include "Game/Users.h"
#include "Support/ScriptedPilot.h"
#include "Support/WindowKeys.h"

namespace {

class ChampionshipScreens : public GameWindowFixture
{
protected:
    void SetUp() override
    {
        GameWindowFixture::SetUp();
        profile = PlayingDriver("ANNA");
        profile->classes[0].have_license[0] = 1;
        cload = screens->GetCLoad();
        crace = screens->GetCRace();
        cres = screens->GetCRes();
        eng_frame_time = 1.0 / 60.0;
    }
    ChampRecord Record(int stage) const
    {
        ChampRecord record = {};
        record.version = CHAMP_VERSION;
        record.stage = stage;
        record.length = 0;
        record.laps = 2;
        return record;
    }
    void WriteSlot(int slot, const void* data, unsigned size)
    {
        ASSERT_TRUE(cload->GetChampionshipFilename(slot, true));
        ASSERT_TRUE(GameSaveFileSafely(cload->GetPath(), data, size));
    }
    bool Shown(TorviCollectionController* screen, int index) { return screen->GetButton(index)->IsShown(); }
    bool Enabled(TorviCollectionController* screen, int index) { return screen->GetButton(index)->IsEnabled(); }
    void StartStage()
    {
        ASSERT_EQ(1, screens->GotoScreen(SCREEN_CRCE, nullptr));
        ASSERT_TRUE(Click(CRaceCC::BUT_START));
        ASSERT_FALSE(game->IsMenusOn());
        ASSERT_TRUE(RunUntilRacing(10.0));
    }

    // RACE !!! on the stage screen, the player's car driven by the pilot until the menus are back. The seed
    // makes the computer drivers' choices the same on every run.
    void RaceStageToTheEnd(unsigned seed)
    {
        std::srand(seed);
        pilot.LetGo();
        ASSERT_TRUE(Click(CRaceCC::BUT_START));
        ASSERT_FALSE(game->IsMenusOn());
        double clock_ms = game_clock_ms + 10000.0;
        for (int frame = 0; frame < 60 * 900 && !game->IsMenusOn(); frame++) {
            pilot.Drive(game);
            clock_ms += 1000.0 / 60.0;
            game_clock_ms = EngUInt32(clock_ms);
            eng_time = clock_ms / 1000.0;
            eng_frame_time = 1.0f / 60.0f;
            game->Tick();
        }
        ASSERT_TRUE(game->IsMenusOn()) << "the race did not end in 15 minutes";
        ASSERT_EQ(SCREEN_CRES, screens->GetCurrentScreen());
    }
    // The game's championship as saved, but for the laps, which the stage screen works out for each stage.
    bool SameAsGame(ChampRecord saved)
    {
        saved.laps = game->GetChamp()->GetRecord()->laps;
        return memcmp(game->GetChamp()->GetRecord(), &saved, sizeof saved) == 0;
    }
    ChampRecord Saved(int slot)
    {
        ChampRecord read = {};
        EXPECT_TRUE(cload->GetChampionshipFilename(slot, false));
        EXPECT_TRUE(ChampSaveFileLoad(cload->GetPath(), &read));
        return read;
    }

    ScriptedPilot pilot{
        [](int key, bool down) { SendKeyMessage(*eng_main_window, down ? ENG_WM_KEYDOWN : ENG_WM_KEYUP, key); }};
    UserRecord* profile = nullptr;
    CLoadCC* cload = nullptr;
    CRaceCC* crace = nullptr;
    CResCC* cres = nullptr;
};

} // namespace

TEST_F(ChampionshipScreens, SlotsTrustOnlyWholeFilesOfThisVersionWithFieldsInRange)
{
    struct BadFile {
        const char* what;
        int field; // the 4-byte field changed, or -1 to cut the file short
        float as_float;
        EngInt32 as_int;
    };
    const BadFile bad[] = {{"another version", 0, 1.3f, 0}, {"class 4", 1, 0, 4},     {"level -1", 2, 0, -1},
                           {"stage 7", 3, 0, 7},            {"length 5", 4, 0, 5},    {"no laps", 5, 0, 0},
                           {"short file", -1, 0, 0}};
    int slot = 0;
    for (const BadFile& file : bad) {
        ChampRecord record = Record(1);
        unsigned size = sizeof record;
        if (file.field == 0)
            record.version = file.as_float;
        else if (file.field > 0)
            reinterpret_cast<EngInt32*>(&record)[file.field] = file.as_int;
        else
            size -= 4;
        WriteSlot(slot++, &record, size);
    }
    ChampRecord playing = Record(2);
    WriteSlot(slot++, &playing, sizeof playing);
    ASSERT_EQ(CHAMP_SLOTS, slot);
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_CLOD, nullptr));
    for (int i = 0; i < 7; i++) {
        SCOPED_TRACE(bad[i].what);
        EXPECT_EQ("EMPTY", Text(cload, CLoadCC::BUT_NAME1 + i));
        EXPECT_TRUE(Enabled(cload, CLoadCC::BUT_NEW1 + i));
        EXPECT_FALSE(Enabled(cload, CLoadCC::BUT_LOAD1 + i));
        EXPECT_FALSE(Enabled(cload, CLoadCC::BUT_DELETE1 + i));
    }
    EXPECT_EQ("FORMULA 4 - ROOKIE - STAGE 3", Text(cload, CLoadCC::BUT_NAME8));
    EXPECT_FALSE(Enabled(cload, CLoadCC::BUT_NEW8));
    EXPECT_TRUE(Enabled(cload, CLoadCC::BUT_LOAD8));

    // Loading it makes it the game's championship and brings its leaderboard.
    ASSERT_TRUE(Click(CLoadCC::BUT_LOAD8));
    EXPECT_EQ(SCREEN_CRCE, screens->GetCurrentScreen());
    EXPECT_EQ(2, game->GetChamp()->GetRecord()->stage);
    EXPECT_EQ("STAGE  3", Text(crace, CRaceCC::BUT_TRACK));

    // Leaving saves it through a temporary file that does not stay behind.
    game->GetChamp()->GetRecord()->points[3] = 17;
    ASSERT_TRUE(Click(CRaceCC::BUT_QUIT));
    ChampRecord read = {};
    ASSERT_TRUE(cload->GetChampionshipFilename(7, false));
    std::string path = cload->GetPath();
    ASSERT_TRUE(ChampSaveFileLoad(path.c_str(), &read));
    EXPECT_EQ(17, read.points[3]);
    EXPECT_FALSE(EngFileExists((path + ".tmp").c_str(), false));
}

TEST_F(ChampionshipScreens, ALicenceMissingForTheChampionshipKeepsTheDriverOnTheSlots)
{
    ChampRecord record = Record(0);
    record.level = 2;
    WriteSlot(0, &record, sizeof record);
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_CLOD, nullptr));
    ASSERT_TRUE(Click(CLoadCC::BUT_LOAD1));
    EXPECT_EQ(SCREEN_CLOD, screens->GetCurrentScreen());
    EXPECT_EQ("YOU DO NOT HAVE THE REQUIRED RACING LICENSE FOR THIS CHAMPIONSHIP", PopupText());
    EXPECT_EQ(0, profile->classes[0].level_zzz);
}

TEST_F(ChampionshipScreens, NewDeletesTheOldFileAndDeleteAsksFirst)
{
    ChampRecord record = Record(4);
    WriteSlot(0, &record, sizeof record);
    WriteSlot(1, &record, sizeof record);
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_CLOD, nullptr));
    ASSERT_TRUE(Click(CLoadCC::BUT_DELETE2));
    EXPECT_EQ("DELETE CHAMPIONSHIP", PopupTitle());
    ASSERT_TRUE(AnswerPopup(MWIN_POPUP_OK_ID));
    EXPECT_EQ("EMPTY", Text(cload, CLoadCC::BUT_NAME2));
    EXPECT_EQ("FORMULA 4 - ROOKIE - STAGE 5", Text(cload, CLoadCC::BUT_NAME1));

    // A new championship in the second slot; leaving its length screen leaves the slot empty.
    ASSERT_TRUE(Click(CLoadCC::BUT_NEW2));
    EXPECT_EQ(SCREEN_CNEW, screens->GetCurrentScreen());
    EXPECT_EQ(1, cload->GetCurrentSlot());
    EXPECT_EQ(0, game->GetChamp()->GetRecord()->stage);
    Key(27);
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_CLOD, nullptr));
    EXPECT_EQ("EMPTY", Text(cload, CLoadCC::BUT_NAME2));
}

TEST_F(ChampionshipScreens, FinishedChampionshipShowsTheFinalPlaceWithTiesByDriverNumber)
{
    ChampRecord* record = game->GetChamp()->GetRecord();
    *record = Record(CHAMP_STAGES);
    const EngInt32 points[CHAMP_CARS] = {30, 40, 12, 30, 5, 30, 0, 2};
    for (int car = 0; car < CHAMP_CARS; car++)
        record->points[car] = points[car];
    WriteSlot(0, record, sizeof *record);
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_CLOD, nullptr));
    EXPECT_EQ("FORMULA 4 - ROOKIE - FINISHED", Text(cload, CLoadCC::BUT_NAME1));

    ASSERT_EQ(1, screens->GotoScreen(SCREEN_CRCE, nullptr));
    const char* expected_points[CHAMP_CARS] = {"40", "30", "30", "30", "12", "5", "2", "0"};
    for (int row = 0; row < CHAMP_CARS; row++)
        EXPECT_EQ(expected_points[row], Text(crace, CRaceCC::BUT_POS1 + row)) << row;
    // Driver 0 (the player) ties with 3 and 5 and comes first of them.
    EXPECT_EQ(1, crace->GetPlayerPlace());
    EXPECT_EQ(game->GetLevels()->GetDriverName(0), Text(crace, CRaceCC::BUT_NAME2));
    EXPECT_EQ(game->GetLevels()->GetDriverName(3), Text(crace, CRaceCC::BUT_NAME3));
    EXPECT_EQ("YOU PLACED SECOND !", Text(crace, CRaceCC::BUT_TRACK));
    EXPECT_FALSE(Shown(crace, CRaceCC::BUT_START));
    EXPECT_FALSE(Shown(crace, CRaceCC::BUT_NUM_LAPS));
    EXPECT_TRUE(Shown(crace, CRaceCC::BUT_OVER));
    EXPECT_EQ(game->GetMenus()->GetPicture(MENUS_TROPHY_ID + 1),
              crace->GetButton(CRaceCC::BUT_TRACK_PIC)->GetPictureData()->texture);

    // Second place of a ROOKIE championship: the AMATEUR licence, granted once.
    ASSERT_TRUE(Click(CRaceCC::BUT_QUIT));
    EXPECT_EQ(SCREEN_MAIN, screens->GetCurrentScreen());
    EXPECT_EQ(1, profile->classes[0].have_license[1]);
    EXPECT_EQ(0, profile->classes[1].have_license[0]);
    EXPECT_EQ(1, profile->changed);
}

TEST(ChampionshipAwards, PlacesGrantLicencesAndTrophiesThatAreNeverLowered)
{
    struct Case {
        const char* what;
        int formula, level, place;
        int next_level_licence, next_class_rookie, award;
    };
    const Case cases[] = {
        {"F4 ROOKIE win", 0, 0, 0, 1, 1, 0},   {"F4 ROOKIE third", 0, 0, 2, 1, 0, 0},
        {"F4 ROOKIE fourth", 0, 0, 3, 0, 0, 0}, {"F2 EXPERT win", 2, 4, 0, -1, 1, 3},
        {"F2 EXPERT third", 2, 4, 2, -1, 0, 1}, {"F1 win", 3, 1, 0, 1, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UserRecord profile = {};
        CRaceCC::GrantAwards(&profile, c.formula, c.level, c.place);
        if (c.next_level_licence >= 0) {
            EXPECT_EQ(c.next_level_licence, profile.classes[c.formula].have_license[c.level + 1]);
        }
        if (c.next_class_rookie >= 0) {
            EXPECT_EQ(c.next_class_rookie, profile.classes[c.formula + 1].have_license[0]);
        }
        EXPECT_EQ(c.award, profile.classes[c.formula].best_expert_result);
        EXPECT_EQ(c.place <= 2 ? 1 : 0, profile.changed);
    }
    UserRecord profile = {};
    CRaceCC::GrantAwards(&profile, 1, 4, 0);
    profile.changed = 0;
    CRaceCC::GrantAwards(&profile, 1, 4, 1);
    EXPECT_EQ(3, profile.classes[1].best_expert_result);
    EXPECT_EQ(0, profile.changed) << "a second place after a win changes nothing";
}

TEST_F(ChampionshipScreens, EscapeAfterTheLineGivesFullPointsAndAbandoningPutsThePlayerLast)
{
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_CLOD, nullptr));
    ASSERT_TRUE(Click(CLoadCC::BUT_NEW1));
    game->GetChamp()->GetRecord()->length = 0;
    ASSERT_TRUE(Click(CNewCollectionController::BUT_CONT));
    StartStage();
    CarRecord* player = game->GetCar()->GetRecord(0);
    player->laps_done = game->GetCar()->GetLaps();
    player->finish_state = CAR_FINISHING;
    player->place = 0;
    game->PauseRace();
    ASSERT_EQ(SCREEN_CRES, screens->GetCurrentScreen());
    EXPECT_EQ(10, cres->GetEarnedPoints(0));
    EXPECT_EQ("10", Text(cres, CResCC::BUT_POINTS1));
    ASSERT_TRUE(Click(CResCC::BUT_CONT));
    EXPECT_EQ(10, game->GetChamp()->GetRecord()->points[0]);
    EXPECT_EQ(1, game->GetChamp()->GetRecord()->stage);

    // The second stage, abandoned from the pause screen while the field is racing, before the player has
    // crossed the start line and so without a place of the player's own in the standings.
    StartStage();
    game->GetCar()->GetRecord(0)->laps_done = -1;
    game->GetCar()->GetRecord(0)->place = 0;
    game->PauseRace();
    ASSERT_EQ(SCREEN_PAUS, screens->GetCurrentScreen());
    ASSERT_TRUE(Click(PauseCC::BUT_QUIT));
    ASSERT_TRUE(AnswerPopup(MWIN_POPUP_OK_ID));
    ASSERT_EQ(SCREEN_CRES, screens->GetCurrentScreen());
    EXPECT_EQ(0, cres->GetEarnedPoints(0));
    EXPECT_EQ("--:--:--", Text(cres, CResCC::BUT_TIME8));
    EXPECT_EQ(game->GetLevels()->GetDriverName(0), Text(cres, CResCC::BUT_NAME8));
    std::set<std::string> names;
    for (int row = 0; row < CHAMP_CARS; row++)
        names.insert(Text(cres, CResCC::BUT_NAME1 + row));
    EXPECT_EQ(size_t(CHAMP_CARS), names.size()) << "every place has its own car";
    ASSERT_TRUE(Click(CResCC::BUT_CONT));
    EXPECT_EQ(10, game->GetChamp()->GetRecord()->points[0]);
    EXPECT_EQ(2, game->GetChamp()->GetRecord()->stage);
    ASSERT_TRUE(cload->LoadChampionship(0, false));
}

TEST_F(ChampionshipScreens, SixStagesRacedScoredSavedReloadedAndAwarded)
{
    const int points_by_place[CHAMP_CARS] = {10, 6, 4, 3, 2, 1, 0, 0};
    const int slot = 2;
    ChampClass* champ = game->GetChamp();
    std::srand(1);
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_CLOD, nullptr));
    ASSERT_TRUE(Click(CLoadCC::BUT_NEW1 + slot));
    champ->GetRecord()->length = 0;
    ASSERT_TRUE(Click(CNewCollectionController::BUT_CONT));

    int expected[CHAMP_CARS] = {};
    for (int stage = 0; stage < CHAMP_STAGES; stage++) {
        SCOPED_TRACE("stage " + std::to_string(stage + 1));
        ASSERT_EQ("STAGE  " + std::to_string(stage + 1), Text(crace, CRaceCC::BUT_TRACK));
        RaceStageToTheEnd(unsigned(stage + 1));
        if (HasFatalFailure())
            return;
        EXPECT_EQ(stage, game->GetTraverse()->GetTrack());
        for (int car = 0; car < CHAMP_CARS; car++) {
            int place = game->GetCar()->GetRecord(car)->place;
            ASSERT_TRUE(place >= 0 && place < CHAMP_CARS) << "car " << car;
            EXPECT_EQ(points_by_place[place], cres->GetEarnedPoints(car)) << "car " << car;
            expected[car] += points_by_place[place];
        }
        ASSERT_TRUE(Click(CResCC::BUT_CONT));
        const ChampRecord saved = Saved(slot);
        EXPECT_EQ(stage + 1, saved.stage);
        EXPECT_EQ(0, memcmp(expected, saved.points, sizeof expected));
        EXPECT_TRUE(SameAsGame(saved));
        if (stage != 2)
            continue;

        // Half way the driver leaves, the game forgets the championship, and its slot brings it back.
        ASSERT_TRUE(Click(CRaceCC::BUT_QUIT));
        *champ->GetRecord() = ChampRecord{};
        ASSERT_EQ(1, screens->GotoScreen(SCREEN_CLOD, nullptr));
        EXPECT_EQ("FORMULA 4 - ROOKIE - STAGE 4", Text(cload, CLoadCC::BUT_NAME1 + slot));
        ASSERT_TRUE(Click(CLoadCC::BUT_LOAD1 + slot));
        ASSERT_EQ(SCREEN_CRCE, screens->GetCurrentScreen());
        EXPECT_TRUE(SameAsGame(saved));
    }

    // The final leaderboard: every car's points, highest first, ties by driver number.
    ASSERT_EQ(SCREEN_CRCE, screens->GetCurrentScreen());
    int order[CHAMP_CARS];
    for (int car = 0; car < CHAMP_CARS; car++)
        order[car] = car;
    std::stable_sort(order, order + CHAMP_CARS, [&](int a, int b) { return expected[a] > expected[b]; });
    for (int row = 0; row < CHAMP_CARS; row++) {
        EXPECT_EQ(game->GetLevels()->GetDriverName(order[row]), Text(crace, CRaceCC::BUT_NAME1 + row));
        EXPECT_EQ(std::to_string(expected[order[row]]), Text(crace, CRaceCC::BUT_POS1 + row));
    }
    const int place = int(std::find(order, order + CHAMP_CARS, 0) - order);
    ASSERT_LE(place, 2) << "the pilot finishes a ROOKIE championship on the podium";
    const char* podium[] = {"YOU WON !", "YOU PLACED SECOND !", "YOU PLACED THIRD !"};
    EXPECT_EQ(podium[place], Text(crace, CRaceCC::BUT_TRACK));
    EXPECT_TRUE(Shown(crace, CRaceCC::BUT_OVER));

    // The licences come on the way back to the main menu.
    EXPECT_EQ(0, profile->classes[0].have_license[1]);
    ASSERT_TRUE(Click(CRaceCC::BUT_QUIT));
    EXPECT_EQ(SCREEN_MAIN, screens->GetCurrentScreen());
    EXPECT_EQ(1, profile->classes[0].have_license[1]);
    EXPECT_EQ(place == 0 ? 1 : 0, profile->classes[1].have_license[0]);
    EXPECT_EQ(CHAMP_STAGES, Saved(slot).stage);
}

// The quick race: the set-up screen building the field from the ticked drivers and the lap table, the result
// rows with shared places, blanks and the fastest lap, and Escape at the end of a real race driven by the
// game's own race step. Then the result tables of quick races and championship races, raced to the end or
// left with Escape, over tracks, field sizes and seeds: every car once, in the order of its time.

#include "Support/GameWindowFixture.h"

#include <set>

#include "Engine/Core/EngProgram.h"
#include "Game/Car.h"
#include "Game/ChampClass.h"
#include "Game/Levels.h"
#include "Game/Program.h"
#include "Game/StateClass.h"
#include "Game/Screens/CResCC.h"
#include "Game/Screens/QRaceCC.h"
#include "Game/Screens/QResCC.h"
#include "Game/Users.h"
#include "Support/LogForTests.h"
#include "Support/ScriptedPilot.h"
#include "Support/WindowKeys.h"

namespace {

class QuickRaceScreens : public GameWindowFixture
{
protected:
    void SetUp() override
    {
        GameWindowFixture::SetUp();
        profile = PlayingDriver("ANNA");
        profile->user_id = 42;
        qrace = screens->GetQRace();
        qres = screens->GetQRes();
        eng_frame_time = 1.0 / 60.0;
    }
    void Tick(int opponents_ticked)
    {
        for (int i = 0; i < USER_NUM_OPPONENTS; i++)
            profile->quick_race_opponents[i] = i < opponents_ticked ? 1 : 0;
    }
    void Press(TorviCollectionController* screen, int index)
    {
        ASSERT_NE(nullptr, screen->GetButton(index));
        screen->ButtonCB(screen->GetButton(index), nullptr);
    }
    void FinishPlayer()
    {
        CarRecord* player = game->GetCar()->GetRecord(0);
        player->laps_done = game->GetCar()->GetLaps();
        player->finish_state = CAR_FINISHING;
        player->finish_fade = 1.0f;
        player->finish_place = 0;
        player->place = 0;
    }

    UserRecord* profile = nullptr;
    QRaceCC* qrace = nullptr;
    QResCC* qres = nullptr;
};

} // namespace

TEST_F(QuickRaceScreens, SetUpBuildsTheFieldFromTheTickedDriversAndTheLapTable)
{
    profile->formula_zzz = 0;
    profile->classes[0].level_zzz = 2;
    profile->quick_race_laps = 10;
    Tick(3);
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_QRCE, nullptr));
    EXPECT_EQ("SEMI-PRO  RACING", Text(qrace, QRaceCC::BUT_LEVEL));
    EXPECT_EQ("FORMULA 4  -  QUICK RACE", Text(qrace, QRaceCC::BUT_TITLE));
    EXPECT_EQ("LAPS:  10", Text(qrace, QRaceCC::BUT_NUM_LAPS));
    std::set<std::string> names;
    for (int i = 0; i < USER_NUM_OPPONENTS; i++) {
        MWinButton* name = qrace->GetButton(QRaceCC::BUT_NAME1 + i);
        names.insert(name->GetTextP(0));
        EXPECT_EQ(i < 3 ? 1 : 0, name->CheckboxGetValue()) << i;
        const float* colour = Car::GetColour(game->GetLevels()->GetDriverColour(i + 1));
        EXPECT_FLOAT_EQ(colour[0], name->GetTextColour()[0]) << i;
    }
    EXPECT_EQ(7u, names.size()) << "seven drivers, seven names";

    // A stored lap count outside the table keeps the index the screen had.
    profile->quick_race_laps = 7;
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_QRCE, nullptr));
    EXPECT_EQ(3, qrace->GetLapsIndex());

    qrace->GetButton(QRaceCC::BUT_NUM_LAPS)->ChoiceSetSel(0, MWIN_FIRE_NEVER);
    Press(qrace, QRaceCC::BUT_START);
    EXPECT_EQ(GAME_TYPE_QUICK_RACE, game->GetGameType());
    EXPECT_EQ(4, game->GetCarsInRace());
    EXPECT_EQ(1, game->GetCar()->GetLaps());
    EXPECT_EQ(1, profile->quick_race_laps);
    EXPECT_FALSE(game->IsMenusOn());
}

TEST_F(QuickRaceScreens, AloneOnTheTrackEscapeAlwaysPauses)
{
    Tick(0);
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_QRCE, nullptr));
    Press(qrace, QRaceCC::BUT_START);
    ASSERT_EQ(1, game->GetCarsInRace());
    FinishPlayer();
    qres->GotoPauseOrResultScreen();
    EXPECT_TRUE(game->IsMenusOn());
    EXPECT_EQ(SCREEN_PAUS, screens->GetCurrentScreen());
}

TEST_F(QuickRaceScreens, ResultRowsShareAPlaceLeaveBlanksAndNameTheLowerCarForATiedLap)
{
    const int opponents[LEVELS_NUM_DRIVERS] = {0, 1, -1, -1, -1, -1, -1};
    ASSERT_TRUE(game->GetLevels()->SetupRaceOpponents(2, opponents));
    ASSERT_TRUE(game->SetupRace(GAME_TYPE_QUICK_RACE, 0, 3, false, -1, -1));
    game->GetCar()->SetLaps(2);
    struct Row {
        int place;
        int laps;
        EngUInt32 race, current, best;
    };
    const Row rows[3] = {{2, 1, 50000, 1000, 0}, {0, 2, 70000, 0, 30000}, {0, 2, 61230, 500, 30000}};
    for (int car = 0; car < 3; car++) {
        CarRecord* record = game->GetCar()->GetRecord(car);
        record->place = rows[car].place;
        record->laps_done = rows[car].laps;
        record->race_time = rows[car].race;
        record->current_lap_time = rows[car].current;
        record->best_lap = rows[car].best;
    }
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_QRES, nullptr));
    Levels* levels = game->GetLevels();
    EXPECT_EQ(levels->GetDriverName(2), Text(qres, QResCC::BUT_NAME1)) << "a shared place shows the higher car";
    EXPECT_EQ("01:01:23", Text(qres, QResCC::BUT_TIME1)) << "a finished car's time is its race time";
    EXPECT_EQ(" ", Text(qres, QResCC::BUT_NAME2));
    EXPECT_EQ("ANNA", Text(qres, QResCC::BUT_NAME3));
    EXPECT_EQ("00:51:00", Text(qres, QResCC::BUT_TIME3)) << "a car still racing counts its lap so far";
    for (int place = 3; place < 8; place++) {
        EXPECT_EQ(" ", Text(qres, QResCC::BUT_POS1 + place)) << place;
        EXPECT_EQ(" ", Text(qres, QResCC::BUT_TIME1 + place)) << place;
    }
    float x, y, w, h;
    qres->GetButton(QResCC::BUT_RES_BOX)->GetArea(&x, &y, &w, &h);
    EXPECT_FLOAT_EQ(201.0f + 14.0f + 20.0f, y + h) << "the box ends 20 below the third row";
    EXPECT_EQ(107.0f, x);
    EXPECT_EQ("FASTEST  LAP  00:30:00  BY  " + std::string(levels->GetDriverName(1)),
              Text(qres, QResCC::BUT_FASTEST_TEXT));

    for (int car = 0; car < 3; car++)
        game->GetCar()->GetRecord(car)->best_lap = 0;
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_QRES, nullptr));
    EXPECT_FALSE(qres->GetButton(QResCC::BUT_FASTEST_TEXT)->IsShown());
}

TEST_F(QuickRaceScreens, EscapeAfterTheFinishDrivesTheFieldHomeAndShowsAllEight)
{
    Tick(7);
    profile->quick_race_laps = 1;
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_QRCE, nullptr));
    Press(qrace, QRaceCC::BUT_START);
    ASSERT_EQ(8, game->GetCarsInRace());
    ASSERT_TRUE(RunUntilRacing(10.0));
    FinishPlayer();
    EngUInt32 clock = game_clock_ms;
    int mark = LogMark();
    // A frame time shorter than a millisecond still moves the simulated clock on.
    eng_frame_time = 0.0004;
    qres->GotoPauseOrResultScreen();
    EXPECT_FALSE(LoggedSince(mark, "Could not finish race"));
    EXPECT_EQ(clock, game_clock_ms);
    EXPECT_FALSE(game->GetCar()->IsQuietSimulation());
    ASSERT_EQ(SCREEN_QRES, screens->GetCurrentScreen());
    std::set<std::string> names;
    for (int place = 0; place < 8; place++) {
        std::string name = Text(qres, QResCC::BUT_NAME1 + place);
        EXPECT_NE(" ", name) << place;
        names.insert(name);
    }
    EXPECT_EQ(8u, names.size());
    // Every lap of the field was driven on the simulated clock, so each took time.
    const Car* car = game->GetCar();
    for (int n = 1; n < 8; n++) {
        EXPECT_NE(CAR_RACING, car->GetRecord(n)->finish_state) << n;
        EXPECT_GT(car->GetRecord(n)->race_time, 0u) << n;
    }
}

// ---- result tables of whole races ----------------------------------------------------------------------------

namespace {

enum class Ending
{
    kRacedToTheEnd,
    kEscapeAfterTheFinish,   // the field is driven home at once
    kEscapeBeforeTheLine,    // the player never left the grid; Escape once the field is home
};

struct ResultCase
{
    _GameType type;
    int track;
    int cars;
    int laps;
    Ending ending;
    unsigned seed;
};

const ResultCase kResultCases[] = {
    {GAME_TYPE_QUICK_RACE, 0, 8, 1, Ending::kRacedToTheEnd, 1},
    {GAME_TYPE_QUICK_RACE, 1, 5, 2, Ending::kRacedToTheEnd, 2},
    {GAME_TYPE_QUICK_RACE, 2, 8, 1, Ending::kRacedToTheEnd, 3},
    {GAME_TYPE_QUICK_RACE, 3, 3, 1, Ending::kRacedToTheEnd, 4},
    {GAME_TYPE_QUICK_RACE, 4, 8, 1, Ending::kRacedToTheEnd, 5},
    {GAME_TYPE_QUICK_RACE, 5, 6, 1, Ending::kRacedToTheEnd, 6},
    {GAME_TYPE_CHAMPIONSHIP, 1, 8, 1, Ending::kRacedToTheEnd, 7},
    {GAME_TYPE_CHAMPIONSHIP, 4, 8, 2, Ending::kRacedToTheEnd, 8},
    {GAME_TYPE_QUICK_RACE, 2, 8, 1, Ending::kEscapeAfterTheFinish, 9},
    {GAME_TYPE_CHAMPIONSHIP, 3, 8, 1, Ending::kEscapeAfterTheFinish, 10},
    {GAME_TYPE_QUICK_RACE, 0, 8, 1, Ending::kEscapeBeforeTheLine, 11},
    {GAME_TYPE_QUICK_RACE, 5, 3, 1, Ending::kEscapeBeforeTheLine, 12},
    {GAME_TYPE_CHAMPIONSHIP, 2, 8, 1, Ending::kEscapeBeforeTheLine, 13},
    {GAME_TYPE_CHAMPIONSHIP, 5, 8, 1, Ending::kEscapeBeforeTheLine, 14},
};

constexpr char kNoTime[] = "--:--:--";

// "mm:ss:hh" in hundredths.
int Hundredths(const std::string& text)
{
    int minutes = 0, seconds = 0, hundredths = 0;
    if (std::sscanf(text.c_str(), "%d:%d:%d", &minutes, &seconds, &hundredths) != 3)
        return -1;
    return (minutes * 60 + seconds) * 100 + hundredths;
}

class ResultTables : public GameWindowFixture, public ::testing::WithParamInterface<ResultCase>
{
protected:
    void SetUp() override
    {
        GameWindowFixture::SetUp();
        PlayingDriver("ANNA");
    }

    // Frames of the race, the pilot driving car 0 when asked, until done or the menus are back.
    template <typename Done> void Drive(bool pilot_on, Done done)
    {
        for (int frame = 0; frame < 60 * 900 && !game->IsMenusOn() && !done(); frame++) {
            if (pilot_on)
                pilot.Drive(game);
            Run(1.0 / 60.0);
        }
    }
    bool FieldHome() const
    {
        for (int n = 1; n < game->GetCarsInRace(); n++)
            if (game->GetCar()->GetRecord(n)->finish_state == CAR_RACING)
                return false;
        return true;
    }

    ScriptedPilot pilot{
        [](int key, bool down) { SendKeyMessage(*eng_main_window, down ? ENG_WM_KEYDOWN : ENG_WM_KEYUP, key); }};
};

} // namespace

TEST_P(ResultTables, ListEveryCarOnceInTheOrderOfItsTimeFromTheStart)
{
    const ResultCase c = GetParam();
    std::srand(c.seed);
    if (c.type == GAME_TYPE_CHAMPIONSHIP)
        game->GetChamp()->NewChampionship();
    StartRace(c.type, c.track, c.cars, c.laps);
    ASSERT_TRUE(RunUntilRacing(10.0));
    const CarRecord* player = game->GetCar()->GetRecord(0);
    switch (c.ending) {
    case Ending::kRacedToTheEnd:
        Drive(true, [] { return false; });
        break;
    case Ending::kEscapeAfterTheFinish:
        Drive(true, [player] { return player->finish_state != CAR_RACING; });
        break;
    case Ending::kEscapeBeforeTheLine:
        Drive(false, [this] { return FieldHome(); });
        break;
    }
    const bool player_crossed = player->laps_done >= 0;
    if (!game->IsMenusOn())
        PressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    ASSERT_TRUE(game->IsMenusOn()) << "the race did not end";
    const bool quick = c.type == GAME_TYPE_QUICK_RACE;
    ASSERT_EQ(quick ? SCREEN_QRES : SCREEN_CRES, screens->GetCurrentScreen());
    const int name1 = quick ? int(QResCC::BUT_NAME1) : int(CResCC::BUT_NAME1);
    const int time1 = quick ? int(QResCC::BUT_TIME1) : int(CResCC::BUT_TIME1);

    std::set<std::string> names;
    std::string table;
    int previous = 0;
    for (int row = 0; row < 8; row++) {
        const std::string name = Text(name1 + row), time = Text(time1 + row);
        table += name + " " + time + "\n";
        if (row >= c.cars) {
            EXPECT_EQ(" ", name) << "row " << row + 1 << "\n" << table;
            continue;
        }
        EXPECT_TRUE(names.insert(name).second) << "row " << row + 1 << "\n" << table;
        if (time == kNoTime) {
            // Only a player without a time, in the last row.
            EXPECT_EQ("ANNA", name) << table;
            EXPECT_EQ(c.cars - 1, row) << table;
            continue;
        }
        const int hundredths = Hundredths(time);
        EXPECT_GT(hundredths, 0) << "row " << row + 1 << "\n" << table;
        EXPECT_LE(previous, hundredths) << "row " << row + 1 << " is faster than the row above\n" << table;
        previous = hundredths;
    }
    EXPECT_EQ(size_t(c.cars), names.size()) << table;
    EXPECT_EQ(1u, names.count("ANNA")) << table;
    if (c.ending != Ending::kEscapeBeforeTheLine)
        return;
    EXPECT_EQ("ANNA", Text(name1 + c.cars - 1)) << "the player still on the grid is last\n" << table;
    if (!quick || !player_crossed) {
        EXPECT_EQ(kNoTime, Text(time1 + c.cars - 1)) << table;
    }
}

static std::string ResultCaseName(const ::testing::TestParamInfo<ResultCase>& info)
{
    const ResultCase& c = info.param;
    const char* endings[] = {"Raced", "EscapeAfterTheFinish", "EscapeBeforeTheLine"};
    return std::string(c.type == GAME_TYPE_QUICK_RACE ? "Quick" : "Championship") + "Track" +
           std::to_string(c.track + 1) + "Cars" + std::to_string(c.cars) + endings[int(c.ending)] + "Seed" +
           std::to_string(c.seed);
}

INSTANTIATE_TEST_SUITE_P(Races, ResultTables, ::testing::ValuesIn(kResultCases), ResultCaseName);

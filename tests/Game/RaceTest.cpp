// Whole races run headless at a fixed time step, the game's clock driven by the test: quick races on every
// track, the driving test, time trials with their ghost, and the rules of the race set-up.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Game/ChampClass.h"
#include "Game/Screens/PauseCC.h"
#include "Game/Screens/QResCC.h"
#include "Support/LogForTests.h"
#include "Support/RaceHarness.h"

namespace {

constexpr int kCars = 8;

// What a test sees of each car over a race.
struct CarWatch
{
    int last_checkpoint = TRAV_START_LINE;
    bool out_of_order = false;
    float x = 0.0f, y = 0.0f;
    double still_since = 0.0;
    double longest_still = 0.0;
    double finished_at = -1.0;
    int frames_on_wall = 0;
};

// How long each frame of a race lasts: steady, with one long frame at a moment, or slow throughout.
struct FramePattern
{
    const char* name;
    double frame;
    double long_at = 0.0;
    double long_frame = 0.0;

    double At(double seconds) const
    {
        return long_frame > 0.0 && seconds >= long_at && seconds < long_at + frame ? long_frame : frame;
    }
};

const FramePattern kSixtyFps = {"60 fps", 1.0 / 60.0};

// Runs the race to its end, watching checkpoints, finishes and cars standing still while they race.
class RaceWatch
{
public:
    explicit RaceWatch(RaceHarness* race) : m_race(race), cars(kCars) {}

    void Run(double limit_seconds, const FramePattern& frames = kSixtyFps)
    {
        Car* car = m_race->game->GetCar();
        const double start = m_race->Seconds();
        while (m_race->RunFrame(frames.At(m_race->Seconds() - start)) && m_race->Seconds() - start < limit_seconds) {
            StateClass* state = m_race->game->GetState();
            std::string text = state->IsTextShown() ? state->GetText() : "";
            if (texts.empty() || texts.back() != text)
                texts.push_back(text);
            const bool racing = state->GetState() == RACE_STATE_RACING;
            for (int i = 0; i < m_race->game->GetCarsInRace(); i++)
                Watch(car, i, racing);
            CheckStandings(car);
        }
    }

    std::string Texts() const
    {
        std::string seen;
        for (const std::string& t : texts)
            seen += "[" + t + "]";
        return seen;
    }

    std::vector<std::string> texts;
    bool standings_sound = true;
    int places_out_of_order = 0;
    RaceHarness* m_race;
    std::vector<CarWatch> cars;

private:
    void Watch(Car* car, int i, bool racing)
    {
        const CarRecord* record = car->GetRecord(i);
        const CarState* state = car->GetState(i);
        CarWatch& w = cars[i];
        if (record->last_checkpoint != w.last_checkpoint) {
            w.out_of_order = w.out_of_order || record->last_checkpoint != w.last_checkpoint % 4 + 1;
            w.last_checkpoint = record->last_checkpoint;
        }
        if (record->finish_state != CAR_RACING && w.finished_at < 0.0)
            w.finished_at = m_race->Seconds();
        // Standing still: not a car length away from where it was, while it races.
        float moved = std::hypot(state->x - w.x, state->y - w.y);
        if (!racing || record->finish_state != CAR_RACING || moved > car->GetSizes().length) {
            w.x = state->x;
            w.y = state->y;
            w.still_since = m_race->Seconds();
        }
        w.longest_still = std::max(w.longest_still, m_race->Seconds() - w.still_since);
        // The centre's map pixel: a car is never inside a wall.
        const Traverse* traverse = m_race->game->GetTraverse();
        int mx = int(std::floor(state->x * TRAV_MAP_SIZE / 640.0f));
        int my = int(std::floor(state->y * TRAV_MAP_SIZE / 480.0f));
        if (record->finish_state != CAR_DONE && traverse->GetAlpha(state->floor, mx, my) == TRAV_WALL)
            w.frames_on_wall++;
    }

    // Every car in the standings once, each car's place its index there, and away from the line (where a
    // lap's progress starts again) a car ahead in laps and progress is ahead in place.
    void CheckStandings(Car* car)
    {
        bool seen[kCars] = {};
        for (int place = 0; place < kCars; place++) {
            int who = car->GetCarAtPlace(place);
            if (who < 0)
                continue;
            standings_sound = standings_sound && !seen[who] && car->GetRecord(who)->place == place;
            seen[who] = true;
            int behind = place + 1 < kCars ? car->GetCarAtPlace(place + 1) : -1;
            if (behind >= 0 && !InOrder(car, who, behind))
                places_out_of_order++;
        }
    }

    static bool InOrder(Car* car, int ahead, int behind)
    {
        const CarRecord* a = car->GetRecord(ahead);
        const CarRecord* b = car->GetRecord(behind);
        const _TravInfo* ta = car->GetState(ahead)->trav;
        const _TravInfo* tb = car->GetState(behind)->trav;
        bool near_line = !ta || !tb || ta->progress < 10 || ta->progress > 240 || tb->progress < 10 ||
                         tb->progress > 240;
        if (near_line || a->finish_state != CAR_RACING || b->finish_state != CAR_RACING)
            return true;
        return a->laps_done > b->laps_done || (a->laps_done == b->laps_done && ta->progress >= tb->progress);
    }

};

std::vector<unsigned char> ReadFileBytes(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& name, const void* data, size_t size)
{
    std::ofstream out(name, std::ios::binary);
    out.write(static_cast<const char*>(data), std::streamsize(size));
}

} // namespace

// ---- quick races on every track ------------------------------------------------------------------------------

class QuickRaceOnTrack : public ::testing::TestWithParam<int>
{
};

TEST_P(QuickRaceOnTrack, EightCarsCountDownRaceThreeLapsInOrderAndFinish)
{
    RaceHarness race;
    ASSERT_TRUE(race.SetupRace(GAME_TYPE_QUICK_RACE, GetParam(), kCars, 3));
    RaceWatch watch(&race);
    watch.Run(600.0);

    // Grid wait, countdown, "GO!" for a second while the cars already race; the menus come back at the end.
    EXPECT_EQ("[][3][2][1][GO!][]", watch.Texts());
    EXPECT_TRUE(race.game->IsMenusOn()) << "the race did not end in " << race.Seconds() << " s";
    EXPECT_TRUE(watch.standings_sound);
    EXPECT_EQ(0, watch.places_out_of_order);
    Car* car = race.game->GetCar();
    std::vector<bool> place_taken(kCars, false);
    for (int i = 0; i < kCars; i++) {
        SCOPED_TRACE("car " + std::to_string(i));
        const CarRecord* record = car->GetRecord(i);
        EXPECT_EQ(3, record->laps_done);
        EXPECT_EQ(CAR_DONE, record->finish_state);
        EXPECT_FALSE(watch.cars[i].out_of_order);
        EXPECT_LT(watch.cars[i].longest_still, 3.0);
        // Three laps: the best is at most a third of the race, and no lap is shorter than a few seconds.
        EXPECT_LE(record->best_lap * 3, record->race_time);
        EXPECT_GT(record->best_lap, 3000u);
        ASSERT_GE(record->finish_place, 0);
        ASSERT_LT(record->finish_place, kCars);
        EXPECT_FALSE(place_taken[record->finish_place]);
        place_taken[record->finish_place] = true;
        // A car that crossed the line earlier has the better place.
        for (int j = 0; j < kCars; j++) {
            if (watch.cars[j].finished_at > watch.cars[i].finished_at) {
                EXPECT_LT(record->finish_place, car->GetRecord(j)->finish_place) << "car " << j;
            }
        }
    }
    const CarFastLap& fastest = car->GetFastestLap();
    ASSERT_GE(fastest.car, 0);
    EXPECT_EQ(car->GetRecord(fastest.car)->best_lap, fastest.time);
    for (int i = 0; i < kCars; i++)
        EXPECT_LE(fastest.time, car->GetRecord(i)->best_lap);
}

INSTANTIATE_TEST_SUITE_P(Tracks, QuickRaceOnTrack, ::testing::Range(0, TRACK_COUNT));

// ---- races that always end ---------------------------------------------------------------------------------------

const FramePattern kFramePatterns[] = {
    kSixtyFps,
    {"10 fps", 0.1},
    {"one frame of 0.25 s", 1.0 / 60.0, 10.0, 0.25},
    {"one frame of 0.5 s", 1.0 / 60.0, 10.0, 0.5},
    {"one frame of 1 s", 1.0 / 60.0, 10.0, 1.0},
};
constexpr int kFramePatternCount = int(std::size(kFramePatterns));

// Seeds per track and frame pattern; fewer in the much slower sanitizer build.
#if defined(__SANITIZE_ADDRESS__)
constexpr unsigned kStressSeeds = 2;
#else
constexpr unsigned kStressSeeds = 24;
#endif

class RacesOnTrack : public ::testing::TestWithParam<std::tuple<int, int>>
{
};

// Eight cars, three laps, every class and level in turn: every race ends, no car stands still for 3 s while it
// races, and no car's centre is ever on a wall.
TEST_P(RacesOnTrack, EndWithNoCarStuckOrInAWall)
{
    const int track = std::get<0>(GetParam());
    const FramePattern& frames = kFramePatterns[std::get<1>(GetParam())];
    RaceHarness race;
    for (unsigned seed = 1; seed <= kStressSeeds; seed++) {
        const int formula = int(seed + unsigned(track)) % 4, level = int(seed / 4 + unsigned(track)) % 5;
        SCOPED_TRACE(std::string(frames.name) + ", seed " + std::to_string(seed) + ", class " +
                     std::to_string(formula) + ", level " + std::to_string(level));
        ASSERT_TRUE(race.SetupRace(GAME_TYPE_QUICK_RACE, track, kCars, 3, false, seed, formula, level));
        RaceWatch watch(&race);
        watch.Run(900.0, frames);
        EXPECT_TRUE(race.game->IsMenusOn()) << "the race did not end";
        for (int i = 0; i < kCars; i++) {
            EXPECT_LT(watch.cars[i].longest_still, 3.0) << "car " << i;
            EXPECT_EQ(0, watch.cars[i].frames_on_wall) << "car " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(TracksAndFrames, RacesOnTrack,
                         ::testing::Combine(::testing::Range(0, TRACK_COUNT),
                                            ::testing::Range(0, kFramePatternCount)));

// ---- the same race at any frame rate ------------------------------------------------------------------------------

// How a race is left for a while: not, abandoned (the rest simulated, as the result screens do after Escape,
// while the menus' frames are long), or paused for 5 s with Escape and resumed.
enum class Leave
{
    NEVER,
    ABANDON,
    PAUSE,
};

// A seeded two-lap race of the computer cars, the driver's car left on the grid, run with a frame pattern and
// left after 8 s as told. The result: each computer car's finish place, race time and best lap.
std::vector<EngUInt32> ComputerCarsResult(RaceHarness& race, int track, const FramePattern& frames, Leave leave)
{
    race.pilot_on = false;
    const unsigned seed = 11u + unsigned(track);
    EXPECT_TRUE(race.SetupRace(GAME_TYPE_QUICK_RACE, track, kCars, 2, false, seed, track % 4, track % 5));
    Car* car = race.game->GetCar();
    const double start = race.Seconds();
    const double leave_at = 8.0;
    while (!QResCC::AllComputerCarsFinished(car, kCars) && race.Seconds() - start < 600.0) {
        if (leave == Leave::ABANDON && race.Seconds() - start >= leave_at) {
            eng_frame_time = 0.03f;
            EXPECT_TRUE(QResCC::FinishCurrentRace(race.game));
            break;
        }
        if (leave == Leave::PAUSE && race.Seconds() - start >= leave_at) {
            race.Key(ENG_VK_ESCAPE, true);
            race.RunFrame();
            race.Key(ENG_VK_ESCAPE, false);
            EXPECT_EQ(SCREEN_PAUS, race.game->GetScreens()->GetCurrentScreen());
            for (int i = 0; i < 100; i++)
                race.RunFrame(0.05);
            race.game->GetScreens()->GetPause()->Resume();
            leave = Leave::NEVER;
        }
        race.RunFrame(frames.At(race.Seconds() - start));
    }
    std::vector<EngUInt32> result;
    for (int i = 1; i < kCars; i++) {
        const CarRecord* record = car->GetRecord(i);
        EXPECT_NE(CAR_RACING, record->finish_state) << "car " << i;
        EXPECT_GT(record->best_lap, 3000u) << "car " << i;
        result.insert(result.end(), {EngUInt32(record->finish_place), record->race_time, record->best_lap});
    }
    return result;
}

class SameRaceOnTrack : public ::testing::TestWithParam<int>
{
};

// The race advances in fixed steps of game time: frame rates, long frames, a pause and an abandoned race's
// simulated rest all give the places and times of the race at 60 frames a second.
TEST_P(SameRaceOnTrack, GivesTheSamePlacesAndTimesHoweverItsFramesCome)
{
    const int track = GetParam();
    struct Way
    {
        FramePattern frames;
        Leave leave;
    };
    const Way ways[] = {
        {{"20 fps", 1.0 / 20.0}, Leave::NEVER},
        {{"144 fps", 1.0 / 144.0}, Leave::NEVER},
        {{"10 fps", 0.1}, Leave::NEVER},
        {{"one frame of 1 s", 1.0 / 60.0, 8.0, 1.0}, Leave::NEVER},
        {{"abandoned after 8 s", 1.0 / 60.0}, Leave::ABANDON},
        {{"paused for 5 s after 8 s", 1.0 / 60.0}, Leave::PAUSE},
    };
    RaceHarness race;
    const std::vector<EngUInt32> expected = ComputerCarsResult(race, track, kSixtyFps, Leave::NEVER);
    for (const Way& way : ways)
        EXPECT_EQ(expected, ComputerCarsResult(race, track, way.frames, way.leave)) << way.frames.name;
}

INSTANTIATE_TEST_SUITE_P(Tracks, SameRaceOnTrack, ::testing::Range(0, TRACK_COUNT));

// ---- the driving test and time trials --------------------------------------------------------------------------

TEST(DrivingTest, LapUnderTwelveSecondsPassesAndEscapeGoesBackToNormalPlay)
{
    RaceHarness race;
    race.game->GetCurrentProfile()->license_test_state = USER_LICENSE_TEST_RUNNING;
    ASSERT_TRUE(race.SetupRace(GAME_TYPE_TIME_TRIAL, 0, 1, 1));
    while (race.RunFrame() && race.game->GetMessageType() == GAME_MESSAGE_NONE && race.Seconds() < 60.0) {
    }
    const CarRecord* record = race.game->GetCar()->GetRecord(0);
    EXPECT_LT(record->last.minutes * 60000 + record->last.seconds * 1000, 12000);
    EXPECT_EQ(GAME_MESSAGE_TEST_PASSED, race.game->GetMessageType());
    EXPECT_FLOAT_EQ(7.0f, race.game->GetMessageTime());
    EXPECT_EQ(USER_LICENSE_TEST_PASSED, race.game->GetCurrentProfile()->license_test_state);
    // The test lap never finishes the race: the driver leaves it with Escape, and the lap counter stays at
    // the race's laps.
    EXPECT_EQ(CAR_RACING, record->finish_state);
    char counter[32];
    EXPECT_STREQ("LAP  1  / 1", race.game->GetCar()->GetLapCounterText(counter, sizeof counter));
    race.Key(ENG_VK_ESCAPE, true);
    race.RunFrame();
    EXPECT_TRUE(race.game->IsMenusOn());
    EXPECT_EQ(USER_LICENSE_NORMAL_PLAY, race.game->GetCurrentProfile()->license_test_state);
}

TEST(DrivingTest, SlowLapIsTooSlow)
{
    RaceHarness race;
    race.pilot.speed_factor = 0.35f;
    race.game->GetCurrentProfile()->license_test_state = USER_LICENSE_TEST_RUNNING;
    ASSERT_TRUE(race.SetupRace(GAME_TYPE_TIME_TRIAL, 0, 1, 1));
    while (race.RunFrame() && race.game->GetMessageType() == GAME_MESSAGE_NONE && race.Seconds() < 120.0) {
    }
    EXPECT_EQ(GAME_MESSAGE_TOO_SLOW, race.game->GetMessageType());
    EXPECT_FLOAT_EQ(4.0f, race.game->GetMessageTime());
    EXPECT_EQ(USER_LICENSE_TEST_RUNNING, race.game->GetCurrentProfile()->license_test_state);
    EXPECT_GE(race.game->GetCar()->GetRecord(0)->last.seconds, 12);
}

TEST(TimeTrial, GhostIsRecordedSavedAndReplayedSampleForSample)
{
    RaceHarness race;
    ASSERT_TRUE(race.SetupRace(GAME_TYPE_TIME_TRIAL, 1, 1, 1, true));
    // No countdown in a time trial: racing after the grid wait.
    EXPECT_FALSE(race.game->GetState()->IsTextShown());
    while (race.RunFrame() && race.Seconds() < 120.0) {
        EXPECT_FALSE(race.game->GetState()->IsTextShown());
    }
    ASSERT_TRUE(race.game->IsMenusOn());
    Car* car = race.game->GetCar();
    const EngUInt32 first_time = car->GetRecord(0)->race_time;
    std::string file = car->GetGhostFilename(1, 1, false);
    std::replace(file.begin(), file.end(), '\\', '/');
    std::vector<unsigned char> saved = ReadFileBytes(file);
    ASSERT_EQ(sizeof(GhostBlock), saved.size());
    GhostBlock block;
    std::memcpy(&block, saved.data(), sizeof block);
    EXPECT_EQ(1, block.present);
    EXPECT_EQ(first_time, block.race_time);
    // A sample every 50 ms of the lap, the first at its start.
    EXPECT_NEAR(double(first_time) / 50.0, double(block.count), 2.0);

    // The same driving again: the ghost replays the whole lap where the car drives, within whole pixels
    // nearly always and never far off (a wall's push lies between two samples).
    ASSERT_TRUE(race.SetupRace(GAME_TYPE_TIME_TRIAL, 1, 1, 1, true));
    int compared = 0, close = 0;
    const float size = car->GetSizes().length;
    while (race.RunFrame() && race.Seconds() < 240.0) {
        if (!car->GetGhost().IsReplaying())
            continue;
        GhostPose ghost = car->GetGhost().GetReplayPose();
        const CarState* state = car->GetState(0);
        float apart = std::hypot(ghost.x - state->x, ghost.y - state->y);
        ASSERT_LT(apart, size / 4.0f) << "at " << race.Seconds();
        bool same_heading = std::fabs(std::remainder(ghost.heading - state->heading, 6.2831853f)) < 0.05f;
        close += apart < 1.5f && same_heading ? 1 : 0;
        compared++;
    }
    // Three frames a sample, over all but the last sample.
    EXPECT_GE(compared, (int(block.count) - 2) * 3);
    EXPECT_GE(close * 10, compared * 9);
    EXPECT_FALSE(car->GetGhost().IsReplaying());
    // An equal time does not replace the ghost: the file is as it was.
    EXPECT_EQ(saved, ReadFileBytes(file));

    // A slower lap keeps the old ghost; a faster one replaces it.
    race.pilot.speed_factor = 0.7f;
    ASSERT_TRUE(race.SetupRace(GAME_TYPE_TIME_TRIAL, 1, 1, 1, true));
    while (race.RunFrame() && race.Seconds() < 400.0) {
    }
    EXPECT_GT(car->GetRecord(0)->race_time, first_time);
    EXPECT_EQ(saved, ReadFileBytes(file));
}

TEST(TimeTrial, BadGhostFilesAreIgnoredAndTurnsComeBackSigned)
{
    RaceHarness race;
    Ghost& ghost = race.game->GetCar()->GetGhost();
    const std::string file = race.home + "/test.gho";
    GhostBlock* block = new GhostBlock{};
    block->present = 1;
    block->count = 10;
    block->race_time = 5000;
    WriteFileBytes(file, block, sizeof *block);
    EXPECT_TRUE(ghost.Load(file.c_str()));
    EXPECT_TRUE(ghost.IsPresent());

    struct Case
    {
        const char* what;
        EngUInt32 count;
        size_t size;
    };
    const Case cases[] = {
        {"one byte short", 10, sizeof(GhostBlock) - 1},
        {"one byte long", 10, sizeof(GhostBlock) + 1},
        {"too many samples", GHOST_MAX_SAMPLES + 1, sizeof(GhostBlock)},
    };
    std::vector<unsigned char> bytes(sizeof(GhostBlock) + 1, 0);
    for (const Case& c : cases) {
        block->count = c.count;
        std::memcpy(bytes.data(), block, sizeof *block);
        WriteFileBytes(file, bytes.data(), c.size);
        EXPECT_FALSE(ghost.Load(file.c_str())) << c.what;
        EXPECT_FALSE(ghost.IsPresent()) << c.what;
        EXPECT_EQ(0u, ghost.GetCount()) << c.what;
    }
    delete block;

    for (float turn : {-0.7f, -0.31f, 0.0f, 0.45f, 0.7f})
        EXPECT_NEAR(turn, Ghost::UnpackTurn(Ghost::PackAngle(turn)), 0.013f) << turn;
    EXPECT_EQ(256 - 5, Ghost::PackAngle(-5.0f * 6.2831853f / 255.0f));
}

// ---- the set-up of a race ------------------------------------------------------------------------------------

TEST(RaceSetUp, BadTrackOrCarCountIsRefusedAndChangesNothing)
{
    RaceHarness race;
    ASSERT_TRUE(race.SetupRace(GAME_TYPE_QUICK_RACE, 2, 4, 3));
    for (int track : {6, -1, 100}) {
        int mark = LogMark();
        EXPECT_FALSE(race.game->SetupRace(GAME_TYPE_TIME_TRIAL, track, 1, true, 0, 0));
        EXPECT_TRUE(LoggedSince(mark, "Invalid track num")) << track;
    }
    EXPECT_FALSE(race.game->SetupRace(GAME_TYPE_TIME_TRIAL, 1, 9, true, 0, 0));
    EXPECT_FALSE(race.game->SetupRace(GAME_TYPE_TIME_TRIAL, 1, 0, true, 0, 0));
    EXPECT_EQ(GAME_TYPE_QUICK_RACE, race.game->GetGameType());
    EXPECT_EQ(2, race.game->GetTrack());
    EXPECT_EQ(4, race.game->GetCarsInRace());
    EXPECT_FALSE(race.game->HasGhost());

    // The same track again keeps its grid; another track builds its own.
    int mark = LogMark();
    ASSERT_TRUE(race.SetupRace(GAME_TYPE_QUICK_RACE, 2, 4, 3));
    EXPECT_FALSE(LoggedSince(mark, "W> START"));
    ASSERT_TRUE(race.SetupRace(GAME_TYPE_QUICK_RACE, 3, 4, 3));
    EXPECT_TRUE(LoggedSince(mark, "W> START"));
    EXPECT_EQ(3, race.game->GetLoadedTrack());
}

TEST(RaceSetUp, ClassSetsTheTimeScaleAndSeedDecidesGridAndSpeeds)
{
    RaceHarness race;
    Levels* levels = race.game->GetLevels();
    const int drivers[LEVELS_NUM_DRIVERS] = {0, 1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(levels->SetupRaceOpponents(7, drivers));
    struct Case
    {
        int formula;
        float scale;
    };
    for (Case c : {Case{0, 0.65f}, Case{1, 0.78f}, Case{2, 0.91f}, Case{3, 1.04f}}) {
        ASSERT_TRUE(race.game->SetupRace(GAME_TYPE_QUICK_RACE, 0, 8, false, c.formula, 4));
        EXPECT_FLOAT_EQ(c.scale, levels->GetTimeScale()) << c.formula;
    }
    // A negative class or level takes the profile's.
    race.game->GetCurrentProfile()->formula_zzz = 2;
    race.game->GetCurrentProfile()->classes[2].level_zzz = 1;
    ASSERT_TRUE(race.game->SetupRace(GAME_TYPE_QUICK_RACE, 0, 8, false, -1, -1));
    EXPECT_FLOAT_EQ(0.91f, levels->GetTimeScale());

    auto grid_and_speeds = [&race](unsigned seed) {
        race.SetupRace(GAME_TYPE_QUICK_RACE, 0, 8, 3, false, seed);
        std::vector<float> values;
        for (int i = 0; i < 8; i++) {
            values.push_back(float(race.game->GetCar()->GetGridSlot(i)));
            values.push_back(race.game->GetCar()->GetParms(i)->top_speed);
        }
        return values;
    };
    std::vector<float> first = grid_and_speeds(7);
    EXPECT_EQ(first, grid_and_speeds(7));
    EXPECT_NE(first, grid_and_speeds(8));
    // The driver starts from the last slot; the others share the rest.
    EXPECT_EQ(7.0f, first[0]);
    std::vector<bool> slots(8, false);
    for (int i = 0; i < 8; i++)
        slots[int(first[2 * i])] = true;
    EXPECT_EQ(std::vector<bool>(8, true), slots);
}

TEST(RaceSetUp, BadOpponentsClassesAndLevelsAreRefusedBeforeAnythingChanges)
{
    RaceHarness race;
    Levels* levels = race.game->GetLevels();
    const int drivers[LEVELS_NUM_DRIVERS] = {6, 5, 4, 3, 2, 1, 0};
    ASSERT_TRUE(levels->SetupRaceOpponents(7, drivers));
    const LevelsDriver before = *levels->GetRaceDriver(0);
    const int bad_driver[LEVELS_NUM_DRIVERS] = {0, 1, 7, 3, 4, 5, 6};
    const int negative_driver[LEVELS_NUM_DRIVERS] = {0, -1, 2, 3, 4, 5, 6};
    int mark = LogMark();
    EXPECT_FALSE(levels->SetupRaceOpponents(8, drivers));
    EXPECT_TRUE(LoggedSince(mark, "Too many opponents (8)"));
    EXPECT_FALSE(levels->SetupRaceOpponents(-1, drivers));
    EXPECT_FALSE(levels->SetupRaceOpponents(7, bad_driver));
    EXPECT_FALSE(levels->SetupRaceOpponents(7, negative_driver));
    EXPECT_EQ(0, std::memcmp(&before, levels->GetRaceDriver(0), sizeof before));
    EXPECT_STREQ("ZIGGY ZIP ", levels->GetDriverName(1));

    ASSERT_TRUE(race.game->SetupRace(GAME_TYPE_QUICK_RACE, 0, 8, false, 1, 2));
    const CarParms parms = *race.game->GetCar()->GetParms(3);
    const float scale = levels->GetTimeScale();
    for (auto [formula, level] : {std::pair{4, 0}, {-1, 0}, {0, 5}, {0, -2}})
        EXPECT_FALSE(levels->SetupComputerCars(formula, level, -1, false)) << formula << " " << level;
    EXPECT_EQ(0, std::memcmp(&parms, race.game->GetCar()->GetParms(3), sizeof parms));
    EXPECT_EQ(scale, levels->GetTimeScale());

    // A profile colour outside 0..7 never reaches a table or a file name.
    race.game->GetCurrentProfile()->car_colour = 9;
    EXPECT_EQ(0, levels->GetDriverColour(0));
    race.game->GetCurrentProfile()->car_colour = -3;
    EXPECT_EQ(0, levels->GetDriverColour(0));
}

TEST(RaceSetUp, ChampionshipLapsFollowTimeScaleTrackAndLength)
{
    struct Case
    {
        float scale;
        int track;
        int length;
        int laps;
    };
    const Case cases[] = {
        {0.65f, 0, 2, 9},  // round(0.65 x 15 / (5.18 / 4.75) x 1.0)
        {1.04f, 0, 4, 37}, // round(1.04 x 15 / 1.0905 x 2.6)
        {0.65f, 3, 0, 1},  // 1.17 rounds to 1
        {0.1f, 3, 0, 1},   // 0.12 would round to 0: a race has a lap
        {0.65f, 0, 5, 1},  // a length outside the table
        {0.65f, 0, -1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.laps, ChampClass::LapsFor(c.scale, c.track, c.length)) << c.scale << " " << c.track;

    RaceHarness race;
    ChampClass* champ = race.game->GetChamp();
    const int drivers[LEVELS_NUM_DRIVERS] = {0, 1, 2, 3, 4, 5, 6};
    race.game->GetLevels()->SetupRaceOpponents(7, drivers);
    ASSERT_TRUE(race.game->SetupRace(GAME_TYPE_CHAMPIONSHIP, 0, 8, false, 0, 0));
    champ->NewChampionship();
    EXPECT_EQ(9, champ->GetRecord()->laps);
    EXPECT_FALSE(champ->SetLength(5));
    EXPECT_EQ(2, champ->GetRecord()->length);
    for (int car = 1; car < 8; car++) {
        EXPECT_GE(champ->GetRecord()->speed[car], 0.8f);
        EXPECT_LE(champ->GetRecord()->speed[car], 1.2f);
    }
    EXPECT_EQ(0.0f, champ->GetRecord()->speed[0]);
}

TEST(RaceSetUp, DriverWhoNeverAcceleratesIsToldHowAfterFiveSeconds)
{
    RaceHarness race;
    race.pilot_on = false;
    ASSERT_TRUE(race.SetupRace(GAME_TYPE_TIME_TRIAL, 0, 1, 1));
    double shown_at = -1.0;
    while (race.RunFrame() && race.Seconds() < 12.0) {
        if (shown_at < 0.0 && race.game->GetMessageType() == GAME_MESSAGE_ACCELERATE)
            shown_at = race.Seconds();
    }
    // Racing starts after the 1 s grid wait; the hint 5 s later.
    EXPECT_NEAR(6.0, shown_at, 0.1);
    EXPECT_GT(race.game->GetMessageTime(), 0.0f);

    race.Key('A', true);
    race.RunFrame();
    race.Key('A', false);
    race.game->SetMessage(GAME_MESSAGE_NONE, 0.0f);
    for (int i = 0; i < 120; i++)
        race.RunFrame();
    EXPECT_EQ(GAME_MESSAGE_NONE, race.game->GetMessageType());
}

// ---- cars ------------------------------------------------------------------------------------------------------

TEST(Cars, TimeTextsAndCollisionsOfCarsOnOneSpot)
{
    struct TimeCase
    {
        EngUInt32 ms;
        const char* text;
    };
    for (TimeCase c : {TimeCase{0, "00:00:00"}, {61234, "01:01:23"}, {599999999, "9999:59:99"},
                       {3599990, "59:59:99"}, {5999990, "99:59:99"}, {6000000, "100:00:00"}}) {
        char text[CAR_TIME_TEXT_SIZE];
        EXPECT_STREQ(c.text, Car::GetTimeText(c.ms, text, sizeof text));
    }
    EXPECT_STREQ("", Car::GetTimeText(1000, nullptr, 10));
    char short_text[5];
    EXPECT_STREQ("01:0", Car::GetTimeText(61234, short_text, sizeof short_text)) << "cut to the buffer";

    RaceHarness race;
    ASSERT_TRUE(race.SetupRace(GAME_TYPE_QUICK_RACE, 0, 2, 3));
    Car* car = race.game->GetCar();
    for (int i = 0; i < 2; i++) {
        CarState* state = car->GetState(i);
        state->x = 300.0f;
        state->y = 71.0f;
        state->heading = 4.71f;
        state->speed = 50.0f * float(i);
        car->PlaceOutline(i);
    }
    while (race.game->GetState()->GetState() != RACE_STATE_RACING)
        race.RunFrame();
    race.RunFrame();
    const CarState* a = car->GetState(0);
    const CarState* b = car->GetState(1);
    EXPECT_TRUE(std::isfinite(a->x) && std::isfinite(a->y) && std::isfinite(b->x) && std::isfinite(b->y));
    EXPECT_TRUE(std::isfinite(a->speed) && std::isfinite(b->speed));
    EXPECT_GE(std::hypot(a->x - b->x, a->y - b->y), 1.2f * car->GetSizes().length);
}

TEST(Cars, QuadOverlapSeesCornersInsideAndCrossingDiagonals)
{
    // Corners in the cars' order: front-left, front-right, rear-right, rear-left (clockwise on screen).
    auto quad = [](float x, float y, float w, float h, float out[4][2]) {
        float corners[4][2] = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
        std::memcpy(out, corners, sizeof corners);
    };
    struct Case
    {
        const char* what;
        float b[4];
        bool overlap;
    };
    const Case cases[] = {
        {"apart", {40, 0, 10, 20}, false},
        {"nose into the tail", {0, 15, 10, 20}, true},
        {"side by side, touching", {10, 0, 10, 20}, true},
        {"side by side, a pixel apart", {12, 0, 10, 20}, false},
        {"rear of b only", {5, -18, 10, 20}, true},
        {"inside", {2, 2, 4, 4}, true},
    };
    float a[4][2];
    quad(0, 0, 10, 20, a);
    for (const Case& c : cases) {
        float b[4][2];
        quad(c.b[0], c.b[1], c.b[2], c.b[3], b);
        EXPECT_EQ(c.overlap, Car::QuadsOverlap(a, b)) << c.what;
        EXPECT_EQ(c.overlap, Car::QuadsOverlap(b, a)) << c.what;
    }
    // A cross: neither has a corner inside the other, the diagonals cross.
    float wide[4][2], tall[4][2];
    quad(-10, 5, 30, 10, wide);
    quad(2, -10, 6, 40, tall);
    EXPECT_TRUE(Car::QuadsOverlap(wide, tall));
}

TEST(Cars, ComputerCarPassesASlowCarAheadBySteeringToASide)
{
    RaceHarness race;
    race.pilot_on = false;
    ASSERT_TRUE(race.SetupRace(GAME_TYPE_QUICK_RACE, 0, 2, 3));
    while (race.game->GetState()->GetState() != RACE_STATE_RACING)
        race.RunFrame();
    // On the top straight: the driver stands still in the middle of the road, a computer car comes fast,
    // picks a side of it and gets by.
    Car* car = race.game->GetCar();
    const float heading = 271.0f * 0.0174532924f;
    auto place = [car, heading](int i, float x, float y, float speed) {
        CarState* state = car->GetState(i);
        state->x = x;
        state->y = y;
        state->heading = heading;
        state->speed = speed;
        car->PlaceOutline(i);
    };
    place(0, 420.0f, 78.0f, 0.0f);
    place(1, 370.0f, 78.0f, 150.0f);
    bool passing_seen = false;
    for (int i = 0; i < 120; i++) {
        race.RunFrame();
        passing_seen = passing_seen || (car->GetState(1)->passing_car == 0 && car->GetState(1)->passing_side >= 0);
    }
    EXPECT_TRUE(passing_seen);
    EXPECT_GT(car->GetState(1)->x, car->GetState(0)->x);
}

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>

#include "Engine/Core/EngString.h"
#include "Game/Users.h"
#include "ProfileTestSupport.h"

namespace {

class UsersTest : public ProfileTest
{
protected:
    UsersClass* users() { return game->GetUsers(); }
    UserRecord* NamedProfile(const char* name, int user_id)
    {
        UserRecord* record = users()->GetUser(0);
        EngSafeStrcpy(record->name, name, sizeof record->name);
        record->user_id = user_id;
        return record;
    }
    // A valid record written straight to "<name>.drv", cut to size bytes.
    void WriteProfile(const char* name, const UserRecord& record, size_t size)
    {
        mkdir(drivers.c_str(), 0700);
        WriteBytes(drivers + name + ".drv", &record, size);
    }
    UserRecord ValidRecord(const char* name)
    {
        UserRecord record = *users()->GetUser(1);
        EngSafeStrcpy(record.name, name, sizeof record.name);
        record.version = USER_VERSION;
        record.user_id = 77;
        return record;
    }
};

TEST_F(UsersTest, ProfileSavesAndLoadsBackByteForByte)
{
    UserRecord* record = NamedProfile("Alice", 1234);
    EXPECT_EQ(record, game->GetCurrentProfile());
    record->formula_zzz = 2;
    record->classes[2].level_zzz = 3;
    record->classes[2].have_license[3] = 1;
    record->steering = 4;
    strcpy(record->country, "FI");
    record->visits = 99;
    ASSERT_TRUE(users()->SaveCurrentUser());

    std::vector<unsigned char> file = ReadBytes(drivers + "Alice.drv");
    ASSERT_EQ(1168u, file.size());
    EXPECT_EQ(0, memcmp(file.data(), record, sizeof *record));
    float version;
    memcpy(&version, file.data(), 4);
    EXPECT_EQ(1.4f, version);
    EngInt32 field;
    memcpy(&field, file.data() + 108, 4); // quick-race laps keep their default
    EXPECT_EQ(5, field);
    memcpy(&field, file.data() + 1164, 4);
    EXPECT_EQ(99, field);
    EXPECT_STREQ("FI", (const char*)file.data() + 160);

    UserRecord saved = *record;
    record->visits = 0;
    record->steering = 9;
    ASSERT_TRUE(users()->LoadCurrentUser());
    EXPECT_EQ(0, memcmp(&saved, record, sizeof saved));
    ASSERT_TRUE(users()->SaveCurrentUser());
    EXPECT_EQ(file, ReadBytes(drivers + "Alice.drv"));
}

TEST_F(UsersTest, ShortOlderFileLoadsWithZeroTail)
{
    UserRecord record = ValidRecord("Old");
    record.last_ad = 5;
    record.visits = 12;
    record.flag = 1;
    WriteProfile("Old", record, 1000);
    NamedProfile("Old", 0);
    int mark = DebugGetMessageCount();
    ASSERT_TRUE(users()->LoadUser(0));
    EXPECT_TRUE(LoggedSince(mark, "Converting from old user version"));
    const UserRecord* loaded = users()->GetUser(0);
    EXPECT_EQ(0, loaded->last_ad);
    EXPECT_EQ(0, loaded->visits);
    EXPECT_EQ(0, loaded->flag);
    EXPECT_EQ(77, loaded->user_id);
    EXPECT_EQ(9, loaded->steering);
}

TEST_F(UsersTest, WrongSizeOrVersionIsRefused)
{
    UserRecord record = ValidRecord("Big");
    unsigned char big[1169] = {};
    memcpy(big, &record, sizeof record);
    mkdir(drivers.c_str(), 0700);
    WriteBytes(drivers + "Big.drv", big, sizeof big);
    int mark = DebugGetMessageCount();
    EXPECT_FALSE(users()->CheckIfUserFileOk("Big"));
    EXPECT_TRUE(LoggedSince(mark, "Filesize bigger than current"));
    NamedProfile("Big", 0);
    EXPECT_FALSE(users()->LoadUser(0));

    const float versions[] = {1.1f, 1.5f, 0.0f};
    for (float version : versions) {
        record.version = version;
        WriteProfile("Ver", record, sizeof record);
        EXPECT_FALSE(users()->CheckIfUserFileOk("Ver")) << version;
    }
    record.version = 1.2f;
    WriteProfile("Ver", record, sizeof record);
    EXPECT_TRUE(users()->CheckIfUserFileOk("Ver"));
    WriteProfile("Tiny", record, 2);
    EXPECT_FALSE(users()->CheckIfUserFileOk("Tiny"));
    mark = DebugGetMessageCount();
    EXPECT_FALSE(users()->CheckIfUserFileOk("Nobody"));
    EXPECT_TRUE(LoggedSince(mark, "File does not exist"));
}

TEST_F(UsersTest, UnterminatedNameFieldIsRefused)
{
    UserRecord record = ValidRecord("Elevenchars");
    memcpy(record.name, "ElevencharsX", USER_NAME_SIZE); // no terminator in the field
    WriteProfile("Elevenchars", record, sizeof record);
    NamedProfile("Elevenchars", 0);
    int mark = DebugGetMessageCount();
    EXPECT_FALSE(users()->LoadUser(0));
    EXPECT_TRUE(LoggedSince(mark, "Invalid name"));
}

TEST_F(UsersTest, UnsafeDriverNamesAreRefused)
{
    const char* unsafe[] = {"../evil", "a/b", "a\\b", ".hidden", "x..y", "tab\tname", "c:d", "TwelveChars12"};
    for (const char* name : unsafe) {
        EXPECT_FALSE(users()->SetFilename(name, nullptr, true)) << name;
        EXPECT_EQ(nullptr, users()->GetFilename()) << name;
    }
    int mark = DebugGetMessageCount();
    EXPECT_FALSE(users()->SetFilename("", nullptr, false));
    EXPECT_TRUE(LoggedSince(mark, "No name"));
    NamedProfile("../evil", 5);
    EXPECT_FALSE(users()->SaveCurrentUser());
    EXPECT_FALSE(FileExists(home + "/Ostrelmark/Torvi Torvi/evil.drv"));
    EXPECT_FALSE(users()->SetFilename("Bob", "../x", false));

    ASSERT_TRUE(users()->SetFilename("Bob", "3_1", false));
    std::string ghost = users()->GetFilename();
    EXPECT_EQ(0u, ghost.find(home));
    EXPECT_EQ(ghost.size() - strlen("Ghosts\\Bob_3_1.gho"), ghost.find("Ghosts\\Bob_3_1.gho"));
}

TEST_F(UsersTest, CrashMidSaveLeavesPreviousFileIntact)
{
    UserRecord* record = NamedProfile("Crash", 42);
    record->visits = 1;
    ASSERT_TRUE(users()->SaveCurrentUser());
    std::vector<unsigned char> before = ReadBytes(drivers + "Crash.drv");

    // A save that died half-way: only its temporary file is left.
    WriteBytes(drivers + "Crash.drv.tmp", "half", 4);
    record->visits = 0;
    ASSERT_TRUE(users()->LoadCurrentUser());
    EXPECT_EQ(1, users()->GetUser(0)->visits);
    EXPECT_EQ(1, users()->ListDrivers(true));

    // A save that cannot finish its temporary file keeps the old file as it was.
    remove((drivers + "Crash.drv.tmp").c_str());
    mkdir((drivers + "Crash.drv.tmp").c_str(), 0700);
    record->visits = 2;
    EXPECT_FALSE(users()->SaveCurrentUser());
    EXPECT_EQ(before, ReadBytes(drivers + "Crash.drv"));

    rmdir((drivers + "Crash.drv.tmp").c_str());
    EXPECT_TRUE(users()->SaveCurrentUser());
    EXPECT_FALSE(FileExists(drivers + "Crash.drv.tmp"));
    ASSERT_TRUE(users()->LoadCurrentUser());
    EXPECT_EQ(2, users()->GetUser(0)->visits);
}

TEST_F(UsersTest, DriverListTakesOnlyNamesOfOneToElevenCharacters)
{
    EXPECT_EQ(0, users()->ListDrivers(true)); // no folder yet
    mkdir(drivers.c_str(), 0700);
    const char* files[] = {"Bob.drv", "Elevenchars.drv", "Twelvechars1.drv", "SixteenCharsLong.drv", ".drv",
                           ".hidden.drv", "notes.txt", "Bob_Controllers.csc"};
    for (const char* file : files)
        WriteBytes(drivers + file, "x", 1);
    ASSERT_EQ(2, users()->ListDrivers(true));
    EXPECT_STREQ("Bob", users()->GetDriverName(0));
    EXPECT_STREQ("Elevenchars", users()->GetDriverName(1));
    EXPECT_EQ(nullptr, users()->GetDriverName(2));

    for (int i = 0; i < 70; i++)
        WriteBytes(drivers + "D" + std::to_string(100 + i) + ".drv", "x", 1);
    EXPECT_EQ(2, users()->ListDrivers(false)); // the last count until asked to rescan
    EXPECT_EQ(USERS_MAX_DRIVERS, users()->ListDrivers(true));
}

TEST_F(UsersTest, IntegrityCheckRefusesOutOfRangeProgress)
{
    struct Case
    {
        void (*spoil)(UserRecord*);
        const char* message;
    };
    const Case cases[] = {
        {[](UserRecord* r) { r->formula_zzz = 4; }, "Invalid formula_zzz 4"},
        {[](UserRecord* r) { r->classes[3].level_zzz = -1; }, "Invalid level_zzz -1"},
        {[](UserRecord* r) { r->classes[1].have_license[2] = 2; }, "Invalid have_license [1:2:2]"},
        {[](UserRecord* r) { r->time_trials_track = 6; }, "Invalid time_trials_track [6]"},
        {[](UserRecord* r) { r->name[0] = 0; }, "Invalid name"},
    };
    for (const Case& c : cases) {
        UserRecord* record = NamedProfile("Check", 3);
        users()->SetDefaults(0);
        c.spoil(record);
        int mark = DebugGetMessageCount();
        EXPECT_FALSE(users()->IntegrityCheck(0)) << c.message;
        EXPECT_TRUE(LoggedSince(mark, c.message)) << c.message;
    }
    int mark = DebugGetMessageCount();
    EXPECT_FALSE(users()->IntegrityCheck(2));
    EXPECT_FALSE(users()->SaveUser(2));
    EXPECT_TRUE(LoggedSince(mark, "Invalid user num 2"));
    users()->SetDefaults(2);
    EXPECT_TRUE(LoggedSince(mark, "Invalid User Num 2"));
}

TEST_F(UsersTest, OutOfRangeSettingsAreRepairedOnLoad)
{
    UserRecord record = ValidRecord("Repair");
    record.steering = 42;
    record.world_range = 9;
    record.time_trial_laps = 7;
    record.quick_race_track = -3;
    memcpy(record.country, "FIN", 3);
    record.user_id = 40000;
    record.car_colour = 8;
    record.quick_race_laps = 4;
    record.classes[2].best_expert_result = 4;
    record.classes[3].best_expert_result = -1;
    record.music_volume = 10;
    record.last_ad = 32;
    record.visits = -5;
    record.changed = 7;
    WriteProfile("Repair", record, sizeof record);
    NamedProfile("Repair", 0);
    ASSERT_TRUE(users()->LoadUser(0));
    const UserRecord* loaded = users()->GetUser(0);
    EXPECT_EQ(9, loaded->steering);
    EXPECT_EQ(0, loaded->world_range);
    EXPECT_EQ(1, loaded->time_trial_laps);
    EXPECT_EQ(0, loaded->quick_race_track);
    EXPECT_STREQ("", loaded->country);
    EXPECT_GE(loaded->user_id, 1);
    EXPECT_LE(loaded->user_id, USER_MAX_ID);
    EXPECT_EQ(0, loaded->car_colour);
    EXPECT_EQ(5, loaded->quick_race_laps);
    EXPECT_EQ(0, loaded->classes[2].best_expert_result);
    EXPECT_EQ(0, loaded->classes[3].best_expert_result);
    EXPECT_EQ(7, loaded->music_volume);
    EXPECT_EQ(0, loaded->last_ad);
    EXPECT_EQ(0, loaded->visits);
    EXPECT_EQ(1, loaded->changed);

    // The edges of every range stay as they are.
    record = ValidRecord("Edges");
    record.car_colour = USER_NUM_CAR_COLOURS - 1;
    record.quick_race_laps = 200;
    record.classes[0].best_expert_result = USER_MAX_EXPERT_RESULT;
    record.music_volume = 0;
    record.last_ad = USER_NUM_ADS - 1;
    WriteProfile("Edges", record, sizeof record);
    NamedProfile("Edges", 0);
    ASSERT_TRUE(users()->LoadUser(0));
    EXPECT_EQ(0, memcmp(&record, users()->GetUser(0), sizeof record));
}

TEST_F(UsersTest, AProfileNamedOtherwiseInsideTakesItsFilesNameAndNeverSavesOverAnother)
{
    UserRecord alice = ValidRecord("Alice");
    alice.visits = 11;
    WriteProfile("Alice", alice, sizeof alice);
    UserRecord copied = alice; // Alice's file, copied to "Bob.drv"
    copied.visits = 22;
    WriteProfile("Bob", copied, sizeof copied);

    NamedProfile("Bob", 0);
    ASSERT_TRUE(users()->LoadUser(0));
    UserRecord* loaded = users()->GetUser(0);
    EXPECT_STREQ("Bob", loaded->name);
    EXPECT_EQ(22, loaded->visits);
    loaded->visits = 23;
    ASSERT_TRUE(users()->SaveCurrentUser());
    std::vector<unsigned char> alice_file = ReadBytes(drivers + "Alice.drv");
    ASSERT_EQ(sizeof alice, alice_file.size());
    EXPECT_EQ(0, memcmp(alice_file.data(), &alice, sizeof alice)) << "Alice's file is untouched";
    std::vector<unsigned char> bob_file = ReadBytes(drivers + "Bob.drv");
    ASSERT_EQ(sizeof copied, bob_file.size());
    EXPECT_STREQ("Bob", (const char*)bob_file.data() + 4);
}

TEST_F(UsersTest, ProfileWithoutUserIdIsNeverSavedButGetsOneOnLoad)
{
    NamedProfile("NoId", 0);
    int mark = DebugGetMessageCount();
    EXPECT_FALSE(users()->SaveCurrentUser());
    EXPECT_TRUE(LoggedSince(mark, "Not saving as user 0 id not set"));
    EXPECT_FALSE(FileExists(drivers + "NoId.drv"));

    UserRecord record = ValidRecord("NoId");
    record.user_id = 0;
    WriteProfile("NoId", record, sizeof record);
    mark = DebugGetMessageCount();
    ASSERT_TRUE(users()->LoadCurrentUser());
    EXPECT_TRUE(LoggedSince(mark, "Setting user id for user."));
    EXPECT_GE(users()->GetUser(0)->user_id, 1);
    EXPECT_LE(users()->GetUser(0)->user_id, USER_MAX_ID);
}

} // namespace

namespace {

TEST_F(UsersTest, ClosingTheWindowSavesTheCurrentProfileOnlyWithAnId)
{
    NamedProfile("Closer", 0);
    game->PreCloseWindow();
    EXPECT_FALSE(FileExists(drivers + "Closer.drv"));
    NamedProfile("Closer", 9);
    game->PreCloseWindow();
    EXPECT_EQ(1168u, ReadBytes(drivers + "Closer.drv").size());
}

} // namespace

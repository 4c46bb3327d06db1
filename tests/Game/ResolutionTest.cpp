#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMiscDate.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngWindow_PC.h"
#include "Game/Main.h"
#include "Game/Program.h"
#include "Game/Resolution.h"
#include "Support/GameTestSupport.h"
#include "ResolutionTestSupport.h"

namespace {

class ResolutionTest : public ResolutionHomeTest
{
protected:
    void WriteRaw(const void* data, size_t size) const
    {
        FILE* file = std::fopen(SettingsFilePath().c_str(), "wb");
        ASSERT_NE(nullptr, file);
        ASSERT_EQ(size, std::fwrite(data, 1, size, file));
        std::fclose(file);
    }

    // A valid record unlike the defaults in every field the module reads.
    static ResolutionSettings Unusual()
    {
        ResolutionSettings s;
        ResolutionSetDefaults(&s);
        s.show_dialog = 0;
        s.last_check = {2026, 3, 4, {0, 0}};
        s.windowed = 1;
        s.window_x = 12;
        s.window_y = 34;
        s.windowed_width = 800;
        s.windowed_height = 600;
        s.windowed_bit_depth = 16;
        s.full_width = 1280;
        s.full_height = 1024;
        s.full_bit_depth = 32;
        s.full_refresh = 75;
        s.windowed_ms_type = 2;
        s.windowed_ms_quality = 1;
        s.full_ms_type = 4;
        s.full_ms_quality = 3;
        s.mouse_sync = 1;
        s.cursor_type = 0;
        s.sound_on = 0;
        s.music_on = 0;
        s.internet_test[0] = 1;
        s.internet_test[1] = 0;
        s.cleared_on_version_change[0] = 7;
        s.reserved2[10] = 0x5A;
        s.reserved3[100] = 0xA5;
        return s;
    }

};

bool SameBytes(const ResolutionSettings& a, const ResolutionSettings& b)
{
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}

void ExpectDefaults(const ResolutionSettings& s)
{
    ResolutionSettings defaults;
    ResolutionSetDefaults(&defaults);
    EXPECT_TRUE(SameBytes(defaults, s));
    EXPECT_EQ(1, s.show_dialog);
}

} // namespace

TEST_F(ResolutionTest, DefaultsFollowTheRecordTable)
{
    ResolutionSettings s;
    ResolutionSetDefaults(&s);
    const EngUInt8* bytes = reinterpret_cast<const EngUInt8*>(&s);
    EXPECT_FLOAT_EQ(1.5f, s.record_version);
    EXPECT_FLOAT_EQ(1.5f, s.program_version);
    EXPECT_EQ(1, bytes[8]);
    EXPECT_EQ(0, bytes[20]);
    EXPECT_EQ(-1, s.window_x);
    EXPECT_EQ(1024, s.windowed_width);
    EXPECT_EQ(768, s.windowed_height);
    EXPECT_EQ(60, s.full_refresh);
    EXPECT_EQ(1, bytes[76]);
    EXPECT_EQ(1, bytes[77]);
    EXPECT_STREQ("English", s.language);
    EXPECT_EQ(1, bytes[142]);
    EXPECT_EQ(2, s.mouse_sync);
    EXPECT_EQ(1, bytes[148]);
    EXPECT_EQ(1, bytes[149]);
    EXPECT_EQ(1, bytes[311]);
    EXPECT_EQ(255, bytes[312]);
    EXPECT_EQ(255, bytes[313]);
    EXPECT_EQ(1, bytes[357]);
    int width = 0;
    int height = 0;
    ASSERT_TRUE(EngMiscGetDesktopDimensions_PC(nullptr, nullptr, &width, &height, false, true));
    EXPECT_EQ(width, s.full_width);
    EXPECT_EQ(height, s.full_height);
}

TEST_F(ResolutionTest, SaveAndLoadRoundTripByteForByte)
{
    ResolutionSettings saved = Unusual();
    *ResolutionGetSettings() = saved;
    ASSERT_TRUE(ResolutionSaveSettings());
    ResolutionSettings on_disk;
    ASSERT_TRUE(ReadSettingsFile(&on_disk));
    EXPECT_TRUE(SameBytes(saved, on_disk));
    EXPECT_FALSE(std::filesystem::exists(SettingsFilePath() + ".tmp"));

    ResolutionSetDefaults(ResolutionGetSettings());
    ASSERT_TRUE(ResolutionLoadSettings());
    EXPECT_TRUE(SameBytes(saved, *ResolutionGetSettings()));

    // Saving again over the old file gives the same bytes.
    ASSERT_TRUE(ResolutionSaveSettings());
    ASSERT_TRUE(ReadSettingsFile(&on_disk));
    EXPECT_TRUE(SameBytes(saved, on_disk));
}

TEST_F(ResolutionTest, ShortLongOrWrongVersionFileIsIgnored)
{
    ResolutionSettings good = Unusual();
    char bytes[sizeof(good) + 1] = {};
    std::memcpy(bytes, &good, sizeof(good));

    WriteRaw(bytes, sizeof(good) - 1);
    EXPECT_FALSE(ResolutionLoadSettings());
    ExpectDefaults(*ResolutionGetSettings());

    WriteRaw(bytes, sizeof(good) + 1);
    EXPECT_FALSE(ResolutionLoadSettings());
    ExpectDefaults(*ResolutionGetSettings());

    ResolutionSettings old = good;
    old.record_version = 1.4f;
    WriteRaw(&old, sizeof(old));
    EXPECT_FALSE(ResolutionLoadSettings());
    ExpectDefaults(*ResolutionGetSettings());

    std::filesystem::remove(SettingsFilePath());
    EXPECT_FALSE(ResolutionLoadSettings());
    ExpectDefaults(*ResolutionGetSettings());
}

TEST_F(ResolutionTest, OutOfRangeValuesAreCorrectedBeforeUse)
{
    ResolutionSettings s = Unusual();
    s.windowed = 0;
    s.full_ms_type = 999;
    s.full_ms_quality = 3;
    s.windowed_ms_quality = -4;
    s.mouse_sync = 7;
    s.cursor_type = 9;
    s.sound_on = 200;
    s.full_refresh = -5;
    s.internet_test[0] = 17;
    s.padding0[1] = 0xFF;
    std::memset(s.language, 'x', sizeof(s.language));
    WriteRaw(&s, sizeof(s));

    ASSERT_TRUE(ResolutionLoadSettings());
    const ResolutionSettings* loaded = ResolutionGetSettings();
    EXPECT_EQ(0, loaded->full_ms_type);
    EXPECT_EQ(0, loaded->full_ms_quality);
    EXPECT_EQ(0, loaded->windowed_ms_type);
    EXPECT_EQ(0, loaded->windowed_ms_quality);
    EXPECT_EQ(2, loaded->mouse_sync);
    EXPECT_EQ(1, loaded->cursor_type);
    EXPECT_EQ(1, loaded->sound_on);
    EXPECT_EQ(60, loaded->full_refresh);
    EXPECT_EQ(255, loaded->internet_test[0]);
    EXPECT_EQ(0, loaded->padding0[1]);
    EXPECT_EQ(63u, std::strlen(loaded->language));
    EXPECT_EQ(0, MainGetCreateWindowParms()->multisample_type);
    EXPECT_EQ(60, MainGetCreateWindowParms()->refresh);
}

TEST_F(ResolutionTest, UnusableSizeOrDepthGivesDefaults)
{
    const auto spoil = {+[](ResolutionSettings* s) { s->windowed_width = 0; },
                        +[](ResolutionSettings* s) { s->full_height = -768; },
                        +[](ResolutionSettings* s) { s->full_width = 1 << 30; },
                        +[](ResolutionSettings* s) { s->windowed_bit_depth = 7; }};
    for (auto change : spoil) {
        ResolutionSettings s = Unusual();
        change(&s);
        WriteRaw(&s, sizeof(s));
        EXPECT_FALSE(ResolutionLoadSettings());
        ExpectDefaults(*ResolutionGetSettings());
        EXPECT_GT(MainGetCreateWindowParms()->width, 0);
    }
    EXPECT_NE(std::string::npos, ReadWhole(LogFileIn(home)).find("Bad resolution values"));
}

TEST_F(ResolutionTest, SettingsOfAnotherProgramVersionResetTheInternetTests)
{
    ResolutionSettings s = Unusual();
    s.program_version = 1.4f;
    s.cleared_on_version_change[0] = 3;
    s.cleared_on_version_change[1] = 4;
    WriteRaw(&s, sizeof(s));
    ASSERT_TRUE(ResolutionLoadSettings());
    const ResolutionSettings* loaded = ResolutionGetSettings();
    EXPECT_EQ(255, loaded->internet_test[0]);
    EXPECT_EQ(255, loaded->internet_test[1]);
    EXPECT_EQ(0, loaded->cleared_on_version_change[0]);
    EXPECT_EQ(0, loaded->cleared_on_version_change[1]);
    // The version that saved them is still the old one until they are saved again.
    EXPECT_FLOAT_EQ(1.4f, loaded->program_version);
    ASSERT_TRUE(ResolutionSaveSettings());
    EXPECT_FLOAT_EQ(1.5f, loaded->program_version);
}

TEST_F(ResolutionTest, WindowWiderThanTheDesktopIsReducedToIt)
{
    int width = 0;
    int height = 0;
    ASSERT_TRUE(EngMiscGetDesktopDimensions_PC(nullptr, nullptr, &width, &height, false, true));
    ResolutionSettings s = Unusual();
    s.windowed_width = width + 100;
    WriteRaw(&s, sizeof(s));
    ASSERT_TRUE(ResolutionLoadSettings());
    EXPECT_EQ(width, ResolutionGetSettings()->windowed_width);
    EXPECT_EQ(width, MainGetCreateWindowParms()->width);

    // Full screen takes the nearest size the display offers, whatever was stored.
    int widths[256];
    int heights[256];
    const int offered = EngMiscGetDisplayModeSizes_PC(widths, heights, 256);
    s.windowed = 0;
    s.full_width = 3 * width;
    s.full_height = 3 * height;
    WriteRaw(&s, sizeof(s));
    ASSERT_TRUE(ResolutionLoadSettings());
    int expected_width = offered > 0 ? widths[0] : width;
    int expected_height = offered > 0 ? heights[0] : height;
    for (int i = 0; i < offered; i++) {
        if (widths[i] + heights[i] > expected_width + expected_height) {
            expected_width = widths[i];
            expected_height = heights[i];
        }
    }
    EXPECT_EQ(expected_width, MainGetCreateWindowParms()->width) << "the largest offered";
    EXPECT_EQ(expected_height, MainGetCreateWindowParms()->height);
}

// A player moves to another screen: the stored full-screen size becomes the nearest the display offers.
TEST(ResolutionFullScreenSize, StoredSizesMeetTheNearestOfferedMode)
{
    const int widths[] = {640, 800, 1024, 1280, 1280, 1920};
    const int heights[] = {480, 600, 768, 720, 1024, 1080};
    struct Case {
        int count; // the first modes of the list that the display offers
        int stored_width, stored_height;
        int width, height;
    } cases[] = {
        {3, 1920, 1080, 1024, 768},  // from a large screen to a small one
        {6, 1920, 1080, 1920, 1080}, // offered as it is
        {6, 1280, 1024, 1280, 1024}, // the same width twice: the height decides
        {6, 1280, 800, 1280, 720},   // between two modes, the nearer
        {6, 1152, 744, 1024, 768},   // a tie goes to the first offered
        {6, 320, 200, 640, 480},     // below every mode
        {1, 1024, 768, 640, 480},    // one mode only
        {0, 1920, 1080, 1366, 768},  // none offered: the desktop's size
    };
    for (const Case& c : cases) {
        int width = c.stored_width;
        int height = c.stored_height;
        ResolutionNearestOfferedSize(widths, heights, c.count, 1366, 768, &width, &height);
        EXPECT_EQ(c.width, width) << c.stored_width << " x " << c.stored_height << " among " << c.count;
        EXPECT_EQ(c.height, height) << c.stored_width << " x " << c.stored_height << " among " << c.count;
    }
}

TEST_F(ResolutionTest, SetSettingsFillsTheWindowRecordAndTheGpuSync)
{
    Program program;
    ResolutionSettings* s = ResolutionGetSettings();
    *s = Unusual();
    s->windowed = 0;
    s->mouse_sync = 2;
    // The desktop's size, which full screen always takes.
    int width = 0;
    int height = 0;
    ASSERT_TRUE(EngMiscGetDesktopDimensions_PC(nullptr, nullptr, &width, &height, false, true));
    s->full_width = width;
    s->full_height = height;
    ASSERT_TRUE(ResolutionSetSettings());
    const _EngCreateWindowParms* parms = MainGetCreateWindowParms();
    EXPECT_EQ(0, parms->windowed);
    EXPECT_EQ(width, parms->width);
    EXPECT_EQ(height, parms->height);
    EXPECT_EQ(32, parms->bit_depth);
    EXPECT_EQ(75, parms->refresh);
    EXPECT_EQ(4, parms->multisample_type);
    EXPECT_EQ(3, parms->multisample_quality);
    EXPECT_FALSE(eng_screen_windowed);
    EXPECT_EQ(width, eng_screen_width);
    EXPECT_EQ(1, program.GetGpuSyncMethod());

    s->windowed = 1;
    s->mouse_sync = 0;
    ASSERT_TRUE(ResolutionSetSettings());
    EXPECT_EQ(1, parms->windowed);
    EXPECT_EQ(12, parms->x);
    EXPECT_EQ(34, parms->y);
    EXPECT_EQ(800, parms->width);
    EXPECT_EQ(16, parms->bit_depth);
    EXPECT_EQ(2, parms->multisample_type);
    EXPECT_EQ(1, parms->multisample_quality);
    EXPECT_EQ(-1, program.GetGpuSyncMethod());

    // The window record's multisample pair also comes from the settings when the window is created.
    _EngCreateWindowParms record;
    ASSERT_EQ(1, program.PreCreateWindowCB(&record));
    EXPECT_EQ(2, record.multisample_type);
    EXPECT_EQ(1, record.multisample_quality);
}

TEST_F(ResolutionTest, UpdateFromCurrentTakesTheEngineValuesBack)
{
    ResolutionSettings* s = ResolutionGetSettings();
    *s = Unusual();
    ResolutionUpdateSettingsFromCurrent();
    EXPECT_EQ(800, s->windowed_width) << "nothing is taken without a program";

    Program program;
    program.SetGpuSyncMethod(true, 0, true);
    eng_screen_windowed = false;
    eng_screen_width = 1600;
    eng_screen_height = 900;
    eng_screen_bit_depth = 16;
    eng_screen_refresh = 144;
    eng_screen_multisample_type = 8;
    eng_screen_multisample_quality = 2;
    ResolutionUpdateSettingsFromCurrent();
    EXPECT_EQ(0, s->windowed);
    EXPECT_EQ(1600, s->full_width);
    EXPECT_EQ(900, s->full_height);
    EXPECT_EQ(16, s->full_bit_depth);
    EXPECT_EQ(144, s->full_refresh);
    EXPECT_EQ(8, s->full_ms_type);
    EXPECT_EQ(2, s->full_ms_quality);
    EXPECT_EQ(800, s->windowed_width);
    EXPECT_EQ(1, s->mouse_sync);
}

TEST_F(ResolutionTest, FailedSaveKeepsTheOldFile)
{
    ResolutionSettings first = Unusual();
    *ResolutionGetSettings() = first;
    ASSERT_TRUE(ResolutionSaveSettings());
    // A folder where the temporary file must go makes the write fail.
    std::filesystem::create_directory(SettingsFilePath() + ".tmp");
    ResolutionGetSettings()->windowed_width = 640;
    EXPECT_FALSE(ResolutionSaveSettings());
    ResolutionSettings on_disk;
    ASSERT_TRUE(ReadSettingsFile(&on_disk));
    EXPECT_TRUE(SameBytes(first, on_disk));
    EXPECT_NE(std::string::npos, ReadWhole(LogFileIn(home)).find("Problem Creating to Resolution File"));
}

TEST_F(ResolutionTest, SaveThatCannotReplaceTheFileSaysSoAndLeavesNoTemporaryFile)
{
    // A folder with something in it where the file belongs: the finished temporary file cannot replace it.
    std::filesystem::create_directories(SettingsFilePath() + "/inside");
    *ResolutionGetSettings() = Unusual();
    EXPECT_FALSE(ResolutionSaveSettings());
    EXPECT_FALSE(std::filesystem::exists(SettingsFilePath() + ".tmp"));
    EXPECT_TRUE(std::filesystem::is_directory(SettingsFilePath() + "/inside"));
    EXPECT_NE(std::string::npos, ReadWhole(LogFileIn(home)).find("Problem Writing to Resolution File"));
    std::filesystem::remove_all(SettingsFilePath());
}

TEST_F(ResolutionTest, WeeklyCheckStampsTheDateButNotTheProgramVersion)
{
    ResolutionSettings s = Unusual();
    s.program_version = 1.4f;
    s.last_check = {2001, 1, 1, {0, 0}};
    WriteRaw(&s, sizeof(s));
    EXPECT_FALSE(ResolutionDoWeeklyVersionCheck());
    ResolutionSettings on_disk;
    ASSERT_TRUE(ReadSettingsFile(&on_disk));
    _EngMiscDate today = {};
    EngMiscGetCurrentDate(&today);
    EXPECT_EQ(today.year, on_disk.last_check.year);
    EXPECT_EQ(today.month, on_disk.last_check.month);
    EXPECT_EQ(today.day, on_disk.last_check.day);
    // Still the older program's settings, so the start-up dialog comes once.
    EXPECT_FLOAT_EQ(1.4f, on_disk.program_version);
}

TEST(ResolutionModule, CallsBeforeSetupReportAndFail)
{
    UseFreshDataHome();
    EXPECT_FALSE(ResolutionLoadSettings());
    EXPECT_FALSE(ResolutionDoWeeklyVersionCheck());
    EXPECT_EQ(0, ResolutionDoDialog());
}

TEST(ResolutionModule, ProgramEighteenHasNoVersionCheck)
{
    std::string home = UseFreshDataHome();
    MainOneTimeSetup();
    ResolutionSetup(18, 0, 1.5f, 1.5f, nullptr, false, true, true, false, false);
    EXPECT_FALSE(ResolutionDoWeeklyVersionCheck());
    EXPECT_FALSE(std::filesystem::exists(home + "/Ostrelmark/Torvi Torvi/Resolution.dat"));
}

namespace {

// What the disk was asked to keep, in order: the path flushed and the width the settings file held then.
struct Flush {
    std::string path;
    int width_on_disk;
};
std::vector<Flush> g_flushes;
bool g_fail_file_flush = false;

int RecordingSync(int descriptor)
{
    char link[64];
    char path[4096] = {};
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
    ssize_t length = readlink(link, path, sizeof path - 1);
    ResolutionSettings on_disk;
    g_flushes.push_back({length > 0 ? std::string(path, size_t(length)) : "?",
                         ReadSettingsFile(&on_disk) ? on_disk.windowed_width : -1});
    if (g_fail_file_flush && std::filesystem::is_regular_file(g_flushes.back().path)) {
        errno = EIO;
        return -1;
    }
    return fsync(descriptor);
}

} // namespace

// A save is flushed to the disk before it is renamed over the old file, and the folder after the rename; a
// flush that fails leaves the old file as it was.
TEST_F(ResolutionTest, SaveReachesTheDiskBeforeTheRenameAndTheFolderAfterIt)
{
    for (bool fail : {false, true}) {
        SCOPED_TRACE(fail ? "the file's flush fails" : "both flushes succeed");
        *ResolutionGetSettings() = Unusual();
        ASSERT_TRUE(ResolutionSaveSettings());
        const std::string file = std::filesystem::canonical(SettingsFilePath()).string();
        g_flushes.clear();
        g_fail_file_flush = fail;
        EngFileSetSyncFunc(RecordingSync);
        ResolutionGetSettings()->windowed_width = 640;
        EXPECT_EQ(!fail, ResolutionSaveSettings());
        EngFileSetSyncFunc(nullptr);
        ASSERT_EQ(fail ? 1u : 2u, g_flushes.size());
        EXPECT_EQ(file + ".tmp", g_flushes[0].path);
        EXPECT_EQ(800, g_flushes[0].width_on_disk) << "flushed while the old file is still in place";
        ResolutionSettings on_disk;
        ASSERT_TRUE(ReadSettingsFile(&on_disk));
        EXPECT_EQ(fail ? 800 : 640, on_disk.windowed_width);
        EXPECT_FALSE(std::filesystem::exists(file + ".tmp"));
        if (fail)
            continue;
        EXPECT_EQ(std::filesystem::path(file).parent_path().string(), g_flushes[1].path);
        EXPECT_EQ(640, g_flushes[1].width_on_disk) << "the folder is flushed once the new file is in place";
    }
}

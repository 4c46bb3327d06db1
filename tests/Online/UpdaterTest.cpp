#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMiscDate.h"
#include "Engine/Core/EngPrefFolder.h"
#include "Online/OnlineTestSupport.h"
#include "Online/Updater.h"
#include "Support/GtkWidgetsForTests.h"
#include "Support/LoopbackHttpServer.h"
#include "Support/FilesForTests.h"

namespace fs = std::filesystem;

namespace {

// A home folder of its own with a Desktop, the preferences folder set up, and the maker's site pointed at a
// server of the test's choosing.
class UpdaterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        home = UsePrivateHome("torvi-updater");
        ASSERT_FALSE(home.empty());
        desktop = home / "Desktop";
        part = PrefFolderGetMainFolderWithFileAppended("Download.part");
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(home, ignored);
        UpdaterSetDownloadLimit(UPDATER_DOWNLOAD_LIMIT);
    }
    void PointSiteAt(const LoopbackHttpServer& server) { setenv("TORVI_WEB_BASE", server.Base().c_str(), 1); }
    bool Read(const LoopbackHttpServer& server) { return UpdaterReadURL(server.Url("/v").c_str(), false); }

    fs::path home;
    fs::path desktop;
    std::string part;
};

_EngMiscDate DaysAgo(int days)
{
    _EngMiscDate date = {};
    EngMiscGetCurrentDate(&date);
    for (int i = 0; i < days; i++)
        EngMiscGetPreviousDay(&date);
    return date;
}

}  // namespace

TEST_F(UpdaterTest, RequestCarriesProgramEditionAndThreeDecimals)
{
    LoopbackHttpServer server(MakeReply(200, "ok"));
    PointSiteAt(server);
    ASSERT_TRUE(UpdaterSetupUrl(UPDATER_PROGRAM_TORVI, 1.5f, UPDATER_PROGRAM_TYPE_FULL));
    EXPECT_EQ(std::string(UpdaterGetRequest()),
              server.Base() + "/cgi-bin/common/updater/CheckVersionV2.cgi?platform=PC&program=Torvi"
                              "&program_type=Full&version=1.500");
    int start = DebugGetMessageCount();
    EXPECT_FALSE(UpdaterSetupUrl(_UpdaterProgramName(15), 1.5f, UPDATER_PROGRAM_TYPE_FULL));
    EXPECT_FALSE(UpdaterSetupUrl(_UpdaterProgramName(0), 1.5f, UPDATER_PROGRAM_TYPE_FULL));
    EXPECT_TRUE(LogHas(start, "Unknown program name"));
    EXPECT_TRUE(UpdaterSetupUrl(_UpdaterProgramName(16), 1.0f, UPDATER_PROGRAM_TYPE_DEMO));
}

TEST_F(UpdaterTest, OutOfDateRepliesKeepTheirTextAndTakeOnlyALinkOfUsableLength)
{
    const std::string overlong = "#DL:<http://h.example/" + std::string(300, 'x') + ">";
    struct Case {
        std::string body, reply, link;
    };
    const Case cases[] = {
        {"Torvi 1.6 is out of date.\nGet 1.7.\n#DL:<http://h.example/Setup17.run>",
         "Torvi 1.6 is out of date.\nGet 1.7.\n", "http://h.example/Setup17.run"},
        {"Torvi 1.6 is out of date.\n#DL:<custlogin>", "Torvi 1.6 is out of date.\n", "custlogin"}, // short, but a link
        {"is out of date.#DL:<a/b.run>", "is out of date.", ""},
        {"is out of date." + overlong, "is out of date." + overlong.substr(0, 256), ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.body.substr(0, 40));
        LoopbackHttpServer server(MakeReply(200, c.body));
        ASSERT_TRUE(Read(server));
        EXPECT_EQ(c.reply, UpdaterGetReply());
        EXPECT_EQ(c.link, UpdaterGetDownloadLink());
    }
    int start = DebugGetMessageCount();
    EXPECT_FALSE(UpdaterStartDownload(nullptr));
    EXPECT_TRUE(LogHas(start, "Invalid link name"));
}

TEST_F(UpdaterTest, ErrorRepliesAndStatusesFailTheRead)
{
    LoopbackHttpServer refused(MakeReply(200, " X no such program"));
    EXPECT_FALSE(Read(refused));
    EXPECT_STREQ(UpdaterGetResultMessage(), "Error returned from the URL");
    LoopbackHttpServer broken(MakeReply(503, "is out of date.#DL:<http://h.example/Setup17.run>"));
    EXPECT_FALSE(Read(broken));
    EXPECT_STREQ(UpdaterGetResultMessage(), "Could not read result from the URL");
    EXPECT_STREQ(UpdaterGetDownloadLink(), "");
}

TEST_F(UpdaterTest, InternetTestReadsTheScriptWithoutQuery)
{
    LoopbackHttpServer server(MakeReply(200, " X"));
    PointSiteAt(server);
    char out[40];
    EXPECT_TRUE(UpdaterDoInternetTest(out, sizeof(out)));
    EXPECT_STREQ(out, "Internet Test Ok");
    EXPECT_EQ(server.LastRequest().rfind("GET /cgi-bin/common/updater/CheckVersionV2.cgi HTTP/1.1", 0), 0u);

    LoopbackHttpServer failing(MakeReply(404, ""));
    PointSiteAt(failing);
    char small[8];
    EXPECT_FALSE(UpdaterDoInternetTest(small, sizeof(small)));
    EXPECT_STREQ(small, "Could n");
}

// Nobody is there to press Download: the check shows the news and ends without downloading.
TEST_F(UpdaterTest, CheckAsksTheScriptAndDownloadsNothingUnasked)
{
    LoopbackHttpServer server(MakeReply(200, "Torvi 1.0 is out of date.#DL:<http://127.0.0.1:9/Setup.run>"));
    PointSiteAt(server);
    EXPECT_FALSE(UpdaterCheckForNewVersion(UPDATER_PROGRAM_TORVI, 1.0f, UPDATER_PROGRAM_TYPE_FULL));
    EXPECT_NE(server.LastRequest().find("program=Torvi&program_type=Full&version=1.000"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(desktop));

    LoopbackHttpServer current(MakeReply(200, "Torvi 1.0 is the latest version."));
    PointSiteAt(current);
    EXPECT_FALSE(UpdaterCheckForNewVersion(UPDATER_PROGRAM_TORVI, 1.0f, UPDATER_PROGRAM_TYPE_FULL));
    EXPECT_EQ(current.RequestCount(), 1);
}

TEST_F(UpdaterTest, WeeklyCheckRunsFromTheSeventhDayOn)
{
    LoopbackHttpServer server(MakeReply(200, "Torvi 1.0 is the latest version."));
    PointSiteAt(server);
    _EngMiscDate six = DaysAgo(6);
    EXPECT_FALSE(UpdaterDoWeeklyCheck(&six, UPDATER_PROGRAM_TORVI, 1.0f, UPDATER_PROGRAM_TYPE_FULL));
    _EngMiscDate future = DaysAgo(-0);
    future.year += 1;
    EXPECT_FALSE(UpdaterDoWeeklyCheck(&future, UPDATER_PROGRAM_TORVI, 1.0f, UPDATER_PROGRAM_TYPE_FULL));
    EXPECT_EQ(server.RequestCount(), 0);
    EXPECT_EQ(six.day, DaysAgo(6).day);

    _EngMiscDate seven = DaysAgo(7);
    EXPECT_FALSE(UpdaterDoWeeklyCheck(&seven, UPDATER_PROGRAM_TORVI, 1.0f, UPDATER_PROGRAM_TYPE_FULL));
    EXPECT_EQ(server.RequestCount(), 1);
    _EngMiscDate today = DaysAgo(0);
    EXPECT_EQ(seven.year, today.year);
    EXPECT_EQ(seven.month, today.month);
    EXPECT_EQ(seven.day, today.day);
    EXPECT_FALSE(UpdaterDoWeeklyCheck(nullptr, UPDATER_PROGRAM_TORVI, 1.0f, UPDATER_PROGRAM_TYPE_FULL));
}

// A taken name on the desktop is never overwritten: the new file gets "Latest_", and only an older
// "Latest_" file is replaced.
TEST_F(UpdaterTest, DownloadLandsOnTheDesktopBesideOlderInstallers)
{
    LoopbackHttpServer first(MakeReply(200, "installer one"));
    ASSERT_TRUE(UpdaterStartDownload(first.Url("/files/Setup.run").c_str()));
    EXPECT_EQ(ReadWhole(desktop / "Setup.run"), "installer one");
    EXPECT_STREQ(UpdaterGetDownloadLink(), "The file \"Setup.run\" has been downloaded on your Desktop.\n\n"
                                           "Double click it to install the program.");
    LoopbackHttpServer second(MakeReply(200, "installer two"));
    ASSERT_TRUE(UpdaterStartDownload(second.Url("/files/Setup.run").c_str()));
    LoopbackHttpServer third(MakeReply(200, "installer three"));
    ASSERT_TRUE(UpdaterStartDownload(third.Url("/files/Setup.run").c_str()));
    EXPECT_EQ(ReadWhole(desktop / "Setup.run"), "installer one");
    EXPECT_EQ(ReadWhole(desktop / "Latest_Setup.run"), "installer three");
    EXPECT_FALSE(EngFileExists(part.c_str(), false));
}

TEST_F(UpdaterTest, OversizedOrFailedDownloadsLeaveNothingBehind)
{
    UpdaterSetDownloadLimit(100);
    LoopbackHttpServer big(MakeReply(200, std::string(1000, 'z')));
    int start = DebugGetMessageCount();
    EXPECT_TRUE(UpdaterStartDownload(big.Url("/files/Big.run").c_str()));
    EXPECT_TRUE(LogHas(start, "The download was not completed.")) << LogSince(start);
    EXPECT_TRUE(LogHas(start, "Download larger than 100 bytes refused") || LogHas(start, "error: 63)")) << LogSince(start);
    LoopbackHttpServer missing(MakeReply(404, "not here"));
    EXPECT_TRUE(UpdaterStartDownload(missing.Url("/files/Gone.run").c_str()));
    EXPECT_TRUE(LogHas(start, "Problem (from: 8  error: 22)")) << LogSince(start);
    EXPECT_TRUE(fs::is_empty(desktop));
    EXPECT_FALSE(EngFileExists(part.c_str(), false));
}

TEST_F(UpdaterTest, ServerFileNamesAreMadeSafe)
{
    char names[][32] = {"..\\..\\evil.run", ".hidden", "a\x01\x1F" "b", "c:d", "ok-1.2_x.run"};
    const char* safe[] = {"_.__._evil.run", "_hidden", "a__b", "c_d", "ok-1.2_x.run"};
    for (int i = 0; i < 5; i++) {
        UpdaterMakeSafeFileName(names[i]);
        EXPECT_STREQ(names[i], safe[i]);
    }
    LoopbackHttpServer server(MakeReply(200, "hidden installer"));
    ASSERT_TRUE(UpdaterStartDownload(server.Url("/files/..hidden.run").c_str()));
    EXPECT_EQ(ReadWhole(desktop / "_.hidden.run"), "hidden installer");
    EXPECT_EQ(std::distance(fs::directory_iterator(desktop), fs::directory_iterator()), 1);
}

namespace {

// Clicks the download window's Cancel button, as a person would, once the window is up.
gboolean ClickCancel(gpointer clicked)
{
    GList* all = gtk_window_list_toplevels();
    for (GList* item = all; item; item = item->next) {
        GtkWidget* button = FindButtonLabelled(GTK_WIDGET(item->data), "Cancel");
        if (button && gtk_widget_get_mapped(button)) {
            gtk_button_clicked(GTK_BUTTON(button));
            *static_cast<bool*>(clicked) = true;
        }
    }
    g_list_free(all);
    return *static_cast<bool*>(clicked) ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
}

}  // namespace

// The progress window needs a display (run under xvfb-run); without one the test is skipped.
TEST_F(UpdaterTest, UpdaterOnDisplayCancelStopsTheDownloadAndLeavesNothingBehind)
{
    const char* display = std::getenv("DISPLAY");
    if (!display || !display[0])
        GTEST_SKIP() << "no display";
    LoopbackHttpServer server(MakeStallingReply(200000, 4000, 20.0));
    bool clicked = false;
    guint timer = g_timeout_add(300, ClickCancel, &clicked);
    int start = DebugGetMessageCount();
    EXPECT_TRUE(UpdaterStartDownload(server.Url("/files/Setup.run").c_str()));
    if (!clicked)
        g_source_remove(timer);
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(LogHas(start, "Download cancelled.")) << LogSince(start);
    EXPECT_TRUE(LogHas(start, "The download was not completed.")) << LogSince(start);
    EXPECT_TRUE(fs::is_empty(desktop));
    EXPECT_FALSE(EngFileExists(part.c_str(), false));
}

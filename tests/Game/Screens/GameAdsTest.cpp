// The product ads: their tables and stepping, the screen as the main menu opens it (texts, pictures, the get-it
// button by kind, the profile's last ad), and the installer download against a local service.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Engine/Core/EngKeyStateTable.h"
#include "Game/Screens/GameAds.h"
#include "Game/Screens/GameAdsCC.h"
#include "Game/Screens/MainCC.h"
#include "Support/GameWindowFixture.h"
#include "Game/Users.h"
#include "Online/OnlineTestSupport.h"
#include "Support/LogForTests.h"
#include "Support/LoopbackHttpServer.h"
#include "Support/FilesForTests.h"

namespace fs = std::filesystem;

namespace {

const int kDesktopAds[] = {0, 1, 2, 5, 9, 10, 11, 15, 21, 22, 28};

void IncludeOnly(std::initializer_list<int> ads)
{
    for (int n = 0; n < GAME_ADS_NUM_ADS; n++)
        GameAdsGetVars(n)->included = 0;
    for (int n : ads)
        GameAdsGetVars(n)->included = 1;
}

} // namespace

TEST(GameAds, DesktopShowsElevenAdsAndSteppingWrapsAndSkipsTheOthers)
{
    ASSERT_TRUE(GameAdsSetupAdsToBeIncluded()) << "every row carries its own number";
    EXPECT_EQ(11, GameAdsCountIncludedAds());
    for (int n : kDesktopAds)
        EXPECT_EQ(1, GameAdsGetVars(n)->included) << n;
    EXPECT_EQ(nullptr, GameAdsGetVars(32));

    int mirror = -1;
    int* holder = &mirror;
    GameAdsSetCurGameAdPointer(&holder);
    struct Step {
        int from;
        bool next;
        int to;
    } steps[] = {{28, true, 0}, {0, false, 28}, {2, true, 5}, {5, false, 2}, {11, true, 15}, {22, false, 21}};
    for (const Step& s : steps) {
        GameAdsSetCurGameAd(s.from);
        ASSERT_EQ(s.from, GameAdsGetCurGameAd());
        s.next ? GameAdsNextAd() : GameAdsPreviousAd();
        EXPECT_EQ(s.to, GameAdsGetCurGameAd()) << s.from << (s.next ? " next" : " previous");
        EXPECT_EQ(s.to, mirror) << "the profile's field follows";
    }
    GameAdsSetCurGameAd(3);
    EXPECT_EQ(5, GameAdsGetCurGameAd()) << "an excluded ad lands on the next included one";
    GameAdsSetCurGameAd(29);
    EXPECT_EQ(0, GameAdsGetCurGameAd()) << "past the last included ad it wraps";
    int mark = LogMark();
    GameAdsSetCurGameAd(40);
    EXPECT_TRUE(LoggedSince(mark, "Invalid ad num 40"));
    EXPECT_EQ(0, GameAdsGetCurGameAd());

    mirror = 9;
    GameAdsSetCurGameAdPointer(&holder);
    EXPECT_EQ(9, GameAdsGetCurGameAd()) << "attaching the profile's field takes its ad";
}

TEST(GameAds, LinksAndTheirRefusals)
{
    setenv("TORVI_WEB_BASE", "http://127.0.0.1:8123", 1);
    EXPECT_STREQ("http://127.0.0.1:8123/downloads/PuddlehopSetup.run", GameAdsGetInstallerLink(0));
    EXPECT_STREQ("", GameAdsGetInstallerLink(3));
    int mark = LogMark();
    EXPECT_FALSE(GameAdsSetInternetLinksPath("http://x", "Torvi_PC", ""));
    EXPECT_TRUE(LoggedSince(mark, "Invalid path"));
    EXPECT_FALSE(GameAdsSetInternetLinksPath("http://x/", "Tor", ""));
    EXPECT_TRUE(LoggedSince(mark, "Invalid from prog"));

    // Nobody is there to answer: neither a page nor a download is started.
    ASSERT_NE(nullptr, std::getenv("TORVI_NONINTERACTIVE"));
    ASSERT_TRUE(GameAdsSetInternetLinksPath("http://127.0.0.1:8123/torvi/iga/", "Torvi_PC", "ANNA"));
    GameAdsSetupAdsToBeIncluded();
    GameAdsSetCurGameAd(0);
    mark = LogMark();
    GameAdsWebPageAction(nullptr);
    GameAdsTellAFriendAction(nullptr);
    GameAdsGetItAction(nullptr);
    EXPECT_TRUE(LoggedSince(mark, "Web page not started"));
    EXPECT_TRUE(LoggedSince(mark, "Tell a friend not started"));
    EXPECT_TRUE(LoggedSince(mark, "Installer download not started"));
    EXPECT_STREQ("", GameAdsGetCurrentLink());
}

// The updater's checked path brings the current ad's installer from the maker's site to the desktop.
TEST(GameAds, InstallerComesFromTheMakersSiteThroughTheUpdater)
{
    const fs::path home = UsePrivateHome("torvi-ads");
    ASSERT_FALSE(home.empty());
    LoopbackHttpServer server(MakeReply(200, "meadow installer"));
    setenv("TORVI_WEB_BASE", server.Base().c_str(), 1);
    GameAdsSetupAdsToBeIncluded();
    GameAdsSetCurGameAd(21);
    ASSERT_TRUE(GameAdsDownloadInstaller());
    EXPECT_EQ("meadow installer", ReadWhole(home / "Desktop" / "MeadowputtSetup.run"));
    fs::remove_all(home);
}

class GameAdsScreenTest : public GameWindowFixture
{
protected:
    void OpenFromMain(int last_ad)
    {
        game->GetCurrentProfile()->last_ad = last_ad;
        ASSERT_EQ(1, screens->GotoScreen(SCREEN_MAIN, nullptr));
        ASSERT_TRUE(Click(MainCC::BUT_GAMES));
        ASSERT_EQ(SCREEN_GADS, screens->GetCurrentScreen());
    }
    GameAdsCC* Ads() const { return screens->GetGameAds(); }
    MWinButton* Button(int index) const { return Ads()->GetButton(index); }
    std::string Text(int index) const { return Button(index)->GetTextP(0); }
    bool HasPicture(int index) const
    {
        return Button(index)->IsShown() && Button(index)->HasCustomTextureStates();
    }
};

TEST_F(GameAdsScreenTest, EachVisitStartsAfterTheLastAdAndTheKeysAndButtonsStep)
{
    OpenFromMain(9);
    EXPECT_EQ(10, GameAdsGetCurGameAd());
    EXPECT_EQ(kGameAdProducts[10].title, Text(GameAdsCC::BUT_TITLE));
    EXPECT_EQ(kGameAdProducts[10].lines[2], Text(GameAdsCC::BUT_DESC3));
    ASSERT_TRUE(Click(GameAdsCC::BUT_NEXT));
    Frame();
    EXPECT_EQ(11, GameAdsGetCurGameAd());
    EXPECT_EQ(kGameAdProducts[11].title, Text(GameAdsCC::BUT_TITLE));
    EngKeyStateTable[ENG_VK_LEFT] = 2;
    Frame();
    EXPECT_EQ(10, GameAdsGetCurGameAd());
    EXPECT_EQ(10, game->GetCurrentProfile()->last_ad);
    ASSERT_TRUE(Click(GameAdsCC::BUT_BACK));
    Frame();
    EXPECT_EQ(SCREEN_MAIN, screens->GetCurrentScreen());
    ASSERT_TRUE(Click(MainCC::BUT_GAMES));
    EXPECT_EQ(11, GameAdsGetCurGameAd()) << "the next visit starts after the ad shown last";
}

// One picture sits in the centre, two side by side, each on its frame; a PNG ad is frameless and shows no frame;
// an ad of 0.7 height shrinks its pictures about their centres, and the next ad has them back at full size.
TEST_F(GameAdsScreenTest, OneAndTwoPictureLayoutsFramelessFlagsAndSizeFactors)
{
    OpenFromMain(1); // ad 2: one TGA picture
    EXPECT_TRUE(HasPicture(GameAdsCC::BUT_PIC_CEN));
    EXPECT_TRUE(Button(GameAdsCC::BUT_PIC_CEN_BG)->IsShown()) << "a framed picture has its frame";
    EXPECT_FALSE(Button(GameAdsCC::BUT_PIC1)->IsShown());
    EXPECT_FALSE(Button(GameAdsCC::BUT_PIC2)->IsShown());
    EXPECT_EQ(0, GameAdsGetCurrentGameAdVars()->frameless);
    EXPECT_NE(nullptr, GameAdsGetTexture(0));
    EXPECT_EQ(nullptr, GameAdsGetTexture(1));

    float x, y, w, h;
    Button(GameAdsCC::BUT_PIC1)->GetArea(&x, &y, &w, &h);
    ASSERT_TRUE(Click(GameAdsCC::BUT_NEXT)); // ad 5: two TGA pictures at 0.7 height
    Frame();
    ASSERT_EQ(5, GameAdsGetCurGameAd());
    EXPECT_TRUE(HasPicture(GameAdsCC::BUT_PIC1));
    EXPECT_TRUE(HasPicture(GameAdsCC::BUT_PIC2));
    EXPECT_FALSE(Button(GameAdsCC::BUT_PIC_CEN)->IsShown());
    EXPECT_TRUE(Button(GameAdsCC::BUT_PIC1_BG)->IsShown());
    EXPECT_FALSE(Button(GameAdsCC::BUT_PIC_CEN_BG)->IsShown());
    float x5, y5, w5, h5;
    Button(GameAdsCC::BUT_PIC1)->GetArea(&x5, &y5, &w5, &h5);
    EXPECT_FLOAT_EQ(w, w5);
    EXPECT_FLOAT_EQ(h * 0.7f, h5);
    EXPECT_FLOAT_EQ(y + h * 0.15f, y5);

    ASSERT_TRUE(Click(GameAdsCC::BUT_NEXT)); // ad 9: two PNG pictures
    Frame();
    ASSERT_EQ(9, GameAdsGetCurGameAd());
    EXPECT_EQ(1, GameAdsGetCurrentGameAdVars()->frameless);
    for (int frame : {GameAdsCC::BUT_PIC1_BG, GameAdsCC::BUT_PIC2_BG, GameAdsCC::BUT_PIC_CEN_BG})
        EXPECT_FALSE(Button(frame)->IsShown()) << Button(frame)->GetID();
    EXPECT_NE(nullptr, GameAdsGetTexture(1));
    Button(GameAdsCC::BUT_PIC1)->GetArea(&x5, &y5, &w5, &h5);
    EXPECT_FLOAT_EQ(h, h5) << "full height again";
}

// Without an installer the button names where the product is found; with one, a button that read otherwise
// becomes "Instant Download" and pulses, while one that reads "Download" stays as it is.
TEST_F(GameAdsScreenTest, GetItButtonTextFollowsTheKindOfAd)
{
    OpenFromMain(28); // ad 0, whose button reads "Download"
    EXPECT_EQ("Download", Text(GameAdsCC::BUT_DOWNLOAD));
    EXPECT_FALSE(Ads()->IsGetItAttention());

    IncludeOnly({12, 3, 7, 26, 20, 4, 0});
    struct Row {
        int ad;
        const char* text;
        bool attention;
    } rows[] = {{3, "App Store", false}, {4, "Home Page", false}, {7, "Play Store", false},
                {12, "App Store", false}, {20, "Home Page", false}, {26, "BlackBerry World", false},
                {0, "Instant Download", true}};
    for (const Row& row : rows) {
        ASSERT_TRUE(Click(GameAdsCC::BUT_NEXT));
        Frame();
        ASSERT_EQ(row.ad, GameAdsGetCurGameAd());
        EXPECT_EQ(row.text, Text(GameAdsCC::BUT_DOWNLOAD)) << row.ad;
        EXPECT_EQ(row.attention, Ads()->IsGetItAttention()) << row.ad;
    }
    Run(0.2);
    EXPECT_LT(Button(GameAdsCC::BUT_DOWNLOAD)->GetModulateColour()[3], 1.0f) << "the button pulses";

    IncludeOnly({12});
    ASSERT_TRUE(Click(GameAdsCC::BUT_NEXT));
    Frame();
    ASSERT_EQ(12, GameAdsGetCurGameAd());
    EXPECT_FALSE(Button(GameAdsCC::BUT_NEXT)->IsShown()) << "one ad: nothing to step to";
    ASSERT_TRUE(Click(GameAdsCC::BUT_DOWNLOAD));
    Frame();
    EXPECT_NE(std::string::npos, PopupText().find("Search the App Store on your iPhone for \"Ostrelmark\""));
}

// With a person there, what cannot be started leaves the game running and says so: a download whose site does
// not answer, a web page with no opener; a download whose site answers ends the game once the frame is over.
TEST_F(GameAdsScreenTest, GetItEndsTheGameOnlyForADownloadThatCanStartAndAfterTheFrame)
{
    LoopbackHttpServer server(MakeReply(200, "ok"));
    const char* saved_path = std::getenv("PATH");
    const std::string path = saved_path ? saved_path : "";
    setenv("TORVI_NONINTERACTIVE", "0", 1);
    setenv("PATH", "/nonexistent", 1);
    struct Case {
        int ad;     // the ad shown, or -1 for the main menu
        int button; // of that screen
        const char* popup_start;
    };
    const Case cases[] = {
        {0, GameAdsCC::BUT_DOWNLOAD, "The download could not be started:\nCould not read"},
        {4, GameAdsCC::BUT_DOWNLOAD, "Could not open the web page:"}, // its button reads "Home Page"
        {-1, MainCC::BUT_HOME_PAGE, "Could not open the web page:"},
        {-1, MainCC::BUT_FORUMS, "Could not open the web page:"},
    };
    setenv("TORVI_WEB_BASE", "http://127.0.0.1:1", 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.popup_start);
        if (c.ad < 0) {
            ASSERT_EQ(1, screens->GotoScreen(SCREEN_MAIN, nullptr));
        } else {
            OpenFromMain(31);
            IncludeOnly({c.ad});
            ASSERT_TRUE(Click(GameAdsCC::BUT_NEXT));
            Frame();
            ASSERT_EQ(c.ad, GameAdsGetCurGameAd());
        }
        ASSERT_TRUE(Click(c.button));
        Frame();
        EXPECT_FALSE(eng_main_program->IsQuitting());
        EXPECT_EQ(0u, PopupText().rfind(c.popup_start, 0)) << PopupText();
        ASSERT_TRUE(AnswerPopup(MWIN_POPUP_OK_ID));
    }

    setenv("TORVI_WEB_BASE", server.Base().c_str(), 1);
    OpenFromMain(31);
    ASSERT_TRUE(Click(GameAdsCC::BUT_DOWNLOAD));
    Frame();
    EXPECT_TRUE(eng_main_program->IsQuitting());
    EXPECT_NE(nullptr, eng_main_window) << "the game closes after the frame, not inside it";
    EXPECT_EQ(SCREEN_GADS, screens->GetCurrentScreen());
    DrawFrame();
    // Nobody is there at the end of the shutdown: the download itself is the updater's test above.
    setenv("TORVI_NONINTERACTIVE", "1", 1);
    setenv("PATH", path.c_str(), 1);
}

// The game's screen registry: all seventeen controllers made, registered and freed, every screen started
// alone on the desktop, also when none of its buttons exist, and every screen drawn the same after the
// graphics device was re-created under it.

#include "Support/GameWindowFixture.h"

#include <cstdlib>
#include <type_traits>
#include <vector>

#include "Engine/Core/EngTypes.h"
#include "Game/Screens/AboutCC.h"
#include "Game/Screens/CLoadCC.h"
#include "Game/Screens/CNewCC.h"
#include "Game/Screens/CRaceCC.h"
#include "Game/Screens/CResCC.h"
#include "Game/Screens/ControlsCC.h"
#include "Game/Screens/CountryCC.h"
#include "Game/Screens/GameAdsCC.h"
#include "Game/Screens/LicenseCC.h"
#include "Game/Screens/MainCC.h"
#include "Game/Screens/OptionsCC.h"
#include "Game/Screens/PauseCC.h"
#include "Game/Screens/QRaceCC.h"
#include "Game/Screens/QResCC.h"
#include "Game/Screens/TTrialCC.h"
#include "Game/Screens/UsersCC.h"
#include "Game/Screens/UsersLoadCC.h"
#include "Support/GLTestContext.h"

namespace {

template <class... Controllers> constexpr bool kAllVirtualDestructors = (std::has_virtual_destructor_v<Controllers> && ...);
static_assert(kAllVirtualDestructors<UsersCC, UsersLoadCC, MainCC, LicenseCC, TTrialCC, QRaceCC, QResCC, CLoadCC,
                                     CNewCC, CRaceCC, CResCC, OptionsCC, ControlsCC, PauseCC, AboutCC, CountryCC,
                                     GameAdsCC>,
              "every controller is freed through its base");

struct ScreenCase {
    EngScreenID id;
    const char* collection;
    MWinCollectionController* (*get)(const TorviScreens*);
};

template <class CC, CC* (TorviScreens::*getter)() const> MWinCollectionController* Get(const TorviScreens* screens)
{
    return (screens->*getter)();
}

const ScreenCase kScreens[TORVI_NUM_CONTROLLERS] = {
    {SCREEN_USER, "Users", &Get<UsersCC, &TorviScreens::GetUsers>},
    {SCREEN_ULOD, "UsersLoad", &Get<UsersLoadCC, &TorviScreens::GetUsersLoad>},
    {SCREEN_MAIN, "Main", &Get<MainCC, &TorviScreens::GetMain>},
    {SCREEN_LICN, "License", &Get<LicenseCC, &TorviScreens::GetLicense>},
    {SCREEN_TTRL, "TTrial", &Get<TTrialCC, &TorviScreens::GetTTrial>},
    {SCREEN_QRCE, "QRace", &Get<QRaceCC, &TorviScreens::GetQRace>},
    {SCREEN_QRES, "QRes", &Get<QResCC, &TorviScreens::GetQRes>},
    {SCREEN_CLOD, "CLoad", &Get<CLoadCC, &TorviScreens::GetCLoad>},
    {SCREEN_CNEW, "CNew", &Get<CNewCC, &TorviScreens::GetCNew>},
    {SCREEN_CRCE, "CRace", &Get<CRaceCC, &TorviScreens::GetCRace>},
    {SCREEN_CRES, "CRes", &Get<CResCC, &TorviScreens::GetCRes>},
    {SCREEN_OPTS, "Options", &Get<OptionsCC, &TorviScreens::GetOptions>},
    {SCREEN_CTRL, "Controls", &Get<ControlsCC, &TorviScreens::GetControls>},
    {SCREEN_PAUS, "Pause", &Get<PauseCC, &TorviScreens::GetPause>},
    {SCREEN_ABOU, "About", &Get<AboutCC, &TorviScreens::GetAbout>},
    {SCREEN_GADS, "GameAds", &Get<GameAdsCC, &TorviScreens::GetGameAds>},
    {SCREEN_MCTY, "Country", &Get<CountryCC, &TorviScreens::GetCountry>},
};

} // namespace

using TorviScreensTest = GameWindowFixture;

TEST_F(TorviScreensTest, SetupRegistersAllSeventeenUnderTheirIdsAndStartsAtUser)
{
    EXPECT_EQ(TORVI_NUM_CONTROLLERS, screens->GetEngScreens()->GetNumScreens());
    EXPECT_EQ(SCREEN_USER, screens->GetCurrentScreen());
    EXPECT_EQ(game, screens->GetGame());
    EXPECT_EQ(EngFourCC('U', 'S', 'E', 'R'), torvi_screen_ids[0]);
    EXPECT_EQ(SCREEN_ABOU, torvi_screen_ids[TORVI_NUM_OWN_SCREENS - 1]);
    for (const ScreenCase& screen : kScreens) {
        SCOPED_TRACE(screen.collection);
        MWinCollectionController* controller = screen.get(screens);
        ASSERT_NE(nullptr, controller);
        EXPECT_EQ(controller, screens->GetController(screen.id));
        EXPECT_EQ(screens, controller->GetScreens(0));
        EXPECT_EQ(mwin, controller->GetMWin());
        EXPECT_EQ(game, controller->GetGame());
    }
}

TEST_F(TorviScreensTest, EveryScreenStartsAloneOnTheDesktop)
{
    ASSERT_EQ(1, screens->StartScreen(SCREEN_USER, 0));
    for (const ScreenCase& screen : kScreens) {
        SCOPED_TRACE(screen.collection);
        ASSERT_EQ(1, screens->GotoScreen(screen.id, nullptr));
        EXPECT_EQ(screen.id, screens->GetCurrentScreen());
        EXPECT_EQ(screen.collection, DesktopCollections());
        EXPECT_NE(nullptr, Current()->GetMainWin());
    }
}

TEST_F(TorviScreensTest, ScreensWithoutTheirWindowOrButtonsStartTickAndDrawWithoutHarm)
{
    for (const ScreenCase& screen : kScreens) {
        SCOPED_TRACE(screen.collection);
        MWinCollectionController* controller = screen.get(screens);
        controller->ClearPointers();
        controller->StartingCB(nullptr);
        controller->TickCB();
        controller->RenderCB(0);
        controller->RenderCB(1);
        EXPECT_EQ(0, controller->ButtonCB(nullptr, nullptr)) << "no button is handled";
    }
}

namespace {

struct Visit {
    EngScreenID id;
    const char* name;
    int last_ad; // the ads screen only: it opens at the ad after this one
};

// Every screen; the ads screen with ad 2, one picture in the centre, and with ad 0, two side by side.
std::vector<Visit> AllVisits()
{
    std::vector<Visit> visits;
    for (const ScreenCase& screen : kScreens)
        visits.push_back({screen.id, screen.collection, 1});
    visits.push_back({SCREEN_GADS, "GameAdsTwoPictures", 31});
    return visits;
}

class ScreensRecreateTest : public GameWindowFixture
{
protected:
    std::vector<unsigned char> DrawAndRead()
    {
        DrawFrame();
        std::vector<unsigned char> rgba;
        GLTestContext reader;
        EXPECT_TRUE(reader.ReadPixelsRGBA(0, 0, width, height, &rgba));
        return rgba;
    }
    // The mean colour gap per pixel between two frames, and the pixels lit above the black in the first.
    static void Compare(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b, double* gap,
                        int* lit)
    {
        long sum = 0;
        *lit = 0;
        for (size_t i = 0; i + 3 < a.size() && i + 3 < b.size(); i += 4) {
            sum += std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) + std::abs(a[i + 2] - b[i + 2]);
            *lit += a[i] + a[i + 1] + a[i + 2] > 60 ? 1 : 0;
        }
        *gap = a.empty() ? 1e9 : double(sum) / double(a.size() / 4);
    }
    // The ads screen as the main menu opens it, at the ad after the one given.
    void OpenAdsAfter(int last_ad)
    {
        game->GetCurrentProfile()->last_ad = last_ad;
        ASSERT_EQ(1, screens->GotoScreen(SCREEN_MAIN, nullptr));
        ASSERT_TRUE(Click(MainCC::BUT_GAMES));
        ASSERT_EQ(SCREEN_GADS, screens->GetCurrentScreen());
    }
};

} // namespace

// Every screen draws the same frame before and after the device and its graphics objects are made anew: no
// picture is lost and none is drawn from freed memory. One game visits them all, so each screen also follows
// the re-creations under the screens before it.
TEST_F(ScreensRecreateTest, EveryScreenDrawsItsPicturesAgainAfterTheDeviceIsRecreated)
{
    PlayingDriver("ANNA");
    for (const Visit& visit : AllVisits()) {
        SCOPED_TRACE(visit.name);
        if (visit.id == SCREEN_GADS)
            OpenAdsAfter(visit.last_ad);
        else
            ASSERT_EQ(1, screens->GotoScreen(visit.id, nullptr));
        Frame();
        std::vector<unsigned char> before = DrawAndRead();
        ASSERT_TRUE(eng_main_window->RecreateDevice());
        std::vector<unsigned char> after = DrawAndRead();
        double gap = 0;
        int lit = 0;
        Compare(before, after, &gap, &lit);
        EXPECT_GT(lit, width * height / 20) << "the screen shows something to compare";
        EXPECT_LT(gap, 2.0) << "the frame after the re-creation differs";
    }
}

TEST(TorviScreensDeathTest, AMissingGameIsFatal)
{
    std::string home = UseFreshDataHome();
    MainOneTimeSetup();
    MWin mwin(nullptr);
    EXPECT_EXIT(TorviScreens(nullptr, &mwin), ::testing::ExitedWithCode(255), "");
    EXPECT_NE(std::string::npos, ReadWhole(LogFileIn(home)).find("No game_p"));
}

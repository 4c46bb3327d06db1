#include "Game/Screens/TorviScreens.h"

#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Game/Game.h"
#include "Game/Music.h"
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

const EngScreenID torvi_screen_ids[TORVI_NUM_OWN_SCREENS] = {
    SCREEN_USER, SCREEN_ULOD, SCREEN_MAIN, SCREEN_LICN, SCREEN_TTRL, SCREEN_QRCE, SCREEN_QRES, SCREEN_CLOD,
    SCREEN_CNEW, SCREEN_CRCE, SCREEN_CRES, SCREEN_OPTS, SCREEN_CTRL, SCREEN_PAUS, SCREEN_ABOU,
};

namespace {

// A controller that cannot be allocated stays null; the registry goes on without it.
template <class Controller> Controller* MakeController(MWinScreens* screens)
{
    return new (std::nothrow) Controller(screens);
}

template <class Controller> void FreeController(Controller*& controller)
{
    delete controller;
    controller = nullptr;
}

} // namespace

TorviScreens::TorviScreens(Game* game, MWin* mwinp) : MWinScreens(mwinp, 0), m_game(game)
{
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game_p");
    m_users = MakeController<UsersCC>(this);
    m_users_load = MakeController<UsersLoadCC>(this);
    m_main = MakeController<MainCC>(this);
    m_license = MakeController<LicenseCC>(this);
    m_ttrial = MakeController<TTrialCC>(this);
    m_qrace = MakeController<QRaceCC>(this);
    m_qres = MakeController<QResCC>(this);
    m_cload = MakeController<CLoadCC>(this);
    m_cnew = MakeController<CNewCC>(this);
    m_crace = MakeController<CRaceCC>(this);
    m_cres = MakeController<CResCC>(this);
    m_options = MakeController<OptionsCC>(this);
    m_controls = MakeController<ControlsCC>(this);
    m_pause = MakeController<PauseCC>(this);
    m_about = MakeController<AboutCC>(this);
    m_country = MakeController<CountryCC>(this);
    m_game_ads = MakeController<GameAdsCC>(this);
}

TorviScreens::~TorviScreens()
{
    RemoveAllScreens();
    FreeController(m_users);
    FreeController(m_users_load);
    FreeController(m_main);
    FreeController(m_license);
    FreeController(m_ttrial);
    FreeController(m_qrace);
    FreeController(m_qres);
    FreeController(m_cload);
    FreeController(m_cnew);
    FreeController(m_crace);
    FreeController(m_cres);
    FreeController(m_options);
    FreeController(m_controls);
    FreeController(m_pause);
    FreeController(m_about);
    FreeController(m_country);
    FreeController(m_game_ads);
}

char TorviScreens::SetupScreensCB()
{
    const struct {
        EngScreenID id;
        MWinCollectionController* controller;
    } screens[TORVI_NUM_CONTROLLERS] = {
        {SCREEN_USER, m_users}, {SCREEN_ULOD, m_users_load}, {SCREEN_MAIN, m_main},   {SCREEN_LICN, m_license},
        {SCREEN_TTRL, m_ttrial}, {SCREEN_QRCE, m_qrace},      {SCREEN_QRES, m_qres},   {SCREEN_CLOD, m_cload},
        {SCREEN_CNEW, m_cnew},   {SCREEN_CRCE, m_crace},      {SCREEN_CRES, m_cres},   {SCREEN_OPTS, m_options},
        {SCREEN_CTRL, m_controls}, {SCREEN_PAUS, m_pause},    {SCREEN_ABOU, m_about},  {SCREEN_GADS, m_game_ads},
        {SCREEN_MCTY, m_country},
    };
    bool all_added = true;
    for (const auto& screen : screens)
        if (!screen.controller || !AddScreen(screen.id, screen.controller))
            all_added = false;
    SetCurrentScreen(SCREEN_USER);
    return all_added ? 1 : 0;
}

void TorviScreens::StartCB()
{
    m_game->CreateMenuGraphics();
    m_game->GetMusic()->TurnOn();
    if (eng_main_window)
        eng_main_window->ShowCursor();
}

void TorviScreens::PreScreenChangeCB()
{
    MWin* mwinp = GetMWin();
    if (mwinp && mwinp->GetDesktop())
        mwinp->GetDesktop()->RemoveAllCollections();
}

void TorviScreens::EndCB()
{
    if (eng_main_window)
        eng_main_window->HideCursor();
    m_game->GetMusic()->TurnOff();
}

bool TorviScreens::CreateGraphicsObjects()
{
    if (m_game_ads)
        m_game_ads->ReloadPictures();
    return true;
}

void TorviScreens::DestroyGraphicsObjects()
{
    if (m_game_ads)
        m_game_ads->ReleasePictures();
}

MWinCollectionController* TorviScreens::GetController(EngScreenID id) const
{
    const _EngScreen* screen = GetEngScreens() ? GetEngScreens()->GetScreen(id, 0) : nullptr;
    return screen ? screen->controller : nullptr;
}

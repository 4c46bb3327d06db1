#pragma once

// The game's screen registry: owns one controller per menu screen, registers each under its
// four-character id, and gives the menus their cursor and an empty desktop before every screen change.

#include "Engine/Core/EngTypes.h"
#include "Engine/MWin/MWinScreenRegistry.h"

class Game;
class MWinCollectionController;
class UsersCC;
class UsersLoadCC;
class MainCC;
class LicenseCC;
class OptionsCC;
class ControlsCC;
class PauseCC;
class AboutCC;
class TTrialCC;
class QRaceCC;
class QResCC;
class CLoadCC;
class CNewCC;
class CRaceCC;
class CResCC;
class CountryCC;
class GameAdsCC;

constexpr EngScreenID SCREEN_USER = EngFourCC('U', 'S', 'E', 'R');
constexpr EngScreenID SCREEN_ULOD = EngFourCC('U', 'L', 'O', 'D');
constexpr EngScreenID SCREEN_MAIN = EngFourCC('M', 'A', 'I', 'N');
constexpr EngScreenID SCREEN_LICN = EngFourCC('L', 'I', 'C', 'N');
constexpr EngScreenID SCREEN_TTRL = EngFourCC('T', 'T', 'R', 'L');
constexpr EngScreenID SCREEN_QRCE = EngFourCC('Q', 'R', 'C', 'E');
constexpr EngScreenID SCREEN_QRES = EngFourCC('Q', 'R', 'E', 'S');
constexpr EngScreenID SCREEN_CLOD = EngFourCC('C', 'L', 'O', 'D');
constexpr EngScreenID SCREEN_CNEW = EngFourCC('C', 'N', 'E', 'W');
constexpr EngScreenID SCREEN_CRCE = EngFourCC('C', 'R', 'C', 'E');
constexpr EngScreenID SCREEN_CRES = EngFourCC('C', 'R', 'E', 'S');
constexpr EngScreenID SCREEN_OPTS = EngFourCC('O', 'P', 'T', 'S');
constexpr EngScreenID SCREEN_CTRL = EngFourCC('C', 'T', 'R', 'L');
constexpr EngScreenID SCREEN_PAUS = EngFourCC('P', 'A', 'U', 'S');
constexpr EngScreenID SCREEN_ABOU = EngFourCC('A', 'B', 'O', 'U');
constexpr EngScreenID SCREEN_GADS = EngFourCC('G', 'A', 'D', 'S');
constexpr EngScreenID SCREEN_MCTY = EngFourCC('m', 'C', 'T', 'Y');

// The game's own fifteen screens, in table order.
constexpr int TORVI_NUM_OWN_SCREENS = 15;
extern const EngScreenID torvi_screen_ids[TORVI_NUM_OWN_SCREENS];
constexpr int TORVI_NUM_CONTROLLERS = 17;

class TorviScreens : public MWinScreens
{
public:
    // A missing game is fatal. Creates all seventeen controllers; one that cannot be made stays null.
    TorviScreens(Game* game, MWin* mwinp);
    ~TorviScreens() override;
    TorviScreens(const TorviScreens&) = delete;
    TorviScreens& operator=(const TorviScreens&) = delete;

    // Registers all seventeen and makes USER current; false when any could not be added.
    char SetupScreensCB() override;
    void StartCB() override;
    void PreScreenChangeCB() override;
    void EndCB() override;
    // After the device's objects were made again: the ads screen reloads its pictures when current.
    bool CreateGraphicsObjects();
    void DestroyGraphicsObjects();

    Game* GetGame() const { return m_game; }
    UsersCC* GetUsers() const { return m_users; }
    UsersLoadCC* GetUsersLoad() const { return m_users_load; }
    MainCC* GetMain() const { return m_main; }
    LicenseCC* GetLicense() const { return m_license; }
    OptionsCC* GetOptions() const { return m_options; }
    ControlsCC* GetControls() const { return m_controls; }
    PauseCC* GetPause() const { return m_pause; }
    AboutCC* GetAbout() const { return m_about; }
    TTrialCC* GetTTrial() const { return m_ttrial; }
    QRaceCC* GetQRace() const { return m_qrace; }
    QResCC* GetQRes() const { return m_qres; }
    CLoadCC* GetCLoad() const { return m_cload; }
    CNewCC* GetCNew() const { return m_cnew; }
    CRaceCC* GetCRace() const { return m_crace; }
    CResCC* GetCRes() const { return m_cres; }
    CountryCC* GetCountry() const { return m_country; }
    GameAdsCC* GetGameAds() const { return m_game_ads; }
    // The controller registered under id, or null.
    MWinCollectionController* GetController(EngScreenID id) const;

private:
    Game* m_game = nullptr;
    UsersCC* m_users = nullptr;
    UsersLoadCC* m_users_load = nullptr;
    MainCC* m_main = nullptr;
    LicenseCC* m_license = nullptr;
    OptionsCC* m_options = nullptr;
    ControlsCC* m_controls = nullptr;
    PauseCC* m_pause = nullptr;
    AboutCC* m_about = nullptr;
    TTrialCC* m_ttrial = nullptr;
    QRaceCC* m_qrace = nullptr;
    QResCC* m_qres = nullptr;
    CLoadCC* m_cload = nullptr;
    CNewCC* m_cnew = nullptr;
    CRaceCC* m_crace = nullptr;
    CResCC* m_cres = nullptr;
    CountryCC* m_country = nullptr;
    GameAdsCC* m_game_ads = nullptr;
};

#pragma once

// The maker's other products, one ad at a time: three fixed tables of 32 rows filled from the catalogue, which
// ads this platform may show, the current ad (mirrored into the driver profile), its two pictures, and the
// actions of its buttons: download the installer, open the product's page, tell a friend, or name the store.
// Main thread only; file-scope state.

#include "Engine/Core/EngTypes.h"
#include "Game/Screens/GameAdsCatalogue.h"

class EngTexture;
class MWin;

struct _GameAdTexts {
    EngInt32 number;
    char title[32];
    char second_name[32];
    char lines[3][80];
};

struct _GameAdFilenames {
    EngInt32 number;
    char pic1[32];
    char pic2[32];
    EngInt32 last; // 1 only in the last row
    float width_factor;
    float height_factor;
};

struct _GameAdVars {
    EngInt32 number;
    unsigned char included;
    unsigned char frameless; // set when the pictures load: the first is a PNG or GIF
};

enum GameAdKind { GAME_AD_DESKTOP, GAME_AD_PHONE, GAME_AD_TABLET, GAME_AD_ANDROID, GAME_AD_BLACKBERRY, GAME_AD_SITE };

constexpr int GAME_ADS_LINK_SIZE = 512;
constexpr int GAME_ADS_BASE_SIZE = 256;
constexpr int GAME_ADS_FROM_PROG_SIZE = 64;
constexpr int GAME_ADS_USER_TEXT_SIZE = 80;
constexpr int GAME_ADS_PICTURE_NAME_SIZE = 128;

bool GameAdsSetupAdsToBeIncluded();
bool GameAdsSetInternetLinksPath(const char* base, const char* from_prog, const char* user_text);
void GameAdsSetCurGameAd(int n);
void GameAdsSetCurGameAdPointer(int** holder);
int GameAdsGetCurGameAd();
void GameAdsPreviousAd();
void GameAdsNextAd();
int GameAdsCountIncludedAds();

const _GameAdTexts* GameAdsGetCurrentGameAdTexts();
const _GameAdFilenames* GameAdsGetCurrentGameAdFilenames();
const _GameAdVars* GameAdsGetCurrentGameAdVars();
// A row of the vars table (which ads are shown), or null for a number outside 0 to 31.
_GameAdVars* GameAdsGetVars(int n);
// "Data/IGA/<name>" of picture 0 or 1 in a new block the caller frees with EngFree; null without a name.
char* GameAdsGetCurrentAdsPictureFilename(int pic);

void GameAdsCreateGraphics(bool only_if_missing);
void GameAdsDestroyGraphics();
EngTexture* GameAdsGetTexture(int pic);

GameAdKind GameAdsGetKind(int n);
// The installer's address on the maker's site, or "" for an ad without one.
const char* GameAdsGetInstallerLink(int n);
bool GameAdsHasInstallerLink(int n);
const char* GameAdsGetCurrentLink();

// The button actions. None starts anything while nobody is there to answer (TORVI_NONINTERACTIVE).
void GameAdsGetItAction(MWin* gui);
void GameAdsWebPageAction(MWin* gui);
void GameAdsTellAFriendAction(MWin* gui);
void GameAdsScreenShowSearchAppStorePopupCB(MWin* gui);
// The end of the get-it action: the current ad's installer through the updater's checked download.
bool GameAdsDownloadInstaller();

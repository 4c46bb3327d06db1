#include "Game/Screens/GameAds.h"

#include <cstdio>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngInternet.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngMessageBox_PC.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWin.h"
#include "Online/Updater.h"
#include "Online/Various.h"

namespace {

constexpr const char* kFriendPath = "/cgi-bin/common/friend/ShowTellAFriend.cgi?from_prog=%s&rec=%s&&user_name=%s";
constexpr const char* kStoreName = "Ostrelmark";
constexpr int kDesktopAds[] = {0, 1, 2, 5, 9, 10, 11, 15, 21, 22, 28};

struct Tables {
    _GameAdTexts texts[GAME_ADS_NUM_ADS];
    _GameAdFilenames filenames[GAME_ADS_NUM_ADS];
    _GameAdVars vars[GAME_ADS_NUM_ADS];

    Tables()
    {
        for (int n = 0; n < GAME_ADS_NUM_ADS; n++) {
            const GameAdProduct& ad = kGameAdProducts[n];
            texts[n] = {};
            texts[n].number = ad.number;
            EngSafeStrcpy(texts[n].title, ad.title, sizeof(texts[n].title));
            EngSafeStrcpy(texts[n].second_name, ad.second_name, sizeof(texts[n].second_name));
            for (int i = 0; i < 3; i++)
                EngSafeStrcpy(texts[n].lines[i], ad.lines[i], sizeof(texts[n].lines[i]));
            filenames[n] = {};
            filenames[n].number = ad.number;
            EngSafeStrcpy(filenames[n].pic1, ad.pic1, sizeof(filenames[n].pic1));
            EngSafeStrcpy(filenames[n].pic2, ad.pic2, sizeof(filenames[n].pic2));
            filenames[n].last = n == GAME_ADS_NUM_ADS - 1 ? 1 : 0;
            filenames[n].width_factor = ad.width_factor;
            filenames[n].height_factor = ad.height_factor;
            vars[n] = {ad.number, 0, 0};
        }
    }
};

Tables s_tables;
int s_current = 0;
int* s_mirror = nullptr;
EngInt16* s_mirror16 = nullptr;
char s_base[GAME_ADS_BASE_SIZE] = "https://www.ostrelmark.example/";
char s_from_prog[GAME_ADS_FROM_PROG_SIZE] = "Unknown";
char s_user_text[GAME_ADS_USER_TEXT_SIZE] = "";
EngTexture* s_textures[2] = {};
char s_link[GAME_ADS_LINK_SIZE] = "";

bool IsValidAd(int n)
{
    return n >= 0 && n < GAME_ADS_NUM_ADS;
}

void UpdateMirrors()
{
    if (s_mirror)
        *s_mirror = s_current;
    if (s_mirror16)
        *s_mirror16 = EngInt16(s_current);
}

// One step in direction (+1 or -1), wrapping, until an included ad; stays put when none is.
void Step(int direction)
{
    int n = IsValidAd(s_current) ? s_current : 0;
    for (int i = 0; i < GAME_ADS_NUM_ADS; i++) {
        n = (n + direction + GAME_ADS_NUM_ADS) % GAME_ADS_NUM_ADS;
        if (s_tables.vars[n].included) {
            s_current = n;
            break;
        }
    }
    UpdateMirrors();
}

// The current ad's number, or 0 after reporting a bad one.
int CheckedCurrent()
{
    if (IsValidAd(s_current))
        return s_current;
    DebugError(ENG_FUNC, "Bad current ad num: %d.", s_current);
    s_current = 0;
    return 0;
}

bool IsFramelessKind(_EngTextureFileExt kind)
{
    return kind == ETFE_PNG || kind == ETFE_GIF;
}

bool LoadPicture(int pic, const char* file)
{
    _EngTextureFileExt kind = EngTexture_GetFileExtFromFilename(file, ETFE_UNKNOWN);
    bool alpha = IsFramelessKind(kind);
    if (!s_textures[pic])
        s_textures[pic] = new EngTexture("GameAds");
    if (s_textures[pic]->LoadFromFile(file, alpha, alpha ? ETAT_OPAQUE_2 : ETAT_OPAQUE))
        return true;
    delete s_textures[pic];
    s_textures[pic] = nullptr;
    return false;
}

bool NobodyToAnswer(const char* action)
{
    if (!EngMessageBoxIsNonInteractive_PC())
        return false;
    DebugNote(0, "%s not started: nobody is there to answer.", action);
    return true;
}

void OpenCurrentLink(MWin* gui)
{
    VariousGoOnline(gui, nullptr, s_link, false, false, true, false);
}

// Runs again at the very end of the shutdown, when the window is gone.
void GetItAtExitCB()
{
    GameAdsGetItAction(nullptr);
}

// The player learns why nothing is downloaded; the game goes on.
void SayCannotDownload(MWin* gui, const char* reason)
{
    char text[160];
    std::snprintf(text, sizeof(text), "The download could not be started:\n%s.", reason);
    DebugNote(0, "Installer download not started: %s.", reason);
    if (gui && gui->IsOn())
        gui->PopupMessage(text);
}

} // namespace

bool GameAdsSetupAdsToBeIncluded()
{
    bool ok = true;
    for (int n = 0; n < GAME_ADS_NUM_ADS; n++) {
        ok = DebugCheck(s_tables.texts[n].number == n, "GameAdsSetupAdsToBeIncluded", "Texts ID for %d is %d", n,
                        s_tables.texts[n].number) && ok;
        ok = DebugCheck(s_tables.filenames[n].number == n, "GameAdsSetupAdsToBeIncluded",
                        "Filenames ID for %d is %d", n, s_tables.filenames[n].number) && ok;
        ok = DebugCheck(s_tables.vars[n].number == n, "GameAdsSetupAdsToBeIncluded", "Vars ID for %d is %d", n,
                        s_tables.vars[n].number) && ok;
        s_tables.vars[n].included = 0;
    }
    if (!EngWindowIsDesktopPlatform())
        return ok;
    for (int n : kDesktopAds)
        s_tables.vars[n].included = 1;
    return ok;
}

bool GameAdsSetInternetLinksPath(const char* base, const char* from_prog, const char* user_text)
{
    size_t base_length = base ? std::strlen(base) : 0;
    if (base_length < 5 || base_length > 400 || base_length >= sizeof(s_base) || base[base_length - 1] != '/') {
        DebugError(ENG_FUNC, "Invalid path");
        return false;
    }
    size_t from_length = from_prog ? std::strlen(from_prog) : 0;
    if (from_length < 5 || from_length > 63) {
        DebugError(ENG_FUNC, "Invalid from prog");
        return false;
    }
    EngSafeStrcpy(s_base, base, sizeof(s_base));
    EngSafeStrcpy(s_from_prog, from_prog, sizeof(s_from_prog));
    if (user_text && std::strlen(user_text) < sizeof(s_user_text))
        EngSafeStrcpy(s_user_text, user_text, sizeof(s_user_text));
    else
        s_user_text[0] = '\0';
    return true;
}

void GameAdsSetCurGameAd(int n)
{
    if (!IsValidAd(n)) {
        DebugError(ENG_FUNC, "Invalid ad num %d", n);
        n = 0;
    }
    s_current = n;
    Step(-1);
    Step(+1);
}

void GameAdsSetCurGameAdPointer(int** holder)
{
    s_mirror = holder ? *holder : nullptr;
    if (s_mirror)
        GameAdsSetCurGameAd(*s_mirror);
}

int GameAdsGetCurGameAd()
{
    return s_current;
}

void GameAdsPreviousAd()
{
    Step(-1);
}

void GameAdsNextAd()
{
    Step(+1);
}

int GameAdsCountIncludedAds()
{
    int count = 0;
    for (const _GameAdVars& vars : s_tables.vars)
        count += vars.included ? 1 : 0;
    return count;
}

const _GameAdTexts* GameAdsGetCurrentGameAdTexts()
{
    return &s_tables.texts[CheckedCurrent()];
}

const _GameAdFilenames* GameAdsGetCurrentGameAdFilenames()
{
    return &s_tables.filenames[CheckedCurrent()];
}

const _GameAdVars* GameAdsGetCurrentGameAdVars()
{
    return &s_tables.vars[CheckedCurrent()];
}

_GameAdVars* GameAdsGetVars(int n)
{
    return IsValidAd(n) ? &s_tables.vars[n] : nullptr;
}

char* GameAdsGetCurrentAdsPictureFilename(int pic)
{
    if (pic != 0 && pic != 1) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return nullptr;
    }
    const _GameAdFilenames* row = GameAdsGetCurrentGameAdFilenames();
    const char* name = pic == 0 ? row->pic1 : row->pic2;
    if (!name[0]) {
        if (pic == 0)
            DebugError(ENG_FUNC, "No filename for pic %d.", pic);
        return nullptr;
    }
    char* path = static_cast<char*>(EngMalloc(GAME_ADS_PICTURE_NAME_SIZE, "GameAds", true));
    if (path)
        std::snprintf(path, GAME_ADS_PICTURE_NAME_SIZE, "%s/%s", GAME_ADS_PICTURE_FOLDER, name);
    return path;
}

void GameAdsCreateGraphics(bool only_if_missing)
{
    if (only_if_missing && s_textures[0] && s_textures[0]->IsLoaded())
        return;
    GameAdsDestroyGraphics();
    char* first = GameAdsGetCurrentAdsPictureFilename(0);
    if (!first) {
        DebugError(ENG_FUNC, "No pic filename for pic %d:%d", 0, s_current);
        return;
    }
    bool loaded = LoadPicture(0, first);
    _EngTextureFileExt kind = EngTexture_GetFileExtFromFilename(first, ETFE_UNKNOWN);
    EngFree(first, false, "GameAds");
    if (!loaded)
        return;
    s_tables.vars[s_current].frameless = IsFramelessKind(kind) ? 1 : 0;
    char* second = GameAdsGetCurrentAdsPictureFilename(1);
    if (!second)
        return;
    LoadPicture(1, second);
    EngFree(second, false, "GameAds");
}

void GameAdsDestroyGraphics()
{
    for (EngTexture*& texture : s_textures) {
        delete texture;
        texture = nullptr;
    }
}

EngTexture* GameAdsGetTexture(int pic)
{
    if (pic != 0 && pic != 1)
        return nullptr;
    EngTexture* texture = s_textures[pic];
    return texture && texture->IsLoaded() ? texture : nullptr;
}

GameAdKind GameAdsGetKind(int n)
{
    switch (n) {
    case 12: case 16: case 23:
        return GAME_AD_PHONE;
    case 3: case 6: case 13: case 17: case 24:
        return GAME_AD_TABLET;
    case 7: case 14: case 18: case 25:
        return GAME_AD_ANDROID;
    case 26:
        return GAME_AD_BLACKBERRY;
    case 20:
        return GAME_AD_SITE;
    default:
        return GAME_AD_DESKTOP;
    }
}

const char* GameAdsGetInstallerLink(int n)
{
    static char link[GAME_ADS_LINK_SIZE];
    link[0] = '\0';
    if (!IsValidAd(n) || !kGameAdProducts[n].installer[0])
        return link;
    char path[GAME_ADS_LINK_SIZE];
    std::snprintf(path, sizeof(path), "/downloads/%s", kGameAdProducts[n].installer);
    if (!EngInternetMakeMakerURL(path, link, sizeof(link)))
        link[0] = '\0';
    return link;
}

bool GameAdsHasInstallerLink(int n)
{
    return IsValidAd(n) && kGameAdProducts[n].installer[0] != '\0';
}

const char* GameAdsGetCurrentLink()
{
    return s_link;
}

void GameAdsGetItAction(MWin* gui)
{
    int n = s_current;
    if (!IsValidAd(n) || kGameAdProducts[n].updater_program == 0)
        return;
    if (NobodyToAnswer("Installer download"))
        return;
    if (!UpdaterSetupUrl(_UpdaterProgramName(kGameAdProducts[n].updater_program), 0.0f, UPDATER_PROGRAM_TYPE_DEMO))
        return;
    if (!eng_main_program) {
        GameAdsDownloadInstaller();
        return;
    }
    // The download window needs the game's window gone, so the action runs again at the end of the shutdown;
    // the game ends for it only once the maker's site answers.
    char reason[UPDATER_RESULT_MESSAGE_SIZE] = "No installer for this product";
    if (!GameAdsGetInstallerLink(n)[0] || !UpdaterDoInternetTest(reason, sizeof(reason))) {
        SayCannotDownload(gui, reason);
        return;
    }
    eng_main_program->QuitThenRun(GetItAtExitCB);
}

bool GameAdsDownloadInstaller()
{
    const char* link = GameAdsGetInstallerLink(s_current);
    if (!link[0])
        return false;
    return UpdaterStartDownload(link);
}

void GameAdsWebPageAction(MWin* gui)
{
    if (NobodyToAnswer("Web page"))
        return;
    const char* word = IsValidAd(s_current) ? kGameAdProducts[s_current].page_word : "all";
    std::snprintf(s_link, sizeof(s_link), "%s%s.html", s_base, word);
    OpenCurrentLink(gui);
}

void GameAdsTellAFriendAction(MWin* gui)
{
    if (NobodyToAnswer("Tell a friend"))
        return;
    const char* word = IsValidAd(s_current) ? kGameAdProducts[s_current].product_word : "All";
    char path[GAME_ADS_LINK_SIZE];
    std::snprintf(path, sizeof(path), kFriendPath, s_from_prog, word, s_user_text);
    if (!EngInternetMakeMakerURL(path, s_link, sizeof(s_link)))
        return;
    OpenCurrentLink(gui);
}

void GameAdsScreenShowSearchAppStorePopupCB(MWin* gui)
{
    char text[256];
    switch (GameAdsGetKind(s_current)) {
    case GAME_AD_PHONE:
        std::snprintf(text, sizeof(text), "Search the App Store on your iPhone for \"%s\" to find the app.",
                      kStoreName);
        break;
    case GAME_AD_TABLET:
        std::snprintf(text, sizeof(text), "Search the App Store on your iPad for \"%s\" to find the app.",
                      kStoreName);
        break;
    case GAME_AD_ANDROID:
        std::snprintf(text, sizeof(text),
                      "Search Google Play on your Android phone\nor tablet for \"%s\" to find the app.", kStoreName);
        break;
    case GAME_AD_BLACKBERRY:
        std::snprintf(text, sizeof(text),
                      "To get the app, search in the BlackBerry World app\non your BlackBerry device for \"%s\".",
                      kStoreName);
        break;
    default:
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NIMP);
        return;
    }
    if (gui)
        gui->PopupMessage(text);
}

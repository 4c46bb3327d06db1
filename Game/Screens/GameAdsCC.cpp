#include "Game/Screens/GameAdsCC.h"

#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngLanguages.h"
#include "Engine/Core/EngMisc.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinWindow.h"
#include "Game/Screens/GameAds.h"
#include "Game/Screens/TorviScreens.h"

namespace {

constexpr const char* kDownloadText = "Download";
constexpr float kPulseSpeed = 4.0f;
constexpr float kPulseBase = 0.7f;
constexpr float kPulseRange = 0.3f;

// The picture buttons and their frames, in the order their areas are stored.
constexpr int kPictureButtons[GameAdsCC::NUM_PICTURE_BUTTONS] = {
    GameAdsCollectionController::BUT_PIC1_BG, GameAdsCollectionController::BUT_PIC1,
    GameAdsCollectionController::BUT_PIC2_BG, GameAdsCollectionController::BUT_PIC2,
    GameAdsCollectionController::BUT_PIC_CEN, GameAdsCollectionController::BUT_PIC_CEN_BG};
// Each picture's frame.
constexpr int kFrames[][2] = {
    {GameAdsCollectionController::BUT_PIC1, GameAdsCollectionController::BUT_PIC1_BG},
    {GameAdsCollectionController::BUT_PIC2, GameAdsCollectionController::BUT_PIC2_BG},
    {GameAdsCollectionController::BUT_PIC_CEN, GameAdsCollectionController::BUT_PIC_CEN_BG}};

const char* StoreText(GameAdKind kind)
{
    switch (kind) {
    case GAME_AD_PHONE:
    case GAME_AD_TABLET:
        return EngLanguagesGetStringOrDefault("GameAds_AppStore", "App Store");
    case GAME_AD_ANDROID:
        return EngLanguagesGetStringOrDefault("GameAds_PlayStore", "Play Store");
    case GAME_AD_BLACKBERRY:
        return EngLanguagesGetStringOrDefault("GameAds_BlackBerryWorld", "BlackBerry World");
    default:
        return EngLanguagesGetStringOrDefault("Startup_HomePage", "Home Page");
    }
}

bool IsStoreKind(GameAdKind kind)
{
    return kind == GAME_AD_PHONE || kind == GAME_AD_TABLET || kind == GAME_AD_ANDROID || kind == GAME_AD_BLACKBERRY;
}

bool IsShown(MWinButton* button)
{
    return button && button->IsShown();
}

} // namespace

GameAdsCC::GameAdsCC(MWinScreens* screens) : GameAdsCollectionController(screens)
{
}

void GameAdsCC::SetNoteFlag(signed char shown)
{
    if (shown >= 0)
        m_note_shown = shown != 0;
}

bool GameAdsCC::IsCurrentScreen() const
{
    MWinScreens* screens = GetScreens(0);
    return screens && screens->IsOn() && screens->GetCurrentScreen() == SCREEN_GADS;
}

// The centre picture too: a button must never keep a texture that is about to be freed.
void GameAdsCC::ReleasePictures()
{
    if (IsCurrentScreen()) {
        for (int index : {BUT_PIC1, BUT_PIC2, BUT_PIC_CEN}) {
            if (MWinButton* button = GetButton(index))
                button->SetCustomTexture(nullptr);
        }
    }
    GameAdsDestroyGraphics();
}

// Also after the device was re-created: the new textures go back onto the buttons that showed the old ones.
void GameAdsCC::ReloadPictures()
{
    ReleasePictures();
    if (!IsCurrentScreen())
        return;
    GameAdsCreateGraphics(true);
    AttachPictures();
}

void GameAdsCC::StartingCB(void*)
{
    GameAdsSetCurGameAd(GameAdsGetCurGameAd());
    ShowTexts();
    ReloadPictures();
    ShowPictures();
    if (m_browse_mode) {
        MWinButton* back = GetButton(BUT_BACK);
        if (!back && GetMainWin())
            back = GetMainWin()->GetHideButton();
        if (!back)
            DebugError(ENG_FUNC, "No back button");
        else if (GetMainWin())
            GetMainWin()->SetEscapeButton(back);
    }
    SetupGetItButton();
    SizePictures();
    HideFramesOfFramelessPictures();
    bool several = GameAdsCountIncludedAds() > 1;
    ShowButton(BUT_PREV, several);
    ShowButton(BUT_NEXT, several);
}

void GameAdsCC::ShowTexts()
{
    const _GameAdTexts* texts = GameAdsGetCurrentGameAdTexts();
    SetButtonText(BUT_TITLE, texts->title);
    SetButtonText(BUT_DESC1, texts->lines[0]);
    SetButtonText(BUT_DESC2, texts->lines[1]);
    SetButtonText(BUT_DESC3, texts->lines[2]);
}

bool GameAdsCC::IsSinglePicture()
{
    return GameAdsGetCurrentGameAdFilenames()->pic2[0] == '\0';
}

// Two pictures side by side, or one in the centre.
void GameAdsCC::ShowPictures()
{
    bool single = IsSinglePicture();
    for (int index : {BUT_PIC1_BG, BUT_PIC1, BUT_PIC2_BG, BUT_PIC2})
        ShowButton(index, !single);
    ShowButton(BUT_PIC_CEN, single);
    ShowButton(BUT_PIC_CEN_BG, single);
    if (single && !GetButton(BUT_PIC_CEN))
        DebugError(ENG_FUNC, "No center pic button");
    AttachPictures();
}

void GameAdsCC::AttachPictures()
{
    bool single = IsSinglePicture();
    int targets[2] = {single ? BUT_PIC_CEN : BUT_PIC1, BUT_PIC2};
    for (int pic = 0; pic < (single ? 1 : 2); pic++) {
        if (MWinButton* button = GetButton(targets[pic]))
            button->SetCustomTexture(GameAdsGetTexture(pic));
    }
}

void GameAdsCC::SetupGetItButton()
{
    m_get_it_attention = false;
    MWinButton* get_it = GetButton(BUT_DOWNLOAD);
    if (!get_it)
        return;
    int ad = GameAdsGetCurGameAd();
    if (!GameAdsHasInstallerLink(ad)) {
        get_it->SetText(StoreText(GameAdsGetKind(ad)));
    } else if (std::strcmp(get_it->GetTextP(0) ? get_it->GetTextP(0) : "", kDownloadText) != 0) {
        get_it->SetText(EngLanguagesGetStringOrDefault("GameAds_Download", "Instant Download"));
        m_get_it_attention = true;
    }
    get_it->SetModulateAlpha(1.0f);
}

// Each shown picture button keeps the area the layout gave it and takes the ad's size factors about its centre.
void GameAdsCC::SizePictures()
{
    int layout = GetMWin() ? GetMWin()->GetScreenLayout() : 0;
    if (layout < 0 || layout >= MWIN_NUM_LAYOUTS)
        layout = 0;
    const _GameAdFilenames* row = GameAdsGetCurrentGameAdFilenames();
    float wf = row->width_factor > 0.0f && row->width_factor != 1.0f ? row->width_factor : 1.0f;
    float hf = row->height_factor > 0.0f && row->height_factor != 1.0f ? row->height_factor : 1.0f;
    for (int i = 0; i < NUM_PICTURE_BUTTONS; i++) {
        MWinButton* button = GetButton(kPictureButtons[i]);
        if (!IsShown(button))
            continue;
        _Dimension& area = m_areas[layout][i];
        if (area.w == 0.0f)
            button->GetArea(&area.x, &area.y, &area.w, &area.h);
        float w = area.w * wf;
        float h = area.h * hf;
        button->SetArea(area.x + (area.w - w) * 0.5f, area.y + (area.h - h) * 0.5f, w, h);
    }
}

// A frameless picture (a PNG drawn with its own shadow on a clear ground) stands on the screen itself.
void GameAdsCC::HideFramesOfFramelessPictures()
{
    if (!GameAdsGetCurrentGameAdVars()->frameless)
        return;
    for (const auto& frame : kFrames) {
        if (IsShown(GetButton(frame[0])))
            ShowButton(frame[1], false);
    }
}

char GameAdsCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo*)
{
    if (!button)
        return 0;
    m_pending = button;
    return 1;
}

void GameAdsCC::StepAd(bool next)
{
    ReleasePictures();
    if (next)
        GameAdsNextAd();
    else
        GameAdsPreviousAd();
    StartingCB(nullptr);
}

void GameAdsCC::GetIt()
{
    int ad = GameAdsGetCurGameAd();
    if (GameAdsHasInstallerLink(ad))
        GameAdsGetItAction(GetMWin());
    else if (IsStoreKind(GameAdsGetKind(ad)))
        GameAdsScreenShowSearchAppStorePopupCB(GetMWin());
    else
        GameAdsWebPageAction(GetMWin());
}

void GameAdsCC::HandleButton(MWinButton* button)
{
    MWinButton* hide = GetMainWin() ? GetMainWin()->GetHideButton() : nullptr;
    if (button == GetButton(BUT_PREV))
        StepAd(false);
    else if (button == GetButton(BUT_NEXT))
        StepAd(true);
    else if (button == GetButton(BUT_BACK) || (hide && button == hide))
        GoBack();
    else if (button == GetButton(BUT_DOWNLOAD))
        GetIt();
}

void GameAdsCC::TickCB()
{
    if (m_pending) {
        MWinButton* button = m_pending;
        m_pending = nullptr;
        HandleButton(button);
        return;
    }
    if (EngKeyStateTable[ENG_VK_LEFT] > 1) {
        EngKeyStateTable[ENG_VK_LEFT] = 0;
        StepAd(false);
        return;
    }
    if (EngKeyStateTable[ENG_VK_RIGHT] > 1) {
        EngKeyStateTable[ENG_VK_RIGHT] = 0;
        StepAd(true);
        return;
    }
    MWinButton* get_it = GetButton(BUT_DOWNLOAD);
    if (!IsShown(get_it) || !m_get_it_attention)
        return;
    bool passed = false;
    float pulse = EngMiscAdvancePulse(&m_pulse_phase, kPulseSpeed * eng_frame_time, &passed);
    get_it->SetModulateAlpha(kPulseBase + kPulseRange * pulse);
}

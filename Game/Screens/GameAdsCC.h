#pragma once

// The product ads screen (GADS): one of the maker's other products at a time, with its texts and pictures,
// previous and next, the get-it button (installer, web page or store), and back.

#include "Engine/MWin/MWin.h"
#include "Game/Screens/GameAdsCollectionController.h"

class GameAdsCC : public GameAdsCollectionController
{
public:
    explicit GameAdsCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    void TickCB() override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    void SetBrowseMode() { m_browse_mode = true; }
    // A negative value leaves the flag as it is.
    void SetNoteFlag(signed char shown);
    void ReleasePictures();
    void ReloadPictures();
    bool IsGetItAttention() const { return m_get_it_attention; }

    static constexpr int NUM_PICTURE_BUTTONS = 6;

private:
    bool IsCurrentScreen() const;
    void HandleButton(MWinButton* button);
    void StepAd(bool next);
    void GetIt();
    void ShowTexts();
    static bool IsSinglePicture();
    void ShowPictures();
    void AttachPictures();
    void SetupGetItButton();
    void SizePictures();
    void HideFramesOfFramelessPictures();

    bool m_browse_mode = false;
    bool m_note_shown = true;
    MWinButton* m_pending = nullptr;
    bool m_get_it_attention = false;
    float m_pulse_phase = 0.0f;
    // Each picture button's and frame's area as the layout made it, per screen layout: 0 wide until first stored.
    _Dimension m_areas[MWIN_NUM_LAYOUTS][NUM_PICTURE_BUTTONS] = {};
};

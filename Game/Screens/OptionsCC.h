#pragma once

// The options screen (OPTS): the car's handling, the race's texts, the music and its volume, and whether
// the start-up settings window opens next time. Changes take effect at once; the car takes the handling
// when the screen is left.

#include "Game/Screens/OptionsCollectionController.h"

class OptionsCC : public OptionsCollectionController
{
public:
    explicit OptionsCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    // The music volume asked of the player's choice 0..9, never above what the music can play.
    static int MusicVolumeFor(int choice);

private:
    void BindOffOn(int index, EngUInt8* variable);
    void MusicChanged();
};

#pragma once

// The championship slots screen (CLOD): a driver's eight championships, each started, resumed or deleted
// here. The other championship screens save the championship in use through it.

#include "Game/ChampSaveFile.h"
#include "Game/Screens/CLoadCollectionController.h"

class CLoadCC : public CLoadCollectionController
{
public:
    explicit CLoadCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    bool GetChampionshipFilename(int slot, bool create_folder);
    // False for an empty slot: no file, a file of another size or version, or a record out of range. With
    // copy the record becomes the game's championship.
    bool LoadChampionship(int slot, bool copy);
    // The game's championship into the current slot.
    bool SaveChampionship();
    void DeleteConfirmed(char result);

    int GetCurrentSlot() const { return m_current_slot; }
    void SetCurrentSlot(int slot) { m_current_slot = slot; }
    const char* GetPath() const { return m_path; }

private:
    void ShowSlot(int slot);
    void DeleteSlotFile(int slot);
    void NewChampionship(int slot);
    void LoadAndGo(int slot);

    char m_path[CHAMP_PATH_SIZE] = "";
    int m_current_slot = 0;
    ChampRecord m_slot = {};
    EngUInt8 m_used[CHAMP_SLOTS] = {};
    int m_delete_slot = 0;
};

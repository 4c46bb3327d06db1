#include "Game/Screens/CLoadCC.h"

#include "Engine/Core/EngFile.h"
#include "Engine/MWin/MWin.h"
#include "Game/Game.h"
#include "Game/Screens/RaceNames.h"
#include "Game/Screens/TorviScreens.h"
#include "Game/Users.h"

namespace {

void DeletePopupCB(MWin*, char result, void* user)
{
    static_cast<CLoadCC*>(user)->DeleteConfirmed(result);
}

} // namespace

CLoadCC::CLoadCC(MWinScreens* screens) : CLoadCollectionController(screens)
{
}

bool CLoadCC::GetChampionshipFilename(int slot, bool create_folder)
{
    return ChampSaveFileName(m_game->GetCurrentProfile()->name, slot, create_folder, m_path, sizeof m_path);
}

bool CLoadCC::LoadChampionship(int slot, bool copy)
{
    if (!GetChampionshipFilename(slot, false) || !ChampSaveFileLoad(m_path, &m_slot))
        return false;
    if (copy)
        *m_game->GetChamp()->GetRecord() = m_slot;
    return true;
}

bool CLoadCC::SaveChampionship()
{
    if (!GetChampionshipFilename(m_current_slot, true))
        return false;
    return ChampSaveFileSave(m_path, m_game->GetChamp()->GetRecord());
}

void CLoadCC::StartingCB(void* data)
{
    (void)data;
    for (int slot = 0; slot < CHAMP_SLOTS; slot++)
        ShowSlot(slot);
    SetEscapeButton(BUT_QUIT);
}

void CLoadCC::ShowSlot(int slot)
{
    bool used = LoadChampionship(slot, false);
    m_used[slot] = used ? 1 : 0;
    EnableButton(BUT_NEW1 + slot, !used);
    EnableButton(BUT_LOAD1 + slot, used);
    EnableButton(BUT_DELETE1 + slot, used);
    MWinButton* name = GetButton(BUT_NAME1 + slot);
    if (!name)
        return;
    if (!used)
        name->SetText("EMPTY");
    else if (m_slot.stage >= CHAMP_STAGES)
        name->SetTextF("%s - %s - FINISHED", RaceNamesGetClass(m_slot.formula), RaceNamesGetLevel(m_slot.level));
    else
        name->SetTextF("%s - %s - STAGE %d", RaceNamesGetClass(m_slot.formula), RaceNamesGetLevel(m_slot.level),
                       m_slot.stage + 1);
}

char CLoadCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info)
{
    (void)info;
    int index = GetButtonIndex(button);
    if (index >= BUT_NEW1 && index < BUT_NEW1 + CHAMP_SLOTS) {
        NewChampionship(index - BUT_NEW1);
        return 1;
    }
    if (index >= BUT_LOAD1 && index < BUT_LOAD1 + CHAMP_SLOTS) {
        LoadAndGo(index - BUT_LOAD1);
        return 1;
    }
    if (index >= BUT_DELETE1 && index < BUT_DELETE1 + CHAMP_SLOTS) {
        m_delete_slot = index - BUT_DELETE1;
        m_mwinp->PopupOkCancel("DELETE CHAMPIONSHIP", "Are you sure you want to delete this championship ?",
                               DeletePopupCB, this);
        return 1;
    }
    switch (index) {
    case BUT_OPTIONS:
        GotoScreen(SCREEN_OPTS);
        return 1;
    case BUT_QUIT:
        GoBack();
        return 1;
    default:
        return 0;
    }
}

void CLoadCC::DeleteSlotFile(int slot)
{
    if (GetChampionshipFilename(slot, false) && EngFileExists(m_path, false))
        EngFileDelete(m_path, true);
}

void CLoadCC::NewChampionship(int slot)
{
    m_current_slot = slot;
    DeleteSlotFile(slot);
    m_game->GetChamp()->NewChampionship();
    GotoScreen(SCREEN_CNEW);
}

void CLoadCC::LoadAndGo(int slot)
{
    if (!LoadChampionship(slot, true))
        return;
    const ChampRecord* record = m_game->GetChamp()->GetRecord();
    UserRecord* profile = m_game->GetCurrentProfile();
    if (!profile->classes[record->formula].have_license[record->level]) {
        m_mwinp->PopupMessage("YOU DO NOT HAVE THE REQUIRED RACING LICENSE FOR THIS CHAMPIONSHIP");
        return;
    }
    profile->formula_zzz = record->formula;
    profile->classes[record->formula].level_zzz = record->level;
    m_current_slot = slot;
    GotoScreen(SCREEN_CRCE);
}

void CLoadCC::DeleteConfirmed(char result)
{
    if (result != 1)
        return;
    DeleteSlotFile(m_delete_slot);
    StartingCB(nullptr);
}

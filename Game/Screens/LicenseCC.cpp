#include "Game/Screens/LicenseCC.h"

#include <cstring>

#include "Engine/MWin/MWin.h"
#include "Game/Game.h"
#include "Game/Menus.h"
#include "Game/Screens/RaceNames.h"

namespace {

constexpr int kFirstTrophyPicture = 100;
// A trophy stands in the right of its box, clear of the licence texts on the left and the caption on top,
// at the picture's own 3:2 shape.
constexpr float kTrophyInsets[4] = {62, 34, 0, 6};

void FirstInfoClosedCB(MWin*, char, void* user)
{
    static_cast<LicenseCC*>(user)->ShowSecondInfo();
}

} // namespace

LicenseCC::LicenseCC(MWinScreens* screens) : LicenseCollectionController(screens)
{
}

int LicenseCC::HighestLevelHeld(const UserRecord& profile, int formula)
{
    int highest = -1;
    for (int level = 0; level < USER_NUM_LEVELS; level++) {
        if (profile.classes[formula].have_license[level])
            highest = level;
    }
    return highest;
}

void LicenseCC::StartingCB(void* data)
{
    (void)data;
    m_starting = 1;
    UserRecord* profile = m_game->GetCurrentProfile();
    profile->changed = 0;
    // A driver always has a class to race in, even with a profile that holds no licence at all.
    m_classes_open = 1;
    for (int formula = 0; formula < USER_NUM_CLASSES; formula++) {
        if (HighestLevelHeld(*profile, formula) >= 0)
            m_classes_open = formula + 1;
    }
    ShowAwards();
    if (profile->formula_zzz < 0 || profile->formula_zzz >= m_classes_open)
        profile->formula_zzz = m_classes_open - 1;
    BindArrowChoice(BUT_FORMULA, m_classes_open, race_class_names, &profile->formula_zzz, MWIN_FIRE_NEVER);
    UpdateLevel();
    ShowLicences();
    ShowTitle();
    SetEscapeButton(BUT_BACK);
    m_starting = 0;
}

void LicenseCC::ShowAwards()
{
    const UserRecord* profile = m_game->GetCurrentProfile();
    for (int formula = 0; formula < USER_NUM_CLASSES; formula++) {
        int award = profile->classes[formula].best_expert_result;
        MWinButton* button = GetButton(BUT_AWARD_ROOKIE + formula);
        if (!button)
            continue;
        if (award < 1 || award > 3) {
            button->Hide();
            continue;
        }
        m_game->GetMenus()->AttachPictureToButton(kFirstTrophyPicture + 3 - award, button, -1);
        button->PictureSetInsets(1, kTrophyInsets[0], kTrophyInsets[1], kTrophyInsets[2], kTrophyInsets[3]);
        button->Show();
    }
}

void LicenseCC::ShowLicences()
{
    const UserRecord* profile = m_game->GetCurrentProfile();
    for (int formula = 0; formula < USER_NUM_CLASSES; formula++) {
        for (int level = 0; level < USER_NUM_LEVELS; level++) {
            MWinButton* box = GetButton(BUT_RF4 + level * USER_NUM_CLASSES + formula);
            m_licences[formula * USER_NUM_LEVELS + level] = box;
            if (!box)
                continue;
            bool held = profile->classes[formula].have_license[level] != 0;
            float shade = held ? 1.0f : 0.5f;
            box->Disable();
            box->SetTextColour(shade, shade, shade, 1.0f);
            box->CheckboxSet(held ? 1 : 0, MWIN_FIRE_NEVER);
        }
    }
}

void LicenseCC::ShowTitle()
{
    MWinButton* title = GetButton(BUT_TITLE);
    if (!title)
        return;
    const char* name = m_game->GetCurrentProfile()->name;
    size_t length = strlen(name);
    if (length > 0 && name[length - 1] == 'S')
        title->SetTextF("%s'  RACING  LICENSE", name);
    else
        title->SetTextF("%s's  RACING  LICENSE", name);
}

void LicenseCC::UpdateLevel()
{
    UserRecord* profile = m_game->GetCurrentProfile();
    MWinButton* formula_choice = GetButton(BUT_FORMULA);
    MWinButton* level_choice = GetButton(BUT_LEVEL);
    if (!m_starting && formula_choice && level_choice) {
        int formula = formula_choice->ChoiceGetSel();
        formula = formula < 0 ? 0 : (formula >= USER_NUM_CLASSES ? USER_NUM_CLASSES - 1 : formula);
        int level = level_choice->ChoiceGetSel();
        int highest = HighestLevelHeld(*profile, formula);
        if (level > highest)
            level = highest;
        profile->formula_zzz = formula;
        profile->classes[formula].level_zzz = level < 0 ? 0 : level;
    }
    int formula = profile->formula_zzz;
    m_levels_open = HighestLevelHeld(*profile, formula) + 1;
    // A class without a licence still offers ROOKIE, so the choice is never empty.
    if (m_levels_open < 1)
        m_levels_open = 1;
    EngInt32* level = &profile->classes[formula].level_zzz;
    if (*level < 0 || *level >= m_levels_open)
        *level = m_levels_open - 1;
    BindArrowChoice(BUT_LEVEL, m_levels_open, race_level_names, level, MWIN_FIRE_NEVER);
}

void LicenseCC::ShowSecondInfo()
{
    m_mwinp->PopupMessage("\t\t\t\t\t\t   TO GET A LICENSE FOR THE NEXT LEVEL, FINISH 3RD OR BETTER IN A CHAMPIONSHIP "
                          "FOR THIS LEVEL.\n\n\n\t\t\t\t\t\t   TO GET A LICENSE FOR THE NEXT CLASS, WIN A "
                          "CHAMPIONSHIP FOR THIS CLASS.");
}

char LicenseCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info)
{
    (void)info;
    switch (GetButtonIndex(button)) {
    case BUT_FORMULA:
    case BUT_LEVEL:
        UpdateLevel();
        return 1;
    case BUT_INFO:
        m_mwinp->PopupMessage(nullptr,
                              "COMPUTER OPPONENTS GET FASTER AS YOUR LEVEL INCREASES.\n\n\nRACING SPEED GETS "
                              "FASTER AS YOUR CLASS INCREASES.",
                              FirstInfoClosedCB, this);
        return 1;
    case BUT_BACK:
        m_game->GetMenus()->ReleasePictures();
        GoBack();
        return 1;
    default:
        return 0;
    }
}

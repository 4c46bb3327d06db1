#include "Game/Screens/TTrialCC.h"

#include <cstdio>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngLanguages.h"
#include "Engine/Core/EngMisc.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinPopup.h"
#include "Engine/MWin/MWinTabPanel.h"
#include "Engine/MWin/MWinWindow.h"
#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Levels.h"
#include "Game/Menus.h"
#include "Game/Screens/Countries.h"
#include "Game/Screens/PlatformIcons.h"
#include "Game/Screens/RaceNames.h"
#include "Game/Screens/TorviScreens.h"
#include "Game/Users.h"

namespace {

constexpr int kLapsOfTab[TTRIAL_NUM_LAPS_TABS] = {1, 3, 6, 10, 20};
const char* const kLapsTexts[TTRIAL_NUM_LAPS_TABS] = {"LAPS:  1", "LAPS:  3", "LAPS:  6", "LAPS:  10",
                                                      "LAPS:  20"};
const char* const kSourceTexts[] = {"LOCAL", "WORLD"};
const char* const kRangeTexts[] = {"ALL", "YEAR", "MONTH", "WEEK"};
// The same ranges as the submit question names them.
const char* const kRangeQuestionTexts[] = {"ALL TIME", "YEARLY", "MONTHLY", "WEEKLY"};
constexpr int kNumRanges = 4;

// A world score is this many ms minus the time.
constexpr EngUInt32 kScoreBase = 3600000;
constexpr int kUserTimeNameSize = 32;

// The table: six columns, ten rows a page.
constexpr int kColumns = 6;
constexpr int kRowsPerPage = 10;
constexpr int kColumnWidths[kColumns] = {8, 8, 35, 25, 25, 8};
constexpr int kFlagColumn = 1;
constexpr int kIconColumn = 5;
constexpr float kDimColour[4] = {0.8f, 0.7404f, 0.7122f, 0.4f};
constexpr float kLeaderColour[4] = {1.0f, 1.0f, 1.0f, 0.75f};
constexpr float kOtherColour[4] = {1.0f, 1.0f, 1.0f, 0.5f};
constexpr float kDimScale[2] = {0.75f, 0.85f};
constexpr float kFlagWidth = 20.0f;
constexpr float kIconWidth = 16.0f;
constexpr float kPictureAlpha = 0.6f;

// The UPDATE button's states.
constexpr double kTickInterval = 0.1;
constexpr double kFailureShownSeconds = 3.0;
constexpr float kUpdateColour[4] = {1.0f, 1.0f, 1.0f, 0.698f};
constexpr float kFailedColour[4] = {1.0f, 0.0f, 0.0f, 1.0f};

bool IsDimColumn(int column)
{
    return column == 0 || column == 3;
}

TTrialCC* ControllerOf(MWinTabPanel* panel)
{
    MWinWindow* window = panel ? panel->GetWindow() : nullptr;
    return window ? static_cast<TTrialCC*>(window->GetController(0)) : nullptr;
}

const char* CellTextCB(int row, int column, MWinTabPanel* panel)
{
    TTrialCC* screen = ControllerOf(panel);
    return screen ? screen->GetCellText(row, column) : nullptr;
}

const float* CellColourCB(int row, int column, MWinTabPanel* panel)
{
    TTrialCC* screen = ControllerOf(panel);
    return screen ? screen->GetCellColour(row, column) : nullptr;
}

const float* CellScaleCB(int row, int column, MWinTabPanel* panel)
{
    TTrialCC* screen = ControllerOf(panel);
    return screen ? screen->GetCellScale(row, column) : nullptr;
}

// The area of width w centred across a cell, from top + inset down to its bottom - inset.
_Dimension CentredIn(const float* cell, float w, float top_inset, float height_change)
{
    return {cell[0] + (cell[2] - w) * 0.5f, cell[1] + top_inset, w, cell[3] + height_change};
}

} // namespace

TTrialCC::TTrialCC(MWinScreens* screens) : TTrialCollectionController(screens)
{
}

int TTrialCC::LapsOfTab() const
{
    return kLapsOfTab[m_laps_tab >= 0 && m_laps_tab < TTRIAL_NUM_LAPS_TABS ? m_laps_tab : 0];
}

bool TTrialCC::IsWorldMode() const
{
    return m_game->GetCurrentProfile()->time_trial_view == TTRIAL_SOURCE_WORLD;
}

int TTrialCC::Formula() const
{
    return m_game->GetCurrentProfile()->formula_zzz;
}

int TTrialCC::Track() const
{
    return m_game->GetCurrentProfile()->time_trials_track;
}

void TTrialCC::StartingCB(void* data)
{
    (void)data;
    // The world times report to this screen while it is shown.
    m_game->GetTimesWorld()->SetScreen(this);
    int kept_row = m_inserted_row;
    if (MWinButton* level = GetButton(BUT_LEVEL))
        level->SetTextF("%s   WORLD   TIMES", RaceNamesGetClass(Formula()));
    m_game->GetMenus()->LoadPictures();
    BindProfileChoices();
    SetButtonText(BUT_TIMES_INFO, "");
    ShowButton(BUT_TIMES_INFO, false);
    ChooseLapsTab();
    SetEscapeButton(BUT_QUIT);
    SourceChanged();
    RangeChanged();
    Refresh();
    m_inserted_row = kept_row;
    MWinTabPanel* panel = static_cast<MWinTabPanel*>(GetButton(BUT_TIMES));
    if (panel && m_inserted_row >= 0)
        panel->CentreOnRow(m_inserted_row);
}

// Track, times source, date range and ghost mirror the profile; the first three fire at once, so the track
// picture and the table follow them.
void TTrialCC::BindProfileChoices()
{
    UserRecord* profile = m_game->GetCurrentProfile();
    BindArrowChoice(BUT_TRACK, RACE_NAMES_TRACKS, race_track_names, &profile->time_trials_track, MWIN_FIRE_ALWAYS);
    if (profile->time_trial_view != TTRIAL_SOURCE_WORLD)
        profile->time_trial_view = TTRIAL_SOURCE_LOCAL;
    if (MWinButton* which = GetButton(BUT_TIMES_WHICH)) {
        which->ChoiceSetStrings(2, const_cast<const char**>(kSourceTexts));
        which->ChoiceRegisterIntVariable(&profile->time_trial_view, MWIN_FIRE_ALWAYS);
    }
    if (MWinButton* range = GetButton(BUT_TIMES_RANGE)) {
        range->ChoiceSetStrings(kNumRanges, const_cast<const char**>(kRangeTexts));
        range->ChoiceRegisterIntVariable(&profile->world_range, MWIN_FIRE_ALWAYS);
    }
    if (MWinButton* ghost = GetButton(BUT_SHOW_GHOST))
        ghost->CheckboxRegisterCharVariable(reinterpret_cast<char*>(&profile->option), MWIN_FIRE_ALWAYS);
}

// The tab of the profile's lap count; a count without a tab keeps the tab the screen had.
void TTrialCC::ChooseLapsTab()
{
    for (int tab = 0; tab < TTRIAL_NUM_LAPS_TABS; tab++) {
        if (m_game->GetCurrentProfile()->time_trial_laps == kLapsOfTab[tab])
            m_laps_tab = tab;
    }
    if (m_laps_tab < 0 || m_laps_tab >= TTRIAL_NUM_LAPS_TABS)
        m_laps_tab = 0;
    BindArrowChoice(BUT_NUM_LAPS, TTRIAL_NUM_LAPS_TABS, kLapsTexts, &m_laps_tab, MWIN_FIRE_NEVER);
}

void TTrialCC::KeepLaps()
{
    m_game->GetCurrentProfile()->time_trial_laps = LapsOfTab();
    m_game->GetMenus()->ReleasePictures();
}

char TTrialCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info)
{
    (void)info;
    switch (GetButtonIndex(button)) {
    case BUT_TRACK:
        m_game->GetMenus()->AttachPictureToButton(Track(), GetButton(BUT_TRACK_PIC), -1);
        Refresh();
        return 1;
    case BUT_START:
        StartTimeTrial();
        return 1;
    case BUT_OPTIONS:
        KeepLaps();
        GotoScreen(SCREEN_OPTS);
        return 1;
    case BUT_QUIT:
        KeepLaps();
        m_inserted_row = -1;
        GotoScreen(SCREEN_MAIN);
        return 1;
    case BUT_TIMES_WHICH:
        SourceChanged();
        return 1;
    case BUT_TIMES_RANGE:
    case BUT_NUM_LAPS:
        RangeChanged();
        return 1;
    case BUT_TIMES_UPDATE:
        if (IsWorldMode())
            m_game->GetTimesWorld()->Update();
        return 1;
    case BUT_TIMES_SUBMIT:
        m_game->GetTimesWorld()->SubmitBestTime(m_game->GetCurrentProfile()->world_range);
        return 1;
    case BUT_GHOST_RESET:
        ResetGhost();
        return 1;
    default:
        return 0;
    }
}

void TTrialCC::StartTimeTrial()
{
    int no_opponents[LEVELS_NUM_DRIVERS] = {-1, -1, -1, -1, -1, -1, -1};
    m_game->GetLevels()->SetupRaceOpponents(0, no_opponents);
    UserRecord* profile = m_game->GetCurrentProfile();
    if (!m_game->SetupRace(GAME_TYPE_TIME_TRIAL, Track(), 1, profile->option != 0, -1, -1)) {
        m_mwinp->PopupMessage("ERROR", "PROBLEM SETTING UP RACE");
        return;
    }
    profile->time_trial_laps = LapsOfTab();
    m_game->GetCar()->SetLaps(LapsOfTab());
    m_game->GetMenus()->ReleasePictures();
    m_game->StartRace(true);
}

void TTrialCC::SourceChanged()
{
    if (MWinTabPanel* panel = static_cast<MWinTabPanel*>(GetButton(BUT_TIMES)))
        panel->RemoveAllRows();
    EnableButton(BUT_TIMES_UPDATE, IsWorldMode());
    FillTable();
}

void TTrialCC::RangeChanged()
{
    if (MWinTabPanel* panel = static_cast<MWinTabPanel*>(GetButton(BUT_TIMES)))
        panel->RemoveAllRows();
    Refresh();
}

// The world reader goes with every change, so that WORLD mode loads the table that now applies.
void TTrialCC::Refresh()
{
    m_inserted_row = -1;
    m_game->GetTimesWorld()->DeleteScoresMainInstance();
    if (m_mwinp->IsOn() == 1 && m_screens->GetCurrentScreen() == SCREEN_TTRL)
        FillTable();
    EnableButton(BUT_GHOST_RESET, GhostFileExists());
}

bool TTrialCC::GhostFileExists()
{
    const char* name = m_game->GetCar()->GetGhostFilename(Track(), LapsOfTab(), false);
    return name && EngFileExists(name, false);
}

// The rows of the world table in the local layout. A row is taken only as far as it fits: names end inside
// their field, at most a table's worth of rows, and no score above the base, which would be a negative time.
void TTrialCC::FillWorldCopy()
{
    memset(&m_world, 0, sizeof m_world);
    TimesWorld* world = m_game->GetTimesWorld();
    const _ScoresScore* rows = world->GetScoresList();
    int count = rows ? world->GetNumScores() : 0;
    for (int n = 0; n < count && m_world.count < LOCAL_TIMES_ROWS; n++) {
        const _ScoresScore& row = rows[n];
        if (row.score < 0 || EngUInt32(row.score) > kScoreBase)
            continue;
        LocalTimeEntry& entry = m_world.entries[m_world.count++];
        snprintf(entry.name, sizeof entry.name, "%.*s", int(sizeof entry.name - 1), row.name);
        entry.user_id = row.uid;
        snprintf(entry.country, sizeof entry.country, "%.*s", int(sizeof entry.country - 1), row.cc);
        entry.platform = row.platform;
        entry.date = row.date;
        entry.time = kScoreBase - EngUInt32(row.score);
    }
}

void TTrialCC::FillTable()
{
    if (IsWorldMode()) {
        FillWorldCopy();
        m_shown = &m_world;
    } else {
        SettingsClass* settings = m_game->GetSettings();
        settings->GetFilteredTimes(Formula(), Track(), m_laps_tab, m_game->GetCurrentProfile()->world_range);
        m_shown = settings->GetFilteredTable();
    }
    SetupTablePanel(m_shown->count);
    EnableTableButtons();
}

void TTrialCC::SetupTablePanel(int rows)
{
    MWinTabPanel* panel = static_cast<MWinTabPanel*>(GetButton(BUT_TIMES));
    if (!panel)
        return;
    panel->SetHeaderAndSelectMode(0, 1, 1, 0, 0, 0, 0.0f);
    panel->SetLayoutParams(0, 0.0f, 0.0f, 0.0f, 0, -1.0f, -1.0f, 1, 1.0f, 1, 1.0f);
    panel->SetEntryCallback(rows, kColumns, kRowsPerPage, CellTextCB);
    panel->SetCellColourCallback(CellColourCB);
    panel->SetCellScaleCallback(CellScaleCB);
    for (int column = 0; column < kColumns; column++)
        panel->SetColumnWidthPercentage(column, kColumnWidths[column]);
    panel->SetColumnTextAlign(0, MWIN_ALIGN_LEFT);
    panel->SetColumnTextAlign(2, MWIN_ALIGN_LEFT);
    panel->SetColumnTextAlign(3, MWIN_ALIGN_CENTRE);
    panel->SetColumnTextAlign(4, MWIN_ALIGN_RIGHT);
}

void TTrialCC::EnableTableButtons()
{
    if (IsWorldMode()) {
        EnableButton(BUT_TIMES_SUBMIT, false);
        return;
    }
    EnableButton(BUT_TIMES_UPDATE, false);
    EnableButton(BUT_TIMES_SUBMIT, m_shown->count > 0 && HasDriversRow(m_shown));
}

bool TTrialCC::IsDriversEntry(const LocalTimeEntry& entry) const
{
    const UserRecord* profile = m_game->GetCurrentProfile();
    return entry.user_id == profile->user_id && strncmp(entry.name, profile->name, sizeof entry.name) == 0;
}

bool TTrialCC::HasDriversRow(const LocalTimesTable* table) const
{
    for (int row = 0; row < table->count; row++) {
        if (IsDriversEntry(table->entries[row]))
            return true;
    }
    return false;
}

const char* TTrialCC::GetCellText(int row, int column)
{
    if (!m_shown || row < 0 || row >= m_shown->count)
        return "?";
    const LocalTimeEntry& entry = m_shown->entries[row];
    switch (column) {
    case 0:
        if (entry.time == m_shown->entries[0].time)
            return "01.";
        snprintf(m_text, sizeof m_text, "%02d.", row + 1);
        return m_text;
    case 2:
        return entry.name;
    case 3:
        snprintf(m_text, sizeof m_text, "%02d.%02d.%04u", entry.date.day, entry.date.month, entry.date.year);
        return m_text;
    case 4:
        return Car::GetTimeText(entry.time, m_text, sizeof m_text);
    default:
        // The flag and the platform icon are drawn in their cells.
        return nullptr;
    }
}

const float* TTrialCC::GetCellColour(int row, int column) const
{
    if (IsDimColumn(column))
        return kDimColour;
    if (!IsWorldMode() && row == m_inserted_row)
        return m_highlight;
    bool leader = m_shown && row >= 0 && row < m_shown->count &&
                  m_shown->entries[row].time == m_shown->entries[0].time;
    return leader ? kLeaderColour : kOtherColour;
}

const float* TTrialCC::GetCellScale(int row, int column) const
{
    (void)row;
    return IsDimColumn(column) ? kDimScale : nullptr;
}

void TTrialCC::RenderCB(int pass)
{
    if (pass != 1 || !GetButton(BUT_TIMES) || !m_shown)
        return;
    EngDeviceEnableBlendingType(0);
    MWinTabPanel* panel = static_cast<MWinTabPanel*>(GetButton(BUT_TIMES));
    panel->CropToTableRowsArea(1);
    DrawFlagsAndIcons();
    panel->CropToTableRowsArea(0);
    EngDeviceDisableBlending();
}

void TTrialCC::DrawFlagsAndIcons()
{
    MWinTabPanel* panel = static_cast<MWinTabPanel*>(GetButton(BUT_TIMES));
    int last = panel->GetLastVisibleRow() + 1;
    for (int row = panel->GetFirstVisibleRow(); row <= last && row < m_shown->count; row++) {
        const LocalTimeEntry& entry = m_shown->entries[row];
        float cell[4];
        int country = CountryGetCountryNumFromCode(entry.country, true);
        if (country >= 0 && panel->GetCellArea(row, kFlagColumn, cell)) {
            _Dimension area = CentredIn(cell, kFlagWidth, 0.0f, 1.0f);
            CountryDrawFlagWithAlpha(country, &area, kPictureAlpha);
        }
        if (entry.platform != '?' && panel->GetCellArea(row, kIconColumn, cell)) {
            _Dimension area = CentredIn(cell, kIconWidth, 3.0f, -6.0f);
            PlatformDrawIcon(entry.platform, &area, kPictureAlpha);
        }
    }
}

void TTrialCC::SetUpdateButton(const char* text, const float* colour)
{
    MWinButton* update = GetButton(BUT_TIMES_UPDATE);
    update->SetText(text);
    update->SetTextColourFromArray(colour);
}

void TTrialCC::TickCB()
{
    if (!GetButton(BUT_TIMES_UPDATE) || !EngMiscTimerElapsed(&m_next_tick, kTickInterval))
        return;
    TickFailure();
    if (IsWorldMode())
        TickWorld();
    m_highlight[3] = 0.5f * EngMiscAdvancePulse(&m_pulse_phase, 1.0f, nullptr) + 0.5f;
}

void TTrialCC::TickFailure()
{
    if (m_failure_time == 0.0 || eng_time - m_failure_time < kFailureShownSeconds)
        return;
    MWinButton* update = GetButton(BUT_TIMES_UPDATE);
    if (strcmp(update->GetTextP(0) ? update->GetTextP(0) : "", "FAILED") == 0)
        update->SetText("UPDATE");
    update->SetTextColourFromArray(kUpdateColour);
    m_failure_time = 0.0;
}

void TTrialCC::TickWorld()
{
    TimesWorld* world = m_game->GetTimesWorld();
    MWinButton* update = GetButton(BUT_TIMES_UPDATE);
    if (world->IsUpdating()) {
        if (update->IsEnabled()) {
            update->Disable();
            SetUpdateButton("UPDATING...", kUpdateColour);
        }
        signed char finished = world->IsUpdateFinished();
        if (finished != 0)
            FillTable();
        if (finished < 0 && finished != -2) {
            SetUpdateButton("FAILED", kFailedColour);
            m_failure_time = eng_time;
        }
        return;
    }
    MWinButton* info = GetButton(BUT_TIMES_INFO);
    if ((!info || !info->IsShown()) && !m_mwinp->IsPopupOn() && world->UpdateIfNeeded() == 2)
        FillTable();
    if (m_failure_time == 0.0 && !update->IsEnabled()) {
        update->Enable();
        update->SetText("UPDATE");
    }
}

void TTrialCC::ResetGhost()
{
    const char* name = m_game->GetCar()->GetGhostFilename(Track(), LapsOfTab(), false);
    if (!name || !EngFileExists(name, false)) {
        m_mwinp->PopupMessage("No ghost car exists.");
        return;
    }
    EngFileDelete(name, true);
    m_mwinp->PopupMessage("Ghost car removed.");
    EnableButton(BUT_GHOST_RESET, GhostFileExists());
}

void TTrialCC::AddTimeToLocalTimes(int unused)
{
    (void)unused;
    m_inserted_row = -1;
    const CarRecord* record = m_game->GetCar()->GetRecord(0);
    if (!record || record->laps_done < 1 || record->race_time == 0)
        return;
    LocalTimesTable* table = m_game->GetSettings()->GetTable(Formula(), Track(), m_laps_tab);
    if (!table)
        return;
    int position = 0;
    while (position < table->count && table->entries[position].time <= record->race_time)
        position++;
    if (position == LOCAL_TIMES_ROWS)
        return;
    if (position < table->count && position <= LOCAL_TIMES_ROWS - 2)
        memmove(&table->entries[position + 1], &table->entries[position],
                sizeof(LocalTimeEntry) * (LOCAL_TIMES_ROWS - 1 - position));
    const UserRecord* profile = m_game->GetCurrentProfile();
    LocalTimeEntry& entry = table->entries[position];
    memset(&entry, 0, sizeof entry);
    entry.time = record->race_time;
    EngSafeStrcpy(entry.name, profile->name, sizeof entry.name);
    entry.user_id = profile->user_id;
    entry.platform = PlatformGetCurrentPlatform();
    EngSafeStrcpy(entry.country, profile->country, sizeof entry.country);
    EngMiscGetCurrentDate(&entry.date);
    if (table->count < LOCAL_TIMES_ROWS)
        table->count++;
    m_inserted_row = position;
}

// The widest range in which the inserted time is the driver's best; -1 when none.
int TTrialCC::FindTakenRange(const LocalTimeEntry& inserted)
{
    SettingsClass* settings = m_game->GetSettings();
    for (int range = 0; range < kNumRanges; range++) {
        settings->GetFilteredTimes(Formula(), Track(), m_laps_tab, range);
        const LocalTimesTable* filtered = settings->GetFilteredTable();
        for (int row = 0; row < filtered->count; row++) {
            if (!IsDriversEntry(filtered->entries[row]))
                continue;
            if (memcmp(&filtered->entries[row], &inserted, sizeof inserted) == 0)
                return range;
            break;
        }
    }
    return -1;
}

void TTrialCC::CheckSubmittingFastestTime()
{
    if (m_inserted_row < 0)
        return;
    SettingsClass* settings = m_game->GetSettings();
    const LocalTimesTable* table = settings->GetTable(Formula(), Track(), m_laps_tab);
    if (!table || m_inserted_row >= table->count || !IsDriversEntry(table->entries[m_inserted_row])) {
        DebugError(ENG_FUNC, "Internal Error");
        return;
    }
    LocalTimeEntry inserted = table->entries[m_inserted_row];
    int taken = FindTakenRange(inserted);
    settings->GetFilteredTimes(Formula(), Track(), m_laps_tab, m_game->GetCurrentProfile()->world_range);
    if (taken < 0 || m_mwinp->IsPopupOn())
        return;
    char time_text[TTRIAL_TEXT_SIZE];
    Car::GetTimeText(inserted.time, time_text, sizeof time_text);
    char question[TTRIAL_QUESTION_SIZE];
    if (!EngLanguagesFormatString("WorldTimes_NewHighScoreSubmit", kRangeQuestionTexts[taken], time_text,
                                  RaceNamesGetClass(Formula()), question, sizeof question))
        return;
    m_question_range = taken;
    m_mwinp->PopupOkCancel(nullptr, question, SubmitQuestionCB, this);
}

// The question named a range: its best time is the one submitted.
void TTrialCC::SubmitQuestionCB(MWin* mwin, char result, void* user_data)
{
    (void)mwin;
    TTrialCC* screen = static_cast<TTrialCC*>(user_data);
    if (result == MWIN_POPUP_RESULT_OK && screen)
        screen->m_game->GetTimesWorld()->SubmitBestTime(screen->m_question_range);
}

unsigned TTrialCC::GetWorldTimesTableId()
{
    return unsigned(Track() + 10 * Formula() + 11) * 1000 + unsigned(LapsOfTab());
}

_ScoresScore* TTrialCC::GetBestTimeAsScore(int range)
{
    SettingsClass* settings = m_game->GetSettings();
    settings->GetFilteredTimes(Formula(), Track(), m_laps_tab, range);
    const UserRecord* profile = m_game->GetCurrentProfile();
    const LocalTimesTable* filtered = settings->GetFilteredTable();
    const LocalTimeEntry* best = nullptr;
    for (int row = 0; row < filtered->count; row++) {
        const LocalTimeEntry& entry = filtered->entries[row];
        if (strncmp(entry.name, profile->name, sizeof entry.name) != 0 ||
            strncmp(entry.country, profile->country, sizeof entry.country) != 0 || entry.time == 0)
            continue;
        if (!best || entry.time < best->time)
            best = &entry;
    }
    memset(&m_score, 0, sizeof m_score);
    if (best) {
        m_score.date = best->date;
        m_score.uid = EngUInt16(profile->user_id);
        snprintf(m_score.name, sizeof m_score.name, "%.*s", kUserTimeNameSize - 1, profile->name);
        EngSafeStrcpy(m_score.cc, profile->country, sizeof m_score.cc);
        m_score.platform = PlatformGetCurrentPlatform();
        m_score.score = best->time < kScoreBase ? EngInt32(kScoreBase - best->time) : 0;
    }
    // The table on screen stays the one of the profile's range.
    settings->GetFilteredTimes(Formula(), Track(), m_laps_tab, profile->world_range);
    return best ? &m_score : nullptr;
}

void TTrialCC::SetWorldTimesMessage(const char* text)
{
    MWinButton* info = GetButton(BUT_TIMES_INFO);
    if (!info || !text || !text[0])
        return;
    info->SetText(text);
    info->Show();
}

void TTrialCC::TimeSubmittedCB(bool accepted)
{
    if (accepted)
        m_game->GetTimesWorld()->DeleteScoresFiles();
}

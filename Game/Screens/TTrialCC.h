#pragma once

// The time trial and world times screen (TTRL): a track and a lap count to drive alone against the clock,
// optionally against the ghost of the best run, and the best times of that class, track and lap count, from
// this computer's tables or from the world service, for all time, the year, the month or the week. After a
// time trial the game inserts the time here and asks whether to submit a new best.

#include "Engine/Core/EngTypes.h"
#include "Game/SettingsClass.h"
#include "Game/Screens/TTrialCollectionController.h"
#include "Game/TimesWorld.h"

constexpr int TTRIAL_NUM_LAPS_TABS = 5;
constexpr int TTRIAL_TEXT_SIZE = 64;
constexpr int TTRIAL_QUESTION_SIZE = 512;

// Times source of the profile.
enum _TTrialSource
{
    TTRIAL_SOURCE_LOCAL = 0,
    TTRIAL_SOURCE_WORLD = 1,
};

class TTrialCC : public TTrialCollectionController, public TimesWorldScreen
{
public:
    explicit TTrialCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    void TickCB() override;
    void RenderCB(int pass) override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    void StartTimeTrial();
    // After a time trial of normal play: the player's time goes into the local table in order.
    void AddTimeToLocalTimes(int unused);
    // Asks whether to submit the time just inserted when it is the driver's best in some range.
    void CheckSubmittingFastestTime();

    unsigned GetWorldTimesTableId() override;
    _ScoresScore* GetBestTimeAsScore(int range) override;
    void SetWorldTimesMessage(const char* text) override;
    void TimeSubmittedCB(bool accepted) override;

    // What the table shows, for its callbacks.
    const char* GetCellText(int row, int column);
    const float* GetCellColour(int row, int column) const;
    const float* GetCellScale(int row, int column) const;
    const LocalTimesTable* GetShownTable() const { return m_shown; }
    int GetInsertedRow() const { return m_inserted_row; }
    int GetLapsTab() const { return m_laps_tab; }

private:
    static void SubmitQuestionCB(MWin* mwin, char result, void* user_data);

    int LapsOfTab() const;
    bool IsWorldMode() const;
    int Formula() const;
    int Track() const;
    void BindProfileChoices();
    void ChooseLapsTab();
    void KeepLaps();
    void SourceChanged();
    void RangeChanged();
    void Refresh();
    void FillTable();
    void FillWorldCopy();
    void SetupTablePanel(int rows);
    void EnableTableButtons();
    bool HasDriversRow(const LocalTimesTable* table) const;
    bool IsDriversEntry(const LocalTimeEntry& entry) const;
    void ResetGhost();
    bool GhostFileExists();
    void TickFailure();
    void TickWorld();
    void SetUpdateButton(const char* text, const float* colour);
    void DrawFlagsAndIcons();
    int FindTakenRange(const LocalTimeEntry& inserted);

    int m_inserted_row = -1;
    LocalTimesTable m_world = {};
    int m_laps_tab = 0;
    double m_failure_time = 0.0;
    char m_text[TTRIAL_TEXT_SIZE] = "";
    _ScoresScore m_score = {};
    const LocalTimesTable* m_shown = nullptr;
    double m_next_tick = 0.0;
    float m_pulse_phase = 0.0f;
    // The new row's colour: white with a pulsing alpha.
    float m_highlight[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    int m_question_range = 0;
};

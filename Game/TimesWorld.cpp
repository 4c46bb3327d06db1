#include "Game/TimesWorld.h"

#include <cstring>
#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/MWin/MWin.h"
#include "Game/Game.h"
#include "Game/Resolution.h"
#include "Game/Users.h"
#include "Online/ScoresSubmit.h"

namespace {

constexpr const char* kInternalError = "Internal Error";
constexpr int kNumRanges = 4;
// The digits the service fills for other games; this one shows none of them.
constexpr int kClearedDigits = 3;

} // namespace

TimesWorld::TimesWorld(Game* game) : m_game(game)
{
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game.");
}

TimesWorld::~TimesWorld()
{
    DeleteScoresMainInstance();
}

int TimesWorld::ProfileRange() const
{
    int range = m_game->GetCurrentProfile()->world_range;
    return range >= 0 && range < kNumRanges ? range : SCORES_RANGE_ALL_TIME;
}

bool TimesWorld::CreateScoresMainInstance()
{
    DeleteScoresMainInstance();
    if (!m_screen) {
        DebugError(ENG_FUNC, "No screen");
        return false;
    }
    m_scores = new (std::nothrow) ScoresMain();
    if (!m_scores) {
        DebugError(ENG_FUNC, "No memory");
        return false;
    }
    if (m_scores->Setup(SCORES_PROGRAM_GAME, TIMES_WORLD_GAME_VERSION, TIMES_WORLD_ROWS,
                        m_screen->GetWorldTimesTableId(), _ScoresRange(ProfileRange()), nullptr, true,
                        TIMES_WORLD_INTERVAL_MINUTES))
        return true;
    DeleteScoresMainInstance();
    return false;
}

signed char TimesWorld::UpdateIfNeeded()
{
    if (!m_scores && !CreateScoresMainInstance())
        return 0;
    return m_scores->UpdateIfNeeded(false);
}

bool TimesWorld::Update()
{
    if (!m_scores && !CreateScoresMainInstance())
        return false;
    return m_scores->Update();
}

bool TimesWorld::IsUpdating() const
{
    return m_scores && m_scores->IsUpdating();
}

signed char TimesWorld::IsUpdateFinished()
{
    if (!m_scores) {
        DebugError(ENG_FUNC, "Class not setup.");
        return 0;
    }
    _EngInternetThreadReadResult result = ENG_READ_NOT_STARTED;
    const char* message = nullptr;
    signed char finished = m_scores->IsUpdateFinished(&result, &message);
    if (m_screen && message && message[0])
        m_screen->SetWorldTimesMessage(message);
    else if (m_screen && result == ENG_READ_OUT_OF_DATE)
        m_screen->SetWorldTimesMessage(TIMES_WORLD_OUT_OF_DATE);
    if (finished != 1)
        return finished;
    _ScoresScore* rows = m_scores->GetScoresList(false);
    for (int row = 0; rows && row < m_scores->GetNumScores(); row++)
        memset(rows[row].digits, 0, kClearedDigits);
    return finished;
}

_ScoresScore* TimesWorld::GetScoresList()
{
    return m_scores ? m_scores->GetScoresList(true) : nullptr;
}

int TimesWorld::GetNumScores() const
{
    return m_scores ? m_scores->GetNumScores() : 0;
}

void TimesWorld::DeleteScoresMainInstance()
{
    delete m_scores;
    m_scores = nullptr;
}

void TimesWorld::DeleteScoresFiles()
{
    DeleteScoresMainInstance();
    UserRecord* profile = m_game->GetCurrentProfile();
    EngInt32 kept = profile->world_range;
    for (int range = 0; range < kNumRanges; range++) {
        profile->world_range = range;
        if (CreateScoresMainInstance())
            m_scores->DeleteScoresFile();
        DeleteScoresMainInstance();
    }
    profile->world_range = kept;
}

void TimesWorld::SubmitBestTime(int range)
{
    SubmitTime(m_screen ? m_screen->GetBestTimeAsScore(range) : nullptr);
}

void TimesWorld::SubmitTime(const _ScoresScore* score)
{
    MWin* gui = m_game->GetMWin();
    if (!score || !m_screen) {
        DebugError(ENG_FUNC, kInternalError);
        gui->PopupMessage(kInternalError);
        return;
    }
    if (score->score == 0) {
        gui->PopupMessage(kInternalError);
        return;
    }
    int result = ScoresSubmitScore(SCORES_PROGRAM_GAME, TIMES_WORLD_GAME_VERSION, m_screen->GetWorldTimesTableId(),
                                   score, gui, nullptr);
    if (result == SCORES_SUBMIT_ACCEPTED)
        m_screen->TimeSubmittedCB(true);
    NoteSubmitResult(result);
}

// Any answer from the service proves the connection; an out-of-date answer makes the next start check the
// version whatever the week.
void TimesWorld::NoteSubmitResult(int result)
{
    if (result < 1)
        return;
    ResolutionSettings* settings = ResolutionGetSettings();
    settings->internet_test[ResolutionGetSetup()->second_number == 0 ? 0 : 1] = 1;
    if (result == SCORES_SUBMIT_OUT_OF_DATE)
        memset(&settings->last_check, 0, sizeof settings->last_check);
}

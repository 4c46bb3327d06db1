#pragma once

// The championship next race screen (CRCE): the leaderboard, the next stage and its start, or the final
// placing once the six stages are run. Leaving it saves the championship and, at the end, grants licences.

#include "Game/ChampClass.h"
#include "Game/Screens/CRaceCollectionController.h"

struct UserRecord;

struct ChampStanding
{
    int driver;
    int points;
};

class CRaceCC : public CRaceCollectionController
{
public:
    explicit CRaceCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    // Highest points first; equal points by the lower driver number.
    static void SortLeaderboard(const ChampRecord& record, ChampStanding board[CHAMP_CARS]);
    // The licences and the expert award that a final place earns; nothing held is ever taken away.
    static void GrantAwards(UserRecord* profile, int formula, int level, int place);

    int GetPlayerPlace() const { return m_player_place; }

private:
    void ShowLeaderboard();
    void ShowStage(ChampRecord* record);
    void ShowFinalPlace();
    void StartRace();
    void Leave();

    ChampStanding m_board[CHAMP_CARS] = {};
    int m_player_place = -1;
};

#pragma once

// Sends one new world best time to the maker's scores script and tells the player what the server said.
// Blocks the main thread for the transfer.

#include "Online/Scores.h"

class MWin;

typedef int _ScoresSubmitResult;
constexpr _ScoresSubmitResult SCORES_SUBMIT_ACCEPTED = 4;
constexpr _ScoresSubmitResult SCORES_SUBMIT_TOO_LOW = 3;
constexpr _ScoresSubmitResult SCORES_SUBMIT_BETTER_EXISTS = 6;
constexpr _ScoresSubmitResult SCORES_SUBMIT_OUT_OF_DATE = 7;
constexpr _ScoresSubmitResult SCORES_SUBMIT_REFUSED = -1;
constexpr _ScoresSubmitResult SCORES_SUBMIT_NO_INTERNET = -2;
constexpr _ScoresSubmitResult SCORES_SUBMIT_TRANSFER_FAILED = -3;

constexpr const char* SCORES_SUBMIT_KEY = "PODIUM_V37";
constexpr unsigned SCORES_SUBMIT_REPLY_SIZE = 16;

// gui may be null: popups show only when it is on and no popup is open already. out_minimum (may be null)
// receives the table's minimum when the score was too low.
_ScoresSubmitResult ScoresSubmitScore(_ScoresProgram program, unsigned short game_version, unsigned table_id,
                                      const _ScoresScore* score, MWin* gui, int* out_minimum);

// The JSON text of the record (a new block from EngMalloc), or null.
char* ScoresSubmitMakeRecordText(_ScoresProgram program, unsigned short game_version, unsigned table_id,
                                 const _ScoresScore* score);
// The date as the server counts it: (year x 15 + month) x 50 + day.
unsigned ScoresSubmitDateValue(const _EngMiscDate* date);

#pragma once

// One world best-times table: fetched in the background from the maker's scores script, parsed row by row,
// kept in a cache file in the preferences folder's "Scores" folder, and refreshed when the cache grows old.
// Main thread only; the download runs on a background reader that is only polled.

#include "Engine/Core/EngInternetThread.h"
#include "Engine/Core/EngMiscDate.h"
#include "Engine/Core/EngTypes.h"

// One row of a table, stored raw in the cache file: the layout is fixed.
struct _ScoresScore {
    EngInt32 score;
    EngInt32 value2;
    EngUInt32 value3;
    EngUInt32 value4;
    _EngMiscDate date;
    EngUInt16 uid;
    char name[32];
    char cc[3];
    char fb[20];
    char platform;
    EngInt8 digits[4];
    EngUInt8 padding[2];
};
static_assert(sizeof(_ScoresScore) == 88, "_ScoresScore is an 88-byte record");

typedef int _ScoresProgram;
constexpr _ScoresProgram SCORES_PROGRAM_GAME = 40;
// Never reads or writes a cache file.
constexpr _ScoresProgram SCORES_PROGRAM_TEST = 99;

enum _ScoresRange : int {
    SCORES_RANGE_ALL_TIME = 0,
    SCORES_RANGE_YEAR = 1,
    SCORES_RANGE_MONTH = 2,
    SCORES_RANGE_WEEK = 3,
};

typedef bool (*ScoresValidateCB)(const _ScoresScore* score);

constexpr unsigned SCORES_REPLY_SIZE = 8192;
constexpr unsigned SCORES_TEXT_SIZE = 512;
constexpr int SCORES_READER_RING = 20;
constexpr double SCORES_TIMEOUT_SECONDS = 15.0;
// More rows than any reply of SCORES_REPLY_SIZE bytes can carry.
constexpr int SCORES_MAX_ROWS = 4096;
constexpr const char* SCORES_SCRIPT = "Scores.fcgi";

class ScoresMain
{
public:
    ScoresMain();
    ~ScoresMain();
    ScoresMain(const ScoresMain&) = delete;
    ScoresMain& operator=(const ScoresMain&) = delete;

    bool Setup(_ScoresProgram program, unsigned short game_version, int rows, unsigned table_id, _ScoresRange range,
               ScoresValidateCB validate, bool auto_update, unsigned interval_minutes);
    // 0 nothing done, 1 a download runs, 2 loaded from the cache; else the result of Update.
    char UpdateIfNeeded(bool force);
    bool Update();
    // 1 table received, 0 still running, -2 the reader never started, -1 anything else.
    char IsUpdateFinished(_EngInternetThreadReadResult* out_result, const char** out_message);
    bool IsUpdating() const { return m_updating; }
    void StopUpdating();

    int GetNumScores() const;
    _ScoresScore* GetScoresList(bool report);
    _ScoresScore* GetScore(int n);
    void DeleteScoresFile();

    const char* GetCacheFilename() const { return m_cache_name; }
    double GetNextUpdateTime() const { return m_next_update; }

private:
    void Clear();
    void ReleaseCurrentReader();
    bool IsSetUp(const char* own_name) const;
    bool BuildCacheName();
    bool LoadCache();
    bool ReadCacheRows(class EngFile* file, int count);
    void WriteCache();
    void ParseTable(const char* text);
    char ReplyResult(_EngInternetThreadReadResult* out_result, const char** out_message);
    char Finish(_EngInternetThreadReadResult* out_result, _EngInternetThreadReadResult result, char value);

    bool m_setup;
    _ScoresProgram m_program;
    unsigned m_table_id;
    _ScoresRange m_range;
    ScoresValidateCB m_validate;
    unsigned short m_game_version;
    int m_capacity;
    bool m_auto_update;
    unsigned m_interval;
    int m_num_rows;
    _ScoresScore* m_rows;
    double m_next_update;
    bool m_updating;
    char* m_reply;
    char* m_cache_name;
    unsigned m_reply_length;
    int m_sp;
    int m_ep;
    char* m_request;
    EngInternetThread* m_readers[SCORES_READER_RING];
    int m_reader_index;
    // A server's message outlives the reply until the next download starts.
    char m_message[SCORES_REPLY_SIZE];
};

bool ScoresMainIsScoreValid(const _ScoresScore* score, bool check_platform);
bool ScoresMainGetRangesFromDate(const _EngMiscDate* a, const _EngMiscDate* b, char* same_day, char* same_week,
                                 char* same_month, char* same_year);
bool ScoresMainIsDateInRange(const _EngMiscDate* date, const _EngMiscDate* today, _ScoresRange range);
// Reads count numbers, separated by spaces, from the start of a server's reply text; what follows them is
// left. False when one is missing, is not a plain decimal number or lies outside [low, high]: a server's
// number is never taken on trust.
bool ScoresReadReplyNumbers(const char* text, long long low, long long high, long long* out, int count);

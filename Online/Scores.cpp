#include "Online/Scores.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngInternet.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngPrefFolder.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Game/Screens/Countries.h"
#include "Game/Screens/PlatformIcons.h"

namespace {

const char k_range_letters[] = "AYMW";
constexpr int k_fields = 10;
constexpr int k_logged_line = 200;

// The cache file: game version, download time, row count, rows.
constexpr unsigned k_cache_header = sizeof(EngUInt16) + sizeof(_EngMiscDateAndTime) + sizeof(EngInt32);

struct Field {
    const char* text;
    unsigned length;
};

// The whole field must be a decimal number within [low, high].
bool ParseNumber(const Field& field, long long low, long long high, long long* out)
{
    if (field.length == 0 || field.length > 20)
        return false;
    char digits[24];
    memcpy(digits, field.text, field.length);
    digits[field.length] = 0;
    if (digits[0] == '+' || isspace((unsigned char)digits[0]))
        return false;
    char* end = nullptr;
    errno = 0;
    long long value = strtoll(digits, &end, 10);
    if (errno || end != digits + field.length || value < low || value > high)
        return false;
    *out = value;
    return true;
}

bool ParseDigits(const char* text, int count, int* out)
{
    int value = 0;
    for (int i = 0; i < count; i++) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    *out = value;
    return true;
}

// "YYYY?MM?DD" with any separators.
bool ParseDate(const Field& field, _EngMiscDate* date)
{
    int year, month, day;
    if (field.length != 10 || !ParseDigits(field.text, 4, &year) || !ParseDigits(field.text + 5, 2, &month) ||
        !ParseDigits(field.text + 8, 2, &day))
        return false;
    if (year < 2000 || month < 1 || month > 12 || day < 1 || day > 31)
        return false;
    date->year = (EngUInt32)year;
    date->month = (EngInt8)month;
    date->day = (EngInt8)day;
    return true;
}

// A text field copied with a terminator; length limits are the caller's.
void CopyField(const Field& field, char* out)
{
    memcpy(out, field.text, field.length);
    out[field.length] = 0;
}

bool ParseNumbers(const Field* fields, _ScoresScore* row)
{
    long long score, value2, value3, value4, uid;
    if (!ParseNumber(fields[0], 0, INT32_MAX, &score) || !ParseNumber(fields[1], INT32_MIN, INT32_MAX, &value2) ||
        !ParseNumber(fields[2], 0, UINT32_MAX, &value3) || !ParseNumber(fields[3], 0, UINT32_MAX, &value4) ||
        !ParseNumber(fields[4], 1, UINT16_MAX, &uid))
        return false;
    row->score = (EngInt32)score;
    row->value2 = (EngInt32)value2;
    row->value3 = (EngUInt32)value3;
    row->value4 = (EngUInt32)value4;
    row->uid = (EngUInt16)uid;
    return true;
}

bool ParseTexts(const Field* fields, _ScoresScore* row)
{
    const Field& name = fields[5];
    const Field& country = fields[6];
    const Field& free_text = fields[7];
    if (name.length < 1 || name.length >= sizeof row->name || free_text.length < 1 ||
        free_text.length >= sizeof row->fb || country.length < 2)
        return false;
    char code[3] = {country.text[0], country.text[1], 0};
    if (CountryGetCountryNumFromCode(code, true) < 0)
        return false;
    _EngMiscDate date = {};
    if (!ParseDate(fields[8], &date))
        return false;
    CopyField(name, row->name);
    for (char* c = row->name; *c; c++)
        if (*c == '_')
            *c = ' ';
    EngSafeStrcpy(row->cc, code, sizeof row->cc);
    CopyField(free_text, row->fb);
    row->date = date;
    row->platform = fields[9].length ? fields[9].text[0] : 0;
    return true;
}

// A row's texts must end inside their fields and name a known country, or the row is not ours.
bool IsCachedRowSound(const _ScoresScore* row)
{
    if (!memchr(row->name, 0, sizeof row->name) || !memchr(row->cc, 0, sizeof row->cc) ||
        !memchr(row->fb, 0, sizeof row->fb))
        return false;
    return row->name[0] && CountryGetCountryNumFromCode(row->cc, true) >= 0;
}

// One reply line (without its newline) into row. 1 good, 0 bad, -1 too few fields (logged).
signed char ScoresMainParseLine(const char* line, unsigned length, _ScoresScore* row)
{
    Field fields[k_fields];
    unsigned start = 0;
    for (int i = 0; i < k_fields - 1; i++) {
        const char* space = (const char*)memchr(line + start, ' ', length - start);
        if (!space) {
            DebugInfo("Invalid line received: <%.*s>", (int)(length < k_logged_line ? length : k_logged_line), line);
            return -1;
        }
        fields[i].text = line + start;
        fields[i].length = (unsigned)(space - (line + start));
        start = (unsigned)(space - line) + 1;
    }
    fields[k_fields - 1].text = line + start;
    fields[k_fields - 1].length = length - start;
    _ScoresScore parsed = *row;
    if (!ParseNumbers(fields, &parsed) || !ParseTexts(fields, &parsed))
        return 0;
    *row = parsed;
    return 1;
}

} // namespace

bool ScoresReadReplyNumbers(const char* text, long long low, long long high, long long* out, int count)
{
    for (int i = 0; i < count; i++) {
        while (*text == ' ')
            text++;
        Field field = {text, (unsigned)strcspn(text, " \t\r\n")};
        if (!ParseNumber(field, low, high, &out[i]))
            return false;
        text += field.length;
    }
    return true;
}

ScoresMain::ScoresMain()
    : m_setup(false), m_program(0), m_table_id(0), m_range(SCORES_RANGE_ALL_TIME), m_validate(nullptr),
      m_game_version(0), m_capacity(0), m_auto_update(false), m_interval(0), m_num_rows(0), m_rows(nullptr),
      m_next_update(0.0), m_updating(false), m_reply(nullptr), m_cache_name(nullptr), m_reply_length(0), m_sp(1),
      m_ep(1), m_request(nullptr), m_readers(), m_reader_index(0), m_message()
{
    m_request = (char*)EngMalloc(SCORES_TEXT_SIZE, "ScoresMain::ScoresMain", true);
}

ScoresMain::~ScoresMain()
{
    Clear();
    for (EngInternetThread*& reader : m_readers) {
        if (!reader)
            continue;
        reader->Destroy();
        delete reader;
        reader = nullptr;
    }
    EngFree(m_request, false, "ScoresMain::~ScoresMain");
}

void ScoresMain::Clear()
{
    if (m_setup)
        StopUpdating();
    EngFree(m_cache_name, false, "ScoresMain::Clear");
    EngFree(m_rows, false, "ScoresMain::Clear");
    EngFree(m_reply, false, "ScoresMain::Clear");
    m_cache_name = nullptr;
    m_rows = nullptr;
    m_reply = nullptr;
    m_num_rows = 0;
    m_setup = false;
}

bool ScoresMain::IsSetUp(const char* own_name) const
{
    if (!m_setup)
        DebugErrorByCode(own_name, DEBUG_CODE_NSTP);
    return m_setup;
}

bool ScoresMain::Setup(_ScoresProgram program, unsigned short game_version, int rows, unsigned table_id,
                       _ScoresRange range, ScoresValidateCB validate, bool auto_update, unsigned interval_minutes)
{
    Clear();
    if (rows <= 0 || rows > SCORES_MAX_ROWS || program == 0 || game_version == 0 || range < SCORES_RANGE_ALL_TIME ||
        range > SCORES_RANGE_WEEK || interval_minutes == 0) {
        DebugError(ENG_FUNC, "Parameter Error");
        return false;
    }
    m_program = program;
    m_game_version = game_version;
    m_capacity = rows;
    m_table_id = table_id;
    m_range = range;
    m_validate = validate;
    m_auto_update = auto_update;
    m_interval = interval_minutes;
    m_next_update = 0.0;
    m_updating = false;
    m_sp = 1;
    m_ep = rows - 1;
    m_rows = (_ScoresScore*)EngMalloc((unsigned)rows * sizeof(_ScoresScore), "ScoresMain::Setup", true);
    m_cache_name = (char*)EngMalloc(SCORES_TEXT_SIZE, "ScoresMain::Setup", true);
    if (!m_rows || !m_cache_name || !BuildCacheName()) {
        Clear();
        return false;
    }
    m_setup = true;
    return true;
}

bool ScoresMain::BuildCacheName()
{
    if (m_program == SCORES_PROGRAM_TEST) {
        EngSafeStrcpy(m_cache_name, "ScoresMainTest.sco", SCORES_TEXT_SIZE);
        return true;
    }
    const char* folder = PrefFolderGetSubFolder("Scores", true);
    int written = snprintf(m_cache_name, SCORES_TEXT_SIZE, "%s%sScores_%d_%u_%c.sco", folder, "\\", m_program,
                           m_table_id, k_range_letters[m_range]);
    if (written < 0 || (unsigned)written >= SCORES_TEXT_SIZE) {
        DebugError(ENG_FUNC, "Scores file name too long");
        return false;
    }
    return true;
}

char ScoresMain::UpdateIfNeeded(bool force)
{
    if (!IsSetUp(ENG_FUNC) || !m_cache_name || !m_rows)
        return 0;
    if (m_updating)
        return 1;
    if (force)
        m_next_update = eng_time - 0.1;
    if (m_next_update == 0.0) {
        m_next_update = eng_time + 0.2;
        return 0;
    }
    if (m_next_update > eng_time)
        return 0;
    if (m_program != SCORES_PROGRAM_TEST && LoadCache())
        return 2;
    return m_auto_update ? (char)Update() : 0;
}

bool ScoresMain::LoadCache()
{
    EngFile file;
    if (!file.OpenForReadingQuietly(m_cache_name, false))
        return false;
    EngUInt16 version = 0;
    _EngMiscDateAndTime saved = {};
    EngInt32 count = -1;
    if (!file.Read(&version, sizeof version, false) || version != m_game_version ||
        !file.Read(&saved, sizeof saved, false) || !file.Read(&count, sizeof count, false))
        return false;
    _EngMiscDateAndTime now_time;
    EngMiscGetCurrentDateAndTime(&now_time);
    unsigned now = EngMiscGetMinutesFromDateAndTime(&now_time);
    unsigned saved_minutes = EngMiscGetMinutesFromDateAndTime(&saved);
    // A file from the future (a clock set back) counts as written now.
    if (saved_minutes > now)
        saved_minutes = now;
    if (saved_minutes < now - m_interval || count < 0 || count >= m_capacity ||
        file.GetSize() != k_cache_header + (unsigned)count * sizeof(_ScoresScore))
        return false;
    if (!ReadCacheRows(&file, count))
        return false;
    file.Close();
    double remaining = (double)(m_interval - now + saved_minutes) * 60.0;
    m_next_update = eng_time + remaining;
    if (remaining <= 0.0)
        EngFileDelete(m_cache_name, true);
    return true;
}

// All rows are read and checked before any replaces the rows in memory, so a bad file leaves them alone.
bool ScoresMain::ReadCacheRows(EngFile* file, int count)
{
    if (count == 0) {
        m_num_rows = 0;
        return true;
    }
    unsigned size = (unsigned)count * sizeof(_ScoresScore);
    _ScoresScore* rows = (_ScoresScore*)EngMalloc(size, "ScoresMain::ReadCacheRows", false);
    bool ok = rows && file->Read(rows, (int)size, false);
    for (int i = 0; ok && i < count; i++)
        ok = IsCachedRowSound(&rows[i]);
    if (ok) {
        int stored = 0;
        for (int i = 0; i < count; i++)
            if (!m_validate || m_validate(&rows[i]))
                m_rows[stored++] = rows[i];
        m_num_rows = stored;
    }
    EngFree(rows, false, "ScoresMain::ReadCacheRows");
    return ok;
}

void ScoresMain::ReleaseCurrentReader()
{
    EngInternetThread*& current = m_readers[m_reader_index];
    if (!current)
        return;
    if (!current->IsThreadRunning()) {
        current->Destroy();
        delete current;
        current = nullptr;
        return;
    }
    int next = (m_reader_index + 1) % SCORES_READER_RING;
    EngInternetThread*& parked = m_readers[next];
    if (parked) {
        if (parked->IsThreadRunning())
            parked->CancelReading();
        parked->Destroy();
        delete parked;
        parked = nullptr;
    }
    current->CancelReading();
    m_reader_index = next;
}

bool ScoresMain::Update()
{
    if (!m_setup || !m_request) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        return false;
    }
    if (m_updating)
        return true;
    ReleaseCurrentReader();
    m_reply_length = 0;
    m_message[0] = 0;
    if (!m_reply)
        m_reply = (char*)EngMalloc(SCORES_REPLY_SIZE, "ScoresMain::Update", true);
    if (!m_reply)
        return false;

    char path[SCORES_TEXT_SIZE];
    snprintf(path, sizeof path, "/cgi-bin/common/scores/%s?zz=%d&gv=%u&pr=%d&st=%u&ra=%d&sp=%d&ep=%d", SCORES_SCRIPT,
             1, (unsigned)m_game_version, m_program, m_table_id, (int)m_range, m_sp, m_ep);
    if (!EngInternetMakeMakerURL(path, m_request, SCORES_TEXT_SIZE)) {
        DebugError(ENG_FUNC, "Request too long");
        return false;
    }

    char name[ENG_THREAD_NAME_SIZE];
    snprintf(name, sizeof name, "SCMT%d", m_reader_index);
    EngInternetThread* reader = new (std::nothrow) EngInternetThread(name, 0);
    if (!reader) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        StopUpdating();
        return false;
    }
    m_readers[m_reader_index] = reader;
    if (!reader->StartReading(m_request, SCORES_REPLY_SIZE, SCORES_TIMEOUT_SECONDS)) {
        DebugError(ENG_FUNC, "StartReading() failed");
        StopUpdating();
        return false;
    }
    m_updating = true;
    m_next_update = eng_time + m_interval * 60.0;
    return true;
}

void ScoresMain::StopUpdating()
{
    EngFree(m_reply, false, "ScoresMain::StopUpdating");
    m_reply = nullptr;
    m_reply_length = 0;
    ReleaseCurrentReader();
    m_updating = false;
}

char ScoresMain::Finish(_EngInternetThreadReadResult* out_result, _EngInternetThreadReadResult result, char value)
{
    if (out_result)
        *out_result = result;
    StopUpdating();
    return value;
}

char ScoresMain::IsUpdateFinished(_EngInternetThreadReadResult* out_result, const char** out_message)
{
    if (!IsSetUp(ENG_FUNC))
        return 0;
    EngInternetThread* reader = m_readers[m_reader_index];
    if (!m_rows || !m_updating || !reader)
        return -1;
    // One look at the status: it may move on between two looks.
    _EngInternetThreadReadResult status = reader->GetReadingStatus(0.0);
    if (status == ENG_READ_IN_PROGRESS) {
        if (out_result)
            *out_result = ENG_READ_IN_PROGRESS;
        return 0;
    }
    if (status == ENG_READ_NOT_STARTED)
        return Finish(out_result, ENG_READ_NOT_STARTED, -2);
    if (status != ENG_READ_DONE) {
        DebugInfoQuickAlt(ENG_FUNC, "Update failed [%d]", status);
        return Finish(out_result, status, -1);
    }

    unsigned size = 0;
    char* data = reader->GetDataReadFreeWhenDone(&size);
    if (!data || size == 0) {
        EngFree(data, false, "ScoresMain::IsUpdateFinished");
        DebugInfo("Update failed");
        return Finish(out_result, ENG_READ_FAILED, -1);
    }
    if (size >= SCORES_REPLY_SIZE || !m_reply) {
        DebugError(ENG_FUNC, "Too much data read.");
        EngFree(data, false, "ScoresMain::IsUpdateFinished");
        return Finish(out_result, ENG_READ_FAILED, -1);
    }
    memcpy(m_reply, data, size);
    m_reply[size] = 0;
    m_reply_length = size;
    EngFree(data, false, "ScoresMain::IsUpdateFinished");
    ReleaseCurrentReader();
    m_next_update = eng_time + m_interval * 60.0;
    m_updating = false;
    return ReplyResult(out_result, out_message);
}

char ScoresMain::ReplyResult(_EngInternetThreadReadResult* out_result, const char** out_message)
{
    if (m_reply_length < 3) {
        DebugError(ENG_FUNC, "No data received");
        return Finish(out_result, ENG_READ_FAILED, -1);
    }
    const char* reply = m_reply;
    if (strncmp(reply, "Y \n", 3) == 0) {
        ParseTable(reply + 3);
        if (m_program != SCORES_PROGRAM_TEST)
            WriteCache();
        return Finish(out_result, ENG_READ_DONE, 1);
    }
    if (strncmp(reply, " X ", 3) == 0) {
        DebugError(ENG_FUNC, "Error received: <%s>", reply);
        return Finish(out_result, ENG_READ_INVALID_REPLY, -1);
    }
    if (strncmp(reply, " M ", 3) == 0) {
        EngSafeStrcpy(m_message, reply + 3, sizeof m_message);
        DebugInfo("Main scores message received: <%s>", m_message);
        if (out_message)
            *out_message = m_message;
        return Finish(out_result, ENG_READ_DONE, -1);
    }
    if (strncmp(reply, " V ", 3) == 0) {
        long long numbers[3] = {};
        if (!ScoresReadReplyNumbers(reply + 3, INT32_MIN, INT32_MAX, numbers, 3))
            numbers[0] = numbers[1] = numbers[2] = 0;
        int server_version = (int)numbers[0], newest = (int)numbers[1], third = (int)numbers[2];
        if (server_version == m_game_version && server_version < newest)
            return Finish(out_result, ENG_READ_OUT_OF_DATE, -1);
        DebugError(ENG_FUNC, "Version problem: <%.64s>  <%d,%d> <%d> <%d>", reply, server_version,
                   (int)m_game_version, newest, third);
        return Finish(out_result, ENG_READ_INVALID_REPLY, -1);
    }
    DebugError(ENG_FUNC, "Invalid data received: <%.64s>", reply);
    return Finish(out_result, ENG_READ_INVALID_REPLY, -1);
}

void ScoresMain::ParseTable(const char* text)
{
    m_num_rows = 0;
    while (*text && *text != '*' && m_num_rows < m_capacity) {
        const char* newline = strchr(text, '\n');
        if (!newline)
            break;
        _ScoresScore* row = &m_rows[m_num_rows];
        if (ScoresMainParseLine(text, (unsigned)(newline - text), row) == 1 && (!m_validate || m_validate(row)))
            m_num_rows++;
        text = newline + 1;
    }
}

void ScoresMain::WriteCache()
{
    char temporary[SCORES_TEXT_SIZE + 8];
    snprintf(temporary, sizeof temporary, "%s.tmp", m_cache_name);
    _EngMiscDateAndTime now;
    EngMiscGetCurrentDateAndTime(&now);
    EngUInt16 version = m_game_version;
    EngInt32 count = m_num_rows;
    EngFile file;
    bool ok = file.CreateForWriting(temporary, false) && file.Write(&version, sizeof version) &&
              file.Write(&now, sizeof now) && file.Write(&count, sizeof count) &&
              (count == 0 || file.Write(m_rows, (unsigned)count * sizeof(_ScoresScore)));
    ok = file.Close() && ok;
    if (ok && EngFileReplaceFile(temporary, m_cache_name))
        return;
    DebugError(ENG_FUNC, "Could not write scores file <%s>", m_cache_name);
    EngFileDelete(temporary, false);
}

int ScoresMain::GetNumScores() const
{
    return IsSetUp(ENG_FUNC) ? m_num_rows : 0;
}

_ScoresScore* ScoresMain::GetScoresList(bool report)
{
    if (!IsSetUp(ENG_FUNC))
        return nullptr;
    if (!m_rows && report)
        DebugError(ENG_FUNC, "No scores");
    return m_rows;
}

_ScoresScore* ScoresMain::GetScore(int n)
{
    if (!IsSetUp(ENG_FUNC))
        return nullptr;
    if (!m_rows) {
        DebugError(ENG_FUNC, "No scores");
        return nullptr;
    }
    if (n < 0 || n >= m_num_rows) {
        DebugError(ENG_FUNC, "Bad num %d (%d)", n, m_num_rows);
        return nullptr;
    }
    return &m_rows[n];
}

void ScoresMain::DeleteScoresFile()
{
    if (!IsSetUp(ENG_FUNC))
        return;
    m_next_update = 0.0;
    if (m_cache_name && EngFileExists(m_cache_name, false))
        EngFileDelete(m_cache_name, true);
}

bool ScoresMainIsScoreValid(const _ScoresScore* score, bool check_platform)
{
    if (!score) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return false;
    }
    // A name that fills its 32 bytes without a terminator is refused by the service as well.
    bool name_ok = score->name[0] && memchr(score->name, 0, sizeof score->name);
    if (score->score < 1 || score->value2 < 0 || !name_ok || score->uid == 0) {
        DebugError(ENG_FUNC, "IE_IS [%ld %ld %.31s %d]", (long)score->score, (long)score->value2, score->name,
                   (int)score->uid);
        return false;
    }
    for (EngInt8 digit : score->digits) {
        if (digit < 0 || digit > 9) {
            DebugError(ENG_FUNC, "IS_IF [%d %d %d %d]", score->digits[0], score->digits[1], score->digits[2],
                       score->digits[3]);
            return false;
        }
    }
    if (!EngMiscIsDateValid(&score->date, true))
        return false;
    return !check_platform || PlatformIsPlatformValid(score->platform, true);
}

bool ScoresMainGetRangesFromDate(const _EngMiscDate* a, const _EngMiscDate* b, char* same_day, char* same_week,
                                 char* same_month, char* same_year)
{
    char* flags[] = {same_day, same_week, same_month, same_year};
    for (char* flag : flags)
        if (flag)
            *flag = 0;
    if (!a || !b || a->year <= 1900 || b->year <= 1900) {
        DebugError(ENG_FUNC, "Invalid dates");
        return false;
    }
    if (a->year != b->year)
        return true;
    if (same_year)
        *same_year = 1;
    if (a->month == b->month) {
        if (same_month)
            *same_month = 1;
        if (same_day && a->day == b->day)
            *same_day = 1;
    }
    if (same_week && EngMiscGetWeekNumberForDateISO(a) == EngMiscGetWeekNumberForDateISO(b))
        *same_week = 1;
    return true;
}

bool ScoresMainIsDateInRange(const _EngMiscDate* date, const _EngMiscDate* today, _ScoresRange range)
{
    if (range == SCORES_RANGE_ALL_TIME)
        return true;
    if (range < SCORES_RANGE_ALL_TIME || range > SCORES_RANGE_WEEK) {
        DebugError(ENG_FUNC, "Unknown range %d", (int)range);
        return false;
    }
    char day = 0, week = 0, month = 0, year = 0;
    if (!ScoresMainGetRangesFromDate(date, today, &day, &week, &month, &year))
        return false;
    if (range == SCORES_RANGE_YEAR)
        return year != 0;
    return range == SCORES_RANGE_MONTH ? month != 0 : week != 0;
}

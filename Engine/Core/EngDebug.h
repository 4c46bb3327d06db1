#pragma once

// The one reporting channel of the engine: a ring of recent messages in memory, one line per message
// appended to the log file, and the fatal-exit path. Safe to call from any thread.

#include "Engine/Core/EngTypes.h"

// The reporting function's own name; DebugCutDecoratedName reduces it to "Class::Method" for display.
#define ENG_FUNC __PRETTY_FUNCTION__

#if defined(__GNUC__)
#define ENG_PRINTF(fmt_index, first_arg) __attribute__((format(printf, fmt_index, first_arg)))
#else
#define ENG_PRINTF(fmt_index, first_arg)
#endif

enum _DebugMsgCode
{
    DebugMsgWarning = 0,
    DebugMsgError = 1,
    DebugMsgExit = 2,
    DebugMsgPopup = 3,
    DebugMsgInfo = 4,
    DebugMsgNote = 5,
    DebugMsgPlain = 6,
};

// Stored with each message; 0 for plain reports, 2 for warnings that are not errors.
typedef int _DebugNoteType;

// A four-character code, first character in the most significant byte.
typedef EngUInt32 _DebugErrorCode;

constexpr _DebugErrorCode DEBUG_CODE_ALEX = EngFourCC('A', 'L', 'E', 'X');
constexpr _DebugErrorCode DEBUG_CODE_ALSU = EngFourCC('A', 'L', 'S', 'U');
constexpr _DebugErrorCode DEBUG_CODE_BAPA = EngFourCC('B', 'A', 'P', 'A');
constexpr _DebugErrorCode DEBUG_CODE_CACN = EngFourCC('C', 'A', 'C', 'N');
constexpr _DebugErrorCode DEBUG_CODE_DNEX = EngFourCC('D', 'N', 'E', 'X');
constexpr _DebugErrorCode DEBUG_CODE_EXOC = EngFourCC('E', 'X', 'O', 'C');
constexpr _DebugErrorCode DEBUG_CODE_FILL = EngFourCC('F', 'I', 'L', 'L');
constexpr _DebugErrorCode DEBUG_CODE_IER2 = EngFourCC('I', 'E', 'R', '2');
constexpr _DebugErrorCode DEBUG_CODE_IERR = EngFourCC('I', 'E', 'R', 'R');
constexpr _DebugErrorCode DEBUG_CODE_LODF = EngFourCC('L', 'O', 'D', 'F');
constexpr _DebugErrorCode DEBUG_CODE_NAVL = EngFourCC('N', 'A', 'V', 'L');
constexpr _DebugErrorCode DEBUG_CODE_NIMP = EngFourCC('N', 'I', 'M', 'P');
constexpr _DebugErrorCode DEBUG_CODE_NLOD = EngFourCC('N', 'L', 'O', 'D');
constexpr _DebugErrorCode DEBUG_CODE_NOGM = EngFourCC('N', 'O', 'G', 'M');
constexpr _DebugErrorCode DEBUG_CODE_NSTP = EngFourCC('N', 'S', 'T', 'P');
constexpr _DebugErrorCode DEBUG_CODE_NVAL = EngFourCC('N', 'V', 'A', 'L');
constexpr _DebugErrorCode DEBUG_CODE_NVER = EngFourCC('N', 'V', 'E', 'R');
constexpr _DebugErrorCode DEBUG_CODE_OMEM = EngFourCC('O', 'M', 'E', 'M');
constexpr _DebugErrorCode DEBUG_CODE_OPFA = EngFourCC('O', 'P', 'F', 'A');
constexpr _DebugErrorCode DEBUG_CODE_STEX = EngFourCC('S', 'T', 'E', 'X');
constexpr _DebugErrorCode DEBUG_CODE_UNKN = EngFourCC('U', 'N', 'K', 'N');
constexpr _DebugErrorCode DEBUG_CODE_UPDT = EngFourCC('U', 'P', 'D', 'T');

constexpr int DEBUG_MAX_MESSAGES = 200;
constexpr int DEBUG_MESSAGE_TEXT_SIZE = 544;
constexpr int DEBUG_LOG_FILENAME_SIZE = 256;

// One entry of the ring.
struct DebugMessage
{
    char text[DEBUG_MESSAGE_TEXT_SIZE];
    _DebugMsgCode kind;
    _DebugNoteType note;
    double time;
};

// Reporters. "own_name" is ENG_FUNC (shown cut down); "qualified_name" is a plain "Class::Method".
void DebugError(const char* own_name, const char* format, ...) ENG_PRINTF(2, 3);
void DebugErrorByCode(const char* own_name, _DebugErrorCode code);
bool DebugCheck(bool ok, const char* qualified_name, const char* format, ...) ENG_PRINTF(3, 4);
bool DebugFatalCheck(bool ok, const char* own_name, const char* format, ...) ENG_PRINTF(3, 4);
bool DebugFatalCheckQualified(bool ok, const char* qualified_name, const char* format, ...) ENG_PRINTF(3, 4);
void DebugExit(const char* qualified_name, const char* format, ...) ENG_PRINTF(2, 3);
void DebugInfo(const char* format, ...) ENG_PRINTF(1, 2);
void DebugInfoQuick(const char* own_name, const char* format, ...) ENG_PRINTF(2, 3);
bool DebugInfoTimed(double* next_time, double interval, const char* format, ...) ENG_PRINTF(3, 4);
void DebugNote(_DebugNoteType note, const char* format, ...) ENG_PRINTF(2, 3);
void DebugNoteQuick(_DebugNoteType note, const char* own_name, const char* format, ...) ENG_PRINTF(3, 4);
void DebugInfoPlain(const char* format, ...) ENG_PRINTF(1, 2);
void DebugOverwriteMessage(int index, const char* format, ...) ENG_PRINTF(2, 3);

// For code that must not recurse into the log (the log's own file writing, worker threads).
void DebugErrorAlt(const char* own_name, const char* format, ...) ENG_PRINTF(2, 3);
void DebugInfoQuickAlt(const char* own_name, const char* format, ...) ENG_PRINTF(2, 3);

// Returns the shown form of a reporter's name: "?Read@EngFile@@QAEDPAXID@Z" gives "Read@EngFile",
// "signed char EngFile::Read(void*, int, bool)" gives "EngFile::Read". The result is a new block from
// EngMalloc unless it is the input itself (null or empty name); the caller frees it when it differs.
const char* DebugCutDecoratedName(const char* name);

const char* DebugErrorCodeText(_DebugErrorCode code);

bool DebugSetLogFilename(const char* name, bool delete_existing);
const char* DebugGetLogFilename();

void DebugDoString(const char* text, _DebugMsgCode kind, _DebugNoteType note);
void DebugDoStringTruncating(const char* text, _DebugMsgCode kind, _DebugNoteType note);
void DebugAppendLastMessageToFile(bool time_prefix);

// Read access to the ring (the log view and tests).
int DebugGetMessageCount();
const DebugMessage* DebugGetMessage(int index);

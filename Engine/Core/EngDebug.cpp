#include "Engine/Core/EngDebug.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"

namespace {

constexpr int kFormatSize = 512;
constexpr int kLastMessageSize = 542;
constexpr int kLongestText = 482;
constexpr int kTruncatedKeep = 462;
constexpr const char* kDefaultLogName = "ErrorLog.txt";

// One lock around storing and writing, so messages from several threads are all kept, in order.
std::recursive_mutex g_lock;
DebugMessage g_ring[DEBUG_MAX_MESSAGES];
int g_count = 0;
char g_log_name[DEBUG_LOG_FILENAME_SIZE] = "ErrorLog.txt";
char g_last_message[kLastMessageSize];
char g_time_prefix[32];
bool g_first_write = true;
bool g_time_stamps = true;
std::atomic<bool> g_exiting{false};
std::atomic<bool> g_fatal_failing{false};
std::atomic<bool> g_fatal_qualified_failing{false};
// Set while this thread writes the log file: a report from inside the write would recurse.
thread_local bool t_writing = false;

const char* TagFor(_DebugMsgCode kind)
{
    static const char* const tags[] = {"<WARNING>", " <ERROR> ", " <EXIT>  ", " <POPUP> ", " : ", " * ", ""};
    return tags[kind];
}

// Where reports about the log itself go; nothing reads it on this platform.
void DebugAlternateOutput(const char* text)
{
    (void)text;
}

void AlternateOutputF(const char* format, ...) ENG_PRINTF(1, 2);
void AlternateOutputF(const char* format, ...)
{
    char text[kLastMessageSize];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    DebugAlternateOutput(text);
}

bool IsPrettyFunction(const char* name)
{
    return std::strchr(name, '(') != nullptr;
}

// The '(' that opens the parameter list: outside template brackets and past an operator's own symbol.
const char* FindParameterList(const char* name, const char* end)
{
    int depth = 0;
    for (const char* p = name; p < end; ++p) {
        if (std::strncmp(p, "operator", 8) == 0) {
            p += 8;
            if (p[0] == '(' && p[1] == ')')
                p += 2;
            while (p < end && *p != '(')
                ++p;
            return p;
        }
        if (*p == '<')
            ++depth;
        else if (*p == '>' && depth > 0)
            --depth;
        else if (*p == '(' && depth == 0)
            return p;
    }
    return end;
}

// "signed char EngFile::Read(void*, int, bool)" -> "EngFile::Read".
void CutPrettyFunction(const char* name, char* out, unsigned size)
{
    const char* end = name + std::strlen(name);
    const char* with = std::strstr(name, " [with ");
    if (with)
        end = with;
    const char* open = FindParameterList(name, end);
    // The name starts after the last blank that lies outside template brackets (the return type's end).
    const char* start = name;
    int depth = 0;
    for (const char* p = name; p < open; ++p) {
        if (std::strncmp(p, "operator", 8) == 0)
            break;
        if (*p == '<')
            ++depth;
        else if (*p == '>' && depth > 0)
            --depth;
        else if (*p == ' ' && depth == 0)
            start = p + 1;
    }
    while (start < open && (*start == '*' || *start == '&'))
        ++start;
    unsigned length = unsigned(open - start);
    if (length >= size)
        length = size - 1;
    std::memcpy(out, start, length);
    out[length] = 0;
}

// "?Read@EngFile@@QAEDPAXID@Z" -> "Read@EngFile".
void CutWindowsName(const char* name, char* out, unsigned size)
{
    if (*name == '?')
        ++name;
    const char* end = std::strstr(name, "@@");
    unsigned length = end ? unsigned(end - name) : unsigned(std::strlen(name));
    if (length >= size)
        length = size - 1;
    std::memcpy(out, name, length);
    out[length] = 0;
}

void CutNameInto(const char* name, char* out, unsigned size)
{
    if (!name) {
        EngSafeStrcpy(out, "", size);
        return;
    }
    if (IsPrettyFunction(name))
        CutPrettyFunction(name, out, size);
    else
        CutWindowsName(name, out, size);
}

void FormatArgs(char* out, const char* format, va_list args)
{
    if (!format) {
        out[0] = 0;
        return;
    }
    vsnprintf(out, kFormatSize, format, args);
}

constexpr int kLineSize = kLastMessageSize + kFormatSize;

// "( name )    text", the name cut down unless it is already a qualified name.
void FormatNamedLine(char* line, const char* name, bool cut, const char* separator, const char* text)
{
    char shown[kFormatSize];
    if (cut)
        CutNameInto(name, shown, sizeof(shown));
    else
        EngSafeStrcpy(shown, name, sizeof(shown));
    snprintf(line, kLineSize, "( %s )%s%s", shown, separator, text);
}

void StoreNamedLine(const char* name, bool cut, const char* separator, const char* text, _DebugMsgCode kind)
{
    char line[kLineSize];
    FormatNamedLine(line, name, cut, separator, text);
    DebugDoStringTruncating(line, kind, 0);
}

void StoreQuickLine(const char* own_name, const char* text, _DebugMsgCode kind, _DebugNoteType note)
{
    char shown[kFormatSize];
    CutNameInto(own_name, shown, sizeof(shown));
    char line[kLineSize];
    snprintf(line, sizeof(line), "%s > %s", shown, text);
    DebugDoStringTruncating(line, kind, note);
}

void CompactRing()
{
    const int half = DEBUG_MAX_MESSAGES / 2;
    std::memmove(&g_ring[0], &g_ring[half], sizeof(DebugMessage) * half);
    g_count = half;
    EngSafeStrcpy(g_ring[0].text, "--- LOGS REMOVED ---", sizeof(g_ring[0].text));
    g_ring[0].kind = DebugMsgPlain;
}

void StoreEntry(const char* text, _DebugMsgCode kind, _DebugNoteType note)
{
    EngSafeStrcpy(g_last_message, text, sizeof(g_last_message));
    if (g_count < 0 || g_count > DEBUG_MAX_MESSAGES - 1) {
        g_count = 0;
        DebugError(ENG_FUNC, "Invalid message num - truncating file");
    }
    DebugMessage& entry = g_ring[g_count];
    entry.note = note;
    entry.time = eng_time;
    entry.kind = kind;
    if (g_time_stamps)
        snprintf(g_time_prefix, sizeof(g_time_prefix), "%.1f | ", eng_time);
    if (kind == DebugMsgPlain)
        EngSafeStrcpy(entry.text, text, kLastMessageSize);
    else
        snprintf(entry.text, kLastMessageSize, "%s %s", TagFor(kind), text);
    ++g_count;
    DebugAppendLastMessageToFile(g_time_stamps);
    if (g_count >= DEBUG_MAX_MESSAGES)
        CompactRing();
}

// The text after the exit tag of the last message, or the whole message.
void RunExitPath()
{
    char reason[kLastMessageSize];
    {
        std::lock_guard<std::recursive_mutex> guard(g_lock);
        const char* tag = std::strstr(g_last_message, "<EXIT> ");
        EngSafeStrcpy(reason, tag ? tag + 7 : g_last_message, sizeof(reason));
    }
    EngMainForceExitNow("INTERNAL PROGRAM ERROR", reason);
    EngMainCallExit(-1);
}

void ShowPopupMessage(const char* text)
{
    if (eng_main_window)
        eng_main_window->ShowCursor();
    EngMiscShowPopupMessage(ENG_POPUP_EXCLAMATION, "Warning", text);
}

bool RunFatalCheck(std::atomic<bool>& failing, const char* name, bool cut, const char* text)
{
    if (failing.exchange(true))
        return false;
    DebugInfoPlain(" ");
    DebugInfoPlain("EXITING DUE TO FOLLOWING ERROR:");
    DebugInfoPlain(" ");
    char line[kLineSize];
    FormatNamedLine(line, name, cut, "    ", text);
    DebugDoStringTruncating(line, DebugMsgError, 0);
    // The reason is cut to the size of a popup text.
    char reason[kLastMessageSize];
    snprintf(reason, sizeof(reason), "Reason:\n\n%.532s", line);
    EngMainForceExitNow("INTERNAL PROGRAM ERROR", reason);
    EngMainCallExit(-1);
    return false;
}

} // namespace

#define DEBUG_FORMAT(buffer, format)         \
    char buffer[kFormatSize];                \
    {                                        \
        va_list args;                        \
        va_start(args, format);              \
        FormatArgs(buffer, format, args);    \
        va_end(args);                        \
    }

void DebugError(const char* own_name, const char* format, ...)
{
    DEBUG_FORMAT(text, format);
    StoreNamedLine(own_name, true, "    ", text, DebugMsgError);
}

void DebugErrorByCode(const char* own_name, _DebugErrorCode code)
{
    StoreNamedLine(own_name, true, "    ", DebugErrorCodeText(code), DebugMsgError);
}

bool DebugCheck(bool ok, const char* qualified_name, const char* format, ...)
{
    if (ok)
        return true;
    DEBUG_FORMAT(text, format);
    StoreNamedLine(qualified_name, false, "    ", text, DebugMsgError);
    return false;
}

bool DebugFatalCheck(bool ok, const char* own_name, const char* format, ...)
{
    if (ok)
        return true;
    DEBUG_FORMAT(text, format);
    return RunFatalCheck(g_fatal_failing, own_name, true, text);
}

bool DebugFatalCheckQualified(bool ok, const char* qualified_name, const char* format, ...)
{
    if (ok)
        return true;
    DEBUG_FORMAT(text, format);
    return RunFatalCheck(g_fatal_qualified_failing, qualified_name, false, text);
}

void DebugExit(const char* qualified_name, const char* format, ...)
{
    DEBUG_FORMAT(text, format);
    // Without a running program there is nothing to close down, but the reason must not vanish.
    bool can_exit = eng_main_program && !eng_main_program->IsQuitting();
    _DebugMsgCode kind = can_exit ? DebugMsgExit : DebugMsgError;
    if (!qualified_name || !*qualified_name) {
        DebugDoStringTruncating(text, kind, 0);
        return;
    }
    StoreNamedLine(qualified_name, false, "     ", text, kind);
}

void DebugInfo(const char* format, ...)
{
    DEBUG_FORMAT(text, format);
    DebugDoStringTruncating(text, DebugMsgInfo, 0);
}

void DebugInfoQuick(const char* own_name, const char* format, ...)
{
    DEBUG_FORMAT(text, format);
    StoreQuickLine(own_name, text, DebugMsgInfo, 0);
}

bool DebugInfoTimed(double* next_time, double interval, const char* format, ...)
{
    if (!next_time || eng_time < *next_time)
        return false;
    DEBUG_FORMAT(text, format);
    DebugDoStringTruncating(text, DebugMsgInfo, 0);
    *next_time = eng_time + interval;
    return true;
}

void DebugNote(_DebugNoteType note, const char* format, ...)
{
    DEBUG_FORMAT(text, format);
    DebugDoStringTruncating(text, DebugMsgNote, note);
}

void DebugNoteQuick(_DebugNoteType note, const char* own_name, const char* format, ...)
{
    DEBUG_FORMAT(text, format);
    StoreQuickLine(own_name, text, DebugMsgNote, note);
}

void DebugInfoPlain(const char* format, ...)
{
    DEBUG_FORMAT(text, format);
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    g_time_stamps = false;
    DebugDoStringTruncating(text, DebugMsgPlain, 0);
    g_time_stamps = true;
}

void DebugOverwriteMessage(int index, const char* format, ...)
{
    if (index < 0 || index >= DEBUG_MAX_MESSAGES) {
        DebugError(ENG_FUNC, "Invalid message index %d", index);
        return;
    }
    DEBUG_FORMAT(text, format);
    bool beyond;
    {
        std::lock_guard<std::recursive_mutex> guard(g_lock);
        EngSafeStrcpy(g_ring[index].text, text, sizeof(g_ring[index].text));
        g_ring[index].kind = DebugMsgPlain;
        beyond = index >= g_count;
    }
    if (beyond)
        DebugInfo(" ");
}

void DebugErrorAlt(const char* own_name, const char* format, ...)
{
    DEBUG_FORMAT(text, format);
    char shown[kFormatSize];
    CutNameInto(own_name, shown, sizeof(shown));
    AlternateOutputF("( %s )    %s\n", shown, text);
}

void DebugInfoQuickAlt(const char* own_name, const char* format, ...)
{
    DEBUG_FORMAT(text, format);
    char shown[kFormatSize];
    CutNameInto(own_name, shown, sizeof(shown));
    AlternateOutputF("%s > %s\n", shown, text);
}

const char* DebugCutDecoratedName(const char* name)
{
    if (!name || !*name)
        return name;
    unsigned size = unsigned(std::strlen(name)) + 1;
    char* cut = static_cast<char*>(EngMalloc(size, "DebugCutDecoratedName", false));
    if (!cut)
        return name;
    CutNameInto(name, cut, size);
    return cut;
}

const char* DebugErrorCodeText(_DebugErrorCode code)
{
    static const struct {
        _DebugErrorCode code;
        const char* text;
    } table[] = {
        {DEBUG_CODE_ALEX, "Already exists."}, {DEBUG_CODE_ALSU, "Already setup."},
        {DEBUG_CODE_BAPA, "Bad parameters."}, {DEBUG_CODE_CACN, "Cannot call now."},
        {DEBUG_CODE_DNEX, "Does not exist."}, {DEBUG_CODE_EXOC, "An exception occurred."},
        {DEBUG_CODE_FILL, "Function not present."}, {DEBUG_CODE_IER2, "Internal error 2."},
        {DEBUG_CODE_IERR, "Internal error."}, {DEBUG_CODE_LODF, "Load failed."},
        {DEBUG_CODE_NAVL, "Not available."}, {DEBUG_CODE_NIMP, "Not implemented."},
        {DEBUG_CODE_NLOD, "Not loaded."}, {DEBUG_CODE_NOGM, "No game."},
        {DEBUG_CODE_NSTP, "Not setup."}, {DEBUG_CODE_NVAL, "Not valid."},
        {DEBUG_CODE_NVER, "Not verified."}, {DEBUG_CODE_OMEM, "Out of memory."},
        {DEBUG_CODE_OPFA, "Operation failed."}, {DEBUG_CODE_STEX, "Still exists."},
        {DEBUG_CODE_UNKN, "(Unknown)"}, {DEBUG_CODE_UPDT, "Needs updating."},
    };
    for (const auto& row : table) {
        if (row.code == code)
            return row.text;
    }
    return "?";
}

bool DebugSetLogFilename(const char* name, bool delete_existing)
{
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    if (name && std::strlen(name) >= sizeof(g_log_name)) {
        EngSafeStrcpy(g_log_name, kDefaultLogName, sizeof(g_log_name));
        DebugError(ENG_FUNC, "Filename too long");
        return false;
    }
    const char* chosen = (name && *name) ? name : kDefaultLogName;
    // A log of another name starts fresh too, even when the first log of the run was already written.
    if (delete_existing && std::strcmp(chosen, g_log_name) != 0)
        g_first_write = true;
    EngSafeStrcpy(g_log_name, chosen, sizeof(g_log_name));
    if (delete_existing && g_first_write && EngFileExists(g_log_name, false))
        EngFileDelete(g_log_name, true);
    return true;
}

const char* DebugGetLogFilename()
{
    return g_log_name;
}

void DebugDoString(const char* text, _DebugMsgCode kind, _DebugNoteType note)
{
    if (kind < DebugMsgWarning || kind > DebugMsgPlain || !text)
        return;
    if (g_exiting || t_writing)
        return;
    if (std::strlen(text) > unsigned(kLongestText)) {
        DebugError(ENG_FUNC, "Error String Too Long");
        return;
    }
    {
        std::lock_guard<std::recursive_mutex> guard(g_lock);
        if (g_exiting)
            return;
        StoreEntry(text, kind, note);
        if (kind == DebugMsgExit)
            g_exiting = true;
    }
    if (kind == DebugMsgExit)
        RunExitPath();
    else if (kind == DebugMsgPopup)
        ShowPopupMessage(text);
}

void DebugDoStringTruncating(const char* text, _DebugMsgCode kind, _DebugNoteType note)
{
    if (g_exiting || t_writing || !text)
        return;
    if (std::strlen(text) <= unsigned(kLongestText)) {
        DebugDoString(text, kind, note);
        return;
    }
    AlternateOutputF("%s\n", text);
    char cut[kLastMessageSize];
    std::memcpy(cut, text, kTruncatedKeep);
    snprintf(cut + kTruncatedKeep, sizeof(cut) - kTruncatedKeep, " ... (TRUNCATED)");
    DebugDoString(cut, kind, note);
}

void DebugAppendLastMessageToFile(bool time_prefix)
{
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    if (t_writing || g_count < 1)
        return;
    t_writing = true;
    if (g_first_write && EngFileExists(g_log_name, false))
        EngFileDelete(g_log_name, false);
    if (g_count > DEBUG_MAX_MESSAGES) {
        DebugErrorAlt(ENG_FUNC, "Too many messages [%d] - cropping (should never happen)", g_count);
        g_count = DEBUG_MAX_MESSAGES - 2;
    }
    EngFile file;
    bool open = g_first_write ? file.OpenForWriting(g_log_name, true) : file.OpenForAppending(g_log_name, true);
    if (open) {
        g_first_write = false;
        const DebugMessage& entry = g_ring[g_count - 1];
        if (time_prefix)
            file.Printf("%s%s\n", g_time_prefix, entry.text);
        else
            file.Printf("%s\n", entry.text);
        file.Close();
    }
    t_writing = false;
}

int DebugGetMessageCount()
{
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    return g_count;
}

const DebugMessage* DebugGetMessage(int index)
{
    std::lock_guard<std::recursive_mutex> guard(g_lock);
    if (index < 0 || index >= g_count)
        return nullptr;
    return &g_ring[index];
}

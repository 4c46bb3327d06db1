#include "Engine/Core/EngLanguages.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngDirectory.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngTextFile.h"
#include "Engine/Core/EngUnicode.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <strings.h>
#include <vector>

namespace {

constexpr int k_table_current = 0;
constexpr int k_table_english = 1;
constexpr _DebugNoteType k_note_warning = 2;
constexpr int k_report_size = 512;
constexpr int k_file_name_size = 1024;
constexpr const char* k_english = "English";
constexpr const char* k_header_language = "Language=";
constexpr const char* k_header_flag = "FlagCountryCode=";

enum _LangState
{
    LANG_STATE_NONE = 0,
    LANG_STATE_LISTED = 1,
    LANG_STATE_LOADED = 2,
};

typedef std::vector<std::unique_ptr<EngLangTextC>> TextTable;

struct LangModule
{
    std::vector<std::unique_ptr<EngLangInfoC>> languages;
    std::vector<std::unique_ptr<EngLangPathC>> paths;
    TextTable tables[2];
    int selected = k_table_current;
    int current = -1;
    int state = LANG_STATE_NONE;
    bool english_only = false;
    bool current_is_english = false;
};

LangModule g_lang;

bool IsValidLanguage(int language)
{
    return language >= 0 && language < (int)g_lang.languages.size();
}

bool IsEnglishLanguage(int language)
{
    if (!IsValidLanguage(language))
        return false;
    const EngLangInfoC* info = g_lang.languages[(size_t)language].get();
    return std::strcmp(info->GetNameInEnglish(), k_english) == 0 && std::strcmp(info->GetNameNative(), k_english) == 0;
}

bool StartsWith(const char* text, const char* prefix)
{
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// Copies text[0..len) into a new block; null when out of memory.
char* CopyText(const char* text, int len, const char* owner)
{
    char* copy = (char*)EngMalloc((unsigned)len + 1, owner, false);
    if (!copy)
        return nullptr;
    std::memcpy(copy, text, (size_t)len);
    copy[len] = 0;
    return copy;
}

// Frees the copy held in *slot and puts a copy of source[0..len) (null: empty) there; false when out of memory.
bool ReplaceCopy(char** slot, const char* source, int len, const char* owner)
{
    if (*slot)
        EngFree(*slot, false, owner);
    *slot = CopyText(source ? source : "", source ? len : 0, owner);
    return *slot != nullptr;
}

bool SetNameField(char* field, int size, const char* text, int len, const char* own_name)
{
    field[0] = 0;
    if (!text) {
        DebugErrorByCode(own_name, DEBUG_CODE_BAPA);
        return false;
    }
    int keep = len < size - 1 ? len : size - 1;
    std::memcpy(field, text, (size_t)keep);
    field[keep] = 0;
    return true;
}

int FindInTable(const TextTable& table, const char* token)
{
    for (size_t i = 0; i < table.size(); i++) {
        if (std::strcmp(table[i]->GetToken(), token) == 0)
            return (int)i;
    }
    return -1;
}

// A kept line: not empty, shorter than 4,096, not a comment or section, token of 1 to 63 characters.
const char* FindTokenEnd(const char* line)
{
    size_t len = std::strlen(line);
    if (len == 0 || len > (size_t)ENG_LANG_MAX_LINE_LEN || line[0] == ';' || line[0] == '[')
        return nullptr;
    const char* equals = std::strchr(line, '=');
    if (!equals || equals == line || equals - line > ENG_LANG_MAX_TOKEN_LEN)
        return nullptr;
    return equals;
}

// One sub-text in file form: "\n" becomes a line break, then the first "##" becomes "#".
bool AddSubTextFromFile(EngLangTextC* text, const char* start, int len)
{
    std::unique_ptr<char[]> work(new (std::nothrow) char[(size_t)len + 1]);
    if (!work)
        return false;
    int out = 0;
    for (int i = 0; i < len; i++) {
        if (start[i] == '\\' && i + 1 < len && start[i + 1] == 'n') {
            work[(size_t)out++] = '\n';
            i++;
            continue;
        }
        work[(size_t)out++] = start[i];
    }
    for (int i = 0; i + 1 < out; i++) {
        if (work[(size_t)i] == '#' && work[(size_t)i + 1] == '#') {
            std::memmove(&work[(size_t)i + 1], &work[(size_t)i + 2], (size_t)(out - i - 2));
            out--;
            break;
        }
    }
    return text->AddSubText(work.get(), out);
}

bool IsSubTextSeparator(const char* text, int i, int len)
{
    return text[i] == '#' && (i == 0 || text[i - 1] != '#') && (i + 1 >= len || text[i + 1] != '#');
}

void DestroyAfterFailure()
{
    EngLanguagesDestroy();
}

// Appends the text of one kept line to the selected table.
bool AppendTextLine(const char* line, const char* token_end)
{
    std::unique_ptr<EngLangTextC> text(new (std::nothrow) EngLangTextC);
    if (!text || !text->SetToken(line, (int)(token_end - line))) {
        DebugError(ENG_FUNC, "No memory (1)");
        DestroyAfterFailure();
        return false;
    }
    const char* value = token_end + 1;
    int len = (int)std::strlen(value);
    int start = 0;
    for (int i = 0; i <= len; i++) {
        if (i < len && !IsSubTextSeparator(value, i, len))
            continue;
        if (!AddSubTextFromFile(text.get(), value + start, i - start)) {
            DebugError(ENG_FUNC, "No memory (3)");
            DestroyAfterFailure();
            return false;
        }
        start = i + 1;
    }
    g_lang.tables[g_lang.selected].push_back(std::move(text));
    return true;
}

void TrimTrailingWhiteSpace(char* text)
{
    size_t len = std::strlen(text);
    while (len > 0 && (text[len - 1] == '\r' || text[len - 1] == '\n' || text[len - 1] == ' ' || text[len - 1] == '\t'))
        text[--len] = 0;
}

struct HeaderSeen
{
    bool name = false;
    bool flag = false;
};

void ReadHeaderLine(char* line, EngLangInfoC* info, HeaderSeen* seen)
{
    if (!seen->name && StartsWith(line, k_header_language)) {
        bool made_new = false;
        char* value = ConvertUtf8ToExtendedAscii(line + std::strlen(k_header_language), &made_new);
        char native[ENG_LANG_NAME_SIZE];
        EngSafeStrcpy(native, value, sizeof(native));
        if (made_new)
            EngFree(value, false, ENG_FUNC);
        TrimTrailingWhiteSpace(native);
        info->SetNameNative(native);
        seen->name = true;
        return;
    }
    if (!seen->flag && StartsWith(line, k_header_flag)) {
        char code[ENG_LANG_FLAG_CODE_SIZE];
        EngSafeStrcpy(code, line + std::strlen(k_header_flag), sizeof(code));
        TrimTrailingWhiteSpace(code);
        info->SetFlagCountryCode(code);
        seen->flag = true;
    }
}

// Fills the English table (table 1) from language 0, as if it were current for the duration.
void LoadEnglishTable()
{
    DebugInfo("Loading english texts");
    int saved_selected = g_lang.selected;
    int saved_current = g_lang.current;
    g_lang.selected = k_table_english;
    g_lang.current = 0;
    EngLangParseLanguage(0, false);
    g_lang.selected = saved_selected;
    g_lang.current = saved_current;
}

bool CopyTextToTable(const EngLangTextC& from, TextTable* to)
{
    std::unique_ptr<EngLangTextC> copy(new (std::nothrow) EngLangTextC);
    if (!copy || !copy->SetToken(from.GetToken(), (int)std::strlen(from.GetToken())))
        return false;
    for (int i = 0; i < from.GetNumSubTexts(); i++) {
        const char* sub = from.GetSubText(i);
        if (!copy->AddSubText(sub, (int)std::strlen(sub)))
            return false;
    }
    to->push_back(std::move(copy));
    return true;
}

bool TokenIsHeader(const char* token)
{
    return std::strcmp(token, "Language") == 0 || std::strcmp(token, "FlagCountryCode") == 0;
}

// ---- translation check -----------------------------------------------------------------------------------

// The whole text in file form: sub-texts joined by "#", line breaks as "\n".
void FormatWholeText(const EngLangTextC& text, char* out, int size)
{
    int used = std::snprintf(out, (size_t)size, "%s=", text.GetToken());
    for (int i = 0; i < text.GetNumSubTexts() && used >= 0 && used < size; i++) {
        char* slashed = EngLangChangeNewLinesToSlashNsInString(text.GetSubText(i), false);
        used += std::snprintf(out + used, (size_t)(size - used), "%s%s", i > 0 ? "#" : "", slashed ? slashed : "");
        if (slashed)
            EngFree(slashed, false, ENG_FUNC);
    }
}

void ReportSubText(const EngLangTextC& text, int sub)
{
    char line[k_report_size];
    char* slashed = EngLangChangeNewLinesToSlashNsInString(text.GetSubText(sub), false);
    std::snprintf(line, sizeof(line), "[%s:%d]=%s", text.GetToken(), sub, slashed ? slashed : "");
    if (slashed)
        EngFree(slashed, false, ENG_FUNC);
    DebugInfoPlain("%s", line);
}

void ReportWholeText(const EngLangTextC& text)
{
    char line[k_report_size];
    FormatWholeText(text, line, (int)sizeof(line));
    DebugInfoPlain("%s", line);
}

void ReportDuplicates(const TextTable& table, const char* heading)
{
    DebugInfoPlain("%s", heading);
    for (size_t i = 0; i < table.size(); i++) {
        const char* token = table[i]->GetToken();
        if (!TokenIsHeader(token) && FindInTable(table, token) != (int)i)
            DebugInfoPlain("%s", token);
    }
}

// Texts of from that are missing in to, whole or by sub-text.
void ReportMissing(const TextTable& from, const TextTable& to, const char* heading)
{
    DebugInfoPlain("%s", heading);
    for (const auto& text : from) {
        if (TokenIsHeader(text->GetToken()))
            continue;
        int found = FindInTable(to, text->GetToken());
        if (found < 0) {
            ReportWholeText(*text);
            continue;
        }
        for (int sub = to[(size_t)found]->GetNumSubTexts(); sub < text->GetNumSubTexts(); sub++)
            ReportSubText(*text, sub);
    }
}

void ReportEmptyEnglishTexts(const TextTable& english)
{
    for (const auto& text : english) {
        for (int sub = 0; sub < text->GetNumSubTexts(); sub++) {
            if (text->GetSubText(sub)[0] == 0)
                DebugInfo("[%s:%d] is empty", text->GetToken(), sub);
        }
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Records

bool EngLangInfoC::SetNameInEnglish(const char* name)
{
    return SetNameInEnglishWithLen(name, name ? (int)std::strlen(name) : 0);
}

bool EngLangInfoC::SetNameInEnglishWithLen(const char* name, int len)
{
    name_display[0] = 0;
    if (!SetNameField(name_english, sizeof(name_english), name, len, ENG_FUNC))
        return false;
    EngUnicode display(name_english, false);
    EngSafeStrcpy(name_display, display.GetAsciiString(false, false), sizeof(name_display));
    return true;
}

bool EngLangInfoC::SetNameNative(const char* name)
{
    return SetNameField(name_native, sizeof(name_native), name, name ? (int)std::strlen(name) : 0, ENG_FUNC);
}

bool EngLangInfoC::SetFlagCountryCode(const char* code)
{
    return SetNameField(flag_country_code, sizeof(flag_country_code), code, code ? (int)std::strlen(code) : 0,
                        ENG_FUNC);
}

EngLangSubTextC::~EngLangSubTextC()
{
    if (text)
        EngFree(text, false, ENG_FUNC);
}

bool EngLangSubTextC::SetText(const char* source, int len)
{
    return ReplaceCopy(&text, source, len, ENG_FUNC);
}

EngLangTextC::~EngLangTextC()
{
    for (int i = 0; i < num_sub_texts; i++)
        delete sub_texts[i];
    if (sub_texts)
        EngFree(sub_texts, false, ENG_FUNC);
    if (token)
        EngFree(token, false, ENG_FUNC);
}

bool EngLangTextC::SetToken(const char* source, int len)
{
    return ReplaceCopy(&token, source, len, ENG_FUNC);
}

bool EngLangTextC::AddSubText(const char* text, int len)
{
    if (num_sub_texts == capacity) {
        int grown_capacity = capacity ? capacity * 2 : 2;
        EngLangSubTextC** grown =
            (EngLangSubTextC**)EngMalloc((unsigned)grown_capacity * sizeof(EngLangSubTextC*), ENG_FUNC, false);
        if (!grown)
            return false;
        if (sub_texts) {
            std::memcpy(grown, sub_texts, (size_t)num_sub_texts * sizeof(EngLangSubTextC*));
            EngFree(sub_texts, false, ENG_FUNC);
        }
        sub_texts = grown;
        capacity = grown_capacity;
    }
    EngLangSubTextC* sub = new (std::nothrow) EngLangSubTextC;
    if (!sub || !sub->SetText(text, len)) {
        delete sub;
        return false;
    }
    sub_texts[num_sub_texts++] = sub;
    return true;
}

const char* EngLangTextC::GetSubText(int index) const
{
    return index >= 0 && index < num_sub_texts ? sub_texts[index]->GetText() : "";
}

EngLangPathC::~EngLangPathC()
{
    if (path)
        EngFree(path, false, ENG_FUNC);
}

bool EngLangPathC::SetPath(const char* source)
{
    if (path)
        EngFree(path, false, ENG_FUNC);
    path = source ? CopyText(source, (int)std::strlen(source), ENG_FUNC) : nullptr;
    return path != nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Setting up

bool EngLanguagesInit(const char* directory, const char* default_language, bool english_only)
{
    if (g_lang.state != LANG_STATE_NONE) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_ALSU);
        EngLanguagesDestroy();
    }
    g_lang.english_only = english_only;
    g_lang.current = -1;
    g_lang.languages.clear();
    g_lang.paths.clear();

    if (!directory || !directory[0]) {
        std::unique_ptr<EngLangInfoC> english(new (std::nothrow) EngLangInfoC);
        if (!english)
            return false;
        english->SetNameInEnglish(k_english);
        english->SetNameNative(k_english);
        g_lang.languages.push_back(std::move(english));
        g_lang.current = 0;
        EngLangCheckIfCurrentLangEnglish();
        g_lang.state = LANG_STATE_LISTED;
        return true;
    }
    if (!EngFileDirectoryExists(directory)) {
        DebugError(ENG_FUNC, "Languages directory does not exists <%s>", directory);
        EngLanguagesDestroy();
        return false;
    }

    DirList dir_list;
    if (!dir_list.OpenDir(directory, nullptr, nullptr) || !dir_list.PrepareToGetFilenamesInDir()) {
        DebugError(ENG_FUNC, "dir_list.OpenDir() failed");
        EngLanguagesDestroy();
        return false;
    }
    for (const char* file = dir_list.GetNextFilenameInDir(); file[0]; file = dir_list.GetNextFilenameInDir()) {
        int len = (int)std::strlen(file);
        if (len < 5 || len > 59 || std::strcmp(file + len - 4, ".txt") != 0)
            continue;
        if (english_only && std::strcmp(file, "English.txt") != 0)
            continue;
        std::unique_ptr<EngLangInfoC> info(new (std::nothrow) EngLangInfoC);
        if (!info)
            break;
        info->SetNameInEnglishWithLen(file, len - 4);
        const char* wanted = default_language ? default_language : k_english;
        if (g_lang.current < 0 && strcasecmp(info->GetNameInEnglish(), wanted) == 0)
            g_lang.current = (int)g_lang.languages.size();
        g_lang.languages.push_back(std::move(info));
    }
    dir_list.Close();
    if (g_lang.languages.empty()) {
        DebugError(ENG_FUNC, "No language files found in directory <%s>", directory);
        EngLanguagesDestroy();
        return false;
    }
    if (g_lang.current < 0) {
        const char* first = g_lang.languages[0]->GetNameInEnglish();
        if (default_language)
            DebugError(ENG_FUNC, "Could not find default language <%s> - using language 0 <%s>", default_language, first);
        else
            DebugError(ENG_FUNC, "Could not find default language - using language 0 <%s>", first);
        g_lang.current = 0;
    }
    if (!EngLanguagesAddTextsPath(directory)) {
        EngLanguagesDestroy();
        return false;
    }
    for (size_t i = 0; i < g_lang.languages.size(); i++) {
        if (!EngLangParseLanguage((int)i, true))
            DebugError(ENG_FUNC, "Could not read the header of language <%s>", g_lang.languages[i]->GetNameInEnglish());
    }
    EngLangCheckIfCurrentLangEnglish();
    g_lang.state = LANG_STATE_LISTED;
    return true;
}

bool EngLanguagesAddTextsPath(const char* directory)
{
    if (!directory || !directory[0] || !EngFileDirectoryExists(directory)) {
        DebugError(ENG_FUNC, "Languages directory does not exists <%s>", directory ? directory : "");
        return false;
    }
    for (const auto& path : g_lang.paths) {
        if (std::strcmp(path->GetPath(), directory) == 0) {
            DebugError(ENG_FUNC, "Path already present <%s>", directory);
            return false;
        }
    }
    std::unique_ptr<EngLangPathC> path(new (std::nothrow) EngLangPathC);
    if (!path || !path->SetPath(directory)) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return false;
    }
    g_lang.paths.push_back(std::move(path));
    return true;
}

bool EngLanguagesInitAddExtraTextsPath(const char* directory)
{
    if (g_lang.state != LANG_STATE_LISTED) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        return false;
    }
    return EngLanguagesAddTextsPath(directory);
}

bool EngLanguagesInitAddCommonTextsPath()
{
    return EngLanguagesInitAddExtraTextsPath(ENG_LANG_COMMON_TEXTS_PATH);
}

bool EngLanguagesInitFinished()
{
    if (g_lang.state != LANG_STATE_LISTED) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        return false;
    }
    g_lang.state = LANG_STATE_LOADED;
    if (!EngLangParseLanguage(g_lang.current, false)) {
        EngLanguagesDestroy();
        return false;
    }
    if (g_lang.current > 0)
        EngLangCheckTranslation();
    return true;
}

void EngLanguagesDestroy()
{
    g_lang.tables[k_table_current].clear();
    g_lang.tables[k_table_english].clear();
    g_lang.languages.clear();
    g_lang.paths.clear();
    g_lang.selected = k_table_current;
    g_lang.current = -1;
    g_lang.current_is_english = false;
    g_lang.state = LANG_STATE_NONE;
}

// ---------------------------------------------------------------------------------------------------------
// Choosing a language

bool EngLanguagesSetCurrentLanguage(int language)
{
    if (!IsValidLanguage(language)) {
        DebugError(ENG_FUNC, "Bad lang num %d.", language);
        return false;
    }
    if (language == g_lang.current)
        return true;
    g_lang.tables[k_table_current].clear();
    g_lang.current = language;
    EngLangCheckIfCurrentLangEnglish();
    return EngLangParseLanguage(language, false);
}

int EngLanguagesGetCurrentLanguageNumber()
{
    if (g_lang.languages.empty()) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        return 0;
    }
    if (!IsValidLanguage(g_lang.current)) {
        DebugError(ENG_FUNC, "Bad cur lang %d.", g_lang.current);
        g_lang.current = 0;
        EngLangCheckIfCurrentLangEnglish();
    }
    return g_lang.current;
}

bool EngLangCheckIfCurrentLangEnglish()
{
    if (g_lang.languages.empty()) {
        g_lang.current_is_english = true;
        return true;
    }
    if (!IsValidLanguage(g_lang.current)) {
        DebugError(ENG_FUNC, "Bad cur lang value %d (%d)", g_lang.current, (int)g_lang.languages.size());
        g_lang.current = 0;
    }
    g_lang.current_is_english = IsEnglishLanguage(g_lang.current);
    return g_lang.current_is_english;
}

bool EngLanguagesAreLoaded()
{
    return !g_lang.languages.empty();
}

int EngLanguagesGetNumLanguages()
{
    return (int)g_lang.languages.size();
}

// ---------------------------------------------------------------------------------------------------------
// Loading

bool EngLangParseLanguage(int language, bool header_only)
{
    if ((!header_only && g_lang.state != LANG_STATE_LOADED) || g_lang.paths.empty()) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        return false;
    }
    if (!IsValidLanguage(language)) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
        return false;
    }
    if (!header_only)
        g_lang.tables[g_lang.selected].clear();
    const char* name = g_lang.languages[(size_t)language]->GetNameInEnglish();
    for (size_t i = 0; i < g_lang.paths.size(); i++) {
        const char* path = g_lang.paths[i]->GetPath();
        if (!path[0] || !name[0])
            continue;
        char file[k_file_name_size];
        std::snprintf(file, sizeof(file), "%s%s%s.txt", path, "\\", name);
        if (!EngLangParseLanguageFile(file, language, header_only))
            return false;
    }
    return true;
}

bool EngLangParseLanguageFile(const char* file_name, int language, bool header_only)
{
    if (!IsValidLanguage(language)) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
        return false;
    }
    TextFile file;
    if (file.Open(file_name, TEXTFILE_MODE_READ, TEXTFILE_ENCODING_DETECT, 0) != TEXTFILE_OK) {
        DebugError(ENG_FUNC, "Could not open file <%s>", file_name ? file_name : "");
        return false;
    }
    EngLangInfoC* info = g_lang.languages[(size_t)language].get();
    bool convert = !IsEnglishLanguage(language);
    HeaderSeen seen;
    char* line = nullptr;
    int result;
    while ((result = file.ReadLine(&line, nullptr)) == TEXTFILE_OK) {
        bool made_new = false;
        char* kept = convert ? ConvertUtf8ToExtendedAscii(line, &made_new) : line;
        const char* token_end = FindTokenEnd(kept);
        bool ok = true;
        if (token_end && header_only)
            ReadHeaderLine(kept, info, &seen);
        else if (token_end)
            ok = AppendTextLine(kept, token_end);
        if (made_new)
            EngFree(kept, false, ENG_FUNC);
        if (!ok)
            return false;
        if (header_only && seen.name && seen.flag)
            return true;
    }
    if (result == TEXTFILE_ERROR)
        return false;
    if (!header_only)
        return true;
    if (!seen.name)
        DebugError(ENG_FUNC, "Could not get language name.");
    if (!seen.flag)
        DebugError(ENG_FUNC, "No FlagCountryCode entry.");
    return false;
}

// ---------------------------------------------------------------------------------------------------------
// Lookups

int EngLanguagesGetTokenNumForToken(const char* token, int sub_text, bool fallback)
{
    if (!token || !token[0]) {
        DebugError(ENG_FUNC, "Invalid token name");
        return -1;
    }
    TextTable& table = g_lang.tables[g_lang.selected];
    int found = FindInTable(table, token);
    if (found >= 0) {
        if (sub_text >= 0 && sub_text < table[(size_t)found]->GetNumSubTexts())
            return found;
        DebugError(ENG_FUNC, "Invalid sub text num %d for token <%s>", sub_text, token);
        return -1;
    }
    if (!fallback)
        return -1;
    if (g_lang.current_is_english || g_lang.selected != k_table_current || g_lang.current < 1) {
        DebugError(ENG_FUNC, "Token not found [%s].", token);
        return -1;
    }
    DebugNote(k_note_warning, "Token <%s:%d> not translated", token, sub_text);
    TextTable& english = g_lang.tables[k_table_english];
    if (english.empty())
        LoadEnglishTable();
    if (english.empty()) {
        DebugError(ENG_FUNC, "No english texts.");
        return -1;
    }
    int english_num = FindInTable(english, token);
    if (english_num < 0) {
        DebugError(ENG_FUNC, "Token not found [%s].", token);
        return -1;
    }
    if (sub_text < 0 || sub_text >= english[(size_t)english_num]->GetNumSubTexts()) {
        DebugError(ENG_FUNC, "Invalid sub text num %d for token <%s>", sub_text, token);
        return -1;
    }
    TextTable& current = g_lang.tables[k_table_current];
    if (!CopyTextToTable(*english[(size_t)english_num], &current)) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
        return 0;
    }
    return (int)current.size() - 1;
}

int EngLanguagesFindTokenNum(const char* token, bool fallback)
{
    return EngLanguagesGetTokenNumForToken(token, 0, fallback);
}

bool EngLanguagesDoesTokenExist(const char* token)
{
    return EngLanguagesAreLoaded() && EngLanguagesGetTokenNumForToken(token, 0, false) >= 0;
}

const char* EngLanguagesGetString(const char* token, int sub_text)
{
    int num = EngLanguagesGetTokenNumForToken(token, sub_text, true);
    if (num < 0) {
        DebugError(ENG_FUNC, "Token <%s:%d> not found", token ? token : "", sub_text);
        return "";
    }
    return EngLanguagesGetString(num, sub_text);
}

const char* EngLanguagesGetTextForToken(const char* token)
{
    return EngLanguagesGetString(token, 0);
}

const char* EngLanguagesGetString(int text_num, int sub_text)
{
    const TextTable& table = g_lang.tables[g_lang.selected];
    if (text_num < 0 || text_num >= (int)table.size()) {
        DebugError(ENG_FUNC, "Token <%d> does not exist", text_num);
        return "";
    }
    const EngLangTextC& text = *table[(size_t)text_num];
    if (sub_text < 0 || sub_text >= text.GetNumSubTexts()) {
        DebugError(ENG_FUNC, "Sub text num <%d> does not exist in token <%s>", sub_text, text.GetToken());
        return "";
    }
    return text.GetSubText(sub_text);
}

const char* EngLanguagesGetTextForTokenNum(int text_num)
{
    return EngLanguagesGetString(text_num, 0);
}

const char* EngLanguagesGetStringOrDefault(const char* token, const char* default_text)
{
    if (!EngLanguagesAreLoaded() || !token || !token[0])
        return default_text;
    int num = FindInTable(g_lang.tables[g_lang.selected], token);
    return num < 0 ? default_text : g_lang.tables[g_lang.selected][(size_t)num]->GetSubText(0);
}

int EngLanguagesGetTokenNumAndNumSubTextsForToken(const char* token, int* num_sub_texts)
{
    if (num_sub_texts)
        *num_sub_texts = 0;
    if (!token || !token[0]) {
        DebugError(ENG_FUNC, "Invalid token");
        return -1;
    }
    const TextTable& table = g_lang.tables[g_lang.selected];
    int num = FindInTable(table, token);
    if (num < 0) {
        DebugError(ENG_FUNC, "Could not find token [%s]", token);
        return -1;
    }
    if (num_sub_texts)
        *num_sub_texts = table[(size_t)num]->GetNumSubTexts();
    return num;
}

bool EngLanguagesFormatString(const char* token, const char* arg1, const char* arg2, const char* arg3, char* out,
                              unsigned out_size)
{
    if (!token || !arg1 || !out || out_size == 0)
        return false;
    out[0] = 0;
    const char* text = EngLanguagesGetString(token, 0);
    size_t text_len = std::strlen(text);
    if (text_len == 0)
        return false;
    const char* args[3] = {arg1, arg2, arg3};
    size_t needed = text_len;
    for (const char* arg : args)
        needed += arg ? std::strlen(arg) : 0;
    // Compared as a sum, so large arguments cannot wrap the limit round.
    if (needed >= out_size)
        return false;
    bool replaced[3] = {false, false, false};
    size_t used = 0;
    for (size_t i = 0; i < text_len && used + 1 < out_size; i++) {
        int which = text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '3' ? text[i + 1] - '1' : -1;
        if (which >= 0 && args[which] && !replaced[which]) {
            size_t arg_len = std::strlen(args[which]);
            std::memcpy(out + used, args[which], arg_len);
            used += arg_len;
            replaced[which] = true;
            i++;
            continue;
        }
        out[used++] = text[i];
    }
    out[used] = 0;
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Helpers

bool EngLanguagesSetLangNameStringToEnglish(char* name, bool only_when_empty, bool note_when_empty)
{
    if (!name) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return false;
    }
    if (name[0] && only_when_empty)
        return false;
    if (!name[0] && note_when_empty)
        DebugNote(k_note_warning, "String empty.");
    if (std::strcmp(name, k_english) == 0)
        return false;
    EngSafeStrcpy(name, k_english, ENG_LANG_NAME_SIZE);
    return true;
}

char* EngLangChangeNewLinesToSlashNsInString(const char* text, bool quotes_to_apostrophes)
{
    if (!text) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return nullptr;
    }
    size_t len = std::strlen(text);
    char* out = (char*)EngMalloc((unsigned)(len * 2 + 1), "EngLangChangeNewLinesToSlashNsInString", false);
    if (!out)
        return nullptr;
    size_t used = 0;
    for (size_t i = 0; i < len; i++) {
        char c = text[i];
        if (c == '\r')
            continue;
        if (c == '\n') {
            out[used++] = '\\';
            out[used++] = 'n';
            continue;
        }
        out[used++] = c == '"' && quotes_to_apostrophes ? '\'' : c;
    }
    out[used] = 0;
    return out;
}

namespace {

// The Latin-1 byte of a UTF-8 pair, or 0 when the two bytes are no such pair.
unsigned char FoldUtf8Pair(unsigned char lead, unsigned char next)
{
    if (lead == 0xC2 && next >= 0xA1 && next <= 0xBF && next != 0xAD)
        return next;
    if (lead == 0xC3 && next >= 0x80 && next <= 0xBF)
        return (unsigned char)(next + 0x40);
    return 0;
}

} // namespace

char* ConvertUtf8ToExtendedAscii(char* text, bool* made_new)
{
    if (made_new)
        *made_new = false;
    if (!text)
        return nullptr;
    const unsigned char* in = (const unsigned char*)text;
    size_t len = std::strlen(text);
    bool has_pair = false;
    for (size_t i = 0; i + 1 < len && !has_pair; i++)
        has_pair = FoldUtf8Pair(in[i], in[i + 1]) != 0;
    if (!has_pair)
        return text;
    char* out = (char*)EngMalloc((unsigned)len + 1, "ConvertUtf8ToExtendedAscii", false);
    if (!out)
        return text;
    size_t used = 0;
    for (size_t i = 0; i < len; i++) {
        unsigned char folded = i + 1 < len ? FoldUtf8Pair(in[i], in[i + 1]) : 0;
        if (folded) {
            out[used++] = (char)folded;
            i++;
        } else if (in[i] < 0x80) {
            out[used++] = (char)in[i];
        }
    }
    out[used] = 0;
    if (made_new)
        *made_new = true;
    return out;
}

void EngLangCheckTranslation()
{
    DebugInfoPlain(" ");
    DebugInfoPlain("Checking translation...");
    if (g_lang.current_is_english) {
        DebugNote(k_note_warning, "Current language is English.");
        return;
    }
    if (!IsValidLanguage(g_lang.current)) {
        DebugError(ENG_FUNC, "Bad cur lang value %d (%d)", g_lang.current, (int)g_lang.languages.size());
        return;
    }
    if (!IsEnglishLanguage(0))
        DebugNote(k_note_warning, "Language 0 is not English.");
    const TextTable& english = g_lang.tables[k_table_english];
    if (english.empty())
        LoadEnglishTable();
    const TextTable& translated = g_lang.tables[k_table_current];
    ReportDuplicates(english, "Duplicate texts in English file:");
    ReportDuplicates(translated, "Duplicate texts in translated file:");
    ReportMissing(english, translated, "Missing texts:");
    ReportMissing(translated, english, "Texts that don't exist:");
    ReportEmptyEnglishTexts(english);
    DebugInfoPlain("Check complete.");
}

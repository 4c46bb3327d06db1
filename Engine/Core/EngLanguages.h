#pragma once

// Texts shown to the player, looked up by token and sub-text number in the current language, with
// English as the fallback. One text file per language in each texts directory ("Languages",
// "Data\\Common\\CommonTexts"); lines read "Token=sub-text 0#sub-text 1".
// Main thread only.

constexpr int ENG_LANG_NAME_SIZE = 64;      // native and English names, with the terminator
constexpr int ENG_LANG_FLAG_CODE_SIZE = 4;  // at most 3 characters
constexpr int ENG_LANG_MAX_TOKEN_LEN = 63;
constexpr int ENG_LANG_MAX_LINE_LEN = 4095;
constexpr const char* ENG_LANG_COMMON_TEXTS_PATH = "Data\\Common\\CommonTexts";

// One language.
class EngLangInfoC
{
public:
    bool SetNameInEnglish(const char* name);
    bool SetNameInEnglishWithLen(const char* name, int len);
    bool SetNameNative(const char* name);
    bool SetFlagCountryCode(const char* code);

    const char* GetNameInEnglish() const { return name_english; }
    const char* GetNameNative() const { return name_native; }
    const char* GetNameDisplay() const { return name_display; }
    const char* GetFlagCountryCode() const { return flag_country_code; }

private:
    char name_english[ENG_LANG_NAME_SIZE] = {};
    char name_native[ENG_LANG_NAME_SIZE] = {};
    char name_display[ENG_LANG_NAME_SIZE] = {};
    char flag_country_code[ENG_LANG_FLAG_CODE_SIZE] = {};
};

// One sub-text of a text.
class EngLangSubTextC
{
public:
    EngLangSubTextC() = default;
    ~EngLangSubTextC();
    EngLangSubTextC(const EngLangSubTextC&) = delete;
    EngLangSubTextC& operator=(const EngLangSubTextC&) = delete;

    bool SetText(const char* text, int len);
    const char* GetText() const { return text ? text : ""; }

private:
    char* text = nullptr;
};

// One token with its sub-texts 0, 1, ...
class EngLangTextC
{
public:
    EngLangTextC() = default;
    ~EngLangTextC();
    EngLangTextC(const EngLangTextC&) = delete;
    EngLangTextC& operator=(const EngLangTextC&) = delete;

    bool SetToken(const char* token, int len);
    // Appends a sub-text; false when out of memory.
    bool AddSubText(const char* text, int len);
    const char* GetToken() const { return token ? token : ""; }
    int GetNumSubTexts() const { return num_sub_texts; }
    const char* GetSubText(int index) const;

private:
    char* token = nullptr;
    EngLangSubTextC** sub_texts = nullptr;
    int num_sub_texts = 0;
    int capacity = 0;
};

// One texts directory.
class EngLangPathC
{
public:
    EngLangPathC() = default;
    ~EngLangPathC();
    EngLangPathC(const EngLangPathC&) = delete;
    EngLangPathC& operator=(const EngLangPathC&) = delete;

    bool SetPath(const char* path);
    const char* GetPath() const { return path ? path : ""; }

private:
    char* path = nullptr;
};

// Setting up.
bool EngLanguagesInit(const char* directory, const char* default_language, bool english_only);
bool EngLanguagesAddTextsPath(const char* directory);
bool EngLanguagesInitAddExtraTextsPath(const char* directory);
bool EngLanguagesInitAddCommonTextsPath();
bool EngLanguagesInitFinished();
void EngLanguagesDestroy();

// Choosing a language.
bool EngLanguagesSetCurrentLanguage(int language);
int EngLanguagesGetCurrentLanguageNumber();
bool EngLangCheckIfCurrentLangEnglish();
bool EngLanguagesAreLoaded();
int EngLanguagesGetNumLanguages();

// Lookups. Returned texts stay valid until the tables are emptied (a language change or destroy).
int EngLanguagesGetTokenNumForToken(const char* token, int sub_text, bool fallback);
int EngLanguagesFindTokenNum(const char* token, bool fallback);
bool EngLanguagesDoesTokenExist(const char* token);
const char* EngLanguagesGetString(const char* token, int sub_text);
const char* EngLanguagesGetTextForToken(const char* token);
const char* EngLanguagesGetString(int text_num, int sub_text);
const char* EngLanguagesGetTextForTokenNum(int text_num);
const char* EngLanguagesGetStringOrDefault(const char* token, const char* default_text);
int EngLanguagesGetTokenNumAndNumSubTextsForToken(const char* token, int* num_sub_texts);
// Sub-text 0 of the token with the first "%1", "%2" and "%3" replaced by the given arguments.
bool EngLanguagesFormatString(const char* token, const char* arg1, const char* arg2, const char* arg3, char* out,
                              unsigned out_size);

// name holds ENG_LANG_NAME_SIZE characters.
bool EngLanguagesSetLangNameStringToEnglish(char* name, bool only_when_empty, bool note_when_empty);
// A new string (the caller frees it with EngFree): line breaks written as "\n", carriage returns dropped.
char* EngLangChangeNewLinesToSlashNsInString(const char* text, bool quotes_to_apostrophes);
// Folds UTF-8 pairs of Latin-1 characters to single bytes. Returns text itself (made_new false) or a new
// string that the caller frees with EngFree (made_new true).
char* ConvertUtf8ToExtendedAscii(char* text, bool* made_new);

// Loading (used by set-up and the fallback).
bool EngLangParseLanguage(int language, bool header_only);
bool EngLangParseLanguageFile(const char* file_name, int language, bool header_only);
// Writes a report of missing and extra texts of the current language to the log.
void EngLangCheckTranslation();

#include "Online/ScoresSubmit.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "Engine/Core/EngCodePage.h"
#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngInternet.h"
#include "Engine/Core/EngJson.h"
#include "Engine/Core/EngLanguages.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngZlib.h"
#include "Engine/MWin/MWin.h"
#include "Game/Screens/PlatformIcons.h"
#include "Online/CurlInterface.h"

namespace {

constexpr double k_auto_close_seconds = 3.0;
constexpr int k_timeout_seconds = 15;
constexpr unsigned k_shortest_reply = 3;
constexpr unsigned k_longest_reply = 19;

// Popups only when a gui is on and free at the start of the call; otherwise everything is only logged.
struct Popups {
    MWin* gui;

    void Show(const char* title, const char* text, double auto_close = 0.0) const
    {
        if (!gui || !text)
            return;
        gui->PopupMessage(title, text);
        if (auto_close > 0.0)
            gui->PopupSetAutoCloseTime(auto_close);
    }
    void Flash(const char* text) const
    {
        if (gui)
            gui->PopupFlash(nullptr, text);
    }
};

const char* Text(const char* token, const char* english)
{
    return EngLanguagesGetStringOrDefault(token, english);
}

const char* ErrorTitle()
{
    return Text("Common_Error", "Error");
}

// JSON wants UTF-8; the row's texts are Windows-1252.
std::string Utf8(const char* text, unsigned size)
{
    char bounded[64];
    unsigned length = (unsigned)strnlen(text, size);
    if (length >= sizeof bounded)
        length = sizeof bounded - 1;
    memcpy(bounded, text, length);
    bounded[length] = 0;
    char out[4 * sizeof bounded];
    if (EngCodePageAnsiToUtf8(bounded, out, (int)sizeof out) < 0)
        return std::string();
    return std::string(out);
}

_ScoresSubmitResult JudgeVersion(const char* text, unsigned short game_version, const Popups& popups)
{
    long long numbers[2] = {};
    if (!ScoresReadReplyNumbers(text, 0, UINT16_MAX, numbers, 2))
        numbers[0] = numbers[1] = 0;
    unsigned server_version = (unsigned)numbers[0], newest = (unsigned)numbers[1];
    char message[128];
    if (server_version != game_version)
        snprintf(message, sizeof message, "Problem reading high scores list  [GV%d > CGV%d]", (int)game_version,
                 (int)server_version);
    else if (newest == game_version)
        snprintf(message, sizeof message, "Problem reading high scores list  [V SAME %d]", (int)newest);
    else if (game_version > newest)
        snprintf(message, sizeof message, "Problem reading high scores list  [V%d > V%d]", (int)game_version,
                 (int)newest);
    else {
        popups.Show(nullptr,
                    Text("Scores_OldVersionNormal", "This game is out of date - you need to download the latest "
                                                    "version."));
        return SCORES_SUBMIT_OUT_OF_DATE;
    }
    DebugError(ENG_FUNC, "%s", message);
    popups.Show(ErrorTitle(), message);
    return SCORES_SUBMIT_REFUSED;
}

_ScoresSubmitResult JudgeTooLow(const char* text, const Popups& popups, int* out_minimum)
{
    long long minimum = 0;
    if (!ScoresReadReplyNumbers(text, 0, INT32_MAX, &minimum, 1)) {
        DebugError(ENG_FUNC, "Bad minimum score [%.32s]", text);
        minimum = 0;
    }
    if (out_minimum)
        *out_minimum = (int)minimum;
    char message[512];
    snprintf(message, sizeof message, "%s %lld",
             Text("Score_InternetScoreTooLowMinIs", "Your score is too low for the internet high scores "
                                                    "list.\n\nThe current minimum score needed is:"),
             minimum);
    popups.Show(Text("Common_Sorry", "Sorry"), message);
    return SCORES_SUBMIT_TOO_LOW;
}

_ScoresSubmitResult JudgeReply(const char* reply, unsigned short game_version, const Popups& popups,
                               int* out_minimum)
{
    const char* text = reply + 3;
    char kind = reply[0] == ' ' ? reply[1] : 0;
    switch (kind) {
    case 'A':
        popups.Show(Text("Scores_Congratulations", "Congratulations!"),
                    Text("Score_SubmittedScore", "Your score was submitted successfully!"), k_auto_close_seconds);
        return SCORES_SUBMIT_ACCEPTED;
    case 'B':
        return JudgeTooLow(text, popups, out_minimum);
    case 'D':
        popups.Show(nullptr, Text("Score_BetterScoreExists", "You have already submitted as good a score or better."),
                    k_auto_close_seconds);
        return SCORES_SUBMIT_BETTER_EXISTS;
    case 'V':
        return JudgeVersion(text, game_version, popups);
    case 'X':
        DebugError(ENG_FUNC, "CE: %s", text);
        popups.Show(Text("Common_Sorry", "Sorry"), "There was a problem submitting your score.");
        return SCORES_SUBMIT_REFUSED;
    default:
        DebugError(ENG_FUNC, "CE: Unknown [%s].", reply);
        popups.Show(Text("Common_Sorry", "Sorry"), "Unknown problem while submitting.");
        return SCORES_SUBMIT_REFUSED;
    }
}

_ScoresSubmitResult CommunicationProblem(const Popups& popups)
{
    popups.Show(ErrorTitle(), Text("Score_InternetProblemCommunicating",
                                   "Problem encountered communicating with Ostrelmark"));
    return SCORES_SUBMIT_TRANSFER_FAILED;
}

// Posts the packed record; the curl handle never outlives the call.
_ScoresSubmitResult Post(const char* packed, unsigned short game_version, const Popups& popups, int* out_minimum)
{
    char url[512];
    if (!EngInternetMakeMakerURL("/cgi-bin/common/scores/Scores.fcgi", url, sizeof url)) {
        DebugError(ENG_FUNC, "Address too long");
        return SCORES_SUBMIT_REFUSED;
    }
    CurlInterface* curl = new (std::nothrow) CurlInterface("ScoresSub", false);
    if (!curl) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return SCORES_SUBMIT_REFUSED;
    }
    bool sent = curl->DownloadFromUrl(url, nullptr, SCORES_SUBMIT_REPLY_SIZE, packed, (unsigned)strlen(packed) + 1,
                                      false, k_timeout_seconds, nullptr);
    const char* data = curl->GetDownloadedData();
    unsigned length = data ? curl->GetDownloadedDataLength() : 0;
    char reply[SCORES_SUBMIT_REPLY_SIZE];
    if (length >= sizeof reply)
        length = sizeof reply - 1;
    if (data)
        memcpy(reply, data, length);
    reply[length] = 0;
    delete curl;

    if (!sent) {
        DebugError(ENG_FUNC, "Problem submitting [%s].", length ? reply : "(no data)");
        return CommunicationProblem(popups);
    }
    if (length < k_shortest_reply || length > k_longest_reply)
        return CommunicationProblem(popups);
    return JudgeReply(reply, game_version, popups, out_minimum);
}

} // namespace

unsigned ScoresSubmitDateValue(const _EngMiscDate* date)
{
    return ((unsigned)date->year * 15u + (unsigned)date->month) * 50u + (unsigned)date->day;
}

char* ScoresSubmitMakeRecordText(_ScoresProgram program, unsigned short game_version, unsigned table_id,
                                 const _ScoresScore* score)
{
    if (!score)
        return nullptr;
    EngJsonObject record;
    record["ac"] = "Sub";
    record["ver"] = 1;
    record["prog"] = program;
    record["gver"] = game_version;
    record["set"] = table_id;
    record["uid"] = score->uid;
    record["name"] = Utf8(score->name, sizeof score->name);
    record["cc"] = Utf8(score->cc, sizeof score->cc);
    record["fb"] = Utf8(score->fb, sizeof score->fb);
    record["v1"] = score->score;
    record["v2"] = score->value2;
    record["v3"] = score->value3;
    record["v4"] = score->value4;
    record["f1"] = score->digits[0];
    record["f2"] = score->digits[1];
    record["f3"] = score->digits[2];
    record["f4"] = score->digits[3];
    record["date"] = ScoresSubmitDateValue(&score->date);
    record["plat"] = std::string(1, PlatformGetCurrentPlatform(false));
    return EngJsonWriteObjectToString(record);
}

_ScoresSubmitResult ScoresSubmitScore(_ScoresProgram program, unsigned short game_version, unsigned table_id,
                                      const _ScoresScore* score, MWin* gui, int* out_minimum)
{
    Popups popups{gui && gui->IsOn() && !gui->IsPopupOn() ? gui : nullptr};
    if (!score) {
        DebugError(ENG_FUNC, "Parameters error");
        popups.Show(ErrorTitle(), Text("Common_InternalError", "Internal Error"));
        return SCORES_SUBMIT_REFUSED;
    }
    if (!ScoresMainIsScoreValid(score, false)) {
        popups.Show("Error", "Internal Error 1");
        return SCORES_SUBMIT_REFUSED;
    }
    if (!EngInternetIsConnectionAvailable()) {
        popups.Show(ErrorTitle(), Text("Misc_NoInternetConnection", "No connection to internet found"));
        return SCORES_SUBMIT_NO_INTERNET;
    }
    char* json = ScoresSubmitMakeRecordText(program, game_version, table_id, score);
    if (!json) {
        popups.Show("Error", "Internal Error 3");
        return SCORES_SUBMIT_REFUSED;
    }
    popups.Flash(Text("Score_SubmittingScore", "Submitting your score..."));
    char* packed = EngZlibEncryptCompressAndEncodeToBase64Data(SCORES_SUBMIT_KEY, json, (unsigned)strlen(json) + 1,
                                                               false, 0, nullptr);
    EngFree(json, false, "ScoresSubmitScore");
    if (!packed) {
        popups.Show("Error", "Internal Error 4");
        return SCORES_SUBMIT_REFUSED;
    }
    _ScoresSubmitResult result = Post(packed, game_version, popups, out_minimum);
    EngFree(packed, false, "ScoresSubmitScore");
    return result;
}

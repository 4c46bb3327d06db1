#include "Engine/Core/EngMain.h"

#include <SDL.h>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <pthread.h>
#include <thread>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngTypes.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngMessageBox_PC.h"
#include "Engine/Core/PC/EngTimer_PC.h"
#include "Engine/Core/PC/EngWindowProc_PC.h"
#include "Engine/Graphics/EngDevice.h"

namespace {

std::atomic<bool> g_main_thread_set{false};
pthread_t g_main_thread;
std::atomic<bool> g_worker_failed{false};

// The pending popup; a worker's fatal error fills it for the main thread to show.
std::mutex g_popup_lock;
_EngMiscPopupType g_popup_type = ENG_POPUP_NONE;
char g_popup_title[100];
char g_popup_text[400];

_EngOrientation g_orientation = ENG_ORIENTATION_LANDSCAPE;
int g_screen_mapping = 0;

EngMainClockSource g_clock_source = nullptr;

int g_closing_down = 0;

} // namespace

void EngMainCheckInternals()
{
    DebugFatalCheck(sizeof(EngInt8) == 1, ENG_FUNC, "sizeof(EngInt8) == 1");
    DebugFatalCheck(sizeof(EngUInt8) == 1, ENG_FUNC, "sizeof(EngUInt8) == 1");
    DebugFatalCheck(sizeof(EngInt16) == 2, ENG_FUNC, "sizeof(EngInt16) == 2");
    DebugFatalCheck(sizeof(EngUInt16) == 2, ENG_FUNC, "sizeof(EngUInt16) == 2");
    DebugFatalCheck(sizeof(EngInt32) == 4, ENG_FUNC, "sizeof(EngInt32) == 4");
    DebugFatalCheck(sizeof(EngUInt32) == 4, ENG_FUNC, "sizeof(EngUInt32) == 4");
    DebugFatalCheck(char(-1) < 0, ENG_FUNC, "char is not signed.");
}

void EngMainCallExit(int code)
{
    DebugInfoQuick(ENG_FUNC, "Exiting.");
    if (EngMainIsThisTheMainThread())
        std::exit(code);
    DebugError(ENG_FUNC, "Exiting thread...");
    // The main thread closes down normally and then reports the failure as its exit code.
    if (code != 0)
        g_worker_failed = true;
    pthread_exit(nullptr);
}

bool EngMainRecordMainThread()
{
    if (g_main_thread_set)
        return false;
    g_main_thread = pthread_self();
    g_main_thread_set = true;
    return true;
}

bool EngMainIsThisTheMainThread()
{
    if (!g_main_thread_set) {
        DebugError(ENG_FUNC, "Main thread var not set");
        return true;
    }
    return pthread_equal(g_main_thread, pthread_self()) != 0;
}

bool EngMainWorkerFailed()
{
    return g_worker_failed;
}

void EngMainForceExitNow(const char* title, const char* text)
{
    if (eng_main_program)
        eng_main_program->ForceExitNow(title, text, false);
}

void EngMainRequestQuit()
{
    if (eng_main_program)
        eng_main_program->RequestQuit();
}

bool EngMiscExitProgramNow(bool return_to_caller)
{
    if (eng_current_device) {
        if (eng_main_window) {
            eng_main_window->Destroy();
            DebugInfoQuick(ENG_FUNC, "Exiting main program.");
        } else {
            DebugError(ENG_FUNC, "Device created but no window created");
        }
    }
    if (eng_main_program)
        eng_main_program->Shutdown(false);
    if (return_to_caller)
        return !(eng_current_device && !eng_screen_windowed);
    double end = EngMainUpdateTime() + 4.0;
    while (eng_time < end) {
        if (EngMainPumpOneMessage_PC() == 0)
            break;
        EngMiscSleep(0.01);
        EngMainUpdateTime();
    }
    std::exit(0);
}

EngMainClosingDown::EngMainClosingDown()
{
    ++g_closing_down;
}

EngMainClosingDown::~EngMainClosingDown()
{
    --g_closing_down;
}

bool EngMainIsClosingDown()
{
    return g_closing_down > 0;
}

void EngMainShowFatalBox()
{
    if (!EngMiscExitProgramNow(true))
        return;
    const char* log_name = DebugGetLogFilename();
    bool has_log = log_name && *log_name && EngFileExists(log_name, false);
    EngMiscDropMessages_PC(2.0);
    SDL_ShowCursor(SDL_ENABLE);
    if (!has_log) {
        EngMessageBox_PC("Error Running Program",
                         "The program had to terminate prematurely. No error logs were generated.",
                         _EngMessageBoxButtons::Ok, _EngMessageBoxIcon::Error);
        return;
    }
    int answer = EngMessageBox_PC("Error Running Program",
                                  "The program had to terminate prematurely.\n\nDo you wish to see the log file ?",
                                  _EngMessageBoxButtons::YesNo, _EngMessageBoxIcon::Error);
    if (answer == ENG_IDYES)
        EngMiscOpenFileWithShell_PC(log_name);
}

void EngMiscSleep(double seconds)
{
    int ms = int(seconds * 1000.0);
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool EngMiscWaitProcessingMessages(double seconds)
{
    if (seconds <= 0.0)
        return true;
    double end = EngMainUpdateTime() + seconds;
    for (;;) {
        if (eng_main_window && eng_main_window->PumpOneMessage() == 0)
            return false;
        EngMiscSleep(0.01);
        if (EngMainUpdateTime() >= end)
            return true;
    }
}

void EngMainRenderFrameNow(bool render, bool measure)
{
    if (!eng_main_program)
        return;
    if (render) {
        eng_main_program->RenderCB();
        if (eng_main_window)
            eng_main_window->RenderTextureCursor_PC();
        if (eng_current_device)
            EngDeviceSwapBuffers();
    }
    if (measure)
        eng_main_program->MeasureFrameRate();
}

void EngMiscSetPopupTexts(_EngMiscPopupType type, const char* title, const char* text)
{
    std::lock_guard<std::mutex> guard(g_popup_lock);
    g_popup_type = type;
    EngSafeStrcpy(g_popup_title, title, sizeof(g_popup_title));
    EngSafeStrcpy(g_popup_text, text, sizeof(g_popup_text));
}

bool EngMiscArePopupTextsSet()
{
    std::lock_guard<std::mutex> guard(g_popup_lock);
    return g_popup_type != ENG_POPUP_NONE;
}

void EngMiscShowPopupMessage(_EngMiscPopupType type, const char* title, const char* text)
{
    if (EngMainIsClosingDown() && EngMainIsThisTheMainThread()) {
        DebugError(ENG_FUNC, "POPUP while closing down <%s> <%s>", EngStringOrNone(title), EngStringOrNone(text));
        return;
    }
    if (type != ENG_POPUP_NONE || title || text)
        EngMiscSetPopupTexts(type, title, text);
    if (EngMainCurrentDeviceIsCreated()) {
        DebugError(ENG_FUNC, "POPUP: No device <%s> <%s>", EngStringOrNone(title), EngStringOrNone(text));
        if (!EngMiscExitProgramNow(true))
            return;
    }
    char shown_title[sizeof(g_popup_title)];
    char shown_text[sizeof(g_popup_text)];
    {
        std::lock_guard<std::mutex> guard(g_popup_lock);
        EngSafeStrcpy(shown_title, g_popup_title, sizeof(shown_title));
        EngSafeStrcpy(shown_text, g_popup_text, sizeof(shown_text));
        g_popup_type = ENG_POPUP_NONE;
    }
    EngMiscShowMessageBox_PC(type, shown_title, shown_text);
}

bool EngMainCurrentDeviceIsCreated()
{
    return eng_current_device && eng_current_device->IsCreated();
}

void EngMainSetOrientation(_EngOrientation orientation)
{
    g_orientation = orientation;
    g_screen_mapping = 0;
}

_EngOrientation EngMainGetOrientation()
{
    return g_orientation;
}

int EngMainGetScreenMapping()
{
    return g_screen_mapping;
}

bool EngMainIsPortrait()
{
    return g_orientation < 2;
}

bool EngMainIsLandscape()
{
    return g_orientation >= 2;
}

bool EngMainScreenToVirtual(float x, float y, float* vx, float* vy)
{
    if (eng_screen_width < 1 || eng_screen_height < 1)
        return false;
    if (vx)
        *vx = x * ENG_VIRTUAL_WIDTH / float(eng_screen_width);
    if (vy)
        *vy = y * ENG_VIRTUAL_HEIGHT / float(eng_screen_height);
    return true;
}

int EngMainGetScreenLayout(int requested)
{
    return requested >= 0 ? requested : 0;
}

bool EngMainIsHandheldLayout(int requested)
{
    return EngMainGetScreenLayout(requested) > 0;
}

void EngMainSetClockSource(EngMainClockSource source)
{
    g_clock_source = source;
}

double EngMainUpdateTime()
{
    eng_time = g_clock_source ? g_clock_source() : EngMainGetTime_PC();
    return eng_time;
}

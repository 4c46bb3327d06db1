#pragma once

// Process-wide services of the engine: ending the process, deferred message boxes, the program clock,
// orientation and the mapping from screen pixels to the 640 x 480 virtual screen.

// 0 and 1 are the portrait values, 2 and 3 the landscape values.
typedef int _EngOrientation;
constexpr _EngOrientation ENG_ORIENTATION_PORTRAIT = 0;
constexpr _EngOrientation ENG_ORIENTATION_LANDSCAPE = 2;

// 0 none pending, 2 exclamation, 3 error, any other value a plain box.
typedef int _EngMiscPopupType;
constexpr _EngMiscPopupType ENG_POPUP_NONE = 0;
constexpr _EngMiscPopupType ENG_POPUP_EXCLAMATION = 2;
constexpr _EngMiscPopupType ENG_POPUP_ERROR = 3;

// Start-up checks of the integer widths and of signed char; failures are fatal.
void EngMainCheckInternals();

// Ending the process. On the main thread the process ends with code; on any other thread only the
// calling thread ends, and the process will end with -1 once the main thread has closed down.
void EngMainCallExit(int code);
// Records the calling thread as the main thread; returns false when one was already recorded.
bool EngMainRecordMainThread();
bool EngMainIsThisTheMainThread();
// Set when a worker thread ended through a fatal error; the process must then end with -1.
bool EngMainWorkerFailed();
void EngMainForceExitNow(const char* title, const char* text);
void EngMainRequestQuit();
bool EngMiscExitProgramNow(bool return_to_caller);
// The fatal box of a failed start-up: offers the log file when there is one.
void EngMainShowFatalBox();

// Marks the close-down of the main window or program while it lasts. A popup raised meanwhile (a save that
// fails as the window closes) is only logged: its way out closes down, which would start again from inside.
class EngMainClosingDown
{
public:
    EngMainClosingDown();
    ~EngMainClosingDown();
    EngMainClosingDown(const EngMainClosingDown&) = delete;
    EngMainClosingDown& operator=(const EngMainClosingDown&) = delete;
};
bool EngMainIsClosingDown();

// A current graphics device exists and is created.
bool EngMainCurrentDeviceIsCreated();

void EngMiscSleep(double seconds);
bool EngMiscWaitProcessingMessages(double seconds);
void EngMainRenderFrameNow(bool render, bool measure);

// Deferred and immediate message boxes.
void EngMiscSetPopupTexts(_EngMiscPopupType type, const char* title, const char* text);
bool EngMiscArePopupTextsSet();
void EngMiscShowPopupMessage(_EngMiscPopupType type, const char* title, const char* text);

// Orientation and layout.
void EngMainSetOrientation(_EngOrientation orientation);
_EngOrientation EngMainGetOrientation();
// The screen mapping that goes with the orientation (always 0 on this platform).
int EngMainGetScreenMapping();
bool EngMainIsPortrait();
bool EngMainIsLandscape();
bool EngMainScreenToVirtual(float x, float y, float* vx, float* vy);
int EngMainGetScreenLayout(int requested);
bool EngMainIsHandheldLayout(int requested);

// Reads the clock into eng_time and returns it: the platform clock, or the source a test installed.
double EngMainUpdateTime();
typedef double (*EngMainClockSource)();
// Null restores the platform clock.
void EngMainSetClockSource(EngMainClockSource source);

#include "Engine/Core/EngProgram.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <new>
#include <thread>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngSignals_PC.h"
#include "Engine/Core/PC/EngTimer_PC.h"
#include "Engine/Core/PC/EngWindowProc_PC.h"
#include "Engine/Graphics/EngDevice.h"


double eng_time = 0.0;
float eng_frame_rate = 60.0f;
float eng_frame_time = 1.0f / 60.0f;
EngProgram* eng_main_program = nullptr;
_EngDeviceType eng_main_device_type = ENG_DEVICE_DX9;
bool eng_main_window_was_created = false;

namespace {

// Automatic frame-rate adjustment: when to look next and the wait rounds noted at the last three looks.
double g_next_rate_check = 0.0;
int g_noted_rounds[3] = {0, 0, 0};

// Milliseconds since the system started, as the seed of the runtime's random numbers.
unsigned SystemMilliseconds()
{
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return unsigned(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

void SleepMilliseconds(int ms)
{
    if (ms > 0)
        EngMiscSleep(ms / 1000.0);
}

} // namespace

EngProgram::EngProgram()
{
    if (!EngMainRecordMainThread())
        DebugFatalCheck(false, ENG_FUNC, "Main thread already setup");
    eng_main_device_type = ENG_DEVICE_DX9;
    eng_frame_rate = 60.0f;
    eng_frame_time = 1.0f / 60.0f;
    eng_time = 0.0;
    std::srand(SystemMilliseconds());
    eng_main_program = this;
}

EngProgram::~EngProgram()
{
    Shutdown(false);
    CloseMainWindow();
    if (eng_main_program == this)
        eng_main_program = nullptr;
}

signed char EngProgram::Init(char* command_line)
{
    (void)command_line;
    return 1;
}

signed char EngProgram::PreCreateWindowCB(_EngCreateWindowParms* parms)
{
    (void)parms;
    return 1;
}

bool EngProgram::PostCreateWindowCB()
{
    return true;
}

signed char EngProgram::PreDeviceInitCB()
{
    return 1;
}

signed char EngProgram::PostDeviceInitCB()
{
    return 1;
}

signed char EngProgram::PreCreateGraphicsObjectsCB()
{
    return 1;
}

bool EngProgram::CreateGraphicsObjectsCB()
{
    return true;
}

signed char EngProgram::PostCreateGraphicsObjectsCB()
{
    return 1;
}

void EngProgram::PreDestroyGraphicsObjectsCB() {}
void EngProgram::DestroyGraphicsObjectsCB() {}
void EngProgram::PostDestroyGraphicsObjectsCB() {}

bool EngProgram::TickCB()
{
    return true;
}

void EngProgram::RenderCB()
{
    if (!eng_current_device)
        return;
    EngDeviceSetClearColour(0.2f, 0.4f, 0.3f);
    EngDeviceClearScreenAndZBuffer();
    if (eng_main_window)
        eng_main_window->RenderTextureCursor_PC();
}

bool EngProgram::InputEventCB(_EngInputEventType type, EngUInt32 value1, EngUInt32 value2)
{
    (void)type;
    (void)value1;
    (void)value2;
    return false;
}

void EngProgram::OrientationChangedCB(int orientation)
{
    (void)orientation;
}

void EngProgram::SuspendCB(bool suspending)
{
    (void)suspending;
}

void EngProgram::ActivateCB(int activation_state)
{
    (void)activation_state;
}

void EngProgram::MinimisedCB(bool minimised)
{
    (void)minimised;
}

void EngProgram::GraphicsReadyCB() {}
void EngProgram::PreCloseWindowCB() {}
void EngProgram::PostCloseWindowCB() {}
void EngProgram::DeInitCB() {}

signed char EngProgram::Setup(void* instance, char* command_line)
{
    EngMainCheckInternals();
    m_main_window = nullptr;
    m_instance = instance;
    EngMainStartClock_PC();
    signed char result = Init(command_line);
    if (result < 1)
        return result;
    EngSignalsInstall_PC();
    return 1;
}

bool EngProgram::SetMainDeviceType(_EngDeviceType type)
{
    if (m_main_window || eng_current_device) {
        DebugError(ENG_FUNC, "Call this before creating a window or device.");
        return false;
    }
    eng_main_device_type = type;
    return true;
}

signed char EngProgram::CreateMainWindow(const char* title, const char* class_name, _EngCreateWindowParms* parms)
{
    if (!parms) {
        DebugError(ENG_FUNC, "No window parms");
        return 0;
    }
    if (m_main_window) {
        DebugError(ENG_FUNC, "Window already created.");
        return 0;
    }
    const char* name = class_name ? class_name : "";
    if (std::strlen(name) >= sizeof(parms->class_name)) {
        DebugError(ENG_FUNC, "Window class name too long");
        return 0;
    }
    EngSafeStrcpy(parms->class_name, name, sizeof(parms->class_name));
    signed char result = 0;
    m_main_window = DoCreateMainWindow(title, parms, &result);
    if (m_main_window)
        return 1;
    if (result < 0)
        return result;
    DebugError(ENG_FUNC, "Could not create main window.");
    return 0;
}

EngWindow* EngProgram::DoCreateMainWindow(const char* title, _EngCreateWindowParms* parms, signed char* result)
{
    *result = 0;
    if (m_main_window) {
        DebugError(ENG_FUNC, "Can only have one window at a time");
        return nullptr;
    }
    EngWindow* window = new (std::nothrow) EngWindow(this, title);
    if (!window) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return nullptr;
    }
    signed char created = window->Create(parms);
    if (created > 0) {
        *result = 1;
        eng_main_window_was_created = true;
        return window;
    }
    window->Destroy();
    delete window;
    *result = created;
    return nullptr;
}

bool EngProgram::CreateMainGraphicsDevice()
{
    if (!m_main_window) {
        DebugError(ENG_FUNC, "No window.");
        return false;
    }
    if (!m_main_window->CreateGraphicsDevice()) {
        DebugError(ENG_FUNC, "Could not create graphics device.");
        return false;
    }
    return true;
}

signed char EngProgram::RunMainLoop()
{
    double start = EngMainUpdateTime();
    unsigned first_frame = m_frame_count;
    // An idle screen is drawn once, not at every frame: software OpenGL would fill each pixel sixty times a second.
    EngDeviceSkipRepeatedFrames(true);
    signed char result = 1;
    switch (m_main_loop_mode) {
    case _EngMainLoopMode::ConstantFrameRate:
        RunConstantFrameRate();
        result = 0;
        break;
    case _EngMainLoopMode::FullRender:
        RunFullRender();
        result = 0;
        break;
    case _EngMainLoopMode::EventDriven:
        RunEventDriven();
        break;
    case _EngMainLoopMode::Full:
        RunFull();
        break;
    case _EngMainLoopMode::RenderWhenNeeded:
        RunRenderWhenNeeded();
        break;
    }
    DebugInfoQuick(ENG_FUNC, "Main loop ended: %u frames in %.2f seconds.", m_frame_count - first_frame,
                   EngMainUpdateTime() - start);
    return result;
}

bool EngProgram::CheckProgramVanished(const char* message)
{
    if (eng_main_program)
        return false;
    DebugInfoQuick(ENG_FUNC, "%s", message);
    m_quit = true;
    return true;
}

void EngProgram::RunConstantFrameRate()
{
    while (!m_quit) {
        if (!DoConstantFrameRateTick())
            return;
    }
}

bool EngProgram::DoConstantFrameRateTick()
{
    if (EngSignalsPending_PC()) {
        CloseDownOnSignal();
        return false;
    }
    double start = EngMainUpdateTime();
    double end = start + 1.0 / m_target_frame_rate;
    PumpMessages();
    if (CheckProgramVanished("Exiting as no eng_main_program."))
        return false;
    if (!m_quit) {
        DoTick();
        if (CheckProgramVanished("Exiting as no eng_main_program."))
            return false;
        DoRender();
    }
    if (CheckProgramVanished("Exiting as no eng_main_program."))
        return false;
    int rounds = WaitForFrameEnd(end);
    m_last_wait_rounds = rounds;
    if (m_auto_adjust_rate)
        AdjustFrameRate(rounds);
    double frame_time = eng_time - start;
    eng_frame_time = float(frame_time);
    if (frame_time > 0.0)
        eng_frame_rate = float(1.0 / frame_time);
    ++m_frame_count;
    return true;
}

// Input that arrives while the frame waits is pumped and answered at once, but it does not end the wait: a
// frame that ended at every event would follow the mouse's report rate, hundreds of frames a second.
int EngProgram::WaitForFrameEnd(double end)
{
    EngMainUpdateTime();
    int rounds = 0;
    while (rounds < m_min_wait_rounds && !StopWaiting()) {
        WaitOneRound(end, true);
        ++rounds;
    }
    double idle_start = eng_time;
    bool waited = false;
    while (eng_time < end && !StopWaiting()) {
        WaitOneRound(end, false);
        waited = true;
    }
    if (!waited)
        return rounds;
    // Counted from the time slept, not the wake-ups: a flood of input wakes the wait far more often than
    // once a round, and the rate adjustment reads the rounds as the frame's idle time.
    double round = WaitRoundSeconds();
    return rounds + std::max(1, int(std::lround((eng_time - idle_start) / round)));
}

bool EngProgram::StopWaiting() const
{
    return m_quit || EngSignalsPending_PC();
}

double EngProgram::WaitRoundSeconds() const
{
    return m_sleep_10ms_while_waiting ? 0.010 : 0.001;
}

// The minimum is still slept one round at a time; past it, the rest of the frame is one wait that wakes for
// input or the frame's end (each wake-up costs a round trip to the X server). That wait stops short of the
// frame's end by what is left of a millisecond, which is slept exactly: rounded up, every frame would last up
// to a millisecond too long (58 frames a second instead of 60).
void EngProgram::WaitOneRound(double end, bool single)
{
    bool whole_rounds = single || m_sleep_10ms_while_waiting;
    int ms = whole_rounds ? int(std::lround(WaitRoundSeconds() * 1000.0)) : int((end - eng_time) * 1000.0);
    if (ms < 1) {
        std::this_thread::sleep_for(std::chrono::duration<double>(end - eng_time));
    } else if (m_pump_while_waiting) {
        EngMainWaitForMessage_PC(ms);
        PumpMessages();
    } else {
        EngMiscSleep(ms / 1000.0);
    }
    EngMainUpdateTime();
}

void EngProgram::AdjustFrameRate(int rounds)
{
    if (eng_time < g_next_rate_check)
        return;
    int average = (rounds + g_noted_rounds[0] + g_noted_rounds[1] + g_noted_rounds[2]) / 4;
    g_noted_rounds[0] = g_noted_rounds[1];
    g_noted_rounds[1] = g_noted_rounds[2];
    g_noted_rounds[2] = rounds;
    if (average >= 9) {
        if (m_target_frame_rate < 240.0f)
            m_target_frame_rate += 3.0f;
    } else if (average >= 5) {
        if (m_target_frame_rate < 120.0f)
            m_target_frame_rate += 3.0f;
    } else if (average == 0) {
        if (m_target_frame_rate > 60.0f)
            m_target_frame_rate -= 3.0f;
    }
    g_next_rate_check = eng_time + 0.1;
}

void EngProgram::RunFullRender()
{
    double last = EngMainUpdateTime();
    while (!m_quit) {
        EngMainUpdateTime();
        for (int step = 0; step < 10 && last < eng_time && !m_quit; ++step) {
            PumpMessages();
            if (!m_quit)
                DoTick();
            last += eng_frame_time;
            EngMainUpdateTime();
            if (CheckProgramVanished("Exiting as no eng_main_program. (FullRender)"))
                return;
        }
        DoRender();
        SleepMilliseconds(m_sleep_after_frame_ms);
        ++m_frame_count;
    }
}

void EngProgram::RunEventDriven()
{
    double linger_end = 0.0;
    while (!m_quit) {
        EngMainUpdateTime();
        PumpMessages();
        bool before_deadline = m_render_deadline > 0.0 && eng_time < m_render_deadline;
        if (m_pending_frames == 0 && eng_time >= linger_end && !before_deadline) {
            SleepMilliseconds(m_event_sleep_ms);
            if (m_event_idle_callback)
                m_event_idle_callback();
            if (CheckProgramVanished("Exiting as no eng_main_program. (EventDriven B)"))
                return;
            continue;
        }
        if (m_event_frame_rate != 0.0f) {
            eng_frame_rate = m_event_frame_rate;
            eng_frame_time = 1.0f / m_event_frame_rate;
        }
        double frame_end = eng_time + eng_frame_time;
        if (m_event_tick_while_rendering)
            DoTick();
        if (CheckProgramVanished("Exiting as no eng_main_program. (EventDriven)"))
            return;
        if (m_event_render_while_rendering)
            DoRender();
        if (m_render_deadline <= 0.0) {
            while (eng_time < frame_end && !m_quit) {
                EngMiscSleep(0.001);
                EngMainUpdateTime();
            }
        }
        if (m_pending_frames != 0)
            linger_end = eng_time + m_event_linger;
        if (m_pending_frames > 0)
            --m_pending_frames;
        if (m_render_deadline > 0.0 && eng_time >= m_render_deadline)
            m_render_deadline = 0.0;
        ++m_frame_count;
    }
}

void EngProgram::RunFull()
{
    for (;;) {
        EngMainUpdateTime();
        PumpMessages();
        if (m_quit)
            return;
        DoFullFrame();
        if (CheckProgramVanished("Exiting as no eng_main_program. (Full)"))
            return;
    }
}

void EngProgram::DoFullFrame()
{
    if (m_quit || m_suspended || SkipForMinimised(true, true))
        return;
    if (TickCB()) {
        RenderCB();
        if (m_main_window) {
            m_main_window->RenderTextureCursor_PC();
            m_main_window->PollCursor_PC();
        }
    }
    if (eng_current_device) {
        EngDeviceSyncWithGPU();
        EngDeviceSwapBuffers();
        MeasureFrameRate();
    }
    SleepMilliseconds(m_sleep_after_frame_ms);
    ++m_frame_count;
}

void EngProgram::RunRenderWhenNeeded()
{
    while (!m_quit) {
        EngMainUpdateTime();
        PumpMessages();
        if (!m_render_needed) {
            if (m_when_needed_tick_while_idle)
                DoTick();
            if (m_when_needed_idle_callback)
                m_when_needed_idle_callback();
            if (CheckProgramVanished("Exiting as no eng_main_program. (RenderWhenNeeded B)"))
                return;
            if (m_event_sleep_ms != 0)
                SleepMilliseconds(m_when_needed_idle_sleep_ms);
            continue;
        }
        if (m_when_needed_frame_rate != 0.0f) {
            eng_frame_rate = m_when_needed_frame_rate;
            eng_frame_time = 1.0f / m_when_needed_frame_rate;
        }
        m_render_needed = false;
        if (m_quit)
            return;
        DoTick();
        if (CheckProgramVanished("Exiting as no eng_main_program. (RenderWhenNeeded)"))
            return;
        DoRender();
        if (m_event_sleep_ms != 0)
            SleepMilliseconds(m_when_needed_sleep_after_render_ms);
        ++m_frame_count;
    }
}

bool EngProgram::SkipForMinimised(bool tick, bool render)
{
    if (!m_pause_when_minimised || !m_main_window || !m_main_window->IsMinimised())
        return false;
    if (m_minimised_callback)
        m_minimised_callback(tick, render, m_minimised_user_data);
    else
        EngMiscSleep(0.05);
    return true;
}

void EngProgram::DoTick()
{
    if (m_quit || m_suspended || SkipForMinimised(true, false))
        return;
    if (!EngMainCurrentDeviceIsCreated())
        return;
    TickCB();
    if (m_main_window)
        m_main_window->PollCursor_PC();
}

void EngProgram::DoRender()
{
    if (!EngMainCurrentDeviceIsCreated() || m_suspended || m_quit || SkipForMinimised(false, true))
        return;
    RenderCB();
    if (m_main_window)
        m_main_window->RenderTextureCursor_PC();
    EngDeviceSyncWithGPU();
    EngDeviceSwapBuffers();
    MeasureFrameRate();
}

void EngProgram::MeasureFrameRate()
{
    if (m_main_loop_mode != _EngMainLoopMode::Full)
        return;
    if (m_last_measure_time == 0.0) {
        m_last_measure_time = eng_time;
        return;
    }
    double difference = eng_time - m_last_measure_time;
    double frame_time = difference;
    if (m_average_frame_rate) {
        double sum = difference;
        int values = 1;
        for (float earlier : m_frame_time_history) {
            if (earlier != 0.0f) {
                sum += earlier;
                ++values;
            }
        }
        frame_time = sum / values;
    }
    if (difference > 0.0001) {
        for (int i = 3; i > 0; --i)
            m_frame_time_history[i] = m_frame_time_history[i - 1];
        m_frame_time_history[0] = float(difference);
        m_last_measure_time = eng_time;
    }
    eng_frame_time = float(frame_time);
    eng_frame_rate = frame_time == 0.0 ? 1000.0f : float(1.0 / frame_time);
}

void EngProgram::QuitMainLoop()
{
    DebugInfoQuick(ENG_FUNC, "Exiting.");
    m_quit = true;
}

void EngProgram::RequestQuit()
{
    if (!m_quit)
        m_quit = true;
}

// Called from inside a frame (a GUI callback), the shutdown must wait until the GUI's walk has ended.
void EngProgram::QuitThenRun(EngExitCallback callback)
{
    m_exit_callback = callback;
    QuitMainLoop();
}

void EngProgram::CloseMainWindow()
{
    if (!m_main_window)
        return;
    m_main_window->Destroy();
    delete m_main_window;
    m_main_window = nullptr;
}

void EngProgram::Shutdown(bool unused)
{
    (void)unused;
    if (!eng_main_program)
        return;
    m_quit = true;
    {
        EngMainClosingDown closing_down;
        CloseMainWindow();
        DeInitCB();
    }
    eng_main_program = nullptr;
    if (m_exit_callback) {
        EngMiscDropMessages_PC(1.0);
        m_exit_callback();
        return;
    }
    if (m_show_popup_after_exit) {
        EngMiscDropMessages_PC(1.0);
        m_show_popup_after_exit = false;
        EngMiscShowPopupMessage(ENG_POPUP_NONE, nullptr, nullptr);
    }
}

void EngProgram::ForceExitNow(const char* title, const char* text, bool from_signal)
{
    bool has_texts = title || text;
    if (has_texts)
        EngMiscSetPopupTexts(ENG_POPUP_ERROR, title, text);
    if (!EngMainIsThisTheMainThread()) {
        DebugError(ENG_FUNC, "Not closing down as not the main thread");
        // The popup flag first: the main thread reads it once it has seen the quit flag.
        ShowPopupAfterExiting();
        m_quit = true;
        return;
    }
    m_quit = true;
    CloseMainWindow();
    if (has_texts)
        EngMiscShowPopupMessage(ENG_POPUP_NONE, nullptr, nullptr);
    else if (!from_signal)
        EngMainShowFatalBox();
    eng_main_program = nullptr;
}

// A signal only raised a flag; the close-down runs here, on the main thread, between frames.
void EngProgram::CloseDownOnSignal()
{
    DebugInfoQuick(ENG_FUNC, "Signal %d received - closing down.", EngSignalsPending_PC());
    ForceExitNow(nullptr, nullptr, true);
}

void EngProgram::ShowPopupAfterExiting()
{
    if (!EngMiscArePopupTextsSet())
        DebugError(ENG_FUNC, "Popup texts are not set.");
    m_show_popup_after_exit = true;
}

void EngProgram::SetGpuSyncMethod(bool on, int method, bool may_switch)
{
    m_gpu_sync_method = on ? method : -1;
    m_gpu_sync_may_switch = may_switch;
}

// Only the event-driven loop runs a frame for input; the constant-rate wait answers input as it comes and
// keeps the frame's length.
void EngProgram::NoteInputEvent(bool mouse_move)
{
    if (m_main_loop_mode == _EngMainLoopMode::EventDriven && (!mouse_move || m_mouse_move_is_input))
        m_pending_frames = 1;
}

void EngProgram::NotePaint()
{
    EngDeviceRedrawNextFrame();
    if (m_main_loop_mode == _EngMainLoopMode::EventDriven)
        NoteInputEvent(false);
}

void EngProgram::RequestTwoRenders()
{
    if (m_main_loop_mode == _EngMainLoopMode::EventDriven)
        m_pending_frames = 2;
}

void EngProgram::SetRenderNeeded()
{
    if (m_main_loop_mode == _EngMainLoopMode::RenderWhenNeeded)
        m_render_needed = true;
}

void EngProgram::DoActivate(int activation_state)
{
    ActivateCB(activation_state);
    if (m_main_loop_mode == _EngMainLoopMode::EventDriven)
        m_render_deadline = eng_time + 10.0;
}

void EngProgram::DoGraphicsReady()
{
    GraphicsReadyCB();
    if (m_main_loop_mode == _EngMainLoopMode::EventDriven)
        m_render_deadline = eng_time + 10.0;
}

void EngProgram::DoSuspend(bool suspending)
{
    if (!suspending) {
        m_suspended = false;
        if (m_main_window)
            m_main_window->DoCreateGraphicsDevice(false);
        SuspendCB(false);
        return;
    }
    if (m_main_window)
        m_main_window->DoDestroyGraphicsDevice(false);
    SuspendCB(true);
    EngMiscSleep(3.0);
    m_suspended = true;
}

// Takes what is queued, within a bound, so that input is answered in the next frame however much arrives.
signed char EngProgram::PumpMessages()
{
    signed char result = 2;
    for (int taken = 0; taken < ENG_MAX_MESSAGES_PER_PUMP && result == 2; taken++) {
        if (m_quit || !eng_main_window || eng_main_program != this)
            return 0;
        result = eng_main_window->Pump();
    }
    return result;
}

#pragma once

// The application object: exactly one exists (eng_main_program). It owns the main window, runs the main
// loop on the main thread and calls its virtual callbacks, which the game's Program overrides.

#include <atomic>
#include <cstring>

#include "Engine/Core/EngTypes.h"

class EngWindow;
struct _EngCreateWindowParms;

// The program clock in seconds, refreshed once a frame; the frame rate and the last frame's duration.
extern double eng_time;
extern float eng_frame_rate;
extern float eng_frame_time;

class EngProgram;
extern EngProgram* eng_main_program;

// The graphics device kind; 1 (Direct3D 9, served here by OpenGL) is the only one.
typedef int _EngDeviceType;
constexpr _EngDeviceType ENG_DEVICE_DX9 = 1;
extern _EngDeviceType eng_main_device_type;

// Set once a main window has been created in this process.
extern bool eng_main_window_was_created;

enum class _EngMainLoopMode
{
    ConstantFrameRate = 0,
    FullRender = 1,
    EventDriven = 2,
    Full = 3,
    RenderWhenNeeded = 4,
};

// What the window hands to InputEventCB. Each value travels in a 32-bit cell: floats for MouseMove,
// whole numbers otherwise; one-byte values are read from the low byte only.
enum class _EngInputEventType
{
    MouseMove = 1,
    MouseButton = 2,
    MouseDoubleClick = 3,
    MouseWheel = 4,
    KeyDown = 5,
    KeyUp = 6,
    Character = 7,
};

inline EngUInt32 EngInputEventFromFloat(float value)
{
    EngUInt32 cell;
    std::memcpy(&cell, &value, sizeof(cell));
    return cell;
}

inline float EngInputEventToFloat(EngUInt32 cell)
{
    float value;
    std::memcpy(&value, &cell, sizeof(value));
    return value;
}

typedef void (*EngMinimisedCallback)(bool tick, bool render, void* user_data);
typedef void (*EngExitCallback)();
typedef void (*EngIdleCallback)();

class EngProgram
{
public:
    EngProgram();
    virtual ~EngProgram();

    // Callbacks, in slot order. Signed results: above 0 goes on, 0 fails with a report, below 0 stops quietly.
    virtual signed char Init(char* command_line);
    virtual signed char PreCreateWindowCB(_EngCreateWindowParms* parms);
    virtual bool PostCreateWindowCB();
    virtual signed char PreDeviceInitCB();
    virtual signed char PostDeviceInitCB();
    virtual signed char PreCreateGraphicsObjectsCB();
    virtual bool CreateGraphicsObjectsCB();
    virtual signed char PostCreateGraphicsObjectsCB();
    virtual void PreDestroyGraphicsObjectsCB();
    virtual void DestroyGraphicsObjectsCB();
    virtual void PostDestroyGraphicsObjectsCB();
    virtual bool TickCB();
    virtual void RenderCB();
    virtual bool InputEventCB(_EngInputEventType type, EngUInt32 value1, EngUInt32 value2);
    virtual void OrientationChangedCB(int orientation);
    virtual void SuspendCB(bool suspending);
    virtual void ActivateCB(int activation_state);
    virtual void MinimisedCB(bool minimised);
    virtual void GraphicsReadyCB();
    virtual void PreCloseWindowCB();
    virtual void PostCloseWindowCB();
    virtual void DeInitCB();

    signed char Setup(void* instance, char* command_line);
    bool SetMainDeviceType(_EngDeviceType type);
    signed char CreateMainWindow(const char* title, const char* class_name, _EngCreateWindowParms* parms);
    EngWindow* DoCreateMainWindow(const char* title, _EngCreateWindowParms* parms, signed char* result);
    bool CreateMainGraphicsDevice();

    signed char RunMainLoop();
    bool DoConstantFrameRateTick();
    void QuitMainLoop();
    void RequestQuit();
    void Shutdown(bool unused);
    void ForceExitNow(const char* title, const char* text, bool from_signal);

    void SetExitCallback(EngExitCallback callback) { m_exit_callback = callback; }
    // Ends the main loop after the current frame; the callback then runs at the very end of the shutdown.
    void QuitThenRun(EngExitCallback callback);
    void ShowPopupAfterExiting();
    void SetGpuSyncMethod(bool on, int method, bool may_switch);
    int GetGpuSyncMethod() const { return m_gpu_sync_method; }
    bool GetGpuSyncMaySwitch() const { return m_gpu_sync_may_switch; }

    void NoteInputEvent(bool mouse_move);
    void NotePaint();
    void RequestTwoRenders();
    void SetRenderNeeded();
    void DoActivate(int activation_state);
    void DoGraphicsReady();
    void DoSuspend(bool suspending);
    signed char PumpMessages();

    void DoTick();
    void DoRender();
    void MeasureFrameRate();

    bool IsQuitting() const { return m_quit; }
    bool IsSuspended() const { return m_suspended; }
    EngWindow* GetMainWindow() const { return m_main_window; }
    void* GetInstance() const { return m_instance; }
    bool IsGraphicsDeviceInitialised() const { return m_graphics_device_initialised; }
    void SetGraphicsDeviceInitialised() { m_graphics_device_initialised = true; }
    _EngMainLoopMode GetMainLoopMode() const { return m_main_loop_mode; }
    void SetMainLoopMode(_EngMainLoopMode mode) { m_main_loop_mode = mode; }
    float GetTargetFrameRate() const { return m_target_frame_rate; }
    void SetTargetFrameRate(float rate) { m_target_frame_rate = rate; }
    void SetAutoAdjustFrameRate(bool on) { m_auto_adjust_rate = on; }
    void SetMinimumWaitRounds(int rounds) { m_min_wait_rounds = rounds; }
    // Frames run by the main loop so far (logged when the program closes down).
    unsigned GetFrameCount() const { return m_frame_count; }
    // Wait rounds of the last constant-frame-rate frame.
    int GetLastWaitRounds() const { return m_last_wait_rounds; }

private:
    bool SkipForMinimised(bool tick, bool render);
    bool CheckProgramVanished(const char* where);
    int WaitForFrameEnd(double end);
    bool StopWaiting() const;
    double WaitRoundSeconds() const;
    void WaitOneRound(double end, bool single);
    void AdjustFrameRate(int rounds);
    void CloseMainWindow();
    void CloseDownOnSignal();
    void RunConstantFrameRate();
    void RunFullRender();
    void RunEventDriven();
    void RunFull();
    void RunRenderWhenNeeded();
    void DoFullFrame();

    // Also set from worker threads (a fatal error there ends the loop).
    std::atomic<bool> m_quit{false};
    bool m_suspended = false;
    bool m_show_popup_after_exit = false;
    EngWindow* m_main_window = nullptr;
    void* m_instance = nullptr;
    bool m_pause_when_minimised = true;
    EngMinimisedCallback m_minimised_callback = nullptr;
    void* m_minimised_user_data = nullptr;
    bool m_graphics_device_initialised = false;
    EngExitCallback m_exit_callback = nullptr;
    _EngMainLoopMode m_main_loop_mode = _EngMainLoopMode::ConstantFrameRate;

    float m_target_frame_rate = 60.0f;
    int m_min_wait_rounds = 0;
    bool m_sleep_10ms_while_waiting = false;
    bool m_pump_while_waiting = true;
    bool m_auto_adjust_rate = false;

    int m_sleep_after_frame_ms = 0;
    bool m_average_frame_rate = false;
    float m_frame_time_history[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    double m_last_measure_time = 0.0;

    int m_event_sleep_ms = 3;
    signed char m_pending_frames = 1;
    double m_render_deadline = 0.0;
    bool m_event_tick_while_rendering = true;
    bool m_event_render_while_rendering = true;
    bool m_mouse_move_is_input = true;
    float m_event_frame_rate = 60.0f;
    float m_event_linger = 0.5f;
    EngIdleCallback m_event_idle_callback = nullptr;

    float m_when_needed_frame_rate = 60.0f;
    int m_when_needed_sleep_after_render_ms = 0;
    int m_when_needed_idle_sleep_ms = 3;
    bool m_when_needed_tick_while_idle = true;
    bool m_render_needed = true;
    EngIdleCallback m_when_needed_idle_callback = nullptr;

    int m_gpu_sync_method = -1;
    bool m_gpu_sync_may_switch = false;

    unsigned m_frame_count = 0;
    int m_last_wait_rounds = 0;
};

#include "Engine/Core/EngThread.h"

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <chrono>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngMutex.h"
#include "Engine/Core/EngString.h"

namespace {

constexpr double kLoopReportInterval = 2.0;
constexpr double kOwnerHoldPoll = 0.01;
constexpr double kMutexWaitStep = 0.1;
constexpr double kDonePoll = 0.01;
constexpr int kDonePollsPerReport = 100;

// Signals are for the main thread: a worker that took SIGINT would end the process without the close-down.
bool BlockSignalsForNewThread(sigset_t* previous)
{
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    return pthread_sigmask(SIG_BLOCK, &blocked, previous) == 0;
}

}  // namespace

double EngThreadGetClock()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

EngThread::EngThread(const char* name, signed char verbosity, int flag)
    : m_verbosity(verbosity), m_flag(flag), m_tick_sleep_ms(1), m_tick_callback(nullptr),
      m_tick_user_data(nullptr), m_exit_callback(nullptr), m_exit_user_data(nullptr), m_max_mutex_hold(30.0),
      m_mutex_timeout(30.0), m_next_loop_report(0.0), m_state(0), m_has_mutex(false),
      m_mutex_holder(pthread_t()), m_init_requested(false), m_exit_requested(false), m_done(false),
      m_destroying(false), m_exit_argument(false), m_thread_started(false), m_thread(pthread_t()),
      m_mutex(nullptr)
{
    EngSafeStrcpy(m_name, name ? name : "", sizeof(m_name));
    if (m_verbosity >= 2)
        DebugInfoQuickAlt(ENG_FUNC, "Thread %s> Constructed.%s", m_name, "");
}

EngThread::~EngThread()
{
    if (m_verbosity >= 2)
        DebugInfoQuickAlt(ENG_FUNC, "Thread %s> Destructed.%s", m_name, "");
    Destroy(true);
}

bool EngThread::InitCB()
{
    return true;
}

bool EngThread::TickCB()
{
    return m_tick_callback ? m_tick_callback(m_tick_user_data) : true;
}

void EngThread::ExitCB(bool destroying)
{
    if (m_exit_callback)
        m_exit_callback(m_exit_user_data, destroying);
}

bool EngThread::Create(const char* name)
{
    if (name && *name)
        EngSafeStrcpy(m_name, name, sizeof(m_name));
    if (m_state != 0) {
        DebugError(ENG_FUNC, "Already Initialsed [%d]", int(m_state));
        Destroy(true);
    }
    m_mutex = EngMutexCreateNative();
    if (!m_mutex) {
        DebugError(ENG_FUNC, "pthread_mutex_init() failed");
        return false;
    }
    m_done = false;
    m_exit_requested = false;
    m_destroying = false;
    m_exit_argument = false;
    m_init_requested = true;
    m_state = 1;
    if (m_verbosity >= 1)
        DebugInfoQuickAlt(ENG_FUNC, "Thread %s> Creating.%s", m_name, "");
    sigset_t previous;
    bool masked = BlockSignalsForNewThread(&previous);
    int result = pthread_create(&m_thread, nullptr, ProcessThread, this);
    if (masked)
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (result != 0) {
        DebugError(ENG_FUNC, "pthread_create() failed");
        ResetVars();
        return false;
    }
    m_thread_started = true;
    m_state = 2;
    return true;
}

void EngThread::Destroy(bool destroying)
{
    if (m_thread_started && pthread_equal(m_thread, pthread_self())) {
        DebugErrorAlt(ENG_FUNC, "Thread %s> Destroy called from its own thread.", m_name);
        return;
    }
    if (m_state < 1) {
        if (m_verbosity >= 1)
            DebugInfoQuickAlt(ENG_FUNC, "Not waiting as thread is not initialised [%d]", int(m_state));
        ResetVars();
        return;
    }
    if (m_destroying)
        return;
    if (m_thread_started) {
        if (HasMutex())
            DoneWithMutex();
        m_exit_argument = destroying;
        SetFlagUnderMutex(&m_destroying, true);
        SetFlagUnderMutex(&m_exit_requested, true);
        ReleaseWorker();
    }
    ResetVars();
}

void EngThread::ReleaseWorker()
{
    if (m_verbosity >= 1)
        DebugInfoQuickAlt(ENG_FUNC, "Thread %s> Waiting for exit.%s", m_name, "");
    for (int polls = 1; !ReadFlagUnderMutex(&m_done); polls++) {
        EngMiscSleep(kDonePoll);
        if (polls % kDonePollsPerReport == 0)
            DebugInfoQuickAlt(ENG_FUNC, "Thread %s> Still waiting for exit [%d].%s", m_name, polls, "");
    }
    pthread_join(m_thread, nullptr);
    m_thread_started = false;
}

void EngThread::ResetVars()
{
    m_thread_started = false;
    EngMutexDestroyNative(m_mutex);
    m_mutex = nullptr;
    m_state = 0;
    m_has_mutex = false;
    m_init_requested = false;
    m_exit_requested = false;
    m_done = false;
    m_destroying = false;
    m_exit_argument = false;
    if (m_verbosity >= 2)
        DebugInfoQuickAlt(ENG_FUNC, "Thread %s> Vars reset.%s", m_name, "");
}

bool EngThread::IsRunning()
{
    if (m_state == 0)
        return false;
    if (!m_done)
        return true;
    Destroy(true);
    return false;
}

bool EngThread::HasMutex() const
{
    return m_state != 0 && m_has_mutex && pthread_equal(m_mutex_holder.load(), pthread_self());
}

bool EngThread::WaitForMutex()
{
    if (m_state == 0) {
        printf("Error: EngThread::WaitForMutex - Thread not setup\n");
        return false;
    }
    if (HasMutex()) {
        printf("Error: EngThread::WaitForMutex - Already have mutex\n");
        return false;
    }
    if (!m_mutex) {
        printf("Error: EngThread::WaitForMutex - No mutex\n");
        return false;
    }
    for (double waited = 0.0; waited < m_mutex_timeout; waited += kMutexWaitStep) {
        if (!m_mutex) {
            printf("Error: EngThread::WaitForMutex - No mutex exists\n");
            return false;
        }
        int result = pthread_mutex_trylock(m_mutex);
        if (result == 0) {
            m_mutex_holder = pthread_self();
            m_has_mutex = true;
            return true;
        }
        if (result == EINVAL)
            printf("Error: EngThread::WaitForMutex - Mutex is invalid\n");
        else if (result != EBUSY)
            printf("Error: EngThread::WaitForMutex - Unexpected result from wait: %d\n", result);
        EngMiscSleep(kMutexWaitStep);
    }
    printf("Error: EngThread::WaitForMutex - Wait timed-out\n");
    return false;
}

void EngThread::DoneWithMutex()
{
    if (m_state == 0) {
        DebugErrorAlt(ENG_FUNC, "Thread not setup");
        return;
    }
    if (!HasMutex()) {
        DebugErrorAlt(ENG_FUNC, "Don't have mutex");
        return;
    }
    if (!m_mutex) {
        DebugErrorAlt(ENG_FUNC, "No mutex.");
        return;
    }
    m_has_mutex = false;
    pthread_mutex_unlock(m_mutex);
}

void EngThread::SetFlagUnderMutex(std::atomic<bool>* flag, bool value)
{
    bool locked = WaitForMutex();
    *flag = value;
    if (locked)
        DoneWithMutex();
}

bool EngThread::ReadFlagUnderMutex(const std::atomic<bool>* flag)
{
    bool locked = WaitForMutex();
    bool value = *flag;
    if (locked)
        DoneWithMutex();
    return value;
}

void EngThread::SetTickSleep(double seconds)
{
    m_tick_sleep_ms = seconds > 0.0 ? int(seconds * 1000.0 + 0.5) : 0;
}

void EngThread::SetTickCallback(EngThreadTickCallback callback, void* user_data)
{
    m_tick_callback = callback;
    m_tick_user_data = user_data;
}

void EngThread::SetExitCallback(EngThreadExitCallback callback, void* user_data)
{
    m_exit_callback = callback;
    m_exit_user_data = user_data;
}

void EngThread::SetMaxMutexHold(double seconds)
{
    m_max_mutex_hold = seconds > 0.0 ? seconds : 0.0;
}

void EngThread::SetMutexTimeout(double seconds)
{
    m_mutex_timeout = seconds > 0.0 ? seconds : 0.0;
}

void* EngThread::ProcessThread(void* object)
{
    EngThread* thread = static_cast<EngThread*>(object);
    if (!thread || (thread->m_state != 1 && thread->m_state != 2)) {
        DebugErrorAlt(ENG_FUNC, "Invalid pointer");
        return nullptr;
    }
    // However the worker leaves (the loop ending, or pthread_exit from a fatal check unwinding this frame),
    // the owner waiting in Destroy must learn that it is gone.
    struct DoneOnExit
    {
        EngThread* thread;
        ~DoneOnExit() { thread->MarkDone(); }
    } done_on_exit{thread};
    thread->DoThreadMain();
    return nullptr;
}

void EngThread::MarkDone()
{
    // A worker cut short may still hold the lock, which would keep the owner from reading the flag.
    if (HasMutex())
        DoneWithMutex();
    SetFlagUnderMutex(&m_done, true);
}

void EngThread::DoThreadMain()
{
    while (LoopStep()) {
    }
}

bool EngThread::LoopStep()
{
    if (m_verbosity >= 3 && EngThreadGetClock() >= m_next_loop_report) {
        m_next_loop_report = EngThreadGetClock() + kLoopReportInterval;
        DebugInfoQuickAlt(ENG_FUNC, "Thread %s> Loop [ it: %d  hm: %d  imw: %d emw: %d", m_name, int(m_state),
                          int(m_has_mutex), int(m_init_requested), int(m_exit_requested));
    }
    if (m_state != 1 && m_state != 2) {
        DebugErrorAlt(ENG_FUNC, "Thread not initialised (A) (%d)", int(m_state));
        return false;
    }
    WaitWhileOwnerHoldsMutex();
    if (m_init_requested || m_exit_requested)
        return HandleRequests();
    if (m_state != 2)
        return true;
    if (!TickCB()) {
        if (m_verbosity >= 1)
            DebugInfoQuickAlt(ENG_FUNC, "Thread %s> TickCB(MWin *mwinp) returned 0 => Exiting.%s", m_name, "");
        SetFlagUnderMutex(&m_exit_requested, true);
        return true;
    }
    if (m_tick_sleep_ms > 0)
        EngMiscSleep(m_tick_sleep_ms / 1000.0);
    return true;
}

// The owner keeps the mutex only briefly; past the maximum hold the worker stops deferring to it and goes
// on to its own bounded wait, without touching the owner's record of holding the lock.
void EngThread::WaitWhileOwnerHoldsMutex()
{
    double waited = 0.0;
    while (m_has_mutex && !HasMutex()) {
        if (waited >= m_max_mutex_hold) {
            printf("Error:  EngThread::DoThreadMain:Mutex - mutex locked for longer than max time allowed\n");
            printf("Error:  EngThread::DoThreadMain:Mutex - forcing free\n");
            return;
        }
        EngMiscSleep(kOwnerHoldPoll);
        waited += kOwnerHoldPoll;
    }
}

bool EngThread::HandleRequests()
{
    if (!WaitForMutex())
        return true;
    if (m_state != 1 && m_state != 2) {
        DebugErrorAlt(ENG_FUNC, "Thread not initialised (C) (%d)", int(m_state));
        DoneWithMutex();
        return false;
    }
    if (m_init_requested) {
        m_init_requested = false;
        DoneWithMutex();
        if (m_verbosity >= 1)
            DebugInfoQuickAlt(ENG_FUNC, "Thread %s> InitCB().%s", m_name, "");
        if (!InitCB()) {
            if (m_verbosity >= 1)
                DebugInfoQuickAlt(ENG_FUNC, "Thread %s> InitCB() returned 0 => Exiting.%s", m_name, "");
            SetFlagUnderMutex(&m_exit_requested, true);
        }
        WaitForMutex();
    }
    if (m_exit_requested) {
        m_exit_requested = false;
        if (HasMutex())
            DoneWithMutex();
        if (m_verbosity >= 1)
            DebugInfoQuickAlt(ENG_FUNC, "Thread %s> ExitCB().%s", m_name, "");
        ExitCB(m_exit_argument);
        return false;
    }
    if (HasMutex())
        DoneWithMutex();
    return true;
}

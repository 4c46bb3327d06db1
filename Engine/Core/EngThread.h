#pragma once

#include <pthread.h>

#include <atomic>

// The base of the engine's worker threads. The worker runs InitCB once, then TickCB in a loop with a short
// sleep, then the exit callback; owner and worker hand data to each other between WaitForMutex and
// DoneWithMutex. Workers start with SIGINT and SIGTERM blocked, so signals reach the main thread only, and
// every worker is joined before its object lets go of it.

typedef bool (*EngThreadTickCallback)(void* user_data);
typedef void (*EngThreadExitCallback)(void* user_data, bool destroying);

constexpr int ENG_THREAD_NAME_SIZE = 16;

// A monotonic clock in seconds that any thread may read (the program clock belongs to the main thread).
double EngThreadGetClock();

class EngThread
{
public:
    EngThread(const char* name, signed char verbosity, int flag);
    virtual ~EngThread();
    EngThread(const EngThread&) = delete;
    EngThread& operator=(const EngThread&) = delete;

    virtual bool InitCB();
    virtual bool TickCB();
    virtual void ExitCB(bool destroying);

    bool Create(const char* name);
    // Asks the worker to end, waits until it has and joins it; destroying is handed to the exit callback.
    void Destroy(bool destroying);
    bool IsRunning();

    bool WaitForMutex();
    void DoneWithMutex();
    bool HasMutex() const;

    void SetTickSleep(double seconds);
    void SetTickCallback(EngThreadTickCallback callback, void* user_data);
    void SetExitCallback(EngThreadExitCallback callback, void* user_data);
    void SetMaxMutexHold(double seconds);
    void SetMutexTimeout(double seconds);

    const char* GetName() const { return m_name; }
    signed char GetState() const { return m_state; }

    static void* ProcessThread(void* object);

protected:
    signed char m_verbosity;

private:
    void DoThreadMain();
    void MarkDone();
    // One pass of the worker loop; false when the thread must end.
    bool LoopStep();
    void WaitWhileOwnerHoldsMutex();
    bool HandleRequests();
    void SetFlagUnderMutex(std::atomic<bool>* flag, bool value);
    bool ReadFlagUnderMutex(const std::atomic<bool>* flag);
    void ReleaseWorker();
    void ResetVars();

    char m_name[ENG_THREAD_NAME_SIZE];
    int m_flag;
    int m_tick_sleep_ms;
    EngThreadTickCallback m_tick_callback;
    void* m_tick_user_data;
    EngThreadExitCallback m_exit_callback;
    void* m_exit_user_data;
    double m_max_mutex_hold;
    double m_mutex_timeout;
    double m_next_loop_report;
    std::atomic<signed char> m_state;
    std::atomic<bool> m_has_mutex;
    std::atomic<pthread_t> m_mutex_holder;
    std::atomic<bool> m_init_requested;
    std::atomic<bool> m_exit_requested;
    std::atomic<bool> m_done;
    std::atomic<bool> m_destroying;
    std::atomic<bool> m_exit_argument;
    bool m_thread_started;
    pthread_t m_thread;
    pthread_mutex_t* m_mutex;
};

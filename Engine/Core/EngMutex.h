#pragma once

#include <pthread.h>

#include <atomic>

// A stand-alone mutex whose lock gives up after a bounded number of 1 ms tries (1000 by default, or the
// time-out in seconds x 1000). It records which thread holds it, so an unlock from any other thread is
// refused instead of corrupting the lock.
class EngMutex
{
public:
    explicit EngMutex(double timeout_seconds = 0.0);
    ~EngMutex();
    EngMutex(const EngMutex&) = delete;
    EngMutex& operator=(const EngMutex&) = delete;

    bool Setup(double timeout_seconds);
    bool Lock();
    bool Unlock();

    bool IsSetup() const { return m_setup; }
    int GetTries() const { return m_tries; }
    bool IsHeldByThisThread() const;

private:
    pthread_mutex_t* m_mutex;
    bool m_setup;
    int m_tries;
    std::atomic<bool> m_held;
    std::atomic<pthread_t> m_holder;
};

// An error-checking POSIX mutex: relocking or unlocking it from the wrong thread fails instead of hanging.
// Shared with EngThread, whose mutex is the same kind. Returns null after the caller's report text.
pthread_mutex_t* EngMutexCreateNative();
void EngMutexDestroyNative(pthread_mutex_t* mutex);

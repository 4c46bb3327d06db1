#include "Engine/Core/EngMutex.h"

#include <cerrno>
#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"

namespace {

constexpr int kDefaultTries = 1000;

}

pthread_mutex_t* EngMutexCreateNative()
{
    pthread_mutex_t* mutex = new (std::nothrow) pthread_mutex_t;
    if (!mutex)
        return nullptr;
    pthread_mutexattr_t attributes;
    bool ok = pthread_mutexattr_init(&attributes) == 0;
    ok = ok && pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_ERRORCHECK) == 0;
    ok = ok && pthread_mutex_init(mutex, &attributes) == 0;
    pthread_mutexattr_destroy(&attributes);
    if (ok)
        return mutex;
    delete mutex;
    return nullptr;
}

void EngMutexDestroyNative(pthread_mutex_t* mutex)
{
    if (!mutex)
        return;
    pthread_mutex_destroy(mutex);
    delete mutex;
}

EngMutex::EngMutex(double timeout_seconds)
    : m_mutex(nullptr), m_setup(false), m_tries(kDefaultTries), m_held(false), m_holder(pthread_t())
{
    if (timeout_seconds > 0.0)
        Setup(timeout_seconds);
}

EngMutex::~EngMutex()
{
    if (!m_setup)
        return;
    if (!m_mutex) {
        DebugError(ENG_FUNC, "No mutex.");
        return;
    }
    EngMutexDestroyNative(m_mutex);
    m_mutex = nullptr;
    m_setup = false;
}

bool EngMutex::Setup(double timeout_seconds)
{
    if (m_setup) {
        DebugError(ENG_FUNC, "Already setup.");
        return false;
    }
    m_tries = timeout_seconds > 0.0 ? int(timeout_seconds * 1000.0) : kDefaultTries;
    if (m_tries < 1)
        m_tries = 1;
    m_mutex = EngMutexCreateNative();
    m_setup = m_mutex != nullptr;
    return m_setup;
}

bool EngMutex::IsHeldByThisThread() const
{
    return m_held && pthread_equal(m_holder.load(), pthread_self());
}

bool EngMutex::Lock()
{
    if (!m_setup) {
        DebugError(ENG_FUNC, "Mutex not setup.");
        return false;
    }
    if (!m_mutex) {
        DebugError(ENG_FUNC, "No mutex.");
        return false;
    }
    for (int attempt = 0; attempt < m_tries; attempt++) {
        int result = pthread_mutex_trylock(m_mutex);
        if (result == 0) {
            m_holder = pthread_self();
            m_held = true;
            return true;
        }
        if (result == EBUSY)
            EngMiscSleep(0.001);
    }
    DebugError(ENG_FUNC, "Could not lock mutex.");
    return false;
}

bool EngMutex::Unlock()
{
    if (!m_setup)
        return false;
    if (!m_mutex) {
        DebugError(ENG_FUNC, "No mutex.");
        return false;
    }
    if (!IsHeldByThisThread())
        return false;
    m_held = false;
    if (pthread_mutex_unlock(m_mutex) == 0)
        return true;
    m_held = true;
    return false;
}

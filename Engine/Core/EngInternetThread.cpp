#include "Engine/Core/EngInternetThread.h"

#include <cstring>
#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/PC/EngInternetThread_PC.h"

namespace {

constexpr double kWorkerMutexWait = 5.0;
// The worker's pause between ticks, and the poll while waiting for it to end.
double s_tick_sleep = 0.1;
constexpr unsigned kChunkSize = 4096;

// A read that ended (well or not) keeps its final state; one that was cut short while running says why.
_EngInternetThreadReadResult FinalState(_EngInternetThreadReadResult state, bool stop_requested)
{
    if (state != ENG_READ_IN_PROGRESS)
        return state;
    return stop_requested ? ENG_READ_STOPPED : ENG_READ_FAILED;
}

// A terminated copy of all size bytes of data, NUL bytes included.
char* CopyBytes(const char* data, unsigned size)
{
    char* copy = static_cast<char*>(EngMalloc(size + 1, "EngInternetThread::GetDataReadFreeWhenDone", false));
    if (!copy) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return nullptr;
    }
    std::memcpy(copy, data, size);
    copy[size] = 0;
    return copy;
}

}  // namespace

void EngInternetThreadSetTickSleep(double seconds)
{
    s_tick_sleep = seconds;
}

// ---- worker ----

EngInternetThreadWorker::EngInternetThreadWorker(const char* name, signed char verbosity)
    : EngThread(name, verbosity, 0), m_pc(nullptr), m_mutex(kWorkerMutexWait), m_start_pending(false),
      m_stop_requested(false), m_state(ENG_READ_NOT_STARTED), m_url(nullptr), m_buffer(nullptr), m_bytes_read(0),
      m_buffer_size(0), m_deadline(0.0), m_timeout(0.0), m_next_chunk_report(0.0)
{
}

EngInternetThreadWorker::~EngInternetThreadWorker()
{
    Destroy(true);
    FreeRequest(false);
}

void EngInternetThreadWorker::FreeRequest(bool keep_data)
{
    if (m_url)
        EngFree(m_url, false, "EngInternetThreadWorker::FreeRequest");
    m_url = nullptr;
    if (keep_data)
        return;
    if (m_buffer)
        EngFree(m_buffer, false, "EngInternetThreadWorker::FreeRequest");
    m_buffer = nullptr;
    m_bytes_read = 0;
}

bool EngInternetThreadWorker::Setup(const char* url, unsigned buffer_size, double timeout_seconds)
{
    if (!m_mutex.Lock())
        return false;
    m_buffer_size = buffer_size;
    m_timeout = timeout_seconds < 1.0 ? ENG_INTERNET_THREAD_DEFAULT_TIMEOUT : timeout_seconds;
    m_deadline = EngThreadGetClock() + m_timeout;
    m_url = EngMallocStringFromString(url, true, "EngInternetThreadWorker::Setup");
    m_buffer = static_cast<char*>(EngMalloc(buffer_size + 1, "EngInternetThreadWorker::Setup", true));
    m_bytes_read = 0;
    m_start_pending = true;
    m_stop_requested = false;
    m_state = ENG_READ_IN_PROGRESS;
    bool ok = m_url && m_buffer;
    if (!ok) {
        FreeRequest(false);
        m_state = ENG_READ_NOT_STARTED;
    }
    m_mutex.Unlock();
    if (!ok)
        return false;
    SetTickSleep(s_tick_sleep);
    if (Create(nullptr))
        return true;
    m_mutex.Lock();
    FreeRequest(false);
    m_state = ENG_READ_NOT_STARTED;
    m_mutex.Unlock();
    return false;
}

bool EngInternetThreadWorker::InitCB()
{
    if (m_verbosity >= 1)
        DebugInfoQuick(ENG_FUNC, "ETW> InitCB()");
    m_pc = new (std::nothrow) EngInternetThread_PC(this, GetName());
    if (m_pc)
        return true;
    DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
    return false;
}

// Runs with the mutex held.
bool EngInternetThreadWorker::PrepareStart()
{
    if (m_verbosity >= 1)
        DebugInfoQuick(ENG_FUNC, "ETW> Starting reading...");
    // The reply is never kept beyond what the buffer can hold.
    if (!m_pc->PrepareForReading(m_url, m_timeout, m_buffer_size)) {
        DebugError(ENG_FUNC, "Could not prepare for reading.");
        m_state = ENG_READ_FAILED;
        return false;
    }
    m_start_pending = false;
    m_state = ENG_READ_IN_PROGRESS;
    if (m_verbosity >= 1)
        DebugInfoQuick(ENG_FUNC, "ETW> Started reading.");
    return true;
}

bool EngInternetThreadWorker::TickCB()
{
    if (!m_mutex.Lock())
        return true;
    if (!m_pc) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        m_mutex.Unlock();
        return false;
    }
    if (m_stop_requested) {
        if (m_verbosity >= 1)
            DebugInfoQuick(ENG_FUNC, "ETW> Exiting thread...");
        m_mutex.Unlock();
        return false;
    }
    if (m_start_pending) {
        bool started = PrepareStart();
        m_mutex.Unlock();
        return started;
    }
    if (m_state != ENG_READ_IN_PROGRESS) {
        if (m_verbosity >= 1)
            DebugInfoQuick(ENG_FUNC, "ETW> status is %d so returning 0.", m_state);
        m_mutex.Unlock();
        return false;
    }
    if (EngThreadGetClock() >= m_deadline) {
        DebugInfoQuick(ENG_FUNC, "ETW> Timeout reading data (B)");
        m_state = ENG_READ_TIMEOUT;
        m_mutex.Unlock();
        return false;
    }
    m_mutex.Unlock();
    _EngInternetThreadReadResult result = ReadDataChunk();
    if (!m_mutex.Lock())
        return true;
    // A cancel that came in during the read stands.
    if (m_state == ENG_READ_IN_PROGRESS)
        m_state = result;
    m_mutex.Unlock();
    if (result == ENG_READ_IN_PROGRESS || result == ENG_READ_DONE)
        return true;
    if (m_verbosity >= 1)
        DebugInfoQuick(ENG_FUNC, "ETW> status is not in progress or done (%d) so returning 0.", result);
    return false;
}

// Takes everything that has arrived, chunk by chunk, up to the free space: the tick's sleep waits only for
// more to arrive and never limits the rate.
_EngInternetThreadReadResult EngInternetThreadWorker::ReadDataChunk()
{
    if (!m_mutex.Lock())
        return ENG_READ_IN_PROGRESS;
    bool ready = m_pc && m_buffer && m_url;
    unsigned free_space = m_buffer_size - m_bytes_read;
    m_mutex.Unlock();
    if (!ready) {
        DebugError(ENG_FUNC, "Not setup properly");
        return ENG_READ_FAILED;
    }
    if (m_verbosity == 1 && EngThreadGetClock() >= m_next_chunk_report) {
        m_next_chunk_report = EngThreadGetClock() + 1.0;
        DebugInfoQuick(ENG_FUNC, "ETW> Reading Data Chunks...");
    }
    for (;;) {
        if (free_space <= 1)
            return ENG_READ_DONE;
        unsigned want = free_space - 1 < kChunkSize ? free_space - 1 : kChunkSize;
        unsigned got = 0;
        _EngInternetThreadReadResult result = ReadOneChunk(want, &got);
        free_space -= got;
        if (result != ENG_READ_IN_PROGRESS || got == 0)
            return result;
    }
}

// The network read runs outside the mutex into a local chunk; only the copy into the shared buffer is guarded.
_EngInternetThreadReadResult EngInternetThreadWorker::ReadOneChunk(unsigned want, unsigned* got)
{
    if (m_verbosity >= 2)
        DebugInfoQuick(ENG_FUNC, "ETW> Reading Data Chunk...");
    char chunk[kChunkSize];
    _EngInternetThreadReadResult result = m_pc->ReadFromOpenStream(chunk, want, got);
    if (m_verbosity >= 2)
        DebugInfoQuick(ENG_FUNC, "ETW>     Read [%d] [%u]", result, *got);
    if (result == ENG_READ_IN_PROGRESS && EngThreadGetClock() >= m_deadline)
        return ENG_READ_TIMEOUT;
    if (result != ENG_READ_IN_PROGRESS && result != ENG_READ_DONE)
        return result;
    if (!m_mutex.Lock())
        return ENG_READ_FAILED;
    if (!m_buffer || m_bytes_read + *got >= m_buffer_size + 1) {
        DebugError(ENG_FUNC, "No buffer anymore.");
        m_mutex.Unlock();
        return ENG_READ_FAILED;
    }
    std::memcpy(m_buffer + m_bytes_read, chunk, *got);
    m_bytes_read += *got;
    m_buffer[m_bytes_read] = 0;
    // A stop asked for while reading ends the tick; the state it set stands.
    bool stop = m_stop_requested || m_state != ENG_READ_IN_PROGRESS;
    m_mutex.Unlock();
    if (stop)
        *got = 0;
    return result;
}

void EngInternetThreadWorker::ExitCB(bool destroying)
{
    (void)destroying;
    if (m_verbosity >= 1)
        DebugInfoQuick(ENG_FUNC, "ETW> Exiting...");
    delete m_pc;
    m_pc = nullptr;
    if (!m_mutex.Lock())
        return;
    m_state = FinalState(m_state, m_stop_requested);
    // A finished read keeps its data until the owner takes it or starts another.
    FreeRequest(m_state == ENG_READ_DONE);
    m_start_pending = false;
    m_mutex.Unlock();
    if (m_verbosity >= 1)
        DebugInfoQuick(ENG_FUNC, "ETW> Exited.");
}

_EngInternetThreadReadResult EngInternetThreadWorker::GetState(double* out_deadline)
{
    if (!m_mutex.Lock())
        return ENG_READ_FAILED;
    _EngInternetThreadReadResult state = m_state;
    *out_deadline = m_deadline;
    m_mutex.Unlock();
    return state;
}

void EngInternetThreadWorker::RequestStop(bool cancel)
{
    bool locked = m_mutex.Lock();
    if (cancel && m_state == ENG_READ_IN_PROGRESS)
        m_state = ENG_READ_STOPPED;
    m_stop_requested = true;
    if (locked)
        m_mutex.Unlock();
}

char* EngInternetThreadWorker::CopyData(unsigned* out_size)
{
    if (!m_mutex.Lock())
        return nullptr;
    char* copy = nullptr;
    if (m_state == ENG_READ_IN_PROGRESS)
        DebugError(ENG_FUNC, "Reading has not finished");
    else if (m_state != ENG_READ_DONE)
        DebugError(ENG_FUNC, "Reading did not complete ok");
    else if (!m_buffer)
        DebugError(ENG_FUNC, "Not reading data");
    else
        copy = CopyBytes(m_buffer, m_bytes_read);
    // The size is that of the copy: a reply may hold NUL bytes, and callers read as far as the size says.
    if (copy && out_size)
        *out_size = m_bytes_read;
    m_mutex.Unlock();
    return copy;
}

// ---- owner ----

EngInternetThread::EngInternetThread(const char* name, signed char verbosity)
    : m_verbosity(verbosity), m_worker(nullptr)
{
    EngSafeStrcpy(m_name, name ? name : "", sizeof(m_name));
}

EngInternetThread::~EngInternetThread()
{
    Destroy();
}

bool EngInternetThread::StartReading(const char* url, unsigned buffer_size, double timeout_seconds)
{
    if (m_verbosity >= 1)
        DebugInfoQuick(ENG_FUNC, "EIT> StartReading...");
    Destroy();
    if (!url || !*url || buffer_size == 0) {
        DebugError(ENG_FUNC, "Parameters Error");
        return false;
    }
    if (m_worker) {
        DebugError(ENG_FUNC, "Thread already created.");
        return false;
    }
    m_worker = new (std::nothrow) EngInternetThreadWorker(m_name, m_verbosity);
    if (!m_worker) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return false;
    }
    if (m_worker->Setup(url, buffer_size, timeout_seconds))
        return true;
    DebugError(ENG_FUNC, "Setup failed.");
    delete m_worker;
    m_worker = nullptr;
    return false;
}

_EngInternetThreadReadResult EngInternetThread::GetReadingStatus(double wait_seconds)
{
    if (!m_worker) {
        DebugError(ENG_FUNC, "No thread.");
        return ENG_READ_FAILED;
    }
    double deadline = 0.0;
    _EngInternetThreadReadResult state = m_worker->GetState(&deadline);
    if (state != ENG_READ_IN_PROGRESS)
        return state;
    if (EngThreadGetClock() > deadline) {
        if (m_verbosity >= 1)
            DebugInfoQuick(ENG_FUNC, "ETW> Timeout reading data");
        return ENG_READ_TIMEOUT;
    }
    if (wait_seconds > 0.0)
        EngMiscSleep(wait_seconds);
    return m_worker->GetState(&deadline);
}

char* EngInternetThread::GetDataReadFreeWhenDone(unsigned* out_size)
{
    if (out_size)
        *out_size = 0;
    if (!m_worker) {
        DebugError(ENG_FUNC, "No thread");
        return nullptr;
    }
    return m_worker->CopyData(out_size);
}

bool EngInternetThread::CancelReading()
{
    if (m_verbosity >= 1)
        DebugInfoQuick(ENG_FUNC, "EIT> CancelReading().");
    if (m_worker)
        m_worker->RequestStop(true);
    return true;
}

bool EngInternetThread::IsThreadRunning()
{
    return m_worker && m_worker->IsRunning();
}

void EngInternetThread::Destroy()
{
    if (!m_worker)
        return;
    if (m_verbosity >= 1)
        DebugInfoQuick(ENG_FUNC, "EIT> Destroy() ...");
    WaitForThreadToExit();
    if (m_worker->IsRunning())
        return;
    delete m_worker;
    m_worker = nullptr;
    if (m_verbosity >= 1)
        DebugInfoQuick(ENG_FUNC, "EIT> Destroy() done.");
}

void EngInternetThread::WaitForThreadToExit()
{
    if (!m_worker)
        return;
    m_worker->RequestStop(false);
    double next_report = 0.0;
    for (double waited = 0.0; m_worker->IsRunning(); waited += s_tick_sleep) {
        if (waited >= ENG_INTERNET_THREAD_MAX_EXIT_WAIT) {
            DebugError(ENG_FUNC, "Worker did not finish.");
            return;
        }
        if (m_verbosity >= 1 && waited >= next_report) {
            DebugInfoQuick(ENG_FUNC, "EIT> Waiting for worker to finish [%.1f] ...", EngThreadGetClock());
            next_report = waited + 1.0;
        }
        EngMiscSleep(s_tick_sleep);
    }
}

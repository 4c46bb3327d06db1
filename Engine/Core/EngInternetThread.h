#pragma once

// A background reader: one web address read on its own worker thread into a bounded buffer, while the main
// thread polls its state each frame and takes the data when it is done.

#include "Engine/Core/EngMutex.h"
#include "Engine/Core/EngThread.h"

// The state of a background read; -4 and -5 are given by the score-table reader on top of it.
typedef int _EngInternetThreadReadResult;
constexpr _EngInternetThreadReadResult ENG_READ_OUT_OF_DATE = -5;
constexpr _EngInternetThreadReadResult ENG_READ_INVALID_REPLY = -4;
constexpr _EngInternetThreadReadResult ENG_READ_STOPPED = -3;
constexpr _EngInternetThreadReadResult ENG_READ_FAILED = -2;
constexpr _EngInternetThreadReadResult ENG_READ_TIMEOUT = -1;
constexpr _EngInternetThreadReadResult ENG_READ_NOT_STARTED = 0;
constexpr _EngInternetThreadReadResult ENG_READ_IN_PROGRESS = 1;
constexpr _EngInternetThreadReadResult ENG_READ_DONE = 2;

constexpr double ENG_INTERNET_THREAD_DEFAULT_TIMEOUT = 15.0;
constexpr double ENG_INTERNET_THREAD_MAX_EXIT_WAIT = 180.0;

class EngInternetThread_PC;

// Lives on the worker thread except for Setup and the owner's guarded accessors below.
class EngInternetThreadWorker : public EngThread
{
public:
    EngInternetThreadWorker(const char* name, signed char verbosity);
    ~EngInternetThreadWorker() override;

    bool InitCB() override;
    bool TickCB() override;
    void ExitCB(bool destroying) override;

    // Main thread: stores the request and starts the thread.
    bool Setup(const char* url, unsigned buffer_size, double timeout_seconds);
    _EngInternetThreadReadResult ReadDataChunk();

    // Main thread, each under the worker's mutex.
    _EngInternetThreadReadResult GetState(double* out_deadline);
    void RequestStop(bool cancel);
    char* CopyData(unsigned* out_size);

private:
    bool PrepareStart();
    _EngInternetThreadReadResult ReadOneChunk(unsigned want, unsigned* got);
    void FreeRequest(bool keep_data);

    EngInternetThread_PC* m_pc;
    EngMutex m_mutex;
    bool m_start_pending;
    bool m_stop_requested;
    _EngInternetThreadReadResult m_state;
    char* m_url;
    char* m_buffer;
    unsigned m_bytes_read;
    unsigned m_buffer_size;
    double m_deadline;
    double m_timeout;
    double m_next_chunk_report;
};

class EngInternetThread
{
public:
    EngInternetThread(const char* name, signed char verbosity);
    ~EngInternetThread();
    EngInternetThread(const EngInternetThread&) = delete;
    EngInternetThread& operator=(const EngInternetThread&) = delete;

    bool StartReading(const char* url, unsigned buffer_size, double timeout_seconds);
    // Polls the state; while reading and with a wait above 0 the caller sleeps that long first.
    _EngInternetThreadReadResult GetReadingStatus(double wait_seconds);
    // A new zero-terminated copy of the data (free it with EngFree), or null.
    char* GetDataReadFreeWhenDone(unsigned* out_size);
    bool CancelReading();
    bool IsThreadRunning();
    void Destroy();
    void WaitForThreadToExit();

private:
    char m_name[ENG_THREAD_NAME_SIZE];
    signed char m_verbosity;
    EngInternetThreadWorker* m_worker;
};

// The worker's pause between its ticks, 0.1 s. Tests shorten it, so that a read on the loopback ends at once.
void EngInternetThreadSetTickSleep(double seconds);

#pragma once

#include <atomic>

#include "Engine/Core/EngInternetThread.h"
#include "Engine/Core/EngThread.h"

class EngInternetTransfer_PC;

// The platform half of the background reader: one request, read a chunk per call on the worker thread.
class EngInternetThread_PC
{
public:
    EngInternetThread_PC(EngInternetThreadWorker* parent, const char* name);
    ~EngInternetThread_PC();
    EngInternetThread_PC(const EngInternetThread_PC&) = delete;
    EngInternetThread_PC& operator=(const EngInternetThread_PC&) = delete;

    // size_cap: the most of the reply that will ever be kept.
    bool PrepareForReading(const char* url, double timeout_seconds, unsigned size_cap);
    _EngInternetThreadReadResult ReadFromOpenStream(char* buffer, unsigned size, unsigned* out_bytes);
    void Close();

private:
    _EngInternetThreadReadResult OpenConnectionToUrl();
    _EngInternetThreadReadResult ReadConnected(char* buffer, unsigned size, unsigned* out_bytes);

    EngInternetThreadWorker* m_parent;
    char m_name[ENG_THREAD_NAME_SIZE];
    EngInternetTransfer_PC* m_transfer;
    int m_timeout_ms;
    unsigned m_size_cap;
    char* m_url;
    int m_connection_step;
    int m_read_step;
    std::atomic<bool> m_closing;
};

#include "Engine/Core/PC/EngInternetThread_PC.h"

#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/PC/EngInternet_PC.h"

namespace {

// How long one chunk read may wait for the transfer to move: short, so a stop request is seen soon.
constexpr int kChunkWaitMs = 100;

}  // namespace

EngInternetThread_PC::EngInternetThread_PC(EngInternetThreadWorker* parent, const char* name)
    : m_parent(parent), m_transfer(nullptr), m_timeout_ms(0), m_size_cap(0), m_url(nullptr), m_connection_step(0),
      m_read_step(0), m_closing(false)
{
    EngSafeStrcpy(m_name, name ? name : "", sizeof(m_name));
}

EngInternetThread_PC::~EngInternetThread_PC()
{
    Close();
}

bool EngInternetThread_PC::PrepareForReading(const char* url, double timeout_seconds, unsigned size_cap)
{
    if (!m_parent) {
        DebugError(ENG_FUNC, "No parent.");
        return false;
    }
    if (!url || !*url || size_cap == 0) {
        DebugError(ENG_FUNC, "No URL");
        return false;
    }
    Close();
    m_closing = false;
    m_url = EngMallocStringFromString(url, true, "EngInternetThread_PC::PrepareForReading");
    if (!m_url) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return false;
    }
    m_timeout_ms = int(timeout_seconds * 1000.0);
    m_size_cap = size_cap;
    m_connection_step = 1;
    m_read_step = 0;
    return true;
}

_EngInternetThreadReadResult EngInternetThread_PC::ReadFromOpenStream(char* buffer, unsigned size,
                                                                      unsigned* out_bytes)
{
    if (!out_bytes || !buffer || size == 0) {
        DebugError(ENG_FUNC, "Parameters error");
        return ENG_READ_FAILED;
    }
    *out_bytes = 0;
    if (m_connection_step == 1)
        return OpenConnectionToUrl();
    if (m_connection_step != 2) {
        DebugError(ENG_FUNC, "Did not connect correctly. [%d]", m_connection_step);
        return ENG_READ_FAILED;
    }
    return ReadConnected(buffer, size, out_bytes);
}

_EngInternetThreadReadResult EngInternetThread_PC::OpenConnectionToUrl()
{
    m_transfer = new (std::nothrow) EngInternetTransfer_PC;
    if (!m_transfer) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return ENG_READ_FAILED;
    }
    if (!m_transfer->Open(m_url, "EngInternetThread_PC::PrepareForReading", m_timeout_ms, m_size_cap)) {
        DebugError(ENG_FUNC, "Error trying to initialise internet session - %s", m_transfer->GetErrorText());
        delete m_transfer;
        m_transfer = nullptr;
        return m_closing ? ENG_READ_STOPPED : ENG_READ_FAILED;
    }
    m_connection_step = 2;
    m_read_step = 0;
    return ENG_READ_IN_PROGRESS;
}

_EngInternetThreadReadResult EngInternetThread_PC::ReadConnected(char* buffer, unsigned size, unsigned* out_bytes)
{
    if (m_read_step == 0) {
        m_read_step = 1;
        return ENG_READ_IN_PROGRESS;
    }
    if (m_read_step == 2)
        return ENG_READ_DONE;
    signed char result = m_transfer->Read(buffer, size, out_bytes, kChunkWaitMs);
    if (result == 1)
        return ENG_READ_IN_PROGRESS;
    if (result == 2) {
        m_read_step = 2;
        return ENG_READ_DONE;
    }
    if (m_closing)
        return ENG_READ_STOPPED;
    if (m_transfer->FailedToConnect())
        DebugError(ENG_FUNC, "Problem connecting to internet site - %s", m_transfer->GetErrorText());
    else
        DebugError(ENG_FUNC, "InternetReadFile - Error code: %d => Message: %s", m_transfer->GetCurlCode(),
                   m_transfer->GetErrorText());
    return ENG_READ_FAILED;
}

void EngInternetThread_PC::Close()
{
    m_closing = true;
    delete m_transfer;
    m_transfer = nullptr;
    if (m_url)
        EngFree(m_url, false, "EngInternetThread_PC::Close");
    m_url = nullptr;
    m_connection_step = 0;
    m_read_step = 0;
}

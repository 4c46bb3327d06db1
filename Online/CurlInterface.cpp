#include "Online/CurlInterface.h"

#include <cstdio>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngMutex.h"
#include "Engine/Core/EngString.h"

namespace {

constexpr char kSetUpCheck = '{';
constexpr double kMutexTimeout = 2.0;
constexpr double kWaitStep = 0.1;
constexpr int kWaitSteps = 600;
constexpr int kStepPerform = 10;

std::atomic<bool> s_curl_setup{false};

}  // namespace

bool CurlInterface_InitCurl()
{
    if (s_curl_setup) {
        DebugInfoQuick(ENG_FUNC, "Already setup.");
        return true;
    }
    if (curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK) {
        DebugError(ENG_FUNC, "curl_global_init() failed.");
        return false;
    }
    s_curl_setup = true;
    return true;
}

bool CurlInterface_IsCurlSetup()
{
    return s_curl_setup;
}

void CurlInterface_CleanupCurl()
{
    if (!s_curl_setup)
        return;
    curl_global_cleanup();
    s_curl_setup = false;
}

CURL* CurlInterface_CallCurlEasyInit()
{
    if (!s_curl_setup) {
        DebugError(ENG_FUNC, "Curl is not setup.");
        return nullptr;
    }
    CURL* curl = curl_easy_init();
    if (!curl)
        DebugError(ENG_FUNC, "curl_easy_init() failed.");
    return curl;
}

CurlInterface::CurlInterface(const char* name, bool verbose)
    : m_owns_global_init(false), m_buffer(nullptr), m_used(0), m_capacity(0), m_strip_leading_newlines(false),
      m_file(nullptr), m_performing(false), m_curl_e(nullptr), m_verbose(verbose), m_self(this),
      m_mutex(new EngMutex(kMutexTimeout)), m_exiting(false), m_check(kSetUpCheck), m_address(nullptr)
{
    EngSafeStrcpy(m_name, name && *name ? name : "CurlI", sizeof(m_name));
}

CurlInterface::~CurlInterface()
{
    ExitWithWait();
    delete m_mutex;
    m_mutex = nullptr;
    m_check = 0;
    m_self = nullptr;
    if (m_owns_global_init)
        CurlInterface_CleanupCurl();
}

bool CurlInterface::CheckAlive(const char* own_name) const
{
    if (m_self == this)
        return true;
    DebugError(own_name, "Already destroyed.");
    return false;
}

bool CurlInterface::DownloadFromUrl(const char* url, const char* query, unsigned buffer_size, const void* body,
                                    unsigned body_length, bool strip_leading_newlines, int timeout_seconds,
                                    char* cancelled)
{
    return DoDownloadFromUrl(url, query, buffer_size, body, body_length, strip_leading_newlines, timeout_seconds,
                             cancelled);
}

bool CurlInterface::DoDownloadFromUrl(const char* url, const char* query, unsigned buffer_size, const void* body,
                                      unsigned body_length, bool strip_leading_newlines, int timeout_seconds,
                                      char* cancelled)
{
    if (!CheckAlive(ENG_FUNC))
        return false;
    if (!CurlInterface_IsCurlSetup()) {
        if (!CurlInterface_InitCurl())
            return false;
        m_owns_global_init = true;
    }
    Exit();
    if (!url || !*url || buffer_size == 0) {
        DebugError(ENG_FUNC, "Parameters error.");
        return false;
    }
    if (cancelled)
        *cancelled = 0;
    if (!PrepareRequest(url, query, buffer_size)) {
        Exit();
        return false;
    }
    m_strip_leading_newlines = strip_leading_newlines;
    CURLcode code = CURLE_OK;
    int step = SetOptions(body, body_length, timeout_seconds, &code);
    bool options_set = code == CURLE_OK;
    CURLcode result = Perform(options_set);
    if (options_set) {
        code = result;
        step = kStepPerform;
    }
    return Finish(code, step, cancelled);
}

// The reply buffer, the easy handle and the address.
bool CurlInterface::PrepareRequest(const char* url, const char* query, unsigned buffer_size)
{
    m_buffer = static_cast<char*>(EngMalloc(buffer_size + 1, "CurlInterface::DoDownloadFromUrl", true));
    if (!m_buffer)
        return false;
    m_capacity = buffer_size;
    m_used = 0;
    if (m_curl_e) {
        DebugError(ENG_FUNC, "m_curl_e already exists.");
        return false;
    }
    if (!m_mutex->Lock())
        return false;
    m_curl_e = curl_easy_init();
    m_mutex->Unlock();
    if (!m_curl_e) {
        DebugError(ENG_FUNC, "curl_easy_init() failed");
        return false;
    }
    unsigned size = unsigned(std::strlen(url)) + (query ? unsigned(std::strlen(query)) + 1 : 0) + 1;
    m_address = static_cast<char*>(EngMalloc(size, "CurlInterface::DoDownloadFromUrl", false));
    if (!m_address)
        return false;
    snprintf(m_address, size, query ? "%s?%s" : "%s", url, query ? query : "");
    return true;
}

// Sets the options in order while they succeed. Returns the step of the last one tried (-1 when the handle
// could not be locked); *code is its result.
int CurlInterface::SetOptions(const void* body, unsigned body_length, int timeout_seconds, CURLcode* code)
{
    if (timeout_seconds < 1)
        timeout_seconds = CURL_INTERFACE_DEFAULT_TIMEOUT;
    if (!m_mutex->Lock()) {
        *code = CURLE_FAILED_INIT;
        return -1;
    }
    int step = -1;
    auto set = [&](int this_step, CURLoption option, auto value) {
        if (*code != CURLE_OK)
            return;
        step = this_step;
        *code = curl_easy_setopt(m_curl_e, option, value);
    };
    set(0, CURLOPT_WRITEDATA, this);
    set(1, CURLOPT_WRITEFUNCTION, &CurlInterface::WriteDataFunctionCB_Static);
    set(2, CURLOPT_URL, m_address);
    set(3, CURLOPT_TIMEOUT, long(timeout_seconds));
    set(4, CURLOPT_CONNECTTIMEOUT, long(timeout_seconds));
    curl_easy_setopt(m_curl_e, CURLOPT_IPRESOLVE, long(CURL_IPRESOLVE_V4));
    curl_easy_setopt(m_curl_e, CURLOPT_NOSIGNAL, 1L);
    // Lets another thread stop the transfer between two chunks.
    set(5, CURLOPT_XFERINFOFUNCTION, &CurlInterface::ProgressCB_Static);
    set(5, CURLOPT_XFERINFODATA, this);
    set(5, CURLOPT_NOPROGRESS, 0L);
    set(5, CURLOPT_SSL_VERIFYPEER, 1L);
    set(5, CURLOPT_SSL_VERIFYHOST, 2L);
    set(5, CURLOPT_FAILONERROR, 1L);
    set(5, CURLOPT_PROTOCOLS_STR, "http,https");
    if (body && body_length > 0) {
        set(6, CURLOPT_POSTFIELDSIZE, long(body_length));
        set(7, CURLOPT_POSTFIELDS, body);
        set(8, CURLOPT_POST, 1L);
    }
    m_mutex->Unlock();
    return step;
}

CURLcode CurlInterface::Perform(bool options_set)
{
    if (m_performing || m_exiting)
        DebugInfoQuick(ENG_FUNC, "m_doing_perform = %d,  m_exiting = %d", int(m_performing), int(m_exiting));
    if (m_mutex->Lock()) {
        m_performing = true;
        m_exiting = false;
        m_mutex->Unlock();
    }
    CURLcode code = options_set ? curl_easy_perform(m_curl_e) : CURLE_OK;
    if (m_file) {
        m_file->Close();
        delete m_file;
        m_file = nullptr;
    }
    if (m_mutex->Lock()) {
        m_performing = false;
        m_mutex->Unlock();
    } else {
        m_performing = false;
    }
    return code;
}

bool CurlInterface::Finish(CURLcode code, int step, char* cancelled)
{
    if (m_exiting || code == CURLE_ABORTED_BY_CALLBACK) {
        if (m_verbose)
            DebugInfoQuick(ENG_FUNC, "[%s] Done as exiting.", m_name);
        if (cancelled)
            *cancelled = 1;
        Exit();
        return false;
    }
    CleanupHandles();
    FreeAddress();
    if (code == CURLE_OK)
        return true;
    if (code == CURLE_WRITE_ERROR && m_capacity > 0 && m_used == m_capacity - 1) {
        if (m_verbose)
            DebugInfoQuick(ENG_FUNC, "[%s] More data available to download is ignored.", m_name);
        return true;
    }
    if (m_exiting) {
        if (cancelled)
            *cancelled = 1;
    } else if (code == CURLE_COULDNT_CONNECT) {
        DebugError(ENG_FUNC, "Could not connect.");
    } else {
        DebugError(ENG_FUNC, "Problem ( from: %d  error: %d (%s) )", step, int(code), curl_easy_strerror(code));
    }
    Exit();
    return false;
}

void CurlInterface::FreeAddress()
{
    EngFree(m_address, false, "CurlInterface::FreeAddress");
    m_address = nullptr;
}

void CurlInterface::CleanupHandles()
{
    if (!m_mutex->Lock())
        return;
    if (m_performing) {
        m_exiting = true;
        if (m_verbose)
            DebugInfoQuick(ENG_FUNC, "[%s] Will exit when finished performing.", m_name);
    } else if (m_curl_e) {
        curl_easy_cleanup(m_curl_e);
        m_curl_e = nullptr;
    }
    m_mutex->Unlock();
}

void CurlInterface::Exit()
{
    if (!CheckAlive(ENG_FUNC) || !CurlInterface_IsCurlSetup())
        return;
    if (m_verbose)
        DebugInfoQuick(ENG_FUNC, "[%s] Exiting1... [dp: %d ex: %d]", m_name, int(m_performing), int(m_exiting));
    if (!m_mutex->Lock())
        return;
    // The transfer still writes into the buffer: it is released by the owning thread when the transfer ends.
    if (m_performing) {
        m_exiting = true;
        m_mutex->Unlock();
        return;
    }
    if (m_curl_e)
        curl_easy_cleanup(m_curl_e);
    m_curl_e = nullptr;
    EngFree(m_buffer, false, "CurlInterface::Exit");
    m_buffer = nullptr;
    m_used = 0;
    m_capacity = 0;
    delete m_file;
    m_file = nullptr;
    m_strip_leading_newlines = false;
    FreeAddress();
    m_exiting = false;
    m_mutex->Unlock();
    if (m_verbose)
        DebugInfoQuick(ENG_FUNC, "[%s] Exiting done.", m_name);
}

bool CurlInterface::ExitWithWait()
{
    if (!CheckAlive(ENG_FUNC))
        return false;
    if (!m_performing) {
        Exit();
        return true;
    }
    if (m_mutex->Lock()) {
        m_exiting = true;
        m_mutex->Unlock();
    }
    if (m_verbose)
        DebugInfoQuick(ENG_FUNC, "[%s] Waiting for perform to complete...", m_name);
    for (int poll = 0; poll < kWaitSteps && m_performing; poll++) {
        EngMiscSleep(kWaitStep);
        if (m_self != this) {
            DebugError(ENG_FUNC, "Destroyed while waiting.");
            return false;
        }
        if (m_verbose && poll % 7 == 6)
            DebugInfoQuick(ENG_FUNC, "  waiting...");
    }
    if (m_performing) {
        DebugError(ENG_FUNC, "Perform did not complete.");
        return false;
    }
    Exit();
    return true;
}

unsigned CurlInterface::LeadingNewlines() const
{
    if (!m_strip_leading_newlines || !m_buffer || m_buffer[0] != '\n')
        return 0;
    return m_buffer[1] == '\n' ? 2 : 1;
}

char* CurlInterface::GetDownloadedData()
{
    if (!CheckAlive(ENG_FUNC))
        return nullptr;
    if (!m_buffer || m_used == 0) {
        DebugError(ENG_FUNC, "No Data");
        return nullptr;
    }
    return m_buffer + LeadingNewlines();
}

unsigned CurlInterface::GetDownloadedDataLength()
{
    if (!CheckAlive(ENG_FUNC) || !m_buffer)
        return 0;
    return m_used - LeadingNewlines();
}

size_t CurlInterface::WriteDataFunctionCB_Static(char* data, size_t size, size_t count, void* user)
{
    return user ? static_cast<CurlInterface*>(user)->WriteDataFunctionCB(data, size, count) : 0;
}

size_t CurlInterface::WriteDataFunctionCB(const char* data, size_t size, size_t count)
{
    if (!CurlInterface_IsCurlSetup()) {
        DebugError(ENG_FUNC, "Curl is not setup.");
        return 0;
    }
    if (m_check != kSetUpCheck) {
        DebugError(ENG_FUNC, "Class not setup. [%d] ...", int(m_check));
        DebugError(ENG_FUNC, "                 [%s] .", m_name);
        return 0;
    }
    size_t length = size * count;
    if (length == 0)
        return 0;
    if (!m_buffer) {
        DebugError(ENG_FUNC, "No data");
        return 0;
    }
    size_t room = m_capacity - 1 - m_used;
    if (length > room) {
        if (size != 1) {
            DebugError(ENG_FUNC, "Expected a size of 1");
            return 0;
        }
        // Returning less than offered ends the transfer; the kept part counts as the reply.
        if (room == 0) {
            DebugInfoQuick(ENG_FUNC, "Nothing left to write");
            return 0;
        }
        length = room;
    }
    std::memcpy(m_buffer + m_used, data, length);
    m_used += unsigned(length);
    m_buffer[m_used] = 0;
    return length;
}

int CurlInterface::ProgressCB_Static(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<CurlInterface*>(user)->m_exiting ? 1 : 0;
}

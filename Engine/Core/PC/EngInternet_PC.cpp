#include "Engine/Core/PC/EngInternet_PC.h"

#include <curl/curl.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>

#include "Engine/Core/EngString.h"

namespace {

constexpr long kMaxRedirects = 5;

// libcurl's global set-up is counted; ours is taken once and kept for the life of the process.
bool EnsureCurlGlobal()
{
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] { ok = curl_global_init(CURL_GLOBAL_ALL) == CURLE_OK; });
    return ok;
}

}  // namespace

EngInternetTransfer_PC::EngInternetTransfer_PC()
    : m_multi(nullptr), m_easy(nullptr), m_headers(nullptr), m_pending(), m_pending_used(0),
      m_pending_start(0), m_cap(0), m_stored_total(0), m_finished(false), m_failed(false), m_cut(false),
      m_received_any(false), m_curl_code(0), m_http_status(0)
{
    m_error_text[0] = 0;
}

EngInternetTransfer_PC::~EngInternetTransfer_PC()
{
    Close();
}

bool EngInternetTransfer_PC::Open(const char* url, const char* agent, int timeout_ms, unsigned size_cap)
{
    Close();
    if (!url || !*url || size_cap == 0) {
        EngSafeStrcpy(m_error_text, "Parameters error", sizeof(m_error_text));
        return false;
    }
    if (!EnsureCurlGlobal()) {
        EngSafeStrcpy(m_error_text, "curl_global_init() failed.", sizeof(m_error_text));
        return false;
    }
    m_easy = curl_easy_init();
    m_multi = curl_multi_init();
    if (!m_easy || !m_multi) {
        EngSafeStrcpy(m_error_text, "Out of memory.", sizeof(m_error_text));
        Close();
        return false;
    }
    m_cap = size_cap;
    long timeout_s = timeout_ms > 1000 ? timeout_ms / 1000 : 1;
    curl_slist* headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    headers = headers ? curl_slist_append(headers, "Pragma: no-cache") : nullptr;
    m_headers = headers;
    CURLcode set = CURLE_OK;
    auto option = [&](CURLoption which, auto value) {
        if (set == CURLE_OK)
            set = curl_easy_setopt(m_easy, which, value);
    };
    option(CURLOPT_URL, url);
    option(CURLOPT_USERAGENT, agent ? agent : "");
    option(CURLOPT_NOSIGNAL, 1L);
    option(CURLOPT_PROTOCOLS_STR, "http,https");
    option(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    option(CURLOPT_FOLLOWLOCATION, 1L);
    option(CURLOPT_MAXREDIRS, kMaxRedirects);
    option(CURLOPT_SSL_VERIFYPEER, 1L);
    option(CURLOPT_SSL_VERIFYHOST, 2L);
    option(CURLOPT_FAILONERROR, 1L);
    option(CURLOPT_FRESH_CONNECT, 1L);
    option(CURLOPT_FORBID_REUSE, 1L);
    option(CURLOPT_HTTPHEADER, headers);
    option(CURLOPT_CONNECTTIMEOUT_MS, long(timeout_ms));
    // A receive time-out: a reply that stalls for the whole time-out fails.
    option(CURLOPT_LOW_SPEED_LIMIT, 1L);
    option(CURLOPT_LOW_SPEED_TIME, timeout_s);
    option(CURLOPT_WRITEFUNCTION, &EngInternetTransfer_PC::WriteCB);
    option(CURLOPT_WRITEDATA, this);
    // A stop never waits for a name look-up that hangs; older libraries without the option just wait.
    curl_easy_setopt(m_easy, CURLOPT_QUICK_EXIT, 1L);
    if (set != CURLE_OK || !headers || curl_multi_add_handle(m_multi, m_easy) != CURLM_OK) {
        snprintf(m_error_text, sizeof(m_error_text), "%s", curl_easy_strerror(set));
        Close();
        return false;
    }
    return true;
}

void EngInternetTransfer_PC::Close()
{
    if (m_multi && m_easy)
        curl_multi_remove_handle(m_multi, m_easy);
    if (m_easy)
        curl_easy_cleanup(m_easy);
    if (m_multi)
        curl_multi_cleanup(m_multi);
    curl_slist_free_all(static_cast<curl_slist*>(m_headers));
    m_easy = nullptr;
    m_multi = nullptr;
    m_headers = nullptr;
    std::vector<char>().swap(m_pending);
    m_pending_used = 0;
    m_pending_start = 0;
    m_cap = 0;
    m_stored_total = 0;
    m_finished = false;
    m_failed = false;
    m_cut = false;
    m_received_any = false;
}

size_t EngInternetTransfer_PC::WriteCB(char* data, size_t size, size_t count, void* user)
{
    return static_cast<EngInternetTransfer_PC*>(user)->Store(data, size * count);
}

// Returning less than offered stops the transfer: past the cap the rest of the reply is not wanted.
size_t EngInternetTransfer_PC::Store(const char* data, size_t length)
{
    unsigned room = m_stored_total < m_cap ? m_cap - m_stored_total : 0;
    size_t take = length < room ? length : room;
    if (take < length)
        m_cut = true;
    if (take == 0)
        return 0;
    // What was handed out makes room at the front before the storage grows.
    if (m_pending_start > 0) {
        std::memmove(m_pending.data(), m_pending.data() + m_pending_start, m_pending_used);
        m_pending_start = 0;
    }
    if (m_pending_used + take > m_pending.size()) {
        try {
            m_pending.resize(m_pending_used + take);
        } catch (const std::bad_alloc&) {
            return 0; // fails the transfer: nothing was cut on purpose
        }
    }
    std::memcpy(m_pending.data() + m_pending_used, data, take);
    m_stored_total += unsigned(take);
    m_pending_used += unsigned(take);
    m_received_any = true;
    return take;
}

void EngInternetTransfer_PC::Finish(int code)
{
    m_finished = true;
    m_curl_code = code;
    curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &m_http_status);
    if (code == CURLE_OK || (code == CURLE_WRITE_ERROR && m_cut))
        return;
    m_failed = true;
    if (code == CURLE_HTTP_RETURNED_ERROR)
        snprintf(m_error_text, sizeof(m_error_text), "HTTP status %ld", m_http_status);
    else
        snprintf(m_error_text, sizeof(m_error_text), "%s", curl_easy_strerror(CURLcode(code)));
}

void EngInternetTransfer_PC::Step(int wait_ms)
{
    int running = 0;
    curl_multi_perform(m_multi, &running);
    if (running) {
        curl_multi_poll(m_multi, nullptr, 0, wait_ms > 0 ? wait_ms : 0, nullptr);
        curl_multi_perform(m_multi, &running);
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(m_multi, &left)) {
        if (message->msg == CURLMSG_DONE)
            Finish(message->data.result);
    }
}

unsigned EngInternetTransfer_PC::HandOut(char* buffer, unsigned size)
{
    unsigned take = m_pending_used < size ? m_pending_used : size;
    std::memcpy(buffer, m_pending.data() + m_pending_start, take);
    m_pending_start += take;
    m_pending_used -= take;
    return take;
}

signed char EngInternetTransfer_PC::Read(char* buffer, unsigned size, unsigned* out_bytes, int wait_ms)
{
    *out_bytes = 0;
    if (!m_multi || !buffer || size == 0) {
        EngSafeStrcpy(m_error_text, "Not setup properly", sizeof(m_error_text));
        return -2;
    }
    if (m_pending_used == 0 && !m_finished)
        Step(wait_ms);
    if (m_pending_used > 0) {
        *out_bytes = HandOut(buffer, size);
        return 1;
    }
    if (!m_finished)
        return 1;
    return m_failed ? -2 : 2;
}

bool EngInternetTransfer_PC::WaitForReply(int timeout_ms)
{
    if (!m_multi)
        return false;
    constexpr int kStepMs = 50;
    for (int waited = 0; waited <= timeout_ms; waited += kStepMs) {
        long status = 0;
        curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &status);
        if (m_failed)
            return false;
        if ((status > 0 && status < 400) || m_finished || m_pending_used > 0)
            return true;
        Step(kStepMs);
    }
    EngSafeStrcpy(m_error_text, "Timeout was reached", sizeof(m_error_text));
    return false;
}

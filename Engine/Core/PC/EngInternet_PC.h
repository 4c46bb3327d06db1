#pragma once

// The libcurl half of the internet reads: one HTTP(S) GET at a time, driven a step at a time so that the
// caller can read it in chunks, give up at its own deadline or stop it between steps. TLS peers are
// verified, redirects are followed only to http and https, a status of 400 or above fails the read, and
// never more than the size cap is kept.

#include <cstddef>
#include <vector>

typedef void CURL;
typedef void CURLM;

class EngInternetTransfer_PC
{
public:
    EngInternetTransfer_PC();
    ~EngInternetTransfer_PC();
    EngInternetTransfer_PC(const EngInternetTransfer_PC&) = delete;
    EngInternetTransfer_PC& operator=(const EngInternetTransfer_PC&) = delete;

    // Starts the request; false (with the reason in GetErrorText) when libcurl refuses it.
    bool Open(const char* url, const char* agent, int timeout_ms, unsigned size_cap);
    // Changes how much of the reply is kept, counted from its start; what arrived already stays.
    void SetSizeCap(unsigned size_cap) { m_cap = size_cap; }
    // Hands out up to size bytes that have arrived, waiting at most wait_ms for the transfer to move.
    // Returns 1 while the transfer runs (out bytes may be 0), 2 when everything was handed out, -2 on failure.
    signed char Read(char* buffer, unsigned size, unsigned* out_bytes, int wait_ms);
    void Close();
    // Drives the transfer until the server's reply has begun (true) or it failed or time ran out (false).
    bool WaitForReply(int timeout_ms);

    bool IsOpen() const { return m_multi != nullptr; }
    // True when the reply went past the size cap and was cut there.
    bool WasCut() const { return m_cut; }
    // Before any byte of the reply arrived: the failure lies in reaching the site rather than in reading it.
    bool FailedToConnect() const { return m_failed && !m_received_any; }
    int GetCurlCode() const { return m_curl_code; }
    long GetHttpStatus() const { return m_http_status; }
    const char* GetErrorText() const { return m_error_text; }

private:
    static size_t WriteCB(char* data, size_t size, size_t count, void* user);
    size_t Store(const char* data, size_t length);
    void Step(int wait_ms);
    void Finish(int code);
    unsigned HandOut(char* buffer, unsigned size);

    CURLM* m_multi;
    CURL* m_easy;
    void* m_headers;
    // What arrived and was not handed out yet: m_pending_used bytes from m_pending_start. It grows with what
    // one step of the transfer brings, never with the whole reply.
    std::vector<char> m_pending;
    unsigned m_pending_used;
    unsigned m_pending_start;
    unsigned m_cap;
    unsigned m_stored_total;
    bool m_finished;
    bool m_failed;
    bool m_cut;
    bool m_received_any;
    int m_curl_code;
    long m_http_status;
    char m_error_text[256];
};

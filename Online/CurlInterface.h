#pragma once

// One HTTP request at a time over a libcurl easy handle: the reply goes into a bounded memory buffer, a body
// may be posted, one time-out covers connecting and the transfer, and another thread may stop it.
// TLS peers are verified and an HTTP status of 400 or above fails the request.

#include <curl/curl.h>

#include <atomic>

class EngFile;
class EngMutex;

// libcurl's global set-up, done once for the program.
bool CurlInterface_InitCurl();
bool CurlInterface_IsCurlSetup();
void CurlInterface_CleanupCurl();
// A new easy handle, or null after a report.
CURL* CurlInterface_CallCurlEasyInit();

constexpr int CURL_INTERFACE_NAME_SIZE = 12;
constexpr int CURL_INTERFACE_DEFAULT_TIMEOUT = 15;

class CurlInterface
{
public:
    CurlInterface(const char* name, bool verbose);
    ~CurlInterface();
    CurlInterface(const CurlInterface&) = delete;
    CurlInterface& operator=(const CurlInterface&) = delete;

    // Reads url (with "?" and query when given) into a buffer that keeps at most buffer_size - 1 bytes of the
    // reply; more is dropped without failing. With a body, it is posted. *cancelled (when given) becomes 1 when
    // another thread stopped the request. Blocks the calling thread.
    bool DownloadFromUrl(const char* url, const char* query, unsigned buffer_size, const void* body,
                         unsigned body_length, bool strip_leading_newlines, int timeout_seconds, char* cancelled);
    // The reply, zero-terminated, after the leading newlines when asked to strip them; null when there is none.
    char* GetDownloadedData();
    unsigned GetDownloadedDataLength();

    // Drops the reply and the handle; while a transfer runs it only asks the transfer to stop.
    void Exit();
    // Asks a running transfer to stop, waits for it (at most 60 s), then drops everything.
    bool ExitWithWait();

    static size_t WriteDataFunctionCB_Static(char* data, size_t size, size_t count, void* user);
    size_t WriteDataFunctionCB(const char* data, size_t size, size_t count);

private:
    bool DoDownloadFromUrl(const char* url, const char* query, unsigned buffer_size, const void* body,
                           unsigned body_length, bool strip_leading_newlines, int timeout_seconds, char* cancelled);
    bool CheckAlive(const char* own_name) const;
    bool PrepareRequest(const char* url, const char* query, unsigned buffer_size);
    int SetOptions(const void* body, unsigned body_length, int timeout_seconds, CURLcode* code);
    CURLcode Perform(bool options_set);
    bool Finish(CURLcode code, int step, char* cancelled);
    void FreeAddress();
    void CleanupHandles();
    unsigned LeadingNewlines() const;
    static int ProgressCB_Static(void* user, curl_off_t total, curl_off_t done, curl_off_t up_total,
                                 curl_off_t up_done);

    bool m_owns_global_init;
    char* m_buffer;
    unsigned m_used;
    unsigned m_capacity;
    bool m_strip_leading_newlines;
    EngFile* m_file;
    std::atomic<bool> m_performing;
    char m_name[CURL_INTERFACE_NAME_SIZE];
    CURL* m_curl_e;
    bool m_verbose;
    CurlInterface* m_self;
    EngMutex* m_mutex;
    std::atomic<bool> m_exiting;
    char m_check;
    char* m_address;
};

#pragma once

// One-shot, blocking reads of a web address into a caller's buffer, and the addresses of the maker's site.

class EngInternetTransfer_PC;

constexpr unsigned ENG_INTERNET_ERROR_TEXT_SIZE = 256;
constexpr int ENG_INTERNET_DEFAULT_TIMEOUT = 10;

// The maker's site unless the environment variable TORVI_WEB_BASE gives another scheme and host.
constexpr const char* ENG_INTERNET_MAKER_BASE = "https://www.ostrelmark.example";

// Writes the maker's address of path (for example "/cgi-bin/common/updater/CheckVersionV2.cgi") into out.
// TORVI_WEB_BASE must start with "http://" or "https://"; otherwise the default stands. False when the
// result does not fit (out is then empty).
bool EngInternetMakeMakerURL(const char* path, char* out, unsigned out_size);

// What a read session keeps: the agent name that goes with every request.
struct EngInternetSession
{
    char agent[64];
    int timeout_ms;
};

// One opened address.
struct EngInternetHandle
{
    EngInternetTransfer_PC* transfer;
    int timeout_ms;
};

// Reads url into buffer (at most buffer_size - 1 bytes, always zero-terminated) and sets out_length.
// error_text (error_text_size bytes, may be null) receives the prefix and " - " and, on failure, the reason;
// on success it is emptied. A negative time-out means 10 seconds. Returns 1 or 0.
signed char EngInternetConnectAndReadURL(const char* url, char* buffer, unsigned buffer_size, unsigned* out_length,
                                         char* error_text, const char* error_prefix, int timeout_seconds,
                                         unsigned error_text_size = ENG_INTERNET_ERROR_TEXT_SIZE);

EngInternetSession* EngInternetInitSession(const char* agent);
void EngInternetCloseSession(EngInternetSession* session);
// Sets the session's time-outs for the next opened address.
void EngInternetSetTimeouts(EngInternetSession* session, int timeout_ms);
EngInternetHandle* EngInternetOpenConnectionToUrl(EngInternetSession* session, const char* url, bool reload,
                                                  bool show_ui);
void EngInternetCloseHandle(EngInternetHandle* handle);
// Reads the whole reply from start_offset on; a reply longer than the buffer is cut at size - 1 bytes with
// a note and still succeeds. With a time-out above 0, passing it fails the read.
bool EngInternetReadOpenUrl(EngInternetHandle* handle, char* buffer, unsigned size, unsigned start_offset,
                            unsigned* out_length, int timeout_seconds);
void EngInternetCheckError(const char* call_name, int error_number, const char* error_text);
// There is no cheap offline test on this platform: always true.
bool EngInternetIsConnectionAvailable();

#include "Engine/Core/EngInternet.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngThread.h"
#include "Engine/Core/PC/EngInternet_PC.h"

namespace {

constexpr int kReadStepMs = 100;
constexpr unsigned kLocalChunk = 511;
// Opening keeps what arrives with the reply's start; the read then caps the reply at its buffer.
constexpr unsigned kOpenCap = ~0u;

bool IsWebBase(const char* base)
{
    return base && (std::strncmp(base, "http://", 7) == 0 || std::strncmp(base, "https://", 8) == 0);
}

// Starts the error text as the prefix and " - ", or empty.
void StartErrorText(char* error_text, unsigned size, const char* prefix)
{
    if (!error_text || size == 0)
        return;
    if (prefix)
        snprintf(error_text, size, "%s - ", prefix);
    else
        error_text[0] = 0;
}

void AppendErrorText(char* error_text, unsigned size, const char* reason)
{
    if (!error_text || size == 0)
        return;
    unsigned used = unsigned(std::strlen(error_text));
    if (used < size)
        snprintf(error_text + used, size - used, "%s", reason);
}

// The reading part of the one-shot read, with every failure text it can give.
const char* ReadWithSession(const char* url, char* buffer, unsigned buffer_size, unsigned* out_length,
                            int timeout_seconds)
{
    EngInternetSession* session = EngInternetInitSession("EngInternetConnectAndReadURL");
    if (!session)
        return "Error trying to initialise internet session";
    EngInternetSetTimeouts(session, timeout_seconds * 1000);
    const char* failure = nullptr;
    EngInternetHandle* handle = EngInternetOpenConnectionToUrl(session, url, true, false);
    if (!handle)
        failure = "Problem connecting to internet site";
    else if (!EngInternetReadOpenUrl(handle, buffer, buffer_size, 0, out_length, timeout_seconds))
        failure = "Problem communicating with internet site";
    EngInternetCloseHandle(handle);
    EngInternetCloseSession(session);
    return failure;
}

}  // namespace

bool EngInternetMakeMakerURL(const char* path, char* out, unsigned out_size)
{
    if (!out || out_size == 0)
        return false;
    const char* base = std::getenv("TORVI_WEB_BASE");
    if (!IsWebBase(base))
        base = ENG_INTERNET_MAKER_BASE;
    unsigned base_length = unsigned(std::strlen(base));
    while (base_length > 0 && base[base_length - 1] == '/')
        base_length--;
    if (!path)
        path = "";
    const char* separator = (*path && *path != '/') ? "/" : "";
    int written = snprintf(out, out_size, "%.*s%s%s", int(base_length), base, separator, path);
    if (written < 0 || unsigned(written) >= out_size) {
        out[0] = 0;
        return false;
    }
    return true;
}

signed char EngInternetConnectAndReadURL(const char* url, char* buffer, unsigned buffer_size, unsigned* out_length,
                                         char* error_text, const char* error_prefix, int timeout_seconds,
                                         unsigned error_text_size)
{
    StartErrorText(error_text, error_text_size, error_prefix);
    if (out_length)
        *out_length = 0;
    // A failed read never leaves the caller's old text looking like a reply.
    if (buffer && buffer_size > 0)
        buffer[0] = 0;
    const char* failure = nullptr;
    if (!url || !*url)
        failure = "No URL specified";
    else if (!buffer || buffer_size == 0)
        failure = "Internal Error";
    else if (!EngInternetIsConnectionAvailable())
        failure = "No connection to the internet found";
    else
        failure = ReadWithSession(url, buffer, buffer_size, out_length,
                                  timeout_seconds < 0 ? ENG_INTERNET_DEFAULT_TIMEOUT : timeout_seconds);
    if (failure) {
        AppendErrorText(error_text, error_text_size, failure);
        return 0;
    }
    if (error_text && error_text_size > 0)
        error_text[0] = 0;
    return 1;
}

EngInternetSession* EngInternetInitSession(const char* agent)
{
    if (!agent || !*agent) {
        DebugError(ENG_FUNC, "No session name");
        return nullptr;
    }
    EngInternetSession* session = new (std::nothrow) EngInternetSession;
    if (!session) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return nullptr;
    }
    EngSafeStrcpy(session->agent, agent, sizeof(session->agent));
    session->timeout_ms = ENG_INTERNET_DEFAULT_TIMEOUT * 1000;
    return session;
}

void EngInternetCloseSession(EngInternetSession* session)
{
    delete session;
}

void EngInternetSetTimeouts(EngInternetSession* session, int timeout_ms)
{
    if (session)
        session->timeout_ms = timeout_ms > 0 ? timeout_ms : 0;
}

EngInternetHandle* EngInternetOpenConnectionToUrl(EngInternetSession* session, const char* url, bool reload,
                                                  bool show_ui)
{
    (void)reload;  // every read bypasses caches
    if (!session) {
        DebugError(ENG_FUNC, "No session exists");
        return nullptr;
    }
    if (!url || !*url) {
        DebugError(ENG_FUNC, "No URL specified");
        return nullptr;
    }
    if (show_ui)
        DebugError(ENG_FUNC, "Check SW_HIDE calling here - causes deletion / creation of graphics");
    int timeout_ms = session->timeout_ms > 0 ? session->timeout_ms : ENG_INTERNET_DEFAULT_TIMEOUT * 1000;
    EngInternetHandle* handle = new (std::nothrow) EngInternetHandle{nullptr, timeout_ms};
    EngInternetTransfer_PC* transfer = new (std::nothrow) EngInternetTransfer_PC;
    if (!handle || !transfer) {
        delete handle;
        delete transfer;
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return nullptr;
    }
    handle->transfer = transfer;
    bool opened = transfer->Open(url, session->agent, timeout_ms, kOpenCap) && transfer->WaitForReply(timeout_ms);
    if (!opened) {
        EngInternetCheckError("InternetOpenUrlA", transfer->GetCurlCode(), transfer->GetErrorText());
        EngInternetCloseHandle(handle);
        return nullptr;
    }
    return handle;
}

void EngInternetCloseHandle(EngInternetHandle* handle)
{
    if (!handle)
        return;
    delete handle->transfer;
    delete handle;
}

bool EngInternetReadOpenUrl(EngInternetHandle* handle, char* buffer, unsigned size, unsigned start_offset,
                            unsigned* out_length, int timeout_seconds)
{
    if (out_length)
        *out_length = 0;
    if (!handle || !handle->transfer || !buffer || size == 0) {
        DebugError(ENG_FUNC, "Parameters error");
        return false;
    }
    buffer[0] = 0;
    // Nothing past the caller's buffer is kept; one byte more tells a reply that did not fit.
    unsigned cap = size > ~0u - start_offset ? ~0u : size + start_offset;
    handle->transfer->SetSizeCap(cap);
    double deadline = EngThreadGetClock() + timeout_seconds;
    char chunk[kLocalChunk];
    unsigned chunk_size = size < kLocalChunk ? size : kLocalChunk;
    unsigned skipped = 0;
    unsigned used = 0;
    for (;;) {
        unsigned got = 0;
        signed char state = handle->transfer->Read(chunk, chunk_size, &got, kReadStepMs);
        if (state == 2)
            break;
        if (state < 0) {
            EngInternetCheckError("InternetReadFile", handle->transfer->GetCurlCode(),
                                  handle->transfer->GetErrorText());
            return false;
        }
        unsigned skip = start_offset - skipped < got ? start_offset - skipped : got;
        skipped += skip;
        unsigned keep = got - skip;
        if (used + keep >= size) {
            keep = size - 1 - used;
            std::memcpy(buffer + used, chunk + skip, keep);
            used += keep;
            DebugNoteQuick(0, ENG_FUNC, "Warning: Buffer too small to read all data.");
            break;
        }
        std::memcpy(buffer + used, chunk + skip, keep);
        used += keep;
        if (timeout_seconds > 0 && EngThreadGetClock() >= deadline) {
            DebugError(ENG_FUNC, "Timeout after %d seconds", timeout_seconds);
            return false;
        }
    }
    buffer[used] = 0;
    if (out_length)
        *out_length = used;
    return true;
}

void EngInternetCheckError(const char* call_name, int error_number, const char* error_text)
{
    DebugError(ENG_FUNC, "%s - Error code: %d => Message: %s", EngStringOrNone(call_name), error_number,
               EngStringOrNone(error_text));
}

bool EngInternetIsConnectionAvailable()
{
    return true;
}

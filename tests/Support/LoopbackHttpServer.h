#pragma once

// A small HTTP server on 127.0.0.1 for tests of the internet reads: it answers every request with one
// prepared reply, on a thread of its own, and stops when destroyed. It never listens beyond loopback.

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

struct LoopbackReply
{
    int status = 200;
    std::string body;
    // Further header lines, each ending in "\r\n" (a redirect's Location, say).
    std::string extra_headers;
    // Seconds of silence before anything is sent (a server that does not answer).
    double delay_before_reply = 0.0;
    // When above 0: only this many body bytes are sent, then the connection stalls for stall_seconds.
    size_t send_only = 0;
    double stall_seconds = 0.0;
};

LoopbackReply MakeReply(int status, const std::string& body);
// Answers only after seconds of silence.
LoopbackReply MakeSilentReply(double seconds, const std::string& body);
// Promises body_size bytes, sends sent of them, then stalls for seconds.
LoopbackReply MakeStallingReply(size_t body_size, size_t sent, double seconds);

class LoopbackHttpServer
{
public:
    explicit LoopbackHttpServer(const LoopbackReply& reply);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    bool IsListening() const { return m_listen >= 0; }
    // "http://127.0.0.1:<port>"
    std::string Base() const;
    std::string Url(const char* path) const;
    int RequestCount() const { return m_requests; }
    std::string LastRequest() const;

private:
    void Run();
    void Serve(int connection);
    // Sleeps up to seconds in short steps; false when the server is stopping.
    bool Wait(double seconds) const;

    LoopbackReply m_reply;
    int m_listen;
    int m_port;
    std::atomic<bool> m_stop;
    std::atomic<int> m_requests;
    mutable std::mutex m_lock;
    std::string m_last_request;
    std::thread m_thread;
};

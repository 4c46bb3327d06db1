#include "LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace {

constexpr int kPollMs = 20;
constexpr int kRequestWaitMs = 5000;
constexpr size_t kLargestRequest = 16384;

const char* ReasonFor(int status)
{
    return status < 400 ? "OK" : status == 404 ? "Not Found" : "Error";
}

bool SendAll(int connection, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t sent = send(connection, data, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= size_t(sent);
    }
    return true;
}

}  // namespace

LoopbackReply MakeReply(int status, const std::string& body)
{
    LoopbackReply reply;
    reply.status = status;
    reply.body = body;
    return reply;
}

LoopbackReply MakeSilentReply(double seconds, const std::string& body)
{
    LoopbackReply reply = MakeReply(200, body);
    reply.delay_before_reply = seconds;
    return reply;
}

LoopbackReply MakeStallingReply(size_t body_size, size_t sent, double seconds)
{
    LoopbackReply reply = MakeReply(200, std::string(body_size, 'x'));
    reply.send_only = sent;
    reply.stall_seconds = seconds;
    return reply;
}

LoopbackHttpServer::LoopbackHttpServer(const LoopbackReply& reply)
    : m_reply(reply), m_listen(-1), m_port(0), m_stop(false), m_requests(0)
{
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    if (listener < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof(address);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(listener, 8) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(listener);
        return;
    }
    m_listen = listener;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread(&LoopbackHttpServer::Run, this);
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listen >= 0)
        close(m_listen);
}

std::string LoopbackHttpServer::Base() const
{
    return "http://127.0.0.1:" + std::to_string(m_port);
}

std::string LoopbackHttpServer::Url(const char* path) const
{
    return Base() + path;
}

std::string LoopbackHttpServer::LastRequest() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_last_request;
}

bool LoopbackHttpServer::Wait(double seconds) const
{
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (m_stop)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    return !m_stop;
}

void LoopbackHttpServer::Run()
{
    while (!m_stop) {
        pollfd waiting{m_listen, POLLIN, 0};
        if (poll(&waiting, 1, kPollMs) <= 0)
            continue;
        int connection = accept(m_listen, nullptr, nullptr);
        if (connection < 0)
            continue;
        Serve(connection);
        close(connection);
    }
}

void LoopbackHttpServer::Serve(int connection)
{
    std::string request;
    char chunk[1024];
    for (int waited = 0; request.find("\r\n\r\n") == std::string::npos && waited < kRequestWaitMs;) {
        pollfd readable{connection, POLLIN, 0};
        if (poll(&readable, 1, kPollMs) <= 0) {
            waited += kPollMs;
            if (m_stop)
                return;
            continue;
        }
        ssize_t got = recv(connection, chunk, sizeof(chunk), 0);
        if (got <= 0 || request.size() > kLargestRequest)
            return;
        request.append(chunk, size_t(got));
    }
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_last_request = request;
    }
    m_requests++;
    if (m_reply.delay_before_reply > 0.0 && !Wait(m_reply.delay_before_reply))
        return;
    char status[128];
    snprintf(status, sizeof(status), "HTTP/1.1 %d %s\r\nContent-Length: %zu\r\nConnection: close\r\n",
             m_reply.status, ReasonFor(m_reply.status), m_reply.body.size());
    std::string header = std::string(status) + m_reply.extra_headers + "\r\n";
    if (!SendAll(connection, header.data(), header.size()))
        return;
    size_t send_size = m_reply.send_only > 0 ? m_reply.send_only : m_reply.body.size();
    if (send_size > m_reply.body.size())
        send_size = m_reply.body.size();
    if (!SendAll(connection, m_reply.body.data(), send_size))
        return;
    if (m_reply.send_only > 0)
        Wait(m_reply.stall_seconds);
}

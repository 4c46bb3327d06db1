#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "Online/CurlInterface.h"
#include "Online/OnlineTestSupport.h"
#include "Support/LoopbackHttpServer.h"

namespace {

struct Download
{
    bool ok = false;
    char cancelled = 7;
    std::string data;
    unsigned length = 0;
};

Download Fetch(CurlInterface* curl, const std::string& url, unsigned buffer_size, bool strip = false,
               int timeout = 5, const char* query = nullptr, const char* body = nullptr)
{
    Download result;
    result.ok = curl->DownloadFromUrl(url.c_str(), query, buffer_size, body, body ? unsigned(strlen(body)) : 0, strip,
                                      timeout, &result.cancelled);
    if (result.ok) {
        const char* data = curl->GetDownloadedData();
        result.data = data ? data : "";
        result.length = curl->GetDownloadedDataLength();
    }
    return result;
}

}  // namespace

TEST(CurlInterface, LongReplyIsCutToTheBufferAndStillSucceeds)
{
    LoopbackHttpServer server(MakeReply(200, "ABCDEFGHIJKLMNOPQRST"));
    ASSERT_TRUE(server.IsListening());
    CurlInterface curl("Test", false);
    Download got = Fetch(&curl, server.Url("/s"), 16);
    EXPECT_TRUE(got.ok);
    EXPECT_EQ(got.cancelled, 0);
    EXPECT_EQ(got.data, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(got.length, 15u);
}

TEST(CurlInterface, StripsOneOrTwoLeadingNewlinesOnlyWhenAsked)
{
    LoopbackHttpServer two(MakeReply(200, "\n\n A 12"));
    CurlInterface curl(nullptr, false);
    Download stripped = Fetch(&curl, two.Url("/s"), 16, true);
    ASSERT_TRUE(stripped.ok);
    EXPECT_EQ(stripped.data, " A 12");
    EXPECT_EQ(stripped.length, 5u);
    Download kept = Fetch(&curl, two.Url("/s"), 16, false);
    ASSERT_TRUE(kept.ok);
    EXPECT_EQ(kept.data, "\n\n A 12");
    EXPECT_EQ(kept.length, 7u);

    LoopbackHttpServer three(MakeReply(200, "\n\n\nX"));
    Download at_most_two = Fetch(&curl, three.Url("/s"), 16, true);
    EXPECT_EQ(at_most_two.data, "\nX");
}

TEST(CurlInterface, SendsQueryAndPostsTheBody)
{
    LoopbackHttpServer server(MakeReply(200, " A\n"));
    CurlInterface curl("ScoresSub", false);
    Download got = Fetch(&curl, server.Url("/cgi-bin/x.fcgi"), 16, false, 5, "a=1&b=2", "packed-text");
    ASSERT_TRUE(got.ok);
    std::string request = server.LastRequest();
    EXPECT_EQ(request.rfind("POST /cgi-bin/x.fcgi?a=1&b=2 HTTP/1.1", 0), 0u) << request;
    EXPECT_NE(request.find("Content-Length: 11"), std::string::npos);
}

TEST(CurlInterface, RefusedConnectionFailsWithItsReason)
{
    std::string url;
    {
        LoopbackHttpServer gone(MakeReply(200, "x"));
        url = gone.Url("/s");
    }
    CurlInterface curl("Test", false);
    int start = DebugGetMessageCount();
    Download got = Fetch(&curl, url, 16);
    EXPECT_FALSE(got.ok);
    EXPECT_EQ(got.cancelled, 0);
    EXPECT_TRUE(LogHas(start, "Could not connect.")) << LogSince(start);
    EXPECT_EQ(curl.GetDownloadedData(), nullptr);
}

// A server's error page is not a reply.
TEST(CurlInterface, ErrorStatusIsAFailure)
{
    LoopbackHttpServer server(MakeReply(500, " A\n"));
    CurlInterface curl("Test", false);
    int start = DebugGetMessageCount();
    EXPECT_FALSE(Fetch(&curl, server.Url("/s"), 16).ok);
    EXPECT_TRUE(LogHas(start, "Problem ( from: 10  error: 22")) << LogSince(start);
}

TEST(CurlInterface, SilentServerTimesOutWithTheTransferStep)
{
    LoopbackHttpServer server(MakeSilentReply(5.0, "late"));
    CurlInterface curl("Test", false);
    int start = DebugGetMessageCount();
    EXPECT_FALSE(Fetch(&curl, server.Url("/s"), 16, false, 1).ok);
    EXPECT_TRUE(LogHas(start, "Problem ( from: 10  error: 28")) << LogSince(start);
}

TEST(CurlInterface, BadParametersAndSecondGlobalInit)
{
    CurlInterface curl("Test", false);
    int start = DebugGetMessageCount();
    EXPECT_FALSE(curl.DownloadFromUrl("", nullptr, 16, nullptr, 0, false, 5, nullptr));
    EXPECT_FALSE(curl.DownloadFromUrl("http://127.0.0.1:9/", nullptr, 0, nullptr, 0, false, 5, nullptr));
    EXPECT_TRUE(LogHas(start, "Parameters error."));
    ASSERT_TRUE(CurlInterface_IsCurlSetup());
    EXPECT_TRUE(CurlInterface_InitCurl());
    EXPECT_TRUE(LogHas(start, "Already setup."));
}

// Another thread stops a stalled transfer: the request ends as cancelled and nothing is left behind.
TEST(CurlInterface, ExitWithWaitStopsATransferFromAnotherThread)
{
    LoopbackHttpServer server(MakeStallingReply(1000, 10, 20.0));
    CurlInterface curl("Test", false);
    Download got;
    std::thread requester([&] { got = Fetch(&curl, server.Url("/s"), 2000, false, 30); });
    for (int i = 0; i < 500 && server.RequestCount() == 0; i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(curl.ExitWithWait());
    requester.join();
    EXPECT_FALSE(got.ok);
    EXPECT_EQ(got.cancelled, 1);
    EXPECT_EQ(curl.GetDownloadedDataLength(), 0u);
}

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "EngFileTestSupport.h"
#include "Engine/Core/EngInternet.h"
#include "Support/LoopbackHttpServer.h"

namespace {

struct OneShot
{
    signed char result = -1;
    std::string data;
    unsigned length = 12345;
    std::string error;
};

OneShot ReadOnce(const std::string& url, unsigned buffer_size, int timeout, const char* prefix = "Prefix")
{
    OneShot read;
    std::string buffer(buffer_size, 'Z');
    char error[ENG_INTERNET_ERROR_TEXT_SIZE];
    read.result = EngInternetConnectAndReadURL(url.c_str(), buffer.data(), buffer_size, &read.length, error, prefix,
                                               timeout);
    read.data = buffer.c_str();
    read.error = error;
    return read;
}

}  // namespace

TEST(EngInternet, SuccessfulReadFillsBufferAndEmptiesErrorText)
{
    LoopbackHttpServer server(MakeReply(200, "version=1.500\nok"));
    ASSERT_TRUE(server.IsListening());
    OneShot read = ReadOnce(server.Url("/check.cgi?x=1"), 2048, 5);
    EXPECT_EQ(read.result, 1);
    EXPECT_EQ(read.data, "version=1.500\nok");
    EXPECT_EQ(read.length, 16u);
    EXPECT_EQ(read.error, "");
    std::string request = server.LastRequest();
    EXPECT_NE(request.find("GET /check.cgi?x=1 HTTP/1.1"), std::string::npos);
    EXPECT_NE(request.find("User-Agent: EngInternetConnectAndReadURL"), std::string::npos);
    EXPECT_NE(request.find("Cache-Control: no-cache"), std::string::npos);
}

TEST(EngInternet, NotFoundIsRefusedAsConnectionProblem)
{
    LoopbackHttpServer server(MakeReply(404, "no such page"));
    OneShot read = ReadOnce(server.Url("/missing"), 256, 5);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.error, "Prefix - Problem connecting to internet site");
    EXPECT_EQ(read.length, 0u);
}

TEST(EngInternet, RefusedConnectionLeavesPrefixAndReason)
{
    std::string url;
    {
        LoopbackHttpServer closed(MakeReply(200, ""));
        url = closed.Url("/");
    }  // nothing listens there any more
    OneShot read = ReadOnce(url, 256, 2);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.error, "Prefix - Problem connecting to internet site");
    OneShot unprefixed = ReadOnce(url, 256, 2, nullptr);
    EXPECT_EQ(unprefixed.error, "Problem connecting to internet site");
}

TEST(EngInternet, ReplyLargerThanBufferIsCutAndStillSucceeds)
{
    std::string body(5000, 'a');
    for (size_t i = 0; i < body.size(); i++)
        body[i] = char('a' + i % 26);
    LoopbackHttpServer server(MakeReply(200, body));
    int mark = LogMark();
    OneShot read = ReadOnce(server.Url("/big"), 100, 5);
    EXPECT_EQ(read.result, 1);
    EXPECT_EQ(read.length, 99u);
    EXPECT_EQ(read.data, body.substr(0, 99));
    EXPECT_TRUE(LoggedSince(mark, "Warning: Buffer too small to read all data."));
}

TEST(EngInternet, AReplyOverAMebibyteFillsALargerBufferWhole)
{
    std::string body((3u << 19) + 7, 'm'); // one and a half mebibytes
    body.back() = 'E';
    LoopbackHttpServer server(MakeReply(200, body));
    for (unsigned buffer : {unsigned(body.size()) + 1, 2u << 20, unsigned(body.size())}) {
        SCOPED_TRACE(buffer);
        int mark = LogMark();
        OneShot read = ReadOnce(server.Url("/big"), buffer, 10);
        EXPECT_EQ(read.result, 1);
        bool fits = buffer > body.size();
        EXPECT_EQ(read.length, fits ? body.size() : buffer - 1);
        EXPECT_TRUE(read.data == body.substr(0, read.length));
        EXPECT_EQ(LoggedSince(mark, "Warning: Buffer too small to read all data."), !fits);
    }
}

TEST(EngInternet, ServerThatNeverAnswersTimesOut)
{
    LoopbackHttpServer server(MakeSilentReply(20.0, "late"));
    OneShot read = ReadOnce(server.Url("/slow"), 256, 1);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.error, "Prefix - Problem connecting to internet site");
}

TEST(EngInternet, ReplyThatStallsMidwayFailsAsCommunicationProblem)
{
    LoopbackHttpServer server(MakeStallingReply(4000, 100, 20.0));
    OneShot read = ReadOnce(server.Url("/stall"), 8192, 1);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.error, "Prefix - Problem communicating with internet site");
}

TEST(EngInternet, RedirectToLocalFileIsNotFollowed)
{
    LoopbackReply redirect = MakeReply(302, "");
    redirect.extra_headers = "Location: file:///etc/hostname\r\n";
    LoopbackHttpServer server(redirect);
    OneShot read = ReadOnce(server.Url("/moved"), 256, 2);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.data, "");
}

TEST(EngInternet, MissingArgumentsGiveTheirTexts)
{
    char buffer[16];
    char error[ENG_INTERNET_ERROR_TEXT_SIZE];
    unsigned length = 7;
    EXPECT_EQ(EngInternetConnectAndReadURL(nullptr, buffer, sizeof(buffer), &length, error, "P", 1), 0);
    EXPECT_STREQ(error, "P - No URL specified");
    EXPECT_EQ(EngInternetConnectAndReadURL("http://127.0.0.1:9/", nullptr, 16, &length, error, nullptr, 1), 0);
    EXPECT_STREQ(error, "Internal Error");
    char small_error[8];
    EXPECT_EQ(EngInternetConnectAndReadURL(nullptr, buffer, sizeof(buffer), &length, small_error, "Prefix", 1,
                                           sizeof(small_error)),
              0);
    EXPECT_STREQ(small_error, "Prefix ");
}

TEST(EngInternet, SessionAndOpenRefuseMissingParts)
{
    int mark = LogMark();
    EXPECT_EQ(EngInternetInitSession(""), nullptr);
    EXPECT_TRUE(LoggedSince(mark, "No session name"));
    EXPECT_EQ(EngInternetOpenConnectionToUrl(nullptr, "http://127.0.0.1:9/", true, false), nullptr);
    EXPECT_TRUE(LoggedSince(mark, "No session exists"));
    EngInternetSession* session = EngInternetInitSession("Agent");
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(EngInternetOpenConnectionToUrl(session, "", true, false), nullptr);
    EXPECT_TRUE(LoggedSince(mark, "No URL specified"));
    EngInternetCloseSession(session);
}

TEST(EngInternet, ReadFromOffsetSkipsTheStartOfTheReply)
{
    LoopbackHttpServer server(MakeReply(200, "0123456789"));
    EngInternetSession* session = EngInternetInitSession("Agent");
    ASSERT_NE(session, nullptr);
    EngInternetSetTimeouts(session, 3000);
    EngInternetHandle* handle = EngInternetOpenConnectionToUrl(session, server.Url("/").c_str(), true, false);
    ASSERT_NE(handle, nullptr);
    char buffer[32];
    unsigned length = 0;
    EXPECT_TRUE(EngInternetReadOpenUrl(handle, buffer, sizeof(buffer), 4, &length, 3));
    EXPECT_STREQ(buffer, "456789");
    EXPECT_EQ(length, 6u);
    EngInternetCloseHandle(handle);
    EngInternetCloseSession(session);
}

TEST(EngInternet, MakerAddressUsesDefaultOrWebBase)
{
    char url[128];
    unsetenv("TORVI_WEB_BASE");
    ASSERT_TRUE(EngInternetMakeMakerURL("/cgi-bin/common/updater/CheckVersionV2.cgi", url, sizeof(url)));
    EXPECT_STREQ(url, "https://www.ostrelmark.example/cgi-bin/common/updater/CheckVersionV2.cgi");
    setenv("TORVI_WEB_BASE", "http://127.0.0.1:8123/", 1);
    ASSERT_TRUE(EngInternetMakeMakerURL("scores/get.php", url, sizeof(url)));
    EXPECT_STREQ(url, "http://127.0.0.1:8123/scores/get.php");
    setenv("TORVI_WEB_BASE", "ftp://files.example", 1);
    ASSERT_TRUE(EngInternetMakeMakerURL("/a", url, sizeof(url)));
    EXPECT_STREQ(url, "https://www.ostrelmark.example/a");
    char tiny[10];
    EXPECT_FALSE(EngInternetMakeMakerURL("/a", tiny, sizeof(tiny)));
    EXPECT_STREQ(tiny, "");
}

TEST(EngInternet, AddressBuiltFromWebBaseReachesLocalServer)
{
    LoopbackHttpServer server(MakeReply(200, "hello from base"));
    setenv("TORVI_WEB_BASE", server.Base().c_str(), 1);
    char url[256];
    ASSERT_TRUE(EngInternetMakeMakerURL("/cgi-bin/test.cgi", url, sizeof(url)));
    OneShot read = ReadOnce(url, 256, 5);
    EXPECT_EQ(read.result, 1);
    EXPECT_EQ(read.data, "hello from base");
    EXPECT_NE(server.LastRequest().find("GET /cgi-bin/test.cgi "), std::string::npos);
}

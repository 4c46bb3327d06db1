#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "EngFileTestSupport.h"
#include "Engine/Core/EngInternet.h"
#include "Engine/Core/EngInternetThread.h"
#include "Engine/Core/EngMemory.h"
#include "Support/LoopbackHttpServer.h"
#include "Support/WaitFor.h"

namespace {

// Polls as the screens do, a frame at a time, until the state leaves "in progress" (bounded).
_EngInternetThreadReadResult PollUntilSettled(EngInternetThread& reader, double seconds = 10.0)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    _EngInternetThreadReadResult state = reader.GetReadingStatus(0.0);
    while (state == ENG_READ_IN_PROGRESS && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
        state = reader.GetReadingStatus(0.0);
    }
    return state;
}

bool WaitForWorkerEnd(EngInternetThread& reader, double seconds = 10.0)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (reader.IsThreadRunning()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

std::string TakeData(EngInternetThread& reader, unsigned* size)
{
    char* data = reader.GetDataReadFreeWhenDone(size);
    if (!data)
        return "<null>";
    std::string copy(data);
    EngFree(data, true, "test");
    return copy;
}

}  // namespace

TEST(EngInternetThread, ReadsReplyAndKeepsItAfterWorkerEnds)
{
    std::string body = "#SCORES\n1;Ann;61.250\n2;Bob;62.000\n";
    LoopbackHttpServer server(MakeReply(200, body));
    EngInternetThread reader("SCMT0", 0);
    ASSERT_TRUE(reader.StartReading(server.Url("/scores").c_str(), 8192, 15.0));
    ASSERT_EQ(PollUntilSettled(reader), ENG_READ_DONE);
    ASSERT_TRUE(WaitForWorkerEnd(reader));
    // A main thread that polls late still finds the finished read.
    EXPECT_EQ(reader.GetReadingStatus(0.0), ENG_READ_DONE);
    unsigned size = 0;
    EXPECT_EQ(TakeData(reader, &size), body);
    EXPECT_EQ(size, body.size());
    EXPECT_NE(server.LastRequest().find("User-Agent: EngInternetThread_PC::PrepareForReading"), std::string::npos);
}

TEST(EngInternetThread, ReplyLongerThanBufferIsCutToSizeMinusOne)
{
    std::string body;
    for (int i = 0; i < 3000; i++)
        body += char('0' + i % 10);
    LoopbackHttpServer server(MakeReply(200, body));
    EngInternetThread reader("Cut", 0);
    ASSERT_TRUE(reader.StartReading(server.Url("/big").c_str(), 1000, 15.0));
    ASSERT_EQ(PollUntilSettled(reader), ENG_READ_DONE);
    unsigned size = 0;
    EXPECT_EQ(TakeData(reader, &size), body.substr(0, 999));
    EXPECT_EQ(size, 999u);
}

TEST(EngInternetThread, NulBytesAreCopiedWithTheRestAndTheSizeSaysHowMany)
{
    std::string body("Y \n1\0002\0\0003", 9);
    LoopbackHttpServer server(MakeReply(200, body));
    EngInternetThread reader("Nul", 0);
    ASSERT_TRUE(reader.StartReading(server.Url("/nul").c_str(), 64, 15.0));
    ASSERT_EQ(PollUntilSettled(reader), ENG_READ_DONE);
    unsigned size = 0;
    char* data = reader.GetDataReadFreeWhenDone(&size);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(size, body.size());
    EXPECT_EQ(std::string(data, size), body);
    EXPECT_EQ(data[size], 0) << "the copy is still terminated";
    EngFree(data, true, "test");
}

// At one chunk a tick the read took 17 seconds on the local machine and ran into its deadline.
TEST(EngInternetThread, ALargeReplyIsReadAsFastAsItArrives)
{
    std::string body(700 * 1024, 'r');
    for (size_t i = 0; i < body.size(); i += 1000)
        body[i] = char('a' + (i / 1000) % 26);
    LoopbackHttpServer server(MakeReply(200, body));
    EngInternetThread reader("Large", 0);
    ASSERT_TRUE(reader.StartReading(server.Url("/large").c_str(), unsigned(body.size()) + 1, 10.0));
    ASSERT_EQ(PollUntilSettled(reader, 12.0), ENG_READ_DONE);
    unsigned size = 0;
    char* data = reader.GetDataReadFreeWhenDone(&size);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(size, body.size());
    EXPECT_TRUE(std::string(data, size) == body);
    EngFree(data, true, "test");
}

TEST(EngInternetThread, NotFoundFails)
{
    LoopbackHttpServer server(MakeReply(404, "gone"));
    EngInternetThread reader("NotFound", 0);
    ASSERT_TRUE(reader.StartReading(server.Url("/none").c_str(), 512, 15.0));
    EXPECT_EQ(PollUntilSettled(reader), ENG_READ_FAILED);
    int mark = LogMark();
    unsigned size = 77;
    EXPECT_EQ(reader.GetDataReadFreeWhenDone(&size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_TRUE(LoggedSince(mark, "Reading did not complete ok"));
}

TEST(EngInternetThread, ServerThatNeverAnswersTimesOutAtDeadline)
{
    LoopbackHttpServer server(MakeSilentReply(30.0, "late"));
    EngInternetThread reader("Silent", 0);
    ASSERT_TRUE(reader.StartReading(server.Url("/slow").c_str(), 512, 1.0));
    _EngInternetThreadReadResult state = PollUntilSettled(reader, 8.0);
    EXPECT_TRUE(state == ENG_READ_TIMEOUT || state == ENG_READ_FAILED) << state;
    EXPECT_TRUE(WaitForWorkerEnd(reader, 5.0));
}

TEST(EngInternetThread, CancelDuringReadGivesStoppedAndEndsWorker)
{
    LoopbackHttpServer server(MakeStallingReply(5000, 50, 60.0));
    EngInternetThread reader("Cancel", 0);
    // A time-out of 0 means 15 s, so nothing but the cancel can end this read within the test.
    ASSERT_TRUE(reader.StartReading(server.Url("/stall").c_str(), 8192, 0.0));
    ASSERT_TRUE(WaitFor([&] { return server.RequestCount() > 0; })) << "the read never reached the server";
    EXPECT_EQ(reader.GetReadingStatus(0.0), ENG_READ_IN_PROGRESS);
    EXPECT_TRUE(reader.CancelReading());
    EXPECT_EQ(reader.GetReadingStatus(0.0), ENG_READ_STOPPED);
    EXPECT_TRUE(WaitForWorkerEnd(reader, 5.0));
    EXPECT_EQ(reader.GetReadingStatus(0.0), ENG_READ_STOPPED);
}

TEST(EngInternetThread, DestroyStopsReadInProgress)
{
    LoopbackHttpServer server(MakeStallingReply(5000, 10, 60.0));
    EngInternetThread reader("Destroy", 0);
    ASSERT_TRUE(reader.StartReading(server.Url("/stall").c_str(), 8192, 30.0));
    ASSERT_TRUE(WaitFor([&] { return server.RequestCount() > 0; })) << "the read never reached the server";
    reader.Destroy();
    EXPECT_FALSE(reader.IsThreadRunning());
    int mark = LogMark();
    EXPECT_EQ(reader.GetReadingStatus(0.0), ENG_READ_FAILED);
    EXPECT_TRUE(LoggedSince(mark, "No thread."));
}

TEST(EngInternetThread, BadParametersAndEarlyQuestionsAreRefused)
{
    EngInternetThread reader("Params", 0);
    int mark = LogMark();
    EXPECT_FALSE(reader.StartReading("", 100, 5.0));
    EXPECT_FALSE(reader.StartReading("http://127.0.0.1:9/", 0, 5.0));
    EXPECT_TRUE(LoggedSince(mark, "Parameters Error"));
    EXPECT_EQ(reader.GetReadingStatus(0.0), ENG_READ_FAILED);
    EXPECT_EQ(reader.GetDataReadFreeWhenDone(nullptr), nullptr);
    EXPECT_TRUE(LoggedSince(mark, "No thread"));
}

TEST(EngInternetThread, DataIsRefusedWhileReading)
{
    LoopbackHttpServer server(MakeSilentReply(2.0, "eventually"));
    EngInternetThread reader("Early", 0);
    ASSERT_TRUE(reader.StartReading(server.Url("/").c_str(), 256, 10.0));
    int mark = LogMark();
    EXPECT_EQ(reader.GetDataReadFreeWhenDone(nullptr), nullptr);
    EXPECT_TRUE(LoggedSince(mark, "Reading has not finished"));
    ASSERT_EQ(PollUntilSettled(reader), ENG_READ_DONE);
    EXPECT_EQ(TakeData(reader, nullptr), "eventually");
}

TEST(EngInternetThread, NewReadReplacesFinishedOne)
{
    LoopbackHttpServer first(MakeReply(200, "first"));
    LoopbackHttpServer second(MakeReply(200, "second"));
    EngInternetThread reader("Twice", 0);
    ASSERT_TRUE(reader.StartReading(first.Url("/").c_str(), 256, 5.0));
    ASSERT_EQ(PollUntilSettled(reader), ENG_READ_DONE);
    ASSERT_TRUE(reader.StartReading(second.Url("/").c_str(), 256, 5.0));
    ASSERT_EQ(PollUntilSettled(reader), ENG_READ_DONE);
    EXPECT_EQ(TakeData(reader, nullptr), "second");
}

TEST(EngInternetThread, ReadsMakerAddressFromWebBase)
{
    LoopbackHttpServer server(MakeReply(200, "table"));
    setenv("TORVI_WEB_BASE", server.Base().c_str(), 1);
    char url[256];
    ASSERT_TRUE(EngInternetMakeMakerURL("/cgi-bin/scores/get.cgi?t=3", url, sizeof(url)));
    EngInternetThread reader("Base", 0);
    ASSERT_TRUE(reader.StartReading(url, 256, 5.0));
    ASSERT_EQ(PollUntilSettled(reader), ENG_READ_DONE);
    EXPECT_EQ(TakeData(reader, nullptr), "table");
    EXPECT_NE(server.LastRequest().find("GET /cgi-bin/scores/get.cgi?t=3 "), std::string::npos);
}

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>
#include <string>
#include <thread>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/PC/EngSignals_PC.h"
#include "EngDebugTestSupport.h"
#include "EngFileTestSupport.h"

namespace {

// A clock that moves a fixed step every time it is read, so frame lengths do not depend on the machine.
double g_fake_now = 0.0;
double g_fake_step = 0.001;

double FakeClock()
{
    g_fake_now += g_fake_step;
    return g_fake_now;
}

class CountingProgram : public EngProgram
{
public:
    bool TickCB() override
    {
        ++ticks;
        if (shutdown_at_tick == ticks)
            Shutdown(false);
        return true;
    }
    void DeInitCB() override { ++deinits; }
    void PreCloseWindowCB() override { ++pre_closes; }

    int ticks = 0;
    int deinits = 0;
    int pre_closes = 0;
    int shutdown_at_tick = -1;
};

class ProgramLoop : public PrivateLogTest
{
protected:
    void SetUp() override
    {
        PrivateLogTest::SetUp();
        g_fake_now = 0.0;
        g_fake_step = 0.001;
        EngMainSetClockSource(FakeClock);
    }
    void TearDown() override
    {
        EngMainSetClockSource(nullptr);
        PrivateLogTest::TearDown();
    }
};

int g_exit_callback_runs = 0;

void CountExit()
{
    ++g_exit_callback_runs;
}

} // namespace

TEST_F(ProgramLoop, ConstructorSetsTimingDefaultsAndGlobal)
{
    eng_time = 5.0;
    eng_frame_rate = 10.0f;
    CountingProgram program;
    EXPECT_EQ(&program, eng_main_program);
    EXPECT_DOUBLE_EQ(0.0, eng_time);
    EXPECT_FLOAT_EQ(60.0f, eng_frame_rate);
    EXPECT_FLOAT_EQ(1.0f / 60.0f, eng_frame_time);
    EXPECT_EQ(ENG_DEVICE_DX9, eng_main_device_type);
    EXPECT_TRUE(EngMainIsThisTheMainThread());
    EXPECT_EQ(_EngMainLoopMode::ConstantFrameRate, program.GetMainLoopMode());
}

TEST_F(ProgramLoop, IdleFramesLastOnePeriod)
{
    CountingProgram program;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(program.DoConstantFrameRateTick());
        EXPECT_NEAR(1.0 / 60.0, eng_frame_time, 0.0015);
        EXPECT_NEAR(60.0, eng_frame_rate, 5.0);
    }
    EXPECT_EQ(3u, program.GetFrameCount());
}

TEST_F(ProgramLoop, AutomaticRateClimbsByThreeUpTo240)
{
    g_fake_step = 0.005;
    CountingProgram program;
    program.SetAutoAdjustFrameRate(true);
    program.SetMinimumWaitRounds(10);
    float previous = program.GetTargetFrameRate();
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(program.DoConstantFrameRateTick());
        ASSERT_EQ(10, program.GetLastWaitRounds());
        float rate = program.GetTargetFrameRate();
        ASSERT_TRUE(rate == previous || rate == previous + 3.0f) << previous << " -> " << rate;
        previous = rate;
    }
    EXPECT_FLOAT_EQ(240.0f, program.GetTargetFrameRate());
}

// Frames that take longer than the period leave no time to wait.
TEST_F(ProgramLoop, AutomaticRateFallsByThreeButNeverBelowSixty)
{
    g_fake_step = 0.025;
    CountingProgram program;
    program.SetAutoAdjustFrameRate(true);
    program.SetTargetFrameRate(66.0f);
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(program.DoConstantFrameRateTick());
        ASSERT_EQ(0, program.GetLastWaitRounds());
    }
    EXPECT_FLOAT_EQ(60.0f, program.GetTargetFrameRate());
    program.SetTargetFrameRate(50.0f);
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(program.DoConstantFrameRateTick());
    EXPECT_FLOAT_EQ(50.0f, program.GetTargetFrameRate());
}

struct ModeCase
{
    _EngMainLoopMode mode;
    signed char result;
};

std::string ModeName(const ::testing::TestParamInfo<ModeCase>& info)
{
    static const char* const names[] = {"ConstantFrameRate", "FullRender", "EventDriven", "Full", "RenderWhenNeeded"};
    return names[int(info.param.mode)];
}

class EveryLoopMode : public ::testing::TestWithParam<ModeCase>
{
};

// One application object per process: each mode runs in a test of its own.
TEST_P(EveryLoopMode, EndsWhenQuitIsRequestedWithItsResult)
{
    CountingProgram program;
    program.SetMainLoopMode(GetParam().mode);
    std::thread quitter([&program] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        program.RequestQuit();
    });
    EXPECT_EQ(GetParam().result, program.RunMainLoop());
    quitter.join();
    EXPECT_TRUE(program.IsQuitting());
}

INSTANTIATE_TEST_SUITE_P(Modes, EveryLoopMode,
                         ::testing::Values(ModeCase{_EngMainLoopMode::ConstantFrameRate, 0},
                                           ModeCase{_EngMainLoopMode::FullRender, 0},
                                           ModeCase{_EngMainLoopMode::EventDriven, 1},
                                           ModeCase{_EngMainLoopMode::Full, 1},
                                           ModeCase{_EngMainLoopMode::RenderWhenNeeded, 1}),
                         ModeName);

TEST_F(ProgramLoop, FullModeTicksWithoutDeviceAndStopsWhenProgramVanishes)
{
    CountingProgram program;
    program.SetMainLoopMode(_EngMainLoopMode::Full);
    program.shutdown_at_tick = 3;
    int mark = LogMark();
    EXPECT_EQ(1, program.RunMainLoop());
    EXPECT_EQ(3, program.ticks);
    EXPECT_EQ(1, program.deinits);
    EXPECT_EQ(nullptr, eng_main_program);
    EXPECT_TRUE(LoggedSince(mark, "Exiting as no eng_main_program. (Full)"));
}

TEST_F(ProgramLoop, FullModeMeasuresFrameTimeFromClock)
{
    CountingProgram program;
    program.SetMainLoopMode(_EngMainLoopMode::Full);
    eng_time = 1.0;
    program.MeasureFrameRate();
    EXPECT_FLOAT_EQ(60.0f, eng_frame_rate);
    eng_time = 1.025;
    program.MeasureFrameRate();
    EXPECT_NEAR(0.025, eng_frame_time, 1e-6);
    EXPECT_NEAR(40.0, eng_frame_rate, 0.01);
    // Other modes leave the timing to the loop.
    program.SetMainLoopMode(_EngMainLoopMode::ConstantFrameRate);
    eng_time = 2.0;
    program.MeasureFrameRate();
    EXPECT_NEAR(40.0, eng_frame_rate, 0.01);
}

TEST_F(ProgramLoop, ShutdownRunsDeInitOnceThenExitCallbackInsteadOfPopup)
{
    g_exit_callback_runs = 0;
    CountingProgram program;
    program.SetExitCallback(CountExit);
    EngMiscSetPopupTexts(ENG_POPUP_ERROR, "Title", "Text");
    program.ShowPopupAfterExiting();
    ::testing::internal::CaptureStderr();
    program.Shutdown(false);
    program.Shutdown(false);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(1, program.deinits);
    EXPECT_EQ(1, g_exit_callback_runs);
    EXPECT_EQ(nullptr, eng_main_program);
    EXPECT_TRUE(program.IsQuitting());
    EXPECT_EQ(std::string::npos, err.find("[Title]"));
}

TEST_F(ProgramLoop, PopupAfterExitIsShownOnceAfterShutdown)
{
    CountingProgram program;
    int mark = LogMark();
    program.ShowPopupAfterExiting();
    EXPECT_TRUE(LoggedSince(mark, "Popup texts are not set."));
    EngMiscSetPopupTexts(ENG_POPUP_ERROR, "INTERNAL PROGRAM ERROR", "Reason:\n\nbroken");
    ::testing::internal::CaptureStderr();
    program.Shutdown(false);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, err.find("[INTERNAL PROGRAM ERROR] Reason:\n\nbroken"));
    EXPECT_FALSE(EngMiscArePopupTextsSet());
}

TEST_F(ProgramLoop, ForceExitFromSignalShowsNoBoxAndSkipsDeInit)
{
    CountingProgram program;
    ::testing::internal::CaptureStderr();
    program.ForceExitNow(nullptr, nullptr, true);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(nullptr, eng_main_program);
    EXPECT_TRUE(program.IsQuitting());
    EXPECT_EQ(0, program.deinits);
    EXPECT_EQ("", err);
}

TEST_F(ProgramLoop, ForceExitWithoutTextsOutsideSignalShowsFatalBox)
{
    DebugInfo("so that a log exists");
    CountingProgram program;
    ::testing::internal::CaptureStderr();
    program.ForceExitNow(nullptr, nullptr, false);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos,
              err.find("[Error Running Program] The program had to terminate prematurely.\n\nDo you wish to see the "
                       "log file ?"));
    EXPECT_EQ(nullptr, eng_main_program);
}

TEST_F(ProgramLoop, ForceExitFromWorkerOnlySetsFlagsForMainThread)
{
    CountingProgram program;
    int mark = LogMark();
    std::thread worker([&program] { program.ForceExitNow("ERROR", "worker failed", false); });
    worker.join();
    EXPECT_EQ(&program, eng_main_program);
    EXPECT_TRUE(program.IsQuitting());
    EXPECT_TRUE(LoggedSince(mark, "Not closing down as not the main thread"));
    EXPECT_FALSE(LoggedSince(mark, "Popup texts are not set."));
    ::testing::internal::CaptureStderr();
    program.Shutdown(false);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, err.find("[ERROR] worker failed"));
}

TEST_F(ProgramLoop, TerminationSignalOnlyRaisesFlagAndLoopClosesDown)
{
    CountingProgram program;
    char command_line[] = "";
    ASSERT_EQ(1, program.Setup(nullptr, command_line));
    EngMainSetClockSource(FakeClock);
    ASSERT_EQ(0, EngSignalsPending_PC());
    std::raise(SIGTERM);
    EXPECT_EQ(SIGTERM, EngSignalsPending_PC());
    ASSERT_EQ(&program, eng_main_program);
    int mark = LogMark();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(0, program.RunMainLoop());
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(nullptr, eng_main_program);
    EXPECT_EQ(0, program.deinits);
    EXPECT_EQ("", err);
    EXPECT_TRUE(LoggedSince(mark, "Signal 15 received - closing down."));
    EXPECT_TRUE(LoggedSince(mark, "Main loop ended: 0 frames"));
}

TEST_F(ProgramLoop, InterruptSignalIsHandledLikeTermination)
{
    CountingProgram program;
    char command_line[] = "";
    ASSERT_EQ(1, program.Setup(nullptr, command_line));
    std::raise(SIGINT);
    EXPECT_EQ(SIGINT, EngSignalsPending_PC());
    EXPECT_FALSE(program.DoConstantFrameRateTick());
    EXPECT_EQ(nullptr, eng_main_program);
}

// An abort sent from outside is not a request to close down politely: it ends the program.
TEST_F(ProgramLoop, AbortSignalStillEndsTheProgram)
{
    EXPECT_EXIT(
        {
            CountingProgram program;
            char command_line[] = "";
            program.Setup(nullptr, command_line);
            kill(getpid(), SIGABRT);
            std::_Exit(0);
        },
        ::testing::KilledBySignal(SIGABRT), "");
}

TEST_F(ProgramLoop, SignalsBlockedOnWorkerThreadsStayWithMainThread)
{
    sigset_t seen;
    std::thread worker([&seen] {
        EngSignalsBlockOnThisThread_PC();
        pthread_sigmask(SIG_BLOCK, nullptr, &seen);
    });
    worker.join();
    EXPECT_EQ(1, sigismember(&seen, SIGTERM));
    EXPECT_EQ(1, sigismember(&seen, SIGINT));
    sigset_t mine;
    pthread_sigmask(SIG_BLOCK, nullptr, &mine);
    EXPECT_EQ(0, sigismember(&mine, SIGTERM));
}

TEST_F(ProgramLoop, InitBelowOneIsReturnedWithoutInstallingHandlers)
{
    class RefusingProgram : public EngProgram
    {
    public:
        signed char Init(char*) override { return -1; }
    } program;
    char command_line[] = "";
    EXPECT_EQ(-1, program.Setup(nullptr, command_line));
    struct sigaction current = {};
    sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(SIG_DFL, current.sa_handler);
}


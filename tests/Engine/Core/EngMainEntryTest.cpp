#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngMainEntry.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngWindowProc_PC.h"
#include "EngDebugTestSupport.h"
#include "EngFileTestSupport.h"

// The start-up hooks of a small test game: each test sets what the hooks answer.
namespace {

std::vector<std::string> g_calls;
// Set once the test game has minimised its window; read by other threads.
std::atomic<bool> g_minimised{false};

struct HookSettings
{
    bool make_program = true;
    signed char result_without_program = 0;
    int exit_code_on_failure = -1;
    signed char init_result = 1;
    signed char pre_create_window_result = 1;
    signed char pre_device_init_result = 1;
    int quit_at_tick = 3;
    int signal_at_tick = -1;
    int worker_fatal_at_tick = -1;
    int shutdown_at_tick = -1;
    int minimise_at_tick = -1;
    int destroy_calls = 0;
    bool destroy_argument = false;
    _EngCreateWindowParms parms;
} g_hooks;

class HookProgram : public EngProgram
{
public:
    signed char Init(char* command_line) override
    {
        g_calls.push_back(std::string("Init ") + command_line);
        return g_hooks.init_result;
    }
    signed char PreCreateWindowCB(_EngCreateWindowParms* parms) override
    {
        g_calls.push_back("PreCreateWindow");
        parms->width = 320;
        parms->height = 240;
        return g_hooks.pre_create_window_result;
    }
    signed char PreDeviceInitCB() override
    {
        g_calls.push_back("PreDeviceInit");
        return g_hooks.pre_device_init_result;
    }
    signed char PostDeviceInitCB() override
    {
        g_calls.push_back("PostDeviceInit");
        return 1;
    }
    bool TickCB() override
    {
        ++ticks;
        g_calls.push_back("Tick");
        if (ticks == g_hooks.signal_at_tick)
            std::raise(SIGTERM);
        if (ticks == g_hooks.worker_fatal_at_tick) {
            std::thread worker([] { DebugFatalCheck(false, "void Reader::Run()", "reader broke"); });
            worker.join();
        }
        if (ticks == g_hooks.shutdown_at_tick)
            Shutdown(false);
        if (ticks == g_hooks.minimise_at_tick)
            Minimise();
        if (ticks == g_hooks.quit_at_tick)
            RequestQuit();
        return true;
    }
    void RenderCB() override
    {
        g_calls.push_back("Render");
        EngProgram::RenderCB();
    }
    void MinimisedCB(bool minimised) override { g_calls.push_back(minimised ? "Minimised" : "Restored"); }
    void PreCloseWindowCB() override { g_calls.push_back("PreCloseWindow"); }
    void PostCloseWindowCB() override { g_calls.push_back("PostCloseWindow"); }
    void DeInitCB() override { g_calls.push_back("DeInit"); }

    int ticks = 0;

private:
    // What the window procedure gets when the user minimises the window.
    static void Minimise()
    {
        _EngWindowMessage message;
        message.message = ENG_WM_SIZE;
        message.kind = ENG_SIZE_MINIMIZED;
        eng_main_window->WindowProc(eng_main_window->GetWindowHandle_PC(), &message);
        g_minimised = true;
    }
};

HookProgram* g_program = nullptr;

int Count(const char* call)
{
    int count = 0;
    for (const std::string& seen : g_calls)
        count += seen == call;
    return count;
}

bool Called(const char* call)
{
    return Count(call) > 0;
}

int RunWinMain(const char* command_line, std::string* err)
{
    char line[256];
    snprintf(line, sizeof(line), "%s", command_line);
    ::testing::internal::CaptureStderr();
    int code = WinMain(nullptr, nullptr, line, 1);
    *err = ::testing::internal::GetCapturedStderr();
    return code;
}

class StartUp : public PrivateLogTest
{
protected:
    void TearDown() override
    {
        delete g_program;
        g_program = nullptr;
        PrivateLogTest::TearDown();
    }
};

constexpr const char* kFatalBox = "[Error Running Program] The program had to terminate prematurely.";

} // namespace

signed char MainCreateAndInitMainProgram(void* instance, char* command_line, int* exit_code)
{
    if (!g_hooks.make_program) {
        *exit_code = g_hooks.exit_code_on_failure;
        return g_hooks.result_without_program;
    }
    g_program = new HookProgram();
    signed char result = g_program->Setup(instance, command_line);
    if (result > 0)
        return 1;
    *exit_code = result < 0 ? 0 : g_hooks.exit_code_on_failure;
    return 0;
}

void MainDestroyMainProgram(bool normal_end)
{
    ++g_hooks.destroy_calls;
    g_hooks.destroy_argument = normal_end;
    if (!g_program)
        return;
    g_program->Shutdown(true);
    delete g_program;
    g_program = nullptr;
}

const char* MainGetWindowTitle()
{
    return "Start-up Test";
}

const char* MainGetWindowClassName()
{
    return "StartUpTestClass";
}

_EngCreateWindowParms* MainGetCreateWindowParms()
{
    return &g_hooks.parms;
}

// Starts that end before the main loop: the hook that answers otherwise, whether the window was asked for,
// the exit code, what the log says, whether the fatal box is shown, and how often (and whether as a normal
// end) the program is taken down.
struct EarlyEnd
{
    const char* name;
    void (*arrange)();
    bool window_asked;
    int exit_code;
    const char* logged; // "" when the log is not asked
    bool box;
    int destroy_calls;
    bool normal_end;
};

void PrintTo(const EarlyEnd& end, std::ostream* out)
{
    *out << end.name;
}

class StartUpEndsEarly : public StartUp, public ::testing::WithParamInterface<EarlyEnd>
{
};

TEST_P(StartUpEndsEarly, WithItsCodeLogAndBoxAndNoWindowLeft)
{
    const EarlyEnd& end = GetParam();
    end.arrange();
    std::string err;
    EXPECT_EQ(end.exit_code, RunWinMain("", &err));
    EXPECT_EQ(end.window_asked, Called("PreCreateWindow"));
    EXPECT_NE(std::string::npos, ReadWhole(log_name).find(end.logged));
    EXPECT_EQ(end.box, err.find(kFatalBox) != std::string::npos);
    EXPECT_EQ(end.destroy_calls, g_hooks.destroy_calls);
    EXPECT_EQ(end.normal_end, g_hooks.destroy_argument);
    EXPECT_EQ(nullptr, eng_main_window);
}

INSTANTIATE_TEST_SUITE_P(
    Hooks, StartUpEndsEarly,
    ::testing::Values(
        EarlyEnd{"QuietRefusal", [] { g_hooks.init_result = -1; }, false, 0, "", false, 1, true},
        EarlyEnd{"FailedInit", [] { g_hooks.init_result = 0; }, false, -1, "Init returned 0,  Exit -1.", true, 1,
                 false},
        EarlyEnd{"SuccessWithoutProgram",
                 [] {
                     g_hooks.make_program = false;
                     g_hooks.result_without_program = 1;
                 },
                 false, -1, "eng_main_program was not created.", true, 1, false},
        EarlyEnd{"WindowRefusedByGame", [] { g_hooks.pre_create_window_result = -2; }, true, -2, "", false, 0, false},
        EarlyEnd{"WindowFailure", [] { g_hooks.pre_create_window_result = 0; }, true, -1,
                 "Could not create main window.", true, 1, false},
        EarlyEnd{"DeviceFailure", [] { g_hooks.pre_device_init_result = 0; }, true, -1,
                 "Could not create graphics device.", true, 1, false}),
    [](const ::testing::TestParamInfo<EarlyEnd>& info) { return std::string(info.param.name); });

TEST_F(StartUp, GameExitCodeTravelsAsNegativeByte)
{
    g_hooks.make_program = false;
    g_hooks.exit_code_on_failure = -300;
    std::string err;
    EXPECT_EQ(-128, RunWinMain("", &err));
    g_hooks.exit_code_on_failure = 5;
    EXPECT_EQ(-1, RunWinMain("", &err));
}

TEST_F(StartUp, ExistingProgramIsRefused)
{
    EngProgram existing;
    std::string err;
    EXPECT_EQ(-1, RunWinMain("", &err));
    EXPECT_NE(std::string::npos, ReadWhole(log_name).find("eng_main_program already exists."));
    EXPECT_EQ(0, g_hooks.destroy_calls);
}

TEST_F(StartUp, RunTicksThenRendersEachFrameUntilQuitThenClosesDown)
{
    std::string err;
    EXPECT_EQ(0, RunWinMain("CONFIGURATION", &err));
    ASSERT_FALSE(g_calls.empty());
    EXPECT_EQ("Init CONFIGURATION", g_calls[0]);
    std::vector<std::string> frames;
    for (const std::string& call : g_calls) {
        if (call == "Tick" || call == "Render")
            frames.push_back(call);
    }
    // Three ticks; the quit asked for in the third stops that frame's render.
    std::vector<std::string> expected = {"Tick", "Render", "Tick", "Render", "Tick"};
    EXPECT_EQ(expected, frames);
    std::vector<std::string> tail(g_calls.end() - 3, g_calls.end());
    EXPECT_EQ((std::vector<std::string>{"PreCloseWindow", "PostCloseWindow", "DeInit"}), tail);
    EXPECT_TRUE(g_hooks.destroy_argument);
    EXPECT_EQ(nullptr, eng_main_program);
    EXPECT_EQ(nullptr, eng_main_window);
    EXPECT_EQ(std::string::npos, err.find(kFatalBox));
    EXPECT_EQ(std::string::npos, err.find("INTERNAL PROGRAM ERROR"));
}

TEST_F(StartUp, TerminationSignalClosesWindowWithoutDeInitAndEndsWithZero)
{
    g_hooks.quit_at_tick = -1;
    g_hooks.signal_at_tick = 2;
    std::string err;
    EXPECT_EQ(0, RunWinMain("", &err));
    EXPECT_EQ(2, Count("Tick"));
    EXPECT_TRUE(Called("PreCloseWindow"));
    EXPECT_TRUE(Called("PostCloseWindow"));
    EXPECT_FALSE(Called("DeInit"));
    EXPECT_EQ(std::string::npos, err.find(kFatalBox));
    std::string log = ReadWhole(log_name);
    EXPECT_NE(std::string::npos, log.find("Signal 15 received - closing down."));
    EXPECT_NE(std::string::npos, log.find("Main loop ended: 2 frames"));
}

TEST_F(StartUp, FatalCheckOnWorkerClosesDownNormallyAndEndsWithMinusOne)
{
    g_hooks.quit_at_tick = -1;
    g_hooks.worker_fatal_at_tick = 2;
    std::string err;
    EXPECT_EQ(-1, RunWinMain("", &err));
    EXPECT_EQ(2, Count("Tick"));
    EXPECT_TRUE(Called("PreCloseWindow"));
    EXPECT_TRUE(Called("DeInit"));
    // The reason is shown after the window has gone.
    EXPECT_NE(std::string::npos, err.find("[INTERNAL PROGRAM ERROR] Reason:\n\n( Reader::Run )    reader broke"));
}

TEST_F(StartUp, ShutdownInsideFrameEndsLoopAtNextCheck)
{
    g_hooks.quit_at_tick = -1;
    g_hooks.shutdown_at_tick = 2;
    std::string err;
    EXPECT_EQ(0, RunWinMain("", &err));
    EXPECT_EQ(2, Count("Tick"));
    EXPECT_EQ(1, Count("Render"));
    EXPECT_EQ(1, Count("DeInit"));
    EXPECT_NE(std::string::npos, ReadWhole(log_name).find("Exiting as no eng_main_program."));
}

TEST_F(StartUp, MinimisedWindowPausesTickAndRenderAndSlowsFrames)
{
    g_hooks.quit_at_tick = -1;
    g_hooks.minimise_at_tick = 2;
    // The 600 ms count from the minimise, however long the start took.
    std::thread quitter([] {
        auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!g_minimised && std::chrono::steady_clock::now() < give_up)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        EngMainRequestQuit();
    });
    std::string err;
    EXPECT_EQ(0, RunWinMain("", &err));
    quitter.join();
    EXPECT_TRUE(Called("Minimised"));
    EXPECT_EQ(2, Count("Tick"));
    EXPECT_EQ(1, Count("Render"));
    // Each minimised frame sleeps 50 ms in the tick and 50 ms in the render: at most seven in 600 ms,
    // where a running loop makes thirty-six.
    std::string log = ReadWhole(log_name);
    size_t at = log.find("Main loop ended: ");
    ASSERT_NE(std::string::npos, at);
    int frames = std::stoi(log.substr(at + 17));
    EXPECT_LE(frames, 2 + 7);
}

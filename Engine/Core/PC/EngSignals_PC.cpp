#include "Engine/Core/PC/EngSignals_PC.h"

#include <csignal>
#include <pthread.h>

namespace {

volatile std::sig_atomic_t g_pending_signal = 0;

extern "C" void EngSignalHandler_PC(int signal_number)
{
    if (signal_number == SIGINT || signal_number == SIGTERM)
        g_pending_signal = signal_number;
}

} // namespace

void EngSignalsInstall_PC()
{
    struct sigaction action = {};
    action.sa_handler = EngSignalHandler_PC;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int EngSignalsPending_PC()
{
    return g_pending_signal;
}

void EngSignalsBlockOnThisThread_PC()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

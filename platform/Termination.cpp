// Termination signals as a polled flag.
#include "platform/Termination.h"

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace Plat {
namespace {

std::atomic<int> g_signal{0};

void OnTerminate(int sig)
{
    int expected = 0;
    if (!g_signal.compare_exchange_strong(expected, sig) && expected == sig)
        ::_exit(128 + sig); // asked twice: the clean path is stuck
}

} // namespace

void InstallTerminationHandlers()
{
    struct sigaction sa {};
    sa.sa_handler = OnTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
}

bool TerminationRequested() { return g_signal.load() != 0; }
int TerminationSignal() { return g_signal.load(); }
void ClearTerminationRequest() { g_signal.store(0); }

} // namespace Plat

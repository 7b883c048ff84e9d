#include "cli/StopSignal.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

namespace quarvel::cli {

namespace {

std::atomic<bool> g_stopRequested{false};
int g_wakePipe[2] = {-1, -1};

static_assert(std::atomic<bool>::is_always_lock_free);

void onStopSignal(int)
{
    const int savedErrno = errno;
    g_stopRequested.store(true);
    if (g_wakePipe[1] >= 0) {
        const char byte = 1;
        // The pipe is non-blocking: when it is full a wake-up is already pending.
        [[maybe_unused]] const ssize_t ignored = ::write(g_wakePipe[1], &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

void installStopSignalHandlers()
{
    if (g_wakePipe[0] < 0 && ::pipe2(g_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        g_wakePipe[0] = g_wakePipe[1] = -1;
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // Restarted calls: a file operation is never cut short by the signal.
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool stopSignalled()
{
    return g_stopRequested.load();
}

int stopSignalWakeFd()
{
    return g_wakePipe[0];
}

void blockStopSignalsInThisThread()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

} // namespace quarvel::cli

#include "platform/StopSignal.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

namespace quarvel {

namespace {

std::atomic<bool> g_stopRequested{false};
std::atomic<int> g_stopSignal{0};
int g_wakePipe[2] = {-1, -1};

static_assert(std::atomic<bool>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);

void onStopSignal(int signal)
{
    const int savedErrno = errno;
    g_stopSignal.store(signal);
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
    // A parent may have left them blocked; a stop request must get through.
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

bool stopSignalled()
{
    return g_stopRequested.load();
}

int stopSignalNumber()
{
    return g_stopSignal.load();
}

int stopSignalWakeFd()
{
    return g_wakePipe[0];
}

void drainStopSignalWakeFd()
{
    char bytes[64];
    if (g_wakePipe[0] >= 0)
        while (::read(g_wakePipe[0], bytes, sizeof bytes) > 0) {
        }
}

void blockStopSignalsInThisThread()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

} // namespace quarvel

#include "cli/SignalWatcher.h"

#include "extract/RunState.h"
#include "platform/Error.h"
#include "platform/PauseGate.h"
#include "platform/SystemText.h"

#include <cerrno>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

sigset_t TSignalWatcher::CancelSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    return signals;
}

TSignalWatcher::TSignalWatcher()
{
    if (pipe2(FCancelPipe, O_CLOEXEC) != 0)
        throw EVarnholdError(SystemErrorText(errno));
    FSignals = CancelSignals();
    pthread_sigmask(SIG_BLOCK, &FSignals, nullptr);
    FThread = std::thread([this] { Watch(); });
}

TSignalWatcher::~TSignalWatcher()
{
    // SIGHUP also serves to wake the watcher for its end; the flag tells it
    // apart from a real hang-up.
    FStopping = true;
    pthread_kill(FThread.native_handle(), SIGHUP);
    FThread.join();
    close(FCancelPipe[0]);
    close(FCancelPipe[1]);
}

void TSignalWatcher::Watch()
{
    for (;;) {
        int signal = 0;
        if (sigwait(&FSignals, &signal) != 0 || FStopping)
            return;
        SetFlag(g_bCancel, true);
        // A paused worker must wake up to see the flag.
        WorkerPauseGate().Resume();
        (void)!write(FCancelPipe[1], "c", 1);
    }
}

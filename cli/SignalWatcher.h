#pragma once
// Ctrl-C, SIGTERM and a hang-up cancel the run as the desktop program's
// Cancel does. The signals are blocked in every thread and taken by one
// thread with sigwait, so nothing runs in a signal handler. A cancel also
// makes CancelFd() readable for good, so that a question waiting on the
// terminal gives up at once instead of holding the run.

#include <atomic>
#include <csignal>
#include <thread>

class TSignalWatcher {
public:
    // Must be made before any other thread, so that all of them inherit the
    // blocked signals.
    TSignalWatcher();
    ~TSignalWatcher();
    TSignalWatcher(const TSignalWatcher&) = delete;
    TSignalWatcher& operator=(const TSignalWatcher&) = delete;

#ifdef _WIN32
    // The console's Ctrl-C handler cancels the run; there is nothing to watch.
    int CancelFd() const { return -1; }
#else
    // SIGINT, SIGTERM and SIGHUP.
    static sigset_t CancelSignals();

    // Becomes readable when a signal has cancelled the run.
    int CancelFd() const { return FCancelPipe[0]; }

private:
    void Watch();

    sigset_t FSignals;
    int FCancelPipe[2] = {-1, -1};
    std::atomic<bool> FStopping{false};
    std::thread FThread;
#endif
};

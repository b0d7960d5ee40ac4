#pragma once
// Pausing a worker thread at its next step, in place of suspending the whole
// thread: the worker calls PausePoint() at safe places (between copy blocks,
// in stream reads and writes, in progress callbacks) and sleeps there while
// the gate is closed. A frozen worker holds nothing that another thread needs.

#include <atomic>
#include <condition_variable>
#include <mutex>

class TPauseGate {
public:
    void Pause();
    void Resume();
    bool IsPaused() const { return FPaused.load(); }
    // Returns at once when open; otherwise sleeps until Resume.
    void Wait();

private:
    std::atomic<bool> FPaused{false};
    std::mutex FMutex;
    std::condition_variable FOpened;
};

// The gate of the process's extraction worker.
TPauseGate& WorkerPauseGate();

inline void PausePoint()
{
    WorkerPauseGate().Wait();
}

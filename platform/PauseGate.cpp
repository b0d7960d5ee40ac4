#include "platform/PauseGate.h"

void TPauseGate::Pause()
{
    std::lock_guard lock(FMutex);
    FPaused = true;
}

void TPauseGate::Resume()
{
    {
        std::lock_guard lock(FMutex);
        FPaused = false;
    }
    FOpened.notify_all();
}

void TPauseGate::Wait()
{
    if (!FPaused.load())
        return;
    std::unique_lock lock(FMutex);
    FOpened.wait(lock, [this] { return !FPaused.load(); });
}

TPauseGate& WorkerPauseGate()
{
    static TPauseGate gate;
    return gate;
}

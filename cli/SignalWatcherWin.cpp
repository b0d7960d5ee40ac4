#include "cli/SignalWatcher.h"

#include "extract/RunState.h"
#include "platform/PauseGate.h"

#include <windows.h>

namespace {

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI CancelOnConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        SetFlag(g_bCancel, true);
        // A paused worker must wake up to see the flag.
        WorkerPauseGate().Resume();
        // After these three the system ends the process once the handler
        // returns; holding it lets the run stop and delete its work folder
        // first (the process ends with its main thread).
        if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
            Sleep(5000);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

TSignalWatcher::TSignalWatcher()
{
    SetConsoleCtrlHandler(CancelOnConsoleEvent, TRUE);
}

TSignalWatcher::~TSignalWatcher()
{
    SetConsoleCtrlHandler(CancelOnConsoleEvent, FALSE);
}

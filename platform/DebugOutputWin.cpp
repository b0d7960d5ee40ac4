#include "platform/DebugOutput.h"
#include "platform/Win32Text.h"

#include <cstdio>
#include <cstdlib>
#include <windows.h>
// The program's own function of that name, not the Windows macro.
#undef OutputDebugString

bool DebugOutputEnabled()
{
    static const bool enabled = std::getenv("VARNHOLD_DEBUG") != nullptr;
    return enabled;
}

void OutputDebugString(const std::string& text)
{
    if (!DebugOutputEnabled())
        return;
    // The debugger's window, and stderr for a console or a test log.
    OutputDebugStringW(Widen(text + "\n").c_str());
    std::fprintf(stderr, "%s\n", text.c_str());
}

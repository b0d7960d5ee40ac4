#include "platform/DebugOutput.h"

#include <cstdio>
#include <cstdlib>

bool DebugOutputEnabled()
{
    static const bool enabled = std::getenv("VARNHOLD_DEBUG") != nullptr;
    return enabled;
}

void OutputDebugString(const std::string& text)
{
    if (DebugOutputEnabled())
        std::fprintf(stderr, "%s\n", text.c_str());
}

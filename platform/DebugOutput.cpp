#include "platform/DebugOutput.h"

#include <cstdio>
#include <cstdlib>

void OutputDebugString(const std::string& text)
{
    static const bool enabled = std::getenv("VARNHOLD_DEBUG") != nullptr;
    if (enabled)
        std::fprintf(stderr, "%s\n", text.c_str());
}

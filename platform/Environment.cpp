#include "platform/Environment.h"

#include <cstdlib>

bool GetEnvironmentText(const std::string& name, std::string& value)
{
    const char* text = std::getenv(name.c_str());
    if (!text)
        return false;
    value = text;
    return true;
}

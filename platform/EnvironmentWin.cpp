#include "platform/Environment.h"
#include "platform/Win32Text.h"

#include <windows.h>

bool GetEnvironmentText(const std::string& name, std::string& value)
{
    const std::wstring wideName = Widen(name);
    SetLastError(ERROR_SUCCESS);
    const DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (needed == 0) {
        // An empty value is set all the same; only a missing one fails so.
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND)
            return false;
        value.clear();
        return true;
    }
    std::wstring buffer(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), buffer.data(), needed);
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        return false;
    value = Narrow(buffer.data(), length < needed ? length : 0);
    return true;
}

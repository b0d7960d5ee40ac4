#include "platform/TempFolder.h"
#include "platform/Paths.h"
#include "platform/Win32Text.h"

#include <windows.h>

std::string GetSystemTempFolder()
{
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH)
        return "C:\\Windows\\Temp\\";
    return IncludeTrailingPathDelimiter(Narrow(buffer, length));
}

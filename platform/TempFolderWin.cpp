#include "platform/TempFolder.h"
#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/SystemText.h"
#include "platform/Win32Text.h"

#include <atomic>
#include <cstdio>
#include <windows.h>

std::string GetSystemTempFolder()
{
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH)
        return "C:\\Windows\\Temp\\";
    return IncludeTrailingPathDelimiter(Narrow(buffer, length));
}

std::string CreateUniqueFolder(const std::string& base, const std::string& prefix)
{
    const std::string folder = IncludeTrailingPathDelimiter(base);
    // The folder itself takes the unique name, in one step: a name taken by
    // another run, file or folder, is skipped.
    static std::atomic<unsigned> s_counter{0};
    const unsigned start = static_cast<unsigned>(GetTickCount64() ^ (GetCurrentProcessId() << 4)) + s_counter.fetch_add(1);
    DWORD lastError = ERROR_ALREADY_EXISTS;
    for (unsigned step = 0; step < 0xFFFF; ++step) {
        const unsigned number = (start + step) % 0xFFFF + 1;  // 1 .. 0xFFFF
        char name[16];
        std::snprintf(name, sizeof name, "%X.tmp", number);
        const std::string path = folder + prefix + name;
        if (CreateDirectoryW(Widen(path).c_str(), nullptr))
            return path + PATH_DELIMITER;
        lastError = GetLastError();
        if (lastError != ERROR_ALREADY_EXISTS && lastError != ERROR_FILE_EXISTS)
            break;  // not writable, missing, full: every name would fail alike
    }
    throw EVarnholdError(FormatText("Cannot create a work folder in \"%s\". %s",
                                    {folder, SystemErrorText(static_cast<int>(lastError))}));
}

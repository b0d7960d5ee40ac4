#include "platform/FileFacts.h"
#include "platform/Win32Text.h"

#include <windows.h>

TFileFacts GetFileFacts(const std::string& path)
{
    TFileFacts facts;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data))
        return facts;
    facts.Found = true;
    facts.IsFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.Size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    FILETIME local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &time))
        return facts;
    facts.Modified.tm_year = time.wYear - 1900;
    facts.Modified.tm_mon = time.wMonth - 1;
    facts.Modified.tm_mday = time.wDay;
    facts.Modified.tm_hour = time.wHour;
    facts.Modified.tm_min = time.wMinute;
    facts.Modified.tm_sec = time.wSecond;
    facts.Modified.tm_wday = time.wDayOfWeek;
    return facts;
}

#include "extract/FileDetails.h"

#include "lang/LangText.h"
#include "platform/TextTrim.h"

#include <cstdio>
#include <ctime>
#include <sys/stat.h>

namespace {

// The years a DOS date can hold.
constexpr int DOS_FIRST_YEAR = 1980;
constexpr int DOS_LAST_YEAR = 2107;

}  // namespace

TFileDetails ReadFileDetails(const std::string& path)
{
    TFileDetails details;
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0)
        return details;
    if (!S_ISDIR(info.st_mode))
        details.Size = info.st_size;
    struct tm local {};
    if (!localtime_r(&info.st_mtime, &local))
        return details;
    const int year = local.tm_year + 1900;
    if (year < DOS_FIRST_YEAR || year > DOS_LAST_YEAR)
        return details;
    // A DOS time counts two-second steps up to 58 (a leap second included).
    const int second = local.tm_sec > 58 ? 58 : local.tm_sec - local.tm_sec % 2;
    details.Modified = {year, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, second};
    return details;
}

std::string FileTimeText(const TFileTime& time)
{
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.Year, time.Month, time.Day, time.Hour,
                  time.Minute, time.Second);
    return text;
}

std::string FileSizeLine(int64_t size)
{
    std::string unit = LangText("02000982");
    if (unit.find("{0}") != std::string::npos)
        unit = TrimText(ReplacePlaceholder(unit, ""), " ");
    return std::to_string(size) + " " + unit;
}

std::string FileTimeLine(const TFileTime& time)
{
    return LangText("02000983") + ": " + FileTimeText(time);
}

#include "extract/FileDetails.h"

#include "lang/LangText.h"
#include "platform/FileFacts.h"
#include "platform/TextTrim.h"

#include <cstdio>

namespace {

// The years a DOS date can hold.
constexpr int DOS_FIRST_YEAR = 1980;
constexpr int DOS_LAST_YEAR = 2107;

}  // namespace

TFileDetails ReadFileDetails(const std::string& path)
{
    TFileDetails details;
    const TFileFacts facts = path.empty() ? TFileFacts() : GetFileFacts(path);
    if (!facts.Found)
        return details;
    if (!facts.IsFolder)
        details.Size = facts.Size;
    const std::tm& local = facts.Modified;
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

#pragma once
// What the overwrite question shows of each file: its size and its
// modification time, as the desktop dialog and the command line both show
// them.

#include <cstdint>
#include <string>

// A local date and time to the second. The default is the zero date-time,
// 1899-12-30 00:00:00, shown for a file that is not there.
struct TFileTime {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;

    bool operator==(const TFileTime&) const = default;
};

struct TFileDetails {
    int64_t Size = 0;    // bytes; 0 for a folder or nothing
    TFileTime Modified;  // last write, local time, to the even second
};

// The size and last-write time of whatever is at `path` (a link is
// followed). The time goes down to an even second, as the DOS form keeps it;
// a time that form cannot hold (before 1980, after 2107) and a path with
// nothing there give the zero date-time.
TFileDetails ReadFileDetails(const std::string& path);

// "yyyy-mm-dd HH:MM:SS".
std::string FileTimeText(const TFileTime& time);

// "1234 bytes": the size and the unit of catalogue text 02000982, whose
// "{0}" is taken out and whose blanks at both ends go.
std::string FileSizeLine(int64_t size);

// "modified on: 2021-06-15 14:39:56": catalogue text 02000983 as it stands,
// a colon, a blank and the time.
std::string FileTimeLine(const TFileTime& time);

#pragma once
// What the overwrite question tells about a file that is already there.

#include <cstdint>
#include <ctime>
#include <string>

struct TFileFacts {
    bool Found = false;
    bool IsFolder = false;
    int64_t Size = 0;
    std::tm Modified{};  // local time; all zero when the system cannot tell it
};

// The size and local modification time of whatever is at `path`, a link
// followed.
TFileFacts GetFileFacts(const std::string& path);

#pragma once
// What the overwrite question tells about a file that is already there.

#include <cstdint>
#include <ctime>
#include <string>

struct TFileFacts {
    bool Found = false;
    int64_t Size = 0;
    std::tm Modified{};  // local time
};

// The size and local modification time of the file at `path`.
TFileFacts GetFileFacts(const std::string& path);

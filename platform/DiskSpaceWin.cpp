#include "platform/DiskSpace.h"
#include "platform/Win32Text.h"

#include <limits>
#include <windows.h>

namespace {

// The volume's root: "C:\" for a path that begins with a drive letter (the
// bare "C:" too), "\\server\share\" for a network path, else the path itself.
std::string VolumeRoot(const std::string& path)
{
    auto isDelimiter = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(0, 2) + "\\";
    if (path.size() >= 2 && isDelimiter(path[0]) && isDelimiter(path[1])) {
        size_t end = 2;
        for (int part = 0; part < 2 && end < path.size(); ++part) {
            while (end < path.size() && !isDelimiter(path[end]))
                ++end;
            if (part == 0 && end < path.size())
                ++end;
        }
        return path.substr(0, end) + "\\";
    }
    return path;
}

}  // namespace

int32_t GetFreeSpaceMiB(const std::string& path)
{
    ULARGE_INTEGER available{};
    // No "insert a disk" box for an empty drive: the answer is just 0.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const BOOL ok = GetDiskFreeSpaceExW(Widen(VolumeRoot(path)).c_str(), &available, nullptr, nullptr);
    SetErrorMode(oldMode);
    if (!ok)
        return 0;
    const uint64_t mib = available.QuadPart / 1024 / 1024;
    return mib > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())
               ? std::numeric_limits<int32_t>::max()
               : static_cast<int32_t>(mib);
}

#include "platform/DiskSpace.h"

#include <limits>
#include <sys/statvfs.h>

int32_t GetFreeSpaceMiB(const std::string& path)
{
    struct statvfs info;
    if (statvfs(path.c_str(), &info) != 0)
        return 0;
    const uint64_t bytes = static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
    const uint64_t mib = bytes / 1024 / 1024;
    return mib > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())
               ? std::numeric_limits<int32_t>::max()
               : static_cast<int32_t>(mib);
}

#include "support/TmpfsMount.h"

#include "platform/Paths.h"

#include <sys/mount.h>

TTmpfsMount::TTmpfsMount(const std::string& folder, const std::string& options) : FFolder(folder)
{
    ForceDirectories(folder);
    unsigned long flags = MS_NOSUID | MS_NODEV;
    std::string data;
    size_t start = 0;
    while (start <= options.size()) {
        size_t end = options.find(',', start);
        if (end == std::string::npos)
            end = options.size();
        const std::string option = options.substr(start, end - start);
        if (option == "ro")
            flags |= MS_RDONLY;
        else if (option == "noexec")
            flags |= MS_NOEXEC;
        else if (!option.empty())
            data += (data.empty() ? "" : ",") + option;
        start = end + 1;
    }
    FMounted = mount("tmpfs", folder.c_str(), "tmpfs", flags, data.c_str()) == 0;
}

TTmpfsMount::~TTmpfsMount()
{
    if (FMounted)
        umount2(FFolder.c_str(), MNT_DETACH);
}

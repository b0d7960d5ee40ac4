#include "platform/FolderTree.h"
#include "platform/Paths.h"

#include <dirent.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

std::vector<std::string> ListFolder(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    closedir(dir);
    return names;
}

namespace {

int RemoveEntry(const char* path, const struct stat*, int type, struct FTW*)
{
    // FTW_PHYS reports a link as FTW_SL and never enters what it points to.
    if (type == FTW_DP)
        rmdir(path);
    else
        unlink(path);
    return 0;  // a failure leaves that entry and goes on
}

}  // namespace

void RemoveFolderTree(const std::string& folder)
{
    const std::string path = ExcludeTrailingPathDelimiter(folder);
    struct stat info;
    if (path.empty() || lstat(path.c_str(), &info) != 0)
        return;
    nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

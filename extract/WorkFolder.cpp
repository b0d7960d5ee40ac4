#include "extract/WorkFolder.h"

#include "platform/DiskSpace.h"
#include "platform/Paths.h"
#include "platform/TempFolder.h"

#include <cctype>
#include <cstdlib>
#include <dirent.h>
#include <ftw.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

const char* const MARKER_NAME = "1e1c8ebb-9299-4834-ab8f-9e5a0c04ba8b.quorvale";

namespace {

std::mutex g_readerMutex;
TFreeSpaceReader g_freeSpaceReader;

int32_t ReadFreeSpace(const std::string& path)
{
    std::lock_guard lock(g_readerMutex);
    return g_freeSpaceReader ? g_freeSpaceReader(path) : GetFreeSpaceMiB(path);
}

std::string ToLower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

void SetFreeSpaceReaderForTesting(TFreeSpaceReader reader)
{
    std::lock_guard lock(g_readerMutex);
    g_freeSpaceReader = std::move(reader);
}

int32_t GetDiskFreeMB(const std::string& path)
{
    return ReadFreeSpace(path);
}

std::string UserCacheFolder()
{
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && *cache == '/')
        return IncludeTrailingPathDelimiter(cache);
    const char* home = std::getenv("HOME");
    if (home && *home == '/')
        return IncludeTrailingPathDelimiter(home) + ".cache/";
    return std::string();
}

std::string CreateWorkFolder(int64_t requiredBytes)
{
    std::string base = GetSystemTempFolder();
    const int64_t requiredMiB = requiredBytes / 1024 / 1024;
    if (static_cast<int64_t>(GetDiskFreeMB(base)) < requiredMiB) {
        for (const std::string& candidate : {std::string("/var/tmp/"), UserCacheFolder()}) {
            if (!candidate.empty() && static_cast<int64_t>(GetDiskFreeMB(candidate)) > requiredMiB) {
                base = candidate;
                break;
            }
        }
    }
    return CreateUniqueFolder(base, "tq_");
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

void DeleteFolderTree(const std::string& folder)
{
    const std::string path = ExcludeTrailingPathDelimiter(folder);
    struct stat info;
    if (path.empty() || lstat(path.c_str(), &info) != 0)
        return;
    nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void DeleteMarkerFile(const std::string& folder)
{
    const std::string exact = folder + MARKER_NAME;
    struct stat info;
    if (lstat(exact.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) {
        unlink(exact.c_str());
        return;
    }
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (ToLower(name) == MARKER_NAME) {
            const std::string path = folder + name;
            if (lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode))
                unlink(path.c_str());
            break;
        }
    }
    closedir(dir);
}

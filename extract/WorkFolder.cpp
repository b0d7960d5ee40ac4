#include "extract/WorkFolder.h"

#include "platform/DiskSpace.h"
#include "platform/FolderTree.h"
#include "platform/Paths.h"
#include "platform/TempFolder.h"

#include <cctype>
#include <cstdlib>
#include <mutex>
#include <vector>

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

namespace {

// Where a work folder may go when the system temporary folder is short of
// room, in the order they are tried. For a drive the free space is asked of
// "D:" and the folder goes into its root "D:\"; A and B are floppy drives.
std::vector<std::pair<std::string, std::string>> WorkFolderCandidates()
{
#ifdef _WIN32
    std::vector<std::pair<std::string, std::string>> drives;
    for (char letter = 'C'; letter <= 'Z'; ++letter)
        drives.push_back({std::string(1, letter) + ":", std::string(1, letter) + ":\\"});
    return drives;
#else
    return {{"/var/tmp/", "/var/tmp/"}, {UserCacheFolder(), UserCacheFolder()}};
#endif
}

}  // namespace

std::string CreateWorkFolder(int64_t requiredBytes)
{
    std::string base = GetSystemTempFolder();
    const int64_t requiredMiB = requiredBytes / 1024 / 1024;
    if (static_cast<int64_t>(GetDiskFreeMB(base)) < requiredMiB) {
        for (const auto& [asked, folder] : WorkFolderCandidates()) {
            if (!asked.empty() && static_cast<int64_t>(GetDiskFreeMB(asked)) > requiredMiB) {
                base = folder;
                break;
            }
        }
    }
    return CreateUniqueFolder(base, "tq_");
}

void DeleteFolderTree(const std::string& folder)
{
    RemoveFolderTree(folder);
}

void DeleteMarkerFile(const std::string& folder)
{
    const std::string exact = folder + MARKER_NAME;
    if (EntryExists(exact)) {
        DeleteFile(exact);
        return;
    }
    for (const std::string& name : ListFolder(folder)) {
        if (ToLower(name) == MARKER_NAME) {
            const std::string path = folder + name;
            if (EntryExists(path))
                DeleteFile(path);
            break;
        }
    }
}

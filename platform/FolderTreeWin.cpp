#include "platform/FolderTree.h"
#include "platform/Paths.h"
#include "platform/Win32Text.h"

#include <windows.h>

namespace {

struct TEntry {
    std::string Name;
    DWORD Attributes;
};

std::vector<TEntry> ListEntries(const std::string& folder)
{
    std::vector<TEntry> entries;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Widen(IncludeTrailingPathDelimiter(folder) + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        const std::string name = Narrow(found.cFileName);
        if (name != "." && name != "..")
            entries.push_back({name, found.dwFileAttributes});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return entries;
}

}  // namespace

std::vector<std::string> ListFolder(const std::string& folder)
{
    std::vector<std::string> names;
    for (const TEntry& entry : ListEntries(folder))
        names.push_back(entry.Name);
    return names;
}

void RemoveFolderTree(const std::string& folder)
{
    const std::string path = ExcludeTrailingPathDelimiter(folder);
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    // A junction or a folder link is removed itself, never entered.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        for (const TEntry& entry : ListEntries(path)) {
            const std::string child = IncludeTrailingPathDelimiter(path) + entry.Name;
            if ((entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) && !(entry.Attributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveFolderTree(child);
            else if (entry.Attributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(Widen(child).c_str());
            else
                DeleteFileW(Widen(child).c_str());
        }
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryW(Widen(path).c_str());
    else
        DeleteFileW(Widen(path).c_str());
}

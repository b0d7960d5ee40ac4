#include "platform/Paths.h"

#include <cerrno>
#include <cstdio>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

bool FileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool EntryExists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& path)
{
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeDirectory(const std::string& path)
{
    return mkdir(path.c_str(), 0777) == 0;
}

bool MakePrivateDirectory(const std::string& path)
{
    return mkdir(path.c_str(), 0700) == 0;
}

bool DeleteFile(const std::string& path)
{
    return unlink(path.c_str()) == 0;
}

namespace {

// Copies every byte of `in` to `out` and gives `out` the times of `in`.
bool CopyContent(int in, int out, const struct stat& info)
{
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = write(out, buffer.data() + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0) {
                if (put == 0)
                    errno = ENOSPC;
                return false;
            }
            done += put;
        }
    }
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    futimens(out, times);
    return true;
}

int OpenSourceFile(const std::string& source, struct stat& info)
{
    const int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return -1;
    if (fstat(in, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int saved = S_ISDIR(info.st_mode) ? EISDIR : errno;
        close(in);
        errno = saved;
        return -1;
    }
    return in;
}

// Closes both files and keeps the first failure's errno.
bool FinishCopy(int in, int out, bool ok)
{
    int saved = ok ? 0 : errno;
    if (close(out) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    close(in);
    if (!ok)
        errno = saved;
    return ok;
}

}  // namespace

bool CopyFile(const std::string& source, const std::string& target)
{
    struct stat info;
    const int in = OpenSourceFile(source, info);
    if (in < 0)
        return false;
    const int out = open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, info.st_mode & 0777);
    if (out < 0) {
        const int saved = errno;
        close(in);
        errno = saved;
        return false;
    }
    return FinishCopy(in, out, CopyContent(in, out, info));
}

bool CopyFileAtomically(const std::string& source, const std::string& target, bool replace)
{
    struct stat info;
    const int in = OpenSourceFile(source, info);
    if (in < 0)
        return false;
    std::string temp = ExtractFilePath(target) + ".vx-" + ExtractFileName(target).substr(0, 64) + ".XXXXXX";
    const int out = mkostemp(temp.data(), O_CLOEXEC);
    if (out < 0) {
        const int saved = errno;
        close(in);
        errno = saved;
        return false;
    }
    fchmod(out, info.st_mode & 0777);
    bool ok = FinishCopy(in, out, CopyContent(in, out, info));
    if (ok && !(replace ? RenameFile(temp, target) : RenameNoReplace(temp, target)))
        ok = false;
    if (!ok) {
        const int saved = errno;
        unlink(temp.c_str());
        errno = saved;
    }
    return ok;
}

bool RenameFile(const std::string& source, const std::string& target)
{
    return rename(source.c_str(), target.c_str()) == 0;
}

bool MoveFileInto(const std::string& source, const std::string& target, bool replace)
{
    if (replace ? RenameFile(source, target) : RenameNoReplace(source, target))
        return true;
    return errno == EXDEV && CopyFileAtomically(source, target, replace);
}

int64_t FileSizeOf(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
}

bool RenameNoReplace(const std::string& source, const std::string& target)
{
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return false;
    // A file system without the flag: a hard link fails on any existing
    // target just the same, and then the old name goes.
    if (link(source.c_str(), target.c_str()) != 0)
        return false;
    unlink(source.c_str());
    return true;
}

bool AnyEntryExists(const std::string& path)
{
    struct stat info;
    return !path.empty() && lstat(path.c_str(), &info) == 0;
}

bool IsRealDirectory(const std::string& path)
{
    struct stat info;
    return !path.empty() && lstat(ExcludeTrailingPathDelimiter(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool SameFileSystem(const std::string& a, const std::string& b)
{
    struct stat first, second;
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev;
}

bool ForceDirectoriesBelow(const std::string& root, const std::string& relativeFolder,
                           std::vector<std::string>& created)
{
    std::string folder = ExcludeTrailingPathDelimiter(root);
    size_t start = 0;
    while (start < relativeFolder.size()) {
        size_t end = relativeFolder.find(PATH_DELIMITER, start);
        if (end == std::string::npos)
            end = relativeFolder.size();
        if (end > start) {
            folder += PATH_DELIMITER + relativeFolder.substr(start, end - start);
            struct stat info;
            if (lstat(folder.c_str(), &info) == 0) {
                if (!S_ISDIR(info.st_mode)) {
                    errno = S_ISLNK(info.st_mode) ? ELOOP : ENOTDIR;
                    return false;
                }
            } else if (mkdir(folder.c_str(), 0777) == 0) {
                created.push_back(folder);
            } else if (errno != EEXIST || !IsRealDirectory(folder)) {
                return false;
            }
        }
        start = end + 1;
    }
    return true;
}

void RemoveEmptyFolders(const std::vector<std::string>& created)
{
    for (auto folder = created.rbegin(); folder != created.rend(); ++folder)
        rmdir(folder->c_str());
}

std::string GetProgramFolder()
{
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), PATH_MAX);
    if (length <= 0)
        return "./";
    return ExtractFilePath(std::string(buffer.data(), static_cast<size_t>(length)));
}

bool PathLeavesFolder(const std::string& relativePath)
{
    if (!relativePath.empty() && relativePath.front() == PATH_DELIMITER)
        return true;
    size_t start = 0;
    while (start <= relativePath.size()) {
        size_t end = relativePath.find(PATH_DELIMITER, start);
        if (end == std::string::npos)
            end = relativePath.size();
        if (relativePath.compare(start, end - start, "..") == 0 && end - start == 2)
            return true;
        start = end + 1;
    }
    return false;
}

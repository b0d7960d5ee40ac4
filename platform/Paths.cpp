#include "platform/Paths.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

std::string IncludeTrailingPathDelimiter(const std::string& path)
{
    if (!path.empty() && path.back() == PATH_DELIMITER)
        return path;
    return path + PATH_DELIMITER;
}

std::string ExcludeTrailingPathDelimiter(const std::string& path)
{
    std::string result = path;
    while (result.size() > 1 && result.back() == PATH_DELIMITER)
        result.pop_back();
    return result;
}

std::string ExtractFilePath(const std::string& path)
{
    const auto slash = path.rfind(PATH_DELIMITER);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& path)
{
    const auto slash = path.rfind(PATH_DELIMITER);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& path)
{
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool ForceDirectories(const std::string& path)
{
    const std::string folder = ExcludeTrailingPathDelimiter(path);
    if (folder.empty())
        return false;
    if (DirectoryExists(folder))
        return true;
    const std::string parent = ExcludeTrailingPathDelimiter(ExtractFilePath(folder));
    if (!parent.empty() && parent != folder && !ForceDirectories(parent))
        return false;
    return mkdir(folder.c_str(), 0777) == 0 || DirectoryExists(folder);
}

bool DeleteFile(const std::string& path)
{
    return unlink(path.c_str()) == 0;
}

bool CopyFile(const std::string& source, const std::string& target)
{
    const int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    struct stat info;
    if (fstat(in, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int saved = S_ISDIR(info.st_mode) ? EISDIR : errno;
        close(in);
        errno = saved;
        return false;
    }
    const int out = open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, info.st_mode & 0777);
    if (out < 0) {
        const int saved = errno;
        close(in);
        errno = saved;
        return false;
    }
    bool ok = true;
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = write(out, buffer.data() + done, got - done);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0) {
                ok = false;
                break;
            }
            done += put;
        }
        if (!ok)
            break;
    }
    int saved = ok ? 0 : errno;
    if (ok) {
        const struct timespec times[2] = {info.st_atim, info.st_mtim};
        futimens(out, times);
    }
    if (close(out) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    close(in);
    if (!ok)
        errno = saved;
    return ok;
}

bool RenameFile(const std::string& source, const std::string& target)
{
    return rename(source.c_str(), target.c_str()) == 0;
}

std::string GetProgramFolder()
{
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), PATH_MAX);
    if (length <= 0)
        return "./";
    return ExtractFilePath(std::string(buffer.data(), static_cast<size_t>(length)));
}

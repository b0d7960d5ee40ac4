#include "platform/Paths.h"
#include "platform/SystemText.h"

std::string IncludeTrailingPathDelimiter(const std::string& path)
{
    if (!path.empty() && IsPathDelimiter(path.back()))
        return path;
    return path + PATH_DELIMITER;
}

std::string ExcludeTrailingPathDelimiter(const std::string& path)
{
    std::string result = path;
    // "/" and, on Windows, "C:\" name a root and keep their delimiter.
    const size_t root = PATH_DELIMITER == '\\' && result.size() >= 3 && result[1] == ':' ? 3 : 1;
    while (result.size() > root && IsPathDelimiter(result.back()))
        result.pop_back();
    return result;
}

std::string ExtractFilePath(const std::string& path)
{
    const auto slash = path.find_last_of(PATH_DELIMITERS);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& path)
{
    const auto slash = path.find_last_of(PATH_DELIMITERS);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsAbsolutePath(const std::string& path)
{
    if (!path.empty() && IsPathDelimiter(path.front()))
        return true;
    return PATH_DELIMITER == '\\' && path.size() >= 2 && path[1] == ':';
}

bool ForceDirectories(const std::string& path, std::vector<std::string>& created)
{
    const std::string folder = ExcludeTrailingPathDelimiter(path);
    if (folder.empty())
        return false;
    if (DirectoryExists(folder))
        return true;
    const std::string parent = ExcludeTrailingPathDelimiter(ExtractFilePath(folder));
    if (!parent.empty() && parent != folder && !ForceDirectories(parent, created))
        return false;
    if (MakeDirectory(folder)) {
        created.push_back(folder);
        return true;
    }
    // Made meanwhile by someone else is as good; otherwise the reason is the
    // one the folder's creation gave, not the look that followed.
    const int error = LastSystemError();
    if (DirectoryExists(folder))
        return true;
    SetLastSystemError(error);
    return false;
}

bool ForceDirectories(const std::string& path)
{
    std::vector<std::string> created;
    return ForceDirectories(path, created);
}

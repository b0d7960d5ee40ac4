#include "platform/FileFacts.h"

#include <sys/stat.h>

TFileFacts GetFileFacts(const std::string& path)
{
    TFileFacts facts;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return facts;
    facts.Found = true;
    facts.IsFolder = S_ISDIR(info.st_mode);
    facts.Size = info.st_size;
    if (!localtime_r(&info.st_mtime, &facts.Modified))
        facts.Modified = std::tm{};
    return facts;
}

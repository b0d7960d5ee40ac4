#include "platform/FileFacts.h"

#include <sys/stat.h>

TFileFacts GetFileFacts(const std::string& path)
{
    TFileFacts facts;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return facts;
    facts.Found = true;
    facts.Size = info.st_size;
    localtime_r(&info.st_mtime, &facts.Modified);
    return facts;
}

#include "platform/TempFolder.h"
#include "platform/Paths.h"

#include <cstdlib>

std::string GetSystemTempFolder()
{
    const char* tmpdir = std::getenv("TMPDIR");
    if (tmpdir && *tmpdir && DirectoryExists(tmpdir))
        return IncludeTrailingPathDelimiter(tmpdir);
    return "/tmp/";
}

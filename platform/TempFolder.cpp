#include "platform/TempFolder.h"
#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/SystemText.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

std::string GetSystemTempFolder()
{
    const char* tmpdir = std::getenv("TMPDIR");
    if (tmpdir && *tmpdir && DirectoryExists(tmpdir))
        return IncludeTrailingPathDelimiter(tmpdir);
    return "/tmp/";
}

std::string CreateUniqueFolder(const std::string& base, const std::string& prefix)
{
    const std::string folder = IncludeTrailingPathDelimiter(base);
    // Start where another process is unlikely to be, then walk every number.
    static std::atomic<unsigned> s_counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    const unsigned start = static_cast<unsigned>(ticks ^ (getpid() << 4)) + s_counter.fetch_add(1);
    int lastError = EEXIST;
    for (unsigned step = 0; step < 0xFFFF; ++step) {
        const unsigned number = (start + step) % 0xFFFF + 1;  // 1 .. 0xFFFF
        char name[16];
        std::snprintf(name, sizeof name, "%X.tmp", number);
        const std::string path = folder + prefix + name;
        if (mkdir(path.c_str(), 0700) == 0)
            return path + PATH_DELIMITER;
        lastError = errno;
        if (lastError != EEXIST)
            break;  // not writable, missing, full: every name would fail alike
    }
    throw EVarnholdError(FormatText("Cannot create a work folder in \"%s\". %s", {folder, SystemErrorText(lastError)}));
}

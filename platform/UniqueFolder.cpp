#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/SystemText.h"
#include "platform/TempFolder.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>

std::string CreateUniqueFolder(const std::string& base, const std::string& prefix)
{
    const std::string folder = IncludeTrailingPathDelimiter(base);
    // Start where another process is unlikely to be, then walk every number.
    static const unsigned s_seed = std::random_device{}();
    static std::atomic<unsigned> s_counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    const unsigned start = static_cast<unsigned>(ticks ^ (s_seed << 4)) + s_counter.fetch_add(1);
    int lastError = 0;
    for (unsigned step = 0; step < 0xFFFF; ++step) {
        const unsigned number = (start + step) % 0xFFFF + 1;  // 1 .. 0xFFFF
        char name[16];
        std::snprintf(name, sizeof name, "%X.tmp", number);
        // The folder itself takes the unique name, in one step: a name taken
        // by another run, file or folder, is skipped.
        const std::string path = folder + prefix + name;
        if (MakePrivateDirectory(path))
            return path + PATH_DELIMITER;
        lastError = LastSystemError();
        if (SystemReasonOf(lastError) != TSystemReason::srExists)
            break;  // not writable, missing, full: every name would fail alike
    }
    throw EVarnholdError(FormatText("Cannot create a work folder in \"%s\". %s", {folder, SystemErrorText(lastError)}));
}

#include "extract/Progress.h"

#include "extract/RunState.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdio>

int32_t g_nExtractTicks = 0;
int32_t g_nPlaceTicks = 0;

namespace {

constexpr int32_t COPY_SHARE = 20;
constexpr int32_t DIRECT_EXTRACT_SHARE = 80;
constexpr int32_t STAGED_EXTRACT_SHARE = 60;
constexpr int32_t PLACE_BASE = 80;
constexpr int32_t PLACE_SHARE = 20;
constexpr int64_t COPY_EXTRA_SECONDS = 30;
constexpr int64_t STAGED_EXTRA_SECONDS = 30;
constexpr int64_t FALLBACK_SECONDS = 10;

// Appended piece by piece: GCC 12 at -O2 and above warns (-Wrestrict) about
// its own inlined copy in `const char* + std::string`.
std::string TwoDigits(int64_t value)
{
    std::string text;
    if (value < 10)
        text += '0';
    text += std::to_string(value);
    return text;
}

// The value rounded to two decimals (half to even), in its shortest form.
std::string RoundedText(long double value, const std::string& decimalSeparator)
{
    const int savedMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = static_cast<double>(std::nearbyint(value * 100.0L) * 0.01L);
    std::fesetround(savedMode);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", rounded);
    std::string text = buffer;
    const auto dot = text.find('.');
    if (dot != std::string::npos)
        text.replace(dot, 1, decimalSeparator);
    return text;
}

std::string RemainingText(int64_t seconds)
{
    return SecondsToText(static_cast<int32_t>(seconds));
}

}  // namespace

std::string SecondsToText(int32_t seconds)
{
    if (seconds <= 0)
        return "00:00:00";
    const int64_t hours = static_cast<int64_t>(seconds / 3600.0);
    const int64_t minutes = static_cast<int64_t>(seconds / 60.0 - hours * 60.0);
    const int64_t rest = seconds - hours * 3600 - minutes * 60;
    return TwoDigits(hours) + ":" + TwoDigits(minutes) + ":" + TwoDigits(rest);
}

std::string SizeToText(int64_t bytes, const std::string& decimalSeparator)
{
    const char* const units[] = {" GB", " MB", " KB"};
    long double divisor = 1024.0L * 1024.0L * 1024.0L;
    for (const char* unit : units) {
        const std::string text = RoundedText(static_cast<long double>(bytes) / divisor, decimalSeparator);
        if (text.empty() || text[0] != '0')
            return text + unit;
        divisor /= 1024.0L;
    }
    return std::to_string(bytes) + " B";
}

TProgressTick TimerProcessTick(int32_t& elapsedSeconds, const std::string& decimalSeparator)
{
    TProgressTick tick;
    if (IsSet(g_bCancel)) {
        tick.StopTimer = true;
        return tick;
    }
    ++elapsedSeconds;
    tick.TimeUsed = SecondsToText(elapsedSeconds);

    const int64_t total = g_nTotalSize;
    if (total == 0 || IsSet(g_bStageDone))
        return tick;

    int64_t percent = 0;
    if (!IsSet(g_bExtracting)) {
        // Copy stage.
        const int64_t done = std::min<int64_t>(g_nCurrentSize, total);
        tick.Speed = SizeToText(done / elapsedSeconds, decimalSeparator) + "/s";
        int64_t remaining = 0;
        if (done > 0 && elapsedSeconds > 1) {
            const int64_t rate = done / elapsedSeconds;
            remaining = rate != 0 ? (total - done) / rate + COPY_EXTRA_SECONDS : COPY_EXTRA_SECONDS;
        }
        tick.TimeLeft = RemainingText(remaining);
        percent = COPY_SHARE * done / total;
    } else if (IsSet(g_bPlacing)) {
        // Placement stage.
        ++g_nPlaceTicks;
        const int32_t placed = g_nFilesPlaced;
        const int32_t files = std::max<int32_t>(g_nFileCount, 1);
        percent = PLACE_SHARE * placed / files + PLACE_BASE;
        int64_t remaining = FALLBACK_SECONDS;
        if (placed >= 1) {
            const int64_t rate = placed / g_nPlaceTicks;
            remaining = rate != 0 ? (files - placed) / rate : FALLBACK_SECONDS;
        }
        tick.TimeLeft = RemainingText(remaining);
    } else {
        // Extraction stage.
        ++g_nExtractTicks;
        const int64_t done = std::min<int64_t>(g_nCurrentSize, total);
        const int64_t ticks = g_nExtractTicks > 0 ? g_nExtractTicks : 1;
        tick.Speed = SizeToText(done / ticks, decimalSeparator) + "/s";
        int64_t remaining = 0;
        if (done > 0 && ticks > 1) {
            const int64_t rate = done / ticks;
            remaining = rate != 0 ? (total - done) / rate : FALLBACK_SECONDS;
        }
        if (IsSet(g_bExtractToTemp)) {
            percent = STAGED_EXTRACT_SHARE * done / total + COPY_SHARE;
            remaining += STAGED_EXTRA_SECONDS;
        } else {
            percent = DIRECT_EXTRACT_SHARE * done / total + COPY_SHARE;
        }
        tick.TimeLeft = RemainingText(remaining);
    }
    tick.Percent = static_cast<int32_t>(std::min<int64_t>(percent, 100));
    return tick;
}

#pragma once
// The progress figures a front end shows once a second: percent, speed,
// elapsed and remaining time, computed from the shared run state. The copy
// fills 0 to 20 %, the extraction 20 to 100 % (20 to 80 % when placement
// follows), the placement 80 to 100 %.

#include <cstdint>
#include <optional>
#include <string>

// "hh:mm:ss", two digits each at least; "00:00:00" for 0 and below.
std::string SecondsToText(int32_t seconds);

// "1018 B", "1.5 KB", "117.74 MB", "4.66 GB": a unit once its value rounded
// to two decimals reaches 1; `decimalSeparator` is the user's locale's.
std::string SizeToText(int64_t bytes, const std::string& decimalSeparator = ".");

// What one tick changes; a figure left empty keeps its last value.
struct TProgressTick {
    bool StopTimer = false;  // the run is being cancelled: nothing changes
    std::string TimeUsed;
    std::optional<std::string> Speed;
    std::optional<std::string> TimeLeft;
    std::optional<int32_t> Percent;
};

// Ticks counted in the extraction and placement stages (UI thread only).
extern int32_t g_nExtractTicks;
extern int32_t g_nPlaceTicks;

// One tick of the one-second progress timer: counts `elapsedSeconds` up and
// works out the figures from the shared run state.
TProgressTick TimerProcessTick(int32_t& elapsedSeconds, const std::string& decimalSeparator = ".");

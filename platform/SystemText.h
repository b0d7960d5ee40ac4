#pragma once
// The system's own words for an error number, as the user should read them.

#include "platform/Failure.h"

#include <string>

// strerror text of errno value `error`, without trailing blanks or full stops.
std::string SystemErrorText(int error);

// Removes every trailing character below 33 or equal to '.'.
std::string TrimTrailingBlanksAndStops(std::string text);

// The portable reason for errno value `error`.
TSystemReason SystemReasonOf(int error);

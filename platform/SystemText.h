#pragma once
// The system's own words for an error number, as the user should read them.

#include "platform/Failure.h"

#include <cstdint>
#include <string>

// The system's text for error `error` (errno; on Windows a Win32 error code:
// FormatMessageW), without trailing blanks or full stops.
std::string SystemErrorText(int error);

// The system's own text for a 32-bit result code (FormatMessageW from the
// system table on Windows), trimmed as above; empty where the system has no
// such table or no text for the code.
std::string SystemResultMessage(uint32_t code);

// Removes every trailing character below 33 or equal to '.'.
std::string TrimTrailingBlanksAndStops(std::string text);

// The code the last failed system call of this thread left (errno;
// GetLastError on Windows), for the functions here that report a failure
// by returning false.
int LastSystemError();
// Sets that code, so that a function can report the failure that mattered
// after calls of its own that came later.
void SetLastSystemError(int error);

// The portable reason for errno value `error` (a Win32 error code on Windows).
TSystemReason SystemReasonOf(int error);

#pragma once
// The process's environment variables as UTF-8 text.

#include <string>

// The value of variable `name`; false when it is not set. On Windows the
// value comes in UTF-16 and is converted, so that text outside the system's
// ANSI code page (a password, say) arrives whole.
bool GetEnvironmentText(const std::string& name, std::string& value);

#pragma once
// A failure (platform/Failure.h) as the user reads it: built only from texts
// of the written catalogue (g_sLangFile), so every word is in the user's
// language; the paths and names of the failure are filled in as they stand.

#include "platform/Failure.h"

#include <string>
#include <vector>

// The message for `failure`: what happened, the paths and names it concerns
// and, where the system gave one, its reason on a second line. Empty for
// fkNone, which is no failure. The English Detail of a failure is never part of it.
std::string FailureText(const TFailure& failure);

// The system's reason as a short sentence; empty for srNone. `systemCode`
// is named only for srOther.
std::string SystemReasonText(TSystemReason reason, int systemCode);

// "a", "b", "c" and 4 more: each name in the language's quotes, the first
// few only.
std::string NameListText(const std::vector<std::string>& names);

// The space a failure needs, in whole MB rounded up.
std::string SpaceText(int64_t bytes);

// How many names a list shows before it counts the rest.
constexpr size_t LISTED_NAMES = 10;

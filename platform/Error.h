#pragma once
// The one general error kind of the program. It carries a failure as data
// (platform/Failure.h), which the front ends turn into the user's language,
// and an English text for the debug output.

#include "platform/Failure.h"

#include <stdexcept>
#include <string>

class EVarnholdError : public std::runtime_error {
public:
    // A failure of no particular kind: the text is diagnostic only.
    explicit EVarnholdError(const std::string& message) : std::runtime_error(message)
    {
        FFailure.Kind = TFailureKind::fkUnexpected;
        FFailure.Detail = message;
    }
    EVarnholdError(TFailure failure, const std::string& message) : std::runtime_error(message), FFailure(std::move(failure))
    {
        if (FFailure.Detail.empty())
            FFailure.Detail = message;
    }
    const TFailure& Failure() const { return FFailure; }

private:
    TFailure FFailure;
};

// A failure of `kind` about `path`, with the system's reason for errno value `code`.
TFailure MakeFailure(TFailureKind kind, const std::string& path, int code = 0);

// Fills every "%s" of a message pattern with the next argument, in order.
std::string FormatText(const std::string& pattern, std::initializer_list<std::string> args);

#pragma once
// The one general error kind of the program: a message text and nothing else.
// The file layer, the resource writer and the archive binding raise it; the
// front ends show its text to the user.

#include <stdexcept>
#include <string>

class EVarnholdError : public std::runtime_error {
public:
    explicit EVarnholdError(const std::string& message) : std::runtime_error(message) {}
};

// Fills every "%s" of a message pattern with the next argument, in order.
std::string FormatText(const std::string& pattern, std::initializer_list<std::string> args);

#include "platform/Error.h"
#include "platform/SystemText.h"

std::string FormatText(const std::string& pattern, std::initializer_list<std::string> args)
{
    std::string result;
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' && next != args.end()) {
            result += *next++;
            ++i;
        } else {
            result += pattern[i];
        }
    }
    return result;
}

TFailure MakeFailure(TFailureKind kind, const std::string& path, int code)
{
    TFailure failure;
    failure.Kind = kind;
    failure.Path = path;
    failure.SystemCode = code;
    failure.Reason = SystemReasonOf(code);
    return failure;
}

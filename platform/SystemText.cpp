#include "platform/SystemText.h"
#include "platform/Error.h"

#include <cerrno>
#include <cstring>

std::string TrimTrailingBlanksAndStops(std::string text)
{
    while (!text.empty()) {
        const unsigned char last = static_cast<unsigned char>(text.back());
        if (last >= 33 && last != '.')
            break;
        text.pop_back();
    }
    return text;
}

std::string SystemErrorText(int error)
{
    char buffer[256];
    // GNU strerror_r may return a static string instead of filling the buffer.
    const char* text = strerror_r(error, buffer, sizeof buffer);
    return TrimTrailingBlanksAndStops(text ? text : "");
}

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

TSystemReason SystemReasonOf(int error)
{
    switch (error) {
    case 0:
        return TSystemReason::srNone;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return TSystemReason::srNoSpace;
    case EACCES:
    case EPERM:
        return TSystemReason::srAccessDenied;
    case EROFS:
        return TSystemReason::srReadOnly;
    case ENOENT:
        return TSystemReason::srNotFound;
    case EISDIR:
        return TSystemReason::srIsFolder;
    case ENOTDIR:
        return TSystemReason::srNotFolder;
    case EEXIST:
    case ENOTEMPTY:
        return TSystemReason::srExists;
    case EBUSY:
    case ETXTBSY:
        return TSystemReason::srInUse;
    case ENAMETOOLONG:
        return TSystemReason::srNameTooLong;
    case ELOOP:
    case EMLINK:
        return TSystemReason::srTooManyLinks;
    case EIO:
        return TSystemReason::srIoError;
    default:
        return TSystemReason::srOther;
    }
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

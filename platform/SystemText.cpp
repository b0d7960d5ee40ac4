#include "platform/SystemText.h"

#include <cerrno>
#include <cstring>

std::string SystemErrorText(int error)
{
    char buffer[256];
    // GNU strerror_r may return a static string instead of filling the buffer.
    const char* text = strerror_r(error, buffer, sizeof buffer);
    return TrimTrailingBlanksAndStops(text ? text : "");
}

int LastSystemError()
{
    return errno;
}

void SetLastSystemError(int error)
{
    errno = error;
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

std::string SystemResultMessage(uint32_t)
{
    // No system table of result codes here; the binding has its own words.
    return std::string();
}

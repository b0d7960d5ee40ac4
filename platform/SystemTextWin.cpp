#include "platform/SystemText.h"
#include "platform/Win32Text.h"

#include <windows.h>

namespace {

std::string MessageFromSystem(DWORD code)
{
    wchar_t buffer[257];
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                        0, buffer, 256, nullptr);
    return TrimTrailingBlanksAndStops(Narrow(buffer, length));
}

}  // namespace

std::string SystemErrorText(int error)
{
    return MessageFromSystem(static_cast<DWORD>(error));
}

std::string SystemResultMessage(uint32_t code)
{
    return MessageFromSystem(code);
}

int LastSystemError()
{
    return static_cast<int>(GetLastError());
}

void SetLastSystemError(int error)
{
    SetLastError(static_cast<DWORD>(error));
}

TSystemReason SystemReasonOf(int error)
{
    switch (error) {
    case ERROR_SUCCESS:
        return TSystemReason::srNone;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
        return TSystemReason::srNoSpace;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return TSystemReason::srAccessDenied;
    case ERROR_WRITE_PROTECT:
        return TSystemReason::srReadOnly;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return TSystemReason::srNotFound;
    case WIN32_ERROR_DIRECTORY_NOT_SUPPORTED:
        return TSystemReason::srIsFolder;
    case ERROR_DIRECTORY:
        return TSystemReason::srNotFolder;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_DIR_NOT_EMPTY:
        return TSystemReason::srExists;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_BUSY:
        return TSystemReason::srInUse;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
        return TSystemReason::srNameTooLong;
    case ERROR_CANT_RESOLVE_FILENAME:
    case WIN32_ERROR_REPARSE_POINT_ENCOUNTERED:
        return TSystemReason::srTooManyLinks;
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
        return TSystemReason::srIoError;
    default:
        return TSystemReason::srOther;
    }
}

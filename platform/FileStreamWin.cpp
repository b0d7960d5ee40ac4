#include "platform/FileStream.h"
#include "platform/Error.h"
#include "platform/SystemText.h"
#include "platform/Win32Text.h"

#include <algorithm>
#include <windows.h>

namespace {

HANDLE AsHandle(intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

constexpr intptr_t NO_HANDLE = -1;  // INVALID_HANDLE_VALUE

// Windows reads and writes at most 4 GiB less one byte per call.
constexpr int64_t MAX_CHUNK = 1 << 30;

[[noreturn]] void RaiseCannotWrite(const std::string& fileName, int error)
{
    throw EVarnholdError(MakeFailure(TFailureKind::fkUnexpected, fileName, error),
                         FormatText("Cannot write file \"%s\". %s", {fileName, SystemErrorText(error)}));
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) : FFileName(fileName)
{
    DWORD access = GENERIC_READ;
    DWORD share = FILE_SHARE_READ;
    DWORD disposition = OPEN_EXISTING;
    switch (mode) {
    case TFileMode::fmOpenRead:
        // An archive being read may be read, renamed or deleted by others.
        share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        break;
    case TFileMode::fmOpenReadWrite:
        access |= GENERIC_WRITE;
        break;
    case TFileMode::fmCreate:
        access |= GENERIC_WRITE;
        disposition = CREATE_ALWAYS;
        share = 0;
        break;
    case TFileMode::fmCreateNew:
        // Fails on anything at the name, a link included, which is never followed.
        access |= GENERIC_WRITE;
        disposition = CREATE_NEW;
        share = 0;
        break;
    }
    const std::wstring wideName = Widen(fileName);
    const HANDLE file = CreateFileW(wideName.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(wideName.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            error = WIN32_ERROR_DIRECTORY_NOT_SUPPORTED;
        const bool creating = mode == TFileMode::fmCreate || mode == TFileMode::fmCreateNew;
        const char* pattern = creating ? "Cannot create file \"%s\". %s" : "Cannot open file \"%s\". %s";
        throw EVarnholdError(MakeFailure(TFailureKind::fkUnexpected, fileName, static_cast<int>(error)),
                             FormatText(pattern, {fileName, SystemErrorText(static_cast<int>(error))}));
    }
    FHandle = reinterpret_cast<intptr_t>(file);
}

TFileStream::~TFileStream()
{
    if (FHandle != NO_HANDLE)
        CloseHandle(AsHandle(FHandle));
}

void TFileStream::Close()
{
    if (FHandle == NO_HANDLE)
        return;
    const BOOL closed = CloseHandle(AsHandle(FHandle));
    FHandle = NO_HANDLE;
    if (!closed)
        RaiseCannotWrite(FFileName, static_cast<int>(GetLastError()));
}

int64_t TFileStream::Read(void* buffer, int64_t count)
{
    int64_t done = 0;
    while (done < count) {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min(count - done, MAX_CHUNK));
        if (!ReadFile(AsHandle(FHandle), static_cast<char*>(buffer) + done, chunk, &got, nullptr)) {
            FLastError = static_cast<int>(GetLastError());
            break;
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count)
{
    int64_t done = 0;
    while (done < count) {
        DWORD put = 0;
        const DWORD chunk = static_cast<DWORD>(std::min(count - done, MAX_CHUNK));
        if (!WriteFile(AsHandle(FHandle), static_cast<const char*>(buffer) + done, chunk, &put, nullptr)) {
            FLastError = static_cast<int>(GetLastError());
            break;
        }
        if (put == 0) {
            FLastError = ERROR_DISK_FULL;
            break;
        }
        done += put;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin)
{
    const DWORD method = origin == soBeginning ? FILE_BEGIN : origin == soCurrent ? FILE_CURRENT : FILE_END;
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position;
    if (!SetFilePointerEx(AsHandle(FHandle), distance, &position, method))
        return -1;
    return position.QuadPart;
}

int64_t TFileStream::Size()
{
    LARGE_INTEGER size;
    return GetFileSizeEx(AsHandle(FHandle), &size) ? size.QuadPart : -1;
}

bool TFileStream::SetModificationTime(uint64_t fileTime)
{
    FILETIME modified;
    modified.dwLowDateTime = static_cast<DWORD>(fileTime);
    modified.dwHighDateTime = static_cast<DWORD>(fileTime >> 32);
    return SetFileTime(AsHandle(FHandle), nullptr, nullptr, &modified) != 0;
}

void TFileStream::SetSize(int64_t newSize)
{
    if (Seek(newSize, soBeginning) != newSize || !SetEndOfFile(AsHandle(FHandle)))
        RaiseCannotWrite(FFileName, static_cast<int>(GetLastError()));
}

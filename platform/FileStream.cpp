#include "platform/FileStream.h"
#include "platform/Error.h"
#include "platform/SystemText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void TStream::ReadBuffer(void* buffer, int64_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EVarnholdError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EVarnholdError("Stream write error");
}

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) : FFileName(fileName)
{
    int flags = O_CLOEXEC;
    switch (mode) {
    case TFileMode::fmOpenRead: flags |= O_RDONLY; break;
    case TFileMode::fmOpenReadWrite: flags |= O_RDWR; break;
    case TFileMode::fmCreate: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    case TFileMode::fmCreateNew: flags |= O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW; break;
    }
    FHandle = open(fileName.c_str(), flags, 0666);
    // Only a read-only open succeeds on a folder (a write access fails with
    // EISDIR), so only that one needs the check: an item's file is one
    // call fewer.
    if (FHandle >= 0 && mode == TFileMode::fmOpenRead) {
        struct stat info;
        if (fstat(FHandle, &info) == 0 && S_ISDIR(info.st_mode)) {
            close(FHandle);
            FHandle = -1;
            errno = EISDIR;
        }
    }
    if (FHandle < 0) {
        const int error = errno;
        const bool creating = mode == TFileMode::fmCreate || mode == TFileMode::fmCreateNew;
        const char* pattern = creating ? "Cannot create file \"%s\". %s" : "Cannot open file \"%s\". %s";
        throw EVarnholdError(MakeFailure(TFailureKind::fkUnexpected, fileName, error),
                             FormatText(pattern, {fileName, SystemErrorText(error)}));
    }
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0)
        close(FHandle);
}

void TFileStream::Close()
{
    if (FHandle < 0)
        return;
    const int result = close(FHandle);
    FHandle = -1;
    if (result != 0) {
        const int error = errno;
        throw EVarnholdError(MakeFailure(TFailureKind::fkUnexpected, FFileName, error),
                             FormatText("Cannot write file \"%s\". %s", {FFileName, SystemErrorText(error)}));
    }
}

int64_t TFileStream::Read(void* buffer, int64_t count)
{
    int64_t done = 0;
    while (done < count) {
        const ssize_t got = read(FHandle, static_cast<char*>(buffer) + done, static_cast<size_t>(count - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += got;
    }
    return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count)
{
    int64_t done = 0;
    while (done < count) {
        const ssize_t put = write(FHandle, static_cast<const char*>(buffer) + done, static_cast<size_t>(count - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            break;
        done += put;
    }
    return done;
}

void TFileStream::ReadBuffer(void* buffer, int64_t count)
{
    errno = 0;
    if (Read(buffer, count) != count) {
        const int error = errno;
        const std::string reason = error != 0 ? SystemErrorText(error) : "The file ends too early";
        throw EVarnholdError(MakeFailure(TFailureKind::fkUnexpected, FFileName, error),
                             FormatText("Cannot read file \"%s\". %s", {FFileName, reason}));
    }
}

void TFileStream::WriteBuffer(const void* buffer, int64_t count)
{
    errno = 0;
    if (Write(buffer, count) != count) {
        const int error = errno != 0 ? errno : ENOSPC;
        throw EVarnholdError(MakeFailure(TFailureKind::fkUnexpected, FFileName, error),
                             FormatText("Cannot write file \"%s\". %s", {FFileName, SystemErrorText(error)}));
    }
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin)
{
    const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    return lseek(FHandle, offset, whence);
}

int64_t TFileStream::Size()
{
    struct stat info;
    return fstat(FHandle, &info) == 0 ? info.st_size : -1;
}

void TFileStream::SetSize(int64_t newSize)
{
    if (ftruncate(FHandle, newSize) != 0) {
        const int error = errno;
        throw EVarnholdError(MakeFailure(TFailureKind::fkUnexpected, FFileName, error),
                             FormatText("Cannot write file \"%s\". %s", {FFileName, SystemErrorText(error)}));
    }
    Seek(newSize, soBeginning);
}

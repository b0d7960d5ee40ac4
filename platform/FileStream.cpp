#include "platform/FileStream.h"
#include "platform/Error.h"
#include "platform/SystemText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
        if (got < 0)
            FLastError = errno;
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
        if (put <= 0) {
            FLastError = put < 0 ? errno : ENOSPC;
            break;
        }
        done += put;
    }
    return done;
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

bool TFileStream::SetModificationTime(uint64_t fileTime)
{
    // FILETIME counts 100 ns from 1601; Unix time counts from 1970.
    constexpr uint64_t EPOCH_DIFFERENCE = 116444736000000000ull;
    if (fileTime < EPOCH_DIFFERENCE)
        return false;
    const uint64_t unixTicks = fileTime - EPOCH_DIFFERENCE;
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(unixTicks / 10000000);
    times[1].tv_nsec = static_cast<long>(unixTicks % 10000000 * 100);
    return futimens(static_cast<int>(FHandle), times) == 0;
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

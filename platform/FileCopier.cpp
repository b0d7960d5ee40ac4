#include "platform/FileCopier.h"

#include <cerrno>
#include <unistd.h>

TFileCopier::TFileCopier(TFileStream& source, TFileStream& target, void* buffer)
    : FSource(source), FTarget(target), FBuffer(static_cast<char*>(buffer))
{
}

int64_t TFileCopier::CopyInKernel(int64_t count)
{
    int64_t done = 0;
    while (FInKernel && done < count) {
        // Null offsets: the kernel moves both file positions, as read and write would.
        const ssize_t copied = copy_file_range(FSource.Handle(), nullptr, FTarget.Handle(), nullptr,
                                               static_cast<size_t>(count - done), 0);
        if (copied < 0 && errno == EINTR)
            continue;
        if (copied <= 0) {
            // Not supported here (ENOSYS, EXDEV, EINVAL, EOPNOTSUPP), or a
            // real fault, or 0 bytes (the end of the source, or a file system
            // that reports no length). read and write then either copy the
            // block or name the file at fault with the system's reason, as
            // they did before the kernel could copy at all.
            FInKernel = false;
            break;
        }
        done += copied;
    }
    return done;
}

void TFileCopier::CopyBlock(int64_t count)
{
    const int64_t rest = count - CopyInKernel(count);
    if (rest == 0)
        return;
    FSource.ReadBuffer(FBuffer, rest);
    FTarget.WriteBuffer(FBuffer, rest);
}

#include "platform/FileCopier.h"

#include <cerrno>
#include <unistd.h>

int64_t TFileCopier::CopyInKernel(int64_t count)
{
    int64_t done = 0;
    while (FInKernel && done < count) {
        // Null offsets: the kernel moves both file positions, as read and write would.
        const int in = static_cast<int>(FSource.Handle());
        const int out = static_cast<int>(FTarget.Handle());
        const ssize_t copied = copy_file_range(in, nullptr, out, nullptr, static_cast<size_t>(count - done), 0);
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

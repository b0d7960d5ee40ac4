#pragma once
// Moves bytes from one open file to another, block by block, inside the
// kernel (copy_file_range) where it can, so that the bytes never pass
// through this process and a file system that can share or clone blocks
// does so; through the caller's buffer where it cannot (a kernel without the
// call, two file systems it does not copy between, a file system that
// declines). Once the kernel has declined, the rest goes through the buffer.

#include "platform/FileStream.h"

#include <cstdint>

class TFileCopier {
public:
    // `buffer` holds at least the largest block that CopyBlock is given.
    TFileCopier(TFileStream& source, TFileStream& target, void* buffer);

    // Copies exactly `count` bytes from the source's position to the
    // target's and advances both. Raises the file-stream layer's "Cannot read
    // file" when the source ends early or cannot be read, and its "Cannot
    // write file" when the target cannot take the bytes (a full disk).
    void CopyBlock(int64_t count);

    // Whether every block so far went through the kernel alone.
    bool InKernel() const { return FInKernel; }

private:
    // Bytes the kernel copied of `count`; stops at the first refusal, which
    // leaves the rest to the buffer.
    int64_t CopyInKernel(int64_t count);

    TFileStream& FSource;
    TFileStream& FTarget;
    char* FBuffer;
    bool FInKernel = true;
};

#include "platform/FileCopier.h"

TFileCopier::TFileCopier(TFileStream& source, TFileStream& target, void* buffer)
    : FSource(source), FTarget(target), FBuffer(static_cast<char*>(buffer))
{
}

void TFileCopier::CopyBlock(int64_t count)
{
    const int64_t rest = count - CopyInKernel(count);
    if (rest == 0)
        return;
    FSource.ReadBuffer(FBuffer, rest);
    FTarget.WriteBuffer(FBuffer, rest);
}

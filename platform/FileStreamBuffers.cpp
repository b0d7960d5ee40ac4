#include "platform/Error.h"
#include "platform/FileStream.h"
#include "platform/SystemText.h"

// A file names itself and the system's reason when it falls short; Read and
// Write record the reason in FLastError on every platform.
void TFileStream::ReadBuffer(void* buffer, int64_t count)
{
    FLastError = 0;
    if (Read(buffer, count) != count) {
        const std::string reason = FLastError != 0 ? SystemErrorText(FLastError) : "The file ends too early";
        throw EVarnholdError(MakeFailure(TFailureKind::fkUnexpected, FFileName, FLastError),
                             FormatText("Cannot read file \"%s\". %s", {FFileName, reason}));
    }
}

void TFileStream::WriteBuffer(const void* buffer, int64_t count)
{
    FLastError = 0;
    if (Write(buffer, count) != count)
        throw EVarnholdError(MakeFailure(TFailureKind::fkUnexpected, FFileName, FLastError),
                             FormatText("Cannot write file \"%s\". %s", {FFileName, SystemErrorText(FLastError)}));
}

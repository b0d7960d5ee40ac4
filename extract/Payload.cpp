#include "extract/Payload.h"

#include "extract/RunState.h"
#include "platform/Error.h"
#include "platform/FileCopier.h"
#include "platform/FileStream.h"
#include "platform/PauseGate.h"

#include <memory>

void CopyPayload(const std::string& exeFile, const std::string& workDir, std::string& payloadFile,
                 const std::function<void()>& showTotalSize)
{
    payloadFile = workDir + "tmp.dat";
    TFileStream target(payloadFile, TFileMode::fmCreate);
    TFileStream source(exeFile, TFileMode::fmOpenRead);

    const int64_t length = source.Size() - PAYLOAD_OFFSET;
    if (length < 0)
        throw EVarnholdError(MakeFailure(TFailureKind::fkNotProtectedExecutable, exeFile),
                             FormatText("\"%s\" is not a protected executable: it is too short to hold any files",
                                        {exeFile}));
    source.Seek(PAYLOAD_OFFSET, soBeginning);
    target.Seek(0, soBeginning);

    SetFlag(g_bExtracting, false);
    g_nTotalSize = length;
    if (showTotalSize)
        showTotalSize();
    g_nCurrentSize = 0;

    const int64_t block = length <= COPY_CHUNK_SIZE ? length : COPY_CHUNK_SIZE;
    // The buffer serves only when the kernel cannot copy between the two files.
    const auto buffer = std::make_unique<char[]>(static_cast<size_t>(block));
    TFileCopier copier(source, target, buffer.get());
    int64_t remaining = length;
    while (remaining != 0) {
        const int64_t count = block < remaining ? block : remaining;
        copier.CopyBlock(count);
        remaining -= count;
        g_nCurrentSize = g_nTotalSize - remaining;
        PausePoint();
        if (IsSet(g_bCancel))
            break;
    }
    target.Close();
    SetFlag(g_bStageDone, true);
}

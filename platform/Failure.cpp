#include "platform/Failure.h"

namespace {

const char* KindName(TFailureKind kind)
{
    switch (kind) {
    case TFailureKind::fkNone: return "no failure";
    case TFailureKind::fkCannotReadExecutable: return "cannot read the executable";
    case TFailureKind::fkNotProtectedExecutable: return "not a protected executable";
    case TFailureKind::fkArchiveUnreadable: return "the archive cannot be read";
    case TFailureKind::fkWrongPassword: return "wrong password";
    case TFailureKind::fkDamagedItems: return "files that could not be extracted whole";
    case TFailureKind::fkUnsafeItems: return "names that would land outside the output folder";
    case TFailureKind::fkNoRoomForWork: return "no room for the work folder";
    case TFailureKind::fkWorkFolderFailed: return "the work folder cannot be written";
    case TFailureKind::fkCannotWriteOutput: return "cannot write in the output folder";
    case TFailureKind::fkOutputFolderNotCreated: return "the output folder cannot be created";
    case TFailureKind::fkFileNotPlaced: return "files that could not be placed";
    case TFailureKind::fkLibraryNotLoaded: return "the archive library cannot be loaded";
    case TFailureKind::fkUnexpected: return "unexpected failure";
    }
    return "?";
}

}  // namespace

std::string FailureDiagnostic(const TFailure& failure)
{
    std::string text = KindName(failure.Kind);
    if (!failure.Path.empty())
        text += ": \"" + failure.Path + "\"";
    for (size_t i = 0; i < failure.Names.size(); ++i)
        text += (i ? ", \"" : ": \"") + failure.Names[i] + "\"";
    if (failure.Bytes != 0)
        text += ", " + std::to_string(failure.Bytes) + " bytes needed";
    if (failure.SystemCode != 0)
        text += ", system error " + std::to_string(failure.SystemCode);
    if (!failure.Detail.empty() && failure.Detail != failure.Path)
        text += " (" + failure.Detail + ")";
    return text;
}

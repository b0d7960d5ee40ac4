// Placement: the files extracted into the staging folder go into the output
// folder one at a time, and every name already taken there is decided by the
// user's answer or by an earlier answer for all. A file takes its name by a
// rename (or a whole copy renamed into place), so the output only ever holds
// whole files, and nothing at a name is replaced unless the answer says so.
#include "extract/Worker.h"

#include "extract/WorkFolder.h"
#include "platform/DebugOutput.h"
#include "platform/Paths.h"
#include "platform/SystemText.h"
#include "sevenzip/SevenZip.h"


namespace {

// The extension of a path's file-name part, the dot included; "" without one.
std::string ExtractFileExtension(const std::string& path)
{
    const std::string name = ExtractFileName(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

}  // namespace

std::string ExtractFileNameNoExt(const std::string& path)
{
    const std::string name = ExtractFileName(path);
    return name.substr(0, name.size() - ExtractFileExtension(path).size());
}

std::string GetRenameName(const std::string& path)
{
    const std::string dir = ExtractFilePath(path);
    const std::string base = ExtractFileNameNoExt(path);
    const std::string ext = ExtractFileExtension(path);
    for (unsigned long n = 1;; ++n) {
        const std::string candidate = dir + base + "(" + std::to_string(n) + ")" + ext;
        // A folder or a link of that name is taken as much as a file is.
        if (!AnyEntryExists(candidate))
            return candidate;
    }
}

void TThreaEncryptFile::PlaceFiles(I7zArchiveReader& reader, const std::vector<uint32_t>& items,
                                   const std::string& out, const std::string& staging)
{
    SetFlag(g_bPlacing, true);
    g_nFilesPlaced = 0;
    SetFlag(g_bStageDone, false);
    for (const uint32_t i : items) {
        if (IsSet(g_bCancel))
            break;
        const std::string path = reader.ItemPath(i);
        const std::string dest = out + path;
        OutputDebugString(dest);
        // A damaged file never reached the staging folder; it is reported at the end.
        if (reader.ItemWritten(i)) {
            const std::string src = staging + path;
            bool placed = ForceDirectoriesBelow(out, ExtractFilePath(path), FCreatedFolders);
            if (placed) {
                if (AnyEntryExists(dest))
                    placed = PlaceConflict(src, dest);
                else if (!MoveFileInto(src, dest, false)) {
                    // Something took the name meanwhile: a conflict like the others.
                    const bool taken = SystemReasonOf(LastSystemError()) == TSystemReason::srExists;
                    placed = taken && PlaceConflict(src, dest);
                }
            }
            if (!placed)
                FNotPlaced.push_back(dest);
        }
        g_nFilesPlaced.fetch_add(1);
    }
    SetFlag(g_bPlacing, false);
}

// Acts on one name that is taken. A replaced entry is swapped in whole by a
// rename, so what the user had is never lost to a copy that fails half-way,
// and a link is replaced itself, never what it points to.
bool TThreaEncryptFile::PlaceConflict(const std::string& src, const std::string& dest)
{
    if (FOverWriteMode != ocNoAll && FOverWriteMode != ocYesAll && FOverWriteMode != ocRename) {
        FExistsFile = dest;
        FNewFile = src;
        AskOverWrite();
        switch (FOverWriteMode) {
        case ocNo:
        case ocNoAll:
            DeleteFile(src);
            return true;
        case ocCancel:
            DeleteFile(src);
            SetFlag(g_bCancel, true);
            FCancelled = true;
            return true;
        default:
            break;
        }
    } else if (FOverWriteMode == ocNoAll) {
        return true;
    }
    if (FOverWriteMode == ocRename) {
        // Another name may be taken between the look and the rename: then the next one.
        for (;;) {
            if (MoveFileInto(src, GetRenameName(dest), false))
                return true;
            if (SystemReasonOf(LastSystemError()) != TSystemReason::srExists)
                return false;
        }
    }
    return MoveFileInto(src, dest, true);  // ocYes, ocYesAll
}

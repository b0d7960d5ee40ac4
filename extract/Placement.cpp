// Placement: the files extracted into the staging folder go into the output
// folder one at a time, and every file that already exists there is decided
// by the user's answer or by an earlier answer for all.
#include "extract/Worker.h"

#include "extract/WorkFolder.h"
#include "platform/DebugOutput.h"
#include "platform/Paths.h"
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
        if (!EntryExists(candidate))
            return candidate;
    }
}

void TThreaEncryptFile::PlaceFiles(I7zArchiveReader& reader, uint32_t count, const std::string& out,
                                   const std::string& staging)
{
    SetFlag(g_bPlacing, true);
    g_nFilesPlaced = 0;
    SetFlag(g_bStageDone, false);
    for (uint32_t i = 0; i < count; ++i) {
        if (IsSet(g_bCancel))
            break;
        const std::string path = reader.ItemPath(i);
        if (reader.ItemIsDirectory(i) || path == MARKER_NAME)
            continue;
        const std::string dest = out + path;
        OutputDebugString(dest);
        const std::string folder = ExtractFilePath(dest);
        if (!DirectoryExists(folder))
            ForceDirectories(folder);
        const std::string src = staging + path;
        bool placed = true;
        if (FileExists(dest))
            placed = PlaceConflict(src, dest);
        else
            placed = CopyFileAtomically(src, dest);
        if (!placed)
            FNotPlaced.push_back(dest);
        g_nFilesPlaced.fetch_add(1);
    }
    SetFlag(g_bPlacing, false);
}

// Acts on one existing file. A replaced file is swapped in whole by a rename,
// so the file the user had is never lost to a copy that fails half-way.
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
            return true;
        default:
            break;
        }
    } else if (FOverWriteMode == ocNoAll) {
        return true;
    }
    if (FOverWriteMode == ocRename)
        return CopyFileAtomically(src, GetRenameName(dest));
    return CopyFileAtomically(src, dest);  // ocYes, ocYesAll
}

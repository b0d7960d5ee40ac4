#include "platform/Paths.h"
#include "platform/Win32Text.h"

#include <cctype>
#include <windows.h>
// The program's own functions of these names, not the Windows macros.
#undef CopyFile
#undef DeleteFile

namespace {

DWORD Attributes(const std::string& path)
{
    return GetFileAttributesW(Widen(path).c_str());
}

bool SameTextIgnoringCase(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return i == a.size() && !b[i];
}

// "CON", "nul.txt", "com1 ": names that open a device in any folder.
bool IsDeviceName(const std::string& name)
{
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (SameTextIgnoringCase(stem, device))
            return true;
    }
    if (stem.size() == 4 && (SameTextIgnoringCase(stem.substr(0, 3), "COM") || SameTextIgnoringCase(stem.substr(0, 3), "LPT")))
        return stem[3] >= '0' && stem[3] <= '9';
    return false;
}

// ".." and what Windows reads as it: dots with trailing dots or blanks.
bool IsParentStep(const std::string& name)
{
    return name.size() >= 2 && name.compare(0, 2, "..") == 0 && name.find_first_not_of(". ") == std::string::npos;
}

}  // namespace

bool FileExists(const std::string& path)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EntryExists(const std::string& path)
{
    // A link to a folder is an entry of its own, as lstat sees it.
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT));
}

bool DirectoryExists(const std::string& path)
{
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeDirectory(const std::string& path)
{
    return CreateDirectoryW(Widen(path).c_str(), nullptr) != 0;
}

bool MakePrivateDirectory(const std::string& path)
{
    // A folder below the user's own temporary folder inherits its access list.
    return MakeDirectory(path);
}

bool DeleteFile(const std::string& path)
{
    return DeleteFileW(Widen(path).c_str()) != 0;
}

bool CopyFile(const std::string& source, const std::string& target)
{
    return CopyFileW(Widen(source).c_str(), Widen(target).c_str(), FALSE) != 0;
}

bool CopyFileAtomically(const std::string& source, const std::string& target, bool replace)
{
    const std::wstring wideSource = Widen(source);
    const std::string stem = ExtractFilePath(target) + ".vx-" + ExtractFileName(target).substr(0, 64) + ".";
    for (unsigned number = GetTickCount() & 0xFFFF, tries = 0; tries < 100; ++number, ++tries) {
        const std::wstring temp = Widen(stem + std::to_string(number));
        // Failing when the name is taken makes the temporary name our own.
        if (!CopyFileW(wideSource.c_str(), temp.c_str(), TRUE)) {
            if (GetLastError() == ERROR_FILE_EXISTS)
                continue;
            return false;
        }
        if (MoveFileExW(temp.c_str(), Widen(target).c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0))
            return true;
        const DWORD error = GetLastError();
        DeleteFileW(temp.c_str());
        SetLastError(error);
        return false;
    }
    return false;
}

bool RenameFile(const std::string& source, const std::string& target)
{
    return MoveFileExW(Widen(source).c_str(), Widen(target).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool RenameNoReplace(const std::string& source, const std::string& target)
{
    // Without MOVEFILE_REPLACE_EXISTING the move fails on anything at the target.
    return MoveFileExW(Widen(source).c_str(), Widen(target).c_str(), 0) != 0;
}

bool MoveFileInto(const std::string& source, const std::string& target, bool replace)
{
    if (replace ? RenameFile(source, target) : RenameNoReplace(source, target))
        return true;
    return GetLastError() == ERROR_NOT_SAME_DEVICE && CopyFileAtomically(source, target, replace);
}

int64_t FileSizeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data))
        return -1;
    return static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

bool AnyEntryExists(const std::string& path)
{
    // The attributes of a link are its own; it is not followed.
    return !path.empty() && Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

bool IsRealDirectory(const std::string& path)
{
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : Attributes(ExcludeTrailingPathDelimiter(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool SameFileSystem(const std::string& a, const std::string& b)
{
    wchar_t first[MAX_PATH + 1];
    wchar_t second[MAX_PATH + 1];
    if (!GetVolumePathNameW(Widen(a).c_str(), first, MAX_PATH + 1) ||
        !GetVolumePathNameW(Widen(b).c_str(), second, MAX_PATH + 1))
        return false;
    return CompareStringOrdinal(first, -1, second, -1, TRUE) == CSTR_EQUAL;
}

bool ForceDirectoriesBelow(const std::string& root, const std::string& relativeFolder,
                           std::vector<std::string>& created)
{
    std::string folder = ExcludeTrailingPathDelimiter(root);
    size_t start = 0;
    while (start < relativeFolder.size()) {
        size_t end = relativeFolder.find_first_of(PATH_DELIMITERS, start);
        if (end == std::string::npos)
            end = relativeFolder.size();
        if (end > start) {
            folder += PATH_DELIMITER + relativeFolder.substr(start, end - start);
            const DWORD attributes = Attributes(folder);
            if (attributes != INVALID_FILE_ATTRIBUTES) {
                // A link or junction is never passed through, whatever it points to.
                if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                    SetLastError(ERROR_CANT_RESOLVE_FILENAME);
                    return false;
                }
                if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
                    SetLastError(ERROR_DIRECTORY);
                    return false;
                }
            } else if (CreateDirectoryW(Widen(folder).c_str(), nullptr)) {
                created.push_back(folder);
            } else if (GetLastError() != ERROR_ALREADY_EXISTS || !IsRealDirectory(folder)) {
                return false;
            }
        }
        start = end + 1;
    }
    return true;
}

void RemoveEmptyFolders(const std::vector<std::string>& created)
{
    // Fails, and so keeps the folder, while anything is in it.
    for (auto folder = created.rbegin(); folder != created.rend(); ++folder)
        RemoveDirectoryW(Widen(*folder).c_str());
}

std::string GetProgramFolder()
{
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size())
        return ".\\";
    return ExtractFilePath(Narrow(buffer.data(), length));
}

bool PathLeavesFolder(const std::string& relativePath)
{
    if (!relativePath.empty() && IsPathDelimiter(relativePath.front()))
        return true;  // "\x", "\\server\share\x"
    // A colon is never part of a name: "C:x", "C:\x" and "a:stream" all
    // reach beyond the file they seem to name.
    if (relativePath.find(':') != std::string::npos)
        return true;
    size_t start = 0;
    while (start <= relativePath.size()) {
        size_t end = relativePath.find_first_of(PATH_DELIMITERS, start);
        if (end == std::string::npos)
            end = relativePath.size();
        const std::string name = relativePath.substr(start, end - start);
        if (IsParentStep(name) || IsDeviceName(name))
            return true;
        start = end + 1;
    }
    return false;
}

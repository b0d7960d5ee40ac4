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

bool DeleteFile(const std::string& path)
{
    return DeleteFileW(Widen(path).c_str()) != 0;
}

bool CopyFile(const std::string& source, const std::string& target)
{
    return CopyFileW(Widen(source).c_str(), Widen(target).c_str(), FALSE) != 0;
}

bool CopyFileAtomically(const std::string& source, const std::string& target)
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
        if (MoveFileExW(temp.c_str(), Widen(target).c_str(), MOVEFILE_REPLACE_EXISTING))
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

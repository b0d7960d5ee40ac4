#pragma once
// Path and file-system helpers. Paths are UTF-8 text with "/" between names
// ("\" on Windows, which also takes "/"); a folder path handed between parts
// of the program ends in the delimiter.

#include <cstdint>
#include <string>

#ifdef _WIN32
constexpr char PATH_DELIMITER = '\\';
constexpr const char* PATH_DELIMITERS = "\\/";
#else
constexpr char PATH_DELIMITER = '/';
constexpr const char* PATH_DELIMITERS = "/";
#endif

constexpr bool IsPathDelimiter(char c)
{
    return c == PATH_DELIMITER || c == '/';
}

std::string IncludeTrailingPathDelimiter(const std::string& path);
std::string ExcludeTrailingPathDelimiter(const std::string& path);
// Everything up to and including the last "/"; empty when there is none.
std::string ExtractFilePath(const std::string& path);
// Everything after the last "/".
std::string ExtractFileName(const std::string& path);

// True for anything at the path that is not a folder (a link counts by its target).
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates one folder whose parent exists; false when it cannot (it exists already, ...).
bool MakeDirectory(const std::string& path);
// Creates the folder with all missing parents; true when the folder exists afterwards.
bool ForceDirectories(const std::string& path);
bool DeleteFile(const std::string& path);
// Copies a file's bytes and modification time; replaces an existing target.
// Returns false (errno set) on any failure.
bool CopyFile(const std::string& source, const std::string& target);
// Copies to a new temporary name beside the target, then renames it over the
// target: the target is either untouched or wholly replaced, never half
// written, and a link at the target is replaced rather than written through.
bool CopyFileAtomically(const std::string& source, const std::string& target);
// True when anything but a folder is at the path, a dangling link included.
bool EntryExists(const std::string& path);
// Renames within one file system, replacing an existing target atomically.
bool RenameFile(const std::string& source, const std::string& target);

// True for a path that names its place from a root ("/x"; on Windows also
// "\x", "C:\x", "C:x" and "\\server\share").
bool IsAbsolutePath(const std::string& path);

// True for a relative item path that would lead outside the folder it is
// joined to: an absolute path, or one with a ".." component. On Windows also
// a drive ("C:x"), a device name ("CON", "nul.txt") or a stream ("a:s").
bool PathLeavesFolder(const std::string& relativePath);

// The folder that holds the running program, ending in "/".
std::string GetProgramFolder();

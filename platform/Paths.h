#pragma once
// Path and file-system helpers. Paths are UTF-8 text with "/" between names
// ("\" on Windows, which also takes "/"); a folder path handed between parts
// of the program ends in the delimiter.

#include <cstdint>
#include <string>
#include <vector>

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
// The same for a folder that only this user may enter (a work folder).
bool MakePrivateDirectory(const std::string& path);
// Creates the folder with all missing parents; true when the folder exists afterwards.
bool ForceDirectories(const std::string& path);
bool DeleteFile(const std::string& path);
// Copies a file's bytes and modification time; replaces an existing target.
// Returns false (LastSystemError() tells why) on any failure.
bool CopyFile(const std::string& source, const std::string& target);
// Copies to a new temporary name beside the target, then renames it over the
// target: the target is either untouched or wholly replaced, never half
// written, and a link at the target is replaced rather than written through.
// With `replace` false nothing at the target is ever replaced (false, for a reason srExists).
bool CopyFileAtomically(const std::string& source, const std::string& target, bool replace = true);
// Moves a file: a rename within one file system, otherwise CopyFileAtomically
// (the source then stays). Whole or not at all at the target, as above.
bool MoveFileInto(const std::string& source, const std::string& target, bool replace);
// The size of the file at the path, following links; -1 when it cannot be read.
int64_t FileSizeOf(const std::string& path);
// True when anything but a folder is at the path, a dangling link included.
bool EntryExists(const std::string& path);
// Renames within one file system, replacing an existing target atomically.
// A link at the target is replaced itself; what it points to is untouched.
bool RenameFile(const std::string& source, const std::string& target);
// Renames within one file system only when nothing at all is at the target:
// false (for a reason srExists) when something is, never replacing it.
bool RenameNoReplace(const std::string& source, const std::string& target);
// True when anything is at the path: a file, a folder, a link (dangling or not).
bool AnyEntryExists(const std::string& path);
// True when the path is a folder itself, not a link to one.
bool IsRealDirectory(const std::string& path);
// True when both paths are on one file system, so a rename can move between them.
bool SameFileSystem(const std::string& a, const std::string& b);
// Creates `folder` and every missing parent, appending each folder it made
// to `created`, parents first. False (LastSystemError() tells why) when a part of the path
// cannot be made.
bool ForceDirectories(const std::string& folder, std::vector<std::string>& created);
// Creates the folders of `relativeFolder` below `root` without passing
// through a link: a part that exists must be a real folder (a reason srNotFolder or
// srTooManyLinks otherwise). Each folder made is appended to `created`.
bool ForceDirectoriesBelow(const std::string& root, const std::string& relativeFolder,
                           std::vector<std::string>& created);
// Removes the folders of `created` that are empty, the last made first.
void RemoveEmptyFolders(const std::vector<std::string>& created);

// True for a path that names its place from a root ("/x"; on Windows also
// "\x", "C:\x", "C:x" and "\\server\share").
bool IsAbsolutePath(const std::string& path);

// True for a relative item path that would lead outside the folder it is
// joined to: an absolute path, or one with a ".." component. On Windows also
// a drive ("C:x"), a device name ("CON", "nul.txt") or a stream ("a:s").
bool PathLeavesFolder(const std::string& relativePath);

// The folder that holds the running program, ending in "/".
std::string GetProgramFolder();

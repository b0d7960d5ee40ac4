#pragma once
// Helpers for the tests: scratch folders, files, and real protected
// executables made from archives that the 7z command builds at test time.

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder under the system temporary folder, deleted with everything
// in it when the object goes. Path() ends in the path delimiter.
std::string NativePath(std::string path);

class TScratchFolder {
public:
    TScratchFolder();
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    const std::string& Path() const { return FPath; }
    // "/" in `name` becomes the platform's delimiter.
    std::string operator/(const std::string& name) const { return FPath + NativePath(name); }

private:
    std::string FPath;
};

void WriteTextFile(const std::string& path, const std::string& content);  // parents created
std::string ReadWholeFile(const std::string& path);
std::vector<char> RandomBytes(size_t count, uint32_t seed);
void WriteBytes(const std::string& path, const std::vector<char>& bytes);

// Runs a program with arguments; standard output and error are discarded
// unless `output` is given. Returns the exit status (-1 when it did not run).
int RunProgram(const std::vector<std::string>& argv, std::string* output = nullptr);

#ifdef _WIN32
// The system's own message for a code, read straight from its table
// (FormatMessageW), without trailing blanks and full stops: Wine's words
// differ from Windows' own.
std::string SystemMessageOf(uint32_t code);

// Runs a program with these environment variables changed (an empty value
// removes one) and standard input from `inputFile`, without a console.
int RunProgramWith(const std::vector<std::string>& argv,
                   const std::vector<std::pair<std::string, std::string>>& variables, const std::string& inputFile,
                   std::string* output);
#endif

// The path as the host system's programs take it: the same path on Linux;
// under Wine the Unix path of a Windows path, for the Linux 7z command.
std::string HostPath(const std::string& path);

// Makes everything below `folder` writable again, so that it can be deleted.
void MakeRemovable(const std::string& folder);

// `path` with each "/" turned into the platform's path delimiter.
std::string NativePath(std::string path);

// The words the system gives for a failure: `linuxText` on Linux; on Windows
// the system's message for `windowsCode` (a Win32 error or a result code), or
// `linuxText` where its table has none and the program's own words stand.
std::string SystemWords(const std::string& linuxText, uint32_t windowsCode);

// Whether the library at `path` is loaded into this process.
bool LibraryIsLoaded(const std::string& path);

// Sets a variable of the process's environment; an empty value removes it.
void SetEnvironment(const std::string& name, const std::string& value);

// The variable that names the system temporary folder: TMPDIR, TMP on Windows.
#ifdef _WIN32
constexpr const char* TEMP_FOLDER_VARIABLE = "TMP";
#else
constexpr const char* TEMP_FOLDER_VARIABLE = "TMPDIR";
#endif

// Builds a 7z archive of everything in `sourceFolder` with the 7z command and
// the given switches (for example {"-pSecret", "-m0=Copy"}). Fails the test
// (via an exception) when 7z fails.
void Make7zArchive(const std::string& archive, const std::string& sourceFolder,
                   const std::vector<std::string>& switches);

// A protected executable: a stub of PAYLOAD_OFFSET bytes followed by `payload`.
void MakeProtectedExecutable(const std::string& exePath, const std::string& payloadPath);

// Lists every regular file below `folder` as relative paths with "/" between
// names on every platform, sorted.
std::vector<std::string> ListFiles(const std::string& folder);

// Lists the entries of the system temporary folder whose names begin "tq_".
std::vector<std::string> ListWorkFolders();

#pragma once
// Helpers for the tests: scratch folders, files, and real protected
// executables made from archives that the 7z command builds at test time.

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder under the system temporary folder, deleted with everything
// in it when the object goes. Path() ends in "/".
class TScratchFolder {
public:
    TScratchFolder();
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    const std::string& Path() const { return FPath; }
    std::string operator/(const std::string& name) const { return FPath + name; }

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

// Builds a 7z archive of everything in `sourceFolder` with the 7z command and
// the given switches (for example {"-pSecret", "-m0=Copy"}). Fails the test
// (via an exception) when 7z fails.
void Make7zArchive(const std::string& archive, const std::string& sourceFolder,
                   const std::vector<std::string>& switches);

// A protected executable: a stub of PAYLOAD_OFFSET bytes followed by `payload`.
void MakeProtectedExecutable(const std::string& exePath, const std::string& payloadPath);

// Lists every regular file below `folder` as relative paths, sorted.
std::vector<std::string> ListFiles(const std::string& folder);

// Lists the entries of the system temporary folder whose names begin "tq_".
std::vector<std::string> ListWorkFolders();

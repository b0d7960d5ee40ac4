#include "support/TestSupport.h"

#include "extract/Payload.h"
#include "extract/WorkFolder.h"
#include "platform/Error.h"
#include "platform/FolderTree.h"
#include "platform/Paths.h"
#include "platform/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

TScratchFolder::TScratchFolder() : FPath(CreateUniqueFolder(GetSystemTempFolder(), "vt_")) {}

TScratchFolder::~TScratchFolder()
{
    MakeRemovable(FPath);
    DeleteFolderTree(FPath);
}

void WriteTextFile(const std::string& path, const std::string& content)
{
    ForceDirectories(ExtractFilePath(path));
    std::ofstream out(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
    out << content;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::vector<char> RandomBytes(size_t count, uint32_t seed)
{
    std::mt19937 generator(seed);
    std::vector<char> bytes(count);
    for (char& byte : bytes)
        byte = static_cast<char>(generator() & 0xFF);
    return bytes;
}

void WriteBytes(const std::string& path, const std::vector<char>& bytes)
{
    WriteTextFile(path, std::string(bytes.begin(), bytes.end()));
}

void Make7zArchive(const std::string& archive, const std::string& sourceFolder,
                   const std::vector<std::string>& switches)
{
    // Run from inside the folder so item paths are relative to it.
    // The Linux 7z serves a Windows build's tests as well: Wine starts it by
    // its Unix path, and it is given Unix paths.
    std::vector<std::string> argv = {"/bin/sh", "-c", "cd \"$0\" && exec \"$@\"", HostPath(sourceFolder),
                                     VARNHOLD_7Z_COMMAND, "a", "-t7z", "-y", "-bd"};
    argv.insert(argv.end(), switches.begin(), switches.end());
    argv.push_back(HostPath(archive));
    argv.push_back(".");
    std::string output;
    if (RunProgram(argv, &output) != 0)
        throw std::runtime_error("7z failed: " + output);
}

std::string SystemWords(const std::string& linuxText, uint32_t windowsCode)
{
#ifdef _WIN32
    const std::string text = SystemMessageOf(windowsCode);
    return text.empty() ? linuxText : text;
#else
    (void)windowsCode;
    return linuxText;
#endif
}

std::string NativePath(std::string path)
{
    for (char& c : path) {
        if (c == '/')
            c = PATH_DELIMITER;
    }
    return path;
}

void MakeProtectedExecutable(const std::string& exePath, const std::string& payloadPath)
{
    std::string content(static_cast<size_t>(PAYLOAD_OFFSET), '\0');
    // A recognisable stub: a fake header, then a pattern the payload never starts with.
    content.replace(0, 2, "MZ");
    for (size_t i = 2; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 7 % 251);
    content += ReadWholeFile(payloadPath);
    WriteTextFile(exePath, content);
}

namespace {

void CollectFiles(const std::string& root, const std::string& relative, std::vector<std::string>& files)
{
    for (const std::string& name : ListFolder(root + relative)) {
        const std::string path = relative + name;
        // A link to a folder counts as a file here: it is not entered.
        if (DirectoryExists(root + path) && !EntryExists(root + path))
            CollectFiles(root, path + "/", files);
        else
            files.push_back(path);
    }
}

}  // namespace

std::vector<std::string> ListFiles(const std::string& folder)
{
    std::vector<std::string> files;
    CollectFiles(IncludeTrailingPathDelimiter(folder), "", files);
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> ListWorkFolders()
{
    std::vector<std::string> found;
    for (const std::string& name : ListFolder(GetSystemTempFolder())) {
        if (name.rfind("tq_", 0) == 0)
            found.push_back(name);
    }
    std::sort(found.begin(), found.end());
    return found;
}

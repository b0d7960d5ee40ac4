#include "support/TestSupport.h"

#include "extract/Payload.h"
#include "extract/WorkFolder.h"
#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/TempFolder.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

TScratchFolder::TScratchFolder() : FPath(CreateUniqueFolder(GetSystemTempFolder(), "vt_")) {}

TScratchFolder::~TScratchFolder()
{
    // Tests may leave read-only folders behind; make them removable first.
    RunProgram({"chmod", "-R", "u+rwx", FPath});
    DeleteFolderTree(FPath);
}

void WriteTextFile(const std::string& path, const std::string& content)
{
    ForceDirectories(ExtractFilePath(path));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
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

int RunProgram(const std::vector<std::string>& argv, std::string* output)
{
    int pipeFds[2] = {-1, -1};
    if (output && pipe(pipeFds) != 0)
        return -1;
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        const int sink = output ? pipeFds[1] : open("/dev/null", O_WRONLY);
        dup2(sink, STDOUT_FILENO);
        dup2(sink, STDERR_FILENO);
        const int nothing = open("/dev/null", O_RDONLY);
        dup2(nothing, STDIN_FILENO);
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    if (output) {
        close(pipeFds[1]);
        char buffer[4096];
        ssize_t got;
        while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0)
            output->append(buffer, static_cast<size_t>(got));
        close(pipeFds[0]);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void Make7zArchive(const std::string& archive, const std::string& sourceFolder,
                   const std::vector<std::string>& switches)
{
    // Run from inside the folder so item paths are relative to it.
    std::vector<std::string> argv = {"sh", "-c", "cd \"$0\" && exec \"$@\"", sourceFolder,
                                     VARNHOLD_7Z_COMMAND, "a", "-t7z", "-y", "-bd"};
    argv.insert(argv.end(), switches.begin(), switches.end());
    argv.push_back(archive);
    argv.push_back(".");
    std::string output;
    if (RunProgram(argv, &output) != 0)
        throw std::runtime_error("7z failed: " + output);
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
    DIR* dir = opendir((root + relative).c_str());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = relative + name;
        struct stat info;
        if (lstat((root + path).c_str(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode))
            CollectFiles(root, path + "/", files);
        else
            files.push_back(path);
    }
    closedir(dir);
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
    DIR* dir = opendir(GetSystemTempFolder().c_str());
    if (!dir)
        return found;
    while (const dirent* entry = readdir(dir)) {
        if (std::string(entry->d_name).rfind("tq_", 0) == 0)
            found.push_back(entry->d_name);
    }
    closedir(dir);
    std::sort(found.begin(), found.end());
    return found;
}

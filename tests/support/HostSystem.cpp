#include "support/TestSupport.h"

#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

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

std::string HostPath(const std::string& path)
{
    return path;
}

void MakeRemovable(const std::string& folder)
{
    // Tests may leave read-only folders behind.
    RunProgram({"chmod", "-R", "u+rwx", folder});
}

void SetEnvironment(const std::string& name, const std::string& value)
{
    if (value.empty())
        unsetenv(name.c_str());
    else
        setenv(name.c_str(), value.c_str(), 1);
}

bool LibraryIsLoaded(const std::string& path)
{
    void* loaded = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (loaded)
        dlclose(loaded);
    return loaded != nullptr;
}

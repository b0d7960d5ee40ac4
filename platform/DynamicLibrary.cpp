#include "platform/DynamicLibrary.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

thread_local std::string t_lastError;

void* OpenLibrary(const std::string& path)
{
    // RTLD_LOCAL keeps the library's symbols to itself; each load is private.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* error = dlerror();
        t_lastError = error ? error : "";
    }
    return handle;
}

// A temporary folder on a file system mounted noexec cannot map the library
// it holds. The same bytes load from an anonymous memory file instead.
void* OpenLibraryFromMemory(const std::string& path)
{
    const int in = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return nullptr;
    const int memory = memfd_create("varnhold-library", MFD_CLOEXEC);
    bool copied = memory >= 0;
    std::vector<char> buffer(1 << 20);
    while (copied) {
        const ssize_t got = read(in, buffer.data(), buffer.size());
        if (got <= 0) {
            copied = got == 0;
            break;
        }
        copied = write(memory, buffer.data(), static_cast<size_t>(got)) == got;
    }
    close(in);
    void* handle = nullptr;
    if (copied)
        handle = OpenLibrary("/proc/self/fd/" + std::to_string(memory));
    if (memory >= 0)
        close(memory);  // the mapping keeps the memory file alive
    return handle;
}

}  // namespace

TModuleHandle LoadModule(const std::string& path)
{
    void* handle = OpenLibrary(path);
    if (!handle) {
        const std::string firstError = t_lastError;
        handle = OpenLibraryFromMemory(path);
        if (!handle)
            t_lastError = firstError;
    }
    return handle;
}

void* GetModuleSymbol(TModuleHandle module, const char* name)
{
    return module ? dlsym(module, name) : nullptr;
}

void* GetStringAllocatorSymbol(TModuleHandle module, const char* name)
{
    return GetModuleSymbol(module, name);
}

void FreeModule(TModuleHandle module)
{
    if (module)
        dlclose(module);
}

std::string LastModuleError()
{
    return t_lastError;
}

#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

namespace {
thread_local std::string t_lastError;
}

TModuleHandle LoadModule(const std::string& path)
{
    // RTLD_LOCAL keeps the library's symbols to itself; each load is private.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* error = dlerror();
        t_lastError = error ? error : "";
    }
    return handle;
}

void* GetModuleSymbol(TModuleHandle module, const char* name)
{
    return module ? dlsym(module, name) : nullptr;
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

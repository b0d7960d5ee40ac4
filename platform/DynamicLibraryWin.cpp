#include "platform/DynamicLibrary.h"
#include "platform/SystemText.h"
#include "platform/Win32Text.h"

#include <windows.h>
// The program's own function of that name, not the old Windows macro.
#undef FreeModule

namespace {

thread_local std::string t_lastError;

}  // namespace

TModuleHandle LoadModule(const std::string& path)
{
    // The library's own folder is searched for what it imports, not the
    // program's or the current folder.
    HMODULE module = LoadLibraryExW(Widen(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module)
        t_lastError = SystemErrorText(static_cast<int>(GetLastError()));
    return reinterpret_cast<TModuleHandle>(module);
}

void* GetModuleSymbol(TModuleHandle module, const char* name)
{
    if (!module)
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void* GetStringAllocatorSymbol(TModuleHandle module, const char* name)
{
    // 7z.dll takes its BSTR functions from OLEAUT32 instead of exporting them.
    if (void* own = GetModuleSymbol(module, name))
        return own;
    static HMODULE automation = LoadLibraryW(L"oleaut32.dll");
    return GetModuleSymbol(automation, name);
}

void FreeModule(TModuleHandle module)
{
    if (module)
        FreeLibrary(static_cast<HMODULE>(module));
}

std::string LastModuleError()
{
    return t_lastError;
}

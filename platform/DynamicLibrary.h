#pragma once
// Loading a shared library at run time (dlopen, or LoadLibraryW on Windows).

#include <string>

using TModuleHandle = void*;

// Null when the library cannot be loaded.
TModuleHandle LoadModule(const std::string& path);
void* GetModuleSymbol(TModuleHandle module, const char* name);
// SysAllocString or SysFreeString, whichever the library's strings use: its
// own export (p7zip), else the system's (OLEAUT32 on Windows); null if none.
void* GetStringAllocatorSymbol(TModuleHandle module, const char* name);
void FreeModule(TModuleHandle module);
// The loader's own words for the last failure, for diagnostics.
std::string LastModuleError();

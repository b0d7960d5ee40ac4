#pragma once
// Loading a shared library at run time (dlopen in place of LoadLibraryW).

#include <string>

using TModuleHandle = void*;

// Null when the library cannot be loaded.
TModuleHandle LoadModule(const std::string& path);
void* GetModuleSymbol(TModuleHandle module, const char* name);
void FreeModule(TModuleHandle module);
// The loader's own words for the last failure, for diagnostics.
std::string LastModuleError();

#pragma once
// The program's own resources, embedded at build time and found by type and
// name (compared without regard to letter case).

#include <cstddef>
#include <cstdint>
#include <string>

struct TEmbeddedResource {
    const char* Type;
    const char* Name;
    const unsigned char* Begin;
    const unsigned char* End;
};

// The build's table, closed by an entry whose Type is null.
const TEmbeddedResource* EmbeddedResourceTable();

struct TResourceData {
    const unsigned char* Data = nullptr;
    size_t Size = 0;
    bool Found = false;
};

TResourceData FindResource(const std::string& name, const std::string& type);

// Writes the program's resource to a file (created or emptied). Raises on a
// missing resource or an unwritable file.
void SaveResourceToFile(const std::string& name, const std::string& type, const std::string& path);

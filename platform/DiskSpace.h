#pragma once
#include <cstdint>
#include <string>

// Space available to the user on the file system that holds `path`, in whole
// MiB; 0 when it cannot be read.
int32_t GetFreeSpaceMiB(const std::string& path);

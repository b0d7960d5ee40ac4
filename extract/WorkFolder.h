#pragma once
// The folders a run works in and the file helpers around them.

// SaveResourceToFile lives with the resources, below the catalogue reader,
// which writes the catalogue with it.
#include "platform/Resources.h"

#include <cstdint>
#include <functional>
#include <string>

// The name of the archive's password-test item; never one of the user's files.
extern const char* const MARKER_NAME;

// Free space of the file system holding `path`, in whole MiB; 0 when unknown.
int32_t GetDiskFreeMB(const std::string& path);

// Picks a file system with room for `requiredBytes` and creates a new, empty,
// uniquely named folder there ("tq_XXXX.tmp"); returns its path ending in "/".
// Candidates after the system temporary folder: /var/tmp, then the user's
// cache folder (on Windows the roots of the drives C: to Z:). The temporary
// folder wins at equality; a candidate must have strictly more free MiB than
// required; with none, the temporary folder stays.
std::string CreateWorkFolder(int64_t requiredBytes);

// Deletes a folder with everything below it. Never follows a symbolic link:
// a link is removed as a link. Reports nothing.
void DeleteFolderTree(const std::string& folder);

// Removes the marker file from the top level of `folder` (name compared
// without regard to case; the exact name first). Reports nothing.
void DeleteMarkerFile(const std::string& folder);

// For tests: replaces the free-space reading and the candidate folders that
// CreateWorkFolder consults. Empty functions restore the real ones.
using TFreeSpaceReader = std::function<int32_t(const std::string& path)>;
void SetFreeSpaceReaderForTesting(TFreeSpaceReader reader);
std::string UserCacheFolder();

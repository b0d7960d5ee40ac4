#pragma once
// Temporary folders: the system's temporary folder and uniquely named folders.

#include <string>

// $TMPDIR when it names an existing folder, else /tmp; ends in "/". On
// Windows GetTempPathW, ending in "\".
std::string GetSystemTempFolder();

// Creates a new folder base + prefix + 1 to 4 upper-case hex digits + ".tmp"
// atomically (a taken name is skipped) and returns its path ending in "/".
// Raises EVarnholdError "Cannot create a work folder in "%s". %s" when no
// name can be had; never hands back the base itself.
std::string CreateUniqueFolder(const std::string& base, const std::string& prefix);

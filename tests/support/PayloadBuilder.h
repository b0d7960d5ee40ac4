#pragma once
// Builds a real protected executable from a set of files: the files (and,
// unless told otherwise, the password-test marker) go into a 7z archive made
// by the 7z command with a password; the archive goes behind a stub.

#include <map>
#include <string>
#include <vector>

struct TPayloadSpec {
    std::map<std::string, std::string> Files;  // relative path -> content
    std::vector<std::string> EmptyFolders;     // relative paths
    std::string Password = "Secret pw";
    std::vector<std::string> Switches = {"-m0=LZMA2"};
    bool WithMarker = true;
    std::string MarkerContent = std::string(200, 'm');
};

// Builds in `scratchFolder` and returns the executable's path.
std::string BuildProtectedExecutable(const std::string& scratchFolder, const TPayloadSpec& spec);

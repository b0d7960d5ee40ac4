#pragma once
// Walking and removing folders without following links.

#include <string>
#include <vector>

// The names of the entries of `folder`, "." and ".." left out, hidden and
// system entries included; empty when it cannot be read.
std::vector<std::string> ListFolder(const std::string& folder);

// Deletes `folder` with everything below it, as far as it can: an entry that
// cannot be deleted stays, and so do the folders that hold it. A link is
// removed as a link, never entered. Reports nothing.
void RemoveFolderTree(const std::string& folder);

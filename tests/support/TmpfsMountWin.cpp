#include "support/TmpfsMount.h"

// Windows has no tmpfs: nothing is mounted, and the tests that need one skip.
TTmpfsMount::TTmpfsMount(const std::string& folder, const std::string&) : FFolder(folder)
{
}

TTmpfsMount::~TTmpfsMount() = default;

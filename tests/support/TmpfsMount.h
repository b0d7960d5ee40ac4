#pragma once
// A small tmpfs mounted for the length of a test: a full disk, a read-only
// or a noexec folder on demand. Mounting needs root; Mounted() says whether
// it worked, so a test can skip with a visible reason.

#include <string>

class TTmpfsMount {
public:
    // `options` as for mount(8), e.g. "size=1m" or "size=1m,ro" or "noexec".
    TTmpfsMount(const std::string& folder, const std::string& options);
    ~TTmpfsMount();
    TTmpfsMount(const TTmpfsMount&) = delete;
    TTmpfsMount& operator=(const TTmpfsMount&) = delete;
    bool Mounted() const { return FMounted; }

private:
    std::string FFolder;
    bool FMounted = false;
};

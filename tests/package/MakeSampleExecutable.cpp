// make-sample-executable FOLDER PASSWORD: a real protected executable for
// trying an installed varnhold-extract-cli (CI's package check). Writes
// FOLDER/sample.exe, made with the 7z command like the suites' payloads, and
// FOLDER/expected/ with exactly the files an extraction must deliver.
#include "support/PayloadBuilder.h"
#include "support/TestSupport.h"
#include "extract/WorkFolder.h"
#include "platform/Paths.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

int main(int argc, char* argv[])
{
    if (argc != 3 || !*argv[2]) {
        std::fprintf(stderr, "usage: make-sample-executable FOLDER PASSWORD\n");
        return 64;
    }
    try {
        // Absolute, as the 7z command runs inside the folder it packs.
        ForceDirectories(argv[1]);
        char* absolute = realpath(argv[1], nullptr);
        if (!absolute)
            throw std::runtime_error(std::string("cannot find the folder ") + argv[1]);
        const std::string folder = IncludeTrailingPathDelimiter(absolute);
        std::free(absolute);
        const std::vector<char> random = RandomBytes(300000, 15);
        TPayloadSpec spec;
        spec.Password = argv[2];
        // Plain text, a nested non-ASCII name, bytes that do not compress,
        // and an empty file: each a way the delivery can go wrong.
        spec.Files = {
            {"readme.txt", "The files of a protected executable.\n"},
            {"Übersicht/日本語 notes.txt", "Nested, with a name outside ASCII.\n"},
            {"data/random.bin", std::string(random.begin(), random.end())},
            {"data/empty.txt", ""},
        };
        const std::string exe = BuildProtectedExecutable(folder, spec);
        if (std::rename(exe.c_str(), (folder + "sample.exe").c_str()) != 0)
            throw std::runtime_error("cannot name " + exe + " sample.exe");
        DeleteFolderTree(folder + "expected/");
        for (const auto& [path, content] : spec.Files)
            WriteTextFile(folder + "expected/" + path, content);
        std::printf("%ssample.exe\n", folder.c_str());
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "make-sample-executable: %s\n", failure.what());
        return 1;
    }
}

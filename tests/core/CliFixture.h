#pragma once
// What the tests of varnhold-extract-cli share: a small real protected
// executable, an output folder, and a private temporary folder for the
// program's work folders, so that a test can see that none is left.

#include "platform/Paths.h"
#include "support/PayloadBuilder.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class CommandLineFixture : public ::testing::Test {
protected:
    // A blank at the end belongs to the password.
    static constexpr const char* PASSWORD = "pass word ";

    void SetUp() override
    {
        Temp = Scratch / "tmp/";
        ForceDirectories(Temp);
        TPayloadSpec spec;
        spec.Files = {{"a.txt", "alpha"}, {"docs/b.txt", "bravo"}};
        spec.Password = PASSWORD;
        Exe = BuildProtectedExecutable(Scratch / "build/", spec);
        Out = Scratch / "out/";
    }

    std::vector<std::string> WorkFoldersLeft() const { return ListFiles(Temp); }

    // Every file under `folder` as "path=content", sorted by path.
    static std::vector<std::string> FilesWithContent(const std::string& folder)
    {
        std::vector<std::string> found;
        for (const std::string& path : ListFiles(folder))
            found.push_back(path + "=" + ReadWholeFile(IncludeTrailingPathDelimiter(folder) + path));
        return found;
    }

    TScratchFolder Scratch;
    std::string Temp, Exe, Out;
};

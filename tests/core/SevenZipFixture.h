#pragma once
// Shared set-up of the binding tests: archives made by the 7z command at test
// time from files written on the spot, opened through the real library.

#include "platform/Paths.h"
#include "sevenzip/SevenZip.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

inline const char* const PASSWORD = "pässword 1";

class SevenZipBinding : public ::testing::Test {
protected:
    // Makes an archive of `files` (path -> content) plus `emptyFolders`.
    std::string MakeArchive(const std::map<std::string, std::string>& files, const std::vector<std::string>& switches,
                            const std::vector<std::string>& emptyFolders = {})
    {
        const std::string source = Scratch / ("src" + std::to_string(++FCount) + "/");
        ForceDirectories(source);
        for (const auto& [path, content] : files)
            WriteTextFile(source + path, content);
        for (const std::string& folder : emptyFolders)
            ForceDirectories(source + folder);
        const std::string archive = Scratch / ("a" + std::to_string(FCount) + ".7z");
        Make7zArchive(archive, source, switches);
        return archive;
    }

    TComPtr<I7zArchiveReader> Open(const std::string& archive, const std::string& password = PASSWORD)
    {
        TComPtr<I7zArchiveReader> reader = CreateArchiveReader(Format7zClassId, VARNHOLD_7Z_LIBRARY);
        reader->OpenFromFile(archive);
        reader->SetPassword(password);
        return reader;
    }

    static uint32_t IndexOf(I7zArchiveReader& reader, const std::string& path)
    {
        for (uint32_t i = 0; i < reader.ItemCount(); ++i)
            if (reader.ItemPath(i) == NativePath(path))
                return i;
        ADD_FAILURE() << "no item " << path;
        return 0;
    }

    TScratchFolder Scratch;

private:
    int FCount = 0;
};

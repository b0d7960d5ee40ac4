#include "platform/Error.h"
#include "platform/FileStream.h"
#include "platform/Paths.h"
#include "sevenzip/SevenZip.h"
#include "support/TestSupport.h"
#include "SevenZipFixture.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const std::map<std::string, std::string> MIXED_FILES = {
    {"top.txt", "top level"},
    {"nested/deeper/inner.txt", std::string(70000, 'x')},
    {"empty.txt", ""},
    {"Grüße/日本語 ファイル.txt", "non-ASCII names"},
};

struct TArchiveKind {
    const char* Name;
    std::vector<std::string> Switches;
};
std::ostream& operator<<(std::ostream& out, const TArchiveKind& kind) { return out << kind.Name; }

class ArchiveKinds : public SevenZipBinding, public ::testing::WithParamInterface<TArchiveKind> {};

TEST_P(ArchiveKinds, ListsAndExtractsEveryFile)
{
    std::vector<std::string> switches = GetParam().Switches;
    switches.push_back(std::string("-p") + PASSWORD);
    const auto reader = Open(MakeArchive(MIXED_FILES, switches, {"hollow"}));

    std::map<std::string, bool> listed;  // path -> is a folder
    for (uint32_t i = 0; i < reader->ItemCount(); ++i)
        listed[reader->ItemPath(i)] = reader->ItemIsDirectory(i);
    EXPECT_TRUE(listed.at("hollow"));
    EXPECT_TRUE(listed.at(NativePath("nested/deeper")));
    EXPECT_FALSE(listed.at(NativePath("Grüße/日本語 ファイル.txt")));
    EXPECT_EQ(reader->ItemSize(IndexOf(*reader.Get(), "nested/deeper/inner.txt")), 70000);

    reader->ExtractToFolder(Scratch / "out");  // no final "/": the same place
    std::map<std::string, std::string> extracted;
    for (const std::string& path : ListFiles(Scratch / "out"))
        extracted[path] = ReadWholeFile(Scratch / ("out/" + path));
    EXPECT_EQ(extracted, MIXED_FILES);
    EXPECT_FALSE(DirectoryExists(Scratch / "out/hollow")) << "an empty folder of the archive produces nothing";
    for (uint32_t i = 0; i < reader->ItemCount(); ++i)
        EXPECT_EQ(reader->ItemOperationResult(i), 0) << reader->ItemPath(i);
    EXPECT_TRUE(reader->RefusedPaths().empty());
}

INSTANTIATE_TEST_SUITE_P(Methods, ArchiveKinds, ::testing::Values(
    TArchiveKind{"Lzma2Solid", {"-m0=LZMA2", "-ms=on"}}, TArchiveKind{"PPMd", {"-m0=PPMd"}},
    TArchiveKind{"Copy", {"-m0=Copy"}}, TArchiveKind{"DeflateNotSolid", {"-m0=Deflate", "-ms=off"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(SevenZipBinding, WrongPasswordShowsInTheItemResult)
{
    for (const char* method : {"-m0=Copy", "-m0=LZMA2"}) {
        const auto reader = Open(MakeArchive({{"secret.txt", std::string(5000, 's')}}, {method, "-pright"}), "wrong");
        TFileStream target(Scratch / "target.bin", TFileMode::fmCreate);
        try {
            reader->ExtractItemToStream(0, &target, false);
        } catch (const EVarnholdError&) {
            // Failing the call outright is a fine answer too.
        }
        EXPECT_NE(reader->ItemOperationResult(0), 0) << method;
    }
}

TEST_F(SevenZipBinding, ArchivesThatDoNotOpen)
{
    const std::string good = MakeArchive({{"a.txt", "alpha"}}, {"-pright"});
    const std::string content = ReadWholeFile(good);
    WriteTextFile(Scratch / "truncated.7z", content.substr(0, content.size() / 2));
    WriteBytes(Scratch / "random.7z", RandomBytes(100000, 9));
    WriteTextFile(Scratch / "empty.7z", "");
    const std::string hidden = MakeArchive({{"a.txt", "alpha"}}, {"-pright", "-mhe=on"});
    for (const std::string& path : {Scratch / "truncated.7z", Scratch / "random.7z", Scratch / "empty.7z", hidden}) {
        TComPtr<I7zArchiveReader> reader = CreateArchiveReader(Format7zClassId, VARNHOLD_7Z_LIBRARY);
        EXPECT_THROW(reader->OpenFromFile(path), EVarnholdError) << path;
    }
    TComPtr<I7zArchiveReader> reader = CreateArchiveReader(Format7zClassId, VARNHOLD_7Z_LIBRARY);
    try {
        reader->OpenFromFile(Scratch / "missing.7z");
        FAIL();
    } catch (const EVarnholdError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + (Scratch / "missing.7z") + "\". " + SystemWords("No such file or directory", 2));
    }
}

TEST_F(SevenZipBinding, LoaderErrorsNameTheLibrary)
{
    WriteTextFile(Scratch / "garbage.dll", "not a library");
    const std::pair<std::string, std::string> cases[] = {
        {Scratch / "garbage.dll", "Error loading library " + (Scratch / "garbage.dll")},
        {Scratch / "missing.dll", "Error loading library " + (Scratch / "missing.dll")},
        {NOT_A_7Z_LIBRARY, std::string(NOT_A_7Z_LIBRARY) + " is not a 7z library"},
        {NOT_A_FORMAT_LIBRARY, std::string(NOT_A_FORMAT_LIBRARY) + " is not a Format library"},
    };
    for (const auto& [path, message] : cases) {
        try {
            CreateArchiveReader(Format7zClassId, path);
            ADD_FAILURE() << path << " was accepted";
        } catch (const EVarnholdError& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
        EXPECT_FALSE(LibraryIsLoaded(path)) << path << " stayed loaded";
    }
}

TEST(ResultCodes, SystemTextAndCheckResult)
{
    // On Windows the system's table has the words, where it has any.
    const std::pair<HRESULT, std::string> cases[] = {
        // The standard codes in the words Windows uses for them.
        {S_FALSE, SystemWords("Incorrect function", S_FALSE)},
        {E_ABORT, SystemWords("Operation aborted", E_ABORT)},
        {E_FAIL, SystemWords("Unspecified error", E_FAIL)},
        {E_NOTIMPL, SystemWords("Not implemented", E_NOTIMPL)},
        {E_NOINTERFACE, SystemWords("No such interface supported", E_NOINTERFACE)},
        {E_POINTER, SystemWords("Invalid pointer", E_POINTER)},
        {E_OUTOFMEMORY, SystemWords("Not enough memory resources are available to complete this operation", E_OUTOFMEMORY)},
        {E_INVALIDARG, SystemWords("The parameter is incorrect", E_INVALIDARG)},
        // A system error carried in a result code reads as the system says it.
#ifdef _WIN32
        {static_cast<HRESULT>(0x80070002), SystemWords("", 2)},
        {static_cast<HRESULT>(0x80070070), SystemWords("", 112)},
#else
        {static_cast<HRESULT>(0x80070002), "No such file or directory"},
        {static_cast<HRESULT>(0x8007001C), "No space left on device"},
#endif
        {static_cast<HRESULT>(0x8007FFFF), ""},
        {static_cast<HRESULT>(0x12345678), ""},
    };
    for (const auto& [code, text] : cases) {
        EXPECT_EQ(SystemResultText(code), text) << std::hex << code;
        try {
            CheckResult(code);
            ADD_FAILURE() << "no error for " << std::hex << code;
        } catch (const EVarnholdError& error) {
            EXPECT_EQ(std::string(error.what()), text);
        }
    }
    EXPECT_NO_THROW(CheckResult(S_OK));
}

struct TPasswordCounter {
    int Calls = 0;
    static HRESULT Provide(void* sender, std::string& password)
    {
        ++static_cast<TPasswordCounter*>(sender)->Calls;
        EXPECT_TRUE(password.empty());
        password = PASSWORD;
        return S_OK;
    }
};

TEST_F(SevenZipBinding, PasswordProviderIsAskedOncePerOpening)
{
    const std::string archive = MakeArchive({{"a.txt", "alpha"}, {"b.txt", "bravo"}}, {std::string("-p") + PASSWORD, "-ms=off"});
    TPasswordCounter counter;
    const auto reader = Open(archive, "");
    reader->SetPasswordProvider(&counter, TPasswordCounter::Provide);
    for (const char* name : {"a.txt", "b.txt"}) {
        TFileStream target(Scratch / name, TFileMode::fmCreate);
        reader->ExtractItemToStream(IndexOf(*reader.Get(), name), &target, false);
    }
    EXPECT_EQ(counter.Calls, 1);
    EXPECT_EQ(ReadWholeFile(Scratch / "b.txt"), "bravo");
    reader->Close();
    reader->OpenFromFile(archive);
    reader->ExtractToFolder(Scratch / "again");
    EXPECT_EQ(counter.Calls, 2) << "Close forgets the password";
}

TEST_F(SevenZipBinding, NoPasswordAndNoProviderWritesNothingUsable)
{
    const auto reader = Open(MakeArchive({{"a.txt", "alpha"}}, {"-pright"}), "");
    try {
        reader->ExtractToFolder(Scratch / "out");
        EXPECT_NE(reader->ItemOperationResult(0), 0);
    } catch (const EVarnholdError&) {
        SUCCEED();
    }
    for (const std::string& path : ListFiles(Scratch / "out"))
        EXPECT_NE(ReadWholeFile(Scratch / ("out/" + path)), "alpha");
}

HRESULT StopAtOnce(void*, bool, int64_t)
{
    return 1;
}

TEST_F(SevenZipBinding, ProgressStopEndsTheCallAndLeavesTheReaderUsable)
{
    const auto reader = Open(MakeArchive({{"a.txt", "alpha"}, {"b.txt", "bravo"}}, {std::string("-p") + PASSWORD}));
    reader->SetProgressSink(nullptr, StopAtOnce);
    TFileStream target(Scratch / "target.bin", TFileMode::fmCreate);
    EXPECT_THROW(reader->ExtractItemToStream(0, &target, false), EVarnholdError);
    EXPECT_THROW(reader->ExtractToFolder(Scratch / "stopped"), EVarnholdError);
    EXPECT_TRUE(ListFiles(Scratch / "stopped").empty());
    // The failed calls left no target behind: a folder extraction writes files, not into `target`.
    reader->SetProgressSink(nullptr, nullptr);
    reader->ExtractToFolder(Scratch / "out");
    EXPECT_EQ(ListFiles(Scratch / "out"), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(target.Size(), 0);
}

TEST_F(SevenZipBinding, MissingPropertiesHaveDefaults)
{
    const auto reader = Open(MakeArchive({{"a.txt", "alpha"}}, {}, {"folder"}));
    const uint32_t folder = IndexOf(*reader.Get(), "folder");
    EXPECT_EQ(reader->ItemSize(folder), 0);
    EXPECT_EQ(reader->ItemName(folder), "") << "this library's 7z handler reports no separate name";
    // The library does not check indices itself; the binding must.
    const uint32_t beyond = reader->ItemCount() + 5;
    EXPECT_EQ(reader->ItemPath(beyond), "");
    EXPECT_EQ(reader->ItemName(beyond), "");
    EXPECT_EQ(reader->ItemSize(beyond), 0);
    EXPECT_FALSE(reader->ItemIsDirectory(beyond));
    EXPECT_EQ(reader->ItemOperationResult(beyond), -1);
}

TEST_F(SevenZipBinding, TraversalPathIsRefusedAndNothingLandsOutside)
{
    const std::string source = Scratch / "trav/inner/";
    WriteTextFile(Scratch / "trav/escape.txt", "evil");
    WriteTextFile(source + "fine.txt", "fine");
    ASSERT_EQ(RunProgram({"/bin/sh", "-c", "cd \"$0\" && \"$1\" a -t7z -bd -spf ../../trav.7z ../escape.txt fine.txt", HostPath(source),
                          VARNHOLD_7Z_COMMAND}),
              0);
    const auto reader = Open(Scratch / "trav.7z");
    reader->ExtractToFolder(Scratch / "box/out/");
    EXPECT_EQ(ListFiles(Scratch / "box"), std::vector<std::string>{"out/fine.txt"});
    EXPECT_EQ(reader->RefusedPaths(), std::vector<std::string>{NativePath("../escape.txt")});
}

TEST_F(SevenZipBinding, AFileThatCannotBeCreatedEndsTheCallWithItsOwnMessage)
{
    const auto reader = Open(MakeArchive({{"sub/a.txt", "alpha"}}, {}));
    WriteTextFile(Scratch / "out/sub", "a file where a folder should be");
    try {
        reader->ExtractToFolder(Scratch / "out/");
        FAIL() << "the extraction went through";
    } catch (const EVarnholdError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create file \"" + (Scratch / "out/sub/a.txt") + "\". " + SystemWords("Not a directory", 267));  // ERROR_DIRECTORY
    }
    // The failed call left no target folder behind: the next call writes only into its stream.
    TFileStream target(Scratch / "target.bin", TFileMode::fmCreate);
    reader->ExtractItemToStream(IndexOf(*reader.Get(), "sub/a.txt"), &target, false);
    target.Close();  // Windows lets nobody read a file while it is being written
    EXPECT_EQ(ReadWholeFile(Scratch / "target.bin"), "alpha");
    EXPECT_EQ(ListFiles(Scratch / "out"), std::vector<std::string>{"sub"});
}

}  // namespace

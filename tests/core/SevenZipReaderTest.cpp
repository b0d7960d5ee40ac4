// The reader's life: opening from a stream, closing and opening again, the
// format it was made for, and what ExtractToFolder leaves on the disk.
#include "platform/Error.h"
#include "platform/FileStream.h"
#include "sevenzip/SevenZipStream.h"
#include "SevenZipFixture.h"

#include <gtest/gtest.h>

#include <functional>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace {

void ExpectError(const std::function<void()>& call, const std::string& message)
{
    try {
        call();
        ADD_FAILURE() << "no error; expected \"" << message << "\"";
    } catch (const EVarnholdError& error) {
        EXPECT_EQ(std::string(error.what()), message);
    }
}

TEST_F(SevenZipBinding, OpensFromAStreamAndAgainAfterClose)
{
    const std::string archive = MakeArchive({{"a.txt", "alpha"}, {"b.txt", "bravo"}}, {std::string("-p") + PASSWORD});
    TComPtr<I7zArchiveReader> reader = CreateArchiveReader(Format7zClassId, VARNHOLD_7Z_LIBRARY);
    EXPECT_EQ(reader->GetFormatId(), Format7zClassId);
    ExpectError([&] { reader->OpenFromStream(nullptr); }, "Invalid pointer");

    for (int round = 0; round < 2; ++round) {
        TComPtr<IInStream> stream(
            static_cast<IInStream*>(new T7zStream(new TFileStream(archive, TFileMode::fmOpenRead), soOwned)));
        reader->OpenFromStream(stream.Get());
        reader->SetPassword(PASSWORD);
        EXPECT_EQ(reader->GetHandler().Get(), reader->GetHandler().Get()) << "one handler while open";
        EXPECT_EQ(reader->ItemCount(), 2u);
        TFileStream target(Scratch / "b.txt", TFileMode::fmCreate);
        reader->ExtractItemToStream(IndexOf(*reader.Get(), "b.txt"), &target, false);
        target.Close();  // Windows lets nobody read a file while it is being written
        EXPECT_EQ(ReadWholeFile(Scratch / "b.txt"), "bravo");
        reader->Close();
        EXPECT_EQ(reader->ItemCount(), 0u) << "a closed reader lists nothing";
    }
}

TEST_F(SevenZipBinding, AFormatTheLibraryDoesNotHaveFailsWithTheSystemText)
{
    const GUID unknownFormat = {0x12345678, 0x40C1, 0x278A, {0x10, 0x00, 0x00, 0x01, 0x10, 0x07, 0x00, 0x00}};
    TComPtr<I7zArchiveReader> reader = CreateArchiveReader(unknownFormat, VARNHOLD_7Z_LIBRARY);
    EXPECT_EQ(reader->GetFormatId(), unknownFormat);
    ExpectError([&] { reader->OpenFromFile(MakeArchive({{"a.txt", "alpha"}}, {})); },
                SystemWords("ClassFactory cannot supply requested class", 0x80040111));
}

TEST_F(SevenZipBinding, AnEmptyTargetFolderIsRefused)
{
    const auto reader = Open(MakeArchive({{"a.txt", "alpha"}}, {}));
    ExpectError([&] { reader->ExtractToFolder(""); }, SystemWords("The parameter is incorrect", 0x80070057));
    EXPECT_EQ(reader->ItemOperationResult(0), -1) << "the library was never asked";
}

#ifndef _WIN32
// Nanosecond times by utimensat; the Windows build sees times through the
// worker's tests.
TEST_F(SevenZipBinding, ExtractedFilesKeepTheirModificationTime)
{
    const std::string source = Scratch / "timed/";
    WriteTextFile(source + "old.txt", "from long ago");
    WriteTextFile(source + "sub/older.txt", "from longer ago");
    // 2001-02-03 04:05:06.7 and 1999-12-31 23:59:59.0000001 UTC; the archive keeps 100 ns steps.
    const std::pair<std::string, timespec> times[] = {{"old.txt", {981173106, 700000000}},
                                                      {"sub/older.txt", {946684799, 100}}};
    for (const auto& [name, time] : times) {
        const timespec both[2] = {time, time};
        ASSERT_EQ(utimensat(AT_FDCWD, (source + name).c_str(), both, 0), 0);
    }
    Make7zArchive(Scratch / "timed.7z", source, {std::string("-p") + PASSWORD});

    const auto reader = Open(Scratch / "timed.7z");
    reader->ExtractToFolder(Scratch / "out");
    for (const auto& [name, time] : times) {
        struct stat info {};
        ASSERT_EQ(stat((Scratch / ("out/" + name)).c_str(), &info), 0) << name;
        EXPECT_EQ(info.st_mtim.tv_sec, time.tv_sec) << name;
        EXPECT_EQ(info.st_mtim.tv_nsec, time.tv_nsec) << name;
    }
}
#endif

TEST(SevenZipLoader, ReleasingTheReaderUnloadsTheLibrary)
{
    {
        TComPtr<I7zArchiveReader> reader = CreateArchiveReader(Format7zClassId, VARNHOLD_7Z_LIBRARY);
        reader->GetHandler();  // a library object exists and goes first
        ASSERT_TRUE(LibraryIsLoaded(VARNHOLD_7Z_LIBRARY));
    }
    EXPECT_FALSE(LibraryIsLoaded(VARNHOLD_7Z_LIBRARY));
}

}  // namespace

// The adapter that lets the library read and write our streams.
#include "platform/Error.h"
#include "platform/FileStream.h"
#include "platform/Paths.h"
#include "sevenzip/SevenZipStream.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A stream that tells whether it was freed.
class TWatchedStream : public TFileStream {
public:
    TWatchedStream(const std::string& path, bool& freed) : TFileStream(path, TFileMode::fmCreate), FFreed(freed) {}
    ~TWatchedStream() override { FFreed = true; }

private:
    bool& FFreed;
};

TEST(StreamAdapter, ReadSeekSizeAndOwnership)
{
    TScratchFolder scratch;
    bool borrowedFreed = false, ownedFreed = false;
    TWatchedStream borrowed(scratch / "borrowed.bin", borrowedFreed);
    {
        TComPtr<IOutStream> adapter(static_cast<IOutStream*>(new T7zStream(&borrowed, soReference)));
        uint32_t done = 99;
        ASSERT_EQ(adapter->Write("hello", 5, &done), S_OK);
        EXPECT_EQ(done, 5u);
        EXPECT_EQ(adapter->Write("!", 1, nullptr), S_OK);
        uint64_t position = 0;
        EXPECT_EQ(adapter->Seek(0, soEnd, &position), S_OK);
        EXPECT_EQ(position, 6u);
        EXPECT_EQ(adapter->Seek(1, soBeginning, nullptr), S_OK);

        TComPtr<IInStream> input;
        ASSERT_EQ(adapter->QueryInterface(IID_IInStream, reinterpret_cast<void**>(input.Put())), S_OK);
        char buffer[8] = {};
        EXPECT_EQ(input->Read(buffer, 8, &done), S_OK);
        EXPECT_EQ(std::string(buffer, done), "ello!");
        EXPECT_EQ(input->Read(buffer, 8, &done), S_OK);
        EXPECT_EQ(done, 0u) << "read at the end";
        EXPECT_EQ(input->Read(buffer, 8, nullptr), S_OK);

        TComPtr<IStreamGetSize> size;
        ASSERT_EQ(adapter->QueryInterface(IID_IStreamGetSize, reinterpret_cast<void**>(size.Put())), S_OK);
        uint64_t bytes = 0;
        EXPECT_EQ(size->GetSize(&bytes), S_OK);
        EXPECT_EQ(bytes, 6u);
        EXPECT_EQ(size->GetSize(nullptr), E_POINTER);
        TComPtr<IInArchive> notThere;
        EXPECT_EQ(adapter->QueryInterface(IID_IInArchive, reinterpret_cast<void**>(notThere.Put())), E_NOINTERFACE);
    }
    EXPECT_FALSE(borrowedFreed);
    EXPECT_EQ(borrowed.Size(), 6) << "a borrowed stream stays open and usable";
    {
        TComPtr<IOutStream> adapter(static_cast<IOutStream*>(new T7zStream(new TWatchedStream(scratch / "owned.bin", ownedFreed), soOwned)));
        EXPECT_EQ(adapter->SetSize(10), S_OK);
    }
    EXPECT_TRUE(ownedFreed);
}

TEST(StreamAdapter, EveryInterfaceIsTheOneAdapter)
{
    TScratchFolder scratch;
    TFileStream file(scratch / "any.bin", TFileMode::fmCreate);
    TComPtr<IInStream> adapter(static_cast<IInStream*>(new T7zStream(&file, soReference)));
    const auto query = [&](const GUID& iid) {
        TComPtr<IUnknown> result;
        EXPECT_EQ(adapter->QueryInterface(iid, reinterpret_cast<void**>(result.Put())), S_OK);
        return result;
    };
    EXPECT_EQ(query(IID_ISequentialInStream).Get(), query(IID_IInStream).Get());
    EXPECT_EQ(query(IID_ISequentialOutStream).Get(), query(IID_IOutStream).Get());
    TComPtr<IUnknown> identity = query(IID_IUnknown);
    for (const GUID& iid : {IID_ISequentialInStream, IID_IInStream, IID_ISequentialOutStream, IID_IOutStream,
                            IID_IStreamGetSize, IID_IOutStreamFlush}) {
        TComPtr<IUnknown> back;
        ASSERT_EQ(query(iid)->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(back.Put())), S_OK);
        EXPECT_EQ(back.Get(), identity.Get()) << "one object whichever interface it is reached through";
    }
    TComPtr<IOutStreamFlush> flush;
    ASSERT_EQ(adapter->QueryInterface(IID_IOutStreamFlush, reinterpret_cast<void**>(flush.Put())), S_OK);
    EXPECT_EQ(flush->Flush(), S_OK);
}

TEST(StreamAdapter, FailuresOfTheWrappedStreamAreReportedNotHidden)
{
    TScratchFolder scratch;
    WriteTextFile(scratch / "read-only.bin", "0123456789");
    TFileStream file(scratch / "read-only.bin", TFileMode::fmOpenRead);
    TComPtr<IOutStream> adapter(static_cast<IOutStream*>(new T7zStream(&file, soReference)));
    uint32_t done = 99;
    EXPECT_EQ(adapter->Write("abc", 3, &done), S_OK);
    EXPECT_EQ(done, 0u) << "a stream opened for reading takes no bytes";

    // From the current position, then to a place the stream cannot go: a
    // failure, never a made-up position, and the position stays.
    uint64_t position = 0;
    EXPECT_EQ(adapter->Seek(4, soBeginning, nullptr), S_OK);
    EXPECT_EQ(adapter->Seek(2, soCurrent, &position), S_OK);
    EXPECT_EQ(position, 6u);
    position = 77;
    EXPECT_NE(adapter->Seek(-100, soCurrent, &position), S_OK);
    EXPECT_EQ(position, 77u) << "nothing written on failure";
    EXPECT_EQ(adapter->Seek(0, soCurrent, &position), S_OK);
    EXPECT_EQ(position, 6u);
    EXPECT_EQ(adapter->Seek(-1, 0x100 | soEnd, &position), STG_E_INVALIDFUNCTION) << "an origin there is not";
    EXPECT_EQ(adapter->Seek(-1, soEnd, &position), S_OK);
    EXPECT_EQ(position, 9u);
    EXPECT_EQ(adapter->SetSize(2), S_OK);
    EXPECT_EQ(file.Size(), 10) << "a file opened for reading keeps its size";

    // A stream that can no longer tell its size or position says so.
    TComPtr<IInStream> closed(static_cast<IInStream*>(new T7zStream(&file, soReference)));
    file.Close();
    TComPtr<IStreamGetSize> sizer;
    ASSERT_EQ(closed->QueryInterface(IID_IStreamGetSize, reinterpret_cast<void**>(sizer.Put())), S_OK);
    uint64_t size = 5;
    EXPECT_NE(sizer->GetSize(&size), S_OK);
    EXPECT_EQ(size, 5u);
    EXPECT_NE(closed->Seek(0, soCurrent, &position), S_OK);
}

TEST(FileStream, NoModeOpensAFolderAsAFile)
{
    TScratchFolder scratch;
    const std::string folder = scratch / "folder";
    ASSERT_TRUE(ForceDirectories(folder));
    WriteTextFile(folder + "/inside.txt", "kept");
    for (const TFileMode mode :
         {TFileMode::fmOpenRead, TFileMode::fmOpenReadWrite, TFileMode::fmCreate, TFileMode::fmCreateNew}) {
        SCOPED_TRACE(static_cast<int>(mode));
        try {
            TFileStream stream(folder, mode);
            ADD_FAILURE() << "a folder opened as a file";
        } catch (const EVarnholdError& error) {
            EXPECT_NE(error.Failure().SystemCode, 0) << "the system's reason is kept";
        }
        EXPECT_TRUE(DirectoryExists(folder));
        EXPECT_EQ(ReadWholeFile(folder + "/inside.txt"), "kept") << "what the folder holds stays";
    }
}

}  // namespace

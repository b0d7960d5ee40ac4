#pragma once
// T7zInArchive: an archive opened for reading through the library. It is the
// reader that CreateArchiveReader hands out, and it answers the library's
// call-backs for progress, password and output streams itself.

#include "sevenzip/SevenZip.h"

#include <exception>
#include <map>

class T7zInArchive final : public T7zArchive,
                           public I7zArchiveReader,
                           public IArchiveOpenCallback,
                           public IArchiveExtractCallback,
                           public ICryptoGetTextPassword,
                           public IArchiveOpenVolumeCallback,
                           public IArchiveOpenSetSubArchiveName {
public:
    explicit T7zInArchive(const std::string& libraryPath) : T7zArchive(libraryPath) {}

    // IUnknown, shared by every interface of the object.
    HRESULT QueryInterface(const GUID& iid, void** object) noexcept override;
    uint32_t AddRef() noexcept override { return DoAddRef(); }
    uint32_t Release() noexcept override { return DoRelease(); }

    // I7zArchiveReader
    void OpenFromFile(const std::string& fileName) override;
    void OpenFromStream(IInStream* stream) override;
    void Close() override;
    uint32_t ItemCount() override;
    std::string ItemPath(uint32_t index) override;
    std::string ItemName(uint32_t index) override;
    int64_t ItemSize(uint32_t index) override;
    bool ItemIsDirectory(uint32_t index) override;
    TComPtr<IInArchive> GetHandler() override;
    void ExtractItemToStream(uint32_t index, TStream* stream, bool test) override;
    void ExtractSelected(const uint32_t* indices, uint32_t count, bool test, void* sender,
                         TArchiveGetStreamProc proc) override;
    void ExtractEverything(bool test, void* sender, TArchiveGetStreamProc proc) override;
    void ExtractToFolder(const std::string& folder) override;
    void SetPasswordProvider(void* sender, TArchivePasswordProc proc) override;
    void SetPassword(const std::string& password) override;
    void SetProgressSink(void* sender, TArchiveProgressProc proc) override;
    void SetFormatId(const GUID& classId) override { FormatId = classId; }
    GUID GetFormatId() override { return FormatId; }
    int32_t ItemOperationResult(uint32_t index) override;
    std::vector<std::string> RefusedPaths() override { return FRefusedPaths; }
    void ExtractSelectedToFolder(const uint32_t* indices, uint32_t count, const std::string& folder) override;
    std::vector<TFolderCollision> Collisions() override { return FCollisions; }
    std::vector<std::string> CreatedFolders() override { return FCreatedFolders; }
    bool ItemWritten(uint32_t index) override { return index < FWritten.size() && FWritten[index]; }

    // IArchiveOpenCallback (answers only)
    HRESULT SetTotal(const uint64_t*, const uint64_t*) noexcept override { return S_OK; }
    HRESULT SetCompleted(const uint64_t*, const uint64_t*) noexcept override { return S_OK; }
    // IProgress / IArchiveExtractCallback
    HRESULT SetTotal(uint64_t total) noexcept override;
    HRESULT SetCompleted(const uint64_t* completeValue) noexcept override;
    HRESULT GetStream(uint32_t index, ISequentialOutStream** outStream, int32_t askExtractMode) noexcept override;
    HRESULT PrepareOperation(int32_t) noexcept override { return S_OK; }
    HRESULT SetOperationResult(int32_t opRes) noexcept override;
    // ICryptoGetTextPassword
    HRESULT CryptoGetTextPassword(BSTR* password) noexcept override;
    // IArchiveOpenVolumeCallback
    HRESULT GetProperty(PROPID, PROPVARIANT*) noexcept override { return S_OK; }
    // Single-volume archives only: no other volume is ever handed out.
    HRESULT GetStream(const wchar_t*, IInStream** inStream) noexcept override
    {
        if (inStream)
            *inStream = nullptr;
        return S_OK;
    }
    // IArchiveOpenSetSubArchiveName
    HRESULT SetSubArchiveName(const wchar_t*) noexcept override { return S_OK; }

private:
    ~T7zInArchive() override;
    // Reads one property of an item into `value`; the caller clears it.
    void ReadItemProperty(uint32_t index, PROPID propId, PROPVARIANT& value);
    void ClearProperty(PROPVARIANT& value);
    std::string ItemText(uint32_t index, PROPID propId);
    // One Extract call with this object as call-back; raises what went wrong.
    void RunExtract(const uint32_t* indices, uint32_t count, bool test);
    HRESULT CreateFolderStream(uint32_t index, ISequentialOutStream** outStream) noexcept;
    void RunFolderExtract(const uint32_t* indices, uint32_t count, const std::string& folder);
    // Gives the item's temporary file its name, or notes the collision.
    void CommitFolderItem(uint32_t index);
    // Deletes the temporary files of items never committed.
    void DiscardPendingItems();
    HRESULT ReportProgress(bool isTotal, uint64_t value) noexcept;

    TComPtr<IInArchive> Handler;
    TArchivePasswordProc PasswordProc = nullptr;
    void* PasswordSender = nullptr;
    TArchiveProgressProc ProgressProc = nullptr;
    void* ProgressSender = nullptr;
    TStream* TargetStream = nullptr;
    bool PasswordKnown = false;
    std::string Password;
    TArchiveGetStreamProc GetStreamProc = nullptr;
    void* GetStreamSender = nullptr;
    std::string ExtractFolder;

    // Per extraction call: the item being worked on, each item's result, the
    // paths refused, and an error raised inside a call-back, kept until the
    // library call returns (an error never crosses the library's boundary).
    uint32_t FCurrentIndex = 0;
    std::vector<int32_t> FOperationResults;
    std::vector<std::string> FRefusedPaths;
    std::exception_ptr FCallbackError;
    std::string FWriteError;
    int FWriteErrno = 0;

    // Per extraction into a folder: the temporary file and target of each
    // item handed a stream and not yet committed or discarded.
    struct TPendingItem {
        std::string TempFile;
        std::string Target;
    };
    std::map<uint32_t, TPendingItem> FPending;
    std::vector<TFolderCollision> FCollisions;
    std::vector<std::string> FCreatedFolders;
    std::vector<bool> FWritten;
};

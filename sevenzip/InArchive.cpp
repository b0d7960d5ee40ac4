#include "sevenzip/InArchive.h"

#include "platform/Error.h"
#include "platform/FileStream.h"
#include "platform/Paths.h"
#include "platform/SystemText.h"
#include "sevenzip/SevenZipStream.h"
#include "sevenzip/WideText.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint64_t OPEN_SCAN_LIMIT = 1048576;
constexpr uint32_t ALL_ITEMS = 0xFFFFFFFF;

// An item's output file: created new under its temporary name, it takes the
// item's modification time when it is closed, as archivers do (the
// overwrite question compares times). A write that fails (a full disk) is
// remembered, so the user hears the system's reason rather than the
// library's generic one.
class TItemFileStream final : public TFileStream {
public:
    TItemFileStream(const std::string& fileName, const std::string& target, const PROPVARIANT& modified,
                    std::string& writeError, int& writeErrno)
        : TFileStream(fileName, TFileMode::fmCreateNew), FTarget(target), FModified(modified.vt == VT_FILETIME),
          FTime(modified.filetime), FWriteError(writeError), FWriteErrno(writeErrno)
    {
    }
    int64_t Write(const void* buffer, int64_t count) override
    {
        errno = 0;
        const int64_t done = TFileStream::Write(buffer, count);
        if (done != count && FWriteError.empty()) {
            FWriteErrno = errno != 0 ? errno : ENOSPC;
            FWriteError = FTarget;
        }
        return done;
    }
    ~TItemFileStream() override
    {
        if (!FModified)
            return;
        // FILETIME counts 100 ns from 1601; Unix time counts from 1970.
        const uint64_t ticks = (static_cast<uint64_t>(FTime.dwHighDateTime) << 32) | FTime.dwLowDateTime;
        constexpr uint64_t EPOCH_DIFFERENCE = 116444736000000000ull;
        if (ticks < EPOCH_DIFFERENCE)
            return;
        const uint64_t unixTicks = ticks - EPOCH_DIFFERENCE;
        struct timespec times[2];
        times[0].tv_sec = 0;
        times[0].tv_nsec = UTIME_OMIT;
        times[1].tv_sec = static_cast<time_t>(unixTicks / 10000000);
        times[1].tv_nsec = static_cast<long>(unixTicks % 10000000 * 100);
        futimens(Handle(), times);
    }

private:
    std::string FTarget;
    bool FModified;
    FILETIME FTime;
    std::string& FWriteError;
    int& FWriteErrno;
};

[[noreturn]] void RaiseCannotCreate(const std::string& target, int error)
{
    throw EVarnholdError(MakeFailure(TFailureKind::fkCannotWriteOutput, target, error),
                         FormatText("Cannot create file \"%s\". %s", {target, SystemErrorText(error)}));
}

// A hidden name beside `target` for its data until the item is complete.
std::string TemporaryNameBeside(const std::string& target, unsigned attempt)
{
    static std::atomic<unsigned> s_counter{0};
    // Asked once: the process does not change, and each ask is a system call per item.
    static const unsigned s_process = static_cast<unsigned>(getpid()) * 2654435761u;
    const unsigned number = s_process ^ (s_counter.fetch_add(1) + attempt * 7919u);
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".vx%08X.part", number);
    return ExtractFilePath(target) + "." + ExtractFileName(target).substr(0, 64) + suffix;
}

// Clears a transient field whichever way the call ends.
template <class T>
class TResetOnExit {
public:
    TResetOnExit(T& field, T value) : FField(field) { FField = value; }
    ~TResetOnExit() { FField = T(); }
    TResetOnExit(const TResetOnExit&) = delete;
    TResetOnExit& operator=(const TResetOnExit&) = delete;

private:
    T& FField;
};

}  // namespace

T7zInArchive::~T7zInArchive()
{
    // The handler goes before the library that holds its code.
    Handler.Reset();
}

HRESULT T7zInArchive::QueryInterface(const GUID& iid, void** object) noexcept
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_I7zArchiveReader)
        *object = static_cast<I7zArchiveReader*>(this);
    else if (iid == IID_IArchiveOpenCallback)
        *object = static_cast<IArchiveOpenCallback*>(this);
    else if (iid == IID_IArchiveExtractCallback || iid == IID_IProgress)
        *object = static_cast<IArchiveExtractCallback*>(this);
    else if (iid == IID_ICryptoGetTextPassword)
        *object = static_cast<ICryptoGetTextPassword*>(this);
    else if (iid == IID_IArchiveOpenVolumeCallback)
        *object = static_cast<IArchiveOpenVolumeCallback*>(this);
    else if (iid == IID_IArchiveOpenSetSubArchiveName)
        *object = static_cast<IArchiveOpenSetSubArchiveName*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

void T7zInArchive::OpenFromFile(const std::string& fileName)
{
    auto file = std::make_unique<TFileStream>(fileName, TFileMode::fmOpenRead);
    TComPtr<IInStream> stream(static_cast<IInStream*>(new T7zStream(file.get(), soOwned)));
    file.release();  // the stream owns the file now
    OpenFromStream(stream.Get());
}

void T7zInArchive::OpenFromStream(IInStream* stream)
{
    if (!stream)
        CheckResult(E_POINTER);
    TComPtr<IArchiveOpenCallback> callback(static_cast<IArchiveOpenCallback*>(this));
    TComPtr<IInArchive> handler = GetHandler();
    FCallbackError = nullptr;
    const HRESULT result = handler->Open(stream, &OPEN_SCAN_LIMIT, callback.Get());
    if (FCallbackError)
        std::rethrow_exception(std::exchange(FCallbackError, nullptr));
    CheckResult(result);
}

void T7zInArchive::Close()
{
    PasswordKnown = false;
    if (Handler) {
        Handler->Close();
        Handler.Reset();
    }
}

TComPtr<IInArchive> T7zInArchive::GetHandler()
{
    if (!Handler)
        CreateLibraryObject(FormatId, IID_IInArchive, reinterpret_cast<void**>(Handler.Put()));
    return Handler;
}

uint32_t T7zInArchive::ItemCount()
{
    uint32_t count = 0;
    CheckResult(GetHandler()->GetNumberOfItems(&count));
    return count;
}

void T7zInArchive::ReadItemProperty(uint32_t index, PROPID propId, PROPVARIANT& value)
{
    std::memset(&value, 0, sizeof value);
    // The library reads past its tables for an index it does not have.
    TComPtr<IInArchive> handler = GetHandler();
    uint32_t count = 0;
    if (handler->GetNumberOfItems(&count) == S_OK && index < count)
        handler->GetProperty(index, propId, &value);
}

void T7zInArchive::ClearProperty(PROPVARIANT& value)
{
    if (value.vt == VT_BSTR && value.bstrVal)
        SysFreeStringProc(value.bstrVal);
    std::memset(&value, 0, sizeof value);
}

std::string T7zInArchive::ItemText(uint32_t index, PROPID propId)
{
    PROPVARIANT value;
    ReadItemProperty(index, propId, value);
    const std::string text = value.vt == VT_BSTR ? WideToUtf8(value.bstrVal) : std::string();
    ClearProperty(value);
    return text;
}

std::string T7zInArchive::ItemPath(uint32_t index)
{
    return ItemText(index, kpidPath);
}

std::string T7zInArchive::ItemName(uint32_t index)
{
    return ItemText(index, kpidName);
}

int64_t T7zInArchive::ItemSize(uint32_t index)
{
    PROPVARIANT value;
    ReadItemProperty(index, kpidSize, value);
    const int64_t size = value.vt == VT_UI8 ? static_cast<int64_t>(value.uhVal)
                         : value.vt == VT_UI4 ? value.ulVal
                                              : 0;
    ClearProperty(value);
    return size;
}

bool T7zInArchive::ItemIsDirectory(uint32_t index)
{
    PROPVARIANT value;
    ReadItemProperty(index, kpidIsDir, value);
    const bool isDir = value.vt == VT_BOOL && value.boolVal != 0;
    ClearProperty(value);
    return isDir;
}

int32_t T7zInArchive::ItemOperationResult(uint32_t index)
{
    return index < FOperationResults.size() ? FOperationResults[index] : -1;
}

void T7zInArchive::RunExtract(const uint32_t* indices, uint32_t count, bool test)
{
    TComPtr<IInArchive> handler = GetHandler();
    uint32_t items = 0;
    handler->GetNumberOfItems(&items);
    FOperationResults.assign(items, -1);
    FCallbackError = nullptr;
    FWriteError.clear();
    FWriteErrno = 0;
    // The library trusts the list it is given: an index it does not have
    // makes it read past its tables, and it expects the list in ascending
    // order. So it gets a sorted copy of a list that has been checked.
    std::vector<uint32_t> selected;
    if (count != ALL_ITEMS) {
        if (count != 0 && !indices)
            CheckResult(E_POINTER);
        selected.assign(indices, indices + count);
        std::sort(selected.begin(), selected.end());
        selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
        if (!selected.empty() && selected.back() >= items)
            CheckResult(E_INVALIDARG);
    }
    TComPtr<IArchiveExtractCallback> callback(static_cast<IArchiveExtractCallback*>(this));
    const HRESULT result =
        count == ALL_ITEMS
            ? handler->Extract(nullptr, ALL_ITEMS, test ? 1 : 0, callback.Get())
            : handler->Extract(selected.data(), static_cast<uint32_t>(selected.size()), test ? 1 : 0, callback.Get());
    if (FCallbackError)
        std::rethrow_exception(std::exchange(FCallbackError, nullptr));
    if (!FWriteError.empty())
        throw EVarnholdError(MakeFailure(TFailureKind::fkCannotWriteOutput, FWriteError, FWriteErrno),
                             FormatText("Cannot write file \"%s\". %s", {FWriteError, SystemErrorText(FWriteErrno)}));
    CheckResult(result);
}

void T7zInArchive::ExtractItemToStream(uint32_t index, TStream* stream, bool test)
{
    TResetOnExit<TStream*> target(TargetStream, stream);
    RunExtract(&index, 1, test);
}

void T7zInArchive::ExtractSelected(const uint32_t* indices, uint32_t count, bool test, void* sender,
                                   TArchiveGetStreamProc proc)
{
    TResetOnExit<TArchiveGetStreamProc> getStream(GetStreamProc, proc);
    TResetOnExit<void*> getStreamSender(GetStreamSender, sender);
    RunExtract(indices, count, test);
}

void T7zInArchive::ExtractEverything(bool test, void* sender, TArchiveGetStreamProc proc)
{
    TResetOnExit<TArchiveGetStreamProc> getStream(GetStreamProc, proc);
    TResetOnExit<void*> getStreamSender(GetStreamSender, sender);
    RunExtract(nullptr, ALL_ITEMS, test);
}

void T7zInArchive::ExtractToFolder(const std::string& folder)
{
    RunFolderExtract(nullptr, ALL_ITEMS, folder);
}

void T7zInArchive::ExtractSelectedToFolder(const uint32_t* indices, uint32_t count, const std::string& folder)
{
    RunFolderExtract(indices, count, folder);
}

void T7zInArchive::RunFolderExtract(const uint32_t* indices, uint32_t count, const std::string& folder)
{
    FRefusedPaths.clear();
    FCollisions.clear();
    FCreatedFolders.clear();
    FPending.clear();
    FWritten.assign(ItemCount(), false);
    // An empty folder would put the archive's paths at the root of the file system.
    if (folder.empty())
        CheckResult(E_INVALIDARG);
    TResetOnExit<std::string> target(ExtractFolder, IncludeTrailingPathDelimiter(folder));
    if (!ForceDirectories(folder, FCreatedFolders))
        RaiseCannotCreate(folder, errno);
    try {
        RunExtract(indices, count, false);
    } catch (...) {
        DiscardPendingItems();
        for (const TFolderCollision& collision : FCollisions)
            DeleteFile(collision.TempFile);
        FCollisions.clear();
        throw;
    }
    DiscardPendingItems();
}

void T7zInArchive::CommitFolderItem(uint32_t index)
{
    const auto pending = FPending.find(index);
    if (pending == FPending.end())
        return;
    const TPendingItem item = pending->second;
    FPending.erase(pending);
    if (RenameNoReplace(item.TempFile, item.Target)) {
        if (index < FWritten.size())
            FWritten[index] = true;
    } else if (errno == EEXIST) {
        FCollisions.push_back({index, item.TempFile, item.Target});
    } else {
        const int error = errno;
        DeleteFile(item.TempFile);
        RaiseCannotCreate(item.Target, error);
    }
}

void T7zInArchive::DiscardPendingItems()
{
    for (const auto& [index, item] : FPending)
        DeleteFile(item.TempFile);
    FPending.clear();
}

void T7zInArchive::SetPasswordProvider(void* sender, TArchivePasswordProc proc)
{
    PasswordSender = sender;
    PasswordProc = proc;
}

void T7zInArchive::SetPassword(const std::string& password)
{
    Password = password;
    PasswordKnown = !password.empty();
}

void T7zInArchive::SetProgressSink(void* sender, TArchiveProgressProc proc)
{
    ProgressSender = sender;
    ProgressProc = proc;
}

HRESULT T7zInArchive::ReportProgress(bool isTotal, uint64_t value) noexcept
{
    try {
        return ProgressProc(ProgressSender, isTotal, static_cast<int64_t>(value));
    } catch (...) {
        FCallbackError = std::current_exception();
        return E_ABORT;
    }
}

HRESULT T7zInArchive::SetTotal(uint64_t total) noexcept
{
    return ProgressProc ? ReportProgress(true, total) : S_OK;
}

HRESULT T7zInArchive::SetCompleted(const uint64_t* completeValue) noexcept
{
    return ProgressProc && completeValue ? ReportProgress(false, *completeValue) : S_OK;
}

HRESULT T7zInArchive::GetStream(uint32_t index, ISequentialOutStream** outStream, int32_t askExtractMode) noexcept
{
    if (!outStream)
        return E_POINTER;
    *outStream = nullptr;
    FCurrentIndex = index;
    if (askExtractMode != kExtractModeExtract)
        return S_OK;
    if (TargetStream) {
        try {
            TComPtr<IOutStream> stream(static_cast<IOutStream*>(new T7zStream(TargetStream, soReference)));
            *outStream = stream.Detach();
            return S_OK;
        } catch (...) {
            FCallbackError = std::current_exception();
            return E_ABORT;
        }
    }
    if (GetStreamProc) {
        try {
            return GetStreamProc(GetStreamSender, index, outStream);
        } catch (...) {
            FCallbackError = std::current_exception();
            return E_ABORT;
        }
    }
    if (!ExtractFolder.empty())
        return CreateFolderStream(index, outStream);
    return S_OK;
}

HRESULT T7zInArchive::CreateFolderStream(uint32_t index, ISequentialOutStream** outStream) noexcept
{
    try {
        if (ItemIsDirectory(index))
            return S_OK;
        const std::string itemPath = ItemPath(index);
        // The archive decides the names, not where they land.
        if (itemPath.empty() || PathLeavesFolder(itemPath)) {
            FRefusedPaths.push_back(itemPath);
            return S_OK;
        }
        const std::string target = ExtractFolder + itemPath;
        // A part of the path that is a link or a file is never passed through.
        if (!ForceDirectoriesBelow(ExtractFolder, ExtractFilePath(itemPath), FCreatedFolders))
            RaiseCannotCreate(target, errno);
        PROPVARIANT modified;
        ReadItemProperty(index, kpidMTime, modified);
        std::unique_ptr<TItemFileStream> file;
        std::string tempFile;
        for (unsigned attempt = 0; !file; ++attempt) {
            tempFile = TemporaryNameBeside(target, attempt);
            try {
                file = std::make_unique<TItemFileStream>(tempFile, target, modified, FWriteError, FWriteErrno);
            } catch (const EVarnholdError& error) {
                if (error.Failure().SystemCode != EEXIST || attempt >= 100) {
                    ClearProperty(modified);
                    RaiseCannotCreate(target, error.Failure().SystemCode);
                }
            }
        }
        ClearProperty(modified);
        FPending[index] = {tempFile, target};
        TComPtr<IOutStream> stream(static_cast<IOutStream*>(new T7zStream(file.get(), soOwned)));
        file.release();  // the stream owns the file now
        *outStream = stream.Detach();
        return S_OK;
    } catch (...) {
        FCallbackError = std::current_exception();
        return E_ABORT;
    }
}

HRESULT T7zInArchive::SetOperationResult(int32_t opRes) noexcept
{
    if (FCurrentIndex < FOperationResults.size())
        FOperationResults[FCurrentIndex] = opRes;
    // The library has let go of the item's stream by now, so its file is
    // closed and whole, or it is damaged and goes.
    if (opRes == kOperationOk) {
        try {
            CommitFolderItem(FCurrentIndex);
        } catch (...) {
            FCallbackError = std::current_exception();
            return E_ABORT;
        }
    } else if (const auto pending = FPending.find(FCurrentIndex); pending != FPending.end()) {
        DeleteFile(pending->second.TempFile);
        FPending.erase(pending);
    }
    return S_OK;
}

HRESULT T7zInArchive::CryptoGetTextPassword(BSTR* password) noexcept
{
    if (!password)
        return E_POINTER;
    *password = nullptr;
    try {
        if (PasswordKnown) {
            *password = SysAllocStringProc(Utf8ToWide(Password).c_str());
            return *password ? S_OK : E_OUTOFMEMORY;
        }
        if (!PasswordProc)
            return S_FALSE;
        std::string typed;
        const HRESULT result = PasswordProc(PasswordSender, typed);
        if (result == S_OK) {
            *password = SysAllocStringProc(Utf8ToWide(typed).c_str());
            if (!*password)
                return E_OUTOFMEMORY;
            Password = typed;
            PasswordKnown = true;
        }
        return result;
    } catch (...) {
        FCallbackError = std::current_exception();
        return E_ABORT;
    }
}

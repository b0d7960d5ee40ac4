#pragma once
// The binding to 7-Zip's archive-handler library: loading it, creating its
// format handler, and reading an archive through the interface
// I7zArchiveReader. Every failure is raised as EVarnholdError.

#include "platform/DynamicLibrary.h"
#include "platform/Stream.h"
#include "sevenzip/SevenZipInterfaces.h"

#include <string>
#include <vector>

// {23170F69-40C1-278A-1000-000110070000}: the 7z format.
constexpr GUID Format7zClassId = {0x23170F69, 0x40C1, 0x278A, {0x10, 0x00, 0x00, 0x01, 0x10, 0x07, 0x00, 0x00}};

using TArchiveProgressProc = HRESULT (*)(void* sender, bool isTotal, int64_t value);
using TArchivePasswordProc = HRESULT (*)(void* sender, std::string& password);
using TArchiveGetStreamProc = HRESULT (*)(void* sender, uint32_t index, ISequentialOutStream** stream);

// How an extraction into a folder works: each item is written under a
// temporary name in its target's folder and gets its own name only once the
// library has reported it complete and OK, and only when nothing is at that
// name by then. So a damaged or unfinished item never stands under its name,
// nothing that was at the name is ever replaced, and nothing is written
// through a link. Whatever way the call ends, no temporary file of it stays
// behind but those of the collisions it hands back.
struct TFolderCollision {
    uint32_t Index = 0;
    std::string TempFile;  // the item's complete data
    std::string Target;    // the name it could not take
};

// {022CF785-3ECE-46EF-9755-291FA84CC6C9}
constexpr GUID IID_I7zArchiveReader = {0x022CF785, 0x3ECE, 0x46EF, {0x97, 0x55, 0x29, 0x1F, 0xA8, 0x4C, 0xC6, 0xC9}};

struct I7zArchiveReader : IUnknown {
    virtual void OpenFromFile(const std::string& fileName) = 0;
    virtual void OpenFromStream(IInStream* stream) = 0;
    virtual void Close() = 0;
    virtual uint32_t ItemCount() = 0;
    virtual std::string ItemPath(uint32_t index) = 0;
    virtual std::string ItemName(uint32_t index) = 0;
    virtual int64_t ItemSize(uint32_t index) = 0;
    virtual bool ItemIsDirectory(uint32_t index) = 0;
    virtual TComPtr<IInArchive> GetHandler() = 0;
    virtual void ExtractItemToStream(uint32_t index, TStream* stream, bool test) = 0;
    virtual void ExtractSelected(const uint32_t* indices, uint32_t count, bool test, void* sender,
                                 TArchiveGetStreamProc proc) = 0;
    virtual void ExtractEverything(bool test, void* sender, TArchiveGetStreamProc proc) = 0;
    virtual void ExtractToFolder(const std::string& folder) = 0;
    virtual void SetPasswordProvider(void* sender, TArchivePasswordProc proc) = 0;
    virtual void SetPassword(const std::string& password) = 0;
    virtual void SetProgressSink(void* sender, TArchiveProgressProc proc) = 0;
    virtual void SetFormatId(const GUID& classId) = 0;
    virtual GUID GetFormatId() = 0;
    // What the library reported for the item through SetOperationResult in
    // the last extraction call (0 OK, 1 unsupported method, 2 data error,
    // 3 CRC error, ... 9 wrong password), or -1 when it reported nothing.
    virtual int32_t ItemOperationResult(uint32_t index) = 0;
    // Item paths that the last ExtractToFolder refused because they would
    // have led outside its folder.
    virtual std::vector<std::string> RefusedPaths() = 0;
    // ExtractToFolder for the listed items only.
    virtual void ExtractSelectedToFolder(const uint32_t* indices, uint32_t count, const std::string& folder) = 0;
    // Items of the last extraction into a folder that were complete and OK
    // but whose name something else took meanwhile. Their data waits in the
    // temporary file beside the target for the caller to place or delete.
    virtual std::vector<TFolderCollision> Collisions() = 0;
    // The folders the last extraction into a folder created, parents first.
    virtual std::vector<std::string> CreatedFolders() = 0;
    // True when the last extraction into a folder gave the item its name.
    virtual bool ItemWritten(uint32_t index) = 0;
};

// The library's text for a result code: the system's words, without trailing
// blanks and full stops; empty for a code with no text.
std::string SystemResultText(HRESULT code);
// Raises EVarnholdError with SystemResultText for every code but 0.
void CheckResult(HRESULT code);

// Loads the library at `libraryPath` and returns a reader for the format;
// the caller holds the only reference, and releasing it unloads the library.
TComPtr<I7zArchiveReader> CreateArchiveReader(const GUID& classId, const std::string& libraryPath);

// --- The classes behind the reader -------------------------------------------

using TCreateObjectFunc = HRESULT (*)(const GUID* classId, const GUID* iid, void** object);
using TSysAllocStringFunc = BSTR (*)(const wchar_t* text);
using TSysFreeStringFunc = void (*)(BSTR text);

// A loaded library with its "CreateObject" export.
class T7zPlugin : public TInterfacedObject {
public:
    explicit T7zPlugin(const std::string& libraryPath);
    void CreateLibraryObject(const GUID& classId, const GUID& iid, void** object);

protected:
    ~T7zPlugin() override;
    TModuleHandle LibraryHandle = nullptr;
    TCreateObjectFunc CreateObjectProc = nullptr;
    TSysAllocStringFunc SysAllocStringProc = nullptr;
    TSysFreeStringFunc SysFreeStringProc = nullptr;
};

// A library that also offers format handlers.
class T7zArchive : public T7zPlugin {
public:
    explicit T7zArchive(const std::string& libraryPath);

protected:
    void* GetHandlerPropertyProc = nullptr;
    GUID FormatId{};
};

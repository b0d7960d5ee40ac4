// Loading the library and checking what it is.
#include "sevenzip/InArchive.h"

#include "platform/Error.h"
#include "platform/SystemText.h"

#include <cstring>

namespace {

struct TResultText {
    HRESULT Code;
    const char* Text;
};

// The standard codes in the words Windows uses for them.
const TResultText STANDARD_TEXTS[] = {
    {S_FALSE, "Incorrect function."},
    {E_NOTIMPL, "Not implemented"},
    {E_NOINTERFACE, "No such interface supported"},
    {E_POINTER, "Invalid pointer"},
    {E_ABORT, "Operation aborted"},
    {E_FAIL, "Unspecified error"},
    {E_OUTOFMEMORY, "Not enough memory resources are available to complete this operation."},
    {E_INVALIDARG, "The parameter is incorrect."},
    // What CreateObject answers for a format the library does not have.
    {CLASS_E_CLASSNOTAVAILABLE, "ClassFactory cannot supply requested class"},
};

}  // namespace

std::string SystemResultText(HRESULT code)
{
    // Where the system has a table of result texts, its words come first.
    if (std::string text = SystemResultMessage(static_cast<uint32_t>(code)); !text.empty())
        return text;
    for (const TResultText& entry : STANDARD_TEXTS) {
        if (entry.Code == code)
            return TrimTrailingBlanksAndStops(entry.Text);
    }
    // The library reports a system error e as 0x8007xxxx with xxxx = e.
    const uint32_t value = static_cast<uint32_t>(code);
    if ((value & 0xFFFF0000u) == 0x80070000u) {
        const int error = static_cast<int>(value & 0xFFFF);
        const std::string text = SystemErrorText(error);
        if (text.rfind("Unknown error", 0) != 0)
            return text;
    }
    return std::string();
}

void CheckResult(HRESULT code)
{
    if (code == S_OK)
        return;
    const uint32_t value = static_cast<uint32_t>(code);
    TFailure failure;
    if ((value & 0xFFFF0000u) == 0x80070000u)
        failure = MakeFailure(TFailureKind::fkUnexpected, std::string(), static_cast<int>(value & 0xFFFF));
    failure.Kind = TFailureKind::fkUnexpected;
    failure.ResultCode = value;
    throw EVarnholdError(failure, SystemResultText(code));
}

T7zPlugin::T7zPlugin(const std::string& libraryPath)
{
    LibraryHandle = LoadModule(libraryPath);
    if (!LibraryHandle)
        throw EVarnholdError(FormatText("Error loading library %s", {libraryPath}));
    CreateObjectProc = reinterpret_cast<TCreateObjectFunc>(GetModuleSymbol(LibraryHandle, "CreateObject"));
    SysAllocStringProc = reinterpret_cast<TSysAllocStringFunc>(GetStringAllocatorSymbol(LibraryHandle, "SysAllocString"));
    SysFreeStringProc = reinterpret_cast<TSysFreeStringFunc>(GetStringAllocatorSymbol(LibraryHandle, "SysFreeString"));
    if (!CreateObjectProc) {
        FreeModule(std::exchange(LibraryHandle, nullptr));
        throw EVarnholdError(FormatText("%s is not a 7z library", {libraryPath}));
    }
}

T7zPlugin::~T7zPlugin()
{
    FreeModule(LibraryHandle);
}

void T7zPlugin::CreateLibraryObject(const GUID& classId, const GUID& iid, void** object)
{
    const HRESULT result = CreateObjectProc(&classId, &iid, object);
    if (result < 0)
        throw EVarnholdError(SystemResultText(result));
}

T7zArchive::T7zArchive(const std::string& libraryPath) : T7zPlugin(libraryPath)
{
    // The strings the library hands over are its own; without its allocator
    // no string can cross safely, so such a library is not usable either.
    GetHandlerPropertyProc = GetModuleSymbol(LibraryHandle, "GetHandlerProperty");
    if (!GetHandlerPropertyProc || !SysAllocStringProc || !SysFreeStringProc)
        throw EVarnholdError(FormatText("%s is not a Format library", {libraryPath}));
    std::memset(&FormatId, 0, sizeof FormatId);
}

TComPtr<I7zArchiveReader> CreateArchiveReader(const GUID& classId, const std::string& libraryPath)
{
    TComPtr<I7zArchiveReader> reader(static_cast<I7zArchiveReader*>(new T7zInArchive(libraryPath)));
    reader->SetFormatId(classId);
    return reader;
}

#include "sevenzip/SevenZipStream.h"

#include "platform/PauseGate.h"

T7zStream::~T7zStream()
{
    if (Ownership == soOwned)
        delete Stream;
}

HRESULT T7zStream::QueryInterface(const GUID& iid, void** object) noexcept
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_ISequentialInStream || iid == IID_IInStream)
        *object = static_cast<IInStream*>(this);
    else if (iid == IID_ISequentialOutStream || iid == IID_IOutStream)
        *object = static_cast<IOutStream*>(this);
    else if (iid == IID_IStreamGetSize)
        *object = static_cast<IStreamGetSize*>(this);
    else if (iid == IID_IOutStreamFlush)
        *object = static_cast<IOutStreamFlush*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

namespace {

// One read or write of the wrapped stream with the library's byte count.
// No exception may cross into the library: every method answers with a code.
template <class TTransfer>
HRESULT Transfer(uint32_t* processedSize, TTransfer transfer) noexcept
{
    if (processedSize)
        *processedSize = 0;
    try {
        PausePoint();
        const int64_t done = transfer();
        if (processedSize)
            *processedSize = done > 0 ? static_cast<uint32_t>(done) : 0;
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

}  // namespace

HRESULT T7zStream::Read(void* data, uint32_t size, uint32_t* processedSize) noexcept
{
    return Transfer(processedSize, [&] { return Stream->Read(data, size); });
}

HRESULT T7zStream::Write(const void* data, uint32_t size, uint32_t* processedSize) noexcept
{
    return Transfer(processedSize, [&] { return Stream->Write(data, size); });
}

HRESULT T7zStream::Seek(int64_t offset, uint32_t seekOrigin, uint64_t* newPosition) noexcept
{
    if (seekOrigin > static_cast<uint32_t>(soEnd))
        return STG_E_INVALIDFUNCTION;
    try {
        // A failed seek must not pass for a position the library would then trust.
        const int64_t position = Stream->Seek(offset, static_cast<TSeekOrigin>(seekOrigin));
        if (position < 0)
            return E_FAIL;
        if (newPosition)
            *newPosition = static_cast<uint64_t>(position);
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT T7zStream::SetSize(uint64_t newSize) noexcept
{
    try {
        Stream->SetSize(static_cast<int64_t>(newSize));
    } catch (...) {
        // The size shows in later byte counts; no error crosses into the library.
    }
    return S_OK;
}

HRESULT T7zStream::GetSize(uint64_t* size) noexcept
{
    if (!size)
        return E_POINTER;
    try {
        const int64_t bytes = Stream->Size();
        if (bytes < 0)
            return E_FAIL;
        *size = static_cast<uint64_t>(bytes);
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

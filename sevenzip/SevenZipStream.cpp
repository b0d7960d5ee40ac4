#include "sevenzip/SevenZipStream.h"

#include "platform/PauseGate.h"

T7zStream::~T7zStream()
{
    if (Ownership == soOwned)
        delete Stream;
}

HRESULT T7zStream::QueryInterface(const GUID& iid, void** object)
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

HRESULT T7zStream::Read(void* data, uint32_t size, uint32_t* processedSize)
{
    PausePoint();
    const int64_t done = Stream->Read(data, size);
    if (processedSize)
        *processedSize = done > 0 ? static_cast<uint32_t>(done) : 0;
    return S_OK;
}

HRESULT T7zStream::Write(const void* data, uint32_t size, uint32_t* processedSize)
{
    PausePoint();
    const int64_t done = Stream->Write(data, size);
    if (processedSize)
        *processedSize = done > 0 ? static_cast<uint32_t>(done) : 0;
    return S_OK;
}

HRESULT T7zStream::Seek(int64_t offset, uint32_t seekOrigin, uint64_t* newPosition)
{
    Stream->Seek(offset, static_cast<TSeekOrigin>(seekOrigin & 0xFF));
    if (newPosition)
        *newPosition = static_cast<uint64_t>(Stream->Position());
    return S_OK;
}

HRESULT T7zStream::SetSize(uint64_t newSize)
{
    try {
        Stream->SetSize(static_cast<int64_t>(newSize));
    } catch (...) {
        // The size shows in later byte counts; no error crosses into the library.
    }
    return S_OK;
}

HRESULT T7zStream::GetSize(uint64_t* size)
{
    if (size)
        *size = static_cast<uint64_t>(Stream->Size());
    return S_OK;
}

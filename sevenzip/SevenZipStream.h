#pragma once
// T7zStream lets the library read and write one of our own streams through
// its six stream interfaces. Every method answers S_OK; a failure of the
// wrapped stream shows only in the byte counts.

#include "platform/Stream.h"
#include "sevenzip/SevenZipInterfaces.h"

enum TStreamOwnership { soReference = 0, soOwned = 1 };

class T7zStream final : public TInterfacedObject,
                        public IInStream,
                        public IOutStream,
                        public IStreamGetSize,
                        public IOutStreamFlush {
public:
    T7zStream(TStream* stream, TStreamOwnership ownership) : Stream(stream), Ownership(ownership) {}

    HRESULT QueryInterface(const GUID& iid, void** object) noexcept override;
    uint32_t AddRef() noexcept override { return DoAddRef(); }
    uint32_t Release() noexcept override { return DoRelease(); }

    HRESULT Read(void* data, uint32_t size, uint32_t* processedSize) noexcept override;
    HRESULT Write(const void* data, uint32_t size, uint32_t* processedSize) noexcept override;
    HRESULT Seek(int64_t offset, uint32_t seekOrigin, uint64_t* newPosition) noexcept override;
    HRESULT SetSize(uint64_t newSize) noexcept override;
    HRESULT GetSize(uint64_t* size) noexcept override;
    HRESULT Flush() noexcept override { return S_OK; }

    TStream* const Stream;
    const TStreamOwnership Ownership;

private:
    ~T7zStream() override;
};

#pragma once
// The archive-handler library's interfaces that the binding calls or answers,
// with their methods in vtable order.

#include "sevenzip/ComBase.h"

struct ISequentialInStream : IUnknown {
    virtual HRESULT Read(void* data, uint32_t size, uint32_t* processedSize) noexcept = 0;
};
struct ISequentialOutStream : IUnknown {
    virtual HRESULT Write(const void* data, uint32_t size, uint32_t* processedSize) noexcept = 0;
};
struct IInStream : ISequentialInStream {
    virtual HRESULT Seek(int64_t offset, uint32_t seekOrigin, uint64_t* newPosition) noexcept = 0;
};
struct IOutStream : ISequentialOutStream {
    virtual HRESULT Seek(int64_t offset, uint32_t seekOrigin, uint64_t* newPosition) noexcept = 0;
    virtual HRESULT SetSize(uint64_t newSize) noexcept = 0;
};
struct IStreamGetSize : IUnknown {
    virtual HRESULT GetSize(uint64_t* size) noexcept = 0;
};
struct IOutStreamFlush : IUnknown {
    virtual HRESULT Flush() noexcept = 0;
};

struct IProgress : IUnknown {
    virtual HRESULT SetTotal(uint64_t total) noexcept = 0;
    virtual HRESULT SetCompleted(const uint64_t* completeValue) noexcept = 0;
};
struct IArchiveOpenCallback : IUnknown {
    virtual HRESULT SetTotal(const uint64_t* files, const uint64_t* bytes) noexcept = 0;
    virtual HRESULT SetCompleted(const uint64_t* files, const uint64_t* bytes) noexcept = 0;
};
struct IArchiveExtractCallback : IProgress {
    virtual HRESULT GetStream(uint32_t index, ISequentialOutStream** outStream, int32_t askExtractMode) noexcept = 0;
    virtual HRESULT PrepareOperation(int32_t askExtractMode) noexcept = 0;
    virtual HRESULT SetOperationResult(int32_t opRes) noexcept = 0;
};
struct ICryptoGetTextPassword : IUnknown {
    virtual HRESULT CryptoGetTextPassword(BSTR* password) noexcept = 0;
};
struct IArchiveOpenVolumeCallback : IUnknown {
    virtual HRESULT GetProperty(PROPID propID, PROPVARIANT* value) noexcept = 0;
    virtual HRESULT GetStream(const wchar_t* name, IInStream** inStream) noexcept = 0;
};
struct IArchiveOpenSetSubArchiveName : IUnknown {
    virtual HRESULT SetSubArchiveName(const wchar_t* name) noexcept = 0;
};

struct IInArchive : IUnknown {
    virtual HRESULT Open(IInStream* stream, const uint64_t* maxCheckStartPosition, IArchiveOpenCallback* openCallback) noexcept = 0;
    virtual HRESULT Close() noexcept = 0;
    virtual HRESULT GetNumberOfItems(uint32_t* numItems) noexcept = 0;
    virtual HRESULT GetProperty(uint32_t index, PROPID propID, PROPVARIANT* value) noexcept = 0;
    virtual HRESULT Extract(const uint32_t* indices, uint32_t numItems, int32_t testMode,
                            IArchiveExtractCallback* extractCallback) noexcept = 0;
    virtual HRESULT GetArchiveProperty(PROPID propID, PROPVARIANT* value) noexcept = 0;
    virtual HRESULT GetNumberOfProperties(uint32_t* numProps) noexcept = 0;
    virtual HRESULT GetPropertyInfo(uint32_t index, BSTR* name, PROPID* propID, VARTYPE* varType) noexcept = 0;
    virtual HRESULT GetNumberOfArchiveProperties(uint32_t* numProps) noexcept = 0;
    virtual HRESULT GetArchivePropertyInfo(uint32_t index, BSTR* name, PROPID* propID, VARTYPE* varType) noexcept = 0;
};

constexpr GUID IID_ISequentialInStream = SevenZipIid(0x03, 0x01);
constexpr GUID IID_ISequentialOutStream = SevenZipIid(0x03, 0x02);
constexpr GUID IID_IInStream = SevenZipIid(0x03, 0x03);
constexpr GUID IID_IOutStream = SevenZipIid(0x03, 0x04);
constexpr GUID IID_IStreamGetSize = SevenZipIid(0x03, 0x06);
constexpr GUID IID_IOutStreamFlush = SevenZipIid(0x03, 0x07);
constexpr GUID IID_IProgress = SevenZipIid(0x00, 0x05);
constexpr GUID IID_ICryptoGetTextPassword = SevenZipIid(0x05, 0x10);
constexpr GUID IID_IArchiveOpenCallback = SevenZipIid(0x06, 0x10);
constexpr GUID IID_IArchiveExtractCallback = SevenZipIid(0x06, 0x20);
constexpr GUID IID_IArchiveOpenVolumeCallback = SevenZipIid(0x06, 0x30);
constexpr GUID IID_IArchiveOpenSetSubArchiveName = SevenZipIid(0x06, 0x50);
constexpr GUID IID_IInArchive = SevenZipIid(0x06, 0x60);

// Item properties.
constexpr PROPID kpidPath = 3;
constexpr PROPID kpidName = 4;
constexpr PROPID kpidIsDir = 6;
constexpr PROPID kpidSize = 7;
constexpr PROPID kpidMTime = 12;

// Ask modes and operation results of IArchiveExtractCallback.
constexpr int32_t kExtractModeExtract = 0;
constexpr int32_t kOperationOk = 0;  // SetOperationResult: the item is complete and its check passed

#pragma once
// The object model the archive-handler library speaks: 16-byte interface IDs,
// reference-counted objects whose vtables begin with QueryInterface, AddRef
// and Release, 32-bit result codes. IUnknown has no virtual destructor. On
// Linux wchar_t is 4 bytes and the library allocates and frees every BSTR
// itself (SysAllocString / SysFreeString exported next to CreateObject); on
// Windows wchar_t is 2 bytes and BSTRs come from OLEAUT32. This header must
// not meet windows.h, which has its own HRESULT, GUID and IUnknown.

#include <atomic>
#include <cstdint>
#include <cstring>
#include <utility>

using HRESULT = int32_t;
using PROPID = uint32_t;
using VARTYPE = uint16_t;
using BSTR = wchar_t*;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111);
constexpr HRESULT STG_E_INVALIDFUNCTION = static_cast<HRESULT>(0x80030001);

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
static_assert(sizeof(GUID) == 16);

inline bool operator==(const GUID& a, const GUID& b)
{
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

// The 7-Zip interface IDs all have the form {23170F69-40C1-278A-0000-00gg00ii0000}.
constexpr GUID SevenZipIid(uint8_t group, uint8_t id)
{
    return GUID{0x23170F69, 0x40C1, 0x278A, {0x00, 0x00, 0x00, group, 0x00, id, 0x00, 0x00}};
}

struct IUnknown {
    virtual HRESULT QueryInterface(const GUID& iid, void** object) noexcept = 0;
    virtual uint32_t AddRef() noexcept = 0;
    virtual uint32_t Release() noexcept = 0;
};
constexpr GUID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Holds one reference; nobody outside calls Release by hand.
template <class T>
class TComPtr {
public:
    TComPtr() = default;
    TComPtr(T* object) : FObject(object)  // takes a new reference
    {
        if (FObject)
            FObject->AddRef();
    }
    TComPtr(const TComPtr& other) : TComPtr(other.FObject) {}
    TComPtr(TComPtr&& other) noexcept : FObject(std::exchange(other.FObject, nullptr)) {}
    ~TComPtr() { Reset(); }
    TComPtr& operator=(TComPtr other) noexcept
    {
        std::swap(FObject, other.FObject);
        return *this;
    }

    T* Get() const { return FObject; }
    T* operator->() const { return FObject; }
    explicit operator bool() const { return FObject != nullptr; }
    void Reset()
    {
        if (T* object = std::exchange(FObject, nullptr))
            object->Release();
    }
    // For out parameters that hand over a reference already counted.
    T** Put()
    {
        Reset();
        return &FObject;
    }
    // Hands the reference to the caller (for out parameters of our own).
    T* Detach() { return std::exchange(FObject, nullptr); }
    // Takes over a reference that is already counted, without adding one.
    void Attach(T* object)
    {
        Reset();
        FObject = object;
    }

private:
    T* FObject = nullptr;
};

// The shared count of a binding object; the last Release destroys it.
class TInterfacedObject {
public:
    TInterfacedObject() = default;
    TInterfacedObject(const TInterfacedObject&) = delete;
    TInterfacedObject& operator=(const TInterfacedObject&) = delete;

protected:
    virtual ~TInterfacedObject() = default;
    uint32_t DoAddRef() { return FRefCount.fetch_add(1) + 1; }
    uint32_t DoRelease()
    {
        const uint32_t count = FRefCount.fetch_sub(1) - 1;
        if (count == 0)
            delete this;
        return count;
    }

private:
    std::atomic<uint32_t> FRefCount{0};
};

// PROPVARIANT as the library fills it: 16 bytes; 24 on 64-bit Windows, whose
// own PROPVARIANT holds two-pointer values too, and the library copies whole
// values.
enum : VARTYPE { VT_EMPTY = 0, VT_BSTR = 8, VT_BOOL = 11, VT_UI4 = 19, VT_UI8 = 21, VT_FILETIME = 64 };

struct FILETIME {
    uint32_t dwLowDateTime;
    uint32_t dwHighDateTime;
};

struct PROPVARIANT {
    VARTYPE vt;
    uint16_t wReserved1, wReserved2, wReserved3;
    union {
        int16_t boolVal;
        uint32_t ulVal;
        uint64_t uhVal;
        BSTR bstrVal;
        FILETIME filetime;
#ifdef _WIN32
        struct {
            uint32_t Size;
            void* Data;
        } blob;
#endif
    };
};
static_assert(sizeof(PROPVARIANT) == (sizeof(void*) == 8 && sizeof(wchar_t) == 2 ? 24 : 16));

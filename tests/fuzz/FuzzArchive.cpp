// libFuzzer target: opening and listing an archive through the binding and
// the real library, then a test-mode extraction, on arbitrary bytes.
#include "platform/Error.h"
#include "platform/Stream.h"
#include "sevenzip/SevenZip.h"
#include "sevenzip/SevenZipStream.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The fuzzer's bytes as a read-only stream.
class TByteStream final : public TStream {
public:
    TByteStream(const uint8_t* data, size_t size) : FBytes(data, data + size) {}
    int64_t Read(void* buffer, int64_t count) override
    {
        const int64_t n = std::max<int64_t>(0, std::min<int64_t>(count, Size() - FPosition));
        if (n > 0)
            std::memcpy(buffer, FBytes.data() + FPosition, static_cast<size_t>(n));
        FPosition += n;
        return n;
    }
    int64_t Write(const void*, int64_t) override { return 0; }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override
    {
        const int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : Size();
        if (base + offset < 0)
            return -1;
        FPosition = base + offset;
        return FPosition;
    }
    int64_t Size() override { return static_cast<int64_t>(FBytes.size()); }
    void SetSize(int64_t) override {}

private:
    std::vector<uint8_t> FBytes;
    int64_t FPosition = 0;
};

HRESULT GiveNoStream(void*, uint32_t, ISequentialOutStream** stream)
{
    *stream = nullptr;
    return S_OK;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string library = [] {
        const char* path = std::getenv("VARNHOLD_FUZZ_LIBRARY");
        return std::string(path ? path : VARNHOLD_7Z_LIBRARY);
    }();
    try {
        TComPtr<I7zArchiveReader> reader = CreateArchiveReader(Format7zClassId, library);
        TComPtr<IInStream> stream(static_cast<IInStream*>(new T7zStream(new TByteStream(data, size), soOwned)));
        reader->OpenFromStream(stream.Get());
        reader->SetPassword("fuzz");
        const uint32_t count = std::min<uint32_t>(reader->ItemCount(), 1000);
        for (uint32_t i = 0; i < count; ++i) {
            reader->ItemPath(i);
            reader->ItemSize(i);
            reader->ItemIsDirectory(i);
        }
        reader->ExtractEverything(true, nullptr, GiveNoStream);
    } catch (const EVarnholdError&) {
        // Refusing bad input with an error is the expected outcome.
    }
    return 0;
}

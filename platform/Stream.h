#pragma once
// A seekable byte stream: the program's own stream object, which the archive
// binding wraps for the library and the engine reads and writes directly.

#include <cstdint>

enum TSeekOrigin : uint8_t { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream {
public:
    virtual ~TStream() = default;
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    // Up to `count` bytes; the number moved, 0 at the end or on a failure.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // The new position, or -1 when the stream cannot move there.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual int64_t Size() = 0;
    // Cuts or extends the stream; the position moves to the new size.
    virtual void SetSize(int64_t newSize) = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    // Exactly `count` bytes or an error.
    virtual void ReadBuffer(void* buffer, int64_t count);
    virtual void WriteBuffer(const void* buffer, int64_t count);
};

#pragma once
// A file as a seekable byte stream. Opening failures raise
// "Cannot open file "%s". %s" or "Cannot create file "%s". %s" with the full
// path and the system's text for the error.

#include "platform/Stream.h"

#include <string>

enum class TFileMode {
    fmOpenRead,       // existing file, read only
    fmOpenReadWrite,  // existing file, read and write
    fmCreate,         // created, or emptied when it exists; read and write
    fmCreateNew,      // created; fails when anything (a link included) is at the name
};

class TFileStream : public TStream {
public:
    TFileStream(const std::string& fileName, TFileMode mode);
    ~TFileStream() override;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override;
    void SetSize(int64_t newSize) override;
    void ReadBuffer(void* buffer, int64_t count) override;
    void WriteBuffer(const void* buffer, int64_t count) override;

    const std::string& FileName() const { return FFileName; }
    // The open file: a file descriptor, or a Windows HANDLE.
    intptr_t Handle() const { return FHandle; }
    // The system's error code (errno; a Win32 code on Windows) of the last
    // read or write that failed, or the code for a full disk when a write
    // moved nothing without one; 0 while none failed.
    int LastError() const { return FLastError; }
    // Sets the file's modification time from a FILETIME count (100 ns since
    // 1601); false when the system refused or the time is before 1970.
    bool SetModificationTime(uint64_t fileTime);
    // Closes the file now and reports a failure to flush it (a full disk on
    // some file systems shows only here).
    void Close();

private:
    std::string FFileName;
    intptr_t FHandle = -1;  // a file descriptor, or a Windows HANDLE
    int FLastError = 0;
};

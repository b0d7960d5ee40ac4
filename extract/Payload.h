#pragma once
// The payload of a protected executable: a 7z archive behind a program stub
// of fixed size, copied out into "tmp.dat" in the main work folder.

#include <cstdint>
#include <functional>
#include <string>

constexpr int64_t PAYLOAD_OFFSET = 774144;  // 0xBD000, the stub's size
constexpr int64_t COPY_CHUNK_SIZE = 61440;  // 0xF000, the largest block moved

// Copies every byte of `exeFile` from PAYLOAD_OFFSET to its end into
// workDir + "tmp.dat" and stores that path in `payloadFile` first. The blocks
// go through the kernel where it can copy between the two files, else
// through one buffer of at most COPY_CHUNK_SIZE bytes.
// Publishes g_nTotalSize and g_nCurrentSize, calls `showTotalSize` once the
// length is known, looks at g_bCancel after every block (and waits at the
// worker's pause gate there), and sets g_bStageDone at the end.
// Raises EVarnholdError when a file cannot be opened, read or written, and
// when the executable is shorter than the stub (not a protected executable).
void CopyPayload(const std::string& exeFile, const std::string& workDir, std::string& payloadFile,
                 const std::function<void()>& showTotalSize);

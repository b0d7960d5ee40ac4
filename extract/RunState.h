#pragma once
// The state one run shares between the UI thread and the extraction worker.
// Every value that both threads touch while the worker runs is a lock-free
// atomic, read and written whole. Flags are 32-bit words: 0 clear, all bits
// set for set; a reader tests for non-zero.

#include "lang/LangText.h"  // g_sLangFile, kept with the catalogue reader

#include <atomic>
#include <cstdint>
#include <string>

using TFlag = std::atomic<int32_t>;
constexpr int32_t FLAG_CLEAR = 0;
constexpr int32_t FLAG_SET = -1;  // all bits set

inline bool IsSet(const TFlag& flag) { return flag.load() != 0; }
inline void SetFlag(TFlag& flag, bool set) { flag.store(set ? FLAG_SET : FLAG_CLEAR); }

static_assert(std::atomic<int32_t>::is_always_lock_free);
static_assert(std::atomic<int64_t>::is_always_lock_free);

// Texts written once by the UI thread before the worker starts, then only read.
// g_sLangFile, the catalogue written into it, is declared with the catalogue
// reader (lang/LangText.h).
extern std::string g_sWorkDir;  // the main work folder, ending in "/"

extern TFlag g_bCancel;         // the run is being cancelled
extern TFlag g_bExtracting;     // the extraction or placement stage has begun
extern TFlag g_bStageDone;      // between stages: the figures stand still
extern TFlag g_bExtractToTemp;  // extracting into the staging folder
extern TFlag g_bPlacing;        // the placement stage runs

extern std::atomic<int64_t> g_nTotalSize;    // bytes to do in the running stage
extern std::atomic<int64_t> g_nCurrentSize;  // bytes done in the running stage
extern std::atomic<int32_t> g_nFileCount;    // file items, the marker included
extern std::atomic<int32_t> g_nFilesPlaced;  // files handled by placement

// What the front end collects for the worker. Written before the worker is
// started; afterwards only the worker touches PayloadFile.
struct TRunSettings {
    int32_t ElapsedSeconds = 0;
    std::string DllFile;
    std::string PayloadFile;
    std::string OutputDir;
    std::string PasswordText;
    std::string ExeFile;
};

// Puts every process-wide value back to its start value (one run per process
// in the programs; the tests make many).
void ResetRunState();

#pragma once
// The extraction worker: one run on its own thread, from the protected
// executable to files in the output folder. It reaches the user interface
// only through IWorkerUi and ends by posting WM_EXTRACT_DONE:
//   (1, 0) done, or stopped by a cancel;  (0, 1) the output folder cannot be
//   created;  (0, 2) wrong password;  (0, 3) an error ended the run, its text
//   in ErrorText().

#include "extract/OverwriteChoice.h"
#include "extract/RunState.h"
#include "extract/UiBridge.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct I7zArchiveReader;

class TThreaEncryptFile {
public:
    // Created suspended: nothing happens before Resume.
    TThreaEncryptFile(TRunSettings& settings, IWorkerUi& ui);
    // Waits for the thread to end.
    ~TThreaEncryptFile();
    TThreaEncryptFile(const TThreaEncryptFile&) = delete;
    TThreaEncryptFile& operator=(const TThreaEncryptFile&) = delete;

    void Resume();
    void WaitFor();
    // The text of the error that ended the run with (0, 3); empty otherwise.
    std::string ErrorText() const;

    using TOutcome = std::pair<uintptr_t, intptr_t>;  // wParam, lParam

protected:
    void Execute();

private:
    TOutcome Run();
    TOutcome RunWithReader(I7zArchiveReader& reader, const std::string& out);
    bool PasswordTestFails(I7zArchiveReader& reader, uint32_t count, int64_t total);
    void ExtractDirect(I7zArchiveReader& reader, uint32_t count, const std::string& out);
    void PlaceFiles(I7zArchiveReader& reader, uint32_t count, const std::string& out, const std::string& staging);
    bool PlaceConflict(const std::string& src, const std::string& dest);
    void ShowTotalSize();
    void AskOverWrite();
    void SetErrorText(const std::string& text);

    friend int32_t OnArchivePassword(void* sender, std::string& password);

    // Fields the overwrite question hands over.
    std::string FExistsFile;
    std::string FNewFile;
    int32_t FOverWriteMode = ocYes;

    TRunSettings& FSettings;
    IWorkerUi& FUi;
    std::thread FThread;
    mutable std::mutex FErrorMutex;
    std::string FErrorText;
    std::vector<std::string> FNotPlaced;  // destinations whose copy failed
};

// Callbacks the archive binding calls on the worker's thread.
int32_t OnArchiveProgress(void* sender, bool isTotal, int64_t value);
int32_t OnArchivePassword(void* sender, std::string& password);

// The password test on the marker item: extracted into `trialFile` (removed
// again), it passes only when the library reports no error and the bytes
// match its declared size; a marker of size 0 decides nothing.
enum TMarkerVerdict { mvPassed, mvWrongPassword, mvUndecided };
TMarkerVerdict TestMarker(I7zArchiveReader& reader, uint32_t index, const std::string& trialFile);

// "report.txt" -> "report(1).txt", or the first free number after it.
std::string GetRenameName(const std::string& path);
// The file-name part of a path without its extension ("data.tar.gz" -> "data.tar").
std::string ExtractFileNameNoExt(const std::string& path);

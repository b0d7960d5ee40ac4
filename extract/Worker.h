#pragma once
// The extraction worker: one run on its own thread, from the protected
// executable to files in the output folder. It reaches the user interface
// only through IWorkerUi and ends by posting WM_EXTRACT_DONE:
//   (1, 0) done, or stopped by a cancel (Cancelled() tells which);  (0, 1)
//   the output folder cannot be created;  (0, 2) wrong password;  (0, 3) a
//   failure ended the run, described by Failure().
//
// What the user had is never lost: every file is written under a temporary
// name and takes its own name only when it is complete and OK, without
// replacing anything unless the user's answer says so; a run removes only
// what it created itself.

#include "extract/OverwriteChoice.h"
#include "extract/RunState.h"
#include "extract/UiBridge.h"
#include "platform/Failure.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct I7zArchiveReader;

enum TMarkerVerdict { mvPassed, mvWrongPassword, mvUndecided };

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
    // The text of the error that ended the run with (0, 3), for diagnostics;
    // empty otherwise.
    std::string ErrorText() const;
    // What ended the run with (0, 3); kind fkNone otherwise.
    TFailure Failure() const;
    // True when the run stopped at a cancel before its work was done.
    bool Cancelled() const { return FCancelled.load(); }

    using TOutcome = TExtractOutcome;

    // The run's controls, for the UI thread. A cancel also ends a pause, so
    // a paused run stops at once.
    void Cancel();
    void Pause();
    void Continue();

protected:
    void Execute();

private:
    struct TSurvey;

    TOutcome Run();
    TOutcome RunWithReader(I7zArchiveReader& reader, const std::string& out);
    TOutcome Ended(const TFailure& failure);
    TOutcome Stopped();
    std::string ChoosePayloadFolder(std::string& workFolderToRemove);
    TSurvey Survey(I7zArchiveReader& reader, const std::string& out);
    TMarkerVerdict TestPassword(I7zArchiveReader& reader, const TSurvey& survey);
    void ExtractInto(I7zArchiveReader& reader, const std::vector<uint32_t>& items, const std::string& folder);
    void PlaceCollisions(I7zArchiveReader& reader);
    void PlaceFiles(I7zArchiveReader& reader, const std::vector<uint32_t>& items, const std::string& out,
                    const std::string& staging);
    bool PlaceConflict(const std::string& src, const std::string& dest);
    std::string ChooseStagingFolder(const std::string& out, int64_t total);
    TOutcome Account(I7zArchiveReader& reader, const std::vector<uint32_t>& items, const std::string& out);
    void ShowTotalSize();
    void AskOverWrite();

    friend int32_t OnArchivePassword(void* sender, std::string& password);

    // Fields the overwrite question hands over.
    std::string FExistsFile;
    std::string FNewFile;
    int32_t FOverWriteMode = ocYes;

    TRunSettings& FSettings;
    IWorkerUi& FUi;
    std::thread FThread;
    mutable std::mutex FFailureMutex;
    TFailure FFailure;
    std::atomic<bool> FCancelled{false};
    std::atomic<bool> FPasswordRefused{false};
    std::string FLibraryFile;                // where the library is written and loaded from
    std::vector<std::string> FNotPlaced;     // destinations this run could not fill
    std::vector<std::string> FCreatedFolders;  // folders this run made in the output, parents first
};

// Callbacks the archive binding calls on the worker's thread.
int32_t OnArchiveProgress(void* sender, bool isTotal, int64_t value);
int32_t OnArchivePassword(void* sender, std::string& password);

// The password test on the marker item: extracted into `trialFile` (removed
// again), it passes only when the library reports no error and the bytes
// match its declared size; a marker of size 0 decides nothing.
TMarkerVerdict TestMarker(I7zArchiveReader& reader, uint32_t index, const std::string& trialFile);

// "report.txt" -> "report(1).txt", or the first free number after it.
std::string GetRenameName(const std::string& path);
// The file-name part of a path without its extension ("data.tar.gz" -> "data.tar").
std::string ExtractFileNameNoExt(const std::string& path);

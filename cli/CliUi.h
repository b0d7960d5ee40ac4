#pragma once
// The command-line program's side of the worker's UI bridge. The main
// thread serves the worker's synchronous calls from a queue, draws the
// progress line once a second and waits for the end message.

#include "cli/Options.h"
#include "extract/UiBridge.h"

#include <condition_variable>
#include <deque>
#include <mutex>

class TCliUi : public IWorkerUi {
public:
    // `cancelFd` becomes readable when a signal cancels the run: a question
    // open on the terminal then gives up.
    TCliUi(TOverwriteMode mode, bool showProgress, int cancelFd)
        : FMode(mode), FShowProgress(showProgress), FCancelFd(cancelFd)
    {
    }

    void Synchronize(const std::function<void()>& work) override;
    void PostExtractDone(TExtractOutcome outcome) override;
    void ShowTotalSize(int64_t totalSize) override;
    TOverwriteChoice AskOverWrite(const std::string& existsFile, const std::string& newFile) override;
    bool AskPassword(std::string& password) override;
    std::string ConflictRefusal() override;
    int32_t AnswerForAllConflicts() override;

    // Why the run was refused, when it was: files exist and nobody can be asked.
    const std::string& Refusal() const { return FRefusal; }

    // Runs on the main thread until the worker has posted its end.
    TExtractOutcome ServeUntilDone();

private:
    void DrawProgress();
    void ClearProgress();

    const TOverwriteMode FMode;
    const bool FShowProgress;
    const int FCancelFd;
    std::mutex FMutex;
    std::condition_variable FChanged;
    std::deque<const std::function<void()>*> FWork;
    int FWorkDone = 0;
    bool FEnded = false;
    TExtractOutcome FOutcome = TExtractOutcome::eoFailed;
    // Main thread only.
    std::string FTotalSize;
    int32_t FElapsedSeconds = 0;
    std::string FLastFigures[4];
    int32_t FLastPercent = 0;
    bool FProgressShown = false;
    std::string FRefusal;  // worker thread, inside Synchronize; read after the run
};

#pragma once
// What the extraction worker asks of a front end. The worker runs on its own
// thread and reaches the user interface only through this interface; the
// desktop program, the command-line program and the tests each implement it.

#include "extract/OverwriteChoice.h"
#include "extract/Outcome.h"

#include <cstdint>
#include <functional>
#include <string>

constexpr unsigned WM_EXTRACT_DONE = 0x608;  // WM_USER + 520
constexpr int32_t NO_ANSWER_FOR_ALL = -1;

class IWorkerUi {
public:
    virtual ~IWorkerUi() = default;

    // Runs `work` on the UI thread and returns once it has run; the worker
    // waits meanwhile. Every method below is called only inside `work`.
    virtual void Synchronize(const std::function<void()>& work) = 0;

    // The worker's last act: hands the outcome to the UI thread and returns
    // at once (the message WM_EXTRACT_DONE).
    virtual void PostExtractDone(TExtractOutcome outcome) = 0;

    // The payload's length is known: show it as the total size.
    virtual void ShowTotalSize(int64_t totalSize) = 0;

    // A file of the archive exists in the output folder: replace it?
    // An answer for all later conflicts comes back as ocYesAll, ocNoAll or ocRename.
    virtual TOverwriteChoice AskOverWrite(const std::string& existsFile, const std::string& newFile) = 0;

    // The library needs a password and none was given. True when the user
    // typed one (left in `password`, trimmed), false when the dialog was refused.
    virtual bool AskPassword(std::string& password) = 0;

    // Files of the archive already exist in the output folder. A front end
    // that cannot ask the overwrite question answers why (the run then ends
    // with that error before anything is written); empty when it can ask.
    virtual std::string ConflictRefusal() { return std::string(); }

    // The answer for every conflict when it is known before the run
    // (ocYesAll, ocNoAll or ocRename): the worker then extracts only what it
    // will place, straight into the output folder. NO_ANSWER_FOR_ALL when
    // each conflict is asked. Called on the worker's thread.
    virtual int32_t AnswerForAllConflicts() { return NO_ANSWER_FOR_ALL; }
};

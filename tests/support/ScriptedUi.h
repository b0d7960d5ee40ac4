#pragma once
// A front end for the worker's tests: it answers from a script and records
// what the worker asked and posted. Synchronized work runs on the worker's
// own thread under a lock, which is all the ordering the tests need.

#include "extract/UiBridge.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class TScriptedUi : public IWorkerUi {
public:
    void Synchronize(const std::function<void()>& work) override;
    void PostExtractDone(TExtractOutcome outcome) override;
    void ShowTotalSize(int64_t totalSize) override;
    TOverwriteChoice AskOverWrite(const std::string& existsFile, const std::string& newFile) override;
    bool AskPassword(std::string& password) override;
    int32_t AnswerForAllConflicts() override;

    // Waits for the end message; fails the test after `seconds`.
    TExtractOutcome WaitForDone(int seconds = 60);

    std::deque<TOverwriteChoice> Answers;    // next answers of the overwrite question
    std::vector<std::string> AskedFor;       // existing files asked about, in order
    std::function<void()> OnShowTotalSize;   // runs inside ShowTotalSize
    std::function<void(const std::string& existsFile, const std::string& newFile)> OnAskOverWrite;
    std::vector<int64_t> TotalsShown;
    bool PasswordAccepted = false;
    std::string PasswordTyped;
    int PasswordQuestions = 0;
    int32_t AnswerForAll = NO_ANSWER_FOR_ALL;  // what AnswerForAllConflicts answers
    std::function<void()> OnAnswerForAll;     // runs when the worker asks it, after the survey

private:
    std::mutex FMutex;
    std::condition_variable FDone;
    bool FPosted = false;
    int FPostCount = 0;
    TExtractOutcome FOutcome = TExtractOutcome::eoFailed;
};

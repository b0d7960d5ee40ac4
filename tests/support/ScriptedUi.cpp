#include "support/ScriptedUi.h"

#include <chrono>
#include <gtest/gtest.h>

void TScriptedUi::Synchronize(const std::function<void()>& work)
{
    work();
}

void TScriptedUi::PostExtractDone(TExtractOutcome outcome)
{
    std::lock_guard lock(FMutex);
    FOutcome = outcome;
    FPosted = true;
    ++FPostCount;
    FDone.notify_all();
}

void TScriptedUi::ShowTotalSize(int64_t totalSize)
{
    TotalsShown.push_back(totalSize);
    if (OnShowTotalSize)
        OnShowTotalSize();
}

TOverwriteChoice TScriptedUi::AskOverWrite(const std::string& existsFile, const std::string& newFile)
{
    AskedFor.push_back(existsFile);
    if (OnAskOverWrite)
        OnAskOverWrite(existsFile, newFile);
    if (Answers.empty()) {
        ADD_FAILURE() << "unexpected overwrite question for " << existsFile;
        return ocNo;
    }
    const TOverwriteChoice answer = Answers.front();
    Answers.pop_front();
    return answer;
}

bool TScriptedUi::AskPassword(std::string& password)
{
    ++PasswordQuestions;
    password = PasswordTyped;
    return PasswordAccepted;
}

int32_t TScriptedUi::AnswerForAllConflicts()
{
    if (OnAnswerForAll)
        OnAnswerForAll();
    return AnswerForAll;
}


TExtractOutcome TScriptedUi::WaitForDone(int seconds)
{
    std::unique_lock lock(FMutex);
    if (!FDone.wait_for(lock, std::chrono::seconds(seconds), [this] { return FPosted; }))
        ADD_FAILURE() << "the worker posted no end message";
    EXPECT_EQ(FPostCount, 1) << "the end message must be posted exactly once";
    return FOutcome;
}
